// Paging an image view: a 500-image series (slices made from a 128 x 128
// CT of the sample corpus, held in memory) in a 4x4 view, paged from the
// first page to the last, once with the view's own work only (moving the
// page, laying it out on the panes, the scroll bar and the events) and once
// with each pane's image made into its displayed DIB as a pane does when it
// paints. The summary prints pages per second.
#include "CImageView.h"
#include "DICOMImage.h"
#include "ImageShow.h"
#include "UID.h"
#include "VeltaroLibrary.h"
#include "ViewerBenchSummaries.h"

#include "AfxWin.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace
{

const std::string kSlice = std::string(SUITE_CORPUS_DIR) + "/pydicom/test_files/CT_small.dcm";
const char kPaging[] = "Viewer/ImageView/Page500In4x4";
const char kPagingDrawn[] = "Viewer/ImageView/Page500In4x4_DIBs";
constexpr int kImages = 500;

// A host frame with one 4x4 view holding the series; null without the
// corpus.
class PagedView
{
public:
    PagedView()
    {
        VeltaroInitialize();
        m_pFrame->Create(nullptr, "Bench", WS_POPUP, CRect(0, 0, 1024, 1024));
        m_pView = new CImageView;
        m_pView->Create(nullptr, "View", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 1024), m_pFrame,
                        1, nullptr);
        m_pView->SendMessage(WM_INITIALUPDATE);
        m_pView->SetLayout("STANDARD\\4,4");
        DICOMImage slice;
        if (slice.ReadFile(kSlice.c_str()) == 0)
        {
            m_pView = nullptr;
            return;
        }
        for (int number = 1; number <= kImages; ++number)
        {
            // A copy of the elements without the file's name: held in memory.
            auto* image = new DICOMImage(static_cast<const DICOMVRSet&>(slice));
            const std::string sop = "1.2.826.0.1.3680043.2.1125.9." + std::to_string(number);
            image->Add(0x0008, 0x0018, UID(sop.c_str()));
            image->Add(0x0020, 0x0013, std::to_string(number).c_str());
            Corvane holder(image);
            holder.SetTransactionID(1);
            m_pView->OpenCorvaneBySeries(&holder);
        }
    }
    // The frame deletes itself, and its view, as its window goes.
    ~PagedView() { m_pFrame->DestroyWindow(); }

    CImageView* View() const
    {
        return m_pView != nullptr && m_pView->GetImageLayout().GetNbOfImage() == kImages ? m_pView
                                                                                         : nullptr;
    }

private:
    CFrameWnd* m_pFrame = new CFrameWnd;
    CImageView* m_pView = nullptr;
};

CImageView* View()
{
    static PagedView paged;
    return paged.View();
}

// One pass from the first page to the last; the pages shown.
int PageThrough(CImageView* view, bool drawn)
{
    view->FirstPage();
    int pages = 1;
    while (true)
    {
        if (drawn)
        {
            for (int pane = 0; pane < view->GetRectCount(); ++pane)
            {
                if (ImageShow* image = view->GetPaneImage(pane))
                {
                    // Decoded once; the chain maps the whole image through
                    // its window into the DIB a pane would paint.
                    image->EnsureLoaded();
                    image->SetFOVMode(false);
                    image->BuildChain();
                    image->InvokeChain();
                    // The page goes by: its images drop what they showed.
                    image->ReleaseMapAndDIB();
                }
            }
        }
        const int first = view->GetFirstShownIndex();
        view->PageDown();
        if (view->GetFirstShownIndex() == first)
        {
            return pages;
        }
        ++pages;
    }
}

void Paging(benchmark::State& state, bool drawn)
{
    CImageView* view = View();
    if (view == nullptr)
    {
        state.SkipWithError(("cannot make the series from " + kSlice).c_str());
        return;
    }
    std::int64_t pages = 0;
    for (auto _ : state)
    {
        pages += PageThrough(view, drawn);
    }
    state.counters["pages_per_second"] =
        benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsRate);
    state.counters["pages_per_pass"] = static_cast<double>(pages) / state.iterations();
}

void BM_Paging(benchmark::State& state)
{
    Paging(state, false);
}

void BM_PagingDrawn(benchmark::State& state)
{
    Paging(state, true);
}

} // namespace

BENCHMARK(BM_Paging)->Name(kPaging)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PagingDrawn)->Name(kPagingDrawn)->Unit(benchmark::kMillisecond);

void PrintPagingSummary(const BenchTimes& times)
{
    // One pass shows the 32 pages of 500 images at 16 a page.
    const double pagesPerPass = (kImages + 15) / 16;
    std::printf("\nPaging a %d-image series in a 4x4 view\n", kImages);
    for (const auto& [name, text] : {std::pair{kPaging, "the view's own work"},
                                     std::pair{kPagingDrawn, "with every pane's DIB made"}})
    {
        const double seconds = GetBenchTime(times, name);
        if (seconds > 0.0)
        {
            std::printf("  %-28s %10.0f pages per second\n", text, pagesPerPass / seconds);
        }
    }
}
