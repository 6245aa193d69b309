#include "JpegMarkers.h"

#include "JpegTypes.h"

namespace quorex
{

namespace marker
{
bool IsStartOfFrame(uint8_t nMarker)
{
    return nMarker >= kSof0 && nMarker <= 0xCF && nMarker != kDht && nMarker != kJpg &&
           nMarker != kDac;
}

bool IsStandalone(uint8_t nMarker)
{
    return nMarker == kSoi || nMarker == kEoi || nMarker == kTem ||
           (nMarker >= kRst0 && nMarker <= kRst7);
}
} // namespace marker

bool JpegMarkerReader::DoReadStart()
{
    if (m_data.size() < 2 || m_data[0] != 0xFF || m_data[1] != marker::kSoi)
    {
        return false;
    }
    m_nPosition = 2;
    return true;
}

uint8_t JpegMarkerReader::GetNextMarker()
{
    while (m_nPosition + 1 < m_data.size())
    {
        if (m_data[m_nPosition] != 0xFF)
        {
            ++m_nPosition;
            continue;
        }
        const uint8_t nCode = m_data[m_nPosition + 1];
        if (nCode == 0xFF)
        {
            ++m_nPosition; // fill byte before a marker
            continue;
        }
        m_nPosition += 2;
        if (nCode != 0x00)
        {
            return nCode;
        }
    }
    m_nPosition = m_data.size();
    return 0;
}

ByteSpan JpegMarkerReader::ReadSegment()
{
    if (m_nPosition + 2 > m_data.size())
    {
        throw JpegFormatError("segment length missing");
    }
    const size_t nLength = size_t{m_data[m_nPosition]} << 8 | m_data[m_nPosition + 1];
    if (nLength < 2 || nLength > m_data.size() - m_nPosition)
    {
        throw JpegFormatError("segment runs past the end");
    }
    const ByteSpan payload = m_data.subspan(m_nPosition + 2, nLength - 2);
    m_nPosition += nLength;
    return payload;
}

uint8_t SegmentCursor::ReadByte()
{
    if (m_nPosition >= m_payload.size())
    {
        throw JpegFormatError("segment too short");
    }
    return m_payload[m_nPosition++];
}

uint16_t SegmentCursor::ReadWord()
{
    const uint16_t nHigh = ReadByte();
    return static_cast<uint16_t>(nHigh << 8 | ReadByte());
}

void SegmentCursor::Skip(size_t nBytes)
{
    if (nBytes > GetRemaining())
    {
        throw JpegFormatError("segment too short");
    }
    m_nPosition += nBytes;
}

bool DoProbeFrame(ByteSpan stream, FrameProbe& probe)
{
    try
    {
        JpegMarkerReader reader(stream.data(), stream.size());
        if (!reader.DoReadStart())
        {
            return false;
        }
        for (uint8_t nMarker = reader.GetNextMarker(); nMarker != 0;
             nMarker = reader.GetNextMarker())
        {
            if (nMarker == marker::kSos || nMarker == marker::kEoi)
            {
                return false;
            }
            if (marker::IsStandalone(nMarker))
            {
                continue;
            }
            const ByteSpan payload = reader.ReadSegment();
            if (marker::IsStartOfFrame(nMarker))
            {
                SegmentCursor cursor(payload);
                probe.nMarker = nMarker;
                probe.nPrecision = cursor.ReadByte();
                probe.nRows = cursor.ReadWord();
                probe.nColumns = cursor.ReadWord();
                probe.nComponents = cursor.ReadByte();
                return true;
            }
        }
    }
    catch (const JpegFormatError&)
    {
    }
    return false;
}

} // namespace quorex
