// Folders of the file-system namespace and the enumeration of their items.
#include "ShellItemIds.h"

#include "ComObject.h"
#include "WinCodePage.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <strings.h>

// {000214E6-0000-0000-C000-000000000046}
const IID IID_IShellFolder = {0x000214E6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {000214F2-0000-0000-C000-000000000046}
const IID IID_IEnumIDList = {0x000214F2, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {000214E4-0000-0000-C000-000000000046}
const IID IID_IContextMenu = {0x000214E4, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace
{
bool IsFolder(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsShortcut(const std::string& path)
{
    struct stat info
    {
    };
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
        return true;
    constexpr std::string_view kLauncher = ".desktop";
    return path.size() > kLauncher.size() &&
           path.compare(path.size() - kLauncher.size(), kLauncher.size(), kLauncher) == 0;
}

// The names in a folder, "." and ".." left out.
std::vector<std::string> NamesIn(const std::string& folder, bool& bReadable)
{
    std::vector<std::string> names;
    DIR* pDir = opendir(folder.c_str());
    bReadable = pDir != nullptr;
    if (pDir == nullptr)
        return names;
    while (const dirent* pEntry = readdir(pDir))
    {
        if (std::strcmp(pEntry->d_name, ".") != 0 && std::strcmp(pEntry->d_name, "..") != 0)
            names.emplace_back(pEntry->d_name);
    }
    closedir(pDir);
    return names;
}

bool HasSubfolder(const std::string& folder)
{
    bool bReadable = false;
    const std::vector<std::string> names = NamesIn(folder, bReadable);
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return IsFolder(folder + "/" + name); });
}

// Folders before files, then by name without regard to case, then exactly.
int CompareItems(const std::string& pathA, const std::string& nameA, const std::string& pathB,
                 const std::string& nameB)
{
    const bool bFolderA = IsFolder(pathA);
    const bool bFolderB = IsFolder(pathB);
    if (bFolderA != bFolderB)
        return bFolderA ? -1 : 1;
    const int nCase = strcasecmp(nameA.c_str(), nameB.c_str());
    if (nCase != 0)
        return nCase < 0 ? -1 : 1;
    const int nExact = nameA.compare(nameB);
    return nExact < 0 ? -1 : nExact > 0 ? 1 : 0;
}

class CItemEnumerator final : public CComObject<IEnumIDList, IID_IEnumIDList>
{
public:
    explicit CItemEnumerator(std::vector<ShellComponents> items) : m_items(std::move(items)) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* pceltFetched) override
    {
        ULONG nFetched = 0;
        while (nFetched < celt && m_nNext < m_items.size())
            rgelt[nFetched++] = MakeIdList(m_items[m_nNext++]);
        if (pceltFetched != nullptr)
            *pceltFetched = nFetched;
        return nFetched == celt ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override
    {
        m_nNext = std::min(m_items.size(), m_nNext + celt);
        return m_nNext < m_items.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_nNext = 0;
        return S_OK;
    }

private:
    std::vector<ShellComponents> m_items;
    std::size_t m_nNext = 0;
};

// A folder: the desktop (no components) or a folder of the file system.
class CShellFolder final : public CComObject<IShellFolder, IID_IShellFolder>
{
public:
    explicit CShellFolder(ShellComponents components) : m_components(std::move(components)) {}

    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, void*, LPWSTR pszDisplayName, ULONG* pchEaten,
                                               LPITEMIDLIST* ppidl, ULONG* pdwAttributes) override
    {
        if (pszDisplayName == nullptr || ppidl == nullptr)
            return E_INVALIDARG;
        *ppidl = nullptr;
        char name[4 * MAX_PATH] = "";
        if (WideCharToMultiByte(CP_UTF8, 0, pszDisplayName, -1, name, sizeof(name), nullptr,
                                nullptr) == 0)
            return E_INVALIDARG;
        const bool bAbsolute = IsAbsolutePath(name);
        if (!bAbsolute && IsDesktop())
            return E_INVALIDARG;
        const std::string path =
            bAbsolute ? PathOfComponents(ComponentsOfPath(name)) : Path() + "/" + name;
        struct stat info
        {
        };
        if (stat(path.c_str(), &info) != 0)
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        // Relative to this folder: what follows its own components.
        const ShellComponents whole = ComponentsOfPath(path);
        if (!StartsWith(whole))
            return E_INVALIDARG;
        const ShellComponents relative(whole.begin() + m_components.size(), whole.end());
        *ppidl = MakeIdList(relative);
        if (pchEaten != nullptr)
            *pchEaten = static_cast<ULONG>(std::char_traits<char16_t>::length(pszDisplayName));
        if (pdwAttributes != nullptr)
        {
            LPCITEMIDLIST items[] = {*ppidl};
            GetAttributesOf(1, items, pdwAttributes);
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, DWORD grfFlags, IEnumIDList** ppenum) override
    {
        if (ppenum == nullptr)
            return E_INVALIDARG;
        *ppenum = nullptr;
        std::vector<ShellComponents> items;
        if (IsDesktop())
        {
            items = {{"/"}, {HomeFolder()}};
        }
        else
        {
            bool bReadable = false;
            std::vector<std::string> names = NamesIn(Path(), bReadable);
            if (!bReadable)
                return S_FALSE;
            std::sort(names.begin(), names.end(),
                      [&](const std::string& a, const std::string& b)
                      { return CompareItems(Child(a), a, Child(b), b) < 0; });
            for (const std::string& name : names)
            {
                if (Wanted(name, grfFlags))
                    items.push_back({name});
            }
        }
        *ppenum = new CItemEnumerator(std::move(items));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST pidl, void*, REFIID riid,
                                           void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IShellFolder)
            return E_NOINTERFACE;
        ShellComponents components = m_components;
        const ShellComponents more = ComponentsOf(pidl);
        components.insert(components.end(), more.begin(), more.end());
        if (more.empty() || !IsFolder(PathOfComponents(components)))
            return E_INVALIDARG;
        *ppv = static_cast<IShellFolder*>(new CShellFolder(std::move(components)));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) override
    {
        const ShellComponents a = ComponentsOf(pidl1);
        const ShellComponents b = ComponentsOf(pidl2);
        ShellComponents pathA = m_components;
        ShellComponents pathB = m_components;
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        {
            pathA.push_back(a[i]);
            pathB.push_back(b[i]);
            const int nOrder =
                CompareItems(PathOfComponents(pathA), a[i], PathOfComponents(pathB), b[i]);
            if (nOrder != 0)
                return MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<USHORT>(nOrder));
        }
        const int nOrder = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, static_cast<USHORT>(nOrder));
    }

    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl,
                                              ULONG* rgfInOut) override
    {
        if (rgfInOut == nullptr || (cidl > 0 && apidl == nullptr))
            return E_INVALIDARG;
        ULONG common = *rgfInOut;
        for (UINT i = 0; i < cidl; ++i)
            common &= AttributesOf(PathOf(apidl[i]), *rgfInOut);
        *rgfInOut = common;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, LPCITEMIDLIST*, REFIID, UINT*,
                                            void** ppv) override
    {
        if (ppv != nullptr)
            *ppv = nullptr;
        return E_FAIL;
    }

    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST pidl, DWORD uFlags,
                                               STRRET* pName) override
    {
        if (pName == nullptr)
            return E_INVALIDARG;
        const ShellComponents items = ComponentsOf(pidl);
        const std::string path = PathOf(pidl);
        if (path.empty())
            return E_INVALIDARG;
        std::string name = (uFlags & SHGDN_FORPARSING) != 0 ? path : items.back();
        // The home folder shows by its own name.
        if ((uFlags & SHGDN_FORPARSING) == 0 && name.size() > 1 && name.front() == '/')
            name = name.substr(name.find_last_of('/') + 1);
        if (name.size() >= MAX_PATH)
            return E_FAIL;
        pName->uType = STRRET_CSTR;
        std::memcpy(pName->cStr, name.c_str(), name.size() + 1);
        return S_OK;
    }

private:
    bool IsDesktop() const { return m_components.empty(); }
    std::string Path() const { return PathOfComponents(m_components); }
    std::string Child(const std::string& name) const
    {
        const std::string path = Path();
        return path == "/" ? "/" + name : path + "/" + name;
    }
    std::string PathOf(LPCITEMIDLIST pidl) const
    {
        ShellComponents components = m_components;
        const ShellComponents more = ComponentsOf(pidl);
        if (more.empty())
            return {};
        components.insert(components.end(), more.begin(), more.end());
        return PathOfComponents(components);
    }
    bool StartsWith(const ShellComponents& whole) const
    {
        return whole.size() >= m_components.size() &&
               std::equal(m_components.begin(), m_components.end(), whole.begin());
    }
    bool Wanted(const std::string& name, DWORD grfFlags) const
    {
        if (name.front() == '.' && (grfFlags & SHCONTF_INCLUDEHIDDEN) == 0)
            return false;
        const bool bFolder = IsFolder(Child(name));
        return bFolder ? (grfFlags & SHCONTF_FOLDERS) != 0 : (grfFlags & SHCONTF_NONFOLDERS) != 0;
    }
    static ULONG AttributesOf(const std::string& path, ULONG wanted)
    {
        ULONG attributes = SFGAO_FILESYSTEM;
        if (IsFolder(path))
        {
            attributes |= SFGAO_FOLDER;
            // Looking inside costs a read of the folder: only when asked.
            if ((wanted & SFGAO_HASSUBFOLDER) != 0 && HasSubfolder(path))
                attributes |= SFGAO_HASSUBFOLDER;
        }
        if (IsShortcut(path))
            attributes |= SFGAO_LINK;
        return attributes;
    }

    ShellComponents m_components;
};
} // namespace

HRESULT SHGetDesktopFolder(LPSHELLFOLDER* ppshf)
{
    if (ppshf == nullptr)
        return E_INVALIDARG;
    *ppshf = new CShellFolder({});
    return S_OK;
}
