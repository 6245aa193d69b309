// Packed DIBs and screen bitmaps written from matrix rows, and the reading
// side: a locked DIB block with its checked layout. The DIBs are the GDI's
// (PackedDib.h); the matrices choose their header values: a 40-byte header
// with one pel per metre, the 256-entry table at 8 bits, rows bottom-up.
#pragma once

#include "PackedDib.h"

#include <cstddef>
#include <cstdint>

namespace matrix
{

// Writes the pixel bytes of one matrix row (top row 0) into a DIB row.
using RowWriter = DibRowWriter;

// Copies rowBytes bytes of each row of top-down pixels, as they stand.
RowWriter CopyRowsOf(const char* pixels, std::size_t rowBytes);

// 256 entries, entry i = (i, i, i, 0); built once.
const RGBQUAD* GetGreyPalette();

// A movable, zeroed global block: a 40-byte header (bitCount 8 or 24), the
// 256-entry palette for 8 bits, then the rows bottom row first, each padded to
// 4 bytes. Null when it cannot be allocated.
void* BuildPackedDib(int rows, int columns, int bitCount, const RGBQUAD* palette,
                     const RowWriter& writeRow);

// A device-dependent bitmap of the screen made from the same layout, or null.
HBITMAP BuildScreenBitmap(int rows, int columns, int bitCount, const RGBQUAD* palette,
                          const RowWriter& writeRow);

// The bitmap as a packed DIB at 1, 4, 8 or 24 bits (following its own depth)
// with the default palette; null when it cannot be converted.
void* PackBitmap(HBITMAP bitmap);

// A packed DIB locked for reading, with its layout checked against the block:
// uncompressed (or bit fields), and no more than INT_MAX bytes of samples at
// one byte per sample.
class CLockedDib
{
public:
    CLockedDib(void* dib, const char* operation);
    ~CLockedDib();
    CLockedDib(const CLockedDib&) = delete;
    CLockedDib& operator=(const CLockedDib&) = delete;

    bool IsValid() const { return m_pBytes != nullptr && m_bParsed; }
    const PackedDibLayout& GetLayout() const { return m_layout; }
    // rowBytes (at most the stride) of each row, top row first.
    void CopyRows(std::size_t rowBytes, std::uint8_t* target) const;

private:
    void* m_hDib;
    const std::uint8_t* m_pBytes;
    bool m_bParsed;
    PackedDibLayout m_layout;
};

} // namespace matrix
