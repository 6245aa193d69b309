#include "PelivoFileDialogs.h"

#include "AfxFileDialog.h"
#include "AfxWinApp.h"
#include "CdRomDrive.h"

#include <cstdio>
#include <cstring>
#include <string>

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
} // namespace

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
