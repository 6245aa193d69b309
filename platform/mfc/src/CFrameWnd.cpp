#include "AfxFrame.h"

#include "AfxMenu.h"
#include "AfxResource.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_SETFOCUS()
ON_WM_INITMENUPOPUP()
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

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
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
        // after the item just updated, wherever it stands now, and re-reads
        // the count.
        if (pPopupMenu->GetMenuItemCount() != nCountBefore)
        {
            const int nNow = FindUpdatedItem(*pPopupMenu, state.m_nID, state.m_pSubMenu);
            if (nNow >= 0)
                nIndex = nNow;
            else
                nIndex = std::min(nIndex, static_cast<int>(pPopupMenu->GetMenuItemCount())) - 1;
        }
    }
}
