// Decode speed of the JPEG 2000 entries on frames of the corpus and on a
// CT-sized lossless frame coded here, in frames per second.
#include "CorpusFrames.h"
#include "Quoral2K.h"

#include <benchmark/benchmark.h>

namespace
{
void DecodeFrame(benchmark::State& state, PFN_J2kDecode pDecode, const ByteVector& frame)
{
    for (auto _ : state)
    {
        int nRows = 0;
        int nColumns = 0;
        unsigned char* pOut =
            pDecode(frame.data(), &nRows, &nColumns, static_cast<int>(frame.size()));
        if (pOut == nullptr)
        {
            state.SkipWithError("decode failed");
            return;
        }
        benchmark::DoNotOptimize(pOut);
        JPGDEL(pOut);
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void DecodeCorpusFrame(benchmark::State& state, PFN_J2kDecode pDecode, const char* pFile)
{
    const std::vector<ByteVector> frames = ReadEncapsulatedFrames(GetCorpusPath(pFile), 1);
    if (frames.size() != 1)
    {
        state.SkipWithError("corpus file not found or not readable");
        return;
    }
    DecodeFrame(state, pDecode, frames[0]);
}

// 512 x 512 signed 16-bit samples shaped like a CT slice, coded losslessly.
void DecodeLosslessCt(benchmark::State& state)
{
    ByteVector raw(512 * 512 * 2);
    for (size_t i = 0; i < raw.size() / 2; ++i)
    {
        const long nRow = static_cast<long>(i / 512) - 256;
        const long nColumn = static_cast<long>(i % 512) - 256;
        const long nValue =
            (nRow * nRow + nColumn * nColumn < 200 * 200) ? 40 + (i * 7919) % 23 : -1000;
        raw[2 * i] = static_cast<uint8_t>(nValue);
        raw[2 * i + 1] = static_cast<uint8_t>(nValue >> 8);
    }
    int nLength = 0;
    unsigned char* pCodestream = JP2_16BitEncode(raw.data(), 512, 512, &nLength, 1);
    if (pCodestream == nullptr)
    {
        state.SkipWithError("encode failed");
        return;
    }
    const ByteVector frame(pCodestream, pCodestream + nLength);
    JPGDEL(pCodestream);
    DecodeFrame(state, JP2_16BitDecode, frame);
}
} // namespace

// 512 x 512 signed 16-bit CT, irreversible.
BENCHMARK_CAPTURE(DecodeCorpusFrame, Ct16BitLossy, JPC_16BitDecode,
                  "pydicom/test_files/693_J2KI.dcm");
// 1024 x 256 signed 16-bit NM, irreversible.
BENCHMARK_CAPTURE(DecodeCorpusFrame, Nm16BitLossy, JPC_16BitDecode,
                  "pydicom/test_files/JPEG2000.dcm");
// 400 x 400 RGB, reversible, in a JP2 file.
BENCHMARK_CAPTURE(DecodeCorpusFrame, RgbLosslessJp2, JP2_RGBDecode,
                  "pydicom/test_files/GDCMJ2K_TextGBR.dcm");
// 64 x 64 signed 16-bit MR, reversible.
BENCHMARK_CAPTURE(DecodeCorpusFrame, Mr16BitLossless, JP2_16BitDecode,
                  "pydicom/test_files/MR_small_jp2klossless.dcm");
BENCHMARK(DecodeLosslessCt);
