// The shell's path helpers over both separators and double-byte names.
#include "WinShellPath.h"

#include "ScopedCodePage.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

namespace
{
TEST(WinShellPathTest, NameAndExtensionAreFoundAfterEitherSeparator)
{
    struct Case
    {
        const char* pszPath;
        const char* pszName;
        const char* pszExtension;
    };
    const Case cases[] = {
        {"/data/study/IM0001.dcm", "IM0001.dcm", ".dcm"},
        {"C:\\images\\a.b.jpg", "a.b.jpg", ".jpg"},
        {"/data/dir.d/noext", "noext", ""},
        {"/data/study/", "study/", ""},
        {"name.txt", "name.txt", ".txt"},
        {"X:file.bmp", "file.bmp", ".bmp"},
        {"/a/archive. tar", "archive. tar", ""},
        {"", "", ""},
    };
    for (const Case& c : cases)
    {
        EXPECT_STREQ(PathFindFileNameA(c.pszPath), c.pszName) << c.pszPath;
        EXPECT_STREQ(PathFindExtensionA(c.pszPath), c.pszExtension) << c.pszPath;
    }
}

TEST(WinShellPathTest, RemovingTheNameKeepsTheRoot)
{
    struct Case
    {
        const char* pszPath;
        const char* pszAfter;
        BOOL bChanged;
    };
    const Case cases[] = {
        {"/data/study/IM0001.dcm", "/data/study", TRUE},
        {"C:\\images\\a.jpg", "C:\\images", TRUE},
        {"/data/study/", "/data/study", TRUE},
        {"/top", "/", TRUE},
        {"/", "/", FALSE},
        {"C:\\x", "C:\\", TRUE},
        {"name.txt", "", TRUE},
        {"", "", FALSE},
    };
    for (const Case& c : cases)
    {
        char path[MAX_PATH];
        std::strcpy(path, c.pszPath);
        EXPECT_EQ(PathRemoveFileSpecA(path), c.bChanged) << c.pszPath;
        EXPECT_STREQ(path, c.pszAfter) << c.pszPath;
    }
}

TEST(WinShellPathTest, ASeparatorIsAddedOnceAndOnlyWhereItFits)
{
    char path[MAX_PATH] = "/data/study";
    EXPECT_STREQ(PathAddBackslashA(path) - 1, "/");
    EXPECT_STREQ(path, "/data/study/");
    EXPECT_EQ(PathAddBackslashA(path), path + std::strlen(path));
    EXPECT_STREQ(path, "/data/study/");
    char windows[MAX_PATH] = "C:\\images\\";
    PathAddBackslashA(windows);
    EXPECT_STREQ(windows, "C:\\images\\");
    char full[MAX_PATH];
    std::memset(full, 'a', MAX_PATH - 1);
    full[MAX_PATH - 1] = '\0';
    EXPECT_EQ(PathAddBackslashA(full), nullptr);
    EXPECT_EQ(std::strlen(full), std::size_t(MAX_PATH - 1));
}

TEST(WinShellPathTest, ATrailByteThatLooksLikeABackslashIsNoSeparator)
{
    // In code page 936 the character 0x81 0x5C ends in the backslash's byte.
    CScopedCodePage chinese(936);
    const char path[] = "/data/\x81\x5C.dcm";
    EXPECT_STREQ(PathFindFileNameA(path), "\x81\x5C.dcm");
    char copy[MAX_PATH];
    std::strcpy(copy, path);
    EXPECT_TRUE(PathRemoveFileSpecA(copy));
    EXPECT_STREQ(copy, "/data");
}

TEST(WinShellPathTest, FilesAndFoldersExistMissingOnesDoNot)
{
    CTempFolder folder;
    const std::string file = folder.GetPath("present.txt");
    std::ofstream(file) << "x";
    EXPECT_TRUE(PathFileExistsA(file.c_str()));
    EXPECT_TRUE(PathFileExistsA(folder.GetPath().c_str()));
    EXPECT_FALSE(PathFileExistsA(folder.GetPath("absent.txt").c_str()));
    EXPECT_FALSE(PathFileExistsA(nullptr));
}
} // namespace
