#include "X11DragSource.h"
#include "X11SelectionReader.h"
#include "X11Xdnd.h"

#include "OleDataStore.h"
#include "TextRecode.h"
#include "WinClipboard.h"
#include "WinCodePage.h"
#include "WinDropFiles.h"
#include "WinGlobalMemory.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <poll.h>
#include <string>
#include <vector>

namespace
{
// How long the program under the pointer may take to answer.
constexpr int kStatusTimeoutMs = 500;
constexpr int kFinishTimeoutMs = 5000;

} // namespace

struct CX11DragSource::Impl
{
    Display* pDisplay;
    CXdndAtoms atoms;
    Window window = 0;
    IDataObject* pData = nullptr;
    Window target = 0;
    long nTargetVersion = 0;
    DWORD dwStatus = DROPEFFECT_NONE;
    bool bFinished = false;
    DWORD dwFinished = DROPEFFECT_NONE;

    explicit Impl(Display* pDisplayIn) : pDisplay(pDisplayIn), atoms(pDisplayIn) {}
    Atom A(enXdndAtom atom) const { return atoms[atom]; }

    std::vector<Atom> Types() const;
    std::string Bytes(Atom type) const;
    Window AwareWindowAt(POINT pt, long& nVersion) const;
    void Send(enXdndAtom type, long l1, long l2, long l3, long l4)
    {
        SendXdndMessage(pDisplay, target, A(type), window, l1, l2, l3, l4);
    }
    void Serve(const XSelectionRequestEvent& request);
    void OnMessage(const XClientMessageEvent& event);
    void Await(bool (Impl::*done)() const, int nTimeoutMs);
    bool HasStatus() const { return dwStatus != kNoStatus; }
    bool HasFinished() const { return bFinished; }
    void ForgetTarget();
    void SetData(IDataObject* pDataObj);

    static constexpr DWORD kNoStatus = 0xFFFFFFFF;
};

std::vector<Atom> CX11DragSource::Impl::Types() const
{
    std::vector<Atom> types;
    FORMATETC files{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (pData->QueryGetData(&files) == S_OK)
        types.push_back(A(kUriList));
    if (pData->QueryGetData(&files) == S_OK || pData->QueryGetData(&text) == S_OK)
        types.insert(types.end(), {A(kUtf8String), A(kTextPlainUtf8), A(kTextPlain)});
    return types;
}

// The data as the type asks: the files' URIs, or text in UTF-8 (the text
// itself, else the files' paths one a line).
std::string CX11DragSource::Impl::Bytes(Atom type) const
{
    std::vector<BYTE> files = GetDataObjectBytes(pData, CF_HDROP);
    std::vector<std::string> paths;
    if (!files.empty())
    {
        HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, files.size());
        if (hBlock != nullptr)
        {
            std::copy(files.begin(), files.end(), static_cast<BYTE*>(GlobalLock(hBlock)));
            GlobalUnlock(hBlock);
            paths = GetDropFilesPaths(reinterpret_cast<HDROP>(hBlock));
            GlobalFree(hBlock);
        }
    }
    if (type == A(kUriList))
        return UriListOfPaths(paths);
    const std::vector<BYTE> ansi = GetDataObjectBytes(pData, CF_TEXT);
    if (!ansi.empty())
        return Recode(std::string(ansi.begin(), std::find(ansi.begin(), ansi.end(), BYTE(0))),
                      GetACP(), CP_UTF8);
    std::string lines;
    for (const std::string& path : paths)
        lines += path + "\n";
    return lines;
}

Window CX11DragSource::Impl::AwareWindowAt(POINT pt, long& nVersion) const
{
    const Window root = DefaultRootWindow(pDisplay);
    Window window = root;
    for (int nDepth = 0; nDepth < 16; ++nDepth)
    {
        int x = 0;
        int y = 0;
        Window child = None;
        if (!XTranslateCoordinates(pDisplay, root, window, pt.x, pt.y, &x, &y, &child) ||
            child == None)
            return 0;
        window = child;
        Atom type = None;
        int nFormat = 0;
        unsigned long nItems = 0;
        unsigned long nAfter = 0;
        unsigned char* pValue = nullptr;
        const bool bAware =
            XGetWindowProperty(pDisplay, window, A(kXdndAware), 0, 1, False, XA_ATOM, &type,
                               &nFormat, &nItems, &nAfter, &pValue) == Success &&
            pValue != nullptr && nItems == 1;
        if (bAware)
            nVersion = *reinterpret_cast<const long*>(pValue);
        if (pValue != nullptr)
            XFree(pValue);
        if (bAware)
            return window;
    }
    return 0;
}

void CX11DragSource::Impl::Serve(const XSelectionRequestEvent& request)
{
    const Atom property = request.property != None ? request.property : request.target;
    const std::vector<Atom> types = pData != nullptr ? Types() : std::vector<Atom>{};
    const bool bServed = std::find(types.begin(), types.end(), request.target) != types.end();
    if (bServed)
    {
        const std::string bytes = Bytes(request.target);
        XChangeProperty(pDisplay, request.requestor, property, request.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<int>(bytes.size()));
    }
    AnswerSelectionRequest(pDisplay, request, bServed ? property : None);
}

void CX11DragSource::Impl::OnMessage(const XClientMessageEvent& event)
{
    if (static_cast<Window>(event.data.l[0]) != target)
        return;
    if (event.message_type == A(kXdndStatus))
    {
        const bool bAccepted = (event.data.l[1] & 1) != 0;
        dwStatus = bAccepted ? atoms.EffectOf(static_cast<Atom>(event.data.l[4])) : DROPEFFECT_NONE;
    }
    else if (event.message_type == A(kXdndFinished))
    {
        bFinished = true;
        // Before version 5 a finished drop carries no answer: the status's
        // stands.
        const bool bAccepted = nTargetVersion < 5 || (event.data.l[1] & 1) != 0;
        dwFinished = !bAccepted           ? DROPEFFECT_NONE
                     : nTargetVersion < 5 ? dwStatus
                                          : atoms.EffectOf(static_cast<Atom>(event.data.l[2]));
    }
}

void CX11DragSource::Impl::Await(bool (Impl::*done)() const, int nTimeoutMs)
{
    for (int nWaited = 0; !(this->*done)(); nWaited += 10)
    {
        XEvent event{};
        XPending(pDisplay);
        while (XCheckTypedWindowEvent(pDisplay, window, SelectionRequest, &event))
            Serve(event.xselectionrequest);
        while (XCheckTypedWindowEvent(pDisplay, window, ClientMessage, &event))
            OnMessage(event.xclient);
        if ((this->*done)() || nWaited >= nTimeoutMs)
            return;
        pollfd fd{ConnectionNumber(pDisplay), POLLIN, 0};
        poll(&fd, 1, 10);
    }
}

void CX11DragSource::Impl::ForgetTarget()
{
    target = 0;
    nTargetVersion = 0;
    dwStatus = DROPEFFECT_NONE;
}

void CX11DragSource::Impl::SetData(IDataObject* pDataObj)
{
    if (pDataObj == pData)
        return;
    if (pDataObj != nullptr)
        pDataObj->AddRef();
    if (pData != nullptr)
        pData->Release();
    pData = pDataObj;
}

CX11DragSource::CX11DragSource(Display* pDisplay) : m(std::make_unique<Impl>(pDisplay))
{
    m->window = XCreateWindow(pDisplay, DefaultRootWindow(pDisplay), -1, -1, 1, 1, 0,
                              CopyFromParent, InputOnly, CopyFromParent, 0, nullptr);
}

CX11DragSource::~CX11DragSource()
{
    m->SetData(nullptr);
    XDestroyWindow(m->pDisplay, m->window);
}

bool CX11DragSource::HandleEvent(const XEvent& event)
{
    if (event.xany.window != m->window)
        return false;
    if (event.type == SelectionRequest)
        m->Serve(event.xselectionrequest);
    else if (event.type == ClientMessage)
        m->OnMessage(event.xclient);
    return true;
}

DWORD CX11DragSource::Over(IDataObject* pDataObj, POINT ptScreen, DWORD grfKeyState,
                           DWORD dwOKEffects)
{
    m->SetData(pDataObj);
    long nVersion = 0;
    const Window target = m->AwareWindowAt(ptScreen, nVersion);
    const std::vector<Atom> types = m->Types();
    if (target != m->target)
    {
        Leave();
        if (target == 0 || types.empty())
            return DROPEFFECT_NONE;
        m->target = target;
        m->nTargetVersion = std::min(nVersion, kXdndVersion);
        XSetSelectionOwner(m->pDisplay, m->A(kXdndSelection), m->window, CurrentTime);
        XChangeProperty(m->pDisplay, m->window, m->A(kXdndTypeList), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(types.data()),
                        static_cast<int>(types.size()));
        const auto typeAt = [&](std::size_t i)
        { return i < types.size() ? static_cast<long>(types[i]) : 0L; };
        m->Send(kXdndEnter, (m->nTargetVersion << 24) | (types.size() > 3 ? 1 : 0), typeAt(0),
                typeAt(1), typeAt(2));
    }
    // Ctrl, or a source that allows no move, asks for a copy.
    const bool bCopy = (grfKeyState & MK_CONTROL) != 0 || (dwOKEffects & DROPEFFECT_MOVE) == 0;
    m->dwStatus = Impl::kNoStatus;
    m->Send(kXdndPosition, 0, (long(ptScreen.x) << 16) | (ptScreen.y & 0xFFFF), CurrentTime,
            static_cast<long>(m->atoms.ActionOf(bCopy ? DROPEFFECT_COPY : DROPEFFECT_MOVE)));
    m->Await(&Impl::HasStatus, kStatusTimeoutMs);
    if (!m->HasStatus())
        m->dwStatus = DROPEFFECT_NONE;
    return m->dwStatus;
}

void CX11DragSource::Leave()
{
    if (m->target != 0)
        m->Send(kXdndLeave, 0, 0, 0, 0);
    m->ForgetTarget();
}

DWORD CX11DragSource::Drop()
{
    if (m->target == 0)
        return DROPEFFECT_NONE;
    m->bFinished = false;
    m->dwFinished = DROPEFFECT_NONE;
    m->Send(kXdndDrop, 0, CurrentTime, 0, 0);
    m->Await(&Impl::HasFinished, kFinishTimeoutMs);
    const DWORD dwEffect = m->bFinished ? m->dwFinished : DROPEFFECT_NONE;
    m->ForgetTarget();
    return dwEffect;
}
