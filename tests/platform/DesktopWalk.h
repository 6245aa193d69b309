// The top-level windows in the order of the desktop walk: the desktop's
// first child, then each next sibling while the handle is a window.
#pragma once

#include "WinWindow.h"

#include <vector>

inline std::vector<HWND> WalkDesktop()
{
    std::vector<HWND> walked;
    for (HWND hWnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(hWnd);
         hWnd = GetWindow(hWnd, GW_HWNDNEXT))
        walked.push_back(hWnd);
    return walked;
}
