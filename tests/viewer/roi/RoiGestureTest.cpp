// Measurements made and edited by scripted mouse input on a pane showing a
// corpus CT turned and zoomed: the gestures of each kind give the expected
// points, values and label texts; dragging a body, a handle or a label
// moves what it should; Esc puts things back. With SUITE_PICTURE_DIR set
// the pictures are written there.
#include "../window/PictureDump.h"
#include "RoiPaneTestSupport.h"

#include "ORoiAngle.h"
#include "ORoiArrow.h"
#include "ORoiCOBBAngle.h"
#include "ORoiCalliper.h"
#include "RoiTasks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

class RoiGestureTest : public PaneWindowTest
{
protected:
    // A CT pane, flipped and zoomed to twice the image size about its
    // middle, with labels 12 pixels beside their measurement.
    GesturePane* MakeCTPane()
    {
        m_pView = MakePane<GesturePane>(CRect(0, 0, 300, 240));
        m_pShow = CorpusShow("pydicom/test_files/CT_small.dcm");
        EXPECT_TRUE(m_pView->AttachShow(m_pShow.get()));
        m_pView->SetLabelsVisible(false);
        m_pView->ShowRuler(false);
        m_pView->FlipHorizontal();
        m_pView->ZoomAt(2.0, {150, 120});
        return m_pView;
    }
    // The screen point of an image point of the pane.
    POINT At(POINT image) const
    {
        const POINT client = m_pView->ImageToScreen(image.x, image.y);
        return CUiHarness::ScreenPoint(m_pView->m_hWnd, client.x, client.y);
    }
    void Press(POINT image)
    {
        m_harness.MouseDown(enMouseButton::Left, At(image));
        m_harness.PumpPending();
    }
    void MoveTo(POINT image)
    {
        m_harness.MouseMove(At(image));
        m_harness.PumpPending();
    }
    void Release(POINT image)
    {
        m_harness.MouseUp(enMouseButton::Left, At(image));
        m_harness.PumpPending();
    }
    // A press, a move half-way and on, and a release there.
    void Drag(POINT from, POINT to)
    {
        Press(from);
        MoveTo({(from.x + to.x) / 2, (from.y + to.y) / 2});
        MoveTo(to);
        Release(to);
    }
    void Click(POINT image)
    {
        MoveTo(image);
        Press(image);
        Release(image);
    }

    ScopedLabelOffset m_Offset{12};
    GesturePane* m_pView = nullptr;
    std::unique_ptr<ImageShow> m_pShow;
};

} // namespace

TEST_F(RoiGestureTest, EachKindIsMadeFromItsGesture)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    const struct
    {
        RoiCreation::enKind kind;
        std::vector<POINT> points;
        const char* handles;
        const char* label;
    } cases[] = {
        {RoiCreation::enCalliper, {{30, 40}, {90, 40}}, "(30,40)(90,40)", "39.7 mm"},
        {RoiCreation::enArrow, {{30, 40}, {90, 60}}, "(30,40)(90,60)", ""},
        {RoiCreation::enAngle,
         {{100, 70}, {60, 100}, {100, 105}},
         "(60,100)(100,70)(100,105)",
         "44.0 degree"},
        {RoiCreation::enCobbAngle,
         {{20, 30}, {80, 40}, {20, 90}, {80, 70}},
         "(20,30)(80,40)(20,90)(80,70)",
         "27.9 degree"},
    };
    MakeCTPane();
    for (const auto& c : cases)
    {
        m_pView->m_enKind = c.kind;
        m_pView->m_pMade = nullptr;
        // Past the double-click time: each case starts with a fresh press.
        m_harness.AdvanceClock(2000);
        if (c.points.size() == 2)
        {
            Drag(c.points[0], c.points[1]);
        }
        else
        {
            Click(c.points[0]);
            for (std::size_t i = 1; i < c.points.size(); ++i)
            {
                // The annotation follows the pointer before each click.
                MoveTo({c.points[i].x - 3, c.points[i].y + 2});
                EXPECT_EQ(m_pView->m_pMade, nullptr) << c.handles;
                ASSERT_EQ(Annotations(*m_pShow).size(), 1u) << c.handles;
                Click(c.points[i]);
            }
        }
        ASSERT_NE(m_pView->m_pMade, nullptr) << c.handles;
        ASSERT_EQ(Annotations(*m_pShow).size(), 1u);
        EXPECT_EQ(Text(HandlePoints(*m_pView->m_pMade)), c.handles);
        const ORoiTextLabel* label = m_pView->m_pMade->GetLinkedLabel();
        EXPECT_EQ(label != nullptr ? std::string(label->GetDisplayText()) : "", c.label);
        Paint(m_pView);
        DumpPicture(m_pView->m_hWnd, std::string("roi_made_") +
                                         m_pView->m_pMade->GetRuntimeClass()->m_lpszClassName);
        m_pShow->DeleteAnnotation(m_pView->m_pMade);
    }
}

TEST_F(RoiGestureTest, MadeMeasurementsFollowTheImageAndEarlyEndsLeaveNothing)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    MakeCTPane();
    Drag({30, 40}, {90, 40});
    ORoi* calliper = m_pView->m_pMade;
    ASSERT_NE(calliper, nullptr);
    // The flip undone: the calliper turns back with the image.
    m_pView->FlipHorizontal();
    EXPECT_EQ(Text(HandlePoints(*calliper)), "(98,40)(38,40)");
    EXPECT_EQ(std::string(calliper->GetLinkedLabel()->GetDisplayText()), "39.7 mm");

    // A drag out into the pane's margin ends at the image's edge.
    m_pView->m_pMade = nullptr;
    const POINT start = At({60, 110});
    const POINT margin = CUiHarness::ScreenPoint(m_pView->m_hWnd, 2, 180);
    m_harness.MouseDown(enMouseButton::Left, start);
    m_harness.MouseMove(margin);
    m_harness.MouseUp(enMouseButton::Left, margin);
    m_harness.PumpPending();
    ASSERT_NE(m_pView->m_pMade, nullptr);
    const POINT beyond = m_pView->ScreenToImage(2, 180);
    ASSERT_LT(beyond.x, 0);
    EXPECT_EQ(Text(HandlePoints(*m_pView->m_pMade)), Text({{60, 110}, {0, beyond.y}}));
    m_pShow->DeleteAnnotation(m_pView->m_pMade);

    // A click without a drag measures nothing.
    m_pView->m_pMade = nullptr;
    Click({60, 100});
    EXPECT_EQ(m_pView->m_pMade, nullptr);
    EXPECT_EQ(Annotations(*m_pShow).size(), 1u);
    // Esc in the middle of an angle removes it.
    m_pView->m_enKind = RoiCreation::enAngle;
    Click({100, 70});
    Click({60, 100});
    EXPECT_EQ(Annotations(*m_pShow).size(), 2u);
    m_harness.KeyPress(VK_ESCAPE);
    m_harness.PumpPending();
    EXPECT_EQ(Annotations(*m_pShow).size(), 1u);
    EXPECT_EQ(m_pView->m_pMade, nullptr);
}

TEST_F(RoiGestureTest, DragsMoveTheBodyAHandleOrTheLabel)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    MakeCTPane();
    auto* calliper = new ORoiCalliper(m_pShow.get());
    calliper->SetLine({30, 40}, {90, 40});
    m_pShow->AddAnnotation(calliper);
    calliper->PlaceLabel();
    calliper->Update();
    ORoiTextLabel* label = calliper->GetLinkedLabel();
    const POINT labelBefore = label->GetPosition();

    // The body, grabbed in its middle, moves whole with its label.
    Drag({60, 40}, {70, 50});
    EXPECT_EQ(Text(HandlePoints(*calliper)), "(40,50)(100,50)");
    EXPECT_EQ(label->GetPosition().x, labelBefore.x + 10);
    EXPECT_EQ(label->GetPosition().y, labelBefore.y + 10);
    // The second end, grabbed, moves alone: the length and label follow.
    Drag({100, 50}, {100, 80});
    EXPECT_EQ(Text(HandlePoints(*calliper)), "(40,50)(100,80)");
    EXPECT_EQ(std::string(label->GetDisplayText()), "44.4 mm");
    // The label moves alone; its anchor stays the measurement's.
    const POINT anchor = label->GetAnchor();
    const RECT text = label->GetScreenRect();
    const POINT grip =
        m_pView->ScreenToImage((text.left + text.right) / 2, (text.top + text.bottom) / 2);
    const POINT before = label->GetPosition();
    Drag(grip, {grip.x, grip.y + 20});
    EXPECT_EQ(label->GetPosition().y, before.y + 20);
    EXPECT_EQ(label->GetAnchor().x, anchor.x);
    EXPECT_EQ(label->GetAnchor().y, anchor.y);
    Paint(m_pView);
    DumpPicture(m_pView->m_hWnd, "roi_dragged");

    // Esc during a drag puts the body back.
    Press({70, 65});
    MoveTo({50, 20});
    EXPECT_NE(Text(HandlePoints(*calliper)), "(40,50)(100,80)");
    m_harness.KeyPress(VK_ESCAPE);
    m_harness.PumpPending();
    Release({50, 20});
    EXPECT_EQ(Text(HandlePoints(*calliper)), "(40,50)(100,80)");
    // A locked annotation stays.
    calliper->OnCommand(720);
    ASSERT_TRUE(calliper->IsLocked());
    Drag({70, 65}, {80, 75});
    EXPECT_EQ(Text(HandlePoints(*calliper)), "(40,50)(100,80)");
}

// The tasks in the panes' own loops, driven by scripted input: a calliper
// dragged out, an angle clicked in, and an annotation dragged by its body
// through its hit operation.
TEST_F(RoiGestureTest, TasksRunInThePanesLoops)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    MakeCTPane()->m_bGestures = false;
    const auto client = [&](POINT image) { return m_pView->ImageToScreen(image.x, image.y); };
    // The press reaches the pane first; the pane then runs the task's loop.
    const auto press = [&](POINT image)
    {
        m_harness.MouseDown(enMouseButton::Left, At(image));
        m_harness.PumpPending();
    };

    RoiCreateTask calliperTask(0, m_pView, RoiCreation::enCalliper);
    EXPECT_TRUE(calliperTask.IsPriority());
    press({30, 40});
    m_harness.Script()
        .MouseMove(At({50, 40}))
        .MouseMove(At({90, 40}))
        .MouseUp(enMouseButton::Left, At({90, 40}));
    calliperTask.Track(client({30, 40}));
    ASSERT_NE(calliperTask.GetResult(), nullptr);
    EXPECT_EQ(Text(HandlePoints(*calliperTask.GetResult())), "(30,40)(90,40)");
    EXPECT_FALSE(calliperTask.IsActive());

    m_harness.AdvanceClock(2000);
    RoiCreateTask angleTask(0, m_pView, RoiCreation::enAngle);
    press({100, 70});
    m_harness.Script()
        .MouseUp(enMouseButton::Left, At({100, 70}))
        .MouseMove(At({70, 90}))
        .MouseMove(At({60, 100}))
        .MouseDown(enMouseButton::Left, At({60, 100}))
        .MouseUp(enMouseButton::Left, At({60, 100}))
        .MouseMove(At({100, 105}))
        .MouseDown(enMouseButton::Left, At({100, 105}));
    angleTask.Track(client({100, 70}));
    m_harness.MouseUp(enMouseButton::Left, At({100, 105}));
    m_harness.PumpPending();
    ASSERT_NE(angleTask.GetResult(), nullptr);
    EXPECT_EQ(Text(HandlePoints(*angleTask.GetResult())), "(60,100)(100,70)(100,105)");
    EXPECT_EQ(std::string(angleTask.GetResult()->GetLinkedLabel()->GetDisplayText()),
              "44.0 degree");
    EXPECT_EQ(Annotations(*m_pShow).size(), 2u);

    m_harness.AdvanceClock(2000);
    ORoi* calliper = calliperTask.GetResult();
    const POINT grip = client({60, 40});
    ASSERT_EQ(calliper->HitTestDefault(grip.x, grip.y, 0), enHitBody);
    press({60, 40});
    m_harness.Script()
        .MouseMove(At({65, 45}))
        .MouseMove(At({70, 50}))
        .MouseUp(enMouseButton::Left, At({70, 50}));
    EXPECT_TRUE(calliper->OnHit(enHitBody, MK_LBUTTON, grip.x, grip.y));
    EXPECT_EQ(Text(HandlePoints(*calliper)), "(40,50)(100,50)");
    // Nothing to drag on a locked annotation, nor for a code it does not
    // take.
    calliper->OnCommand(720);
    EXPECT_FALSE(calliper->OnHit(enHitBody, MK_LBUTTON, grip.x, grip.y));
    EXPECT_FALSE(angleTask.GetResult()->OnHit(enHitEdgeX, MK_LBUTTON, grip.x, grip.y));
}
