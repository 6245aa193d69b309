#include "MenuTable.h"

#include "WinError.h"

namespace
{
// Menu handles are small numbers of their own, apart from window handles.
constexpr ULONG_PTR kFirstMenu = 0x20000;

std::optional<MenuItemRef> FindByCommand(MenuData& menu, UINT nId, int nDepth)
{
    // Menus nest only a few levels; the bound keeps a menu that holds
    // itself from looping.
    if (nDepth > 32)
        return std::nullopt;
    for (std::size_t i = 0; i < menu.items.size(); ++i)
    {
        const MenuItem& item = menu.items[i];
        if (item.hSubMenu != nullptr)
        {
            if (MenuData* sub = MenuTable::Get().Find(item.hSubMenu))
            {
                if (const auto found = FindByCommand(*sub, nId, nDepth + 1))
                    return found;
            }
        }
        if (item.wID == nId)
            return MenuItemRef{&menu, i};
    }
    return std::nullopt;
}
} // namespace

MenuTable& MenuTable::Get()
{
    static MenuTable table;
    return table;
}

HMENU MenuTable::Create(bool bPopup)
{
    auto menu = std::make_unique<MenuData>();
    menu->hMenu = reinterpret_cast<HMENU>(kFirstMenu + m_menus.size());
    menu->bPopup = bPopup;
    m_menus.push_back(std::move(menu));
    return m_menus.back()->hMenu;
}

MenuData* MenuTable::Find(HMENU hMenu) const
{
    const auto value = reinterpret_cast<ULONG_PTR>(hMenu);
    if (value < kFirstMenu || value - kFirstMenu >= m_menus.size())
        return nullptr;
    return m_menus[value - kFirstMenu].get();
}

void MenuTable::Destroy(HMENU hMenu)
{
    MenuData* menu = Find(hMenu);
    if (menu == nullptr)
        return;
    // Taken out of the table first: a menu that holds itself ends here.
    std::unique_ptr<MenuData> owned =
        std::move(m_menus[reinterpret_cast<ULONG_PTR>(hMenu) - kFirstMenu]);
    for (const MenuItem& item : owned->items)
    {
        if (item.hSubMenu != nullptr)
            Destroy(item.hSubMenu);
    }
}

MenuData* FindMenuChecked(HMENU hMenu)
{
    MenuData* menu = MenuTable::Get().Find(hMenu);
    if (menu == nullptr)
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    return menu;
}

std::optional<MenuItemRef> FindMenuItem(HMENU hMenu, UINT nItem, bool bByPosition)
{
    MenuData* menu = FindMenuChecked(hMenu);
    if (menu == nullptr)
        return std::nullopt;
    if (bByPosition)
    {
        if (nItem >= menu->items.size())
            return std::nullopt;
        return MenuItemRef{menu, nItem};
    }
    return FindByCommand(*menu, nItem, 0);
}
