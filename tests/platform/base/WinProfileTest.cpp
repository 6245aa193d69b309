#include "WinProfile.h"

#include "ScopedEnvironment.h"
#include "TempFolder.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
// Profiles go to a configuration folder of the test's own.
class WinProfile : public testing::Test
{
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", m_folder.GetPath().c_str(), 1); }
    void TearDown() override
    {
        CProfileStore::SetInMemory(false);
        CProfileStore::ClearMemory();
        CProfileStore::SetApplicationStore(nullptr, "Application");
    }

    CTempFolder m_folder;

private:
    // Restored before the folder goes.
    CScopedEnvironment m_configHome{"XDG_CONFIG_HOME"};
};

TEST_F(WinProfile, WrittenValuesSurviveANewStoreObject)
{
    {
        CProfileStore store("Tavu Pelivo", "PelivoRun");
        EXPECT_TRUE(store.WriteProfileString("Recent File List", "File1", "C:\\images\\a.dcm"));
        EXPECT_TRUE(store.WriteProfileInt("ProgressBar Settings", "X Position", -12));
    }
    CProfileStore store("Tavu Pelivo", "PelivoRun");
    EXPECT_EQ(store.GetFilePath(), m_folder.GetPath("Tavu Pelivo/PelivoRun.ini"));
    EXPECT_EQ(store.GetProfileString("Recent File List", "File1", ""), "C:\\images\\a.dcm");
    EXPECT_EQ(static_cast<int>(store.GetProfileInt("ProgressBar Settings", "X Position", 0)), -12);
    EXPECT_EQ(m_folder.ReadFile("Tavu Pelivo/PelivoRun.ini"),
              "[Recent File List]\nFile1=C:\\images\\a.dcm\n\n"
              "[ProgressBar Settings]\nX Position=-12\n\n");
}

TEST_F(WinProfile, MissingValuesGiveTheCallersDefault)
{
    CProfileStore store("Key", "App");
    EXPECT_EQ(store.GetProfileInt("Bar-SCBar-1", "sizeHorzCX", 150), 150u);
    EXPECT_EQ(store.GetProfileString("CFolderDialog Settings", "Path", "/home"), "/home");
    EXPECT_EQ(store.GetProfileString("CFolderDialog Settings", "Path", nullptr), "");
    EXPECT_FALSE(std::filesystem::exists(store.GetFilePath())) << "reading writes nothing";
}

TEST_F(WinProfile, NamesCompareWithoutRegardToCaseAndTextIsNoNumber)
{
    CProfileStore store(nullptr, "App");
    EXPECT_EQ(store.GetFilePath(), m_folder.GetPath("App.ini"));
    store.WriteProfileString("Settings", "Name", "first");
    store.WriteProfileString("SETTINGS", "name", "second");
    EXPECT_EQ(store.GetProfileString("settings", "NAME", ""), "second");
    EXPECT_EQ(store.GetProfileInt("Settings", "Name", 9), 0u);
    EXPECT_EQ(m_folder.ReadFile("App.ini"), "[Settings]\nName=second\n\n");
}

TEST_F(WinProfile, NullValueRemovesAnEntryAndNullEntryASection)
{
    CProfileStore store("Key", "App");
    store.WriteProfileString("A", "one", "1");
    store.WriteProfileString("A", "two", "2");
    store.WriteProfileString("B", "three", "line\r\nbreak");
    EXPECT_EQ(store.GetProfileString("B", "three", ""), "line  break");
    store.WriteProfileString("A", "one", nullptr);
    EXPECT_EQ(store.GetProfileString("A", "one", "gone"), "gone");
    EXPECT_EQ(store.GetProfileString("A", "two", ""), "2");
    store.WriteProfileString("A", nullptr, nullptr);
    EXPECT_FALSE(store.HasSection("A"));
    EXPECT_TRUE(store.HasSection("b"));
    EXPECT_FALSE(store.WriteProfileString(nullptr, "x", "y"));
}

TEST_F(WinProfile, TheMemoryStoreKeepsValuesUntilCleared)
{
    CProfileStore::SetInMemory(true);
    CProfileStore("Key", "App").WriteProfileInt("S", "E", 4);
    EXPECT_EQ(CProfileStore("Key", "App").GetProfileInt("S", "E", 0), 4u);
    EXPECT_EQ(CProfileStore("Key", "Other").GetProfileInt("S", "E", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(m_folder.GetPath()));
    CProfileStore::ClearMemory();
    EXPECT_EQ(CProfileStore("Key", "App").GetProfileInt("S", "E", 0), 0u);
}

TEST_F(WinProfile, TheRegistryReadsSectionsOfTheApplicationStore)
{
    CProfileStore::SetInMemory(true);
    CProfileStore::SetApplicationStore("Tavu Pelivo", "PelivoRun");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    CProfileStore::GetApplicationStore().WriteProfileString("Control Panel\\Desktop",
                                                            "WheelScrollLines", "-1");
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    DWORD type = REG_NONE;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "WheelScrollLines", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);
    BYTE small[2];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "WheelScrollLines", nullptr, &type, small, &size),
              ERROR_MORE_DATA);
    char text[128];
    size = sizeof text;
    EXPECT_EQ(RegQueryValueEx(key, "WheelScrollLines", nullptr, &type,
                              reinterpret_cast<LPBYTE>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_STREQ(text, "-1");
    EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(key, "WheelScrollLines", nullptr, &type, nullptr, &size),
              ERROR_INVALID_HANDLE);
}
} // namespace
