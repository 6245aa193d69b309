#include "NativePath.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace
{
char FoldAsciiCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Exists(const std::string& path)
{
    struct stat info
    {
    };
    return lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> SplitComponents(const std::string& path)
{
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= path.size())
    {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (end > start)
        {
            components.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return components;
}

// The entry of folder whose name equals name without regard to case; empty
// when there is none.
std::string FindCaseInsensitive(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
    {
        return {};
    }
    std::string best;
    while (const dirent* entry = readdir(dir))
    {
        const std::string candidate = entry->d_name;
        if (IsSameFileName(candidate, name) && (best.empty() || candidate < best))
        {
            best = candidate;
        }
    }
    closedir(dir);
    return best;
}

std::string JoinComponent(const std::string& folder, const std::string& name)
{
    if (folder.empty())
    {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + '/' + name;
}
} // namespace

std::string GetNativePath(LPCSTR path)
{
    if (path == nullptr)
    {
        return {};
    }
    std::string native = path;
    if (native.size() >= 2 && native[1] == ':' &&
        ((native[0] >= 'A' && native[0] <= 'Z') || (native[0] >= 'a' && native[0] <= 'z')))
    {
        native.erase(0, 2);
    }
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::string ResolveNativePath(LPCSTR path)
{
    const std::string native = GetNativePath(path);
    if (native.empty() || Exists(native))
    {
        return native;
    }
    const bool absolute = native.front() == '/';
    const bool trailingSeparator = native.back() == '/';
    const std::vector<std::string> components = SplitComponents(native);
    std::string resolved = absolute ? "/" : "";
    bool resolving = true;
    for (const std::string& component : components)
    {
        std::string next = JoinComponent(resolved, component);
        if (resolving && component != "." && component != ".." && !Exists(next))
        {
            const std::string match = FindCaseInsensitive(resolved, component);
            if (match.empty())
            {
                resolving = false;
            }
            else
            {
                next = JoinComponent(resolved, match);
            }
        }
        resolved = std::move(next);
    }
    if (trailingSeparator && !resolved.empty() && resolved.back() != '/')
    {
        resolved += '/';
    }
    return resolved;
}

bool IsSameFileName(const std::string& left, const std::string& right)
{
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(),
                      [](char a, char b) { return FoldAsciiCase(a) == FoldAsciiCase(b); });
}
