// Where the items of a menu go and how they look: popup columns and the
// rows of a menu bar, the layer's own item drawing and the owner-draw
// protocol (WM_MEASUREITEM, WM_DRAWITEM) for owner-drawn items.
#pragma once

#include "MenuTable.h"

#include <vector>

// The frame around the items of a popup, drawn inside the popup window.
constexpr int kMenuPopupBorder = 3;

struct MenuPlacement
{
    SIZE size{0, 0};         // the popup window, or the bar's height for a bar
    std::vector<RECT> items; // popup client or bar (window) coordinates
};

HFONT GetMenuFont();

// Measures owner-drawn items not measured yet by asking hOwner.
MenuPlacement LayoutPopupMenu(MenuData& menu, HWND hOwner);
// The rows of a bar that starts at (left, top) and is nWidth wide.
MenuPlacement LayoutMenuBar(MenuData& menu, HWND hOwner, int left, int top, int nWidth);

// Draws one item; an owner-drawn item is drawn by hOwner with the action
// given (ODA_DRAWENTIRE or ODA_SELECT).
void DrawMenuItem(HDC hdc, const MenuData& menu, std::size_t nIndex, const RECT& rcItem,
                  bool bSelected, bool bBar, HWND hOwner, UINT nAction);
// The popup's frame and background, then every item.
void DrawPopupMenu(HDC hdc, const MenuData& menu, const MenuPlacement& placement, int nSelected,
                   HWND hOwner);
HBRUSH GetMenuBackground(const MenuData& menu);
