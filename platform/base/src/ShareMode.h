// File share modes. Within the process every open is checked against the
// opens of the same file (device and inode) that are still alive: the
// handles of CreateFileA are kept in a table until they close. Across
// processes, where writers meet (logs of two viewers), opens that write
// also record what they do and deny as shared record locks on marker bytes
// far beyond any real file data, and a new writer first looks for a marker
// that forbids it. The locks belong to the open file description, so they
// vanish when its last descriptor closes, also when a process dies. The
// streams of _fsopen, whose closing the layer does not see, always take the
// markers; a file once opened as such a stream has every later open take
// them too, so that the streams' markers are seen in the process.
#pragma once

#include "WinTypes.h"

#include <cstdint>
#include <sys/stat.h>

namespace platform
{
enum class enShareResult
{
    Granted,
    Violation,
    // The file system keeps no record locks or the descriptor cannot hold a
    // shared lock (not readable): the open goes ahead without markers.
    Unchecked
};

struct SShareRequest
{
    bool canRead = false;
    bool canWrite = false;
    // FILE_SHARE_READ | FILE_SHARE_WRITE bits the open grants to others.
    DWORD share = 0;
    // The descriptor can hold a shared lock.
    bool fdReadable = true;
    // The open is a stream whose closing the layer does not see.
    bool isStream = false;
};

// Checks a new open of the file behind fd (a fresh description, info its
// fstat) against the live opens. On Granted or Unchecked an open that is
// not a stream is entered in the table under *pEntry, which the caller
// hands to ReleaseShareMode when it closes.
enShareResult AcquireShareMode(int fd, const struct stat& info, const SShareRequest& request,
                               std::uint64_t* pEntry);

void ReleaseShareMode(std::uint64_t entry);
} // namespace platform
