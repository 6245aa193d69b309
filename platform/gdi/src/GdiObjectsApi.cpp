// Creation, selection, inspection and deletion of GDI objects, the stock
// objects and palettes.
#include "DeviceContext.h"
#include "GdiTools.h"

#include <algorithm>
#include <cstring>

namespace
{
LOGFONTA MakeLogFont(LONG height, LONG weight, const char* face)
{
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

GdiObject* MakeStock(int index)
{
    switch (index)
    {
    case WHITE_BRUSH:
        return new GdiBrush(BS_SOLID, RGB(255, 255, 255), 0);
    case LTGRAY_BRUSH:
        return new GdiBrush(BS_SOLID, RGB(192, 192, 192), 0);
    case GRAY_BRUSH:
        return new GdiBrush(BS_SOLID, RGB(128, 128, 128), 0);
    case DKGRAY_BRUSH:
        return new GdiBrush(BS_SOLID, RGB(64, 64, 64), 0);
    case BLACK_BRUSH:
        return new GdiBrush(BS_SOLID, RGB(0, 0, 0), 0);
    case NULL_BRUSH:
        return new GdiBrush(BS_NULL, 0, 0);
    case WHITE_PEN:
        return new GdiPen(PS_SOLID, 0, RGB(255, 255, 255), false);
    case BLACK_PEN:
        return new GdiPen(PS_SOLID, 0, RGB(0, 0, 0), false);
    case NULL_PEN:
        return new GdiPen(PS_NULL, 0, 0, false);
    case SYSTEM_FONT:
        return new GdiFont(MakeLogFont(16, FW_BOLD, "System"));
    case ANSI_VAR_FONT:
        return new GdiFont(MakeLogFont(-11, FW_NORMAL, "MS Sans Serif"));
    case DEFAULT_GUI_FONT:
        return new GdiFont(MakeLogFont(-11, FW_NORMAL, "MS Shell Dlg"));
    case ANSI_FIXED_FONT:
    case OEM_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
        return new GdiFont(MakeLogFont(-13, FW_NORMAL, "Courier New"));
    case DEVICE_DEFAULT_FONT:
        return new GdiFont(MakeLogFont(16, FW_NORMAL, "System"));
    case DEFAULT_PALETTE:
    {
        const auto& table = FixedColorTable(4);
        std::vector<PALETTEENTRY> entries;
        for (std::uint32_t pixel : table)
            entries.push_back(PALETTEENTRY{BYTE(pixel >> 16), BYTE(pixel >> 8), BYTE(pixel), 0});
        return new GdiPalette(std::move(entries));
    }
    default:
        return nullptr;
    }
}

void CopyOut(const void* src, int srcSize, int size, LPVOID out)
{
    std::memcpy(out, src, std::size_t(std::min(size, srcSize)));
}

// A logical description handed out as far as the buffer holds it; its whole
// size when no buffer is given.
template <typename TLogical> int DescribeObject(const TLogical& logical, int size, LPVOID out)
{
    if (out == nullptr)
        return sizeof(TLogical);
    CopyOut(&logical, sizeof(TLogical), size, out);
    return std::min<int>(size, sizeof(TLogical));
}
} // namespace

HGDIOBJ GetStockObject(int index)
{
    static HGDIOBJ stock[DC_PEN + 1] = {};
    if (index < 0 || index > DC_PEN)
        return nullptr;
    if (stock[index] == nullptr)
    {
        GdiObject* obj = MakeStock(index);
        if (obj == nullptr)
            return nullptr;
        obj->MarkStock();
        stock[index] = GdiRegisterObject(obj);
    }
    return stock[index];
}

HGDIOBJ GdiDefaultBitmap()
{
    static HGDIOBJ bitmap = nullptr;
    if (bitmap == nullptr)
    {
        auto* obj = new GdiBitmap(1, 1, true);
        obj->MarkStock();
        bitmap = GdiRegisterObject(obj);
    }
    return bitmap;
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style < PS_SOLID || style > PS_INSIDEFRAME)
        style = PS_SOLID;
    return GdiRegister<HPEN>(new GdiPen(style, width < 0 ? 0 : width, color, false));
}

HPEN CreatePenIndirect(const LOGPEN* pen)
{
    if (pen == nullptr)
        return nullptr;
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD, const DWORD*)
{
    if (brush == nullptr)
        return nullptr;
    const bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
    const int lineStyle = static_cast<int>(style & PS_STYLE_MASK);
    const COLORREF color = brush->lbStyle == BS_NULL ? 0 : brush->lbColor;
    return GdiRegister<HPEN>(new GdiPen(brush->lbStyle == BS_NULL ? PS_NULL : lineStyle,
                                        static_cast<int>(std::min<DWORD>(width, 0x7FFF)), color,
                                        geometric));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    return GdiRegister<HBRUSH>(new GdiBrush(BS_SOLID, color & 0xFFFFFF, 0));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    return GdiRegister<HBRUSH>(new GdiBrush(BS_HATCHED, color & 0xFFFFFF, hatch));
}

HBRUSH CreatePatternBrush(HBITMAP hBitmap)
{
    GdiBitmap* bitmap = GdiLookupAs<GdiBitmap>(hBitmap);
    if (bitmap == nullptr)
        return nullptr;
    auto* brush = new GdiBrush(BS_PATTERN, 0, 0);
    const PixelSurface& surface = bitmap->GetSurface();
    const int width = surface.GetWidth();
    brush->m_nPatternWidth = width;
    brush->m_nPatternHeight = surface.GetHeight();
    brush->m_bPatternMonochrome = surface.IsMonochrome();
    brush->m_pattern.resize(std::size_t(width) * std::size_t(surface.GetHeight()));
    for (int y = 0; y < surface.GetHeight(); ++y)
        surface.Read(y, 0, width, &brush->m_pattern[std::size_t(y) * std::size_t(width)]);
    return GdiRegister<HBRUSH>(brush);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush)
{
    if (brush == nullptr)
        return nullptr;
    switch (brush->lbStyle)
    {
    case BS_SOLID:
        return CreateSolidBrush(brush->lbColor);
    case BS_NULL:
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED:
        return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default:
        return nullptr;
    }
}

HFONT CreateFontIndirectA(const LOGFONTA* font)
{
    if (font == nullptr)
        return nullptr;
    LOGFONTA copy = *font;
    copy.lfFaceName[LF_FACESIZE - 1] = '\0';
    return GdiRegister<HFONT>(new GdiFont(copy));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName)
{
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfEscapement = escapement;
    font.lfOrientation = orientation;
    font.lfWeight = weight;
    font.lfItalic = BYTE(italic);
    font.lfUnderline = BYTE(underline);
    font.lfStrikeOut = BYTE(strikeOut);
    font.lfCharSet = BYTE(charSet);
    font.lfOutPrecision = BYTE(outPrecision);
    font.lfClipPrecision = BYTE(clipPrecision);
    font.lfQuality = BYTE(quality);
    font.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (faceName != nullptr)
        std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return nullptr;
    if (GdiLookupAs<GdiRegion>(obj) != nullptr)
        return reinterpret_cast<HGDIOBJ>(
            static_cast<LONG_PTR>(SelectClipRgn(hdc, static_cast<HRGN>(obj))));
    return dc->Select(obj);
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return nullptr;
    switch (type)
    {
    case OBJ_PEN:
        return dc->State().hPen;
    case OBJ_BRUSH:
        return dc->State().hBrush;
    case OBJ_FONT:
        return dc->State().hFont;
    case OBJ_PAL:
        return dc->State().hPalette;
    case OBJ_BITMAP:
        return dc->State().hBitmap;
    default:
        return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ handle)
{
    GdiObject* obj = GdiLookup(handle);
    if (obj == nullptr)
        return FALSE;
    if (obj->IsStock())
        return TRUE;
    if (obj->GetSelectCount() > 0)
        return FALSE;
    GdiDestroyObject(obj);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ handle)
{
    if (DeviceContext* dc = LookupDC(static_cast<HDC>(handle)))
        return dc->GetKind() == enDcKind::Memory ? OBJ_MEMDC : OBJ_DC;
    GdiObject* obj = GdiLookup(handle);
    if (obj == nullptr)
        return 0;
    switch (obj->GetKind())
    {
    case enGdiKind::Pen:
        return static_cast<GdiPen*>(obj)->m_bGeometric ? OBJ_EXTPEN : OBJ_PEN;
    case enGdiKind::Brush:
        return OBJ_BRUSH;
    case enGdiKind::Font:
        return OBJ_FONT;
    case enGdiKind::Bitmap:
        return OBJ_BITMAP;
    case enGdiKind::Palette:
        return OBJ_PAL;
    case enGdiKind::Region:
        return OBJ_REGION;
    }
    return 0;
}

int GetObjectA(HGDIOBJ handle, int size, LPVOID out)
{
    GdiObject* obj = GdiLookup(handle);
    if (obj == nullptr || size < 0)
        return 0;
    switch (obj->GetKind())
    {
    case enGdiKind::Bitmap:
    {
        auto* bitmap = static_cast<GdiBitmap*>(obj);
        if (out == nullptr)
            return bitmap->IsDibSection() ? int(sizeof(DIBSECTION)) : int(sizeof(BITMAP));
        DIBSECTION ds{};
        bitmap->FillBitmapInfo(ds.dsBm);
        if (!bitmap->IsDibSection() || size < int(sizeof(DIBSECTION)))
        {
            if (size < int(sizeof(BITMAP)))
                return 0;
            CopyOut(&ds.dsBm, sizeof(BITMAP), size, out);
            return sizeof(BITMAP);
        }
        const DibLayout& layout = bitmap->GetLayout();
        ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
        ds.dsBmih.biWidth = layout.nWidth;
        ds.dsBmih.biHeight = layout.bTopDown ? -layout.nHeight : layout.nHeight;
        ds.dsBmih.biPlanes = 1;
        ds.dsBmih.biBitCount = WORD(layout.nBitCount);
        ds.dsBmih.biCompression = layout.nCompression;
        ds.dsBmih.biSizeImage = layout.nImageSize;
        ds.dsBmih.biClrUsed = layout.nColorCount;
        std::memcpy(ds.dsBitfields, layout.masks, sizeof(ds.dsBitfields));
        CopyOut(&ds, sizeof(ds), size, out);
        return sizeof(DIBSECTION);
    }
    case enGdiKind::Pen:
    {
        auto* pen = static_cast<GdiPen*>(obj);
        return DescribeObject(LOGPEN{UINT(pen->m_nStyle), POINT{pen->m_nWidth, 0}, pen->m_color},
                              size, out);
    }
    case enGdiKind::Brush:
    {
        auto* brush = static_cast<GdiBrush*>(obj);
        return DescribeObject(LOGBRUSH{brush->m_nStyle, brush->m_color, ULONG_PTR(brush->m_nHatch)},
                              size, out);
    }
    case enGdiKind::Font:
        return DescribeObject(static_cast<GdiFont*>(obj)->m_logFont, size, out);
    case enGdiKind::Palette:
    {
        auto* palette = static_cast<GdiPalette*>(obj);
        const WORD count = WORD(palette->m_entries.size());
        if (out != nullptr && size >= int(sizeof(WORD)))
            std::memcpy(out, &count, sizeof(WORD));
        return sizeof(WORD);
    }
    case enGdiKind::Region:
        return 0;
    }
    return 0;
}

HPALETTE CreatePalette(const LOGPALETTE* palette)
{
    if (palette == nullptr || palette->palVersion != 0x300 || palette->palNumEntries == 0)
        return nullptr;
    std::vector<PALETTEENTRY> entries(palette->palPalEntry,
                                      palette->palPalEntry + palette->palNumEntries);
    return GdiRegister<HPALETTE>(new GdiPalette(std::move(entries)));
}

HPALETTE CreateHalftonePalette(HDC)
{
    std::vector<PALETTEENTRY> entries;
    for (std::uint32_t pixel : FixedColorTable(8))
        entries.push_back(PALETTEENTRY{BYTE(pixel >> 16), BYTE(pixel >> 8), BYTE(pixel), 0});
    return GdiRegister<HPALETTE>(new GdiPalette(std::move(entries)));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || GdiLookupAs<GdiPalette>(palette) == nullptr)
        return nullptr;
    return static_cast<HPALETTE>(dc->Select(palette));
}

UINT RealizePalette(HDC hdc)
{
    // The true-colour surface shows every colour as it is: nothing to map.
    return LookupDC(hdc) != nullptr ? 0 : GDI_ERROR;
}

UINT GetPaletteEntries(HPALETTE hPalette, UINT start, UINT count, LPPALETTEENTRY entries)
{
    GdiPalette* palette = GdiLookupAs<GdiPalette>(hPalette);
    if (palette == nullptr)
        return 0;
    const UINT size = UINT(palette->m_entries.size());
    if (entries == nullptr)
        return size;
    if (start >= size)
        return 0;
    const UINT n = std::min(count, size - start);
    std::copy_n(palette->m_entries.begin() + start, n, entries);
    return n;
}

UINT SetPaletteEntries(HPALETTE hPalette, UINT start, UINT count, const PALETTEENTRY* entries)
{
    GdiPalette* palette = GdiLookupAs<GdiPalette>(hPalette);
    const UINT size = palette ? UINT(palette->m_entries.size()) : 0;
    if (palette == nullptr || entries == nullptr || start >= size)
        return 0;
    const UINT n = std::min(count, size - start);
    std::copy_n(entries, n, palette->m_entries.begin() + start);
    return n;
}

UINT GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, LPPALETTEENTRY entries)
{
    if (LookupDC(hdc) == nullptr)
        return 0;
    const auto& table = FixedColorTable(8);
    if (entries == nullptr)
        return UINT(table.size());
    UINT n = 0;
    for (UINT i = start; i < table.size() && n < count; ++i, ++n)
        entries[n] = PALETTEENTRY{BYTE(table[i] >> 16), BYTE(table[i] >> 8), BYTE(table[i]), 0};
    return n;
}

UINT GetNearestPaletteIndex(HPALETTE hPalette, COLORREF color)
{
    GdiPalette* palette = GdiLookupAs<GdiPalette>(hPalette);
    if (palette == nullptr)
        return CLR_INVALID;
    std::vector<std::uint32_t> table;
    for (const PALETTEENTRY& e : palette->m_entries)
        table.push_back(std::uint32_t(e.peRed) << 16 | std::uint32_t(e.peGreen) << 8 | e.peBlue);
    NearestColor nearest(table);
    return nearest.Find(PixelFromColorRef(color));
}
