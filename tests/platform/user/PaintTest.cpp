// Painting: validation, live client-DC drawing, erasing, synchronous
// updates, locked drawing, window scroll bars, WM_PAINT with a DC and the
// clipping of children and siblings.
#include "UserTestSupport.h"

namespace
{
const RECT kTopRect{0, 0, 300, 200};
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

using PaintTest = UserTest;

void FillClient(HWND hWnd, HDC hdc, COLORREF color)
{
    RECT client;
    GetClientRect(hWnd, &client);
    HBRUSH hBrush = CreateSolidBrush(color);
    FillRect(hdc, &client, hBrush);
    DeleteObject(hBrush);
}

// Paints the client area in one colour in WM_PAINT.
TestHandler PaintWith(COLORREF color)
{
    return [color](HWND hWnd, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
    {
        if (nMsg != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hWnd, &paint);
        FillClient(hWnd, hdc, color);
        EndPaint(hWnd, &paint);
        return 0;
    };
}

// Answers WM_ERASEBKGND with nEraseAnswer and records whether WM_PAINT was
// told the background still needs erasing.
TestHandler RecordErase(LRESULT nEraseAnswer, BOOL& fErase)
{
    return [nEraseAnswer, &fErase](HWND hWnd, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
    {
        if (nMsg == WM_ERASEBKGND)
            return nEraseAnswer;
        if (nMsg != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT paint;
        BeginPaint(hWnd, &paint);
        fErase = paint.fErase;
        EndPaint(hWnd, &paint);
        return 0;
    };
}

TEST_F(PaintTest, ValidateRectCancelsAPendingPaint)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    ClearMessages();
    InvalidateRect(hTop, nullptr, TRUE);
    HDC hdc = GetDC(hTop);
    FillClient(hTop, hdc, kRed);
    ReleaseDC(hTop, hdc);
    ValidateRect(hTop, nullptr);
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hTop, WM_PAINT), 0);
    EXPECT_EQ(ClientPicture(hTop).GetPixel(10, 10), SurfacePixel(kRed));

    const RECT part{0, 0, 50, 50};
    InvalidateRect(hTop, nullptr, FALSE);
    ValidateRect(hTop, &part);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(hTop, &update, FALSE));
    EXPECT_EQ(update.right, 300);
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hTop, WM_PAINT), 1);
}

TEST_F(PaintTest, ClientDcDrawingReachesTheSurfaceAtOnceAndXorPassesCancel)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    SetHandler(hTop, PaintWith(kBlue));
    m_harness.PumpPending();
    const WindowPicture before = ClientPicture(hTop);
    HDC hdc = GetDC(hTop);
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(WindowFromDC(hdc), hTop);
    SetROP2(hdc, R2_NOT);
    for (int pass = 0; pass < 2; ++pass)
    {
        MoveToEx(hdc, 10, 10, nullptr);
        LineTo(hdc, 100, 10);
        const WindowPicture during = ClientPicture(hTop);
        EXPECT_EQ(during.GetPixel(50, 10), pass == 0 ? 0xFFFF00u : SurfacePixel(kBlue));
    }
    ReleaseDC(hTop, hdc);
    EXPECT_EQ(ClientPicture(hTop).pixels, before.pixels);
    EXPECT_EQ(m_harness.PumpPending(), 0);
}

TEST_F(PaintTest, EraseAnsweredNonZeroLeavesTheBackgroundToThePaint)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    BOOL fErase = -1;
    SetHandler(hTop, RecordErase(1, fErase));
    HDC hdc = GetDC(hTop);
    FillClient(hTop, hdc, kRed);
    ReleaseDC(hTop, hdc);
    InvalidateRect(hTop, nullptr, TRUE);
    m_harness.PumpPending();
    EXPECT_FALSE(fErase);
    EXPECT_EQ(ClientPicture(hTop).GetPixel(5, 5), SurfacePixel(kRed));

    SetHandler(hTop, nullptr);
    InvalidateRect(hTop, nullptr, TRUE);
    m_harness.PumpPending();
    EXPECT_EQ(ClientPicture(hTop).GetPixel(5, 5), SurfacePixel(RGB(255, 255, 255)));
}

TEST_F(PaintTest, PaintDcIsClippedToTheUpdateRegion)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    HDC hdc = GetDC(hTop);
    FillClient(hTop, hdc, kBlue);
    ReleaseDC(hTop, hdc);
    SetHandler(hTop, PaintWith(kRed));
    const RECT part{100, 50, 150, 80};
    InvalidateRect(hTop, &part, FALSE);
    RECT clipBox{};
    SetHandler(hTop,
               [&](HWND hWnd, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_PAINT)
                       return std::nullopt;
                   PAINTSTRUCT paint;
                   HDC hPaintDC = BeginPaint(hWnd, &paint);
                   GetClipBox(hPaintDC, &clipBox);
                   EXPECT_TRUE(EqualRect(&paint.rcPaint, &part));
                   FillClient(hWnd, hPaintDC, kRed);
                   EndPaint(hWnd, &paint);
                   return 0;
               });
    m_harness.PumpPending();
    EXPECT_TRUE(EqualRect(&clipBox, &part));
    const WindowPicture picture = ClientPicture(hTop);
    EXPECT_EQ(picture.GetPixel(120, 60), SurfacePixel(kRed));
    EXPECT_EQ(picture.GetPixel(99, 60), SurfacePixel(kBlue));
    EXPECT_EQ(picture.GetPixel(150, 60), SurfacePixel(kBlue));
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnceParentsBeforeChildren)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{10, 10, 60, 60});
    m_harness.PumpPending();
    ClearMessages();
    InvalidateRect(hTop, nullptr, TRUE);
    UpdateWindow(hTop);
    const auto paints = Messages({WM_PAINT});
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints[0].hWnd, hTop);
    EXPECT_EQ(paints[1].hWnd, hChild);
    EXPECT_EQ(m_harness.PumpPending(), 0);
    ClearMessages();
    RedrawWindow(hChild, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(MessageIds({WM_PAINT}).size(), 1u);
}

TEST_F(PaintTest, ResizingRepaintsAllWithRedrawStylesAndOnlyTheNewPartWithout)
{
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "RedrawOnSize";
    RegisterClassA(&wc);
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hRedraw = CreateWindowExA(0, "RedrawOnSize", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                                         hTop, nullptr, nullptr, nullptr);
    const HWND hPlain = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{100, 0, 150, 50});
    m_harness.PumpPending();
    MoveWindow(hRedraw, 0, 0, 80, 50, TRUE);
    MoveWindow(hPlain, 100, 0, 80, 50, TRUE);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(hRedraw, &update, FALSE));
    EXPECT_EQ(update.left, 0);
    ASSERT_TRUE(GetUpdateRect(hPlain, &update, FALSE));
    EXPECT_EQ(update.left, 50);
    EXPECT_EQ(update.right, 80);
}

TEST_F(PaintTest, EraseNowErasesBeforeThePaintAndAnUnerasedBackgroundIsReported)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    BOOL fErase = -1;
    SetHandler(hTop, RecordErase(0, fErase));
    ClearMessages();
    RedrawWindow(hTop, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    EXPECT_EQ(MessageIds({WM_ERASEBKGND, WM_PAINT}), (std::vector<UINT>{WM_ERASEBKGND}));
    m_harness.PumpPending();
    EXPECT_TRUE(fErase);
}

TEST_F(PaintTest, LockedWindowDrawsNothingUntilUnlockedThenRepaints)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{10, 10, 60, 60});
    SetHandler(hChild, PaintWith(kBlue));
    m_harness.PumpPending();
    ASSERT_TRUE(LockWindowUpdate(hTop));
    HDC hdc = GetDC(hChild);
    FillClient(hChild, hdc, kRed);
    ReleaseDC(hChild, hdc);
    InvalidateRect(hChild, nullptr, TRUE);
    ClearMessages();
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hChild, WM_PAINT), 0);
    EXPECT_EQ(ClientPicture(hChild).GetPixel(5, 5), SurfacePixel(kBlue));
    LockWindowUpdate(nullptr);
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hChild, WM_PAINT), 1);
    EXPECT_EQ(CountMessages(hTop, WM_PAINT), 1);

    SendMessageA(hChild, WM_SETREDRAW, FALSE, 0);
    hdc = GetDC(hChild);
    FillClient(hChild, hdc, kRed);
    ReleaseDC(hChild, hdc);
    EXPECT_EQ(ClientPicture(hChild).GetPixel(5, 5), SurfacePixel(kBlue));
    SendMessageA(hChild, WM_SETREDRAW, TRUE, 0);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(hChild, &update, FALSE));
}

TEST_F(PaintTest, ShowingAWindowScrollBarShrinksTheClientAreaAndSendsSize)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hView = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 200, 100});
    ClearMessages();
    ShowScrollBar(hView, SB_VERT, TRUE);
    RECT client;
    GetClientRect(hView, &client);
    EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
    auto sizes = Messages({WM_SIZE});
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(LOWORD(sizes[0].lParam), client.right);
    ClearMessages();
    ShowScrollBar(hView, SB_VERT, FALSE);
    GetClientRect(hView, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(Messages({WM_SIZE}).size(), 1u);
}

TEST_F(PaintTest, PaintCarryingADcPaintsIntoThatDc)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 40, 30});
    SetHandler(hChild, PaintWith(kRed));
    m_harness.PumpPending();
    HDC hMemDC = CreateCompatibleDC(nullptr);
    HDC hScreen = GetDC(nullptr);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 40, 30);
    ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = SelectObject(hMemDC, hBitmap);
    InvalidateRect(hChild, nullptr, FALSE);
    SendMessageA(hChild, WM_PAINT, reinterpret_cast<WPARAM>(hMemDC), 0);
    EXPECT_EQ(GetPixel(hMemDC, 20, 15), kRed);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(hChild, &update, FALSE)) << "the window's own region stays";
    SelectObject(hMemDC, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hMemDC);
}

TEST_F(PaintTest, ClipChildrenKeepsAParentOffItsChildrenAndClipSiblingsOffTheOneAbove)
{
    for (const bool bClip : {false, true})
    {
        const HWND hTop =
            CreateTopLevel(kTopRect, WS_POPUP | WS_VISIBLE | (bClip ? WS_CLIPCHILDREN : 0));
        const HWND hLow = CreateTestWindow(WS_CHILD | WS_VISIBLE | (bClip ? WS_CLIPSIBLINGS : 0),
                                           hTop, RECT{0, 0, 100, 100});
        const HWND hHigh = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{50, 50, 150, 150});
        SetHandler(hHigh, PaintWith(kBlue));
        SetHandler(hLow, PaintWith(RGB(0, 255, 0)));
        m_harness.PumpPending();
        HDC hdc = GetDC(hTop);
        FillClient(hTop, hdc, kRed);
        ReleaseDC(hTop, hdc);
        hdc = GetDC(hLow);
        FillClient(hLow, hdc, RGB(255, 255, 0));
        ReleaseDC(hLow, hdc);
        const WindowPicture picture = ClientPicture(hTop);
        EXPECT_EQ(picture.GetPixel(200, 180), SurfacePixel(kRed));
        EXPECT_EQ(picture.GetPixel(120, 120), bClip ? SurfacePixel(kBlue) : SurfacePixel(kRed));
        EXPECT_EQ(picture.GetPixel(20, 20), SurfacePixel(RGB(255, 255, 0)));
        EXPECT_EQ(picture.GetPixel(70, 70),
                  bClip ? SurfacePixel(kBlue) : SurfacePixel(RGB(255, 255, 0)));
        DestroyWindow(hTop);
    }
}

TEST_F(PaintTest, ChildDrawingStaysInsideItsParentsClientArea)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hPanel = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{10, 10, 60, 60});
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hPanel, RECT{30, 30, 100, 100});
    m_harness.PumpPending();
    HDC hdc = GetDC(hChild);
    FillClient(hChild, hdc, kRed);
    ReleaseDC(hChild, hdc);
    const WindowPicture picture = ClientPicture(hTop);
    EXPECT_EQ(picture.GetPixel(55, 55), SurfacePixel(kRed));
    EXPECT_EQ(picture.GetPixel(65, 65), SurfacePixel(RGB(255, 255, 255)));
}

TEST_F(PaintTest, DefaultFrameDrawsBordersAndTheWindowDcCoversIt)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild =
        CreateTestWindow(WS_CHILD | WS_VISIBLE | WS_BORDER, hTop, RECT{10, 10, 60, 60});
    m_harness.PumpPending();
    WindowPicture whole;
    ASSERT_TRUE(UserGetWindowPicture(hChild, false, whole));
    EXPECT_EQ(whole.nWidth, 50);
    EXPECT_EQ(whole.GetPixel(0, 0), SurfacePixel(GetSysColor(COLOR_WINDOWFRAME)));
    EXPECT_EQ(whole.GetPixel(25, 49), SurfacePixel(GetSysColor(COLOR_WINDOWFRAME)));
    EXPECT_EQ(whole.GetPixel(25, 25), SurfacePixel(RGB(255, 255, 255)));
    HDC hdc = GetWindowDC(hChild);
    SetPixel(hdc, 0, 0, kRed);
    ReleaseDC(hChild, hdc);
    UserGetWindowPicture(hChild, false, whole);
    EXPECT_EQ(whole.GetPixel(0, 0), SurfacePixel(kRed));
}
} // namespace
