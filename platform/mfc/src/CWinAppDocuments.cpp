// The application's documents, command line, profile and recent files.
#include "AfxDocument.h"
#include "AfxFileDialog.h"
#include "AfxRes.h"
#include "AfxWinApp.h"

#include "WinProfile.h"

#include <algorithm>
#include <cctype>

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

namespace
{
constexpr char kRecentSection[] = "Recent File List";
constexpr char kRecentEntry[] = "File%d";

// The parameters of a command line: blanks separate them, double quotes
// keep blanks inside one.
std::vector<std::string> SplitCommandLine(LPCSTR lpCmdLine)
{
    std::vector<std::string> params;
    std::string current;
    bool bQuoted = false;
    bool bAny = false;
    for (const char* p = lpCmdLine != nullptr ? lpCmdLine : ""; *p != '\0'; ++p)
    {
        if (*p == '"')
        {
            bQuoted = !bQuoted;
            bAny = true;
        }
        else if (!bQuoted && std::isspace(static_cast<unsigned char>(*p)))
        {
            if (bAny)
                params.push_back(current);
            current.clear();
            bAny = false;
        }
        else
        {
            current += *p;
            bAny = true;
        }
    }
    if (bAny)
        params.push_back(current);
    return params;
}
} // namespace

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL)
{
    if (bFlag)
    {
        const CString strFlag(pszParam);
        if (strFlag.CompareNoCase("nologo") == 0)
            m_bShowSplash = FALSE;
        else if (strFlag.CompareNoCase("embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (strFlag.CompareNoCase("automation") == 0)
            m_bRunAutomated = TRUE;
        return;
    }
    if (m_strFileName.IsEmpty())
    {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    const std::vector<std::string> params = SplitCommandLine(m_lpCmdLine);
    for (size_t i = 0; i < params.size(); ++i)
    {
        const std::string& param = params[i];
        // "-" alone and paths starting with "/" are no flags on this system.
        const bool bFlag = param.size() > 1 && param[0] == '-';
        rCmdInfo.ParseParam(bFlag ? param.c_str() + 1 : param.c_str(), bFlag,
                            i + 1 == params.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand)
    {
    case CCommandLineInfo::FileNew:
        // A program's own File New handler takes precedence.
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default:
        return TRUE;
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (pTemplate != nullptr)
        m_templates.push_back(pTemplate);
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CString strName;
    if (DoPromptFileName(strName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE,
                         nullptr))
        OpenDocumentFile(strName);
}

namespace
{
// "Name|*.ext|" of a template's file type; empty when it names none.
CString FilterOf(const CDocTemplate& docTemplate)
{
    CString strName;
    CString strExt;
    if (!docTemplate.GetDocString(strName, CDocTemplate::filterName) || strName.IsEmpty() ||
        !docTemplate.GetDocString(strExt, CDocTemplate::filterExt) || strExt.IsEmpty())
        return CString();
    return strName + "|*" + strExt + "|";
}
} // namespace

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags,
                               BOOL bOpenFileDialog, CDocTemplate* pTemplate)
{
    // The template's own type first (the one saved to), else every
    // template's.
    std::vector<CDocTemplate*> templates = m_templates;
    if (pTemplate != nullptr)
        templates = {pTemplate};
    CString strFilter;
    CString strDefExt;
    for (const CDocTemplate* pEach : templates)
    {
        strFilter += FilterOf(*pEach);
        if (strDefExt.IsEmpty() && pEach->GetDocString(strDefExt, CDocTemplate::filterExt))
            strDefExt.TrimLeft('.');
    }
    CString strAll;
    strAll.LoadString(AFX_IDS_ALLFILTER);
    strFilter += strAll + "|*.*||";
    CString strTitle;
    strTitle.LoadString(nIDSTitle);
    CFileDialog dialog(bOpenFileDialog,
                       strDefExt.IsEmpty() ? nullptr : static_cast<LPCSTR>(strDefExt), fileName,
                       lFlags, strFilter, m_pMainWnd);
    dialog.m_ofn.lpstrTitle = strTitle;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    fileName = dialog.GetPathName();
    return TRUE;
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(lpszFileName);
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* pTemplate : m_templates)
    {
        if (!pTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    for (CDocTemplate* pTemplate : m_templates)
        pTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->WriteList();
    return CWinThread::ExitInstance();
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : "";
    m_strProfileName = AfxGetAppName() != nullptr ? AfxGetAppName() : "";
    m_pszRegistryKey = m_strRegistryKey.c_str();
    m_pszProfileName = m_strProfileName.c_str();
    CProfileStore::SetApplicationStore(m_pszRegistryKey, m_pszProfileName);
}

namespace
{
CProfileStore ProfileOf(const CWinApp& app)
{
    const LPCSTR lpszName =
        app.m_pszProfileName != nullptr ? app.m_pszProfileName : AfxGetAppName();
    return CProfileStore(app.m_pszRegistryKey, lpszName != nullptr ? lpszName : "");
}
} // namespace

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    return ProfileOf(*this).GetProfileInt(lpszSection, lpszEntry, nDefault);
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    return CString(ProfileOf(*this).GetProfileString(lpszSection, lpszEntry, lpszDefault).c_str());
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    return ProfileOf(*this).WriteProfileInt(lpszSection, lpszEntry, nValue);
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    return ProfileOf(*this).WriteProfileString(lpszSection, lpszEntry, lpszValue);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0)
        return;
    m_pRecentFileList = new CRecentFileList(0, kRecentSection, kRecentEntry,
                                            static_cast<int>(std::min<UINT>(nMaxMRU, 16)));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName)
{
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (m_pRecentFileList == nullptr)
        pCmdUI->Enable(FALSE);
    else
        m_pRecentFileList->UpdateMenu(pCmdUI);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    if (m_pRecentFileList == nullptr)
        return FALSE;
    const int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (nIndex < 0 || nIndex >= m_pRecentFileList->GetCount())
        return FALSE;
    const CString strPath = (*m_pRecentFileList)[nIndex];
    // A file that no longer opens leaves the list.
    if (OpenDocumentFile(strPath) == nullptr)
        m_pRecentFileList->Remove(nIndex);
    return TRUE;
}
