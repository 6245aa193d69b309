// Fuzz target: our own 12-bit DCT decoder, sequential and progressive.
#include "Dct12Decoder.h"
#include "SampleLayout.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nLength)
{
    try
    {
        const quorex::SampleImage image =
            quorex::Dct12Decoder::DoDecode(quorex::ByteSpan(pData, nLength));
        quorex::ToLayout(image, quorex::enSampleLayout::Grey12);
    }
    catch (const quorex::JpegFormatError&)
    {
    }
    return 0;
}
