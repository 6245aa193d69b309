// The end of a test that started a program of the build on its private X
// server: the program, if it still runs, killed and reaped so no zombie
// outlives the test, then the test's own connection closed.
#pragma once

#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>

// Xlib's own declarations, without the macros of its header that clash
// with the window layer's names in tests that include both.
struct _XDisplay;
extern "C" int XCloseDisplay(_XDisplay* pDisplay);

inline void EndScreenProgram(pid_t pid, _XDisplay* pDisplay)
{
    if (pid > 0)
    {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (pDisplay != nullptr)
        XCloseDisplay(pDisplay);
}
