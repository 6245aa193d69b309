// The tasks a view runs itself, driven by scripted input on a plain window:
// paging by pointer travel and by cine ticks, the switch between the two,
// and dragging the view's text to another window.
#include "ViewTasks.h"
#include "ImageViewArgs.h"
#include "MouseTracker.h"
#include "PaneTestSupport.h"
#include "TextDropTarget.h"
#include "WinGlobalMemory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// The steps and wraps of the scrolling event, and the scrolled firings.
class ScrollLog
{
public:
    std::vector<int> steps;
    std::vector<int> wraps;
    int scrolled = 0;
    void OnScrolling(const void*, DelegateArgs* args)
    {
        const auto* value = dynamic_cast<ValueArgs*>(args);
        ASSERT_NE(value, nullptr);
        steps.push_back(value->m_nValue);
        wraps.push_back(value->m_nExtra);
    }
    void OnScrolled(const void*, DelegateArgs* args)
    {
        const auto* value = dynamic_cast<ValueArgs*>(args);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->m_nValue, 1);
        ++scrolled;
    }
};

class ViewTasksTest : public PaneWindowTest
{
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        m_pView = new CWnd;
        ASSERT_TRUE(m_pView->Create(nullptr, "View", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 400),
                                    m_pHost, 1));
        m_panes.emplace_back(m_pView);
        m_Scrolling.Add(MakeHandler(&m_Log, &ScrollLog::OnScrolling, "ScrollLog::OnScrolling"));
        m_Scrolled.Add(MakeHandler(&m_Log, &ScrollLog::OnScrolled, "ScrollLog::OnScrolled"));
    }
    POINT At(int x, int y) const { return CUiHarness::ScreenPoint(m_pView->m_hWnd, x, y); }
    // Runs the task in the left-button loop from a press at the point; the
    // script plays inside.
    void Run(MouseTask& task, int x, int y)
    {
        m_harness.MouseMove(At(x, y));
        m_harness.MouseDown(enMouseButton::Left, At(x, y));
        m_harness.PumpPending();
        DragTracker tracker(m_pView);
        tracker.TrackLeftButton(&task, POINT{x, y});
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_FALSE(task.IsActive());
    }

    CWnd* m_pView = nullptr;
    Delegate m_Scrolling{"Test::Scrolling"};
    Delegate m_Scrolled{"Test::Scrolled"};
    ScrollLog m_Log;
};

} // namespace

TEST_F(ViewTasksTest, QuickPageScrollStepsByTravelAlongTheDominantAxis)
{
    struct Case
    {
        int modifiers;
        int wrap;
    };
    for (const Case& c : {Case{0, 0}, Case{MouseTask::ControlBit, 1}})
    {
        SCOPED_TRACE(c.modifiers);
        m_Log = ScrollLog();
        PageScrollTask task(c.modifiers, m_pView, m_Scrolling, m_Scrolled, false);
        EXPECT_STREQ(task.GetModeText(), "Quick Page Scroll");
        m_harness.Script()
            .MouseMove(At(109, 103))
            .MouseMove(At(125, 104))
            .MouseMove(At(126, 70))
            .MouseUp(enMouseButton::Left, At(126, 70));
        Run(task, 100, 100);
        // 25 across gives two steps forward; 34 up from there three back.
        EXPECT_EQ(m_Log.steps, (std::vector<int>{1, 1, -1, -1, -1}));
        EXPECT_EQ(m_Log.wraps, std::vector<int>(5, c.wrap));
        EXPECT_EQ(task.GetSteps(), -1);
        EXPECT_EQ(m_Log.scrolled, 1);
    }
}

TEST_F(ViewTasksTest, AClickWithoutTravelScrollsNothing)
{
    PageScrollTask task(0, m_pView, m_Scrolling, m_Scrolled, false);
    m_harness.Script().MouseMove(At(104, 96)).MouseUp(enMouseButton::Left, At(104, 96));
    Run(task, 100, 100);
    EXPECT_TRUE(m_Log.steps.empty());
    EXPECT_EQ(m_Log.scrolled, 0);
}

TEST_F(ViewTasksTest, InteractiveCinePlaysPerTickAwayFromThePressAndTabSwitches)
{
    PageScrollTask task(0, m_pView, m_Scrolling, m_Scrolled, true);
    EXPECT_STREQ(task.GetModeText(), "Interactive Cine");
    std::vector<int> atSwitch;
    m_harness.Script()
        .MouseMove(At(105, 100))
        .Wait(PageScrollTask::CinePeriod) // within the dead zone: no step
        .MouseMove(At(100, 160))
        .Wait(PageScrollTask::CinePeriod)
        .Wait(PageScrollTask::CinePeriod)
        .MouseMove(At(70, 150))
        .Wait(PageScrollTask::CinePeriod)
        .KeyPress(VK_TAB)
        .Do([&] { atSwitch = m_Log.steps; })
        .Wait(PageScrollTask::CinePeriod) // no cine in quick mode
        .MouseMove(At(70, 171))
        .MouseUp(enMouseButton::Left, At(70, 171));
    Run(task, 100, 100);
    // Below the press plays forward; Tab then pages by travel again.
    EXPECT_EQ(atSwitch, (std::vector<int>{1, 1, 1}));
    EXPECT_FALSE(task.IsInteractive());
    EXPECT_EQ(m_Log.steps, (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(m_Log.wraps, (std::vector<int>{1, 1, 1, 0, 0}));
    EXPECT_EQ(m_Log.scrolled, 1);
}

TEST_F(ViewTasksTest, TheDragTextDropsOnAnotherWindowAfterTenPixels)
{
    const UINT format = RegisterClipboardFormatA("$$DRAGDROP_VISTREL");
    auto* target = new TextDropTarget;
    target->format = format;
    ASSERT_TRUE(target->Create(nullptr, "Target", WS_CHILD | WS_VISIBLE, CRect(500, 0, 700, 200),
                               m_pHost, 3));
    m_panes.emplace_back(target);
    ASSERT_TRUE(AfxOleInit());
    ASSERT_TRUE(target->Register());
    int notices = 0;
    const char* text = "SourceID=PaneLayout | HWNDSource=1 | Message=273 | wParam=1020";

    // Under ten pixels and back on the view: no drag, no notice.
    DragDropTask shortDrag(0, m_pView, format, text, [&] { ++notices; });
    m_harness.Script().MouseMove(At(106, 107)).MouseUp(enMouseButton::Left, At(106, 107));
    Run(shortDrag, 100, 100);
    EXPECT_FALSE(shortDrag.IsStarted());
    EXPECT_EQ(notices, 0);

    // Dropped on the view itself: nobody takes it, the view hears the end.
    DragDropTask onSelf(0, m_pView, format, text, [&] { ++notices; });
    m_harness.Script().MouseMove(At(150, 100)).MouseUp(enMouseButton::Left, At(150, 100));
    Run(onSelf, 100, 100);
    EXPECT_TRUE(onSelf.IsStarted());
    EXPECT_EQ(onSelf.GetDropEffect(), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(notices, 1);

    DragDropTask toTarget(0, m_pView, format, text, [&] { ++notices; });
    m_harness.Script()
        .MouseMove(At(300, 100))
        .MouseMove(At(550, 50))
        .MouseUp(enMouseButton::Left, At(550, 50));
    Run(toTarget, 100, 100);
    EXPECT_EQ(toTarget.GetDropEffect(), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(target->texts, std::vector<std::string>{text});
    EXPECT_EQ(notices, 2);

    // Esc gives the drag up.
    DragDropTask escaped(0, m_pView, format, text, [&] { ++notices; });
    m_harness.Script().MouseMove(At(550, 50)).KeyPress(VK_ESCAPE);
    Run(escaped, 100, 100);
    EXPECT_EQ(escaped.GetDropEffect(), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(target->texts.size(), 1U);
    EXPECT_EQ(notices, 3);
    while (m_harness.Script().PlayNext())
    {
    }
    m_harness.MouseUp(enMouseButton::Left, At(550, 50));
    m_harness.PumpPending();
}

TEST_F(ViewTasksTest, WithoutAFormatTheDragDoesNothing)
{
    int notices = 0;
    DragDropTask task(0, m_pView, 0, "text", [&] { ++notices; });
    m_harness.Script().MouseMove(At(300, 100)).MouseUp(enMouseButton::Left, At(300, 100));
    Run(task, 100, 100);
    EXPECT_FALSE(task.IsStarted());
    EXPECT_EQ(notices, 0);
    while (m_harness.Script().PlayNext())
    {
    }
    m_harness.PumpPending();
}
