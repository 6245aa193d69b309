// The layer's own loop that moves or sizes a top-level window while the
// left button is down after a press on its caption or an edge; Escape puts
// the window back.
#pragma once

#include "WinUserDefs.h"

bool IsMoveSizeHit(int nHitTest);
void TrackMoveSize(HWND hWnd, int nHitTest, POINT ptStart);
