#include "AfxFileDialog.h"

#include "WinDialog.h"

#include <algorithm>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CFileDialog, CWnd)

namespace
{
// The dialog whose hook window is being made.
thread_local CFileDialog* tStarting = nullptr;

// A text the dialog answers (CDM_GET*): asked for its size, then fetched.
CString AskDialogText(HWND hDialog, UINT nMsg)
{
    const LRESULT nSize = ::SendMessageA(hDialog, nMsg, 0, 0);
    if (nSize <= 0)
        return CString();
    std::string text(static_cast<size_t>(nSize), '\0');
    ::SendMessageA(hDialog, nMsg, static_cast<WPARAM>(nSize),
                   reinterpret_cast<LPARAM>(text.data()));
    return CString(text.c_str());
}
} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog)
{
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = MAX_PATH;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.nFilterIndex = 1;
    if (lpszDefExt != nullptr)
    {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt.c_str();
    }
    if (lpszFileName != nullptr)
        std::strncpy(m_szFileName, lpszFileName, MAX_PATH - 1);
    if (lpszFilter != nullptr)
    {
        // "|" separates the parts; the record wants NULs and a closing one.
        m_strFilter = lpszFilter;
        std::replace(m_strFilter.begin(), m_strFilter.end(), '|', '\0');
        m_strFilter += '\0';
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.Flags |= OFN_ENABLEHOOK;
    m_ofn.lpfnHook = HookProc;
    CFileDialog* pOuter = tStarting;
    tStarting = this;
    const BOOL bResult =
        m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    tStarting = pOuter;
    if (m_hWnd != nullptr)
        Detach();
    return bResult ? IDOK : IDCANCEL;
}

UINT_PTR CFileDialog::HookProc(HWND hWnd, UINT nMsg, WPARAM, LPARAM lParam)
{
    if (nMsg == WM_INITDIALOG)
    {
        if (tStarting != nullptr && tStarting->m_hWnd == nullptr)
            tStarting->Attach(hWnd);
        return FALSE;
    }
    auto* pDialog = dynamic_cast<CFileDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (pDialog == nullptr)
        return FALSE;
    if (nMsg == WM_NCDESTROY)
    {
        pDialog->Detach();
        return FALSE;
    }
    if (nMsg != WM_NOTIFY || lParam == 0)
        return FALSE;
    const UINT nCode = reinterpret_cast<const NMHDR*>(lParam)->code;
    if (nCode == CDN_FILEOK)
    {
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, pDialog->OnFileNameOK() ? 1 : 0);
        return TRUE;
    }
    pDialog->OnNotice(nCode);
    return FALSE;
}

void CFileDialog::OnNotice(UINT nCode)
{
    switch (nCode)
    {
    case CDN_INITDONE:
        OnInitDone();
        return;
    case CDN_SELCHANGE:
        OnFileNameChange();
        return;
    case CDN_FOLDERCHANGE:
        OnFolderChange();
        return;
    case CDN_TYPECHANGE:
        OnTypeChange();
        return;
    default:
        return;
    }
}

void CFileDialog::OnInitDone() {}

void CFileDialog::OnFileNameChange() {}

void CFileDialog::OnFolderChange() {}

void CFileDialog::OnTypeChange() {}

BOOL CFileDialog::OnFileNameOK()
{
    return FALSE;
}

CString CFileDialog::GetFolderPath() const
{
    return AskDialogText(::GetParent(m_hWnd), CDM_GETFOLDERPATH);
}

void CFileDialog::SetControlText(int nID, LPCSTR lpsz)
{
    ::SendMessageA(::GetParent(m_hWnd), CDM_SETCONTROLTEXT, static_cast<WPARAM>(nID),
                   reinterpret_cast<LPARAM>(lpsz));
}

void CFileDialog::HideControl(int nID)
{
    ::SendMessageA(::GetParent(m_hWnd), CDM_HIDECONTROL, static_cast<WPARAM>(nID), 0);
}

CString CFileDialog::GetPathName() const
{
    if (m_hWnd != nullptr)
        return AskDialogText(::GetParent(m_hWnd), CDM_GETFILEPATH);
    // Several files chosen: the first one's path.
    POSITION pos = GetStartPosition();
    return pos != nullptr ? GetNextPathName(pos) : CString();
}

CString CFileDialog::GetFileName() const
{
    const CString strPath = GetPathName();
    return strPath.Mid(strPath.ReverseFind('/') + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString strName = GetFileName();
    const int nDot = strName.ReverseFind('.');
    return nDot >= 0 ? strName.Mid(nDot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    const CString strName = GetFileName();
    const int nDot = strName.ReverseFind('.');
    return nDot >= 0 ? strName.Left(nDot) : strName;
}

POSITION CFileDialog::GetStartPosition() const
{
    return m_ofn.lpstrFile != nullptr && *m_ofn.lpstrFile != '\0'
               ? reinterpret_cast<POSITION>(m_ofn.lpstrFile)
               : nullptr;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    const char* pszAt = reinterpret_cast<const char*>(pos);
    const char* pszFirst = m_ofn.lpstrFile;
    // One file: its path. Several: the folder, then each name.
    const bool bList = pszFirst[std::strlen(pszFirst) + 1] != '\0';
    if (!bList)
    {
        pos = nullptr;
        return CString(pszFirst);
    }
    if (pszAt == pszFirst)
        pszAt += std::strlen(pszAt) + 1;
    CString strPath(pszFirst);
    strPath += "/";
    strPath += pszAt;
    const char* pszNext = pszAt + std::strlen(pszAt) + 1;
    pos = *pszNext != '\0' ? reinterpret_cast<POSITION>(const_cast<char*>(pszNext)) : nullptr;
    return strPath;
}
