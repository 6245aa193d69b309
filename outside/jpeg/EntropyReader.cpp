#include "EntropyReader.h"

#include "JpegTypes.h"

#include <algorithm>
#include <cstring>

namespace quorex
{

EntropyReader::EntropyReader(ByteSpan stream, size_t nStart)
    : m_stream(stream), m_nPosition(std::min(nStart, stream.size()))
{
}

namespace
{
// Whether any of the eight bytes is 0xFF (a marker or a stuffed byte).
bool HasByteFF(uint64_t nWord)
{
    const uint64_t nInverse = ~nWord;
    return ((nInverse - 0x0101010101010101u) & ~nInverse & 0x8080808080808080u) != 0;
}
} // namespace

// Eight bytes at a time while none of them needs a look (0xFF), else byte
// by byte.
void EntropyReader::DoFill()
{
    if (!m_bAtMarker && m_nPosition + 8 <= m_stream.size())
    {
        uint64_t nWord = 0;
        std::memcpy(&nWord, m_stream.data() + m_nPosition, sizeof nWord);
        nWord = __builtin_bswap64(nWord);
        if (!HasByteFF(nWord))
        {
            const int nBytes = (64 - m_nBits) / 8;
            m_nBuffer =
                nBytes == 8 ? nWord : m_nBuffer << (8 * nBytes) | nWord >> (64 - 8 * nBytes);
            m_nBits += 8 * nBytes;
            m_nPosition += static_cast<size_t>(nBytes);
            return;
        }
    }
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
