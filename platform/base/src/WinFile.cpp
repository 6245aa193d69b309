#include "WinFile.h"

#include "ErrnoMap.h"
#include "FileInfo.h"
#include "KernelObject.h"
#include "NativePath.h"
#include "ProgramFolderStore.h"
#include "ShareMode.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace
{
class CFileObject : public platform::CKernelObject
{
public:
    CFileObject(int fd, bool canRead, bool canWrite, bool regular, std::uint64_t shareEntry)
        : m_fd(fd), m_canRead(canRead), m_canWrite(canWrite), m_regular(regular),
          m_shareEntry(shareEntry)
    {
    }
    ~CFileObject() override
    {
        platform::ReleaseShareMode(m_shareEntry);
        close(m_fd);
    }
    CFileObject(const CFileObject&) = delete;
    CFileObject& operator=(const CFileObject&) = delete;

    int GetDescriptor() const { return m_fd; }
    bool CanRead() const { return m_canRead; }
    bool CanWrite() const { return m_canWrite; }
    bool IsRegular() const { return m_regular; }

private:
    int m_fd;
    bool m_canRead;
    bool m_canWrite;
    bool m_regular;
    std::uint64_t m_shareEntry;
};

struct SOpenRequest
{
    std::string path;
    bool read = false;
    bool write = false;
    int createFlags = 0; // O_CREAT, O_EXCL, O_APPEND
    DWORD share = 0;
    bool isStream = false;
    // The caller's spelling when path is only the plain native form of it.
    std::string spelled;
};

void FailOpen(int fd, DWORD error, int err)
{
    close(fd);
    SetLastError(error);
    errno = err;
}

// Read-write when allowed, so the description can hold share markers;
// readable tells which it became.
int OpenForWrite(const std::string& path, int flags, bool needRead, bool& readable)
{
    readable = true;
    int fd = open(path.c_str(), flags | O_RDWR, 0666);
    if (fd < 0 && errno == EACCES && !needRead)
    {
        fd = open(path.c_str(), flags | O_WRONLY, 0666);
        readable = false;
    }
    return fd;
}

// Opens one description for the request and registers its share mode
// (under *pShareEntry for an open that is not a stream); *pRegular tells
// whether it is a regular file. -1 with the last error and errno set on
// failure.
int OpenShared(const SOpenRequest& request, std::uint64_t* pShareEntry, bool* pRegular = nullptr)
{
    const int flags = request.createFlags | O_CLOEXEC;
    bool readable = true;
    int fd = -1;
    const std::string path = platform::GetStoredCopy(request.path);
    if (request.write)
    {
        fd = OpenForWrite(path, flags, request.read, readable);
        // A program folder that refuses the write: the user's copy of it.
        if (fd < 0)
        {
            const std::string stored = platform::MakeStoredCopyPath(path, errno);
            if (!stored.empty())
            {
                fd = OpenForWrite(stored, flags, request.read, readable);
            }
        }
    }
    else
    {
        fd = open(path.c_str(), flags | O_RDONLY);
    }
    // Most names are written as the file system has them: only when the
    // plain name is missing is the case-insensitive match looked for.
    if (fd < 0 && errno == ENOENT && !request.spelled.empty() && (flags & O_CREAT) == 0)
    {
        SOpenRequest resolved = request;
        resolved.path = ResolveNativePath(request.spelled.c_str());
        resolved.spelled.clear();
        if (resolved.path != request.path)
        {
            return OpenShared(resolved, pShareEntry, pRegular);
        }
        errno = ENOENT;
    }
    if (fd < 0)
    {
        platform::SetLastErrorFromErrno();
        return -1;
    }
    struct stat info
    {
    };
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))
    {
        FailOpen(fd, ERROR_ACCESS_DENIED, EACCES);
        return -1;
    }
    platform::SShareRequest shareRequest;
    shareRequest.canRead = request.read;
    shareRequest.canWrite = request.write;
    shareRequest.share = request.share;
    shareRequest.fdReadable = readable;
    shareRequest.isStream = request.isStream;
    const platform::enShareResult share =
        platform::AcquireShareMode(fd, info, shareRequest, pShareEntry);
    if (share == platform::enShareResult::Violation)
    {
        FailOpen(fd, ERROR_SHARING_VIOLATION, EACCES);
        return -1;
    }
    if (pRegular != nullptr)
    {
        *pRegular = S_ISREG(info.st_mode);
    }
    return fd;
}

bool PathExists(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0;
}

int GetCreateFlags(DWORD creation)
{
    switch (creation)
    {
    case CREATE_NEW:
        return O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
        return O_CREAT;
    default:
        return 0;
    }
}

bool IsValidCreation(DWORD creation, DWORD access)
{
    if (creation < CREATE_NEW || creation > TRUNCATE_EXISTING)
    {
        return false;
    }
    return creation != TRUNCATE_EXISTING || (access & GENERIC_WRITE) != 0;
}

CFileObject* GetFile(HANDLE file)
{
    return platform::GetKernelObject<CFileObject>(file);
}

// The file a read or write goes to, with the count of bytes moved cleared
// first; null, with the last error set, when the request cannot start.
CFileObject* StartTransfer(HANDLE file, const void* buffer, DWORD count, LPDWORD done,
                           LPOVERLAPPED overlapped, bool bWrite)
{
    if (done != nullptr)
    {
        *done = 0;
    }
    CFileObject* object = GetFile(file);
    if (object == nullptr)
    {
        return nullptr;
    }
    if (overlapped != nullptr || (buffer == nullptr && count > 0))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!(bWrite ? object->CanWrite() : object->CanRead()))
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return object;
}

std::string GetLastComponent(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool CopyFileContents(const std::string& source, const std::string& target)
{
    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
    {
        return false;
    }
    struct stat info
    {
    };
    fstat(in, &info);
    const int out =
        open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777);
    if (out < 0)
    {
        close(in);
        return false;
    }
    char buffer[65536];
    bool ok = true;
    ssize_t got = 0;
    while (ok && (got = read(in, buffer, sizeof buffer)) > 0)
    {
        ok = write(out, buffer, static_cast<std::size_t>(got)) == got;
    }
    ok = ok && got == 0;
    close(in);
    ok = close(out) == 0 && ok;
    if (!ok)
    {
        unlink(target.c_str());
    }
    return ok;
}

// Parses an fopen mode into the open request and the mode for fdopen.
bool ParseStreamMode(const char* mode, SOpenRequest& request, std::string& streamMode,
                     bool& truncate)
{
    if (mode == nullptr)
    {
        return false;
    }
    const bool update = std::strchr(mode, '+') != nullptr;
    truncate = false;
    switch (mode[0])
    {
    case 'r':
        request.read = true;
        request.write = update;
        break;
    case 'w':
        request.write = true;
        request.read = update;
        request.createFlags = O_CREAT;
        truncate = true;
        break;
    case 'a':
        request.write = true;
        request.read = update;
        request.createFlags = O_CREAT | O_APPEND;
        break;
    default:
        return false;
    }
    streamMode = std::string(1, mode[0]) + (update ? "+b" : "b");
    return true;
}

DWORD GetShareFromShareFlag(int shareFlag)
{
    switch (shareFlag)
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
} // namespace

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD creation,
                   DWORD, HANDLE)
{
    if (path == nullptr || *path == '\0' || !IsValidCreation(creation, access))
    {
        SetLastError(path == nullptr || *path == '\0' ? ERROR_PATH_NOT_FOUND
                                                      : ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    SOpenRequest request;
    if (creation == OPEN_EXISTING || creation == TRUNCATE_EXISTING)
    {
        request.path = GetNativePath(path);
        request.spelled = path;
    }
    else
    {
        request.path = ResolveNativePath(path);
    }
    request.read = (access & GENERIC_READ) != 0;
    request.write = (access & GENERIC_WRITE) != 0;
    request.createFlags = GetCreateFlags(creation);
    request.share = share;
    const bool existed =
        (creation == CREATE_ALWAYS || creation == OPEN_ALWAYS) && PathExists(request.path);
    std::uint64_t shareEntry = 0;
    bool regular = false;
    const int fd = OpenShared(request, &shareEntry, &regular);
    if (fd < 0)
    {
        return INVALID_HANDLE_VALUE;
    }
    auto object =
        std::make_unique<CFileObject>(fd, request.read, request.write, regular, shareEntry);
    if ((creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING) && ftruncate(fd, 0) != 0)
    {
        platform::SetLastErrorFromErrno();
        return INVALID_HANDLE_VALUE;
    }
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return platform::RegisterKernelObject(std::move(object));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped)
{
    CFileObject* object = StartTransfer(file, buffer, toRead, read, overlapped, false);
    if (object == nullptr)
    {
        return FALSE;
    }
    DWORD total = 0;
    while (total < toRead)
    {
        const ssize_t got =
            ::read(object->GetDescriptor(), static_cast<char*>(buffer) + total, toRead - total);
        if (got < 0 && errno == EINTR)
        {
            continue;
        }
        if (got < 0)
        {
            platform::SetLastErrorFromErrno();
            return FALSE;
        }
        if (got == 0)
        {
            break;
        }
        total += static_cast<DWORD>(got);
        // A regular file delivers less than asked only at its end: asking
        // again would only read nothing.
        if (object->IsRegular())
        {
            break;
        }
    }
    if (read != nullptr)
    {
        *read = total;
    }
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED overlapped)
{
    CFileObject* object = StartTransfer(file, buffer, toWrite, written, overlapped, true);
    if (object == nullptr)
    {
        return FALSE;
    }
    DWORD total = 0;
    while (total < toWrite)
    {
        const ssize_t put = ::write(object->GetDescriptor(),
                                    static_cast<const char*>(buffer) + total, toWrite - total);
        if (put < 0 && errno == EINTR)
        {
            continue;
        }
        if (put <= 0)
        {
            SetLastError(put < 0 ? platform::Win32ErrorFromErrno(errno) : ERROR_DISK_FULL);
            if (written != nullptr)
            {
                *written = total;
            }
            return FALSE;
        }
        total += static_cast<DWORD>(put);
    }
    if (written != nullptr)
    {
        *written = total;
    }
    return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method)
{
    CFileObject* object = GetFile(file);
    if (object == nullptr)
    {
        return INVALID_SET_FILE_POINTER;
    }
    std::int64_t move = distance;
    if (distanceHigh != nullptr)
    {
        move = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*distanceHigh)) << 32) |
            static_cast<std::uint32_t>(distance));
    }
    const int fd = object->GetDescriptor();
    std::int64_t origin = 0;
    if (method == FILE_CURRENT)
    {
        origin = lseek(fd, 0, SEEK_CUR);
    }
    else if (method == FILE_END)
    {
        struct stat info
        {
        };
        origin = fstat(fd, &info) == 0 ? info.st_size : -1;
    }
    else if (method != FILE_BEGIN)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (origin < 0)
    {
        platform::SetLastErrorFromErrno();
        return INVALID_SET_FILE_POINTER;
    }
    const std::int64_t target = origin + move;
    if (target < 0)
    {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh == nullptr && target > 0xFFFFFFFFLL)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (lseek(fd, target, SEEK_SET) < 0)
    {
        platform::SetLastErrorFromErrno();
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh != nullptr)
    {
        *distanceHigh = static_cast<LONG>(target >> 32);
    }
    const DWORD low = static_cast<DWORD>(target & 0xFFFFFFFF);
    if (low == INVALID_SET_FILE_POINTER)
    {
        SetLastError(NO_ERROR);
    }
    return low;
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh)
{
    CFileObject* object = GetFile(file);
    struct stat info
    {
    };
    if (object == nullptr)
    {
        return INVALID_FILE_SIZE;
    }
    if (fstat(object->GetDescriptor(), &info) != 0)
    {
        platform::SetLastErrorFromErrno();
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (sizeHigh != nullptr)
    {
        *sizeHigh = static_cast<DWORD>(size >> 32);
    }
    return static_cast<DWORD>(size & 0xFFFFFFFF);
}

BOOL FlushFileBuffers(HANDLE file)
{
    CFileObject* object = GetFile(file);
    if (object == nullptr)
    {
        return FALSE;
    }
    if (fsync(object->GetDescriptor()) != 0)
    {
        platform::SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

BOOL DeleteFileA(LPCSTR path)
{
    const std::string native = platform::GetStoredCopy(ResolveNativePath(path));
    struct stat info
    {
    };
    if (native.empty() || lstat(native.c_str(), &info) != 0)
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (S_ISDIR(info.st_mode))
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (unlink(native.c_str()) != 0)
    {
        platform::SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

BOOL MoveFileA(LPCSTR existing, LPCSTR target)
{
    const std::string spelledSource = ResolveNativePath(existing);
    const std::string source = platform::GetStoredCopy(spelledSource);
    // A file of the user's copy of the program folder is renamed there.
    std::string destination = ResolveNativePath(target);
    if (source != spelledSource)
    {
        const std::string stored = platform::GetStorePathFor(destination);
        destination = stored.empty() ? destination : stored;
    }
    struct stat info
    {
    };
    if (source.empty() || lstat(source.c_str(), &info) != 0)
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (destination.empty())
    {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0)
    {
        return TRUE;
    }
    if (errno == EEXIST)
    {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (errno == EXDEV && S_ISREG(info.st_mode))
    {
        if (PathExists(destination))
        {
            SetLastError(ERROR_ALREADY_EXISTS);
            return FALSE;
        }
        if (CopyFileContents(source, destination) && unlink(source.c_str()) == 0)
        {
            return TRUE;
        }
    }
    platform::SetLastErrorFromErrno();
    return FALSE;
}

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes)
{
    const std::string native = platform::GetStoredCopy(ResolveNativePath(path));
    struct stat info
    {
    };
    if (native.empty() || stat(native.c_str(), &info) != 0)
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    mode_t mode = info.st_mode & 07777;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
    {
        mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
    }
    else
    {
        mode |= S_IWUSR;
    }
    if (chmod(native.c_str(), mode) != 0)
    {
        platform::SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR path)
{
    const std::string native = platform::GetStoredCopy(ResolveNativePath(path));
    struct stat info
    {
    };
    if (native.empty() || stat(native.c_str(), &info) != 0)
    {
        SetLastError(native.empty() ? ERROR_PATH_NOT_FOUND : platform::Win32ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string name = native;
    while (name.size() > 1 && name.back() == '/')
    {
        name.pop_back();
    }
    return platform::GetFileAttributesFromStat(info, GetLastComponent(name));
}

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer)
{
    const char* folder = std::getenv("TMPDIR");
    std::string path = (folder != nullptr && *folder != '\0') ? folder : "/tmp/";
    if (path.back() != '/')
    {
        path += '/';
    }
    const auto length = static_cast<DWORD>(path.size());
    if (buffer == nullptr || bufferLength <= length)
    {
        return length + 1;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return length;
}

FILE* _fsopen(const char* path, const char* mode, int shareFlag)
{
    SOpenRequest request;
    std::string streamMode;
    bool truncate = false;
    if (path == nullptr || *path == '\0' || !ParseStreamMode(mode, request, streamMode, truncate))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        errno = EINVAL;
        return nullptr;
    }
    request.path = ResolveNativePath(path);
    request.share = GetShareFromShareFlag(shareFlag);
    request.isStream = true;
    const int fd = OpenShared(request, nullptr);
    if (fd < 0)
    {
        return nullptr;
    }
    if (truncate && ftruncate(fd, 0) != 0)
    {
        platform::SetLastErrorFromErrno();
        close(fd);
        return nullptr;
    }
    FILE* stream = fdopen(fd, streamMode.c_str());
    if (stream == nullptr)
    {
        platform::SetLastErrorFromErrno();
        close(fd);
    }
    return stream;
}
