// Fuzz target: our own lossless decoder, into every layout its output fits.
#include "LosslessDecoder.h"
#include "SampleLayout.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nLength)
{
    try
    {
        const quorex::SampleImage image =
            quorex::LosslessDecoder::DoDecode(quorex::ByteSpan(pData, nLength));
        for (const auto enLayout : {quorex::enSampleLayout::Grey8, quorex::enSampleLayout::Grey16,
                                    quorex::enSampleLayout::Rgb})
        {
            quorex::ToLayout(image, enLayout);
        }
    }
    catch (const quorex::JpegFormatError&)
    {
    }
    return 0;
}
