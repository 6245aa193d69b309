#include "LogEntry.h"

#include "FileLog.h"
#include "WinFile.h"

#include <cstdio>
#include <string>

namespace
{

void WriteMarkedEntry(const CChronex& log, const SLogEntryMark& mark, CChronex::Severity severity,
                      const auto& appendText)
{
    CChronex entry(log, mark.module, mark.levelWord);
    entry.Append(severity, mark.line, mark.levelWord, "");
    appendText(entry);
    entry.EndLine();
    entry.Flush("\r\n", 2);
}

// The size of the file as it stands on disk; -1 when it cannot be read.
long GetSizeOnDisk(const char* path)
{
    FILE* file = path != nullptr ? _fsopen(path, "rb", _SH_DENYNO) : nullptr;
    if (file == nullptr)
    {
        return -1;
    }
    const long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    std::fclose(file);
    return size;
}

} // namespace

void WriteLogEntryV(const CChronex& log, const SLogEntryMark& mark, CChronex::Severity severity,
                    const char* format, va_list args)
{
    WriteMarkedEntry(log, mark, severity,
                     [&](CChronex& entry)
                     {
                         if (format != nullptr &&
                             format[0] != '\0') // an empty text needs no formatting
                         {
                             entry.AppendFormatV(format, args);
                         }
                     });
}

void WriteLogEntryText(const CChronex& log, const SLogEntryMark& mark, CChronex::Severity severity,
                       const char* text)
{
    WriteMarkedEntry(log, mark, severity,
                     [&](CChronex& entry)
                     {
                         if (text != nullptr)
                         {
                             entry.Puts(text);
                         }
                     });
}

int OpenRotatedLog(CFileLog& log, const char* path, long rotateSize)
{
    const long sizeBefore = GetSizeOnDisk(path);
    const int opened = log.On(path);
    if (opened == 0 || sizeBefore <= rotateSize)
    {
        return opened;
    }
    const std::string backup = std::string(path) + ".bak";
    log.Off();
    DeleteFileA(backup.c_str());
    MoveFileA(path, backup.c_str());
    DeleteFileA(path); // in case the move failed
    return log.On(path);
}
