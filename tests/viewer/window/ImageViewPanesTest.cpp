// The image view's panes: the images of the page on real image panes, the
// view's tools on their buttons, the hot pane chosen by a press, the window,
// pan and zoom handed round by scope, and the operations on the hot pane.
#include "ImageViewTestSupport.h"
#include "MedImage.h"
#include "PictureDump.h"

namespace
{

class ImageViewPanesTest : public ImageViewTest
{
protected:
    void SetUp() override
    {
        ImageViewTest::SetUp();
        if (!std::filesystem::exists(SUITE_CORPUS_DIR))
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
        const std::vector<std::string> paths = WriteSlices(m_folder, {1, 2, 3, 4, 5, 6});
        ASSERT_EQ(paths.size(), 6u);
        m_pView->SetLayout("STANDARD\\2,2");
        OpenFiles(paths);
        ASSERT_NE(m_pView->GetHotImage(), nullptr);
    }

    ImageShow* Image(int index) const { return m_pView->GetImageLayout().GetImageAt(index); }
    MedImage* Pane(int index) const { return m_pView->GetPane(index); }

    static int WidthOf(const ImageShow* image)
    {
        const MetaImage* meta = image->GetMetaImage();
        return meta != nullptr && meta->GetCurrentLUT() != nullptr ? meta->GetWindowWidth() : -1;
    }

    // The view's own handlers on a pane's window, pan and zoom events.
    int RenderStateHandlers(int pane) const
    {
        return Pane(pane)->GetWindowLevelEvent().GetCount() + Pane(pane)->GetPanEvent().GetCount() +
               Pane(pane)->GetZoomEvent().GetCount();
    }
};

// Records the images of the hot-image selection events.
class HotLog : public DelegateHandler
{
public:
    explicit HotLog(std::vector<ImageShow*>* seen) : DelegateHandler("HotLog"), m_pSeen(seen) {}
    void Invoke(const void*, DelegateArgs* args) override
    {
        m_pSeen->push_back(static_cast<HotImageArgs*>(args)->m_pNew);
    }
    bool IsEqual(const DelegateHandler* other) const override { return other == this; }
    bool IsEmpty() const override { return false; }
    DelegateHandler* Clone() const override { return new HotLog(m_pSeen); }
    void SetTarget(void*) override {}
    void* GetTarget() const override { return m_pSeen; }

private:
    std::vector<ImageShow*>* m_pSeen;
};

} // namespace

TEST_F(ImageViewPanesTest, ThePanesShowThePageAndCarryTheViewsTools)
{
    for (int pane = 0; pane < 4; ++pane)
    {
        ASSERT_NE(Pane(pane), nullptr);
        EXPECT_EQ(Pane(pane)->GetShow(), Image(pane));
        EXPECT_EQ(Image(pane)->GetView(), Pane(pane)) << "the image knows its pane";
        EXPECT_EQ(Pane(pane)->GetLeftTasks().GetTool(), 4);
        EXPECT_EQ(Pane(pane)->GetMiddleTasks().GetTool(), 5);
        EXPECT_EQ(Pane(pane)->GetRightTasks().GetTool(), 1);
    }
    m_pView->SetLeftButton(10);
    m_pView->SetRightButton(5);
    m_pView->SetLayout("STANDARD\\3,1");
    for (int pane = 0; pane < 3; ++pane)
    {
        EXPECT_EQ(Pane(pane)->GetLeftTasks().GetTool(), 10) << "new panes take the tools";
        EXPECT_EQ(Pane(pane)->GetMiddleTasks().GetTool(), 28);
        EXPECT_EQ(Pane(pane)->GetRightTasks().GetTool(), 5);
    }
}

TEST_F(ImageViewPanesTest, ImagesLeavingThePageLetGoOfTheirPanesAndPixels)
{
    ASSERT_TRUE(Image(0)->GetMetaImage()->HasPixels());
    m_pView->LineDown();
    EXPECT_EQ(Pane(0)->GetShow(), Image(2));
    EXPECT_EQ(Image(2)->GetView(), Pane(0));
    EXPECT_EQ(Image(0)->GetView(), nullptr);
    EXPECT_FALSE(Image(0)->GetMetaImage()->HasPixels()) << "off the page: released";
    EXPECT_TRUE(Image(2)->GetMetaImage()->HasPixels()) << "moved to another pane: kept";
    m_pView->CloseHotImage();
    EXPECT_EQ(m_pView->GetImageLayout().GetNbOfImage(), 5);
    for (int pane = 0; pane < 4; ++pane)
    {
        EXPECT_EQ(Pane(pane)->GetShow(), m_pView->GetImageLayout().GetShownImages().GetAt(pane));
    }
    m_pView->ReleaseView();
    for (int pane = 0; pane < 4; ++pane)
    {
        EXPECT_EQ(Pane(pane)->GetShow(), nullptr);
    }
}

TEST_F(ImageViewPanesTest, APressOnAPaneMakesItTheHotPane)
{
    std::vector<ImageShow*> seen;
    m_pView->HotImageSelChanged.Add(new HotLog(&seen));
    // What the pane announces when a button goes down on it (a real press
    // would show a tool's cursor, and so start the library in this process).
    DelegateArgs press;
    Pane(3)->GetClickedEvent().Invoke(Pane(3), &press);
    EXPECT_EQ(m_pView->GetHotPane(), 3);
    EXPECT_EQ(m_pView->GetHotImage(), Image(3));
    EXPECT_EQ(m_pView->GetHighLight(), 3);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), Image(3));
}

// With scope 1 a window set on the hot pane reaches every pane and every
// image of the series, decoded or not; with scope 0 only the hot image.
TEST_F(ImageViewPanesTest, TheWindowOfTheHotPaneFollowsTheScope)
{
    m_pView->SetScope(1);
    m_pView->SetWindowLevel(400, 40);
    for (int index = 0; index < 6; ++index)
    {
        EXPECT_EQ(WidthOf(Image(index)), 400) << index;
        EXPECT_EQ(Image(index)->GetMetaImage()->GetWindowCenter(), 40) << index;
    }
    EXPECT_FALSE(Image(5)->GetMetaImage()->HasPixels()) << "off the page, never decoded";
    m_pView->ShowHighLight(true, false);
    m_pView->SetHighLight(1);
    m_pView->SetScope(0);
    m_pView->SetWindowLevel(300, 30);
    EXPECT_EQ(WidthOf(Image(1)), 300);
    EXPECT_EQ(WidthOf(Image(0)), 400);
    m_pView->Invalidate(TRUE);
    m_harness.PumpPending();
    DumpPicture(m_pView->m_hWnd, "ImageViewPanesWindowed");
}

TEST_F(ImageViewPanesTest, ZoomAndPanFollowAllPanesOrTheSelectedOnes)
{
    m_pView->SetScope(1);
    m_pView->SetZoomFactor(1.5);
    EXPECT_DOUBLE_EQ(m_pView->GetZoomFactor(), 1.5);
    for (int pane = 0; pane < 4; ++pane)
    {
        EXPECT_DOUBLE_EQ(Pane(pane)->GetZoom(), 1.5) << pane;
    }
    EXPECT_DOUBLE_EQ(Image(5)->GetZoom(), 1.5);
    EXPECT_EQ(Image(5)->GetDisplayMode(), 1) << "the stored zoom holds when it is shown";
    const CPoint pan = Pane(0)->GetPan() + CPoint(7, -5);
    Pane(0)->SetPan(pan.x, pan.y);
    Pane(0)->CommitPan();
    EXPECT_EQ(Pane(3)->GetPan(), pan);
    EXPECT_EQ(Image(4)->GetPan().x, pan.x);

    Image(0)->SetSelected(true);
    Image(2)->SetSelected(true);
    m_pView->SetScope(10);
    m_pView->SetZoomFactor(2.0);
    EXPECT_DOUBLE_EQ(Pane(2)->GetZoom(), 2.0);
    EXPECT_DOUBLE_EQ(Pane(1)->GetZoom(), 1.5) << "not selected";
    EXPECT_DOUBLE_EQ(Image(5)->GetZoom(), 1.5);
}

// The handlers hang once per pane whatever sets the scope again, are off
// while one of them runs, and go with the scope, the release and the
// destroy.
TEST_F(ImageViewPanesTest, TheRenderStateHandlersComeAndGoWithTheScope)
{
    const int alone = RenderStateHandlers(1);
    m_pView->SetScope(1);
    m_pView->SetScope(1);
    EXPECT_EQ(RenderStateHandlers(1), alone + 3);
    m_pView->SetWindowLevel(500, 50);
    EXPECT_EQ(RenderStateHandlers(1), alone + 3) << "hung again after running";
    m_pView->RebuildPanes();
    EXPECT_EQ(m_pView->GetScope(), 1);
    EXPECT_EQ(RenderStateHandlers(1), alone + 3) << "the new panes have them";
    m_pView->SetScope(2);
    EXPECT_EQ(RenderStateHandlers(1), alone);
    m_pView->SetScope(1);
    m_pView->ReleaseView();
    EXPECT_EQ(RenderStateHandlers(1), alone);
    m_pView->SetScope(1);
    const int clicked = Pane(1)->GetClickedEvent().GetCount();
    m_pView->DoDestroy();
    EXPECT_EQ(RenderStateHandlers(1), alone);
    EXPECT_EQ(Pane(1)->GetClickedEvent().GetCount(), clicked - 1);
}

TEST_F(ImageViewPanesTest, OperationsOfTheHotPane)
{
    m_pView->ShowRuler(false);
    m_pView->HideLabels();
    for (int pane = 0; pane < 4; ++pane)
    {
        EXPECT_FALSE(Pane(pane)->IsRulerShown());
        EXPECT_FALSE(Pane(pane)->AreOverlaysShown());
    }
    m_pView->ShowLabels();
    m_pView->ShowOverlays(false);
    EXPECT_TRUE(Pane(2)->IsRulerShown());
    EXPECT_FALSE(Pane(2)->AreOverlaysShown());
    m_pView->SetLayout("STANDARD\\1,2");
    EXPECT_FALSE(Pane(1)->AreOverlaysShown()) << "new panes follow the switches";

    const std::string loaded(m_pView->GetOriginalLUTDescription());
    m_pView->SetWindowLevel(400, 40);
    EXPECT_EQ(std::string(m_pView->GetAllLUTDescription()), "* W:400, L:40\r\n");
    EXPECT_EQ(std::string(m_pView->GetOriginalLUTDescription()), loaded) << "as loaded";
    EXPECT_FALSE(loaded.empty());
    EXPECT_FALSE(m_pView->SelectLUT(99));
    EXPECT_TRUE(m_pView->SelectLUT(0));
    m_pView->AutoWindowLevel();

    m_pView->Invert();
    EXPECT_TRUE(m_pView->GetHotImage()->IsInvert());
    m_pView->RestoreHotImage();
    EXPECT_FALSE(m_pView->GetHotImage()->IsInvert());
}

TEST_F(ImageViewPanesTest, WithoutAHotPaneTheOperationsAnswerEmpty)
{
    m_pView->ReleaseAll();
    EXPECT_EQ(m_pView->GetHotPaneWindow(), nullptr);
    EXPECT_DOUBLE_EQ(m_pView->GetZoomFactor(), -1.0);
    EXPECT_TRUE(m_pView->GetAllLUTDescription().IsEmpty());
    EXPECT_TRUE(m_pView->GetOriginalLUTDescription().IsEmpty());
    EXPECT_FALSE(m_pView->SelectLUT(0));
    m_pView->SetZoomFactor(2.0);
    m_pView->AutoWindowLevel();
    m_pView->RestoreHotImage();
    m_pView->ClearHotImageAnnotation();
    m_pView->CopyHotPaneImage();
}

// A layout that lays out no panes is refused: the panes, the view's format
// and the series' stored layout stay as they were.
TEST_F(ImageViewPanesTest, ALayoutThatMakesNoSenseIsRefused)
{
    const std::string format(m_pView->GetFormat());
    const std::string stored =
        m_pView->GetImageLayout().GetCurrentSeries()->GetLayout().constBuffer();
    std::vector<MedImage*> panes;
    for (int pane = 0; pane < 4; ++pane)
    {
        panes.push_back(Pane(pane));
    }
    for (const char* nonsense :
         {"STANDARD\\0,0", "STANDARD\\-2,3", "STANDARD\\1000,1000", "nonsense", "STANDARD\\3", ""})
    {
        SCOPED_TRACE(nonsense);
        EXPECT_FALSE(m_pView->SetLayout(nonsense));
        EXPECT_FALSE(m_pView->SetSeriesLayout(nonsense));
        EXPECT_EQ(std::string(m_pView->GetFormat()), format);
        EXPECT_EQ(
            std::string(m_pView->GetImageLayout().GetCurrentSeries()->GetLayout().constBuffer()),
            stored);
        for (int pane = 0; pane < 4; ++pane)
        {
            EXPECT_EQ(Pane(pane), panes[pane]);
            EXPECT_EQ(Pane(pane)->GetShow(), Image(pane));
        }
    }
    EXPECT_TRUE(m_pView->SetLayout("STANDARD\\1,2"));
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\1,2");
}
