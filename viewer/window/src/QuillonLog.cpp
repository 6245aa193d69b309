#include "QuillonLog.h"

#include "FileLog.h"
#include "Lettra.h"
#include "LogEntry.h"
#include "WinBeep.h"

#include <cstdarg>

namespace quillon
{

namespace
{

// Every line carries the category "WEB", the level word "debug" and the
// number 532; the file shows only the time and the text.
constexpr SLogEntryMark LineMark = {"WEB", "debug", 532};

constexpr const char* LogFileName = "Brevant.LOG";
constexpr int SpareLogNames = 9;

void WriteLine(CChronex::Severity severity, const char* format, va_list args)
{
    WriteLogEntryV(GetQuillonLog(), LineMark, severity, format, args);
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
CFileLog& GetQuillonLog()
{
    static CFileLog& log = *new CFileLog;
    return log;
}

LOG_ENTRY_FRONT_END(_debug, WriteLine, CChronex::Debug)
LOG_ENTRY_FRONT_END(_info, WriteLine, CChronex::Information)
LOG_ENTRY_FRONT_END(_warning, WriteLine, CChronex::Warning)
LOG_ENTRY_FRONT_END(_error, WriteLine, CChronex::Error)
LOG_ENTRY_FRONT_END(_tinfo, WriteLine, GetQuillonLog().GetSeverity())
LOG_ENTRY_FRONT_END(_fatal, WriteFatalLine, CChronex::Fatal)

void _fdebug(const char* text)
{
    WriteLogEntryText(GetQuillonLog(), LineMark, CChronex::Debug, text);
}

bool OpenQuillonLog(const char* path)
{
    return OpenRotatedLog(GetQuillonLog(), path, QuillonLogRotateSize) != 0;
}

bool OpenQuillonLogIn(const char* folder)
{
    const Lettra base(folder != nullptr ? folder : "");
    if (OpenQuillonLog(base + LogFileName))
    {
        return true;
    }
    for (int number = 1; number <= SpareLogNames; ++number)
    {
        Lettra path;
        path.Format("%sBrevant.%d.LOG", static_cast<const char*>(base), number);
        if (OpenQuillonLog(path))
        {
            return true;
        }
    }
    return false;
}

} // namespace quillon
