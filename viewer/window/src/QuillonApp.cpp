#include "QuillonApp.h"

#include "FileLog.h"
#include "QuillonLibrary.h"
#include "QuillonLog.h"
#include "VeltaroLibrary.h"
#include "VeltaroLog.h"
#include "WinModule.h"
#include "WinPathName.h"

#include <atomic>
#include <cstdlib>

namespace
{

enum class enStart
{
    Stopped,
    Starting,
    Started
};

std::atomic<enStart> StartState{enStart::Stopped};
CQuillonApp* TheApp = nullptr;

void StopAtExit()
{
    QuillonUninitialize();
}

} // namespace

CQuillonApp::CQuillonApp() : CWinApp("Quillon") {}

BOOL CQuillonApp::InitInstance()
{
    quillon::_debug("Enter CQuillonApp::InitInstance");
    LoadQuillonCursors(m_hInstance);

    char libraryPath[_MAX_PATH] = {};
    GetModuleFileNameA(m_hInstance, libraryPath, sizeof libraryPath);
    SetQuillonFolder(libraryPath);
    const Lettra& folder = GetQuillonFolder();
    SetCurrentDirectoryA(folder);

    VeltaroSetLogFileName(folder + "LOG/Veltaro.Brevant.Log");
    quillon::OpenQuillonLogIn(folder + "LOG/");
    VeltaroInitialize();
    return CWinApp::InitInstance();
}

int CQuillonApp::ExitInstance()
{
    quillon::_debug("Enter CQuillonApp::ExitInstance");
    VeltaroUninitialize();
    return CWinApp::ExitInstance();
}

int QuillonInitialize(void)
{
    enStart expected = enStart::Stopped;
    if (!StartState.compare_exchange_strong(expected, enStart::Starting))
    {
        return 1;
    }
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        TheApp = new CQuillonApp;
        TheApp->InitInstance();
    }
    // Arranged after the start so that the stop runs before the exit
    // destroys anything the start made.
    static const bool stopArranged = std::atexit(StopAtExit) == 0;
    (void)stopArranged;
    StartState = enStart::Started;
    return 1;
}

void QuillonUninitialize(void)
{
    enStart expected = enStart::Started;
    if (!StartState.compare_exchange_strong(expected, enStart::Starting))
    {
        return;
    }
    {
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        TheApp->ExitInstance();
        delete TheApp;
        TheApp = nullptr;
    }
    quillon::GetQuillonLog().Off();
    StartState = enStart::Stopped;
}

int IsQuillonStarted(void)
{
    return StartState == enStart::Started ? 1 : 0;
}

void EnsureQuillonStarted()
{
    if (StartState == enStart::Stopped)
    {
        QuillonInitialize();
    }
}
