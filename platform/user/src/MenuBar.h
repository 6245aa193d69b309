// The menu bar of a top-level window: its place in the non-client area
// below the caption, its drawing and the keys and presses that start
// tracking it.
#pragma once

#include "MenuLayout.h"
#include "WindowTree.h"

// The window's menu bar, or NULL (child windows hold an id instead).
HMENU GetMenuBarOf(const WindowData& window);
// The bar's rectangle in window coordinates (empty without a bar) and its
// items, placed for the window's current width.
RECT GetMenuBarRect(const WindowData& window);
MenuPlacement LayoutWindowMenuBar(const WindowData& window);
// The bar's height in a window rectangle of that width and style.
int CalcMenuBarHeight(const WindowData& window, int nWindowWidth);
void PaintMenuBar(HDC hdcWindow, const WindowData& window);
// Repaints the bars that show the menu after a change of its items.
void RefreshMenuBarsShowing(HMENU hMenu);

// DefWindowProc's part: a press on the bar, Alt alone and Alt with a letter.
void OnMenuBarPress(HWND hWnd, POINT ptScreen);
void OnMenuKeyDown(UINT nMsg, WPARAM nVirtKey);
void OnMenuKeyUp(const WindowData& window, WPARAM nVirtKey);
void OnMenuChar(const WindowData& window, WPARAM ch);
