// Cursors, icons, carets and the images loaded from module resources.
// System cursors and icons are shared objects; resource ones are loaded
// once per module and id and shared too.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

extern "C"
{
    // hInstance NULL: a system cursor (IDC_*); otherwise the module's
    // RT_GROUP_CURSOR resource. NULL when absent.
    PLATFORMUI_API HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR cursorName);
    // Returns the previous cursor.
    PLATFORMUI_API HCURSOR SetCursor(HCURSOR hCursor);
    PLATFORMUI_API HCURSOR GetCursor();
    // The display counter: the cursor shows while it is 0 or more.
    PLATFORMUI_API int ShowCursor(BOOL show);
    PLATFORMUI_API BOOL DestroyCursor(HCURSOR hCursor);
    PLATFORMUI_API HICON LoadIconA(HINSTANCE hInstance, LPCSTR iconName);
    PLATFORMUI_API BOOL DestroyIcon(HICON hIcon);
    PLATFORMUI_API HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR bitmapName);
    PLATFORMUI_API HANDLE LoadImageA(HINSTANCE hInstance, LPCSTR name, UINT type, int cx, int cy,
                                     UINT flags);

    // The caret of the thread; only one exists at a time.
    PLATFORMUI_API BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int width, int height);
    PLATFORMUI_API BOOL DestroyCaret();
    PLATFORMUI_API BOOL ShowCaret(HWND hWnd);
    PLATFORMUI_API BOOL HideCaret(HWND hWnd);
    PLATFORMUI_API BOOL SetCaretPos(int x, int y);
    PLATFORMUI_API BOOL GetCaretPos(LPPOINT point);
    PLATFORMUI_API UINT GetCaretBlinkTime();
}

// The hot spot and size of a cursor or icon and the module file image it
// came from (empty for system ones); for the display backends.
struct CursorImageInfo
{
    POINT hotSpot;
    SIZE size;
    WORD nSystemId; // IDC_* or IDI_* number, 0 for a resource image
    const BYTE* pFileBytes;
    DWORD cbFileBytes;
};
PLATFORMUI_API BOOL GetCursorImageInfo(HCURSOR hCursor, CursorImageInfo* info);

inline HCURSOR LoadCursor(HINSTANCE hInstance, LPCSTR cursorName)
{
    return LoadCursorA(hInstance, cursorName);
}
inline HICON LoadIcon(HINSTANCE hInstance, LPCSTR iconName)
{
    return LoadIconA(hInstance, iconName);
}
inline HBITMAP LoadBitmap(HINSTANCE hInstance, LPCSTR bitmapName)
{
    return LoadBitmapA(hInstance, bitmapName);
}
inline HANDLE LoadImage(HINSTANCE hInstance, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    return LoadImageA(hInstance, name, type, cx, cy, flags);
}
