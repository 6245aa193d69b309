// Mutexes and named shared memory.
//
// A named mutex or file mapping lives while some process holds a handle to
// it (or, for a mapping, a view of it) and is gone with the last one, also
// when that process dies without closing: each open keeps a shared record
// lock as proof that its process is alive, and an object without such a
// lock counts as absent, to be replaced by the next creation. Names belong
// to the user: processes of other users never see them. A "Global\" name is
// the user's on the whole machine; any other name (a "Local\" prefix
// dropped) belongs to the session, the display the process shows on.
// Shared memory is readable and writable by its creator's user only,
// whatever security attributes the caller passes.
#pragma once

#include "PlatformBaseExport.h"
#include "WinError.h"
#include "WinHandle.h"
#include "WinSecurity.h"
#include "WinTypes.h"

#define PAGE_READONLY 0x02UL
#define PAGE_READWRITE 0x04UL

#define FILE_MAP_COPY 0x0001UL
#define FILE_MAP_WRITE 0x0002UL
#define FILE_MAP_READ 0x0004UL
#define FILE_MAP_ALL_ACCESS 0x000F001FUL

#define INFINITE 0xFFFFFFFFUL
#define WAIT_OBJECT_0 0x00000000UL
#define WAIT_ABANDONED 0x00000080UL
#define WAIT_TIMEOUT 0x00000102UL
#define WAIT_FAILED 0xFFFFFFFFUL

// With a name, the last error is ERROR_ALREADY_EXISTS when a handle to that
// name is open in its scope (for the same user), else
// ERROR_SUCCESS. Waiting on and releasing a mutex order threads of this
// process only.
extern "C" PLATFORMBASE_API HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES security, BOOL initialOwner,
                                                LPCSTR name);
extern "C" PLATFORMBASE_API BOOL ReleaseMutex(HANDLE mutex);
// Mutex handles only.
extern "C" PLATFORMBASE_API DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);

// Shared memory of the given size (file must be INVALID_HANDLE_VALUE),
// zero-filled when new; ERROR_ALREADY_EXISTS when a live object has the
// name, which then keeps its own size.
extern "C" PLATFORMBASE_API HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES security,
                                                      DWORD protect, DWORD maximumSizeHigh,
                                                      DWORD maximumSizeLow, LPCSTR name);
// NULL with ERROR_FILE_NOT_FOUND when no live object has the name.
extern "C" PLATFORMBASE_API HANDLE OpenFileMappingA(DWORD access, BOOL inheritHandle, LPCSTR name);
// bytes 0 maps from the offset to the end. The view keeps the object alive
// after its handle closes.
extern "C" PLATFORMBASE_API LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh,
                                                 DWORD offsetLow, SIZE_T bytes);
extern "C" PLATFORMBASE_API BOOL UnmapViewOfFile(LPCVOID address);

// The session of the names without "Global\": the display backend names
// its display once open. Empty, the default (headless), leaves every name
// the user's on the whole machine.
extern "C" PLATFORMBASE_API void SetNamedObjectSession(const char* session);

inline HANDLE CreateMutex(LPSECURITY_ATTRIBUTES security, BOOL initialOwner, LPCSTR name)
{
    return CreateMutexA(security, initialOwner, name);
}
inline HANDLE CreateFileMapping(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect,
                                DWORD maximumSizeHigh, DWORD maximumSizeLow, LPCSTR name)
{
    return CreateFileMappingA(file, security, protect, maximumSizeHigh, maximumSizeLow, name);
}
inline HANDLE OpenFileMapping(DWORD access, BOOL inheritHandle, LPCSTR name)
{
    return OpenFileMappingA(access, inheritHandle, name);
}
