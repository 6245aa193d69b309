// Keyboard layouts of the display typing into an edit control: AltGr
// characters come as characters (not as Alt menu keys), the key between
// left Shift and Z types, dead keys compose through the display's input
// method, and characters beyond Latin-1 arrive whole. Keys are pressed by
// their key codes (the same keys on every layout) with XTest.
#include "WinControls.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"
#include "X11TestSupport.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
// Key codes of the evdev keyboard map (evdev code + 8).
constexpr unsigned kAltGr = 108;
constexpr unsigned kShift = 50;
constexpr unsigned kQ = 24;
constexpr unsigned kA = 38;
constexpr unsigned kE = 26;
constexpr unsigned kF = 41;
constexpr unsigned kDigit7 = 16;
constexpr unsigned kDigit8 = 17;
constexpr unsigned kDigit9 = 18;
constexpr unsigned kDigit0 = 19;
constexpr unsigned kMinus = 20;        // ß on the German layout
constexpr unsigned kRightBracket = 35; // + on the German layout
constexpr unsigned kLeftBracket = 34;  // the circumflex dead key on the French one
constexpr unsigned kLessGreater = 94;  // between left Shift and Z

// Keys held together, pressed in order and released in reverse.
using Chord = std::vector<unsigned>;

struct LayoutCase
{
    const char* pszLayout;
    std::vector<Chord> chords;
    const char* pszTyped; // UTF-8
};

class X11KeyboardLayoutTest : public X11BackendTest
{
protected:
    void TearDown() override
    {
        SetLayout("us");
        X11BackendTest::TearDown();
    }

    // The layout, and a backend opened on it with an edit control focused.
    void Prepare(const char* pszLayout)
    {
        UserDestroyAllWindows();
        SetLayout(pszLayout);
        SetDisplayBackend(nullptr);
        m_pBackend = std::make_unique<CX11Backend>(DisplayString(Outside()));
        ASSERT_TRUE(m_pBackend->IsOpen());
        SetDisplayBackend(m_pBackend.get());
        m_hTop = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 500, 300});
        ASSERT_NE(m_hTop, nullptr);
        m_hEdit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10,
                                  360, 24, m_hTop, nullptr, nullptr, nullptr);
        ASSERT_NE(m_hEdit, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == m_hTop; }));
        SetFocus(m_hEdit);
        XSetInputFocus(Outside(), XidOf(m_hTop), RevertToParent, CurrentTime);
        XSync(Outside(), False);
        Settle();
        MessageLog().clear();
    }

    void SetLayout(const char* pszLayout)
    {
        const std::string command =
            std::string("setxkbmap -display ") + DisplayString(Outside()) + " " + pszLayout;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        XSync(Outside(), False);
    }

    void Play(const Chord& chord)
    {
        for (unsigned code : chord)
            XTestFakeKeyEvent(Outside(), code, True, 0);
        for (auto it = chord.rbegin(); it != chord.rend(); ++it)
            XTestFakeKeyEvent(Outside(), *it, False, 0);
        XSync(Outside(), False);
        Settle();
    }

    std::string EditText() const
    {
        char szText[256] = "";
        GetWindowTextA(m_hEdit, szText, sizeof(szText));
        return szText;
    }

    HWND m_hTop = nullptr;
    HWND m_hEdit = nullptr;
};

TEST_F(X11KeyboardLayoutTest, EachLayoutTypesItsCharactersIntoAnEdit)
{
    const LayoutCase cases[] = {
        {"de",
         {{kAltGr, kQ},
          {kAltGr, kMinus},
          {kAltGr, kDigit7},
          {kAltGr, kDigit8},
          {kAltGr, kDigit9},
          {kAltGr, kDigit0},
          {kAltGr, kRightBracket},
          {kAltGr, kLessGreater},
          {kLessGreater},
          {kShift, kLessGreater},
          {kAltGr, kE}},
         "@\\{[]}~|<>\xE2\x82\xAC"},
        {"fr",
         {{kLeftBracket}, {kE}, {kQ}, {kAltGr, kE}},
         "\xC3\xAA"
         "a\xE2\x82\xAC"},
        {"ru", {{kF}, {kA}, {kQ}}, "\xD0\xB0\xD1\x84\xD0\xB9"},
    };
    for (const LayoutCase& c : cases)
    {
        Prepare(c.pszLayout);
        for (const Chord& chord : c.chords)
            Play(chord);
        ASSERT_TRUE(PumpUntil([&] { return EditText() == c.pszTyped; }, 3000))
            << c.pszLayout << ": " << EditText();
        EXPECT_EQ(FindLogged(m_hTop, WM_SYSCHAR), nullptr) << c.pszLayout;
        EXPECT_EQ(FindLogged(m_hTop, WM_SYSKEYDOWN), nullptr) << c.pszLayout;
    }
}

// AltGr comes as left Ctrl with right Alt, the way Windows reports it.
TEST_F(X11KeyboardLayoutTest, AltGrIsLeftControlWithRightAlt)
{
    Prepare("de");
    XTestFakeKeyEvent(Outside(), kAltGr, True, 0);
    XSync(Outside(), False);
    ASSERT_TRUE(PumpUntil([] { return (GetKeyState(VK_RMENU) & 0x8000) != 0; }));
    EXPECT_NE(GetKeyState(VK_LCONTROL) & 0x8000, 0);
    EXPECT_NE(GetKeyState(VK_MENU) & 0x8000, 0);
    XTestFakeKeyEvent(Outside(), kAltGr, False, 0);
    XSync(Outside(), False);
    ASSERT_TRUE(PumpUntil([] { return (GetKeyState(VK_RMENU) & 0x8000) == 0; }));
    EXPECT_EQ(GetKeyState(VK_LCONTROL) & 0x8000, 0);
}
} // namespace
