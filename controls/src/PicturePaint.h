// What the picture controls share: where a picture goes in its window, and
// the embossed prompt a window shows while it has no picture.
#pragma once

#include "AfxWnd.h"

// The rectangle a width x height picture takes in target: the whole target
// when fitted, else the largest rectangle of its aspect, centred; the align
// flags then push it to x = 0 or y = 0.
CRect GetPictureRect(const CRect& target, int width, int height, BOOL bFit, BOOL bAlignLeft,
                     BOOL bAlignTop);

// The prompt on one centred line over the window's client area, embossed
// (highlight, then shadow one pixel up and left) on the button face, in a
// "Times" font of the given height and width; drawn off-screen and copied.
void PaintEmbossedPrompt(CWnd& wnd, CDC& dc, const CString& prompt, int nFontHeight,
                         int nFontWidth);
