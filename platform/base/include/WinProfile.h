// The application profile (what Windows keeps in the registry): an INI-style
// file per registry key and application under the user's configuration
// folder, "$XDG_CONFIG_HOME/<key>/<application>.ini" (else "~/.config/...";
// without a key "<config>/<application>.ini"). Sections and entries compare
// without regard to case. Tests switch the process to an in-memory store,
// which keeps its values across store objects until cleared.
//
// The registry calls read HKEY_CURRENT_USER subkeys as sections of the
// application store, e.g. "Control Panel\Desktop".
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#include <string>

class PLATFORMBASE_API CProfileStore
{
public:
    // A null or empty key stores the application's file directly under the
    // configuration folder.
    CProfileStore(LPCSTR registryKey, LPCSTR application);

    // The value, or the default when the entry is missing; text that is no
    // number gives 0.
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) const;
    std::string GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) const;
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    // A null value removes the entry; a null entry removes the section.
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
    BOOL HasSection(LPCSTR section) const;

    // The file this store reads and writes (also in memory mode).
    std::string GetFilePath() const;

    // The store the registry calls read; set when the application names
    // its registry key.
    static void SetApplicationStore(LPCSTR registryKey, LPCSTR application);
    static CProfileStore GetApplicationStore();

    static void SetInMemory(bool inMemory);
    static void ClearMemory();

private:
    std::string m_path;
};

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000000UL)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001UL)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000002UL)))

#define KEY_QUERY_VALUE 0x0001UL
#define KEY_READ 0x20019UL
#define REG_NONE 0UL
#define REG_SZ 1UL

using REGSAM = DWORD;
using PHKEY = HKEY*;
using LSTATUS = LONG;

// ERROR_FILE_NOT_FOUND unless the application store has the section.
extern "C" PLATFORMBASE_API LSTATUS RegOpenKeyExA(HKEY parent, LPCSTR subKey, DWORD options,
                                                  REGSAM access, PHKEY result);
// Entries read as REG_SZ with their NUL. ERROR_MORE_DATA (and the size
// needed) when the buffer is too small; a null buffer asks for the size.
extern "C" PLATFORMBASE_API LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved,
                                                     LPDWORD type, LPBYTE data, LPDWORD size);
extern "C" PLATFORMBASE_API LSTATUS RegCloseKey(HKEY key);

inline LSTATUS RegOpenKeyEx(HKEY parent, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result)
{
    return RegOpenKeyExA(parent, subKey, options, access, result);
}
inline LSTATUS RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                               LPBYTE data, LPDWORD size)
{
    return RegQueryValueExA(key, valueName, reserved, type, data, size);
}
