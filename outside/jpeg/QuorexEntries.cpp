// The exported entries of "Quorex.dll". No exception leaves an entry: the
// caller is plain C.
#include "EntryGlue.h"
#include "Quorex.h"

using quorex::enLossyProcess;
using quorex::enSampleLayout;

namespace
{
unsigned char* DoEncodeLossy(const unsigned char* pRaw, int nRows, int nColumns, int nQuality,
                             int* pLength, enSampleLayout enLayout, enLossyProcess enProcess)
{
    return quorex::DoEncodeLossyEntry(pRaw, nRows, nColumns, nQuality, pLength, enLayout,
                                      enProcess);
}

unsigned char* DoEncodeLossless(const unsigned char* pRaw, int nRows, int nColumns, int* pLength,
                                enSampleLayout enLayout, int nPredictor)
{
    return quorex::DoEncodeLosslessEntry(pRaw, nRows, nColumns, pLength, enLayout, nPredictor);
}

unsigned char* DoDecode(const unsigned char* pData, int* pRows, int* pColumns, int nLength,
                        enSampleLayout enLayout)
{
    return quorex::DoDecodeEntry(pData, pRows, pColumns, nLength, enLayout);
}
// 0 lets the encoder choose the predictor.
constexpr int kBestPredictor = 0;
constexpr int kFirstPredictor = 1;
} // namespace

unsigned char* JPEGBaseline_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                       int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Grey8,
                         enLossyProcess::Baseline);
}

unsigned char* JPEGBaseline_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                       int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey8);
}

unsigned char* JPEGBaseline_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                      int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Rgb,
                         enLossyProcess::Baseline);
}

unsigned char* JPEGBaseline_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                      int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Rgb);
}

unsigned char* JPEGExtendedProc_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                           int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Grey8,
                         enLossyProcess::Extended);
}

unsigned char* JPEGExtendedProc_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                           int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey8);
}

unsigned char* JPEGExtendedProc_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                          int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Rgb,
                         enLossyProcess::Extended);
}

unsigned char* JPEGExtendedProc_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                          int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Rgb);
}

unsigned char* JPEGSpectralProc_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                           int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Grey8,
                         enLossyProcess::SpectralSelection);
}

unsigned char* JPEGSpectralProc_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                           int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey8);
}

unsigned char* JPEGSpectralProc_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                          int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Rgb,
                         enLossyProcess::SpectralSelection);
}

unsigned char* JPEGSpectralProc_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                          int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Rgb);
}

unsigned char* JPEGFullProgress_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                           int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Grey8,
                         enLossyProcess::FullProgression);
}

unsigned char* JPEGFullProgress_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                           int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey8);
}

unsigned char* JPEGFullProgress_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                          int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Rgb,
                         enLossyProcess::FullProgression);
}

unsigned char* JPEGFullProgress_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                          int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Rgb);
}

unsigned char* JPEGExtendedProc_12BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                            int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Grey12,
                         enLossyProcess::Extended);
}

unsigned char* JPEGExtendedProc_12BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                            int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey12);
}

unsigned char* JPEGSpectralProc_12BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                            int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Grey12,
                         enLossyProcess::SpectralSelection);
}

unsigned char* JPEGSpectralProc_12BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                            int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey12);
}

unsigned char* JPEGFullProgress_12BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                            int nQuality, int* pLength)
{
    return DoEncodeLossy(pRaw, nRows, nColumns, nQuality, pLength, enSampleLayout::Grey12,
                         enLossyProcess::FullProgression);
}

unsigned char* JPEGFullProgress_12BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                            int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey12);
}

unsigned char* JPEGProc14_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                     int* pLength)
{
    return DoEncodeLossless(pRaw, nRows, nColumns, pLength, enSampleLayout::Grey8, kBestPredictor);
}

unsigned char* JPEGProc14_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                     int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey8);
}

unsigned char* JPEGProc14_16BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                      int* pLength)
{
    return DoEncodeLossless(pRaw, nRows, nColumns, pLength, enSampleLayout::Grey16, kBestPredictor);
}

unsigned char* JPEGProc14_16BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                      int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey16);
}

unsigned char* JPEGProc14_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                    int* pLength)
{
    return DoEncodeLossless(pRaw, nRows, nColumns, pLength, enSampleLayout::Rgb, kBestPredictor);
}

unsigned char* JPEGProc14_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                    int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Rgb);
}

unsigned char* JPEGProc14SV1_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                        int* pLength)
{
    return DoEncodeLossless(pRaw, nRows, nColumns, pLength, enSampleLayout::Grey8, kFirstPredictor);
}

unsigned char* JPEGProc14SV1_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                        int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey8);
}

unsigned char* JPEGProc14SV1_16BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                         int* pLength)
{
    return DoEncodeLossless(pRaw, nRows, nColumns, pLength, enSampleLayout::Grey16,
                            kFirstPredictor);
}

unsigned char* JPEGProc14SV1_16BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                         int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Grey16);
}

unsigned char* JPEGProc14SV1_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                       int* pLength)
{
    return DoEncodeLossless(pRaw, nRows, nColumns, pLength, enSampleLayout::Rgb, kFirstPredictor);
}

unsigned char* JPEGProc14SV1_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                       int nLength)
{
    return DoDecode(pData, pRows, pColumns, nLength, enSampleLayout::Rgb);
}

void jpgdel(unsigned char* pBuffer)
{
    quorex::DoReleaseResult(pBuffer);
}
