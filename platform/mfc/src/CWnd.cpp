// CWnd: handle maps, creation through the CBT hook, the window procedure,
// subclassing and destruction.
#include "AfxControls.h"
#include "AfxFrame.h"
#include "AfxHandleMap.h"
#include "AfxWinApp.h"
#include "WindowCreationHook.h"

#include <cstdio>
#include <memory>
#include <set>
#include <string>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace
{
CHandleMap<HWND, CWnd>& Maps()
{
    static CHandleMap<HWND, CWnd> maps;
    return maps;
}

// The message being handled on this thread.
thread_local MSG tLastSentMsg{};
// The CWnd whose window CreateEx is creating right now.
thread_local CWnd* tWndInit = nullptr;

LRESULT CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam);

HHOOK InstallCreationHook()
{
    static const HHOOK hHook = SetWindowsHookExA(WH_CBT, CbtFilterHook, nullptr, 0);
    return hHook;
}

// Attaches the window being created to its CWnd before its first message.
LRESULT CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWndInit = tWndInit;
    if (nCode == HCBT_CREATEWND && pWndInit != nullptr)
    {
        tWndInit = nullptr;
        pWndInit->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(InstallCreationHook(), nCode, wParam, lParam);
}

std::set<std::string>& RegisteredClassNames()
{
    static std::set<std::string> names;
    return names;
}
} // namespace

void AfxHookWindowCreate(CWnd* pWnd)
{
    InstallCreationHook();
    tWndInit = pWnd;
}

void AfxUnhookWindowCreate()
{
    tWndInit = nullptr;
}

CWnd* AfxWndFromHandle(HWND hWnd)
{
    return CWnd::FromHandle(hWnd);
}

CDC* AfxDCFromHandle(HDC hDC)
{
    return CDC::FromHandle(hDC);
}

CScrollBar* AfxScrollBarFromHandle(HWND hWnd)
{
    return dynamic_cast<CScrollBar*>(CWnd::FromHandlePermanent(hWnd));
}

LRESULT AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const MSG saved = tLastSentMsg;
    tLastSentMsg = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};
    LRESULT lResult = 0;
    try
    {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    }
    catch (...)
    {
        std::fprintf(stderr, "A handler of message 0x%04X threw; the message counts as failed.\n",
                     nMsg);
        lResult = nMsg == WM_CREATE ? -1 : 0;
    }
    tLastSentMsg = saved;
    return lResult;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    const HINSTANCE hInstance = AfxGetInstanceHandle();
    char name[128];
    std::snprintf(name, sizeof(name), "Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInstance),
                  nClassStyle, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
                  static_cast<void*>(hIcon));
    WNDCLASSA wc{};
    if (!GetClassInfoA(hInstance, name, &wc))
    {
        wc.style = nClassStyle;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = hInstance;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = name;
        RegisterClassA(&wc);
    }
    return RegisteredClassNames().insert(name).first->c_str();
}

BOOL AfxRegisterClass(WNDCLASSA* lpWndClass)
{
    if (lpWndClass == nullptr)
        return FALSE;
    WNDCLASSA existing{};
    if (GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing))
        return TRUE;
    return RegisterClassA(lpWndClass) != 0;
}

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    return FromHandleMaking(hWnd, [] { return std::make_unique<CWnd>(); });
}

CWnd* CWnd::FromHandleMaking(HWND hWnd, const std::function<std::unique_ptr<CWnd>()>& fnMake)
{
    return Maps().FromHandle(hWnd,
                             [&](HWND hTempWnd)
                             {
                                 std::unique_ptr<CWnd> pWnd = fnMake();
                                 pWnd->m_hWnd = hTempWnd;
                                 return pWnd;
                             });
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return Maps().LookupPermanent(hWnd);
}

void CWnd::DeleteTempMap()
{
    Maps().DeleteTemporary([](CWnd& wnd) { wnd.m_hWnd = nullptr; });
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr || FromHandlePermanent(hWndNew) != nullptr)
        return FALSE;
    Maps().SetPermanent(hWndNew, this);
    Maps().RemoveTemporary(hWndNew);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND hWnd = m_hWnd;
    Maps().RemovePermanent(hWnd, this);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    const auto oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (oldProc != &AfxWndProc)
        m_pfnSuper = oldProc;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    const HWND hControl = pParent != nullptr ? ::GetDlgItem(pParent->m_hWnd, int(nID)) : nullptr;
    return hControl != nullptr && SubclassWindow(hControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != nullptr)
        SetWindowLongPtrA(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID,
                    pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam)
{
    CREATESTRUCT cs{
        lpParam, AfxGetInstanceHandle(), nIDorHMenu,     hWndParent,    nHeight,  nWidth, y,
        x,       LONG(dwStyle),          lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs))
    {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    const HWND hWnd =
        CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style), cs.x, cs.y, cs.cx,
                        cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    return hWnd != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                           LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    const bool bPermanent = FromHandlePermanent(m_hWnd) == this;
    const HWND hWnd = m_hWnd;
    const BOOL bResult = ::DestroyWindow(hWnd);
    // A permanent object was detached by OnNcDestroy and may be gone.
    if (!bPermanent)
        m_hWnd = nullptr;
    return bResult;
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT)
{
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, GetExStyle());
}

void CWnd::OnNcDestroy()
{
    if (CWinThread* pThread = AfxGetThread(); pThread != nullptr && pThread->m_pMainWnd == this)
    {
        AfxPostQuitMessage(0);
        pThread->m_pMainWnd = nullptr;
    }
    const LONG_PTR procBefore = GetWindowLongPtrA(m_hWnd, GWL_WNDPROC);
    Default();
    // Hand the window back to its own procedure unless a hook took it over.
    if (m_pfnSuper != nullptr && GetWindowLongPtrA(m_hWnd, GWL_WNDPROC) == procBefore)
        SetWindowLongPtrA(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    Detach();
    PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG* pMsg = GetCurrentMessage();
    return DefWindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    tLastSentMsg.time = static_cast<DWORD>(GetMessageTime());
    const DWORD pos = GetMessagePos();
    tLastSentMsg.pt = POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    return &tLastSentMsg;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd))
    {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}
