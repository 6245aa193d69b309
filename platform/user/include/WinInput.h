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

    // MAPVK_VK_TO_VSC: the set-1 scan code of a key; MAPVK_VSC_TO_VK back;
    // MAPVK_VK_TO_CHAR: the unshifted character (capitals for letters).
    PLATFORMUI_API UINT MapVirtualKeyA(UINT code, UINT mapType);
    // The English name of the key in bits 16-24 of lParam (scan code and
    // extended bit): "Ctrl", "Del", "F5", "A", "Num +"... 0 when unknown.
    PLATFORMUI_API int GetKeyNameTextA(LONG lParam, LPSTR buffer, int size);
}

#define MAPVK_VK_TO_VSC 0
#define MAPVK_VSC_TO_VK 1
#define MAPVK_VK_TO_CHAR 2

inline UINT MapVirtualKey(UINT code, UINT mapType)
{
    return MapVirtualKeyA(code, mapType);
}
inline int GetKeyNameText(LONG lParam, LPSTR buffer, int size)
{
    return GetKeyNameTextA(lParam, buffer, size);
}
