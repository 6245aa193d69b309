// Window scroll bars: ranges, pages and positions, showing and hiding, and
// the mouse tracking that sends WM_VSCROLL.
#include "UserTestSupport.h"

namespace
{
const RECT kTopRect{0, 0, 400, 300};

using ScrollBarTest = UserTest;

struct ClampCase
{
    int nMin;
    int nMax;
    UINT nPage;
    int nAskedPos;
    int nExpectedPos;
};

class ScrollClampTest : public UserTest, public ::testing::WithParamInterface<ClampCase>
{
};

TEST_P(ScrollClampTest, PositionStaysInsideTheRangeLessThePage)
{
    const ClampCase& c = GetParam();
    const HWND hTop = CreateTopLevel(kTopRect);
    SCROLLINFO info{sizeof(SCROLLINFO),
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    c.nMin,
                    c.nMax,
                    c.nPage,
                    c.nAskedPos,
                    0};
    EXPECT_EQ(SetScrollInfo(hTop, SB_VERT, &info, TRUE), c.nExpectedPos);
    EXPECT_EQ(GetScrollPos(hTop, SB_VERT), c.nExpectedPos);
}

INSTANTIATE_TEST_SUITE_P(Ranges, ScrollClampTest,
                         ::testing::Values(ClampCase{0, 10000, 9999, 5000, 2},
                                           ClampCase{0, 100, 10, 95, 91},
                                           ClampCase{0, 100, 0, 150, 100},
                                           ClampCase{0, 100, 10, -5, 0},
                                           ClampCase{-50, 50, 1, 60, 50}));

TEST_F(ScrollBarTest, RangeAndPageWithoutPositionKeepTheClampedPosition)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 80, 0};
    SetScrollInfo(hTop, SB_HORZ, &info, FALSE);
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = 50;
    EXPECT_EQ(SetScrollInfo(hTop, SB_HORZ, &info, FALSE), 41);
    SCROLLINFO read{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(hTop, SB_HORZ, &read));
    EXPECT_EQ(read.nMax, 50);
    EXPECT_EQ(read.nPage, 10u);
    EXPECT_EQ(read.nPos, 41);
}

TEST_F(ScrollBarTest, BarShowsWhenItCanScrollAndHidesWhenThePageCoversTheRange)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hView = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 200, 100});
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 10000, 9999, 0, 0};
    ClearMessages();
    SetScrollInfo(hView, SB_VERT, &info, TRUE);
    EXPECT_NE(GetWindowLongPtrA(hView, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(CountMessages(hView, WM_SIZE), 1);
    info.nPage = 10001;
    SetScrollInfo(hView, SB_VERT, &info, TRUE);
    EXPECT_EQ(GetWindowLongPtrA(hView, GWL_STYLE) & WS_VSCROLL, 0);
    info.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(hView, SB_VERT, &info, TRUE);
    EXPECT_NE(GetWindowLongPtrA(hView, GWL_STYLE) & WS_VSCROLL, 0);
}

class ScrollTrackingTest : public UserTest
{
protected:
    void SetUp() override
    {
        m_hTop = CreateTopLevel(kTopRect);
        m_hView =
            CreateTestWindow(WS_CHILD | WS_VISIBLE | WS_VSCROLL, m_hTop, RECT{0, 0, 200, 216});
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
        SetScrollInfo(m_hView, SB_VERT, &info, TRUE);
        SetHandler(m_hView,
                   [](HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM) -> std::optional<LRESULT>
                   {
                       if (nMsg != WM_VSCROLL)
                           return std::nullopt;
                       if (LOWORD(wParam) == SB_THUMBTRACK)
                           SetScrollPos(hWnd, SB_VERT, static_cast<SHORT>(HIWORD(wParam)), TRUE);
                       return 0;
                   });
        m_harness.PumpPending();
        ClearMessages();
    }

    // A point on the bar, along it from its top.
    POINT BarPoint(int nAlong) const
    {
        RECT rect;
        GetWindowRect(m_hView, &rect);
        return POINT{rect.right - 8, rect.top + nAlong};
    }

    std::vector<WORD> ScrollCodes() const
    {
        std::vector<WORD> codes;
        for (const RecordedMessage& m : Messages({WM_VSCROLL}))
            codes.push_back(LOWORD(m.wParam));
        return codes;
    }

    HWND m_hTop = nullptr;
    HWND m_hView = nullptr;
};

TEST_F(ScrollTrackingTest, HeldArrowRepeatsUntilReleased)
{
    const POINT arrow = BarPoint(208);
    EXPECT_EQ(SendMessageA(m_hView, WM_NCHITTEST, 0, MAKELPARAM(arrow.x, arrow.y)), HTVSCROLL);
    m_harness.Script().Wait(400).Wait(50).MouseUp(enMouseButton::Left, arrow);
    m_harness.MouseDown(enMouseButton::Left, arrow);
    m_harness.PumpPending();
    EXPECT_EQ(ScrollCodes(),
              (std::vector<WORD>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollTrackingTest, ThumbDragTracksThenSetsThePositionThenEnds)
{
    // Track from 16 to 200 (184 pixels), thumb 18 pixels for a page of 10 in 100.
    const POINT thumb = BarPoint(20);
    m_harness.Script()
        .MouseMove(BarPoint(60))
        .MouseMove(BarPoint(400))
        .MouseUp(enMouseButton::Left, BarPoint(400));
    m_harness.MouseDown(enMouseButton::Left, thumb);
    m_harness.PumpPending();
    const auto scrolls = Messages({WM_VSCROLL});
    ASSERT_EQ(scrolls.size(), 4u);
    EXPECT_EQ(LOWORD(scrolls[0].wParam), SB_THUMBTRACK);
    EXPECT_GT(HIWORD(scrolls[0].wParam), 0);
    EXPECT_EQ(HIWORD(scrolls[1].wParam), 90);
    EXPECT_EQ(LOWORD(scrolls[2].wParam), SB_THUMBPOSITION);
    EXPECT_EQ(HIWORD(scrolls[2].wParam), 90);
    EXPECT_EQ(LOWORD(scrolls[3].wParam), SB_ENDSCROLL);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(m_hView, SB_VERT, &info);
    EXPECT_EQ(info.nTrackPos, 90);
    EXPECT_EQ(info.nPos, 90);
}

TEST_F(ScrollTrackingTest, PressOnThePageAreaPagesTowardsThePointer)
{
    m_harness.Script().MouseUp(enMouseButton::Left, BarPoint(150));
    m_harness.MouseDown(enMouseButton::Left, BarPoint(150));
    m_harness.PumpPending();
    EXPECT_EQ(ScrollCodes(), (std::vector<WORD>{SB_PAGEDOWN, SB_ENDSCROLL}));
}
} // namespace
