// CWnd message dispatch: the message maps, commands, notifications and
// their reflection to the controls that sent them, and the default
// handlers.
#include "AfxMenu.h"
#include "AfxWinApp.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_CTLCOLOR()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace
{
bool IsCtlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

bool IsWaitCursorShown()
{
    const CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->m_nWaitCursorCount > 0;
}
} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Owner-drawn items measured from now on belong to this popup.
    if (message == WM_INITMENUPOPUP)
        AfxSetTrackingMenu(reinterpret_cast<HMENU>(wParam));
    LRESULT lResult = 0;
    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
    }
    else if (message == WM_NOTIFY)
    {
        const auto* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        if (pNMHDR == nullptr || pNMHDR->hwndFrom == nullptr || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
    }
    else if (message == WM_SETCURSOR && IsWaitCursorShown())
    {
        // The wait cursor stays until its end call.
        RestoreWaitCursor();
        lResult = TRUE;
    }
    else
    {
        const bool bCtlColor = IsCtlColorMessage(message);
        const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(bCtlColor ? WM_CTLCOLOR : message, 0, 0);
        if (pEntry == nullptr)
            return FALSE;
        AFX_MSGCALL call;
        call.nMsg = message;
        call.wParam = wParam;
        call.lParam = lParam;
        call.nID = bCtlColor ? message - WM_CTLCOLORMSGBOX : 0;
        pEntry->pfn(this, call);
        lResult = call.lResult;
    }
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (hWndCtrl == nullptr)
    {
        if (nID == 0)
            return FALSE;
        nCode = CN_COMMAND;
    }
    else
    {
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectLastMsg(pNMHDR->hwndFrom, pResult))
        return TRUE;
    AFX_NOTIFY notify{pResult, pNMHDR};
    return OnCmdMsg(static_cast<UINT>(pNMHDR->idFrom), MAKELONG(pNMHDR->code, WM_NOTIFY), &notify,
                    nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (pWnd == nullptr)
        return FALSE;
    const MSG* pMsg = GetCurrentMessage();
    return pWnd->OnChildNotify(pMsg->message, pMsg->wParam, pMsg->lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lLocal = 0;
    AFX_MSGCALL call;
    call.nMsg = message;
    call.wParam = wParam;
    call.lParam = lParam;
    call.pResult = pResult != nullptr ? pResult : &lLocal;
    const AFX_MSGMAP_ENTRY* pEntry = nullptr;
    if (message == WM_COMMAND)
    {
        pEntry = FindMessageEntry(WM_COMMAND + WM_REFLECT_BASE, HIWORD(wParam), 0);
    }
    else if (message == WM_NOTIFY)
    {
        auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        call.pExtra = pNMHDR;
        pEntry = FindMessageEntry(WM_NOTIFY + WM_REFLECT_BASE, pNMHDR->code, 0);
    }
    else if (IsCtlColorMessage(message))
    {
        call.nID = message - WM_CTLCOLORMSGBOX;
        pEntry = FindMessageEntry(WM_CTLCOLOR + WM_REFLECT_BASE, 0, 0);
    }
    else
    {
        return OnWndMsg(message + WM_REFLECT_BASE, wParam, lParam, pResult);
    }
    if (pEntry == nullptr || !pEntry->pfn(this, call))
        return FALSE;
    if (pResult != nullptr && message != WM_NOTIFY)
        *pResult = message == WM_COMMAND ? 1 : call.lResult;
    return TRUE;
}

// The default handlers pass the current message on.
int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}
BOOL CWnd::OnNcCreate(LPCREATESTRUCT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnMove(int, int)
{
    Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnEnable(BOOL)
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnSysColorChange()
{
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}
void CWnd::OnSettingChange(UINT, LPCSTR)
{
    Default();
}
void CWnd::OnFontChange()
{
    Default();
}
void CWnd::OnCancelMode()
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
int CWnd::OnMouseActivate(CWnd*, UINT, UINT)
{
    return static_cast<int>(Default());
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct != nullptr && lpDrawItemStruct->CtlType == ODT_MENU)
    {
        // The item names its menu.
        CMenu* pMenu =
            CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem));
        if (pMenu != nullptr)
        {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    }
    else if (lpDrawItemStruct != nullptr && ReflectLastMsg(lpDrawItemStruct->hwndItem))
    {
        return;
    }
    Default();
}
void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct != nullptr && lpMeasureItemStruct->CtlType == ODT_MENU)
    {
        // The item names no menu: the popup being tracked holds it, else the
        // menu bar of the window's frame.
        CMenu* pMenu = CMenu::FindPopupMenuFromID(AfxMenuFromHandle(AfxGetTrackingMenu()),
                                                  lpMeasureItemStruct->itemID);
        if (pMenu == nullptr)
            pMenu = CMenu::FindPopupMenuFromID(GetTopLevelParent()->GetMenu(),
                                               lpMeasureItemStruct->itemID);
        if (pMenu != nullptr)
        {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    else if (lpMeasureItemStruct != nullptr && ReflectLastMsg(::GetDlgItem(m_hWnd, nIDCtl)))
    {
        return;
    }
    Default();
}
void CWnd::OnWindowPosChanging(WINDOWPOS*)
{
    Default();
}
void CWnd::OnWindowPosChanged(WINDOWPOS*)
{
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}
void CWnd::OnStyleChanging(int, LPSTYLESTRUCT)
{
    Default();
}
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT)
{
    Default();
}
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*)
{
    Default();
}
UINT CWnd::OnNcHitTest(CPoint)
{
    return static_cast<UINT>(Default());
}
void CWnd::OnNcPaint()
{
    Default();
}
BOOL CWnd::OnNcActivate(BOOL)
{
    return static_cast<BOOL>(Default());
}
UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
}
void CWnd::OnNcMouseMove(UINT, CPoint)
{
    Default();
}
void CWnd::OnNcLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnNcLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnNcLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnNcRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnNcRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnNcMButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnNcMButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*)
{
    const HWND hControl = reinterpret_cast<HWND>(GetCurrentMessage()->lParam);
    if (hControl != nullptr && ReflectLastMsg(hControl))
        return;
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*)
{
    const HWND hControl = reinterpret_cast<HWND>(GetCurrentMessage()->lParam);
    if (hControl != nullptr && ReflectLastMsg(hControl))
        return;
    Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT lResult = 0;
    if (pWnd != nullptr && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return reinterpret_cast<HBRUSH>(lResult);
    return reinterpret_cast<HBRUSH>(Default());
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonDblClk(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnCaptureChanged(CWnd*)
{
    Default();
}
void CWnd::OnDropFiles(HDROP)
{
    Default();
}
BOOL CWnd::OnQueryNewPalette()
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnPaletteChanged(CWnd*)
{
    Default();
}
void CWnd::OnMenuSelect(UINT, UINT, HMENU)
{
    Default();
}
void CWnd::OnInitMenu(CMenu*)
{
    Default();
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL)
{
    Default();
}
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*)
{
    return Default();
}
