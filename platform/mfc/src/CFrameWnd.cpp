#include "AfxFrame.h"

#include "AfxBars.h"
#include "AfxDocument.h"
#include "AfxMenu.h"
#include "AfxResource.h"
#include "AfxWinApp.h"
#include "WinResource.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_WM_SETFOCUS()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE_VOID(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle,
                       CCreateContext* pContext)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName != nullptr)
    {
        hMenu = ::LoadMenuA(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
        if (hMenu == nullptr)
            return FALSE;
    }
    m_hMenuDefault = hMenu;
    const bool bDefault = EqualRect(&rect, &rectDefault) != FALSE;
    const int x = bDefault ? CW_USEDEFAULT : rect.left;
    const int y = bDefault ? CW_USEDEFAULT : rect.top;
    const int cx = bDefault ? CW_USEDEFAULT : rect.right - rect.left;
    const int cy = bDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    if (CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                 pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, hMenu, pContext))
        return TRUE;
    if (hMenu != nullptr && ::IsMenu(hMenu))
        ::DestroyMenu(hMenu);
    return FALSE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFull;
    strFull.LoadString(nIDResource);
    const int nBreak = strFull.Find('\n');
    m_strTitle = nBreak >= 0 ? strFull.Left(nBreak) : strFull;
    const LPCSTR lpszName = MAKEINTRESOURCEA(nIDResource);
    const HICON hIcon = ::LoadIconA(AfxFindResourceHandle(lpszName, RT_GROUP_ICON), lpszName);
    const LPCSTR lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
    const bool bMenu =
        ::FindResourceA(AfxFindResourceHandle(lpszName, RT_MENU), lpszName, RT_MENU) != nullptr;
    if (!Create(lpszClass, m_strTitle, dwDefaultStyle, rectDefault, pParentWnd,
                bMenu ? lpszName : nullptr, 0, pContext))
        return FALSE;
    if (::FindResourceA(AfxFindResourceHandle(lpszName, RT_ACCELERATOR), lpszName,
                        RT_ACCELERATOR) != nullptr)
        LoadAccelTable(lpszName);
    if (pContext == nullptr)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!OnCreateClient(lpCreateStruct, pContext))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    return pContext == nullptr || pContext->m_pNewViewClass == nullptr ||
           CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    CWnd* pView = DYNAMIC_DOWNCAST(CWnd, pObject);
    if (pView == nullptr)
    {
        delete pObject;
        return nullptr;
    }
    // A view that fails goes with its window (PostNcDestroy).
    if (!pView->CreateEx(WS_EX_CLIENTEDGE, nullptr, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                         m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext))
        return nullptr;
    return pView;
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    CView* pView = GetActiveView();
    if (pView == nullptr)
    {
        pView = DYNAMIC_DOWNCAST(CView, GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
        if (pView != nullptr)
            SetActiveView(pView, FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    RecalcLayout();
    if (bMakeVisible)
    {
        ActivateFrame();
        if (pView != nullptr)
            pView->OnActivateView(TRUE, pView, pView);
    }
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
    {
        nCmdShow = !IsWindowVisible() ? SW_SHOWNORMAL : (IsIconic() ? SW_RESTORE : SW_SHOW);
        // The program's main frame shows the first time as the program was
        // asked to start.
        CWinApp* pApp = AfxGetApp();
        if (!IsWindowVisible() && pApp != nullptr && pApp->m_pMainWnd == this &&
            pApp->m_nCmdShow != -1)
        {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;
        }
    }
    ShowWindow(nCmdShow);
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CString strTitle = m_strTitle;
    CDocument* pDocument = GetActiveDocument();
    if (bAddToTitle && pDocument != nullptr && !pDocument->GetTitle().IsEmpty())
    {
        if (GetStyle() & FWS_PREFIXTITLE)
            strTitle.Format("%s - %s", static_cast<LPCSTR>(pDocument->GetTitle()),
                            static_cast<LPCSTR>(m_strTitle));
        else
            strTitle.Format("%s - %s", static_cast<LPCSTR>(m_strTitle),
                            static_cast<LPCSTR>(pDocument->GetTitle()));
    }
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strTitle)
        SetWindowText(strTitle);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    CString strFull;
    if (!strFull.LoadString(nID))
    {
        rMessage.Empty();
        return;
    }
    const int nBreak = strFull.Find('\n');
    rMessage = nBreak >= 0 ? strFull.Left(nBreak) : strFull;
}

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, nID);
}

CWnd* CFrameWnd::GetMessageBar()
{
    return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    const UINT nIDLast = m_nIDLastMessage;
    m_nIDLastMessage = static_cast<UINT>(wParam);
    CWnd* pMessageBar = GetMessageBar();
    if (pMessageBar == nullptr)
        return nIDLast;
    CString strMessage;
    if (lParam != 0)
        strMessage = reinterpret_cast<LPCSTR>(lParam);
    else if (wParam != 0)
        GetMessageString(static_cast<UINT>(wParam), strMessage);
    pMessageBar->SetWindowText(strMessage);
    return nIDLast;
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    // The idle prompt stands in the status bar until something else does.
    if (m_nIDLastMessage == 0 && GetMessageBar() != nullptr)
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    OnUpdateFrameTitle(TRUE);
    UpdateFloatingBars();
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && hSysMenu == nullptr)
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
        SetMessageText("");
    else
        SetMessageText(nItemID);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    const int nVirtKey = pCmdUI->m_nID == ID_INDICATOR_CAPS  ? VK_CAPITAL
                         : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                             : VK_SCROLL;
    pCmdUI->Enable((::GetKeyState(nVirtKey) & 1) != 0);
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (pBar == nullptr)
        return FALSE;
    ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (pBar == nullptr)
    {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(pBar->IsVisible() ? 1 : 0);
}

void CFrameWnd::OnClose()
{
    const HWND hWnd = m_hWnd;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this)
    {
        if (!pApp->SaveAllModified())
            return;
        // Closing the documents may take the frame with them.
        pApp->CloseAllDocuments(FALSE);
        if (!::IsWindow(hWnd))
            return;
    }
    else if (CDocument* pDocument = GetActiveDocument();
             pDocument != nullptr && !pDocument->SaveModified())
    {
        return;
    }
    DestroyWindow();
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                           LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return TRUE;
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    // No view is active while the old one hears that it no longer is.
    m_pViewActive = nullptr;
    if (bNotify && pViewOld != nullptr)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    m_pViewActive = pViewNew;
    if (bNotify && pViewNew != nullptr)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_pViewActive != nullptr)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    const bool bKey = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    const HACCEL hAccel = bKey ? GetDefaultAccelerator() : nullptr;
    return hAccel != nullptr && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName)
{
    if (m_hAccelTable != nullptr)
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(AfxFindResourceHandle(lpszResourceName, RT_ACCELERATOR),
                                        lpszResourceName);
    return m_hAccelTable != nullptr;
}

HACCEL CFrameWnd::GetDefaultAccelerator()
{
    return m_hAccelTable;
}

namespace
{
// Where the item updated last stands now: a command by its id, a popup by
// its submenu.
int FindUpdatedItem(const CMenu& menu, UINT nID, const CMenu* pSubMenu)
{
    const int nCount = static_cast<int>(menu.GetMenuItemCount());
    for (int i = 0; i < nCount; ++i)
    {
        const bool bSame = pSubMenu != nullptr ? ::GetSubMenu(menu.m_hMenu, i) == pSubMenu->m_hMenu
                                               : menu.GetMenuItemID(i) == nID;
        if (bSame)
            return i;
    }
    return -1;
}
} // namespace

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pPopupMenu == nullptr)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    for (int nIndex = 0; nIndex < static_cast<int>(pPopupMenu->GetMenuItemCount()); ++nIndex)
    {
        state.m_nIndex = static_cast<UINT>(nIndex);
        state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
        state.m_nID = pPopupMenu->GetMenuItemID(nIndex);
        state.m_pSubMenu = nullptr;
        if (state.m_nID == 0)
            continue; // a separator
        BOOL bDisableIfNoHandler = m_bAutoMenuEnable && state.m_nID < 0xF000;
        if (state.m_nID == static_cast<UINT>(-1))
        {
            // A popup item stands for the first command of its popup.
            state.m_pSubMenu = pPopupMenu->GetSubMenu(nIndex);
            if (state.m_pSubMenu == nullptr ||
                (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == static_cast<UINT>(-1))
                continue;
            bDisableIfNoHandler = FALSE;
        }
        const UINT nCountBefore = pPopupMenu->GetMenuItemCount();
        state.DoUpdate(this, bDisableIfNoHandler);
        // The handler may have removed or added items: the walk goes on
        // after the item just updated (or after where the handler says it
        // left off), wherever it stands now, and re-reads the count.
        if (state.m_nIndex != static_cast<UINT>(nIndex))
            nIndex = static_cast<int>(state.m_nIndex);
        else if (pPopupMenu->GetMenuItemCount() != nCountBefore)
        {
            const int nNow = FindUpdatedItem(*pPopupMenu, state.m_nID, state.m_pSubMenu);
            if (nNow >= 0)
                nIndex = nNow;
            else
                nIndex = std::min(nIndex, static_cast<int>(pPopupMenu->GetMenuItemCount())) - 1;
        }
    }
}
