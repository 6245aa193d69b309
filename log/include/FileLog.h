// CFileLog: the log file of a module. It writes what its builders hand it to
// a C stream (a file it opened, a stream it was given, or standard output)
// and flushes in batches: after every LineOfDelayFlush + 2 writes, counted
// over all file logs of the process.
//
// Copies of a log that opened its own file share that file: it is closed
// once, by the last of them to let it go.
#pragma once

#include "Chronex.h"
#include "ChronexExport.h"

#include <cstdio>
#include <memory>

class CHRONEX_API CFileLog : public CChronex
{
public:
    CFileLog();
    // Writes to the same stream as other; not attached to it.
    CFileLog(const CFileLog& other);
    CFileLog& operator=(const CFileLog& other);
    // Writes the footer and lets go of an own file.
    ~CFileLog() override;

    // Footer into the current stream, then a file of its own opened for
    // appending with other writers denied, and the banner. 0 (and no
    // stream) for a null path or a file that cannot be opened.
    int On(const char* path);
    // As On(path) for a stream that stays the caller's.
    int On(FILE* stream);
    // As On(path) for standard output; the path is kept.
    int On();
    // Footer; an own file is closed, a given stream stays attached.
    void Off();

    // ftell of the stream, -1 without one.
    long GetFileSize() const;
    int IsLogOn() const;
    const char* GetPath() const { return m_path; }

    void Flush() override;

    // Writes since the last batch flush, shared by every file log.
    static int FlushCounter;

private:
    void Flush(const char* text, int length) override;
    void LetGoOfFile();
    void SetPath(const char* path);

    static constexpr int kPathSize = 260;
    char m_path[kPathSize] = {};
    FILE* m_file = nullptr;
    // Holds the stream while it is this log's own; copies share it.
    std::shared_ptr<FILE> m_ownedFile;
};
