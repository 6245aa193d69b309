#include "AfxToolTipCtrl.h"

#include "AfxResource.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

CToolTipCtrl::~CToolTipCtrl()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle,
                    CRect(0, 0, 0, 0), pParentWnd, 0);
}

TOOLINFOA CToolTipCtrl::ToolOf(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    const HWND hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
    if (nIDTool == 0)
    {
        info.hwnd = ::GetParent(hWnd);
        info.uFlags = TTF_IDISHWND;
        info.uId = reinterpret_cast<UINT_PTR>(hWnd);
    }
    else
    {
        info.hwnd = hWnd;
        info.uId = nIDTool;
    }
    return info;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    return AddToolText(pWnd, nullptr, lpszText, lpRectTool, nIDTool);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    return AddToolText(pWnd, AfxFindStringResourceHandle(nIDText), MAKEINTRESOURCE(nIDText),
                       lpRectTool, nIDTool);
}

BOOL CToolTipCtrl::AddToolText(CWnd* pWnd, HINSTANCE hInstance, LPCSTR lpszText, LPCRECT lpRectTool,
                               UINT_PTR nIDTool)
{
    TOOLINFOA info = ToolOf(pWnd, nIDTool);
    if (lpRectTool != nullptr)
        info.rect = *lpRectTool;
    else if (nIDTool != 0 && pWnd != nullptr)
        pWnd->GetClientRect(&info.rect);
    info.hinst = hInstance;
    info.lpszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA info = ToolOf(pWnd, nIDTool);
    ::SendMessageA(m_hWnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TOOLINFOA info = ToolOf(pWnd, nIDTool);
    info.rect = *lpRect;
    ::SendMessageA(m_hWnd, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA info = ToolOf(pWnd, nIDTool);
    info.lpszText = const_cast<LPSTR>(lpszText);
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA info = ToolOf(pWnd, nIDTool);
    info.hinst = AfxFindStringResourceHandle(nIDText);
    info.lpszText = MAKEINTRESOURCE(nIDText);
    ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TOOLINFOA info = ToolOf(pWnd, nIDTool);
    char szText[1024] = {};
    info.lpszText = szText;
    ::SendMessageA(m_hWnd, TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&info));
    str = szText;
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOA& toolInfo, CWnd* pWnd, UINT_PTR nIDTool) const
{
    const TOOLINFOA key = ToolOf(pWnd, nIDTool);
    toolInfo.hwnd = key.hwnd;
    toolInfo.uId = key.uId;
    toolInfo.cbSize = sizeof(toolInfo);
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&toolInfo)));
}

void CToolTipCtrl::SetToolInfo(LPTOOLINFOA lpToolInfo)
{
    ::SendMessageA(m_hWnd, TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(lpToolInfo));
}

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFOA lpToolInfo) const
{
    TTHITTESTINFOA hit{};
    hit.hwnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
    hit.pt = pt;
    hit.ti.cbSize = sizeof(hit.ti);
    if (lpToolInfo != nullptr)
        hit.ti.lpszText = lpToolInfo->lpszText;
    if (!::SendMessageA(m_hWnd, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)))
        return FALSE;
    if (lpToolInfo != nullptr)
        *lpToolInfo = hit.ti;
    return TRUE;
}

int CToolTipCtrl::GetToolCount() const
{
    return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0));
}

void CToolTipCtrl::Activate(BOOL bActivate)
{
    ::SendMessageA(m_hWnd, TTM_ACTIVATE, static_cast<WPARAM>(bActivate), 0);
}

void CToolTipCtrl::SetDelayTime(UINT nDelay)
{
    ::SendMessageA(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay));
}

void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime)
{
    ::SendMessageA(m_hWnd, TTM_SETDELAYTIME, dwDuration, MAKELPARAM(static_cast<WORD>(iTime), 0));
}

int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const
{
    return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0));
}

int CToolTipCtrl::SetMaxTipWidth(int iWidth)
{
    return static_cast<int>(
        ::SendMessageA(m_hWnd, TTM_SETMAXTIPWIDTH, 0, static_cast<LPARAM>(iWidth)));
}

int CToolTipCtrl::GetMaxTipWidth() const
{
    return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0));
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    // A copy: the record of the message being handled (GetCurrentMessage)
    // changes while the control handles the relay.
    MSG msg = *lpMsg;
    ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void CToolTipCtrl::Pop()
{
    ::SendMessageA(m_hWnd, TTM_POP, 0, 0);
}

void CToolTipCtrl::Update()
{
    ::SendMessageA(m_hWnd, TTM_UPDATE, 0, 0);
}
