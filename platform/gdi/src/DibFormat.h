// Reading and writing device-independent bitmap rows: the layout rules
// (row padding, colour tables, bit fields, bottom-up and top-down storage)
// and the conversion between DIB pixels and 32-bit surface pixels.
#pragma once

#include "PackedDib.h"
#include "WinGdi.h"

#include <cstdint>
#include <vector>

// Surface pixels are 0x00RRGGBB (B, G, R, X in memory).
inline std::uint32_t PixelFromColorRef(COLORREF color)
{
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
inline COLORREF ColorRefFromPixel(std::uint32_t pixel)
{
    return ((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16);
}
inline std::uint32_t PixelFromQuad(const RGBQUAD& q)
{
    return (std::uint32_t(q.rgbRed) << 16) | (std::uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
}
inline RGBQUAD QuadFromPixel(std::uint32_t pixel)
{
    return RGBQUAD{BYTE(pixel & 0xFF), BYTE((pixel >> 8) & 0xFF), BYTE((pixel >> 16) & 0xFF), 0};
}

// A DIB's layout read from its header, with its colour table and masks as
// the conversion to and from surface pixels uses them.
struct DibLayout : PackedDibLayout
{
    std::vector<std::uint32_t> colors; // colour table as surface pixels, padded with black
    unsigned nColorCount = 0;          // entries read from the DIB
    DWORD masks[3] = {0, 0, 0};
};

// Parses the header (information or core) and colour table of a DIB given
// to a call (DIB_RGB_COLORS only), within the sizes a call draws.
bool ParseDibLayout(const BITMAPINFO* info, UINT usage, DibLayout& layout);

// Decodes pixels [x0, x1) of one stored row of an uncompressed DIB into
// 32-bit pixels.
void DecodeDibSpan(const DibLayout& layout, const std::uint8_t* row, int x0, int x1,
                   std::uint32_t* out);

// Decodes every row of the image into 32-bit pixels, top row first.
// RLE data is read up to nImageSize bytes; pixels it skips stay black.
class DibReader
{
public:
    DibReader(const DibLayout& layout, const void* bits);
    // Pixels of the image row counted from the top; null for a row outside.
    const std::uint32_t* GetRow(int rowFromTop);
    // Decodes one stored row of an uncompressed DIB.
    void DecodeRow(const std::uint8_t* src, std::uint32_t* dst) const;
    bool IsRle() const { return !m_rle.empty(); }

private:
    void DecodeRle();

    const DibLayout& m_layout;
    const std::uint8_t* m_pBits;
    std::vector<std::uint32_t> m_row;
    int m_nCachedRow = -1;
    std::vector<std::uint32_t> m_rle; // whole decoded image for RLE DIBs
};

// Nearest entry of a colour table (squared RGB distance; ties go to the
// lowest index), remembered per colour in a small direct-mapped cache.
class NearestColor
{
public:
    explicit NearestColor(std::vector<std::uint32_t> table);
    unsigned Find(std::uint32_t pixel);

private:
    struct Entry
    {
        std::uint32_t key = 0; // pixel | kValid
        std::uint8_t index = 0;
    };
    static constexpr std::uint32_t kValid = 0x80000000;
    static constexpr int kCacheBits = 12;

    unsigned Search(std::uint32_t pixel) const;

    std::vector<std::uint32_t> m_table;
    std::vector<Entry> m_cache;
};

// Encodes one row of 32-bit pixels into the layout's format (1/4/8 bits
// through the colour table, 16 bits 5-5-5 or masks, 24, 32).
void EncodeDibRow(const DibLayout& layout, const std::uint32_t* src, std::uint8_t* dst,
                  NearestColor* nearest);
// Encodes pixels [x0, x1) of one stored row, leaving the row's other pixels
// as they are.
void EncodeDibSpan(const DibLayout& layout, const std::uint32_t* in, int x0, int x1,
                   std::uint8_t* row, NearestColor* nearest);

// Run-length encodes rows (top row first) for BI_RLE8 or BI_RLE4, stored
// bottom-up as the format requires; appends to out.
void EncodeRle(const DibLayout& layout, const std::vector<std::vector<std::uint8_t>>& indexRows,
               std::vector<std::uint8_t>& out);

// The fixed tables GetDIBits uses for 1, 4 and 8 bits.
const std::vector<std::uint32_t>& FixedColorTable(unsigned bitCount);
