// The interactive pane driven by scripted mouse and keyboard input on a
// corpus CT: the drags of the tools with their results read back, the
// read-out, the magnifier, the menus asked of the parent, the ends of every
// drag, and the clipboard copy.
#include "MedImage.h"
#include "../window/PictureDump.h"
#include "AgeFromDate.h"
#include "DICOMImage.h"
#include "DicomLookupTable.h"
#include "MagGlassTask.h"
#include "MaskWnd.h"
#include "MetaImage.h"
#include "MetaMatrix.h"
#include "MouseTracker.h"
#include "ORoiCalliper.h"
#include "ORoiShutter.h"
#include "PaneTestSupport.h"
#include "ToolTasks.h"
#include "UiHarness.h"
#include "WinClipboard.h"
#include "WinGlobalMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

// The pane's parent: it records the commands the pane sends or forwards
// and the double clicks and keys it passes up.
class CommandParent : public CWnd
{
public:
    std::vector<UINT> commands;
    std::vector<UINT> passed;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONDBLCLK || message == WM_KEYDOWN)
        {
            passed.push_back(message);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A calliper that takes Enter.
class EnterCalliper : public ORoiCalliper
{
public:
    using ORoiCalliper::ORoiCalliper;
    int enters = 0;
    bool OnKeyDown(UINT key, UINT repeat, UINT flags) override
    {
        if (key == VK_RETURN)
        {
            ++enters;
            return true;
        }
        return ORoiCalliper::OnKeyDown(key, repeat, flags);
    }
};

// A calliper that counts the keys let go over it and takes them.
class KeyUpCalliper : public ORoiCalliper
{
public:
    using ORoiCalliper::ORoiCalliper;
    int ups = 0;
    bool OnKeyUp(UINT, UINT, UINT) override
    {
        ++ups;
        return true;
    }
};

// An owner-drawn popup that logs its measuring and drawing.
class LoggingMenu : public CMenu
{
public:
    int measured = 0;
    int drawn = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override
    {
        ++measured;
        item->itemWidth = 80;
        item->itemHeight = 16;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }
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
    // A calliper of the image from (20, 30) to (100, 30).
    template <class Roi = ORoiCalliper> Roi* AddCalliper()
    {
        auto* calliper = new Roi(m_Show.get());
        calliper->SetLine({20, 30}, {100, 30});
        m_Show->AddAnnotation(calliper);
        return calliper;
    }
    void Click(enMouseButton button, POINT point)
    {
        m_harness.Script().MouseUp(button, At(point.x, point.y));
        Press(button, point.x, point.y);
        m_harness.PumpPending();
    }
    // The pane with the preview view of the drag in progress painted over
    // it, kept and dumped.
    void TakePreviewPicture(const char* name, WindowPicture& picture)
    {
        CWnd* view = m_pPane->GetWindow(GW_CHILD);
        ASSERT_NE(view, nullptr);
        view->UpdateWindow();
        DumpPicture(m_pPane->m_hWnd, name);
        ASSERT_TRUE(UserGetWindowPicture(m_pPane->m_hWnd, true, picture));
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

namespace
{

// The mean difference of the grey levels of two pictures of the pane over
// its middle, away from the corner labels and the ruler.
double MeanDifferenceInTheMiddle(const WindowPicture& one, const WindowPicture& other)
{
    double sum = 0.0;
    int count = 0;
    for (int y = 80; y < 220; ++y)
    {
        for (int x = 80; x < 220; ++x)
        {
            sum += std::abs(int(one.GetPixel(x, y) & 0xFF) - int(other.GetPixel(x, y) & 0xFF));
            ++count;
        }
    }
    return sum / count;
}

// The spread of grey levels over the pane's middle: a black picture has none.
int GreyRangeInTheMiddle(const WindowPicture& picture)
{
    int low = 255;
    int high = 0;
    for (int y = 80; y < 220; ++y)
    {
        for (int x = 80; x < 220; ++x)
        {
            const int grey = int(picture.GetPixel(x, y) & 0xFF);
            low = std::min(low, grey);
            high = std::max(high, grey);
        }
    }
    return high - low;
}

} // namespace

// The zoom drag, and the pan drag of a zoomed image, show the picture as it
// moves: at the last move it is the picture the pane shows after release.
TEST_F(MedImageTest, ZoomAndPanDragsShowThePictureTheyLeave)
{
    struct Drag
    {
        const char* name;
        int tool;
        double startZoom;
        POINT from;
        POINT to;
    };
    // Presses apart, so that the second is no double click.
    const Drag drags[] = {{"ZoomViewDrag", MouseTaskSet::enZoomTool, 1.5, {150, 150}, {150, 100}},
                          {"DIBPanViewDrag", MouseTaskSet::enPanTool, 2.0, {120, 130}, {160, 150}}};
    for (const Drag& drag : drags)
    {
        SCOPED_TRACE(drag.name);
        m_pPane->ZoomAt(drag.startZoom, POINT{150, 150});
        m_pPane->CommitZoom();
        Paint(m_pPane);
        m_pPane->SetLeftButtonTool(drag.tool);
        WindowPicture during;
        m_harness.Script()
            .MouseMove(At(drag.from.x, drag.from.y - 5))
            .MouseMove(At((drag.from.x + drag.to.x) / 2, (drag.from.y + drag.to.y) / 2))
            .MouseMove(At(drag.to.x, drag.to.y))
            .Do([&] { TakePreviewPicture(drag.name, during); })
            .MouseUp(enMouseButton::Left, At(drag.to.x, drag.to.y));
        Press(enMouseButton::Left, drag.from.x, drag.from.y);
        ASSERT_EQ(m_pPane->GetWindow(GW_CHILD), nullptr);
        Paint(m_pPane);
        DumpPicture(m_pPane->m_hWnd, std::string(drag.name) + "Released");
        WindowPicture after;
        ASSERT_TRUE(UserGetWindowPicture(m_pPane->m_hWnd, true, after));
        ASSERT_EQ(during.nWidth, after.nWidth);
        EXPECT_GT(GreyRangeInTheMiddle(during), 40) << "the preview shows the image";
        EXPECT_LT(MeanDifferenceInTheMiddle(during, after), 4.0);
    }
}

// The automatic window is computed for the shown image whatever its
// modality (a CT here), marked as the automatic one, and made current; a
// second call finds the same table.
TEST_F(MedImageTest, AutoWindowLevelComputesAWindowForACT)
{
    EventLog leveled;
    leveled.Listen(m_pPane->GetWindowLevelEvent());
    const int tables = m_Show->GetMetaImage()->GetLUTs().GetCount();
    ASSERT_TRUE(m_pPane->AutoWindowLevel());
    const DicomLookupTable* current = m_Show->GetMetaImage()->GetCurrentLUT();
    ASSERT_NE(current, nullptr);
    EXPECT_TRUE(current->HasType(DicomLookupTable::enAutoWindow));
    EXPECT_EQ(current->GetDescription().Left(4), Lettra("Auto"));
    EXPECT_EQ(leveled.count, 1);
    EXPECT_EQ(leveled.first, current->GetWindowWidth());
    ASSERT_TRUE(m_pPane->AutoWindowLevel());
    EXPECT_EQ(m_Show->GetMetaImage()->GetCurrentLUT(), current);
    EXPECT_EQ(m_Show->GetMetaImage()->GetLUTs().GetCount(), tables + 1);
}

// Restore is the image as loaded: no flip or turn is left, the side
// labels and the pixels stand as before them.
TEST_F(MedImageTest, RestoreForgetsTheFlipsAndTurns)
{
    auto sides = [&]
    {
        std::string words;
        for (auto side :
             {ImageShow::enLeft, ImageShow::enRight, ImageShow::enTop, ImageShow::enBottom})
        {
            const Array<Lettra>& list = m_Show->GetSideLabels(side);
            words +=
                (list.GetCount() > 0 ? list.GetHead()->item.constBuffer() : "") + std::string("|");
        }
        return words;
    };
    const std::string loaded = sides();
    const MetaMatrix* matrix = m_Show->GetMetaImage()->GetMatrix();
    const int corner = matrix->GetPixelValue(0, 0);
    const int inside = matrix->GetPixelValue(20, 90);
    m_pPane->FlipHorizontal();
    m_pPane->Rotate(1);
    Paint(m_pPane);
    ASSERT_STRNE(m_Show->GetHVR(), "");
    ASSERT_NE(sides(), loaded);
    m_pPane->Restore();
    Paint(m_pPane);
    EXPECT_STREQ(m_Show->GetHVR(), "");
    EXPECT_EQ(sides(), loaded);
    matrix = m_Show->GetMetaImage()->GetMatrix();
    ASSERT_NE(matrix, nullptr);
    EXPECT_EQ(matrix->GetPixelValue(0, 0), corner);
    EXPECT_EQ(matrix->GetPixelValue(20, 90), inside);
}

// A key goes to every selected annotation, the image's and the pane's;
// a key let go only to the first that takes it. Adding and a key taken
// raise their annotation events.
TEST_F(MedImageTest, KeysReachEverySelectedAnnotation)
{
    EventLog added;
    added.Listen(m_pPane->GetAnnotationEvent(MedImage::enAnnotationAdded));
    EventLog changed;
    changed.Listen(m_pPane->GetAnnotationEvent(MedImage::enAnnotationChanged));
    auto* first = AddCalliper<KeyUpCalliper>();
    auto* second = new KeyUpCalliper(m_Show.get());
    second->SetLine({30, 60}, {90, 70});
    m_pPane->AddAnnotation(second, true);
    auto* onPane = new ORoiCalliper(m_Show.get());
    onPane->SetLine({10, 100}, {40, 100});
    m_pPane->AddPaneAnnotation(onPane);
    EXPECT_EQ(added.count, 2);
    for (ORoi* roi : std::initializer_list<ORoi*>{first, second, onPane})
    {
        roi->Select(false);
    }
    POINT before[3][2];
    first->GetLine(before[0][0], before[0][1]);
    second->GetLine(before[1][0], before[1][1]);
    onPane->GetLine(before[2][0], before[2][1]);
    m_pPane->SetFocus();
    m_harness.KeyDown(VK_RIGHT);
    m_harness.PumpPending();
    POINT after[3][2];
    first->GetLine(after[0][0], after[0][1]);
    second->GetLine(after[1][0], after[1][1]);
    onPane->GetLine(after[2][0], after[2][1]);
    for (int roi = 0; roi < 3; ++roi)
    {
        EXPECT_EQ(after[roi][0].x, before[roi][0].x + 1) << roi;
        EXPECT_EQ(after[roi][1].x, before[roi][1].x + 1) << roi;
    }
    EXPECT_EQ(changed.count, 1);
    EXPECT_TRUE(m_pParent->passed.empty()) << "a key taken is not passed up";

    m_harness.KeyUp(VK_RIGHT);
    m_harness.PumpPending();
    EXPECT_EQ(first->ups, 1);
    EXPECT_EQ(second->ups, 0) << "the first that takes it ends the search";
    EXPECT_EQ(changed.count, 2);
}

// Releasing the image's data leaves none of its annotations selected.
TEST_F(MedImageTest, ReleasingTheImageDataDeselectsItsAnnotations)
{
    ORoiCalliper* calliper = AddCalliper();
    calliper->Select(false);
    m_pPane->ReleaseImageData();
    EXPECT_FALSE(calliper->IsSelected());
}

// The window/level drag shows the image through the shutter as the pane
// does: what the pane hides stays hidden during the drag.
TEST_F(MedImageTest, TheWindowLevelPreviewKeepsTheShutter)
{
    const POINT corners[2] = {{32, 32}, {96, 96}};
    m_Show->SetMask(new ORoiShutter(m_Show.get(), ORoiShutter::enRectangle, corners, 2));
    Paint(m_pPane);
    WindowPicture during;
    m_harness.Script()
        .MouseMove(At(110, 100))
        .MouseMove(At(130, 95))
        .Do([&] { TakePreviewPicture("WindowLevelViewShutter", during); })
        .MouseUp(enMouseButton::Right, At(130, 95));
    Press(enMouseButton::Right, 100, 100);
    Paint(m_pPane);
    WindowPicture after;
    ASSERT_TRUE(UserGetWindowPicture(m_pPane->m_hWnd, true, after));
    ASSERT_EQ(during.nWidth, after.nWidth);
    CRect opening;
    const CRect box(32, 32, 96, 96);
    m_pPane->ImageToScreenRect(&opening, &box);
    opening.InflateRect(3, 3);
    int hidden = 0;
    int shown = 0;
    for (int y = 0; y < after.nHeight; ++y)
    {
        for (int x = 0; x < after.nWidth; ++x)
        {
            if (!opening.PtInRect(CPoint(x, y)) && (after.GetPixel(x, y) & 0xFFFFFF) == 0)
            {
                ++hidden;
                shown += (during.GetPixel(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
            }
        }
    }
    ASSERT_GT(hidden, 1000);
    EXPECT_EQ(shown, 0) << "pixels the shutter hides, shown during the drag";
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

TEST_F(MedImageTest, ThePointerOverAnAnnotationHighlightsItAndShowsWhatAPressWouldDo)
{
    ORoiCalliper* calliper = AddCalliper();
    const POINT body = m_pPane->ImageToScreen(60, 30);
    const POINT end = m_pPane->ImageToScreen(100, 30);
    struct Case
    {
        POINT point;
        LPCSTR cursor;
        bool hovered;
    };
    const Case cases[] = {
        {body, IDC_SIZEALL, true}, {end, IDC_CROSS, true}, {POINT{5, 290}, nullptr, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.point.x);
        m_harness.MouseMove(At(c.point.x, c.point.y));
        m_harness.PumpPending();
        EXPECT_EQ(m_pPane->GetHoveredAnnotation(), c.hovered ? calliper : nullptr);
        EXPECT_EQ(calliper->IsHighlighted(), c.hovered);
        if (c.cursor != nullptr)
        {
            EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor));
        }
    }
    calliper->SetLocked(true);
    m_harness.MouseMove(At(body.x, body.y));
    m_harness.PumpPending();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW)) << "a locked one does not move";
    m_pPane->ShowOverlays(false);
    m_harness.MouseMove(At(body.x + 1, body.y));
    m_harness.PumpPending();
    EXPECT_EQ(m_pPane->GetHoveredAnnotation(), nullptr) << "hidden overlays are not hovered";
    EXPECT_FALSE(calliper->IsHighlighted());
}

TEST_F(MedImageTest, EnterAndADoubleClickOnAnAnnotationGoToTheSelectedOne)
{
    auto* calliper = AddCalliper<EnterCalliper>();
    const POINT body = m_pPane->ImageToScreen(60, 30);
    Click(enMouseButton::Left, body);
    ASSERT_TRUE(calliper->IsSelected());
    m_pPane->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(body.x, body.y));
    m_harness.PumpPending();
    EXPECT_EQ(calliper->enters, 1);
    EXPECT_TRUE(m_pParent->passed.empty()) << "the view does not swap its layout";
    m_harness.KeyPress(VK_RETURN);
    m_harness.PumpPending();
    EXPECT_EQ(calliper->enters, 2);
    EXPECT_TRUE(m_pParent->passed.empty());

    m_pPane->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 290));
    m_harness.PumpPending();
    EXPECT_EQ(m_pParent->passed, std::vector<UINT>{WM_LBUTTONDBLCLK});
    Click(enMouseButton::Left, POINT{5, 290});
    ASSERT_FALSE(calliper->IsSelected());
    m_harness.KeyPress(VK_RETURN);
    m_harness.PumpPending();
    EXPECT_EQ(calliper->enters, 2);
    EXPECT_EQ(m_pParent->passed, (std::vector<UINT>{WM_LBUTTONDBLCLK, WM_KEYDOWN}));
}

TEST_F(MedImageTest, ARightClickAsksForTheMenuOfWhatItHitsAndItsCommandsComeBack)
{
    ORoiCalliper* calliper = AddCalliper();
    ORoiCalliper* other = AddCalliper();
    other->SetLine({20, 90}, {100, 90});
    Click(enMouseButton::Left, m_pPane->ImageToScreen(60, 90));
    ASSERT_TRUE(other->IsSelected());
    Click(enMouseButton::Right, m_pPane->ImageToScreen(60, 30));
    EXPECT_EQ(m_pParent->commands, std::vector<UINT>{MedImage::enAnnotationMenu});
    EXPECT_TRUE(calliper->IsSelected());
    EXPECT_FALSE(other->IsSelected());
    // The command goes to the annotation of the menu, not to the parent.
    m_pPane->SendMessage(WM_COMMAND, enCmdShowOff, 0);
    EXPECT_FALSE(calliper->IsShown());
    EXPECT_TRUE(other->IsShown());
    EXPECT_EQ(m_pParent->commands.size(), 1U);

    m_pParent->commands.clear();
    Click(enMouseButton::Right, POINT{5, 290});
    EXPECT_EQ(m_pParent->commands, std::vector<UINT>{MedImage::enImageMenu});
    Click(enMouseButton::Left, POINT{5, 290});
    m_pParent->commands.clear();
    m_pPane->SendMessage(WM_COMMAND, enCmdShowOn, 0);
    EXPECT_FALSE(calliper->IsShown()) << "no target: nothing to show";
    EXPECT_EQ(m_pParent->commands, std::vector<UINT>{UINT(enCmdShowOn)});
}

TEST_F(MedImageTest, ThePanesOwnerDrawnPopupShowsTheLayerStateAndHidesTheAnnotations)
{
    AddCalliper();
    LoggingMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_OWNERDRAW, MedImage::enCmdShowOverlays, reinterpret_cast<LPCSTR>(1));
    popup.AppendMenu(MF_OWNERDRAW, MedImage::enCmdHideOverlays, reinterpret_cast<LPCSTR>(2));
    popup.AppendMenu(MF_OWNERDRAW, enCmdToTail, reinterpret_cast<LPCSTR>(3));
    m_pPane->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    EXPECT_EQ(popup.GetMenuState(MedImage::enCmdShowOverlays, MF_BYCOMMAND) & MF_CHECKED,
              UINT(MF_CHECKED));
    EXPECT_EQ(popup.GetMenuState(MedImage::enCmdHideOverlays, MF_BYCOMMAND) & MF_CHECKED, 0U);
    EXPECT_EQ(popup.GetMenuState(enCmdToTail, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED))
        << "no annotation to order";

    const POINT at = At(100, 100);
    m_harness.Script().KeyPress(VK_DOWN).KeyPress(VK_DOWN).KeyPress(VK_RETURN);
    EXPECT_TRUE(popup.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_VERTICAL, at.x, at.y, m_pPane));
    m_harness.PumpPending();
    EXPECT_EQ(popup.measured, 3);
    EXPECT_GT(popup.drawn, 0);
    EXPECT_FALSE(m_pPane->AreOverlaysShown());
    m_pPane->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    EXPECT_EQ(popup.GetMenuState(MedImage::enCmdHideOverlays, MF_BYCOMMAND) & MF_CHECKED,
              UINT(MF_CHECKED));
    m_pPane->SendMessage(WM_COMMAND, MedImage::enCmdShowOverlays, 0);
    EXPECT_TRUE(m_pPane->AreOverlaysShown());
}

namespace
{

// The texts of a label list, in order.
std::vector<std::string> TextsOf(MedImage& pane, int position)
{
    std::vector<std::string> texts;
    for (auto* node = pane.GetLabels(position).GetHead(); node != nullptr; node = node->next)
    {
        texts.emplace_back(node->item->GetText().constBuffer());
    }
    return texts;
}

std::vector<CRect> RectsOf(MedImage& pane, int position)
{
    std::vector<CRect> rects;
    for (auto* node = pane.GetLabels(position).GetHead(); node != nullptr; node = node->next)
    {
        CRect rect;
        node->item->GetRect(&rect);
        rects.push_back(rect);
    }
    return rects;
}

} // namespace

TEST_F(MedImageTest, CornerLabelsComeFromTheLabelConfigurationOfTheModality)
{
    ImageTag tags;
    ASSERT_TRUE(tags.LoadConfigXML(R"(<ImageShowConfig>
  <Modality name="CT">
    <TopLeft>
      <tag group="0010" element="0010" line="1"/>
      <tag group="0010" element="0020" line="1" prefix="ID:"/>
      <tag group="0008" element="103F" line="2" prefix="Absent:"/>
      <tag group="0020" element="0013" line="3" prefix="Im " postfix="."/>
    </TopLeft>
    <BottomLeft>
      <tag type="AGE" line="1"/>
    </BottomLeft>
  </Modality>
</ImageShowConfig>)",
                                   "/ImageShowConfig", "tag"));
    m_pPane->SetImageTag(&tags);
    m_pPane->BuildImageLabels(m_Show.get());
    const std::string name = m_Show->GetDicomValue(0x0010, 0x0010).constBuffer();
    const std::string id = m_Show->GetDicomValue(0x0010, 0x0020).constBuffer();
    const std::string image = m_Show->GetDicomValue(0x0020, 0x0013).constBuffer();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(TextsOf(*m_pPane, ViewLabel::enTopLeft),
              (std::vector<std::string>{name + ", ID:" + id, "", "Im " + image + "."}));
    EXPECT_TRUE(TextsOf(*m_pPane, ViewLabel::enTopRight).empty());
    EXPECT_TRUE(TextsOf(*m_pPane, ViewLabel::enBottomRight).empty());
    Lettra age = m_Show->GetDicomValue(0x0010, 0x1010);
    if (age.IsEmpty())
    {
        age = AgeFromDate(m_Show->GetDicomValue(0x0008, 0x0020).constBuffer(),
                          m_Show->GetDicomValue(0x0010, 0x0030).constBuffer());
    }
    const std::vector<std::string> bottomLeft = TextsOf(*m_pPane, ViewLabel::enBottomLeft);
    ASSERT_EQ(bottomLeft.size(), age.IsEmpty() ? 3U : 4U);
    if (!age.IsEmpty())
    {
        EXPECT_EQ(bottomLeft.front(), age.constBuffer());
    }
    // The read-outs stay, the last lines of their corner.
    EXPECT_EQ(m_pPane->GetLabels(ViewLabel::enBottomLeft).GetTail()->item,
              m_pPane->GetSpecialLabel(CViewPort::enRatioLabel));
    Paint(m_pPane);
    DumpPicture(m_pPane->m_hWnd, "ImageTagLabels");

    // Without a set for the modality the built-in labels stand.
    ASSERT_TRUE(tags.LoadConfigXML(R"(<ImageShowConfig><Modality name="MR"/></ImageShowConfig>)",
                                   "/ImageShowConfig", "tag"));
    m_pPane->BuildImageLabels(m_Show.get());
    const std::vector<std::string> topRight = TextsOf(*m_pPane, ViewLabel::enTopRight);
    ASSERT_FALSE(topRight.empty());
    EXPECT_EQ(topRight.front().substr(0, 3), "Ex:");
    EXPECT_EQ(TextsOf(*m_pPane, ViewLabel::enBottomLeft).size(), 3U);
    m_pPane->SetImageTag(nullptr);
    m_pPane->BuildImageLabels(m_Show.get());
    EXPECT_EQ(TextsOf(*m_pPane, ViewLabel::enTopRight), topRight);
}

// Decimal and integer values show as a reader writes them, whatever the
// file stored; other text shows as stored.
TEST_F(MedImageTest, CornerLabelsWriteNumbersAsAReaderExpects)
{
    DICOMImage* image = m_Show->GetDicomImage();
    ASSERT_NE(image, nullptr);
    const struct
    {
        std::uint16_t group;
        std::uint16_t element;
        const char* stored;
    } values[] = {{0x0018, 0x0081, "1.250000e+01"},
                  {0x0018, 0x0050, "1.6000000238419"},
                  {0x0020, 0x1041, "-99.480000"},
                  {0x0020, 0x0013, "+0007"},
                  {0x0010, 0x0020, "00123"}};
    for (const auto& value : values)
    {
        image->Delete(value.group, value.element);
        image->Add(value.group, value.element, value.stored);
    }
    ImageTag tags;
    ASSERT_TRUE(tags.LoadConfigXML(R"(<ImageShowConfig>
  <Modality name="CT">
    <TopLeft>
      <tag group="0018" element="0081" line="1" prefix="TE: "/>
      <tag group="0018" element="0050" line="2" prefix="Thk: " postfix=" mm"/>
      <tag group="0020" element="1041" line="3" prefix="Loc: "/>
      <tag group="0020" element="0013" line="4" prefix="Im: "/>
      <tag group="0010" element="0020" line="5" prefix="ID: "/>
    </TopLeft>
  </Modality>
</ImageShowConfig>)",
                                   "/ImageShowConfig", "tag"));
    m_pPane->SetImageTag(&tags);
    m_pPane->BuildImageLabels(m_Show.get());
    EXPECT_EQ(
        TextsOf(*m_pPane, ViewLabel::enTopLeft),
        (std::vector<std::string>{"TE: 12.5", "Thk: 1.6 mm", "Loc: -99.48", "Im: 7", "ID: 00123"}));
    m_pPane->SetImageTag(nullptr);
    m_pPane->BuildImageLabels(m_Show.get());
    const std::vector<std::string> bottomRight = TextsOf(*m_pPane, ViewLabel::enBottomRight);
    for (const char* expected : {"SP:-99.48", "SL:1.6", "TE:12.5"})
    {
        EXPECT_NE(std::find(bottomRight.begin(), bottomRight.end(), expected), bottomRight.end())
            << expected;
    }
}

TEST_F(MedImageTest, CornerLabelsOfANarrowPaneDoNotRunIntoEachOther)
{
    struct Case
    {
        int width;
        bool stacked;
    };
    for (const Case& c : {Case{110, true}, Case{150, false}, Case{380, false}})
    {
        SCOPED_TRACE(c.width);
        m_pPane->MoveWindow(0, 0, c.width, 300);
        Paint(m_pPane);
        DumpPicture(m_pPane->m_hWnd, "CornerLabels" + std::to_string(c.width));
        const std::vector<CRect> topLeft = RectsOf(*m_pPane, ViewLabel::enTopLeft);
        const std::vector<CRect> topRight = RectsOf(*m_pPane, ViewLabel::enTopRight);
        const std::vector<CRect> bottomLeft = RectsOf(*m_pPane, ViewLabel::enBottomLeft);
        const std::vector<CRect> bottomRight = RectsOf(*m_pPane, ViewLabel::enBottomRight);
        ASSERT_FALSE(topLeft.empty());
        ASSERT_FALSE(topRight.empty());
        const std::vector<CRect> top = RectsOf(*m_pPane, ViewLabel::enTop);
        const std::vector<CRect> bottom = RectsOf(*m_pPane, ViewLabel::enBottom);
        ASSERT_EQ(top.size(), 1U);
        std::vector<CRect> corners = topLeft;
        corners.insert(corners.end(), topRight.begin(), topRight.end());
        for (const auto& [lefts, rights] :
             {std::pair(topLeft, topRight), std::pair(bottomLeft, bottomRight),
              std::pair(top, corners), std::pair(bottom, bottomLeft),
              std::pair(bottom, bottomRight)})
        {
            for (const CRect& left : lefts)
            {
                for (const CRect& right : rights)
                {
                    CRect both;
                    EXPECT_FALSE(both.IntersectRect(&left, &right))
                        << left.left << "," << left.top << " meets " << right.left << ","
                        << right.top;
                }
            }
        }
        CRect mark;
        m_pPane->GetCornerMarkRect(&mark);
        for (const CRect& right : bottomRight)
        {
            CRect both;
            EXPECT_FALSE(both.IntersectRect(&right, &mark)) << "under the corner mark";
        }
        EXPECT_EQ(topRight.front().top >= topLeft.back().bottom, c.stacked);
        EXPECT_EQ(topRight.front().top, c.stacked ? topLeft.back().bottom : CViewPort::LabelMargin);
    }
}

TEST_F(MedImageTest, TheOriginalTablesAreDescribedAsLoadedAfterTheWindowChanged)
{
    const Lettra loaded = m_pPane->GetAllLUTDescription();
    ASSERT_FALSE(loaded.IsEmpty());
    EXPECT_EQ(m_pPane->GetOriginalLUTDescription(), loaded);
    m_pPane->SetWindowLevel(321, 45);
    const Lettra now = m_pPane->GetAllLUTDescription();
    EXPECT_NE(now, loaded);
    // The current table, marked, speaks of the new window.
    const std::string text = now.constBuffer();
    EXPECT_EQ(text.substr(0, 2), "* ");
    EXPECT_NE(text.find("321"), std::string::npos) << text;
    EXPECT_EQ(m_pPane->GetOriginalLUTDescription(), loaded);
    m_pPane->DetachShow();
    EXPECT_TRUE(m_pPane->GetOriginalLUTDescription().IsEmpty());
}

TEST_F(MedImageTest, TheShownImageIsSavedAsADicomFile)
{
    const std::string path = ::testing::TempDir() + "/MedImageSaved.dcm";
    std::remove(path.c_str());
    ASSERT_TRUE(m_pPane->SaveAsDicomFile(path.c_str()));
    Corvane holder;
    ASSERT_TRUE(holder.LoadDicomFile(path.c_str()));
    ImageShow show;
    show.AttachCorvane(holder, 0);
    show.EnsureLoaded();
    EXPECT_EQ(show.GetImageSize().cx, m_Show->GetImageSize().cx);
    EXPECT_EQ(show.GetDicomValue(0x0010, 0x0020), m_Show->GetDicomValue(0x0010, 0x0020));
    std::remove(path.c_str());
    m_pPane->DetachShow();
    EXPECT_FALSE(m_pPane->SaveAsDicomFile(path.c_str()));
}

namespace
{

// How many pixels of the mask's client differ from the pane's picture
// where the mask stands by more than the rounding of a field of view
// scaled on its own.
int MismatchUnder(MaskWnd& mask, const WindowPicture& pane, CWnd* paneWnd)
{
    WindowPicture own;
    EXPECT_TRUE(UserGetWindowPicture(mask.m_hWnd, true, own));
    POINT corner = {0, 0};
    mask.ClientToScreen(&corner);
    paneWnd->ScreenToClient(&corner);
    int mismatches = 0;
    for (int y = 0; y < own.nHeight; ++y)
    {
        for (int x = 0; x < own.nWidth; ++x)
        {
            const int grey = GreyOf(own.GetPixel(x, y));
            mismatches += std::abs(grey - GreyOf(pane.GetPixel(corner.x + x, corner.y + y))) > 8;
        }
    }
    return mismatches;
}

} // namespace

TEST_F(MedImageTest, AMaskShowsThePixelsUnderItThroughAWindowOfItsOwn)
{
    m_pPane->HideLabels();
    const WindowPicture plain = Paint(m_pPane);
    MaskWnd mask;
    ASSERT_TRUE(mask.Open(m_pPane, CRect(80, 90, 200, 190)));
    Paint(&mask);
    DumpPicture(m_pPane->m_hWnd, "MaskWndPlain");
    // A pixel off would leave thousands.
    EXPECT_LT(MismatchUnder(mask, plain, m_pPane), 30) << "the same pixels in the same place";

    const int width = WindowWidth();
    mask.SetWindowLevel(200, 40);
    Paint(&mask);
    DumpPicture(m_pPane->m_hWnd, "MaskWnd");
    EXPECT_GT(MismatchUnder(mask, plain, m_pPane), 1000);
    EXPECT_EQ(WindowWidth(), width) << "the pane keeps its window";

    // Dragged with the left button, it keeps its picture on the pane's.
    CRect before;
    mask.GetWindowRect(&before);
    mask.SetWindowLevel(width, WindowCenter());
    m_harness.Script()
        .MouseMove(At(140, 140))
        .MouseMove(At(160, 110))
        .MouseUp(enMouseButton::Left, At(160, 110));
    Press(enMouseButton::Left, 130, 140);
    CRect after;
    mask.GetWindowRect(&after);
    EXPECT_EQ(after.TopLeft(), before.TopLeft() + CPoint(30, -30));
    Paint(&mask);
    EXPECT_LT(MismatchUnder(mask, plain, m_pPane), 30);

    // It steps aside while the pane zooms, then follows the zoom.
    m_pPane->SetLeftButtonTool(MouseTaskSet::enZoomTool);
    const double zoomBefore = m_pPane->GetZoom();
    bool hidden = false;
    m_harness.Script()
        .MouseMove(At(20, 60))
        .MouseMove(At(20, 40))
        .Do([&] { hidden = !mask.IsWindowVisible(); })
        .MouseUp(enMouseButton::Left, At(20, 40));
    Press(enMouseButton::Left, 20, 70);
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(mask.IsWindowVisible());
    EXPECT_NE(m_pPane->GetZoom(), zoomBefore);
    EXPECT_EQ(mask.GetZoom(), m_pPane->GetZoom());
    mask.ShowWindow(SW_HIDE);
    const WindowPicture zoomed = Paint(m_pPane);
    mask.ShowWindow(SW_SHOWNA);
    Paint(&mask);
    EXPECT_LT(MismatchUnder(mask, zoomed, m_pPane), 30);

    ASSERT_GT(m_pPane->GetBeforeButtonDownEvent(0).GetCount(), 0);
    mask.DestroyWindow();
    EXPECT_EQ(m_pPane->GetBeforeButtonDownEvent(0).GetCount(), 0) << "it lets the pane go";
    EXPECT_EQ(m_pPane->GetImageChangedEvent().GetCount(), 0);
}
