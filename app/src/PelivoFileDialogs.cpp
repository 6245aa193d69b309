#include "PelivoFileDialogs.h"

#include "AfxFileDialog.h"
#include "AfxWinApp.h"
#include "CdRomDrive.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace
{
void ReportFileDialogError()
{
    const DWORD dwError = ::CommDlgExtendedError();
    if (dwError == 0)
        return;
    if (dwError == FNERR_BUFFERTOOSMALL)
    {
        AfxMessageBox("You have selected too many files one time, please try again.",
                      MB_ICONWARNING);
        return;
    }
    char szText[64];
    std::snprintf(szText, sizeof(szText), "File dialog failed, error = %0XH.",
                  static_cast<unsigned>(dwError));
    AfxMessageBox(szText, MB_ICONWARNING);
}
// Why a file could not be written at the path, as far as its folder and
// the path itself show it.
std::string GetSaveFailureReason(const char* pszPath)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path path(pszPath);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error))
        return "the folder does not exist.";
    if (fs::is_directory(path, error))
        return "a folder has that name.";
    if (::access(folder.c_str(), W_OK) != 0)
        return "there is no permission to write in the folder.";
    if (fs::exists(path, error) && ::access(path.c_str(), W_OK) != 0)
        return "the file is read-only.";
    return "writing it failed; the disk may be full.";
}
} // namespace

void ReportSaveFailure(const char* pszPath)
{
    const std::string text = std::string("The image could not be saved as \"") + pszPath +
                             "\": " + GetSaveFailureReason(pszPath);
    AfxMessageBox(text.c_str(), MB_ICONWARNING);
}

bool RunFileDialog(CFileDialog& dialog, const char* pszTitle, char* pszBuffer, DWORD nSize)
{
    std::memset(pszBuffer, 0, nSize);
    dialog.m_ofn.lpstrTitle = pszTitle;
    dialog.m_ofn.lpstrFile = pszBuffer;
    dialog.m_ofn.nMaxFile = nSize;
    if (dialog.DoModal() == IDOK)
        return true;
    ReportFileDialogError();
    return false;
}

bool AskDicomDirPath(CWnd* pOwner, bool bMultiple, CString& strPath)
{
    static char s_szBuffer[65535];
    std::string folder;
    {
        CWaitCursor wait;
        folder = FindFirstCdRomDrive();
    }
    DWORD dwFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    if (bMultiple)
        dwFlags |= OFN_ALLOWMULTISELECT;
    CFileDialog dialog(TRUE, "DICOMDIR", nullptr, dwFlags,
                       "DICOMDIR|DICOMDIR|All files (*.*)|*.*||", pOwner);
    dialog.m_ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    if (!RunFileDialog(dialog, "Open DICOMDIR File", s_szBuffer, sizeof(s_szBuffer)))
        return false;
    strPath = dialog.GetPathName();
    return true;
}
