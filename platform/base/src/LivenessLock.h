// Liveness of named objects shared between processes: every process that
// holds such an object keeps a shared record lock on byte 0 of its file.
// Record locks of an open file description go away when the description's
// last descriptor closes, which includes the death of the process, so a
// file without a lock belongs to nobody alive.
#pragma once

#include <string>

namespace platform
{
// Takes the exclusive lock without waiting: true when nobody else (no other
// open file description) holds the object.
bool TryLockAlone(int fd);

// Takes (or turns an exclusive lock into) the shared lock, waiting out a
// holder's short exclusive check when wait is set.
bool HoldShared(int fd, bool wait);

// True when both descriptors refer to the same file.
bool IsSameFile(int left, int right);

// Makes the object behind the descriptor readable and writable by this user
// only; false (nothing changed) when another user owns it, so that a name
// someone else took first is never used to hand data over.
bool MakeOwnPrivateFile(int fd);
} // namespace platform
