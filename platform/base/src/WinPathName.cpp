#include "WinPathName.h"

#include "CodePageTable.h"
#include "WinError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool HasDrive(const char* path)
{
    return path[0] != '\0' && path[1] == ':';
}

// Copies `length` bytes of text into an output of `size` bytes, cut on a
// character boundary so that a multibyte character is never split.
void CopyPart(char* output, std::size_t size, const char* text, std::size_t length)
{
    if (output == nullptr)
        return;
    const platform::CCodePage& page = platform::GetAnsiCodePage();
    std::size_t count = 0;
    while (count < length)
    {
        const std::size_t next =
            count + page.GetCharLength(reinterpret_cast<const unsigned char*>(text + count));
        if (next > length || next > size - 1)
            break;
        count = next;
    }
    std::memcpy(output, text, count);
    output[count] = '\0';
}

bool IsImpossibleCharacter(unsigned char c)
{
    return c < 0x20 || std::strchr("<>|\"*?", c) != nullptr;
}

std::string GetWorkingDirectory()
{
    char* current = getcwd(nullptr, 0);
    if (current == nullptr)
        return std::string();
    std::string result(current);
    std::free(current);
    return result;
}

DWORD MapErrno(int error)
{
    switch (error)
    {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_DIRECTORY;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    default:
        return ERROR_PATH_NOT_FOUND;
    }
}

// Appends the components of a path to `parts`, resolving "." and "..".
void AddComponents(const std::string& path, std::vector<std::string>& parts)
{
    std::size_t start = 0;
    while (start <= path.size())
    {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const std::string part = path.substr(start, end - start);
        if (part == "..")
        {
            if (!parts.empty())
                parts.pop_back();
        }
        else if (!part.empty() && part != ".")
            parts.push_back(part);
        start = end + 1;
    }
}

} // namespace

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext)
{
    if (path == nullptr)
        path = "";
    std::size_t driveLength = HasDrive(path) ? 2 : 0;
    CopyPart(drive, _MAX_DRIVE, path, driveLength);
    const char* rest = path + driveLength;
    const platform::CCodePage& page = platform::GetAnsiCodePage();
    const char* afterSeparator = rest;
    const char* lastDot = nullptr;
    const char* p = rest;
    while (*p != '\0')
    {
        const std::size_t length = page.GetCharLength(reinterpret_cast<const unsigned char*>(p));
        if (length == 1 && IsSeparator(*p))
        {
            afterSeparator = p + 1;
            lastDot = nullptr;
        }
        else if (length == 1 && *p == '.')
            lastDot = p;
        p += length;
    }
    const char* nameEnd = lastDot != nullptr ? lastDot : p;
    CopyPart(dir, _MAX_DIR, rest, static_cast<std::size_t>(afterSeparator - rest));
    CopyPart(fname, _MAX_FNAME, afterSeparator, static_cast<std::size_t>(nameEnd - afterSeparator));
    CopyPart(ext, _MAX_EXT, nameEnd, static_cast<std::size_t>(p - nameEnd));
}

char* _fullpath(char* absPath, const char* relPath, std::size_t maxLength)
{
    std::string path = relPath != nullptr ? relPath : "";
    for (unsigned char c : path)
    {
        if (IsImpossibleCharacter(c))
        {
            errno = EINVAL;
            return nullptr;
        }
    }
    if (HasDrive(path.c_str()))
        path.erase(0, 2);
    std::vector<std::string> parts;
    if (path.empty() || !IsSeparator(path[0]))
        AddComponents(GetWorkingDirectory(), parts);
    AddComponents(path, parts);
    std::string result;
    for (const std::string& part : parts)
    {
        result += '/';
        result += part;
    }
    if (result.empty() || (!path.empty() && IsSeparator(path.back())))
        result += '/';
    if (absPath == nullptr)
    {
        absPath = static_cast<char*>(std::malloc(result.size() + 1));
        if (absPath == nullptr)
        {
            errno = ENOMEM;
            return nullptr;
        }
    }
    else if (result.size() + 1 > maxLength)
    {
        errno = ERANGE;
        return nullptr;
    }
    std::memcpy(absPath, result.c_str(), result.size() + 1);
    return absPath;
}

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer)
{
    const std::string current = GetWorkingDirectory();
    if (current.empty())
    {
        SetLastError(MapErrno(errno));
        return 0;
    }
    const auto needed = static_cast<DWORD>(current.size() + 1);
    if (buffer == nullptr || bufferLength < needed)
        return needed;
    std::memcpy(buffer, current.c_str(), needed);
    return needed - 1;
}

BOOL SetCurrentDirectoryA(LPCSTR path)
{
    if (path == nullptr || *path == '\0')
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string native = HasDrive(path) ? path + 2 : path;
    for (char& c : native)
    {
        if (c == '\\')
            c = '/';
    }
    if (native.empty())
        native.push_back('/');
    if (chdir(native.c_str()) != 0)
    {
        SetLastError(MapErrno(errno));
        return FALSE;
    }
    return TRUE;
}
