#include "Lettra.h"

#include "WinCRuntime.h"
#include "WinMbString.h"
#include "WinPathName.h"

#include <cstring>
#include <string>

namespace
{

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

// Copies parts one after the other into a fixed array, cut to its size.
void Compose(char* output, std::size_t size, std::initializer_list<const char*> parts)
{
    std::size_t used = 0;
    for (const char* part : parts)
    {
        const std::size_t length = std::min(std::strlen(part), size - 1 - used);
        std::memcpy(output + used, part, length);
        used += length;
    }
    output[used] = '\0';
}

// True when the text's last character is a single-byte separator (a trail
// byte of a double-byte character that equals '\' does not count).
bool EndsWithSeparator(const std::string& text)
{
    const unsigned char* last = nullptr;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text.c_str()); *p != 0;
         p = _mbsinc(p))
        last = p;
    return last != nullptr && _mbclen(last) == 1 && IsSeparator(static_cast<char>(*last));
}

// The separator a path is written with: '\' unless it uses only '/'.
char GetSeparatorStyle(const std::string& primary, const std::string& fallback)
{
    for (const std::string* text : {&primary, &fallback})
    {
        if (text->find('\\') != std::string::npos)
            return '\\';
        if (text->find('/') != std::string::npos)
            return '/';
    }
    return '\\';
}

} // namespace

Lettra::DFileName::DFileName(const char* path)
{
    Init(path);
}

void Lettra::DFileName::Init(const char* path)
{
    const std::string given = path != nullptr ? path : "";
    _splitpath(given.c_str(), m_drive, m_folder, m_name, m_ext);
    // A path without a drive is completed with the current directory unless
    // it is rooted: on Linux a rooted or UNC-style path is already complete.
    if (m_drive[0] == '\0' && (given.empty() || !IsSeparator(given[0])))
    {
        char current[MAX_PATH + 1];
        const DWORD length = GetCurrentDirectoryA(sizeof(current), current);
        std::string full = (length > 0 && length < sizeof(current)) ? current : "";
        if (!full.empty() && !EndsWithSeparator(full))
            full += GetSeparatorStyle(full, given);
        full += given;
        _splitpath(full.c_str(), m_drive, m_folder, m_name, m_ext);
    }
    Compose(m_fileName, sizeof(m_fileName), {m_name, m_ext});
    Compose(m_fullFileName, sizeof(m_fullFileName), {m_drive, m_folder, m_name, m_ext});
    m_filePath[0] = '\0';
}

void Lettra::DFileName::SetPath(const char* folder)
{
    std::string target = folder != nullptr ? folder : "";
    const char separator = GetSeparatorStyle(target, m_fullFileName);
    if (!EndsWithSeparator(target))
        target += separator;
    target += m_fileName;
    char drive[_MAX_DRIVE];
    char directory[_MAX_DIR];
    char name[_MAX_FNAME];
    char ext[_MAX_EXT];
    _splitpath(target.c_str(), drive, directory, name, ext);
    std::string path = drive[0] != '\0' ? drive : m_drive;
    if (!IsSeparator(directory[0]))
        path += separator;
    path += directory;
    path += name;
    path += ext;
    Init(path.c_str());
}

const char* Lettra::DFileName::FilePath() const
{
    if (m_filePath[0] == '\0')
        Compose(m_filePath, sizeof(m_filePath), {m_drive, m_folder});
    return m_filePath;
}

int Lettra::DFileName::IsFile(const char* name) const
{
    return (name != nullptr && _stricmp(name, m_fileName) == 0) ? 1 : 0;
}
