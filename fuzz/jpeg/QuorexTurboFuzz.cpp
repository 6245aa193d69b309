// Fuzz target: 8-bit DCT streams through libjpeg-turbo, into grey or RGB as
// the first byte says.
#include "JpegTypes.h"
#include "TurboDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nLength)
{
    if (nLength < 1)
    {
        return 0;
    }
    const quorex::enSampleLayout enLayout =
        (pData[0] & 1) != 0 ? quorex::enSampleLayout::Rgb : quorex::enSampleLayout::Grey8;
    quorex::DecodedImage image;
    if (quorex::TurboDecoder::DoDecode(pData + 1, nLength - 1, enLayout, image))
    {
        // Touch the last byte the decoder claims to have written.
        const size_t nBytes =
            size_t(image.nRows) * size_t(image.nColumns) * quorex::GetBytesPerSample(enLayout);
        volatile uint8_t nLast = image.pixels[nBytes - 1];
        (void)nLast;
    }
    return 0;
}
