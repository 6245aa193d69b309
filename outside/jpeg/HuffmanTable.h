// Huffman tables as a DHT segment carries them, their decoding and encoding
// forms, and the construction of optimal tables from symbol counts.
#pragma once

#include "EntropyReader.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quorex
{

// Number of codes of each length 1..16, then the symbols in code order.
struct HuffmanSpec
{
    std::array<uint8_t, 16> counts{};
    std::vector<uint8_t> symbols;
};

// Reads the definition of one table from a DHT payload; throws when it is malformed.
HuffmanSpec ReadHuffmanSpec(SegmentCursor& cursor);

class HuffmanDecodeTable
{
public:
    // Throws when the counts do not describe a valid code.
    void DoBuild(const HuffmanSpec& spec);
    bool IsDefined() const { return m_bDefined; }

    int DecodeSymbol(EntropyReader& reader) const
    {
        const uint32_t nPeek = reader.PeekBits(16);
        const uint16_t nEntry = m_lookup[nPeek >> (16 - kLookupBits)];
        if (nEntry != 0)
        {
            reader.SkipBits(nEntry >> 8);
            return nEntry & 0xFF;
        }
        return DecodeLongSymbol(reader, nPeek);
    }

    // The symbol whose code begins the 16 bits of nPeek (first bit highest)
    // and the length of that code; -1 when no code of the table does.
    int Resolve(uint32_t nPeek, int& nLength) const;

private:
    static constexpr int kLookupBits = 9;

    int DecodeLongSymbol(EntropyReader& reader, uint32_t nPeek) const;

    bool m_bDefined = false;
    // Codes of up to kLookupBits bits: length << 8 | symbol, 0 for none.
    std::array<uint16_t, 1 << kLookupBits> m_lookup{};
    // Longer codes: the largest code of each length (-1 when none) and the
    // offset from a code to its symbol's index.
    std::array<int32_t, 17> m_maxCode{};
    std::array<int32_t, 17> m_valueOffset{};
    std::vector<uint8_t> m_symbols;
};

class HuffmanEncodeTable
{
public:
    explicit HuffmanEncodeTable(const HuffmanSpec& spec);

    uint16_t GetCode(uint8_t nSymbol) const { return m_codes[nSymbol]; }
    // 0 for a symbol the table cannot code.
    uint8_t GetLength(uint8_t nSymbol) const { return m_lengths[nSymbol]; }

private:
    std::array<uint16_t, 256> m_codes{};
    std::array<uint8_t, 256> m_lengths{};
};

// How often each symbol occurs in the data a table will code.
using SymbolCounts = std::array<uint32_t, 256>;

// The optimal table of codes of at most 16 bits for the counts; every symbol
// counted at least once gets a code, and no code is all ones.
HuffmanSpec BuildOptimalSpec(const SymbolCounts& counts);

} // namespace quorex
