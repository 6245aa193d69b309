#include "AfxResource.h"
#include "AfxString.h"
#include "MfcTestModule.h"
#include "ResourceRegistry.h"
#include "WinError.h"
#include "WinModule.h"
#include "WinResource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
// Strings of the test program itself.
const ResourceStringEntry kProgramStrings[] = {
    {kSharedStringId, "String of the program"},
    {0xE000, "Pelivo"},
};
const ResourceRegistrar kProgramRegistrar({.strings = kProgramStrings});

class ResourceRegistryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_hModuleA = LoadLibraryA("MfcTestModuleA.dll");
        m_hModuleB = LoadLibraryA("MfcTestModuleB.dll");
        ASSERT_NE(m_hModuleA, nullptr);
        ASSERT_NE(m_hModuleB, nullptr);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(nullptr);
        FreeLibrary(m_hModuleA);
        FreeLibrary(m_hModuleB);
    }

    std::string DataOf(HMODULE hModule, LPCSTR lpName, LPCSTR lpType)
    {
        HRSRC hResource = FindResourceA(hModule, lpName, lpType);
        if (hResource == nullptr)
            return "<none>";
        const char* pData =
            static_cast<const char*>(LockResource(LoadResource(hModule, hResource)));
        return std::string(pData, SizeofResource(hModule, hResource));
    }

    HMODULE m_hModuleA = nullptr;
    HMODULE m_hModuleB = nullptr;
};

TEST_F(ResourceRegistryTest, SameIdDiffersByModule)
{
    EXPECT_EQ(DataOf(m_hModuleA, MAKEINTRESOURCE(kSharedDataId), RT_RCDATA), "A1");
    EXPECT_EQ(DataOf(m_hModuleB, MAKEINTRESOURCE(kSharedDataId), RT_RCDATA), "B23");
    EXPECT_EQ(DataOf(m_hModuleA, "#7", RT_RCDATA), "A1");
    EXPECT_EQ(DataOf(m_hModuleA, MAKEINTRESOURCE(kSharedDataId), RT_HTML), "<none>");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(DataOf(nullptr, MAKEINTRESOURCE(kSharedDataId), RT_RCDATA), "<none>");
}

TEST_F(ResourceRegistryTest, NamesAndNamedTypesIgnoreCase)
{
    EXPECT_EQ(DataOf(m_hModuleA, "startup", "Script"), "A");
    EXPECT_EQ(DataOf(m_hModuleA, "STARTUP", "SCRIPT"), "A");
    EXPECT_EQ(DataOf(m_hModuleB, "Startup", "SCRIPT"), "<none>");
    EXPECT_EQ(FindDialogTemplate(m_hModuleB, "printing"),
              FindDialogTemplate(m_hModuleB, MAKEINTRESOURCE(kDialogId)));
}

TEST_F(ResourceRegistryTest, StringsLoadPerModuleAndTruncate)
{
    char szText[64];
    EXPECT_EQ(LoadStringA(m_hModuleA, kSharedStringId, szText, sizeof(szText)), 18);
    EXPECT_STREQ(szText, "String of module A");
    EXPECT_EQ(LoadStringA(m_hModuleB, kSharedStringId, szText, sizeof(szText)), 18);
    EXPECT_STREQ(szText, "String of module B");
    EXPECT_EQ(LoadStringA(nullptr, 0xE000, szText, sizeof(szText)), 6);
    EXPECT_STREQ(szText, "Pelivo");
    EXPECT_EQ(LoadStringA(m_hModuleA, kModuleBStringId, szText, sizeof(szText)), 0);
    EXPECT_STREQ(szText, "");
    char szShort[5];
    EXPECT_EQ(LoadStringA(m_hModuleA, kSharedStringId, szShort, sizeof(szShort)), 4);
    EXPECT_STREQ(szShort, "Stri");
    EXPECT_EQ(LoadStringA(m_hModuleA, kSharedStringId, szShort, 0), 0);
}

TEST_F(ResourceRegistryTest, SearchStartsAtTheCurrentResourceModule)
{
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleA(nullptr));
    CString strText;
    ASSERT_TRUE(strText.LoadString(kSharedStringId));
    EXPECT_STREQ(strText, "String of the program");
    ASSERT_TRUE(strText.LoadString(kModuleBStringId));
    EXPECT_STREQ(strText, "Only in B");
    EXPECT_FALSE(strText.LoadString(999));
    EXPECT_TRUE(strText.IsEmpty());

    AfxSetResourceHandle(m_hModuleB);
    ASSERT_TRUE(strText.LoadString(kSharedStringId));
    EXPECT_STREQ(strText, "String of module B");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(kSharedDataId), RT_RCDATA), m_hModuleB);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(kToolbarId), RT_TOOLBAR), m_hModuleA);
    EXPECT_EQ(AfxFindResourceHandle("nothing", RT_RCDATA), m_hModuleB);
    EXPECT_EQ(AfxFindStringResourceHandle(kModuleAStringId), m_hModuleA);

    const std::vector<HMODULE> modules = GetResourceModules();
    EXPECT_NE(std::find(modules.begin(), modules.end(), m_hModuleA), modules.end());
    EXPECT_NE(std::find(modules.begin(), modules.end(), GetModuleHandleA(nullptr)), modules.end());
}

TEST_F(ResourceRegistryTest, ToolbarResourceHasTheWin32Layout)
{
    const std::string strData = DataOf(m_hModuleA, MAKEINTRESOURCE(kToolbarId), RT_TOOLBAR);
    ASSERT_EQ(strData.size(), 16u);
    WORD words[8];
    std::memcpy(words, strData.data(), sizeof(words));
    const WORD kExpected[8] = {1, 16, 15, 4, 100, 0, 101, 102};
    EXPECT_TRUE(std::equal(std::begin(words), std::end(words), std::begin(kExpected)));
    const ToolbarTemplate* pToolbar = FindToolbarTemplate(m_hModuleA, MAKEINTRESOURCE(kToolbarId));
    ASSERT_NE(pToolbar, nullptr);
    EXPECT_EQ(pToolbar->ids.size(), 4u);
}

TEST_F(ResourceRegistryTest, TypedTemplatesComeBackAsRegistered)
{
    HRSRC hDialog = FindResourceA(m_hModuleB, MAKEINTRESOURCE(kDialogId), RT_DIALOG);
    ASSERT_NE(hDialog, nullptr);
    const auto* pDialog =
        static_cast<const DialogTemplate*>(LockResource(LoadResource(m_hModuleB, hDialog)));
    EXPECT_EQ(pDialog, FindDialogTemplate(m_hModuleB, MAKEINTRESOURCE(kDialogId)));
    EXPECT_STREQ(pDialog->pszCaption, "About");
    ASSERT_EQ(pDialog->items.size(), 2u);
    EXPECT_EQ(pDialog->items[0].nId, 1);
    EXPECT_EQ(pDialog->items[0].cx, 50);

    const MenuTemplate* pMenu = FindMenuTemplate(m_hModuleB, MAKEINTRESOURCE(kMenuId));
    ASSERT_NE(pMenu, nullptr);
    ASSERT_EQ(pMenu->items.size(), 1u);
    EXPECT_EQ(pMenu->items[0].subItems.size(), 3u);
    EXPECT_EQ(pMenu->items[0].subItems[2].nId, 32799u);
    EXPECT_EQ(FindMenuTemplate(m_hModuleA, MAKEINTRESOURCE(kMenuId)), nullptr);

    const std::span<const AcceleratorEntry> accelerators =
        FindAcceleratorTable(m_hModuleA, MAKEINTRESOURCE(kAcceleratorId));
    ASSERT_EQ(accelerators.size(), 2u);
    EXPECT_EQ(accelerators[1].wCmd, 0xE125);
    EXPECT_EQ(DataOf(m_hModuleA, MAKEINTRESOURCE(kAcceleratorId), RT_ACCELERATOR).size(),
              2 * sizeof(AcceleratorEntry));
    EXPECT_TRUE(FindAcceleratorTable(m_hModuleB, MAKEINTRESOURCE(kAcceleratorId)).empty());
}

TEST_F(ResourceRegistryTest, AuthoredBitmapFileLosesItsFileHeader)
{
    // The module names the file in another case than it is written in.
    char szModulePath[MAX_PATH] = {};
    GetModuleFileNameA(m_hModuleA, szModulePath, MAX_PATH);
    const std::filesystem::path folder =
        std::filesystem::path(szModulePath).parent_path() / "mfc-test-data";
    std::filesystem::create_directories(folder);
    const std::string strBitmap = "BM" + std::string(12, '\0') + "DIBDATA";
    std::ofstream(folder / "pixel.bmp", std::ios::binary) << strBitmap;

    EXPECT_EQ(DataOf(m_hModuleA, MAKEINTRESOURCE(kBitmapId), RT_BITMAP), "DIBDATA");
    const std::span<const BYTE> bytes =
        FindResourceBytes(m_hModuleA, RT_BITMAP, MAKEINTRESOURCE(kBitmapId));
    EXPECT_EQ(bytes.size(), 7u);
    EXPECT_EQ(FindResourceA(m_hModuleA, MAKEINTRESOURCE(kMissingFileBitmapId), RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}
} // namespace
