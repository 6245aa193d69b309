// Frames whose caption is drawn in the window's own surface: DrawCaption
// in both states, the caption state following WM_NCACTIVATE, a program's
// own caption painted over the default one, and the caption and edges that
// move and size a window when the display leaves that to the layer.
#include "MoveSizeTracking.h"
#include "UserRawInput.h"
#include "UserTestSupport.h"
#include "WinDrawing.h"
#include "WinGdi.h"

#include <cstdlib>
#include <string>

namespace
{
using SelfDrawnFrameTest = UserTest;

constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
const RECT kFrameRect{100, 100, 500, 400};

struct MoveSizeCase
{
    int nHit;
    POINT delta;
    RECT expected;
};

const MoveSizeCase kMoveSizeCases[] = {
    {HTCAPTION, {30, -20}, {130, 80, 530, 380}},
    {HTLEFT, {50, 50}, {150, 100, 500, 400}},
    {HTRIGHT, {-30, 10}, {100, 100, 470, 400}},
    {HTTOP, {0, -40}, {100, 60, 500, 400}},
    {HTBOTTOM, {5, 25}, {100, 100, 500, 425}},
    {HTTOPLEFT, {-10, -10}, {90, 90, 500, 400}},
    {HTBOTTOMRIGHT, {20, 30}, {100, 100, 520, 430}},
    // Edges stop at the minimum size; the opposite edge stays.
    {HTLEFT, {390, 0}, {380, 100, 500, 400}},
    {HTBOTTOM, {0, -290}, {100, 100, 500, 200}},
    {HTTOPRIGHT, {-500, 500}, {100, 300, 220, 400}},
    {HTBORDER, {20, 20}, {100, 100, 500, 400}},
};

TEST(MoveSizeRectTest, FollowsThePointerDownToTheMinimum)
{
    for (const MoveSizeCase& c : kMoveSizeCases)
    {
        const RECT rect = CalcMoveSizeRect(kFrameRect, c.nHit, c.delta, SIZE{120, 100});
        EXPECT_TRUE(EqualRect(&rect, &c.expected))
            << c.nHit << " " << c.delta.x << "," << c.delta.y << " -> " << rect.left << ","
            << rect.top << "," << rect.right << "," << rect.bottom;
    }
}

COLORREF PixelOf(const WindowPicture& picture, int x, int y)
{
    const std::uint32_t bgr = picture.GetPixel(x, y);
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
}

int CountColour(const WindowPicture& picture, const RECT& rc, COLORREF colour)
{
    int nCount = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            nCount += PixelOf(picture, x, y) == colour ? 1 : 0;
    return nCount;
}

// The caption strip of a frame in its window picture.
RECT CaptionStrip(HWND hWnd)
{
    const int frame = GetSystemMetrics(SM_CXFRAME);
    RECT rcWindow;
    GetWindowRect(hWnd, &rcWindow);
    return RECT{frame, frame, rcWindow.right - rcWindow.left - frame,
                frame + GetSystemMetrics(SM_CYCAPTION)};
}

TEST_F(SelfDrawnFrameTest, DrawCaptionPaintsTheStateTheIconAndTheText)
{
    const HWND hWnd = CreateTopLevel(kFrameRect, kFrameStyle);
    SetWindowTextA(hWnd, "Caption");
    HDC hScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 200, 20);
    ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    const RECT rc{0, 0, 200, 20};
    for (const bool bActive : {true, false})
    {
        ASSERT_TRUE(DrawCaption(hWnd, hdc, &rc, DC_TEXT | (bActive ? DC_ACTIVE : 0)));
        const COLORREF back = GetSysColor(bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        EXPECT_EQ(GetPixel(hdc, 1, 1), back);
        EXPECT_EQ(GetPixel(hdc, 199, 19), back);
        // The title's glyphs, smoothed at their edges, near the left end.
        int nText = 0;
        for (int x = 0; x < 80; ++x)
            for (int y = 0; y < 20; ++y)
                nText += GetPixel(hdc, x, y) != back ? 1 : 0;
        EXPECT_GT(nText, 20) << bActive;
    }
    // Without DC_TEXT only the strip.
    ASSERT_TRUE(DrawCaption(hWnd, hdc, &rc, DC_ACTIVE));
    for (int x = 0; x < 80; ++x)
        EXPECT_EQ(GetPixel(hdc, x, 10), GetSysColor(COLOR_ACTIVECAPTION)) << x;
    EXPECT_FALSE(DrawCaption(nullptr, hdc, &rc, DC_ACTIVE));
    SelectObject(hdc, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hdc);
}

TEST_F(SelfDrawnFrameTest, TheCaptionFollowsWMNcActivate)
{
    const HWND hWnd = CreateTopLevel(kFrameRect, kFrameStyle);
    SetWindowTextA(hWnd, "Frame");
    m_harness.PumpPending();
    const RECT strip = CaptionStrip(hWnd);
    const POINT ptProbe{strip.left + 150, strip.top + 3};
    WindowPicture picture;
    SendMessageA(hWnd, WM_NCACTIVATE, FALSE, 0);
    ASSERT_TRUE(UserGetWindowPicture(hWnd, false, picture));
    EXPECT_EQ(PixelOf(picture, ptProbe.x, ptProbe.y), GetSysColor(COLOR_INACTIVECAPTION));
    SendMessageA(hWnd, WM_NCACTIVATE, TRUE, 0);
    ASSERT_TRUE(UserGetWindowPicture(hWnd, false, picture));
    EXPECT_EQ(PixelOf(picture, ptProbe.x, ptProbe.y), GetSysColor(COLOR_ACTIVECAPTION));
    if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
        SaveWindowPicture(hWnd, (testing::TempDir() + "default-caption.bmp").c_str());
    // Hidden, it paints nothing: the caption stays as it was.
    SetWindowLongPtrA(hWnd, GWL_STYLE, GetWindowLongPtrA(hWnd, GWL_STYLE) & ~WS_VISIBLE);
    SendMessageA(hWnd, WM_NCACTIVATE, FALSE, 0);
    SetWindowLongPtrA(hWnd, GWL_STYLE, GetWindowLongPtrA(hWnd, GWL_STYLE) | WS_VISIBLE);
    ASSERT_TRUE(UserGetWindowPicture(hWnd, false, picture));
    EXPECT_EQ(PixelOf(picture, ptProbe.x, ptProbe.y), GetSysColor(COLOR_ACTIVECAPTION));
}

TEST_F(SelfDrawnFrameTest, AProgramsOwnCaptionReplacesTheDefaultOne)
{
    const HWND hWnd = CreateTopLevel(kFrameRect, kFrameStyle);
    const COLORREF own = RGB(200, 100, 0);
    SetHandler(hWnd,
               [own](HWND h, UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_NCPAINT && nMsg != WM_NCACTIVATE)
                       return std::nullopt;
                   const LRESULT result = DefWindowProcA(h, nMsg, wParam, lParam);
                   // A gradient-free caption of its own, with its buttons.
                   HDC hdc = GetWindowDC(h);
                   RECT strip = CaptionStrip(h);
                   HBRUSH hBrush = CreateSolidBrush(own);
                   FillRect(hdc, &strip, hBrush);
                   DeleteObject(hBrush);
                   RECT rcClose{strip.right - GetSystemMetrics(SM_CXSIZE), strip.top + 2,
                                strip.right - 2, strip.bottom - 2};
                   DrawFrameControl(hdc, &rcClose, DFC_CAPTION, DFCS_CAPTIONCLOSE);
                   ReleaseDC(h, hdc);
                   return result;
               });
    RedrawWindow(hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageA(hWnd, WM_NCACTIVATE, TRUE, 0);
    WindowPicture picture;
    ASSERT_TRUE(UserGetWindowPicture(hWnd, false, picture));
    const RECT strip = CaptionStrip(hWnd);
    EXPECT_EQ(PixelOf(picture, strip.left + 150, strip.top + 3), own);
    EXPECT_EQ(CountColour(picture, strip, GetSysColor(COLOR_ACTIVECAPTION)), 0);
    if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
        SaveWindowPicture(hWnd, (testing::TempDir() + "self-drawn-caption.bmp").c_str());
}

TEST_F(SelfDrawnFrameTest, DraggingTheCaptionMovesAndAnEdgeSizesTheWindow)
{
    const HWND hWnd = CreateTopLevel(kFrameRect, kFrameStyle);
    m_harness.PumpPending();
    const POINT ptCaption{kFrameRect.left + 150, kFrameRect.top + 10};
    m_harness.MouseDown(enMouseButton::Left, ptCaption);
    m_harness.MouseMove(POINT{ptCaption.x + 20, ptCaption.y + 5});
    m_harness.MouseMove(POINT{ptCaption.x + 40, ptCaption.y + 30});
    m_harness.MouseUp(enMouseButton::Left, POINT{ptCaption.x + 40, ptCaption.y + 30});
    m_harness.PumpPending();
    RECT rc;
    GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.left, kFrameRect.left + 40);
    EXPECT_EQ(rc.top, kFrameRect.top + 30);
    EXPECT_EQ(rc.right - rc.left, 400);
    EXPECT_EQ(GetCapture(), nullptr);

    const POINT ptCorner{rc.right - 1, rc.bottom - 1};
    m_harness.MouseDown(enMouseButton::Left, ptCorner);
    m_harness.MouseMove(POINT{ptCorner.x + 50, ptCorner.y - 20});
    m_harness.MouseUp(enMouseButton::Left, POINT{ptCorner.x + 50, ptCorner.y - 20});
    m_harness.PumpPending();
    RECT rcSized;
    GetWindowRect(hWnd, &rcSized);
    EXPECT_EQ(rcSized.right - rcSized.left, 450);
    EXPECT_EQ(rcSized.bottom - rcSized.top, 280);
    EXPECT_EQ(rcSized.left, rc.left);

    // Escape puts it back where the drag began.
    const POINT ptAgain{rcSized.left + 150, rcSized.top + 10};
    m_harness.MouseDown(enMouseButton::Left, ptAgain);
    m_harness.MouseMove(POINT{ptAgain.x + 60, ptAgain.y + 60});
    m_harness.KeyPress(VK_ESCAPE);
    m_harness.PumpPending();
    RECT rcBack;
    GetWindowRect(hWnd, &rcBack);
    EXPECT_TRUE(EqualRect(&rcBack, &rcSized));
}

TEST_F(SelfDrawnFrameTest, ADoubleClickOnTheCaptionMaximisesAndRestores)
{
    const HWND hWnd = CreateTopLevel(kFrameRect, kFrameStyle);
    m_harness.PumpPending();
    SendMessageA(hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(200, 110));
    EXPECT_TRUE(IsZoomed(hWnd));
    SendMessageA(hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(200, 10));
    EXPECT_FALSE(IsZoomed(hWnd));
    RECT rc;
    GetWindowRect(hWnd, &rc);
    EXPECT_TRUE(EqualRect(&rc, &kFrameRect));
}

TEST_F(SelfDrawnFrameTest, AFrameIsMarkedAsDrawingItsOwnFrame)
{
    const HWND hWnd = CreateTopLevel(kFrameRect, kFrameStyle);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hWnd, RECT{0, 0, 20, 20});
    EXPECT_FALSE(UserIsSelfDrawnFrame(hWnd));
    EXPECT_TRUE(UserSetSelfDrawnFrame(hWnd, TRUE));
    EXPECT_TRUE(UserIsSelfDrawnFrame(hWnd));
    // Only top-level windows have frames a display could draw.
    EXPECT_FALSE(UserSetSelfDrawnFrame(hChild, TRUE));
    EXPECT_TRUE(UserSetSelfDrawnFrame(hWnd, FALSE));
    EXPECT_FALSE(UserIsSelfDrawnFrame(hWnd));
}
} // namespace
