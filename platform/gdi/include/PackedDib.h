// Packed DIBs: a bitmap information (or core) header, the bit-field masks,
// the colour table and the rows in one block. The one view, writer and
// converter of the layer, for the GDI itself and for every module that
// makes, reads or draws a DIB; each caller chooses the header values its
// own behaviour needs.
#pragma once

#include "PlatformGDIExport.h"
#include "WinGdi.h"
#include "WinGlobalMemory.h"

#include <cstdint>
#include <functional>

// Where the parts of a packed DIB lie, from the start of its block.
struct PackedDibLayout
{
    int nWidth = 0;
    int nHeight = 0; // rows, always positive
    bool bTopDown = false;
    int nBitCount = 0;
    DWORD nCompression = BI_RGB;
    std::uint32_t nHeaderSize = 0;
    std::uint32_t nColors = 0;     // colour table entries the block holds
    std::uint32_t nColorBytes = 4; // 3 for the table of a core header
    std::uint64_t nTableOffset = 0;
    std::uint64_t nBitsOffset = 0;
    std::uint64_t nStride = 0;    // bytes of one stored row, padded to 4
    std::uint64_t nImageSize = 0; // bytes of the rows; the stated size of compressed ones

    // The stored row of the image row counted from the top.
    int StoredRow(int rowFromTop) const { return bTopDown ? rowFromTop : nHeight - 1 - rowFromTop; }
    bool IsRunLength() const { return nCompression == BI_RLE8 || nCompression == BI_RLE4; }
};

// For a header handed to a call on its own, whose block size nobody knows.
inline constexpr std::uint64_t kDibBlockSizeUnknown = UINT64_MAX;

// Bytes of one stored row: ((bitCount * width + 31) / 32) * 4.
PLATFORMGDI_API std::uint64_t GetDibStride(std::uint64_t width, unsigned bitCount);

// Reads the layout of the packed DIB at the start of block: a core header
// (12 bytes) or an information header (40 bytes or more), a known bit
// count with a compression that suits it, a width above 0, rows, and, for a
// known block size, a block holding header, masks, table and every row. On
// refusal why names the reason.
PLATFORMGDI_API bool ParsePackedDib(const void* block, std::uint64_t blockSize,
                                    PackedDibLayout& layout, const char** why = nullptr);

// The header values of a new packed DIB with a 40-byte information header;
// its rows are stored bottom-up and zero until written.
struct PackedDibFormat
{
    int nWidth = 0;
    int nHeight = 0;
    int nBitCount = 0;
    DWORD nCompression = BI_RGB;
    // The colour table (null: nColors zero entries), written after the header.
    const RGBQUAD* pColors = nullptr;
    std::uint32_t nColors = 0;
    DWORD nColorsUsed = 0; // biClrUsed as stored
    LONG nPelsPerMeter = 0;
    bool bStoreImageSize = false; // biSizeImage set, else 0
};

// Writes the bytes of a stored row from the image row (top row 0) it holds.
using DibRowWriter = std::function<void(int rowFromTop, std::uint8_t* row)>;

// Bytes of header, table and rows; 0 for a negative size or a DIB that
// would not fit the 32-bit sizes of a bitmap file.
PLATFORMGDI_API std::uint64_t GetPackedDibSize(const PackedDibFormat& format);
// Writes the DIB into block (GetPackedDibSize bytes, zeroed); writeRow may
// be empty.
PLATFORMGDI_API void WritePackedDib(const PackedDibFormat& format, void* block,
                                    const DibRowWriter& writeRow);
// A movable, zeroed global block holding the DIB, unlocked; null when the
// DIB is too large or out of memory.
PLATFORMGDI_API HGLOBAL CreatePackedDib(const PackedDibFormat& format,
                                        const DibRowWriter& writeRow);

// A device-dependent bitmap of the screen from a DIB's header and rows, with
// palette (when given) selected and realised; null on failure.
PLATFORMGDI_API HBITMAP CreateScreenBitmap(const BITMAPINFO* info, const void* bits,
                                           HPALETTE palette);
PLATFORMGDI_API HBITMAP CreateScreenBitmap(const PackedDibFormat& format,
                                           const DibRowWriter& writeRow);

// A movable global block with room for a packed DIB of the bitmap in the
// format header asks for (its size completed through GetDIBits, the rows not
// yet filled); null on failure.
PLATFORMGDI_API HGLOBAL AllocPackedDibFor(BITMAPINFOHEADER header, HBITMAP bitmap);
// A packed DIB of the bitmap in the format header asks for, read through
// GetDIBits from the screen with palette (when given) selected and realised;
// null on failure.
PLATFORMGDI_API HGLOBAL PackBitmap(HBITMAP bitmap, const BITMAPINFOHEADER& header,
                                   HPALETTE palette);

// The pixels of a packed DIB as 0x00RRGGBB, top row first (run-length
// encoded rows included); false when the layout cannot be decoded.
PLATFORMGDI_API bool DecodePackedDib(const void* dib, const PackedDibLayout& layout,
                                     std::uint32_t* pixels);
