#include "J2kSizeSegment.h"

#include <cstring>

namespace
{
constexpr uint8_t kMarker = 0xFF;
constexpr uint8_t kSoc = 0x4F;
constexpr uint8_t kSiz = 0x51;
// Marker, length, capabilities, eight 32-bit sizes and the component count;
// three bytes per component follow.
constexpr size_t kSizFixedBytes = 2 + 2 + 2 + 8 * 4 + 2;
constexpr size_t kSizComponentBytes = 3;
// SOT marker segment and SOD marker: the least one tile takes.
constexpr uint64_t kMinTileBytes = 14;
// Tile indices are 16-bit values.
constexpr uint64_t kMaxTiles = 65535;
constexpr uint32_t kJp2Codestream = 0x6A703263; // "jp2c"

uint32_t Read16(const uint8_t* p)
{
    return uint32_t{p[0]} << 8 | p[1];
}

uint32_t Read32(const uint8_t* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

uint64_t CeilDiv(uint64_t nValue, uint64_t nDivisor)
{
    return (nValue + nDivisor - 1) / nDivisor;
}

// The codestream inside a JP2 file: the contents of its "jp2c" box.
bool FindCodestream(const uint8_t*& pData, size_t& nLength)
{
    size_t nPos = 0;
    while (nLength - nPos >= 8)
    {
        uint64_t nBox = Read32(pData + nPos);
        const uint32_t nType = Read32(pData + nPos + 4);
        size_t nHeader = 8;
        if (nBox == 1)
        {
            if (nLength - nPos < 16)
            {
                return false;
            }
            nBox = uint64_t{Read32(pData + nPos + 8)} << 32 | Read32(pData + nPos + 12);
            nHeader = 16;
        }
        else if (nBox == 0)
        {
            nBox = nLength - nPos;
        }
        if (nBox < nHeader || nBox > nLength - nPos)
        {
            return false;
        }
        if (nType == kJp2Codestream)
        {
            pData += nPos + nHeader;
            nLength = static_cast<size_t>(nBox) - nHeader;
            return true;
        }
        nPos += static_cast<size_t>(nBox);
    }
    return false;
}
} // namespace

bool ReadSizeSegment(const uint8_t* pData, size_t nLength, J2kSizeSegment& size)
{
    if (pData == nullptr)
    {
        return false;
    }
    if (nLength < 4 || pData[0] != kMarker || pData[1] != kSoc)
    {
        if (!FindCodestream(pData, nLength))
        {
            return false;
        }
    }
    if (nLength < 2 + kSizFixedBytes || pData[0] != kMarker || pData[1] != kSoc ||
        pData[2] != kMarker || pData[3] != kSiz)
    {
        return false;
    }
    const uint8_t* pSiz = pData + 2;
    const uint32_t nSegment = Read16(pSiz + 2);
    const uint32_t nComponents = Read16(pSiz + 38);
    if (nComponents == 0 || nSegment != kSizFixedBytes - 2 + nComponents * kSizComponentBytes ||
        nLength - 2 < size_t{nSegment} + 2)
    {
        return false;
    }
    const uint32_t nImageRight = Read32(pSiz + 6);
    const uint32_t nImageBottom = Read32(pSiz + 10);
    const uint32_t nImageLeft = Read32(pSiz + 14);
    const uint32_t nImageTop = Read32(pSiz + 18);
    const uint32_t nTileWidth = Read32(pSiz + 22);
    const uint32_t nTileHeight = Read32(pSiz + 26);
    const uint32_t nTileLeft = Read32(pSiz + 30);
    const uint32_t nTileTop = Read32(pSiz + 34);
    // The first tile must hold the image's first pixel.
    if (nImageRight <= nImageLeft || nImageBottom <= nImageTop || nTileWidth == 0 ||
        nTileHeight == 0 || nTileLeft > nImageLeft || nTileTop > nImageTop ||
        uint64_t{nTileLeft} + nTileWidth <= nImageLeft ||
        uint64_t{nTileTop} + nTileHeight <= nImageTop)
    {
        return false;
    }
    size = J2kSizeSegment();
    size.nWidth = nImageRight - nImageLeft;
    size.nHeight = nImageBottom - nImageTop;
    size.nTileCount = CeilDiv(nImageRight - nTileLeft, nTileWidth) *
                      CeilDiv(nImageBottom - nTileTop, nTileHeight);
    size.nComponents = nComponents;
    for (uint32_t i = 0; i < nComponents; ++i)
    {
        const uint8_t* pComponent = pSiz + kSizFixedBytes + i * kSizComponentBytes;
        const uint32_t nPrecision = (pComponent[0] & 0x7F) + 1u;
        size.nMaxPrecision = nPrecision > size.nMaxPrecision ? nPrecision : size.nMaxPrecision;
        size.bFullResolution = size.bFullResolution && pComponent[1] == 1 && pComponent[2] == 1;
    }
    return true;
}

bool IsInProportion(const J2kSizeSegment& size, enJ2kLayout layout, size_t nLength)
{
    if (size.nComponents != GetComponentCount(layout) || !size.bFullResolution ||
        size.nMaxPrecision > GetMaxPrecision(layout))
    {
        return false;
    }
    if (size.nWidth > kMaxDimension || size.nHeight > kMaxDimension ||
        uint64_t{size.nWidth} * size.nHeight * size.nComponents * GetBytesPerSample(layout) >
            kMaxPixelBytes)
    {
        return false;
    }
    return size.nTileCount <= kMaxTiles && size.nTileCount * kMinTileBytes <= nLength;
}
