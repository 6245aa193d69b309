#include "AfxFileFind.h"

#include "WinError.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::~CFileFind()
{
    Close();
}

BOOL CFileFind::FindFile(LPCSTR pstrName, DWORD)
{
    Close();
    const CString strPattern = pstrName != nullptr ? pstrName : "*.*";
    m_hFind = FindFirstFileA(strPattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    m_bHasNext = true;
    const int nSeparator = std::max(strPattern.ReverseFind('\\'), strPattern.ReverseFind('/'));
    m_strRoot = strPattern.Left(nSeparator + 1);
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_bHasNext)
        return FALSE;
    m_current = m_next;
    m_bHasCurrent = true;
    m_bHasNext = FindNextFileA(m_hFind, &m_next) != FALSE;
    return m_bHasNext;
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_bHasCurrent = false;
    m_bHasNext = false;
    m_strRoot.Empty();
}

ULONGLONG CFileFind::GetLength() const
{
    if (!m_bHasCurrent)
        return 0;
    return (static_cast<ULONGLONG>(m_current.nFileSizeHigh) << 32) | m_current.nFileSizeLow;
}

CString CFileFind::GetFileName() const
{
    return m_bHasCurrent ? CString(m_current.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    return m_bHasCurrent ? m_strRoot + GetFileName() : CString();
}

CString CFileFind::GetFileTitle() const
{
    const CString strName = GetFileName();
    const int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const
{
    if (!m_bHasCurrent || pTimeStamp == nullptr)
        return FALSE;
    *pTimeStamp = m_current.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetCreationTime(FILETIME* pTimeStamp) const
{
    if (!m_bHasCurrent || pTimeStamp == nullptr)
        return FALSE;
    *pTimeStamp = m_current.ftCreationTime;
    return TRUE;
}

BOOL CFileFind::GetLastAccessTime(FILETIME* pTimeStamp) const
{
    if (!m_bHasCurrent || pTimeStamp == nullptr)
        return FALSE;
    *pTimeStamp = m_current.ftLastAccessTime;
    return TRUE;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const
{
    return m_bHasCurrent && (m_current.dwFileAttributes & dwMask) != 0;
}

BOOL CFileFind::IsDots() const
{
    if (!m_bHasCurrent)
        return FALSE;
    const CString strName = GetFileName();
    return strName == "." || strName == "..";
}
