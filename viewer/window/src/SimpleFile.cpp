#include "SimpleFile.h"

#include "WinFile.h"

namespace
{

// The position SetFilePointer moves to, or -1 on failure.
long long MovePointer(HANDLE file, long long distance, DWORD method)
{
    LONG high = static_cast<LONG>(distance >> 32);
    SetLastError(NO_ERROR);
    const DWORD low = SetFilePointer(file, static_cast<LONG>(distance & 0xFFFFFFFF), &high, method);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
    {
        return -1;
    }
    return (static_cast<long long>(high) << 32) | low;
}

} // namespace

SimpleFile::~SimpleFile()
{
    SimpleFile::Close();
}

int SimpleFile::Close()
{
    if (IsOpen())
    {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    return 1;
}

long SimpleFile::Seek(long offset, int origin)
{
    if (origin < FILE_BEGIN || origin > FILE_END || !IsOpen())
    {
        return 0;
    }
    const long long position = MovePointer(m_hFile, offset, static_cast<DWORD>(origin));
    return position < 0 ? 0 : static_cast<long>(position);
}

long SimpleFile::GetLength()
{
    if (!IsOpen())
    {
        return 0;
    }
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(m_hFile, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
    {
        return 0;
    }
    return static_cast<long>((static_cast<unsigned long long>(high) << 32) | low);
}

long SimpleFile::GetPosition()
{
    const long long position = IsOpen() ? MovePointer(m_hFile, 0, FILE_CURRENT) : -1;
    return position < 0 ? 0 : static_cast<long>(position);
}

int SimpleFile::HasError()
{
    return m_nError;
}

int SimpleFile::Write(const void* buffer, int count)
{
    DWORD written = 0;
    if (!IsOpen() || buffer == nullptr || count <= 0 ||
        !WriteFile(m_hFile, buffer, static_cast<DWORD>(count), &written, nullptr) || written == 0)
    {
        m_nError = 1;
        return 0;
    }
    return static_cast<int>(written);
}

bool SimpleFile::OpenForWrite(const char* path)
{
    Close();
    m_hFile = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    m_nError = 0;
    return IsOpen();
}

bool SimpleFile::OpenForRead(const char* path)
{
    Close();
    m_hFile = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return IsOpen();
}

int SimpleFile::Read(void* buffer, int count)
{
    DWORD read = 0;
    if (!IsOpen() || buffer == nullptr || count < 0 ||
        !ReadFile(m_hFile, buffer, static_cast<DWORD>(count), &read, nullptr))
    {
        m_nError = 1;
        return 0;
    }
    return static_cast<int>(read);
}
