// Bitmap files: a 14-byte file header before a packed DIB. The one reader and
// writer of the layer, checked: a reader trusts no size the file states
// before it has weighed it against the file.
#pragma once

#include "PackedDib.h"

#include <cstdint>
#include <span>
#include <vector>

// The file header before a packed DIB of dibSize bytes whose rows begin
// bitsOffset bytes into it.
PLATFORMGDI_API BITMAPFILEHEADER MakeBitmapFileHeader(std::uint64_t dibSize,
                                                      std::uint64_t bitsOffset);

// A packed DIB as a whole bitmap file: the file header before it; empty
// when the DIB is not sound.
PLATFORMGDI_API std::vector<std::uint8_t> BitmapFileOfPackedDib(std::span<const std::uint8_t> dib);

// A whole bitmap file in memory: the file header and the DIB of format;
// empty when the DIB is too large.
PLATFORMGDI_API std::vector<std::uint8_t> BuildBitmapFile(const PackedDibFormat& format,
                                                          const DibRowWriter& writeRow);

// Where a bitmap file is read from, by exact amounts.
class PLATFORMGDI_API CBitmapFileSource
{
public:
    virtual ~CBitmapFileSource();
    virtual std::uint64_t GetSize() = 0;
    virtual bool Seek(std::uint64_t position) = 0;
    // Reads exactly size bytes, or fails.
    virtual bool Read(void* buffer, std::uint64_t size) = 0;
};

// A bitmap file held in memory.
class PLATFORMGDI_API CBitmapBytesSource : public CBitmapFileSource
{
public:
    explicit CBitmapBytesSource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t GetSize() override { return m_bytes.size(); }
    bool Seek(std::uint64_t position) override;
    bool Read(void* buffer, std::uint64_t size) override;

private:
    std::span<const std::uint8_t> m_bytes;
    std::uint64_t m_position = 0;
};

// What a bitmap file holds: its DIB with a 40-byte information header (a
// core header widened to it, a later one cut to it with its masks after
// it), the bit-field masks, the colour table as RGBQUADs with biClrUsed
// stating its entries, and the rows as stored; and the header size the file
// stated.
struct BitmapFileContents
{
    std::vector<std::uint8_t> dib;
    PackedDibLayout layout;
    std::uint32_t nStoredHeaderSize = 0;
};

// Reads a bitmap file of at most 2^24 pixels a side; on refusal why names
// the reason.
PLATFORMGDI_API bool ReadBitmapFile(CBitmapFileSource& source, BitmapFileContents& contents,
                                    const char** why = nullptr);
