// File share modes on open file descriptions. Each open records what it may
// do (read, write) and what it denies to others as shared record locks on
// marker bytes far beyond any real file data; a new open first looks for a
// marker that forbids it. The locks belong to the open file description, so
// they vanish when its last descriptor closes, also when a process dies, and
// they are seen by every process on the machine.
#pragma once

#include "WinTypes.h"

namespace platform
{
enum class enShareResult
{
    Granted,
    Violation,
    // The file system keeps no record locks or the descriptor cannot hold a
    // shared lock (not readable): the open goes ahead unchecked.
    Unchecked
};

// canRead/canWrite: the access of the new open; share: FILE_SHARE_READ |
// FILE_SHARE_WRITE bits it grants to others. fd must be a fresh description.
enShareResult AcquireShareMode(int fd, bool canRead, bool canWrite, DWORD share, bool fdReadable);
} // namespace platform
