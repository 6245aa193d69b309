// The shell over the file system alone: item identifiers, folders and
// their items, file information with icons of the system image lists,
// shortcuts and the context menu that is not there.
//
// An item identifier list holds one path component per identifier, so lists
// concatenate: the desktop is the empty list; its items are the root "/"
// and the home folder (each one identifier holding its absolute path); the
// items of a folder add their names. Lists are made with the shell
// allocator (CoTaskMemAlloc) and freed by whoever receives them.
//
// File types come from the desktop's content types (GIO, shared-mime-info,
// the file's name and first bytes); icons are the freedesktop icon theme's
// pictures for them, gathered in the system image lists. Mount points stand
// for drives. Symbolic links and ".desktop" launchers stand for shortcuts.
#pragma once

#include "PlatformUIExport.h"
#include "WinCom.h"
#include "WinUserDefs.h"

#pragma pack(push, 1)
struct SHITEMID
{
    USHORT cb; // bytes of the identifier, cb itself included
    BYTE abID[1];
};
struct ITEMIDLIST
{
    SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;

#define CSIDL_DESKTOP 0x0000
#define CSIDL_DRIVES 0x0011

#define SHCONTF_FOLDERS 0x0020
#define SHCONTF_NONFOLDERS 0x0040
#define SHCONTF_INCLUDEHIDDEN 0x0080

#define SFGAO_FILESYSTEM 0x40000000UL
#define SFGAO_HASSUBFOLDER 0x80000000UL
#define SFGAO_FOLDER 0x20000000UL
#define SFGAO_LINK 0x00010000UL

#define SHGDN_NORMAL 0x0000
#define SHGDN_INFOLDER 0x0001
#define SHGDN_FORPARSING 0x8000

#define STRRET_WSTR 0x0000
#define STRRET_OFFSET 0x0001
#define STRRET_CSTR 0x0002

#define SHGFI_LARGEICON 0x000000000
#define SHGFI_SMALLICON 0x000000001
#define SHGFI_OPENICON 0x000000002
#define SHGFI_PIDL 0x000000008
#define SHGFI_DISPLAYNAME 0x000000200
#define SHGFI_TYPENAME 0x000000400
#define SHGFI_ATTRIBUTES 0x000000800
#define SHGFI_SYSICONINDEX 0x000004000

#define CMF_NORMAL 0x00000000

struct STRRET
{
    UINT uType;
    union
    {
        LPWSTR pOleStr;
        UINT uOffset;
        char cStr[MAX_PATH];
    };
};

struct SHFILEINFOA
{
    HICON hIcon;
    int iIcon;
    DWORD dwAttributes;
    char szDisplayName[MAX_PATH];
    char szTypeName[80];
};
using SHFILEINFO = SHFILEINFOA;

struct CMINVOKECOMMANDINFO
{
    DWORD cbSize;
    DWORD fMask;
    HWND hwnd;
    LPCSTR lpVerb;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    DWORD dwHotKey;
    HANDLE hIcon;
};
using LPCMINVOKECOMMANDINFO = CMINVOKECOMMANDINFO*;

extern "C" PLATFORMUI_API const IID IID_IMalloc;
extern "C" PLATFORMUI_API const IID IID_IShellFolder;
extern "C" PLATFORMUI_API const IID IID_IEnumIDList;
extern "C" PLATFORMUI_API const IID IID_IContextMenu;
extern "C" PLATFORMUI_API const IID IID_IShellLinkA;
extern "C" PLATFORMUI_API const IID IID_IPersistFile;
extern "C" PLATFORMUI_API const CLSID CLSID_ShellLink;

struct IMalloc : IUnknown
{
    virtual void* STDMETHODCALLTYPE Alloc(SIZE_T cb) = 0;
    virtual void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) = 0;
    virtual void STDMETHODCALLTYPE Free(void* pv) = 0;

protected:
    ~IMalloc() = default;
};
using LPMALLOC = IMalloc*;

struct IEnumIDList : IUnknown
{
    // Each identifier handed out is the caller's (a list of one item).
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, LPITEMIDLIST* rgelt,
                                           ULONG* pceltFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;

protected:
    ~IEnumIDList() = default;
};
using LPENUMIDLIST = IEnumIDList*;

struct IContextMenu : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst,
                                                       UINT idCmdLast, UINT uFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE InvokeCommand(LPCMINVOKECOMMANDINFO pici) = 0;

protected:
    ~IContextMenu() = default;
};
using LPCONTEXTMENU = IContextMenu*;

// Identifiers given to a folder are relative to it: one item for the
// calls on items, any number for ParseDisplayName's result and BindToObject.
struct IShellFolder : IUnknown
{
    // A path relative to the folder (or absolute) as an identifier list
    // relative to the folder; *pdwAttributes, when given, as GetAttributesOf.
    virtual HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND hwnd, void* pbc, LPWSTR pszDisplayName,
                                                       ULONG* pchEaten, LPITEMIDLIST* ppidl,
                                                       ULONG* pdwAttributes) = 0;
    // Items sorted by CompareIDs (folders first with SHCONTF_FOLDERS and
    // SHCONTF_NONFOLDERS both asked); S_FALSE with no enumerator for an
    // unreadable folder.
    virtual HRESULT STDMETHODCALLTYPE EnumObjects(HWND hwnd, DWORD grfFlags,
                                                  IEnumIDList** ppenumIDList) = 0;
    virtual HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST pidl, void* pbc, REFIID riid,
                                                   void** ppv) = 0;
    // Negative, zero or positive in HRESULT_CODE: folders before files, then
    // by name without regard to case.
    virtual HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lParam, LPCITEMIDLIST pidl1,
                                                 LPCITEMIDLIST pidl2) = 0;
    // Narrows *rgfInOut to what every item has.
    virtual HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl,
                                                      ULONG* rgfInOut) = 0;
    // No shell extensions exist here: E_FAIL for every interface.
    virtual HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND hwndOwner, UINT cidl, LPCITEMIDLIST* apidl,
                                                    REFIID riid, UINT* rgfReserved, void** ppv) = 0;
    // The name as STRRET_CSTR (ANSI): the item's name, or with
    // SHGDN_FORPARSING its whole path.
    virtual HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST pidl, DWORD uFlags,
                                                       STRRET* pName) = 0;

protected:
    ~IShellFolder() = default;
};
using LPSHELLFOLDER = IShellFolder*;

struct IPersistFile : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Load(LPCWSTR pszFileName, DWORD dwMode) = 0;

protected:
    ~IPersistFile() = default;
};

// A shortcut: a symbolic link (its target) or a ".desktop" launcher (its
// "URL" or the file its "Exec" names, of type "Link" or "Application").
struct IShellLinkA : IUnknown
{
    // The target's path; S_FALSE with an empty path when the shortcut has
    // none.
    virtual HRESULT STDMETHODCALLTYPE GetPath(LPSTR pszFile, int cch, void* pfd, DWORD fFlags) = 0;

protected:
    ~IShellLinkA() = default;
};

extern "C"
{
    PLATFORMUI_API HRESULT SHGetMalloc(LPMALLOC* ppMalloc);
    PLATFORMUI_API HRESULT SHGetDesktopFolder(LPSHELLFOLDER* ppshf);
    // CSIDL_DESKTOP the empty list, CSIDL_DRIVES the root "/" (the mounts
    // lie below it); any other folder is the desktop.
    PLATFORMUI_API HRESULT SHGetSpecialFolderLocation(HWND hwnd, int csidl, LPITEMIDLIST* ppidl);
    // The path an absolute list names; FALSE for the desktop itself.
    PLATFORMUI_API BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath);

    PLATFORMUI_API UINT ILGetSize(LPCITEMIDLIST pidl);
    PLATFORMUI_API LPITEMIDLIST ILClone(LPCITEMIDLIST pidl);
    PLATFORMUI_API LPITEMIDLIST ILCombine(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2);
    PLATFORMUI_API void ILFree(LPITEMIDLIST pidl);
    // The absolute list of a path, null when the path does not exist.
    PLATFORMUI_API LPITEMIDLIST ILCreateFromPathA(LPCSTR pszPath);

    // With SHGFI_SYSICONINDEX answers the system image list (small with
    // SHGFI_SMALLICON) and sets iIcon; otherwise non-zero on success. 0
    // when the item does not exist. Type names: "File folder" for a
    // folder, "<EXT> file" for a name with an extension, "File" without.
    PLATFORMUI_API DWORD_PTR SHGetFileInfoA(LPCSTR pszPath, DWORD dwFileAttributes,
                                            SHFILEINFOA* psfi, UINT cbFileInfo, UINT uFlags);

    // Only CLSID_ShellLink is known, in this process.
    PLATFORMUI_API HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter,
                                            DWORD dwClsContext, REFIID riid, LPVOID* ppv);
}

inline DWORD_PTR SHGetFileInfo(LPCSTR pszPath, DWORD dwFileAttributes, SHFILEINFOA* psfi,
                               UINT cbFileInfo, UINT uFlags)
{
    return SHGetFileInfoA(pszPath, dwFileAttributes, psfi, cbFileInfo, uFlags);
}
inline BOOL SHGetPathFromIDList(LPCITEMIDLIST pidl, LPSTR pszPath)
{
    return SHGetPathFromIDListA(pidl, pszPath);
}

// The indices every system image list starts with.
enum enSystemIcon
{
    enIconFolder = 0,
    enIconOpenFolder = 1,
    enIconFile = 2,
    enIconDrive = 3,
};
