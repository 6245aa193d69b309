#include "ObjectNamespace.h"

#include "WinSync.h"

#include <initializer_list>
#include <mutex>
#include <string_view>
#include <utility>

namespace
{
struct SSession
{
    std::mutex lock;
    std::string name;
};

SSession& GetSession()
{
    static SSession session;
    return session;
}

// The name without the prefix, and whether the prefix made it machine-wide.
std::pair<std::string_view, bool> SplitPrefix(std::string_view name)
{
    for (const auto& [prefix, global] : {std::pair<std::string_view, bool>{"Global\\", true},
                                         {"Global/", true},
                                         {"Local\\", false},
                                         {"Local/", false}})
    {
        if (name.starts_with(prefix))
        {
            return {name.substr(prefix.size()), global};
        }
    }
    return {name, false};
}

void ReplaceSeparators(std::string& text)
{
    for (char& c : text)
    {
        if (c == '/' || c == '\\')
        {
            c = '_';
        }
    }
}
} // namespace

void SetNamedObjectSession(const char* session)
{
    SSession& current = GetSession();
    std::lock_guard guard(current.lock);
    current.name = session != nullptr ? session : "";
}

namespace platform
{
std::string GetObjectFileName(const char* name)
{
    const auto [bare, global] = SplitPrefix(name);
    std::string fileName(bare);
    if (fileName.empty())
    {
        return fileName;
    }
    if (!global)
    {
        SSession& session = GetSession();
        std::lock_guard guard(session.lock);
        if (!session.name.empty())
        {
            fileName += "@" + session.name;
        }
    }
    ReplaceSeparators(fileName);
    return fileName;
}
} // namespace platform
