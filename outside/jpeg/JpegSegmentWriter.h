// Writes the markers and header segments of the streams our own encoders make.
#pragma once

#include "HuffmanTable.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quorex
{

struct FrameComponent
{
    uint8_t nId;
    uint8_t nQuantTable;
};

struct ScanComponent
{
    uint8_t nId;
    uint8_t nDcTable;
    uint8_t nAcTable;
};

class JpegSegmentWriter
{
public:
    explicit JpegSegmentWriter(std::vector<uint8_t>& stream) : m_stream(stream) {}

    void WriteMarker(uint8_t nMarker);
    // Adobe segment saying the three components are R, G, B, not YCbCr.
    void WriteAdobeRgb();
    // 64 values in zigzag order; 16-bit precision when any exceeds 255.
    void WriteQuantTable(uint8_t nIndex, const std::array<uint16_t, 64>& zigzagValues);
    // nClass 0 for DC (and lossless), 1 for AC.
    void WriteHuffmanTable(uint8_t nClass, uint8_t nIndex, const HuffmanSpec& spec);
    // Every component sampled 1x1.
    void WriteFrameHeader(uint8_t nMarker, int nPrecision, int nRows, int nColumns,
                          const std::vector<FrameComponent>& components);
    void WriteScanHeader(const std::vector<ScanComponent>& components, int nSs, int nSe, int nAh,
                         int nAl);

private:
    void WriteWord(int nValue);
    void WriteSegmentStart(uint8_t nMarker, size_t nPayloadLength);

    std::vector<uint8_t>& m_stream;
};

} // namespace quorex
