// The viewer library's log: one file log for the whole library and the
// front ends every class of it writes its lines with. A line is the local
// time "hh:mm:ss", two blanks, the text and CR LF.
//
// The front ends live in namespace quillon, exported names included: the
// DICOM library exports the same names at global scope, and a program loads
// both libraries. Code of this library calls them unqualified from inside
// the namespace, or as quillon::_debug(...) from outside it; code outside
// the namespace that sees the DICOM library's declarations would otherwise
// write into the DICOM library's log.
#pragma once

#include "QuillonExport.h"

#include <cstdint>

class CFileLog;

namespace quillon
{

// A log file that already holds more than this many bytes is moved to
// ".bak" when the log is opened on it.
inline constexpr long QuillonLogRotateSize = 0xA00000;

// printf-style lines by severity: debug 7, information 6, warning 4,
// error 3, fatal 2 (followed by a 1000 Hz beep of one second; the program
// goes on). _tinfo leaves the severity the log's own.
QUILLON_API void _debug(const char* format, ...);
QUILLON_API void _info(const char* format, ...);
QUILLON_API void _warning(const char* format, ...);
QUILLON_API void _error(const char* format, ...);
QUILLON_API void _fatal(const char* format, ...);
QUILLON_API void _tinfo(const char* format, ...);
// A debug line holding the text exactly as it stands: nothing in it is a
// format, and nothing is put before it.
QUILLON_API void _fdebug(const char* text);

// The library's one file log.
QUILLON_API CFileLog& GetQuillonLog();

// Opens the library log on the file, moving a file that is too large to
// ".bak" first; false when the file cannot be opened (lines then go
// nowhere).
QUILLON_API bool OpenQuillonLog(const char* path);
// Opens the library log in the folder (ending in a separator): under
// "Brevant.LOG", else the first of "Brevant.1.LOG" to "Brevant.9.LOG" that
// opens; false when none does.
QUILLON_API bool OpenQuillonLogIn(const char* folder);

// A pointer or handle as the log lines print it ("0x%0x"): its low 32 bits.
inline unsigned LogAddress(const void* pointer)
{
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(pointer));
}

} // namespace quillon
