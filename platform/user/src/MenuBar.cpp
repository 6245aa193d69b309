#include "MenuBar.h"

#include "MenuTracker.h"
#include "NonClient.h"
#include "Painting.h"
#include "WinMessageQueue.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"

namespace
{
// Alt pressed and released with no other key between opens the bar.
bool gAltAlone = false;

RECT BarArea(const WindowData& window, int nWindowWidth)
{
    const FrameInsets insets = GetFrameInsets(window.dwStyle, window.dwExStyle);
    return RECT{insets.left, insets.top, nWindowWidth - insets.right, insets.top};
}

HWND MenuOwnerOf(const WindowData& window)
{
    return GetTopLevelOf(const_cast<WindowData&>(window)).hWnd;
}
} // namespace

HMENU GetMenuBarOf(const WindowData& window)
{
    if (window.IsChildStyle() || IsDesktop(window))
        return nullptr;
    const auto hMenu = reinterpret_cast<HMENU>(window.nIdOrMenu);
    return MenuTable::Get().Find(hMenu) != nullptr ? hMenu : nullptr;
}

int CalcMenuBarHeight(const WindowData& window, int nWindowWidth)
{
    MenuData* menu = MenuTable::Get().Find(GetMenuBarOf(window));
    if (menu == nullptr || (window.dwStyle & WS_MINIMIZE))
        return 0;
    const RECT area = BarArea(window, nWindowWidth);
    return LayoutMenuBar(*menu, window.hWnd, area.left, area.top, area.right - area.left).size.cy;
}

RECT GetMenuBarRect(const WindowData& window)
{
    RECT area = BarArea(window, window.GetWidth());
    area.bottom = area.top + CalcMenuBarHeight(window, window.GetWidth());
    return area;
}

MenuPlacement LayoutWindowMenuBar(const WindowData& window)
{
    MenuData* menu = MenuTable::Get().Find(GetMenuBarOf(window));
    if (menu == nullptr)
        return MenuPlacement{};
    const RECT area = BarArea(window, window.GetWidth());
    return LayoutMenuBar(*menu, window.hWnd, area.left, area.top, area.right - area.left);
}

void PaintMenuBar(HDC hdcWindow, const WindowData& window)
{
    const MenuData* menu = MenuTable::Get().Find(GetMenuBarOf(window));
    if (menu == nullptr || hdcWindow == nullptr)
        return;
    const RECT rcBar = GetMenuBarRect(window);
    if (IsRectEmpty(&rcBar))
        return;
    FillRect(hdcWindow, &rcBar, GetMenuBackground(*menu));
    // A line under the bar parts it from the client area.
    const RECT rcLine{rcBar.left, rcBar.bottom - 1, rcBar.right, rcBar.bottom};
    FillRect(hdcWindow, &rcLine, GetSysColorBrush(COLOR_3DFACE));
    const MenuPlacement placement = LayoutWindowMenuBar(window);
    const int nSelected = GetTrackedBarItem(window.hWnd);
    for (std::size_t i = 0; i < placement.items.size() && i < menu->items.size(); ++i)
        DrawMenuItem(hdcWindow, *menu, i, placement.items[i], static_cast<int>(i) == nSelected,
                     true, window.hWnd, ODA_DRAWENTIRE);
}

void RefreshMenuBarsShowing(HMENU hMenu)
{
    for (const auto& top : WindowTree::Get().GetDesktop().children)
    {
        if (GetMenuBarOf(*top) == hMenu)
            RedrawWindow(top->hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
}

void OnMenuBarPress(HWND hWnd, POINT ptScreen)
{
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr)
        return;
    const RECT rcWindow = GetScreenWindowRect(*window);
    const POINT pt{ptScreen.x - rcWindow.left, ptScreen.y - rcWindow.top};
    const MenuPlacement placement = LayoutWindowMenuBar(*window);
    for (std::size_t i = 0; i < placement.items.size(); ++i)
    {
        if (PtInRect(&placement.items[i], pt))
        {
            TrackMenuBar(hWnd, static_cast<int>(i), 0);
            return;
        }
    }
}

void OnMenuKeyDown(UINT nMsg, WPARAM nVirtKey)
{
    gAltAlone = nMsg == WM_SYSKEYDOWN && (nVirtKey == VK_MENU || nVirtKey == VK_F10);
}

void OnMenuKeyUp(const WindowData& window, WPARAM nVirtKey)
{
    const bool bOpen = gAltAlone && (nVirtKey == VK_MENU || nVirtKey == VK_F10);
    gAltAlone = false;
    if (bOpen)
        SendMessageA(MenuOwnerOf(window), WM_SYSCOMMAND, SC_KEYMENU, 0);
}

void OnMenuChar(const WindowData& window, WPARAM ch)
{
    gAltAlone = false;
    if (ch != ' ')
        SendMessageA(MenuOwnerOf(window), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(ch));
}

HMENU GetMenu(HWND hWnd)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || window->IsChildStyle())
        return nullptr;
    return reinterpret_cast<HMENU>(window->nIdOrMenu);
}

BOOL SetMenu(HWND hWnd, HMENU hMenu)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || window->IsChildStyle())
        return FALSE;
    if (hMenu != nullptr && FindMenuChecked(hMenu) == nullptr)
        return FALSE;
    window->nIdOrMenu = reinterpret_cast<UINT_PTR>(hMenu);
    return DrawMenuBar(hWnd);
}

BOOL DrawMenuBar(HWND hWnd)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || window->IsChildStyle())
        return FALSE;
    return SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem)
{
    if (lprcItem == nullptr)
        return FALSE;
    // A popup open in the tracked menu, whichever window owns it.
    if (GetTrackedPopupItemRect(hMenu, uItem, *lprcItem))
        return TRUE;
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || GetMenuBarOf(*window) != hMenu)
        return FALSE;
    const MenuPlacement placement = LayoutWindowMenuBar(*window);
    if (uItem >= placement.items.size())
        return FALSE;
    const RECT rcWindow = GetScreenWindowRect(*window);
    *lprcItem = placement.items[uItem];
    OffsetRect(lprcItem, rcWindow.left, rcWindow.top);
    return TRUE;
}
