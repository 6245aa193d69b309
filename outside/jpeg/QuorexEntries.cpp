// The exported entries of "Quorex.dll". No exception leaves an entry: the
// caller is plain C.
#include "EntryGlue.h"
#include "Quorex.h"

namespace
{
// 0 lets the encoder choose the predictor.
constexpr int kBestPredictor = 0;
constexpr int kFirstPredictor = 1;
} // namespace

// Every entry pair of the table is its process's encoder for one sample
// layout and the decoder into that layout, which reads whatever process the
// stream was coded in.
#define QUOREX_DECODE_ENTRY(name, layout)                                                          \
    unsigned char* name##Decode(const unsigned char* pData, int* pRows, int* pColumns,             \
                                int nLength)                                                       \
    {                                                                                              \
        return quorex::DoDecodeEntry(pData, pRows, pColumns, nLength,                              \
                                     quorex::enSampleLayout::layout);                              \
    }

// The 8-bit layouts also decode into a buffer the caller gives, which spares
// the caller a copy of the result.
#define QUOREX_DECODE_INTO_ENTRY(name, layout)                                                     \
    int name##DecodeInto(const unsigned char* pData, int nLength, unsigned char* pOut,             \
                         int nOutLength, int* pRows, int* pColumns)                                \
    {                                                                                              \
        return quorex::DoDecodeIntoEntry(pData, nLength, pOut, nOutLength, pRows, pColumns,        \
                                         quorex::enSampleLayout::layout);                          \
    }

#define QUOREX_LOSSY_ENTRIES(name, layout, process)                                                \
    unsigned char* name##Encode(const unsigned char* pRaw, int nRows, int nColumns, int nQuality,  \
                                int* pLength)                                                      \
    {                                                                                              \
        return quorex::DoEncodeLossyEntry(pRaw, nRows, nColumns, nQuality, pLength,                \
                                          quorex::enSampleLayout::layout,                          \
                                          quorex::enLossyProcess::process);                        \
    }                                                                                              \
    QUOREX_DECODE_ENTRY(name, layout)

#define QUOREX_LOSSLESS_ENTRIES(name, layout, predictor)                                           \
    unsigned char* name##Encode(const unsigned char* pRaw, int nRows, int nColumns, int* pLength)  \
    {                                                                                              \
        return quorex::DoEncodeLosslessEntry(pRaw, nRows, nColumns, pLength,                       \
                                             quorex::enSampleLayout::layout, predictor);           \
    }                                                                                              \
    QUOREX_DECODE_ENTRY(name, layout)

QUOREX_LOSSY_ENTRIES(JPEGBaseline_8Bit, Grey8, Baseline)
QUOREX_LOSSY_ENTRIES(JPEGBaseline_RGB, Rgb, Baseline)
QUOREX_LOSSY_ENTRIES(JPEGExtendedProc_8Bit, Grey8, Extended)
QUOREX_LOSSY_ENTRIES(JPEGExtendedProc_12Bit, Grey12, Extended)
QUOREX_LOSSY_ENTRIES(JPEGExtendedProc_RGB, Rgb, Extended)
QUOREX_LOSSY_ENTRIES(JPEGSpectralProc_8Bit, Grey8, SpectralSelection)
QUOREX_LOSSY_ENTRIES(JPEGSpectralProc_12Bit, Grey12, SpectralSelection)
QUOREX_LOSSY_ENTRIES(JPEGSpectralProc_RGB, Rgb, SpectralSelection)
QUOREX_LOSSY_ENTRIES(JPEGFullProgress_8Bit, Grey8, FullProgression)
QUOREX_LOSSY_ENTRIES(JPEGFullProgress_12Bit, Grey12, FullProgression)
QUOREX_LOSSY_ENTRIES(JPEGFullProgress_RGB, Rgb, FullProgression)
QUOREX_DECODE_ENTRY(JPEGBaseline_YBR, Coded)
QUOREX_DECODE_ENTRY(JPEGExtendedProc_YBR, Coded)
QUOREX_DECODE_ENTRY(JPEGSpectralProc_YBR, Coded)
QUOREX_DECODE_ENTRY(JPEGFullProgress_YBR, Coded)
QUOREX_DECODE_INTO_ENTRY(JPEGBaseline_8Bit, Grey8)
QUOREX_DECODE_INTO_ENTRY(JPEGBaseline_RGB, Rgb)
QUOREX_DECODE_INTO_ENTRY(JPEGBaseline_YBR, Coded)
QUOREX_DECODE_INTO_ENTRY(JPEGExtendedProc_8Bit, Grey8)
QUOREX_DECODE_INTO_ENTRY(JPEGExtendedProc_RGB, Rgb)
QUOREX_DECODE_INTO_ENTRY(JPEGExtendedProc_YBR, Coded)
QUOREX_DECODE_INTO_ENTRY(JPEGSpectralProc_8Bit, Grey8)
QUOREX_DECODE_INTO_ENTRY(JPEGSpectralProc_RGB, Rgb)
QUOREX_DECODE_INTO_ENTRY(JPEGSpectralProc_YBR, Coded)
QUOREX_DECODE_INTO_ENTRY(JPEGFullProgress_8Bit, Grey8)
QUOREX_DECODE_INTO_ENTRY(JPEGFullProgress_RGB, Rgb)
QUOREX_DECODE_INTO_ENTRY(JPEGFullProgress_YBR, Coded)
QUOREX_LOSSLESS_ENTRIES(JPEGProc14_8Bit, Grey8, kBestPredictor)
QUOREX_LOSSLESS_ENTRIES(JPEGProc14_16Bit, Grey16, kBestPredictor)
QUOREX_LOSSLESS_ENTRIES(JPEGProc14_RGB, Rgb, kBestPredictor)
QUOREX_LOSSLESS_ENTRIES(JPEGProc14SV1_8Bit, Grey8, kFirstPredictor)
QUOREX_LOSSLESS_ENTRIES(JPEGProc14SV1_16Bit, Grey16, kFirstPredictor)
QUOREX_LOSSLESS_ENTRIES(JPEGProc14SV1_RGB, Rgb, kFirstPredictor)

#undef QUOREX_LOSSLESS_ENTRIES
#undef QUOREX_LOSSY_ENTRIES
#undef QUOREX_DECODE_INTO_ENTRY
#undef QUOREX_DECODE_ENTRY

void jpgdel(unsigned char* pBuffer)
{
    quorex::DoReleaseResult(pBuffer);
}
