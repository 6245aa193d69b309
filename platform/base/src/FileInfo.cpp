#include "FileInfo.h"

#include "WinFile.h"

namespace platform
{
DWORD GetFileAttributesFromStat(const struct stat& info, const std::string& name)
{
    DWORD attributes = 0;
    if (S_ISDIR(info.st_mode))
    {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    }
    if ((info.st_mode & S_IWUSR) == 0)
    {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (name.size() > 1 && name[0] == '.' && name != "..")
    {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

FILETIME GetFileTimeFromTimespec(const struct timespec& time)
{
    constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
    constexpr std::int64_t kIntervalsPerSecond = 10000000LL;
    std::int64_t intervals =
        (static_cast<std::int64_t>(time.tv_sec) + kSecondsFrom1601To1970) * kIntervalsPerSecond +
        time.tv_nsec / 100;
    if (intervals < 0)
    {
        intervals = 0;
    }
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(intervals) & 0xFFFFFFFFU);
    result.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(intervals) >> 32);
    return result;
}
} // namespace platform
