// The GDI interface of the platform layer: structures, constants and calls
// for device contexts, bitmaps and DIBs, blits, pens, brushes, shapes,
// regions, mapping modes, palettes and text. Everything draws into 32-bit
// BGRX surfaces in software and needs no display.
#pragma once

#include "PlatformGDIExport.h"
#include "WinGeometry.h"
#include "WinTypes.h"

// ---------------------------------------------------------------- structures
#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER
{
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
} BITMAPFILEHEADER, *LPBITMAPFILEHEADER;
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14);

typedef struct tagBITMAPINFOHEADER
{
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER;
static_assert(sizeof(BITMAPINFOHEADER) == 40);

typedef struct tagBITMAPCOREHEADER
{
    DWORD bcSize;
    WORD bcWidth;
    WORD bcHeight;
    WORD bcPlanes;
    WORD bcBitCount;
} BITMAPCOREHEADER, *LPBITMAPCOREHEADER;
static_assert(sizeof(BITMAPCOREHEADER) == 12);

typedef struct tagRGBQUAD
{
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;
static_assert(sizeof(RGBQUAD) == 4);

typedef struct tagRGBTRIPLE
{
    BYTE rgbtBlue;
    BYTE rgbtGreen;
    BYTE rgbtRed;
} RGBTRIPLE;
static_assert(sizeof(RGBTRIPLE) == 3);

typedef struct tagBITMAPINFO
{
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO, *LPBITMAPINFO;

typedef struct tagBITMAP
{
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
} BITMAP, *LPBITMAP;

typedef struct tagDIBSECTION
{
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
} DIBSECTION;

typedef struct tagPALETTEENTRY
{
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY, *LPPALETTEENTRY;
static_assert(sizeof(PALETTEENTRY) == 4);

typedef struct tagLOGPALETTE
{
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
} LOGPALETTE, *LPLOGPALETTE;

typedef struct tagLOGPEN
{
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
} LOGPEN;

typedef struct tagLOGBRUSH
{
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
} LOGBRUSH;

#define LF_FACESIZE 32
typedef struct tagLOGFONTA
{
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *LPLOGFONTA;
using LOGFONT = LOGFONTA;
static_assert(sizeof(LOGFONTA) == 60);

typedef struct tagTEXTMETRICA
{
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICA, *LPTEXTMETRICA;
using TEXTMETRIC = TEXTMETRICA;

typedef struct _BLENDFUNCTION
{
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
} BLENDFUNCTION;

typedef struct _RGNDATAHEADER
{
    DWORD dwSize;
    DWORD iType;
    DWORD nCount;
    DWORD nRgnSize;
    RECT rcBound;
} RGNDATAHEADER;

// ---------------------------------------------------------------- constants
#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L
#define CBM_INIT 0x04L
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16

#define SRCCOPY 0x00CC0020UL
#define SRCPAINT 0x00EE0086UL
#define SRCAND 0x008800C6UL
#define SRCINVERT 0x00660046UL
#define SRCERASE 0x00440328UL
#define NOTSRCCOPY 0x00330008UL
#define NOTSRCERASE 0x001100A6UL
#define MERGECOPY 0x00C000CAUL
#define MERGEPAINT 0x00BB0226UL
#define PATCOPY 0x00F00021UL
#define PATPAINT 0x00FB0A09UL
#define PATINVERT 0x005A0049UL
#define DSTINVERT 0x00550009UL
#define BLACKNESS 0x00000042UL
#define WHITENESS 0x00FF0062UL

#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

#define TRANSPARENT 1
#define OPAQUE 2

#define ALTERNATE 1
#define WINDING 2

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK 0x0000000F
#define PS_ENDCAP_ROUND 0x00000000
#define PS_JOIN_ROUND 0x00000000
#define PS_COSMETIC 0x00000000
#define PS_GEOMETRIC 0x00010000
#define PS_TYPE_MASK 0x000F0000

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3

#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10
#define OBJ_EXTPEN 11

#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define ASPECTX 40
#define ASPECTY 42
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define RASTERCAPS 38
#define RC_BITBLT 1
#define RC_BITMAP64 8
#define RC_DI_BITMAP 0x0080
#define RC_PALETTE 0x0100
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800
#define RC_STRETCHDIB 0x2000

#define AC_SRC_OVER 0x00
#define AC_SRC_ALPHA 0x01

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define GB2312_CHARSET 134
#define EASTEUROPE_CHARSET 238
#define OUT_DEFAULT_PRECIS 0
#define OUT_CHARACTER_PRECIS 2
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define CLIP_CHARACTER_PRECIS 1
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_PATH_ELLIPSIS 0x00004000
#define DT_END_ELLIPSIS 0x00008000
#define DT_WORD_ELLIPSIS 0x00040000

#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL
#define HGDI_ERROR (reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(-1)))

#define PC_RESERVED 0x01
#define PC_EXPLICIT 0x02
#define PC_NOCOLLAPSE 0x04

// The virtual screen: every screen DC and every window DC reports it.
#define GDI_SCREEN_WIDTH 1920
#define GDI_SCREEN_HEIGHT 1080
#define GDI_SCREEN_DPI 96

// ---------------------------------------------------------------- calls
extern "C"
{
    // Device contexts. GetDC(NULL) is the virtual screen's DC; window DCs come
    // from the windowing layer through a surface host (GdiSurfaceHost.h).
    PLATFORMGDI_API HDC GetDC(HWND hWnd);
    PLATFORMGDI_API int ReleaseDC(HWND hWnd, HDC hdc);
    PLATFORMGDI_API HDC CreateCompatibleDC(HDC hdc);
    PLATFORMGDI_API HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output,
                                  const void* initData);
    PLATFORMGDI_API HDC CreateICA(LPCSTR driver, LPCSTR device, LPCSTR output,
                                  const void* initData);
    PLATFORMGDI_API BOOL DeleteDC(HDC hdc);
    PLATFORMGDI_API int SaveDC(HDC hdc);
    PLATFORMGDI_API BOOL RestoreDC(HDC hdc, int savedDC);
    PLATFORMGDI_API HWND WindowFromDC(HDC hdc);
    PLATFORMGDI_API int GetDeviceCaps(HDC hdc, int index);
    PLATFORMGDI_API DWORD GetObjectType(HGDIOBJ obj);

    // Objects.
    PLATFORMGDI_API HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj);
    PLATFORMGDI_API HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
    PLATFORMGDI_API HGDIOBJ GetStockObject(int index);
    PLATFORMGDI_API BOOL DeleteObject(HGDIOBJ obj);
    PLATFORMGDI_API int GetObjectA(HGDIOBJ obj, int size, LPVOID out);

    // Attributes.
    PLATFORMGDI_API COLORREF SetTextColor(HDC hdc, COLORREF color);
    PLATFORMGDI_API COLORREF GetTextColor(HDC hdc);
    PLATFORMGDI_API COLORREF SetBkColor(HDC hdc, COLORREF color);
    PLATFORMGDI_API COLORREF GetBkColor(HDC hdc);
    PLATFORMGDI_API int SetBkMode(HDC hdc, int mode);
    PLATFORMGDI_API int GetBkMode(HDC hdc);
    PLATFORMGDI_API int SetROP2(HDC hdc, int mode);
    PLATFORMGDI_API int GetROP2(HDC hdc);
    PLATFORMGDI_API int SetStretchBltMode(HDC hdc, int mode);
    PLATFORMGDI_API int GetStretchBltMode(HDC hdc);
    PLATFORMGDI_API int SetPolyFillMode(HDC hdc, int mode);
    PLATFORMGDI_API int GetPolyFillMode(HDC hdc);
    PLATFORMGDI_API UINT SetTextAlign(HDC hdc, UINT align);
    PLATFORMGDI_API UINT GetTextAlign(HDC hdc);
    PLATFORMGDI_API BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old);

    // Coordinates.
    PLATFORMGDI_API int SetMapMode(HDC hdc, int mode);
    PLATFORMGDI_API int GetMapMode(HDC hdc);
    PLATFORMGDI_API BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old);
    PLATFORMGDI_API BOOL GetWindowOrgEx(HDC hdc, LPPOINT pt);
    PLATFORMGDI_API BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
    PLATFORMGDI_API BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old);
    PLATFORMGDI_API BOOL GetViewportOrgEx(HDC hdc, LPPOINT pt);
    PLATFORMGDI_API BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old);
    PLATFORMGDI_API BOOL SetWindowExtEx(HDC hdc, int cx, int cy, LPSIZE old);
    PLATFORMGDI_API BOOL GetWindowExtEx(HDC hdc, LPSIZE size);
    PLATFORMGDI_API BOOL SetViewportExtEx(HDC hdc, int cx, int cy, LPSIZE old);
    PLATFORMGDI_API BOOL GetViewportExtEx(HDC hdc, LPSIZE size);
    PLATFORMGDI_API BOOL LPtoDP(HDC hdc, LPPOINT pts, int count);
    PLATFORMGDI_API BOOL DPtoLP(HDC hdc, LPPOINT pts, int count);

    // Bitmaps and DIBs.
    PLATFORMGDI_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount,
                                         const void* bits);
    PLATFORMGDI_API HBITMAP CreateBitmapIndirect(const BITMAP* bm);
    PLATFORMGDI_API HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
    PLATFORMGDI_API HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init,
                                           const void* bits, const BITMAPINFO* info, UINT usage);
    PLATFORMGDI_API HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage,
                                             void** bits, HANDLE section, DWORD offset);
    PLATFORMGDI_API UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors);
    PLATFORMGDI_API UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors);
    PLATFORMGDI_API int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits,
                                  LPBITMAPINFO info, UINT usage);
    PLATFORMGDI_API int SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
                                  const BITMAPINFO* info, UINT usage);
    PLATFORMGDI_API int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height,
                                          int xSrc, int ySrc, UINT startScan, UINT scanLines,
                                          const void* bits, const BITMAPINFO* info, UINT usage);
    PLATFORMGDI_API int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight,
                                      int xSrc, int ySrc, int srcWidth, int srcHeight,
                                      const void* bits, const BITMAPINFO* info, UINT usage,
                                      DWORD rop);
    PLATFORMGDI_API COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
    PLATFORMGDI_API COLORREF GetPixel(HDC hdc, int x, int y);

    // Blits.
    PLATFORMGDI_API BOOL BitBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc,
                                int xSrc, int ySrc, DWORD rop);
    PLATFORMGDI_API BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int destWidth,
                                    int destHeight, HDC hdcSrc, int xSrc, int ySrc, int srcWidth,
                                    int srcHeight, DWORD rop);
    PLATFORMGDI_API BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
    // The source rectangle onto the parallelogram whose upper-left,
    // upper-right and lower-left corners are lpPoint[0..2]; where a
    // monochrome mask is given, only its 1 pixels are copied.
    PLATFORMGDI_API BOOL PlgBlt(HDC hdcDest, const POINT* lpPoint, HDC hdcSrc, int xSrc, int ySrc,
                                int width, int height, HBITMAP hbmMask, int xMask, int yMask);
    // Moves the pixels of the scroll rectangle (the whole clip box when NULL)
    // by (dx, dy) inside the clip rectangle; the uncovered part is reported in
    // the update region and rectangle when given.
    PLATFORMGDI_API BOOL ScrollDC(HDC hdc, int dx, int dy, const RECT* scroll, const RECT* clip,
                                  HRGN update, LPRECT updateRect);
    PLATFORMGDI_API BOOL AlphaBlend(HDC hdcDest, int xDest, int yDest, int destWidth,
                                    int destHeight, HDC hdcSrc, int xSrc, int ySrc, int srcWidth,
                                    int srcHeight, BLENDFUNCTION blend);

    // Pens and brushes.
    PLATFORMGDI_API HPEN CreatePen(int style, int width, COLORREF color);
    PLATFORMGDI_API HPEN CreatePenIndirect(const LOGPEN* pen);
    PLATFORMGDI_API HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush,
                                      DWORD styleCount, const DWORD* styles);
    PLATFORMGDI_API HBRUSH CreateSolidBrush(COLORREF color);
    PLATFORMGDI_API HBRUSH CreateHatchBrush(int hatch, COLORREF color);
    PLATFORMGDI_API HBRUSH CreatePatternBrush(HBITMAP bitmap);
    PLATFORMGDI_API HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);

    // Lines and shapes.
    PLATFORMGDI_API BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old);
    PLATFORMGDI_API BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt);
    PLATFORMGDI_API BOOL LineTo(HDC hdc, int x, int y);
    PLATFORMGDI_API BOOL Polyline(HDC hdc, const POINT* pts, int count);
    PLATFORMGDI_API BOOL PolylineTo(HDC hdc, const POINT* pts, DWORD count);
    PLATFORMGDI_API BOOL Polygon(HDC hdc, const POINT* pts, int count);
    PLATFORMGDI_API BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
    PLATFORMGDI_API BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width,
                                   int height);
    PLATFORMGDI_API BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
    PLATFORMGDI_API BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart,
                             int yStart, int xEnd, int yEnd);
    PLATFORMGDI_API BOOL AngleArc(HDC hdc, int x, int y, DWORD radius, FLOAT startAngle,
                                  FLOAT sweepAngle);
    PLATFORMGDI_API int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
    PLATFORMGDI_API int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
    PLATFORMGDI_API BOOL InvertRect(HDC hdc, const RECT* rect);
    PLATFORMGDI_API BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);
    PLATFORMGDI_API BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height);
    PLATFORMGDI_API BOOL InvertRgn(HDC hdc, HRGN rgn);
    PLATFORMGDI_API BOOL PaintRgn(HDC hdc, HRGN rgn);

    // Regions and clipping. Regions are in device coordinates.
    PLATFORMGDI_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
    PLATFORMGDI_API HRGN CreateRectRgnIndirect(const RECT* rect);
    PLATFORMGDI_API HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
    PLATFORMGDI_API HRGN CreateEllipticRgnIndirect(const RECT* rect);
    PLATFORMGDI_API HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode);
    PLATFORMGDI_API HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width,
                                            int height);
    PLATFORMGDI_API int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
    PLATFORMGDI_API int OffsetRgn(HRGN rgn, int dx, int dy);
    PLATFORMGDI_API BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
    PLATFORMGDI_API BOOL EqualRgn(HRGN a, HRGN b);
    PLATFORMGDI_API int GetRgnBox(HRGN rgn, LPRECT rect);
    PLATFORMGDI_API BOOL PtInRegion(HRGN rgn, int x, int y);
    PLATFORMGDI_API BOOL RectInRegion(HRGN rgn, const RECT* rect);
    PLATFORMGDI_API int SelectClipRgn(HDC hdc, HRGN rgn);
    PLATFORMGDI_API int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode);
    PLATFORMGDI_API int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
    PLATFORMGDI_API int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
    PLATFORMGDI_API int OffsetClipRgn(HDC hdc, int dx, int dy);
    PLATFORMGDI_API int GetClipBox(HDC hdc, LPRECT rect);
    PLATFORMGDI_API int GetClipRgn(HDC hdc, HRGN rgn);
    PLATFORMGDI_API BOOL PtVisible(HDC hdc, int x, int y);
    PLATFORMGDI_API BOOL RectVisible(HDC hdc, const RECT* rect);

    // Palettes: kept and selectable; the true-colour surface needs no realising.
    PLATFORMGDI_API HPALETTE CreatePalette(const LOGPALETTE* palette);
    PLATFORMGDI_API HPALETTE CreateHalftonePalette(HDC hdc);
    PLATFORMGDI_API HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL forceBackground);
    PLATFORMGDI_API UINT RealizePalette(HDC hdc);
    PLATFORMGDI_API UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count,
                                           LPPALETTEENTRY entries);
    PLATFORMGDI_API UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count,
                                           const PALETTEENTRY* entries);
    PLATFORMGDI_API UINT GetSystemPaletteEntries(HDC hdc, UINT start, UINT count,
                                                 LPPALETTEENTRY entries);
    PLATFORMGDI_API UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);

    // Fonts and text.
    PLATFORMGDI_API HFONT CreateFontA(int height, int width, int escapement, int orientation,
                                      int weight, DWORD italic, DWORD underline, DWORD strikeOut,
                                      DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                                      DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
    PLATFORMGDI_API HFONT CreateFontIndirectA(const LOGFONTA* font);
    PLATFORMGDI_API BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA metrics);
    PLATFORMGDI_API BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, LPSIZE size);
    PLATFORMGDI_API BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length);
    PLATFORMGDI_API BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect,
                                     LPCSTR text, UINT length, const INT* dx);
    PLATFORMGDI_API int DrawTextA(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format);
    PLATFORMGDI_API int GetTextFaceA(HDC hdc, int size, LPSTR name);
}

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// Plain names that callers write without the "A" suffix. Functions, not
// macros, so that members of the same name stay untouched.
inline int GetObject(HGDIOBJ obj, int size, LPVOID out)
{
    return GetObjectA(obj, size, out);
}
inline HFONT CreateFontIndirect(const LOGFONTA* font)
{
    return CreateFontIndirectA(font);
}
inline HFONT CreateFont(int height, int width, int escapement, int orientation, int weight,
                        DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                        DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                        DWORD pitchAndFamily, LPCSTR faceName)
{
    return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                       charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName);
}
inline BOOL GetTextMetrics(HDC hdc, LPTEXTMETRICA metrics)
{
    return GetTextMetricsA(hdc, metrics);
}
inline BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int length, LPSIZE size)
{
    return GetTextExtentPoint32A(hdc, text, length, size);
}
inline BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int length)
{
    return TextOutA(hdc, x, y, text, length);
}
inline int DrawText(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format)
{
    return DrawTextA(hdc, text, length, rect, format);
}
inline HDC CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData)
{
    return CreateDCA(driver, device, output, initData);
}
inline HDC CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData)
{
    return CreateICA(driver, device, output, initData);
}
