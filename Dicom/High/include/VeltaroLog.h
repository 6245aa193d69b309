// The DICOM library's own log file and the front ends every part of the
// library writes its entries with. An entry is the local time "hh:mm:ss",
// two blanks, the text and CR LF; nothing is written until a log of the
// process has been switched on, normally by VeltaroSetLogFileName.
#pragma once

#include "VeltaroExport.h"

class CFileLog;
class DICOMFile;
class DICOMVRSet;

// The library's log detail level; checks and entries meant for a level of
// 3 or more never run.
inline constexpr int VeltaroLogLevel = 2;

// Files larger than this are moved to path + ".bak" when the log is opened.
inline constexpr long VeltaroLogRotateSize = 0xA00000;

extern "C"
{
    // Opens the library log on the file with rotation and writes the starting
    // banner; returns 1, also when the file cannot be opened.
    VELTARO_API int VeltaroSetLogFileName(const char* path);
    VELTARO_API void _Veltarodebug(const char* format, ...);
}

// Entries by severity: debug 7, information 6, warning 4, error 3, fatal 2.
VELTARO_API void _debug(const char* format, ...);
VELTARO_API void _fdebug(const char* text);
VELTARO_API void _info(const char* format, ...);
VELTARO_API void _warning(const char* format, ...);
VELTARO_API void _error(const char* format, ...);
VELTARO_API void _fatal(const char* format, ...);
VELTARO_API void _tinfo(const char* format, ...);
VELTARO_API void _syserror(unsigned long code, const char* format, ...);
// Logs the failed condition as a fatal entry and returns 1: the caller
// carries on.
VELTARO_API int _assert(const char* expression, const char* file, int line);

// Writes the closing banner; the file stays open.
VELTARO_API void CloseDebug();
// Seconds since the previous call (0.0 at the first one), logged.
VELTARO_API double QueryPerformance(int tag);
// Logs the name of a structured-exception code; returns 1.
VELTARO_API int ExceptionFilter(unsigned long code);

// Write an object's text form into the log as one debug entry. A file is
// introduced by its address and location; nothing is written for a null
// pointer, and a failure while building the text is logged as an error.
VELTARO_API void DumpVRSet(const DICOMVRSet* set);
VELTARO_API void DumpDicomFile(const DICOMFile* file);

// The library's one file log, for the start-up and shut-down.
VELTARO_API CFileLog& GetVeltaroLog();
