#include "CImageViewSplitter.h"
#include "EventSourcePage.h"
#include "MedImage.h"
#include "WebImageView.h"
#include "WebMedImage.h"
#include "WebWindowTestSupport.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace
{

// Images of three series of one study, one image each.
const ImageSpec SeriesOne{"1.5", "1.5.1", "1.5.1.1", 1, "CT"};
const ImageSpec SeriesTwo{"1.5", "1.5.2", "1.5.2.1", 1, "CT"};
const ImageSpec SeriesThree{"1.5", "1.5.3", "1.5.3.1", 1, "CT"};

// Records the events it hears, each under the label its handler carries.
struct EventRecorder
{
    std::vector<std::string> heard;
    const void* sender = nullptr;

    void OnFirst(const void* from, DelegateArgs*)
    {
        sender = from;
        heard.push_back("first");
    }
    void OnSecond(const void* from, DelegateArgs*)
    {
        sender = from;
        heard.push_back("second");
    }
};

class WebWindowGridTest : public WebWindowTest
{
protected:
    // Header-only images sent as the host sends them; the handle's show
    // flag after the call is returned.
    bool OpenHeader(const ImageSpec& spec, int mode = CWebWindow::enOpenBySeries,
                    int transaction = 1, LRESULT* result = nullptr)
    {
        Corvane holder = MakeHolder(MakeHeaderImage(spec), transaction);
        const LRESULT answer =
            m_pWindow->SendMessage(CWebWindow::WmOpenCorvane, static_cast<WPARAM>(mode),
                                   reinterpret_cast<LPARAM>(&holder));
        if (result != nullptr)
        {
            *result = answer;
        }
        return holder.IsShowImage();
    }

    static std::string CurrentSeriesUID(const CImageView* view)
    {
        const SeriesShow* series = CWebWindow::GetSeriesOf(view);
        return series != nullptr ? std::string(series->GetSeriesInstanceUID()) : "";
    }
};

TEST_F(WebWindowGridTest, CreationPreparesTheWindowAndReadsTheConfiguration)
{
    EXPECT_EQ(std::string(m_pWindow->GetRuntimeClass()->m_lpszClassName), "CWebWindow");
    CString text;
    m_pWindow->GetWindowText(text);
    EXPECT_EQ(std::string(text), CWebWindow::WindowText);
    ASSERT_NE(m_pWindow->GetFont(), nullptr);
    LOGFONTA font{};
    m_pWindow->GetFont()->GetLogFont(&font);
    EXPECT_EQ(std::string(font.lfFaceName), "Arial");
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_LT(font.lfHeight, 0);
    const std::string log = ReadLog();
    EXPECT_NE(log.find("Enter CWebWindow::Prepare, this : 0x"), std::string::npos);
    EXPECT_NE(log.find("Enter CWebWindow::SystemInit"), std::string::npos);
    EXPECT_NE(log.find("Leave CWebWindow::Prepare, this : 0x"), std::string::npos);
    EXPECT_EQ(m_pWindow->GetNbOfView(), 0);
    EXPECT_EQ(m_pWindow->GetHotView(), nullptr);
    EXPECT_EQ(m_pWindow->GetHotImage(), nullptr);
    EXPECT_TRUE(m_pWindow->IsHotImageEmpty());
}

TEST_F(WebWindowGridTest, CreateViewNamesTheCellsAndOwnsThem)
{
    ASSERT_TRUE(m_pWindow->CreateView(2, 3));
    EXPECT_EQ(m_pWindow->GetNbOfView(), 6);
    for (int row = 0; row < 2; ++row)
    {
        for (int column = 0; column < 3; ++column)
        {
            CImageView* view = View(row, column);
            ASSERT_NE(view, nullptr);
            EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(WebImageView)));
            const std::string name = "0.view." + std::to_string(row) + "." + std::to_string(column);
            EXPECT_EQ(std::string(view->GetViewName()), name);
            CString text;
            view->GetWindowText(text);
            EXPECT_EQ(std::string(text), name);
            EXPECT_EQ(view->GetOwner(), m_pWindow);
        }
    }
    CString splitterText;
    m_pWindow->GetSplitter()->GetWindowText(splitterText);
    EXPECT_EQ(std::string(splitterText), "Splitter");
    EXPECT_EQ(m_pWindow->GetSplitter()->GetGap(), 2);
    EXPECT_EQ(m_pWindow->GetHotView(), View(0, 0));
    EXPECT_EQ(m_pWindow->IndexOfHotView(), 0);
    EXPECT_NE(ReadLog().find("Leave CWebWindow::CreateView, total 6 views have been created"),
              std::string::npos);
}

// A view's blow-up and restore name the state they went to, so that the
// grid follows the view even after a clear screen came between them.
TEST_F(WebWindowGridTest, TheGridFollowsTheBlowUpStateTheViewReports)
{
    ASSERT_TRUE(m_pWindow->CreateView(2, 2));
    ASSERT_TRUE(m_pWindow->SetViewLayout(2, 2));
    ViewSplitter* grid = m_pWindow->GetSplitter();
    auto send = [&](UINT command) { m_pWindow->SendMessage(WM_COMMAND, command, 0); };
    send(CImageView::CmdBlownUp);
    EXPECT_TRUE(grid->IsBlownUp());
    send(CImageView::CmdBlownUp);
    EXPECT_TRUE(grid->IsBlownUp()) << "a second blow-up keeps it";
    m_pWindow->ClearScreen();
    EXPECT_FALSE(grid->IsBlownUp());
    send(CImageView::CmdRestored);
    EXPECT_FALSE(grid->IsBlownUp()) << "the view's restore after the clear screen";
    send(CImageView::CmdBlownUp);
    EXPECT_TRUE(grid->IsBlownUp());
    send(CImageView::CmdRestored);
    EXPECT_FALSE(grid->IsBlownUp());
}

TEST_F(WebWindowGridTest, RefusedGridSizesKeepTheGrid)
{
    ASSERT_TRUE(m_pWindow->CreateView(2, 2));
    CImageViewSplitter* splitter = m_pWindow->GetSplitter();
    EXPECT_FALSE(m_pWindow->CreateView(0, 2));
    EXPECT_FALSE(m_pWindow->CreateView(2, 0));
    EXPECT_EQ(m_pWindow->GetSplitter(), splitter);
    EXPECT_EQ(m_pWindow->GetNbOfView(), 4);
    EXPECT_FALSE(m_pWindow->RecalcViewLayout(3, 1));
    EXPECT_FALSE(m_pWindow->RecalcViewLayout(1, 3));
    EXPECT_FALSE(m_pWindow->RecalcViewLayout(0, 1));
    int rows = 0;
    int columns = 0;
    m_pWindow->GetViewLayout(rows, columns);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(columns, 2);
    EXPECT_TRUE(m_pWindow->RecalcViewLayout(1, 2));
    m_pWindow->GetViewLayout(rows, columns);
    EXPECT_EQ(rows * 10 + columns, 12);
    EXPECT_EQ(m_pWindow->GetViewAt(2, 0), nullptr);
    EXPECT_EQ(m_pWindow->GetViewAt(-1, 0), nullptr);
    EXPECT_EQ(m_pWindow->GetViewAt(1), View(0, 1));
    EXPECT_EQ(m_pWindow->GetViewAt(2), nullptr);
    EXPECT_FALSE(m_pWindow->ActiveView(2));
    EXPECT_TRUE(m_pWindow->ActiveView(1));
    EXPECT_EQ(m_pWindow->IndexOfHotView(), 1);
}

TEST_F(WebWindowGridTest, ActivationMovesTheHighlightBetweenViews)
{
    ASSERT_TRUE(m_pWindow->CreateView(1, 2));
    CImageView* left = View(0, 0);
    CImageView* right = View(0, 1);
    EXPECT_TRUE(left->IsShowHighLight());
    EXPECT_FALSE(right->IsShowHighLight());
    EventRecorder recorder;
    right->Activated.Add(MakeHandler(&recorder, &EventRecorder::OnFirst, "test.activated"));
    m_pWindow->SetActiveView(right);
    right->Activated.Remove(MakeHandler(&recorder, &EventRecorder::OnFirst, ""));
    EXPECT_EQ(m_pWindow->GetHotView(), right);
    EXPECT_TRUE(right->IsShowHighLight());
    EXPECT_FALSE(left->IsShowHighLight());
    EXPECT_EQ(recorder.heard, std::vector<std::string>{"first"});
    EXPECT_EQ(recorder.sender, right);
    // A window that is no image view is not taken.
    m_pWindow->GetSplitter()->ActiveView(m_pHost, true);
    EXPECT_EQ(m_pWindow->GetHotView(), right);
}

TEST_F(WebWindowGridTest, EveryVisibleViewTakesTheHandleUnlessItsTransactionWasCancelled)
{
    StartAsHost();
    ASSERT_TRUE(m_pWindow->RecalcViewLayout(1, 2));
    // No transaction was cancelled yet: an unstamped handle (-1) opens.
    LRESULT result = -5;
    OpenHeader(SeriesOne, CWebWindow::enOpenBySeries, -1, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(SeriesCount(View(0, 0)), 1);
    EXPECT_EQ(SeriesCount(View(0, 1)), 1);
    EXPECT_EQ(SeriesCount(View(1, 0)), 0);

    m_pWindow->CancelTransaction(7);
    OpenHeader(SeriesTwo, CWebWindow::enOpenBySeries, 7, &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(SeriesCount(View(0, 0)), 1);
    EXPECT_NE(ReadLog().find("Enter OnOpenCorvane, get a canceled TransactionID : 7"),
              std::string::npos);
    OpenHeader(SeriesTwo, CWebWindow::enOpenBySeries, 8, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(SeriesCount(View(0, 0)), 2);
    EXPECT_EQ(SeriesCount(View(0, 1)), 2);

    // A mode outside the table opens nothing and answers 0.
    OpenHeader(SeriesThree, 3, 8, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(SeriesCount(View(0, 0)), 2);
    // A null handle is refused without harm.
    EXPECT_EQ(m_pWindow->SendMessage(CWebWindow::WmOpenCorvane, 1, 0), 0);
}

TEST_F(WebWindowGridTest, EachOpenModeReachesItsOpenOperation)
{
    StartAsHost();
    struct Case
    {
        int mode;
        int seriesAfterSecond;
    };
    // The second image is SeriesOne's instance arriving as another image
    // of the same study and modality: by study it joins the first series.
    for (const Case& c :
         {Case{CWebWindow::enOpenByStudy, 1}, Case{CWebWindow::enOpenBySeries, 2},
          Case{CWebWindow::enOpenOrReloadByStudy, 1}, Case{CWebWindow::enOpenOrReloadBySeries, 2}})
    {
        m_pWindow->CloseAllView();
        OpenHeader(SeriesOne, c.mode);
        OpenHeader(SeriesTwo, c.mode);
        EXPECT_EQ(SeriesCount(View(0, 0)), c.seriesAfterSecond) << c.mode;
    }
}

TEST_F(WebWindowGridTest, GuardedLayoutMessagesApplyOnlyWhileNothingIsOnScreen)
{
    StartAsHost();
    EXPECT_EQ(m_pWindow->SendMessage(CWebWindow::WmSetViewLayout, 2, 1), 0);
    int rows = 0;
    int columns = 0;
    m_pWindow->GetViewLayout(rows, columns);
    EXPECT_EQ(rows * 10 + columns, 21);
    EXPECT_EQ(m_pWindow->SendMessage(CWebWindow::WmSetNextSeriesLayoutString, 0,
                                     reinterpret_cast<LPARAM>("STANDARD\\2,2")),
              0);
    EXPECT_EQ(std::string(View(1, 0)->GetNextSeriesLayoutString()), "STANDARD\\2,2");

    OpenHeader(SeriesOne);
    EXPECT_EQ(m_pWindow->SendMessage(CWebWindow::WmSetViewLayout, 1, 1), CWebWindow::LayoutRefused);
    m_pWindow->GetViewLayout(rows, columns);
    EXPECT_EQ(rows * 10 + columns, 21);
    EXPECT_EQ(m_pWindow->SendMessage(CWebWindow::WmSetNextSeriesLayoutString, 0,
                                     reinterpret_cast<LPARAM>("STANDARD\\3,3")),
              CWebWindow::LayoutRefused);
    EXPECT_EQ(std::string(View(1, 0)->GetNextSeriesLayoutString()), "STANDARD\\2,2");
    EXPECT_NE(ReadLog().find("exit due to OnScreenImage != 0"), std::string::npos);
    EXPECT_TRUE(m_pWindow->MsgSetViewLayout(2, 2));
    m_pWindow->GetViewLayout(rows, columns);
    EXPECT_EQ(rows * 10 + columns, 21);
}

TEST_F(WebWindowGridTest, ALargerGridWithCopyShowsTheOtherSeriesInOrder)
{
    StartAsHost();
    OpenHeader(SeriesOne);
    OpenHeader(SeriesTwo);
    OpenHeader(SeriesThree);
    CImageView* first = View(0, 0);
    ASSERT_EQ(SeriesCount(first), 3);
    first->ShowSeriesAt(1);
    ASSERT_EQ(first->IndexOfHotSeries(), 1);

    ASSERT_TRUE(m_pWindow->SetViewLayout(2, 2));
    EXPECT_EQ(CurrentSeriesUID(View(0, 0)), "1.5.2");
    EXPECT_EQ(CurrentSeriesUID(View(0, 1)), "1.5.1");
    EXPECT_EQ(CurrentSeriesUID(View(1, 0)), "1.5.3");
    // Out of series: the last cell gets the copy and the layout only.
    EXPECT_EQ(SeriesCount(View(1, 1)), 3);
    EXPECT_EQ(std::string(View(1, 1)->GetFormat()), std::string(first->GetFormat()));
    EXPECT_EQ(m_pWindow->GetHotView(), View(0, 0));
    EXPECT_EQ(Instances(View(0, 1)), (std::vector<int>{1, 0}));
}

TEST_F(WebWindowGridTest, ALargerGridWithoutCopyLeavesTheNewCellsEmpty)
{
    StartAsHost();
    OpenHeader(SeriesOne);
    OpenHeader(SeriesTwo);
    ASSERT_TRUE(m_pWindow->DoSetViewLayout(1, 2, false));
    EXPECT_EQ(SeriesCount(View(0, 0)), 2);
    EXPECT_EQ(SeriesCount(View(0, 1)), 0);
    EXPECT_EQ(std::string(View(0, 1)->GetFormat()), std::string(View(0, 0)->GetFormat()));
    EXPECT_FALSE(View(0, 1)->IsShowHighLight());
}

TEST_F(WebWindowGridTest, AHotViewOutsideTheNewGridHandsOverToTheLastVisibleView)
{
    StartAsHost();
    OpenHeader(SeriesOne);
    OpenHeader(SeriesTwo);
    ASSERT_TRUE(m_pWindow->SetViewLayout(2, 2));
    m_pWindow->SetActiveView(View(1, 1));
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
    EXPECT_EQ(m_pWindow->GetHotView(), View(0, 1));
    EXPECT_FALSE(View(1, 0)->IsWindowVisible());
    EXPECT_EQ(SeriesCount(View(1, 0)), 0);
}

// The window's operations that speak of "the view's series" mean the
// current series: the one on screen, whose image the hot pane shows.
TEST_F(WebWindowGridTest, TheHotViewsSeriesIsItsCurrentSeries)
{
    StartAsHost();
    const ImageSpec secondOfTwo{"1.5", "1.5.2", "1.5.2.2", 2, "CT"};
    OpenHeader(SeriesOne);
    OpenHeader(SeriesTwo);
    OpenHeader(secondOfTwo);
    CImageView* view = View(0, 0);
    ASSERT_EQ(SeriesCount(view), 2);
    view->ShowSeriesAt(1);
    view->SelectImage(view->GetImageLayout().GetCurrentSeries()->GetImageAt(1));
    EXPECT_EQ(m_pWindow->GetNbOfSeries(), 2);
    EXPECT_EQ(m_pWindow->IndexOfHotSeries(), 1);
    EXPECT_EQ(m_pWindow->GetNbOfImage(), 2);
    EXPECT_EQ(m_pWindow->IndexOfHotImage(), 1);
    EXPECT_EQ(InstanceOf(m_pWindow->GetHotImageShow()), 2);
    view->ShowSeriesAt(0);
    EXPECT_EQ(m_pWindow->GetNbOfImage(), 1);
    EXPECT_EQ(m_pWindow->IndexOfHotImage(), 0);
}

TEST_F(WebWindowGridTest, ControlPageKeysNavigateTheSeriesOfTheHotView)
{
    StartAsHost();
    OpenHeader(SeriesOne);
    OpenHeader(SeriesTwo);
    CImageView* view = View(0, 0);
    ASSERT_EQ(view->IndexOfHotSeries(), 0);
    m_pWindow->SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(view->IndexOfHotSeries(), 0);
    m_harness.KeyDown(VK_CONTROL);
    m_harness.PumpPending();
    m_pWindow->SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(view->IndexOfHotSeries(), 1);
    m_pWindow->SendMessage(WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(view->IndexOfHotSeries(), 0);
    m_harness.KeyUp(VK_CONTROL);
    m_harness.PumpPending();
}

TEST_F(WebWindowGridTest, TheParentLearnsEveryChangeOfTheHotImage)
{
    StartAsHost();
    OpenHeader(SeriesOne);
    OpenHeader(SeriesTwo);
    m_harness.PumpPending();
    m_pHost->hotImageNotices.clear();
    m_pWindow->ShowNextSeries();
    m_pWindow->SetViewLayout(1, 1);
    m_harness.PumpPending();
    ASSERT_FALSE(m_pHost->hotImageNotices.empty());
    EXPECT_EQ(m_pHost->hotImageNotices.back(), std::make_pair(WPARAM(0), LPARAM(0)));
    EXPECT_NE(ReadLog().find("Enter CWebWindow::OnHotImageSelChanged, <0 at view 0>"),
              std::string::npos);
}

TEST_F(WebWindowGridTest, ClearScreenEmptiesEveryViewAndFiresThePageEventsInOrder)
{
    StartAsHost();
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
    OpenHeader(SeriesOne);
    ASSERT_TRUE(m_pWindow->SetViewLayout(2, 2));
    EventRecorder recorder;
    EventSourcePage::OnAllViewClearing.Add(
        MakeHandler(&recorder, &EventRecorder::OnFirst, "test.clearing"));
    EventSourcePage::OnAllViewCleared.Add(
        MakeHandler(&recorder, &EventRecorder::OnSecond, "test.cleared"));
    m_pWindow->ClearScreen();
    EventSourcePage::OnAllViewClearing.Remove(MakeHandler(&recorder, &EventRecorder::OnFirst, ""));
    EventSourcePage::OnAllViewCleared.Remove(MakeHandler(&recorder, &EventRecorder::OnSecond, ""));
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(recorder.sender, m_pWindow);
    ExpectEveryViewClosed();
    for (int row = 0; row < 2; ++row)
    {
        for (int column = 0; column < 2; ++column)
        {
            EXPECT_FALSE(CWebWindow::IsShowingImage(View(row, column)));
        }
    }
    EXPECT_NE(ReadLog().find("availPhysMB : "), std::string::npos);
}

TEST_F(WebWindowGridTest, ClosingTheHotViewsContentMovesToAViewStillShowingAnImage)
{
    StartAsHost();
    OpenHeader(SeriesOne);
    OpenHeader(SeriesTwo);
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
    m_pWindow->SetActiveView(View(0, 0));
    m_pWindow->CloseHotView();
    EXPECT_EQ(SeriesCount(View(0, 0)), 0);
    EXPECT_EQ(m_pWindow->GetHotView(), View(0, 1));
    m_pWindow->CloseHotSeries();
    EXPECT_EQ(SeriesCount(View(0, 1)), 1);
    m_pWindow->CloseHotImage();
    EXPECT_EQ(SeriesCount(View(0, 1)), 0);
    // Nothing shows an image any more: the active view stays.
    EXPECT_EQ(m_pWindow->GetHotView(), View(0, 1));
}

TEST_F(WebWindowGridTest, PromptTextAndPushedConfiguration)
{
    EXPECT_EQ(m_pWindow->SendMessage(CWebWindow::WmSetPromptText, 0,
                                     reinterpret_cast<LPARAM>("Preliminary")),
              1);
    EXPECT_EQ(std::string(CWebWindow::GetPromptText()), "Preliminary");
    m_pWindow->SendMessage(CWebWindow::WmSetPromptText, 0, reinterpret_cast<LPARAM>(""));
    EXPECT_TRUE(CWebWindow::GetPromptText().IsEmpty());

    const std::string before = ReadLog();
    EXPECT_FALSE(m_pWindow->SetConfigXML(5, "<AppSetting/>"));
    EXPECT_NE(ReadLog().find("Enter CWebWindow::SetConfigXML, type : 5", before.size()),
              std::string::npos);
}

// The operations with no target give their "none" results.
TEST_F(WebWindowGridTest, OperationsWithoutATargetGiveTheirNoneResults)
{
    int width = 7;
    int center = 7;
    EXPECT_FALSE(m_pWindow->GetWindowLevel(width, center));
    EXPECT_EQ(width, -1);
    EXPECT_EQ(center, -1);
    EXPECT_FALSE(m_pWindow->SetWindowLevel(400, 40));
    EXPECT_EQ(m_pWindow->GetScope(), 0);
    EXPECT_EQ(m_pWindow->GetNbOfSeries(), -1);
    EXPECT_EQ(m_pWindow->GetNbOfImage(), -1);
    EXPECT_EQ(m_pWindow->IndexOfHotSeries(), -1);
    EXPECT_EQ(m_pWindow->IndexOfHotImage(), -1);
    EXPECT_FALSE(m_pWindow->PageDown());
    EXPECT_FALSE(m_pWindow->DoShowSeriesAt(0));
    EXPECT_FALSE(m_pWindow->SetImageLayout(1, 2));
    EXPECT_EQ(m_pWindow->GetDicomFileAt(0, nullptr), -1);
    EXPECT_TRUE(m_pWindow->GetHotImageFileName().IsEmpty());
    EXPECT_FALSE(m_pWindow->SaveHotImageAsBitmap("never.bmp"));
    EXPECT_EQ(m_pWindow->SendMessageToHotView(WM_NULL, 0, 0), 0);
    EXPECT_EQ(m_pWindow->SendMessageToHotImage(WM_NULL, 0, 0), 0);
    EXPECT_EQ(m_pWindow->SendMessageToAllImage(WM_NULL, 0, 0), 1);
    EXPECT_EQ(m_pWindow->SendMessageToAllView(WM_NULL, 0, 0), 1);
    EXPECT_TRUE(m_pWindow->SetLeftButton(5));
    EXPECT_EQ(m_pWindow->GetLeftButton(), -1);
    EXPECT_FALSE(m_pWindow->DoSetSeriesLayoutString(nullptr));
    EXPECT_FALSE(std::filesystem::exists("never.bmp"));
}

TEST_F(WebWindowGridTest, ImageLayoutTakesRowsThenColumnsAndGivesThemBack)
{
    StartAsHost();
    ASSERT_TRUE(m_pWindow->SetImageLayout(1, 2));
    EXPECT_EQ(std::string(m_pWindow->GetImageLayoutString()), "STANDARD\\2,1");
    int first = 0;
    int second = 0;
    ASSERT_TRUE(m_pWindow->GetImageLayout(first, second));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_NE(ReadLog().find("Enter CWebWindow::SetImageLayout : 1X2"), std::string::npos);
    ASSERT_TRUE(m_pWindow->SetSeriesLayout(3, 2));
    EXPECT_EQ(std::string(View(0, 0)->GetFormat()), "STANDARD\\2,3");
    EXPECT_EQ(View(0, 0)->GetRectCount(), 6);
    // Sizes that lay out no panes are refused and change nothing.
    for (const auto& [rows, columns] : {std::pair(0, 0), std::pair(-1, 2), std::pair(1000, 1000)})
    {
        EXPECT_FALSE(m_pWindow->SetImageLayout(rows, columns)) << rows << " x " << columns;
        EXPECT_EQ(std::string(View(0, 0)->GetFormat()), "STANDARD\\2,3");
        EXPECT_EQ(View(0, 0)->GetRectCount(), 6);
    }
}

TEST_F(WebWindowGridTest, RotationsOutsideTheTableChangeNothing)
{
    StartAsHost();
    OpenHeader(SeriesOne);
    const std::string before = ReadLog();
    for (int direction : {0, 4, -1})
    {
        m_pWindow->Rotate(direction);
    }
    const std::string added = ReadLog().substr(before.size());
    EXPECT_NE(added.find("Enter CWebWindow::Rotate"), std::string::npos);
    EXPECT_EQ(added.find("Rotate90"), std::string::npos);
    EXPECT_EQ(added.find("Rotate180"), std::string::npos);
    EXPECT_EQ(added.find("Rotate270"), std::string::npos);
}

TEST_F(WebWindowGridTest, ToolsGoToEveryVisibleView)
{
    StartAsHost();
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
    EXPECT_TRUE(m_pWindow->SetLeftButton(28));
    EXPECT_TRUE(m_pWindow->SetRightButton(5));
    EXPECT_EQ(View(0, 0)->GetLeftButton(), 28);
    EXPECT_EQ(View(0, 1)->GetLeftButton(), 28);
    EXPECT_EQ(View(1, 0)->GetLeftButton(), CImageView::DefaultLeftTool);
    EXPECT_EQ(m_pWindow->GetLeftButton(), 28);
    EXPECT_EQ(m_pWindow->GetRightButton(), 5);
}

TEST_F(WebWindowGridTest, WebViewsMakeWebPanesAndRegisterTheDragFormat)
{
    StartAsHost();
    auto* view = static_cast<WebImageView*>(View(0, 0));
    EXPECT_EQ(view->GetDragClipboardFormat(),
              RegisterClipboardFormat(WebImageView::DragClipboardFormatName));
    EXPECT_NE(view->GetDragClipboardFormat(), 0U);
    ASSERT_GT(view->GetPaneCount(), 0);
    MedImage* pane = view->GetPane(0);
    EXPECT_TRUE(pane->IsKindOf(RUNTIME_CLASS(WebMedImage)));
    EXPECT_TRUE(pane->IsAutoFocus());
    CString name;
    pane->GetWindowText(name);
    EXPECT_EQ(std::string(name), "WebPort@0");
}

TEST_F(WebWindowGridTest, TheHandOverReportsItsRealResult)
{
    StartAsHost();
    auto* view = static_cast<WebImageView*>(View(0, 0));
    EXPECT_FALSE(view->DoPrintImage(nullptr));
    // Command 1020 without a hot image hands nothing over.
    view->SendMessage(WM_COMMAND, WebImageView::CmdImportHotImage, 0);
    EXPECT_EQ(ReadLog().find("Enter DoPrintImage"), std::string::npos);
    EXPECT_EQ(view->OnImportAllImage(), 0);
    // A header-only image has no displayed image to hand over.
    OpenHeader(SeriesOne);
    EXPECT_FALSE(view->DoPrintImage(view->GetHotImage()));
}

} // namespace
