// Moving and sizing a top-level window by its caption and edges: the
// rectangle the window takes when the pointer has moved by delta since the
// press on the part with hit code nHitTest (HTCAPTION moves, an edge or
// corner moves that edge), never smaller than the minimum size; an edge
// that would pass the minimum stops there, the opposite edge stays.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

PLATFORMUI_API RECT CalcMoveSizeRect(const RECT& rcStart, int nHitTest, POINT delta,
                                     SIZE sizeMinimum);
