// What the file calls report about a file from its stat record: Windows
// attributes and FILETIME stamps.
#pragma once

#include "WinTypes.h"

#include <string>
#include <sys/stat.h>

namespace platform
{
// name is the last path component; a leading dot marks a hidden file.
DWORD GetFileAttributesFromStat(const struct stat& info, const std::string& name);

// 100-nanosecond intervals since 1601-01-01 UTC.
FILETIME GetFileTimeFromTimespec(const struct timespec& time);
} // namespace platform
