#include "PelivoRunApp.h"

#include "AfxDialog.h"
#include "AfxOle.h"
#include "DicomDir.h"
#include "MainFrm.h"
#include "PelivoRunResources.h"
#include "WinCommonControls.h"
#include "WinModule.h"
#include "WinPathName.h"
#include "WinSync.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

IMPLEMENT_DYNCREATE(CPelivoV11Doc, CDocument)

BEGIN_MESSAGE_MAP(CPelivoRunApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + 3, OnOpenRecent)
ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CPelivoRunApp::CPelivoRunApp(std::vector<std::string> arguments, CRuntimeClass* pViewClass,
                             std::string instanceName)
    : CWinApp("Pelivo"), m_arguments(WithFullPaths(std::move(arguments))), m_pViewClass(pViewClass),
      m_strInstanceName(std::move(instanceName))
{
    RegisterPelivoRunResources();
}

// The viewer library makes its own folder current when it starts, so a
// name given relative to the folder the program was started in is made
// full before anything runs.
std::vector<std::string> CPelivoRunApp::WithFullPaths(std::vector<std::string> arguments)
{
    for (std::size_t i = 1; i < arguments.size(); ++i)
    {
        if (arguments[i].empty())
            continue;
        if (char* pszFull = ::_fullpath(nullptr, arguments[i].c_str(), 0))
        {
            arguments[i] = pszFull;
            std::free(pszFull);
        }
    }
    return arguments;
}

std::string CPelivoRunApp::GetSingleInstanceName()
{
    char szPath[4096] = "";
    ::GetModuleFileNameA(nullptr, szPath, sizeof(szPath));
    std::string name = szPath;
    name.erase(0, name.find_last_of("/\\") + 1);
    return name.substr(0, name.find('.'));
}

bool CPelivoRunApp::BringFirstInstanceForward() const
{
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); ::IsWindow(hWnd);
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
    {
        if (::GetPropA(hWnd, m_strInstanceName.c_str()) == nullptr)
            continue;
        if (::IsIconic(hWnd))
            ::ShowWindow(hWnd, SW_RESTORE);
        ::SetForegroundWindow(hWnd);
        ::SetForegroundWindow(::GetLastActivePopup(hWnd));
        return true;
    }
    return false;
}

BOOL CPelivoRunApp::InitInstance()
{
    m_hMutex = ::CreateMutexA(nullptr, FALSE, m_strInstanceName.c_str());
    if (::GetLastError() == ERROR_ALREADY_EXISTS)
    {
        BringFirstInstanceForward();
        return FALSE;
    }
    ::InitCommonControls();
    CWinApp::InitInstance();
    if (!AfxOleInit())
    {
        AfxMessageBox(IDP_OLE_INIT_FAILED);
        return FALSE;
    }
    SetRegistryKey("Tavu Pelivo");
    LoadStdProfileSettings(4);
    auto* pTemplate = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CPelivoV11Doc),
                                             RUNTIME_CLASS(CMainFrame), m_pViewClass);
    AddDocTemplate(pTemplate);
    CCommandLineInfo cmdInfo;
    ProcessShellCommand(cmdInfo);
    if (m_pMainWnd == nullptr)
        return FALSE;
    m_pMainWnd->SetWindowText("Pelivo");
    m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
    m_pMainWnd->UpdateWindow();
    OnFileNew();
    m_pMainWnd->Invalidate(TRUE);
    if (m_arguments.size() > 1)
        OpenPath(m_arguments[1].c_str());
    ::SetPropA(m_pMainWnd->GetSafeHwnd(), m_strInstanceName.c_str(), reinterpret_cast<HANDLE>(1));
    return TRUE;
}

int CPelivoRunApp::ExitInstance()
{
    if (m_hMutex != nullptr)
    {
        ::CloseHandle(m_hMutex);
        m_hMutex = nullptr;
    }
    if (m_pMainWnd != nullptr && ::IsWindow(m_pMainWnd->GetSafeHwnd()))
        ::RemovePropA(m_pMainWnd->GetSafeHwnd(), m_strInstanceName.c_str());
    return CWinApp::ExitInstance();
}

void CPelivoRunApp::OpenPath(const char* pszPath)
{
    CWaitCursor wait;
    std::FILE* pFile = std::fopen(pszPath, "rb");
    if (pFile == nullptr)
        return;
    std::fclose(pFile);
    auto* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    if (pFrame == nullptr)
        return;
    DicomDir dir;
    if (dir.ReadDicomDir(pszPath))
    {
        pFrame->OpenDicomDirBrowser(pszPath);
        return;
    }
    pFrame->LoadOneFile(pszPath);
    pFrame->ShowDisplayLayers();
}

BOOL CPelivoRunApp::OnOpenRecent(UINT nID)
{
    const int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (m_pRecentFileList == nullptr || nIndex >= m_pRecentFileList->GetCount())
        return FALSE;
    const CString strPath = (*m_pRecentFileList)[nIndex];
    OpenPath(strPath);
    return TRUE;
}

void CPelivoRunApp::OnAppAbout()
{
    CDialog about(IDD_ABOUTBOX);
    about.DoModal();
}
