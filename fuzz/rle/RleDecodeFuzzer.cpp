// Feeds arbitrary bytes to RLE_Dec as one frame. Seeds: the fragments of the
// corpus's RLE files (gdcmraw -S splits them into files).
#include "Vennet.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize > static_cast<size_t>(std::numeric_limits<int>::max()))
    {
        return 0;
    }
    int nOutLength = -1;
    unsigned char* pOut = RLE_Dec(pData, static_cast<int>(nSize), &nOutLength);
    if ((pOut == nullptr) != (nOutLength == 0))
    {
        std::abort();
    }
    if (pOut != nullptr)
    {
        // Touch every byte so that a short allocation shows up under ASan.
        volatile unsigned char sum = 0;
        for (int i = 0; i < nOutLength; ++i)
        {
            sum = static_cast<unsigned char>(sum + pOut[i]);
        }
        Vennet_DEL(pOut);
    }
    return 0;
}
