#include "WinFind.h"

#include "FileInfo.h"
#include "KernelObject.h"
#include "NativePath.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

namespace
{
class CFindObject : public platform::CKernelObject
{
public:
    explicit CFindObject(std::vector<WIN32_FIND_DATAA> entries) : m_entries(std::move(entries)) {}

    // Copies the next entry; false when none is left.
    bool GetNext(WIN32_FIND_DATAA& data)
    {
        if (m_next >= m_entries.size())
        {
            return false;
        }
        data = m_entries[m_next++];
        return true;
    }

private:
    std::vector<WIN32_FIND_DATAA> m_entries;
    std::size_t m_next = 0;
};

unsigned char FoldAsciiCase(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Length of the character starting at text: a UTF-8 lead byte with its
// continuation bytes, else one byte.
std::size_t GetCharLength(const std::string& text, std::size_t at)
{
    std::size_t length = 1;
    while (at + length < text.size() &&
           (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
    {
        ++length;
    }
    return length;
}

// '*' matches any run of characters, '?' one character; letters compare
// without regard to ASCII case.
bool MatchesPattern(const std::string& name, const std::string& pattern)
{
    if (pattern == "*.*" || pattern == "*")
    {
        return true;
    }
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::string::npos;
    std::size_t starName = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && pattern[p] == '*')
        {
            starPattern = p++;
            starName = n;
        }
        else if (p < pattern.size() && pattern[p] == '?')
        {
            ++p;
            n += GetCharLength(name, n);
        }
        else if (p < pattern.size() && FoldAsciiCase(static_cast<unsigned char>(pattern[p])) ==
                                           FoldAsciiCase(static_cast<unsigned char>(name[n])))
        {
            ++p;
            ++n;
        }
        else if (starPattern != std::string::npos)
        {
            p = starPattern + 1;
            starName += GetCharLength(name, starName);
            n = starName;
        }
        else
        {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
    {
        ++p;
    }
    return p == pattern.size();
}

bool IsBeforeInListing(const std::string& left, const std::string& right)
{
    const auto folded = [](unsigned char a, unsigned char b)
    { return FoldAsciiCase(a) < FoldAsciiCase(b); };
    if (std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(), folded))
    {
        return true;
    }
    if (std::lexicographical_compare(right.begin(), right.end(), left.begin(), left.end(), folded))
    {
        return false;
    }
    return left < right;
}

WIN32_FIND_DATAA MakeFindData(const std::string& folder, const std::string& name)
{
    WIN32_FIND_DATAA data{};
    const std::string path = folder + '/' + name;
    struct stat info
    {
    };
    if (stat(path.c_str(), &info) != 0)
    {
        lstat(path.c_str(), &info);
    }
    data.dwFileAttributes = platform::GetFileAttributesFromStat(info, name);
    data.ftCreationTime = platform::GetFileTimeFromTimespec(info.st_mtim);
    data.ftLastAccessTime = platform::GetFileTimeFromTimespec(info.st_atim);
    data.ftLastWriteTime = platform::GetFileTimeFromTimespec(info.st_mtim);
    if (!S_ISDIR(info.st_mode))
    {
        const auto size = static_cast<std::uint64_t>(info.st_size);
        data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
    }
    std::memcpy(data.cFileName, name.c_str(), name.size() + 1);
    return data;
}

// The matching entries of the folder in listing order; false when the
// folder cannot be read.
bool ListMatches(const std::string& folder, const std::string& pattern,
                 std::vector<std::string>& names)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
    {
        return false;
    }
    while (const dirent* entry = readdir(dir))
    {
        const std::string name = entry->d_name;
        if (name.size() < MAX_PATH && MatchesPattern(name, pattern))
        {
            names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end(), IsBeforeInListing);
    return true;
}
} // namespace

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data)
{
    const std::string native = GetNativePath(pattern);
    if (native.empty() || data == nullptr)
    {
        SetLastError(native.empty() ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::size_t slash = native.find_last_of('/');
    const std::string namePattern = slash == std::string::npos ? native : native.substr(slash + 1);
    std::string folder = ".";
    if (slash == 0)
    {
        folder = "/";
    }
    else if (slash != std::string::npos)
    {
        folder = ResolveNativePath(native.substr(0, slash).c_str());
    }
    std::vector<std::string> names;
    if (!ListMatches(folder, namePattern, names))
    {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (names.empty())
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::vector<WIN32_FIND_DATAA> entries;
    entries.reserve(names.size());
    for (const std::string& name : names)
    {
        entries.push_back(MakeFindData(folder, name));
    }
    auto find = std::make_unique<CFindObject>(std::move(entries));
    find->GetNext(*data);
    SetLastError(ERROR_SUCCESS);
    return platform::RegisterKernelObject(std::move(find));
}

BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data)
{
    CFindObject* object = platform::GetKernelObject<CFindObject>(find);
    if (object == nullptr)
    {
        return FALSE;
    }
    if (data == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!object->GetNext(*data))
    {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

BOOL FindClose(HANDLE find)
{
    if (platform::GetKernelObject<CFindObject>(find) == nullptr)
    {
        return FALSE;
    }
    platform::CloseKernelObject(find);
    return TRUE;
}
