// Sending, posting, retrieval, translation and dispatch.
#include "MessageQueue.h"

#include "AtomNames.h"
#include "DisplayBackend.h"
#include "InputState.h"
#include "KeyboardLayout.h"
#include "OtherProgramWindows.h"
#include "Painting.h"
#include "Timers.h"
#include "WinError.h"
#include "WinMessageQueue.h"
#include "WinProcessInfo.h"
#include "WinWindow.h"
#include "WindowTree.h"

#include <algorithm>

namespace
{
bool InRange(UINT nMsg, UINT nMin, UINT nMax)
{
    return (nMin == 0 && nMax == 0) || (nMsg >= nMin && nMsg <= nMax);
}

// Pops the record pushed for one call, also when the procedure throws.
class RecordScope
{
public:
    explicit RecordScope(const MessageRecord& record)
    {
        MessageQueue::Get().Records().push_back(record);
    }
    ~RecordScope() { MessageQueue::Get().Records().pop_back(); }
    RecordScope(const RecordScope&) = delete;
    RecordScope& operator=(const RecordScope&) = delete;
};

bool IsValidFilter(HWND hFilter)
{
    return hFilter == nullptr || hFilter == reinterpret_cast<HWND>(-1) || IsWindow(hFilter);
}
} // namespace

bool MessagePassesFilter(HWND hMsgWnd, UINT nMsg, HWND hFilter, UINT nMin, UINT nMax)
{
    if (!InRange(nMsg, nMin, nMax))
        return false;
    if (hFilter == nullptr)
        return true;
    if (hFilter == reinterpret_cast<HWND>(-1))
        return hMsgWnd == nullptr;
    return hMsgWnd == hFilter || IsChild(hFilter, hMsgWnd);
}

LRESULT CallWindowProcRecorded(WNDPROC proc, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (proc == nullptr)
        return 0;
    RecordScope scope(MessageRecord{hWnd, nMsg, wParam, lParam});
    return proc(hWnd, nMsg, wParam, lParam);
}

const MessageRecord* FindHandledMessage(HWND hWnd, UINT nMsg)
{
    const auto& records = MessageQueue::Get().Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it)
    {
        if (it->hWnd == hWnd)
            return it->nMsg == nMsg ? &*it : nullptr;
    }
    return nullptr;
}

MessageQueue& MessageQueue::Get()
{
    static MessageQueue queue;
    return queue;
}

void MessageQueue::Post(const MSG& msg)
{
    {
        std::lock_guard guard(m_postLock);
        m_posted.push_back(msg);
    }
    GetDisplayBackend().Wake();
}

void MessageQueue::PostQuit(int nExitCode)
{
    {
        std::lock_guard guard(m_postLock);
        m_bQuit = true;
        m_nQuitCode = nExitCode;
    }
    GetDisplayBackend().Wake();
}

void MessageQueue::QueueInput(const RawInputEvent& event)
{
    m_input.push_back(event);
}

void MessageQueue::Clear()
{
    {
        std::lock_guard guard(m_postLock);
        m_posted.clear();
        m_bQuit = false;
    }
    m_input.clear();
}

void MessageQueue::ClearInput()
{
    m_input.clear();
}

bool MessageQueue::RetrievePosted(MSG& msg, HWND hFilter, UINT nMin, UINT nMax, bool bRemove)
{
    std::lock_guard guard(m_postLock);
    const auto it = std::find_if(
        m_posted.begin(), m_posted.end(),
        [&](const MSG& posted)
        { return MessagePassesFilter(posted.hwnd, posted.message, hFilter, nMin, nMax); });
    if (it != m_posted.end())
    {
        msg = *it;
        if (bRemove)
            m_posted.erase(it);
        return true;
    }
    if (m_bQuit && InRange(WM_QUIT, nMin, nMax))
    {
        msg = MSG{};
        msg.message = WM_QUIT;
        msg.wParam = static_cast<WPARAM>(m_nQuitCode);
        msg.time = static_cast<DWORD>(GetClockMs());
        if (bRemove)
            m_bQuit = false;
        return true;
    }
    return false;
}

bool MessageQueue::RetrieveInput(MSG& msg, HWND hFilter, UINT nMin, UINT nMax, bool bRemove)
{
    for (std::size_t i = 0; i < m_input.size();)
    {
        const RawInputEvent event = m_input[i];
        MSG candidate;
        const bool bRoutes = RouteInputEvent(event, false, candidate);
        if (bRoutes && !MessagePassesFilter(candidate.hwnd, candidate.message, hFilter, nMin, nMax))
        {
            ++i;
            continue;
        }
        if (!bRemove && bRoutes)
        {
            msg = candidate;
            return true;
        }
        // Taken (or dropped) before routing sends anything, so that a loop
        // run by a handler never sees the same event again.
        m_input.erase(m_input.begin() + static_cast<std::ptrdiff_t>(i));
        if (bRoutes && RouteInputEvent(event, true, msg))
            return true;
    }
    return false;
}

bool MessageQueue::Retrieve(MSG& msg, HWND hFilter, UINT nMin, UINT nMax, bool bRemove)
{
    CDisplayBackend& backend = GetDisplayBackend();
    backend.Flush();
    backend.TakeReadyInput();
    bool bFound = RetrievePosted(msg, hFilter, nMin, nMax, bRemove) ||
                  RetrieveInput(msg, hFilter, nMin, nMax, bRemove);
    if (!bFound && InRange(WM_PAINT, nMin, nMax))
    {
        if (const HWND hPaint = FindWindowToPaint(hFilter))
        {
            msg = MSG{};
            msg.hwnd = hPaint;
            msg.message = WM_PAINT;
            msg.time = static_cast<DWORD>(GetClockMs());
            bFound = true;
        }
    }
    if (!bFound)
        bFound = TimerTable::Get().FindDue(hFilter, nMin, nMax, bRemove, msg);
    if (!bFound)
        return false;
    if (msg.message != WM_QUIT && msg.pt.x == 0 && msg.pt.y == 0)
        msg.pt = InputState::Get().ptCursor;
    if (bRemove)
        m_last = msg;
    return true;
}

bool MessageQueue::GetTimeToNextTimer(HWND hFilter, UINT nMin, UINT nMax, DWORD& dwMs) const
{
    return TimerTable::Get().GetTimeToNext(hFilter, nMin, nMax, dwMs);
}

LRESULT CallWindowProcA(WNDPROC prevProc, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcRecorded(prevProc, hWnd, message, wParam, lParam);
}

LRESULT SendMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::shared_ptr<WindowData> window = WindowTree::Get().Hold(hWnd);
    CForeignWindows* foreign = window == nullptr ? AsForeignWindow(hWnd) : nullptr;
    LRESULT foreignResult = 0;
    if (foreign != nullptr && foreign->Deliver(hWnd, message, wParam, lParam, &foreignResult))
        return foreignResult;
    if (window == nullptr || IsDesktop(*window))
    {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return CallWindowProcRecorded(window->wndProc, hWnd, message, wParam, lParam);
}

BOOL PostMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CForeignWindows* foreign = AsForeignWindow(hWnd))
        return foreign->Deliver(hWnd, message, wParam, lParam, nullptr);
    if (hWnd != nullptr && FindWindowChecked(hWnd) == nullptr)
        return FALSE;
    MSG msg{};
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(GetClockMs());
    msg.pt = InputState::Get().ptCursor;
    MessageQueue::Get().Post(msg);
    return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (threadId != GetCurrentThreadId())
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return PostMessageA(nullptr, message, wParam, lParam);
}

void PostQuitMessage(int exitCode)
{
    MessageQueue::Get().PostQuit(exitCode);
}

BOOL PeekMessageA(LPMSG msg, HWND hWnd, UINT msgFilterMin, UINT msgFilterMax, UINT removeMsg)
{
    if (msg == nullptr || !IsValidFilter(hWnd))
        return FALSE;
    const bool bRemove = (removeMsg & PM_REMOVE) != 0;
    MessageQueue& queue = MessageQueue::Get();
    if (queue.Retrieve(*msg, hWnd, msgFilterMin, msgFilterMax, bRemove))
        return TRUE;
    return GetDisplayBackend().Poll() &&
           queue.Retrieve(*msg, hWnd, msgFilterMin, msgFilterMax, bRemove);
}

BOOL GetMessageA(LPMSG msg, HWND hWnd, UINT msgFilterMin, UINT msgFilterMax)
{
    if (msg == nullptr || !IsValidFilter(hWnd))
    {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    MessageQueue& queue = MessageQueue::Get();
    CDisplayBackend& backend = GetDisplayBackend();
    while (!queue.Retrieve(*msg, hWnd, msgFilterMin, msgFilterMax, true))
    {
        if (backend.Poll())
            continue;
        DWORD dwWait = INFINITE;
        queue.GetTimeToNextTimer(hWnd, msgFilterMin, msgFilterMax, dwWait);
        backend.Wait(dwWait);
    }
    return msg->message != WM_QUIT;
}

BOOL WaitMessage()
{
    MSG msg;
    MessageQueue& queue = MessageQueue::Get();
    CDisplayBackend& backend = GetDisplayBackend();
    while (!queue.Retrieve(msg, nullptr, 0, 0, false))
    {
        if (backend.Poll())
            continue;
        DWORD dwWait = INFINITE;
        queue.GetTimeToNextTimer(nullptr, 0, 0, dwWait);
        backend.Wait(dwWait);
    }
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (msg == nullptr)
        return 0;
    if ((msg->message == WM_TIMER || msg->message == WM_SYSTIMER) && msg->lParam != 0 &&
        TimerTable::Get().IsTimerProc(msg->hwnd, msg->wParam, msg->lParam))
    {
        const auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, msg->message, msg->wParam, static_cast<DWORD>(GetClockMs()));
        return 0;
    }
    const std::shared_ptr<WindowData> window = WindowTree::Get().Hold(msg->hwnd);
    if (window == nullptr || IsDesktop(*window))
        return 0;
    return CallWindowProcRecorded(window->wndProc, msg->hwnd, msg->message, msg->wParam,
                                  msg->lParam);
}

BOOL TranslateMessage(const MSG* msg)
{
    if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    std::string text;
    if (!FindTypedText(*msg, text))
    {
        const char ch = GetKeyCharacter(static_cast<UINT>(msg->wParam), InputState::Get().syncKeys);
        if (ch != 0)
            text.assign(1, ch);
    }
    if (text.empty())
        return FALSE;
    // A character of a multi-byte page comes as one message per byte.
    const UINT nCharMsg = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    for (const char ch : text)
        PostMessageA(msg->hwnd, nCharMsg, static_cast<BYTE>(ch), msg->lParam);
    return TRUE;
}

DWORD GetMessagePos()
{
    const POINT pt = MessageQueue::Get().GetLastRetrieved().pt;
    return static_cast<DWORD>(MAKELONG(pt.x, pt.y));
}

LONG GetMessageTime()
{
    return static_cast<LONG>(MessageQueue::Get().GetLastRetrieved().time);
}

BOOL InSendMessage()
{
    // Only sends from another thread count, and the layer has one UI thread.
    return FALSE;
}

UINT RegisterWindowMessageA(LPCSTR name)
{
    const UINT nMessage = RegisterAtomName(name);
    if (nMessage == 0)
        SetLastError(ERROR_INVALID_PARAMETER);
    return nMessage;
}
