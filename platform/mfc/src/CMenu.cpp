#include "AfxMenu.h"

#include "AfxHandleMap.h"
#include "AfxResource.h"
#include "AfxWnd.h"

#include <memory>
#include <vector>

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace
{
CHandleMap<HMENU, CMenu>& Maps()
{
    static CHandleMap<HMENU, CMenu> maps;
    return maps;
}

thread_local HMENU tTrackingMenu = nullptr;

// Tracking a popup through a CMenu: the popup is the one being tracked
// meanwhile, and the one before afterwards.
class TrackingScope
{
public:
    explicit TrackingScope(HMENU hMenu) : m_hPrevious(tTrackingMenu) { tTrackingMenu = hMenu; }
    ~TrackingScope() { tTrackingMenu = m_hPrevious; }
    TrackingScope(const TrackingScope&) = delete;
    TrackingScope& operator=(const TrackingScope&) = delete;

private:
    HMENU m_hPrevious;
};

HMENU FindHolder(HMENU hMenu, UINT nID, int nDepth)
{
    const int nCount = ::GetMenuItemCount(hMenu);
    if (nDepth > 32)
        return nullptr;
    for (int i = 0; i < nCount; ++i)
    {
        if (const HMENU hSub = ::GetSubMenu(hMenu, i))
        {
            // A popup item's id is its submenu's handle.
            if (static_cast<UINT>(reinterpret_cast<UINT_PTR>(hSub)) == nID)
                return hMenu;
            if (const HMENU hFound = FindHolder(hSub, nID, nDepth + 1))
                return hFound;
        }
        else if (::GetMenuItemID(hMenu, i) == nID)
        {
            return hMenu;
        }
    }
    return nullptr;
}
} // namespace

HMENU AfxGetTrackingMenu()
{
    return tTrackingMenu;
}

void AfxSetTrackingMenu(HMENU hMenu)
{
    tTrackingMenu = hMenu;
}

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    return Maps().FromHandle(hMenu,
                             [](HMENU hTempMenu)
                             {
                                 auto pMenu = std::make_unique<CMenu>();
                                 pMenu->m_hMenu = hTempMenu;
                                 return pMenu;
                             });
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    return Maps().LookupPermanent(hMenu);
}

void CMenu::DeleteTempMap()
{
    Maps().DeleteTemporary([](CMenu& menu) { menu.m_hMenu = nullptr; });
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == nullptr || m_hMenu != nullptr)
        return FALSE;
    Maps().SetPermanent(hMenu, this);
    Maps().RemoveTemporary(hMenu);
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    const HMENU hMenu = m_hMenu;
    Maps().RemovePermanent(hMenu, this);
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::CreateMenu()
{
    return Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName)
{
    return Attach(::LoadMenuA(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCE(nIDResource));
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    // Submenus of the menu go with it, and so do their objects' handles.
    const HMENU hMenu = Detach();
    return ::DestroyMenu(hMenu);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp)
{
    return ::AppendMenuA(m_hMenu, nFlags | MF_BITMAP, nIDNewItem,
                         reinterpret_cast<LPCSTR>(pBmp != nullptr ? pBmp->m_hObject : nullptr));
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem)
{
    return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
{
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const
{
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

UINT CMenu::GetMenuItemCount() const
{
    return static_cast<UINT>(::GetMenuItemCount(m_hMenu));
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    return ::GetMenuItemID(m_hMenu, nPos);
}

int CMenu::GetMenuString(UINT nIDItem, LPSTR lpString, int nMaxCount, UINT nFlags) const
{
    return ::GetMenuStringA(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    const int nLength = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    std::vector<char> buffer(static_cast<std::size_t>(nLength) + 1, '\0');
    const int nCopied = ::GetMenuStringA(m_hMenu, nIDItem, buffer.data(), nLength + 1, nFlags);
    rString = CString(buffer.data(), nCopied);
    return nCopied;
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos)
{
    return ::GetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos)
{
    return ::SetMenuItemInfoA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos)
{
    return ::InsertMenuItemA(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuInfo(LPCMENUINFO lpcmi)
{
    return ::SetMenuInfo(m_hMenu, lpcmi);
}

BOOL CMenu::GetMenuInfo(LPMENUINFO lpcmi) const
{
    return ::GetMenuInfo(m_hMenu, lpcmi);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    TrackingScope scope(m_hMenu);
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd != nullptr ? pWnd->m_hWnd : nullptr,
                            lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm)
{
    TrackingScope scope(m_hMenu);
    return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd != nullptr ? pWnd->m_hWnd : nullptr,
                              lptpm);
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

CMenu* CMenu::FindPopupMenuFromID(CMenu* pMenu, UINT nID)
{
    if (pMenu == nullptr)
        return nullptr;
    const HMENU hHolder = FindHolder(pMenu->m_hMenu, nID, 0);
    if (hHolder == nullptr)
        return nullptr;
    CMenu* pHolder = FromHandlePermanent(hHolder);
    return pHolder != nullptr ? pHolder : FromHandle(hHolder);
}

CMenu* AfxMenuFromHandle(HMENU hMenu)
{
    return CMenu::FromHandle(hMenu);
}
