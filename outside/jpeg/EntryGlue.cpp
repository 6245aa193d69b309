#include "EntryGlue.h"

#include "JpegCodec.h"

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
    if (pRows == nullptr || pColumns == nullptr)
    {
        return nullptr;
    }
    *pRows = 0;
    *pColumns = 0;
    if (pData == nullptr || nLength <= 0)
    {
        return nullptr;
    }
    try
    {
        DecodedImage image = JpegCodec::DoDecode(pData, static_cast<size_t>(nLength), enLayout);
        if (!image.IsValid())
        {
            return nullptr;
        }
        *pRows = image.nRows;
        *pColumns = image.nColumns;
        return image.pixels.release();
    }
    catch (...)
    {
        return nullptr;
    }
}

unsigned char* DoEncodeLossyEntry(const unsigned char* pRaw, int nRows, int nColumns, int nQuality,
                                  int* pLength, enSampleLayout enLayout, enLossyProcess enProcess)
{
    if (pLength == nullptr)
    {
        return nullptr;
    }
    *pLength = 0;
    try
    {
        return DoHandOver(
            JpegCodec::DoEncodeLossy(pRaw, nRows, nColumns, enLayout, enProcess, nQuality),
            pLength);
    }
    catch (...)
    {
        return nullptr;
    }
}

unsigned char* DoEncodeLosslessEntry(const unsigned char* pRaw, int nRows, int nColumns,
                                     int* pLength, enSampleLayout enLayout, int nPredictor)
{
    if (pLength == nullptr)
    {
        return nullptr;
    }
    *pLength = 0;
    try
    {
        return DoHandOver(JpegCodec::DoEncodeLossless(pRaw, nRows, nColumns, enLayout, nPredictor),
                          pLength);
    }
    catch (...)
    {
        return nullptr;
    }
}

void DoReleaseResult(unsigned char* pBuffer)
{
    delete[] pBuffer;
}

} // namespace quorex
