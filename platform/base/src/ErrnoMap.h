// Maps an errno value from a failed system call to the Win32 error code the
// callers test, and records it as the thread's last error.
#pragma once

#include "WinError.h"

namespace platform
{
DWORD Win32ErrorFromErrno(int err);

// Sets the last error from errno and returns the mapped code.
DWORD SetLastErrorFromErrno();
} // namespace platform
