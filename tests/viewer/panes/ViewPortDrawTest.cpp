// The drawing primitives of the view port on memory surfaces: the pixels
// that tell each figure apart (ends, gaps, thickness, fills, blends) and its
// structure, never whole pictures. Text is measured in the substitute of
// "Arial" the platform picks, so only relations between extents are tested.
#include "PaneFont.h"
#include "PaneTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

namespace
{

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 255, 0);

class ViewPortDrawTest : public ::testing::Test
{
protected:
    ViewPortDrawTest() : m_view(std::make_unique<TestViewPort>()), m_surface(200, 120) {}

    // Runs of the colour along a row, and how many pixels they hold.
    std::pair<int, int> RunsOnRow(int y, COLORREF color, int from, int to) const
    {
        int runs = 0;
        int pixels = 0;
        bool inside = false;
        for (int x = from; x < to; ++x)
        {
            const bool hit = m_surface.At(x, y) == color;
            runs += hit && !inside ? 1 : 0;
            pixels += hit ? 1 : 0;
            inside = hit;
        }
        return {runs, pixels};
    }
    int RowsTouched(COLORREF color, int x) const
    {
        int rows = 0;
        for (int y = 0; y < m_surface.GetHeight(); ++y)
        {
            rows += m_surface.At(x, y) == color ? 1 : 0;
        }
        return rows;
    }

    std::unique_ptr<TestViewPort> m_view;
    PaneSurface m_surface;
};

} // namespace

TEST_F(ViewPortDrawTest, SolidLinesExcludeTheirEndAndTakeThePenWidth)
{
    m_view->DrawLine(&m_surface, 10, 20, 50, 20, Red);
    EXPECT_EQ(m_surface.At(10, 20), Red);
    EXPECT_EQ(m_surface.At(49, 20), Red);
    EXPECT_EQ(m_surface.At(50, 20), Black);
    EXPECT_EQ(RowsTouched(Red, 30), 1);

    m_view->SetPenWidth(3);
    m_view->DrawLine(&m_surface, 10, 60, 50, 60, Green);
    EXPECT_EQ(RowsTouched(Green, 30), 3);
    m_view->SetPenColor(RGB(1, 2, 3));
    m_view->DrawPenLine(&m_surface, 100, 60, 150, 60);
    EXPECT_EQ(RowsTouched(RGB(1, 2, 3), 120), 3);
    m_view->DrawShadowLine(&m_surface, 100, 90, 150, 90, Red);
    EXPECT_EQ(m_surface.At(120, 91), Red);
    EXPECT_EQ(m_surface.At(120, 88), Black);
}

// Width 1 draws a cosmetic styled pen one pixel thick, width 2 a
// geometric one that keeps its style; the gaps show the background in
// either case, and the DC's own background mode comes back.
TEST_F(ViewPortDrawTest, StyledLinesLeaveGapsInTheirOwnPatterns)
{
    struct Case
    {
        const char* name;
        void (CViewPort::*draw)(CDC*, int, int, int, int, COLORREF);
    };
    const Case cases[] = {{"dash", &CViewPort::DrawDashLine},
                          {"dot", &CViewPort::DrawDotLine},
                          {"dash-dot", &CViewPort::DrawDashDotLine}};
    std::map<std::string, int> runsOf;
    for (const Case& c : cases)
    {
        for (int width : {1, 2})
        {
            SCOPED_TRACE(std::string(c.name) + " width " + std::to_string(width));
            m_surface.FillSolidRect(0, 0, 200, 120, Black);
            m_surface.SetBkMode(OPAQUE);
            m_surface.SetBkColor(Green);
            m_view->SetPenWidth(width);
            ((*m_view).*c.draw)(&m_surface, 0, 50, 200, 50, Red);
            const auto [runs, pixels] = RunsOnRow(50, Red, 0, 200);
            EXPECT_GT(runs, 3);
            EXPECT_LT(pixels, 190);
            EXPECT_EQ(m_surface.Count(Green), 0) << "gaps are left, not filled";
            EXPECT_EQ(m_surface.GetBkMode(), OPAQUE);
            int thickest = 0;
            for (int x = 0; x < 200; ++x)
            {
                thickest = std::max(thickest, RowsTouched(Red, x));
            }
            // Geometric pens add their round caps.
            EXPECT_GE(thickest, width);
            EXPECT_LE(thickest, width == 1 ? 1 : width + 1);
            if (width == 1)
            {
                runsOf[c.name] = runs;
            }
        }
    }
    // Dots are shorter than dashes, so more of them fit.
    EXPECT_GT(runsOf["dot"], runsOf["dash"]);
}

TEST_F(ViewPortDrawTest, SelectionOutlinesFillTheirGapsWithTheBackground)
{
    m_surface.SetROP2(R2_NOT);
    m_view->DrawSelectionLine(&m_surface, 0, 30, 200, 30, Red, Green);
    const auto [redRuns, redPixels] = RunsOnRow(30, Red, 0, 200);
    const auto [greenRuns, greenPixels] = RunsOnRow(30, Green, 0, 200);
    EXPECT_GT(redRuns, 3);
    EXPECT_GT(greenRuns, 3);
    EXPECT_EQ(redPixels + greenPixels, 200);
    EXPECT_EQ(m_surface.GetROP2(), R2_NOT);

    m_surface.SetROP2(R2_COPYPEN);
    const RECT oval = {20, 60, 120, 110};
    m_view->DrawSelectionEllipse(&m_surface, &oval, Red, Green);
    EXPECT_GT(m_surface.Count(Green), 20);
    EXPECT_EQ(m_surface.At(70, 85), Black) << "not filled";
}

TEST_F(ViewPortDrawTest, MarksAndHandles)
{
    m_view->DrawCross(&m_surface, 30, 30, Red, 5);
    EXPECT_EQ(m_surface.At(25, 30), Red);
    EXPECT_EQ(m_surface.At(35, 30), Red);
    EXPECT_EQ(m_surface.At(30, 25), Red);
    EXPECT_EQ(m_surface.At(30, 35), Red);
    EXPECT_EQ(m_surface.At(36, 30), Black);
    EXPECT_EQ(m_surface.At(33, 33), Black);

    m_view->DrawXMark(&m_surface, 80, 30, Green, 5);
    for (const POINT& corner : {POINT{75, 25}, POINT{85, 35}, POINT{85, 25}, POINT{75, 35}})
    {
        EXPECT_EQ(m_surface.At(corner.x, corner.y), Green);
    }
    EXPECT_EQ(m_surface.At(80, 25), Black);

    // A handle: white inside, the DC's pen around; a hollow square keeps its
    // inside.
    m_surface.SelectStockObject(WHITE_PEN);
    m_view->DrawHandle(&m_surface, 130, 30, 4);
    EXPECT_EQ(m_surface.At(130, 30), White);
    EXPECT_EQ(m_surface.At(126, 26), White);
    EXPECT_EQ(m_surface.At(134, 34), White);
    EXPECT_EQ(m_surface.At(135, 30), Black);
    m_view->DrawHollowSquare(&m_surface, 170, 30, 4);
    EXPECT_EQ(m_surface.At(166, 30), White);
    EXPECT_EQ(m_surface.At(170, 30), Black);

    m_view->DrawFilledDiamond(&m_surface, 30, 80, Red, 6);
    EXPECT_EQ(m_surface.At(30, 80), Red);
    EXPECT_EQ(m_surface.At(30, 75), Red);
    EXPECT_EQ(m_surface.At(25, 75), Black) << "corner of the square, outside the diamond";
    m_view->DrawDiamondHandle(&m_surface, 80, 80, 6);
    EXPECT_EQ(m_surface.At(80, 80), White);
    EXPECT_EQ(m_surface.At(75, 75), Black);

    m_view->DrawTriangle(&m_surface, 130, 85, Red, Green, 20);
    EXPECT_EQ(m_surface.At(130, 85), Green) << "filled around its centroid";
    const CRect triangle = m_surface.BoundsOfOther(Black, CRect(110, 60, 160, 110));
    // Height = side x sqrt(3) / 2, apex up.
    EXPECT_NEAR(triangle.Height(), 20 * 0.866, 2.0);
    EXPECT_NEAR(triangle.Width(), 20, 2.0);
    EXPECT_EQ(m_surface.At(121, 75), Black);
}

TEST_F(ViewPortDrawTest, CornerFormsMarkTheFourCorners)
{
    const RECT box = {40, 30, 140, 90};
    m_view->DrawCornerFilledDiamonds(&m_surface, &box, Red, 3);
    for (const POINT& corner : {POINT{40, 30}, POINT{140, 30}, POINT{40, 90}, POINT{140, 90}})
    {
        EXPECT_EQ(m_surface.At(corner.x, corner.y), Red);
    }
    EXPECT_EQ(m_surface.At(90, 30), Black);
    m_view->DrawCornerHandles(&m_surface, &box, 2);
    EXPECT_EQ(m_surface.At(140, 90), White);
    m_surface.FillSolidRect(0, 0, 200, 120, Black);
    m_view->DrawCornerDiamonds(&m_surface, &box, 3);
    EXPECT_EQ(m_surface.At(40, 90), White);
}

TEST_F(ViewPortDrawTest, FramesCirclesAndEllipses)
{
    m_view->SetPenWidth(2);
    const RECT box = {10, 10, 60, 50};
    m_view->DrawFrame(&m_surface, &box, Red);
    EXPECT_EQ(m_surface.At(10, 30), Red);
    EXPECT_EQ(m_surface.At(35, 30), Black);
    EXPECT_EQ(RowsTouched(Red, 35), 4) << "two pixels at the top, two at the bottom";
    m_view->SetPenWidth(1);
    m_view->DrawInnerFrame(&m_surface, &box, Green);
    EXPECT_EQ(m_surface.At(11, 30), Green);

    m_view->DrawCircle(&m_surface, 100, 30, 10, Red);
    // The bounding square deflated by one.
    EXPECT_EQ(m_surface.At(100, 21), Red);
    EXPECT_EQ(m_surface.At(100, 20), Black);
    EXPECT_EQ(m_surface.At(100, 30), Black);
    m_view->DrawFilledCircle(&m_surface, 150, 30, Green, 10);
    EXPECT_EQ(m_surface.At(150, 30), Green);
    EXPECT_EQ(m_surface.At(150, 20), Green);
    const RECT oval = {20, 70, 120, 110};
    m_view->DrawInnerEllipse(&m_surface, &oval, Red);
    EXPECT_EQ(m_surface.At(21, 90), Red);
    EXPECT_EQ(m_surface.At(70, 90), Black);
    const RECT round = {130, 70, 190, 110};
    m_view->DrawRoundRect(&m_surface, &round, Red, Green);
    EXPECT_EQ(m_surface.At(160, 90), Green);
    EXPECT_EQ(m_surface.At(160, 70), Red);
    EXPECT_EQ(m_surface.At(130, 70), Black) << "the corner is rounded off";
}

// AngleArc turns counter-clockwise as seen on the screen from the angle of
// the start point; a start below the centre counts from 360 down.
TEST_F(ViewPortDrawTest, ArcsTurnCounterClockwiseFromTheirStartPoint)
{
    m_view->DrawArc(&m_surface, 50, 60, 80, 60, 90.0f, Red);
    EXPECT_EQ(m_surface.At(50, 30) == Red || m_surface.At(50, 31) == Red, true) << "top reached";
    EXPECT_EQ(m_surface.At(50, 90), Black);
    EXPECT_EQ(m_surface.At(20, 60), Black);
    EXPECT_LE(m_surface.BoundsOfOther(Black).bottom, 61) << "nothing below the start";

    m_view->DrawArcWithPen(&m_surface, 150, 60, 150, 90, 90.0f);
    const CRect second = m_surface.BoundsOfOther(Black, CRect(100, 0, 200, 120));
    // From the bottom round to the right: the lower-right quarter.
    EXPECT_GE(second.left, 149);
    EXPECT_GE(second.top, 59);
    EXPECT_LE(second.right, 182);
}

TEST_F(ViewPortDrawTest, ArrowHeadsNeedRoomForTheHead)
{
    m_view->DrawArrowHead(&m_surface, 10, 50, 15, 50, Red, 5, 10, CViewPort::enSolid);
    EXPECT_EQ(m_surface.Count(Red), 0);

    m_view->DrawArrow(&m_surface, 10, 50, 90, 50, Red, 5, 10, CViewPort::enSolid);
    EXPECT_EQ(m_surface.At(50, 50), Red);
    // The strokes end five pixels to either side, ten back from the tip.
    const CRect upper = m_surface.BoundsOfOther(Black, CRect(0, 0, 40, 50));
    const CRect lower = m_surface.BoundsOfOther(Black, CRect(0, 51, 40, 120));
    EXPECT_NEAR(upper.top, 45, 1);
    EXPECT_NEAR(upper.right, 20, 1);
    EXPECT_NEAR(lower.bottom, 56, 1);
    EXPECT_NEAR(lower.right, 20, 1);

    m_view->DrawArrow(&m_surface, 10, 100, 190, 100, Green, 5, 10, CViewPort::enDot);
    EXPECT_GT(RunsOnRow(100, Green, 25, 190).first, 5);
}

// The cross-hairs of the target reach 9000 pixels out; the GDI clips them
// to the surface before stepping.
TEST_F(ViewPortDrawTest, TargetCrossHairsReachTheEdges)
{
    m_view->SetPenColor(Red);
    m_view->DrawTarget(&m_surface, 100, 60, 2);
    EXPECT_EQ(m_surface.At(0, 60), Red);
    EXPECT_EQ(m_surface.At(199, 60), Red);
    EXPECT_EQ(m_surface.At(100, 0), Red);
    EXPECT_EQ(m_surface.At(100, 119), Red);
    EXPECT_EQ(m_surface.At(110, 60), Black) << "the hairs start 20 pixels out";
    EXPECT_EQ(m_surface.At(100, 40), Red) << "first ring";
    EXPECT_EQ(m_surface.At(100, 20), Red) << "second ring";

    m_surface.FillSolidRect(0, 0, 200, 120, Black);
    m_view->DrawLine(&m_surface, -9000, -9000, 9000, 9000, Green);
    EXPECT_EQ(m_surface.At(0, 0), Green);
    EXPECT_EQ(m_surface.At(119, 119), Green);
    EXPECT_EQ(m_surface.Count(Green), 120);
}

TEST_F(ViewPortDrawTest, AlphaFillBlendsAndOutlines)
{
    m_surface.FillSolidRect(0, 0, 200, 120, RGB(0, 0, 200));
    const RECT area = {10, 10, 40, 30};
    m_view->FillRectAlpha(&m_surface, &area, Red, 128);
    // dst = (src a + dst (255 - a) + 127) / 255 per channel.
    EXPECT_EQ(m_surface.At(20, 20), RGB((255 * 128 + 127) / 255, 0, (200 * 127 + 127) / 255));
    EXPECT_EQ(m_surface.At(10, 10), Red);
    EXPECT_EQ(m_surface.At(39, 29), Red);
    EXPECT_EQ(m_surface.At(40, 20), RGB(0, 0, 200));
}

TEST_F(ViewPortDrawTest, ImageFormsMapThroughTheView)
{
    m_view->m_ImageSize = {50, 50};
    m_view->SetGeometry(2.0, {10, 5}, {0, 0, 200, 120});
    m_view->DrawImageLine(&m_surface, 0, 0, 10, 0, Red);
    EXPECT_EQ(m_surface.At(10, 5), Red);
    EXPECT_EQ(m_surface.At(29, 5), Red);
    EXPECT_EQ(m_surface.At(30, 5), Black);
    m_view->DrawImageShadowLine(&m_surface, 0, 10, 10, 10, Green);
    EXPECT_EQ(m_surface.At(11, 26), Green);
    m_view->DrawImageDiamond(&m_surface, 40, 20, Red, 3);
    EXPECT_EQ(m_surface.At(90, 45), Red);
    m_view->DrawImageCircle(&m_surface, 40, 40, 5, Green);
    EXPECT_EQ(m_surface.At(90, 75), Green) << "top of the circle of radius 10 on screen";
    EXPECT_EQ(m_surface.At(90, 85), Black);
}

TEST_F(ViewPortDrawTest, TextBoxesSurroundTheirText)
{
    CFont font;
    const LOGFONTA logFont = MakeLogFont(12, "Arial");
    const POINT at = {30, 30};
    m_view->DrawTextBox(&m_surface, &logFont, &at, "Hello", Red);
    font.CreateFontIndirect(&logFont);
    CFont* old = m_surface.SelectObject(&font);
    const CSize extent = m_view->GetTextExtent(&m_surface, "Hello");
    m_surface.SelectObject(old);
    const CRect box = m_surface.BoundsOfOther(Black);
    // The box is the text's extent inflated by 4 and 2, black-outlined.
    EXPECT_EQ(box.left, at.x - 4 + 1);
    EXPECT_EQ(box.top, at.y - 2 + 1);
    EXPECT_EQ(box.right, at.x + extent.cx + 4 - 1);
    EXPECT_EQ(box.bottom, at.y + extent.cy + 2 - 1);
    EXPECT_GT(m_surface.Count(Red), 10);
    EXPECT_GT(m_surface.Count(White), m_surface.Count(Red));

    m_surface.FillSolidRect(0, 0, 200, 120, Black);
    const POINT second = {10, 10};
    m_view->DrawMultiLineTextBox(&m_surface, &logFont, &second, "a\rbbbbbb\rcc");
    const CRect lines = m_surface.BoundsOfOther(Black);
    EXPECT_GE(lines.Height(), 3 * extent.cy);
    EXPECT_LT(lines.Height(), 4 * extent.cy);
}

TEST_F(ViewPortDrawTest, MultiLineTextsStopAtTheirLineLimit)
{
    const LOGFONTA logFont = MakeLogFont(8, "Arial");
    CFont font;
    font.CreateFontIndirect(&logFont);
    m_surface.SelectObject(&font);
    std::string lines(255, '\r');
    const CSize limit = m_view->GetMultiLineTextExtent(&m_surface, (lines + "x").c_str());
    const CSize more = m_view->GetMultiLineTextExtent(
        &m_surface, (lines + std::string(50, '\r') + "wide").c_str());
    const CSize one = m_view->GetMultiLineTextExtent(&m_surface, "x");
    EXPECT_EQ(limit.cy, CViewPort::MaxTextLines * one.cy);
    EXPECT_EQ(more.cy, limit.cy);
    EXPECT_EQ(more.cx, 0) << "the wide line lies past the limit";
    const CSize split = m_view->GetMultiLineTextExtent(&m_surface, "xx\rxxxx");
    EXPECT_EQ(split.cx, m_view->GetTextExtent(&m_surface, "xxxx").cx);
    EXPECT_EQ(split.cy, 2 * one.cy);
    m_surface.SelectStockObject(SYSTEM_FONT);
}

TEST_F(ViewPortDrawTest, CentredAndRotatedTexts)
{
    const LOGFONTA logFont = MakeLogFont(14, "Arial");
    const POINT centre = {100, 60};
    m_view->DrawTextHCentered(&m_surface, &logFont, &centre, "Middle", Red, false, true);
    const CRect text = m_surface.BoundsOfOther(Black);
    // Centred across, hanging from the point.
    EXPECT_NEAR(text.CenterPoint().x, 100, 3);
    EXPECT_NEAR(text.top, 60, 4);
    EXPECT_GT(m_surface.Count(Red), 10);

    m_surface.FillSolidRect(0, 0, 200, 120, Black);
    m_view->SetTextBkColor(Green);
    m_view->DrawTextVCentered(&m_surface, &logFont, &centre, "Left", Red, true, false);
    const CRect opaque = m_surface.BoundsOfOther(Black);
    EXPECT_EQ(opaque.left, 100) << "starts at the point";
    EXPECT_NEAR(opaque.CenterPoint().y, 60, 2);

    m_surface.FillSolidRect(0, 0, 200, 120, Black);
    CFont font;
    font.CreateFontIndirect(&logFont);
    m_surface.SelectObject(&font);
    m_view->DrawRotatedText(&m_surface, 100, 110, Green, 90.0, "Upward text");
    const CRect turned = m_surface.BoundsOfOther(Black);
    EXPECT_GT(turned.Height(), 2 * turned.Width()) << "runs up the surface";
    EXPECT_LE(turned.bottom, 111);
    m_surface.SelectStockObject(SYSTEM_FONT);
}
