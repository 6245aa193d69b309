#include "JpegCodec.h"

#include "Dct12Decoder.h"
#include "Dct12Encoder.h"
#include "JpegMarkers.h"
#include "LosslessDecoder.h"
#include "LosslessEncoder.h"
#include "SampleLayout.h"
#include "TurboDecoder.h"
#include "TurboEncoder.h"

namespace quorex
{

namespace
{
bool IsDctFrame(uint8_t nMarker)
{
    return nMarker == marker::kSof0 || nMarker == marker::kSof1 || nMarker == marker::kSof2;
}

bool IsValidGeometry(const uint8_t* pRaw, int32_t nRows, int32_t nColumns)
{
    return pRaw != nullptr && nRows > 0 && nColumns > 0 && nRows <= kMaxDimension &&
           nColumns <= kMaxDimension;
}

// 8-bit samples widened to the two-byte little-endian layout.
DecodedImage DoWiden(const DecodedImage& narrow)
{
    const size_t nSamples = size_t(narrow.nRows) * size_t(narrow.nColumns);
    DecodedImage wide;
    wide.pixels = AllocateResult(nSamples * 2);
    if (wide.pixels != nullptr)
    {
        for (size_t i = 0; i < nSamples; ++i)
        {
            wide.pixels[2 * i] = narrow.pixels[i];
            wide.pixels[2 * i + 1] = 0;
        }
        wide.nRows = narrow.nRows;
        wide.nColumns = narrow.nColumns;
    }
    return wide;
}

// The layouts libjpeg-turbo delivers itself; the others are widened after.
bool IsTurboLayout(enSampleLayout enLayout)
{
    return enLayout == enSampleLayout::Grey8 || enLayout == enSampleLayout::Rgb ||
           enLayout == enSampleLayout::Coded;
}

DecodedImage DoDecodeTurbo(const uint8_t* pData, size_t nLength, enSampleLayout enLayout)
{
    DecodedImage image;
    if (IsTurboLayout(enLayout))
    {
        TurboDecoder::DoDecode(pData, nLength, enLayout, image);
        return image;
    }
    if (!TurboDecoder::DoDecode(pData, nLength, enSampleLayout::Grey8, image))
    {
        return image;
    }
    return DoWiden(image);
}
} // namespace

DecodedImage JpegCodec::DoDecode(const uint8_t* pData, size_t nLength, enSampleLayout enLayout)
{
    FrameProbe probe;
    if (pData == nullptr || !DoProbeFrame(ByteSpan(pData, nLength), probe))
    {
        return {};
    }
    if (IsDctFrame(probe.nMarker) && probe.nPrecision == 8)
    {
        return DoDecodeTurbo(pData, nLength, enLayout);
    }
    try
    {
        if (IsDctFrame(probe.nMarker) && probe.nPrecision == 12)
        {
            return ToLayout(Dct12Decoder::DoDecode(ByteSpan(pData, nLength)), enLayout);
        }
        if (probe.nMarker == marker::kSof3)
        {
            return LosslessDecoder::DoDecode(ByteSpan(pData, nLength), enLayout);
        }
    }
    catch (const JpegFormatError&)
    {
    }
    return {};
}

bool JpegCodec::DoDecodeInto(const uint8_t* pData, size_t nLength, enSampleLayout enLayout,
                             uint8_t* pTarget, size_t nTargetLength, int32_t& nRows,
                             int32_t& nColumns)
{
    FrameProbe probe;
    if (pData == nullptr || !DoProbeFrame(ByteSpan(pData, nLength), probe) ||
        !IsDctFrame(probe.nMarker) || probe.nPrecision != 8 || !IsTurboLayout(enLayout))
    {
        return false;
    }
    return TurboDecoder::DoDecodeInto(pData, nLength, enLayout, pTarget, nTargetLength, nRows,
                                      nColumns);
}

EncodedStream JpegCodec::DoEncodeLossy(const uint8_t* pRaw, int32_t nRows, int32_t nColumns,
                                       enSampleLayout enLayout, enLossyProcess enProcess,
                                       int32_t nQuality)
{
    if (!IsValidGeometry(pRaw, nRows, nColumns))
    {
        return {};
    }
    if (enLayout == enSampleLayout::Grey8 || enLayout == enSampleLayout::Rgb)
    {
        return TurboEncoder::DoEncode(pRaw, nRows, nColumns, enLayout, enProcess, nQuality);
    }
    if (enLayout == enSampleLayout::Grey12)
    {
        return CopyToResult(Dct12Encoder::DoEncode(FromLayout(pRaw, nRows, nColumns, enLayout),
                                                   enProcess, nQuality));
    }
    return {};
}

EncodedStream JpegCodec::DoEncodeLossless(const uint8_t* pRaw, int32_t nRows, int32_t nColumns,
                                          enSampleLayout enLayout, int nPredictor)
{
    if (!IsValidGeometry(pRaw, nRows, nColumns) || enLayout == enSampleLayout::Grey12)
    {
        return {};
    }
    return CopyToResult(
        LosslessEncoder::DoEncode(FromLayout(pRaw, nRows, nColumns, enLayout), nPredictor));
}

} // namespace quorex
