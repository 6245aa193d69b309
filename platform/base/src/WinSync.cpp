#include "WinSync.h"

#include "ErrnoMap.h"
#include "KernelObject.h"
#include "LivenessLock.h"
#include "ObjectNamespace.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace
{
constexpr int kOpenAttempts = 8;

// --- Mutexes ---------------------------------------------------------------

// The in-process part of a mutex: owner thread and recursion count. Handles
// to one name in this process share it.
struct SMutexState
{
    std::mutex lock;
    std::condition_variable released;
    std::thread::id owner;
    int count = 0;
};

class CMutexObject : public platform::CKernelObject
{
public:
    CMutexObject(std::shared_ptr<SMutexState> state, int livenessFd)
        : m_state(std::move(state)), m_livenessFd(livenessFd)
    {
    }
    ~CMutexObject() override
    {
        if (m_livenessFd >= 0)
        {
            close(m_livenessFd);
        }
    }
    CMutexObject(const CMutexObject&) = delete;
    CMutexObject& operator=(const CMutexObject&) = delete;

    SMutexState& GetState() { return *m_state; }

private:
    std::shared_ptr<SMutexState> m_state;
    int m_livenessFd;
};

std::shared_ptr<SMutexState> GetMutexState(const std::string& name)
{
    static std::mutex lock;
    static std::map<std::string, std::weak_ptr<SMutexState>> states;
    std::lock_guard guard(lock);
    if (name.empty())
    {
        return std::make_shared<SMutexState>();
    }
    std::shared_ptr<SMutexState> state = states[name].lock();
    if (state == nullptr)
    {
        state = std::make_shared<SMutexState>();
        states[name] = state;
    }
    return state;
}

// The user's runtime folder, else a folder of the user's own in /tmp, where
// nobody else can place or hold a lock file in the user's name. Empty when
// that folder belongs to someone else or is open to others.
std::string GetLockFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0')
    {
        return runtime;
    }
    const std::string folder = "/tmp/platform-" + std::to_string(geteuid());
    mkdir(folder.c_str(), S_IRWXU);
    struct stat info
    {
    };
    const bool own = lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                     info.st_uid == geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
    return own ? folder : std::string();
}

// Opens the lock file of a named mutex and holds it shared; existed tells
// whether another holder was there. -1 with the last error set on failure.
int OpenMutexLockFile(const std::string& fileName, bool& existed)
{
    const std::string folder = GetLockFolder();
    if (folder.empty())
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return -1;
    }
    const std::string path =
        folder + "/platform-mutex-" + std::to_string(getuid()) + "-" + fileName + ".lock";
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (fd < 0)
    {
        platform::SetLastErrorFromErrno();
        return -1;
    }
    if (!platform::MakeOwnPrivateFile(fd))
    {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return -1;
    }
    existed = !platform::TryLockAlone(fd);
    if (!platform::HoldShared(fd, existed))
    {
        platform::SetLastErrorFromErrno();
        close(fd);
        return -1;
    }
    return fd;
}

void TakeMutex(SMutexState& state)
{
    std::unique_lock guard(state.lock);
    state.released.wait(guard, [&state]
                        { return state.count == 0 || state.owner == std::this_thread::get_id(); });
    state.owner = std::this_thread::get_id();
    ++state.count;
}

// --- File mappings ---------------------------------------------------------

// One open of a shared-memory object. Handles and views share it; when the
// last of them goes and no other process holds the object, the name is
// removed as well.
class CSharedMemory
{
public:
    CSharedMemory(int fd, std::string name, std::size_t size)
        : m_fd(fd), m_name(std::move(name)), m_size(size)
    {
    }
    ~CSharedMemory()
    {
        if (!m_name.empty() && platform::TryLockAlone(m_fd))
        {
            RemoveNameIfOurs();
        }
        close(m_fd);
    }
    CSharedMemory(const CSharedMemory&) = delete;
    CSharedMemory& operator=(const CSharedMemory&) = delete;

    int GetDescriptor() const { return m_fd; }
    std::size_t GetSize() const { return m_size; }

private:
    void RemoveNameIfOurs() const
    {
        const int named = shm_open(m_name.c_str(), O_RDONLY | O_CLOEXEC, 0);
        if (named >= 0)
        {
            if (platform::IsSameFile(named, m_fd))
            {
                shm_unlink(m_name.c_str());
            }
            close(named);
        }
    }

    int m_fd;
    std::string m_name;
    std::size_t m_size;
};

class CMappingObject : public platform::CKernelObject
{
public:
    explicit CMappingObject(std::shared_ptr<CSharedMemory> memory) : m_memory(std::move(memory)) {}

    const std::shared_ptr<CSharedMemory>& GetMemory() const { return m_memory; }

private:
    std::shared_ptr<CSharedMemory> m_memory;
};

struct SView
{
    std::size_t length;
    std::shared_ptr<CSharedMemory> memory;
};

struct SViewTable
{
    std::mutex lock;
    std::map<const void*, SView> views;
};

SViewTable& GetViewTable()
{
    static SViewTable table;
    return table;
}

// Every user has names of his own: two users never meet in one object.
std::string GetSharedMemoryName(LPCSTR name)
{
    return "/platform-shm-" + std::to_string(getuid()) + "-" + platform::GetObjectFileName(name);
}

// True when the descriptor still is the object behind the name (a holder
// leaving may have removed the name meanwhile).
bool IsStillNamed(int fd, const std::string& name)
{
    const int named = shm_open(name.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (named < 0)
    {
        return false;
    }
    const bool same = platform::IsSameFile(named, fd);
    close(named);
    return same;
}

std::size_t GetDescriptorSize(int fd)
{
    struct stat info
    {
    };
    return fstat(fd, &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

// Creates or joins the named object. Null with the last error set on failure.
std::shared_ptr<CSharedMemory> CreateNamedMemory(const std::string& name, std::size_t size,
                                                 bool& existed)
{
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt)
    {
        const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd < 0)
        {
            platform::SetLastErrorFromErrno();
            return nullptr;
        }
        if (!platform::MakeOwnPrivateFile(fd))
        {
            close(fd);
            break;
        }
        const bool alone = platform::TryLockAlone(fd);
        if (alone)
        {
            // New, or left behind by a holder that died: start from zeros.
            if (!IsStillNamed(fd, name) || ftruncate(fd, 0) != 0 ||
                ftruncate(fd, static_cast<off_t>(size)) != 0 || !platform::HoldShared(fd, false))
            {
                close(fd);
                continue;
            }
        }
        else if (!platform::HoldShared(fd, true) || !IsStillNamed(fd, name))
        {
            close(fd);
            continue;
        }
        existed = !alone;
        return std::make_shared<CSharedMemory>(fd, name, GetDescriptorSize(fd));
    }
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

std::shared_ptr<CSharedMemory> CreateUnnamedMemory(std::size_t size)
{
    const int fd = memfd_create("mapping", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0)
    {
        platform::SetLastErrorFromErrno();
        if (fd >= 0)
        {
            close(fd);
        }
        return nullptr;
    }
    return std::make_shared<CSharedMemory>(fd, std::string(), size);
}

// Joins a live named object; null with ERROR_FILE_NOT_FOUND when there is
// none. A leftover without a holder is removed on the way.
std::shared_ptr<CSharedMemory> OpenNamedMemory(const std::string& name)
{
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt)
    {
        const int fd = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0);
        if (fd < 0)
        {
            SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND
                                         : platform::Win32ErrorFromErrno(errno));
            return nullptr;
        }
        if (!platform::MakeOwnPrivateFile(fd))
        {
            close(fd);
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        if (platform::TryLockAlone(fd))
        {
            if (IsStillNamed(fd, name))
            {
                shm_unlink(name.c_str());
            }
            close(fd);
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
        if (platform::HoldShared(fd, true) && IsStillNamed(fd, name))
        {
            return std::make_shared<CSharedMemory>(fd, name, GetDescriptorSize(fd));
        }
        close(fd);
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}
} // namespace

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name)
{
    std::string fileName;
    if (name != nullptr)
    {
        fileName = platform::GetObjectFileName(name);
        if (fileName.empty())
        {
            SetLastError(ERROR_INVALID_NAME);
            return nullptr;
        }
    }
    int livenessFd = -1;
    bool existed = false;
    if (!fileName.empty())
    {
        livenessFd = OpenMutexLockFile(fileName, existed);
        if (livenessFd < 0)
        {
            return nullptr;
        }
    }
    auto mutex = std::make_unique<CMutexObject>(GetMutexState(fileName), livenessFd);
    if (initialOwner && !existed)
    {
        TakeMutex(mutex->GetState());
    }
    const HANDLE handle = platform::RegisterKernelObject(std::move(mutex));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReleaseMutex(HANDLE handle)
{
    auto* mutex = platform::GetKernelObject<CMutexObject>(handle);
    if (mutex == nullptr)
    {
        return FALSE;
    }
    SMutexState& state = mutex->GetState();
    std::lock_guard guard(state.lock);
    if (state.count == 0 || state.owner != std::this_thread::get_id())
    {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    if (--state.count == 0)
    {
        state.owner = std::thread::id();
        state.released.notify_one();
    }
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    auto* mutex = platform::GetKernelObject<CMutexObject>(handle);
    if (mutex == nullptr)
    {
        return WAIT_FAILED;
    }
    SMutexState& state = mutex->GetState();
    std::unique_lock guard(state.lock);
    const auto available = [&state]
    { return state.count == 0 || state.owner == std::this_thread::get_id(); };
    if (milliseconds == INFINITE)
    {
        state.released.wait(guard, available);
    }
    else if (!state.released.wait_for(guard, std::chrono::milliseconds(milliseconds), available))
    {
        return WAIT_TIMEOUT;
    }
    state.owner = std::this_thread::get_id();
    ++state.count;
    return WAIT_OBJECT_0;
}

HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, LPCSTR name)
{
    const std::uint64_t size = (static_cast<std::uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
    if (file != INVALID_HANDLE_VALUE)
    {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    if (size == 0 || (name != nullptr && platform::GetObjectFileName(name).empty()))
    {
        SetLastError(size == 0 ? ERROR_INVALID_PARAMETER : ERROR_INVALID_NAME);
        return nullptr;
    }
    bool existed = false;
    std::shared_ptr<CSharedMemory> memory =
        name == nullptr ? CreateUnnamedMemory(size)
                        : CreateNamedMemory(GetSharedMemoryName(name), size, existed);
    if (memory == nullptr)
    {
        return nullptr;
    }
    const HANDLE handle =
        platform::RegisterKernelObject(std::make_unique<CMappingObject>(std::move(memory)));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

HANDLE OpenFileMappingA(DWORD, BOOL, LPCSTR name)
{
    if (name == nullptr || platform::GetObjectFileName(name).empty())
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<CSharedMemory> memory = OpenNamedMemory(GetSharedMemoryName(name));
    if (memory == nullptr)
    {
        return nullptr;
    }
    return platform::RegisterKernelObject(std::make_unique<CMappingObject>(std::move(memory)));
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes)
{
    auto* object = platform::GetKernelObject<CMappingObject>(mapping);
    if (object == nullptr)
    {
        return nullptr;
    }
    const std::shared_ptr<CSharedMemory>& memory = object->GetMemory();
    const std::uint64_t offset = (static_cast<std::uint64_t>(offsetHigh) << 32) | offsetLow;
    const std::size_t size = memory->GetSize();
    const auto pageSize = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    if (offset % pageSize != 0 || offset >= size || bytes > size - offset)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::size_t length = bytes == 0 ? size - offset : bytes;
    const int protection =
        (access & (FILE_MAP_WRITE | FILE_MAP_COPY)) != 0 ? PROT_READ | PROT_WRITE : PROT_READ;
    const int sharing = access == FILE_MAP_COPY ? MAP_PRIVATE : MAP_SHARED;
    void* address = mmap(nullptr, length, protection, sharing, memory->GetDescriptor(),
                         static_cast<off_t>(offset));
    if (address == MAP_FAILED)
    {
        platform::SetLastErrorFromErrno();
        return nullptr;
    }
    SViewTable& table = GetViewTable();
    std::lock_guard guard(table.lock);
    table.views.emplace(address, SView{length, memory});
    return address;
}

BOOL UnmapViewOfFile(LPCVOID address)
{
    SView view;
    {
        SViewTable& table = GetViewTable();
        std::lock_guard guard(table.lock);
        const auto found = table.views.find(address);
        if (found == table.views.end())
        {
            SetLastError(ERROR_INVALID_ADDRESS);
            return FALSE;
        }
        view = std::move(found->second);
        table.views.erase(found);
    }
    munmap(const_cast<void*>(address), view.length);
    return TRUE;
}
