// Decode speed of RLE_Dec on real frames of the corpus, in frames per second.
#include "CorpusFrames.h"
#include "Vennet.h"

#include <benchmark/benchmark.h>

namespace
{
void DecodeFrames(benchmark::State& state, const char* pFile, size_t nFrames)
{
    const std::vector<ByteVector> frames = ReadEncapsulatedFrames(GetCorpusPath(pFile), nFrames);
    if (frames.size() != nFrames)
    {
        state.SkipWithError("corpus file not found or not readable");
        return;
    }
    size_t nNext = 0;
    for (auto _ : state)
    {
        const ByteVector& frame = frames[nNext];
        nNext = (nNext + 1) % frames.size();
        int nOutLength = 0;
        unsigned char* pOut = RLE_Dec(frame.data(), static_cast<int>(frame.size()), &nOutLength);
        if (pOut == nullptr)
        {
            state.SkipWithError("decode failed");
            return;
        }
        benchmark::DoNotOptimize(pOut);
        Vennet_DEL(pOut);
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
} // namespace

// 430 x 600, 8-bit palette colour indices, ten frames of an ultrasound cine.
BENCHMARK_CAPTURE(DecodeFrames, PaletteEcho8Bit, "octave-dicom/US-PAL-8-10x-echo.dcm", 10);
// 64 x 64, 16-bit grey.
BENCHMARK_CAPTURE(DecodeFrames, Mr16Bit, "pydicom/test_files/MR_small_RLE.dcm", 1);
// 100 x 100 RGB, 8 and 16 bits per sample.
BENCHMARK_CAPTURE(DecodeFrames, Rgb8Bit, "pydicom/test_files/SC_rgb_rle_2frame.dcm", 2);
BENCHMARK_CAPTURE(DecodeFrames, Rgb16Bit, "pydicom/test_files/SC_rgb_rle_16bit_2frame.dcm", 2);
