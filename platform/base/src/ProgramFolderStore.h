// Files a program writes beside itself. Windows sends the writes a protected
// program folder refuses to a copy of that folder in the user's profile, and
// opens of a file that was copied there to the copy; here the copy lives in
// the user's state folder ($XDG_STATE_HOME, else ~/.local/state), in a
// folder named after the program.
#pragma once

#include <string>

namespace platform
{
// The user's copy of a path in the program's folder when there is one;
// else the path as it stands.
std::string GetStoredCopy(const std::string& path);

// The user's copy of a path in the program's folder, its folders made,
// whether the copy exists or not. Empty for a path elsewhere.
std::string GetStorePathFor(const std::string& path);

// For a write to a path in the program's folder that failed with the error
// because the folder refuses writing: the user's copy of the path, its
// folders made. Empty for a path elsewhere or another failure.
std::string MakeStoredCopyPath(const std::string& path, int error);
} // namespace platform
