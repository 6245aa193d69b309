#include "X11Keyboard.h"

#include "WinInput.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <iterator>

namespace
{
constexpr UINT kVirtKeyOem102 = 0xE2;

struct SymKey
{
    KeySym sym;
    UINT nVirtKey;
};

constexpr SymKey kSymKeys[] = {
    {XK_BackSpace, VK_BACK},
    {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},
    {XK_Clear, VK_CLEAR},
    {XK_Return, VK_RETURN},
    {XK_Pause, VK_PAUSE},
    {XK_Scroll_Lock, VK_SCROLL},
    {XK_Escape, VK_ESCAPE},
    {XK_Delete, VK_DELETE},
    {XK_Home, VK_HOME},
    {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},
    {XK_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},
    {XK_End, VK_END},
    {XK_Print, VK_SNAPSHOT},
    {XK_Insert, VK_INSERT},
    {XK_Num_Lock, VK_NUMLOCK},
    {XK_Caps_Lock, VK_CAPITAL},
    {XK_Shift_L, VK_LSHIFT},
    {XK_Shift_R, VK_RSHIFT},
    {XK_Control_L, VK_LCONTROL},
    {XK_Control_R, VK_RCONTROL},
    {XK_Alt_L, VK_LMENU},
    {XK_Alt_R, VK_RMENU},
    {XK_Meta_L, VK_LMENU},
    {XK_Meta_R, VK_RMENU},
    {XK_ISO_Level3_Shift, VK_RMENU},
    {XK_space, VK_SPACE},
    {XK_semicolon, VK_OEM_1},
    {XK_equal, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA},
    {XK_minus, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD},
    {XK_slash, VK_OEM_2},
    {XK_grave, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4},
    {XK_backslash, VK_OEM_5},
    {XK_bracketright, VK_OEM_6},
    {XK_apostrophe, VK_OEM_7},
    {XK_less, kVirtKeyOem102}, // the key between left Shift and Z
    {XK_KP_Space, VK_SPACE},
    {XK_KP_Tab, VK_TAB},
    {XK_KP_Enter, VK_RETURN},
    {XK_KP_Home, VK_HOME},
    {XK_KP_Left, VK_LEFT},
    {XK_KP_Up, VK_UP},
    {XK_KP_Right, VK_RIGHT},
    {XK_KP_Down, VK_DOWN},
    {XK_KP_Prior, VK_PRIOR},
    {XK_KP_Next, VK_NEXT},
    {XK_KP_End, VK_END},
    {XK_KP_Begin, VK_CLEAR},
    {XK_KP_Insert, VK_INSERT},
    {XK_KP_Delete, VK_DELETE},
    {XK_KP_Multiply, VK_MULTIPLY},
    {XK_KP_Add, VK_ADD},
    {XK_KP_Separator, VK_SEPARATOR},
    {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_Decimal, VK_DECIMAL},
    {XK_KP_Divide, VK_DIVIDE},
};

// Evdev codes above the ones that equal their set-1 scan code.
struct CodeScan
{
    unsigned nEvdev;
    BYTE nScan;
    bool bExtended;
};

constexpr CodeScan kHighCodes[] = {
    {96, 0x1C, true},  // keypad Enter
    {97, 0x1D, true},  // right Ctrl
    {98, 0x35, true},  // keypad /
    {99, 0x37, true},  // Print
    {100, 0x38, true}, // right Alt
    {102, 0x47, true}, // Home
    {103, 0x48, true}, // Up
    {104, 0x49, true}, // Page Up
    {105, 0x4B, true}, // Left
    {106, 0x4D, true}, // Right
    {107, 0x4F, true}, // End
    {108, 0x50, true}, // Down
    {109, 0x51, true}, // Page Down
    {110, 0x52, true}, // Insert
    {111, 0x53, true}, // Delete
    {119, 0x45, false} // Pause
};

constexpr unsigned kEvdevOffset = 8;
constexpr unsigned kLastPlainEvdev = 88; // F12

UINT FromSymbol(KeySym sym)
{
    if (sym >= XK_a && sym <= XK_z)
        return static_cast<UINT>('A' + (sym - XK_a));
    if (sym >= XK_A && sym <= XK_Z)
        return static_cast<UINT>('A' + (sym - XK_A));
    if (sym >= XK_0 && sym <= XK_9)
        return static_cast<UINT>('0' + (sym - XK_0));
    if (sym >= XK_KP_0 && sym <= XK_KP_9)
        return static_cast<UINT>(VK_NUMPAD0 + (sym - XK_KP_0));
    if (sym >= XK_F1 && sym <= XK_F12)
        return static_cast<UINT>(VK_F1 + (sym - XK_F1));
    for (const SymKey& key : kSymKeys)
    {
        if (key.sym == sym)
            return key.nVirtKey;
    }
    return 0;
}
} // namespace

UINT GetX11VirtualKey(Display* pDisplay, const XKeyEvent& event)
{
    XKeyEvent copy = event;
    KeySym stateSym = NoSymbol;
    char unused[8];
    XLookupString(&copy, unused, sizeof(unused), &stateSym, nullptr);
    if (IsKeypadKey(stateSym))
        return FromSymbol(stateSym);
    const KeySym plainSym = XkbKeycodeToKeysym(pDisplay, static_cast<KeyCode>(event.keycode), 0, 0);
    if (const UINT nVirtKey = FromSymbol(plainSym))
        return nVirtKey;
    // A key of another layout: the US key at that place.
    const KeyStroke scan = GetX11ScanCode(event.keycode);
    return scan.bExtended ? 0 : MapVirtualKeyA(scan.nScanCode, MAPVK_VSC_TO_VK);
}

KeyStroke GetX11ScanCode(unsigned nKeycode)
{
    if (nKeycode <= kEvdevOffset)
        return KeyStroke{};
    const unsigned nEvdev = nKeycode - kEvdevOffset;
    if (nEvdev <= kLastPlainEvdev)
        return KeyStroke{static_cast<BYTE>(nEvdev), false, nullptr};
    for (const CodeScan& code : kHighCodes)
    {
        if (code.nEvdev == nEvdev)
            return KeyStroke{code.nScan, code.bExtended, nullptr};
    }
    return KeyStroke{};
}

bool IsX11AltGr(Display* pDisplay, const XKeyEvent& event)
{
    return XkbKeycodeToKeysym(pDisplay, static_cast<KeyCode>(event.keycode), 0, 0) ==
           XK_ISO_Level3_Shift;
}
