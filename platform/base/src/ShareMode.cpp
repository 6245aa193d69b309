#include "ShareMode.h"

#include "WinFile.h"

#include <fcntl.h>
#include <mutex>

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

std::mutex& GetShareLock()
{
    static std::mutex lock;
    return lock;
}
} // namespace

enShareResult AcquireShareMode(int fd, bool canRead, bool canWrite, DWORD share, bool fdReadable)
{
    const bool deniesRead = (share & FILE_SHARE_READ) == 0;
    const bool deniesWrite = (share & FILE_SHARE_WRITE) == 0;
    struct SCheck
    {
        bool applies;
        enMarker marker;
    };
    const SCheck checks[] = {{canRead, MarkerDeniesRead},
                             {canWrite, MarkerDeniesWrite},
                             {deniesRead, MarkerReads},
                             {deniesWrite, MarkerWrites}};
    // Checks and markers of this process happen as one step; between
    // processes the gap is a few system calls wide.
    std::lock_guard guard(GetShareLock());
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
    if (!fdReadable)
    {
        return enShareResult::Unchecked;
    }
    const SCheck marks[] = {{canRead, MarkerReads},
                            {canWrite, MarkerWrites},
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
} // namespace platform
