#include "AfxGdi.h"

#include "AfxDC.h"
#include "AfxHandleMap.h"
#include "WinProcessInfo.h"

#include <cstdlib>
#include <memory>

namespace
{
CHandleMap<HGDIOBJ, CGdiObject>& Maps()
{
    static CHandleMap<HGDIOBJ, CGdiObject> maps;
    return maps;
}

template <typename T> T* Wrap(HGDIOBJ handle)
{
    return static_cast<T*>(CGdiObject::FromHandle(handle));
}

std::unique_ptr<CGdiObject> MakeWrapper(HGDIOBJ handle)
{
    switch (::GetObjectType(handle))
    {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return std::make_unique<CPen>();
    case OBJ_BRUSH:
        return std::make_unique<CBrush>();
    case OBJ_FONT:
        return std::make_unique<CFont>();
    case OBJ_BITMAP:
        return std::make_unique<CBitmap>();
    case OBJ_PAL:
        return std::make_unique<CPalette>();
    case OBJ_REGION:
        return std::make_unique<CRgn>();
    default:
        return std::make_unique<CGdiObject>();
    }
}

HDC DcOf(CDC* pDC)
{
    return pDC != nullptr ? pDC->m_hDC : nullptr;
}
} // namespace

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == nullptr)
        return FALSE;
    m_hObject = hObject;
    Maps().SetPermanent(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    Maps().RemovePermanent(handle, this);
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int size, LPVOID buffer) const
{
    return ::GetObjectA(m_hObject, size, buffer);
}

UINT CGdiObject::GetObjectType() const
{
    return ::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int index)
{
    return Attach(::GetStockObject(index));
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return Maps().FromHandle(hObject,
                             [](HGDIOBJ hTemp)
                             {
                                 auto pObject = MakeWrapper(hTemp);
                                 pObject->m_hObject = hTemp;
                                 return pObject;
                             });
}

void CGdiObject::DeleteTempMap()
{
    Maps().DeleteTemporary([](CGdiObject& object) { object.m_hObject = nullptr; });
}

CPen::CPen(int style, int width, COLORREF color)
{
    CreatePen(style, width, color);
}

CPen::CPen(int style, int width, const LOGBRUSH* brush, int styleCount, const DWORD* styles)
{
    CreatePen(style, width, brush, styleCount, styles);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    return Attach(::CreatePen(style, width, color));
}

BOOL CPen::CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount,
                     const DWORD* styles)
{
    return Attach(::ExtCreatePen(DWORD(style), DWORD(width), brush, DWORD(styleCount), styles));
}

BOOL CPen::CreatePenIndirect(LOGPEN* logPen)
{
    return Attach(::CreatePenIndirect(logPen));
}

CPen* CPen::FromHandle(HPEN hPen)
{
    return Wrap<CPen>(hPen);
}

CBrush::CBrush(COLORREF color)
{
    CreateSolidBrush(color);
}

CBrush::CBrush(int hatch, COLORREF color)
{
    CreateHatchBrush(hatch, color);
}

CBrush::CBrush(CBitmap* bitmap)
{
    CreatePatternBrush(bitmap);
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    return Attach(::CreateSolidBrush(color));
}

BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color)
{
    return Attach(::CreateHatchBrush(hatch, color));
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return bitmap != nullptr &&
           Attach(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->m_hObject)));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* logBrush)
{
    return Attach(::CreateBrushIndirect(logBrush));
}

CBrush* CBrush::FromHandle(HBRUSH hBrush)
{
    return Wrap<CBrush>(hBrush);
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont)
{
    return Attach(::CreateFontIndirectA(logFont));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR faceName)
{
    return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                                strikeOut, charSet, outPrecision, clipPrecision, quality,
                                pitchAndFamily, faceName));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* pDC)
{
    LOGFONTA logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = pointSize;
    for (int i = 0; faceName != nullptr && faceName[i] != '\0' && i < LF_FACESIZE - 1; ++i)
        logFont.lfFaceName[i] = faceName[i];
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* logFont, CDC* pDC)
{
    if (logFont == nullptr)
        return FALSE;
    HDC hdc = DcOf(pDC);
    const bool own = hdc == nullptr;
    if (own)
        hdc = ::GetDC(nullptr);
    // Tenths of a point to device pixels, then to the DC's logical units.
    LOGFONTA font = *logFont;
    POINT pt{0, ::MulDiv(::GetDeviceCaps(hdc, LOGPIXELSY), logFont->lfHeight, 720)};
    POINT origin{0, 0};
    ::DPtoLP(hdc, &pt, 1);
    ::DPtoLP(hdc, &origin, 1);
    font.lfHeight = -std::abs(pt.y - origin.y);
    if (own)
        ::ReleaseDC(nullptr, hdc);
    return CreateFontIndirect(&font);
}

CFont* CFont::FromHandle(HFONT hFont)
{
    return Wrap<CFont>(hFont);
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits)
{
    return Attach(::CreateBitmap(width, height, planes, bitCount, bits));
}

BOOL CBitmap::CreateBitmapIndirect(BITMAP* bitmap)
{
    return Attach(::CreateBitmapIndirect(bitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(DcOf(pDC), width, height));
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int width, int height)
{
    return CreateCompatibleBitmap(pDC, width, height);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return Wrap<CBitmap>(hBitmap);
}

BOOL CPalette::CreatePalette(LPLOGPALETTE logPalette)
{
    return Attach(::CreatePalette(logPalette));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC)
{
    return Attach(::CreateHalftonePalette(DcOf(pDC)));
}

int CPalette::GetEntryCount()
{
    WORD count = 0;
    GetObject(sizeof(count), &count);
    return count;
}

UINT CPalette::GetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries) const
{
    return ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), start, count, entries);
}

UINT CPalette::SetPaletteEntries(UINT start, UINT count, LPPALETTEENTRY entries)
{
    return ::SetPaletteEntries(static_cast<HPALETTE>(m_hObject), start, count, entries);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF color) const
{
    return ::GetNearestPaletteIndex(static_cast<HPALETTE>(m_hObject), color);
}

CPalette* CPalette::FromHandle(HPALETTE hPalette)
{
    return Wrap<CPalette>(hPalette);
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    return Attach(::CreateRectRgn(left, top, right, bottom));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect)
{
    return Attach(::CreateRectRgnIndirect(rect));
}

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return Attach(::CreateEllipticRgn(left, top, right, bottom));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT rect)
{
    return Attach(::CreateEllipticRgnIndirect(rect));
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    return Attach(::CreatePolygonRgn(points, count, fillMode));
}

BOOL CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height)
{
    return Attach(::CreateRoundRectRgn(left, top, right, bottom, width, height));
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode)
{
    return ::CombineRgn(*this, a ? static_cast<HRGN>(*a) : nullptr,
                        b ? static_cast<HRGN>(*b) : nullptr, mode);
}

int CRgn::CopyRgn(const CRgn* source)
{
    return CombineRgn(source, nullptr, RGN_COPY);
}

int CRgn::OffsetRgn(int dx, int dy)
{
    return ::OffsetRgn(*this, dx, dy);
}

void CRgn::SetRectRgn(int left, int top, int right, int bottom)
{
    ::SetRectRgn(*this, left, top, right, bottom);
}

void CRgn::SetRectRgn(LPCRECT rect)
{
    SetRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CRgn::EqualRgn(const CRgn* other) const
{
    return other != nullptr && ::EqualRgn(*this, *other);
}

int CRgn::GetRgnBox(LPRECT rect) const
{
    return ::GetRgnBox(*this, rect);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return ::PtInRegion(*this, x, y);
}

BOOL CRgn::RectInRegion(LPCRECT rect) const
{
    return ::RectInRegion(*this, rect);
}

CRgn* CRgn::FromHandle(HRGN hRgn)
{
    return Wrap<CRgn>(hRgn);
}
