#include "../platform/base/ScopedWorkingFolder.h"
#include "Lettra.h"
#include "WinCodePage.h"
#include "WinPathName.h"

#include <gtest/gtest.h>

#include <string>

TEST(LettraFileName, SplitsADrivePath)
{
    const Lettra::DFileName name("C:\\data\\img.dcm");
    EXPECT_STREQ(name.Drive(), "C:");
    EXPECT_STREQ(name.FileName(), "img.dcm");
    EXPECT_STREQ(name.FileExt(), ".dcm");
    EXPECT_STREQ(name.FilePath(), "C:\\data\\");
    EXPECT_STREQ(name.FullFileName(), "C:\\data\\img.dcm");
    EXPECT_TRUE(name.IsFile("IMG.DCM"));
    EXPECT_FALSE(name.IsFile("img.dc"));
    EXPECT_FALSE(name.IsFile(nullptr));
}

TEST(LettraFileName, SetPathMovesTheFile)
{
    Lettra::DFileName name("C:\\data\\img.dcm");
    name.SetPath("D:\\out");
    EXPECT_STREQ(name.FullFileName(), "D:\\out\\img.dcm");
    EXPECT_STREQ(name.FilePath(), "D:\\out\\");
    Lettra::DFileName relative("C:\\data\\img.dcm");
    relative.SetPath("out");
    EXPECT_STREQ(relative.FullFileName(), "C:\\out\\img.dcm");
    Lettra::DFileName slashes("/data/img.dcm");
    slashes.SetPath("/tmp/out/");
    EXPECT_STREQ(slashes.FullFileName(), "/tmp/out/img.dcm");
    slashes.SetPath(nullptr);
    EXPECT_STREQ(slashes.FullFileName(), "/img.dcm");
}

TEST(LettraFileName, RelativePathsGetTheCurrentDirectory)
{
    CScopedWorkingFolder folder;
    const Lettra::DFileName name("img.dcm");
    EXPECT_EQ(std::string(name.FullFileName()), folder.GetFolder() + "/img.dcm");
    EXPECT_EQ(std::string(name.FilePath()), folder.GetFolder() + "/");
    const Lettra::DFileName nested("sub\\x.dcm");
    EXPECT_EQ(std::string(nested.FullFileName()), folder.GetFolder() + "/sub\\x.dcm");
    EXPECT_STREQ(nested.FileName(), "x.dcm");
}

TEST(LettraFileName, RootedAndUncPathsStayAsGiven)
{
    CScopedWorkingFolder folder;
    for (const char* path : {"\\data\\img.dcm", "/data/img.dcm", "\\\\server\\share\\img.dcm",
                             "//server/share/img.dcm"})
    {
        const Lettra::DFileName name(path);
        EXPECT_STREQ(name.FullFileName(), path);
        EXPECT_STREQ(name.FileName(), "img.dcm");
        EXPECT_STREQ(name.Drive(), "");
    }
}

TEST(LettraFileName, EmptyAndOverlongPathsStayInsideTheArrays)
{
    CScopedWorkingFolder folder;
    const Lettra::DFileName empty("");
    EXPECT_EQ(std::string(empty.FullFileName()), folder.GetFolder() + "/");
    EXPECT_STREQ(empty.FileName(), "");
    const Lettra::DFileName none(nullptr);
    EXPECT_STREQ(none.FileName(), "");
    const std::string longName =
        "/" + std::string(1000, 'd') + "/" + std::string(600, 'n') + "." + std::string(400, 'e');
    const Lettra::DFileName overlong(longName.c_str());
    EXPECT_EQ(std::string(overlong.FileExt()).size(), static_cast<std::size_t>(_MAX_EXT - 1));
    EXPECT_LT(std::string(overlong.FullFileName()).size(), 520u);
}

TEST(LettraFileName, TrailBytesAreNotSeparators)
{
    const UINT previous = GetACP();
    ASSERT_TRUE(PlatformSetACP(936));
    Lettra::DFileName name("C:\\\x81\x5C.dcm");
    EXPECT_STREQ(name.FileName(), "\x81\x5C.dcm");
    name.SetPath("D:\\\x81\x5C");
    EXPECT_STREQ(name.FullFileName(), "D:\\\x81\x5C\\\x81\x5C.dcm");
    PlatformSetACP(previous);
}

TEST(LettraFileName, CopiesAreIndependent)
{
    Lettra::DFileName a("C:\\a\\one.txt");
    const Lettra::DFileName b("D:\\b\\two.txt");
    a = b;
    EXPECT_STREQ(a.FullFileName(), "D:\\b\\two.txt");
    EXPECT_STREQ(a.FilePath(), "D:\\b\\");
}
