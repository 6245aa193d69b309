// The process-wide store behind the resource registry: the tables of every
// module and the resources already materialised from them (file contents,
// toolbar records), which stay for the life of the process.
#pragma once

#include "ResourceRegistry.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

// One resource as FindResourceA hands it out.
struct ResourceRecord
{
    std::vector<BYTE> ownedBytes;
    const void* pData = nullptr;
    DWORD cbData = 0;
};

class ResourceStore
{
public:
    static ResourceStore& Get();

    void Register(HMODULE hModule, const ResourceTables& tables);
    std::vector<HMODULE> GetModules() const;

    LPCSTR FindString(HMODULE hModule, UINT nId) const;
    const DialogTemplate* FindDialog(HMODULE hModule, LPCSTR lpName) const;
    const MenuTemplate* FindMenu(HMODULE hModule, LPCSTR lpName) const;
    const ResourceAcceleratorEntry* FindAccelerators(HMODULE hModule, LPCSTR lpName) const;
    const ToolbarTemplate* FindToolbar(HMODULE hModule, LPCSTR lpName) const;
    // Any type; NULL with the last error set when absent or unreadable.
    const ResourceRecord* FindRecord(HMODULE hModule, LPCSTR lpType, LPCSTR lpName);

    // The module a NULL handle stands for.
    static HMODULE Resolve(HMODULE hModule);
    // "#123" for an id, the upper-case name otherwise.
    static std::string CanonicalName(LPCSTR lpName);

private:
    using RecordKey = std::tuple<HMODULE, std::string, std::string>;

    ResourceStore() = default;
    std::vector<ResourceTables> TablesOf(HMODULE hModule) const;
    std::unique_ptr<ResourceRecord> MakeRecord(HMODULE hModule, LPCSTR lpType, LPCSTR lpName) const;

    mutable std::mutex m_mutex;
    std::vector<HMODULE> m_modules;
    std::map<HMODULE, std::vector<ResourceTables>> m_tables;
    std::map<RecordKey, std::unique_ptr<ResourceRecord>> m_records;
};
