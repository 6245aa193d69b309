#include "JpegHeaderReader.h"

#include "JpegTypes.h"

#include <algorithm>

namespace quorex
{

namespace
{
bool IsSupportedFrame(uint8_t nMarker)
{
    return nMarker == marker::kSof0 || nMarker == marker::kSof1 || nMarker == marker::kSof2 ||
           nMarker == marker::kSof3;
}

int ReadTableIndex(uint8_t nValue)
{
    if (nValue >= JpegHeaderReader::kTableSlots)
    {
        throw JpegFormatError("table index out of range");
    }
    return nValue;
}
} // namespace

bool JpegHeaderReader::DoReadToScan()
{
    if (!m_bStarted)
    {
        if (!m_reader.DoReadStart())
        {
            throw JpegFormatError("no start of image");
        }
        m_bStarted = true;
    }
    for (uint8_t nMarker = m_reader.GetNextMarker(); nMarker != 0;
         nMarker = m_reader.GetNextMarker())
    {
        if (nMarker == marker::kEoi)
        {
            m_bAtEndOfImage = true;
            return false;
        }
        if (marker::IsStandalone(nMarker))
        {
            continue; // a stray restart marker between scans
        }
        const ByteSpan payload = m_reader.ReadSegment();
        if (marker::IsStartOfFrame(nMarker))
        {
            ReadFrame(nMarker, payload);
        }
        else if (nMarker == marker::kSos)
        {
            ReadScan(payload);
            return true;
        }
        else if (nMarker == marker::kDht)
        {
            ReadHuffmanTables(payload);
        }
        else if (nMarker == marker::kDqt)
        {
            ReadQuantTables(payload);
        }
        else if (nMarker == marker::kDri)
        {
            ReadRestartInterval(payload);
        }
        else if (nMarker == marker::kDnl || nMarker == marker::kDac)
        {
            throw JpegFormatError("line count or arithmetic coding not supported");
        }
        // Application segments, comments and the like carry nothing we need.
    }
    return false;
}

void JpegHeaderReader::ReadFrame(uint8_t nMarker, ByteSpan payload)
{
    if (m_bHasFrame || !IsSupportedFrame(nMarker))
    {
        throw JpegFormatError("second or unsupported frame header");
    }
    SegmentCursor cursor(payload);
    m_frame.nMarker = nMarker;
    m_frame.nPrecision = cursor.ReadByte();
    m_frame.nRows = cursor.ReadWord();
    m_frame.nColumns = cursor.ReadWord();
    const int nComponents = cursor.ReadByte();
    if (m_frame.nRows == 0 || m_frame.nColumns == 0 || nComponents < 1 || nComponents > 4)
    {
        throw JpegFormatError("bad frame size");
    }
    for (int i = 0; i < nComponents; ++i)
    {
        JpegComponent component;
        component.nId = cursor.ReadByte();
        const uint8_t nSampling = cursor.ReadByte();
        component.nH = nSampling >> 4;
        component.nV = nSampling & 15;
        component.nQuantTable = ReadTableIndex(cursor.ReadByte());
        const bool bDuplicate = std::any_of(m_frame.components.begin(), m_frame.components.end(),
                                            [&component](const JpegComponent& other)
                                            { return other.nId == component.nId; });
        if (component.nH < 1 || component.nH > 4 || component.nV < 1 || component.nV > 4 ||
            bDuplicate)
        {
            throw JpegFormatError("bad frame component");
        }
        m_frame.components.push_back(component);
    }
    m_bHasFrame = true;
}

void JpegHeaderReader::ReadScan(ByteSpan payload)
{
    if (!m_bHasFrame)
    {
        throw JpegFormatError("scan before the frame header");
    }
    SegmentCursor cursor(payload);
    const int nMembers = cursor.ReadByte();
    if (nMembers < 1 || nMembers > static_cast<int>(m_frame.components.size()))
    {
        throw JpegFormatError("bad scan component count");
    }
    m_scan.members.clear();
    for (int i = 0; i < nMembers; ++i)
    {
        const uint8_t nId = cursor.ReadByte();
        const uint8_t nTables = cursor.ReadByte();
        const auto found =
            std::find_if(m_frame.components.begin(), m_frame.components.end(),
                         [nId](const JpegComponent& component) { return component.nId == nId; });
        if (found == m_frame.components.end())
        {
            throw JpegFormatError("scan names an unknown component");
        }
        const int nComponent = static_cast<int>(found - m_frame.components.begin());
        const bool bRepeated = std::any_of(m_scan.members.begin(), m_scan.members.end(),
                                           [nComponent](const JpegScan::Member& member)
                                           { return member.nComponent == nComponent; });
        if (bRepeated)
        {
            throw JpegFormatError("component repeated in a scan");
        }
        m_scan.members.push_back({nComponent, ReadTableIndex(static_cast<uint8_t>(nTables >> 4)),
                                  ReadTableIndex(static_cast<uint8_t>(nTables & 15))});
    }
    m_scan.nSs = cursor.ReadByte();
    m_scan.nSe = cursor.ReadByte();
    const uint8_t nApproximation = cursor.ReadByte();
    m_scan.nAh = nApproximation >> 4;
    m_scan.nAl = nApproximation & 15;
}

void JpegHeaderReader::ReadHuffmanTables(ByteSpan payload)
{
    SegmentCursor cursor(payload);
    while (cursor.GetRemaining() > 0)
    {
        const uint8_t nTarget = cursor.ReadByte();
        const int nClass = nTarget >> 4;
        const int nIndex = ReadTableIndex(nTarget & 15);
        if (nClass > 1)
        {
            throw JpegFormatError("bad Huffman table class");
        }
        auto& tables = nClass == 0 ? m_dcTables : m_acTables;
        tables[nIndex].DoBuild(ReadHuffmanSpec(cursor));
    }
}

void JpegHeaderReader::ReadQuantTables(ByteSpan payload)
{
    SegmentCursor cursor(payload);
    while (cursor.GetRemaining() > 0)
    {
        const uint8_t nTarget = cursor.ReadByte();
        const int nPrecision = nTarget >> 4;
        const int nIndex = ReadTableIndex(nTarget & 15);
        if (nPrecision > 1)
        {
            throw JpegFormatError("bad quantisation table precision");
        }
        for (uint16_t& nValue : m_quantTables[nIndex])
        {
            nValue = nPrecision == 0 ? cursor.ReadByte() : cursor.ReadWord();
        }
        m_quantDefined[nIndex] = true;
    }
}

void JpegHeaderReader::ReadRestartInterval(ByteSpan payload)
{
    SegmentCursor cursor(payload);
    m_nRestartInterval = cursor.ReadWord();
}

const HuffmanDecodeTable& JpegHeaderReader::GetDcTable(int nIndex) const
{
    if (!m_dcTables[nIndex].IsDefined())
    {
        throw JpegFormatError("Huffman table not defined");
    }
    return m_dcTables[nIndex];
}

const HuffmanDecodeTable& JpegHeaderReader::GetAcTable(int nIndex) const
{
    if (!m_acTables[nIndex].IsDefined())
    {
        throw JpegFormatError("Huffman table not defined");
    }
    return m_acTables[nIndex];
}

const std::array<uint16_t, 64>& JpegHeaderReader::GetQuantTable(int nIndex) const
{
    if (!m_quantDefined[nIndex])
    {
        throw JpegFormatError("quantisation table not defined");
    }
    return m_quantTables[nIndex];
}

} // namespace quorex
