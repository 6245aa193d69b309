#include "WinFind.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace
{
std::vector<std::string> FindAll(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
    {
        return names;
    }
    do
    {
        names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(find));
    return names;
}

class WinFind : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"b.dcm", "A.DCM", "DICOMDIR", "c.txt", "a2.dcm", "Sub/x.dcm"})
        {
            m_folder.WriteFile(name, "1234");
        }
    }
    CTempFolder m_folder;
};

TEST_F(WinFind, StarDotStarListsEveryNameInCaseInsensitiveOrder)
{
    const std::vector<std::string> expected = {".",     "..",    "A.DCM",    "a2.dcm",
                                               "b.dcm", "c.txt", "DICOMDIR", "Sub"};
    EXPECT_EQ(FindAll(m_folder.GetPath() + "\\*.*"), expected);
    EXPECT_EQ(FindAll(m_folder.GetPath() + "/*"), expected);
}

struct SPatternCase
{
    const char* pattern;
    std::vector<std::string> names;
};

void PrintTo(const SPatternCase& c, std::ostream* out)
{
    *out << c.pattern;
}

class WinFindPattern : public WinFind, public testing::WithParamInterface<SPatternCase>
{
};

TEST_P(WinFindPattern, MatchesWildcardsWithoutRegardToCase)
{
    EXPECT_EQ(FindAll(m_folder.GetPath() + "/" + GetParam().pattern), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(Patterns, WinFindPattern,
                         testing::Values(SPatternCase{"*.dcm", {"A.DCM", "a2.dcm", "b.dcm"}},
                                         SPatternCase{"?.DCM", {"A.DCM", "b.dcm"}},
                                         SPatternCase{"dicomdir", {"DICOMDIR"}},
                                         SPatternCase{"*dir", {"DICOMDIR"}},
                                         SPatternCase{"a*", {"A.DCM", "a2.dcm"}},
                                         SPatternCase{"SUB\\*.dcm", {"x.dcm"}},
                                         SPatternCase{"*.jpg", {}}));

TEST_F(WinFind, ReportsFoldersSizesAndWriteTimes)
{
    const std::string file = m_folder.GetPath("b.dcm");
    struct timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 500}};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(file.c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(data.nFileSizeLow, 4u);
    const ULONGLONG stamp = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                            data.ftLastWriteTime.dwLowDateTime;
    EXPECT_EQ(stamp, (1700000000ULL + 11644473600ULL) * 10000000ULL + 5ULL);
    FindClose(find);

    find = FindFirstFileA(m_folder.GetPath("sub").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "Sub");
    EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    FindClose(find);
}

TEST_F(WinFind, FailsWithTheWindowsCodes)
{
    WIN32_FIND_DATAA data;
    EXPECT_EQ(FindFirstFileA(m_folder.GetPath("*.none").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirstFileA(m_folder.GetPath("nowhere/*.*").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    int notAHandle = 0;
    EXPECT_FALSE(FindNextFileA(&notAHandle, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FindClose(&notAHandle));
}
} // namespace
