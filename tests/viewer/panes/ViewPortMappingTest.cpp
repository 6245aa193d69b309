// The mapping between image pixels and window pixels of a view port: the
// point and rectangle forms in both directions over zooms, pans, display
// origins and odd image sizes, with their rounding rules.
#include "PaneTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

struct Geometry
{
    double zoom;
    POINT pan;
    POINT origin;
};

std::unique_ptr<TestViewPort> MakeView(const Geometry& geometry, SIZE image = {100, 80})
{
    auto view = std::make_unique<TestViewPort>();
    view->m_ImageSize = image;
    view->SetGeometry(
        geometry.zoom, geometry.pan,
        {geometry.origin.x, geometry.origin.y, geometry.origin.x + 400, geometry.origin.y + 300});
    return view;
}

struct PointCase
{
    Geometry geometry;
    POINT from;
    POINT expected;
};

} // namespace

TEST(ViewPortMappingTest, ScreenToImageRoundsHalfAwayFromZero)
{
    // Worked by hand from x = round((sx - ox - px) / z).
    const PointCase cases[] = {
        {{2.0, {0, 0}, {0, 0}}, {-1, 0}, {-1, 0}},
        {{2.0, {0, 0}, {0, 0}}, {1, 3}, {1, 2}},
        {{3.0, {-7, 5}, {10, 20}}, {100, 100}, {32, 25}},
        {{1.5, {3, -4}, {0, 0}}, {0, 0}, {-2, 3}},
        {{0.37, {0, 0}, {0, 0}}, {50, 7}, {135, 19}},
        {{0.25, {-100, 40}, {0, 0}}, {-3, 41}, {388, 4}},
    };
    for (const PointCase& c : cases)
    {
        const auto view = MakeView(c.geometry);
        POINT out;
        view->ScreenToImage(&out, &c.from);
        EXPECT_EQ(out.x, c.expected.x) << "zoom " << c.geometry.zoom << " x " << c.from.x;
        EXPECT_EQ(out.y, c.expected.y) << "zoom " << c.geometry.zoom << " y " << c.from.y;
    }
}

TEST(ViewPortMappingTest, ImageToScreenAddsAHalfBeforeTruncating)
{
    // sx = truncate(x z + 0.5) + ox + px: negative coordinates round toward
    // zero.
    const PointCase cases[] = {
        {{0.5, {0, 0}, {0, 0}}, {-1, 0}, {0, 0}},
        {{3.0, {-7, 5}, {10, 20}}, {32, 25}, {99, 100}},
        {{0.37, {0, 0}, {0, 0}}, {135, 19}, {50, 7}},
        {{2.5, {0, 0}, {0, 0}}, {-3, -1}, {-7, -2}},
        {{2.5, {0, 0}, {0, 0}}, {3, 1}, {8, 3}},
        {{1.0, {-13, 250}, {4, 0}}, {17, 0}, {8, 250}},
    };
    for (const PointCase& c : cases)
    {
        const auto view = MakeView(c.geometry);
        POINT out;
        view->ImageToScreen(&out, &c.from);
        EXPECT_EQ(out.x, c.expected.x) << "zoom " << c.geometry.zoom << " x " << c.from.x;
        EXPECT_EQ(out.y, c.expected.y) << "zoom " << c.geometry.zoom << " y " << c.from.y;
    }
}

TEST(ViewPortMappingTest, RectangleFormsRoundTheirOwnWay)
{
    // The rectangle form rounds the whole sum half away from zero, where the
    // point form truncates the scaled coordinate first.
    const auto view = MakeView({2.5, {1, 0}, {0, 0}});
    const RECT image = {-3, -1, 5, 3};
    RECT screen;
    view->ImageToScreenRect(&screen, &image);
    EXPECT_EQ(CRect(screen), CRect(-7, -3, 14, 8));
    EXPECT_EQ(view->ImageToScreen(-3, -1).x, -6);

    // Left and top by the point form, right and bottom by the lengths.
    const auto twice = MakeView({2.0, {0, 0}, {0, 0}});
    RECT back;
    twice->ScreenToImageRect(&back, RECT{-1, 3, 10, 8});
    EXPECT_EQ(CRect(back), CRect(-1, 2, 5, 5));
    RECT same;
    twice->ScreenToImageRectPtr(&same, &screen);
    RECT expected;
    twice->ScreenToImageRect(&expected, screen);
    EXPECT_EQ(CRect(same), CRect(expected));
}

TEST(ViewPortMappingTest, ClampedFormsStayInTheImage)
{
    auto view = MakeView({2.0, {5, 5}, {0, 0}}, {20, 10});
    RECT rect;
    view->ScreenToImageClamped(&rect, RECT{0, 0, 100, 100});
    EXPECT_EQ(CRect(rect), CRect(0, 0, 20, 10));
    const RECT part = {15, 9, 23, 13};
    view->ScreenToImageClampedPtr(&rect, &part);
    // left round(10 / 2) = 5, top round(4 / 2) = 2; widths 4 and 2.
    EXPECT_EQ(CRect(rect), CRect(5, 2, 9, 4));

    const POINT leftOf = {-50, 12};
    const POINT rightOf = {900, 12};
    POINT clamped;
    view->ScreenToImagePoint(&clamped, &leftOf);
    EXPECT_EQ(clamped.x, 0);
    view->ScreenToImagePoint(&clamped, &rightOf);
    EXPECT_EQ(clamped.x, 19);
    EXPECT_EQ(clamped.y, 4);
}

TEST(ViewPortMappingTest, LengthsAndSizesScaleWithoutOriginOrPan)
{
    const auto view = MakeView({2.5, {31, -17}, {3, 4}});
    EXPECT_EQ(view->ImageToScreenLength(3), 8);
    EXPECT_EQ(view->ImageToScreenLength(-3), -8);
    EXPECT_EQ(view->ScreenToImageLength(5), 2);
    EXPECT_EQ(view->ScreenToImageLength(-5), -2);
    EXPECT_DOUBLE_EQ(view->ImageToScreenLengthD(1.5), 3.75);
    EXPECT_DOUBLE_EQ(view->ImageToScreenLengthF(2.0f), 5.0);
    EXPECT_DOUBLE_EQ(view->ScreenToImageLengthD(5.0), 2.0);
    SIZE size;
    view->ImageToScreenSize(&size, SIZE{3, 7});
    EXPECT_EQ(size.cx, 7);
    EXPECT_EQ(size.cy, 17);
    view->ScreenToImageSize(&size, SIZE{7, 17});
    EXPECT_EQ(size.cx, 2);
    EXPECT_EQ(size.cy, 6);
    const FloatPoint image = {1.5f, -2.0f};
    FloatPoint screen;
    view->ImageToScreenF(&screen, &image);
    EXPECT_FLOAT_EQ(screen.x, 1.5f * 2.5f + 3 + 31);
    EXPECT_FLOAT_EQ(screen.y, -5.0f + 4 - 17);
    FloatPoint back;
    view->ScreenToImageF(&back, &screen);
    EXPECT_FLOAT_EQ(back.x, image.x);
    EXPECT_FLOAT_EQ(back.y, image.y);
}

// Across zooms, pans and odd sizes: every image pixel maps to a window
// pixel that maps back to it (from a zoom of 1 up), the pixels of a row
// stand in order one zoom apart, and the rectangle of the whole image
// differs from the point form by at most one pixel.
TEST(ViewPortMappingTest, MappingIsConsistentAcrossZoomsPansAndOddSizes)
{
    const double zooms[] = {1.0, 1.5, 2.0, 3.0, 7.25, 0.37, 0.83};
    const POINT pans[] = {{0, 0}, {-13, 7}, {250, -3}, {-1001, 999}};
    const SIZE sizes[] = {{127, 63}, {1, 1}, {513, 301}};
    for (double zoom : zooms)
    {
        for (const POINT& pan : pans)
        {
            for (const SIZE& size : sizes)
            {
                const auto view = MakeView({zoom, pan, {5, 9}}, size);
                SCOPED_TRACE(::testing::Message() << "zoom " << zoom << " pan " << pan.x << ","
                                                  << pan.y << " size " << size.cx);
                for (int x = 0; x <= size.cx; ++x)
                {
                    const POINT screen = view->ImageToScreen(x, x % (size.cy + 1));
                    const POINT next = view->ImageToScreen(x + 1, x % (size.cy + 1));
                    EXPECT_NEAR(next.x - screen.x, zoom, 1.0);
                    if (zoom >= 1.0)
                    {
                        POINT back;
                        view->ScreenToImage(&back, &screen);
                        ASSERT_EQ(back.x, x);
                        ASSERT_EQ(back.y, x % (size.cy + 1));
                    }
                }
                const RECT whole = {0, 0, size.cx, size.cy};
                RECT byRect;
                view->ImageToScreenRect(&byRect, &whole);
                RECT byPoints;
                view->GetImageScreenRect(&byPoints);
                EXPECT_LE(std::abs(byRect.left - byPoints.left), 1);
                EXPECT_LE(std::abs(byRect.right - byPoints.right), 1);
                EXPECT_LE(std::abs(byRect.bottom - byPoints.bottom), 1);
            }
        }
    }
}

TEST(ViewPortMappingTest, FitFactorAndCentringOfOddSizes)
{
    struct Case
    {
        SIZE image;
        RECT display;
        double fit;
    };
    const Case cases[] = {
        {{127, 63}, {0, 0, 301, 199}, 301.0 / 127},
        {{63, 127}, {0, 0, 301, 199}, double(199.0f / 127.0f)},
        {{512, 512}, {0, 0, 400, 300}, double(300.0f / 512.0f)},
        {{3, 1}, {0, 0, 10, 10}, 10.0 / 3},
    };
    for (const Case& c : cases)
    {
        auto view = std::make_unique<TestViewPort>();
        view->m_ImageSize = c.image;
        view->SetGeometry(-1.0, {0, 0}, c.display);
        EXPECT_DOUBLE_EQ(view->UpdateFitFactor(), c.fit);
        view->SetGeometry(c.fit, {0, 0}, c.display);
        EXPECT_EQ(view->CenterImage(), -1);
        CRect image;
        view->GetImageScreenRect(&image);
        // Centred to a pixel; the image fills the display along one side.
        EXPECT_LE(std::abs(image.CenterPoint().x - CRect(c.display).CenterPoint().x), 1);
        EXPECT_LE(std::abs(image.CenterPoint().y - CRect(c.display).CenterPoint().y), 1);
        EXPECT_TRUE(std::abs(image.Width() - CRect(c.display).Width()) <= 1 ||
                    std::abs(image.Height() - CRect(c.display).Height()) <= 1);
    }
    auto empty = std::make_unique<TestViewPort>();
    empty->SetGeometry(-1.0, {0, 0}, {0, 0, 10, 10});
    EXPECT_EQ(empty->ComputeFitFactor(0, 0), -1.0);
}

TEST(ViewPortMappingTest, CentringDropsAPanOfOnePixel)
{
    auto view = std::make_unique<TestViewPort>();
    view->m_ImageSize = {99, 99};
    // The image centre lands one pixel off the display centre.
    view->SetGeometry(1.0, {0, 0}, {0, 0, 100, 100});
    view->CenterImage();
    EXPECT_EQ(view->GetPan(), CPoint(0, 0));
    view->SetGeometry(1.0, {0, 0}, {0, 0, 102, 100});
    view->CenterImage();
    EXPECT_EQ(view->GetPan(), CPoint(2, 0));
}
