// Files through handles (CreateFileA, ReadFile, WriteFile, ...), file
// attributes, deleting and moving, the temporary folder, and the runtime's
// shared open _fsopen. Paths take either separator; opening an existing file
// matches its path without regard to case. Share modes are honoured between
// every open of a file made through these calls, in this process and in
// other processes.
#pragma once

#include "PlatformBaseExport.h"
#include "WinError.h"
#include "WinHandle.h"
#include "WinSecurity.h"
#include "WinTypes.h"

#include <cstdio>

#define GENERIC_READ 0x80000000UL
#define GENERIC_WRITE 0x40000000UL

#define FILE_SHARE_READ 0x00000001UL
#define FILE_SHARE_WRITE 0x00000002UL
#define FILE_SHARE_DELETE 0x00000004UL

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001UL
#define FILE_ATTRIBUTE_HIDDEN 0x00000002UL
#define FILE_ATTRIBUTE_SYSTEM 0x00000004UL
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010UL
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020UL
#define FILE_ATTRIBUTE_NORMAL 0x00000080UL
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100UL
#define FILE_FLAG_RANDOM_ACCESS 0x10000000UL
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000UL
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFUL

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFUL
#define INVALID_FILE_SIZE 0xFFFFFFFFUL

// Share codes of _fsopen.
#define _SH_DENYRW 0x10
#define _SH_DENYWR 0x20
#define _SH_DENYRD 0x30
#define _SH_DENYNO 0x40

// Asynchronous I/O is not offered; the OVERLAPPED argument must be NULL.
typedef struct _OVERLAPPED
{
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
} OVERLAPPED, *LPOVERLAPPED;

// access: GENERIC_READ and/or GENERIC_WRITE; share: FILE_SHARE_* bits;
// creation: CREATE_NEW, CREATE_ALWAYS, OPEN_EXISTING, OPEN_ALWAYS,
// TRUNCATE_EXISTING. Attributes and flags are accepted and ignored.
// INVALID_HANDLE_VALUE on failure, ERROR_SHARING_VIOLATION when an open
// handle forbids this access or holds an access this share mode forbids.
extern "C" PLATFORMBASE_API HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share,
                                               LPSECURITY_ATTRIBUTES security, DWORD creation,
                                               DWORD flagsAndAttributes, HANDLE templateFile);
// TRUE with *read == 0 at end of file.
extern "C" PLATFORMBASE_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read,
                                          LPOVERLAPPED overlapped);
extern "C" PLATFORMBASE_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite,
                                           LPDWORD written, LPOVERLAPPED overlapped);
// The new position, or INVALID_SET_FILE_POINTER with the last error set.
extern "C" PLATFORMBASE_API DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh,
                                                 DWORD method);
extern "C" PLATFORMBASE_API DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
extern "C" PLATFORMBASE_API BOOL FlushFileBuffers(HANDLE file);

extern "C" PLATFORMBASE_API BOOL DeleteFileA(LPCSTR path);
// Fails with ERROR_ALREADY_EXISTS when the target exists.
extern "C" PLATFORMBASE_API BOOL MoveFileA(LPCSTR existing, LPCSTR target);
// FILE_ATTRIBUTE_NORMAL gives the owner write permission back;
// FILE_ATTRIBUTE_READONLY takes every write permission away.
extern "C" PLATFORMBASE_API BOOL SetFileAttributesA(LPCSTR path, DWORD attributes);
extern "C" PLATFORMBASE_API DWORD GetFileAttributesA(LPCSTR path);
// "$TMPDIR/" or "/tmp/", always ending with a separator. Returns the length
// copied, or the size needed (with the NUL) when the buffer is too small.
extern "C" PLATFORMBASE_API DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);

// fopen with a share code (_SH_DENYRW, _SH_DENYWR, _SH_DENYRD, _SH_DENYNO);
// NULL with errno EACCES and ERROR_SHARING_VIOLATION on a share conflict.
// Text mode ("t") translates nothing.
extern "C" PLATFORMBASE_API FILE* _fsopen(const char* path, const char* mode, int shareFlag);

inline HANDLE CreateFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                         DWORD creation, DWORD flagsAndAttributes, HANDLE templateFile)
{
    return CreateFileA(path, access, share, security, creation, flagsAndAttributes, templateFile);
}
inline BOOL DeleteFile(LPCSTR path)
{
    return DeleteFileA(path);
}
inline BOOL MoveFile(LPCSTR existing, LPCSTR target)
{
    return MoveFileA(existing, target);
}
inline BOOL SetFileAttributes(LPCSTR path, DWORD attributes)
{
    return SetFileAttributesA(path, attributes);
}
inline DWORD GetFileAttributes(LPCSTR path)
{
    return GetFileAttributesA(path);
}
inline DWORD GetTempPath(DWORD bufferLength, LPSTR buffer)
{
    return GetTempPathA(bufferLength, buffer);
}
