// Bitmap creation and the transfer of pixels between DIBs and bitmaps.
#include "DeviceContext.h"

#include <cstring>

namespace
{
constexpr int kMaxBitmapDimension = 1 << 16;

bool ValidSize(int width, int height)
{
    return width > 0 && height > 0 && width <= kMaxBitmapDimension && height <= kMaxBitmapDimension;
}

HBITMAP NewBitmap(int width, int height, bool monochrome)
{
    if (width == 0 || height == 0)
        return static_cast<HBITMAP>(GdiDefaultBitmap());
    if (!ValidSize(width, height))
        return nullptr;
    return GdiRegister<HBITMAP>(new GdiBitmap(width, height, monochrome));
}

// Copies rows of a DIB into a bitmap's surface; returns the rows copied.
int CopyDibIntoBitmap(GdiBitmap& bitmap, UINT start, UINT lines, const void* bits,
                      const BITMAPINFO* info, UINT usage)
{
    DibLayout layout;
    if (bits == nullptr || !ParseDibLayout(info, usage, layout))
        return 0;
    const PixelSurface& surface = bitmap.GetSurface();
    DibReader reader(layout, bits);
    std::vector<std::uint32_t> row(std::size_t(layout.nWidth));
    const int width = std::min(layout.nWidth, surface.GetWidth());
    int copied = 0;
    for (int t = 0; t < layout.nHeight && t < surface.GetHeight(); ++t)
    {
        const std::uint32_t* src = nullptr;
        if (reader.IsRle())
        {
            src = reader.GetRow(t);
        }
        else
        {
            const int stored = layout.StoredRow(t);
            if (stored < int(start) || std::uint64_t(stored) >= std::uint64_t(start) + lines)
                continue;
            reader.DecodeRow(static_cast<const std::uint8_t*>(bits) +
                                 std::uint64_t(stored - int(start)) * layout.nStride,
                             row.data());
            src = row.data();
        }
        surface.Write(t, 0, width, src);
        ++copied;
    }
    return copied;
}

// The table GetDIBits writes for a bitmap at bitCount bits: a logical
// palette selected into the DC, else the section's own table at its own bit
// count, else the fixed table.
std::vector<std::uint32_t> OutputTable(const DeviceContext& dc, GdiBitmap& bitmap,
                                       unsigned bitCount)
{
    const HGDIOBJ selected = dc.State().hPalette;
    if (selected != GetStockObject(DEFAULT_PALETTE))
    {
        if (const GdiPalette* palette = GdiLookupAs<GdiPalette>(selected))
        {
            std::vector<std::uint32_t> table;
            for (const PALETTEENTRY& e : palette->m_entries)
            {
                if (table.size() == (std::size_t(1) << bitCount))
                    break;
                table.push_back(std::uint32_t(e.peRed) << 16 | std::uint32_t(e.peGreen) << 8 |
                                e.peBlue);
            }
            return table;
        }
    }
    if (bitmap.IsDibSection() && unsigned(bitmap.GetLayout().nBitCount) == bitCount)
        return bitmap.GetLayout().colors;
    return FixedColorTable(bitCount);
}
} // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits)
{
    const bool monochrome = planes * bitCount == 1;
    HBITMAP handle = NewBitmap(width, height, monochrome);
    GdiBitmap* bitmap = GdiLookupAs<GdiBitmap>(handle);
    if (bitmap == nullptr || bits == nullptr || bitmap->IsStock())
        return handle;
    // Device-dependent rows are padded to 16 bits.
    DibLayout layout;
    layout.nWidth = width;
    layout.nBitCount = monochrome ? 1 : int(bitCount);
    layout.nStride = ((std::uint64_t(width) * unsigned(layout.nBitCount) + 15) / 16) * 2;
    layout.colors = {0x000000, 0xFFFFFF};
    if (layout.nBitCount != 1 && layout.nBitCount != 24 && layout.nBitCount != 32)
        return handle;
    const PixelSurface& surface = bitmap->GetSurface();
    const auto* src = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < height; ++y)
        DecodeDibSpan(layout, src + std::uint64_t(y) * layout.nStride, 0, width, surface.Row(y));
    return handle;
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm)
{
    if (bm == nullptr)
        return nullptr;
    return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return nullptr;
    return NewBitmap(width, height, dc->IsMonochrome());
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || header == nullptr)
        return nullptr;
    int width = 0;
    int height = 0;
    if (header->biSize == sizeof(BITMAPCOREHEADER))
    {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
        width = core->bcWidth;
        height = core->bcHeight;
    }
    else
    {
        width = header->biWidth;
        height = header->biHeight == INT32_MIN ? 0 : std::abs(header->biHeight);
    }
    if (!ValidSize(width, height))
        return nullptr;
    HBITMAP handle = NewBitmap(width, height, dc->IsMonochrome());
    if ((init & CBM_INIT) && handle != nullptr)
    {
        DibLayout layout;
        GdiBitmap* bitmap = GdiLookupAs<GdiBitmap>(handle);
        if (!ParseDibLayout(info, usage, layout) ||
            CopyDibIntoBitmap(*bitmap, 0, UINT(layout.nHeight), bits, info, usage) == 0)
        {
            DeleteObject(handle);
            return nullptr;
        }
    }
    return handle;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD)
{
    if (bits != nullptr)
        *bits = nullptr;
    DibLayout layout;
    if (!ParseDibLayout(info, usage, layout) || layout.nCompression == BI_RLE8 ||
        layout.nCompression == BI_RLE4)
        return nullptr;
    auto* bitmap = new GdiBitmap(layout);
    if (bits != nullptr)
        *bits = bitmap->GetBits();
    return GdiRegister<HBITMAP>(bitmap);
}

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors)
{
    DeviceContext* dc = LookupDC(hdc);
    GdiBitmap* bitmap = dc ? dc->GetBitmap() : nullptr;
    if (bitmap == nullptr || !bitmap->IsDibSection() || colors == nullptr)
        return 0;
    const DibLayout& layout = bitmap->GetLayout();
    UINT n = 0;
    for (UINT i = start; i < layout.nColorCount && n < count; ++i, ++n)
        colors[n] = QuadFromPixel(layout.colors[i]);
    return n;
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors)
{
    DeviceContext* dc = LookupDC(hdc);
    GdiBitmap* bitmap = dc ? dc->GetBitmap() : nullptr;
    if (bitmap == nullptr || !bitmap->IsDibSection() || colors == nullptr)
        return 0;
    const DibLayout& layout = bitmap->GetLayout();
    const UINT n = start < layout.nColorCount ? std::min(count, layout.nColorCount - start) : 0;
    bitmap->SetColors(start, n, colors);
    return n;
}

int SetDIBits(HDC, HBITMAP hBitmap, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage)
{
    GdiBitmap* bitmap = GdiLookupAs<GdiBitmap>(hBitmap);
    if (bitmap == nullptr || bitmap->IsStock())
        return 0;
    return CopyDibIntoBitmap(*bitmap, start, lines, bits, info, usage);
}

int GetDIBits(HDC hdc, HBITMAP hBitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
              UINT usage)
{
    GdiBitmap* bitmap = GdiLookupAs<GdiBitmap>(hBitmap);
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || bitmap == nullptr || info == nullptr || usage != DIB_RGB_COLORS ||
        info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    const int width = bitmap->GetWidth();
    const int height = bitmap->GetHeight();
    if (h.biBitCount == 0)
    {
        // Only the bitmap's own format is asked for.
        h.biWidth = width;
        h.biHeight = height;
        h.biPlanes = 1;
        h.biBitCount = WORD(bitmap->GetBitsPixel());
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(GetDibStride(DWORD(width), h.biBitCount) * DWORD(height));
        return height;
    }
    const unsigned bitCount = h.biBitCount;
    const DWORD compression = h.biCompression;
    const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    const bool validFormat = (bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                              bitCount == 24 || bitCount == 32) &&
                             (compression == BI_RGB || (compression == BI_RLE8 && bitCount == 8) ||
                              (compression == BI_RLE4 && bitCount == 4) ||
                              (compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)));
    if (!validFormat)
        return 0;
    const bool topDown = h.biHeight < 0 && !rle;
    h.biWidth = width;
    h.biHeight = topDown ? -height : height;
    h.biPlanes = 1;

    DibLayout layout;
    layout.nWidth = width;
    layout.nHeight = height;
    layout.bTopDown = topDown;
    layout.nBitCount = bitCount;
    layout.nCompression = compression;
    layout.nStride = GetDibStride(std::uint64_t(width), bitCount);
    if (bitCount <= 8)
    {
        layout.colors = OutputTable(*dc, *bitmap, bitCount);
        // Unused entries of a short palette stay black and are never chosen.
        const std::size_t used = layout.colors.size();
        layout.colors.resize(std::size_t(1) << bitCount, 0);
        h.biClrUsed = 0;
        h.biClrImportant = 0;
        for (std::size_t i = 0; i < layout.colors.size(); ++i)
            info->bmiColors[i] = QuadFromPixel(layout.colors[i]);
        layout.colors.resize(used == 0 ? 1 : used);
    }
    else if (compression == BI_BITFIELDS)
    {
        DWORD* masks = reinterpret_cast<DWORD*>(info->bmiColors);
        if (masks[0] == 0 && masks[1] == 0 && masks[2] == 0)
        {
            masks[0] = bitCount == 16 ? 0x7C00 : 0xFF0000;
            masks[1] = bitCount == 16 ? 0x03E0 : 0x00FF00;
            masks[2] = bitCount == 16 ? 0x001F : 0x0000FF;
        }
        std::memcpy(layout.masks, masks, sizeof(layout.masks));
    }
    else if (bitCount == 16)
    {
        layout.masks[0] = 0x7C00;
        layout.masks[1] = 0x03E0;
        layout.masks[2] = 0x001F;
    }

    const PixelSurface& surface = bitmap->GetSurface();
    NearestColor nearest(layout.colors);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    if (rle)
    {
        std::vector<std::vector<std::uint8_t>> indexRows(static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y)
        {
            surface.Read(y, 0, width, row.data());
            const std::uint32_t* src = row.data();
            indexRows[std::size_t(y)].resize(std::size_t(width));
            for (int x = 0; x < width; ++x)
                indexRows[std::size_t(y)][std::size_t(x)] = std::uint8_t(nearest.Find(src[x]));
        }
        std::vector<std::uint8_t> encoded;
        EncodeRle(layout, indexRows, encoded);
        if (bits != nullptr)
        {
            // The caller sized the buffer from an earlier call without bits.
            if (h.biSizeImage < encoded.size())
                return 0;
            std::memcpy(bits, encoded.data(), encoded.size());
        }
        h.biSizeImage = DWORD(encoded.size());
        return height;
    }
    h.biSizeImage = DWORD(layout.nStride * std::uint64_t(height));
    if (bits == nullptr)
        return height;
    int copied = 0;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (UINT i = 0; i < lines; ++i)
    {
        const std::uint64_t stored = std::uint64_t(start) + i;
        if (stored >= std::uint64_t(height))
            break;
        const int rowFromTop = topDown ? int(stored) : height - 1 - int(stored);
        surface.Read(rowFromTop, 0, width, row.data());
        EncodeDibRow(layout, row.data(), out + std::uint64_t(i) * layout.nStride, &nearest);
        ++copied;
    }
    return copied;
}
