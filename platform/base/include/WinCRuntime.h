// String length and comparison functions of the Windows runtime and kernel.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#include <cstddef>

extern "C"
{
    // Length in bytes; 0 for a null pointer.
    PLATFORMBASE_API int lstrlenA(LPCSTR text);
    // Word order: letters compare without case first, then an otherwise equal
    // text with a lower-case letter sorts before one with the upper-case letter
    // at the first place they differ. Return -1, 0 or 1; null sorts first.
    PLATFORMBASE_API int lstrcmpA(LPCSTR a, LPCSTR b);
    PLATFORMBASE_API int lstrcmpiA(LPCSTR a, LPCSTR b);
    // ASCII case-insensitive comparison, as the "C" locale does it.
    PLATFORMBASE_API int _stricmp(const char* a, const char* b);
    PLATFORMBASE_API int _strnicmp(const char* a, const char* b, std::size_t count);
}
