// File information of the shell: display and type names, and icons from
// the system image lists, chosen by the desktop's content type of a file
// (GIO) and drawn from the freedesktop icon theme.
#include "ShellItemIds.h"

#include "PackedDib.h"
#include "PngFile.h"
#include "WinImageList.h"
#include "WinShellPath.h"

#include <gio/gio.h>
#include <sys/stat.h>

#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace
{
// The key colour of the lists' masks.
constexpr std::uint32_t kKey = 0xFF00FF;
constexpr int kSmall = 16;
constexpr int kLarge = 32;
// Themes looked in, the desktop's first, and the folders of a size in them.
constexpr std::array<const char*, 2> kThemes{"Adwaita", "hicolor"};
constexpr std::array<const char*, 6> kContexts{"places", "mimetypes", "devices",
                                               "legacy", "apps",      "status"};

// The folders holding icon themes, as the freedesktop base directories name
// them.
std::vector<std::string> IconRoots()
{
    std::vector<std::string> roots;
    const char* pszDataHome = std::getenv("XDG_DATA_HOME");
    roots.push_back(pszDataHome != nullptr && *pszDataHome != '\0'
                        ? std::string(pszDataHome) + "/icons"
                        : HomeFolder() + "/.local/share/icons");
    const char* pszDataDirs = std::getenv("XDG_DATA_DIRS");
    const std::string dirs = pszDataDirs != nullptr && *pszDataDirs != '\0'
                                 ? pszDataDirs
                                 : "/usr/local/share:/usr/share";
    std::size_t nStart = 0;
    while (nStart <= dirs.size())
    {
        std::size_t nEnd = dirs.find(':', nStart);
        if (nEnd == std::string::npos)
            nEnd = dirs.size();
        if (nEnd > nStart)
            roots.push_back(dirs.substr(nStart, nEnd - nStart) + "/icons");
        nStart = nEnd + 1;
    }
    return roots;
}

std::vector<std::uint8_t> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// The theme's picture of the first name it has at exactly that size, as
// 0x00RRGGBB pixels with the key colour where it is transparent; empty when
// the theme has none.
std::vector<std::uint32_t> ThemePicture(const std::vector<std::string>& names, int nSize)
{
    const std::string size = std::to_string(nSize) + "x" + std::to_string(nSize);
    for (const std::string& name : names)
    {
        for (const std::string& root : IconRoots())
        {
            for (const char* pszTheme : kThemes)
            {
                for (const char* pszContext : kContexts)
                {
                    const std::string path =
                        root + "/" + pszTheme + "/" + size + "/" + pszContext + "/" + name + ".png";
                    int nWidth = 0;
                    int nHeight = 0;
                    std::vector<std::uint32_t> pixels;
                    if (!ReadPngPixels(FileBytes(path), nWidth, nHeight, pixels) ||
                        nWidth != nSize || nHeight != nSize)
                        continue;
                    for (std::uint32_t& pixel : pixels)
                    {
                        // Half-transparent edges are laid over white.
                        const std::uint32_t alpha = pixel >> 24;
                        std::uint32_t blended = 0;
                        for (int shift = 0; shift < 24; shift += 8)
                        {
                            const std::uint32_t value = (pixel >> shift) & 0xFF;
                            blended |= ((value * alpha + 255 * (255 - alpha)) / 255) << shift;
                        }
                        pixel = alpha >= 128 ? blended : kKey;
                    }
                    return pixels;
                }
            }
        }
    }
    return {};
}

// A plain picture where the theme has none: a coloured square.
std::vector<std::uint32_t> PlainPicture(std::uint32_t colour, int nSize)
{
    std::vector<std::uint32_t> pixels(std::size_t(nSize) * nSize, kKey);
    for (int y = 2; y < nSize - 2; ++y)
        for (int x = 1; x < nSize - 1; ++x)
            pixels[std::size_t(y) * nSize + x] =
                (y == 2 || y == nSize - 3 || x == 1 || x == nSize - 2) ? 0x404040 : colour;
    return pixels;
}

int AddPicture(HIMAGELIST hList, const std::vector<std::uint32_t>& pixels, int nSize)
{
    PackedDibFormat format;
    format.nWidth = nSize;
    format.nHeight = nSize;
    format.nBitCount = 32;
    HBITMAP hBitmap = CreateScreenBitmap(
        format, [&](int row, std::uint8_t* pRow)
        { std::memcpy(pRow, &pixels[std::size_t(row) * nSize], std::size_t(nSize) * 4); });
    const int nIndex = ImageList_AddMasked(hList, hBitmap, RGB(255, 0, 255));
    DeleteObject(hBitmap);
    return nIndex;
}

// The two system image lists: the same icon at the same index in both.
class CSystemImageLists
{
public:
    static CSystemImageLists& Get()
    {
        static CSystemImageLists lists;
        return lists;
    }

    HIMAGELIST GetList(bool bSmall) const { return bSmall ? m_hSmall : m_hLarge; }

    // The index of the first of the names the theme has; the fallback when
    // it has none of them.
    int IndexOf(const std::vector<std::string>& names, int nFallback)
    {
        if (names.empty())
            return nFallback;
        const auto it = m_indices.find(names.front());
        if (it != m_indices.end())
            return it->second;
        const std::vector<std::uint32_t> small = ThemePicture(names, kSmall);
        const std::vector<std::uint32_t> large = ThemePicture(names, kLarge);
        int nIndex = nFallback;
        if (!small.empty() && !large.empty())
        {
            nIndex = AddPicture(m_hSmall, small, kSmall);
            AddPicture(m_hLarge, large, kLarge);
        }
        m_indices.emplace(names.front(), nIndex);
        return nIndex;
    }

private:
    CSystemImageLists()
        : m_hSmall(ImageList_Create(kSmall, kSmall, ILC_COLOR32 | ILC_MASK, 8, 8)),
          m_hLarge(ImageList_Create(kLarge, kLarge, ILC_COLOR32 | ILC_MASK, 8, 8))
    {
        struct Fixed
        {
            const char* pszName;
            std::uint32_t plain;
        };
        // In the order of enSystemIcon.
        const Fixed fixed[] = {{"folder", 0xE8C050},
                               {"folder-open", 0xF0D070},
                               {"text-x-generic", 0xFFFFFF},
                               {"drive-harddisk", 0xA0A0A0}};
        for (const Fixed& icon : fixed)
        {
            std::vector<std::uint32_t> small = ThemePicture({icon.pszName}, kSmall);
            std::vector<std::uint32_t> large = ThemePicture({icon.pszName}, kLarge);
            if (small.empty() || large.empty())
            {
                small = PlainPicture(icon.plain, kSmall);
                large = PlainPicture(icon.plain, kLarge);
            }
            m_indices.emplace(icon.pszName, AddPicture(m_hSmall, small, kSmall));
            AddPicture(m_hLarge, large, kLarge);
        }
    }

    HIMAGELIST m_hSmall;
    HIMAGELIST m_hLarge;
    std::map<std::string, int> m_indices;
};

// The icon names of the file's content type, most fitting first.
std::vector<std::string> ContentIconNames(const std::string& path)
{
    std::vector<std::string> names;
    GFile* pFile = g_file_new_for_path(path.c_str());
    GFileInfo* pInfo = g_file_query_info(pFile, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                         G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    const char* pszType = pInfo != nullptr ? g_file_info_get_content_type(pInfo) : nullptr;
    GIcon* pIcon = pszType != nullptr ? g_content_type_get_icon(pszType) : nullptr;
    if (pIcon != nullptr && G_IS_THEMED_ICON(pIcon))
    {
        for (const gchar* const* ppszName = g_themed_icon_get_names(G_THEMED_ICON(pIcon));
             ppszName != nullptr && *ppszName != nullptr; ++ppszName)
            names.emplace_back(*ppszName);
    }
    if (pIcon != nullptr)
        g_object_unref(pIcon);
    if (pInfo != nullptr)
        g_object_unref(pInfo);
    g_object_unref(pFile);
    return names;
}

bool IsMountPoint(const std::string& path, const struct stat& info)
{
    if (path == "/")
        return true;
    struct stat parent
    {
    };
    return stat((path + "/..").c_str(), &parent) == 0 && parent.st_dev != info.st_dev;
}

std::string TypeNameOf(const std::string& path, bool bFolder)
{
    if (bFolder)
        return "File folder";
    const char* pszExtension = PathFindExtensionA(PathFindFileNameA(path.c_str()));
    if (*pszExtension == '\0' || pszExtension[1] == '\0')
        return "File";
    std::string type = pszExtension + 1;
    for (char& ch : type)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return type + " file";
}

void CopyText(char* pszTarget, std::size_t nSize, const std::string& text)
{
    const std::size_t nCopied = std::min(text.size(), nSize - 1);
    std::memcpy(pszTarget, text.data(), nCopied);
    pszTarget[nCopied] = '\0';
}
} // namespace

DWORD_PTR SHGetFileInfoA(LPCSTR pszPath, DWORD, SHFILEINFOA* psfi, UINT cbFileInfo, UINT uFlags)
{
    const bool bPidl = (uFlags & SHGFI_PIDL) != 0;
    if (pszPath == nullptr || (!bPidl && !IsAbsolutePath(pszPath)))
        return 0;
    const ShellComponents components =
        bPidl ? ComponentsOf(reinterpret_cast<LPCITEMIDLIST>(pszPath)) : ComponentsOfPath(pszPath);
    const std::string path = PathOfComponents(components);
    struct stat info
    {
    };
    const bool bDesktop = components.empty();
    if (!bDesktop && stat(path.c_str(), &info) != 0)
        return 0;
    const bool bFolder = bDesktop || S_ISDIR(info.st_mode);
    SHFILEINFOA result{};
    std::string name = bDesktop ? "Desktop" : components.back();
    if (name.size() > 1 && name.front() == '/')
        name = name.substr(name.find_last_of('/') + 1);
    CopyText(result.szDisplayName, sizeof(result.szDisplayName), name);
    CopyText(result.szTypeName, sizeof(result.szTypeName), TypeNameOf(path, bFolder));
    if ((uFlags & SHGFI_SYSICONINDEX) != 0)
    {
        CSystemImageLists& lists = CSystemImageLists::Get();
        if (bFolder && !bDesktop && IsMountPoint(path, info))
            result.iIcon = enIconDrive;
        else if (bFolder)
            result.iIcon = (uFlags & SHGFI_OPENICON) != 0 ? enIconOpenFolder : enIconFolder;
        else
            result.iIcon = lists.IndexOf(ContentIconNames(path), enIconFile);
    }
    if (psfi != nullptr && cbFileInfo >= sizeof(SHFILEINFOA))
    {
        // Only the parts asked for are written.
        if ((uFlags & SHGFI_DISPLAYNAME) != 0)
            std::memcpy(psfi->szDisplayName, result.szDisplayName, sizeof(result.szDisplayName));
        if ((uFlags & SHGFI_TYPENAME) != 0)
            std::memcpy(psfi->szTypeName, result.szTypeName, sizeof(result.szTypeName));
        if ((uFlags & SHGFI_SYSICONINDEX) != 0)
            psfi->iIcon = result.iIcon;
    }
    if ((uFlags & SHGFI_SYSICONINDEX) != 0)
        return reinterpret_cast<DWORD_PTR>(
            CSystemImageLists::Get().GetList((uFlags & SHGFI_SMALLICON) != 0));
    return 1;
}
