#include "ReferencedFile.h"

#include <filesystem>
#include <sstream>
#include <strings.h>
#include <system_error>

namespace
{
namespace fs = std::filesystem;

std::string WithoutVersion(const std::string& name)
{
    const std::size_t at = name.rfind(';');
    return at == std::string::npos ? name : name.substr(0, at);
}

// The entry of the folder that matches the component, or the component as
// written when none does.
std::string MatchComponent(const fs::path& folder, const std::string& component)
{
    std::error_code ec;
    if (fs::exists(folder / component, ec))
        return component;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
    {
        const std::string name = entry.path().filename().string();
        if (strcasecmp(WithoutVersion(name).c_str(), component.c_str()) == 0)
            return name;
    }
    return component;
}
} // namespace

std::string ResolveReferencedFile(const std::string& folder, const std::string& fileID)
{
    fs::path path(folder);
    std::istringstream parts(fileID);
    std::string component;
    while (std::getline(parts, component, '\\'))
    {
        // Trailing padding of the stored value is no part of a name.
        while (!component.empty() && component.back() == ' ')
            component.pop_back();
        if (!component.empty())
            path /= MatchComponent(path, component);
    }
    return path.string();
}
