// A child window with non-client handling of its own: its WM_NCCALCSIZE
// places the client area, its WM_NCPAINT draws the frame through
// GetWindowDC (whose origin is the window's corner and which reaches the
// whole window, frame included, but nothing outside it), its WM_NCHITTEST
// codes come back with the non-client button messages, and a frame change
// asks for the frame again.
#include "UserTestSupport.h"

#include "WinGdi.h"
#include "WinInput.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"

#include <vector>

namespace
{
constexpr int kGripper = 6; // the strip on the left the child keeps for itself
constexpr int kTop = 3;
constexpr COLORREF kFrame = RGB(200, 40, 40);
constexpr COLORREF kClient = RGB(40, 40, 200);

class ChildNonClientTest : public UserTest
{
protected:
    ChildNonClientTest()
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 400, 300});
        m_hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE | WS_BORDER, m_hParent,
                                    RECT{20, 20, 120, 80}, 5);
        SetHandler(
            m_hChild,
            [this](HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
            {
                switch (nMsg)
                {
                case WM_NCCALCSIZE:
                {
                    // The proposed window rectangle becomes the client one.
                    auto* pRect = reinterpret_cast<RECT*>(lParam);
                    pRect->left += kGripper;
                    pRect->top += kTop;
                    return 0;
                }
                case WM_NCPAINT:
                    m_ncPaints.push_back(wParam);
                    PaintFrame(hWnd);
                    return 0;
                case WM_NCHITTEST:
                {
                    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                    ScreenToClient(hWnd, &pt);
                    return pt.x < 0 ? HTCAPTION : HTCLIENT;
                }
                case WM_NCLBUTTONDOWN:
                    m_ncPresses.push_back(wParam);
                    return 0;
                case WM_PAINT:
                {
                    PAINTSTRUCT paint;
                    const HDC hdc = BeginPaint(hWnd, &paint);
                    // A client DC cannot reach the frame, however wide it draws.
                    const RECT all{-50, -50, 500, 500};
                    Fill(hdc, all, kClient);
                    EndPaint(hWnd, &paint);
                    return 0;
                }
                default:
                    return std::nullopt;
                }
            });
        SetWindowPos(m_hChild, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        m_harness.PumpPending();
        UpdateWindow(m_hParent);
    }

    static void Fill(HDC hdc, const RECT& rc, COLORREF colour)
    {
        const HBRUSH hBrush = CreateSolidBrush(colour);
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
    }

    static void PaintFrame(HWND hWnd)
    {
        const HDC hdc = GetWindowDC(hWnd);
        RECT window{};
        GetWindowRect(hWnd, &window);
        // Far past the window on every side: only the window's own pixels change.
        const RECT strip{-30, -30, kGripper, window.bottom - window.top + 30};
        Fill(hdc, strip, kFrame);
        const RECT top{-30, -30, window.right - window.left + 30, kTop};
        Fill(hdc, top, kFrame);
        ReleaseDC(hWnd, hdc);
    }

    HWND m_hParent = nullptr;
    HWND m_hChild = nullptr;
    std::vector<WPARAM> m_ncPaints;
    std::vector<WPARAM> m_ncPresses;
};

TEST_F(ChildNonClientTest, TheChildsOwnFrameSizeAndPaintReplaceTheBorder)
{
    RECT client{};
    GetClientRect(m_hChild, &client);
    EXPECT_EQ(client.right, 100 - kGripper);
    EXPECT_EQ(client.bottom, 60 - kTop);
    POINT origin{0, 0};
    ClientToScreen(m_hChild, &origin);
    RECT window{};
    GetWindowRect(m_hChild, &window);
    EXPECT_EQ(origin.x - window.left, kGripper);
    EXPECT_EQ(origin.y - window.top, kTop);
    ASSERT_FALSE(m_ncPaints.empty());

    const WindowPicture parent = ClientPicture(m_hParent);
    const struct
    {
        int x;
        int y;
        COLORREF colour;
    } cases[] = {
        {20, 20, kFrame},                    // the window's corner: the DC's origin
        {20 + kGripper - 1, 60, kFrame},     // the gripper strip
        {20 + kGripper, 20 + kTop, kClient}, // the client area's corner
        {119, 79, kClient},                  // no border drawn by default
        {19, 50, RGB(255, 255, 255)},        // left of the window: the parent's
        {60, 19, RGB(255, 255, 255)},        // above it
        {120, 50, RGB(255, 255, 255)},       // right of it
    };
    for (const auto& c : cases)
        EXPECT_EQ(parent.GetPixel(c.x, c.y), SurfacePixel(c.colour)) << c.x << "," << c.y;
    SaveWindowPicture(m_hParent, (testing::TempDir() + "child-non-client.bmp").c_str(), true);
}

TEST_F(ChildNonClientTest, AFrameChangeOrAFrameRedrawAsksForTheFrameAgain)
{
    m_ncPaints.clear();
    RedrawWindow(m_hChild, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(m_ncPaints.size(), 1U);
    m_ncPaints.clear();
    SetWindowPos(m_hChild, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    UpdateWindow(m_hChild);
    EXPECT_EQ(m_ncPaints.size(), 1U);
    // Invalidating the client area alone leaves the frame as it is.
    m_ncPaints.clear();
    InvalidateRect(m_hChild, nullptr, TRUE);
    UpdateWindow(m_hChild);
    EXPECT_TRUE(m_ncPaints.empty());
}

TEST_F(ChildNonClientTest, ThePressOnTheChildsOwnCaptionComesWithItsHitCode)
{
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_hChild, -3, 10));
    m_harness.PumpPending();
    EXPECT_EQ(m_ncPresses, std::vector<WPARAM>{HTCAPTION});
    EXPECT_EQ(CountMessages(m_hChild, WM_LBUTTONDOWN), 0);
    m_harness.AdvanceClock(1000);
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_hChild, 10, 10));
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(m_hChild, WM_LBUTTONDOWN), 1);
}

TEST_F(ChildNonClientTest, TheDefaultFrameComesFirstAndTheChildAddsItsOwnInside)
{
    // As bars do: the default frame of a client edge, then a gripper inside it.
    const HWND hBar = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hParent, RECT{150, 20, 250, 80}, 6,
                                       WS_EX_CLIENTEDGE);
    SetHandler(hBar,
               [](HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
               {
                   if (nMsg == WM_NCCALCSIZE)
                   {
                       DefWindowProcA(hWnd, nMsg, wParam, lParam);
                       reinterpret_cast<RECT*>(lParam)->left += kGripper;
                       return 0;
                   }
                   if (nMsg != WM_NCPAINT)
                       return std::nullopt;
                   DefWindowProcA(hWnd, nMsg, wParam, lParam);
                   const int nEdge = GetSystemMetrics(SM_CXEDGE);
                   const HDC hdc = GetWindowDC(hWnd);
                   const RECT gripper{nEdge, nEdge, nEdge + kGripper, 60 - nEdge};
                   Fill(hdc, gripper, kFrame);
                   ReleaseDC(hWnd, hdc);
                   return 0;
               });
    SetWindowPos(hBar, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    UpdateWindow(m_hParent);
    const int nEdge = GetSystemMetrics(SM_CXEDGE);
    RECT client{};
    GetClientRect(hBar, &client);
    EXPECT_EQ(client.right, 100 - 2 * nEdge - kGripper);
    POINT origin{0, 0};
    MapWindowPoints(hBar, m_hParent, &origin, 1);
    EXPECT_EQ(origin.x, 150 + nEdge + kGripper);
    const WindowPicture parent = ClientPicture(m_hParent);
    EXPECT_EQ(parent.GetPixel(150, 50), SurfacePixel(GetSysColor(COLOR_3DSHADOW))) << "the edge";
    EXPECT_EQ(parent.GetPixel(150 + nEdge, 50), SurfacePixel(kFrame)) << "the gripper";
    EXPECT_EQ(parent.GetPixel(249, 50), SurfacePixel(GetSysColor(COLOR_3DHILIGHT)));
}

TEST_F(ChildNonClientTest, DrawingThroughTheWindowDCOutsideThePaintIsLive)
{
    const HDC hdc = GetWindowDC(m_hChild);
    const RECT corner{0, 0, 3, 3};
    Fill(hdc, corner, RGB(0, 150, 0));
    ReleaseDC(m_hChild, hdc);
    EXPECT_EQ(ClientPicture(m_hParent).GetPixel(21, 21), SurfacePixel(RGB(0, 150, 0)));
}
} // namespace
