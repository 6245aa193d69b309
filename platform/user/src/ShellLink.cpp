// Shortcuts: symbolic links and ".desktop" launchers behind the shell-link
// object.
#include "WinCodePage.h"
#include "WinDropFiles.h"
#include "WinShell.h"

#include <glib.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <string>

// {000214EE-0000-0000-C000-000000000046}
const IID IID_IShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {0000010B-0000-0000-C000-000000000046}
const IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {00021401-0000-0000-C000-000000000046}
const CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace
{
// The target of a symbolic link, relative ones taken from the link's folder.
std::string LinkTarget(const std::string& path)
{
    char target[PATH_MAX];
    const ssize_t nLength = readlink(path.c_str(), target, sizeof(target) - 1);
    if (nLength <= 0)
        return {};
    std::string result(target, static_cast<std::size_t>(nLength));
    if (result.front() != '/')
        result = path.substr(0, path.find_last_of('/') + 1) + result;
    return result;
}

// What a launcher opens: the file of a "Link" entry's URL, or the program
// an "Application" entry's Exec line starts (its field codes left out).
std::string LauncherTarget(const std::string& path)
{
    GKeyFile* pKeys = g_key_file_new();
    std::string target;
    if (g_key_file_load_from_file(pKeys, path.c_str(), G_KEY_FILE_NONE, nullptr))
    {
        constexpr const char* kGroup = "Desktop Entry";
        gchar* pszType = g_key_file_get_string(pKeys, kGroup, "Type", nullptr);
        const std::string type = pszType != nullptr ? pszType : "";
        g_free(pszType);
        if (type == "Link")
        {
            gchar* pszUrl = g_key_file_get_string(pKeys, kGroup, "URL", nullptr);
            const std::vector<std::string> paths = PathsOfUriList(pszUrl != nullptr ? pszUrl : "");
            target = paths.empty() ? std::string() : paths.front();
            g_free(pszUrl);
        }
        else if (type == "Application")
        {
            gchar* pszExec = g_key_file_get_string(pKeys, kGroup, "Exec", nullptr);
            gchar** ppszArgs = nullptr;
            if (pszExec != nullptr && g_shell_parse_argv(pszExec, nullptr, &ppszArgs, nullptr))
            {
                target = ppszArgs[0];
                g_strfreev(ppszArgs);
            }
            g_free(pszExec);
        }
    }
    g_key_file_free(pKeys);
    return target;
}

class CShellLink final : public IShellLinkA, public IPersistFile
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IShellLinkA)
            *ppv = static_cast<IShellLinkA*>(this);
        else if (riid == IID_IPersistFile)
            *ppv = static_cast<IPersistFile*>(this);
        else
            *ppv = nullptr;
        if (*ppv == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG nLeft = --m_nRefs;
        if (nLeft == 0)
            delete this;
        return nLeft;
    }

    HRESULT STDMETHODCALLTYPE Load(LPCWSTR pszFileName, DWORD) override
    {
        char path[4 * MAX_PATH] = "";
        if (pszFileName == nullptr || WideCharToMultiByte(CP_UTF8, 0, pszFileName, -1, path,
                                                          sizeof(path), nullptr, nullptr) == 0)
            return E_INVALIDARG;
        m_target = LinkTarget(path);
        constexpr std::string_view kLauncher = ".desktop";
        const std::string_view name(path);
        if (m_target.empty() && name.size() > kLauncher.size() &&
            name.substr(name.size() - kLauncher.size()) == kLauncher)
            m_target = LauncherTarget(path);
        return m_target.empty() ? E_FAIL : S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetPath(LPSTR pszFile, int cch, void*, DWORD) override
    {
        if (pszFile == nullptr || cch <= 0)
            return E_INVALIDARG;
        const std::size_t nCopied = std::min(m_target.size(), std::size_t(cch) - 1);
        std::memcpy(pszFile, m_target.data(), nCopied);
        pszFile[nCopied] = '\0';
        return m_target.empty() ? S_FALSE : S_OK;
    }

private:
    ~CShellLink() = default;

    std::atomic<ULONG> m_nRefs{1};
    std::string m_target;
};
} // namespace

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD, REFIID riid, LPVOID* ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    if (rclsid != CLSID_ShellLink)
        return REGDB_E_CLASSNOTREG;
    auto* pLink = new CShellLink;
    const HRESULT hr = static_cast<IShellLinkA*>(pLink)->QueryInterface(riid, ppv);
    static_cast<IShellLinkA*>(pLink)->Release();
    return hr;
}
