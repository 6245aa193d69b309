// Global and local memory blocks. A movable block's handle is not its
// address: GlobalLock gives the address and counts the locks. The address
// stays the same while the block lives unless GlobalReAlloc has to move it.
// Every call is safe from any thread.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#define GMEM_FIXED 0x0000U
#define GMEM_MOVEABLE 0x0002U
#define GMEM_ZEROINIT 0x0040U
#define GMEM_MODIFY 0x0080U
#define GMEM_DDESHARE 0x2000U
#define GMEM_SHARE 0x2000U
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define LMEM_FIXED 0x0000U
#define LMEM_ZEROINIT 0x0040U
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// A block of size bytes (a zero-size block is allowed); GMEM_FIXED gives a
// handle that is the block's address. NULL with ERROR_NOT_ENOUGH_MEMORY.
extern "C" PLATFORMBASE_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T size);
// The block's address; each call adds one lock. NULL for a handle that is
// not a live block (ERROR_INVALID_HANDLE).
extern "C" PLATFORMBASE_API LPVOID GlobalLock(HGLOBAL block);
// Non-zero while locks remain; FALSE with NO_ERROR when the last lock goes,
// FALSE with ERROR_NOT_LOCKED when the block was not locked.
extern "C" PLATFORMBASE_API BOOL GlobalUnlock(HGLOBAL block);
// The size asked for at allocation or re-allocation; 0 for a bad handle.
extern "C" PLATFORMBASE_API SIZE_T GlobalSize(HGLOBAL block);
// Resizes, keeping the contents; growth is zero-filled only with
// GMEM_ZEROINIT. A movable block keeps its handle; a fixed block moves only
// with GMEM_MOVEABLE and then returns its new address. NULL on failure, the
// old block untouched.
extern "C" PLATFORMBASE_API HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T size, UINT flags);
// NULL on success, the handle itself on failure.
extern "C" PLATFORMBASE_API HGLOBAL GlobalFree(HGLOBAL block);
// The handle of the block whose address this is.
extern "C" PLATFORMBASE_API HGLOBAL GlobalHandle(LPCVOID address);

extern "C" PLATFORMBASE_API HLOCAL LocalAlloc(UINT flags, SIZE_T size);
extern "C" PLATFORMBASE_API HLOCAL LocalFree(HLOCAL block);
