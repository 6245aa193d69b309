// Opening a series into an image view's layout: 500 small single-frame CT
// files (64 x 64, 16-bit) of one series, each read without its pixel data
// into a handle, wrapped in an ImageShow and opened into the layout by its
// Series Instance UID, until the first page (six panes) is decoded and its
// display images are made: the time from a folder of files to a view ready
// to paint. Reading the 500 headers alone is measured beside it.
#include "BenchImages.h"
#include "Corvane.h"
#include "DICOMImage.h"
#include "ImageLayout.h"
#include "ImageShow.h"
#include "UID.h"
#include "VeltaroLibrary.h"
#include "ViewerBenchSummaries.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

constexpr int kFiles = 500;
constexpr int kSide = 64;
const char kOpen[] = "Viewer/Layout/Open500ToFirstPage";
const char kHeaders[] = "Viewer/Layout/Read500Headers";
const char kSeries[] = "1.2.826.0.1.3680043.8.27.2";

// The files, written once per run into the temporary folder; empty when
// they cannot be written.
const std::vector<std::string>& Files()
{
    static const std::vector<std::string> files = WriteSmallSeries(
        fs::temp_directory_path() / "quillon_layout_bench", kFiles, kSide, kSeries);
    return files;
}

bool HasFiles(benchmark::State& state)
{
    if (Files().empty())
    {
        state.SkipWithError("cannot write the series files");
        return false;
    }
    return true;
}

void ReadHeaders(benchmark::State& state)
{
    if (!HasFiles(state))
    {
        return;
    }
    for (auto _ : state)
    {
        for (const std::string& path : Files())
        {
            Corvane holder;
            benchmark::DoNotOptimize(holder.LoadDicomFile(path.c_str()));
        }
    }
}

// As a host hands files to a view: one load transaction, the first image
// shown, the series sortable.
void OpenToFirstPage(benchmark::State& state)
{
    if (!HasFiles(state))
    {
        return;
    }
    int painted = 0;
    for (auto _ : state)
    {
        ImageLayout layout;
        layout.DisableEventTrace();
        for (const std::string& path : Files())
        {
            Corvane holder;
            holder.LoadDicomFile(path.c_str());
            holder.SetTransactionID(1);
            holder.ShowImage(true);
            holder.SetToBeSorted(true);
            auto* show = new ImageShow;
            show->AttachCorvane(holder, 0);
            const int series = layout.FindSeriesBySeriesUID(show->GetDicomValue(0x0020, 0x000E));
            layout.OpenShowAtLayout(show, series >= 0 ? series : layout.GetNbOfSeries());
        }
        painted = 0;
        for (auto* node = layout.GetShownImages().GetHead(); node != nullptr; node = node->next)
        {
            node->item->BuildFullViewDIB();
            painted += node->item->GetDIB().IsEmpty() ? 0 : 1;
        }
        benchmark::DoNotOptimize(painted);
    }
    if (painted != ImageLayout::DefaultPageSize)
    {
        state.SkipWithError("the first page was not made ready to paint");
    }
}

BENCHMARK(ReadHeaders)->Name(kHeaders)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenToFirstPage)->Name(kOpen)->Unit(benchmark::kMillisecond);

} // namespace

void PrintLayoutSummary(const BenchTimes& times)
{
    std::printf(
        "\n500-image series of small files into a layout (goal: first page under 200 ms)\n");
    const double open = GetBenchTime(times, kOpen);
    const double headers = GetBenchTime(times, kHeaders);
    if (open > 0.0)
    {
        std::printf("  to the first page ready to paint       %.3f ms\n", open * 1e3);
    }
    if (headers > 0.0)
    {
        std::printf("  the 500 headers alone                  %.3f ms\n", headers * 1e3);
    }
}
