// ScrollWindow and ScrollWindowEx: moved pixels keep their values, the
// uncovered strips are invalidated (or only reported), a pending update
// moves with its pixels, and children move when asked.
#include "UserTestSupport.h"

#include "Region.h"
#include "WinPaint.h"

namespace
{
const RECT kTopRect{0, 0, 64, 48};

using ScrollWindowTest = UserTest;

// A colour of its own for every pixel, so that a moved pixel tells where it
// came from.
COLORREF PatternAt(int x, int y)
{
    return RGB(x * 3, y * 5, (x + y) & 0xFF);
}

void DrawPattern(HWND hWnd)
{
    HDC hdc = GetDC(hWnd);
    for (int y = 0; y < kTopRect.bottom; ++y)
        for (int x = 0; x < kTopRect.right; ++x)
            SetPixel(hdc, x, y, PatternAt(x, y));
    ReleaseDC(hWnd, hdc);
}

Region UpdateRegionOf(HWND hWnd)
{
    HRGN hRgn = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(hWnd, hRgn, FALSE);
    Region region = GdiGetRegion(hRgn);
    DeleteObject(hRgn);
    return region;
}

struct ScrollCase
{
    const char* name;
    int dx;
    int dy;
    bool bScrollRect;
    RECT scroll;
    bool bClipRect;
    RECT clip;
};

class ScrollWindowCases : public UserTest, public ::testing::WithParamInterface<ScrollCase>
{
};

TEST_P(ScrollWindowCases, PixelsMoveAndTheUncoveredStripIsInvalidated)
{
    const ScrollCase& c = GetParam();
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    DrawPattern(hTop);
    ValidateRect(hTop, nullptr);
    ASSERT_TRUE(ScrollWindow(hTop, c.dx, c.dy, c.bScrollRect ? &c.scroll : nullptr,
                             c.bClipRect ? &c.clip : nullptr));

    // The reference: inside the clip (the client area when none is given), a
    // pixel comes from (x - dx, y - dy) when that lies in the scroll
    // rectangle; the other pixels of the scroll rectangle inside the clip are
    // uncovered, and the rest do not change.
    const RECT scroll = c.bScrollRect ? c.scroll : kTopRect;
    const RECT limit = c.bClipRect ? c.clip : kTopRect;
    RECT area{};
    IntersectRect(&area, &scroll, &limit);
    Region expectedUpdate;
    const WindowPicture picture = ClientPicture(hTop);
    for (int y = 0; y < kTopRect.bottom; ++y)
    {
        for (int x = 0; x < kTopRect.right; ++x)
        {
            const POINT pt{x, y};
            const POINT from{x - c.dx, y - c.dy};
            if (PtInRect(&limit, pt) && PtInRect(&scroll, from))
                ASSERT_EQ(picture.GetPixel(x, y), SurfacePixel(PatternAt(from.x, from.y)))
                    << x << "," << y;
            else if (PtInRect(&area, pt))
                expectedUpdate.Add(RECT{x, y, x + 1, y + 1});
            else
                ASSERT_EQ(picture.GetPixel(x, y), SurfacePixel(PatternAt(x, y))) << x << "," << y;
        }
    }
    EXPECT_TRUE(UpdateRegionOf(hTop) == expectedUpdate);
    RECT update{};
    EXPECT_EQ(GetUpdateRect(hTop, &update, FALSE), !expectedUpdate.IsEmpty());
    const RECT bounds = expectedUpdate.GetBounds();
    EXPECT_TRUE(EqualRect(&update, &bounds));
    DestroyWindow(hTop);
}

INSTANTIATE_TEST_SUITE_P(
    ScrollWindow, ScrollWindowCases,
    ::testing::Values(
        ScrollCase{"Up", 0, -10, false, {}, false, {}},
        ScrollCase{"Down", 0, 7, false, {}, false, {}},
        ScrollCase{"Left", -9, 0, false, {}, false, {}},
        ScrollCase{"RightAndDown", 5, 3, false, {}, false, {}},
        ScrollCase{"SubRectangleUp", 0, -4, true, {10, 12, 50, 40}, false, {}},
        ScrollCase{"SubRectangleLeftClipped", -6, 0, true, {0, 10, 64, 30}, true, {20, 0, 60, 48}},
        ScrollCase{"BelowAFixedRowIntoIt", 0, -5, true, {0, 13, 64, 48}, false, {}},
        ScrollCase{"FartherThanTheArea", 0, 60, false, {}, false, {}},
        ScrollCase{"NotAtAll", 0, 0, false, {}, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScrollWindowTest, ThePendingUpdateMovesWithItsPixels)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    ValidateRect(hTop, nullptr);
    const RECT pending{10, 20, 20, 30};
    InvalidateRect(hTop, &pending, FALSE);
    ScrollWindow(hTop, 0, -8, nullptr, nullptr);
    Region expected(RECT{10, 12, 20, 22});
    expected.Add(RECT{0, 40, 64, 48});
    EXPECT_TRUE(UpdateRegionOf(hTop) == expected);

    // A pending part outside the scroll rectangle stays, unless pixels land
    // on it.
    ValidateRect(hTop, nullptr);
    const RECT fixedRow{0, 0, 64, 10};
    InvalidateRect(hTop, &fixedRow, FALSE);
    const RECT below{0, 20, 64, 48};
    ScrollWindow(hTop, 0, -4, &below, nullptr);
    Region landedOn(RECT{0, 0, 64, 10});
    landedOn.Add(RECT{0, 44, 64, 48});
    EXPECT_TRUE(UpdateRegionOf(hTop) == landedOn);
    DestroyWindow(hTop);
}

TEST_F(ScrollWindowTest, ExReportsTheStripWithoutInvalidatingUnlessAsked)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    ValidateRect(hTop, nullptr);
    HRGN hUpdate = CreateRectRgn(0, 0, 0, 0);
    RECT update{};
    EXPECT_EQ(ScrollWindowEx(hTop, 0, 6, nullptr, nullptr, hUpdate, &update, 0), SIMPLEREGION);
    const RECT strip{0, 0, 64, 6};
    EXPECT_TRUE(EqualRect(&update, &strip));
    EXPECT_TRUE(GdiGetRegion(hUpdate) == Region(strip));
    RECT pending{};
    EXPECT_FALSE(GetUpdateRect(hTop, &pending, FALSE));

    ClearMessages();
    EXPECT_EQ(
        ScrollWindowEx(hTop, 0, 6, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE),
        SIMPLEREGION);
    EXPECT_TRUE(GetUpdateRect(hTop, &pending, FALSE));
    EXPECT_TRUE(EqualRect(&pending, &strip));
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hTop, WM_ERASEBKGND), 1);
    EXPECT_EQ(CountMessages(hTop, WM_PAINT), 1);
    EXPECT_EQ(ScrollWindowEx(nullptr, 0, 6, nullptr, nullptr, nullptr, nullptr, 0), ERROR);
    DeleteObject(hUpdate);
    DestroyWindow(hTop);
}

TEST_F(ScrollWindowTest, ChildrenMoveWithTheWholeAreaButNotWithASubRectangle)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{10, 10, 20, 20});
    m_harness.PumpPending();
    const auto childLeftTop = [&]
    {
        RECT rc{};
        GetWindowRect(hChild, &rc);
        return POINT{rc.left, rc.top};
    };
    const RECT sub{0, 0, 64, 48};
    ScrollWindow(hTop, 4, -3, &sub, nullptr);
    EXPECT_EQ(childLeftTop().x, 10);
    ScrollWindow(hTop, 4, -3, nullptr, nullptr);
    EXPECT_EQ(childLeftTop().x, 14);
    EXPECT_EQ(childLeftTop().y, 7);
    DestroyWindow(hTop);
}
} // namespace

namespace
{
TEST_F(ScrollWindowTest, TheCaretMovesWithThePixelsAndLeavesNoTrace)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    DrawPattern(hTop);
    ValidateRect(hTop, nullptr);
    ASSERT_TRUE(CreateCaret(hTop, nullptr, 2, 10));
    SetCaretPos(20, 20);
    ShowCaret(hTop);
    ScrollWindow(hTop, 0, -5, nullptr, nullptr);
    POINT pos{};
    GetCaretPos(&pos);
    EXPECT_EQ(pos.x, 20);
    EXPECT_EQ(pos.y, 15);
    // Without the caret the picture is the moved pattern: no inverted
    // pixels left behind where the caret was before.
    HideCaret(hTop);
    const WindowPicture picture = ClientPicture(hTop);
    for (int y = 10; y < 35; ++y)
        for (int x = 18; x < 24; ++x)
            ASSERT_EQ(picture.GetPixel(x, y), SurfacePixel(PatternAt(x, y + 5))) << x << "," << y;
    DestroyCaret();
    DestroyWindow(hTop);
}
} // namespace
