#include "Crc32.h"

#include <array>

namespace
{
std::array<uint32_t, 256> MakeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n)
    {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
        {
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}
} // namespace

uint32_t ComputeCrc32(const uint8_t* pData, size_t nLength)
{
    static const std::array<uint32_t, 256> kTable = MakeTable();
    uint32_t nCrc = 0xFFFFFFFFu;
    for (size_t i = 0; i < nLength; ++i)
    {
        nCrc = kTable[(nCrc ^ pData[i]) & 0xFF] ^ (nCrc >> 8);
    }
    return nCrc ^ 0xFFFFFFFFu;
}
