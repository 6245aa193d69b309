#include "RleFrameDecoder.h"

#include <cstring>
#include <limits>

namespace
{
constexpr size_t kCutShort = std::numeric_limits<size_t>::max();

uint32_t ReadLittleEndian32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The header byte of a PackBits run: 0..127 copies that many plus one bytes,
// -1..-127 repeats the next byte one minus that many times, -128 does nothing.
int GetRunHeader(uint8_t byte)
{
    return static_cast<int8_t>(byte);
}
} // namespace

RleFrameDecoder::RleFrameDecoder(const uint8_t* pFrame, size_t nFrameLength)
    : m_pFrame(pFrame), m_nFrameLength(nFrameLength)
{
}

bool RleFrameDecoder::DoParse()
{
    if (m_pFrame == nullptr || !ReadHeader())
    {
        return false;
    }
    const size_t nLimit = kMaxOutputLength / m_nSegments;
    for (size_t i = 0; i < m_nSegments; ++i)
    {
        const size_t nLength = MeasureSegment(m_segments[i], nLimit);
        if (nLength == kCutShort || nLength == 0 || (i > 0 && nLength != m_nPixels))
        {
            return false;
        }
        m_nPixels = nLength;
    }
    return true;
}

bool RleFrameDecoder::ReadHeader()
{
    if (m_nFrameLength < kHeaderSize)
    {
        return false;
    }
    m_nSegments = ReadLittleEndian32(m_pFrame);
    if (!IsKnownSegmentCount())
    {
        return false;
    }
    m_nBytesPerSample = (m_nSegments % 3 == 0) ? m_nSegments / 3 : m_nSegments;
    for (size_t i = 0; i < m_nSegments; ++i)
    {
        const size_t nOffset = ReadLittleEndian32(m_pFrame + 4 + 4 * i);
        const size_t nPrevious = (i == 0) ? kHeaderSize : m_segments[i - 1].nBegin;
        if (nOffset < nPrevious || nOffset > m_nFrameLength)
        {
            return false;
        }
        m_segments[i].nBegin = nOffset;
        if (i > 0)
        {
            m_segments[i - 1].nEnd = nOffset;
        }
    }
    m_segments[m_nSegments - 1].nEnd = m_nFrameLength;
    return true;
}

// Grey or colour samples of 1, 2 or 4 bytes; other counts have no layout the
// callers could use.
bool RleFrameDecoder::IsKnownSegmentCount() const
{
    switch (m_nSegments)
    {
    case 1:
    case 2:
    case 3:
    case 4:
    case 6:
    case 12:
        return true;
    default:
        return false;
    }
}

// Segment k carries byte (k mod b) counted from the most significant end of
// sample (k div b); in the output that byte sits at b - 1 - (k mod b) within
// its sample, little endian.
size_t RleFrameDecoder::GetInterleavedPosition(size_t nSegment) const
{
    const size_t nSample = nSegment / m_nBytesPerSample;
    const size_t nByteFromTop = nSegment % m_nBytesPerSample;
    return nSample * m_nBytesPerSample + (m_nBytesPerSample - 1 - nByteFromTop);
}

// A run header standing alone as the last byte of a segment is the padding to
// an even length and is ignored; any other run cut by the segment's end means
// the data is truncated.
size_t RleFrameDecoder::MeasureSegment(const Segment& segment, size_t nLimit) const
{
    size_t nLength = 0;
    size_t nPos = segment.nBegin;
    while (nPos < segment.nEnd)
    {
        const int nHeader = GetRunHeader(m_pFrame[nPos++]);
        if (nHeader == -128)
        {
            continue;
        }
        if (nPos == segment.nEnd)
        {
            break;
        }
        const size_t nRun =
            (nHeader >= 0) ? static_cast<size_t>(nHeader) + 1 : static_cast<size_t>(1 - nHeader);
        const size_t nConsumed = (nHeader >= 0) ? nRun : 1;
        if (nConsumed > segment.nEnd - nPos)
        {
            return kCutShort;
        }
        nPos += nConsumed;
        nLength += nRun;
        if (nLength > nLimit)
        {
            return kCutShort;
        }
    }
    return nLength;
}

void RleFrameDecoder::ExpandSegment(const Segment& segment, uint8_t* pOut, size_t nStride) const
{
    size_t nPos = segment.nBegin;
    while (nPos + 1 < segment.nEnd)
    {
        const int nHeader = GetRunHeader(m_pFrame[nPos++]);
        if (nHeader >= 0)
        {
            const size_t nRun = static_cast<size_t>(nHeader) + 1;
            const uint8_t* pIn = m_pFrame + nPos;
            if (nStride == 1)
            {
                std::memcpy(pOut, pIn, nRun);
            }
            else
            {
                for (size_t i = 0; i < nRun; ++i)
                {
                    pOut[i * nStride] = pIn[i];
                }
            }
            pOut += nRun * nStride;
            nPos += nRun;
        }
        else if (nHeader != -128)
        {
            const size_t nRun = static_cast<size_t>(1 - nHeader);
            const uint8_t value = m_pFrame[nPos++];
            if (nStride == 1)
            {
                std::memset(pOut, value, nRun);
            }
            else
            {
                for (size_t i = 0; i < nRun; ++i)
                {
                    pOut[i * nStride] = value;
                }
            }
            pOut += nRun * nStride;
        }
    }
}

void RleFrameDecoder::DoDecode(uint8_t* pOut) const
{
    for (size_t i = 0; i < m_nSegments; ++i)
    {
        ExpandSegment(m_segments[i], pOut + GetInterleavedPosition(i), m_nSegments);
    }
}
