// Loading libraries by their Windows file names. "Name.dll" is the shared
// object "libName.so", looked for in the folder of the module that asks,
// then in the current directory, then on the loader's path. A module handle
// is the address at which the module is mapped. Code stays mapped after the
// last FreeLibrary, so loading and freeing around every call stays cheap.
//
// Tests can register fake modules under a file name: LoadLibraryA finds a
// fake before any file, and a name registered as absent fails to load.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#include <span>

#define GET_MODULE_HANDLE_EX_FLAG_PIN 0x00000001UL
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002UL
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004UL

// NULL with ERROR_MOD_NOT_FOUND when no candidate loads. Loads are counted.
extern "C" PLATFORMBASE_API HMODULE LoadLibraryA(LPCSTR fileName);
// Exact, case-sensitive entry names of that module only; NULL with
// ERROR_PROC_NOT_FOUND when it has no such entry.
extern "C" PLATFORMBASE_API FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
extern "C" PLATFORMBASE_API BOOL FreeLibrary(HMODULE module);
// NULL names the program. Takes no reference.
extern "C" PLATFORMBASE_API HMODULE GetModuleHandleA(LPCSTR fileName);
// With GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS the module holding the
// address; takes a reference unless ..._UNCHANGED_REFCOUNT is given.
extern "C" PLATFORMBASE_API BOOL GetModuleHandleExA(DWORD flags, LPCSTR nameOrAddress,
                                                    HMODULE* module);
// The absolute file name of the module (NULL: the program). A result that
// does not fit is cut to size - 1 characters and returns size with
// ERROR_INSUFFICIENT_BUFFER.
extern "C" PLATFORMBASE_API DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);

inline HMODULE LoadLibrary(LPCSTR fileName)
{
    return LoadLibraryA(fileName);
}
inline HMODULE GetModuleHandle(LPCSTR fileName)
{
    return GetModuleHandleA(fileName);
}
inline DWORD GetModuleFileName(HMODULE module, LPSTR buffer, DWORD size)
{
    return GetModuleFileNameA(module, buffer, size);
}

// An entry as the function type the caller knows it by. The detour through
// void (*)() is the one function-pointer cast compilers accept silently.
template <class ProcPointer> ProcPointer CastFarProc(FARPROC proc)
{
    return reinterpret_cast<ProcPointer>(reinterpret_cast<void (*)()>(proc));
}

// One entry of a fake module: its exact name and the function it stands for.
struct FakeModuleEntry
{
    const char* name;
    FARPROC proc;
};

template <class Function> FakeModuleEntry MakeFakeModuleEntry(const char* name, Function* proc)
{
    return {name, reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(proc))};
}

// Registers (or replaces) a fake under a file name such as "Quorex.dll",
// matched by its last component without regard to case. Entries are copied.
PLATFORMBASE_API void RegisterFakeModule(LPCSTR fileName, std::span<const FakeModuleEntry> entries);
// Makes LoadLibraryA of the name fail as if no such file existed.
PLATFORMBASE_API void RegisterAbsentModule(LPCSTR fileName);
PLATFORMBASE_API void UnregisterFakeModule(LPCSTR fileName);
PLATFORMBASE_API void ClearFakeModules();
// Loads of the fake not yet freed; -1 when no fake has the name.
PLATFORMBASE_API LONG GetFakeModuleLoadCount(LPCSTR fileName);
