// The image view's settings, tools, commands, events and subscriptions.
#include "DataConfig.h"
#include "ImageViewTestSupport.h"

namespace
{

// Records the name of each event it hears, in order.
class EventLog
{
public:
    std::vector<std::string> names;

    class Entry : public DelegateHandler
    {
    public:
        Entry(EventLog* log, const char* name) : DelegateHandler(name), m_pLog(log) {}
        void Invoke(const void*, DelegateArgs*) override { m_pLog->names.push_back(GetName()); }
        bool IsEqual(const DelegateHandler* other) const override
        {
            const auto* entry = dynamic_cast<const Entry*>(other);
            return entry != nullptr && entry->m_pLog == m_pLog &&
                   std::string(entry->GetName()) == GetName();
        }
        bool IsEmpty() const override { return false; }
        DelegateHandler* Clone() const override { return new Entry(m_pLog, GetName()); }
        void SetTarget(void*) override {}
        void* GetTarget() const override { return m_pLog; }

    private:
        EventLog* m_pLog;
    };

    void Listen(CImageView& view)
    {
        const std::pair<Delegate*, const char*> events[] = {
            {&view.ViewReleasing, "releasing"},   {&view.ViewReleased, "released"},
            {&view.SeriesSelChanged, "series"},   {&view.HotImageSelChanged, "hot"},
            {&view.ImageAdding, "adding"},        {&view.ImageAdded, "added"},
            {&view.SeriesClosed, "closed"},       {&view.PageChanged, "page"},
            {&view.SeriesNavigation, "navigated"}};
        for (const auto& [event, name] : events)
        {
            event->Add(new Entry(this, name));
        }
    }

    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(names);
        return taken;
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(ImageViewTest, ANewViewHasItsDefaultSettings)
{
    EXPECT_EQ(m_pView->GetLeftButton(), 4);
    EXPECT_EQ(m_pView->GetRightButton(), 1);
    EXPECT_EQ(m_pView->GetMiddleButton(), 5);
    EXPECT_EQ(m_pView->GetScope(), 0);
    EXPECT_EQ(std::string(m_pView->GetFormat()), CImageView::DefaultLayout);
    EXPECT_EQ(m_pView->GetRectCount(), 2);
    EXPECT_EQ(m_pView->GetImageLayout().GetPageSize(), 2);
    EXPECT_TRUE(m_pView->IsLabelsShown());
    EXPECT_TRUE(m_pView->IsOverlaysShown());
    EXPECT_NE(m_pView->GetStyle() & WS_VSCROLL, 0u);
    EXPECT_EQ(m_pView->GetHotImage(), nullptr);
}

TEST_F(ImageViewTest, TheMiddleToolFollowsTheLeftTool)
{
    for (const auto& [left, middle] :
         {std::pair{4, 5}, std::pair{5, 4}, std::pair{3, 5}, std::pair{60, 5}, std::pair{10, 28},
          std::pair{23, 10}, std::pair{1, 10}, std::pair{0, 10}})
    {
        m_pView->SetLeftButton(left);
        EXPECT_EQ(m_pView->GetMiddleButton(), middle) << left;
    }
}

TEST_F(ImageViewTest, ToolCommandsSetTheToolsAndEchoTheLeftOne)
{
    m_pView->SendMessage(WM_COMMAND, 1810, 0);
    m_pView->SendMessage(WM_COMMAND, 2005, 0);
    EXPECT_EQ(m_pView->GetLeftButton(), 10);
    EXPECT_EQ(m_pView->GetRightButton(), 5);
    EXPECT_EQ(m_pViewer->commands, (std::vector<std::pair<WPARAM, LPARAM>>{{1410, 0}}));
    ValueArgs tool(3);
    m_pView->SetLeftButtonEvent.Invoke(m_pViewer, &tool);
    EXPECT_EQ(m_pView->GetLeftButton(), 3);
    m_pView->SetRightButtonEvent.Invoke(m_pViewer, &tool);
    EXPECT_EQ(m_pView->GetRightButton(), 3);
}

TEST_F(ImageViewTest, CommandsTheViewDoesNotKnowGoToTheViewerWindow)
{
    m_pView->SendMessage(WM_COMMAND, 32771, 0);
    EXPECT_EQ(m_pViewer->commands, (std::vector<std::pair<WPARAM, LPARAM>>{{32771, 0}}));
}

TEST_F(ImageViewTest, UnknownScopesAreStoredAsTheHotImageOnly)
{
    for (const auto& [scope, stored] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 3},
                                        std::pair{10, 10}, std::pair{7, 0}, std::pair{-1, 0}})
    {
        m_pView->SetScope(scope);
        EXPECT_EQ(m_pView->GetScope(), stored) << scope;
    }
}

// Two series of two transactions: what a host and a user see announced, in
// order, when images arrive, a series is chosen, the page moves, a series
// is closed and the view is released.
TEST_F(ImageViewTest, EventsOfOpenSelectPageCloseAndRelease)
{
    EventLog log;
    log.Listen(*m_pView);
    Corvane first = MakeHolder(MakeHeaderImage(A), 1);
    m_pView->OpenCorvaneBySeries(&first);
    EXPECT_EQ(log.Take(), (Names{"adding", "hot", "added"}));
    Corvane second = MakeHolder(MakeHeaderImage(B), 1);
    m_pView->OpenCorvaneBySeries(&second);
    EXPECT_EQ(log.Take(), (Names{"adding", "added"})) << "joins the page, the hot image stays";
    Corvane other = MakeHolder(MakeHeaderImage(OtherSeries), 2);
    m_pView->OpenCorvaneBySeries(&other);
    // The page moves to the new series (its image becomes hot), then the
    // layout selects the image.
    EXPECT_EQ(log.Take(), (Names{"adding", "hot", "hot", "added"})) << "a new transaction is shown";
    EXPECT_EQ(m_pView->IndexOfHotSeries(), 1);

    m_pView->ShowPrevSeries();
    EXPECT_EQ(log.Take(), (Names{"series", "hot", "navigated"}));
    EXPECT_EQ(InstanceOf(m_pView->GetHotImage()), 1);

    m_pView->ImageDown();
    EXPECT_EQ(log.Take(), Names{}) << "both images are on the page already";
    m_pView->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(log.Take(), (Names{"hot", "page"}));

    m_pView->OnCmdScrollCloseSeries();
    EXPECT_EQ(log.Take(), (Names{"closed", "hot"}));
    EXPECT_EQ(m_pView->GetImageLayout().GetNbOfSeries(), 1);
    EXPECT_EQ(InstanceOf(m_pView->GetHotImage()), 1);

    m_pView->ReleaseAll();
    EXPECT_EQ(log.Take(), (Names{"releasing", "released"}));
    EXPECT_EQ(m_pView->GetImageLayout().GetNbOfSeries(), 0);
}

// The handlers hang once however often the panes are rebuilt, and none is
// left behind on the view's own events when it goes.
TEST_F(ImageViewTest, SubscriptionsAreNeitherDoubledNorLeftBehind)
{
    const int hot = m_pView->HotImageSelChanged.GetCount();
    const int series = m_pView->SeriesSelChanged.GetCount();
    const int layout = m_pView->GetImageLayout().OnPageUpdated.GetCount();
    m_pView->SendMessage(WM_INITIALUPDATE);
    m_pView->ApplyLayout("STANDARD\\3,3");
    m_pView->RebuildPanes();
    EXPECT_EQ(m_pView->HotImageSelChanged.GetCount(), hot);
    EXPECT_EQ(m_pView->SeriesSelChanged.GetCount(), series);
    EXPECT_EQ(m_pView->GetImageLayout().OnPageUpdated.GetCount(), layout);
    EXPECT_EQ(m_pView->VertScroll.GetCount(), 1);
    m_pView->ReleaseView();
    EXPECT_EQ(m_pView->GetImageLayout().OnPageUpdated.GetCount(), 0);
    EXPECT_EQ(m_pView->GetImageLayout().OnSelChanged.GetCount(), 0);
    m_pView->DoDestroy();
    for (const Delegate* event :
         {&m_pView->HotImageSelChanged, &m_pView->SeriesSelChanged, &m_pView->VertScroll,
          &m_pView->LoadCompleted, &m_pView->SetLeftButtonEvent, &m_pView->SetRightButtonEvent})
    {
        EXPECT_EQ(event->GetCount(), 0) << event->GetName();
    }
}

TEST_F(ImageViewTest, CopyingSeriesFillsAnotherView)
{
    for (const ImageSpec& spec : {A, B, OtherSeries})
    {
        Corvane holder = MakeHolder(MakeHeaderImage(spec), spec.series == A.series ? 1 : 2);
        m_pView->OpenCorvaneBySeries(&holder);
    }
    m_pView->SetLeftButton(10);
    m_pView->SetScope(1);
    CImageView* target = MakeView(CRect(600, 0, 880, 600));
    m_pView->CopySeriesTo(target);
    EXPECT_EQ(target->GetImageLayout().GetNbOfSeries(), 2);
    EXPECT_EQ(target->GetLeftButton(), 10);
    EXPECT_EQ(target->GetScope(), 0);
    target->RefreshCurrentLayout();
    EXPECT_EQ(PaneInstances(target), (std::vector<int>{1, 2}));
    EXPECT_NE(target->GetPaneImage(0),
              m_pView->GetImageLayout().GetSeries().GetFirstImageOfSeries(0));

    CImageView* single = MakeView(CRect(600, 0, 880, 600));
    m_pView->CopySeriesAtTo(1, single);
    EXPECT_EQ(single->GetImageLayout().GetNbOfSeries(), 1);
    EXPECT_EQ(single->GetScope(), 1);
    m_pView->CopySeriesTo(m_pView);
    EXPECT_EQ(m_pView->GetImageLayout().GetNbOfSeries(), 2);
}

TEST_F(ImageViewTest, QueriesWithoutAHotImageAnswerEmpty)
{
    int width = 0;
    int center = 0;
    m_pView->GetWindowLevel(&width, &center);
    EXPECT_EQ(width, -1);
    EXPECT_EQ(center, -1);
    EXPECT_TRUE(m_pView->GetHotImageFileName().IsEmpty());
    EXPECT_TRUE(m_pView->GetHotImageDicomValue(0x0010, 0x0010).IsEmpty());
    EXPECT_TRUE(m_pView->GetDicomValueAt(0, 0x0010, 0x0010).IsEmpty());
    EXPECT_EQ(m_pView->GetDicomFileAt(0, nullptr), 0);
    DICOMFile out;
    EXPECT_EQ(m_pView->GetDicomFileAt(-1, &out), -1);
    EXPECT_EQ(m_pView->GetSelectedImages(nullptr), -1);
    EXPECT_EQ(m_pView->SaveShowToLocalDB(nullptr), 0);
}

// The viewer window sets the layout of the next series on every view: an
// empty view takes it at once, a view with images keeps its panes.
TEST_F(ImageViewTest, TheNextSeriesLayoutWaitsWhileTheViewShowsImages)
{
    m_pView->SetNextSeriesLayoutString("STANDARD\\3,1");
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\3,1");
    Corvane holder = MakeHolder(MakeHeaderImage(A));
    m_pView->OpenCorvaneBySeries(&holder);
    m_pView->SetNextSeriesLayoutString("STANDARD\\1,1");
    EXPECT_EQ(std::string(m_pView->GetNextSeriesLayoutString()), "STANDARD\\1,1");
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\3,1");
    m_pView->OnCmdScrollCloseSeries();
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\1,1") << "applied when the series goes";
}

TEST_F(ImageViewTest, ALoadCompletedNoticeMarksEverySeries)
{
    for (const ImageSpec& spec : {A, OtherSeries})
    {
        Corvane holder = MakeHolder(MakeHeaderImage(spec));
        m_pView->OpenCorvaneBySeries(&holder);
    }
    ValueArgs transaction(1);
    m_pView->LoadCompleted.Invoke(m_pViewer, &transaction);
    Matrix_ImageShow& series = m_pView->GetImageLayout().GetSeries();
    EXPECT_TRUE(series.GetSeriesAt(0)->IsLoadCompleted());
    EXPECT_TRUE(series.GetSeriesAt(1)->IsLoadCompleted());
}

TEST_F(ImageViewTest, GoingToTheCurrentSeriesLaysNothingOut)
{
    EventLog log;
    log.Listen(*m_pView);
    Corvane holder = MakeHolder(MakeHeaderImage(A));
    m_pView->OpenCorvaneBySeries(&holder);
    log.Take();
    EXPECT_TRUE(m_pView->GotoLayoutAt(0));
    EXPECT_EQ(log.Take(), Names{});
}

TEST_F(ImageViewTest, TheConfigurationCanHideTheScrollBar)
{
    const int configured = DataConfig::Get().nShowImageViewScrollBar;
    DataConfig::Get().nShowImageViewScrollBar = 0;
    CImageView* view = MakeView(CRect(600, 0, 880, 600));
    DataConfig::Get().nShowImageViewScrollBar = configured;
    EXPECT_FALSE(view->IsVertScrollBarShown());
    CRect window;
    CRect client;
    view->GetWindowRect(&window);
    view->GetClientRect(&client);
    EXPECT_EQ(client.Width(), window.Width());
    view->ShowVertScrollBar(true);
    view->GetClientRect(&client);
    EXPECT_LT(client.Width(), window.Width());
}
