#include "WinModule.h"

#include "NativePath.h"
#include "WinError.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace
{
struct SFakeModule
{
    std::string fileName;
    bool absent = false;
    LONG loads = 0;
    std::map<std::string, FARPROC> entries;
};

struct SLoadedModule
{
    void* library = nullptr; // dlopen handle
    LONG loads = 0;
};

struct SModuleTable
{
    std::mutex lock;
    // Fakes by lower-case file name, and the same fakes by handle.
    std::map<std::string, std::shared_ptr<SFakeModule>> fakesByName;
    std::unordered_map<HMODULE, std::shared_ptr<SFakeModule>> fakesByHandle;
    std::unordered_map<HMODULE, SLoadedModule> loaded;
};

SModuleTable& GetModuleTable()
{
    static SModuleTable table;
    return table;
}

std::string ToLower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return text;
}

std::string GetLastComponent(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetFakeKey(LPCSTR fileName)
{
    return ToLower(GetLastComponent(GetNativePath(fileName)));
}

HMODULE GetFakeHandle(const std::shared_ptr<SFakeModule>& fake)
{
    return reinterpret_cast<HMODULE>(fake.get());
}

// "Name.dll" -> "libName.so"; a name that already is a shared object stays.
std::string GetSharedObjectName(const std::string& fileName)
{
    const std::string lower = ToLower(fileName);
    if (lower.size() > 3 && (lower.ends_with(".so") || lower.find(".so.") != std::string::npos))
    {
        return fileName;
    }
    std::string stem = fileName;
    if (lower.ends_with(".dll"))
    {
        stem.resize(stem.size() - 4);
    }
    return "lib" + stem + ".so";
}

// The loaded object that maps the address, found in the loader's sorted
// table of objects (dladdr would also search the object's symbols, which
// codec calls that load their library every time would pay for).
bool FindObject(const void* address, dl_find_object& found)
{
    return address != nullptr && _dl_find_object(const_cast<void*>(address), &found) == 0;
}

// What one walk of the loaded objects looks for: the object of a load bias,
// or the object whose loadable segments hold an address; the result is its
// lowest loaded address.
struct SObjectSearch
{
    bool byBias = false;
    ElfW(Addr) bias = 0;
    ElfW(Addr) address = 0;
    const void* base = nullptr;
};

int FindObjectBase(dl_phdr_info* info, size_t, void* data)
{
    auto* search = static_cast<SObjectSearch*>(data);
    ElfW(Addr) lowest = ~ElfW(Addr)(0);
    bool holds = false;
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i)
    {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD)
        {
            continue;
        }
        const ElfW(Addr) start = info->dlpi_addr + segment.p_vaddr;
        lowest = std::min(lowest, start);
        holds = holds || (search->address >= start && search->address - start < segment.p_memsz);
    }
    if (lowest == ~ElfW(Addr)(0) || !(search->byBias ? info->dlpi_addr == search->bias : holds))
    {
        return 0;
    }
    search->base = reinterpret_cast<const void*>(lowest);
    return 1;
}

// The lowest loaded address of a loaded object, found once per object: the
// loader's own idea of where an object starts may be its code, not its
// headers, depending on how the linker laid the program out.
HMODULE GetObjectBase(const link_map* map)
{
    static std::mutex lock;
    static std::unordered_map<const link_map*, std::pair<ElfW(Addr), HMODULE>> bases;
    std::lock_guard guard(lock);
    const auto known = bases.find(map);
    if (known != bases.end() && known->second.first == map->l_addr)
    {
        return known->second.second;
    }
    SObjectSearch search;
    search.byBias = true;
    search.bias = map->l_addr;
    dl_iterate_phdr(FindObjectBase, &search);
    const auto base = static_cast<HMODULE>(const_cast<void*>(search.base));
    bases[map] = {map->l_addr, base};
    return base;
}

HMODULE GetModuleBase(const void* address)
{
    dl_find_object found{};
    if (FindObject(address, found))
    {
        return GetObjectBase(found.dlfo_link_map);
    }
    if (address == nullptr)
    {
        return nullptr;
    }
    // Addresses the loader's table leaves out (a program's first pages).
    SObjectSearch search;
    search.address = reinterpret_cast<ElfW(Addr)>(address);
    dl_iterate_phdr(FindObjectBase, &search);
    return static_cast<HMODULE>(const_cast<void*>(search.base));
}

int FindProgramSegment(dl_phdr_info* info, size_t, void* data)
{
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i)
    {
        if (info->dlpi_phdr[i].p_type == PT_LOAD)
        {
            *static_cast<const void**>(data) =
                reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
            return 1; // the program is listed first
        }
    }
    return 1;
}

HMODULE GetProgramModule()
{
    const void* segment = nullptr;
    dl_iterate_phdr(FindProgramSegment, &segment);
    return GetModuleBase(segment);
}

std::string GetProgramFileName()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// Absolute file name of a real module; empty when the address maps none.
std::string GetRealModuleFileName(HMODULE module)
{
    if (module == GetProgramModule())
    {
        return GetProgramFileName();
    }
    dl_find_object found{};
    if (!FindObject(module, found) || found.dlfo_link_map->l_name == nullptr)
    {
        return {};
    }
    const char* fileName = found.dlfo_link_map->l_name;
    // Resolving a name takes a system call per folder of it; a module's
    // name resolves the same way as long as the module is mapped.
    static std::mutex lock;
    static std::unordered_map<std::string, std::string> resolvedNames;
    std::lock_guard guard(lock);
    const auto known = resolvedNames.find(fileName);
    if (known != resolvedNames.end())
    {
        return known->second;
    }
    char resolved[PATH_MAX];
    const std::string name = realpath(fileName, resolved) != nullptr ? resolved : fileName;
    resolvedNames.emplace(fileName, name);
    return name;
}

std::string GetFolder(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool FileExists(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0;
}

// Relative to the current directory; absolute, so that a module's file name
// stays right after the current directory changes.
std::string MakeAbsolute(const std::string& path)
{
    char current[PATH_MAX];
    if (path.starts_with('/') || getcwd(current, sizeof current) == nullptr)
    {
        return path;
    }
    return std::string(current) + '/' + path;
}

// The module of a dlopen handle, through an address inside it.
HMODULE GetLibraryModule(void* library)
{
    link_map* map = nullptr;
    if (dlinfo(library, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr)
    {
        return nullptr;
    }
    return GetModuleBase(map->l_ld);
}

HMODULE RecordLoad(void* library)
{
    const HMODULE module = GetLibraryModule(library);
    if (module == nullptr)
    {
        dlclose(library);
        return nullptr;
    }
    SModuleTable& table = GetModuleTable();
    std::lock_guard guard(table.lock);
    SLoadedModule& loaded = table.loaded[module];
    loaded.library = library;
    ++loaded.loads;
    return module;
}

// The module of one place a library is looked for; null when it is not
// there or does not load.
HMODULE LoadCandidate(const std::string& candidate)
{
    constexpr int Flags = RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE;
    // A library mapped under this name already is found without a look at
    // the file system, which every codec call would pay for.
    void* library = dlopen(candidate.c_str(), Flags | RTLD_NOLOAD);
    if (library == nullptr)
    {
        if (candidate.find('/') != std::string::npos && !FileExists(candidate))
        {
            return nullptr;
        }
        library = dlopen(candidate.c_str(), Flags);
    }
    return library != nullptr ? RecordLoad(library) : nullptr;
}

// Tries the places in order: a name with a folder as it stands; a plain
// name in the caller's folder, in the current folder, then wherever the
// loader finds it.
HMODULE LoadFromCandidates(LPCSTR fileName, const void* caller)
{
    const std::string native = GetNativePath(fileName);
    const std::string objectName = GetSharedObjectName(GetLastComponent(native));
    if (native.find('/') != std::string::npos)
    {
        return LoadCandidate(
            MakeAbsolute(ResolveNativePath((GetFolder(native) + objectName).c_str())));
    }
    const std::string callerFolder = GetFolder(GetRealModuleFileName(GetModuleBase(caller)));
    HMODULE module = callerFolder.empty() ? nullptr : LoadCandidate(callerFolder + objectName);
    if (module == nullptr)
    {
        module = LoadCandidate(MakeAbsolute(objectName));
    }
    return module != nullptr ? module : LoadCandidate(objectName);
}

// 1 found a fake (result in module), 0 no fake, -1 a fake marked absent.
int LoadFake(LPCSTR fileName, HMODULE& module)
{
    SModuleTable& table = GetModuleTable();
    std::lock_guard guard(table.lock);
    const auto found = table.fakesByName.find(GetFakeKey(fileName));
    if (found == table.fakesByName.end())
    {
        return 0;
    }
    if (found->second->absent)
    {
        return -1;
    }
    ++found->second->loads;
    module = GetFakeHandle(found->second);
    return 1;
}

std::shared_ptr<SFakeModule> FindFakeByHandle(HMODULE module)
{
    SModuleTable& table = GetModuleTable();
    std::lock_guard guard(table.lock);
    const auto found = table.fakesByHandle.find(module);
    return found == table.fakesByHandle.end() ? nullptr : found->second;
}

FARPROC GetFakeProc(const SFakeModule& fake, LPCSTR procName)
{
    const auto found = fake.entries.find(procName);
    if (found == fake.entries.end())
    {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return found->second;
}

int FindLoadedByName(dl_phdr_info* info, size_t, void* data)
{
    auto* search = static_cast<std::pair<std::string, const void*>*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_phnum == 0 ||
        GetLastComponent(info->dlpi_name) != search->first)
    {
        return 0;
    }
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i)
    {
        if (info->dlpi_phdr[i].p_type == PT_LOAD)
        {
            search->second =
                reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
            return 1;
        }
    }
    return 0;
}

HMODULE FindLoadedModule(LPCSTR fileName)
{
    std::pair<std::string, const void*> search{
        GetSharedObjectName(GetLastComponent(GetNativePath(fileName))), nullptr};
    dl_iterate_phdr(FindLoadedByName, &search);
    return GetModuleBase(search.second);
}

// A dlopen reference to a module already mapped, whoever loaded it; null
// when the handle is no module's base.
void* OpenModuleReference(HMODULE module)
{
    if (GetModuleBase(module) != module)
    {
        return nullptr;
    }
    if (module == GetProgramModule())
    {
        return dlopen(nullptr, RTLD_LAZY);
    }
    const std::string fileName = GetRealModuleFileName(module);
    return fileName.empty() ? nullptr : dlopen(fileName.c_str(), RTLD_LAZY | RTLD_NOLOAD);
}

// The symbol through the handle LoadLibraryA holds for the module; null
// when the module was not loaded that way or lacks the symbol.
void* FindInLoadedModule(HMODULE module, LPCSTR procName)
{
    SModuleTable& table = GetModuleTable();
    std::lock_guard guard(table.lock);
    const auto loaded = table.loaded.find(module);
    return loaded == table.loaded.end() ? nullptr : dlsym(loaded->second.library, procName);
}

DWORD CopyFileName(const std::string& name, LPSTR buffer, DWORD size)
{
    if (buffer == nullptr || size == 0)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (name.size() >= size)
    {
        std::memcpy(buffer, name.data(), size - 1);
        buffer[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(name.size());
}
} // namespace

HMODULE LoadLibraryA(LPCSTR fileName)
{
    const void* caller = __builtin_return_address(0);
    if (fileName == nullptr || *fileName == '\0')
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HMODULE module = nullptr;
    const int fake = LoadFake(fileName, module);
    if (fake != 0)
    {
        SetLastError(fake > 0 ? ERROR_SUCCESS : ERROR_MOD_NOT_FOUND);
        return module;
    }
    module = LoadFromCandidates(fileName, caller);
    if (module != nullptr)
    {
        return module;
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName)
{
    if (module == nullptr || procName == nullptr ||
        reinterpret_cast<std::uintptr_t>(procName) <= 0xFFFF)
    {
        SetLastError(module == nullptr ? ERROR_INVALID_HANDLE : ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    if (const std::shared_ptr<SFakeModule> fake = FindFakeByHandle(module))
    {
        return GetFakeProc(*fake, procName);
    }
    void* symbol = FindInLoadedModule(module, procName);
    if (symbol == nullptr)
    {
        void* library = OpenModuleReference(module);
        if (library == nullptr)
        {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        symbol = dlsym(library, procName);
        dlclose(library);
    }
    // dlsym also searches the module's dependencies; only its own entries count.
    if (symbol == nullptr || GetModuleBase(symbol) != module)
    {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module)
{
    SModuleTable& table = GetModuleTable();
    void* library = nullptr;
    {
        std::lock_guard guard(table.lock);
        const auto fake = table.fakesByHandle.find(module);
        if (fake != table.fakesByHandle.end())
        {
            if (fake->second->loads == 0)
            {
                SetLastError(ERROR_INVALID_HANDLE);
                return FALSE;
            }
            --fake->second->loads;
            return TRUE;
        }
        const auto loaded = table.loaded.find(module);
        if (loaded == table.loaded.end())
        {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        library = loaded->second.library;
        if (--loaded->second.loads == 0)
        {
            table.loaded.erase(loaded);
        }
    }
    dlclose(library);
    return TRUE;
}

HMODULE GetModuleHandleA(LPCSTR fileName)
{
    if (fileName == nullptr)
    {
        return GetProgramModule();
    }
    {
        SModuleTable& table = GetModuleTable();
        std::lock_guard guard(table.lock);
        const auto fake = table.fakesByName.find(GetFakeKey(fileName));
        if (fake != table.fakesByName.end() && fake->second->loads > 0)
        {
            return GetFakeHandle(fake->second);
        }
    }
    const HMODULE module = FindLoadedModule(fileName);
    if (module == nullptr)
    {
        SetLastError(ERROR_MOD_NOT_FOUND);
    }
    return module;
}

BOOL GetModuleHandleExA(DWORD flags, LPCSTR nameOrAddress, HMODULE* module)
{
    if (module == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *module = (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) != 0
                  ? GetModuleBase(nameOrAddress)
                  : GetModuleHandleA(nameOrAddress);
    if (*module == nullptr)
    {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if ((flags & (GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT | GET_MODULE_HANDLE_EX_FLAG_PIN)) ==
            0 &&
        FindFakeByHandle(*module) == nullptr && *module != GetProgramModule())
    {
        void* library =
            dlopen(GetRealModuleFileName(*module).c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
        if (library != nullptr)
        {
            RecordLoad(library);
        }
    }
    return TRUE;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size)
{
    std::string name;
    if (module == nullptr)
    {
        name = GetProgramFileName();
    }
    else if (const std::shared_ptr<SFakeModule> fake = FindFakeByHandle(module))
    {
        name = fake->fileName;
    }
    else
    {
        name = GetRealModuleFileName(module);
    }
    if (name.empty())
    {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    return CopyFileName(name, buffer, size);
}

void RegisterFakeModule(LPCSTR fileName, std::span<const FakeModuleEntry> entries)
{
    auto fake = std::make_shared<SFakeModule>();
    fake->fileName = fileName;
    for (const FakeModuleEntry& entry : entries)
    {
        fake->entries[entry.name] = entry.proc;
    }
    UnregisterFakeModule(fileName);
    SModuleTable& table = GetModuleTable();
    std::lock_guard guard(table.lock);
    table.fakesByHandle[GetFakeHandle(fake)] = fake;
    table.fakesByName[GetFakeKey(fileName)] = std::move(fake);
}

void RegisterAbsentModule(LPCSTR fileName)
{
    UnregisterFakeModule(fileName);
    auto fake = std::make_shared<SFakeModule>();
    fake->fileName = fileName;
    fake->absent = true;
    SModuleTable& table = GetModuleTable();
    std::lock_guard guard(table.lock);
    table.fakesByName[GetFakeKey(fileName)] = std::move(fake);
}

void UnregisterFakeModule(LPCSTR fileName)
{
    SModuleTable& table = GetModuleTable();
    std::lock_guard guard(table.lock);
    const auto found = table.fakesByName.find(GetFakeKey(fileName));
    if (found != table.fakesByName.end())
    {
        table.fakesByHandle.erase(GetFakeHandle(found->second));
        table.fakesByName.erase(found);
    }
}

void ClearFakeModules()
{
    SModuleTable& table = GetModuleTable();
    std::lock_guard guard(table.lock);
    table.fakesByName.clear();
    table.fakesByHandle.clear();
}

LONG GetFakeModuleLoadCount(LPCSTR fileName)
{
    SModuleTable& table = GetModuleTable();
    std::lock_guard guard(table.lock);
    const auto found = table.fakesByName.find(GetFakeKey(fileName));
    return found == table.fakesByName.end() ? -1 : found->second->loads;
}
