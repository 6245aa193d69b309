#include "NativePath.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace
{
struct SNativeCase
{
    const char* written;
    const char* native;
};

void PrintTo(const SNativeCase& c, std::ostream* out)
{
    *out << '"' << c.written << '"';
}

class NativePathTest : public testing::TestWithParam<SNativeCase>
{
};

TEST_P(NativePathTest, TurnsWindowsPathsIntoNativePaths)
{
    EXPECT_EQ(GetNativePath(GetParam().written), GetParam().native);
}

INSTANTIATE_TEST_SUITE_P(Paths, NativePathTest,
                         testing::Values(SNativeCase{"C:\\Data\\IMG.dcm", "/Data/IMG.dcm"},
                                         SNativeCase{"x:/a/b", "/a/b"},
                                         SNativeCase{"rel\\sub/f.txt", "rel/sub/f.txt"},
                                         SNativeCase{"/already/native", "/already/native"},
                                         SNativeCase{"D:name", "name"},
                                         SNativeCase{"1:\\not\\drive", "1:/not/drive"},
                                         SNativeCase{"", ""}));

TEST(NativePath, NullPathIsEmpty)
{
    EXPECT_EQ(GetNativePath(nullptr), "");
    EXPECT_EQ(ResolveNativePath(nullptr), "");
}

TEST(NativePath, ResolvesEveryComponentWithoutRegardToCase)
{
    CTempFolder folder;
    folder.WriteFile("Config/Views/Layout.XML", "x");
    const std::string written = folder.GetPath() + "\\config\\VIEWS\\layout.xml";
    EXPECT_EQ(ResolveNativePath(written.c_str()), folder.GetPath("Config/Views/Layout.XML"));
}

TEST(NativePath, KeepsANewLastComponentAsWritten)
{
    CTempFolder folder;
    folder.WriteFile("Logs/old.txt", "x");
    const std::string written = folder.GetPath() + "/LOGS/New.Log";
    EXPECT_EQ(ResolveNativePath(written.c_str()), folder.GetPath("Logs/New.Log"));
}

TEST(NativePath, PrefersTheExactNameAndKeepsTheRestAsWritten)
{
    CTempFolder folder;
    folder.WriteFile("a/x", "1");
    folder.WriteFile("A/x", "2");
    EXPECT_EQ(ResolveNativePath((folder.GetPath() + "/A/x").c_str()), folder.GetPath("A/x"));
    EXPECT_EQ(ResolveNativePath((folder.GetPath() + "/missing/deeper/f").c_str()),
              folder.GetPath("missing/deeper/f"));
}

TEST(NativePath, ComparesFileNamesWithoutRegardToAsciiCase)
{
    EXPECT_TRUE(IsSameFileName("DICOMDIR", "dicomdir"));
    EXPECT_FALSE(IsSameFileName("IMG1", "IMG10"));
    EXPECT_FALSE(IsSameFileName("\xC3\x84", "\xC3\xA4")); // only ASCII letters fold
}
} // namespace
