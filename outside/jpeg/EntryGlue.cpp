#include "EntryGlue.h"

#include "JpegCodec.h"
#include "ShimEntryGuard.h"

namespace quorex
{

namespace
{
unsigned char* DoHandOver(EncodedStream stream, int* pLength)
{
    if (!stream.IsValid())
    {
        return nullptr;
    }
    *pLength = static_cast<int>(stream.nLength);
    return stream.data.release();
}
} // namespace

unsigned char* DoDecodeEntry(const unsigned char* pData, int* pRows, int* pColumns, int nLength,
                             enSampleLayout enLayout)
{
    return shim::GuardDecode(pData, nLength, pRows, pColumns,
                             [&]() -> unsigned char*
                             {
                                 DecodedImage image = JpegCodec::DoDecode(
                                     pData, static_cast<size_t>(nLength), enLayout);
                                 if (!image.IsValid())
                                 {
                                     return nullptr;
                                 }
                                 *pRows = image.nRows;
                                 *pColumns = image.nColumns;
                                 return image.pixels.release();
                             });
}

unsigned char* DoEncodeLossyEntry(const unsigned char* pRaw, int nRows, int nColumns, int nQuality,
                                  int* pLength, enSampleLayout enLayout, enLossyProcess enProcess)
{
    return shim::GuardLength(pLength,
                             [&]
                             {
                                 return DoHandOver(JpegCodec::DoEncodeLossy(pRaw, nRows, nColumns,
                                                                            enLayout, enProcess,
                                                                            nQuality),
                                                   pLength);
                             });
}

unsigned char* DoEncodeLosslessEntry(const unsigned char* pRaw, int nRows, int nColumns,
                                     int* pLength, enSampleLayout enLayout, int nPredictor)
{
    return shim::GuardLength(
        pLength,
        [&]
        {
            return DoHandOver(
                JpegCodec::DoEncodeLossless(pRaw, nRows, nColumns, enLayout, nPredictor), pLength);
        });
}

void DoReleaseResult(unsigned char* pBuffer)
{
    delete[] pBuffer;
}

} // namespace quorex
