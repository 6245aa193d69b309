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

} // namespace

// The log outlives every other object of the process: objects of other
// libraries may still write through it while static destructors run. The
// library's stop writes the footer and closes the file.
CFileLog& GetQuillonLog()
{
    static CFileLog& log = *new CFileLog;
    return log;
}

#define QUILLON_LOG_FRONT_END(name, severity)                                                      \
    void name(const char* format, ...)                                                             \
    {                                                                                              \
        va_list args;                                                                              \
        va_start(args, format);                                                                    \
        WriteLine(severity, format, args);                                                         \
        va_end(args);                                                                              \
    }

QUILLON_LOG_FRONT_END(_debug, CChronex::Debug)
QUILLON_LOG_FRONT_END(_info, CChronex::Information)
QUILLON_LOG_FRONT_END(_warning, CChronex::Warning)
QUILLON_LOG_FRONT_END(_error, CChronex::Error)
QUILLON_LOG_FRONT_END(_tinfo, GetQuillonLog().GetSeverity())

#undef QUILLON_LOG_FRONT_END

void _fatal(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteLine(CChronex::Fatal, format, args);
    va_end(args);
    Beep(1000, 1000);
}

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
