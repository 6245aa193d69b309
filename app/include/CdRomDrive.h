// The folder an Open DICOMDIR file dialog starts in: the mount point of the
// first mounted CD or DVD file system (iso9660 or udf) in the mount table,
// else the home folder (empty without one).
#pragma once

#include <string>

std::string FindFirstCdRomDrive(const char* pszMountTable = "/proc/mounts");
