#include "AfxDC.h"

#include "AfxHandleMap.h"

#include <cstring>
#include <memory>

namespace
{
CHandleMap<HDC, CDC>& Maps()
{
    static CHandleMap<HDC, CDC> maps;
    return maps;
}

HDC DcOf(const CDC* pDC)
{
    return pDC != nullptr ? pDC->m_hDC : nullptr;
}

template <typename T> T* Wrap(HGDIOBJ handle)
{
    return static_cast<T*>(CGdiObject::FromHandle(handle));
}

HGDIOBJ HandleOf(const CGdiObject* object)
{
    return object != nullptr ? object->m_hObject : nullptr;
}
} // namespace

CDC::~CDC()
{
    if (m_hDC != nullptr)
        ::DeleteDC(Detach());
}

BOOL CDC::Attach(HDC hDC)
{
    if (hDC == nullptr)
        return FALSE;
    m_hDC = hDC;
    m_hAttribDC = hDC;
    Maps().SetPermanent(hDC, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    Maps().RemovePermanent(hDC, this);
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
    return hDC;
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == nullptr)
        return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(DcOf(pDC)));
}

BOOL CDC::CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData)
{
    return Attach(::CreateDCA(driver, device, output, initData));
}

BOOL CDC::CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData)
{
    return Attach(::CreateICA(driver, device, output, initData));
}

CDC* CDC::FromHandle(HDC hDC)
{
    return Maps().FromHandle(hDC,
                             [](HDC hTempDC)
                             {
                                 auto pDC = std::make_unique<CDC>();
                                 pDC->m_hDC = hTempDC;
                                 pDC->m_hAttribDC = hTempDC;
                                 return pDC;
                             });
}

void CDC::DeleteTempMap()
{
    Maps().DeleteTemporary(
        [](CDC& dc)
        {
            dc.m_hDC = nullptr;
            dc.m_hAttribDC = nullptr;
        });
}

int CDC::SaveDC()
{
    return ::SaveDC(m_hDC);
}

BOOL CDC::RestoreDC(int savedDC)
{
    return ::RestoreDC(m_hDC, savedDC);
}

int CDC::GetDeviceCaps(int index) const
{
    return ::GetDeviceCaps(m_hAttribDC ? m_hAttribDC : m_hDC, index);
}

int CDC::StartDoc(const DOCINFOA* docInfo)
{
    return ::StartDocA(m_hDC, docInfo);
}

int CDC::StartDoc(LPCSTR docName)
{
    const DOCINFOA info{sizeof(DOCINFOA), docName, nullptr, nullptr, 0};
    return ::StartDocA(m_hDC, &info);
}

int CDC::StartPage()
{
    return ::StartPage(m_hDC);
}

int CDC::EndPage()
{
    return ::EndPage(m_hDC);
}

int CDC::EndDoc()
{
    return ::EndDoc(m_hDC);
}

int CDC::AbortDoc()
{
    return ::AbortDoc(m_hDC);
}

int CDC::SetAbortProc(ABORTPROC proc)
{
    return ::SetAbortProc(m_hDC, proc);
}

CPen* CDC::SelectObject(CPen* pen)
{
    return Wrap<CPen>(::SelectObject(m_hDC, HandleOf(pen)));
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return Wrap<CBrush>(::SelectObject(m_hDC, HandleOf(brush)));
}

CFont* CDC::SelectObject(CFont* font)
{
    return Wrap<CFont>(::SelectObject(m_hDC, HandleOf(font)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return Wrap<CBitmap>(::SelectObject(m_hDC, HandleOf(bitmap)));
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, HandleOf(object)));
}

int CDC::SelectObject(CRgn* region)
{
    return ::SelectClipRgn(m_hDC, static_cast<HRGN>(HandleOf(region)));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object)
{
    return ::SelectObject(m_hDC, object);
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground)
{
    return Wrap<CPalette>(
        ::SelectPalette(m_hDC, static_cast<HPALETTE>(HandleOf(palette)), forceBackground));
}

UINT CDC::RealizePalette()
{
    return ::RealizePalette(m_hDC);
}

CPen* CDC::GetCurrentPen() const
{
    return Wrap<CPen>(::GetCurrentObject(m_hDC, OBJ_PEN));
}

CBrush* CDC::GetCurrentBrush() const
{
    return Wrap<CBrush>(::GetCurrentObject(m_hDC, OBJ_BRUSH));
}

CFont* CDC::GetCurrentFont() const
{
    return Wrap<CFont>(::GetCurrentObject(m_hDC, OBJ_FONT));
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return Wrap<CBitmap>(::GetCurrentObject(m_hDC, OBJ_BITMAP));
}

CPalette* CDC::GetCurrentPalette() const
{
    return Wrap<CPalette>(::GetCurrentObject(m_hDC, OBJ_PAL));
}

CBrush* CDC::GetHalftoneBrush()
{
    static CBrush* brush = []
    {
        const WORD rows[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
        BYTE bits[16];
        for (int i = 0; i < 8; ++i)
        {
            bits[2 * i] = BYTE(rows[i] & 0xFF);
            bits[2 * i + 1] = 0;
        }
        HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, bits);
        auto* result = new CBrush;
        result->Attach(::CreatePatternBrush(pattern));
        ::DeleteObject(pattern);
        return result;
    }();
    return brush;
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    return ::SetTextColor(m_hDC, color);
}

COLORREF CDC::GetTextColor() const
{
    return ::GetTextColor(m_hDC);
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    return ::SetBkColor(m_hDC, color);
}

COLORREF CDC::GetBkColor() const
{
    return ::GetBkColor(m_hDC);
}

int CDC::SetBkMode(int mode)
{
    return ::SetBkMode(m_hDC, mode);
}

int CDC::GetBkMode() const
{
    return ::GetBkMode(m_hDC);
}

int CDC::SetROP2(int mode)
{
    return ::SetROP2(m_hDC, mode);
}

int CDC::GetROP2() const
{
    return ::GetROP2(m_hDC);
}

int CDC::SetStretchBltMode(int mode)
{
    return ::SetStretchBltMode(m_hDC, mode);
}

int CDC::GetStretchBltMode() const
{
    return ::GetStretchBltMode(m_hDC);
}

int CDC::SetPolyFillMode(int mode)
{
    return ::SetPolyFillMode(m_hDC, mode);
}

int CDC::GetPolyFillMode() const
{
    return ::GetPolyFillMode(m_hDC);
}

UINT CDC::SetTextAlign(UINT flags)
{
    return ::SetTextAlign(m_hDC, flags);
}

UINT CDC::GetTextAlign() const
{
    return ::GetTextAlign(m_hDC);
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &old);
    return old;
}

int CDC::SetMapMode(int mode)
{
    return ::SetMapMode(m_hDC, mode);
}

int CDC::GetMapMode() const
{
    return ::GetMapMode(m_hDC);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetWindowOrg() const
{
    POINT pt{0, 0};
    ::GetWindowOrgEx(m_hDC, &pt);
    return pt;
}

CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    POINT old{0, 0};
    ::OffsetWindowOrgEx(m_hDC, dx, dy, &old);
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old{0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetViewportOrg() const
{
    POINT pt{0, 0};
    ::GetViewportOrgEx(m_hDC, &pt);
    return pt;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT old{0, 0};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return old;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE old{0, 0};
    ::SetWindowExtEx(m_hDC, cx, cy, &old);
    return old;
}

CSize CDC::GetWindowExt() const
{
    SIZE size{0, 0};
    ::GetWindowExtEx(m_hDC, &size);
    return size;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE old{0, 0};
    ::SetViewportExtEx(m_hDC, cx, cy, &old);
    return old;
}

CSize CDC::GetViewportExt() const
{
    SIZE size{0, 0};
    ::GetViewportExtEx(m_hDC, &size);
    return size;
}

void CDC::LPtoDP(LPPOINT points, int count) const
{
    ::LPtoDP(m_hDC, points, count);
}

void CDC::LPtoDP(LPRECT rect) const
{
    ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2);
}

void CDC::LPtoDP(LPSIZE size) const
{
    POINT pts[2] = {{0, 0}, {size->cx, size->cy}};
    ::LPtoDP(m_hDC, pts, 2);
    size->cx = pts[1].x - pts[0].x;
    size->cy = pts[1].y - pts[0].y;
}

void CDC::DPtoLP(LPPOINT points, int count) const
{
    ::DPtoLP(m_hDC, points, count);
}

void CDC::DPtoLP(LPRECT rect) const
{
    ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2);
}

void CDC::DPtoLP(LPSIZE size) const
{
    POINT pts[2] = {{0, 0}, {size->cx, size->cy}};
    ::DPtoLP(m_hDC, pts, 2);
    size->cx = pts[1].x - pts[0].x;
    size->cy = pts[1].y - pts[0].y;
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

BOOL CDC::LineTo(int x, int y)
{
    return ::LineTo(m_hDC, x, y);
}

CPoint CDC::GetCurrentPosition() const
{
    POINT pt{0, 0};
    ::GetCurrentPositionEx(m_hDC, &pt);
    return pt;
}

BOOL CDC::Polyline(const POINT* points, int count)
{
    return ::Polyline(m_hDC, points, count);
}

BOOL CDC::Polygon(const POINT* points, int count)
{
    return ::Polygon(m_hDC, points, count);
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom)
{
    return ::Rectangle(m_hDC, left, top, right, bottom);
}

BOOL CDC::Rectangle(LPCRECT rect)
{
    return Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::RoundRect(int left, int top, int right, int bottom, int width, int height)
{
    return ::RoundRect(m_hDC, left, top, right, bottom, width, height);
}

BOOL CDC::RoundRect(LPCRECT rect, POINT corner)
{
    return RoundRect(rect->left, rect->top, rect->right, rect->bottom, corner.x, corner.y);
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom)
{
    return ::Ellipse(m_hDC, left, top, right, bottom);
}

BOOL CDC::Ellipse(LPCRECT rect)
{
    return Ellipse(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    return ::Arc(m_hDC, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL CDC::Arc(LPCRECT rect, POINT start, POINT end)
{
    return Arc(rect->left, rect->top, rect->right, rect->bottom, start.x, start.y, end.x, end.y);
}

BOOL CDC::AngleArc(int x, int y, int radius, float startAngle, float sweepAngle)
{
    return ::AngleArc(m_hDC, x, y, DWORD(radius), startAngle, sweepAngle);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush)
{
    ::FillRect(m_hDC, rect, static_cast<HBRUSH>(HandleOf(brush)));
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush)
{
    ::FrameRect(m_hDC, rect, static_cast<HBRUSH>(HandleOf(brush)));
}

void CDC::InvertRect(LPCRECT rect)
{
    ::InvertRect(m_hDC, rect);
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    return ::FillRgn(m_hDC, static_cast<HRGN>(HandleOf(region)),
                     static_cast<HBRUSH>(HandleOf(brush)));
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height)
{
    return ::FrameRgn(m_hDC, static_cast<HRGN>(HandleOf(region)),
                      static_cast<HBRUSH>(HandleOf(brush)), width, height);
}

BOOL CDC::InvertRgn(CRgn* region)
{
    return ::InvertRgn(m_hDC, static_cast<HRGN>(HandleOf(region)));
}

BOOL CDC::PaintRgn(CRgn* region)
{
    return ::PaintRgn(m_hDC, static_cast<HRGN>(HandleOf(region)));
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    const RECT rect{x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft,
               bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    return ::SetPixel(m_hDC, x, y, color);
}

BOOL CDC::SetPixelV(int x, int y, COLORREF color)
{
    return ::SetPixel(m_hDC, x, y, color) != CLR_INVALID;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, DcOf(pSrcDC), xSrc, ySrc, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, DcOf(pSrcDC), xSrc, ySrc, srcWidth, srcHeight,
                        rop);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop)
{
    return ::PatBlt(m_hDC, x, y, width, height, rop);
}

BOOL CDC::PlgBlt(LPPOINT lpPoint, CDC* pSrcDC, int xSrc, int ySrc, int width, int height,
                 CBitmap& maskBitmap, int xMask, int yMask)
{
    return ::PlgBlt(m_hDC, lpPoint, DcOf(pSrcDC), xSrc, ySrc, width, height,
                    static_cast<HBITMAP>(maskBitmap.GetSafeHandle()), xMask, yMask);
}

BOOL CDC::AlphaBlend(int x, int y, int width, int height, CDC* pSrcDC, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, BLENDFUNCTION blend)
{
    return ::AlphaBlend(m_hDC, x, y, width, height, DcOf(pSrcDC), xSrc, ySrc, srcWidth, srcHeight,
                        blend);
}

BOOL CDC::TextOut(int x, int y, LPCSTR text, int length)
{
    return ::TextOutA(m_hDC, x, y, text, length);
}

BOOL CDC::TextOut(int x, int y, LPCSTR text)
{
    return TextOut(x, y, text, text ? int(std::strlen(text)) : 0);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT length,
                     LPINT widths)
{
    return ::ExtTextOutA(m_hDC, x, y, options, rect, text, length, widths);
}

int CDC::DrawText(LPCSTR text, int length, LPRECT rect, UINT format)
{
    return ::DrawTextA(m_hDC, text, length, rect, format);
}

CSize CDC::GetTextExtent(LPCSTR text, int length) const
{
    SIZE size{0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC ? m_hAttribDC : m_hDC, text, length, &size);
    return size;
}

CSize CDC::GetTextExtent(LPCSTR text) const
{
    return GetTextExtent(text, text ? int(std::strlen(text)) : 0);
}

BOOL CDC::GetTextMetrics(LPTEXTMETRICA metrics) const
{
    return ::GetTextMetricsA(m_hAttribDC ? m_hAttribDC : m_hDC, metrics);
}

int CDC::GetTextFace(int count, LPSTR faceName) const
{
    return ::GetTextFaceA(m_hDC, count, faceName);
}

int CDC::SelectClipRgn(CRgn* region)
{
    return ::SelectClipRgn(m_hDC, static_cast<HRGN>(HandleOf(region)));
}

int CDC::SelectClipRgn(CRgn* region, int mode)
{
    return ::ExtSelectClipRgn(m_hDC, static_cast<HRGN>(HandleOf(region)), mode);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    return ::IntersectClipRect(m_hDC, left, top, right, bottom);
}

int CDC::IntersectClipRect(LPCRECT rect)
{
    return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom);
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom)
{
    return ::ExcludeClipRect(m_hDC, left, top, right, bottom);
}

int CDC::ExcludeClipRect(LPCRECT rect)
{
    return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom);
}

int CDC::OffsetClipRgn(int dx, int dy)
{
    return ::OffsetClipRgn(m_hDC, dx, dy);
}

int CDC::GetClipBox(LPRECT rect) const
{
    return ::GetClipBox(m_hDC, rect);
}

BOOL CDC::PtVisible(int x, int y) const
{
    return ::PtVisible(m_hDC, x, y);
}

BOOL CDC::RectVisible(LPCRECT rect) const
{
    return ::RectVisible(m_hDC, rect);
}
