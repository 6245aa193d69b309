#include "ShellItemIds.h"

#include "WinFile.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

// {00000002-0000-0000-C000-000000000046}
const IID IID_IMalloc = {0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace
{
// The allocator of the shell: the task allocator, for the process's life.
class CShellMalloc final : public IMalloc
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = riid == IID_IUnknown || riid == IID_IMalloc ? this : nullptr;
        return *ppv != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override { return CoTaskMemAlloc(cb); }
    void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) override
    {
        return CoTaskMemRealloc(pv, cb);
    }
    void STDMETHODCALLTYPE Free(void* pv) override { CoTaskMemFree(pv); }
};

const SHITEMID* NextId(const SHITEMID* pId)
{
    return reinterpret_cast<const SHITEMID*>(reinterpret_cast<const BYTE*>(pId) + pId->cb);
}

// The names of a path between its separators ("\\" taken for "/"), "." and
// empty ones dropped.
ShellComponents SplitPath(const std::string& path)
{
    ShellComponents parts;
    std::size_t nStart = 0;
    while (nStart <= path.size())
    {
        std::size_t nEnd = path.find_first_of("/\\", nStart);
        if (nEnd == std::string::npos)
            nEnd = path.size();
        std::string part = path.substr(nStart, nEnd - nStart);
        if (!part.empty() && part != ".")
            parts.push_back(std::move(part));
        nStart = nEnd + 1;
    }
    return parts;
}

bool HasDrive(const std::string& path)
{
    const bool bLetter = path.size() >= 2 &&
                         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return bLetter && path[1] == ':';
}

// Identifiers hold at most this many bytes of a component.
constexpr std::size_t kMaxComponent = 0xFFFF - sizeof(USHORT);
} // namespace

std::string HomeFolder()
{
    const char* pszHome = std::getenv("HOME");
    std::string home = pszHome != nullptr ? pszHome : "";
    if (home.empty())
    {
        const passwd* pEntry = getpwuid(getuid());
        home = pEntry != nullptr && pEntry->pw_dir != nullptr ? pEntry->pw_dir : "/";
    }
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return home;
}

ShellComponents ComponentsOf(LPCITEMIDLIST pidl)
{
    ShellComponents components;
    if (pidl == nullptr)
        return components;
    for (const SHITEMID* pId = &pidl->mkid; pId->cb >= sizeof(USHORT); pId = NextId(pId))
        components.emplace_back(reinterpret_cast<const char*>(pId->abID), pId->cb - sizeof(USHORT));
    return components;
}

LPITEMIDLIST MakeIdList(const ShellComponents& components)
{
    std::size_t nSize = sizeof(USHORT);
    for (const std::string& component : components)
        nSize += sizeof(USHORT) + std::min(component.size(), kMaxComponent);
    auto* pBytes = static_cast<BYTE*>(CoTaskMemAlloc(nSize));
    if (pBytes == nullptr)
        return nullptr;
    BYTE* p = pBytes;
    for (const std::string& component : components)
    {
        const auto cb =
            static_cast<USHORT>(sizeof(USHORT) + std::min(component.size(), kMaxComponent));
        std::memcpy(p, &cb, sizeof(cb));
        std::memcpy(p + sizeof(USHORT), component.data(), cb - sizeof(USHORT));
        p += cb;
    }
    const USHORT nEnd = 0;
    std::memcpy(p, &nEnd, sizeof(nEnd));
    return reinterpret_cast<LPITEMIDLIST>(pBytes);
}

std::string PathOfComponents(const ShellComponents& components)
{
    std::string path;
    for (const std::string& component : components)
    {
        if (!path.empty() && path.back() != '/')
            path += '/';
        path += component;
    }
    return path;
}

bool IsAbsolutePath(const std::string& path)
{
    const std::size_t nDrive = HasDrive(path) ? 2 : 0;
    return path.size() > nDrive && (path[nDrive] == '/' || path[nDrive] == '\\');
}

ShellComponents ComponentsOfPath(const std::string& path)
{
    const ShellComponents parts = SplitPath(HasDrive(path) ? path.substr(2) : path);
    const std::string home = HomeFolder();
    const ShellComponents homeParts = SplitPath(home);
    const bool bUnderHome = !homeParts.empty() && parts.size() >= homeParts.size() &&
                            std::equal(homeParts.begin(), homeParts.end(), parts.begin());
    ShellComponents components{bUnderHome ? home : std::string("/")};
    components.insert(components.end(), parts.begin() + (bUnderHome ? homeParts.size() : 0),
                      parts.end());
    return components;
}

HRESULT SHGetMalloc(LPMALLOC* ppMalloc)
{
    static CShellMalloc malloc;
    if (ppMalloc == nullptr)
        return E_INVALIDARG;
    *ppMalloc = &malloc;
    return S_OK;
}

UINT ILGetSize(LPCITEMIDLIST pidl)
{
    if (pidl == nullptr)
        return 0;
    UINT nSize = sizeof(USHORT);
    for (const SHITEMID* pId = &pidl->mkid; pId->cb >= sizeof(USHORT); pId = NextId(pId))
        nSize += pId->cb;
    return nSize;
}

LPITEMIDLIST ILClone(LPCITEMIDLIST pidl)
{
    if (pidl == nullptr)
        return nullptr;
    const UINT nSize = ILGetSize(pidl);
    auto* pCopy = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(nSize));
    if (pCopy != nullptr)
        std::memcpy(pCopy, pidl, nSize);
    return pCopy;
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2)
{
    ShellComponents components = ComponentsOf(pidl1);
    const ShellComponents more = ComponentsOf(pidl2);
    components.insert(components.end(), more.begin(), more.end());
    return MakeIdList(components);
}

void ILFree(LPITEMIDLIST pidl)
{
    CoTaskMemFree(pidl);
}

LPITEMIDLIST ILCreateFromPathA(LPCSTR pszPath)
{
    if (pszPath == nullptr || !IsAbsolutePath(pszPath))
        return nullptr;
    const ShellComponents components = ComponentsOfPath(pszPath);
    if (GetFileAttributesA(PathOfComponents(components).c_str()) == INVALID_FILE_ATTRIBUTES)
        return nullptr;
    return MakeIdList(components);
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath)
{
    if (pszPath == nullptr)
        return FALSE;
    pszPath[0] = '\0';
    const std::string path = PathOfComponents(ComponentsOf(pidl));
    if (path.empty() || path.size() >= MAX_PATH)
        return FALSE;
    std::memcpy(pszPath, path.c_str(), path.size() + 1);
    return TRUE;
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST* ppidl)
{
    if (ppidl == nullptr)
        return E_INVALIDARG;
    *ppidl = MakeIdList(csidl == CSIDL_DRIVES ? ShellComponents{"/"} : ShellComponents{});
    return *ppidl != nullptr ? S_OK : E_OUTOFMEMORY;
}
