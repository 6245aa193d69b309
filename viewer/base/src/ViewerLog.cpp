// The log front ends of the library this is built into: the same lines and
// severities in both viewer libraries, each into its own file log.
#include "FileLog.h"
#include "LogEntry.h"
#include "ViewerFlavour.h"
#include "WinBeep.h"

#include <cstdarg>

namespace VIEWER_LOG_NAMESPACE
{

namespace
{

// Every line carries the library's category, the level word "debug" and the
// number 532; the file shows only the time and the text.
constexpr SLogEntryMark LineMark = {VIEWER_LOG_MODULE, "debug", 532};

void WriteLine(CChronex::Severity severity, const char* format, va_list args)
{
    WriteLogEntryV(VIEWER_LOG_GET(), LineMark, severity, format, args);
}

// A fatal line is followed by a one-second beep; the program goes on.
void WriteFatalLine(CChronex::Severity severity, const char* format, va_list args)
{
    WriteLine(severity, format, args);
    Beep(1000, 1000);
}

} // namespace

// The log outlives every other object of the process: objects of other
// libraries may still write through it while static destructors run. The
// library's stop writes the footer and closes the file.
CFileLog& VIEWER_LOG_GET()
{
    static CFileLog& log = *new CFileLog;
    return log;
}

LOG_ENTRY_FRONT_END(_debug, WriteLine, CChronex::Debug)
LOG_ENTRY_FRONT_END(_info, WriteLine, CChronex::Information)
LOG_ENTRY_FRONT_END(_warning, WriteLine, CChronex::Warning)
LOG_ENTRY_FRONT_END(_error, WriteLine, CChronex::Error)
LOG_ENTRY_FRONT_END(_tinfo, WriteLine, VIEWER_LOG_GET().GetSeverity())
LOG_ENTRY_FRONT_END(_fatal, WriteFatalLine, CChronex::Fatal)

void _fdebug(const char* text)
{
    WriteLogEntryText(VIEWER_LOG_GET(), LineMark, CChronex::Debug, text);
}

} // namespace VIEWER_LOG_NAMESPACE
