// The menu calls: creation, loading, items and their states, and the
// MENUITEMINFO and MENUINFO records.
#include "MenuBar.h"
#include "MenuTable.h"

#include "ResourceRegistry.h"
#include "WinError.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr UINT kTypeFlags = MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBREAK |
                            MF_MENUBARBREAK | MF_RIGHTJUSTIFY | MFT_RADIOCHECK;
constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;

// The item the flags and the "new item" arguments of AppendMenu,
// InsertMenu and ModifyMenu describe.
MenuItem MakeItem(UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    MenuItem item;
    item.fType = uFlags & kTypeFlags & ~MF_DISABLED;
    item.fState = uFlags & kStateFlags;
    if (uFlags & MF_POPUP)
        item.hSubMenu = reinterpret_cast<HMENU>(uIDNewItem);
    item.wID = static_cast<UINT>(uIDNewItem);
    // Owner-drawn separators keep their data too: their owner draws them.
    if (uFlags & MF_OWNERDRAW)
        item.dwItemData = reinterpret_cast<ULONG_PTR>(lpNewItem);
    if (uFlags & (MF_SEPARATOR | MF_OWNERDRAW))
        return item;
    if (uFlags & MF_BITMAP)
        item.hbmpItem = reinterpret_cast<HBITMAP>(const_cast<char*>(lpNewItem));
    else if (lpNewItem != nullptr)
        item.text = lpNewItem;
    return item;
}

bool IsValidNewItem(UINT uFlags, UINT_PTR uIDNewItem)
{
    if ((uFlags & MF_POPUP) &&
        MenuTable::Get().Find(reinterpret_cast<HMENU>(uIDNewItem)) == nullptr)
    {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return false;
    }
    return true;
}

void InsertItem(MenuData& menu, std::size_t nIndex, MenuItem item)
{
    nIndex = std::min(nIndex, menu.items.size());
    menu.items.insert(menu.items.begin() + static_cast<std::ptrdiff_t>(nIndex), std::move(item));
    RefreshMenuBarsShowing(menu.hMenu);
}

// Changes an item's state bits and returns the old ones masked, or -1.
DWORD ChangeState(HMENU hMenu, UINT uItem, UINT uFlags, UINT nMask, UINT nNewBits)
{
    const auto ref = FindMenuItem(hMenu, uItem, (uFlags & MF_BYPOSITION) != 0);
    if (!ref)
        return static_cast<DWORD>(-1);
    MenuItem& item = ref->Item();
    const DWORD dwOld = item.fState & nMask;
    item.fState = (item.fState & ~nMask) | (nNewBits & nMask);
    RefreshMenuBarsShowing(ref->pMenu->hMenu);
    return dwOld;
}

void CopyText(const std::string& text, LPSTR lpBuffer, UINT& cch)
{
    if (lpBuffer == nullptr || cch == 0)
    {
        cch = static_cast<UINT>(text.size());
        return;
    }
    const std::size_t count = std::min<std::size_t>(text.size(), cch - 1);
    std::memcpy(lpBuffer, text.data(), count);
    lpBuffer[count] = '\0';
    cch = static_cast<UINT>(count);
}

void ApplyItemInfo(MenuItem& item, const MENUITEMINFOA& info)
{
    if (info.fMask & (MIIM_TYPE | MIIM_FTYPE))
    {
        const UINT fType = info.fType & kTypeFlags;
        if ((fType ^ item.fType) & MFT_OWNERDRAW)
            item.bMeasured = false;
        item.fType = fType;
    }
    if (info.fMask & MIIM_STATE)
        item.fState = info.fState & kStateFlags;
    if (info.fMask & MIIM_ID)
        item.wID = info.wID;
    if (info.fMask & MIIM_SUBMENU)
        item.hSubMenu = info.hSubMenu;
    if (info.fMask & MIIM_DATA)
        item.dwItemData = info.dwItemData;
    if (info.fMask & MIIM_CHECKMARKS)
    {
        item.hbmpChecked = info.hbmpChecked;
        item.hbmpUnchecked = info.hbmpUnchecked;
    }
    if (info.fMask & MIIM_BITMAP)
        item.hbmpItem = info.hbmpItem;
    const bool bTypeText = (info.fMask & MIIM_TYPE) &&
                           (info.fType & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)) == 0;
    if ((info.fMask & MIIM_STRING) || bTypeText)
        item.text = info.dwTypeData != nullptr ? info.dwTypeData : "";
    if ((info.fMask & MIIM_TYPE) && (info.fType & MFT_BITMAP))
        item.hbmpItem = reinterpret_cast<HBITMAP>(info.dwTypeData);
}

// The item a MENUITEMINFO call names, with the record there to read or fill.
std::optional<MenuItemRef> FindItemForInfo(HMENU hMenu, UINT nItem, BOOL fByPosition,
                                           const MENUITEMINFOA* lpmii)
{
    if (lpmii == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    return FindMenuItem(hMenu, nItem, fByPosition != FALSE);
}

// MENUINFO and the menu's own record name their settings alike.
template <typename TFrom, typename TTo>
void CopyMenuSettings(const TFrom& from, TTo& to, DWORD fMask)
{
    if (fMask & MIM_BACKGROUND)
        to.hbrBack = from.hbrBack;
    if (fMask & MIM_MAXHEIGHT)
        to.cyMax = from.cyMax;
    if (fMask & MIM_HELPID)
        to.dwContextHelpID = from.dwContextHelpID;
    if (fMask & MIM_MENUDATA)
        to.dwMenuData = from.dwMenuData;
    if (fMask & MIM_STYLE)
        to.dwStyle = from.dwStyle;
}

HMENU BuildMenu(std::span<const MenuItemTemplate> items, bool bPopup)
{
    const HMENU hMenu = MenuTable::Get().Create(bPopup);
    for (const MenuItemTemplate& entry : items)
    {
        if (!entry.subItems.empty() || (entry.nFlags & MF_POPUP))
        {
            const HMENU hSub = BuildMenu(entry.subItems, true);
            AppendMenuA(hMenu, (entry.nFlags & ~MF_POPUP) | MF_POPUP,
                        reinterpret_cast<UINT_PTR>(hSub), entry.pszText);
        }
        else
        {
            AppendMenuA(hMenu, entry.nFlags, entry.nId, entry.pszText);
        }
    }
    return hMenu;
}
} // namespace

HMENU CreateMenu()
{
    return MenuTable::Get().Create(false);
}

HMENU CreatePopupMenu()
{
    return MenuTable::Get().Create(true);
}

BOOL DestroyMenu(HMENU hMenu)
{
    if (FindMenuChecked(hMenu) == nullptr)
        return FALSE;
    MenuTable::Get().Destroy(hMenu);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu)
{
    return MenuTable::Get().Find(hMenu) != nullptr;
}

HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR lpMenuName)
{
    const MenuTemplate* pTemplate = FindMenuTemplate(hInstance, lpMenuName);
    if (pTemplate == nullptr)
    {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return BuildMenu(pTemplate->items, false);
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    MenuData* menu = FindMenuChecked(hMenu);
    if (menu == nullptr || !IsValidNewItem(uFlags, uIDNewItem))
        return FALSE;
    InsertItem(*menu, menu->items.size(), MakeItem(uFlags, uIDNewItem, lpNewItem));
    return TRUE;
}

BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    MenuData* menu = FindMenuChecked(hMenu);
    if (menu == nullptr || !IsValidNewItem(uFlags, uIDNewItem))
        return FALSE;
    if (uFlags & MF_BYPOSITION)
    {
        // Past the end (-1 included) appends.
        InsertItem(*menu, uPosition, MakeItem(uFlags, uIDNewItem, lpNewItem));
        return TRUE;
    }
    const auto ref = FindMenuItem(hMenu, uPosition, false);
    if (!ref)
        return FALSE;
    InsertItem(*ref->pMenu, ref->nIndex, MakeItem(uFlags, uIDNewItem, lpNewItem));
    return TRUE;
}

BOOL ModifyMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    const auto ref = FindMenuItem(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0);
    if (!ref || !IsValidNewItem(uFlags, uIDNewItem))
        return FALSE;
    MenuItem& item = ref->Item();
    // A popup item that stops being one lets its submenu go.
    if (item.hSubMenu != nullptr && (uFlags & MF_POPUP) == 0)
        MenuTable::Get().Destroy(item.hSubMenu);
    item = MakeItem(uFlags, uIDNewItem, lpNewItem);
    RefreshMenuBarsShowing(ref->pMenu->hMenu);
    return TRUE;
}

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    const auto ref = FindMenuItem(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0);
    if (!ref)
        return FALSE;
    ref->pMenu->items.erase(ref->pMenu->items.begin() + static_cast<std::ptrdiff_t>(ref->nIndex));
    RefreshMenuBarsShowing(ref->pMenu->hMenu);
    return TRUE;
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    const auto ref = FindMenuItem(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0);
    if (!ref)
        return FALSE;
    const HMENU hSub = ref->Item().hSubMenu;
    RemoveMenu(ref->pMenu->hMenu, static_cast<UINT>(ref->nIndex), MF_BYPOSITION);
    if (hSub != nullptr)
        MenuTable::Get().Destroy(hSub);
    return TRUE;
}

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    return ChangeState(hMenu, uIDCheckItem, uCheck, MF_CHECKED, uCheck);
}

BOOL CheckMenuRadioItem(HMENU hMenu, UINT first, UINT last, UINT check, UINT flags)
{
    const bool bByPosition = (flags & MF_BYPOSITION) != 0;
    const auto ref = FindMenuItem(hMenu, check, bByPosition);
    if (!ref)
        return FALSE;
    MenuData& menu = *ref->pMenu;
    for (std::size_t i = 0; i < menu.items.size(); ++i)
    {
        MenuItem& item = menu.items[i];
        const UINT nKey = bByPosition ? static_cast<UINT>(i) : item.wID;
        if (nKey < first || nKey > last || item.IsSeparator())
            continue;
        if (i == ref->nIndex)
        {
            item.fState |= MFS_CHECKED;
            item.fType |= MFT_RADIOCHECK;
        }
        else
        {
            item.fState &= ~MFS_CHECKED;
        }
    }
    RefreshMenuBarsShowing(menu.hMenu);
    return TRUE;
}

BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    return static_cast<BOOL>(
        ChangeState(hMenu, uIDEnableItem, uEnable, MF_GRAYED | MF_DISABLED, uEnable));
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    const auto ref = FindMenuItem(hMenu, uId, (uFlags & MF_BYPOSITION) != 0);
    if (!ref)
        return static_cast<UINT>(-1);
    const MenuItem& item = ref->Item();
    UINT nState = item.fType | item.fState;
    if (const MenuData* sub = MenuTable::Get().Find(item.hSubMenu))
        nState = (std::min<std::size_t>(sub->items.size(), 0xFF) << 8) | (nState & 0xFF) | MF_POPUP;
    return nState;
}

int GetMenuItemCount(HMENU hMenu)
{
    const MenuData* menu = FindMenuChecked(hMenu);
    return menu != nullptr ? static_cast<int>(menu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos)
{
    const auto ref = FindMenuItem(hMenu, static_cast<UINT>(nPos), true);
    if (!ref || ref->Item().hSubMenu != nullptr)
        return static_cast<UINT>(-1);
    return ref->Item().wID;
}

int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags)
{
    const auto ref = FindMenuItem(hMenu, uIDItem, (flags & MF_BYPOSITION) != 0);
    if (!ref)
    {
        if (lpString != nullptr && cchMax > 0)
            lpString[0] = '\0';
        return 0;
    }
    UINT cch = lpString != nullptr && cchMax > 0 ? static_cast<UINT>(cchMax) : 0;
    CopyText(ref->Item().text, lpString, cch);
    return static_cast<int>(cch);
}

HMENU GetSubMenu(HMENU hMenu, int nPos)
{
    const auto ref = FindMenuItem(hMenu, static_cast<UINT>(nPos), true);
    return ref ? ref->Item().hSubMenu : nullptr;
}

BOOL GetMenuItemInfoA(HMENU hMenu, UINT item, BOOL fByPosition, LPMENUITEMINFOA lpmii)
{
    const auto ref = FindItemForInfo(hMenu, item, fByPosition, lpmii);
    if (!ref)
        return FALSE;
    const MenuItem& data = ref->Item();
    if (lpmii->fMask & (MIIM_TYPE | MIIM_FTYPE))
        lpmii->fType = data.fType;
    if (lpmii->fMask & MIIM_STATE)
        lpmii->fState = data.fState;
    if (lpmii->fMask & MIIM_ID)
        lpmii->wID = data.wID;
    if (lpmii->fMask & MIIM_SUBMENU)
        lpmii->hSubMenu = data.hSubMenu;
    if (lpmii->fMask & MIIM_DATA)
        lpmii->dwItemData = data.dwItemData;
    if (lpmii->fMask & MIIM_CHECKMARKS)
    {
        lpmii->hbmpChecked = data.hbmpChecked;
        lpmii->hbmpUnchecked = data.hbmpUnchecked;
    }
    if (lpmii->fMask & MIIM_BITMAP)
        lpmii->hbmpItem = data.hbmpItem;
    const bool bTypeText = (lpmii->fMask & MIIM_TYPE) &&
                           (data.fType & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)) == 0;
    if ((lpmii->fMask & MIIM_STRING) || bTypeText)
        CopyText(data.text, lpmii->dwTypeData, lpmii->cch);
    else if ((lpmii->fMask & MIIM_TYPE) && (data.fType & MFT_BITMAP))
        lpmii->dwTypeData = reinterpret_cast<LPSTR>(data.hbmpItem);
    return TRUE;
}

BOOL SetMenuItemInfoA(HMENU hMenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOA lpmii)
{
    const auto ref = FindItemForInfo(hMenu, item, fByPosition, lpmii);
    if (!ref)
        return FALSE;
    ApplyItemInfo(ref->Item(), *lpmii);
    RefreshMenuBarsShowing(ref->pMenu->hMenu);
    return TRUE;
}

BOOL InsertMenuItemA(HMENU hMenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOA lpmi)
{
    MenuData* menu = FindMenuChecked(hMenu);
    if (menu == nullptr || lpmi == nullptr)
        return FALSE;
    MenuItem newItem;
    ApplyItemInfo(newItem, *lpmi);
    if (fByPosition)
    {
        InsertItem(*menu, item, std::move(newItem));
        return TRUE;
    }
    const auto ref = FindMenuItem(hMenu, item, false);
    if (!ref)
        return FALSE;
    InsertItem(*ref->pMenu, ref->nIndex, std::move(newItem));
    return TRUE;
}

BOOL SetMenuInfo(HMENU hMenu, LPCMENUINFO lpcmi)
{
    MenuData* menu = FindMenuChecked(hMenu);
    if (menu == nullptr || lpcmi == nullptr)
        return FALSE;
    CopyMenuSettings(*lpcmi, *menu, lpcmi->fMask);
    if (lpcmi->fMask & MIM_APPLYTOSUBMENUS)
    {
        for (const MenuItem& item : menu->items)
        {
            if (item.hSubMenu != nullptr && item.hSubMenu != hMenu)
                SetMenuInfo(item.hSubMenu, lpcmi);
        }
    }
    RefreshMenuBarsShowing(hMenu);
    return TRUE;
}

BOOL GetMenuInfo(HMENU hMenu, LPMENUINFO lpcmi)
{
    const MenuData* menu = FindMenuChecked(hMenu);
    if (menu == nullptr || lpcmi == nullptr)
        return FALSE;
    CopyMenuSettings(*menu, *lpcmi, lpcmi->fMask);
    return TRUE;
}

LONG GetMenuCheckMarkDimensions()
{
    return MAKELONG(GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK));
}
