#include "RefLineTestSupport.h"

#include "ORoiShortLine.h"

namespace
{

const DicomGeometry Square = {200, 200, 1.0, 1.0, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}};

class RefLinePaneTest : public RefLineViewTest
{
protected:
    void SetUp() override
    {
        RefLineViewTest::SetUp();
        m_pRefView = MakeRefLineView("STANDARD\\2,1", CRect(0, 0, 600, 300));
        m_pPane = static_cast<RefLineMedImage*>(m_pRefView->GetPane(0));
        PlaneImageSpec spec;
        spec.geometry = Square;
        m_pShow = ShowOnPane(m_pRefView, 0, spec);
    }

    ORoiRefLine* AddLine(int x1, int y1, int x2, int y2, const char* label = "7")
    {
        auto* line = new ORoiRefLine(m_pShow, this, x1, y1, x2, y2);
        line->SetLabelText(label);
        m_pPane->AddRefLine(line, false);
        return line;
    }

    RefLineImageView* m_pRefView = nullptr;
    RefLineMedImage* m_pPane = nullptr;
    ImageShow* m_pShow = nullptr;
};

// Lines whose first ends stand 3 window pixels apart under a 12-pixel font:
// the sixth line is the first farther than one text height from the first,
// so the labels come on every fifth line.
TEST_F(RefLinePaneTest, LabelsThinOutToAboutOneTextHeightApart)
{
    m_pPane->SetZoom(1.0);
    std::vector<ORoiRefLine*> lines;
    for (int index = 0; index < 10; ++index)
    {
        lines.push_back(AddLine(20, 20 + 3 * index, 180, 20 + 3 * index));
    }
    m_pPane->ShowRefLines(true);
    CClientDC dc(m_pPane);
    CFont font;
    ASSERT_TRUE(
        font.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    CFont* old = dc.SelectObject(&font);
    const int height = m_pPane->GetTextSize(&dc, " ").cy;
    m_pPane->DrawRefLines(&dc);
    dc.SelectObject(old);

    ASSERT_EQ(height, 12) << "a font of 12-pixel cells";
    for (int index = 0; index < 10; ++index)
    {
        EXPECT_EQ(lines[index]->IsLabelShown(), index == 0 || index == 5) << "line " << index;
    }
}

TEST_F(RefLinePaneTest, FarApartLinesAndASingleLineKeepTheirLabels)
{
    m_pPane->SetZoom(1.0);
    std::vector<ORoiRefLine*> lines = {AddLine(10, 10, 190, 10), AddLine(10, 60, 190, 60),
                                       AddLine(10, 61, 190, 61)};
    lines[0]->ShowLabel(false);
    lines[2]->ShowLabel(false);
    m_pPane->ShowRefLines(true);
    CClientDC dc(m_pPane);
    m_pPane->DrawRefLines(&dc);
    for (ORoiRefLine* line : lines)
    {
        EXPECT_TRUE(line->IsLabelShown());
    }
    m_pPane->DeleteRefLines();
    ORoiRefLine* single = AddLine(10, 10, 190, 10);
    single->ShowLabel(false);
    m_pPane->DrawRefLines(&dc);
    EXPECT_TRUE(single->IsLabelShown());
}

TEST_F(RefLinePaneTest, LinesAreDrawnOnlyWhileShown)
{
    m_pPane->SetZoom(1.0);
    ORoiRefLine* line = AddLine(10, 10, 190, 10);
    line->ShowLabel(false);
    CClientDC dc(m_pPane);
    m_pPane->DrawRefLines(&dc);
    EXPECT_FALSE(line->IsLabelShown()) << "the show-lines switch is off after construction";
    m_pPane->ShowRefLines(true);
    m_pPane->DrawRefLines(&dc);
    EXPECT_TRUE(line->IsLabelShown());
}

TEST_F(RefLinePaneTest, CopyCommandKeepsCopiesAsOrdinaryAnnotations)
{
    AddLine(10, 10, 190, 10);
    AddLine(10, 100, 190, 120);
    m_pPane->SendMessage(WM_COMMAND, RefLineMedImage::CmdCopyRefLines, 0);
    ASSERT_EQ(m_pShow->GetAnnotations().GetCount(), 2);
    EXPECT_EQ(m_pPane->GetRefLines().GetCount(), 2) << "the reference lines stay";
    int index = 0;
    for (auto* node = m_pShow->GetAnnotations().GetHead(); node != nullptr; node = node->next)
    {
        auto* copy = dynamic_cast<ORoiShortLine*>(node->item.get());
        ASSERT_NE(copy, nullptr);
        EXPECT_FALSE(copy->IsRefLine());
        EXPECT_EQ(copy->GetOwner(), m_pShow);
        const ORoiRefLine* original = m_pPane->GetRefLines().GetAt(index++);
        EXPECT_EQ(copy->GetP1().x, original->GetP1().x);
        EXPECT_EQ(copy->GetP2().y, original->GetP2().y);
        EXPECT_NE(copy->HitTest(copy->GetViewPort()->ImageToScreen(100, 10).x,
                                copy->GetViewPort()->ImageToScreen(100, 10).y, 4, 0),
                  0)
            << "an ordinary line is hit";
        break;
    }
}

// Flips and turns move the lines as they move the image's annotations; a
// line added to a turned image is fitted to it first.
TEST_F(RefLinePaneTest, FlipsAndTurnsCarryTheLinesAlong)
{
    const std::vector<void (RefLineMedImage::*)()> flips = {&RefLineMedImage::FlipHorizontal,
                                                            &RefLineMedImage::FlipVertical};
    ORoiRefLine* line = AddLine(10, 30, 150, 170);
    auto* twin = new ORoiShortLine(m_pShow);
    twin->SetLine({10, 30}, {150, 170});
    m_pShow->AddAnnotation(twin);
    const auto expectTwin = [&](const char* step)
    {
        EXPECT_EQ(line->GetP1().x, twin->GetP1().x) << step;
        EXPECT_EQ(line->GetP1().y, twin->GetP1().y) << step;
        EXPECT_EQ(line->GetP2().x, twin->GetP2().x) << step;
        EXPECT_EQ(line->GetP2().y, twin->GetP2().y) << step;
    };
    for (auto flip : flips)
    {
        (m_pPane->*flip)();
        expectTwin("flip");
    }
    EXPECT_NE(line->GetP1().x, 10);
    for (int turns : {1, 2, 3})
    {
        m_pPane->Rotate(turns);
        expectTwin("turn");
    }
    // The original geometry of the image, fitted to its present orientation.
    ORoiRefLine* late = AddLine(10, 30, 150, 170);
    EXPECT_EQ(late->GetP1().x, twin->GetP1().x);
    EXPECT_EQ(late->GetP1().y, twin->GetP1().y);
    EXPECT_EQ(late->GetP2().x, twin->GetP2().x);
    EXPECT_EQ(late->GetP2().y, twin->GetP2().y);
}

TEST_F(RefLinePaneTest, LinesGoWithTheImage)
{
    AddLine(10, 10, 190, 10);
    PlaneImageSpec spec;
    spec.geometry = Square;
    spec.instance = 2;
    ImageShow* other = Keep(MakePlaneShow(MakePlaneImage(spec)));
    m_pPane->AttachShow(other);
    EXPECT_TRUE(m_pPane->GetRefLines().IsEmpty()) << "a new image";
    auto* line = new ORoiRefLine(other, this, 1, 1, 5, 5);
    m_pPane->AddRefLine(line, true);
    m_pPane->ReleaseImageData();
    EXPECT_TRUE(m_pPane->GetRefLines().IsEmpty()) << "released";

    auto* empty = static_cast<RefLineMedImage*>(m_pRefView->GetPane(1));
    empty->AddRefLine(new ORoiRefLine(nullptr, this, 1, 1, 5, 5), false);
    EXPECT_TRUE(empty->GetRefLines().IsEmpty()) << "a pane without an image deletes the line";
}

// The view detaches a pane without releasing it; the image of its lines
// may go before the pane shows another.
TEST_F(RefLinePaneTest, LinesOfAGoneImageAreLeftAlone)
{
    PlaneImageSpec spec;
    spec.geometry = Square;
    auto gone = MakePlaneShow(MakePlaneImage(spec));
    m_pPane->AttachShow(gone.get());
    m_pPane->AddRefLine(new ORoiRefLine(gone.get(), this, 10, 10, 190, 30), false);
    m_pPane->ShowRefLines(true);
    m_pPane->DetachShow();
    gone.reset();
    m_pPane->FlipHorizontal();
    m_pPane->FlipVertical();
    m_pPane->Rotate(1);
    m_pPane->SendMessage(WM_COMMAND, RefLineMedImage::CmdCopyRefLines, 0);
    m_pPane->UpdateWindow();
    m_pPane->AttachShow(m_pShow);
    EXPECT_TRUE(m_pPane->GetRefLines().IsEmpty());
}

TEST_F(RefLinePaneTest, ShowingAndHidingTheViewsLines)
{
    AddLine(10, 10, 190, 10);
    m_pRefView->ShowReferenceLines(true);
    EXPECT_TRUE(m_pPane->IsRefLinesShown());
    EXPECT_EQ(m_pPane->GetRefLines().GetCount(), 1);
    m_pRefView->ShowReferenceLines(false);
    EXPECT_FALSE(m_pPane->IsRefLinesShown());
    EXPECT_TRUE(m_pPane->GetRefLines().IsEmpty());
}

TEST_F(RefLinePaneTest, RefreshAsksTheViewerWindowForTheLines)
{
    m_harness.PumpPending();
    m_pViewer->commands.clear();
    m_pRefView->Refresh();
    EXPECT_TRUE(m_pViewer->commands.empty()) << "posted, not sent";
    m_harness.PumpPending();
    ASSERT_FALSE(m_pViewer->commands.empty());
    EXPECT_EQ(m_pViewer->commands.back().first, WPARAM(CImageView::CmdRefLines));
    EXPECT_EQ(m_pViewer->commands.back().second, LPARAM(0));
}

} // namespace
