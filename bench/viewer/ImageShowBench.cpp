// The rendering chain of ImageShow on a loaded 512 x 512 signed 16-bit CT
// frame of the sample corpus: from the decoded frame to the displayed DIB at
// 1:1 and at a 1024 x 1024 fit (the field of view cut, scaled, mapped
// through the window and made a DIB), and a new window on the cached field
// of view. Where dcmtk is there, its DicomImage does the same on the same
// file (the window's 8-bit output, scaled for the fit) and the summary prints
// the ratios.
#include "ImageShow.h"
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

const std::string kFile = std::string(SUITE_CORPUS_DIR) + "/octave-dicom/CT-MONO2-16-ankle.dcm";
const char kOneToOne[] = "Viewer/Chain/FrameToDIB_1to1";
const char kFit[] = "Viewer/Chain/FrameToDIB_Fit1024";
const char kNewWindow[] = "Viewer/Chain/NewWindow_Fit1024";
const char kPeerOneToOne[] = "Peer/dcmtk/FrameToOutput_1to1";
const char kPeerFit[] = "Peer/dcmtk/FrameToOutput_Fit1024";

// An ImageShow with the frame decoded, or null without the corpus.
std::unique_ptr<ImageShow> LoadShow()
{
    VeltaroInitialize();
    Corvane holder;
    auto show = std::make_unique<ImageShow>();
    if (holder.LoadDicomFile(kFile.c_str()))
    {
        show->AttachCorvane(holder, 0);
        show->EnsureLoaded();
    }
    const SIZE size = show->GetImageSize();
    return size.cx == 512 && size.cy == 512 ? std::move(show) : nullptr;
}

ImageShow* Show()
{
    static const std::unique_ptr<ImageShow> show = LoadShow();
    return show.get();
}

// The chain from the decoded frame: the cached field of view is dropped, so
// every stage runs.
void FrameToDIB(benchmark::State& state, double zoom)
{
    ImageShow* show = Show();
    if (show == nullptr)
    {
        state.SkipWithError(("cannot load " + kFile).c_str());
        return;
    }
    show->SetZoom(zoom);
    for (auto _ : state)
    {
        show->SetViewRect({0, 0, 512, 512});
        show->BuildChain();
        show->InvokeChain();
        benchmark::DoNotOptimize(show->GetDIB().GetDIB());
    }
    if (show->GetDIB().GetWidth() != static_cast<LONG>(512 * zoom))
    {
        state.SkipWithError("the DIB does not have the displayed size");
    }
}

void FrameToDIBOneToOne(benchmark::State& state)
{
    FrameToDIB(state, 1.0);
}

void FrameToDIBFit(benchmark::State& state)
{
    FrameToDIB(state, 2.0);
}

// A window drag: the field of view stays, the map and the DIB are made again.
void NewWindow(benchmark::State& state)
{
    ImageShow* show = Show();
    if (show == nullptr)
    {
        state.SkipWithError(("cannot load " + kFile).c_str());
        return;
    }
    show->SetZoom(2.0);
    show->SetViewRect({0, 0, 512, 512});
    show->BuildChain();
    show->InvokeChain();
    int step = 0;
    for (auto _ : state)
    {
        show->SetWindowLevel(4095, 1024 + (++step & 1));
        show->BuildChain();
        show->InvokeChain();
        benchmark::DoNotOptimize(show->GetDIB().GetDIB());
    }
}

BENCHMARK(FrameToDIBOneToOne)->Name(kOneToOne)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameToDIBFit)->Name(kFit)->Unit(benchmark::kMillisecond);
BENCHMARK(NewWindow)->Name(kNewWindow)->Unit(benchmark::kMillisecond);

#ifdef QUILLON_BENCH_DCMTK
void PeerFrameToOutput(benchmark::State& state, bool fit)
{
    DicomImage image(kFile.c_str());
    if (image.getStatus() != EIS_Normal)
    {
        state.SkipWithError(("dcmtk cannot read " + kFile).c_str());
        return;
    }
    int step = 0;
    for (auto _ : state)
    {
        image.setWindow(1024 + (++step & 1), 4095);
        if (fit)
        {
            std::unique_ptr<DicomImage> scaled(image.createScaledImage(1024UL, 1024UL, 1));
            benchmark::DoNotOptimize(scaled->getOutputData(8));
        }
        else
        {
            benchmark::DoNotOptimize(image.getOutputData(8));
        }
    }
}

void PeerOneToOne(benchmark::State& state)
{
    PeerFrameToOutput(state, false);
}

void PeerFit(benchmark::State& state)
{
    PeerFrameToOutput(state, true);
}

BENCHMARK(PeerOneToOne)->Name(kPeerOneToOne)->Unit(benchmark::kMillisecond);
BENCHMARK(PeerFit)->Name(kPeerFit)->Unit(benchmark::kMillisecond);
#endif

void PrintRatio(const BenchTimes& times, const char* ours, const char* peer, const char* what)
{
    const auto mine = times.find(ours);
    const auto theirs = times.find(peer);
    if (mine == times.end())
        return;
    std::printf("  %-38s viewer %.3f ms", what, mine->second * 1e3);
    if (theirs != times.end() && theirs->second > 0.0)
        std::printf(", dcmtk %.3f ms, ratio %.2f", theirs->second * 1e3,
                    mine->second / theirs->second);
    std::printf("\n");
}

} // namespace

void PrintChainSummary(const BenchTimes& times)
{
    std::printf("\nLoaded 512 x 512 16-bit CT frame to the displayed DIB (goal: under 2 ms)\n");
    PrintRatio(times, kOneToOne, kPeerOneToOne, "at 1:1");
    PrintRatio(times, kFit, kPeerFit, "at a 1024 x 1024 fit");
    PrintRatio(times, kNewWindow, "", "a new window at the fit");
}
