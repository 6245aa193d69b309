// The MFC device-context class CDC over the GDI calls. A CDC owns the DC it
// holds (its destructor deletes it) unless detached; FromHandle gives a
// temporary wrapper for a DC somebody else owns.
#pragma once

#include "AfxGdi.h"
#include "PlatformGDIExport.h"
#include "WinGdi.h"
#include "WinPrint.h"

class PLATFORMGDI_API CDC
{
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL IsPrinting() const { return m_bPrinting; }
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL DeleteDC();
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
    BOOL CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
    static CDC* FromHandle(HDC hDC);
    static void DeleteTempMap();

    int SaveDC();
    BOOL RestoreDC(int savedDC);
    int GetDeviceCaps(int index) const;

    // The document calls of a printer DC (WinPrint.h).
    int StartDoc(const DOCINFOA* docInfo);
    int StartDoc(LPCSTR docName);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    int SetAbortProc(ABORTPROC proc);

    // Objects.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    int SelectObject(CRgn* region);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int index);
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette();
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;
    CPalette* GetCurrentPalette() const;
    // An 8 x 8 checkerboard brush shared by every caller.
    static CBrush* GetHalftoneBrush();

    // Attributes.
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    int SetROP2(int mode);
    int GetROP2() const;
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const;
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const;
    UINT SetTextAlign(UINT flags);
    UINT GetTextAlign() const;
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT pt) { return SetBrushOrg(pt.x, pt.y); }

    // Coordinates.
    int SetMapMode(int mode);
    int GetMapMode() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT pt) { return SetWindowOrg(pt.x, pt.y); }
    CPoint GetWindowOrg() const;
    CPoint OffsetWindowOrg(int dx, int dy);
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int dx, int dy);
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    CSize GetWindowExt() const;
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    CSize GetViewportExt() const;
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;
    void LPtoDP(LPSIZE size) const;
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;
    void DPtoLP(LPSIZE size) const;

    // Lines and shapes.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT pt) { return LineTo(pt.x, pt.y); }
    CPoint GetCurrentPosition() const;
    BOOL Polyline(const POINT* points, int count);
    BOOL Polygon(const POINT* points, int count);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(LPCRECT rect);
    BOOL RoundRect(int left, int top, int right, int bottom, int width, int height);
    BOOL RoundRect(LPCRECT rect, POINT corner);
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(LPCRECT rect);
    BOOL Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    BOOL Arc(LPCRECT rect, POINT start, POINT end);
    BOOL AngleArc(int x, int y, int radius, float startAngle, float sweepAngle);
    void FillRect(LPCRECT rect, CBrush* brush);
    void FrameRect(LPCRECT rect, CBrush* brush);
    void InvertRect(LPCRECT rect);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    BOOL InvertRgn(CRgn* region);
    BOOL PaintRgn(CRgn* region);
    // Leaves the background colour set to the fill colour, as callers expect.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT pt, COLORREF color) { return SetPixel(pt.x, pt.y, color); }
    BOOL SetPixelV(int x, int y, COLORREF color);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT pt) const { return GetPixel(pt.x, pt.y); }

    // Blits.
    BOOL BitBlt(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    BOOL PlgBlt(LPPOINT lpPoint, CDC* pSrcDC, int xSrc, int ySrc, int width, int height,
                CBitmap& maskBitmap, int xMask, int yMask);
    BOOL AlphaBlend(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, BLENDFUNCTION blend);

    // Text.
    BOOL TextOut(int x, int y, LPCSTR text, int length);
    BOOL TextOut(int x, int y, LPCSTR text);
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT length,
                    LPINT widths);
    int DrawText(LPCSTR text, int length, LPRECT rect, UINT format);
    int DrawText(LPCSTR text, LPRECT rect, UINT format) { return DrawText(text, -1, rect, format); }
    CSize GetTextExtent(LPCSTR text, int length) const;
    CSize GetTextExtent(LPCSTR text) const;
    CSize GetOutputTextExtent(LPCSTR text, int length) const { return GetTextExtent(text, length); }
    CSize GetOutputTextExtent(LPCSTR text) const { return GetTextExtent(text); }
    BOOL GetTextMetrics(LPTEXTMETRICA metrics) const;
    BOOL GetOutputTextMetrics(LPTEXTMETRICA metrics) const { return GetTextMetrics(metrics); }
    int GetTextFace(int count, LPSTR faceName) const;

    // Clipping.
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(LPCRECT rect);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(LPCRECT rect);
    int OffsetClipRgn(int dx, int dy);
    int GetClipBox(LPRECT rect) const;
    BOOL PtVisible(int x, int y) const;
    BOOL PtVisible(POINT pt) const { return PtVisible(pt.x, pt.y); }
    BOOL RectVisible(LPCRECT rect) const;
};
