// FileFinder: one folder's entries, one at a time, with their names, full
// paths and times; the folder walk of the directory builder runs on it.
// StringList: the paths such a walk collects.
#pragma once

#include "Array.h"
#include "DDateTime.h"
#include "Lettra.h"
#include "VeltaroExport.h"
#include "WinFind.h"

class VELTARO_API FileFinder
{
public:
    FileFinder() = default;
    FileFinder(const FileFinder&) = delete;
    FileFinder& operator=(const FileFinder&) = delete;
    virtual ~FileFinder();

    virtual Lettra GetFileName() const;
    // The root, a separator when the root lacks one, then the name.
    virtual Lettra GetFilePath() const;
    // The name without folder and extension.
    virtual Lettra GetFileTitle() const;
    virtual Lettra GetRoot() const { return m_root; }
    // Local times of the current entry; 0 (false) without one.
    virtual int GetLastWriteTime(DDateTime& time) const;
    virtual int GetLastWriteTime(FILETIME& time) const;
    virtual int GetLastAccessTime(DDateTime& time) const;
    virtual int GetLastAccessTime(FILETIME& time) const;
    virtual int GetCreationTime(DDateTime& time) const;
    virtual int GetCreationTime(FILETIME& time) const;
    // The attribute bits ANDed with the mask, 0 without a current entry.
    virtual int MatchesMask(DWORD mask) const;
    // A directory named "." or "..".
    virtual int IsDots() const;
    // "*.*" for a null pattern; 0 when nothing matches or the pattern's
    // folder has no absolute form (ERROR_INVALID_NAME).
    virtual int FindFile(const char* pattern);
    virtual int FindNextFile();
    virtual void Close();

    int IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }

private:
    const WIN32_FIND_DATAA* GetCurrent() const { return m_found ? m_current : nullptr; }
    static int ToDateTime(const FILETIME& fileTime, DDateTime& time);
    int GetTime(FILETIME WIN32_FIND_DATAA::*field, DDateTime& time) const;
    int GetTime(FILETIME WIN32_FIND_DATAA::*field, FILETIME& time) const;

    WIN32_FIND_DATAA m_data = {};
    WIN32_FIND_DATAA* m_spare = nullptr;
    WIN32_FIND_DATAA* m_current = &m_data;
    HANDLE m_find = INVALID_HANDLE_VALUE;
    Lettra m_root;
    char m_separator = '\\';
    bool m_found = false;
};

class VELTARO_API StringList : public Array<Lettra>
{
public:
    // Every string followed by the separator.
    Lettra Join(const char* separator) const;
};
