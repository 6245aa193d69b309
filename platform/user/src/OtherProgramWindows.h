// The window calls that also accept another program's top-level window hand
// such a handle to the display backend (ForeignWindows.h). These helpers
// find out whether a handle is one, continue the desktop walk from this
// process's top-level windows into the other programs', and carry out the
// requests other programs make of this process's windows.
#pragma once

#include "ForeignWindows.h"
#include "WindowTree.h"

// The backend's view of other programs' windows when the handle is a live
// one of them (never for a window of this process), else null.
CForeignWindows* AsForeignWindow(HWND hWnd);

// The desktop walk past this process's top-level windows: GW_HWNDNEXT,
// GW_HWNDPREV and GW_HWNDLAST among the desktop's children, where
// hWnd is a top-level window of this process or of another program;
// GW_CHILD of the desktop when this process has no top-level window.
// Null when the walk ends there.
HWND GetDesktopChildAcrossPrograms(HWND hWnd, UINT cmd);

// A property of this process's window changed; top-level ones are shown
// to other programs.
void PublishOwnProp(const WindowData& window, LPCSTR lpszName, HANDLE hData, bool bRemoved);
