// The example programs run on a private X server: started with the server
// as their display, their top-level window found by process id and read
// back, closed as a window manager closes it, and waited for.
#pragma once

#include "UiHarness.h"

#include <X11/Xlib.h>

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// Polls done() until it answers true; false after the timeout.
bool WaitFor(const std::function<bool()>& done, int nTimeoutMs);
// The program of the build's output folder, started on the display.
pid_t StartScreenProgram(const std::string& display, const std::string& program,
                         const std::vector<std::string>& arguments);
// The program's exit status once it ended (pid then -1), else -1.
int WaitForProgramExit(pid_t& pid, int nTimeoutMs);
// The mapped top-level window whose _NET_WM_PID is the program's; 0 if none.
Window FindWindowOf(Display* pDisplay, pid_t pid);
// The window's pixels as 0xRRGGBB, top row first.
WindowPicture ReadWindow(Display* pDisplay, Window window, int nWidth, int nHeight);
// The window manager's close request (WM_DELETE_WINDOW).
void RequestClose(Display* pDisplay, Window window);
