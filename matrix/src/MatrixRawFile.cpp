#include "MatrixRawFile.h"

#include "MatrixLog.h"
#include "WinFile.h"

#include <algorithm>

namespace matrix
{
namespace
{

// Reads and writes go in pieces a DWORD can count.
constexpr std::int64_t kChunk = 1 << 30;

class CFileCloser
{
public:
    explicit CFileCloser(HANDLE file) : m_hFile(file) {}
    ~CFileCloser()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            CloseHandle(m_hFile);
    }
    CFileCloser(const CFileCloser&) = delete;
    CFileCloser& operator=(const CFileCloser&) = delete;

private:
    HANDLE m_hFile;
};

std::int64_t GetFileLength(HANDLE file)
{
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return -1;
    return std::int64_t(high) << 32 | low;
}

} // namespace

bool ReadRawFile(const char* path, int offset, char* buffer, std::int64_t length)
{
    if (path == nullptr || buffer == nullptr || offset < 0 || length <= 0)
        return false;
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        LogRefusal("cannot open the raw file %s", path);
        return false;
    }
    CFileCloser closer(file);
    const std::int64_t fileLength = GetFileLength(file);
    if (fileLength < 0 || fileLength - offset < length)
    {
        LogRefusal("the raw file %s holds %lld bytes, %lld needed after offset %d", path,
                   static_cast<long long>(fileLength), static_cast<long long>(length), offset);
        return false;
    }
    if (offset != 0 && SetFilePointer(file, offset, nullptr, FILE_BEGIN) != DWORD(offset))
        return false;
    for (std::int64_t done = 0; done < length;)
    {
        const DWORD piece = DWORD(std::min(kChunk, length - done));
        DWORD read = 0;
        if (!ReadFile(file, buffer + done, piece, &read, nullptr) || read == 0)
        {
            LogRefusal("reading the raw file %s stopped after %lld bytes", path,
                       static_cast<long long>(done));
            return false;
        }
        done += read;
    }
    return true;
}

bool WriteRawFile(const char* path, const char* data, std::int64_t length)
{
    if (path == nullptr)
        return false;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        LogRefusal("cannot create the raw file %s", path);
        return false;
    }
    CFileCloser closer(file);
    if (data == nullptr || length <= 0)
        return false;
    for (std::int64_t done = 0; done < length;)
    {
        const DWORD piece = DWORD(std::min(kChunk, length - done));
        DWORD written = 0;
        if (!WriteFile(file, data + done, piece, &written, nullptr) || written == 0)
        {
            LogRefusal("writing the raw file %s stopped after %lld bytes", path,
                       static_cast<long long>(done));
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace matrix
