#include "QuillonApp.h"

#include "FileLog.h"
#include "QuillonLibrary.h"
#include "QuillonLog.h"
#include "VeltaroLibrary.h"
#include "VeltaroLog.h"
#include "WinModule.h"
#include "WinPathName.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>

namespace
{

enum class enStart
{
    Stopped,
    Starting,
    Started
};

constexpr const char* QuillonVersion = "2.1.2";
constexpr const char* BannerText = "Quillon viewer library for Linux on x86-64\r\n"
                                   "Built " __DATE__ " " __TIME__ "\r\n"
                                   "Copyright (c) Tavu\r\n"
                                   "Standard edition for Debian 12 and later\r\n";

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

void LogModuleBanner()
{
    quillon::_info("");
    std::string stars;
    for (int star = 0; star < 26; ++star)
    {
        stars += "* ";
    }
    quillon::_info("%s", stars.c_str());
    LogBannerText(BannerText);
    quillon::_info("Version : %s", QuillonVersion);
    quillon::_info("");
}

void LogBannerText(const char* text)
{
    const std::string banner = text != nullptr ? text : "";
    const char separator = banner.find('\r') != std::string::npos ? '\r' : '\n';
    std::size_t start = 0;
    while (start <= banner.size())
    {
        const std::size_t end = std::min(banner.find(separator, start), banner.size());
        std::string line = banner.substr(start, end - start);
        std::erase_if(line, [](char c) { return c == '\r' || c == '\n'; });
        if (line.empty())
        {
            break;
        }
        quillon::_info("%s", line.c_str());
        start = end + 1;
    }
}

void EnsureQuillonStarted()
{
    if (StartState == enStart::Stopped)
    {
        QuillonInitialize();
    }
}
