#include "JpegSegmentWriter.h"

#include "JpegMarkers.h"

#include <algorithm>

namespace quorex
{

void JpegSegmentWriter::WriteWord(int nValue)
{
    m_stream.push_back(static_cast<uint8_t>(nValue >> 8));
    m_stream.push_back(static_cast<uint8_t>(nValue & 0xFF));
}

void JpegSegmentWriter::WriteMarker(uint8_t nMarker)
{
    m_stream.push_back(0xFF);
    m_stream.push_back(nMarker);
}

void JpegSegmentWriter::WriteSegmentStart(uint8_t nMarker, size_t nPayloadLength)
{
    WriteMarker(nMarker);
    WriteWord(static_cast<int>(nPayloadLength + 2));
}

void JpegSegmentWriter::WriteAdobeRgb()
{
    static constexpr uint8_t kPayload[] = {'A', 'd', 'o', 'b', 'e', 0, 100, 0, 0, 0, 0, 0};
    WriteSegmentStart(marker::kApp14, sizeof(kPayload));
    m_stream.insert(m_stream.end(), std::begin(kPayload), std::end(kPayload));
}

void JpegSegmentWriter::WriteQuantTable(uint8_t nIndex,
                                        const std::array<uint16_t, 64>& zigzagValues)
{
    const bool bWide = std::any_of(zigzagValues.begin(), zigzagValues.end(),
                                   [](uint16_t nValue) { return nValue > 255; });
    WriteSegmentStart(marker::kDqt, 1 + 64 * (bWide ? 2 : 1));
    m_stream.push_back(static_cast<uint8_t>((bWide ? 0x10 : 0x00) | nIndex));
    for (const uint16_t nValue : zigzagValues)
    {
        if (bWide)
        {
            WriteWord(nValue);
        }
        else
        {
            m_stream.push_back(static_cast<uint8_t>(nValue));
        }
    }
}

void JpegSegmentWriter::WriteHuffmanTable(uint8_t nClass, uint8_t nIndex, const HuffmanSpec& spec)
{
    WriteSegmentStart(marker::kDht, 1 + 16 + spec.symbols.size());
    m_stream.push_back(static_cast<uint8_t>(nClass << 4 | nIndex));
    m_stream.insert(m_stream.end(), spec.counts.begin(), spec.counts.end());
    m_stream.insert(m_stream.end(), spec.symbols.begin(), spec.symbols.end());
}

void JpegSegmentWriter::WriteFrameHeader(uint8_t nMarker, int nPrecision, int nRows, int nColumns,
                                         const std::vector<FrameComponent>& components)
{
    WriteSegmentStart(nMarker, 6 + 3 * components.size());
    m_stream.push_back(static_cast<uint8_t>(nPrecision));
    WriteWord(nRows);
    WriteWord(nColumns);
    m_stream.push_back(static_cast<uint8_t>(components.size()));
    for (const FrameComponent& component : components)
    {
        m_stream.push_back(component.nId);
        m_stream.push_back(0x11);
        m_stream.push_back(component.nQuantTable);
    }
}

void JpegSegmentWriter::WriteScanHeader(const std::vector<ScanComponent>& components, int nSs,
                                        int nSe, int nAh, int nAl)
{
    WriteSegmentStart(marker::kSos, 4 + 2 * components.size());
    m_stream.push_back(static_cast<uint8_t>(components.size()));
    for (const ScanComponent& component : components)
    {
        m_stream.push_back(component.nId);
        m_stream.push_back(static_cast<uint8_t>(component.nDcTable << 4 | component.nAcTable));
    }
    m_stream.push_back(static_cast<uint8_t>(nSs));
    m_stream.push_back(static_cast<uint8_t>(nSe));
    m_stream.push_back(static_cast<uint8_t>(nAh << 4 | nAl));
}

} // namespace quorex
