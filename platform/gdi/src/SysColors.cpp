// The classic grey colour scheme and a brush of each colour.
#include "WinSysColors.h"

namespace
{
constexpr int kColorCount = COLOR_MENUBAR + 1;

constexpr COLORREF kColors[kColorCount] = {
    RGB(212, 208, 200), // scroll bar
    RGB(58, 110, 165),  // background
    RGB(10, 36, 106),   // active caption
    RGB(128, 128, 128), // inactive caption
    RGB(212, 208, 200), // menu
    RGB(255, 255, 255), // window
    RGB(0, 0, 0),       // window frame
    RGB(0, 0, 0),       // menu text
    RGB(0, 0, 0),       // window text
    RGB(255, 255, 255), // caption text
    RGB(212, 208, 200), // active border
    RGB(212, 208, 200), // inactive border
    RGB(128, 128, 128), // application workspace
    RGB(10, 36, 106),   // highlight
    RGB(255, 255, 255), // highlight text
    RGB(212, 208, 200), // button face
    RGB(128, 128, 128), // button shadow
    RGB(128, 128, 128), // grey text
    RGB(0, 0, 0),       // button text
    RGB(212, 208, 200), // inactive caption text
    RGB(255, 255, 255), // button highlight
    RGB(64, 64, 64),    // 3-D dark shadow
    RGB(212, 208, 200), // 3-D light
    RGB(0, 0, 0),       // tool-tip text
    RGB(255, 255, 225), // tool-tip background
    RGB(181, 181, 181), // (unused slot 25)
    RGB(0, 0, 128),     // hot-tracked item
    RGB(166, 202, 240), // gradient of the active caption
    RGB(192, 192, 192), // gradient of the inactive caption
    RGB(10, 36, 106),   // highlighted menu item
    RGB(212, 208, 200), // menu bar
};
} // namespace

DWORD GetSysColor(int index)
{
    return index >= 0 && index < kColorCount ? kColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index)
{
    static HBRUSH brushes[kColorCount] = {};
    if (index < 0 || index >= kColorCount)
        return nullptr;
    if (brushes[index] == nullptr)
        brushes[index] = CreateSolidBrush(kColors[index]);
    return brushes[index];
}
