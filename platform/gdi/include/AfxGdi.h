// The MFC wrappers of GDI objects: CGdiObject and its pens, brushes, fonts,
// bitmaps, palettes and regions. A wrapper owns its handle (the destructor
// deletes it) unless the handle is detached first; FromHandle gives the
// attached wrapper, or a temporary one that DeleteTempMap frees.
#pragma once

#include "PlatformGDIExport.h"
#include "WinGdi.h"

class CDC;

class PLATFORMGDI_API CGdiObject
{
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, LPVOID buffer) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int index);
    BOOL UnrealizeObject() { return m_hObject != nullptr; }
    BOOL operator==(const CGdiObject& other) const { return m_hObject == other.m_hObject; }
    BOOL operator!=(const CGdiObject& other) const { return m_hObject != other.m_hObject; }

    static CGdiObject* FromHandle(HGDIOBJ hObject);
    // Frees the temporary wrappers made by FromHandle (called at idle time).
    static void DeleteTempMap();
};

class PLATFORMGDI_API CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color);
    CPen(int style, int width, const LOGBRUSH* brush, int styleCount = 0,
         const DWORD* styles = nullptr);

    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount = 0,
                   const DWORD* styles = nullptr);
    BOOL CreatePenIndirect(LOGPEN* logPen);
    int GetLogPen(LOGPEN* logPen) { return GetObject(sizeof(LOGPEN), logPen); }
    static CPen* FromHandle(HPEN hPen);
};

class CBitmap;

class PLATFORMGDI_API CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF color);
    CBrush(int hatch, COLORREF color);
    explicit CBrush(CBitmap* bitmap);

    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatch, COLORREF color);
    BOOL CreatePatternBrush(CBitmap* bitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* logBrush);
    int GetLogBrush(LOGBRUSH* logBrush) { return GetObject(sizeof(LOGBRUSH), logBrush); }
    static CBrush* FromHandle(HBRUSH hBrush);
};

class PLATFORMGDI_API CFont : public CGdiObject
{
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    BOOL CreateFontIndirect(const LOGFONTA* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR faceName);
    // pointSize in tenths of a point, converted through the DC's (or the
    // screen's) vertical resolution.
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC* pDC = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONTA* logFont, CDC* pDC = nullptr);
    int GetLogFont(LOGFONTA* logFont) { return GetObject(sizeof(LOGFONTA), logFont); }
    static CFont* FromHandle(HFONT hFont);
};

class PLATFORMGDI_API CBitmap : public CGdiObject
{
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
    BOOL CreateBitmapIndirect(BITMAP* bitmap);
    BOOL CreateCompatibleBitmap(CDC* pDC, int width, int height);
    BOOL CreateDiscardableBitmap(CDC* pDC, int width, int height);
    int GetBitmap(BITMAP* bitmap) { return GetObject(sizeof(BITMAP), bitmap); }
    static CBitmap* FromHandle(HBITMAP hBitmap);
};

class PLATFORMGDI_API CPalette : public CGdiObject
{
public:
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
    BOOL CreatePalette(LPLOGPALETTE logPalette);
    BOOL CreateHalftonePalette(CDC* pDC);
    int GetEntryCount();
    UINT GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const;
    UINT SetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries);
    UINT GetNearestPaletteIndex(COLORREF color) const;
    static CPalette* FromHandle(HPALETTE hPalette);
};

class PLATFORMGDI_API CRgn : public CGdiObject
{
public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
    BOOL CreateEllipticRgnIndirect(LPCRECT rect);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
    BOOL CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source);
    int OffsetRgn(int dx, int dy);
    int OffsetRgn(POINT pt) { return OffsetRgn(pt.x, pt.y); }
    void SetRectRgn(int left, int top, int right, int bottom);
    void SetRectRgn(LPCRECT rect);
    BOOL EqualRgn(const CRgn* other) const;
    int GetRgnBox(LPRECT rect) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT pt) const { return PtInRegion(pt.x, pt.y); }
    BOOL RectInRegion(LPCRECT rect) const;
    static CRgn* FromHandle(HRGN hRgn);
};
