// Feeds arbitrary bytes to the JPEG 2000 decode entries. The first byte picks
// the entry (8Bit, 16Bit or RGB), the rest is the stream. Seeds: the
// corpus's JPEG 2000 fragments (gdcmraw -S), each behind a selector byte,
// and seeds/, the inputs that once showed a fault.
#include "Quoral2K.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize < 1 || nSize - 1 > static_cast<size_t>(std::numeric_limits<int>::max()))
    {
        return 0;
    }
    static constexpr PFN_J2kDecode kDecoders[] = {JPC_8BitDecode, JPC_16BitDecode, JPC_RGBDecode};
    static constexpr int kPixelBytes[] = {1, 2, 3};
    const size_t nEntry = pData[0] % 3;
    int nRows = -1;
    int nColumns = -1;
    unsigned char* pOut =
        kDecoders[nEntry](pData + 1, &nRows, &nColumns, static_cast<int>(nSize - 1));
    if (pOut == nullptr)
    {
        if (nRows != 0 || nColumns != 0)
        {
            std::abort();
        }
        return 0;
    }
    if (nRows <= 0 || nColumns <= 0 || nRows > 65535 || nColumns > 65535)
    {
        std::abort();
    }
    // Touch the last byte so that a short allocation shows up under ASan.
    const size_t nLength = static_cast<size_t>(nRows) * static_cast<size_t>(nColumns) *
                           static_cast<size_t>(kPixelBytes[nEntry]);
    volatile unsigned char last = pOut[nLength - 1];
    (void)last;
    JPGDEL(pOut);
    return 0;
}
