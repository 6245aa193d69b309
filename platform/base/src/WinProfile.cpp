#include "WinProfile.h"

#include "NativePath.h"
#include "WinError.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace
{
struct SEntry
{
    std::string name;
    std::string value;
};

struct SSection
{
    std::string name;
    std::vector<SEntry> entries;
};

using Document = std::vector<SSection>;

struct SProfileState
{
    std::mutex lock;
    bool inMemory = false;
    std::map<std::string, Document> memory; // by file path
    std::string applicationKey;
    std::string application = "Application";
};

SProfileState& GetState()
{
    static SProfileState state;
    return state;
}

std::string Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
    {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// One line per entry: line breaks inside a value would start a new entry.
std::string OneLine(const char* value)
{
    std::string line = value;
    for (char& c : line)
    {
        if (c == '\r' || c == '\n')
        {
            c = ' ';
        }
    }
    return line;
}

Document ParseDocument(std::istream& in)
{
    Document document;
    std::string line;
    while (std::getline(in, line))
    {
        const std::string trimmed = Trim(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']')
        {
            document.push_back({trimmed.substr(1, trimmed.size() - 2), {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || document.empty() || trimmed.front() == ';')
        {
            continue;
        }
        document.back().entries.push_back(
            {Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
    }
    return document;
}

std::string FormatDocument(const Document& document)
{
    std::ostringstream out;
    for (const SSection& section : document)
    {
        out << '[' << section.name << "]\n";
        for (const SEntry& entry : section.entries)
        {
            out << entry.name << '=' << entry.value << '\n';
        }
        out << '\n';
    }
    return out.str();
}

// Callers hold the state lock.
Document LoadDocument(SProfileState& state, const std::string& path)
{
    if (state.inMemory)
    {
        const auto found = state.memory.find(path);
        return found == state.memory.end() ? Document() : found->second;
    }
    std::ifstream in(path, std::ios::binary);
    return in ? ParseDocument(in) : Document();
}

bool SaveDocument(SProfileState& state, const std::string& path, const Document& document)
{
    if (state.inMemory)
    {
        state.memory[path] = document;
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    // Written beside and renamed, so a crash never leaves half a profile.
    const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << FormatDocument(document);
        if (!out.flush())
        {
            std::remove(temporary.c_str());
            return false;
        }
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

SSection* FindSection(Document& document, const char* name)
{
    for (SSection& section : document)
    {
        if (IsSameFileName(section.name, name))
        {
            return &section;
        }
    }
    return nullptr;
}

const SEntry* FindEntry(const SSection& section, const char* name)
{
    for (const SEntry& entry : section.entries)
    {
        if (IsSameFileName(entry.name, name))
        {
            return &entry;
        }
    }
    return nullptr;
}

// The entry's value; false when it is missing.
bool ReadValue(const std::string& path, const char* section, const char* entry, std::string& value)
{
    if (section == nullptr || entry == nullptr)
    {
        return false;
    }
    SProfileState& state = GetState();
    std::lock_guard guard(state.lock);
    Document document = LoadDocument(state, path);
    const SSection* found = FindSection(document, section);
    const SEntry* item = found != nullptr ? FindEntry(*found, entry) : nullptr;
    if (item == nullptr)
    {
        return false;
    }
    value = item->value;
    return true;
}

void ApplyWrite(Document& document, const char* section, const char* entry, const char* value)
{
    SSection* target = FindSection(document, section);
    if (entry == nullptr)
    {
        if (target != nullptr)
        {
            document.erase(document.begin() + (target - document.data()));
        }
        return;
    }
    if (target == nullptr)
    {
        if (value == nullptr)
        {
            return;
        }
        document.push_back({section, {}});
        target = &document.back();
    }
    std::vector<SEntry>& entries = target->entries;
    for (auto item = entries.begin(); item != entries.end(); ++item)
    {
        if (IsSameFileName(item->name, entry))
        {
            if (value == nullptr)
            {
                entries.erase(item);
            }
            else
            {
                item->value = OneLine(value);
            }
            return;
        }
    }
    if (value != nullptr)
    {
        entries.push_back({entry, OneLine(value)});
    }
}

std::string GetConfigFolder()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config == '/')
    {
        return config;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "/tmp") + "/.config";
}

// A registry key or application name as one file-name component.
std::string GetComponent(const char* name)
{
    std::string component = name != nullptr ? name : "";
    for (char& c : component)
    {
        if (c == '/' || c == '\\')
        {
            c = '_';
        }
    }
    return component;
}

// Registry keys handed out by RegOpenKeyExA: the section they stand for.
struct SKeyTable
{
    std::mutex lock;
    std::map<HKEY, std::string> sections;
};

SKeyTable& GetKeyTable()
{
    static SKeyTable table;
    return table;
}

bool IsPredefinedKey(HKEY key)
{
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}
} // namespace

CProfileStore::CProfileStore(LPCSTR registryKey, LPCSTR application)
{
    std::string folder = GetConfigFolder();
    if (registryKey != nullptr && *registryKey != '\0')
    {
        folder += "/" + GetComponent(registryKey);
    }
    m_path = folder + "/" + GetComponent(application) + ".ini";
}

UINT CProfileStore::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) const
{
    std::string value;
    if (!ReadValue(m_path, section, entry, value))
    {
        return static_cast<UINT>(defaultValue);
    }
    return static_cast<UINT>(std::strtol(value.c_str(), nullptr, 10));
}

std::string CProfileStore::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) const
{
    std::string value;
    if (!ReadValue(m_path, section, entry, value))
    {
        return defaultValue != nullptr ? defaultValue : "";
    }
    return value;
}

BOOL CProfileStore::WriteProfileInt(LPCSTR section, LPCSTR entry, int value)
{
    return WriteProfileString(section, entry, std::to_string(value).c_str());
}

BOOL CProfileStore::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    if (section == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SProfileState& state = GetState();
    std::lock_guard guard(state.lock);
    Document document = LoadDocument(state, m_path);
    ApplyWrite(document, section, entry, value);
    if (!SaveDocument(state, m_path, document))
    {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}

BOOL CProfileStore::HasSection(LPCSTR section) const
{
    if (section == nullptr)
    {
        return FALSE;
    }
    SProfileState& state = GetState();
    std::lock_guard guard(state.lock);
    Document document = LoadDocument(state, m_path);
    return FindSection(document, section) != nullptr;
}

std::string CProfileStore::GetFilePath() const
{
    return m_path;
}

void CProfileStore::SetApplicationStore(LPCSTR registryKey, LPCSTR application)
{
    SProfileState& state = GetState();
    std::lock_guard guard(state.lock);
    state.applicationKey = registryKey != nullptr ? registryKey : "";
    state.application = application != nullptr ? application : "";
}

CProfileStore CProfileStore::GetApplicationStore()
{
    SProfileState& state = GetState();
    std::lock_guard guard(state.lock);
    return CProfileStore(state.applicationKey.c_str(), state.application.c_str());
}

void CProfileStore::SetInMemory(bool inMemory)
{
    SProfileState& state = GetState();
    std::lock_guard guard(state.lock);
    state.inMemory = inMemory;
}

void CProfileStore::ClearMemory()
{
    SProfileState& state = GetState();
    std::lock_guard guard(state.lock);
    state.memory.clear();
}

LSTATUS RegOpenKeyExA(HKEY parent, LPCSTR subKey, DWORD, REGSAM, PHKEY result)
{
    if (result == nullptr || subKey == nullptr)
    {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    if (parent != HKEY_CURRENT_USER)
    {
        return IsPredefinedKey(parent) ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_HANDLE;
    }
    if (!CProfileStore::GetApplicationStore().HasSection(subKey))
    {
        return ERROR_FILE_NOT_FOUND;
    }
    auto* key = new HKEY__{};
    SKeyTable& table = GetKeyTable();
    std::lock_guard guard(table.lock);
    table.sections.emplace(key, subKey);
    *result = key;
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                         LPDWORD size)
{
    std::string section;
    {
        SKeyTable& table = GetKeyTable();
        std::lock_guard guard(table.lock);
        const auto found = table.sections.find(key);
        if (found == table.sections.end())
        {
            return ERROR_INVALID_HANDLE;
        }
        section = found->second;
    }
    std::string value;
    if (!ReadValue(CProfileStore::GetApplicationStore().GetFilePath(), section.c_str(),
                   valueName != nullptr ? valueName : "", value))
    {
        return ERROR_FILE_NOT_FOUND;
    }
    if (type != nullptr)
    {
        *type = REG_SZ;
    }
    const auto needed = static_cast<DWORD>(value.size() + 1);
    if (size == nullptr)
    {
        return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    }
    const DWORD available = *size;
    *size = needed;
    if (data == nullptr)
    {
        return ERROR_SUCCESS;
    }
    if (available < needed)
    {
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, value.c_str(), needed);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key)
{
    if (IsPredefinedKey(key))
    {
        return ERROR_SUCCESS;
    }
    SKeyTable& table = GetKeyTable();
    std::lock_guard guard(table.lock);
    const auto found = table.sections.find(key);
    if (found == table.sections.end())
    {
        return ERROR_INVALID_HANDLE;
    }
    delete found->first;
    table.sections.erase(found);
    return ERROR_SUCCESS;
}
