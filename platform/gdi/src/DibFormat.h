// Reading and writing device-independent bitmap rows: the layout rules
// (row padding, colour tables, bit fields, bottom-up and top-down storage)
// and the conversion between DIB pixels and 32-bit surface pixels.
#pragma once

#include "WinGdi.h"

#include <cstdint>
#include <unordered_map>
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

// Bytes in one stored row: ((bitCount * width + 31) / 32) * 4.
std::uint64_t DibRowBytes(std::uint64_t width, unsigned bitCount);

// A DIB's layout read from its header.
struct DibLayout
{
    int nWidth = 0;
    int nHeight = 0; // rows, always positive
    bool bTopDown = false;
    unsigned nBitCount = 0;
    DWORD nCompression = BI_RGB;
    std::uint32_t nHeaderSize = 0;
    std::uint64_t nRowBytes = 0;
    std::uint32_t nImageSize = 0;      // biSizeImage as given (RLE data length)
    std::vector<std::uint32_t> colors; // colour table as surface pixels, padded with black
    unsigned nColorCount = 0;          // entries stored in the DIB
    std::uint32_t nTableBytes = 0;     // bytes between header and table end
    DWORD masks[3] = {0, 0, 0};

    // Stored row index of the image row counted from the top.
    int StoredRow(int rowFromTop) const { return bTopDown ? rowFromTop : nHeight - 1 - rowFromTop; }
};

// Parses the header (information or core) and colour table of a DIB.
// usage DIB_PAL_COLORS reads the table as indices into the default palette.
bool ParseDibLayout(const BITMAPINFO* info, UINT usage, DibLayout& layout);

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
// lowest index), cached per colour.
class NearestColor
{
public:
    explicit NearestColor(const std::vector<std::uint32_t>& table);
    unsigned Find(std::uint32_t pixel);

private:
    const std::vector<std::uint32_t>& m_table;
    std::uint32_t m_lastPixel = 0xFFFFFFFF;
    unsigned m_lastIndex = 0;
    std::unordered_map<std::uint32_t, std::uint8_t> m_cache;
};

// Encodes one row of 32-bit pixels into the layout's format (1/4/8 bits
// through the colour table, 16 bits 5-5-5 or masks, 24, 32).
void EncodeDibRow(const DibLayout& layout, const std::uint32_t* src, std::uint8_t* dst,
                  NearestColor* nearest);

// Run-length encodes rows (top row first) for BI_RLE8 or BI_RLE4, stored
// bottom-up as the format requires; appends to out.
void EncodeRle(const DibLayout& layout, const std::vector<std::vector<std::uint8_t>>& indexRows,
               std::vector<std::uint8_t>& out);

// The fixed tables GetDIBits uses for 1, 4 and 8 bits.
const std::vector<std::uint32_t>& FixedColorTable(unsigned bitCount);
