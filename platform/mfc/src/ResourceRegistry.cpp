#include "ResourceRegistry.h"

#include "ResourceStore.h"
#include "WinModule.h"

namespace
{
// Any entry array of the tables: its address lies in the registering module.
const void* AnyEntryAddress(const ResourceTables& tables)
{
    for (const void* pAddress : {static_cast<const void*>(tables.strings.data()),
                                 static_cast<const void*>(tables.data.data()),
                                 static_cast<const void*>(tables.files.data()),
                                 static_cast<const void*>(tables.dialogs.data()),
                                 static_cast<const void*>(tables.menus.data()),
                                 static_cast<const void*>(tables.accelerators.data()),
                                 static_cast<const void*>(tables.toolbars.data())})
    {
        if (pAddress != nullptr)
            return pAddress;
    }
    return nullptr;
}
} // namespace

ResourceRegistrar::ResourceRegistrar(const ResourceTables& tables)
{
    const void* pAddress = AnyEntryAddress(tables);
    HMODULE hModule = nullptr;
    if (pAddress != nullptr && GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                                      GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                                  static_cast<LPCSTR>(pAddress), &hModule))
        RegisterModuleResources(hModule, tables);
}

void RegisterModuleResources(HMODULE hModule, const ResourceTables& tables)
{
    ResourceStore::Get().Register(ResourceStore::Resolve(hModule), tables);
}

std::vector<HMODULE> GetResourceModules()
{
    return ResourceStore::Get().GetModules();
}

LPCSTR FindStringResource(HMODULE hModule, UINT nId)
{
    return ResourceStore::Get().FindString(hModule, nId);
}

const DialogTemplate* FindDialogTemplate(HMODULE hModule, LPCSTR lpName)
{
    return ResourceStore::Get().FindDialog(hModule, lpName);
}

const MenuTemplate* FindMenuTemplate(HMODULE hModule, LPCSTR lpName)
{
    return ResourceStore::Get().FindMenu(hModule, lpName);
}

std::span<const AcceleratorEntry> FindAcceleratorTable(HMODULE hModule, LPCSTR lpName)
{
    const ResourceAcceleratorEntry* pEntry = ResourceStore::Get().FindAccelerators(hModule, lpName);
    return pEntry != nullptr ? pEntry->entries : std::span<const AcceleratorEntry>();
}

const ToolbarTemplate* FindToolbarTemplate(HMODULE hModule, LPCSTR lpName)
{
    return ResourceStore::Get().FindToolbar(hModule, lpName);
}

std::span<const BYTE> FindResourceBytes(HMODULE hModule, LPCSTR lpType, LPCSTR lpName)
{
    const ResourceRecord* pRecord = ResourceStore::Get().FindRecord(hModule, lpType, lpName);
    if (pRecord == nullptr)
        return {};
    return {static_cast<const BYTE*>(pRecord->pData), pRecord->cbData};
}
