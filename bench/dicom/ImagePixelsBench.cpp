// Frames per second of the pixel-value work the viewer and the exports do
// on a 512 x 512 CT-like frame (12 bits in 16): the automatic window of the
// samples (one histogram pass), and the 8-bit display rendering of a frame
// (real-valued image, window table, reduction) through ImageProcess::Remap.
#include "DICOMImage.h"
#include "ImageProcess.h"
#include "SyntheticImages.h"
#include "UID.h"
#include "VeltaroLibrary.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{

constexpr int Side = 512;

void FillImage(DICOMImage& image, const std::vector<std::uint16_t>& samples)
{
    image.Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.2"));
    image.Add(0x0008, 0x0018, UID("1.2.840.84658685.99.2"));
    image.Add(0x0008, 0x0060, "CT");
    image.Add(0x0028, 0x0002, static_cast<unsigned short>(1));
    image.Add(0x0028, 0x0004, "MONOCHROME2");
    image.Add(0x0028, 0x0103, static_cast<unsigned short>(0));
    image.Add(0x0028, 0x1050, "40");
    image.Add(0x0028, 0x1051, "400");
    image.Add(0x0028, 0x1052, "-1024");
    image.Add(0x0028, 0x1053, "1");
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    const std::size_t bytes = samples.size() * sizeof(std::uint16_t);
    auto* buffer = new std::uint8_t[bytes];
    std::memcpy(buffer, samples.data(), bytes);
    image.CopyToPixelBuffer(buffer, static_cast<unsigned>(bytes), 0, Side, Side, 16, 12, 11);
}

void BM_AutoWindowLevelUnsigned16(benchmark::State& state)
{
    const std::vector<std::uint16_t> samples = MakeCtSlice(Side);
    int width = 0;
    int center = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(
            ImageProcess::AutoWindowLevel_UINT16(samples.data(), Side, Side, 12, &width, &center));
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AutoWindowLevelUnsigned16);

void BM_RemapFrame(benchmark::State& state)
{
    VeltaroInitialize();
    DICOMImage image;
    FillImage(image, MakeCtSlice(Side));
    for (auto _ : state)
    {
        ImageProcess process(image, 0);
        if (process.Remap() == 0)
        {
            state.SkipWithError("the frame did not remap");
            break;
        }
        benchmark::DoNotOptimize(process.m_pRawPixelData);
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    VeltaroUninitialize();
}
BENCHMARK(BM_RemapFrame);

} // namespace
