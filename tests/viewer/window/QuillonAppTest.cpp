#include "QuillonApp.h"
#include "../../platform/base/ChildProcess.h"
#include "FileLog.h"
#include "QuillonLibrary.h"
#include "QuillonLog.h"
#include "VeltaroLog.h"
#include "WinCursor.h"
#include "WinPathName.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace
{
namespace fs = std::filesystem;

// The folder of the viewer library file, with its trailing separator.
std::string GetLibraryFolder()
{
    Dl_info info{};
    dladdr(reinterpret_cast<const void*>(&QuillonInitialize), &info);
    return fs::path(info.dli_fname).parent_path().string() + "/";
}

std::string GetCurrentFolder()
{
    char buffer[_MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Each test starts from a stopped library, whatever ran before it in this
// process.
class QuillonStart : public testing::Test
{
protected:
    void SetUp() override { QuillonUninitialize(); }
    void TearDown() override { QuillonUninitialize(); }
};

TEST_F(QuillonStart, TheStartFixesFolderPathsAndLogs)
{
    ASSERT_EQ(QuillonInitialize(), 1);
    EXPECT_EQ(IsQuillonStarted(), 1);
    const std::string folder = GetLibraryFolder();
    EXPECT_EQ(std::string(GetQuillonFolder()), folder);
    EXPECT_EQ(GetCurrentFolder() + "/", folder);
    EXPECT_EQ(std::string(GetResourceXmlPath()), folder + "Config/Brevant.Resource.xml");
    EXPECT_EQ(std::string(GetConfigXmlPath()), folder + "Config/Brevant.Config.xml");
    EXPECT_EQ(std::string(GetImageTagXmlPath()), folder + "Config/Brevant.ImageTag.xml");

    // Other processes may hold the first names: the log takes a spare one.
    const std::string logPath = quillon::GetQuillonLog().GetPath();
    EXPECT_EQ(logPath.rfind(folder + "LOG/Brevant.", 0), 0u) << logPath;
    EXPECT_EQ(quillon::GetQuillonLog().IsLogOn(), 1);
    EXPECT_EQ(std::string(GetVeltaroLog().GetPath()), folder + "LOG/Veltaro.Brevant.Log");
}

TEST_F(QuillonStart, CursorsAndIconsOfEveryGroup)
{
    QuillonInitialize();
    for (const UINT group :
         {138u, 139u, 140u, 153u, 154u, 155u, 156u, 167u, 168u, 169u, 170u, 171u, 175u})
    {
        const HCURSOR cursor = GetQuillonCursor(group);
        CursorImageInfo info{};
        ASSERT_TRUE(GetCursorImageInfo(cursor, &info)) << group;
        EXPECT_EQ(info.nSystemId, 0) << group << " is the library's own picture";
        EXPECT_EQ(info.size.cx, 32) << group;
    }
    CursorImageInfo arrow{};
    ASSERT_TRUE(GetCursorImageInfo(GetQuillonCursor(32512), &arrow));
    EXPECT_EQ(arrow.nSystemId, 32512) << "the standard arrow";
    EXPECT_NE(GetQuillonIcon(148), nullptr);
    EXPECT_NE(GetQuillonIcon(149), nullptr);
    EXPECT_NE(GetQuillonIcon(148), GetQuillonIcon(149));
    EXPECT_EQ(GetQuillonCursor(141), nullptr);
    EXPECT_EQ(GetQuillonIcon(150), nullptr);
}

TEST_F(QuillonStart, FirstUseStartsTheLibrary)
{
    ASSERT_EQ(IsQuillonStarted(), 0);
    EXPECT_FALSE(GetConfigXmlPath().IsEmpty());
    EXPECT_EQ(IsQuillonStarted(), 1);
}

TEST_F(QuillonStart, TheStopLogsItsLineAndClosesBothLogs)
{
    QuillonInitialize();
    const std::string logPath = quillon::GetQuillonLog().GetPath();
    QuillonUninitialize();
    EXPECT_EQ(IsQuillonStarted(), 0);
    EXPECT_EQ(quillon::GetQuillonLog().IsLogOn(), 0);
    EXPECT_EQ(GetVeltaroLog().IsLogOn(), 0);
    const std::string text = ReadText(logPath);
    const std::size_t exitLine = text.rfind("  Enter CQuillonApp::ExitInstance\r\n");
    ASSERT_NE(exitLine, std::string::npos);
    EXPECT_NE(text.find(std::string(64, '-'), exitLine), std::string::npos);
    QuillonUninitialize(); // a second stop does nothing
    EXPECT_EQ(QuillonInitialize(), 1) << "a stopped library starts again";
    EXPECT_EQ(quillon::GetQuillonLog().IsLogOn(), 1);
}

TEST_F(QuillonStart, AStartedLibraryStopsAtExit)
{
    const std::string logFolder = GetLibraryFolder() + "LOG/";
    const std::string marker = "marker of process " + std::to_string(getpid());
    CChildProcess child(
        [&](CChildProcess& self)
        {
            QuillonInitialize();
            quillon::_info("%s", marker.c_str());
            const std::string path = quillon::GetQuillonLog().GetPath();
            // "Brevant.LOG" or "Brevant.<n>.LOG": the character after the dot.
            self.Report(path.at(logFolder.size() + 8));
            std::exit(0);
        });
    const char name = child.ReadReport();
    child.Wait();
    const std::string path = logFolder + (name == 'L' ? std::string("Brevant.LOG")
                                                      : "Brevant." + std::string(1, name) + ".LOG");
    const std::string text = ReadText(path);
    const std::size_t line = text.rfind(marker);
    ASSERT_NE(line, std::string::npos) << path;
    const std::size_t exitLine = text.find("  Enter CQuillonApp::ExitInstance\r\n", line);
    ASSERT_NE(exitLine, std::string::npos);
    EXPECT_NE(text.find(std::string(64, '-'), exitLine), std::string::npos);
}
} // namespace
