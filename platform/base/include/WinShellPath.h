// The shell's path helpers. Both '\' and '/' separate; folder names are
// stepped character by character in the ANSI code page, so a trail byte of
// a double-byte character is never taken for a separator.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

extern "C"
{
    // The name after the last separator (a trailing separator belongs to
    // the name before it); the whole path when it has none.
    PLATFORMBASE_API LPSTR PathFindFileNameA(LPCSTR pszPath);
    // The last "." of the name and what follows, or the terminating NUL when
    // the name has no extension.
    PLATFORMBASE_API LPSTR PathFindExtensionA(LPCSTR pszPath);
    // Cuts the name (and the separator before it) off; the root "/" stays.
    // TRUE when anything was removed.
    PLATFORMBASE_API BOOL PathRemoveFileSpecA(LPSTR pszPath);
    // Adds "/" unless the path ends with a separator or is empty; the
    // buffer holds MAX_PATH bytes. Returns the NUL at the end, or null when
    // the separator does not fit.
    PLATFORMBASE_API LPSTR PathAddBackslashA(LPSTR pszPath);
    PLATFORMBASE_API BOOL PathFileExistsA(LPCSTR pszPath);
}

inline LPSTR PathFindFileName(LPCSTR pszPath)
{
    return PathFindFileNameA(pszPath);
}
inline LPSTR PathFindExtension(LPCSTR pszPath)
{
    return PathFindExtensionA(pszPath);
}
inline BOOL PathRemoveFileSpec(LPSTR pszPath)
{
    return PathRemoveFileSpecA(pszPath);
}
inline LPSTR PathAddBackslash(LPSTR pszPath)
{
    return PathAddBackslashA(pszPath);
}
inline BOOL PathFileExists(LPCSTR pszPath)
{
    return PathFileExistsA(pszPath);
}
