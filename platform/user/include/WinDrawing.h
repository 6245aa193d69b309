// Drawing calls of the windowing layer: the focus rectangle, images and
// text in a state (disabled looks embossed), and icons drawn through their
// masks; icons made from bitmaps.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#define DST_COMPLEX 0x0000
#define DST_TEXT 0x0001
#define DST_PREFIXTEXT 0x0002
#define DST_ICON 0x0003
#define DST_BITMAP 0x0004

#define DSS_NORMAL 0x0000
#define DSS_UNION 0x0010
#define DSS_DISABLED 0x0020
#define DSS_MONO 0x0080
#define DSS_HIDEPREFIX 0x0200
#define DSS_PREFIXONLY 0x0400
#define DSS_RIGHT 0x8000

// What DrawCaption draws.
#define DC_ACTIVE 0x0001
#define DC_SMALLCAP 0x0002
#define DC_ICON 0x0004
#define DC_TEXT 0x0008
#define DC_INBUTTON 0x0010
#define DC_GRADIENT 0x0020

#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_COMPAT 0x0004
#define DI_DEFAULTSIZE 0x0008

typedef struct _ICONINFO
{
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
} ICONINFO, *PICONINFO;

using DRAWSTATEPROC = BOOL (*)(HDC hdc, LPARAM lData, WPARAM wData, int cx, int cy);

extern "C"
{
    // A dotted frame drawn by inverting: drawn twice it is gone.
    PLATFORMUI_API BOOL DrawFocusRect(HDC hdc, const RECT* lprc);
    // Text (lData: the text, wData: its length or 0), an icon or a bitmap
    // (lData: the handle) at (x, y); cx and cy 0 take the item's own size.
    // DSS_DISABLED draws it embossed, DSS_MONO in the brush's colour.
    PLATFORMUI_API BOOL DrawStateA(HDC hdc, HBRUSH hbrFore, DRAWSTATEPROC qfnCallBack, LPARAM lData,
                                   WPARAM wData, int x, int y, int cx, int cy, UINT uFlags);
    // Through the icon's mask: its transparent pixels leave the DC alone.
    PLATFORMUI_API BOOL DrawIcon(HDC hdc, int x, int y, HICON hIcon);
    PLATFORMUI_API BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth,
                                   int cyWidth, UINT istepIfAniCur, HBRUSH hbrFlickerFreeDraw,
                                   UINT diFlags);
    // A caption strip of the window in the rectangle: the caption colour of
    // the state (DC_ACTIVE), the window class's small icon (DC_ICON; not on
    // a small caption) and the window text (DC_TEXT). No buttons.
    PLATFORMUI_API BOOL DrawCaption(HWND hwnd, HDC hdc, const RECT* lprect, UINT flags);
    // An icon from a colour bitmap and a monochrome mask (1: transparent);
    // the bitmaps stay the caller's. Destroy it with DestroyIcon.
    PLATFORMUI_API HICON CreateIconIndirect(PICONINFO piconinfo);
}

inline BOOL DrawState(HDC hdc, HBRUSH hbrFore, DRAWSTATEPROC qfnCallBack, LPARAM lData,
                      WPARAM wData, int x, int y, int cx, int cy, UINT uFlags)
{
    return DrawStateA(hdc, hbrFore, qfnCallBack, lData, wData, x, y, cx, cy, uFlags);
}
