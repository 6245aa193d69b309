// Marker codes and a bounded walk over the marker segments of a JPEG stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quorex
{

using ByteSpan = std::span<const uint8_t>;

namespace marker
{
constexpr uint8_t kSof0 = 0xC0; // baseline DCT
constexpr uint8_t kSof1 = 0xC1; // extended sequential DCT
constexpr uint8_t kSof2 = 0xC2; // progressive DCT
constexpr uint8_t kSof3 = 0xC3; // lossless
constexpr uint8_t kDht = 0xC4;
constexpr uint8_t kJpg = 0xC8;
constexpr uint8_t kDac = 0xCC;
constexpr uint8_t kRst0 = 0xD0;
constexpr uint8_t kRst7 = 0xD7;
constexpr uint8_t kSoi = 0xD8;
constexpr uint8_t kEoi = 0xD9;
constexpr uint8_t kSos = 0xDA;
constexpr uint8_t kDqt = 0xDB;
constexpr uint8_t kDnl = 0xDC;
constexpr uint8_t kDri = 0xDD;
constexpr uint8_t kApp0 = 0xE0;
constexpr uint8_t kApp14 = 0xEE;
constexpr uint8_t kTem = 0x01;

// A start-of-frame marker of any process (C0..CF without DHT, JPG and DAC).
bool IsStartOfFrame(uint8_t nMarker);
// Markers that stand alone, without a length and a payload.
bool IsStandalone(uint8_t nMarker);
} // namespace marker

// Walks a stream marker by marker. Stray bytes between segments are skipped as
// decoders customarily do; a length that runs past the end is an error.
class JpegMarkerReader
{
public:
    JpegMarkerReader(const uint8_t* pData, size_t nLength) : m_data(pData, nLength) {}

    // True when the stream starts with SOI; the position is then after it.
    bool DoReadStart();

    // The next marker code from the current position, or 0 at the end of the
    // data. The position is then just after the code.
    uint8_t GetNextMarker();

    // The payload of the segment at the current position (after its marker),
    // without the length field; the position moves past the segment.
    ByteSpan ReadSegment();

    size_t GetPosition() const { return m_nPosition; }
    void SetPosition(size_t nPosition) { m_nPosition = nPosition; }
    ByteSpan GetData() const { return m_data; }

private:
    ByteSpan m_data;
    size_t m_nPosition = 0;
};

// Bounded big-endian reading of one segment's payload.
class SegmentCursor
{
public:
    explicit SegmentCursor(ByteSpan payload) : m_payload(payload) {}

    uint8_t ReadByte();
    uint16_t ReadWord();
    void Skip(size_t nBytes);
    size_t GetRemaining() const { return m_payload.size() - m_nPosition; }

private:
    ByteSpan m_payload;
    size_t m_nPosition = 0;
};

// What the first frame header of a stream says; enough to choose a decoder.
struct FrameProbe
{
    uint8_t nMarker = 0;
    int32_t nPrecision = 0;
    int32_t nRows = 0;
    int32_t nColumns = 0;
    int32_t nComponents = 0;
};

// Reads the markers up to the first frame header; false when the stream does
// not start with SOI or ends (or reaches a scan) before a well-formed header.
bool DoProbeFrame(ByteSpan stream, FrameProbe& probe);

} // namespace quorex
