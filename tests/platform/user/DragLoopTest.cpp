// Nested loops run by handlers: a capture drag loop keeps timers and other
// windows' paints going, ends when capture goes to another window, and
// busy loops see Escape through TranslateMessage.
#include "UserTestSupport.h"

namespace
{
const RECT kTopRect{100, 100, 600, 400};

enum class enLoopEnd
{
    None,
    ButtonUp,
    Escape,
    CaptureLost,
};

// The drag loop of a pane: GetMessage and DispatchMessage without
// TranslateMessage, ending on the button-up, Escape or lost capture.
struct DragLoop
{
    std::vector<POINT> moves;
    enLoopEnd end = enLoopEnd::None;

    void Run(HWND hPane)
    {
        SetCapture(hPane);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0))
        {
            if (GetCapture() != hPane)
            {
                DispatchMessageA(&msg);
                end = enLoopEnd::CaptureLost;
                return;
            }
            switch (msg.message)
            {
            case WM_MOUSEMOVE:
                moves.push_back(POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
                break;
            case WM_LBUTTONUP:
                ReleaseCapture();
                end = enLoopEnd::ButtonUp;
                return;
            case WM_KEYDOWN:
                if (msg.wParam == VK_ESCAPE)
                {
                    ReleaseCapture();
                    end = enLoopEnd::Escape;
                    return;
                }
                break;
            default:
                DispatchMessageA(&msg);
                break;
            }
        }
        PostQuitMessage(static_cast<int>(msg.wParam));
    }
};

class DragLoopTest : public UserTest
{
protected:
    void SetUp() override
    {
        m_hTop = CreateTopLevel(kTopRect);
        m_hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hTop, RECT{0, 0, 200, 200});
        m_hOther = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hTop, RECT{250, 0, 450, 200});
        SetHandler(m_hPane,
                   [this](HWND hWnd, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
                   {
                       if (nMsg != WM_LBUTTONDOWN)
                           return std::nullopt;
                       m_loop.Run(hWnd);
                       return 0;
                   });
        m_harness.PumpPending();
        ClearMessages();
    }

    void StartDrag()
    {
        m_harness.MouseDown(enMouseButton::Left, CUiHarness::ScreenPoint(m_hPane, 10, 10));
        m_harness.PumpPending();
    }

    HWND m_hTop = nullptr;
    HWND m_hPane = nullptr;
    HWND m_hOther = nullptr;
    DragLoop m_loop;
};

TEST_F(DragLoopTest, DragLoopWithCaptureKeepsTimersAndAnotherWindowsPaintRunning)
{
    int nTicks = 0;
    int nPaints = 0;
    SetHandler(m_hOther,
               [&](HWND hWnd, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg == WM_TIMER)
                   {
                       ++nTicks;
                       InvalidateRect(hWnd, nullptr, FALSE);
                       return 0;
                   }
                   if (nMsg == WM_PAINT)
                   {
                       ++nPaints;
                       PAINTSTRUCT paint;
                       BeginPaint(hWnd, &paint);
                       EndPaint(hWnd, &paint);
                       return 0;
                   }
                   return std::nullopt;
               });
    SetTimer(m_hOther, 1, 100, nullptr);
    const POINT outside = CUiHarness::ScreenPoint(m_hPane, -30, 250);
    m_harness.Script()
        .MouseMove(CUiHarness::ScreenPoint(m_hPane, 20, 20))
        .Wait(100)
        .MouseMove(outside)
        .Wait(100)
        .Wait(100)
        .MouseUp(enMouseButton::Left, outside);
    StartDrag();
    EXPECT_EQ(m_loop.end, enLoopEnd::ButtonUp);
    EXPECT_EQ(nTicks, 3);
    EXPECT_EQ(nPaints, 3);
    ASSERT_EQ(m_loop.moves.size(), 2u);
    EXPECT_EQ(m_loop.moves[1].x, -30);
    EXPECT_EQ(m_loop.moves[1].y, 250);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(CountMessages(m_hOther, WM_MOUSEMOVE), 0);
    KillTimer(m_hOther, 1);
}

TEST_F(DragLoopTest, CaptureTakenByAnotherWindowEndsTheLoop)
{
    int nChangedInsideCall = -1;
    m_harness.Script()
        .MouseMove(CUiHarness::ScreenPoint(m_hPane, 20, 20))
        .Do(
            [&]
            {
                SetCapture(m_hOther);
                nChangedInsideCall = CountMessages(m_hPane, WM_CAPTURECHANGED);
            })
        .MouseMove(CUiHarness::ScreenPoint(m_hPane, 30, 30));
    StartDrag();
    EXPECT_EQ(m_loop.end, enLoopEnd::CaptureLost);
    EXPECT_EQ(nChangedInsideCall, 1);
    const auto changed = Messages({WM_CAPTURECHANGED});
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].lParam, reinterpret_cast<LPARAM>(m_hOther));
    EXPECT_EQ(CountMessages(m_hOther, WM_MOUSEMOVE), 1);
    EXPECT_EQ(GetCapture(), m_hOther);
    ReleaseCapture();
}

TEST_F(DragLoopTest, EscapeEndsTheDragLoop)
{
    SetFocus(m_hPane);
    m_harness.Script()
        .MouseMove(CUiHarness::ScreenPoint(m_hPane, 20, 20))
        .Key(VK_ESCAPE, true)
        .Key(VK_ESCAPE, false);
    StartDrag();
    EXPECT_EQ(m_loop.end, enLoopEnd::Escape);
    EXPECT_EQ(GetCapture(), nullptr);
    m_harness.MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(m_hPane, 20, 20));
    m_harness.PumpPending();
}

TEST_F(DragLoopTest, ButtonDownResentToANewWindowRunsItsOwnLoopInsideTheSend)
{
    SetHandler(m_hOther,
               [&](HWND, UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_LBUTTONDOWN)
                       return std::nullopt;
                   SendMessageA(m_hPane, WM_LBUTTONDOWN, wParam, lParam);
                   return 0;
               });
    m_harness.Script()
        .MouseMove(CUiHarness::ScreenPoint(m_hOther, 50, 50))
        .MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(m_hOther, 50, 50));
    m_harness.MouseDown(enMouseButton::Left, CUiHarness::ScreenPoint(m_hOther, 40, 40));
    m_harness.PumpPending();
    EXPECT_EQ(m_loop.end, enLoopEnd::ButtonUp);
    ASSERT_EQ(m_loop.moves.size(), 1u);
    EXPECT_EQ(m_loop.moves[0].x, 300);
}

TEST_F(DragLoopTest, NestedLoopThatMeetsQuitPostsItAgainForTheOuterLoop)
{
    m_harness.Script().PostQuit(5);
    StartDrag();
    EXPECT_EQ(m_loop.end, enLoopEnd::None);
    MSG msg;
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 5u);
    ReleaseCapture();
}

TEST_F(DragLoopTest, BusyPeekLoopSeesEscapeThroughTranslateMessageAndLeavesIt)
{
    SetFocus(m_hTop);
    m_harness.PumpPending();
    m_harness.Script().Wait(200).Wait(200).KeyPress(VK_ESCAPE);
    int nFrames = 0;
    bool bStopped = false;
    while (!bStopped && nFrames < 100)
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (msg.message == WM_CHAR && msg.wParam == 27)
            {
                bStopped = true;
                break;
            }
            PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        ++nFrames;
    }
    EXPECT_TRUE(bStopped);
    EXPECT_GE(nFrames, 3);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_CHAR));
    EXPECT_EQ(msg.hwnd, m_hTop);
    EXPECT_EQ(CountMessages(m_hTop, WM_KEYDOWN), 1);
}
} // namespace
