// A program that lets only one instance of itself run, the way the
// stand-alone viewer does: a mutex named after the executable's base name,
// and a property of that name on its main window, set at the very end of
// its start. A second start brings the first instance's main window (or its
// last active popup) forward and ends; its file argument is not opened.
//
//   SingleInstanceProbe [file] [--hold]
//
// It writes "first <main window>" once started (with --hold "started <main
// window>", and the property waits for "mark"), "second found" or "second
// none" as a second instance, "opened <file>" for its own file argument,
// "active main" or "active popup" when its windows become active, and
// "state iconic=<0|1>" when asked. Commands: minimize, popup, state, mark,
// quit, crash.
#include "../../ProbeCommands.h"
#include "AfxWinApp.h"
#include "WinModule.h"
#include "WinSync.h"
#include "WinUser.h"

#include <csignal>
#include <cstdint>
#include <string>

namespace
{
int gArgc = 0;
char** gArgv = nullptr;
HWND gMain = nullptr;

std::string GetExecutableBaseName()
{
    char path[4096] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name = path;
    name.erase(0, name.find_last_of("/\\") + 1);
    return name.substr(0, name.find('.'));
}

std::string Xid(HWND hWnd)
{
    return std::to_string(reinterpret_cast<std::uintptr_t>(hWnd));
}

LRESULT CALLBACK ProbeWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE)
        CProbeCommands::Report(hWnd == gMain ? "active main" : "active popup");
    if (message == WM_DESTROY && hWnd == gMain)
        PostQuitMessage(0);
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateProbeWindow(LPCSTR title, HWND hOwner, int x)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ProbeWindowProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "SingleInstanceProbe";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, x, 40, 300, 200, hOwner,
                           nullptr, nullptr, nullptr);
}

class CProbeApp : public CWinApp
{
public:
    CProbeApp() : CWinApp("SingleInstanceProbe") {}

    BOOL InitInstance() override
    {
        m_name = GetExecutableBaseName();
        m_hMutex = CreateMutexA(nullptr, FALSE, m_name.c_str());
        if (GetLastError() == ERROR_ALREADY_EXISTS)
        {
            CProbeCommands::Report(BringFirstInstanceForward() ? "second found" : "second none");
            return FALSE;
        }
        gMain = CreateProbeWindow(m_name.c_str(), nullptr, 40);
        m_mainWnd.Attach(gMain);
        m_pMainWnd = &m_mainWnd;
        m_mainWnd.ShowWindow(SW_SHOW);
        m_mainWnd.UpdateWindow();
        bool bHold = false;
        for (int i = 1; i < gArgc; ++i)
        {
            const std::string arg = gArgv[i];
            bHold = bHold || arg == "--hold";
            if (i == 1 && arg != "--hold")
                CProbeCommands::Report("opened " + arg);
        }
        m_commands.Start();
        if (bHold)
            CProbeCommands::Report("started " + Xid(gMain));
        else
            Mark();
        return TRUE;
    }

    int ExitInstance() override
    {
        if (m_hMutex != nullptr)
            CloseHandle(m_hMutex);
        if (gMain != nullptr)
        {
            RemovePropA(gMain, m_name.c_str());
            m_mainWnd.Detach();
        }
        return CWinApp::ExitInstance();
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        std::string command;
        if (!m_commands.Take(*pMsg, command))
            return CWinApp::PreTranslateMessage(pMsg);
        Run(command);
        return TRUE;
    }

private:
    // The desktop walk of a second start.
    bool BringFirstInstanceForward() const
    {
        for (HWND hWnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(hWnd);
             hWnd = GetWindow(hWnd, GW_HWNDNEXT))
        {
            if (GetPropA(hWnd, m_name.c_str()) == nullptr)
                continue;
            if (IsIconic(hWnd))
                ShowWindow(hWnd, SW_RESTORE);
            SetForegroundWindow(hWnd);
            SetForegroundWindow(GetLastActivePopup(hWnd));
            return true;
        }
        return false;
    }

    void Mark()
    {
        SetPropA(gMain, m_name.c_str(), reinterpret_cast<HANDLE>(1));
        CProbeCommands::Report("first " + Xid(gMain));
    }

    void Run(const std::string& command)
    {
        if (command == "minimize")
            ShowWindow(gMain, SW_MINIMIZE);
        else if (command == "popup")
        {
            const HWND hPopup = CreateProbeWindow("Probe dialog", gMain, 120);
            CProbeCommands::Report("popup " + Xid(hPopup));
            ShowWindow(hPopup, SW_SHOW);
        }
        else if (command == "state")
            CProbeCommands::Report(std::string("state iconic=") + (IsIconic(gMain) ? "1" : "0"));
        else if (command == "mark")
            Mark();
        else if (command == "quit")
            DestroyWindow(gMain);
        else if (command == "crash")
            raise(SIGKILL);
    }

    std::string m_name;
    HANDLE m_hMutex = nullptr;
    CWnd m_mainWnd;
    CProbeCommands m_commands;
};
} // namespace

int main(int argc, char** argv)
{
    gArgc = argc;
    gArgv = argv;
    CProbeApp app;
    return AfxWinMain(nullptr, nullptr, nullptr, SW_SHOW);
}
