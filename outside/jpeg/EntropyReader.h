// Bit reader over the entropy-coded data of one scan. It removes the stuffed
// zero after each 0xFF byte, stops at the next marker and, past it, supplies
// zero bits; consuming any of those means the data ended too soon, which is
// an error.
#pragma once

#include "JpegMarkers.h"
#include "JpegTypes.h"

namespace quorex
{

class EntropyReader
{
public:
    // Reads from nStart up to the next marker of stream.
    EntropyReader(ByteSpan stream, size_t nStart);

    // The next nBits bits (at most 24) without consuming them.
    uint32_t PeekBits(int nBits)
    {
        if (m_nBits < nBits)
        {
            DoFill();
        }
        return static_cast<uint32_t>(m_nBuffer >> (m_nBits - nBits)) & ((1u << nBits) - 1);
    }

    void SkipBits(int nBits)
    {
        m_nBits -= nBits;
        if (m_nBits < m_nPaddingBits)
        {
            throw JpegFormatError("entropy-coded data ends too soon");
        }
    }

    uint32_t GetBits(int nBits)
    {
        if (nBits == 0)
        {
            return 0;
        }
        const uint32_t nValue = PeekBits(nBits);
        SkipBits(nBits);
        return nValue;
    }

    // nSize bits read as a difference of that magnitude category (the
    // "extend" step of the standard): 0..2^(n-1)-1 stand for negative values.
    int32_t GetSignedBits(int nSize)
    {
        if (nSize == 0)
        {
            return 0;
        }
        const auto nValue = static_cast<int32_t>(GetBits(nSize));
        return nValue < (1 << (nSize - 1)) ? nValue - (1 << nSize) + 1 : nValue;
    }

    // Drops the bits left of the current byte and reads the restart marker
    // that must come next (RST0 + nIndex % 8).
    void DoRestart(int nIndex);

    // Where the bytes after the consumed data begin: at the marker that ended
    // the scan, or before any bytes left unread in front of it.
    size_t GetPosition() const { return m_nPosition; }

private:
    void DoFill();

    ByteSpan m_stream;
    size_t m_nPosition;
    uint64_t m_nBuffer = 0;
    int m_nBits = 0;
    // The lowest bits of the buffer that are padding after the data ended.
    int m_nPaddingBits = 0;
    bool m_bAtMarker = false;
};

} // namespace quorex
