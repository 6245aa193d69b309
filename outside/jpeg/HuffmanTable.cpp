#include "HuffmanTable.h"

#include "JpegTypes.h"

#include <algorithm>

namespace quorex
{

namespace
{
constexpr int kMaxCodeLength = 16;

// Assigns the canonical codes in order of length; throws when a length runs
// out of codes.
template <typename Visitor> void ForEachCode(const HuffmanSpec& spec, Visitor visit)
{
    uint32_t nCode = 0;
    size_t nIndex = 0;
    for (int nLength = 1; nLength <= kMaxCodeLength; ++nLength)
    {
        for (int i = 0; i < spec.counts[nLength - 1]; ++i)
        {
            if (nCode >= (1u << nLength))
            {
                throw JpegFormatError("Huffman code lengths overflow");
            }
            visit(nLength, nCode, nIndex);
            ++nCode;
            ++nIndex;
        }
        nCode <<= 1;
    }
}
} // namespace

HuffmanSpec ReadHuffmanSpec(SegmentCursor& cursor)
{
    HuffmanSpec spec;
    size_t nTotal = 0;
    for (uint8_t& nCount : spec.counts)
    {
        nCount = cursor.ReadByte();
        nTotal += nCount;
    }
    if (nTotal == 0 || nTotal > 256)
    {
        throw JpegFormatError("bad Huffman table size");
    }
    spec.symbols.resize(nTotal);
    for (uint8_t& nSymbol : spec.symbols)
    {
        nSymbol = cursor.ReadByte();
    }
    return spec;
}

void HuffmanDecodeTable::DoBuild(const HuffmanSpec& spec)
{
    m_lookup.fill(0);
    m_maxCode.fill(-1);
    m_valueOffset.fill(0);
    m_symbols = spec.symbols;
    ForEachCode(spec,
                [this](int nLength, uint32_t nCode, size_t nIndex)
                {
                    if (nLength <= kLookupBits)
                    {
                        const uint32_t nShift = kLookupBits - nLength;
                        const auto nEntry = static_cast<uint16_t>(nLength << 8 | m_symbols[nIndex]);
                        std::fill_n(m_lookup.begin() + (nCode << nShift), 1u << nShift, nEntry);
                    }
                    if (m_maxCode[nLength] < 0)
                    {
                        m_valueOffset[nLength] =
                            static_cast<int32_t>(nIndex) - static_cast<int32_t>(nCode);
                    }
                    m_maxCode[nLength] = static_cast<int32_t>(nCode);
                });
    m_bDefined = true;
}

int HuffmanDecodeTable::DecodeLongSymbol(EntropyReader& reader, uint32_t nPeek) const
{
    int nLength = 0;
    const int nSymbol = Resolve(nPeek, nLength);
    if (nSymbol < 0)
    {
        throw JpegFormatError("bad Huffman code");
    }
    reader.SkipBits(nLength);
    return nSymbol;
}

int HuffmanDecodeTable::Resolve(uint32_t nPeek, int& nLength) const
{
    const uint16_t nEntry = m_lookup[nPeek >> (kMaxCodeLength - kLookupBits)];
    if (nEntry != 0)
    {
        nLength = nEntry >> 8;
        return nEntry & 0xFF;
    }
    for (int nCodeLength = kLookupBits + 1; nCodeLength <= kMaxCodeLength; ++nCodeLength)
    {
        const auto nCode = static_cast<int32_t>(nPeek >> (kMaxCodeLength - nCodeLength));
        if (nCode <= m_maxCode[nCodeLength])
        {
            const auto nIndex = static_cast<size_t>(nCode + m_valueOffset[nCodeLength]);
            if (nIndex >= m_symbols.size())
            {
                return -1;
            }
            nLength = nCodeLength;
            return m_symbols[nIndex];
        }
    }
    return -1;
}

HuffmanEncodeTable::HuffmanEncodeTable(const HuffmanSpec& spec)
{
    ForEachCode(spec,
                [this, &spec](int nLength, uint32_t nCode, size_t nIndex)
                {
                    m_codes[spec.symbols[nIndex]] = static_cast<uint16_t>(nCode);
                    m_lengths[spec.symbols[nIndex]] = static_cast<uint8_t>(nLength);
                });
}

HuffmanSpec BuildOptimalSpec(const SymbolCounts& counts)
{
    // Symbol 256 is a reserved extra with the least weight: it takes the
    // all-ones code, which is then dropped.
    constexpr int kSymbols = 257;
    std::array<uint64_t, kSymbols> frequency{};
    std::copy(counts.begin(), counts.end(), frequency.begin());
    if (std::all_of(counts.begin(), counts.end(), [](uint32_t nCount) { return nCount == 0; }))
    {
        frequency[0] = 1; // a table must code something
    }
    frequency[256] = 1;
    std::array<int, kSymbols> codeSize{};
    std::array<int, kSymbols> next{};
    next.fill(-1);

    // Repeatedly merge the two least frequent trees (on ties the higher
    // symbol), growing the code size of every symbol in both.
    const auto findLeast = [&frequency](int nExcept)
    {
        int nLeast = -1;
        for (int i = 0; i < kSymbols; ++i)
        {
            if (frequency[i] != 0 && i != nExcept &&
                (nLeast < 0 || frequency[i] <= frequency[nLeast]))
            {
                nLeast = i;
            }
        }
        return nLeast;
    };
    for (;;)
    {
        const int nFirst = findLeast(-1);
        const int nSecond = findLeast(nFirst);
        if (nSecond < 0)
        {
            break;
        }
        frequency[nFirst] += frequency[nSecond];
        frequency[nSecond] = 0;
        int nLast = nFirst;
        for (++codeSize[nLast]; next[nLast] >= 0; ++codeSize[nLast])
        {
            nLast = next[nLast];
        }
        next[nLast] = nSecond;
        for (int i = nSecond; i >= 0; i = next[i])
        {
            ++codeSize[i];
        }
    }

    // Count the codes of each size, then shorten the tree until no code is
    // longer than 16 bits.
    std::array<int, 2 * kSymbols> bits{};
    for (int i = 0; i < kSymbols; ++i)
    {
        ++bits[codeSize[i]];
    }
    bits[0] = 0;
    for (int nSize = 2 * kSymbols - 1; nSize > kMaxCodeLength; --nSize)
    {
        while (bits[nSize] > 0)
        {
            int nShorter = nSize - 2;
            while (bits[nShorter] == 0)
            {
                --nShorter;
            }
            bits[nSize] -= 2;
            ++bits[nSize - 1];
            bits[nShorter + 1] += 2;
            --bits[nShorter];
        }
    }
    int nLongest = kMaxCodeLength;
    while (bits[nLongest] == 0)
    {
        --nLongest;
    }
    --bits[nLongest]; // the reserved symbol's code

    HuffmanSpec spec;
    for (int nSize = 1; nSize <= kMaxCodeLength; ++nSize)
    {
        spec.counts[nSize - 1] = static_cast<uint8_t>(bits[nSize]);
    }
    for (int nSize = 1; nSize < 2 * kSymbols; ++nSize)
    {
        for (int i = 0; i < 256; ++i)
        {
            if (codeSize[i] == nSize)
            {
                spec.symbols.push_back(static_cast<uint8_t>(i));
            }
        }
    }
    return spec;
}

} // namespace quorex
