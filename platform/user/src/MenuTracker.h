// The modal loop that tracks a menu: a popup menu (TrackPopupMenu) or the
// menu bar of a top-level window, with its popups as "#32768" windows.
// One menu is tracked at a time.
#pragma once

#include "MenuLayout.h"

// The id chosen (0 when none); bShown tells whether the popup showed.
UINT TrackMenuPopup(HMENU hMenu, UINT uFlags, POINT pt, HWND hOwner, bool& bShown);
// nItem: the bar item pressed, or -1 for the keyboard (ch: the mnemonic
// typed with Alt, 0 for Alt alone).
void TrackMenuBar(HWND hWnd, int nItem, char ch);
bool IsMenuTracked();
void CancelMenuTracking();
// The bar item highlighted while the menu bar of hWnd is tracked, else -1.
int GetTrackedBarItem(HWND hWnd);
// The screen rectangle of an item of a popup open in the tracked menu.
bool GetTrackedPopupItemRect(HMENU hMenu, UINT uItem, RECT& rcItem);

LRESULT MenuPopupWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
