// Path splitting and completion of the Windows runtime, and the process's
// current directory. Both '\' and '/' separate path components; a leading
// drive such as "X:" has no meaning on Linux ("X:\a" is "/a").
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#include <cstddef>

#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

extern "C"
{
    // Splits a path into drive ("X:" when the path begins so), folder (with its
    // trailing separator), name and extension (with its dot). Any output may be
    // null; each is cut on a character boundary to its _MAX_ size.
    PLATFORMBASE_API void _splitpath(const char* path, char* drive, char* dir, char* fname,
                                     char* ext);
    // The absolute form of a path: relative to the current directory unless
    // rooted, the drive dropped, "." and ".." resolved, separators written as
    // '/'. With a null buffer the result is allocated with malloc. Returns null
    // (errno EINVAL) for a path holding a character no file name can hold
    // (control characters, < > | " * ?) and (errno ERANGE) when the result does
    // not fit in maxLength bytes.
    PLATFORMBASE_API char* _fullpath(char* absPath, const char* relPath, std::size_t maxLength);

    // Returns the length without the NUL, or the size needed (with the NUL)
    // when the buffer is too small or null.
    PLATFORMBASE_API DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);
    PLATFORMBASE_API BOOL SetCurrentDirectoryA(LPCSTR path);
}
