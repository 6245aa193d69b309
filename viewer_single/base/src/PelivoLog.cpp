#include "PelivoLog.h"

#include "FileLog.h"
#include "LogEntry.h"
#include "WinBeep.h"

#include <cstdarg>

namespace pelivo
{

namespace
{

constexpr SLogEntryMark LineMark = {"PELIVO", "debug", 0};

void WriteLine(CChronex::Severity severity, const char* format, va_list args)
{
    WriteLogEntryV(GetPelivoLog(), LineMark, severity, format, args);
}

// A fatal line is followed by a one-second beep; the host goes on.
void WriteFatalLine(CChronex::Severity severity, const char* format, va_list args)
{
    WriteLine(severity, format, args);
    Beep(1000, 1000);
}

} // namespace

// Kept past the static destructors: other libraries' objects may still log
// while they run.
CFileLog& GetPelivoLog()
{
    static CFileLog& log = *new CFileLog;
    return log;
}

LOG_ENTRY_FRONT_END(_debug, WriteLine, CChronex::Debug)
LOG_ENTRY_FRONT_END(_info, WriteLine, CChronex::Information)
LOG_ENTRY_FRONT_END(_warning, WriteLine, CChronex::Warning)
LOG_ENTRY_FRONT_END(_error, WriteLine, CChronex::Error)
LOG_ENTRY_FRONT_END(_tinfo, WriteLine, GetPelivoLog().GetSeverity())
LOG_ENTRY_FRONT_END(_fatal, WriteFatalLine, CChronex::Fatal)

void _fdebug(const char* text)
{
    WriteLogEntryText(GetPelivoLog(), LineMark, CChronex::Debug, text);
}

} // namespace pelivo
