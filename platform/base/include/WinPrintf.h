// Bounded formatting with the Windows runtime's conventions on LP64:
// - "%ld", "%lu", "%lx" read 32-bit values (a Windows long); "%I64d",
//   "%lld" read 64-bit values; "%I32d" 32-bit; "%Id" and "%zd" pointer-sized;
// - "%ls", "%S", "%ws" take 16-bit WCHAR text and "%lc", "%C" a WCHAR, written
//   in the process ANSI code page; "%hs" and "%hc" are always narrow;
// - "%Lf" reads a double (a Windows long double is a double);
// - "%p" prints the pointer in upper-case hexadecimal, zero-padded to its
//   full width; "%n" consumes its pointer and writes nothing.
#pragma once

#include "PlatformBaseExport.h"

#include <cstdarg>
#include <cstddef>

extern "C"
{
    // Writes at most `count` bytes. Returns the length written without the NUL,
    // which is added when it fits; -1 (and no NUL) when the text is longer than
    // `count`.
    PLATFORMBASE_API int _vsnprintf(char* buffer, std::size_t count, const char* format,
                                    va_list args);
    PLATFORMBASE_API int _snprintf(char* buffer, std::size_t count, const char* format, ...);
    // The length the text would have, without the NUL (-1 beyond INT_MAX).
    PLATFORMBASE_API int _vscprintf(const char* format, va_list args);
    PLATFORMBASE_API int _scprintf(const char* format, ...);
}
