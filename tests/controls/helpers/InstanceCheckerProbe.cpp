// A program that looks for a previous instance of itself with
// CInstanceChecker, for the tests that need two processes.
//
//   InstanceCheckerProbe <application name> [window]
//
// It prints "previous" when another instance runs, else "first" and the
// main window it published (0 without "window"). A first instance then
// reads lines: "crash" ends it the way a crash does; the end of its input
// ends it normally.
#include "AfxWinApp.h"
#include "InstanceChecker.h"
#include "WinUser.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>

namespace
{
HWND CreateMainWindow(const char* title)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "InstanceCheckerProbeMain";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320,
                           200, nullptr, nullptr, nullptr, nullptr);
}

void WaitForTheEnd()
{
    std::string line;
    while (std::getline(std::cin, line))
    {
        if (line == "crash")
        {
            raise(SIGKILL);
        }
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: InstanceCheckerProbe <application name> [window]\n");
        return 2;
    }
    CWinApp app(argv[1]);
    CWnd mainWnd;
    if (argc > 2 && std::string(argv[2]) == "window")
    {
        mainWnd.Attach(CreateMainWindow(argv[1]));
        app.m_pMainWnd = &mainWnd;
    }
    CInstanceChecker checker;
    if (checker.PreviousInstanceRunning())
    {
        std::cout << "previous" << std::endl;
    }
    else
    {
        std::cout << "first " << reinterpret_cast<std::uintptr_t>(mainWnd.GetSafeHwnd())
                  << std::endl;
        WaitForTheEnd();
    }
    if (mainWnd.GetSafeHwnd() != nullptr)
    {
        mainWnd.DestroyWindow();
    }
    return 0;
}
