// Cine over the current series of a view: the order of the frames in each
// direction, a host's loop on the replaceable clock, the stop, the cine
// pane shared by copies, and the controller letting go when the view or
// its series changes under it.
#include "CineControl.h"
#include "CineImage.h"
#include "ImageViewTestSupport.h"
#include "MetaImage.h"
#include "PictureDump.h"
#include "ViewLabel.h"

#include <functional>
#include <numeric>

namespace
{

// A viewer window as the controller sees it: the view that is hot.
struct WindowStandIn
{
    CImageView* view;
    CImageView* GetHotView() const { return view; }
};

class CineControlTest : public ImageViewTest
{
protected:
    void SetUp() override
    {
        ImageViewTest::SetUp();
        if (!std::filesystem::exists(SUITE_CORPUS_DIR))
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
        m_pView->SetLayout("STANDARD\\2,1");
    }

    void OpenSlices(int count)
    {
        std::vector<int> numbers(count);
        std::iota(numbers.begin(), numbers.end(), 1);
        const std::vector<std::string> paths = WriteSlices(m_folder, numbers);
        ASSERT_EQ(paths.size(), std::size_t(count));
        OpenFiles(paths);
        ASSERT_EQ(m_pView->GetHotPane(), 0);
    }

    // The instance numbers of the next frames.
    std::vector<int> Frames(CineControl& cine, int count)
    {
        std::vector<int> numbers;
        for (int frame = 0; frame < count; ++frame)
        {
            EXPECT_TRUE(cine.Next());
            numbers.push_back(InstanceOf(cine.GetCurrentImage()));
        }
        return numbers;
    }

    // A host's cine loop: each pass looks at the queue and shows a frame
    // once the interval has passed since the last one; the clock moves by
    // a tenth of the interval a pass. The instance numbers of the frames.
    std::vector<int> Play(CineControl& cine, DWORD milliseconds, DWORD interval = 200)
    {
        std::vector<int> numbers;
        DWORD last = GetTickCount();
        for (DWORD passed = 0; passed < milliseconds; passed += interval / 10)
        {
            m_harness.AdvanceClock(interval / 10);
            if (GetTickCount() - last >= interval)
            {
                cine.Next();
                numbers.push_back(InstanceOf(cine.GetCurrentImage()));
                last = GetTickCount();
            }
            m_harness.PumpPending();
        }
        return numbers;
    }

    std::vector<WPARAM> CommandsToViewer() const
    {
        std::vector<WPARAM> ids;
        for (const auto& [wParam, lParam] : m_pViewer->commands)
        {
            ids.push_back(wParam);
        }
        return ids;
    }
};

TEST_F(CineControlTest, ASeriesOfOneImageIsNotPlayed)
{
    OpenSlices(1);
    CineControl cine;
    cine.AttachView(m_pView);
    EXPECT_FALSE(cine.IsValid());
    EXPECT_EQ(cine.GetCineWindow(), nullptr);
    EXPECT_FALSE(cine.Prepare());
    EXPECT_FALSE(cine.Next());
    EXPECT_FALSE(cine.Quit(true));
    EXPECT_EQ(cine.GetNbOfImage(), 0);
    cine.AttachWindow<WindowStandIn>(nullptr);
    EXPECT_FALSE(cine.IsValid());
}

TEST_F(CineControlTest, FramesFollowTheDirection)
{
    OpenSlices(3);
    CineControl cine;
    cine.AttachView(m_pView);
    ASSERT_TRUE(cine.IsValid());
    ASSERT_TRUE(cine.Prepare());
    EXPECT_EQ(cine.GetNbOfImage(), 3);
    EXPECT_EQ(Frames(cine, 5), (std::vector<int>{1, 2, 3, 1, 2}));
    EXPECT_EQ(cine.GetIndex(), 1);
    cine.PlayUp();
    EXPECT_EQ(Frames(cine, 4), (std::vector<int>{3, 2, 1, 3}));
    EXPECT_EQ(cine.GetIndex(), 2);
    cine.PlayBounce();
    EXPECT_EQ(Frames(cine, 10), (std::vector<int>{3, 2, 1, 1, 2, 3, 2, 1, 2, 3}));
    cine.PlayBounce();
    cine.SetDirection(CineControl::enBounceDown);
    EXPECT_EQ(Frames(cine, 10), (std::vector<int>{1, 2, 3, 3, 2, 1, 2, 3, 2, 1}));
    cine.PlayDown();
    EXPECT_EQ(cine.GetDirection(), CineControl::enDown);
    EXPECT_EQ(cine.GetCineWindow()->GetFrameCount(), 1 + 5 + 4 + 10 + 10);
}

// An unknown direction takes no image: the previous one lets its pixels go
// and the pane keeps its picture. Images on the view's page keep theirs,
// which their panes paint from.
TEST_F(CineControlTest, AnUnknownDirectionShowsNothing)
{
    OpenSlices(3);
    m_harness.PumpPending();
    CineControl cine;
    cine.AttachView(m_pView);
    ASSERT_TRUE(cine.Prepare());
    EXPECT_EQ(Frames(cine, 3), (std::vector<int>{1, 2, 3}));
    ImageShow* onPage = m_pView->GetPaneImage(1);
    ASSERT_EQ(InstanceOf(onPage), 2);
    EXPECT_NE(onPage->GetMetaImage()->GetMatrix(), nullptr) << "the pane's image keeps its pixels";
    ImageShow* third = cine.GetCurrentImage();
    third->EnsureLoaded();
    ASSERT_NE(third->GetMetaImage()->GetMatrix(), nullptr);
    const int frames = cine.GetCineWindow()->GetFrameCount();
    cine.SetDirection(static_cast<CineControl::CineDirection>(5));
    EXPECT_TRUE(cine.Next());
    EXPECT_EQ(third->GetMetaImage()->GetMatrix(), nullptr);
    EXPECT_EQ(cine.GetCurrentImage(), nullptr);
    EXPECT_EQ(cine.GetCineWindow()->GetFrameCount(), frames);
    EXPECT_FALSE(cine.GetCineWindow()->GetDIB().IsEmpty());
}

// Frames advance with the host's clock, stop when the host stops, and the
// stop pages the view to the last frame and tells it cine ended.
TEST_F(CineControlTest, AHostLoopPlaysBouncesAndStops)
{
    OpenSlices(5);
    CineControl cine;
    WindowStandIn viewer{m_pView};
    cine.AttachWindow(&viewer);
    ASSERT_TRUE(cine.IsValid());
    CineImage* window = cine.GetCineWindow();
    EXPECT_EQ(window->GetParent(), m_pView->GetPane(0));
    EXPECT_TRUE(window->IsWindowVisible());
    cine.Prepare();
    EXPECT_EQ(Play(cine, 1000), (std::vector<int>{1, 2, 3, 4, 5}));
    DumpPicture(m_pHost->m_hWnd, "CineHostLoopFrame5");
    cine.PlayBounce();
    EXPECT_EQ(Play(cine, 1800), (std::vector<int>{5, 4, 3, 2, 1, 1, 2, 3, 4}));
    EXPECT_EQ(Play(cine, 1000, 100), (std::vector<int>{5, 4, 3, 2, 1, 2, 3, 4, 5, 4}))
        << "faster, and the end images shown once";
    cine.CinePause();
    m_pViewer->commands.clear();
    EXPECT_TRUE(cine.Quit(true));
    EXPECT_EQ(PaneInstances(), (std::vector<int>{4, 5}));
    EXPECT_EQ(InstanceOf(m_pView->GetHotImage()), 4);
    EXPECT_EQ(CommandsToViewer(), std::vector<WPARAM>{CineControl::CmdCineEnded});
    EXPECT_EQ(Play(cine, 600), (std::vector<int>{5, 4, 3})) << "quit re-arms the cursors";
}

// Copies share the cine pane: it goes with the last of them, never twice.
TEST_F(CineControlTest, CopiesShareTheCinePane)
{
    OpenSlices(3);
    auto original = std::make_unique<CineControl>();
    original->AttachView(m_pView);
    ASSERT_TRUE(original->Prepare());
    original->Next();
    CineControl copy(*original);
    CineControl assigned;
    assigned = *original;
    assigned = assigned;
    const HWND window = original->GetCineWindow()->m_hWnd;
    EXPECT_EQ(copy.GetCineWindow(), original->GetCineWindow());
    EXPECT_EQ(assigned.GetCineWindow(), original->GetCineWindow());
    EXPECT_EQ(InstanceOf(copy.GetCurrentImage()), 1);
    EXPECT_EQ(Frames(copy, 2), (std::vector<int>{2, 3})) << "each copy has its own cursors";
    EXPECT_EQ(Frames(*original, 1), (std::vector<int>{2}));
    original.reset();
    EXPECT_TRUE(IsWindow(window));
    assigned = CineControl();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(Frames(copy, 1), (std::vector<int>{1}));
    copy.Release();
    EXPECT_FALSE(IsWindow(window)) << "the last share destroys the pane";
    EXPECT_FALSE(copy.IsValid());
    EXPECT_FALSE(copy.Next());
}

// Releasing the view, changing its panes or its series, or destroying it
// ends the cine of every copy: nothing of the view is used afterwards.
TEST_F(CineControlTest, ChangesUnderTheControllerEndIt)
{
    struct Case
    {
        const char* name;
        std::function<void(CImageView*)> change;
        bool told;
    };
    const Case cases[] = {
        {"release", [](CImageView* view) { view->ReleaseAll(); }, true},
        {"new layout", [](CImageView* view) { view->SetLayout("STANDARD\\2,2"); }, true},
        {"image deleted", [](CImageView* view) { view->CloseHotImage(); }, true},
        {"series closed", [](CImageView* view) { view->OnCmdScrollCloseSeries(); }, true},
        {"view destroyed", [](CImageView* view) { view->DestroyWindow(); }, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_pView = MakeView();
        m_pView->SetLayout("STANDARD\\2,1");
        OpenSlices(4);
        CineControl cine;
        cine.AttachView(m_pView);
        ASSERT_TRUE(cine.Prepare());
        Frames(cine, 2);
        CineControl copy(cine);
        const HWND window = cine.GetCineWindow()->m_hWnd;
        m_pViewer->commands.clear();
        c.change(m_pView);
        EXPECT_FALSE(cine.IsValid());
        EXPECT_FALSE(copy.IsValid());
        EXPECT_EQ(cine.GetCurrentImage(), nullptr);
        EXPECT_EQ(cine.GetCineWindow(), nullptr);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_FALSE(cine.Next());
        EXPECT_FALSE(copy.Quit(true));
        const std::vector<WPARAM> told = CommandsToViewer();
        EXPECT_EQ(std::count(told.begin(), told.end(), CineControl::CmdCineEnded), c.told ? 2 : 0);
        if (c.told)
        {
            m_pView->DestroyWindow(); // the destroyed view deleted itself
        }
    }
}

// Cine plays the series the view shows, which need not be its first one;
// making another series current ends it.
TEST_F(CineControlTest, CinePlaysTheCurrentSeries)
{
    OpenSlices(3);
    for (const ImageSpec& spec : {OtherSeries, ImageSpec{"1.1", "1.1.2", "1.1.2.7", 7, "CT"}})
    {
        Corvane other = MakeHolder(MakeHeaderImage(spec));
        m_pView->OpenCorvaneBySeries(&other);
    }
    ASSERT_EQ(m_pView->GetImageLayout().GetNbOfSeries(), 2);
    m_pView->ShowSeriesAt(0);
    CineControl cine;
    cine.AttachView(m_pView);
    ASSERT_TRUE(cine.Prepare());
    EXPECT_EQ(Frames(cine, 1), (std::vector<int>{1}));
    m_pView->ShowNextSeries();
    EXPECT_FALSE(cine.IsValid());
    EXPECT_FALSE(cine.Next());

    ASSERT_EQ(m_pView->IndexOfHotSeries(), 1);
    cine.AttachView(m_pView);
    ASSERT_TRUE(cine.Prepare());
    EXPECT_EQ(cine.GetNbOfImage(), 2);
    EXPECT_EQ(Frames(cine, 3), (std::vector<int>{1, 7, 1}));
}

// A frame asked for while the pane paints, and a paint while a frame is
// built, are dropped.
TEST_F(CineControlTest, TheBusyPaneDropsRequests)
{
    OpenSlices(3);
    CineControl cine;
    cine.AttachView(m_pView);
    ASSERT_TRUE(cine.Prepare());
    CineImage* window = cine.GetCineWindow();
    struct Probe
    {
        CineImage* window;
        ImageShow* other;
        int frames = -1;
        bool busy = false;
        void OnPaint(const void*, DelegateArgs* args)
        {
            busy = window->IsBusy();
            const int before = window->GetFrameCount();
            window->DoCineShow(other);
            window->Draw(static_cast<CDC*>(static_cast<PointerDelegateArgs*>(args)->m_pPointer));
            frames = window->GetFrameCount() - before;
        }
    } probe{window, m_pView->GetImageLayout().GetImageAt(2)};
    window->GetPaintEvent().Add(MakeHandler(&probe, &Probe::OnPaint, "probe"));
    cine.Next();
    window->GetPaintEvent().Remove(MakeHandler(&probe, &Probe::OnPaint, "probe"));
    EXPECT_TRUE(probe.busy);
    EXPECT_EQ(probe.frames, 0);
    EXPECT_FALSE(window->IsBusy());
    window->DoCineShow(nullptr);
    EXPECT_EQ(window->GetFrameCount(), 2);
}

} // namespace

#include "WebWindowTestSupport.h"

namespace
{

// The controller attached to a viewer window plays its hot view.
class CineWebWindowTest : public WebWindowTest
{
protected:
    static Lettra LeadingLabel(CViewPort& pane)
    {
        Array<ViewLabel*>& labels = pane.GetLabels(ViewLabel::enTopLeft);
        return labels.IsEmpty() ? Lettra() : labels.GetHead()->item->GetText();
    }
};

TEST_F(CineWebWindowTest, AttachedToTheWindowItPlaysTheHotView)
{
    if (!std::filesystem::exists(SUITE_CORPUS_DIR))
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    StartAsHost();
    CTempFolder folder;
    Open(WriteSlices(folder, {1, 2, 3}));
    // Shown and painted, as the host's window is when the user starts cine.
    m_harness.PumpPending();
    CImageView* hot = m_pWindow->GetHotView();
    ASSERT_NE(hot, nullptr);
    CineControl cine;
    cine.AttachWindow(m_pWindow);
    ASSERT_TRUE(cine.IsValid());
    EXPECT_EQ(cine.GetView(), hot);
    EXPECT_EQ(cine.GetPane(), hot->GetHotPaneWindow());
    ASSERT_TRUE(cine.Prepare());
    for (int frame : {1, 2, 3, 1, 2})
    {
        EXPECT_TRUE(cine.Next());
        EXPECT_EQ(InstanceOf(cine.GetCurrentImage()), frame);
    }
    Picture("CineInWebWindow");
    EXPECT_TRUE(cine.Quit(true));
    EXPECT_EQ(InstanceOf(hot->GetHotImage()), 2);
}

// The host's prompt stays in sight while cine plays over the pane that
// shows it, and a window without a prompt gives the cine pane none.
TEST_F(CineWebWindowTest, TheCinePaneKeepsTheHostsPrompt)
{
    if (!std::filesystem::exists(SUITE_CORPUS_DIR))
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    StartAsHost();
    const char* const prompt = "Not intended for diagnostic use !";
    m_pWindow->SendMessage(CWebWindow::WmSetPromptText, 0, reinterpret_cast<LPARAM>(prompt));
    CTempFolder folder;
    Open(WriteSlices(folder, {1, 2, 3}));
    m_harness.PumpPending();
    CineControl cine;
    cine.AttachWindow(m_pWindow);
    ASSERT_TRUE(cine.Prepare());
    ASSERT_EQ(std::string(LeadingLabel(*cine.GetPane())), prompt);
    for (int frame = 0; frame < 2; ++frame)
    {
        ASSERT_TRUE(cine.Next());
        EXPECT_EQ(std::string(LeadingLabel(*cine.GetCineWindow())), prompt);
    }
    m_harness.PumpPending();
    Picture("CinePanePrompt");
    cine.Release();

    m_pWindow->SendMessage(CWebWindow::WmSetPromptText, 0, reinterpret_cast<LPARAM>(""));
    cine.AttachWindow(m_pWindow);
    ASSERT_TRUE(cine.Prepare());
    ASSERT_TRUE(cine.Next());
    EXPECT_NE(std::string(LeadingLabel(*cine.GetCineWindow())), prompt);
}

} // namespace
