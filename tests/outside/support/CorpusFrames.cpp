#include "CorpusFrames.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
constexpr size_t kPixelDataHeaderSize = 12;

// (7FE0,0010) OB or OW with undefined length: the start of encapsulated pixel data.
bool IsPixelDataHeader(const ByteVector& file, size_t nPos)
{
    static constexpr std::array<uint8_t, kPixelDataHeaderSize> kHeader = {
        0xE0, 0x7F, 0x10, 0x00, 'O', 'B', 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    for (size_t i = 0; i < kPixelDataHeaderSize; ++i)
    {
        const bool bOtherByte = (i == 5 && file[nPos + i] == 'W');
        if (file[nPos + i] != kHeader[i] && !bOtherByte)
        {
            return false;
        }
    }
    return true;
}

// Position just after the last encapsulated pixel data header, or 0.
size_t FindPixelData(const ByteVector& file)
{
    for (size_t nPos = file.size(); nPos-- > 0;)
    {
        if (nPos + kPixelDataHeaderSize <= file.size() && IsPixelDataHeader(file, nPos))
        {
            return nPos + kPixelDataHeaderSize;
        }
    }
    return 0;
}

uint32_t ReadLittleEndian32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

ByteVector ReadWholeFile(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// The items after the pixel data header, the offset table first.
std::vector<ByteVector> ReadItems(const ByteVector& file, size_t nPos)
{
    std::vector<ByteVector> items;
    while (nPos + 8 <= file.size())
    {
        const uint32_t nTag = ReadLittleEndian32(&file[nPos]);
        const uint32_t nLength = ReadLittleEndian32(&file[nPos + 4]);
        nPos += 8;
        if (nTag == 0xE0DDFFFE)
        {
            return items;
        }
        if (nTag != 0xE000FFFE || nLength > file.size() - nPos)
        {
            break;
        }
        items.emplace_back(file.begin() + nPos, file.begin() + nPos + nLength);
        nPos += nLength;
    }
    return {};
}
} // namespace

std::string GetCorpusTestName(const std::string& file)
{
    std::string name = std::filesystem::path(file).stem().string();
    for (char& c : name)
    {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
}

std::string GetCorpusPath(const std::string& relative)
{
    return std::string(SUITE_CORPUS_DIR) + "/" + relative;
}

bool IsCorpusPresent()
{
    return std::filesystem::is_directory(SUITE_CORPUS_DIR);
}

std::vector<ByteVector> ReadEncapsulatedFrames(const std::string& path, size_t nFrames)
{
    const ByteVector file = ReadWholeFile(path);
    const size_t nPixelData = FindPixelData(file);
    if (nPixelData == 0)
    {
        return {};
    }
    std::vector<ByteVector> items = ReadItems(file, nPixelData);
    if (items.size() < 2)
    {
        return {};
    }
    items.erase(items.begin());
    if (items.size() == nFrames)
    {
        return items;
    }
    if (nFrames != 1)
    {
        return {};
    }
    ByteVector joined;
    for (const ByteVector& item : items)
    {
        joined.insert(joined.end(), item.begin(), item.end());
    }
    return {joined};
}

uint64_t GetFnv1a64(const uint8_t* pData, size_t nLength)
{
    uint64_t nHash = 0xCBF29CE484222325ull;
    for (size_t i = 0; i < nLength; ++i)
    {
        nHash = (nHash ^ pData[i]) * 0x100000001B3ull;
    }
    return nHash;
}
