// SimpleFile: the small file class the library writes pushed configuration
// texts with and reads its configuration files through. Failures are
// answered with 0 or false and never thrown.
#pragma once

#include "QuillonExport.h"
#include "WinTypes.h"

class QUILLON_API SimpleFile
{
public:
    SimpleFile() = default;
    SimpleFile(const SimpleFile&) = delete;
    SimpleFile& operator=(const SimpleFile&) = delete;
    // Closes the file.
    virtual ~SimpleFile();

    // Closes the file when it is open; returns 1.
    virtual int Close();
    // origin 0 from the start, 1 from the current position, 2 from the end;
    // the new position, or 0 for a failure or any other origin.
    virtual long Seek(long offset, int origin);
    // The size of the file; 0 on failure.
    virtual long GetLength();
    // The current position; 0 on failure.
    virtual long GetPosition();
    virtual int HasError();
    // The number of bytes written; 0, with the error flag set, when nothing
    // could be written.
    virtual int Write(const void* buffer, int count);

    // Closes first, then creates the file anew (others may read it) and
    // clears the error flag; false when it cannot be created.
    bool OpenForWrite(const char* path);
    // Opens an existing file for reading, others may read and write it;
    // false when it cannot be opened.
    bool OpenForRead(const char* path);
    // The number of bytes read into the buffer; 0 at the end, and 0 with the
    // error flag set on failure.
    int Read(void* buffer, int count);
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    int m_nError = 0;
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
