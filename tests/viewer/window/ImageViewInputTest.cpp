// The image view's keys, wheel, double click, presses on the view itself,
// popup requests and its clipboard of annotations, driven through the
// panes as a user does: keys typed into a focused pane, wheel turns over
// a pane, drags on the view.
#include "ImageViewTestSupport.h"
#include "MedImage.h"
#include "ORoiCalliper.h"
#include "PictureDump.h"
#include "ViewTasks.h"

#include <numeric>

namespace
{

// A viewer window that keeps the keys its views pass on, and the presses
// handed over to it.
class KeyOwner : public CWnd
{
public:
    std::vector<UINT> keys;
    std::vector<std::pair<WPARAM, LPARAM>> presses;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_KEYDOWN && wParam != VK_CONTROL && wParam != VK_SHIFT &&
            wParam != VK_LCONTROL && wParam != VK_LSHIFT)
        {
            keys.push_back(static_cast<UINT>(wParam));
            return 0;
        }
        if (message == WM_LBUTTONDOWN)
        {
            presses.emplace_back(wParam, lParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { delete this; }
};

// Counts the calls of an event and keeps the last images or numbers.
class Recorder : public DelegateHandler
{
public:
    explicit Recorder(int* count) : DelegateHandler("Recorder"), m_pCount(count) {}
    void Invoke(const void*, DelegateArgs*) override { ++*m_pCount; }
    bool IsEqual(const DelegateHandler* other) const override { return other == this; }
    bool IsEmpty() const override { return false; }
    DelegateHandler* Clone() const override { return new Recorder(m_pCount); }
    void SetTarget(void*) override {}
    void* GetTarget() const override { return m_pCount; }

private:
    int* m_pCount;
};

class ImageViewInputTest : public ImageViewTest
{
protected:
    void SetUp() override
    {
        ImageViewTest::SetUp();
        if (!std::filesystem::exists(SUITE_CORPUS_DIR))
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
        std::vector<int> numbers(12);
        std::iota(numbers.begin(), numbers.end(), 1);
        const std::vector<std::string> paths = WriteSlices(m_folder, numbers);
        ASSERT_EQ(paths.size(), 12u);
        m_pOwner = new KeyOwner;
        ASSERT_TRUE(m_pOwner->Create(nullptr, "Owner", WS_CHILD, CRect(0, 0, 10, 10), m_pHost, 9));
        m_pView->SetOwner(m_pOwner);
        m_pView->SetLayout("STANDARD\\2,2");
        OpenFiles(paths);
        ASSERT_NE(m_pView->GetHotImage(), nullptr);
    }

    MedImage* Pane(int index) const { return m_pView->GetPane(index); }
    int First() const { return m_pView->GetFirstShownIndex(); }
    POINT At(int pane, int x, int y) const
    {
        return CUiHarness::ScreenPoint(Pane(pane)->m_hWnd, x, y);
    }
    // A key typed into the focused pane, with Ctrl held when asked.
    void Type(UINT key, bool control = false) { TypeInto(m_harness, Pane(0), key, control); }
    void Turn(int pane, int delta, UINT modifier = 0)
    {
        m_harness.MouseMove(At(pane, 60, 60));
        Pane(pane)->SetFocus();
        if (modifier != 0)
        {
            m_harness.KeyDown(modifier);
            m_harness.PumpPending();
        }
        m_harness.Wheel(delta, At(pane, 60, 60));
        m_harness.PumpPending();
        if (modifier != 0)
        {
            m_harness.KeyUp(modifier);
            m_harness.PumpPending();
        }
    }
    // A calliper of the hot image over a rectangle of image pixels.
    ORoi* AddCalliper(ImageShow* image, const RECT& rect, bool selected)
    {
        auto* calliper = new ORoiCalliper(image);
        calliper->SetHandlePoint(0, POINT{rect.left, rect.top});
        calliper->SetHandlePoint(1, POINT{rect.right, rect.bottom});
        if (selected)
        {
            calliper->Select(false);
        }
        image->AddAnnotation(calliper);
        return calliper;
    }
    // The annotations' rectangles as left, top, right, bottom.
    static std::vector<std::vector<long>> Rects(const ImageShow* image)
    {
        std::vector<std::vector<long>> rects;
        for (auto* node = image->GetAnnotations().GetHead(); node != nullptr; node = node->next)
        {
            RECT rect;
            node->item->GetRect(&rect);
            rects.push_back({rect.left, rect.top, rect.right, rect.bottom});
        }
        return rects;
    }

    KeyOwner* m_pOwner = nullptr;
};

} // namespace

// The paging keys typed into a focused pane move the page; the keys the view
// does not take, Ctrl+Page Up and Down among them, go on to the viewer
// window.
TEST_F(ImageViewInputTest, KeysOfAFocusedPanePageTheView)
{
    struct Case
    {
        UINT key;
        bool control;
        int first;
        bool passedOn;
    };
    const Case cases[] = {
        {VK_NEXT, false, 4, false}, {VK_END, false, 8, false},   {VK_UP, false, 6, false},
        {VK_HOME, false, 0, false}, {VK_DOWN, false, 2, false},  {VK_NEXT, true, 2, true},
        {VK_PRIOR, true, 2, true},  {VK_PRIOR, false, 0, false}, {VK_LEFT, false, 0, true},
        {VK_RIGHT, false, 0, true}, {'C', false, 0, true},       {'Z', false, 0, true},
        {'C', true, 0, false},      {VK_NEXT, false, 4, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " control " << c.control);
        m_pOwner->keys.clear();
        Type(c.key, c.control);
        EXPECT_EQ(First(), c.first);
        EXPECT_EQ(m_pOwner->keys == std::vector<UINT>{c.key}, c.passedOn);
    }
}

TEST_F(ImageViewInputTest, DeleteTakesTheSelectedAnnotationsAndIsAlwaysHandled)
{
    ImageShow* hot = m_pView->GetHotImage();
    AddCalliper(hot, {10, 10, 40, 40}, true);
    AddCalliper(hot, {50, 50, 90, 70}, false);
    Type(VK_DELETE);
    EXPECT_EQ(hot->GetAnnotations().GetCount(), 1);
    m_pView->ReleaseAll();
    m_pOwner->keys.clear();
    m_pView->SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_TRUE(m_pOwner->keys.empty()) << "handled without a hot pane";
}

// Copy takes the selected annotations; each paste lands 64 pixels further
// right and down, selected; cut takes the selection away.
TEST_F(ImageViewInputTest, CopyPasteAndCutOfAnnotations)
{
    ImageShow* hot = m_pView->GetHotImage();
    AddCalliper(hot, {10, 10, 40, 40}, true);
    AddCalliper(hot, {50, 50, 90, 70}, false);
    Type('C', true);
    ASSERT_NE(m_pView->GetAnnotationClipboard(), nullptr);
    EXPECT_EQ(m_pView->GetAnnotationClipboard()->GetAnnotations().GetCount(), 1);
    Type('V', true);
    Type('V', true);
    const std::vector<std::vector<long>> rects = Rects(hot);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[2], (std::vector<long>{74, 74, 104, 104}));
    EXPECT_EQ(rects[3], (std::vector<long>{138, 138, 168, 168})) << "the second paste 128 on";
    EXPECT_TRUE(hot->GetAnnotations().GetAt(3)->IsSelected());
    EXPECT_FALSE(hot->GetAnnotations().GetAt(2)->IsSelected()) << "the last paste is selected";
    m_harness.PumpPending();
    DumpPicture(m_pView->m_hWnd, "ImageViewPasted");

    m_pView->SetHighLight(1);
    m_pView->PasteAnnotations();
    const std::vector<std::vector<long>> third = {{202, 202, 232, 232}};
    EXPECT_EQ(Rects(m_pView->GetHotImage()), third);
    Type('X', true);
    EXPECT_EQ(m_pView->GetHotImage()->GetAnnotations().GetCount(), 0);
    EXPECT_EQ(Rects(m_pView->GetAnnotationClipboard()), third);
    m_pView->ReleaseView();
    EXPECT_EQ(m_pView->GetAnnotationClipboard(), nullptr) << "gone with the release";
}

// A plain wheel turn steps the pane under the cursor through the series
// without moving the page; 400 ms after the last turn the page is laid out
// around where it went.
TEST_F(ImageViewInputTest, TheWheelStepsThePaneAndTheTimerPagesToIt)
{
    int scrolled = 0;
    int pages = 0;
    m_pView->HotImageScrolled.Add(new Recorder(&scrolled));
    m_pView->PageChanged.Add(new Recorder(&pages));
    ImageLayout& layout = m_pView->GetImageLayout();
    Turn(1, -120);
    Turn(1, -120);
    EXPECT_EQ(m_pView->GetHotPane(), 1);
    EXPECT_EQ(m_pView->GetHotImage(), layout.GetImageAt(3));
    EXPECT_EQ(Pane(2)->GetShow(), layout.GetImageAt(2)) << "the page stays";
    EXPECT_EQ(First(), 0);
    m_pView->ShowHighLight(true, false);
    m_harness.PumpPending();
    DumpPicture(m_pView->m_hWnd, "ImageViewWheelStepped");
    m_harness.AdvanceClock(CImageView::WheelTimerPeriod - 1);
    m_harness.PumpPending();
    EXPECT_EQ(scrolled, 0);
    m_harness.AdvanceClock(1);
    m_harness.PumpPending();
    EXPECT_EQ(scrolled, 1);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(First(), 2) << "the page now holds the image in the hot pane";
    EXPECT_EQ(Pane(1)->GetShow(), layout.GetImageAt(3));
    m_pView->FirstPage();
    m_pView->SetHighLight(0);
    Turn(0, 120);
    EXPECT_EQ(m_pView->GetHotImage(), layout.GetImageAt(0)) << "no wrap before the first";
}

// The hot pane stepping past an image that another pane of the page shows
// leaves that pane its picture.
TEST_F(ImageViewInputTest, SteppingPastAnImageOfAnotherPaneLeavesThatPaneItsPicture)
{
    ImageLayout& layout = m_pView->GetImageLayout();
    Turn(1, -120);
    Turn(1, -120);
    ASSERT_EQ(m_pView->GetHotImage(), Pane(3)->GetShow());
    Turn(1, -120);
    EXPECT_EQ(m_pView->GetHotImage(), layout.GetImageAt(4));
    ImageShow* other = Pane(3)->GetShow();
    ASSERT_EQ(other, layout.GetImageAt(3));
    EXPECT_TRUE(other->GetMetaImage()->HasPixels());
    EXPECT_EQ(other->GetView(), Pane(3));
    Pane(3)->Invalidate(TRUE);
    m_harness.PumpPending();
    EXPECT_FALSE(other->GetDIB().IsEmpty()) << "painted, not black";
}

TEST_F(ImageViewInputTest, ShiftWheelMovesThePageAndCtrlWheelZoomsAtTheCursor)
{
    Turn(0, -120, VK_SHIFT);
    EXPECT_EQ(First(), 1);
    Turn(0, 120, VK_SHIFT);
    EXPECT_EQ(First(), 0);

    MedImage* pane = Pane(3);
    const double zoom = pane->GetZoom();
    POINT image;
    const POINT cursor = {60, 60};
    pane->ScreenToImage(&image, &cursor);
    Turn(3, 120, VK_CONTROL);
    EXPECT_DOUBLE_EQ(pane->GetZoom(), CImageView::NextWheelZoom(zoom, 120));
    EXPECT_DOUBLE_EQ(pane->GetShow()->GetZoom(), pane->GetZoom()) << "committed";
    const POINT after = pane->ImageToScreen(image.x, image.y);
    EXPECT_NEAR(after.x, cursor.x, 2);
    EXPECT_NEAR(after.y, cursor.y, 2);
}

// Ctrl+Shift and the wheel go from series to series; a plain turn over an
// empty pane steps the first pane.
TEST_F(ImageViewInputTest, CtrlShiftWheelChangesTheSeriesAndEmptyPanesStepTheFirst)
{
    Corvane other = MakeHolder(MakeHeaderImage(OtherSeries), 1, false);
    m_pView->OpenCorvaneBySeries(&other);
    ASSERT_EQ(m_pView->GetImageLayout().GetNbOfSeries(), 2);
    ASSERT_EQ(m_pView->IndexOfHotSeries(), 0);
    Turn(0, -120, VK_CONTROL);
    EXPECT_EQ(m_pView->IndexOfHotSeries(), 0) << "Ctrl alone zooms";
    m_harness.KeyDown(VK_SHIFT);
    Turn(0, -120, VK_CONTROL);
    m_harness.KeyUp(VK_SHIFT);
    m_harness.PumpPending();
    EXPECT_EQ(m_pView->IndexOfHotSeries(), 1);
    ASSERT_EQ(Pane(1)->GetShow(), nullptr) << "the one-image series leaves pane 1 empty";
    m_pView->SetHighLight(0);
    Turn(1, -120);
    EXPECT_EQ(m_pView->GetHotPane(), 0);
    m_harness.KeyDown(VK_SHIFT);
    Turn(0, 120, VK_CONTROL);
    m_harness.KeyUp(VK_SHIFT);
    m_harness.PumpPending();
    EXPECT_EQ(m_pView->IndexOfHotSeries(), 0);
}

// A right drag on the view steps the hot pane with the page-scroll task;
// with the hand-over tool a left press goes on to the view's parent.
TEST_F(ImageViewInputTest, RightDragsScrollAndTheHandOverToolForwardsThePress)
{
    const auto screen = [&](int x, int y)
    { return CUiHarness::ScreenPoint(m_pView->m_hWnd, x, y); };
    m_harness.Script()
        .MouseMove(screen(100, 112))
        .MouseMove(screen(101, 121))
        .MouseUp(enMouseButton::Right, screen(101, 121));
    m_harness.MouseMove(screen(100, 100));
    m_pView->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(m_pView->GetHotImage(), m_pView->GetImageLayout().GetImageAt(2));
    EXPECT_EQ(GetCapture(), nullptr);

    auto* inner = new CImageView;
    ASSERT_TRUE(inner->Create(nullptr, "Inner", WS_CHILD | WS_VISIBLE, CRect(5, 7, 205, 207),
                              m_pOwner, 4, nullptr));
    inner->SendMessage(WM_INITIALUPDATE);
    inner->SetLeftButton(MouseTaskSet::enHandOverTool);
    inner->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(20, 30));
    ASSERT_EQ(m_pOwner->presses.size(), 1u);
    EXPECT_EQ(m_pOwner->presses[0].first, WPARAM(MK_LBUTTON | MK_CONTROL));
    EXPECT_EQ(m_pOwner->presses[0].second, MAKELPARAM(25, 37)) << "in the parent's coordinates";
    inner->SetLeftButton(MouseTaskSet::enZoomTool);
    inner->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30));
    EXPECT_EQ(m_pOwner->presses.size(), 1u) << "other tools do nothing on the view";
}

TEST_F(ImageViewInputTest, WheelZoomStepsByBandAndStopsAtOnePercent)
{
    struct Case
    {
        double zoom;
        int delta;
        double next;
    };
    const Case cases[] = {{0.05, 120, 0.06},  {0.05, -120, 0.03},  {0.05, 0, 0.03},
                          {0.015, 120, 0.02}, {0.03, 120, 0.04},   {0.08, -120, 0.06},
                          {1.0, 120, 1.1},    {1.0, 0, 1.1},       {1.0, -120, 0.9},
                          {0.7, 120, 0.77},   {0.011, -120, 0.01}, {0.001, -120, 0.01}};
    for (const Case& c : cases)
    {
        EXPECT_NEAR(CImageView::NextWheelZoom(c.zoom, c.delta), c.next, 1e-9)
            << c.zoom << " " << c.delta;
    }
}

// With the page-scroll tool a drag on the view steps the hot pane, one image
// per ten pixels, and lays the page out around it at the release.
TEST_F(ImageViewInputTest, APageScrollDragOnTheViewStepsTheHotPane)
{
    int pages = 0;
    m_pView->PageChanged.Add(new Recorder(&pages));
    m_pView->SetLeftButton(MouseTaskSet::enPageScrollTool);
    EXPECT_EQ(Pane(0)->GetLeftTasks().GetTool(), MouseTaskSet::enPageScrollTool);
    const POINT press = {100, 100};
    const auto screen = [&](int x, int y)
    { return CUiHarness::ScreenPoint(m_pView->m_hWnd, x, y); };
    m_harness.Script()
        .MouseMove(screen(112, 101))
        .MouseMove(screen(135, 102))
        .MouseUp(enMouseButton::Left, screen(135, 102));
    m_harness.MouseMove(screen(press.x, press.y));
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(m_pView->GetHotImage(), m_pView->GetImageLayout().GetImageAt(3));
    EXPECT_EQ(First(), 3);
    EXPECT_EQ(pages, 1);
}

// With the interactive tool the drag plays the hot pane as cine, one image
// per tick while the pointer is away from the press, wrapping at the end of
// the series to its first image.
TEST_F(ImageViewInputTest, AnInteractiveDragPlaysTheHotPaneAndWraps)
{
    m_pView->LastPage();
    m_pView->SetHighLight(2);
    ImageLayout& layout = m_pView->GetImageLayout();
    ASSERT_EQ(m_pView->GetHotImage(), layout.GetImageAt(10));
    m_pView->SetLeftButton(MouseTaskSet::enInteractivePageScrollTool);
    const auto screen = [&](int x, int y)
    { return CUiHarness::ScreenPoint(m_pView->m_hWnd, x, y); };
    std::vector<ImageShow*> shown;
    m_harness.Script()
        .MouseMove(screen(100, 160))
        .Wait(PageScrollTask::CinePeriod)
        .Do([&] { shown.push_back(m_pView->GetHotImage()); })
        .Wait(PageScrollTask::CinePeriod)
        .Do([&] { shown.push_back(m_pView->GetHotImage()); })
        .Wait(PageScrollTask::CinePeriod)
        .Do([&] { shown.push_back(m_pView->GetHotImage()); })
        .MouseUp(enMouseButton::Left, screen(100, 160));
    m_harness.MouseMove(screen(100, 100));
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(shown, (std::vector<ImageShow*>{layout.GetImageAt(11), layout.GetImageAt(0),
                                              layout.GetImageAt(1)}));
    EXPECT_EQ(m_pView->GetHotImage(), layout.GetImageAt(1));
    EXPECT_EQ(First(), 0) << "laid out around the image reached";
}

TEST_F(ImageViewInputTest, ADoubleClickSwapsTheLayoutWhenEnabled)
{
    m_pView->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\2,2");
    m_pView->EnableDblClk(true);
    m_pView->EnableDblClk(true);
    EXPECT_EQ(m_pView->LeftButtonDblClk.GetCount(), 1);
    m_pView->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(std::string(m_pView->GetFormat()), CImageView::SingleLayout);
    m_pView->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\2,2");
    m_pView->EnableDblClk(false);
    EXPECT_EQ(m_pView->LeftButtonDblClk.GetCount(), 0);
}

TEST_F(ImageViewInputTest, TheInputHandlersGoWithTheView)
{
    m_pView->EnableDblClk(true);
    m_pView->DoDestroy();
    for (const Delegate* event :
         {&m_pView->MouseWheel, &m_pView->CtrlMouseWheel, &m_pView->ShiftMouseWheel,
          &m_pView->CtrlShiftMouseWheel, &m_pView->KeyDown, &m_pView->HotImageScrolling,
          &m_pView->HotImageScrolled, &m_pView->PopupMenu, &m_pView->LeftButtonDblClk})
    {
        EXPECT_EQ(event->GetCount(), 0) << event->GetName();
    }
}
