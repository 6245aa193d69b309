// Window scroll bars: their layout in the non-client area, drawing and the
// mouse tracking that sends WM_HSCROLL and WM_VSCROLL.
#pragma once

#include "WindowTree.h"

struct ScrollBarLayout
{
    RECT rcBar{};        // window coordinates
    RECT rcArrow1{};     // up or left
    RECT rcArrow2{};     // down or right
    RECT rcThumb{};      // empty when the bar has no room or range for one
    int nTrackStart = 0; // along the bar, window coordinates
    int nTrackLength = 0;
    int nThumbLength = 0;
    bool bVertical = false;
    bool bEnabled = false;
};

bool IsScrollBarShown(const WindowData& window, int nBar);
bool GetScrollBarLayout(const WindowData& window, int nBar, ScrollBarLayout& layout);
void DrawScrollBar(HDC hdc, const ScrollBarLayout& layout);
// The modal loop of a press on a window scroll bar (screen point).
void TrackScrollBar(HWND hWnd, int nBar, POINT ptScreen);
// The highest position the page allows.
int GetMaxScrollPos(const ScrollBarData& data);
