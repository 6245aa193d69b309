#include "VeltaroLog.h"

#include "FileLog.h"
#include "LogEntry.h"
#include "WinBeep.h"
#include "WinClock.h"

#include <cstdarg>
#include <cstdint>
#include <string>

namespace
{

// Every entry carries the module "IOD", the level word "debug" and the line
// number 532; the file shows only the time and the text.
constexpr SLogEntryMark EntryMark = {"IOD", "debug", 532};

struct ExceptionName
{
    unsigned long code;
    const char* name;
    int tabs;
};

constexpr ExceptionName ExceptionNames[] = {
    {0x80000001, "exception_guard_page", 3},
    {0x80000002, "exception_datatype_misalignment", 1},
    {0x80000003, "exception_breakpoint", 3},
    {0x80000004, "exception_single_step", 3},
    {0xC0000005, "exception_access_violation", 2},
    {0xC0000006, "exception_in_page_error", 3},
    {0xC0000008, "exception_invalid_handle", 2},
    {0xC000001D, "exception_illegal_instruction", 1},
    {0xC0000025, "exception_noncontinuable_exception", 0},
    {0xC0000026, "exception_invalid_disposition", 1},
    {0xC000008C, "exception_array_bounds_exceeded", 1},
    {0xC000008D, "exception_flt_denormal_operand", 1},
    {0xC000008E, "exception_flt_divide_by_zero", 1},
    {0xC000008F, "exception_flt_inexact_result", 1},
    {0xC0000090, "exception_flt_invalid_operation", 1},
    {0xC0000091, "exception_flt_overflow", 3},
    {0xC0000092, "exception_flt_stack_check", 2},
    {0xC0000093, "exception_flt_underflow", 3},
    {0xC0000094, "exception_int_divide_by_zero", 1},
    {0xC0000095, "exception_int_overflow", 3},
    {0xC0000096, "exception_priv_instruction", 2},
    {0xC00000FD, "exception_stack_overflow", 2},
};

// State of the elapsed-time probe.
std::int64_t ProbeFrequency = 0;
std::int64_t ProbePrevious = 0;
int ProbeStarted = 0;

void WriteEntry(CChronex::Severity severity, const char* format, va_list args)
{
    WriteLogEntryV(GetVeltaroLog(), EntryMark, severity, format, args);
}

void FatalEntry(CChronex::Severity severity, const char* format, va_list args)
{
    WriteEntry(severity, format, args);
    Beep(1000, 1000);
    Beep(1000, 1000);
}

} // namespace

// The log outlives every other object of the process: other libraries'
// objects it writes through may be gone before static destructors would
// reach it. The library's shut-down writes the footer and closes the file.
CFileLog& GetVeltaroLog()
{
    static CFileLog& log = *new CFileLog;
    return log;
}

int VeltaroSetLogFileName(const char* path)
{
    CFileLog& log = GetVeltaroLog();
    OpenRotatedLog(log, path, VeltaroLogRotateSize);
    log.Banner("Veltaro Starting\r\n");
    return 1;
}

LOG_ENTRY_FRONT_END(_debug, WriteEntry, CChronex::Debug)
LOG_ENTRY_FRONT_END(_Veltarodebug, WriteEntry, CChronex::Debug)
LOG_ENTRY_FRONT_END(_info, WriteEntry, CChronex::Information)
LOG_ENTRY_FRONT_END(_tinfo, WriteEntry, CChronex::Information)
LOG_ENTRY_FRONT_END(_warning, WriteEntry, CChronex::Warning)
LOG_ENTRY_FRONT_END(_error, WriteEntry, CChronex::Error)

LOG_ENTRY_FRONT_END(_fatal, FatalEntry, CChronex::Fatal)

void _syserror(unsigned long /*code*/, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteEntry(CChronex::Information, format, args);
    va_end(args);
}

// The text follows one blank, as the builder's << puts it.
void _fdebug(const char* text)
{
    const Lettra entry = Lettra(" ") + (text != nullptr ? text : "");
    WriteLogEntryText(GetVeltaroLog(), EntryMark, CChronex::Debug, entry);
}

int _assert(const char* expression, const char* file, int line)
{
    _fatal("Assertion '%s' failed in file %s in line: %d.", expression, file, line);
    return 1;
}

void CloseDebug()
{
    GetVeltaroLog().Banner("\nVeltaro Closing\r\n");
}

double QueryPerformance(int tag)
{
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    if (ProbeStarted == 0)
    {
        LARGE_INTEGER frequency = {};
        QueryPerformanceFrequency(&frequency);
        ProbeFrequency = frequency.QuadPart;
        ProbePrevious = counter.QuadPart;
        ProbeStarted = 1;
        _debug("Tag = %d, QueryPerformance: Set StartTime Done.", tag);
        return 0.0;
    }
    // Only the low 32 bits of the counts take part, as unsigned numbers.
    const std::uint32_t ticks =
        static_cast<std::uint32_t>(counter.QuadPart) - static_cast<std::uint32_t>(ProbePrevious);
    const std::uint32_t perSecond = static_cast<std::uint32_t>(ProbeFrequency);
    const double elapsed = perSecond != 0 ? static_cast<double>(ticks) / perSecond : 0.0;
    ProbePrevious = counter.QuadPart;
    _debug("Tag = %d, Elapsed time = %f (seconds)", tag, elapsed);
    return elapsed;
}

int ExceptionFilter(unsigned long code)
{
    _debug("");
    _error("Enter ExceptionFilter.");
    for (const ExceptionName& entry : ExceptionNames)
    {
        if (entry.code == code)
        {
            _error("%s%s", entry.name, std::string(entry.tabs, '\t').c_str());
            break;
        }
    }
    return 1;
}
