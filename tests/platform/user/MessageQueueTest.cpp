// The message queue and its loops: sends, posts, the retrieval order,
// synthesised paints and timers, peeking, blocking and translation.
#include "UserTestSupport.h"

namespace
{
const RECT kTopRect{100, 100, 400, 300};

using MessageQueueTest = UserTest;

std::vector<UINT> DispatchAll()
{
    std::vector<UINT> dispatched;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
            break;
        dispatched.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    return dispatched;
}

TEST_F(MessageQueueTest, SendIsSynchronousReentrantAndNeverDispatchesPostedMessages)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hOther = CreateTopLevel(kTopRect);
    std::vector<int> trace;
    SetHandler(hTop,
               [&](HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_USER)
                       return std::nullopt;
                   trace.push_back(static_cast<int>(wParam));
                   if (wParam == 0)
                       PostMessageA(hOther, WM_USER + 5, 0, 0);
                   if (wParam < 3)
                       return 1 + SendMessageA(hWnd, WM_USER, wParam + 1, 0);
                   return 10;
               });
    EXPECT_EQ(SendMessageA(hTop, WM_USER, 0, 0), 13);
    EXPECT_EQ(trace, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(CountMessages(hOther, WM_USER + 5), 0);
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hOther, WM_USER + 5), 1);
}

TEST_F(MessageQueueTest, PostedMessagesComeFirstInFirstOutAfterTheSendThatPostedThem)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    SetHandler(hTop,
               [&](HWND hWnd, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg == WM_USER)
                   {
                       PostMessageA(hWnd, WM_USER + 2, 0, 0);
                       PostMessageA(hWnd, WM_USER + 3, 0, 0);
                   }
                   return std::nullopt;
               });
    PostMessageA(hTop, WM_USER + 1, 0, 0);
    SendMessageA(hTop, WM_USER, 0, 0);
    m_harness.PumpPending();
    EXPECT_EQ(MessageIds({WM_USER, WM_USER + 1, WM_USER + 2, WM_USER + 3}),
              (std::vector<UINT>{WM_USER, WM_USER + 1, WM_USER + 2, WM_USER + 3}));
}

TEST_F(MessageQueueTest, RetrievalOrderIsPostedThenInputThenPaintThenTimer)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    SetFocus(hTop);
    SetTimer(hTop, 1, 100, nullptr);
    m_harness.AdvanceClock(100);
    InvalidateRect(hTop, nullptr, FALSE);
    m_harness.KeyDown('A');
    PostMessageA(hTop, WM_USER, 0, 0);
    const std::vector<UINT> order = DispatchAll();
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_KEYDOWN, WM_PAINT, WM_TIMER}));
}

TEST_F(MessageQueueTest, QuitComesOnceNoPostedMessageIsLeft)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    PostQuitMessage(7);
    PostMessageA(hTop, WM_USER, 0, 0);
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT(WM_USER));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    DestroyWindow(hTop);
    EXPECT_EQ(GetMessageA(&msg, hTop, 0, 0), -1);
}

TEST_F(MessageQueueTest, PaintComesAgainWhileTheRegionStaysInvalidButDroppedPostsAreLost)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    InvalidateRect(hTop, nullptr, FALSE);
    PostMessageA(hTop, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER));
    for (int i = 0; i < 3; ++i)
    {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, UINT(WM_PAINT));
        EXPECT_EQ(msg.hwnd, hTop);
    }
    DispatchMessageA(&msg);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, TimersFireFromTheClockAtMostOncePendingAndRestartWhenSetAgain)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    EXPECT_EQ(SetTimer(hTop, 1000, 400, nullptr), 1000u);
    m_harness.AdvanceClock(399);
    EXPECT_EQ(DispatchAll(), std::vector<UINT>{});
    m_harness.AdvanceClock(1201);
    EXPECT_EQ(DispatchAll(), (std::vector<UINT>{WM_TIMER}));
    m_harness.AdvanceClock(300);
    SetTimer(hTop, 1000, 400, nullptr);
    m_harness.AdvanceClock(300);
    EXPECT_EQ(DispatchAll(), std::vector<UINT>{});
    m_harness.AdvanceClock(100);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(msg.wParam, 1000u);
    EXPECT_TRUE(KillTimer(hTop, 1000));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(KillTimer(hTop, 1000));
}

TEST_F(MessageQueueTest, TimerProcedureIsCalledByDispatch)
{
    static int sCalls = 0;
    static UINT_PTR sId = 0;
    sCalls = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 50,
                                 [](HWND, UINT nMsg, UINT_PTR nId, DWORD)
                                 {
                                     EXPECT_EQ(nMsg, UINT(WM_TIMER));
                                     sId = nId;
                                     ++sCalls;
                                 });
    ASSERT_NE(id, 0u);
    m_harness.AdvanceClock(50);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    DispatchMessageA(&msg);
    EXPECT_EQ(sCalls, 1);
    EXPECT_EQ(sId, id);
    KillTimer(nullptr, id);
}

TEST_F(MessageQueueTest, PeekWithoutRemovingLeavesTheMessageFirstInLine)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    PostMessageA(hTop, WM_CHAR, 27, 0);
    PostMessageA(hTop, WM_USER, 0, 0);
    MSG msg;
    for (int i = 0; i < 2; ++i)
    {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_CHAR, WM_CHAR, PM_NOREMOVE));
        EXPECT_EQ(msg.wParam, 27u);
    }
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_CHAR));
}

TEST_F(MessageQueueTest, WaitingLoopMovesTheClockToTheNextTimer)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    SetTimer(hTop, 5, 750, nullptr);
    const DWORD before = GetTickCount();
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(GetTickCount() - before, 750u);
}

TEST_F(MessageQueueTest, WaitingLoopPlaysTheScriptBeforeMovingTime)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    m_harness.Script().Do([&] { PostMessageA(hTop, WM_USER + 9, 0, 0); });
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER + 9));
}

TEST_F(MessageQueueTest, LoopWithNothingToWaitForCallsTheBlockedHandler)
{
    CreateTopLevel(kTopRect);
    m_harness.PumpPending();
    int nBlocked = 0;
    m_harness.SetBlockedHandler(
        [&]
        {
            ++nBlocked;
            PostQuitMessage(3);
        });
    MSG msg;
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(nBlocked, 1);
    EXPECT_EQ(msg.wParam, 3u);
}

struct TranslationCase
{
    std::vector<UINT> keys; // pressed in order, released in reverse
    char expected;
};

class TranslateMessageTest : public UserTest, public ::testing::WithParamInterface<TranslationCase>
{
};

TEST_P(TranslateMessageTest, KeyDownIsDispatchedFirstThenItsCharacter)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    SetFocus(hTop);
    m_harness.PumpPending();
    ClearMessages();
    for (UINT key : GetParam().keys)
        m_harness.KeyDown(key);
    m_harness.PumpPending();
    const auto keys = Messages({WM_KEYDOWN, WM_CHAR});
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back().nMsg, UINT(WM_CHAR));
    EXPECT_EQ(keys.back().wParam, WPARAM(BYTE(GetParam().expected)));
    EXPECT_EQ(keys[keys.size() - 2].nMsg, UINT(WM_KEYDOWN));
    EXPECT_EQ(keys[keys.size() - 2].wParam, GetParam().keys.back());
    for (auto it = GetParam().keys.rbegin(); it != GetParam().keys.rend(); ++it)
        m_harness.KeyUp(*it);
    m_harness.PumpPending();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TranslateMessageTest,
    ::testing::Values(TranslationCase{{VK_ESCAPE}, 27}, TranslationCase{{VK_RETURN}, 13},
                      TranslationCase{{VK_BACK}, 8}, TranslationCase{{VK_TAB}, 9},
                      TranslationCase{{'A'}, 'a'}, TranslationCase{{VK_SHIFT, 'A'}, 'A'},
                      TranslationCase{{VK_CONTROL, 'C'}, 3}, TranslationCase{{VK_SHIFT, '1'}, '!'},
                      TranslationCase{{VK_OEM_MINUS}, '-'}));

TEST_F(MessageQueueTest, KeysWithoutCharactersTranslateToNothing)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    SetFocus(hTop);
    m_harness.KeyPress(VK_LEFT);
    m_harness.KeyPress(VK_F5);
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hTop, WM_CHAR), 0);
    EXPECT_EQ(CountMessages(hTop, WM_KEYDOWN), 2);
}

TEST_F(MessageQueueTest, AltKeysBecomeSystemKeysAndSystemCharacters)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    SetFocus(hTop);
    m_harness.KeyDown(VK_MENU);
    m_harness.KeyPress('X');
    m_harness.KeyUp(VK_MENU);
    m_harness.PumpPending();
    const auto sys = Messages({WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYUP});
    ASSERT_EQ(sys.size(), 5u);
    EXPECT_EQ(sys[1].nMsg, UINT(WM_SYSKEYDOWN));
    EXPECT_EQ(sys[1].wParam, WPARAM('X'));
    EXPECT_NE(sys[1].lParam & (1 << 29), 0);
    EXPECT_EQ(sys[2].nMsg, UINT(WM_SYSCHAR));
    EXPECT_EQ(sys[2].wParam, WPARAM('x'));
}

TEST_F(MessageQueueTest, RegisteredMessagesKeepTheirNumbers)
{
    const UINT first = RegisterWindowMessageA("Pelivo.Activate");
    EXPECT_GE(first, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageA("PELIVO.ACTIVATE"), first);
    EXPECT_NE(RegisterWindowMessageA("Another"), first);
    EXPECT_EQ(RegisterWindowMessageA(""), 0u);
}
} // namespace
