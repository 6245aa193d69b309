// Cine: a 60-frame multi-frame image of 512 x 512 16-bit samples, held in
// memory, opened into a 1x1 image view and played in its cine pane frame
// after frame as a host's loop calls Next: each frame decoded, mapped
// through its window and painted. The summary prints frames per second
// against the goal of 60.
#include "BenchImages.h"
#include "CImageView.h"
#include "CineControl.h"
#include "DICOMImage.h"
#include "UID.h"
#include "VeltaroLibrary.h"
#include "ViewerBenchSummaries.h"

#include "AfxWin.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace
{

const char kCine[] = "Viewer/Cine/MultiFrame512";
constexpr int kFrames = 60;
constexpr int kSide = 512;
constexpr double kGoal = 60.0;

DICOMImage* MakeMultiFrame()
{
    auto* image = new DICOMImage;
    image->SetTransferSyntax(UidTransferLittleEndianExplicit);
    image->Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.3.1"));
    image->Add(0x0008, 0x0018, UID("1.2.826.0.1.3680043.8.27.3.1"));
    image->Add(0x0008, 0x0060, "XA");
    image->Add(0x0010, 0x0010, "Bench^Cine");
    image->Add(0x0020, 0x000D, UID("1.2.826.0.1.3680043.8.27.3.2"));
    image->Add(0x0020, 0x000E, UID("1.2.826.0.1.3680043.8.27.3.3"));
    image->Add(0x0020, 0x0013, "1");
    image->Add(0x0028, 0x0008, std::to_string(kFrames).c_str());
    AddMonochrome12(*image, kSide);
    image->Add(0x0028, 0x1050, "2048");
    image->Add(0x0028, 0x1051, "4096");
    std::vector<unsigned short> pixels(std::size_t(kFrames) * kSide * kSide);
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        pixels[i] = static_cast<unsigned short>((i * 3 + i / (kSide * kSide) * 97) % 4096);
    }
    image->Add(0x7FE0, 0x0010, pixels.data(), static_cast<int>(pixels.size()));
    return image;
}

// A host frame with a 1x1 view holding the multi-frame image, and the cine
// attached to the view.
class CineView
{
public:
    CineView()
    {
        VeltaroInitialize();
        m_pFrame->Create(nullptr, "Bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 700, 700));
        m_pView = new CImageView;
        m_pView->Create(nullptr, "View", WS_CHILD | WS_VISIBLE, CRect(0, 0, 700, 700), m_pFrame, 1,
                        nullptr);
        m_pView->SendMessage(WM_INITIALUPDATE);
        m_pView->SetLayout("STANDARD\\1,1");
        Corvane holder(MakeMultiFrame());
        holder.SetTransactionID(1);
        m_pView->OpenCorvaneBySeries(&holder);
        m_Cine.AttachView(m_pView);
        m_Cine.Prepare();
    }
    ~CineView()
    {
        m_Cine.Release();
        m_pFrame->DestroyWindow();
    }

    CineControl* Cine() { return m_Cine.GetNbOfImage() == kFrames ? &m_Cine : nullptr; }

private:
    CFrameWnd* m_pFrame = new CFrameWnd;
    CImageView* m_pView = nullptr;
    CineControl m_Cine;
};

void BM_Cine(benchmark::State& state)
{
    static CineView view;
    CineControl* cine = view.Cine();
    if (cine == nullptr)
    {
        state.SkipWithError("the multi-frame image did not open as a series of frames");
        return;
    }
    for (auto _ : state)
    {
        cine->Next();
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_Cine)->Name(kCine)->Unit(benchmark::kMillisecond);

void PrintCineSummary(const BenchTimes& times)
{
    const double seconds = GetBenchTime(times, kCine);
    if (seconds > 0.0)
    {
        std::printf("\nCine of a %d-frame %dx%d image in a 1x1 view\n", kFrames, kSide, kSide);
        std::printf("  %-28s %10.1f frames per second (goal %.0f)\n", "played in the cine pane",
                    1.0 / seconds, kGoal);
    }
}
