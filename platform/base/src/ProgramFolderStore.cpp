#include "ProgramFolderStore.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

const fs::path& GetProgramFile()
{
    static const fs::path program = []
    {
        std::error_code error;
        const fs::path resolved = fs::read_symlink("/proc/self/exe", error);
        return error ? fs::path() : resolved;
    }();
    return program;
}

// The path inside the program's folder, or empty for a path elsewhere.
fs::path GetPlaceInProgramFolder(const std::string& path)
{
    const fs::path folder = GetProgramFile().parent_path();
    if (folder.empty() || path.empty())
    {
        return {};
    }
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error).lexically_normal();
    if (error)
    {
        return {};
    }
    const fs::path place = absolute.lexically_relative(folder);
    if (place.empty() || place == "." || *place.begin() == "..")
    {
        return {};
    }
    return place;
}

fs::path GetStateFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && *state == '/')
    {
        return state;
    }
    const char* home = std::getenv("HOME");
    return home != nullptr && *home == '/' ? fs::path(home) / ".local/state" : fs::path();
}

fs::path GetStorePath(const fs::path& place)
{
    const fs::path state = GetStateFolder();
    return state.empty() ? fs::path() : state / GetProgramFile().filename() / place;
}

bool IsRefusal(int error)
{
    if (error == EACCES || error == EPERM || error == EROFS)
    {
        return true;
    }
    // A folder that is not there, in a program folder nobody may write to.
    return error == ENOENT && access(GetProgramFile().parent_path().c_str(), W_OK) != 0;
}
} // namespace

namespace platform
{
std::string GetStoredCopy(const std::string& path)
{
    const fs::path place = GetPlaceInProgramFolder(path);
    if (place.empty())
    {
        return path;
    }
    const fs::path stored = GetStorePath(place);
    struct stat info
    {
    };
    return !stored.empty() && stat(stored.c_str(), &info) == 0 ? stored.string() : path;
}

std::string GetStorePathFor(const std::string& path)
{
    const fs::path place = GetPlaceInProgramFolder(path);
    const fs::path stored = place.empty() ? fs::path() : GetStorePath(place);
    if (stored.empty())
    {
        return {};
    }
    std::error_code failed;
    fs::create_directories(stored.parent_path(), failed);
    return failed ? std::string() : stored.string();
}

std::string MakeStoredCopyPath(const std::string& path, int error)
{
    return IsRefusal(error) ? GetStorePathFor(path) : std::string();
}
} // namespace platform
