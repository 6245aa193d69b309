// Byte streams joined with a file: IFB reads a file through an input
// stream, OFB writes one through an output stream, DFB does either with one
// object, and RawFileReader reads plain blocks from a file position. Open
// operations take the C runtime's share codes (0x10 deny both, 0x20 deny
// write, 0x30 deny read, 0x40 deny none).
#pragma once

#include "InBuffer.h"
#include "OutBuffer.h"
#include "VeltaroExport.h"
#include "WinTypes.h"

#include <cstdint>

class VELTARO_API FileHandle
{
public:
    FileHandle() = default;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    virtual ~FileHandle();

    virtual int Open(const char* name, int shareCode) = 0;
    // Closes the handle; returns 1.
    virtual int Close();
    virtual int CloseFile() { return Close(); }
    // origin 0 from the start, 1 from the current position, 2 from the end;
    // the new position, or 0 on failure or for another origin.
    virtual std::uint32_t Seek(std::int32_t distance, int origin);
    // The low 32 bits of the size, 0 on failure.
    virtual std::uint32_t GetFileSize();
    virtual std::uint32_t Tell();
    virtual int IsEnd() { return m_end; }

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

protected:
    static DWORD GetShareMode(int shareCode);
    // The bytes the file holds beyond the current position.
    std::uint32_t GetFileLeft();
    // The buffered bytes and those the file holds beyond them, as far as 32
    // bits count.
    std::uint32_t AddFileLeft(std::uint32_t available);
    // Creates or truncates the file; a failure is logged as the owner's
    // OpenForWrite.
    int CreateForWrite(const char* owner, const char* name, int shareCode);
    void CloseHandleOnly();
    // One WriteFile of the block; logs a failure.
    int SendBinary(const void* block, std::uint32_t n);

    int m_end = 0;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

class VELTARO_API IFB : public InBuffer, public FileHandle
{
public:
    IFB() = default;
    ~IFB() override;

    // Closes and resets first; 0 (and no log line) when the file cannot be
    // opened.
    int Open(const char* name, int shareCode) override;
    int Close() override;
    int IsEnd() override { return m_end; }
    std::uint32_t GetRemaining() override;
    // Streams the whole rest of the file into the output.
    int TransferTo(OutBuffer& target) override;
    int TransferTo(InBuffer& target) override { return InBuffer::TransferTo(target); }
    // Hands over the stream, the handle and the end flag.
    virtual int TransferTo(IFB& target);
    std::uint32_t Seek(std::int32_t distance, int origin) override;

protected:
    // Once the file has ended, nothing more is asked of it.
    int ReadSource(void* block, std::uint32_t count) override;
    bool IsSourceEnded() override;

private:
    // The file's size, asked once an open, and the position, counted as
    // the stream reads, spare a system call at every GetRemaining.
    std::uint32_t m_fileSize = 0;
    bool m_knowsSize = false;
    std::uint32_t m_position = 0;
    bool m_knowsPosition = false;
    // The last read found the end of the file.
    bool m_exhausted = false;
};

class VELTARO_API OFB : public OutBuffer, public FileHandle
{
public:
    OFB() = default;
    // Flushes while a file is open, then closes.
    ~OFB() override;

    int Open(const char* name, int shareCode) override { return OpenForWrite(name, shareCode); }
    // Creates or truncates the file; logs a failure.
    int OpenForWrite(const char* name, int shareCode);
    int Close() override;
    virtual int TransferTo(OFB& target);
    int TransferTo(InBuffer& target) override { return OutBuffer::TransferTo(target); }
    int TransferTo(OutBuffer& target) override { return OutBuffer::TransferTo(target); }

protected:
    int WriteSink(const void* block, std::uint32_t n) override;
};

class VELTARO_API DFB : public InBuffer, public OutBuffer, public FileHandle
{
public:
    DFB();
    // Closes without flushing.
    ~DFB() override;

    // DFB opens through OpenForRead and OpenForWrite only.
    int Open(const char*, int) override { return 0; }
    // Both log a failure.
    int OpenForRead(const char* name, int shareCode);
    int OpenForWrite(const char* name, int shareCode);
    // Resets both streams and closes without flushing.
    int Close() override;
    // Resets both streams.
    void Reset() override;
    std::uint32_t GetRemaining() override;
    int IsEnd() override { return m_end; }

protected:
    int ReadSource(void* block, std::uint32_t count) override;
    int WriteSink(const void* block, std::uint32_t n) override;
};

class VELTARO_API RawFileReader : public FileHandle
{
public:
    RawFileReader() = default;
    ~RawFileReader() override;

    // Closes first; 0 (and no log line) when the file cannot be opened.
    int Open(const char* name, int shareCode) override;
    // One ReadFile: the bytes read, or 0 with the end flag set.
    std::uint32_t Read(void* target, std::uint32_t n);
};
