// CFileFind: walks the names matching a pattern, in the fixed,
// case-insensitively sorted order of FindFirstFileA. FindFile positions
// before the first match; each FindNextFile makes the next match current
// and returns FALSE when that match is the last one.
#pragma once

#include "AfxObject.h"
#include "AfxString.h"
#include "WinFind.h"

class PLATFORMUI_API CFileFind : public CObject
{
    DECLARE_DYNAMIC(CFileFind)
public:
    CFileFind() = default;
    ~CFileFind() override;

    // NULL looks for "*.*" in the current directory.
    virtual BOOL FindFile(LPCSTR pstrName = nullptr, DWORD dwUnused = 0);
    virtual BOOL FindNextFile();
    void Close();

    ULONGLONG GetLength() const;
    virtual CString GetFileName() const;
    virtual CString GetFilePath() const;
    virtual CString GetFileTitle() const;
    // The pattern's folder with its closing separator ("" for none).
    virtual CString GetRoot() const { return m_strRoot; }
    BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
    BOOL GetCreationTime(FILETIME* pTimeStamp) const;
    BOOL GetLastAccessTime(FILETIME* pTimeStamp) const;

    BOOL MatchesMask(DWORD dwMask) const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
    BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
    BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
    // "." or "..".
    virtual BOOL IsDots() const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    bool m_bHasCurrent = false;
    bool m_bHasNext = false;
    WIN32_FIND_DATAA m_current{};
    WIN32_FIND_DATAA m_next{};
    CString m_strRoot;
};
