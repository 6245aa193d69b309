// CRC-32 (the polynomial of zlib and PNG), to compare decoded pixels with the
// checksums the reference scripts keep.
#pragma once

#include <cstddef>
#include <cstdint>

uint32_t ComputeCrc32(const uint8_t* pData, size_t nLength);
