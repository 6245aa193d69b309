// Win32 access to the resources each module registers (ResourceRegistry.h):
// FindResourceA, LoadResource, LockResource, SizeofResource and LoadStringA,
// by module handle and by numeric id (MAKEINTRESOURCE) or name. A NULL
// module is the program. Names compare without regard to case, and "#123"
// names id 123.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE(i) MAKEINTRESOURCEA(i)
#endif
#ifndef IS_INTRESOURCE
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
#endif

#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_ACCELERATOR MAKEINTRESOURCE(9)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_HTML MAKEINTRESOURCE(23)
#define RT_TOOLBAR MAKEINTRESOURCE(241)

#ifndef ERROR_RESOURCE_DATA_NOT_FOUND
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#endif
#ifndef ERROR_RESOURCE_TYPE_NOT_FOUND
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#endif
#ifndef ERROR_RESOURCE_NAME_NOT_FOUND
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#endif

extern "C"
{
    // NULL with ERROR_RESOURCE_NAME_NOT_FOUND (or the file's error for a
    // resource authored as a file that cannot be read).
    PLATFORMUI_API HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
    // What LockResource returns for each type: the bytes of raw data, of an
    // authored image file (a bitmap without its 14-byte file header) and of a
    // toolbar (WORD version 1, width, height, count, then the ids); a
    // DialogTemplate, a MenuTemplate, or the AcceleratorEntry array.
    PLATFORMUI_API HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
    PLATFORMUI_API LPVOID LockResource(HGLOBAL hResData);
    PLATFORMUI_API DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
    // Resources stay loaded for the life of the process.
    PLATFORMUI_API BOOL FreeResource(HGLOBAL hResData);
    // Copies at most cchBufferMax - 1 bytes and the NUL; returns the bytes
    // copied, 0 when the module has no such string.
    PLATFORMUI_API int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);
}

inline HRSRC FindResource(HMODULE hModule, LPCSTR lpName, LPCSTR lpType)
{
    return FindResourceA(hModule, lpName, lpType);
}
