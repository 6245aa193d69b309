#include "BitmapFile.h"

#include <cstring>
#include <new>

namespace
{
constexpr WORD kBitmapSignature = 0x4D42; // "BM"
constexpr std::uint32_t kCoreHeaderSize = sizeof(BITMAPCOREHEADER);
constexpr std::uint32_t kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr std::uint32_t kLargestHeader = 124; // the version 5 information header
constexpr std::uint32_t kMaskBytes = 12;
constexpr LONG kLargestSide = 1 << 24;

bool Refuse(const char** why, const char* reason)
{
    if (why != nullptr)
        *why = reason;
    return false;
}

bool IsValidFormat(const BITMAPINFOHEADER& h)
{
    switch (h.biCompression)
    {
    case BI_RGB:
        return h.biBitCount == 1 || h.biBitCount == 4 || h.biBitCount == 8 || h.biBitCount == 16 ||
               h.biBitCount == 24 || h.biBitCount == 32;
    case BI_RLE8:
        return h.biBitCount == 8;
    case BI_RLE4:
        return h.biBitCount == 4;
    case BI_BITFIELDS:
        return h.biBitCount == 16 || h.biBitCount == 32;
    default:
        return false;
    }
}

// The header as an information header; false when the file's header has a
// size no bitmap header has.
bool ReadInfoHeader(CBitmapFileSource& source, BITMAPINFOHEADER& header,
                    std::uint8_t (&stored)[kLargestHeader], std::uint32_t& size, const char** why)
{
    if (!source.Read(stored, sizeof(DWORD)))
        return Refuse(why, "the file could not be read");
    std::memcpy(&size, stored, sizeof(size));
    if (size != kCoreHeaderSize && (size < kInfoHeaderSize || size > kLargestHeader))
        return Refuse(why, "the bitmap header has a size no bitmap header has");
    if (!source.Read(stored + sizeof(DWORD), size - sizeof(DWORD)))
        return Refuse(why, "the file could not be read");
    header = BITMAPINFOHEADER{};
    if (size == kCoreHeaderSize)
    {
        BITMAPCOREHEADER core;
        std::memcpy(&core, stored, sizeof(core));
        header.biWidth = core.bcWidth;
        header.biHeight = core.bcHeight;
        header.biPlanes = core.bcPlanes;
        header.biBitCount = core.bcBitCount;
    }
    else
    {
        std::memcpy(&header, stored, sizeof(header));
    }
    header.biSize = kInfoHeaderSize;
    return true;
}
} // namespace

CBitmapFileSource::~CBitmapFileSource() = default;

bool CBitmapBytesSource::Seek(std::uint64_t position)
{
    if (position > m_bytes.size())
        return false;
    m_position = position;
    return true;
}

bool CBitmapBytesSource::Read(void* buffer, std::uint64_t size)
{
    if (size > m_bytes.size() - m_position)
        return false;
    std::memcpy(buffer, m_bytes.data() + m_position, std::size_t(size));
    m_position += size;
    return true;
}

BITMAPFILEHEADER MakeBitmapFileHeader(std::uint64_t dibSize, std::uint64_t bitsOffset)
{
    BITMAPFILEHEADER file{};
    file.bfType = kBitmapSignature;
    file.bfSize = DWORD(sizeof(BITMAPFILEHEADER) + dibSize);
    file.bfOffBits = DWORD(sizeof(BITMAPFILEHEADER) + bitsOffset);
    return file;
}

std::vector<std::uint8_t> BitmapFileOfPackedDib(std::span<const std::uint8_t> dib)
{
    PackedDibLayout layout;
    if (!ParsePackedDib(dib.data(), dib.size(), layout))
        return {};
    const BITMAPFILEHEADER header = MakeBitmapFileHeader(dib.size(), layout.nBitsOffset);
    std::vector<std::uint8_t> file(sizeof(header));
    std::memcpy(file.data(), &header, sizeof(header));
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

std::vector<std::uint8_t> BuildBitmapFile(const PackedDibFormat& format,
                                          const DibRowWriter& writeRow)
{
    const std::uint64_t dibSize = GetPackedDibSize(format);
    std::vector<std::uint8_t> file;
    if (dibSize == 0)
        return file;
    try
    {
        file.resize(std::size_t(sizeof(BITMAPFILEHEADER) + dibSize));
    }
    catch (const std::bad_alloc&)
    {
        return file;
    }
    const BITMAPFILEHEADER header = MakeBitmapFileHeader(
        dibSize, kInfoHeaderSize + std::uint64_t(format.nColors) * sizeof(RGBQUAD));
    std::memcpy(file.data(), &header, sizeof(header));
    WritePackedDib(format, file.data() + sizeof(header), writeRow);
    return file;
}

bool ReadBitmapFile(CBitmapFileSource& source, BitmapFileContents& contents, const char** why)
{
    contents = BitmapFileContents{};
    const std::uint64_t fileSize = source.GetSize();
    if (fileSize < sizeof(BITMAPFILEHEADER) + kCoreHeaderSize)
        return Refuse(why, "the file is shorter than the bitmap headers");
    BITMAPFILEHEADER file{};
    if (!source.Seek(0) || !source.Read(&file, sizeof(file)))
        return Refuse(why, "the file could not be read");
    if (file.bfType != kBitmapSignature)
        return Refuse(why, "the file is not a bitmap file");
    BITMAPINFOHEADER header;
    std::uint8_t stored[kLargestHeader] = {};
    if (!ReadInfoHeader(source, header, stored, contents.nStoredHeaderSize, why))
        return false;
    const std::uint32_t storedSize = contents.nStoredHeaderSize;
    if (header.biWidth <= 0 || header.biWidth > kLargestSide || header.biHeight == 0 ||
        header.biHeight > kLargestSide || header.biHeight < -kLargestSide || !IsValidFormat(header))
        return Refuse(why, "the bitmap's size or format is not valid");
    const bool rle = header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
    const bool topDown = header.biHeight < 0;
    if (rle && topDown)
        return Refuse(why, "a compressed bitmap cannot be stored top-down");

    std::uint64_t position = sizeof(BITMAPFILEHEADER) + storedSize;
    std::uint8_t masks[kMaskBytes] = {};
    const bool bitFields = header.biCompression == BI_BITFIELDS;
    if (bitFields && storedSize >= kInfoHeaderSize + kMaskBytes)
    {
        std::memcpy(masks, stored + kInfoHeaderSize, kMaskBytes);
    }
    else if (bitFields)
    {
        // A plain information header has its masks after it.
        if (!source.Read(masks, kMaskBytes))
            return Refuse(why, "the bit-field masks run past the end of the file");
        position += kMaskBytes;
    }

    // The colour table: needed up to 8 bits, kept above when it is whole
    // and lies before the rows.
    const std::uint64_t entrySize = storedSize == kCoreHeaderSize ? 3 : 4;
    std::uint64_t entries = header.biClrUsed;
    if (entries == 0 && header.biBitCount <= 8)
        entries = std::uint64_t(1) << header.biBitCount;
    const bool indexed = header.biBitCount <= 8;
    if (indexed && entries > (std::uint64_t(1) << header.biBitCount))
        return Refuse(why, "the colour table is larger than the bit count allows");
    const std::uint64_t tableEnd = position + entries * entrySize;
    if (indexed && tableEnd > fileSize)
        return Refuse(why, "the colour table runs past the end of the file");
    const std::uint64_t stride = GetDibStride(std::uint64_t(header.biWidth), header.biBitCount);
    const std::uint64_t rows =
        std::uint64_t(topDown ? -std::int64_t(header.biHeight) : header.biHeight);
    std::uint64_t imageSize = header.biSizeImage;
    if (!rle)
    {
        if (imageSize != 0 && imageSize < stride * rows)
            return Refuse(why, "the stated image size is smaller than the rows");
        imageSize = stride * rows;
    }
    else if (imageSize == 0)
    {
        return Refuse(why, "a compressed bitmap without its image size");
    }
    const std::uint64_t bitsOffset = file.bfOffBits != 0 ? file.bfOffBits : tableEnd;
    if (!indexed && (entries > 256 || tableEnd > bitsOffset))
        entries = 0;
    if (bitsOffset < (entries != 0 ? tableEnd : position))
        return Refuse(why, "the pixel data begins inside the headers");
    if (bitsOffset > fileSize || imageSize > fileSize - bitsOffset)
        return Refuse(why, "the pixel data runs past the end of the file");
    const std::uint64_t tableOffset = kInfoHeaderSize + (bitFields ? kMaskBytes : 0);
    const std::uint64_t dibSize = tableOffset + entries * sizeof(RGBQUAD) + imageSize;
    if (dibSize + sizeof(BITMAPFILEHEADER) > 0xFFFFFFFFull)
        return Refuse(why, "the bitmap is too large");
    try
    {
        contents.dib.assign(std::size_t(dibSize), 0);
    }
    catch (const std::bad_alloc&)
    {
        return Refuse(why, "there is no memory for the bitmap");
    }
    std::uint8_t* dib = contents.dib.data();
    header.biClrUsed = DWORD(entries);
    std::memcpy(dib, &header, sizeof(header));
    std::memcpy(dib + kInfoHeaderSize, masks, bitFields ? kMaskBytes : 0);
    std::vector<std::uint8_t> table(std::size_t(entries * entrySize));
    if (!table.empty() && !source.Read(table.data(), table.size()))
        return Refuse(why, "the file could not be read");
    for (std::uint64_t i = 0; i < entries; ++i)
        std::memcpy(dib + tableOffset + i * sizeof(RGBQUAD), table.data() + i * entrySize,
                    std::size_t(entrySize));
    std::uint8_t* bits = dib + tableOffset + entries * sizeof(RGBQUAD);
    if (!source.Seek(bitsOffset) || !source.Read(bits, imageSize))
        return Refuse(why, "the file could not be read");
    return ParsePackedDib(dib, dibSize, contents.layout, why);
}
