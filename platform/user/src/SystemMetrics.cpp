// One fixed table of metrics, a classic grey colour scheme and the system
// parameters callers read.
#include "WinError.h"
#include "WinSysMetrics.h"

#include <cstring>
#include <utility>

namespace
{
constexpr std::pair<int, int> kMetrics[] = {
    {SM_CXSCREEN, GDI_SCREEN_WIDTH},
    {SM_CYSCREEN, GDI_SCREEN_HEIGHT},
    {SM_CXVSCROLL, 16},
    {SM_CYHSCROLL, 16},
    {SM_CYCAPTION, 19},
    {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},
    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},
    {SM_CYVTHUMB, 16},
    {SM_CXHTHUMB, 16},
    {SM_CXICON, 32},
    {SM_CYICON, 32},
    {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},
    {SM_CYMENU, 19},
    {SM_CXFULLSCREEN, GDI_SCREEN_WIDTH},
    {SM_CYFULLSCREEN, GDI_SCREEN_HEIGHT - 19},
    {SM_CYVSCROLL, 16},
    {SM_CXHSCROLL, 16},
    {SM_SWAPBUTTON, 0},
    {SM_CXMIN, 112},
    {SM_CYMIN, 27},
    {SM_CXSIZE, 18},
    {SM_CYSIZE, 18},
    {SM_CXFRAME, 4},
    {SM_CYFRAME, 4},
    {SM_CXMINTRACK, 112},
    {SM_CYMINTRACK, 27},
    {SM_CXDOUBLECLK, 4},
    {SM_CYDOUBLECLK, 4},
    {SM_CMOUSEBUTTONS, 3},
    {SM_CXEDGE, 2},
    {SM_CYEDGE, 2},
    {SM_CXSMICON, 16},
    {SM_CYSMICON, 16},
    {SM_CYSMCAPTION, 15},
    {SM_CXMAXIMIZED, GDI_SCREEN_WIDTH + 8},
    {SM_CYMAXIMIZED, GDI_SCREEN_HEIGHT + 8},
    {SM_CXDRAG, 4},
    {SM_CYDRAG, 4},
    {SM_CXMENUCHECK, 13},
    {SM_CYMENUCHECK, 13},
    {SM_MOUSEWHEELPRESENT, 1},
    {SM_CXVIRTUALSCREEN, GDI_SCREEN_WIDTH},
    {SM_CYVIRTUALSCREEN, GDI_SCREEN_HEIGHT},
    {SM_CMONITORS, 1},
};

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

LOGFONTA MakeFont(LONG weight)
{
    LOGFONTA font{};
    font.lfHeight = -11;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, "MS Sans Serif", LF_FACESIZE - 1);
    return font;
}

BOOL GetNonClientMetrics(UINT param, LPVOID pvParam)
{
    auto* metrics = static_cast<NONCLIENTMETRICSA*>(pvParam);
    if (metrics == nullptr || (param != 0 && param < sizeof(NONCLIENTMETRICSA)))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    metrics->cbSize = sizeof(NONCLIENTMETRICSA);
    metrics->iBorderWidth = 1;
    metrics->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    metrics->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    metrics->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
    metrics->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
    metrics->lfCaptionFont = MakeFont(FW_BOLD);
    metrics->iSmCaptionWidth = 12;
    metrics->iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
    metrics->lfSmCaptionFont = MakeFont(FW_BOLD);
    metrics->iMenuWidth = GetSystemMetrics(SM_CYMENU);
    metrics->iMenuHeight = GetSystemMetrics(SM_CYMENU);
    metrics->lfMenuFont = MakeFont(FW_NORMAL);
    metrics->lfStatusFont = MakeFont(FW_NORMAL);
    metrics->lfMessageFont = MakeFont(FW_NORMAL);
    return TRUE;
}

template <typename T> BOOL StoreParameter(LPVOID pvParam, T value)
{
    if (pvParam == nullptr)
        return FALSE;
    *static_cast<T*>(pvParam) = value;
    return TRUE;
}
} // namespace

int GetSystemMetrics(int index)
{
    for (const auto& [metric, value] : kMetrics)
    {
        if (metric == index)
            return value;
    }
    return 0;
}

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

BOOL SystemParametersInfoA(UINT action, UINT param, LPVOID pvParam, UINT)
{
    switch (action)
    {
    case SPI_GETNONCLIENTMETRICS:
        return GetNonClientMetrics(param, pvParam);
    case SPI_GETDRAGFULLWINDOWS:
        return StoreParameter<BOOL>(pvParam, TRUE);
    case SPI_GETWORKAREA:
        return StoreParameter<RECT>(pvParam, {0, 0, GDI_SCREEN_WIDTH, GDI_SCREEN_HEIGHT});
    case SPI_GETWHEELSCROLLLINES:
        return StoreParameter<UINT>(pvParam, 3);
    case SPI_GETBORDER:
        return StoreParameter<int>(pvParam, 1);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}
