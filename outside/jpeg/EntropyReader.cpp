#include "EntropyReader.h"

#include "JpegTypes.h"

#include <algorithm>

namespace quorex
{

EntropyReader::EntropyReader(ByteSpan stream, size_t nStart)
    : m_stream(stream), m_nPosition(std::min(nStart, stream.size()))
{
}

void EntropyReader::DoFill()
{
    while (m_nBits <= 56)
    {
        uint8_t nByte = 0;
        if (!m_bAtMarker && m_nPosition < m_stream.size())
        {
            nByte = m_stream[m_nPosition];
            if (nByte != 0xFF)
            {
                ++m_nPosition;
            }
            else if (m_nPosition + 1 < m_stream.size() && m_stream[m_nPosition + 1] == 0x00)
            {
                m_nPosition += 2; // a stuffed data byte 0xFF
            }
            else
            {
                m_bAtMarker = true;
            }
        }
        else
        {
            m_bAtMarker = true;
        }
        if (m_bAtMarker)
        {
            nByte = 0;
            m_nPaddingBits += 8;
        }
        m_nBuffer = m_nBuffer << 8 | nByte;
        m_nBits += 8;
    }
}

void EntropyReader::DoRestart(int nIndex)
{
    m_nBuffer = 0;
    m_nBits = 0;
    m_nPaddingBits = 0;
    m_bAtMarker = false;
    JpegMarkerReader reader(m_stream.data(), m_stream.size());
    reader.SetPosition(m_nPosition);
    const uint8_t nExpected = static_cast<uint8_t>(marker::kRst0 + (nIndex & 7));
    if (reader.GetNextMarker() != nExpected)
    {
        throw JpegFormatError("restart marker missing");
    }
    m_nPosition = reader.GetPosition();
}

} // namespace quorex
