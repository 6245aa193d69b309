#include "AfxFileDialog.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CFileDialog, CWnd)

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
    const BOOL bResult =
        m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return bResult ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
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
