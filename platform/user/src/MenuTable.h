// The menus of the process: their items and settings, the handle table and
// the item look-ups by position or command. Handles are never reused.
#pragma once

#include "WinMenu.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct MenuItem
{
    UINT fType = MFT_STRING; // MFT_* bits only
    UINT fState = 0;         // MFS_* bits only
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    ULONG_PTR dwItemData = 0;
    std::string text;
    HBITMAP hbmpItem = nullptr;
    HBITMAP hbmpChecked = nullptr;
    HBITMAP hbmpUnchecked = nullptr;
    // An owner-drawn item is measured once, before it first shows.
    bool bMeasured = false;
    SIZE measured{0, 0};

    bool IsSeparator() const { return (fType & MFT_SEPARATOR) != 0; }
    bool IsOwnerDraw() const { return (fType & MFT_OWNERDRAW) != 0; }
    bool IsGrayed() const { return (fState & MFS_GRAYED) != 0; }
    // What a choice of the item does: open its submenu or run its command.
    bool IsSelectable() const { return !IsSeparator(); }
};

struct MenuData
{
    HMENU hMenu = nullptr;
    bool bPopup = false;
    std::vector<MenuItem> items;
    HBRUSH hbrBack = nullptr;
    DWORD dwStyle = 0;
    UINT cyMax = 0;
    DWORD dwContextHelpID = 0;
    ULONG_PTR dwMenuData = 0;
};

class MenuTable
{
public:
    static MenuTable& Get();

    HMENU Create(bool bPopup);
    MenuData* Find(HMENU hMenu) const;
    // The menu and the submenus it holds.
    void Destroy(HMENU hMenu);

private:
    MenuTable() = default;

    std::vector<std::unique_ptr<MenuData>> m_menus; // index = handle number - base
};

// Null with ERROR_INVALID_MENU_HANDLE when the handle is no menu.
MenuData* FindMenuChecked(HMENU hMenu);

struct MenuItemRef
{
    MenuData* pMenu;
    std::size_t nIndex;

    MenuItem& Item() const { return pMenu->items[nIndex]; }
};

// By position in the menu itself, or by command anywhere below it (a
// submenu's items before the popup item's own id).
std::optional<MenuItemRef> FindMenuItem(HMENU hMenu, UINT nItem, bool bByPosition);
