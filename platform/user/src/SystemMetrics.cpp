// One fixed table of metrics and the system parameters callers read; the
// screen's own come from the display's size (the desktop window).
#include "WinError.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"

#include <cstring>
#include <utility>

namespace
{
constexpr std::pair<int, int> kMetrics[] = {
    {SM_CXVSCROLL, 16},   {SM_CYHSCROLL, 16},
    {SM_CYCAPTION, 19},   {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},     {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},   {SM_CYVTHUMB, 16},
    {SM_CXHTHUMB, 16},    {SM_CXICON, 32},
    {SM_CYICON, 32},      {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},    {SM_CYMENU, 19},
    {SM_CYVSCROLL, 16},   {SM_CXHSCROLL, 16},
    {SM_SWAPBUTTON, 0},   {SM_CXMIN, 112},
    {SM_CYMIN, 27},       {SM_CXSIZE, 18},
    {SM_CYSIZE, 18},      {SM_CXFRAME, 4},
    {SM_CYFRAME, 4},      {SM_CXMINTRACK, 112},
    {SM_CYMINTRACK, 27},  {SM_CXDOUBLECLK, 4},
    {SM_CYDOUBLECLK, 4},  {SM_CMOUSEBUTTONS, 3},
    {SM_CXEDGE, 2},       {SM_CYEDGE, 2},
    {SM_CXSMICON, 16},    {SM_CYSMICON, 16},
    {SM_CYSMCAPTION, 15}, {SM_CXDRAG, 4},
    {SM_CYDRAG, 4},       {SM_CXMENUCHECK, 13},
    {SM_CYMENUCHECK, 13}, {SM_MOUSEWHEELPRESENT, 1},
    {SM_CMONITORS, 1},
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
// The metrics that follow the screen's size; 0 for the others.
int ScreenMetric(int index)
{
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    const int cx = screen.right - screen.left;
    const int cy = screen.bottom - screen.top;
    switch (index)
    {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
        return cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return cy;
    case SM_CYFULLSCREEN:
        return cy - 19;
    case SM_CXMAXIMIZED:
        return cx + 8;
    case SM_CYMAXIMIZED:
        return cy + 8;
    default:
        return 0;
    }
}

} // namespace

int GetSystemMetrics(int index)
{
    if (const int nScreen = ScreenMetric(index); nScreen != 0)
        return nScreen;
    for (const auto& [metric, value] : kMetrics)
    {
        if (metric == index)
            return value;
    }
    return 0;
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
        return StoreParameter<RECT>(
            pvParam, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    case SPI_GETWHEELSCROLLLINES:
        return StoreParameter<UINT>(pvParam, 3);
    case SPI_GETBORDER:
        return StoreParameter<int>(pvParam, 1);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}
