#include "JpegStreamInfo.h"

namespace
{
bool IsFrameMarker(int nCode)
{
    return nCode >= 0xC0 && nCode <= 0xCF && nCode != 0xC4 && nCode != 0xC8 && nCode != 0xCC;
}

// Position of the next marker (not a stuffed byte, not a restart) from nPos.
size_t SkipEntropyData(const uint8_t* pData, size_t nLength, size_t nPos)
{
    while (nPos + 1 < nLength)
    {
        const int nNext = pData[nPos + 1];
        if (pData[nPos] == 0xFF && nNext != 0 && !(nNext >= 0xD0 && nNext <= 0xD7))
        {
            return nPos;
        }
        ++nPos;
    }
    return nLength;
}

void ReadSegment(JpegStreamInfo& info, int nCode, const uint8_t* p, size_t nLength)
{
    if (IsFrameMarker(nCode) && nLength >= 6)
    {
        info.nFrameMarker = nCode;
        info.nPrecision = p[0];
        info.nRows = p[1] << 8 | p[2];
        info.nColumns = p[3] << 8 | p[4];
        for (size_t i = 0; i < p[5] && 6 + 3 * i < nLength; ++i)
        {
            info.componentIds.push_back(p[6 + 3 * i]);
        }
    }
    else if (nCode == 0xE0 && nLength >= 5 && p[0] == 'J' && p[1] == 'F' && p[4] == 0)
    {
        info.bJfif = true;
    }
    else if (nCode == 0xEE && nLength >= 5 && p[0] == 'A' && p[1] == 'd')
    {
        info.bAdobe = true;
    }
    else if (nCode == 0xDA && nLength >= 1 && nLength >= 4 + 2 * size_t{p[0]})
    {
        const uint8_t* pTail = p + 1 + 2 * p[0];
        info.scans.push_back({p[0], pTail[0], pTail[1], pTail[2] >> 4, pTail[2] & 15});
    }
}
} // namespace

JpegStreamInfo ReadJpegStreamInfo(const uint8_t* pData, size_t nLength)
{
    JpegStreamInfo info;
    size_t nPos = 2;
    while (nPos + 2 <= nLength && pData[nPos] == 0xFF)
    {
        const int nCode = pData[nPos + 1];
        if (nCode == 0xD9)
        {
            info.bEndsWithEoi = nPos + 2 == nLength;
            break;
        }
        if (nPos + 4 > nLength)
        {
            break;
        }
        const size_t nSegment = size_t{pData[nPos + 2]} << 8 | pData[nPos + 3];
        if (nSegment < 2 || nPos + 2 + nSegment > nLength)
        {
            break;
        }
        ReadSegment(info, nCode, pData + nPos + 4, nSegment - 2);
        nPos += 2 + nSegment;
        if (nCode == 0xDA)
        {
            nPos = SkipEntropyData(pData, nLength, nPos);
        }
    }
    return info;
}
