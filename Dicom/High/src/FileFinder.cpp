#include "FileFinder.h"

#include "WinClock.h"
#include "WinError.h"
#include "WinPathName.h"

#include <cstdlib>
#include <cstring>

FileFinder::~FileFinder()
{
    Close();
    delete m_spare;
}

Lettra FileFinder::GetFileName() const
{
    const WIN32_FIND_DATAA* data = GetCurrent();
    return data != nullptr ? Lettra(data->cFileName) : Lettra();
}

Lettra FileFinder::GetFilePath() const
{
    if (GetCurrent() == nullptr)
    {
        return Lettra();
    }
    Lettra path = m_root;
    if (path.IsEmpty() ||
        (path[path.GetLength() - 1] != m_separator && path[path.GetLength() - 1] != '/'))
    {
        path += m_separator;
    }
    return path + GetFileName();
}

Lettra FileFinder::GetFileTitle() const
{
    const Lettra path = GetFilePath();
    if (path.IsEmpty())
    {
        return path;
    }
    char title[_MAX_FNAME] = {};
    _splitpath(path, nullptr, nullptr, title, nullptr);
    return Lettra(title);
}

int FileFinder::ToDateTime(const FILETIME& fileTime, DDateTime& time)
{
    FILETIME local = {};
    SYSTEMTIME system = {};
    if (!FileTimeToLocalFileTime(&fileTime, &local) || !FileTimeToSystemTime(&local, &system))
    {
        return 0;
    }
    time = DDateTime(system.wYear, system.wMonth, system.wDay, system.wHour, system.wMinute,
                     system.wSecond);
    return 1;
}

int FileFinder::GetTime(FILETIME WIN32_FIND_DATAA::*field, DDateTime& time) const
{
    return GetCurrent() != nullptr ? ToDateTime(GetCurrent()->*field, time) : 0;
}

int FileFinder::GetTime(FILETIME WIN32_FIND_DATAA::*field, FILETIME& time) const
{
    if (GetCurrent() == nullptr)
    {
        return 0;
    }
    time = GetCurrent()->*field;
    return 1;
}

int FileFinder::GetLastWriteTime(DDateTime& time) const
{
    return GetTime(&WIN32_FIND_DATAA::ftLastWriteTime, time);
}

int FileFinder::GetLastWriteTime(FILETIME& time) const
{
    return GetTime(&WIN32_FIND_DATAA::ftLastWriteTime, time);
}

int FileFinder::GetLastAccessTime(DDateTime& time) const
{
    return GetTime(&WIN32_FIND_DATAA::ftLastAccessTime, time);
}

int FileFinder::GetLastAccessTime(FILETIME& time) const
{
    return GetTime(&WIN32_FIND_DATAA::ftLastAccessTime, time);
}

int FileFinder::GetCreationTime(DDateTime& time) const
{
    return GetTime(&WIN32_FIND_DATAA::ftCreationTime, time);
}

int FileFinder::GetCreationTime(FILETIME& time) const
{
    return GetTime(&WIN32_FIND_DATAA::ftCreationTime, time);
}

int FileFinder::MatchesMask(DWORD mask) const
{
    return GetCurrent() != nullptr ? static_cast<int>(GetCurrent()->dwFileAttributes & mask) : 0;
}

int FileFinder::IsDots() const
{
    if (!IsDirectory())
    {
        return 0;
    }
    const char* name = GetCurrent()->cFileName;
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0 ? 1 : 0;
}

int FileFinder::FindFile(const char* pattern)
{
    Close();
    const char* text = pattern != nullptr ? pattern : "*.*";
    m_current = &m_data;
    m_find = FindFirstFileA(text, m_current);
    if (m_find == INVALID_HANDLE_VALUE)
    {
        return 0;
    }
    m_found = true;
    // The root is the absolute form of the pattern's folder: the pattern's
    // own wildcards have no absolute form.
    const Lettra full(text);
    const int cut = full.ReverseFind('\\') > full.ReverseFind('/') ? full.ReverseFind('\\')
                                                                   : full.ReverseFind('/');
    const Lettra folder = cut >= 0 ? full.Left(cut + 1) : Lettra(".");
    char absolute[_MAX_PATH] = {};
    if (_fullpath(absolute, folder, sizeof absolute) == nullptr)
    {
        Close();
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    m_root = absolute;
    return 1;
}

int FileFinder::FindNextFile()
{
    if (m_find == INVALID_HANDLE_VALUE)
    {
        return 0;
    }
    if (m_spare == nullptr)
    {
        m_spare = new WIN32_FIND_DATAA();
    }
    WIN32_FIND_DATAA* target = m_current == &m_data ? m_spare : &m_data;
    if (!FindNextFileA(m_find, target))
    {
        m_found = false;
        return 0;
    }
    m_current = target;
    return 1;
}

void FileFinder::Close()
{
    if (m_find != INVALID_HANDLE_VALUE)
    {
        FindClose(m_find);
        m_find = INVALID_HANDLE_VALUE;
    }
    m_found = false;
}

Lettra StringList::Join(const char* separator) const
{
    Lettra text;
    for (const Node* node = GetHead(); node != nullptr; node = node->next)
    {
        text += node->item;
        text += separator;
    }
    return text;
}
