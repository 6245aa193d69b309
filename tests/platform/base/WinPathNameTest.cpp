#include "WinPathName.h"
#include "ScopedCodePage.h"
#include "ScopedWorkingFolder.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{

std::string FullPath(const char* path)
{
    char buffer[_MAX_PATH];
    const char* result = _fullpath(buffer, path, sizeof(buffer));
    return result == nullptr ? "<null>" : result;
}

} // namespace

struct SplitCase
{
    const char* path;
    const char* drive;
    const char* dir;
    const char* name;
    const char* ext;
};

class WinPathNameSplit : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(WinPathNameSplit, SplitsAtBothSeparators)
{
    const SplitCase& c = GetParam();
    char drive[_MAX_DRIVE];
    char dir[_MAX_DIR];
    char name[_MAX_FNAME];
    char ext[_MAX_EXT];
    _splitpath(c.path, drive, dir, name, ext);
    EXPECT_STREQ(drive, c.drive);
    EXPECT_STREQ(dir, c.dir);
    EXPECT_STREQ(name, c.name);
    EXPECT_STREQ(ext, c.ext);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WinPathNameSplit,
    ::testing::Values(SplitCase{"C:\\data\\img.dcm", "C:", "\\data\\", "img", ".dcm"},
                      SplitCase{"/usr/lib/x.tar.gz", "", "/usr/lib/", "x.tar", ".gz"},
                      SplitCase{"\\\\server\\share\\f", "", "\\\\server\\share\\", "f", ""},
                      SplitCase{"a/b\\c.d", "", "a/b\\", "c", ".d"},
                      SplitCase{"dir.d\\file", "", "dir.d\\", "file", ""},
                      SplitCase{"name.", "", "", "name", "."},
                      SplitCase{".profile", "", "", "", ".profile"},
                      SplitCase{"D:", "D:", "", "", ""}, SplitCase{"", "", "", "", ""}));

TEST(WinPathName, SplitAcceptsNullPartsAndCutsLongNames)
{
    char name[_MAX_FNAME];
    _splitpath("C:\\a\\b.c", nullptr, nullptr, name, nullptr);
    EXPECT_STREQ(name, "b");
    const std::string longName(400, 'n');
    _splitpath(longName.c_str(), nullptr, nullptr, name, nullptr);
    EXPECT_EQ(std::string(name), std::string(_MAX_FNAME - 1, 'n'));
}

TEST(WinPathName, SplitDoesNotTakeATrailByteForASeparator)
{
    CScopedCodePage page(936);
    char dir[_MAX_DIR];
    char name[_MAX_FNAME];
    char ext[_MAX_EXT];
    _splitpath("\\\x81\x5C.txt", nullptr, dir, name, ext);
    EXPECT_STREQ(dir, "\\");
    EXPECT_STREQ(name, "\x81\x5C");
    EXPECT_STREQ(ext, ".txt");
}

TEST(WinPathName, FullPathResolvesAgainstTheCurrentFolder)
{
    CScopedWorkingFolder folder;
    std::filesystem::create_directory("sub");
    const std::string& root = folder.GetFolder();
    EXPECT_EQ(FullPath("img.dcm"), root + "/img.dcm");
    EXPECT_EQ(FullPath("sub\\.\\x\\..\\img.dcm"), root + "/sub/img.dcm");
    EXPECT_EQ(FullPath("C:\\a\\..\\b"), "/b");
    EXPECT_EQ(FullPath("/a//b/"), "/a/b/");
    EXPECT_EQ(FullPath("\\..\\.."), "/");
    EXPECT_EQ(FullPath(""), root);
}

TEST(WinPathName, FullPathFailsForImpossiblePaths)
{
    char small[8];
    errno = 0;
    EXPECT_EQ(_fullpath(small, "/a/long/path", sizeof(small)), nullptr);
    EXPECT_EQ(errno, ERANGE);
    char buffer[_MAX_PATH];
    for (const char* bad : {"a*b", "what?", "a|b", "\x01"})
    {
        errno = 0;
        EXPECT_EQ(_fullpath(buffer, bad, sizeof(buffer)), nullptr) << bad;
        EXPECT_EQ(errno, EINVAL);
    }
}

TEST(WinPathName, FullPathAllocatesWhenGivenNoBuffer)
{
    char* result = _fullpath(nullptr, "/x/y", 0);
    ASSERT_NE(result, nullptr);
    EXPECT_STREQ(result, "/x/y");
    std::free(result);
}

TEST(WinPathName, CurrentDirectoryFollowsSetAndReportsTheSizeNeeded)
{
    CScopedWorkingFolder folder;
    std::filesystem::create_directory("sub");
    ASSERT_TRUE(SetCurrentDirectoryA("sub"));
    const std::string expected = folder.GetFolder() + "/sub";
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), expected.size() + 1);
    char small[4];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof(small), small), expected.size() + 1);
    char buffer[_MAX_PATH];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof(buffer), buffer), expected.size());
    EXPECT_EQ(std::string(buffer), expected);
    ASSERT_TRUE(SetCurrentDirectoryA("X:..\\sub\\.."));
    EXPECT_EQ(GetCurrentDirectoryA(sizeof(buffer), buffer), folder.GetFolder().size());
}

TEST(WinPathName, SetCurrentDirectoryReportsMissingFolders)
{
    SetLastError(0);
    EXPECT_FALSE(SetCurrentDirectoryA("/no/such/folder/here"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(SetCurrentDirectoryA(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}
