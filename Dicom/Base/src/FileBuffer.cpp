#include "FileBuffer.h"

#include "VeltaroLog.h"
#include "WinError.h"
#include "WinFile.h"
#include "WinHandle.h"

#include <algorithm>

namespace
{

HANDLE OpenFile(const char* name, DWORD access, DWORD share, DWORD creation, DWORD flags)
{
    return CreateFileA(name, access, share, nullptr, creation, flags, nullptr);
}

// One ReadFile: the bytes read, or -1 when the call fails or reads nothing.
int ReadOnce(HANDLE handle, void* block, std::uint32_t count)
{
    DWORD read = 0;
    if (ReadFile(handle, block, count, &read, nullptr) == 0 || read == 0)
    {
        return -1;
    }
    return static_cast<int>(std::min<DWORD>(read, 0x7FFFFFFF));
}

} // namespace

FileHandle::~FileHandle()
{
    CloseHandleOnly();
}

DWORD FileHandle::GetShareMode(int shareCode)
{
    switch (shareCode)
    {
    case _SH_DENYWR:
        return FILE_SHARE_READ;
    case _SH_DENYRD:
        return FILE_SHARE_WRITE;
    case _SH_DENYNO:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;
    }
}

void FileHandle::CloseHandleOnly()
{
    if (m_handle != INVALID_HANDLE_VALUE)
    {
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
}

int FileHandle::Close()
{
    CloseHandleOnly();
    return 1;
}

std::uint32_t FileHandle::Seek(std::int32_t distance, int origin)
{
    static constexpr DWORD Methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    if (origin < 0 || origin > 2)
    {
        return 0;
    }
    const DWORD position = SetFilePointer(m_handle, distance, nullptr, Methods[origin]);
    return position == INVALID_SET_FILE_POINTER ? 0 : position;
}

std::uint32_t FileHandle::GetFileSize()
{
    const DWORD size = ::GetFileSize(m_handle, nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

std::uint32_t FileHandle::Tell()
{
    return SetFilePointer(m_handle, 0, nullptr, FILE_CURRENT);
}

std::uint32_t FileHandle::GetFileLeft()
{
    if (!IsOpen())
    {
        return 0;
    }
    const std::uint32_t size = GetFileSize();
    const std::uint32_t position = Tell();
    return size > position ? size - position : 0;
}

std::uint32_t FileHandle::AddFileLeft(std::uint32_t available)
{
    const std::uint64_t left = static_cast<std::uint64_t>(available) + GetFileLeft();
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(left, 0xFFFFFFFFu));
}

int FileHandle::CreateForWrite(const char* owner, const char* name, int shareCode)
{
    m_handle = OpenFile(name, GENERIC_WRITE, GetShareMode(shareCode), CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL);
    if (!IsOpen())
    {
        _syserror(GetLastError(), "Enter %s::OpenForWrite, Invoke CreateFile, filename = %s", owner,
                  name);
        return 0;
    }
    return 1;
}

int FileHandle::SendBinary(const void* block, std::uint32_t n)
{
    DWORD written = 0;
    const BOOL result = WriteFile(m_handle, block, n, &written, nullptr);
    if (result == 0)
    {
        _syserror(GetLastError(), "Enter DFB::SendBinary, Invoke WriteFile");
    }
    return result;
}

IFB::~IFB()
{
    IFB::Close();
}

int IFB::Open(const char* name, int shareCode)
{
    Close();
    m_handle =
        OpenFile(name, GENERIC_READ, GetShareMode(shareCode), OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!IsOpen())
    {
        return 0;
    }
    m_end = 0;
    m_exhausted = false;
    m_knowsSize = false;
    m_position = 0;
    m_knowsPosition = true;
    return 1;
}

int IFB::Close()
{
    Reset();
    return FileHandle::Close();
}

std::uint32_t IFB::GetRemaining()
{
    // A file read to its end holds nothing beyond the buffered bytes.
    if (!IsOpen() || m_exhausted)
    {
        return GetAvailable();
    }
    if (!m_knowsSize)
    {
        m_fileSize = GetFileSize();
        m_knowsSize = true;
    }
    if (!m_knowsPosition)
    {
        m_position = Tell();
        m_knowsPosition = true;
    }
    const std::uint32_t left = m_fileSize > m_position ? m_fileSize - m_position : 0;
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{GetAvailable()} + left, 0xFFFFFFFFu));
}

std::uint32_t IFB::Seek(std::int32_t distance, int origin)
{
    m_knowsPosition = false;
    m_exhausted = false;
    return FileHandle::Seek(distance, origin);
}

int IFB::ReadSource(void* block, std::uint32_t count)
{
    const int read = IsOpen() && !m_exhausted ? ReadOnce(m_handle, block, count) : -1;
    if (read < 0)
    {
        m_end = 1;
        m_exhausted = true;
        return read;
    }
    // ReadFile stops short of the count only at the end of the file.
    m_exhausted = static_cast<std::uint32_t>(read) < count;
    m_position += static_cast<std::uint32_t>(read);
    return read;
}

bool IFB::IsSourceEnded()
{
    if (IsOpen() && !m_exhausted)
    {
        return false;
    }
    m_end = 1;
    return true;
}

int IFB::TransferTo(OutBuffer& target)
{
    while (FillAtLeast(DefaultChunkSize) != 0)
    {
        InBuffer::TransferTo(target);
    }
    return InBuffer::TransferTo(target);
}

int IFB::TransferTo(IFB& target)
{
    if (&target == this)
    {
        return 0;
    }
    target.Close();
    InBuffer::TransferTo(static_cast<InBuffer&>(target));
    target.m_handle = m_handle;
    target.m_end = m_end;
    target.m_fileSize = m_fileSize;
    target.m_knowsSize = m_knowsSize;
    target.m_position = m_position;
    target.m_knowsPosition = m_knowsPosition;
    target.m_exhausted = m_exhausted;
    m_handle = INVALID_HANDLE_VALUE;
    m_end = 1;
    return 1;
}

OFB::~OFB()
{
    OFB::Close();
}

int OFB::OpenForWrite(const char* name, int shareCode)
{
    Close();
    return CreateForWrite("OFB", name, shareCode);
}

int OFB::Close()
{
    if (IsOpen())
    {
        Flush();
    }
    Reset();
    return FileHandle::Close();
}

int OFB::TransferTo(OFB& target)
{
    if (&target == this)
    {
        return 0;
    }
    target.Close();
    OutBuffer::TransferTo(static_cast<OutBuffer&>(target));
    target.m_handle = m_handle;
    target.m_end = m_end;
    m_handle = INVALID_HANDLE_VALUE;
    return 1;
}

int OFB::WriteSink(const void* block, std::uint32_t n)
{
    return SendBinary(block, n);
}

DFB::DFB()
{
    m_end = 1;
}

DFB::~DFB()
{
    DFB::Close();
}

int DFB::OpenForRead(const char* name, int shareCode)
{
    Close();
    m_handle = OpenFile(name, GENERIC_READ, GetShareMode(shareCode), OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL);
    if (!IsOpen())
    {
        _syserror(GetLastError(), "Enter DFB::OpenForRead, Invoke CreateFile, filename = %s", name);
        return 0;
    }
    return 1;
}

int DFB::OpenForWrite(const char* name, int shareCode)
{
    Close();
    return CreateForWrite("DFB", name, shareCode);
}

void DFB::Reset()
{
    InBuffer::Reset();
    OutBuffer::Reset();
}

int DFB::Close()
{
    Reset();
    return FileHandle::Close();
}

std::uint32_t DFB::GetRemaining()
{
    return AddFileLeft(GetAvailable());
}

int DFB::ReadSource(void* block, std::uint32_t count)
{
    return IsOpen() ? ReadOnce(m_handle, block, count) : -1;
}

int DFB::WriteSink(const void* block, std::uint32_t n)
{
    return SendBinary(block, n);
}

RawFileReader::~RawFileReader() = default;

int RawFileReader::Open(const char* name, int shareCode)
{
    Close();
    m_handle = OpenFile(name, GENERIC_READ, GetShareMode(shareCode), OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL);
    if (!IsOpen())
    {
        return 0;
    }
    m_end = 0;
    return 1;
}

std::uint32_t RawFileReader::Read(void* target, std::uint32_t n)
{
    const int read = IsOpen() ? ReadOnce(m_handle, target, n) : -1;
    if (read < 0)
    {
        m_end = 1;
        return 0;
    }
    return static_cast<std::uint32_t>(read);
}
