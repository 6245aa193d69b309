// The clipboard: an in-process store of data by format. Handing a handle
// to SetClipboardData passes its ownership to the clipboard, which frees it
// when the contents change. A bitmap (CF_BITMAP) is also offered as a
// packed DIB (CF_DIB) and the other way round. The display backend may
// bridge the store to other programs (ClipboardBridge.h).
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_DIB 8
#define CF_PALETTE 9
#define CF_UNICODETEXT 13
#define CF_HDROP 15

#ifndef ERROR_CLIPBOARD_NOT_OPEN
#define ERROR_CLIPBOARD_NOT_OPEN 1418L
#endif

extern "C"
{
    // Fails while another window holds the clipboard open.
    PLATFORMUI_API BOOL OpenClipboard(HWND hWndNewOwner);
    PLATFORMUI_API BOOL CloseClipboard();
    // Frees the contents; the window that opened the clipboard owns it.
    PLATFORMUI_API BOOL EmptyClipboard();
    // The clipboard must be open; returns the handle, NULL on failure.
    PLATFORMUI_API HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
    // The clipboard must be open; the handle stays the clipboard's.
    PLATFORMUI_API HANDLE GetClipboardData(UINT uFormat);
    PLATFORMUI_API BOOL IsClipboardFormatAvailable(UINT format);
    // 0 starts; 0 at the end.
    PLATFORMUI_API UINT EnumClipboardFormats(UINT format);
    PLATFORMUI_API int CountClipboardFormats();
    PLATFORMUI_API HWND GetClipboardOwner();
    PLATFORMUI_API HWND GetOpenClipboardWindow();
    PLATFORMUI_API DWORD GetClipboardSequenceNumber();
    // The same number (from 0xC000) for the same name, compared without
    // regard to case; window messages registered by name share the numbers.
    // 0 on failure.
    PLATFORMUI_API UINT RegisterClipboardFormatA(LPCSTR lpszFormat);
    PLATFORMUI_API int GetClipboardFormatNameA(UINT format, LPSTR lpszFormatName, int cchMaxCount);
}

inline UINT RegisterClipboardFormat(LPCSTR lpszFormat)
{
    return RegisterClipboardFormatA(lpszFormat);
}
inline int GetClipboardFormatName(UINT format, LPSTR lpszFormatName, int cchMaxCount)
{
    return GetClipboardFormatNameA(format, lpszFormatName, cchMaxCount);
}
