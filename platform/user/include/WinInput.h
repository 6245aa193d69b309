// Input state and routing: mouse capture, keyboard focus, activation, key
// states and the pointer position.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

extern "C"
{
    // Every mouse message goes to the capture window, in its client
    // coordinates, wherever the pointer is. Losing capture sends
    // WM_CAPTURECHANGED (lParam = the new capture window) from inside the call.
    PLATFORMUI_API HWND SetCapture(HWND hWnd);
    PLATFORMUI_API BOOL ReleaseCapture();
    PLATFORMUI_API HWND GetCapture();

    // WM_KILLFOCUS (wParam = new) to the old window, then WM_SETFOCUS
    // (wParam = old) to the new one.
    PLATFORMUI_API HWND SetFocus(HWND hWnd);
    PLATFORMUI_API HWND GetFocus();
    PLATFORMUI_API HWND SetActiveWindow(HWND hWnd);
    PLATFORMUI_API HWND GetActiveWindow();
    PLATFORMUI_API BOOL SetForegroundWindow(HWND hWnd);
    PLATFORMUI_API HWND GetForegroundWindow();
    PLATFORMUI_API HWND GetLastActivePopup(HWND hWnd);

    // High bit: down; low bit: toggled. GetKeyState follows the messages
    // retrieved so far, GetAsyncKeyState the keyboard now.
    PLATFORMUI_API SHORT GetKeyState(int virtKey);
    PLATFORMUI_API SHORT GetAsyncKeyState(int virtKey);
    PLATFORMUI_API BOOL GetKeyboardState(LPBYTE keyState);

    PLATFORMUI_API BOOL GetCursorPos(LPPOINT point);
    PLATFORMUI_API BOOL SetCursorPos(int x, int y);
    // NULL releases the pointer.
    PLATFORMUI_API BOOL ClipCursor(const RECT* rect);
    PLATFORMUI_API BOOL GetClipCursor(LPRECT rect);
    PLATFORMUI_API UINT GetDoubleClickTime();
}
