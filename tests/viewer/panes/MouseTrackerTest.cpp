// The tracking loops driven by scripted input, and the tool table of the
// task sets.
#include "MouseTracker.h"
#include "MagGlassTask.h"
#include "MetaView.h"
#include "MouseTaskSet.h"
#include "PaneTestSupport.h"
#include "QuillonLibrary.h"
#include "ToolTasks.h"
#include "UiHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

namespace
{

class RecordingTask : public MouseTask
{
public:
    using MouseTask::MouseTask;
    void OnBegin(int x, int y) override { Record("begin", x, y); }
    void OnMove(int x, int y, int, int, int, int) override { Record("move", x, y); }
    void OnEnd(int x, int y, int, int, int, int) override { Record("end", x, y); }
    void OnCancel(int x, int y, int, int, int, int) override { Record("cancel", x, y); }
    void OnKeyDown(UINT key, UINT, UINT) override { Record("key", int(key), 0); }
    void OnRButtonDown(UINT, int x, int y) override { Record("rdown", x, y); }
    void OnClick(int count, int x, int y, int, int, int, int) override
    {
        Record(("click" + std::to_string(count)).c_str(), x, y);
    }

    std::vector<std::string> calls;

private:
    void Record(const char* what, int x, int y)
    {
        calls.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
    }
};

class MouseTrackerTest : public PaneWindowTest
{
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        m_pView = MakePane<MetaView>(CRect(10, 10, 210, 210));
    }
    POINT At(int x, int y) const { return CUiHarness::ScreenPoint(m_pView->m_hWnd, x, y); }

    MetaView* m_pView = nullptr;
};

} // namespace

TEST_F(MouseTrackerTest, ADragPassesMovesOnceAndKeepsModifierKeysFromTheTask)
{
    RecordingTask task(0, m_pView);
    int modifiersWhileShift = -1;
    m_harness.Script()
        .MouseMove(At(20, 10))
        .MouseMove(At(20, 10))
        .Key(VK_SHIFT, true)
        .KeyPress('A')
        .Do([&] { modifiersWhileShift = task.GetModifiers(); })
        .Key(VK_SHIFT, false)
        .MouseDown(enMouseButton::Right, At(25, 11))
        .MouseMove(At(30, 12))
        .MouseUp(enMouseButton::Left, At(31, 13));
    DragTracker tracker(m_pView);
    tracker.TrackLeftButton(&task, POINT{10, 10});
    EXPECT_EQ(task.calls, (std::vector<std::string>{"begin 10,10", "move 20,10", "key 65,0",
                                                    "rdown 25,11", "move 30,12", "end 31,13"}));
    EXPECT_EQ(modifiersWhileShift, MouseTask::ShiftBit);
    EXPECT_EQ(task.GetModifiers(), 0);
    EXPECT_FALSE(task.IsActive());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MouseTrackerTest, EveryLoopEndsOnEscapeCancelModeCaptureLossAndQuit)
{
    struct Case
    {
        const char* name;
        std::function<void(CInputScript&, CWnd*)> ending;
        const char* last;
        bool quitLeft;
    };
    const Case cases[] = {
        {"escape", [](CInputScript& s, CWnd*) { s.KeyPress(VK_ESCAPE); }, "end", false},
        {"cancel mode",
         [](CInputScript& s, CWnd* w) { s.Do([w] { w->PostMessage(WM_CANCELMODE, 0, 0); }); },
         "end", false},
        {"capture lost",
         [](CInputScript& s, CWnd*) {
             s.Do([] { ReleaseCapture(); }).MouseMove(POINT{0, 0});
         },
         "cancel", false},
        {"quit", [](CInputScript& s, CWnd*) { s.PostQuit(3); }, "cancel", true},
    };
    for (const Case& c : cases)
    {
        for (int button :
             {MouseTask::enLeftButton, MouseTask::enMiddleButton, MouseTask::enRightButton})
        {
            SCOPED_TRACE(std::string(c.name) + " button " + std::to_string(button));
            RecordingTask task(0, m_pView);
            m_harness.Script().MouseMove(At(40, 40));
            c.ending(m_harness.Script(), m_pView);
            DragTracker tracker(m_pView);
            tracker.Track(&task, POINT{30, 30}, button);
            ASSERT_FALSE(task.calls.empty());
            EXPECT_EQ(task.calls.back().substr(0, task.calls.back().find(' ')), c.last);
            EXPECT_FALSE(task.IsActive());
            EXPECT_EQ(GetCapture(), nullptr);
            MSG quit = {};
            const bool quitQueued = PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
            EXPECT_EQ(quitQueued, c.quitLeft) << "a quit is posted again for the loop outside";
            if (quitQueued)
            {
                EXPECT_EQ(quit.wParam, 3u);
            }
        }
    }
}

TEST_F(MouseTrackerTest, AClickSequenceCountsItsButtonAndAnotherButtonCancels)
{
    RecordingTask task(0, m_pView);
    m_harness.Script()
        .MouseDown(enMouseButton::Left, At(12, 12))
        .MouseUp(enMouseButton::Left, At(12, 12))
        .MouseDown(enMouseButton::Left, At(50, 12))
        .MouseUp(enMouseButton::Left, At(50, 12))
        .MouseDown(enMouseButton::Right, At(60, 60));
    ClickSequenceTracker tracker(m_pView);
    tracker.Track(&task, POINT{12, 12});
    ASSERT_EQ(task.calls.size(), 4u);
    EXPECT_EQ(task.calls[1], "click1 12,12");
    EXPECT_EQ(task.calls[2], "click2 50,12");
    EXPECT_EQ(task.calls[3].substr(0, 6), "cancel");
}

TEST_F(MouseTrackerTest, AClickToClickGesturePassesEveryMoveAndEndsAtTheNextPress)
{
    RecordingTask task(0, m_pView);
    m_harness.Script()
        .MouseMove(At(20, 20))
        .MouseMove(At(20, 20))
        .MouseDown(enMouseButton::Left, At(25, 20));
    ClickToClickTracker tracker(m_pView);
    tracker.Track(&task, POINT{20, 20});
    EXPECT_EQ(task.calls,
              (std::vector<std::string>{"begin 20,20", "move 20,20", "move 20,20", "end 25,20"}));
}

TEST(MouseTaskSetTest, ToolCodesSelectTheirTaskAndCursor)
{
    struct Case
    {
        int code;
        const std::type_info& task;
        UINT cursor; // 0: none
    };
    const Case cases[] = {
        {0, typeid(ArrowTask), 32512},       {1, typeid(WindowLevelDragTool), 140},
        {2, typeid(ClickForwardTask), 154},  {26, typeid(ClickForwardTask), 154},
        {3, typeid(MagGlassTask), 0},        {4, typeid(ZoomDragTool), 153},
        {5, typeid(PanDragTool), 175},       {10, typeid(PixelValueTask), 32512},
        {13, typeid(ClickForwardTask), 0},   {28, typeid(ZoomOrPanTool), 171},
        {89, typeid(ClickForwardTask), 155}, {7, typeid(ArrowTask), 32512},
        {29, typeid(ArrowTask), 32512},
    };
    MouseTaskSet set(nullptr);
    EXPECT_EQ(set.GetTool(), 10);
    EXPECT_EQ(typeid(*set.GetCurrentTask()), typeid(PixelValueTask));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.code);
        set.SetTool(c.code);
        EXPECT_EQ(set.GetTool(), c.code);
        EXPECT_EQ(typeid(*set.GetCurrentTask()), c.task);
        EXPECT_EQ(set.GetCurrentTask()->GetCursor(),
                  c.cursor != 0 ? GetQuillonCursor(c.cursor) : nullptr);
        EXPECT_FALSE(set.IsPriority()) << "ordinary tools leave the annotations their clicks";
    }
    set.SetTool(4);
    for (int code : {-1, 30, 88, 1000})
    {
        set.SetTool(code);
        EXPECT_EQ(set.GetTool(), code);
        EXPECT_EQ(typeid(*set.GetCurrentTask()), typeid(ZoomDragTool));
    }
}
