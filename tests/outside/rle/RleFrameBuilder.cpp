#include "RleFrameBuilder.h"

#include <algorithm>

namespace
{
size_t CountRepeats(const ByteVector& bytes, size_t nPos)
{
    size_t nCount = 1;
    while (nPos + nCount < bytes.size() && nCount < 128 && bytes[nPos + nCount] == bytes[nPos])
    {
        ++nCount;
    }
    return nCount;
}

void AppendLittleEndian32(ByteVector& out, uint32_t nValue)
{
    for (int i = 0; i < 4; ++i)
    {
        out.push_back(static_cast<uint8_t>(nValue >> (8 * i)));
    }
}
} // namespace

ByteVector EncodeRleSegment(const ByteVector& bytes)
{
    ByteVector out;
    size_t nPos = 0;
    while (nPos < bytes.size())
    {
        const size_t nRepeats = CountRepeats(bytes, nPos);
        if (nRepeats >= 3)
        {
            out.push_back(static_cast<uint8_t>(1 - static_cast<int>(nRepeats)));
            out.push_back(bytes[nPos]);
            nPos += nRepeats;
            continue;
        }
        size_t nEnd = nPos;
        while (nEnd < bytes.size() && nEnd - nPos < 128 && CountRepeats(bytes, nEnd) < 3)
        {
            ++nEnd;
        }
        out.push_back(static_cast<uint8_t>(nEnd - nPos - 1));
        out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(nPos),
                   bytes.begin() + static_cast<std::ptrdiff_t>(nEnd));
        nPos = nEnd;
    }
    return out;
}

ByteVector BuildRleFrame(const std::vector<ByteVector>& segments, int nPad)
{
    ByteVector frame;
    AppendLittleEndian32(frame, static_cast<uint32_t>(segments.size()));
    uint32_t nOffset = 64;
    for (size_t i = 0; i < 15; ++i)
    {
        AppendLittleEndian32(frame, i < segments.size() ? nOffset : 0);
        if (i < segments.size())
        {
            nOffset += static_cast<uint32_t>(segments[i].size()) + (nPad >= 0 ? 1 : 0);
        }
    }
    for (const ByteVector& segment : segments)
    {
        frame.insert(frame.end(), segment.begin(), segment.end());
        if (nPad >= 0)
        {
            frame.push_back(static_cast<uint8_t>(nPad));
        }
    }
    return frame;
}

ByteVector EncodeRleFrame(const ByteVector& pixels, size_t nSamples, size_t nBytesPerSample,
                          int nPad)
{
    const size_t nPixelBytes = nSamples * nBytesPerSample;
    std::vector<ByteVector> segments;
    for (size_t nSample = 0; nSample < nSamples; ++nSample)
    {
        for (size_t nByte = nBytesPerSample; nByte-- > 0;)
        {
            ByteVector plane;
            for (size_t nPos = nSample * nBytesPerSample + nByte; nPos < pixels.size();
                 nPos += nPixelBytes)
            {
                plane.push_back(pixels[nPos]);
            }
            segments.push_back(EncodeRleSegment(plane));
        }
    }
    return BuildRleFrame(segments, nPad);
}
