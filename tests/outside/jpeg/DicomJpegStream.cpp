#include "DicomJpegStream.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

namespace
{
constexpr uint32_t kItemTag = 0xE000FFFE;

uint32_t ReadLittleEndian32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Position just after the last header of encapsulated pixel data, or 0.
size_t FindPixelData(const ByteVector& file)
{
    static const std::array<ByteVector, 3> kHeaders = {
        ByteVector{0xE0, 0x7F, 0x10, 0x00, 'O', 'B', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
        ByteVector{0xE0, 0x7F, 0x10, 0x00, 'O', 'W', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
        ByteVector{0xE0, 0x7F, 0x10, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}};
    size_t nBest = 0;
    for (const ByteVector& header : kHeaders)
    {
        const auto found = std::find_end(file.begin(), file.end(), header.begin(), header.end());
        if (found != file.end())
        {
            nBest = std::max(nBest, static_cast<size_t>(found - file.begin()) + header.size());
        }
    }
    return nBest;
}
} // namespace

ByteVector ReadWholeFile(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

ByteVector ReadJpegStreamOfFile(const std::string& path)
{
    const ByteVector file = ReadWholeFile(path);
    size_t nPos = FindPixelData(file);
    if (nPos == 0)
    {
        return {};
    }
    ByteVector stream;
    bool bOffsetTable = true;
    while (nPos + 8 <= file.size())
    {
        const uint32_t nTag = ReadLittleEndian32(&file[nPos]);
        const uint32_t nLength = ReadLittleEndian32(&file[nPos + 4]);
        nPos += 8;
        if (nTag != kItemTag || nLength > file.size() - nPos)
        {
            break; // the sequence end, or damage
        }
        if (!bOffsetTable)
        {
            stream.insert(stream.end(), file.begin() + static_cast<ptrdiff_t>(nPos),
                          file.begin() + static_cast<ptrdiff_t>(nPos + nLength));
        }
        bOffsetTable = false;
        nPos += nLength;
    }
    return stream;
}
