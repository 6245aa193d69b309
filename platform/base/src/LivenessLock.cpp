#include "LivenessLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{
namespace
{
struct flock MakeLivenessLock(short type)
{
    struct flock lock
    {
    };
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    lock.l_pid = 0;
    return lock;
}
} // namespace

bool TryLockAlone(int fd)
{
    struct flock lock = MakeLivenessLock(F_WRLCK);
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool HoldShared(int fd, bool wait)
{
    struct flock lock = MakeLivenessLock(F_RDLCK);
    int result = 0;
    do
    {
        result = fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool IsSameFile(int left, int right)
{
    struct stat a
    {
    };
    struct stat b
    {
    };
    return fstat(left, &a) == 0 && fstat(right, &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

bool MakeOwnPrivateFile(int fd)
{
    struct stat info
    {
    };
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
           fchmod(fd, S_IRUSR | S_IWUSR) == 0;
}
} // namespace platform
