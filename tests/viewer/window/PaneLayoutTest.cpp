#include "PaneLayout.h"
#include "../../platform/FailOnBlockHarness.h"
#include "ImageShow.h"
#include "LogTestSupport.h"
#include "MedImage.h"
#include "PictureDump.h"
#include "SplitterTestViews.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

// Records what the layout announces and what its timer entries run.
class Recorder
{
public:
    std::vector<std::string> events;

    void OnRebuilding(const void*, DelegateArgs*) { events.push_back("rebuilding"); }
    void OnFormat(const void*, DelegateArgs* args)
    {
        events.push_back("format " +
                         std::string(static_cast<StringDelegateArgs*>(args)->m_strText));
    }
    void OnDestroying(const void*, DelegateArgs*) { events.push_back("destroying"); }
    void OnFirst(const void*, DelegateArgs*) { events.push_back("first"); }
    void OnSecond(const void*, DelegateArgs*) { events.push_back("second"); }
};

class PaneLayoutTest : public QuillonLogTest
{
protected:
    void SetUp() override
    {
        m_pHost = new CFrameWnd;
        ASSERT_TRUE(m_pHost->Create(nullptr, "Host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600)));
        m_pLayout = MakeLayout(CRect(0, 0, 400, 300));
    }
    void TearDown() override
    {
        m_pHost->DestroyWindow();
        QuillonLogTest::TearDown();
    }

    PaneLayout* MakeLayout(const CRect& rect)
    {
        auto* layout = new PaneLayout;
        EXPECT_TRUE(
            layout->Create(nullptr, "Layout", WS_CHILD | WS_VISIBLE, rect, m_pHost, 1, nullptr));
        layout->SendMessage(WM_INITIALUPDATE);
        return layout;
    }

    WindowPicture Paint()
    {
        m_pLayout->Invalidate(TRUE);
        m_harness.PumpPending();
        WindowPicture picture;
        EXPECT_TRUE(UserGetWindowPicture(m_pLayout->m_hWnd, true, picture));
        return picture;
    }

    // Runs the timer lists for some ticks of the window timer.
    void Tick(int ticks)
    {
        for (int tick = 0; tick < ticks; ++tick)
        {
            m_harness.AdvanceClock(PaneLayout::TimerTickLength);
            m_harness.PumpPending();
        }
    }

    CFailOnBlockHarness m_harness;
    CFrameWnd* m_pHost = nullptr;
    PaneLayout* m_pLayout = nullptr;
    Recorder m_recorder;
};

TEST_F(PaneLayoutTest, AnAcceptedFormatRebuildsAndAnnounces)
{
    m_pLayout->PanesRebuilding.Add(MakeHandler(&m_recorder, &Recorder::OnRebuilding, "r"));
    m_pLayout->FormatChanged.Add(MakeHandler(&m_recorder, &Recorder::OnFormat, "f"));
    EXPECT_EQ(m_pLayout->SetFormat("ROW\\1,2"), 1);
    EXPECT_EQ(m_recorder.events, (std::vector<std::string>{"rebuilding", "format ROW\\1,2"}));
    EXPECT_EQ(m_pLayout->GetRectCount(), 3);
    EXPECT_EQ(m_pLayout->GetBandCount(), 2);
    EXPECT_EQ(std::string(m_pLayout->GetFormat()), "ROW\\1,2");
    RECT update;
    EXPECT_FALSE(::GetUpdateRect(m_pLayout->m_hWnd, &update, FALSE)) << "validated";
}

TEST_F(PaneLayoutTest, ARejectedFormatIsKeptWithoutRectangles)
{
    OpenLog();
    m_pLayout->SetFormat("STANDARD\\2,2");
    m_pLayout->FormatChanged.Add(MakeHandler(&m_recorder, &Recorder::OnFormat, "f"));
    std::string lines;
    lines = Appended([&] { EXPECT_EQ(m_pLayout->SetFormat("GRID\\2,2"), 0); });
    EXPECT_EQ(lines, "00:00:00  Enter PaneLayout::SetFormat, invalid FormatCode : GRID\\2,2\r\n");
    EXPECT_EQ(std::string(m_pLayout->GetFormat()), "GRID\\2,2");
    EXPECT_EQ(m_pLayout->GetRectCount(), 0);
    EXPECT_EQ(m_pLayout->GetBandCount(), 0);
    lines = Appended([&] { EXPECT_EQ(m_pLayout->SetFormat("STANDARD\\40,30"), 0); });
    EXPECT_EQ(lines,
              "00:00:00  Enter PaneLayout::SetFormat, more than 1000 panes : STANDARD\\40,30\r\n"
              "00:00:00  Enter PaneLayout::SetFormat, invalid FormatCode : STANDARD\\40,30\r\n");
    EXPECT_TRUE(m_recorder.events.empty());
}

TEST_F(PaneLayoutTest, PaneRectanglesScaleWithTheClientArea)
{
    PaneLayout* layout = MakeLayout(CRect(0, 0, 1000, 1000));
    layout->SetFormat("STANDARD\\1,1");
    CRect rect;
    layout->GetPaneRect(0, &rect);
    EXPECT_EQ(rect, CRect(1, 1, 999, 999));
    layout->MoveWindow(0, 0, 401, 301);
    layout->SetFormat("STANDARD\\2,2");
    layout->GetPaneRect(3, &rect);
    EXPECT_EQ(rect, CRect(201, 151, 400, 300));
    CRect untouched(7, 7, 7, 7);
    layout->GetPaneRect(4, &untouched);
    EXPECT_EQ(untouched, CRect(7, 7, 7, 7));
}

TEST_F(PaneLayoutTest, RestoringGivesTheSavedFormatOrOnePane)
{
    m_pLayout->SetFormat("ROW\\1,2");
    m_pLayout->RestoreFormat();
    EXPECT_EQ(std::string(m_pLayout->GetFormat()), "STANDARD\\1,1");
    m_pLayout->SetFormat("ROW\\1,2");
    m_pLayout->SaveFormat();
    m_pLayout->SetFormat("COL\\1,1");
    m_pLayout->RestoreFormat();
    EXPECT_EQ(std::string(m_pLayout->GetFormat()), "ROW\\1,2");
    EXPECT_EQ(m_pLayout->GetRectCount(), 2) << "the panes are the caller's to rebuild";
}

TEST_F(PaneLayoutTest, FramesOnBlack)
{
    m_pLayout->SetFormat("STANDARD\\2,2");
    WindowPicture picture = Paint();
    DumpPicture(m_pLayout->m_hWnd, "PaneLayout2x2");
    const auto blue = 0x0000FFu;
    // Pane 0 spans (1, 1) to (199, 149): its frame, its inside, the gap.
    EXPECT_EQ(picture.GetPixel(1, 1), blue);
    EXPECT_EQ(picture.GetPixel(198, 80), blue);
    EXPECT_EQ(picture.GetPixel(80, 148), blue);
    EXPECT_EQ(picture.GetPixel(100, 75), 0u);
    EXPECT_EQ(picture.GetPixel(199, 75), 0u);
    EXPECT_EQ(picture.GetPixel(0, 0), 0u);
    EXPECT_EQ(picture.GetPixel(201, 151), blue) << "pane 3";

    m_pLayout->ShowHighLight(true);
    picture = Paint();
    DumpPicture(m_pLayout->m_hWnd, "PaneLayout2x2Highlight");
    const auto orange = 0xFF8C00u;
    const auto green = 0x00FF00u;
    EXPECT_EQ(picture.GetPixel(201, 151), orange);
    EXPECT_EQ(picture.GetPixel(201, 1), orange);
    int greenPixels = 0;
    int blackPixels = 0;
    for (int x = 1; x < 199; ++x)
    {
        greenPixels += picture.GetPixel(x, 1) == green ? 1 : 0;
        blackPixels += picture.GetPixel(x, 1) == 0 ? 1 : 0;
    }
    EXPECT_GT(greenPixels, 50) << "the highlighted frame is dotted";
    EXPECT_GT(blackPixels, 50) << "the highlighted frame is dotted";
}

TEST_F(PaneLayoutTest, IntervalEntriesRunEveryPeriod)
{
    m_pLayout->IntervalTimers.Add(
        new TimerEntry(MakeHandler(&m_recorder, &Recorder::OnFirst, "first"), 120));
    Tick(2);
    EXPECT_TRUE(m_recorder.events.empty());
    Tick(1);
    EXPECT_EQ(m_recorder.events.size(), 1u);
    Tick(3);
    EXPECT_EQ(m_recorder.events.size(), 2u);
}

TEST_F(PaneLayoutTest, OneShotEntriesRunOnceAndLeave)
{
    m_pLayout->OneShotTimers.Add(
        new TimerEntry(MakeHandler(&m_recorder, &Recorder::OnFirst, "first"), 100));
    Tick(1);
    EXPECT_TRUE(m_recorder.events.empty());
    Tick(1);
    EXPECT_EQ(m_recorder.events, std::vector<std::string>{"first"});
    EXPECT_EQ(m_pLayout->OneShotTimers.GetCount(), 0);
    Tick(4);
    EXPECT_EQ(m_recorder.events.size(), 1u);
}

TEST_F(PaneLayoutTest, DailyEntriesRunWhenDueAndADayLater)
{
    DDateTime due = DDateTime::GetTickCount();
    due += DDateTimeSpan(0, 0, 0, 1);
    auto* entry = new TimerEntry(MakeHandler(&m_recorder, &Recorder::OnFirst, "first"), due);
    m_pLayout->DailyTimers.Add(entry);
    Tick(10);
    EXPECT_TRUE(m_recorder.events.empty());
    Tick(11);
    EXPECT_EQ(m_recorder.events.size(), 1u);
    Tick(40);
    EXPECT_EQ(m_recorder.events.size(), 1u) << "the next run is a day later";
}

// An entry that takes another off keeps it from running on the same tick.
class Remover
{
public:
    TimerList* list = nullptr;
    DelegateHandler* probe = nullptr;
    std::vector<std::string>* events = nullptr;

    void OnTick(const void*, DelegateArgs*)
    {
        events->push_back("remover");
        if (probe != nullptr)
        {
            list->Remove(probe);
            probe = nullptr;
        }
    }
};

TEST_F(PaneLayoutTest, AnEntryTakenOffDuringATickDoesNotRun)
{
    Remover remover{&m_pLayout->IntervalTimers, nullptr, &m_recorder.events};
    m_pLayout->IntervalTimers.Add(
        new TimerEntry(MakeHandler(&remover, &Remover::OnTick, "remover"), 50));
    m_pLayout->IntervalTimers.Add(
        new TimerEntry(MakeHandler(&m_recorder, &Recorder::OnSecond, "second"), 50));
    remover.probe = new TimerEntry(MakeHandler(&m_recorder, &Recorder::OnSecond, "second"), 50);
    Tick(2);
    EXPECT_EQ(m_recorder.events, (std::vector<std::string>{"remover", "remover"}));
}

TEST_F(PaneLayoutTest, DestroyingIsAnnounced)
{
    m_pLayout->Destroying.Add(MakeHandler(&m_recorder, &Recorder::OnDestroying, "d"));
    m_pLayout->DestroyWindow();
    EXPECT_EQ(m_recorder.events, std::vector<std::string>{"destroying"});
}
} // namespace

TEST_F(PaneLayoutTest, EveryRectangleGetsAPaneThatFollowsTheLayoutAndTakesTheHighlight)
{
    EXPECT_EQ(m_pLayout->SetFormat("STANDARD\\2,2"), 1);
    ASSERT_EQ(m_pLayout->GetPaneCount(), 4);
    for (int index = 0; index < 4; ++index)
    {
        SCOPED_TRACE(index);
        MedImage* pane = m_pLayout->GetPane(index);
        ASSERT_NE(pane, nullptr);
        CString name;
        pane->GetWindowText(name);
        EXPECT_EQ(std::string(name), "ViewPort@" + std::to_string(index));
        EXPECT_EQ(pane->GetDlgCtrlID(), index);
        EXPECT_TRUE(pane->IsEmpty());
        CRect expected;
        m_pLayout->GetPaneRect(index, &expected);
        expected.DeflateRect(1, 1);
        CRect window;
        pane->GetWindowRect(&window);
        m_pLayout->ScreenToClient(&window);
        EXPECT_EQ(window, expected);
    }
    EXPECT_TRUE(m_pLayout->IsEmpty());

    // A resize moves the panes onto the new rectangles.
    m_pLayout->MoveWindow(0, 0, 501, 401);
    CRect expected;
    m_pLayout->GetPaneRect(3, &expected);
    expected.DeflateRect(1, 1);
    CRect window;
    m_pLayout->GetPane(3)->GetWindowRect(&window);
    m_pLayout->ScreenToClient(&window);
    EXPECT_EQ(window, expected);

    // A press on a pane highlights it.
    const POINT point = CUiHarness::ScreenPoint(m_pLayout->GetPane(3)->m_hWnd, 20, 20);
    m_harness.MouseMove(point);
    m_harness.Click(enMouseButton::Left, point);
    m_harness.PumpPending();
    EXPECT_EQ(m_pLayout->GetHighLight(), 3);
    EXPECT_EQ(m_pLayout->IndexOfPane(m_pLayout->GetPane(1)), 1);
    EXPECT_EQ(m_pLayout->GetHighLight(), 1);

    // A new format rebuilds them; releasing leaves none.
    const HWND old = m_pLayout->GetPane(0)->m_hWnd;
    m_pLayout->SetFormat("ROW\\1,2");
    EXPECT_EQ(m_pLayout->GetPaneCount(), 3);
    EXPECT_FALSE(::IsWindow(old));
    m_pLayout->ReleasePanes();
    EXPECT_EQ(m_pLayout->GetPaneCount(), 0);
    EXPECT_EQ(m_pLayout->GetHighLight(), -1);
}

TEST_F(PaneLayoutTest, APaneShowsAnImageBetweenTheFrames)
{
    if (!std::filesystem::is_directory(std::string(SUITE_CORPUS_DIR) + "/pydicom"))
    {
        GTEST_SKIP() << "corpus folder not found";
    }
    m_pLayout->SetFormat("STANDARD\\2,1");
    m_pLayout->ShowHighLight(true);
    Corvane holder;
    holder.LoadDicomFile(
        (std::string(SUITE_CORPUS_DIR) + "/pydicom/test_files/CT_small.dcm").c_str());
    ImageShow show;
    show.AttachCorvane(holder, 0);
    ASSERT_EQ(m_pLayout->AttachShowToPane(1, &show), m_pLayout->GetPane(1));
    EXPECT_EQ(m_pLayout->AttachShowToPane(2, &show), nullptr);
    EXPECT_FALSE(m_pLayout->IsEmpty());
    m_pLayout->InvalidatePanes();
    const WindowPicture picture = Paint();
    DumpPicture(m_pLayout->m_hWnd, "PaneLayoutWithImage");
    CRect rect;
    m_pLayout->GetPaneRect(1, &rect);
    // The image's middle is grey, the empty pane black, the frames stay.
    const std::uint32_t middle = picture.GetPixel(rect.CenterPoint().x, rect.CenterPoint().y);
    EXPECT_NE(middle, 0u);
    EXPECT_EQ(picture.GetPixel(rect.left, rect.CenterPoint().y), 0xFF8C00u);
    m_pLayout->GetPaneRect(0, &rect);
    EXPECT_EQ(picture.GetPixel(rect.CenterPoint().x, rect.CenterPoint().y), 0u);
    m_pLayout->GetPane(1)->DetachShow();
}

// A resize makes the first pane commit its zoom and pan, which the view
// hears of; the other panes do not.
TEST_F(PaneLayoutTest, AResizeMakesTheFirstPaneCommitItsZoom)
{
    m_pLayout->SetFormat("STANDARD\\2,1");
    ASSERT_EQ(m_pLayout->GetPaneCount(), 2);
    m_pLayout->GetPane(0)->GetZoomEvent().Add(
        MakeHandler(&m_recorder, &Recorder::OnFirst, "first"));
    m_pLayout->GetPane(1)->GetZoomEvent().Add(
        MakeHandler(&m_recorder, &Recorder::OnSecond, "second"));
    m_pLayout->MoveWindow(0, 0, 500, 350);
    EXPECT_EQ(m_recorder.events, std::vector<std::string>{"first"});
}
