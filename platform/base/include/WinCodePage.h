// The process ANSI and OEM code pages and the conversions between them and
// UTF-16. The ANSI page is UTF-8 (65001) unless the environment variable
// PLATFORM_ACP names another page (e.g. 1252 or 936); the OEM page is 437
// unless PLATFORM_OEMCP names another, and a double-byte ANSI page is its own
// OEM page.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_COMPOSITECHECK 0x00000200
#define WC_DEFAULTCHAR 0x00000040
#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

extern "C"
{
    PLATFORMBASE_API UINT GetACP();
    PLATFORMBASE_API UINT GetOEMCP();

    // A source length of -1 converts up to and including the NUL; a destination
    // size of 0 asks for the length needed. Undecodable bytes become U+FFFD
    // unless MB_ERR_INVALID_CHARS asks for failure.
    PLATFORMBASE_API int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source,
                                             int sourceBytes, LPWSTR destination,
                                             int destinationChars);
    // Characters the page cannot hold become the default character ("?" unless
    // one is given); for UTF-8 the default-character arguments must be null.
    PLATFORMBASE_API int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source,
                                             int sourceChars, LPSTR destination,
                                             int destinationBytes, LPCSTR defaultChar,
                                             LPBOOL usedDefaultChar);

    // ANSI <-> OEM conversion of NUL-terminated text. In place (source equal to
    // destination) the result is cut at a character boundary to the source's
    // length, since an OEM-to-UTF-8 result may be longer than its source.
    PLATFORMBASE_API BOOL CharToOemA(LPCSTR source, LPSTR destination);
    PLATFORMBASE_API BOOL OemToCharA(LPCSTR source, LPSTR destination);
    // The buffer forms convert `length` source bytes and write the result
    // without adding a NUL; destination must hold up to 3 bytes per source byte
    // when the target page is UTF-8 (a NUL among the source bytes is converted
    // too, so passing the length with its NUL terminates the result).
    // They return FALSE when the source holds bytes of an unsupported page.
    PLATFORMBASE_API BOOL CharToOemBuffA(LPCSTR source, LPSTR destination, DWORD length);
    PLATFORMBASE_API BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length);

    // Test and start-up seam: switches the process ANSI or OEM page. Returns
    // FALSE, changing nothing, for a page the layer cannot convert.
    PLATFORMBASE_API BOOL PlatformSetACP(UINT codePage);
    PLATFORMBASE_API BOOL PlatformSetOEMCP(UINT codePage);
}
