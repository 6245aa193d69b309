// Bit writer for entropy-coded data: packs bits most significant first and
// stuffs a zero byte after every 0xFF.
#pragma once

#include <cstdint>
#include <vector>

namespace quorex
{

class EntropyWriter
{
public:
    explicit EntropyWriter(std::vector<uint8_t>& stream) : m_stream(stream) {}

    // Appends the low nBits (at most 24) bits of nValue.
    void PutBits(uint32_t nValue, int nBits)
    {
        m_nBuffer = m_nBuffer << nBits | (nValue & ((1u << nBits) - 1));
        m_nBits += nBits;
        while (m_nBits >= 8)
        {
            m_nBits -= 8;
            const auto nByte = static_cast<uint8_t>(m_nBuffer >> m_nBits);
            m_stream.push_back(nByte);
            if (nByte == 0xFF)
            {
                m_stream.push_back(0x00);
            }
        }
    }

    // Completes the last byte with one bits, as the standard asks.
    void DoFlush()
    {
        if (m_nBits > 0)
        {
            PutBits(0x7F, 8 - m_nBits);
        }
    }

private:
    std::vector<uint8_t>& m_stream;
    uint64_t m_nBuffer = 0;
    int m_nBits = 0;
};

} // namespace quorex
