// The default non-client area: borders and edges by style, the caption of
// captioned windows and the window scroll bars; its size (WM_NCCALCSIZE),
// its hit codes (WM_NCHITTEST) and its drawing (WM_NCPAINT).
#pragma once

#include "WindowTree.h"

#include <optional>

struct FrameInsets
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Borders, edges and caption of a style; no scroll bars and no menu.
FrameInsets GetFrameInsets(DWORD dwStyle, DWORD dwExStyle);
// The client rectangle the default WM_NCCALCSIZE makes of a window
// rectangle (same coordinates), scroll bars included.
RECT CalcDefaultClientRect(const WindowData& window, const RECT& rcWindow);
int CalcDefaultHitTest(const WindowData& window, POINT ptScreen);
// bActive: how to draw the caption (unset: as the frame's activation is).
void PaintDefaultFrame(WindowData& window, std::optional<bool> bActive = std::nullopt);
// The caption rectangle in window coordinates; empty without WS_CAPTION.
RECT GetCaptionRect(const WindowData& window);
