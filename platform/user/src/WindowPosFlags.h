// Flags the layer adds to WINDOWPOS for WM_WINDOWPOSCHANGED, so that its
// default handling sends WM_SIZE and WM_MOVE only for real changes.
#pragma once

#define SWP_NOCLIENTSIZE 0x0800
#define SWP_NOCLIENTMOVE 0x1000
