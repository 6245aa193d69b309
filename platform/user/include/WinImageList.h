// Image lists: rows of equally sized images, each with a mask, drawn
// through the mask (masked pixels leave the DC untouched), blended with the
// highlight colour, or with an overlay image on top.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#define ILC_MASK 0x00000001
#define ILC_COLOR 0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4 0x00000004
#define ILC_COLOR8 0x00000008
#define ILC_COLOR16 0x00000010
#define ILC_COLOR24 0x00000018
#define ILC_COLOR32 0x00000020

#define ILD_NORMAL 0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_BLEND25 0x00000002
#define ILD_BLEND50 0x00000004
#define ILD_MASK 0x00000010
#define ILD_IMAGE 0x00000020
#define ILD_OVERLAYMASK 0x00000F00
#define ILD_SELECTED ILD_BLEND50
#define ILD_FOCUS ILD_BLEND25
#define INDEXTOOVERLAYMASK(i) ((i) << 8)

#define CLR_NONE 0xFFFFFFFFL
#define CLR_DEFAULT 0xFF000000L

typedef struct _IMAGEINFO
{
    HBITMAP hbmImage;
    HBITMAP hbmMask;
    int Unused1;
    int Unused2;
    RECT rcImage;
} IMAGEINFO, *LPIMAGEINFO;

extern "C"
{
    PLATFORMUI_API HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
    PLATFORMUI_API BOOL ImageList_Destroy(HIMAGELIST himl);
    PLATFORMUI_API int ImageList_GetImageCount(HIMAGELIST himl);
    PLATFORMUI_API BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
    // Each image-wide strip of the bitmap is one image; the mask's 1 bits
    // (white) are transparent. The index of the first one added, or -1.
    PLATFORMUI_API int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask);
    // Pixels of the mask colour are transparent.
    PLATFORMUI_API int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask);
    // i == -1 adds the icon.
    PLATFORMUI_API int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon);
    PLATFORMUI_API BOOL ImageList_Remove(HIMAGELIST himl, int i);
    PLATFORMUI_API COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);
    PLATFORMUI_API COLORREF ImageList_GetBkColor(HIMAGELIST himl);
    PLATFORMUI_API BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int iImage, int iOverlay);
    // An index outside the list draws nothing.
    PLATFORMUI_API BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y,
                                       UINT fStyle);
    PLATFORMUI_API BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx,
                                         int dy, COLORREF rgbBk, COLORREF rgbFg, UINT fStyle);
    // The bitmaps are the list's own, current until the list changes.
    PLATFORMUI_API BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo);
    // A new icon of the image, destroyed with DestroyIcon.
    PLATFORMUI_API HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags);
    // A bitmap resource cut into cx-wide images with a mask colour.
    PLATFORMUI_API HIMAGELIST ImageList_LoadImageA(HINSTANCE hi, LPCSTR lpbmp, int cx, int cGrow,
                                                   COLORREF crMask, UINT uType, UINT uFlags);
}

inline int ImageList_AddIcon(HIMAGELIST himl, HICON hicon)
{
    return ImageList_ReplaceIcon(himl, -1, hicon);
}
inline HICON ImageList_ExtractIcon(HINSTANCE, HIMAGELIST himl, int i)
{
    return ImageList_GetIcon(himl, i, 0);
}
