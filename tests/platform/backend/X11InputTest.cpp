// X input through the backend: keys and buttons typed with XTest become the
// layer's messages (virtual keys, scan codes, the extended bit, sided
// modifiers, characters, wheel, double clicks), the key and pointer state
// comes from the server, and X input keeps its place before timers.
#include "WinClock.h"
#include "WinCodePage.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"
#include "X11TestSupport.h"

#include "../base/ScopedCodePage.h"

#include <X11/keysym.h>

#include <chrono>
#include <string>

namespace
{
class X11InputTest : public X11BackendTest
{
protected:
    void SetUp() override
    {
        X11BackendTest::SetUp();
        m_hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 500, 400});
        ASSERT_NE(m_hWnd, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == m_hWnd; }));
        XSetInputFocus(Outside(), XidOf(m_hWnd), RevertToParent, CurrentTime);
        XSync(Outside(), False);
        Settle();
        MessageLog().clear();
    }

    // The characters WM_CHAR brought since the log was cleared.
    std::string TypedCharacters() const
    {
        std::string text;
        for (const LoggedMessage& logged : MessageLog())
        {
            if (logged.nMsg == WM_CHAR)
                text += static_cast<char>(logged.wParam);
        }
        return text;
    }

    void Type(unsigned long keysym)
    {
        PressKey(keysym, true);
        PressKey(keysym, false);
    }

    HWND m_hWnd = nullptr;
};

struct KeyCase
{
    unsigned long keysym;
    UINT nVirtKey;
    BYTE nScan;
    bool bExtended;
    const char* pszChars;
};

TEST_F(X11InputTest, KeysBecomeVirtualKeysWithScanCodesExtendedBitsAndCharacters)
{
    const KeyCase cases[] = {
        {XK_a, 'A', 0x1E, false, "a"},
        {XK_7, '7', 0x08, false, "7"},
        {XK_Return, VK_RETURN, 0x1C, false, "\r"},
        {XK_KP_Enter, VK_RETURN, 0x1C, true, "\r"},
        {XK_Escape, VK_ESCAPE, 0x01, false, "\x1B"},
        {XK_Tab, VK_TAB, 0x0F, false, "\t"},
        {XK_BackSpace, VK_BACK, 0x0E, false, "\b"},
        {XK_Left, VK_LEFT, 0x4B, true, ""},
        {XK_Up, VK_UP, 0x48, true, ""},
        {XK_Home, VK_HOME, 0x47, true, ""},
        {XK_Next, VK_NEXT, 0x51, true, ""},
        {XK_Delete, VK_DELETE, 0x53, true, ""},
        {XK_Insert, VK_INSERT, 0x52, true, ""},
        {XK_F5, VK_F5, 0x3F, false, ""},
        {XK_F12, VK_F12, 0x58, false, ""},
        {XK_minus, VK_OEM_MINUS, 0x0C, false, "-"},
        {XK_equal, VK_OEM_PLUS, 0x0D, false, "="},
        {XK_KP_Add, VK_ADD, 0x4E, false, "+"},
        {XK_KP_Subtract, VK_SUBTRACT, 0x4A, false, "-"},
        {XK_space, VK_SPACE, 0x39, false, " "},
    };
    for (const KeyCase& c : cases)
    {
        MessageLog().clear();
        Type(c.keysym);
        ASSERT_TRUE(PumpUntil([&] { return FindLogged(m_hWnd, WM_KEYUP) != nullptr; }))
            << "key " << c.keysym;
        const LoggedMessage* down = FindLogged(m_hWnd, WM_KEYDOWN);
        ASSERT_NE(down, nullptr);
        EXPECT_EQ(down->wParam, WPARAM(c.nVirtKey)) << "key " << c.keysym;
        EXPECT_EQ((down->lParam >> 16) & 0xFF, LPARAM(c.nScan)) << "key " << c.keysym;
        EXPECT_EQ((down->lParam >> 24) & 1, c.bExtended ? 1 : 0) << "key " << c.keysym;
        EXPECT_EQ(down->lParam & 0xFFFF, 1);
        const LoggedMessage* up = FindLogged(m_hWnd, WM_KEYUP);
        EXPECT_EQ(up->wParam, WPARAM(c.nVirtKey));
        EXPECT_NE(up->lParam & (1L << 31), 0);
        EXPECT_EQ(TypedCharacters(), c.pszChars) << "key " << c.keysym;
    }
}

TEST_F(X11InputTest, ModifiersAreSidedInTheKeyStateAndGenericInMessages)
{
    PressKey(XK_Shift_R, true);
    ASSERT_TRUE(PumpUntil([&] { return FindLogged(m_hWnd, WM_KEYDOWN) != nullptr; }));
    EXPECT_EQ(FindLogged(m_hWnd, WM_KEYDOWN)->wParam, WPARAM(VK_SHIFT));
    EXPECT_EQ((FindLogged(m_hWnd, WM_KEYDOWN)->lParam >> 16) & 0xFF, 0x36);
    EXPECT_LT(GetKeyState(VK_RSHIFT), 0);
    EXPECT_GE(GetKeyState(VK_LSHIFT), 0);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetAsyncKeyState(VK_RSHIFT), 0);
    EXPECT_GE(GetAsyncKeyState(VK_LSHIFT), 0);
    Type(XK_a);
    PressKey(XK_Shift_R, false);
    PressKey(XK_Control_R, true);
    ASSERT_TRUE(PumpUntil([&] { return GetKeyState(VK_RCONTROL) < 0; }));
    const LoggedMessage* control = FindLogged(m_hWnd, WM_KEYDOWN, MessageLog().size() - 1);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->wParam, WPARAM(VK_CONTROL));
    EXPECT_EQ((control->lParam >> 24) & 1, 1) << "right Ctrl is extended";
    Type(XK_a);
    PressKey(XK_Control_R, false);
    ASSERT_TRUE(PumpUntil([&] { return GetKeyState(VK_CONTROL) >= 0; }));
    EXPECT_EQ(TypedCharacters(), "A\x01");
    EXPECT_GE(GetAsyncKeyState(VK_CONTROL), 0);
}

TEST_F(X11InputTest, TypedTextReachesWmCharInTheAnsiCodePage)
{
    // A key of a foreign layout: a spare key code typing u with diaeresis.
    int nMin = 0;
    int nMax = 0;
    XDisplayKeycodes(Outside(), &nMin, &nMax);
    KeySym symbols[] = {XK_udiaeresis, XK_Udiaeresis};
    XChangeKeyboardMapping(Outside(), nMax, 2, symbols, 1);
    XSync(Outside(), False);
    Settle();
    Type(XK_udiaeresis);
    ASSERT_TRUE(PumpUntil([&] { return TypedCharacters().size() >= 2; }));
    EXPECT_EQ(TypedCharacters(), "\xC3\xBC") << "UTF-8, one WM_CHAR per byte";
    {
        CScopedCodePage latin(1252);
        MessageLog().clear();
        Type(XK_udiaeresis);
        ASSERT_TRUE(PumpUntil([&] { return FindLogged(m_hWnd, WM_KEYUP) != nullptr; }));
        EXPECT_EQ(TypedCharacters(), "\xFC");
    }
    KeySym none[] = {NoSymbol, NoSymbol};
    XChangeKeyboardMapping(Outside(), nMax, 2, none, 1);
    XSync(Outside(), False);
}

struct ButtonCase
{
    unsigned nButton;
    UINT nDown;
    UINT nUp;
};

TEST_F(X11InputTest, ButtonsWheelAndDoubleClicksBecomeMouseMessages)
{
    POINT pt{30, 40};
    ClientToScreen(m_hWnd, &pt);
    MovePointer(pt);
    for (const ButtonCase& c :
         {ButtonCase{1, WM_LBUTTONDOWN, WM_LBUTTONUP}, ButtonCase{2, WM_MBUTTONDOWN, WM_MBUTTONUP},
          ButtonCase{3, WM_RBUTTONDOWN, WM_RBUTTONUP}})
    {
        MessageLog().clear();
        PressButton(c.nButton, true);
        PressButton(c.nButton, false);
        ASSERT_TRUE(PumpUntil([&] { return FindLogged(m_hWnd, c.nUp) != nullptr; }));
        const LoggedMessage* down = FindLogged(m_hWnd, c.nDown);
        ASSERT_NE(down, nullptr) << "button " << c.nButton;
        EXPECT_EQ(GET_X_LPARAM(down->lParam), 30);
        EXPECT_EQ(GET_Y_LPARAM(down->lParam), 40);
        EXPECT_NE(down->wParam & (c.nButton == 1   ? MK_LBUTTON
                                  : c.nButton == 2 ? MK_MBUTTON
                                                   : MK_RBUTTON),
                  0u);
    }
    for (const int nDelta : {120, -120})
    {
        MessageLog().clear();
        PressButton(nDelta > 0 ? 4 : 5, true);
        PressButton(nDelta > 0 ? 4 : 5, false);
        ASSERT_TRUE(PumpUntil([&] { return FindLogged(m_hWnd, WM_MOUSEWHEEL) != nullptr; }));
        const LoggedMessage* wheel = FindLogged(m_hWnd, WM_MOUSEWHEEL);
        EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel->wParam), nDelta);
        EXPECT_EQ(GET_X_LPARAM(wheel->lParam), pt.x) << "screen coordinates";
    }
    MessageLog().clear();
    for (int i = 0; i < 2; ++i)
    {
        PressButton(1, true);
        PressButton(1, false);
    }
    ASSERT_TRUE(PumpUntil([&] { return FindLogged(m_hWnd, WM_LBUTTONDBLCLK) != nullptr; }));
    EXPECT_NE(FindLogged(m_hWnd, WM_LBUTTONDOWN), nullptr);
}

TEST_F(X11InputTest, PointerAndButtonStateComeFromTheServer)
{
    // Where no window of ours is, the layer gets no event at all.
    MovePointer(POINT{1500, 900});
    POINT pt{};
    GetCursorPos(&pt);
    EXPECT_EQ(pt.x, 1500);
    EXPECT_EQ(pt.y, 900);
    PressButton(1, true);
    EXPECT_LT(GetAsyncKeyState(VK_LBUTTON), 0);
    PressButton(1, false);
    EXPECT_GE(GetAsyncKeyState(VK_LBUTTON), 0);
}

TEST_F(X11InputTest, InputComesBeforeADueTimerAndAfterPostedMessages)
{
    CManualClock clock;
    CScopedPlatformClock clockScope(clock);
    SetTimer(m_hWnd, 7, 100, nullptr);
    Type(XK_b);
    MSG msg;
    // The key is in the layer's queue once a peek has read the connection.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!PeekMessageA(&msg, nullptr, WM_KEYUP, WM_KEYUP, PM_NOREMOVE))
    {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the key never came";
        Backend().Wait(20);
    }
    PostMessageA(m_hWnd, WM_USER + 5, 0, 0);
    clock.Advance(200);
    std::vector<UINT> order;
    while (PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE) && order.size() < 8)
    {
        if (msg.message != WM_PAINT)
            order.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    const std::vector<UINT> expected{WM_USER + 5, WM_KEYDOWN, WM_KEYUP, WM_TIMER};
    EXPECT_EQ(order, expected);
    KillTimer(m_hWnd, 7);
}
} // namespace
