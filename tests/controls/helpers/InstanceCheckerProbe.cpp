// A program that looks for a previous instance of itself with
// CInstanceChecker, for the tests that need two processes.
//
//   InstanceCheckerProbe <application name> [window] [activate]
//
// It prints "previous" when another instance runs (and with "activate"
// brings it forward), else "first" and the main window it published (0
// without "window"). A first instance then reads commands: "crash" ends it
// the way a crash does, "minimize" minimises its window, and the end of its
// input ends it normally. On a display it reports "active main" whenever
// its window becomes active.
#include "../../platform/ProbeCommands.h"
#include "AfxWinApp.h"
#include "DisplayBackend.h"
#include "InstanceChecker.h"
#include "WinUser.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>

namespace
{
LRESULT CALLBACK MainWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE)
        CProbeCommands::Report("active main");
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateMainWindow(const char* title)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &MainWindowProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "InstanceCheckerProbeMain";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                           320, 200, nullptr, nullptr, nullptr, nullptr);
}

bool RunCommand(const std::string& command, HWND hMain)
{
    if (command == "crash")
        raise(SIGKILL);
    if (command == "minimize")
        ShowWindow(hMain, SW_MINIMIZE);
    return command != "quit";
}

// Without a display nothing comes through the message loop: commands are
// read straight from the input.
void RunWithoutDisplay(HWND hMain)
{
    std::string line;
    while (std::getline(std::cin, line) && RunCommand(line, hMain))
    {
    }
}

void RunOnDisplay(HWND hMain)
{
    CProbeCommands commands;
    commands.Start();
    MSG msg;
    std::string command;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        if (!commands.Take(msg, command))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        else if (!RunCommand(command, hMain))
            break;
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr,
                     "usage: InstanceCheckerProbe <application name> [window] [activate]\n");
        return 2;
    }
    const bool bOnDisplay = ChooseDisplayBackend().IsInteractive();
    bool bWindow = false;
    bool bActivate = false;
    for (int i = 2; i < argc; ++i)
    {
        bWindow = bWindow || std::string(argv[i]) == "window";
        bActivate = bActivate || std::string(argv[i]) == "activate";
    }
    CWinApp app(argv[1]);
    CWnd mainWnd;
    if (bWindow)
    {
        mainWnd.Attach(CreateMainWindow(argv[1]));
        app.m_pMainWnd = &mainWnd;
    }
    CInstanceChecker checker;
    if (checker.PreviousInstanceRunning())
    {
        CProbeCommands::Report("previous");
        if (bActivate)
            checker.ActivatePreviousInstance();
    }
    else
    {
        CProbeCommands::Report("first " +
                               std::to_string(reinterpret_cast<std::uintptr_t>(mainWnd.m_hWnd)));
        if (bOnDisplay)
            RunOnDisplay(mainWnd.m_hWnd);
        else
            RunWithoutDisplay(mainWnd.m_hWnd);
    }
    if (mainWnd.m_hWnd != nullptr)
        mainWnd.DestroyWindow();
    return 0;
}
