// The shell over a temporary tree: file information with type names and
// system icons for a folder, a DICOM file, a text file and a link, the
// folders and their items, identifier lists and shortcuts.
#include "UserTestSupport.h"

#include "WinCodePage.h"
#include "WinImageList.h"
#include "WinPaint.h"
#include "WinShell.h"

#include "../base/TempFolder.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace
{
std::u16string Wide(const std::string& text)
{
    std::u16string wide(text.size() + 1, u'\0');
    const int nLength = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(),
                                            static_cast<int>(wide.size()));
    wide.resize(nLength > 0 ? nLength - 1 : 0);
    return wide;
}

class ShellTest : public UserTest
{
protected:
    ShellTest()
    {
        std::filesystem::create_directories(m_folder.GetPath("Studies/sub"));
        std::filesystem::create_directories(m_folder.GetPath(".hidden"));
        // A DICOM file without the extension's help: the preamble and "DICM".
        std::ofstream dicom(m_folder.GetPath("ct.dcm"), std::ios::binary);
        dicom << std::string(128, '\0') << "DICM" << std::string(16, '\x02');
        dicom.close();
        std::ofstream(m_folder.GetPath("notes.txt")) << "plain words\n";
        symlink("ct.dcm", m_folder.GetPath("link.lnk").c_str());
        std::ofstream(m_folder.GetPath("viewer.desktop"))
            << "[Desktop Entry]\nType=Link\nName=Study\nURL=file://"
            << m_folder.GetPath("Studies/my%20sub") << "\n";
        std::ofstream(m_folder.GetPath("tool.desktop"))
            << "[Desktop Entry]\nType=Application\nName=Tool\nExec=/usr/bin/tool --open %F\n";
    }

    SHFILEINFOA Info(const std::string& path, UINT uFlags)
    {
        SHFILEINFOA info{};
        m_dwResult = SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), uFlags);
        return info;
    }

    CTempFolder m_folder;
    DWORD_PTR m_dwResult = 0;
};

TEST_F(ShellTest, FileInformationNamesTheTypeAndTheName)
{
    struct Case
    {
        const char* pszName;
        const char* pszType;
    };
    const Case cases[] = {
        {"Studies", "File folder"},         {"ct.dcm", "DCM file"},
        {"notes.txt", "TXT file"},          {"link.lnk", "LNK file"},
        {"viewer.desktop", "DESKTOP file"},
    };
    for (const Case& c : cases)
    {
        const SHFILEINFOA info =
            Info(m_folder.GetPath(c.pszName), SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
        EXPECT_NE(m_dwResult, 0U) << c.pszName;
        EXPECT_STREQ(info.szDisplayName, c.pszName);
        EXPECT_STREQ(info.szTypeName, c.pszType);
    }
    std::ofstream(m_folder.GetPath("README")) << "x";
    EXPECT_STREQ(Info(m_folder.GetPath("README"), SHGFI_TYPENAME).szTypeName, "File");
    Info(m_folder.GetPath("absent.txt"), SHGFI_TYPENAME);
    EXPECT_EQ(m_dwResult, 0U);
    // A drive letter names the root; Windows separators work as well.
    std::string windowsPath = "C:" + m_folder.GetPath("Studies");
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    EXPECT_STREQ(Info(windowsPath, SHGFI_TYPENAME).szTypeName, "File folder");
    EXPECT_NE(m_dwResult, 0U);
    LPITEMIDLIST pidl = ILCreateFromPathA(windowsPath.c_str());
    char path[MAX_PATH] = "";
    ASSERT_TRUE(SHGetPathFromIDListA(pidl, path));
    EXPECT_EQ(std::string(path), m_folder.GetPath("Studies"));
    ILFree(pidl);
    EXPECT_EQ(ILCreateFromPathA("relative/path"), nullptr);
}

TEST_F(ShellTest, IconsComeFromTheSystemListsByContentType)
{
    const UINT uIcon = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    const SHFILEINFOA folder = Info(m_folder.GetPath("Studies"), uIcon);
    const auto hSmall = reinterpret_cast<HIMAGELIST>(m_dwResult);
    ASSERT_NE(hSmall, nullptr);
    EXPECT_EQ(folder.iIcon, enIconFolder);
    EXPECT_EQ(Info(m_folder.GetPath("Studies"), uIcon | SHGFI_OPENICON).iIcon, enIconOpenFolder);
    EXPECT_EQ(Info("/", uIcon).iIcon, enIconDrive);
    const int nDicom = Info(m_folder.GetPath("ct.dcm"), uIcon).iIcon;
    const int nText = Info(m_folder.GetPath("notes.txt"), uIcon).iIcon;
    // The link shows what it points to.
    EXPECT_EQ(Info(m_folder.GetPath("link.lnk"), uIcon).iIcon, nDicom);
    EXPECT_NE(nDicom, nText);
    EXPECT_GT(nDicom, enIconDrive);
    EXPECT_LT(nDicom, ImageList_GetImageCount(hSmall));
    // The large list keeps the same indices.
    Info(m_folder.GetPath("ct.dcm"), SHGFI_SYSICONINDEX);
    const auto hLarge = reinterpret_cast<HIMAGELIST>(m_dwResult);
    ASSERT_NE(hLarge, hSmall);
    EXPECT_EQ(ImageList_GetImageCount(hLarge), ImageList_GetImageCount(hSmall));
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(hLarge, &cx, &cy);
    EXPECT_EQ(cx, 32);

    // Drawn side by side for a look: folder, open folder, file, drive, DICOM, text.
    const std::vector<int> shown{enIconFolder, enIconOpenFolder, enIconFile,
                                 enIconDrive,  nDicom,           nText};
    const HWND hWnd = CreateTopLevel(RECT{0, 0, 240, 60});
    SetHandler(hWnd,
               [&](HWND h, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_PAINT)
                       return std::nullopt;
                   PAINTSTRUCT paint;
                   HDC hdc = BeginPaint(h, &paint);
                   for (std::size_t i = 0; i < shown.size(); ++i)
                   {
                       ImageList_Draw(hSmall, shown[i], hdc, 4 + int(i) * 36, 4, ILD_TRANSPARENT);
                       ImageList_Draw(hLarge, shown[i], hdc, 4 + int(i) * 36, 24, ILD_TRANSPARENT);
                   }
                   EndPaint(h, &paint);
                   return 0;
               });
    UpdateWindow(hWnd);
    const WindowPicture picture = ClientPicture(hWnd);
    const std::string dump = testing::TempDir() + "shell-icons.bmp";
    SaveWindowPicture(hWnd, dump.c_str(), true);
    // The DICOM icon is drawn: not every pixel of its cell is the background.
    const std::uint32_t background = picture.pixels[0];
    int nPainted = 0;
    for (int y = 24; y < 56; ++y)
        for (int x = 4 + 4 * 36; x < 4 + 4 * 36 + 32; ++x)
            nPainted += picture.pixels[std::size_t(y) * picture.nWidth + x] != background;
    EXPECT_GT(nPainted, 100);
}

std::vector<std::string> NamesOf(IShellFolder* pFolder, DWORD grfFlags)
{
    std::vector<std::string> names;
    IEnumIDList* pEnum = nullptr;
    if (pFolder->EnumObjects(nullptr, grfFlags, &pEnum) != S_OK)
        return names;
    LPITEMIDLIST pidl = nullptr;
    ULONG nFetched = 0;
    while (pEnum->Next(1, &pidl, &nFetched) == S_OK && nFetched == 1)
    {
        STRRET name{};
        pFolder->GetDisplayNameOf(pidl, SHGDN_NORMAL, &name);
        names.emplace_back(name.cStr);
        ILFree(pidl);
    }
    pEnum->Release();
    return names;
}

TEST_F(ShellTest, FoldersListTheirItemsSortedWithHiddenOnesOnRequest)
{
    IShellFolder* pDesktop = nullptr;
    ASSERT_EQ(SHGetDesktopFolder(&pDesktop), S_OK);
    const std::vector<std::string> top = NamesOf(pDesktop, SHCONTF_FOLDERS);
    ASSERT_EQ(top.size(), 2U);
    EXPECT_EQ(top[0], "/");

    std::u16string path = Wide(m_folder.GetPath());
    LPITEMIDLIST pidlFolder = nullptr;
    ULONG attributes = SFGAO_FOLDER;
    ASSERT_EQ(pDesktop->ParseDisplayName(nullptr, nullptr, path.data(), nullptr, &pidlFolder,
                                         &attributes),
              S_OK);
    EXPECT_EQ(attributes, SFGAO_FOLDER);
    IShellFolder* pFolder = nullptr;
    ASSERT_EQ(pDesktop->BindToObject(pidlFolder, nullptr, IID_IShellFolder,
                                     reinterpret_cast<void**>(&pFolder)),
              S_OK);
    EXPECT_EQ(NamesOf(pFolder, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN),
              (std::vector<std::string>{".hidden", "Studies"}));
    EXPECT_EQ(NamesOf(pFolder, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
              (std::vector<std::string>{"Studies", "ct.dcm", "link.lnk", "notes.txt",
                                        "tool.desktop", "viewer.desktop"}));

    std::u16string studies = u"Studies";
    LPITEMIDLIST pidlStudies = nullptr;
    ASSERT_EQ(
        pFolder->ParseDisplayName(nullptr, nullptr, studies.data(), nullptr, &pidlStudies, nullptr),
        S_OK);
    ULONG studiesAttributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_LINK;
    LPCITEMIDLIST items[] = {pidlStudies};
    pFolder->GetAttributesOf(1, items, &studiesAttributes);
    EXPECT_EQ(studiesAttributes, SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM);
    std::u16string link = u"link.lnk";
    LPITEMIDLIST pidlLink = nullptr;
    ULONG linkAttributes = SFGAO_FOLDER | SFGAO_LINK;
    pFolder->ParseDisplayName(nullptr, nullptr, link.data(), nullptr, &pidlLink, &linkAttributes);
    EXPECT_EQ(linkAttributes, SFGAO_LINK);
    // Folders come first, whatever their names.
    EXPECT_LT(short(HRESULT_CODE(pFolder->CompareIDs(0, pidlStudies, pidlLink))), 0);
    EXPECT_GT(short(HRESULT_CODE(pFolder->CompareIDs(0, pidlLink, pidlStudies))), 0);

    STRRET parsing{};
    pFolder->GetDisplayNameOf(pidlStudies, SHGDN_FORPARSING, &parsing);
    EXPECT_EQ(std::string(parsing.cStr), m_folder.GetPath("Studies"));
    LPITEMIDLIST pidlWhole = ILCombine(pidlFolder, pidlStudies);
    char whole[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(pidlWhole, whole));
    EXPECT_EQ(std::string(whole), m_folder.GetPath("Studies"));
    SHFILEINFOA info{};
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidlWhole), 0, &info, sizeof(info),
                   SHGFI_PIDL | SHGFI_DISPLAYNAME);
    EXPECT_STREQ(info.szDisplayName, "Studies");

    void* pMenu = &info;
    EXPECT_EQ(pFolder->GetUIObjectOf(nullptr, 1, items, IID_IContextMenu, nullptr, &pMenu), E_FAIL);
    EXPECT_EQ(pMenu, nullptr);
    std::u16string absent = u"absent";
    LPITEMIDLIST pidlAbsent = nullptr;
    EXPECT_EQ(
        pFolder->ParseDisplayName(nullptr, nullptr, absent.data(), nullptr, &pidlAbsent, nullptr),
        HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    for (LPITEMIDLIST pidl : {pidlFolder, pidlStudies, pidlLink, pidlWhole})
        ILFree(pidl);
    pFolder->Release();
    pDesktop->Release();
}

TEST_F(ShellTest, SpecialFoldersAreTheDesktopAndTheRoot)
{
    LPITEMIDLIST pidl = nullptr;
    char path[MAX_PATH] = "unchanged";
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidl), S_OK);
    EXPECT_TRUE(SHGetPathFromIDListA(pidl, path));
    EXPECT_STREQ(path, "/");
    ILFree(pidl);
    for (int csidl : {CSIDL_DESKTOP, 0x0005})
    {
        ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, &pidl), S_OK);
        EXPECT_EQ(ILGetSize(pidl), 2U);
        EXPECT_FALSE(SHGetPathFromIDListA(pidl, path));
        ILFree(pidl);
    }
    IMalloc* pMalloc = nullptr;
    ASSERT_EQ(SHGetMalloc(&pMalloc), S_OK);
    pMalloc->Free(pMalloc->Alloc(16));
}

TEST_F(ShellTest, ShortcutsAreLinksAndLaunchers)
{
    struct Case
    {
        const char* pszName;
        HRESULT hrLoad;
        std::string target;
    };
    const Case cases[] = {
        {"link.lnk", S_OK, m_folder.GetPath("ct.dcm")},
        {"viewer.desktop", S_OK, m_folder.GetPath("Studies/my sub")},
        {"tool.desktop", S_OK, "/usr/bin/tool"},
        {"notes.txt", E_FAIL, ""},
    };
    for (const Case& c : cases)
    {
        IShellLinkA* pLink = nullptr;
        ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&pLink)),
                  S_OK);
        IPersistFile* pFile = nullptr;
        ASSERT_EQ(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)), S_OK);
        const std::u16string path = Wide(m_folder.GetPath(c.pszName));
        EXPECT_EQ(pFile->Load(path.c_str(), 0), c.hrLoad) << c.pszName;
        char target[MAX_PATH] = "";
        pLink->GetPath(target, MAX_PATH, nullptr, 0);
        EXPECT_EQ(std::string(target), c.target) << c.pszName;
        pFile->Release();
        pLink->Release();
    }
    void* pObject = nullptr;
    EXPECT_EQ(CoCreateInstance(IID_IUnknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &pObject),
              REGDB_E_CLASSNOTREG);
}
} // namespace
