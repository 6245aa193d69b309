// A host's session with the viewer window, step by step: a generated
// 20-slice series and a multi-frame corpus file opened into it, grid
// layouts with and without copy, paging, cine on the replaceable clock,
// a measurement drawn, copied and pasted onto the next image, series
// navigation by keys from a pane, and all views closed. The window's state
// is asserted after each step and its picture dumped.
#include "CineControl.h"
#include "CineImage.h"
#include "ORoiCalliper.h"
#include "WebTaskSet.h"
#include "WebWindowTestSupport.h"

#include <numeric>
#include <string>
#include <vector>

namespace
{

constexpr const char* MultiFrameFile = "octave-dicom/US-PAL-8-10x-echo.dcm";
constexpr int SliceCount = 20;
constexpr int MultiFrameCount = 10;
constexpr DWORD CineInterval = 200;

class WebWindowHostTest : public WebWindowTest
{
protected:
    void SetUp() override
    {
        WebWindowTest::SetUp();
        if (!std::filesystem::exists(SUITE_CORPUS_DIR))
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
    }

    std::vector<std::string> WriteSeries()
    {
        std::vector<int> numbers(SliceCount);
        std::iota(numbers.begin(), numbers.end(), 1);
        return WriteSlices(m_folder, numbers);
    }

    static std::vector<int> Range(int first, int last)
    {
        std::vector<int> numbers;
        for (int number = first; number <= last; ++number)
        {
            numbers.push_back(number);
        }
        return numbers;
    }

    // The host's cine loop: a frame whenever the interval has passed on
    // the clock, which moves a tenth of the interval a pass. The positions
    // of the frames shown.
    std::vector<int> Play(CineControl& cine, int frames)
    {
        std::vector<int> shown;
        DWORD last = GetTickCount();
        while (static_cast<int>(shown.size()) < frames)
        {
            m_harness.AdvanceClock(CineInterval / 10);
            if (GetTickCount() - last >= CineInterval)
            {
                EXPECT_TRUE(cine.Next());
                shown.push_back(cine.GetIndex());
                last = GetTickCount();
            }
            m_harness.PumpPending();
        }
        return shown;
    }

    POINT PanePoint(CImageView* view, int pane, int x, int y) const
    {
        return CUiHarness::ScreenPoint(view->GetPane(pane)->m_hWnd, x, y);
    }

    void Drag(POINT from, POINT to)
    {
        m_harness.Script().MouseMove(to).MouseUp(enMouseButton::Left, to);
        m_harness.MouseMove(from);
        m_harness.MouseDown(enMouseButton::Left, from);
        m_harness.PumpPending();
        m_harness.PumpPending();
    }

    void Click(POINT at)
    {
        m_harness.MouseMove(at);
        m_harness.MouseDown(enMouseButton::Left, at);
        m_harness.MouseUp(enMouseButton::Left, at);
        m_harness.PumpPending();
    }

    void ControlKey(UINT key)
    {
        m_harness.KeyDown(VK_CONTROL);
        m_harness.KeyPress(key);
        m_harness.KeyUp(VK_CONTROL);
        m_harness.PumpPending();
    }

    static std::string CurrentSeriesUID(const CImageView* view)
    {
        const SeriesShow* series = CWebWindow::GetSeriesOf(view);
        return series != nullptr ? std::string(series->GetSeriesInstanceUID()) : "";
    }
};

TEST_F(WebWindowHostTest, AHostSessionFromOpeningToClosingAllViews)
{
    StartAsHost();
    Picture("Host01Started");
    EXPECT_EQ(m_pWindow->GetNbOfView(), 1);
    EXPECT_TRUE(m_pWindow->IsHotImageEmpty());

    // Open, as the host loads files: the multi-frame file, split into its
    // frames, then the slices, each by series; the last series opened is
    // the one shown.
    const std::vector<std::string> slices = WriteSeries();
    ASSERT_EQ(slices.size(), std::size_t(SliceCount));
    Open({CorpusPath(MultiFrameFile)}, CWebWindow::enOpenOrReloadBySeries, 1);
    Open(slices, CWebWindow::enOpenOrReloadBySeries, 2);
    CImageView* first = View(0, 0);
    ASSERT_EQ(SeriesCount(first), 2);
    EXPECT_EQ(m_pWindow->IndexOfHotSeries(), 1);
    EXPECT_EQ(m_pWindow->GetNbOfImage(), SliceCount);
    const SeriesShow* multiFrame = first->GetImageLayout().GetSeries().GetSeriesAt(0);
    EXPECT_EQ(multiFrame->GetNbOfImage(), MultiFrameCount);
    EXPECT_EQ(Instances(first), (std::vector<int>{1, 2}));
    EXPECT_FALSE(m_pWindow->IsHotImageEmpty());
    Picture("Host02Opened");

    // A 2 x 2 image layout, paged.
    ASSERT_TRUE(m_pWindow->SetImageLayout(2, 2));
    EXPECT_EQ(Instances(first), Range(1, 4));
    ASSERT_TRUE(m_pWindow->PageDown());
    EXPECT_EQ(Instances(first), Range(5, 8));
    ASSERT_TRUE(m_pWindow->LastPage());
    EXPECT_EQ(Instances(first), Range(17, 20));
    ASSERT_TRUE(m_pWindow->FirstPage());
    EXPECT_EQ(Instances(first), Range(1, 4));
    Picture("Host03Paged");

    // Two views with copy: the new view shows the multi-frame series.
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
    EXPECT_EQ(m_pWindow->GetNbOfView(), 2);
    EXPECT_EQ(CurrentSeriesUID(View(0, 1)), std::string(multiFrame->GetSeriesInstanceUID()));
    EXPECT_EQ(CWebWindow::GetSeriesOf(View(0, 1))->GetNbOfImage(), MultiFrameCount);
    EXPECT_TRUE(CWebWindow::IsShowingImage(View(0, 1)));
    EXPECT_EQ(m_pWindow->GetHotView(), first);
    Picture("Host04TwoViewsCopied");

    // Four views without copy.
    ASSERT_TRUE(m_pWindow->DoSetViewLayout(2, 2, false));
    EXPECT_EQ(m_pWindow->GetNbOfView(), 4);
    EXPECT_EQ(SeriesCount(first), 2);
    // The view that had its copy keeps it; the new ones are empty.
    EXPECT_EQ(SeriesCount(View(0, 1)), 2);
    for (CImageView* other : {View(1, 0), View(1, 1)})
    {
        EXPECT_EQ(SeriesCount(other), 0);
        EXPECT_FALSE(CWebWindow::IsShowingImage(other));
    }
    Picture("Host05FourViewsEmpty");

    // Back to one view; cine over the current series on the clock.
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 1));
    ASSERT_TRUE(m_pWindow->SetImageLayout(1, 1));
    CineControl cine;
    cine.AttachWindow(m_pWindow);
    ASSERT_TRUE(cine.IsValid());
    ASSERT_TRUE(cine.Prepare());
    EXPECT_EQ(cine.GetNbOfImage(), SliceCount);
    cine.PlayDown();
    EXPECT_EQ(Play(cine, 5), (std::vector<int>{0, 1, 2, 3, 4}));
    Picture("Host06Cine");
    cine.PlayBounce();
    const std::vector<int> bounce = Play(cine, SliceCount + 3);
    EXPECT_EQ(bounce.front(), SliceCount - 1);
    EXPECT_EQ(bounce[SliceCount - 1], 0);
    EXPECT_EQ(bounce[SliceCount], 0);
    EXPECT_EQ(bounce[SliceCount + 2], 2);
    ASSERT_TRUE(cine.Quit(true));
    EXPECT_EQ(InstanceOf(m_pWindow->GetHotImageShow()), 3);
    cine.Release();
    EXPECT_EQ(cine.GetCineWindow(), nullptr);
    // The played pane shows annotations again.
    EXPECT_TRUE(m_pWindow->GetHotImage()->AreOverlaysShown());
    Picture("Host07CineStopped");

    // A calliper drawn on the hot image, selected, copied and pasted onto
    // the next image by keys on the pane.
    CImageView* view = m_pWindow->GetHotView();
    ImageShow* measured = m_pWindow->GetHotImageShow();
    ASSERT_NE(measured, nullptr);
    m_pWindow->SetLeftButton(WebTaskSet::enCalliperTool);
    Drag(PanePoint(view, 0, 200, 200), PanePoint(view, 0, 400, 200));
    ASSERT_EQ(measured->GetAnnotations().GetCount(), 1);
    m_pWindow->SetLeftButton(MouseTaskSet::enArrowTool);
    Click(PanePoint(view, 0, 300, 200));
    ASSERT_TRUE(measured->GetAnnotations().GetHead()->item->IsSelected());
    ControlKey('C');
    ASSERT_TRUE(m_pWindow->ImageDown());
    ImageShow* next = m_pWindow->GetHotImageShow();
    ASSERT_NE(next, measured);
    EXPECT_EQ(next->GetAnnotations().GetCount(), 0);
    ControlKey('V');
    ASSERT_EQ(next->GetAnnotations().GetCount(), 1);
    EXPECT_NE(dynamic_cast<ORoiCalliper*>(next->GetAnnotations().GetHead()->item.get()), nullptr);
    Picture("Host08Pasted");

    // Series navigation from the focused pane: Ctrl+Page Down goes past
    // the pane and the view to the window.
    ASSERT_EQ(m_pWindow->IndexOfHotSeries(), 1);
    m_harness.MouseMove(PanePoint(view, 0, 50, 50));
    m_harness.PumpPending();
    ControlKey(VK_PRIOR);
    EXPECT_EQ(m_pWindow->IndexOfHotSeries(), 0);
    EXPECT_EQ(m_pWindow->GetNbOfImage(), MultiFrameCount);
    Picture("Host09OtherSeries");
    ControlKey(VK_NEXT);
    EXPECT_EQ(m_pWindow->IndexOfHotSeries(), 1);

    // Every view closed.
    m_pWindow->ClearScreen();
    ExpectEveryViewClosed();
    EXPECT_TRUE(m_pWindow->IsHotImageEmpty());
    Picture("Host10Closed");
}

TEST_F(WebWindowHostTest, CineLetsGoWhenTheHostClosesTheWindow)
{
    StartAsHost();
    const std::vector<std::string> slices = WriteSeries();
    ASSERT_EQ(slices.size(), std::size_t(SliceCount));
    Open(slices);
    CineControl cine;
    cine.AttachWindow(m_pWindow);
    ASSERT_TRUE(cine.Prepare());
    CineControl copy = cine;
    EXPECT_EQ(Play(cine, 2), (std::vector<int>{0, 1}));
    m_pWindow->DestroyWindow();
    m_pWindow = nullptr;
    EXPECT_FALSE(cine.IsValid());
    EXPECT_FALSE(copy.IsValid());
    EXPECT_FALSE(cine.Next());
    EXPECT_FALSE(copy.Quit(true));
}

} // namespace
