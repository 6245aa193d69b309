// Opening a folder into an image view: 1,000 and 4,000 single-frame images
// of one series (copies of a 128 x 128 CT of the sample corpus, their data
// sets read already, as the folder loader hands them over) opened one by one
// into a 2x2 view by their Series Instance UID. Each open asks whether the
// view holds the series and the image already; the time per image shows
// whether that bookkeeping stays the same as the view fills (linear growth)
// or grows with the images held. Only the first page is decoded.
#include "CImageView.h"
#include "Corvane.h"
#include "DICOMImage.h"
#include "UID.h"
#include "VeltaroLibrary.h"

#include "AfxWin.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

const std::string kSlice = std::string(SUITE_CORPUS_DIR) + "/pydicom/test_files/CT_small.dcm";
const char kOpen[] = "Viewer/ImageView/OpenFolderInto2x2";

// The images of the folder, each a data set of its own.
std::vector<Corvane> MakeHolders(const DICOMImage& slice, int count)
{
    std::vector<Corvane> holders;
    holders.reserve(std::size_t(count));
    for (int number = 1; number <= count; ++number)
    {
        auto* image = new DICOMImage(static_cast<const DICOMVRSet&>(slice));
        const std::string sop = "1.2.826.0.1.3680043.2.1125.7." + std::to_string(number);
        image->Add(0x0008, 0x0018, UID(sop.c_str()));
        image->Add(0x0020, 0x0013, std::to_string(number).c_str());
        holders.emplace_back(image);
        holders.back().SetTransactionID(1);
    }
    return holders;
}

void BM_OpenFolder(benchmark::State& state)
{
    VeltaroInitialize();
    DICOMImage slice;
    if (slice.ReadFile(kSlice.c_str()) == 0)
    {
        state.SkipWithError(("cannot read " + kSlice).c_str());
        return;
    }
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state)
    {
        state.PauseTiming();
        std::vector<Corvane> holders = MakeHolders(slice, count);
        auto* frame = new CFrameWnd;
        frame->Create(nullptr, "Bench", WS_POPUP, CRect(0, 0, 1024, 1024));
        auto* view = new CImageView;
        view->Create(nullptr, "View", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 1024), frame, 1,
                     nullptr);
        view->SendMessage(WM_INITIALUPDATE);
        view->SetLayout("STANDARD\\2,2");
        state.ResumeTiming();
        for (Corvane& holder : holders)
        {
            view->OpenCorvaneBySeries(&holder);
        }
        state.PauseTiming();
        if (view->GetImageLayout().GetNbOfImage() != count)
        {
            state.SkipWithError("the view did not take every image");
        }
        // The frame deletes itself, and its view, as its window goes.
        frame->DestroyWindow();
        state.ResumeTiming();
    }
    // Seconds per image opened: the same for both counts when the work
    // grows linearly.
    state.counters["s_per_image"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_OpenFolder)->Name(kOpen)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
