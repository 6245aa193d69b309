// The window work of the viewer on a 512 x 512 signed 16-bit CT frame of the
// sample corpus: building the 8-bit display table of a 16-bit window
// (linear and sigmoid), mapping the frame through it, and both together.
// Where dcmtk is there, its DicomImage does the same work on the same file
// (a new window, then the 8-bit output) and the summary prints the ratio.
#include "DICOMImage.h"
#include "ImageProcess.h"
#include "MetaMatrix16.h"
#include "SigmoidVOILookupTable.h"
#include "TDWLookupTable.h"
#include "VeltaroLibrary.h"
#include "ViewerBenchSummaries.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#ifdef QUILLON_BENCH_DCMTK
#include <dcmtk/dcmimgle/dcmimage.h>
#endif

namespace
{

const std::string kFrameFile =
    std::string(SUITE_CORPUS_DIR) + "/octave-dicom/CT-MONO2-16-ankle.dcm";
constexpr int kCenter = 1024;
constexpr int kWidth = 4095;
const char kBuildAndMap[] = "Viewer/LinearWindow/BuildAndMap512";
const char kPeer[] = "Peer/dcmtk/WindowAndOutput512";

// The frame's stored samples, as the viewer holds them; empty when the
// corpus is missing.
std::unique_ptr<MetaMatrix16> LoadFrame()
{
    VeltaroInitialize();
    DICOMImage image;
    auto matrix = std::make_unique<MetaMatrix16>();
    if (image.ReadFile(kFrameFile.c_str()) != 0)
    {
        ImageProcess process(image, 0);
        if (process.ConvertToRaw() != 0)
        {
            auto* pixels = static_cast<char*>(process.Detach());
            matrix->Attach(pixels, 16, 16, 15, process.GetRows(), process.GetColumns(), -32767,
                           32767, 1, 1);
        }
    }
    VeltaroUninitialize();
    return matrix;
}

const MetaMatrix16& Frame()
{
    static const std::unique_ptr<MetaMatrix16> frame = LoadFrame();
    return *frame;
}

bool HasFrame(benchmark::State& state)
{
    if (Frame().GetWidth() != 512)
    {
        state.SkipWithError(("cannot read " + kFrameFile).c_str());
        return false;
    }
    return true;
}

void BuildLinearTable(benchmark::State& state)
{
    TDWLookupTable window;
    window.Init(-1024.0f, 1.0f, kWidth, kCenter);
    int step = 0;
    for (auto _ : state)
    {
        window.SetWindowLevel(kWidth, kCenter + (++step & 1));
        benchmark::DoNotOptimize(window.BuildTable());
    }
}

void BuildSigmoidTable(benchmark::State& state)
{
    SigmoidVOILookupTable sigmoid;
    int step = 0;
    for (auto _ : state)
    {
        sigmoid.SetWindowLevel(kWidth, kCenter + 1024 + (++step & 1));
        benchmark::DoNotOptimize(sigmoid.BuildTable());
    }
}

void MapFrame(benchmark::State& state)
{
    if (!HasFrame(state))
        return;
    TDWLookupTable window;
    window.Init(-1024.0f, 1.0f, kWidth, kCenter);
    std::uint8_t* table = window.BuildTable();
    for (auto _ : state)
    {
        const std::unique_ptr<MetaMatrix> map(Frame().GetPixmap(table));
        benchmark::DoNotOptimize(map->GetPixelData());
    }
}

void BuildAndMap(benchmark::State& state)
{
    if (!HasFrame(state))
        return;
    TDWLookupTable window;
    window.Init(-1024.0f, 1.0f, kWidth, kCenter);
    int step = 0;
    for (auto _ : state)
    {
        window.SetWindowLevel(kWidth, kCenter + (++step & 1));
        const std::unique_ptr<MetaMatrix> map(Frame().GetPixmap(window.BuildTable()));
        benchmark::DoNotOptimize(map->GetPixelData());
    }
}

BENCHMARK(BuildLinearTable)->Name("Viewer/LinearWindow/BuildTable")->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildSigmoidTable)->Name("Viewer/Sigmoid/BuildTable")->Unit(benchmark::kMicrosecond);
BENCHMARK(MapFrame)->Name("Viewer/LinearWindow/Map512")->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildAndMap)->Name(kBuildAndMap)->Unit(benchmark::kMicrosecond);

#ifdef QUILLON_BENCH_DCMTK
void PeerWindowAndOutput(benchmark::State& state)
{
    DicomImage image(kFrameFile.c_str());
    if (image.getStatus() != EIS_Normal)
    {
        state.SkipWithError(("dcmtk cannot read " + kFrameFile).c_str());
        return;
    }
    int step = 0;
    for (auto _ : state)
    {
        image.setWindow(kCenter + (++step & 1), kWidth);
        benchmark::DoNotOptimize(image.getOutputData(8));
    }
}
BENCHMARK(PeerWindowAndOutput)->Name(kPeer)->Unit(benchmark::kMicrosecond);
#endif

} // namespace

void PrintLookupTableSummary(const BenchTimes& times)
{
    const auto ours = times.find(kBuildAndMap);
    const auto peer = times.find(kPeer);
    if (ours == times.end() || peer == times.end() || peer->second <= 0.0)
        return;
    std::printf("\nNew window of a 512 x 512 16-bit frame to 8-bit levels: viewer %.3f ms, "
                "dcmtk %.3f ms, ratio %.2f\n",
                ours->second * 1e3, peer->second * 1e3, ours->second / peer->second);
}
