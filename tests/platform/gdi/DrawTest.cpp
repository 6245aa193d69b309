#include "GdiTestSelected.h"
#include "GdiTestSurface.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
} // namespace

TEST(Draw, LineToExcludesItsEndPointAndMovesThere)
{
    GdiTestSurface s(10, 10);
    MoveToEx(s.Dc(), 1, 1, nullptr);
    LineTo(s.Dc(), 6, 1);
    EXPECT_EQ(s.Count(kBlack), 5);
    EXPECT_EQ(s.At(5, 1), kBlack);
    EXPECT_EQ(s.At(6, 1), kWhite);
    POINT pt;
    GetCurrentPositionEx(s.Dc(), &pt);
    EXPECT_EQ(pt.x, 6);
    // A diagonal line has one pixel per step, also without its end.
    s.Fill(kWhite);
    MoveToEx(s.Dc(), 0, 0, nullptr);
    LineTo(s.Dc(), 4, 4);
    EXPECT_EQ(s.Count(kBlack), 4);
    EXPECT_EQ(s.At(3, 3), kBlack);
    EXPECT_EQ(s.At(4, 4), kWhite);
}

TEST(Draw, ShapesExcludeTheirRightAndBottomEdges)
{
    using Shape = std::function<void(HDC)>;
    const Shape shapes[] = {
        [](HDC dc) { Rectangle(dc, 2, 2, 8, 7); },
        [](HDC dc) { Ellipse(dc, 2, 2, 8, 7); },
        [](HDC dc) { RoundRect(dc, 2, 2, 8, 7, 4, 4); },
        [](HDC dc)
        {
            RECT r{2, 2, 8, 7};
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        },
    };
    for (const Shape& draw : shapes)
    {
        GdiTestSurface s(10, 10);
        Selected brush(s.Dc(), CreateSolidBrush(kBlack));
        draw(s.Dc());
        RECT box{10, 10, 0, 0};
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                if (s.At(x, y) != kWhite)
                {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        EXPECT_EQ(box.left, 2);
        EXPECT_EQ(box.top, 2);
        EXPECT_EQ(box.right, 8);
        EXPECT_EQ(box.bottom, 7);
    }
}

TEST(Draw, RectangleOutlineUsesThePenAndInsideTheBrush)
{
    GdiTestSurface s(10, 10);
    Selected pen(s.Dc(), CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    Selected brush(s.Dc(), CreateSolidBrush(RGB(0, 0, 255)));
    Rectangle(s.Dc(), 1, 1, 6, 6);
    EXPECT_EQ(s.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(s.At(5, 3), RGB(255, 0, 0));
    EXPECT_EQ(s.At(3, 3), RGB(0, 0, 255));
    EXPECT_EQ(s.Count(RGB(255, 0, 0)), 16);
    EXPECT_EQ(s.Count(RGB(0, 0, 255)), 9);
    // A null brush leaves the inside alone.
    s.Fill(kWhite);
    SelectObject(s.Dc(), GetStockObject(NULL_BRUSH));
    Rectangle(s.Dc(), 1, 1, 6, 6);
    EXPECT_EQ(s.At(3, 3), kWhite);
}

class Involution : public ::testing::TestWithParam<int>
{
};

// Every shape drawn twice in R2_NOT or R2_NOTXORPEN leaves the pixels as
// they were, with thin, wide and styled pens.
TEST_P(Involution, DrawingTwiceRestoresThePixels)
{
    using Draw = std::function<void(HDC)>;
    const Draw draws[] = {
        [](HDC dc)
        {
            MoveToEx(dc, 3, 4, nullptr);
            LineTo(dc, 37, 29);
        },
        [](HDC dc) { Rectangle(dc, 5, 5, 30, 20); },
        [](HDC dc) { Ellipse(dc, 4, 3, 33, 27); },
        [](HDC dc)
        {
            const POINT pts[] = {{2, 2}, {35, 8}, {10, 28}, {30, 30}};
            Polygon(dc, pts, 4);
        },
        [](HDC dc) { Arc(dc, 2, 2, 30, 30, 30, 16, 16, 2); },
        [](HDC dc)
        {
            MoveToEx(dc, 20, 20, nullptr);
            AngleArc(dc, 20, 20, 10, 30.0f, 200.0f);
        },
        [](HDC dc) { RoundRect(dc, 3, 3, 35, 25, 10, 10); },
        [](HDC dc)
        {
            const POINT pts[] = {{1, 1}, {30, 1}, {1, 30}, {30, 30}};
            Polyline(dc, pts, 4);
        },
    };
    const LOGBRUSH solid{BS_SOLID, RGB(20, 200, 60), 0};
    const HPEN pens[] = {
        CreatePen(PS_SOLID, 1, RGB(20, 200, 60)),
        CreatePen(PS_DOT, 1, RGB(20, 200, 60)),
        CreatePen(PS_SOLID, 5, RGB(20, 200, 60)),
        ExtCreatePen(PS_GEOMETRIC | PS_DASH, 3, &solid, 0, nullptr),
    };
    for (HPEN pen : pens)
    {
        for (const Draw& draw : draws)
        {
            GdiTestSurface s(40, 32);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 40; ++x)
                    s.Set(x, y, RGB(x * 6, y * 7, (x * y) & 0xFF));
            const auto before = s.Snapshot();
            SetROP2(s.Dc(), GetParam());
            HGDIOBJ oldPen = SelectObject(s.Dc(), pen);
            HGDIOBJ oldBrush = SelectObject(s.Dc(), GetStockObject(LTGRAY_BRUSH));
            draw(s.Dc());
            EXPECT_NE(s.Snapshot(), before);
            draw(s.Dc());
            EXPECT_EQ(s.Snapshot(), before);
            SelectObject(s.Dc(), oldPen);
            SelectObject(s.Dc(), oldBrush);
        }
    }
    for (HPEN pen : pens)
        DeleteObject(pen);
}

INSTANTIATE_TEST_SUITE_P(Draw, Involution, ::testing::Values(R2_NOT, R2_NOTXORPEN),
                         [](const auto& info)
                         { return std::string(info.param == R2_NOT ? "Not" : "NotXorPen"); });

// A thin path copied onto the surface, solid or dotted with transparent
// gaps, covers the same pixels as the path painted once each in R2_NOT,
// where crossings must not count twice.
TEST(Draw, CopiedThinPathsCoverWhatInvertedOnesDo)
{
    const std::vector<std::vector<POINT>> paths = {
        {{1, 1}, {30, 1}, {1, 30}, {30, 30}},
        {{2, 2}, {28, 2}, {28, 20}, {2, 20}, {2, 2}},
        {{5, 25}, {35, 3}, {35, 28}, {3, 10}, {20, 30}},
    };
    for (const int style : {PS_SOLID, PS_DOT})
    {
        for (const auto& path : paths)
        {
            GdiTestSurface copied(40, 32);
            GdiTestSurface inverted(40, 32);
            Selected copiedPen(copied.Dc(), CreatePen(style, 1, kBlack));
            Selected invertedPen(inverted.Dc(), CreatePen(style, 1, kBlack));
            SetBkMode(copied.Dc(), TRANSPARENT);
            SetBkMode(inverted.Dc(), TRANSPARENT);
            Polyline(copied.Dc(), path.data(), int(path.size()));
            SetROP2(inverted.Dc(), R2_NOT);
            Polyline(inverted.Dc(), path.data(), int(path.size()));
            EXPECT_GT(copied.Count(kBlack), 0);
            EXPECT_EQ(copied.Snapshot(), inverted.Snapshot())
                << "style " << style << ", " << path.size() << " points";
        }
    }
}

TEST(Draw, MixModesCombineThePenWithTheDestination)
{
    struct Case
    {
        int rop2;
        COLORREF expected;
    };
    const COLORREF pen = RGB(0x0F, 0xF0, 0x33);
    const COLORREF dst = RGB(0x55, 0x55, 0x0F);
    const Case cases[] = {
        {R2_COPYPEN, pen},
        {R2_NOTCOPYPEN, RGB(0xF0, 0x0F, 0xCC)},
        {R2_NOT, RGB(0xAA, 0xAA, 0xF0)},
        {R2_MERGEPEN, RGB(0x5F, 0xF5, 0x3F)},
        {R2_MERGENOTPEN, RGB(0xF5, 0x5F, 0xCF)},
        {R2_MERGEPENNOT, RGB(0xAF, 0xFA, 0xF3)},
        {R2_NOTXORPEN, RGB(0xA5, 0x5A, 0xC3)},
    };
    for (const Case& c : cases)
    {
        GdiTestSurface s(4, 1, dst);
        Selected p(s.Dc(), CreatePen(PS_SOLID, 1, pen));
        SetROP2(s.Dc(), c.rop2);
        MoveToEx(s.Dc(), 0, 0, nullptr);
        LineTo(s.Dc(), 4, 0);
        EXPECT_EQ(s.At(1, 0), c.expected) << c.rop2;
    }
}

TEST(Draw, CosmeticStyledPensFillGapsOnlyWhenOpaque)
{
    for (int mode : {OPAQUE, TRANSPARENT})
    {
        GdiTestSurface s(60, 1, RGB(9, 9, 9));
        Selected pen(s.Dc(), CreatePen(PS_DASH, 1, RGB(255, 0, 0)));
        SetBkColor(s.Dc(), RGB(0, 0, 255));
        SetBkMode(s.Dc(), mode);
        MoveToEx(s.Dc(), 0, 0, nullptr);
        LineTo(s.Dc(), 60, 0);
        const int on = s.Count(RGB(255, 0, 0));
        EXPECT_GT(on, 0);
        EXPECT_LT(on, 60);
        if (mode == OPAQUE)
            EXPECT_EQ(s.Count(RGB(0, 0, 255)), 60 - on);
        else
            EXPECT_EQ(s.Count(RGB(9, 9, 9)), 60 - on);
    }
}

TEST(Draw, WideCosmeticPensAreSolidAndGeometricPensKeepTheirStyle)
{
    GdiTestSurface s(80, 9);
    {
        Selected pen(s.Dc(), CreatePen(PS_DASH, 3, kBlack));
        MoveToEx(s.Dc(), 2, 4, nullptr);
        LineTo(s.Dc(), 78, 4);
    }
    for (int x = 2; x < 78; ++x)
        EXPECT_EQ(s.At(x, 4), kBlack) << x;
    s.Fill(kWhite);
    const LOGBRUSH brush{BS_SOLID, kBlack, 0};
    {
        Selected pen(s.Dc(), ExtCreatePen(PS_GEOMETRIC | PS_DASH, 3, &brush, 0, nullptr));
        MoveToEx(s.Dc(), 2, 4, nullptr);
        LineTo(s.Dc(), 78, 4);
    }
    int runs = 0;
    for (int x = 1; x < 80; ++x)
        runs += s.At(x, 4) == kBlack && s.At(x - 1, 4) != kBlack;
    EXPECT_GT(runs, 3);
    // The line is three pixels wide.
    EXPECT_EQ(s.At(4, 3), kBlack);
    EXPECT_EQ(s.At(4, 5), kBlack);
    EXPECT_EQ(s.At(4, 7), kWhite);
}

// Dots of a geometric pen are round caps of no length, one each period
// (twice the width) along the line, and the dash-dot style has them too.
TEST(Draw, GeometricDotsAreRoundCapsAlongTheLine)
{
    const LOGBRUSH brush{BS_SOLID, kBlack, 0};
    for (DWORD style : {DWORD(PS_DOT), DWORD(PS_DASHDOT)})
    {
        GdiTestSurface s(80, 9);
        {
            Selected pen(s.Dc(), ExtCreatePen(PS_GEOMETRIC | style, 3, &brush, 0, nullptr));
            MoveToEx(s.Dc(), 2, 4, nullptr);
            LineTo(s.Dc(), 78, 4);
        }
        int runs = 0;
        for (int x = 1; x < 80; ++x)
            runs += s.At(x, 4) == kBlack && s.At(x - 1, 4) != kBlack;
        EXPECT_GE(runs, style == PS_DOT ? 12 : 6) << style;
        EXPECT_EQ(s.At(2, 4), kBlack) << "a dot where the line starts";
        EXPECT_EQ(s.At(2, 8), kWhite);
    }
}

TEST(Draw, WidePensFrameRoundedRectanglesInside)
{
    GdiTestSurface s(30, 30);
    Selected pen(s.Dc(), CreatePen(PS_SOLID, 3, RGB(255, 0, 0)));
    Selected brush(s.Dc(), CreateSolidBrush(RGB(0, 0, 255)));
    RoundRect(s.Dc(), 2, 2, 28, 28, 8, 8);
    EXPECT_EQ(s.At(15, 2), RGB(255, 0, 0));
    EXPECT_EQ(s.At(15, 4), RGB(255, 0, 0));
    EXPECT_EQ(s.At(15, 5), RGB(0, 0, 255));
    EXPECT_EQ(s.At(15, 1), RGB(255, 255, 255));
    EXPECT_EQ(s.At(15, 27), RGB(255, 0, 0));
}

TEST(Draw, AngleArcRunsCounterClockwiseAndEndsAtTheArcEnd)
{
    GdiTestSurface s(41, 41);
    MoveToEx(s.Dc(), 20, 20, nullptr);
    // From 0 degrees (right) sweeping +90: the upper-right quarter.
    AngleArc(s.Dc(), 20, 20, 15, 0.0f, 90.0f);
    POINT pt;
    GetCurrentPositionEx(s.Dc(), &pt);
    EXPECT_EQ(pt.x, 20);
    EXPECT_EQ(pt.y, 5);
    EXPECT_EQ(s.At(30, 9), kBlack);  // on the arc at about 45 degrees, upper right
    EXPECT_EQ(s.At(9, 30), kWhite);  // lower left quarter untouched
    EXPECT_EQ(s.At(30, 31), kWhite); // lower right untouched
    EXPECT_EQ(s.At(25, 20), kBlack); // the line from the centre to the start
}

TEST(Draw, LongLinesAreClippedBeforeStepping)
{
    GdiTestSurface s(20, 20);
    MoveToEx(s.Dc(), -9000, 10, nullptr);
    LineTo(s.Dc(), 9000, 10);
    MoveToEx(s.Dc(), 10, -90000000, nullptr);
    LineTo(s.Dc(), 10, 90000000);
    EXPECT_EQ(s.Count(kBlack), 39);
}

TEST(Draw, HatchedBrushesLeaveGapsWhenTransparent)
{
    GdiTestSurface s(16, 16, RGB(1, 2, 3));
    Selected brush(s.Dc(), CreateHatchBrush(HS_CROSS, RGB(255, 0, 0)));
    SetBkMode(s.Dc(), TRANSPARENT);
    PatBlt(s.Dc(), 0, 0, 16, 16, PATCOPY);
    const int lines = s.Count(RGB(255, 0, 0));
    EXPECT_GT(lines, 0);
    EXPECT_EQ(s.Count(RGB(1, 2, 3)), 256 - lines);
}

TEST(Draw, RegionsCombineAndClip)
{
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(r, a, b, RGN_AND), SIMPLEREGION);
    RECT box;
    GetRgnBox(r, &box);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(CombineRgn(r, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(r, 14, 14));
    EXPECT_FALSE(PtInRegion(r, 14, 1));
    EXPECT_EQ(CombineRgn(r, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(r, 7, 7));
    EXPECT_EQ(CombineRgn(r, a, b, RGN_XOR), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(r, 7, 7));
    EXPECT_TRUE(PtInRegion(r, 12, 12));
    const RECT probe{9, 9, 11, 11};
    EXPECT_TRUE(RectInRegion(a, &probe));
    OffsetRgn(a, 20, 0);
    EXPECT_TRUE(PtInRegion(a, 20, 0));

    // The clip is a copy of the selected region.
    GdiTestSurface s(20, 20);
    SelectClipRgn(s.Dc(), b);
    SetRectRgn(b, 0, 0, 20, 20);
    EXPECT_EQ(GetClipBox(s.Dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 15);
    ExcludeClipRect(s.Dc(), 8, 8, 10, 10);
    EXPECT_EQ(GetClipBox(s.Dc(), &box), COMPLEXREGION);
    RECT all{0, 0, 20, 20};
    FillRect(s.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(s.Count(kBlack), 100 - 4);
    SelectClipRgn(s.Dc(), nullptr);
    EXPECT_EQ(GetClipBox(s.Dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 20);

    HRGN ellipse = CreateEllipticRgn(0, 0, 10, 10);
    EXPECT_TRUE(PtInRegion(ellipse, 5, 5));
    EXPECT_FALSE(PtInRegion(ellipse, 0, 0));
    const POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
    HRGN polygon = CreatePolygonRgn(tri, 3, ALTERNATE);
    EXPECT_TRUE(PtInRegion(polygon, 1, 1));
    EXPECT_FALSE(PtInRegion(polygon, 8, 8));
    for (HRGN h : {a, b, r, ellipse, polygon})
        DeleteObject(h);
}

TEST(Draw, AnisotropicMappingScalesCoordinates)
{
    GdiTestSurface s(20, 20);
    SetMapMode(s.Dc(), MM_ANISOTROPIC);
    SetWindowExtEx(s.Dc(), 10, 10, nullptr);
    SetViewportExtEx(s.Dc(), 20, 20, nullptr);
    POINT p{3, 4};
    LPtoDP(s.Dc(), &p, 1);
    EXPECT_EQ(p.x, 6);
    EXPECT_EQ(p.y, 8);
    RECT r{1, 1, 3, 2};
    FillRect(s.Dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(s.Count(kBlack), 8);
    EXPECT_EQ(s.At(2, 2), kBlack);
    DPtoLP(s.Dc(), &p, 1);
    EXPECT_EQ(p.x, 3);
}

TEST(Draw, PalettesAreKeptButRealisingDoesNothing)
{
    LOGPALETTE pal{0x300, 1, {{10, 20, 30, 0}}};
    HPALETTE palette = CreatePalette(&pal);
    GdiTestSurface s(2, 2);
    HPALETTE old = SelectPalette(s.Dc(), palette, FALSE);
    EXPECT_EQ(old, GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(s.Dc()), 0u);
    EXPECT_EQ(GetCurrentObject(s.Dc(), OBJ_PAL), palette);
    PALETTEENTRY e{};
    EXPECT_EQ(GetPaletteEntries(palette, 0, 1, &e), 1u);
    EXPECT_EQ(e.peGreen, 20);
    SelectPalette(s.Dc(), old, FALSE);
    EXPECT_TRUE(DeleteObject(palette));
}
