// The caret of the UI thread: an inverted rectangle in one window, shown
// while its hide count is zero. It does not blink: a steady caret keeps
// window pictures reproducible.
#pragma once

#include "WinUserDefs.h"

// Painting takes the caret off before BeginPaint returns and puts it back
// at EndPaint, so that it never becomes part of a painted picture.
void HideCaretForPaint(HWND hWnd);
void ShowCaretAfterPaint(HWND hWnd);
// The window is going away.
void DropCaretOf(HWND hWnd);
