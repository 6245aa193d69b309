// The caret of the UI thread: an inverted rectangle in one window, shown
// while its hide count is zero. It does not blink: a steady caret keeps
// window pictures reproducible.
#pragma once

#include "WinUserDefs.h"

// Painting takes the caret off before BeginPaint returns and puts it back
// at EndPaint, so that it never becomes part of a painted picture.
void HideCaretForPaint(HWND hWnd);
void ShowCaretAfterPaint(HWND hWnd);
// Scrolling a window's pixels: the caret comes off them first, then, when
// it sat in the scrolled rectangle, moves with them and shows again.
void EraseCaretOf(HWND hWnd);
void ScrollCaretOf(HWND hWnd, const RECT& scroll, int dx, int dy);
// The window is going away.
void DropCaretOf(HWND hWnd);
