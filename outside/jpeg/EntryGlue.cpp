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

int DoDecodeIntoEntry(const unsigned char* pData, int nLength, unsigned char* pOut, int nOutLength,
                      int* pRows, int* pColumns, enSampleLayout enLayout)
{
    // A missing target fails the way missing data does.
    const bool bHasTarget = pOut != nullptr && nOutLength > 0;
    const unsigned char* pDone = shim::GuardDecode(
        bHasTarget ? pData : nullptr, nLength, pRows, pColumns,
        [&]() -> unsigned char*
        {
            int32_t nRows = 0;
            int32_t nColumns = 0;
            if (!JpegCodec::DoDecodeInto(pData, static_cast<size_t>(nLength), enLayout, pOut,
                                         static_cast<size_t>(nOutLength), nRows, nColumns))
            {
                return nullptr;
            }
            *pRows = nRows;
            *pColumns = nColumns;
            return pOut;
        });
    return pDone != nullptr ? 1 : 0;
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
