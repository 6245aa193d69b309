#include "AfxFile.h"

#include "WinError.h"
#include "WinFile.h"
#include "WinHandle.h"

#include <algorithm>
#include <limits>

namespace
{
DWORD AccessFor(UINT nOpenFlags)
{
    switch (nOpenFlags & 3)
    {
    case CFile::modeWrite:
        return GENERIC_WRITE;
    case CFile::modeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

DWORD ShareFor(UINT nOpenFlags)
{
    switch (nOpenFlags & 0x70)
    {
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;
    }
}

DWORD CreationFor(UINT nOpenFlags)
{
    if ((nOpenFlags & CFile::modeCreate) == 0)
        return OPEN_EXISTING;
    return (nOpenFlags & CFile::modeNoTruncate) != 0 ? OPEN_ALWAYS : CREATE_ALWAYS;
}

int LastSeparator(const CString& strPath)
{
    return std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
}
} // namespace

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        CFile::Abort();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_strFileName = lpszFileName;
    m_hFile = CreateFileA(lpszFileName, AccessFor(nOpenFlags), ShareFor(nOpenFlags), nullptr,
                          CreationFor(nOpenFlags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
    {
        m_hFile = hFileNull;
        if (pError != nullptr)
        {
            pError->m_lOsError = static_cast<LONG>(GetLastError());
            pError->m_cause = CFileException::OsErrorToException(pError->m_lOsError);
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD nRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return nRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD nWritten = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    if (nWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (lOff < std::numeric_limits<LONG>::min() || lOff > std::numeric_limits<LONG>::max())
        AfxThrowFileException(CFileException::badSeek, ERROR_NEGATIVE_SEEK, m_strFileName);
    const DWORD dwNew = SetFilePointer(m_hFile, static_cast<LONG>(lOff), nullptr, nFrom);
    if (dwNew == INVALID_SET_FILE_POINTER)
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return dwNew;
}

ULONGLONG CFile::GetPosition() const
{
    const DWORD dwPosition = SetFilePointer(m_hFile, 0, nullptr, FILE_CURRENT);
    if (dwPosition == INVALID_SET_FILE_POINTER)
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return dwPosition;
}

ULONGLONG CFile::GetLength() const
{
    const DWORD dwLength = GetFileSize(m_hFile, nullptr);
    if (dwLength == INVALID_FILE_SIZE)
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    return dwLength;
}

void CFile::Flush()
{
    if (m_hFile != hFileNull && !FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

void CFile::Close()
{
    const BOOL bClosed = m_hFile == hFileNull || CloseHandle(m_hFile);
    const DWORD dwError = GetLastError();
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (!bClosed)
        CFileException::ThrowOsError(static_cast<LONG>(dwError), m_strFileName);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
}

CString CFile::GetFileName() const
{
    return m_strFileName.Mid(LastSeparator(m_strFileName) + 1);
}

CString CFile::GetFileTitle() const
{
    const CString strName = GetFileName();
    const int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}
