// Listing a folder: FindFirstFileA, FindNextFileA and FindClose. A pattern's
// last component may hold '*' and '?', matched without regard to case;
// "*.*" matches every name. "." and ".." are listed too, and names come in a
// fixed order (sorted without regard to case), so a walk is reproducible.
#pragma once

#include "PlatformBaseExport.h"
#include "WinFile.h"
#include "WinTypes.h"

typedef struct _WIN32_FIND_DATAA
{
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
} WIN32_FIND_DATAA, *PWIN32_FIND_DATAA, *LPWIN32_FIND_DATAA;
using WIN32_FIND_DATA = WIN32_FIND_DATAA;
using LPWIN32_FIND_DATA = LPWIN32_FIND_DATAA;

// The first match, or INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND (no
// match) or ERROR_PATH_NOT_FOUND (no such folder).
extern "C" PLATFORMBASE_API HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data);
// FALSE with ERROR_NO_MORE_FILES after the last match.
extern "C" PLATFORMBASE_API BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data);
extern "C" PLATFORMBASE_API BOOL FindClose(HANDLE find);

inline HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATAA data)
{
    return FindFirstFileA(pattern, data);
}
inline BOOL FindNextFile(HANDLE find, LPWIN32_FIND_DATAA data)
{
    return FindNextFileA(find, data);
}
