#include "ResourceStore.h"

#include "WinError.h"
#include "WinFile.h"
#include "WinHandle.h"
#include "WinModule.h"
#include "WinResource.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace
{
constexpr size_t kBitmapFileHeaderSize = 14;
constexpr WORD kToolbarVersion = 1;

bool NamesMatch(LPCSTR lpEntryName, const std::string& strWanted)
{
    return ResourceStore::CanonicalName(lpEntryName) == strWanted;
}

// The first entry of one kind named lpName, the tables searched in order.
template <typename TEntry>
const TEntry* FindNamedEntry(const std::vector<ResourceTables>& allTables,
                             std::span<const TEntry> ResourceTables::*pEntries, LPCSTR lpName)
{
    const std::string strName = ResourceStore::CanonicalName(lpName);
    for (const ResourceTables& tables : allTables)
        for (const TEntry& entry : tables.*pEntries)
            if (NamesMatch(entry.lpName, strName))
                return &entry;
    return nullptr;
}

bool IsAbsolutePath(LPCSTR pszPath)
{
    return pszPath[0] == '/' || pszPath[0] == '\\' ||
           (std::isalpha(static_cast<unsigned char>(pszPath[0])) && pszPath[1] == ':');
}

std::string ModuleFolder(HMODULE hModule)
{
    char szPath[MAX_PATH] = {};
    const DWORD nLength = GetModuleFileNameA(hModule, szPath, MAX_PATH);
    std::string strPath(szPath, nLength);
    const size_t nSeparator = strPath.find_last_of("/\\");
    return nSeparator == std::string::npos ? std::string() : strPath.substr(0, nSeparator + 1);
}

// The whole file through the platform's file calls, so paths match without
// regard to case as the resource authors wrote them.
bool ReadWholeFile(const std::string& strPath, std::vector<BYTE>& bytes)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    const DWORD dwSize = GetFileSize(hFile, nullptr);
    bool bRead = dwSize != INVALID_FILE_SIZE;
    if (bRead)
    {
        bytes.resize(dwSize);
        DWORD dwRead = 0;
        bRead = ReadFile(hFile, bytes.data(), dwSize, &dwRead, nullptr) && dwRead == dwSize;
    }
    const DWORD dwError = GetLastError();
    CloseHandle(hFile);
    SetLastError(dwError);
    return bRead;
}

void AppendWord(std::vector<BYTE>& bytes, WORD w)
{
    bytes.push_back(LOBYTE(w));
    bytes.push_back(HIBYTE(w));
}

std::unique_ptr<ResourceRecord> RecordOfBytes(std::vector<BYTE> bytes)
{
    auto pRecord = std::make_unique<ResourceRecord>();
    pRecord->ownedBytes = std::move(bytes);
    pRecord->pData = pRecord->ownedBytes.data();
    pRecord->cbData = static_cast<DWORD>(pRecord->ownedBytes.size());
    return pRecord;
}

std::unique_ptr<ResourceRecord> RecordOfView(const void* pData, DWORD cbData)
{
    auto pRecord = std::make_unique<ResourceRecord>();
    pRecord->pData = pData;
    pRecord->cbData = cbData;
    return pRecord;
}
} // namespace

ResourceStore& ResourceStore::Get()
{
    static ResourceStore store;
    return store;
}

HMODULE ResourceStore::Resolve(HMODULE hModule)
{
    return hModule != nullptr ? hModule : GetModuleHandleA(nullptr);
}

std::string ResourceStore::CanonicalName(LPCSTR lpName)
{
    if (lpName == nullptr)
        return std::string();
    if (IS_INTRESOURCE(lpName))
        return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(lpName));
    std::string strName(lpName);
    for (char& ch : strName)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return strName;
}

void ResourceStore::Register(HMODULE hModule, const ResourceTables& tables)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto& moduleTables = m_tables[hModule];
    if (moduleTables.empty())
        m_modules.push_back(hModule);
    moduleTables.push_back(tables);
}

std::vector<HMODULE> ResourceStore::GetModules() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_modules;
}

std::vector<ResourceTables> ResourceStore::TablesOf(HMODULE hModule) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_tables.find(Resolve(hModule));
    return it != m_tables.end() ? it->second : std::vector<ResourceTables>();
}

LPCSTR ResourceStore::FindString(HMODULE hModule, UINT nId) const
{
    for (const ResourceTables& tables : TablesOf(hModule))
        for (const ResourceStringEntry& entry : tables.strings)
            if (entry.nId == nId)
                return entry.pszText;
    return nullptr;
}

const DialogTemplate* ResourceStore::FindDialog(HMODULE hModule, LPCSTR lpName) const
{
    const auto* pEntry = FindNamedEntry(TablesOf(hModule), &ResourceTables::dialogs, lpName);
    return pEntry != nullptr ? pEntry->pTemplate : nullptr;
}

const MenuTemplate* ResourceStore::FindMenu(HMODULE hModule, LPCSTR lpName) const
{
    const auto* pEntry = FindNamedEntry(TablesOf(hModule), &ResourceTables::menus, lpName);
    return pEntry != nullptr ? pEntry->pTemplate : nullptr;
}

const ResourceAcceleratorEntry* ResourceStore::FindAccelerators(HMODULE hModule,
                                                                LPCSTR lpName) const
{
    return FindNamedEntry(TablesOf(hModule), &ResourceTables::accelerators, lpName);
}

const ToolbarTemplate* ResourceStore::FindToolbar(HMODULE hModule, LPCSTR lpName) const
{
    const auto* pEntry = FindNamedEntry(TablesOf(hModule), &ResourceTables::toolbars, lpName);
    return pEntry != nullptr ? pEntry->pTemplate : nullptr;
}

const ResourceRecord* ResourceStore::FindRecord(HMODULE hModule, LPCSTR lpType, LPCSTR lpName)
{
    hModule = Resolve(hModule);
    RecordKey key{hModule, CanonicalName(lpType), CanonicalName(lpName)};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (auto it = m_records.find(key); it != m_records.end())
            return it->second.get();
    }
    std::unique_ptr<ResourceRecord> pRecord = MakeRecord(hModule, lpType, lpName);
    if (pRecord == nullptr)
        return nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    auto [it, inserted] = m_records.emplace(std::move(key), std::move(pRecord));
    return it->second.get();
}

std::unique_ptr<ResourceRecord> ResourceStore::MakeRecord(HMODULE hModule, LPCSTR lpType,
                                                          LPCSTR lpName) const
{
    const std::string strType = CanonicalName(lpType);
    const std::string strName = CanonicalName(lpName);
    for (const ResourceTables& tables : TablesOf(hModule))
    {
        for (const ResourceDataEntry& entry : tables.data)
            if (NamesMatch(entry.lpType, strType) && NamesMatch(entry.lpName, strName))
                return RecordOfView(entry.pData, entry.cbData);
        for (const ResourceFileEntry& entry : tables.files)
        {
            if (!NamesMatch(entry.lpType, strType) || !NamesMatch(entry.lpName, strName))
                continue;
            const std::string strPath = IsAbsolutePath(entry.pszPath)
                                            ? entry.pszPath
                                            : ModuleFolder(hModule) + entry.pszPath;
            std::vector<BYTE> bytes;
            if (!ReadWholeFile(strPath, bytes))
            {
                std::fprintf(stderr, "resource file %s cannot be read (error %u)\n",
                             strPath.c_str(), static_cast<unsigned>(GetLastError()));
                return nullptr;
            }
            // A bitmap resource is a packed DIB: the file header is not part of it.
            if (strType == CanonicalName(RT_BITMAP) && bytes.size() >= kBitmapFileHeaderSize &&
                bytes[0] == 'B' && bytes[1] == 'M')
                bytes.erase(bytes.begin(), bytes.begin() + kBitmapFileHeaderSize);
            return RecordOfBytes(std::move(bytes));
        }
    }
    if (strType == CanonicalName(RT_DIALOG))
    {
        if (const DialogTemplate* pTemplate = FindDialog(hModule, lpName))
            return RecordOfView(pTemplate, sizeof(DialogTemplate));
    }
    else if (strType == CanonicalName(RT_MENU))
    {
        if (const MenuTemplate* pTemplate = FindMenu(hModule, lpName))
            return RecordOfView(pTemplate, sizeof(MenuTemplate));
    }
    else if (strType == CanonicalName(RT_ACCELERATOR))
    {
        if (const ResourceAcceleratorEntry* pEntry = FindAccelerators(hModule, lpName))
            return RecordOfView(pEntry->entries.data(),
                                static_cast<DWORD>(pEntry->entries.size_bytes()));
    }
    else if (strType == CanonicalName(RT_TOOLBAR))
    {
        if (const ToolbarTemplate* pTemplate = FindToolbar(hModule, lpName))
        {
            std::vector<BYTE> bytes;
            AppendWord(bytes, kToolbarVersion);
            AppendWord(bytes, pTemplate->wWidth);
            AppendWord(bytes, pTemplate->wHeight);
            AppendWord(bytes, static_cast<WORD>(pTemplate->ids.size()));
            for (WORD wId : pTemplate->ids)
                AppendWord(bytes, wId);
            return RecordOfBytes(std::move(bytes));
        }
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}
