// What the log front ends of every module share: writing one entry into
// the module's log, and opening that log with its rotation. A module keeps
// its own file log and its own front ends (_debug, _info, ...); these do
// the work behind them.
#pragma once

#include "Chronex.h"
#include "ChronexExport.h"

#include <cstdarg>

class CFileLog;

// The marks a module's front ends put on each of its entries. Only the time
// and the text reach the file; the marks stay with the builder.
struct SLogEntryMark
{
    const char* module;
    const char* levelWord;
    unsigned line;
};

// One entry: a builder attached to the log, marked and given the severity,
// the formatted text, EndLine (time and text), then CR LF. The builder
// flushes the log as it goes, so the entry is on disk when this returns.
CHRONEX_API void WriteLogEntryV(const CChronex& log, const SLogEntryMark& mark,
                                CChronex::Severity severity, const char* format, va_list args);
// The same with the text taken as it stands: nothing in it is a format.
CHRONEX_API void WriteLogEntryText(const CChronex& log, const SLogEntryMark& mark,
                                   CChronex::Severity severity, const char* text);

// Defines a module's front end `void name(const char* format, ...)` that
// hands its severity, format and arguments to write(severity, format, args).
#define LOG_ENTRY_FRONT_END(name, write, severity)                                                 \
    void name(const char* format, ...)                                                             \
    {                                                                                              \
        va_list args;                                                                              \
        va_start(args, format);                                                                    \
        write(severity, format, args);                                                             \
        va_end(args);                                                                              \
    }

// Opens the log on the file. A file that holds more than rotateSize bytes
// before the banner is written is moved to path + ".bak" (replacing an older
// one) and a new file is started, so the size that decides is the one the
// file had, not that plus the banner. Returns the result of the opening
// that stands: 1, or 0 when the file cannot be opened.
CHRONEX_API int OpenRotatedLog(CFileLog& log, const char* path, long rotateSize);
