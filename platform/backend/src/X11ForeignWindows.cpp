#include "X11ForeignWindows.h"

#include "DisplayBackend.h"
#include "TextRecode.h"
#include "UserRawInput.h"
#include "WinCodePage.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"
#include "X11ErrorTrap.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <random>
#include <unistd.h>

namespace
{
// A program that takes longer than this over a sent message counts as hung.
constexpr int kAnswerTimeoutMs = 20000;
constexpr long kIconicState = 3;
constexpr long kMaxWindows = 4096;

Window ToXid(HWND hWnd)
{
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(hWnd));
}

HWND ToHandle(Window xid)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(xid));
}

// Values cross as 32 bits: unsigned ones widen with zeros, signed ones with
// their sign.
long ToWire(std::uint64_t value)
{
    return static_cast<long>(static_cast<std::uint32_t>(value));
}

std::uint32_t FromWireUnsigned(long value)
{
    return static_cast<std::uint32_t>(value);
}

std::int32_t FromWireSigned(long value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::string GetPropAtomName(LPCSTR lpszName)
{
    std::string name = "_PLATFORM_PROP_";
    for (const char* p = lpszName; *p != '\0'; ++p)
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return name;
}

} // namespace

CX11ForeignWindows::CX11ForeignWindows(Display* pDisplay, CDisplayBackend& backend)
    : m_pDisplay(pDisplay), m_backend(backend), m_root(DefaultRootWindow(pDisplay)),
      m_token(static_cast<long>(std::random_device()() & 0x7FFFFFFF))
{
    const char* names[] = {"_PLATFORM_WINDOW",
                           "_PLATFORM_SEND_MESSAGE",
                           "_PLATFORM_MESSAGE_ANSWER",
                           "_PLATFORM_SHOW_WINDOW",
                           "_PLATFORM_ACTIVATE",
                           "_NET_CLIENT_LIST_STACKING",
                           "_NET_CLIENT_LIST",
                           "WM_STATE",
                           "_NET_WM_NAME",
                           "UTF8_STRING",
                           "_NET_WM_STATE",
                           "_NET_WM_STATE_HIDDEN",
                           "_NET_ACTIVE_WINDOW"};
    Atom* targets[] = {&m_marker,         &m_sendMessage, &m_messageAnswer,
                       &m_showWindow,     &m_activate,    &m_clientListStacking,
                       &m_clientList,     &m_wmState,     &m_netWmName,
                       &m_utf8String,     &m_netWmState,  &m_netWmStateHidden,
                       &m_netActiveWindow};
    constexpr int kCount = static_cast<int>(std::size(names));
    Atom atoms[kCount] = {};
    XInternAtoms(m_pDisplay, const_cast<char**>(names), kCount, False, atoms);
    for (int i = 0; i < kCount; ++i)
        *targets[i] = atoms[i];
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    m_answerWindow = XCreateWindow(m_pDisplay, m_root, -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                                   CopyFromParent, CWOverrideRedirect, &attributes);
}

CX11ForeignWindows::~CX11ForeignWindows()
{
    if (m_answerWindow != 0)
        XDestroyWindow(m_pDisplay, m_answerWindow);
}

void CX11ForeignWindows::MarkOwnWindow(Window xid)
{
    const long marker[2] = {static_cast<long>(getpid()), m_token};
    XChangeProperty(m_pDisplay, xid, m_marker, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(marker), 2);
}

// ---- reading other programs' windows ---------------------------------------

bool CX11ForeignWindows::ReadLongs(Window xid, Atom property, Atom type, long nMax,
                                   std::vector<long>& values)
{
    values.clear();
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* pData = nullptr;
    const bool bRead = XGetWindowProperty(m_pDisplay, xid, property, 0, nMax, False, type,
                                          &actualType, &format, &count, &after, &pData) == Success;
    if (bRead && pData != nullptr && format == 32 && actualType == type)
    {
        const auto* pValues = reinterpret_cast<const long*>(pData);
        values.assign(pValues, pValues + count);
    }
    if (pData != nullptr)
        XFree(pData);
    return !values.empty();
}

CX11ForeignWindows::enOwner CX11ForeignWindows::GetOwner(Window xid)
{
    if (xid == 0 || xid == m_answerWindow)
        return enOwner::Gone;
    CX11ErrorTrap trap(m_pDisplay);
    std::vector<long> marker;
    const bool bMarked = ReadLongs(xid, m_marker, XA_CARDINAL, 2, marker) && marker.size() == 2;
    if (trap.Check())
        return enOwner::Gone;
    if (!bMarked)
        return enOwner::OtherProgram;
    const bool bThis =
        FromWireUnsigned(marker[0]) == static_cast<std::uint32_t>(getpid()) && marker[1] == m_token;
    return bThis ? enOwner::ThisProcess : enOwner::LayerProgram;
}

// Under a reparenting window manager a child of the root is a frame: the
// program's window is the child of it that carries WM_STATE.
Window CX11ForeignWindows::FindClientWindow(Window xid)
{
    std::vector<long> state;
    if (ReadLongs(xid, m_wmState, m_wmState, 2, state))
        return xid;
    Window rootReturn = 0;
    Window parent = 0;
    Window* pChildren = nullptr;
    unsigned int count = 0;
    Window client = xid;
    if (XQueryTree(m_pDisplay, xid, &rootReturn, &parent, &pChildren, &count) != 0)
    {
        for (unsigned int i = count; i-- > 0;)
        {
            if (ReadLongs(pChildren[i], m_wmState, m_wmState, 2, state))
            {
                client = pChildren[i];
                break;
            }
        }
    }
    if (pChildren != nullptr)
        XFree(pChildren);
    return client;
}

std::vector<HWND> CX11ForeignWindows::GetTopLevelWindows()
{
    std::vector<Window> candidates;
    {
        CX11ErrorTrap trap(m_pDisplay);
        std::vector<long> list;
        if (ReadLongs(m_root, m_clientListStacking, XA_WINDOW, kMaxWindows, list) ||
            ReadLongs(m_root, m_clientList, XA_WINDOW, kMaxWindows, list))
        {
            // The lists run from the bottom of the stacking order (or from the
            // oldest window) up.
            candidates.assign(list.rbegin(), list.rend());
        }
        else
        {
            Window rootReturn = 0;
            Window parent = 0;
            Window* pChildren = nullptr;
            unsigned int count = 0;
            if (XQueryTree(m_pDisplay, m_root, &rootReturn, &parent, &pChildren, &count) != 0)
            {
                // Without a window manager the root's children include every
                // program's helper windows (selection owners, message
                // windows): those take no input and show nothing.
                for (unsigned int i = count; i-- > 0;)
                {
                    XWindowAttributes attributes{};
                    if (XGetWindowAttributes(m_pDisplay, pChildren[i], &attributes) != 0 &&
                        attributes.c_class != InputOnly)
                        candidates.push_back(FindClientWindow(pChildren[i]));
                }
            }
            if (pChildren != nullptr)
                XFree(pChildren);
        }
    }
    std::vector<HWND> windows;
    for (const Window xid : candidates)
    {
        const enOwner owner = GetOwner(xid);
        if (owner == enOwner::LayerProgram || owner == enOwner::OtherProgram)
            windows.push_back(ToHandle(xid));
    }
    return windows;
}

bool CX11ForeignWindows::Exists(HWND hWnd)
{
    if (!IsDisplayHandle(hWnd))
        return false;
    const enOwner owner = GetOwner(ToXid(hWnd));
    return owner == enOwner::LayerProgram || owner == enOwner::OtherProgram;
}

bool CX11ForeignWindows::ReadText(Window xid, std::string& utf8)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* pData = nullptr;
    bool bFound = XGetWindowProperty(m_pDisplay, xid, m_netWmName, 0, 4096, False, m_utf8String,
                                     &actualType, &format, &count, &after, &pData) == Success &&
                  pData != nullptr && format == 8 && actualType == m_utf8String;
    if (bFound)
        utf8.assign(reinterpret_cast<const char*>(pData), count);
    if (pData != nullptr)
        XFree(pData);
    if (bFound)
        return true;
    XTextProperty property{};
    if (XGetWMName(m_pDisplay, xid, &property) == 0)
        return false;
    char** pList = nullptr;
    int nCount = 0;
    if (Xutf8TextPropertyToTextList(m_pDisplay, &property, &pList, &nCount) >= Success &&
        nCount > 0)
    {
        utf8 = pList[0];
        bFound = true;
    }
    if (pList != nullptr)
        XFreeStringList(pList);
    XFree(property.value);
    return bFound;
}

bool CX11ForeignWindows::GetText(HWND hWnd, std::string& text)
{
    std::string utf8;
    CX11ErrorTrap trap(m_pDisplay);
    const bool bFound = ReadText(ToXid(hWnd), utf8);
    if (trap.Check() || !bFound)
        return false;
    text = Recode(utf8, CP_UTF8, GetACP());
    return true;
}

bool CX11ForeignWindows::GetProp(HWND hWnd, LPCSTR lpszName, HANDLE& hData)
{
    const Atom property = XInternAtom(m_pDisplay, GetPropAtomName(lpszName).c_str(), True);
    if (property == None)
        return false;
    CX11ErrorTrap trap(m_pDisplay);
    std::vector<long> value;
    const bool bFound =
        ReadLongs(ToXid(hWnd), property, XA_CARDINAL, 2, value) && value.size() == 2;
    if (trap.Check() || !bFound)
        return false;
    const std::uint64_t bits =
        FromWireUnsigned(value[0]) | (static_cast<std::uint64_t>(FromWireUnsigned(value[1])) << 32);
    hData = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(bits));
    return true;
}

bool CX11ForeignWindows::IsMinimized(HWND hWnd)
{
    CX11ErrorTrap trap(m_pDisplay);
    std::vector<long> values;
    if (ReadLongs(ToXid(hWnd), m_wmState, m_wmState, 2, values) && values[0] == kIconicState)
        return !trap.Check();
    ReadLongs(ToXid(hWnd), m_netWmState, XA_ATOM, 64, values);
    const bool bHidden = std::find(values.begin(), values.end(),
                                   static_cast<long>(m_netWmStateHidden)) != values.end();
    return bHidden && !trap.Check();
}

// ---- requests to other programs --------------------------------------------

void CX11ForeignWindows::SendRequest(Window xid, Atom type, const long (&data)[5])
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = xid;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    std::copy(std::begin(data), std::end(data), event.xclient.data.l);
    // No event mask: the event goes to the program that made the window.
    CX11ErrorTrap trap(m_pDisplay);
    XSendEvent(m_pDisplay, xid, False, NoEventMask, &event);
    XFlush(m_pDisplay);
}

bool CX11ForeignWindows::RequestShow(HWND hWnd, int nCmdShow)
{
    if (!IsDisplayHandle(hWnd) || GetOwner(ToXid(hWnd)) != enOwner::LayerProgram)
        return false;
    SendRequest(ToXid(hWnd), m_showWindow, {nCmdShow, 0, 0, 0, 0});
    return true;
}

void CX11ForeignWindows::ActivateOtherProgram(Window xid)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = xid;
    event.xclient.message_type = m_netActiveWindow;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // asked for by the user through another program
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_pDisplay, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(m_pDisplay);
}

bool CX11ForeignWindows::RequestActivation(HWND hWnd)
{
    if (!IsDisplayHandle(hWnd))
        return false;
    switch (GetOwner(ToXid(hWnd)))
    {
    case enOwner::LayerProgram:
        SendRequest(ToXid(hWnd), m_activate, {0, 0, 0, 0, 0});
        return true;
    case enOwner::OtherProgram:
        ActivateOtherProgram(ToXid(hWnd));
        return true;
    default:
        return false;
    }
}

bool CX11ForeignWindows::Deliver(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam,
                                 LRESULT* pResult)
{
    if (!CanCrossProcesses(nMsg) || !IsDisplayHandle(hWnd) ||
        GetOwner(ToXid(hWnd)) != enOwner::LayerProgram)
        return false;
    const Window target = ToXid(hWnd);
    if (pResult == nullptr)
    {
        SendRequest(
            target, m_sendMessage,
            {ToWire(nMsg), ToWire(wParam), ToWire(static_cast<std::uint64_t>(lParam)), 0, 0});
        return true;
    }
    const long nSerial = m_nLastSerial = (m_nLastSerial + 1) & 0x7FFFFFFF;
    m_answers[nSerial] = std::nullopt;
    {
        // The target's end ends the wait.
        CX11ErrorTrap trap(m_pDisplay);
        XSelectInput(m_pDisplay, target, StructureNotifyMask);
    }
    SendRequest(target, m_sendMessage,
                {ToWire(nMsg), ToWire(wParam), ToWire(static_cast<std::uint64_t>(lParam)),
                 static_cast<long>(m_answerWindow), nSerial});
    const bool bAnswered = WaitForAnswer(target, nSerial, *pResult);
    CX11ErrorTrap trap(m_pDisplay);
    XSelectInput(m_pDisplay, target, NoEventMask);
    return bAnswered;
}

namespace
{
struct SWaitEvents
{
    Window answerWindow;
    Window target;
    Atom answer;
    Atom requests[3];
};

// The events a waiting sender takes out of turn: its answers, the end of
// the target, and requests to its own windows (which it carries out while it
// waits, so that two programs sending to each other never lock).
Bool IsWaitEvent(Display*, XEvent* pEvent, XPointer pArg)
{
    const auto& wanted = *reinterpret_cast<const SWaitEvents*>(pArg);
    if (pEvent->type == DestroyNotify)
        return pEvent->xdestroywindow.window == wanted.target;
    if (pEvent->type != ClientMessage)
        return False;
    const Atom type = pEvent->xclient.message_type;
    if (type == wanted.answer)
        return pEvent->xclient.window == wanted.answerWindow;
    return std::find(std::begin(wanted.requests), std::end(wanted.requests), type) !=
           std::end(wanted.requests);
}
} // namespace

bool CX11ForeignWindows::WaitForAnswer(Window target, long nSerial, LRESULT& result)
{
    const SWaitEvents wanted{
        m_answerWindow, target, m_messageAnswer, {m_sendMessage, m_showWindow, m_activate}};
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
    bool bTargetGone = false;
    for (;;)
    {
        XEvent event;
        while (XCheckIfEvent(m_pDisplay, &event, &IsWaitEvent,
                             reinterpret_cast<XPointer>(const_cast<SWaitEvents*>(&wanted))))
        {
            if (event.type == DestroyNotify)
                bTargetGone = true;
            else if (event.xclient.message_type == m_messageAnswer)
                StoreAnswer(event.xclient);
            else
                HandleRequest(event.xclient);
        }
        const auto it = m_answers.find(nSerial);
        if (it->second)
        {
            const auto [bDelivered, answer] = *it->second;
            result = answer;
            m_answers.erase(it);
            return bDelivered;
        }
        const auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (bTargetGone || remaining.count() <= 0)
        {
            m_answers.erase(it);
            return false;
        }
        pollfd ready{ConnectionNumber(m_pDisplay), POLLIN, 0};
        poll(&ready, 1, static_cast<int>(remaining.count()));
        XEventsQueued(m_pDisplay, QueuedAfterReading);
    }
}

// An answer that comes after its sender stopped waiting is dropped.
void CX11ForeignWindows::StoreAnswer(const XClientMessageEvent& event)
{
    const auto it = m_answers.find(event.data.l[0]);
    if (it != m_answers.end())
        it->second = std::make_pair(event.data.l[2] != 0, LRESULT{FromWireSigned(event.data.l[1])});
}

// ---- requests of other programs ----------------------------------------------

void CX11ForeignWindows::Answer(Window replyTo, long nSerial, LRESULT result, bool bDelivered)
{
    SendRequest(replyTo, m_messageAnswer,
                {nSerial, ToWire(static_cast<std::uint64_t>(result)), bDelivered ? 1 : 0, 0, 0});
}

bool CX11ForeignWindows::HandleRequest(const XClientMessageEvent& event)
{
    if (event.format != 32)
        return false;
    const HWND hWnd = ToHandle(event.window);
    if (event.message_type == m_sendMessage)
    {
        const UINT nMsg = FromWireUnsigned(event.data.l[0]);
        const WPARAM wParam = FromWireUnsigned(event.data.l[1]);
        const LPARAM lParam = FromWireSigned(event.data.l[2]);
        const auto replyTo = static_cast<Window>(event.data.l[3]);
        const bool bDeliver = CanCrossProcesses(nMsg) && IsWindow(hWnd);
        LRESULT result = 0;
        if (bDeliver && replyTo != 0)
            result = SendMessageA(hWnd, nMsg, wParam, lParam);
        else if (bDeliver)
            PostMessageA(hWnd, nMsg, wParam, lParam);
        if (replyTo != 0)
            Answer(replyTo, event.data.l[4], result, bDeliver);
        return true;
    }
    if (event.message_type == m_showWindow)
    {
        UserShowAtRequest(hWnd, static_cast<int>(event.data.l[0]));
        return true;
    }
    if (event.message_type == m_activate)
    {
        UserActivateAtRequest(hWnd);
        // Already the active window of this process, it still comes to the
        // front of the screen.
        m_backend.OnTopLevelActivated(GetActiveWindow());
        return true;
    }
    return false;
}

void CX11ForeignWindows::OnOwnPropChanged(HWND hWnd, LPCSTR lpszName, HANDLE hData, bool bRemoved)
{
    if (!IsDisplayHandle(hWnd) || lpszName == nullptr)
        return;
    const Atom property = XInternAtom(m_pDisplay, GetPropAtomName(lpszName).c_str(), False);
    CX11ErrorTrap trap(m_pDisplay);
    if (bRemoved)
    {
        XDeleteProperty(m_pDisplay, ToXid(hWnd), property);
        return;
    }
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(hData));
    const long value[2] = {ToWire(bits), ToWire(bits >> 32)};
    XChangeProperty(m_pDisplay, ToXid(hWnd), property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(value), 2);
}
