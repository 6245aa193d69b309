// The interactive pane driven by scripted mouse and keyboard input on a
// corpus CT: the drags of the tools with their results read back, the
// read-out, the magnifier, the menus asked of the parent, the ends of every
// drag, and the clipboard copy.
#include "MedImage.h"
#include "../window/PictureDump.h"
#include "DICOMImage.h"
#include "DicomLookupTable.h"
#include "MagGlassTask.h"
#include "MetaImage.h"
#include "MetaMatrix.h"
#include "MouseTracker.h"
#include "ORoiCalliper.h"
#include "PaneTestSupport.h"
#include "ToolTasks.h"
#include "UiHarness.h"
#include "WinClipboard.h"
#include "WinGlobalMemory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace
{

// The pane's parent: it records the commands the pane sends or forwards.
class CommandParent : public CWnd
{
public:
    std::vector<UINT> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

// Counts the firings of a pane event and keeps the last pair.
class EventLog
{
public:
    int count = 0;
    int first = 0;
    int second = 0;
    void On(const void*, DelegateArgs* args)
    {
        ++count;
        if (const auto* pair = dynamic_cast<PairArgs*>(args))
        {
            first = pair->m_nFirst;
            second = pair->m_nSecond;
        }
    }
    void Listen(Delegate& event) { event.Add(MakeHandler(this, &EventLog::On, "EventLog::On")); }
};

// The cursor's display count, left as it was.
int CursorShowCount()
{
    const int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return count;
}

class MedImageTest : public PaneWindowTest
{
protected:
    void SetUp() override
    {
        PaneWindowTest::SetUp();
        if (!HasCorpus())
        {
            GTEST_SKIP() << "corpus folder not found";
        }
        m_pParent = new CommandParent;
        ASSERT_TRUE(m_pParent->Create(nullptr, "Parent", WS_CHILD | WS_VISIBLE,
                                      CRect(0, 0, 400, 400), m_pHost, 2));
        m_panes.emplace_back(m_pParent);
        m_pPane = new MedImage;
        ASSERT_TRUE(m_pPane->Create(nullptr, "Pane", WS_CHILD | WS_VISIBLE, CRect(20, 20, 320, 320),
                                    m_pParent, 1));
        m_panes.emplace_back(m_pPane);
        m_Show = CorpusShow("pydicom/test_files/CT_small.dcm");
        ASSERT_TRUE(m_pPane->AttachShow(m_Show.get()));
        Paint(m_pPane);
    }
    void TearDown() override
    {
        if (m_pPane != nullptr)
        {
            m_pPane->DetachShow();
        }
        PaneWindowTest::TearDown();
    }
    POINT At(int x, int y) const { return CUiHarness::ScreenPoint(m_pPane->m_hWnd, x, y); }
    // A press now; the script goes on inside the loop it starts.
    void Press(enMouseButton button, int x, int y, bool control = false)
    {
        m_harness.MouseMove(At(x, y));
        if (control)
        {
            m_harness.KeyDown(VK_CONTROL);
        }
        m_harness.MouseDown(button, At(x, y));
        m_harness.PumpPending();
        if (control)
        {
            m_harness.KeyUp(VK_CONTROL);
            m_harness.PumpPending();
        }
    }
    int WindowWidth() const { return m_Show->GetMetaImage()->GetWindowWidth(); }
    int WindowCenter() const { return m_Show->GetMetaImage()->GetWindowCenter(); }

    CommandParent* m_pParent = nullptr;
    MedImage* m_pPane = nullptr;
    std::unique_ptr<ImageShow> m_Show;
};

} // namespace

TEST_F(MedImageTest, ARightDragWindowsTheImageByTheStepOfCT)
{
    ASSERT_EQ(m_pPane->GetWindowLevelStep(), 2);
    const int width = WindowWidth();
    const int center = WindowCenter();
    EventLog log;
    log.Listen(m_pPane->GetWindowLevelEvent());
    DumpPicture(m_pPane->m_hWnd, "MedImageBeforeWindowLevel");
    m_harness.Script()
        .MouseMove(At(110, 100))
        .MouseMove(At(130, 95))
        .Do([&] { DumpPicture(m_pPane->GetWindow(GW_CHILD)->m_hWnd, "WindowLevelView"); })
        .MouseUp(enMouseButton::Right, At(130, 95));
    Press(enMouseButton::Right, 100, 100);
    EXPECT_EQ(WindowWidth(), width + 30 * 2);
    EXPECT_EQ(WindowCenter(), center - 5 * 2);
    EXPECT_EQ(log.count, 1);
    EXPECT_EQ(log.first, width + 60);
    EXPECT_EQ(log.second, center - 10);
    EXPECT_TRUE(m_pParent->commands.empty()) << "a drag opens no menu";
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(m_pPane->GetWindow(GW_CHILD), nullptr) << "the preview view is gone";
}

TEST_F(MedImageTest, TheZoomToolZoomsAboutThePressAndThePanToolPans)
{
    const double zoom = m_pPane->GetZoom();
    POINT imagePoint;
    const POINT press = {150, 150};
    m_pPane->ScreenToImage(&imagePoint, &press);
    EventLog zoomed;
    zoomed.Listen(m_pPane->GetZoomEvent());
    m_pPane->SetLeftButtonTool(MouseTaskSet::enZoomTool);
    m_harness.Script()
        .MouseMove(At(150, 140))
        .MouseMove(At(150, 50))
        .MouseUp(enMouseButton::Left, At(150, 50));
    Press(enMouseButton::Left, 150, 150);
    EXPECT_NEAR(m_pPane->GetZoom(), zoom * 2, 1e-6);
    EXPECT_EQ(zoomed.count, 1);
    const POINT after = m_pPane->ImageToScreen(imagePoint.x, imagePoint.y);
    EXPECT_NEAR(after.x, press.x, 2);
    EXPECT_NEAR(after.y, press.y, 2);
    EXPECT_NEAR(m_Show->GetZoom(), zoom * 2, 1e-6) << "the zoom is stored in the image";

    const CPoint pan = m_pPane->GetPan();
    EventLog panned;
    panned.Listen(m_pPane->GetPanEvent());
    m_pPane->SetLeftButtonTool(MouseTaskSet::enPanTool);
    m_harness.Script()
        .MouseMove(At(110, 100))
        .MouseMove(At(140, 120))
        .MouseUp(enMouseButton::Left, At(140, 120));
    Press(enMouseButton::Left, 100, 100);
    EXPECT_EQ(m_pPane->GetPan(), pan + CPoint(40, 20));
    EXPECT_EQ(panned.count, 1);
    EXPECT_EQ(m_Show->GetPan().x, pan.x + 40);
}

TEST_F(MedImageTest, ThePixelToolReadsTheValueUnderThePointer)
{
    auto* task = dynamic_cast<PixelValueTask*>(m_pPane->GetLeftTasks().GetCurrentTask());
    ASSERT_NE(task, nullptr);
    // The middle of the window area of image pixel (68, 72).
    const FloatPoint centre = {68.5F, 72.5F};
    FloatPoint at;
    m_pPane->ImageToScreenF(&at, &centre);
    const POINT point = {int(at.x), int(at.y)};
    const MetaMatrix* matrix = m_Show->GetMetaImage()->GetMatrix();
    Lettra expected;
    expected.Format("(68,72) = %d", matrix->GetPixelValue(68, 72));
    Lettra shown;
    m_harness.Script()
        .MouseMove(At(point.x, point.y))
        .Do([&] { shown = task->GetText(); })
        .MouseMove(At(-5, -5))
        .Do([&] { EXPECT_TRUE(task->GetText().IsEmpty()) << "nothing off the image"; })
        .MouseUp(enMouseButton::Left, At(-5, -5));
    Press(enMouseButton::Left, 100, 100);
    EXPECT_EQ(shown, expected);
}

TEST_F(MedImageTest, TheMagnifierShowsWhileHeldAndGivesTheCursorBack)
{
    m_pPane->SetLeftButtonTool(MouseTaskSet::enMagGlassTool);
    auto* task = dynamic_cast<MagGlassTask*>(m_pPane->GetLeftTasks().GetCurrentTask());
    ASSERT_NE(task, nullptr);
    const int shown = CursorShowCount();
    bool glassVisible = false;
    int hiddenCount = 0;
    POINT centre = {};
    m_harness.Script()
        .MouseMove(At(120, 130))
        .Do(
            [&]
            {
                glassVisible = task->GetGlass() != nullptr && task->GetGlass()->IsWindowVisible();
                hiddenCount = CursorShowCount();
                centre = task->GetGlass()->GetCenter();
                DumpPicture(task->GetGlass()->m_hWnd, "MagGlass");
            })
        .MouseUp(enMouseButton::Left, At(120, 130));
    Press(enMouseButton::Left, 100, 100);
    EXPECT_TRUE(glassVisible);
    EXPECT_EQ(hiddenCount, shown - 1);
    EXPECT_EQ(centre.x, 120);
    EXPECT_EQ(task->GetGlass(), nullptr);
    EXPECT_EQ(CursorShowCount(), shown);
}

TEST_F(MedImageTest, EscapeCaptureLossAndQuitEndTheDragsOfEveryTool)
{
    struct Case
    {
        int tool;
        enMouseButton button;
        int ending; // 0 Esc, 1 capture lost, 2 quit
    };
    const Case cases[] = {{MouseTaskSet::enWindowLevelTool, enMouseButton::Right, 0},
                          {MouseTaskSet::enWindowLevelTool, enMouseButton::Right, 1},
                          {MouseTaskSet::enWindowLevelTool, enMouseButton::Right, 2},
                          {MouseTaskSet::enZoomTool, enMouseButton::Left, 0},
                          {MouseTaskSet::enPanTool, enMouseButton::Left, 2},
                          {MouseTaskSet::enMagGlassTool, enMouseButton::Left, 0},
                          {MouseTaskSet::enPixelValueTool, enMouseButton::Left, 1}};
    const int shown = CursorShowCount();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.tool * 10 + c.ending);
        m_pPane->SetLeftButtonTool(c.tool);
        m_pPane->SetRightButtonTool(c.tool);
        m_harness.Script().MouseMove(At(110, 100)).MouseMove(At(120, 104));
        if (c.ending == 0)
        {
            m_harness.Script().KeyPress(VK_ESCAPE);
        }
        else if (c.ending == 1)
        {
            m_harness.Script().Do([] { ReleaseCapture(); }).MouseMove(At(121, 104));
        }
        else
        {
            m_harness.Script().PostQuit(7);
        }
        Press(c.button, 100, 100);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_FALSE(m_pPane->GetLeftTasks().IsActive());
        EXPECT_FALSE(m_pPane->GetRightTasks().IsActive());
        EXPECT_EQ(m_pPane->GetWindow(GW_CHILD), nullptr);
        EXPECT_EQ(CursorShowCount(), shown);
        // An Esc press ends the drag; its release is left to play.
        while (m_harness.Script().PlayNext())
        {
        }
        m_harness.PumpPending();
        MSG quit = {};
        EXPECT_EQ(PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0, c.ending == 2);
        m_harness.MouseUp(c.button, At(121, 104));
        m_harness.PumpPending();
    }
}

TEST_F(MedImageTest, ClicksAskTheParentForMenusAndCtrlClickRunsNoTask)
{
    m_harness.Script().MouseUp(enMouseButton::Right, At(100, 100));
    Press(enMouseButton::Right, 100, 100);
    EXPECT_EQ(m_pParent->commands, std::vector<UINT>{MedImage::enImageMenu});

    EventLog clicked;
    clicked.Listen(m_pPane->GetClickedEvent());
    Press(enMouseButton::Left, 100, 100, true);
    EXPECT_EQ(GetCapture(), nullptr) << "no task runs";
    EXPECT_EQ(clicked.count, 2);
    m_harness.MouseUp(enMouseButton::Left, At(100, 100));
    m_harness.PumpPending();

    m_pParent->commands.clear();
    m_pPane->DetachShow();
    Press(enMouseButton::Right, 100, 100);
    EXPECT_EQ(m_pParent->commands, std::vector<UINT>{MedImage::enEmptyPaneMenu});
    EXPECT_EQ(GetCapture(), nullptr);
    m_harness.MouseUp(enMouseButton::Right, At(100, 100));
    m_harness.PumpPending();

    m_pParent->commands.clear();
    m_pPane->SendMessage(WM_COMMAND, 32771, 0);
    EXPECT_EQ(m_pParent->commands, std::vector<UINT>{32771}) << "what the pane leaves goes on";
}

TEST_F(MedImageTest, CopyToClipboardGivesTheImageAsShown)
{
    ASSERT_TRUE(m_pPane->CopyToClipboard());
    m_Show->BuildFullViewDIB();
    const DIBHolder& full = m_Show->GetDIB();
    ASSERT_FALSE(full.IsEmpty());
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    const auto* copied = static_cast<const std::uint8_t*>(GlobalLock(data));
    const auto* expected = static_cast<const std::uint8_t*>(GlobalLock(full.GetDIB()));
    ASSERT_EQ(GlobalSize(data), GlobalSize(full.GetDIB()));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(copied);
    EXPECT_EQ(header->biWidth, 128);
    EXPECT_EQ(std::memcmp(copied, expected, GlobalSize(data)), 0);
    GlobalUnlock(full.GetDIB());
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(MedImageTest, AnnotationsAreSelectedMovedReshapedAndDeletedWithEveryTool)
{
    for (int tool : {MouseTaskSet::enArrowTool, MouseTaskSet::enWindowLevelTool,
                     MouseTaskSet::enPixelValueTool})
    {
        SCOPED_TRACE(tool);
        m_pPane->SetLeftButtonTool(tool);
        const int width = WindowWidth();
        auto* calliper = new ORoiCalliper(m_Show.get());
        calliper->SetLine({20, 30}, {100, 30});
        m_Show->AddAnnotation(calliper);
        const int count = m_Show->GetAnnotations().GetCount();

        // The body moves the whole line.
        const POINT middle = m_pPane->ImageToScreen(60, 30);
        m_harness.Script()
            .MouseMove(At(middle.x + 10, middle.y + 20))
            .MouseUp(enMouseButton::Left, At(middle.x + 10, middle.y + 20));
        Press(enMouseButton::Left, middle.x, middle.y);
        EXPECT_TRUE(calliper->IsSelected());
        POINT first;
        POINT second;
        calliper->GetLine(first, second);
        const double zoom = m_pPane->GetZoom();
        EXPECT_NEAR(first.x, 20 + 10 / zoom, 1);
        EXPECT_NEAR(first.y, 30 + 20 / zoom, 1);
        EXPECT_EQ(second.x - first.x, 80);
        EXPECT_EQ(second.y, first.y);
        EXPECT_EQ(WindowWidth(), width) << "the tool did not run";

        // A handle moves its point only.
        const POINT end = m_pPane->ImageToScreen(second.x, second.y);
        const POINT before = first;
        m_harness.Script()
            .MouseMove(At(end.x, end.y + 30))
            .MouseUp(enMouseButton::Left, At(end.x, end.y + 30));
        Press(enMouseButton::Left, end.x, end.y);
        calliper->GetLine(first, second);
        EXPECT_EQ(first.x, before.x);
        EXPECT_EQ(first.y, before.y);
        EXPECT_NEAR(second.y, before.y + 30 / zoom, 1);

        // A click beside it deselects; Delete removes the selected one.
        m_harness.Script().MouseUp(enMouseButton::Left, At(5, 290));
        Press(enMouseButton::Left, 5, 290);
        EXPECT_FALSE(calliper->IsSelected());
        calliper->GetLine(first, second);
        const POINT on = m_pPane->ImageToScreen(first.x, first.y);
        m_harness.Script().MouseUp(enMouseButton::Left, At(on.x, on.y));
        Press(enMouseButton::Left, on.x, on.y);
        ASSERT_TRUE(calliper->IsSelected());
        m_harness.KeyPress(VK_DELETE);
        m_harness.PumpPending();
        EXPECT_EQ(m_Show->GetAnnotations().GetCount(), count - 1);
        while (m_harness.Script().PlayNext())
        {
        }
        m_harness.PumpPending();
    }
}

TEST_F(MedImageTest, AtOneToOneThePanToolMovesThePictureAsAWindow)
{
    m_pPane->ZoomPixelByPixel();
    Paint(m_pPane);
    const CPoint pan = m_pPane->GetPan();
    EventLog panned;
    panned.Listen(m_pPane->GetPanEvent());
    m_pPane->SetLeftButtonTool(MouseTaskSet::enPanTool);
    CRect moved;
    bool onBlack = false;
    m_harness.Script()
        .MouseMove(At(160, 150))
        .MouseMove(At(190, 170))
        .Do(
            [&]
            {
                CWnd* black = m_pPane->GetWindow(GW_CHILD);
                CWnd* view = black != nullptr ? black->GetWindow(GW_CHILD) : nullptr;
                ASSERT_NE(view, nullptr);
                view->GetWindowRect(&moved);
                m_pPane->ScreenToClient(&moved);
                DumpPicture(m_pPane->m_hWnd, "MoveWindowPanView");
                WindowPicture picture;
                ASSERT_TRUE(UserGetWindowPicture(m_pPane->m_hWnd, true, picture));
                onBlack = (picture.GetPixel(5, 5) & 0xFFFFFF) == 0 &&
                          (picture.GetPixel(moved.left + 64, moved.top + 64) & 0xFFFFFF) != 0;
            })
        .MouseUp(enMouseButton::Left, At(190, 170));
    CRect before;
    m_pPane->GetImageScreenRect(&before);
    Press(enMouseButton::Left, 150, 150);
    EXPECT_EQ(moved.TopLeft(), before.TopLeft() + CPoint(40, 20));
    EXPECT_EQ(moved.Size(), before.Size());
    EXPECT_TRUE(onBlack) << "the picture moves over black";
    EXPECT_EQ(m_pPane->GetPan(), pan + CPoint(40, 20));
    EXPECT_EQ(panned.count, 1);
    EXPECT_EQ(m_pPane->GetWindow(GW_CHILD), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MedImageTest, ARectangleSelectionWindowsOverItZoomsOntoItOrIsGivenUp)
{
    EventLog leveled;
    leveled.Listen(m_pPane->GetWindowLevelEvent());
    const int width = WindowWidth();
    RectSelectTask windowing(0, m_pPane, RectSelectTask::enAutoWindowLevel);
    m_harness.Script()
        .MouseMove(At(120, 110))
        .MouseMove(At(200, 190))
        .Do([&] { DumpPicture(m_pPane->m_hWnd, "RectSelectBand"); })
        .MouseUp(enMouseButton::Left, At(200, 190));
    DragTracker(m_pPane).TrackLeftButton(&windowing, POINT{100, 100});
    EXPECT_EQ(windowing.GetRect(), CRect(100, 100, 200, 190));
    const DicomLookupTable* table = m_Show->GetMetaImage()->GetCurrentLUT();
    Lettra description;
    description.Format("Auto, W:%d, L:%d", WindowWidth(), WindowCenter());
    EXPECT_EQ(table->GetDescription(), description);
    EXPECT_NE(WindowWidth(), width);
    // The window lies within the values of the pixels under the band.
    RECT part;
    m_pPane->ScreenToImageRect(&part, CRect(100, 100, 200, 190));
    const MetaMatrix* matrix = m_Show->GetMetaImage()->GetMatrix();
    const double slope = m_Show->GetDicomValue(0x0028, 0x1053).Double();
    const double intercept = m_Show->GetDicomValue(0x0028, 0x1052).Double();
    int low = INT_MAX;
    int high = INT_MIN;
    for (int y = part.top; y < part.bottom; ++y)
    {
        for (int x = part.left; x < part.right; ++x)
        {
            const int value = int(matrix->GetPixelValue(x, y) * slope + intercept);
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    EXPECT_GE(WindowCenter() - WindowWidth() / 2, low - 1);
    EXPECT_LE(WindowCenter() + WindowWidth() / 2, high + 1);
    EXPECT_EQ(leveled.count, 1);

    const double zoom = m_pPane->GetZoom();
    POINT centre;
    const POINT bandCentre = {140, 115};
    m_pPane->ScreenToImage(&centre, &bandCentre);
    RectSelectTask zooming(0, m_pPane, RectSelectTask::enZoomToRect);
    m_harness.Script()
        .MouseMove(At(140, 115))
        .MouseMove(At(240, 190))
        .MouseUp(enMouseButton::Left, At(240, 190));
    DragTracker(m_pPane).TrackLeftButton(&zooming, POINT{40, 40});
    EXPECT_NEAR(m_pPane->GetZoom(), zoom * 1.5, 0.05);
    const POINT after = m_pPane->ImageToScreen(centre.x, centre.y);
    const CPoint middle = m_pPane->GetDisplayRect().CenterPoint();
    EXPECT_NEAR(after.x, middle.x, 3);
    EXPECT_NEAR(after.y, middle.y, 3);

    const double zoomed = m_pPane->GetZoom();
    RectSelectTask givenUp(0, m_pPane, RectSelectTask::enZoomToRect);
    m_harness.Script().MouseMove(At(150, 150)).KeyPress(VK_ESCAPE);
    DragTracker(m_pPane).TrackLeftButton(&givenUp, POINT{40, 40});
    EXPECT_TRUE(givenUp.GetRect().IsRectEmpty());
    EXPECT_EQ(m_pPane->GetZoom(), zoomed);
    while (m_harness.Script().PlayNext())
    {
    }
    m_harness.MouseUp(enMouseButton::Left, At(150, 150));
    m_harness.PumpPending();
}
