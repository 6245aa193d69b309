#include "ShareMode.h"

#include "WinFile.h"

#include <fcntl.h>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

namespace platform
{
namespace
{
// Marker bytes: who reads, who writes, who denies reading, who denies writing.
constexpr off_t kMarkerBase = 0x7FFFFFFF00000000LL;
enum enMarker : off_t
{
    MarkerReads = 0,
    MarkerWrites = 1,
    MarkerDeniesRead = 2,
    MarkerDeniesWrite = 3
};

struct flock MakeLock(short type, enMarker marker)
{
    struct flock lock
    {
    };
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = kMarkerBase + marker;
    lock.l_len = 1;
    lock.l_pid = 0;
    return lock;
}

// 1 when another description holds the marker, 0 when free, -1 when the
// file system cannot tell.
int IsMarkerHeld(int fd, enMarker marker)
{
    struct flock lock = MakeLock(F_WRLCK, marker);
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0)
    {
        return -1;
    }
    return lock.l_type == F_UNLCK ? 0 : 1;
}

bool HoldMarker(int fd, enMarker marker)
{
    struct flock lock = MakeLock(F_RDLCK, marker);
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

struct SOpenEntry
{
    std::uint64_t id;
    dev_t device;
    ino_t inode;
    bool canRead;
    bool canWrite;
    DWORD share;
};

struct SShareTable
{
    std::mutex lock;
    std::vector<SOpenEntry> opens;
    // Files once opened as streams: (device, inode).
    std::set<std::pair<dev_t, ino_t>> streamFiles;
    std::uint64_t nextId = 1;
};

SShareTable& GetShareTable()
{
    static SShareTable table;
    return table;
}

bool IsConflict(const SOpenEntry& open, const SShareRequest& request)
{
    const bool deniesRead = (request.share & FILE_SHARE_READ) == 0;
    const bool deniesWrite = (request.share & FILE_SHARE_WRITE) == 0;
    return (request.canRead && (open.share & FILE_SHARE_READ) == 0) ||
           (request.canWrite && (open.share & FILE_SHARE_WRITE) == 0) ||
           (deniesRead && open.canRead) || (deniesWrite && open.canWrite);
}

// The marker protocol between descriptions, in this process and others.
enShareResult CheckAndHoldMarkers(int fd, const SShareRequest& request)
{
    const bool deniesRead = (request.share & FILE_SHARE_READ) == 0;
    const bool deniesWrite = (request.share & FILE_SHARE_WRITE) == 0;
    struct SCheck
    {
        bool applies;
        enMarker marker;
    };
    const SCheck checks[] = {{request.canRead, MarkerDeniesRead},
                             {request.canWrite, MarkerDeniesWrite},
                             {deniesRead, MarkerReads},
                             {deniesWrite, MarkerWrites}};
    for (const SCheck& check : checks)
    {
        if (!check.applies)
        {
            continue;
        }
        const int held = IsMarkerHeld(fd, check.marker);
        if (held < 0)
        {
            return enShareResult::Unchecked;
        }
        if (held > 0)
        {
            return enShareResult::Violation;
        }
    }
    if (!request.fdReadable)
    {
        return enShareResult::Unchecked;
    }
    const SCheck marks[] = {{request.canRead, MarkerReads},
                            {request.canWrite, MarkerWrites},
                            {deniesRead, MarkerDeniesRead},
                            {deniesWrite, MarkerDeniesWrite}};
    for (const SCheck& mark : marks)
    {
        if (mark.applies && !HoldMarker(fd, mark.marker))
        {
            return enShareResult::Unchecked;
        }
    }
    return enShareResult::Granted;
}
} // namespace

enShareResult AcquireShareMode(int fd, const struct stat& info, const SShareRequest& request,
                               std::uint64_t* pEntry)
{
    SShareTable& table = GetShareTable();
    std::lock_guard guard(table.lock);
    for (const SOpenEntry& open : table.opens)
    {
        if (open.device == info.st_dev && open.inode == info.st_ino && IsConflict(open, request))
        {
            return enShareResult::Violation;
        }
    }
    const std::pair<dev_t, ino_t> file{info.st_dev, info.st_ino};
    if (request.isStream)
    {
        table.streamFiles.insert(file);
    }
    enShareResult result = enShareResult::Granted;
    if (request.canWrite || request.isStream || table.streamFiles.count(file) != 0)
    {
        result = CheckAndHoldMarkers(fd, request);
        if (result == enShareResult::Violation)
        {
            return result;
        }
    }
    if (!request.isStream && pEntry != nullptr)
    {
        *pEntry = table.nextId++;
        table.opens.push_back(
            {*pEntry, info.st_dev, info.st_ino, request.canRead, request.canWrite, request.share});
    }
    return result;
}

void ReleaseShareMode(std::uint64_t entry)
{
    SShareTable& table = GetShareTable();
    std::lock_guard guard(table.lock);
    std::erase_if(table.opens, [entry](const SOpenEntry& open) { return open.id == entry; });
}
} // namespace platform
