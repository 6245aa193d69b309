// Decoder of one DICOM RLE frame into interleaved little-endian pixels.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class RleFrameDecoder
{
public:
    static constexpr size_t kHeaderSize = 64;
    static constexpr size_t kMaxSegments = 15;
    // No real frame comes near this; it keeps a hostile stream from asking for
    // more memory than a frame can need and keeps lengths within an int.
    static constexpr size_t kMaxOutputLength = size_t{1} << 30;

    RleFrameDecoder(const uint8_t* pFrame, size_t nFrameLength);

    // Reads the header and measures every segment; false when the frame is
    // malformed, truncated or its segments disagree on the pixel count.
    bool DoParse();

    // Valid after a successful DoParse.
    size_t GetOutputLength() const { return m_nPixels * m_nSegments; }

    // Expands the segments into pOut, GetOutputLength() bytes.
    void DoDecode(uint8_t* pOut) const;

private:
    struct Segment
    {
        size_t nBegin = 0;
        size_t nEnd = 0;
    };

    bool ReadHeader();
    bool IsKnownSegmentCount() const;
    size_t GetInterleavedPosition(size_t nSegment) const;

    // Length of a segment once expanded, or SIZE_MAX when it is cut short or
    // expands beyond nLimit.
    size_t MeasureSegment(const Segment& segment, size_t nLimit) const;
    void ExpandSegment(const Segment& segment, uint8_t* pOut, size_t nStride) const;

    const uint8_t* m_pFrame;
    size_t m_nFrameLength;
    size_t m_nSegments = 0;
    size_t m_nBytesPerSample = 0;
    size_t m_nPixels = 0;
    std::array<Segment, kMaxSegments> m_segments{};
};
