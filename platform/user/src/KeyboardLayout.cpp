#include "KeyboardLayout.h"

#include "WinInput.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace
{
constexpr char kLetterRow1[] = "QWERTYUIOP";
constexpr char kLetterRow2[] = "ASDFGHJKL";
constexpr char kLetterRow3[] = "ZXCVBNM";
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

struct OemKey
{
    UINT nVirtKey;
    char plain;
    char shifted;
    BYTE nScan;
};

constexpr OemKey kOemKeys[] = {
    {VK_OEM_1, ';', ':', 0x27},     {VK_OEM_PLUS, '=', '+', 0x0D},   {VK_OEM_COMMA, ',', '<', 0x33},
    {VK_OEM_MINUS, '-', '_', 0x0C}, {VK_OEM_PERIOD, '.', '>', 0x34}, {VK_OEM_2, '/', '?', 0x35},
    {VK_OEM_3, '`', '~', 0x29},     {VK_OEM_4, '[', '{', 0x1A},      {VK_OEM_5, '\\', '|', 0x2B},
    {VK_OEM_6, ']', '}', 0x1B},     {VK_OEM_7, '\'', '"', 0x28},
};

struct FixedScan
{
    UINT nVirtKey;
    BYTE nScan;
    bool bExtended;
};

constexpr FixedScan kFixedScans[] = {
    {VK_ESCAPE, 0x01, false},   {VK_BACK, 0x0E, false},     {VK_TAB, 0x0F, false},
    {VK_RETURN, 0x1C, false},   {VK_LCONTROL, 0x1D, false}, {VK_CONTROL, 0x1D, false},
    {VK_RCONTROL, 0x1D, true},  {VK_LSHIFT, 0x2A, false},   {VK_SHIFT, 0x2A, false},
    {VK_RSHIFT, 0x36, false},   {VK_MULTIPLY, 0x37, false}, {VK_LMENU, 0x38, false},
    {VK_MENU, 0x38, false},     {VK_RMENU, 0x38, true},     {VK_SPACE, 0x39, false},
    {VK_CAPITAL, 0x3A, false},  {VK_NUMLOCK, 0x45, false},  {VK_SCROLL, 0x46, false},
    {VK_HOME, 0x47, true},      {VK_UP, 0x48, true},        {VK_PRIOR, 0x49, true},
    {VK_SUBTRACT, 0x4A, false}, {VK_LEFT, 0x4B, true},      {VK_CLEAR, 0x4C, false},
    {VK_RIGHT, 0x4D, true},     {VK_ADD, 0x4E, false},      {VK_END, 0x4F, true},
    {VK_DOWN, 0x50, true},      {VK_NEXT, 0x51, true},      {VK_INSERT, 0x52, true},
    {VK_DELETE, 0x53, true},    {VK_DECIMAL, 0x53, false},  {VK_DIVIDE, 0x35, true},
    {VK_F11, 0x57, false},      {VK_F12, 0x58, false},
};

constexpr BYTE kNumpadScans[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};

bool IsDown(const BYTE* keyState, UINT nVirtKey)
{
    return (keyState[nVirtKey] & 0x80) != 0;
}

struct LetterRow
{
    const char* letters;
    BYTE nFirstScan;
};

constexpr LetterRow kLetterRows[] = {{kLetterRow1, 0x10}, {kLetterRow2, 0x1E}, {kLetterRow3, 0x2C}};

BYTE LetterScan(char letter)
{
    for (const LetterRow& row : kLetterRows)
    {
        if (const char* at = std::strchr(row.letters, letter))
            return static_cast<BYTE>(row.nFirstScan + (at - row.letters));
    }
    return 0;
}
} // namespace

KeyScanInfo GetKeyScanInfo(UINT nVirtKey)
{
    if (nVirtKey >= 'A' && nVirtKey <= 'Z')
        return {LetterScan(static_cast<char>(nVirtKey)), false};
    if (nVirtKey >= '1' && nVirtKey <= '9')
        return {static_cast<BYTE>(0x02 + nVirtKey - '1'), false};
    if (nVirtKey == '0')
        return {0x0B, false};
    if (nVirtKey >= VK_F1 && nVirtKey <= VK_F10)
        return {static_cast<BYTE>(0x3B + nVirtKey - VK_F1), false};
    if (nVirtKey >= VK_NUMPAD0 && nVirtKey <= VK_NUMPAD9)
        return {kNumpadScans[nVirtKey - VK_NUMPAD0], false};
    for (const OemKey& key : kOemKeys)
    {
        if (key.nVirtKey == nVirtKey)
            return {key.nScan, false};
    }
    for (const FixedScan& key : kFixedScans)
    {
        if (key.nVirtKey == nVirtKey)
            return {key.nScan, key.bExtended};
    }
    return {0, false};
}

char GetKeyCharacter(UINT nVirtKey, const BYTE* keyState)
{
    const bool bShift = IsDown(keyState, VK_SHIFT);
    const bool bCtrl = IsDown(keyState, VK_CONTROL);
    if (bCtrl && IsDown(keyState, VK_MENU))
        return 0;
    switch (nVirtKey)
    {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
        return static_cast<char>(nVirtKey);
    case VK_SPACE:
        return ' ';
    case VK_ADD:
        return '+';
    case VK_SUBTRACT:
        return '-';
    case VK_MULTIPLY:
        return '*';
    case VK_DIVIDE:
        return '/';
    default:
        break;
    }
    if (nVirtKey >= 'A' && nVirtKey <= 'Z')
    {
        if (bCtrl)
            return static_cast<char>(nVirtKey - 'A' + 1);
        const bool bCaps = (keyState[VK_CAPITAL] & 0x01) != 0;
        return static_cast<char>(bShift != bCaps ? nVirtKey : std::tolower(int(nVirtKey)));
    }
    if (bCtrl)
        return nVirtKey == VK_OEM_4 ? char(27) : char(0);
    if (nVirtKey >= '0' && nVirtKey <= '9')
        return bShift ? kShiftedDigits[nVirtKey - '0'] : static_cast<char>(nVirtKey);
    if (nVirtKey >= VK_NUMPAD0 && nVirtKey <= VK_NUMPAD9)
        return static_cast<char>('0' + nVirtKey - VK_NUMPAD0);
    if (nVirtKey == VK_DECIMAL)
        return '.';
    for (const OemKey& key : kOemKeys)
    {
        if (key.nVirtKey == nVirtKey)
            return bShift ? key.shifted : key.plain;
    }
    return 0;
}

UINT GetGenericVirtKey(UINT nVirtKey)
{
    switch (nVirtKey)
    {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return nVirtKey;
    }
}

namespace
{
struct NamedScan
{
    BYTE nScan;
    bool bExtended;
    LPCSTR pszName;
};

// Names of keys that are not a single character.
constexpr NamedScan kKeyNames[] = {
    {0x01, false, "Esc"},         {0x0E, false, "Backspace"}, {0x0F, false, "Tab"},
    {0x1C, false, "Enter"},       {0x1C, true, "Num Enter"},  {0x1D, false, "Ctrl"},
    {0x1D, true, "Right Ctrl"},   {0x2A, false, "Shift"},     {0x36, false, "Right Shift"},
    {0x37, false, "Num *"},       {0x38, false, "Alt"},       {0x38, true, "Right Alt"},
    {0x39, false, "Space"},       {0x3A, false, "Caps Lock"}, {0x45, false, "Num Lock"},
    {0x46, false, "Scroll Lock"}, {0x47, false, "Num 7"},     {0x47, true, "Home"},
    {0x48, false, "Num 8"},       {0x48, true, "Up"},         {0x49, false, "Num 9"},
    {0x49, true, "Page Up"},      {0x4A, false, "Num -"},     {0x4B, false, "Num 4"},
    {0x4B, true, "Left"},         {0x4C, false, "Num 5"},     {0x4D, false, "Num 6"},
    {0x4D, true, "Right"},        {0x4E, false, "Num +"},     {0x4F, false, "Num 1"},
    {0x4F, true, "End"},          {0x50, false, "Num 2"},     {0x50, true, "Down"},
    {0x51, false, "Num 3"},       {0x51, true, "Page Down"},  {0x52, false, "Num 0"},
    {0x52, true, "Ins"},          {0x53, false, "Num Del"},   {0x53, true, "Del"},
    {0x35, true, "Num /"},        {0x57, false, "F11"},       {0x58, false, "F12"},
};

// The virtual key of a scan code on the main keyboard (no numeric pad).
UINT VirtKeyOfScan(BYTE nScan, bool bExtended)
{
    constexpr UINT kCandidates[] = {
        VK_ESCAPE, VK_BACK,    VK_TAB,    VK_RETURN, VK_LCONTROL, VK_LSHIFT, VK_RSHIFT,  VK_LMENU,
        VK_SPACE,  VK_CAPITAL, VK_HOME,   VK_UP,     VK_PRIOR,    VK_LEFT,   VK_RIGHT,   VK_END,
        VK_DOWN,   VK_NEXT,    VK_INSERT, VK_DELETE, VK_F11,      VK_F12,    VK_NUMLOCK, VK_SCROLL};
    for (UINT nVirtKey = '0'; nVirtKey <= 'Z'; ++nVirtKey)
    {
        const KeyScanInfo info = GetKeyScanInfo(nVirtKey);
        if (info.nScanCode == nScan && !bExtended)
            return nVirtKey;
    }
    for (UINT nVirtKey = VK_F1; nVirtKey <= VK_F10; ++nVirtKey)
    {
        if (GetKeyScanInfo(nVirtKey).nScanCode == nScan && !bExtended)
            return nVirtKey;
    }
    for (UINT nVirtKey : kCandidates)
    {
        const KeyScanInfo info = GetKeyScanInfo(nVirtKey);
        if (info.nScanCode == nScan && info.bExtended == bExtended)
            return nVirtKey;
    }
    for (const OemKey& key : kOemKeys)
    {
        if (key.nScan == nScan && !bExtended)
            return key.nVirtKey;
    }
    return 0;
}
} // namespace

UINT MapVirtualKeyA(UINT code, UINT mapType)
{
    switch (mapType)
    {
    case MAPVK_VK_TO_VSC:
        return GetKeyScanInfo(code & 0xFF).nScanCode;
    case MAPVK_VSC_TO_VK:
    {
        const UINT nVirtKey = VirtKeyOfScan(static_cast<BYTE>(code), false);
        return nVirtKey == VK_LSHIFT || nVirtKey == VK_RSHIFT ? VK_SHIFT
                                                              : GetGenericVirtKey(nVirtKey);
    }
    case MAPVK_VK_TO_CHAR:
    {
        const BYTE noKeys[256] = {};
        const char ch = GetKeyCharacter(code & 0xFF, noKeys);
        return static_cast<UINT>(std::toupper(static_cast<unsigned char>(ch)));
    }
    default:
        return 0;
    }
}

int GetKeyNameTextA(LONG lParam, LPSTR buffer, int size)
{
    if (buffer == nullptr || size <= 0)
        return 0;
    const auto nScan = static_cast<BYTE>((lParam >> 16) & 0xFF);
    const bool bExtended = (lParam & (1L << 24)) != 0;
    std::string name;
    for (const NamedScan& key : kKeyNames)
    {
        if (key.nScan == nScan && key.bExtended == bExtended)
            name = key.pszName;
    }
    if (name.empty() && nScan >= 0x3B && nScan <= 0x44)
    {
        name = "F";
        name += std::to_string(nScan - 0x3B + 1);
    }
    if (name.empty() && !bExtended)
    {
        const BYTE noKeys[256] = {};
        const char ch = GetKeyCharacter(VirtKeyOfScan(nScan, false), noKeys);
        if (ch > ' ')
            name.assign(1, static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
    }
    const int count = std::min(static_cast<int>(name.size()), size - 1);
    std::memcpy(buffer, name.data(), std::size_t(count));
    buffer[count] = '\0';
    return count;
}
