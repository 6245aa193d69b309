// Input routing: capture, capture loss, key states, wheel bubbling, mouse
// activation, cursors, double clicks, hit testing and focus.
#include "UserTestSupport.h"

#include <cstring>

namespace
{
const RECT kTopRect{100, 100, 500, 400};

using InputTest = UserTest;

TEST_F(InputTest, CaptureRoutesEveryMouseMessageToTheCapturingWindowWithoutSetCursor)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{50, 50, 150, 150});
    const HWND hOther = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{200, 50, 300, 150});
    m_harness.PumpPending();
    SetCapture(hPane);
    ClearMessages();
    m_harness.MouseMove(CUiHarness::ScreenPoint(hOther, 10, 10));
    m_harness.MouseMove(POINT{20, 30});
    m_harness.MouseDown(enMouseButton::Left, POINT{20, 30});
    m_harness.PumpPending();
    const auto moves = Messages({WM_MOUSEMOVE, WM_LBUTTONDOWN});
    ASSERT_EQ(moves.size(), 3u);
    for (const RecordedMessage& m : moves)
        EXPECT_EQ(m.hWnd, hPane);
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 160);
    EXPECT_EQ(GET_X_LPARAM(moves[1].lParam), 20 - 150);
    EXPECT_EQ(GET_Y_LPARAM(moves[1].lParam), 30 - 150);
    EXPECT_EQ(moves[2].wParam & MK_LBUTTON, WPARAM(MK_LBUTTON));
    EXPECT_TRUE(Messages({WM_SETCURSOR, WM_MOUSEACTIVATE}).empty());
    m_harness.MouseUp(enMouseButton::Left, POINT{20, 30});
    ReleaseCapture();
    m_harness.PumpPending();
}

TEST_F(InputTest, LosingCaptureSendsCaptureChangedFromInsideTheCall)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 50, 50});
    const HWND hOther = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{60, 0, 110, 50});
    EXPECT_EQ(SetCapture(hPane), nullptr);
    EXPECT_EQ(SetCapture(hOther), hPane);
    auto changed = Messages({WM_CAPTURECHANGED});
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].hWnd, hPane);
    EXPECT_EQ(changed[0].lParam, reinterpret_cast<LPARAM>(hOther));
    ClearMessages();
    ReleaseCapture();
    changed = Messages({WM_CAPTURECHANGED});
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].hWnd, hOther);
    EXPECT_EQ(changed[0].lParam, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

enum class enCancelBy
{
    Disable,
    Hide,
    HideParent,
    Destroy,
};

class CaptureCancelTest : public UserTest, public ::testing::WithParamInterface<enCancelBy>
{
};

TEST_P(CaptureCancelTest, CapturingWindowGetsCancelModeAndLosesCapture)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 50, 50});
    const HWND hInner = CreateTestWindow(WS_CHILD | WS_VISIBLE, hPane, RECT{0, 0, 20, 20});
    SetCapture(hInner);
    ClearMessages();
    switch (GetParam())
    {
    case enCancelBy::Disable:
        EnableWindow(hInner, FALSE);
        break;
    case enCancelBy::Hide:
        ShowWindow(hInner, SW_HIDE);
        break;
    case enCancelBy::HideParent:
        ShowWindow(hPane, SW_HIDE);
        break;
    case enCancelBy::Destroy:
        DestroyWindow(hInner);
        break;
    }
    EXPECT_EQ(MessageIds({WM_CANCELMODE, WM_CAPTURECHANGED}),
              (std::vector<UINT>{WM_CANCELMODE, WM_CAPTURECHANGED}));
    EXPECT_EQ(GetCapture(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Ways, CaptureCancelTest,
                         ::testing::Values(enCancelBy::Disable, enCancelBy::Hide,
                                           enCancelBy::HideParent, enCancelBy::Destroy));

TEST_F(InputTest, KeyStateFollowsRetrievedMessagesAndAsyncStateTheKeyboard)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    SetFocus(hTop);
    m_harness.PumpPending();
    std::vector<SHORT> shiftAtKeyDown;
    SetHandler(hTop,
               [&](HWND, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg == WM_KEYDOWN)
                       shiftAtKeyDown.push_back(GetKeyState(VK_SHIFT));
                   return std::nullopt;
               });
    m_harness.KeyDown(VK_RSHIFT);
    m_harness.KeyDown('Q');
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetAsyncKeyState(VK_RSHIFT), 0);
    EXPECT_EQ(GetAsyncKeyState(VK_LSHIFT), 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    m_harness.PumpPending();
    ASSERT_EQ(shiftAtKeyDown.size(), 2u);
    EXPECT_LT(shiftAtKeyDown[0], 0);
    EXPECT_LT(shiftAtKeyDown[1], 0);
    EXPECT_EQ(Messages({WM_KEYDOWN})[0].wParam, WPARAM(VK_SHIFT));
    EXPECT_LT(GetKeyState(VK_RSHIFT), 0);
    EXPECT_GE(GetKeyState(VK_LSHIFT), 0);
    m_harness.KeyUp('Q');
    m_harness.KeyUp(VK_RSHIFT);
    m_harness.PumpPending();
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    const SHORT capsBefore = GetKeyState(VK_CAPITAL) & 1;
    m_harness.KeyPress(VK_CAPITAL);
    m_harness.PumpPending();
    EXPECT_NE(GetKeyState(VK_CAPITAL) & 1, capsBefore);
}

TEST_F(InputTest, KeyMessagesCarryScanCodesExtendedAndTransitionBits)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    SetFocus(hTop);
    m_harness.KeyPress(VK_TAB);
    m_harness.KeyDown(VK_LEFT);
    m_harness.KeyDown(VK_LEFT);
    m_harness.KeyUp(VK_LEFT);
    m_harness.PumpPending();
    const auto keys = Messages({WM_KEYDOWN, WM_KEYUP});
    ASSERT_EQ(keys.size(), 5u);
    const auto flags = [](const RecordedMessage& m) { return HIWORD(m.lParam); };
    EXPECT_EQ(flags(keys[0]) & 0xFF, 0x0F);
    EXPECT_EQ(flags(keys[2]) & 0x1FF, 0x14B);
    EXPECT_EQ(flags(keys[2]) & 0x4000, 0);
    EXPECT_EQ(flags(keys[3]) & 0x4000, 0x4000);
    EXPECT_EQ(flags(keys[4]) & 0xC000, 0xC000);
    EXPECT_EQ(LOWORD(keys[0].lParam), 1);
}

TEST_F(InputTest, WheelGoesToTheFocusAndBubblesUpUntilAHandlerStopsIt)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hView = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 300, 300});
    const HWND hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, hView, RECT{0, 0, 100, 100});
    SetFocus(hPane);
    m_harness.PumpPending();
    ClearMessages();
    m_harness.Wheel(-WHEEL_DELTA, POINT{10, 10});
    m_harness.PumpPending();
    auto wheels = Messages({WM_MOUSEWHEEL});
    ASSERT_EQ(wheels.size(), 3u);
    EXPECT_EQ(wheels[0].hWnd, hPane);
    EXPECT_EQ(wheels[1].hWnd, hView);
    EXPECT_EQ(wheels[2].hWnd, hTop);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].wParam), -WHEEL_DELTA);
    EXPECT_EQ(wheels[0].lParam, MAKELPARAM(10, 10));
    SetHandler(hView,
               [](HWND, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
               { return nMsg == WM_MOUSEWHEEL ? std::optional<LRESULT>(0) : std::nullopt; });
    ClearMessages();
    m_harness.Wheel(WHEEL_DELTA, POINT{10, 10});
    m_harness.PumpPending();
    wheels = Messages({WM_MOUSEWHEEL});
    ASSERT_EQ(wheels.size(), 2u);
    EXPECT_EQ(wheels[1].hWnd, hView);
}

TEST_F(InputTest, MouseActivateComesBeforeEachPressAndAsksTheParentFirst)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hView = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 300, 300});
    const HWND hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, hView, RECT{0, 0, 100, 100});
    m_harness.PumpPending();
    ClearMessages();
    const POINT pt = CUiHarness::ScreenPoint(hPane, 5, 5);
    m_harness.Click(enMouseButton::Left, pt);
    m_harness.PumpPending();
    auto sequence = Messages({WM_MOUSEACTIVATE, WM_LBUTTONDOWN});
    ASSERT_EQ(sequence.size(), 4u);
    EXPECT_EQ(sequence[0].hWnd, hPane);
    EXPECT_EQ(sequence[1].hWnd, hView);
    EXPECT_EQ(sequence[2].hWnd, hTop);
    EXPECT_EQ(sequence[3].nMsg, UINT(WM_LBUTTONDOWN));
    EXPECT_EQ(sequence[0].wParam, reinterpret_cast<WPARAM>(hTop));
    EXPECT_EQ(sequence[0].lParam, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(GetFocus(), hTop) << "a press does not move the focus by itself";

    SetHandler(hView,
               [](HWND, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                   return nMsg == WM_MOUSEACTIVATE ? std::optional<LRESULT>(MA_NOACTIVATEANDEAT)
                                                   : std::nullopt;
               });
    ClearMessages();
    m_harness.Click(enMouseButton::Right, pt);
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hPane, WM_RBUTTONDOWN), 0);
    EXPECT_EQ(CountMessages(hPane, WM_RBUTTONUP), 1);
}

TEST_F(InputTest, SetCursorGoesToTheWindowUnderThePointerAndAsksTheParentFirst)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 100, 100});
    m_harness.PumpPending();
    SetCursor(nullptr);
    ClearMessages();
    m_harness.MouseMove(CUiHarness::ScreenPoint(hPane, 5, 5));
    m_harness.PumpPending();
    auto cursors = Messages({WM_SETCURSOR});
    ASSERT_EQ(cursors.size(), 2u);
    EXPECT_EQ(cursors[0].hWnd, hPane);
    EXPECT_EQ(cursors[1].hWnd, hTop);
    EXPECT_EQ(cursors[0].wParam, reinterpret_cast<WPARAM>(hPane));
    EXPECT_EQ(cursors[0].lParam, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));

    const HCURSOR hWait = LoadCursorA(nullptr, IDC_WAIT);
    SetHandler(hTop,
               [&](HWND, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_SETCURSOR)
                       return std::nullopt;
                   SetCursor(hWait);
                   return TRUE;
               });
    m_harness.MouseMove(CUiHarness::ScreenPoint(hPane, 6, 6));
    m_harness.PumpPending();
    EXPECT_EQ(GetCursor(), hWait);
}

struct ClickCase
{
    bool bDoubleClickClass;
    DWORD dwGap;
    int nDx;
    bool bDouble;
};

class DoubleClickTest : public UserTest, public ::testing::WithParamInterface<ClickCase>
{
};

TEST_P(DoubleClickTest, SecondPressBecomesADoubleClickOnlyWithTheStyleWithinTimeAndDistance)
{
    const ClickCase& c = GetParam();
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 100, 100}, 0, 0,
                                        c.bDoubleClickClass);
    m_harness.PumpPending();
    ClearMessages();
    const POINT pt = CUiHarness::ScreenPoint(hPane, 20, 20);
    m_harness.Click(enMouseButton::Left, pt);
    m_harness.AdvanceClock(c.dwGap);
    m_harness.Click(enMouseButton::Left, POINT{pt.x + c.nDx, pt.y});
    m_harness.PumpPending();
    const std::vector<UINT> expected =
        c.bDouble ? std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}
                  : std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP};
    EXPECT_EQ(MessageIds({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}), expected);
}

INSTANTIATE_TEST_SUITE_P(Clicks, DoubleClickTest,
                         ::testing::Values(ClickCase{true, 100, 0, true},
                                           ClickCase{true, 500, 2, true},
                                           ClickCase{true, 501, 0, false},
                                           ClickCase{true, 100, 3, false},
                                           ClickCase{false, 100, 0, false}));

TEST_F(InputTest, ThirdPressAfterADoubleClickIsAPlainPress)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hPane =
        CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 100, 100}, 0, 0, true);
    const POINT pt = CUiHarness::ScreenPoint(hPane, 20, 20);
    for (int i = 0; i < 3; ++i)
        m_harness.Click(enMouseButton::Left, pt);
    m_harness.PumpPending();
    EXPECT_EQ(MessageIds({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
}

TEST_F(InputTest, PressesGoThroughHiddenDisabledAndTransparentWindowsToTheWindowBeneath)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hBelow = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 200, 200});
    const HWND hPreview =
        CreateTestWindow(WS_CHILD | WS_VISIBLE | WS_DISABLED, hTop, RECT{10, 10, 60, 60});
    const HWND hLabel = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{70, 10, 120, 60});
    SetHandler(hLabel,
               [](HWND, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                   return nMsg == WM_NCHITTEST ? std::optional<LRESULT>(HTTRANSPARENT)
                                               : std::nullopt;
               });
    m_harness.PumpPending();
    ClearMessages();
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hTop, 20, 20));
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hTop, 80, 20));
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hBelow, WM_LBUTTONDOWN), 2);
    EXPECT_EQ(CountMessages(hPreview, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(CountMessages(hLabel, WM_LBUTTONDOWN), 0);
}

TEST_F(InputTest, PressOnTheFrameBecomesANonClientMessageWithTheHitCode)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hPane =
        CreateTestWindow(WS_CHILD | WS_VISIBLE | WS_BORDER, hTop, RECT{0, 0, 100, 100});
    m_harness.PumpPending();
    ClearMessages();
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hTop, 0, 50));
    m_harness.PumpPending();
    const auto presses = Messages({WM_NCLBUTTONDOWN});
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].hWnd, hPane);
    EXPECT_EQ(presses[0].wParam, WPARAM(HTBORDER));
    EXPECT_EQ(CountMessages(hPane, WM_LBUTTONDOWN), 0);
}

TEST_F(InputTest, FocusChangeKillsTheOldWindowBeforeSettingTheNew)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hFirst = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 10, 10});
    const HWND hSecond = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{20, 0, 30, 10});
    SetFocus(hFirst);
    ClearMessages();
    EXPECT_EQ(SetFocus(hSecond), hFirst);
    const auto focus = Messages({WM_KILLFOCUS, WM_SETFOCUS});
    ASSERT_EQ(focus.size(), 2u);
    EXPECT_EQ(focus[0].hWnd, hFirst);
    EXPECT_EQ(focus[0].nMsg, UINT(WM_KILLFOCUS));
    EXPECT_EQ(focus[0].wParam, reinterpret_cast<WPARAM>(hSecond));
    EXPECT_EQ(focus[1].hWnd, hSecond);
    EXPECT_EQ(focus[1].wParam, reinterpret_cast<WPARAM>(hFirst));
    EXPECT_EQ(GetFocus(), hSecond);
}

struct KeyNameCase
{
    UINT nVirtKey;
    bool bExtended;
    const char* pszName;
};

class KeyNameTest : public UserTest, public ::testing::WithParamInterface<KeyNameCase>
{
};

TEST_P(KeyNameTest, KeysAreNamedFromTheirScanCode)
{
    const KeyNameCase& c = GetParam();
    const UINT nScan = MapVirtualKeyA(c.nVirtKey, MAPVK_VK_TO_VSC);
    ASSERT_NE(nScan, 0u);
    const LONG lParam = static_cast<LONG>((nScan << 16) | (c.bExtended ? 1U << 24 : 0U));
    char name[64];
    EXPECT_EQ(GetKeyNameTextA(lParam, name, sizeof(name)), int(std::strlen(c.pszName)));
    EXPECT_STREQ(name, c.pszName);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyNameTest,
    ::testing::Values(KeyNameCase{VK_CONTROL, false, "Ctrl"}, KeyNameCase{VK_SHIFT, false, "Shift"},
                      KeyNameCase{VK_MENU, false, "Alt"}, KeyNameCase{VK_DELETE, true, "Del"},
                      KeyNameCase{VK_INSERT, true, "Ins"}, KeyNameCase{VK_F5, false, "F5"},
                      KeyNameCase{VK_F12, false, "F12"}, KeyNameCase{'Z', false, "Z"},
                      KeyNameCase{'7', false, "7"}, KeyNameCase{VK_ADD, false, "Num +"},
                      KeyNameCase{VK_OEM_MINUS, false, "-"}));

TEST_F(InputTest, VirtualKeysMapToScanCodesAndCharacters)
{
    EXPECT_EQ(MapVirtualKeyA(VK_TAB, MAPVK_VK_TO_VSC), 0x0Fu);
    EXPECT_EQ(MapVirtualKeyA(0x1E, MAPVK_VSC_TO_VK), UINT('A'));
    EXPECT_EQ(MapVirtualKeyA(0x2A, MAPVK_VSC_TO_VK), UINT(VK_SHIFT));
    EXPECT_EQ(MapVirtualKeyA('Q', MAPVK_VK_TO_CHAR), UINT('Q'));
    EXPECT_EQ(MapVirtualKeyA(VK_OEM_PLUS, MAPVK_VK_TO_CHAR), UINT('='));
    char name[8];
    EXPECT_EQ(GetKeyNameTextA(0x7F << 16, name, sizeof(name)), 0);
    EXPECT_STREQ(name, "");
}

TEST_F(InputTest, PointerPositionFollowsInputAndStaysInsideTheClip)
{
    m_harness.MouseMove(POINT{300, 200});
    POINT pt;
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, 300);
    RECT clip{0, 0, 100, 100};
    ClipCursor(&clip);
    EXPECT_TRUE(GetCursorPos(&pt));
    EXPECT_EQ(pt.x, 99);
    m_harness.MouseMove(POINT{500, 50});
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, 99);
    EXPECT_EQ(pt.y, 50);
    ClipCursor(nullptr);
}

TEST_F(InputTest, AnEmptyOrOffScreenClipStillHoldsTheCursorInsideIt)
{
    struct ClipCase
    {
        RECT clip;
        RECT kept;
    };
    const RECT desk = []
    {
        RECT rc{};
        GetWindowRect(GetDesktopWindow(), &rc);
        return rc;
    }();
    const ClipCase cases[] = {
        {{50, 60, 50, 60}, {50, 60, 51, 61}},
        {{80, 90, 40, 30}, {40, 30, 80, 90}},
        {{desk.right + 10, 5, desk.right + 20, 9}, {desk.right - 1, 5, desk.right, 9}},
    };
    for (const ClipCase& c : cases)
    {
        m_harness.MouseMove(POINT{300, 200});
        ClipCursor(&c.clip);
        RECT kept{};
        GetClipCursor(&kept);
        EXPECT_TRUE(EqualRect(&kept, &c.kept))
            << kept.left << "," << kept.top << "," << kept.right << "," << kept.bottom;
        POINT pt{};
        GetCursorPos(&pt);
        EXPECT_TRUE(PtInRect(&c.kept, pt)) << pt.x << "," << pt.y;
    }
    ClipCursor(nullptr);
}
} // namespace
