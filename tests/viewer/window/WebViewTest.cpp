// The web view, its panes and their task set, in a viewer window of a host
// frame: tool codes, click-by-click measurements, the prompt label and the
// drag of the view's text.
#include "CImageViewSplitter.h"
#include "DicomDumpDialog.h"
#include "FakeFilmWindow.h"
#include "ModalAnswers.h"
#include "ORoiAngle.h"
#include "ORoiCalliper.h"
#include "QuillonLibrary.h"
#include "RefLineMedImage.h"
#include "RoiTasks.h"
#include "TextDropTarget.h"
#include "ToolTasks.h"
#include "ViewLabel.h"
#include "WebImageView.h"
#include "WebMedImage.h"
#include "WebTaskSet.h"
#include "WebWindowTestSupport.h"

#include <string>
#include <typeinfo>
#include <vector>

namespace
{

class WebViewTest : public WebWindowTest
{
protected:
    void SetUp() override
    {
        WebWindowTest::SetUp();
        StartAsHost();
        m_pView = static_cast<WebImageView*>(View(0, 0));
    }

    // The corpus CT opened into the window, shown in one pane.
    void OpenCT()
    {
        Open({CorpusPath("pydicom/test_files/CT_small.dcm")});
        m_pWindow->SetImageLayout(1, 1);
        m_harness.PumpPending();
    }

    POINT PanePoint(int x, int y) const
    {
        return CUiHarness::ScreenPoint(m_pView->GetPane(0)->m_hWnd, x, y);
    }

    WebImageView* m_pView = nullptr;
};

struct ToolCase
{
    int code;
    // The current task's kind: "arrow", "rect-auto", "rect-zoom",
    // "calliper", "arrow-roi", "click", "forward", "pixel" or "zoom".
    const char* kind;
    UINT cursorGroup;
};

std::string KindOf(const MouseTask* task)
{
    if (const auto* rect = dynamic_cast<const RectSelectTask*>(task))
    {
        return rect->GetAction() == RectSelectTask::enAutoWindowLevel ? "rect-auto" : "rect-zoom";
    }
    if (dynamic_cast<const RoiCreateTask*>(task) != nullptr)
    {
        return "roi";
    }
    if (dynamic_cast<const ArrowTask*>(task) != nullptr)
    {
        return "arrow";
    }
    if (dynamic_cast<const ClickForwardTask*>(task) != nullptr)
    {
        return "forward";
    }
    if (dynamic_cast<const PixelValueTask*>(task) != nullptr)
    {
        return "pixel";
    }
    return task != nullptr && task->IsPriority() ? "click" : "other";
}

TEST_F(WebViewTest, TheWebTaskSetSelectsItsTasksByCode)
{
    const UINT arrow = 32512;
    const ToolCase cases[] = {
        {6, "roi", 155},      {7, "click", 156},    {17, "rect-auto", 0}, {27, "rect-zoom", 0},
        {29, "click", 156},   {46, "roi", 155},     {0, "arrow", arrow},  {8, "arrow", arrow},
        {30, "arrow", arrow}, {45, "arrow", arrow}, {49, "arrow", arrow}, {2, "forward", 154},
        {13, "forward", 0},   {89, "forward", 155}, {10, "pixel", arrow},
    };
    WebTaskSet set(m_pView->GetPane(0));
    for (const ToolCase& c : cases)
    {
        set.SetTool(c.code);
        EXPECT_EQ(set.GetTool(), c.code);
        EXPECT_EQ(KindOf(set.GetCurrentTask()), c.kind) << c.code;
        EXPECT_EQ(set.GetCursor(), c.cursorGroup != 0 ? GetQuillonCursor(c.cursorGroup) : nullptr)
            << c.code;
    }
    // Outside the table the code is stored and the task stays.
    set.SetTool(17);
    const MouseTask* kept = set.GetCurrentTask();
    for (int code : {50, 88, 90, -1})
    {
        set.SetTool(code);
        EXPECT_EQ(set.GetTool(), code);
        EXPECT_EQ(set.GetCurrentTask(), kept) << code;
    }
}

TEST_F(WebViewTest, WebPanesCarryWebTaskSetsOnBothButtons)
{
    auto* pane = static_cast<WebMedImage*>(m_pView->GetPane(0));
    EXPECT_EQ(typeid(pane->GetLeftTasks()), typeid(WebTaskSet));
    EXPECT_EQ(typeid(pane->GetRightTasks()), typeid(WebTaskSet));
    m_pWindow->SetLeftButton(WebTaskSet::enCalliperTool);
    EXPECT_EQ(pane->GetLeftTasks().GetTool(), WebTaskSet::enCalliperTool);
}

TEST_F(WebViewTest, AnAngleIsMeasuredClickByClick)
{
    OpenCT();
    m_pWindow->SetLeftButton(WebTaskSet::enAngleTool);
    auto* pane = m_pView->GetPane(0);
    ImageShow* show = pane->GetShow();
    ASSERT_NE(show, nullptr);
    const int before = show->GetAnnotations().GetCount();
    auto& tasks = static_cast<WebTaskSet&>(pane->GetLeftTasks());
    bool runningSeen = false;
    m_harness.Script()
        .Do([&] { runningSeen = tasks.GetRunningTask() != nullptr; })
        .MouseUp(enMouseButton::Left, PanePoint(60, 60))
        .MouseMove(PanePoint(120, 60))
        .MouseDown(enMouseButton::Left, PanePoint(120, 60))
        .MouseUp(enMouseButton::Left, PanePoint(120, 60))
        .MouseMove(PanePoint(120, 120))
        .MouseDown(enMouseButton::Left, PanePoint(120, 120))
        .MouseUp(enMouseButton::Left, PanePoint(120, 120));
    m_harness.MouseDown(enMouseButton::Left, PanePoint(60, 60));
    m_harness.PumpPending();
    m_harness.PumpPending();
    EXPECT_TRUE(runningSeen);
    EXPECT_EQ(tasks.GetRunningTask(), nullptr);
    ASSERT_EQ(show->GetAnnotations().GetCount(), before + 1);
    EXPECT_NE(dynamic_cast<ORoiAngle*>(show->GetAnnotations().GetTail()->item.get()), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    Picture("WebPaneAngle");
}

TEST_F(WebViewTest, ThePromptTextLeadsThePaneLabels)
{
    m_pWindow->SendMessage(CWebWindow::WmSetPromptText, 0, reinterpret_cast<LPARAM>("For review"));
    OpenCT();
    auto* pane = m_pView->GetPane(0);
    ASSERT_FALSE(pane->GetLabels(ViewLabel::enTopLeft).IsEmpty());
    EXPECT_EQ(std::string(pane->GetLabels(ViewLabel::enTopLeft).GetHead()->item->GetText()),
              "For review");
    Picture("WebPanePrompt");
    m_pWindow->SendMessage(CWebWindow::WmSetPromptText, 0, reinterpret_cast<LPARAM>(""));
    pane->BuildImageLabels(pane->GetShow());
    ASSERT_FALSE(pane->GetLabels(ViewLabel::enTopLeft).IsEmpty());
    EXPECT_NE(std::string(pane->GetLabels(ViewLabel::enTopLeft).GetHead()->item->GetText()),
              "For review");
}

TEST_F(WebViewTest, TheDragToolDragsTheViewsTextInItsFormat)
{
    OpenCT();
    m_pWindow->RecalcViewLayout(1, 1);
    m_pView->MoveWindow(0, 0, 500, 500, TRUE);
    TextDropTarget target;
    ASSERT_TRUE(target.Create(nullptr, "Target", WS_CHILD | WS_VISIBLE, CRect(600, 0, 780, 200),
                              m_pHost, 77));
    target.format = m_pView->GetDragClipboardFormat();
    ASSERT_TRUE(AfxOleInit());
    ASSERT_TRUE(target.Register());
    m_pWindow->SetLeftButton(MouseTaskSet::enDragDropTool);
    const POINT targetPoint = CUiHarness::ScreenPoint(target.m_hWnd, 50, 50);
    m_harness.Script()
        .MouseMove(PanePoint(80, 80))
        .MouseMove(targetPoint)
        .MouseUp(enMouseButton::Left, targetPoint);
    m_harness.MouseMove(PanePoint(60, 60));
    m_harness.MouseDown(enMouseButton::Left, PanePoint(60, 60));
    m_harness.PumpPending();
    m_harness.PumpPending();
    char expected[128];
    std::snprintf(expected, sizeof expected,
                  "SourceID=PaneLayout | HWNDSource=%d | Message=273 | wParam=1020",
                  int(reinterpret_cast<INT_PTR>(m_pView->m_hWnd)));
    EXPECT_EQ(target.texts, std::vector<std::string>{expected});
    target.DestroyWindow();
}

TEST_F(WebViewTest, TheFilmCommandsHandTheHotImageOrTheWholeSeriesOver)
{
    const std::vector<std::string> slices = WriteSlices(m_folder, {1, 2, 3});
    ASSERT_EQ(slices.size(), 3U);
    Open(slices);
    ASSERT_NE(m_pView->GetHotImage(), nullptr);
    // No film program: the hand-over says it failed.
    EXPECT_FALSE(m_pView->DoPrintImage(m_pView->GetHotImage()));

    CFakeFilmWindow film;
    EXPECT_TRUE(m_pView->DoPrintImage(m_pView->GetHotImage()));
    m_pView->SendMessage(WM_COMMAND, WebImageView::CmdImportHotImage, 0);
    ASSERT_EQ(film.GetDeliveries().size(), 2U);
    EXPECT_TRUE(film.GetDeliveries().back().bBlockFound);
    EXPECT_EQ(film.GetDeliveries().back().patientName, "CompressedSamples^CT1");
    m_pView->SendMessage(WM_COMMAND, WebImageView::CmdImportAllImage, 0);
    EXPECT_EQ(film.GetDeliveries().size(), 5U);
    EXPECT_EQ(m_pView->OnImportAllImage(), 3);
    const std::string log = ReadLog();
    EXPECT_NE(log.find("Enter WebImageView::OnImportHotImage"), std::string::npos);
    EXPECT_NE(log.find("Enter WebImageView::OnImportAllImage"), std::string::npos);
}

// The colour of a 32 x 32 icon drawn at (left, top) of the pane, inside its
// disc above the mark, as 0xRRGGBB.
std::uint32_t IconColour(MedImage* pane, int left, int top)
{
    WindowPicture picture;
    EXPECT_TRUE(UserGetWindowPicture(pane->m_hWnd, true, picture));
    return picture.GetPixel(left + 16, top + 7) & 0xFFFFFF;
}

TEST_F(WebViewTest, TheStateIconsOfTheImageSitInThePanesLowerRightCorner)
{
    OpenCT();
    MedImage* pane = m_pView->GetPane(0);
    ImageShow* show = pane->GetShow();
    ASSERT_NE(show, nullptr);
    CRect client;
    pane->GetClientRect(&client);
    const int top = client.bottom - 27;
    const std::uint32_t plain = IconColour(pane, client.right - 30, top);

    CFakeFilmWindow film;
    ASSERT_TRUE(m_pView->DoPrintImage(show));
    EXPECT_EQ(show->GetIconFlags(), std::uint32_t(ImageShow::enIconHandedOver));
    pane->UpdateWindow();
    const std::uint32_t handedOver = IconColour(pane, client.right - 30, top);
    EXPECT_NE(handedOver, plain);

    auto* calliper = new ORoiCalliper(show);
    calliper->SetLine({20, 30}, {100, 30});
    show->AddAnnotation(calliper);
    EXPECT_EQ(show->GetIconFlags(),
              std::uint32_t(ImageShow::enIconHandedOver | ImageShow::enIconAnnotated));
    pane->Invalidate(FALSE);
    pane->UpdateWindow();
    // The annotated icon takes the corner; the handed-over one moves left.
    EXPECT_EQ(IconColour(pane, client.right - 54, top), handedOver);
    const std::uint32_t annotated = IconColour(pane, client.right - 30, top);
    EXPECT_NE(annotated, handedOver);
    EXPECT_NE(annotated, plain);
    Picture("WebPaneIcons");
}

TEST_F(WebViewTest, OneToOneZoomPicksThePanToolOnlyForImagesLargerThanThePane)
{
    OpenCT();
    m_pWindow->SetLeftButton(MouseTaskSet::enZoomOrPanTool);
    m_pWindow->ZoomPixelByPixel();
    EXPECT_DOUBLE_EQ(m_pWindow->GetHotImage()->GetZoom(), 1.0);
    EXPECT_EQ(m_pWindow->GetLeftButton(), MouseTaskSet::enZoomOrPanTool);

    m_pWindow->CloseAllView();
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
    Open({CorpusPath("octave-dicom/CT-MONO2-16-ankle.dcm")});
    m_pWindow->SetLeftButton(MouseTaskSet::enZoomOrPanTool);
    m_pWindow->ZoomPixelByPixel();
    EXPECT_DOUBLE_EQ(m_pWindow->GetHotImage()->GetZoom(), 1.0);
    EXPECT_EQ(View(0, 0)->GetLeftButton(), MouseTaskSet::enPanTool);
    EXPECT_EQ(View(0, 1)->GetLeftButton(), MouseTaskSet::enPanTool);
    m_pWindow->ZoomFitInWindow();
    EXPECT_EQ(View(0, 1)->GetLeftButton(), MouseTaskSet::enZoomTool);
    EXPECT_LT(m_pWindow->GetHotImage()->GetZoom(), 1.0);
}

TEST_F(WebViewTest, TheParentHearsTheIndexOfTheHotViewAndImage)
{
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
    const std::vector<std::string> slices = WriteSlices(m_folder, {1, 2, 3});
    ASSERT_EQ(slices.size(), 3U);
    Open(slices);
    // The first view takes the images to be shown; the second adds them.
    CImageView* second = View(0, 1);
    ASSERT_EQ(SeriesCount(second), 1);
    EXPECT_EQ(CWebWindow::GetSeriesOf(second), nullptr);
    second->ShowSeriesAt(0);
    ASSERT_NE(CWebWindow::GetSeriesOf(second), nullptr);
    m_harness.PumpPending();
    m_pHost->hotImageNotices.clear();
    m_pWindow->SetActiveView(second);
    second->SelectImage(CWebWindow::GetSeriesOf(second)->GetImageAt(1));
    m_harness.PumpPending();
    ASSERT_FALSE(m_pHost->hotImageNotices.empty());
    EXPECT_EQ(m_pHost->hotImageNotices.back(), std::make_pair(WPARAM(1), LPARAM(1)));
    EXPECT_EQ(m_pWindow->IndexOfHotView(), 1);
    EXPECT_EQ(m_pWindow->IndexOfHotImage(), 1);
}

// A coronal image of the slices' study and frame of reference, in the plane
// y = -20 from z = -30 downward, written into the folder.
std::string WriteCoronal(const CTempFolder& folder)
{
    DICOMImage image;
    if (image.ReadFile(CorpusPath("pydicom/test_files/CT_small.dcm").c_str()) == 0)
    {
        return {};
    }
    image.Add(0x0008, 0x0018, UID("1.2.826.0.1.3680043.2.1125.7.9.1"));
    image.Add(0x0020, 0x000E, UID("1.2.826.0.1.3680043.2.1125.7.9"));
    image.Add(0x0020, 0x0013, "7");
    image.Add(0x0020, 0x0037, "1\\0\\0\\0\\0\\-1");
    image.Add(0x0020, 0x0032, "-64\\-20\\-30");
    image.BuildMetaHead();
    const std::string path = folder.GetPath("coronal.dcm");
    return image.WriteFile(path.c_str(), 1) != 0 ? path : std::string();
}

TEST_F(WebViewTest, TheHotImagesReferenceLinesShowOnTheOtherViews)
{
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
    const std::vector<std::string> slices = WriteSlices(m_folder, {1, 2, 3});
    const std::string coronal = WriteCoronal(m_folder);
    ASSERT_EQ(slices.size(), 3U);
    ASSERT_FALSE(coronal.empty());
    Open(slices);
    Open({coronal});
    // The first view shows the axial slices, the second the coronal image.
    CImageView* axial = View(0, 0);
    CImageView* other = View(0, 1);
    axial->ShowSeriesAt(0);
    other->ShowSeriesAt(1);
    ASSERT_EQ(CWebWindow::GetSeriesOf(other)->GetNbOfImage(), 1);
    m_pWindow->SetActiveView(axial);
    axial->SelectImage(CWebWindow::GetSeriesOf(axial)->GetImageAt(0));
    m_harness.PumpPending();

    auto* target = static_cast<RefLineMedImage*>(other->GetPane(0));
    ASSERT_EQ(target->GetRefLines().GetCount(), 1);
    EXPECT_TRUE(target->IsRefLinesShown());
    for (int pane = 0; pane < axial->GetPaneCount(); ++pane)
    {
        EXPECT_EQ(static_cast<RefLineMedImage*>(axial->GetPane(pane))->GetRefLines().GetCount(), 0);
    }
    Picture("WebWindowReferenceLine");

    // The coronal image made hot: the axial panes get its line instead.
    m_pWindow->SetActiveView(other);
    other->SelectImage(CWebWindow::GetSeriesOf(other)->GetImageAt(0));
    m_harness.PumpPending();
    EXPECT_EQ(target->GetRefLines().GetCount(), 0);
    EXPECT_EQ(static_cast<RefLineMedImage*>(axial->GetPane(0))->GetRefLines().GetCount(), 1);
}

TEST_F(WebViewTest, ADoubleClickBlowsThePaneAndTheViewUpAndBack)
{
    ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
    OpenCT();
    ASSERT_TRUE(m_pWindow->SetImageLayout(1, 2));
    const std::string grid = std::string(m_pView->GetFormat());
    EXPECT_EQ(m_pView->LeftButtonDblClk.GetCount(), 1);
    m_pView->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(std::string(m_pView->GetFormat()), CImageView::SingleLayout);
    EXPECT_TRUE(m_pWindow->GetSplitter()->IsBlownUp());
    EXPECT_FALSE(View(0, 1)->IsWindowVisible());
    Picture("WebViewBlownUp");
    m_pView->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(std::string(m_pView->GetFormat()), grid);
    EXPECT_FALSE(m_pWindow->GetSplitter()->IsBlownUp());
    EXPECT_TRUE(View(0, 1)->IsWindowVisible());
}

TEST_F(WebViewTest, LookupTableDescriptionsComeFromTheHotImage)
{
    EXPECT_TRUE(m_pWindow->GetOriginalLUTDescription().IsEmpty());
    OpenCT();
    const std::string original = std::string(m_pWindow->GetOriginalLUTDescription());
    EXPECT_FALSE(original.empty());
    EXPECT_EQ(std::string(m_pWindow->GetAllLUTDescription()).rfind("* ", 0), 0U);
    EXPECT_FALSE(m_pWindow->SelectLUT(99));
}

TEST_F(WebViewTest, TheDumpCommandsShowTheHotImageInTheDumpDialog)
{
    // Nothing to dump: no dialog is asked for.
    ClearModalRequests();
    m_pWindow->SendMessage(WM_COMMAND, CWebWindow::CmdDumpDicomFile, 0);
    EXPECT_TRUE(GetModalRequests().empty());

    OpenCT();
    SetModalWindowsRun(true);
    int rows = 0;
    std::string patient;
    const auto readDialog = [&]
    {
        CWnd* dialog = CWnd::GetActiveWindow();
        ASSERT_NE(dialog, nullptr);
        auto* list = static_cast<CListCtrl*>(dialog->GetDlgItem(DicomDumpDialog::ListId));
        ASSERT_NE(list, nullptr);
        rows = list->GetItemCount();
        for (int row = 0; row < rows; ++row)
        {
            if (std::string(list->GetItemText(row, 0)).find("0010,0010") != std::string::npos)
            {
                patient = std::string(list->GetItemText(row, 4));
            }
        }
    };
    for (UINT command : {CWebWindow::CmdDumpDicomFile, CWebWindow::CmdDumpDicomFileToo})
    {
        rows = 0;
        patient.clear();
        m_harness.Script().Do(readDialog).KeyPress(VK_ESCAPE);
        m_pWindow->SendMessage(WM_COMMAND, command, 0);
        EXPECT_GT(rows, 30) << command;
        EXPECT_NE(patient.find("CompressedSamples^CT1"), std::string::npos) << command;
    }
    SetModalWindowsRun(false);
}

} // namespace
