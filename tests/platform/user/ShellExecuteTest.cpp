// Opening an address with the desktop's opener: found on the PATH, handed
// the target, and a clear failure where there is none. The launcher is
// replaced, so nothing is ever started.
#include "../base/ScopedEnvironment.h"
#include "../base/TempFolder.h"
#include "WinError.h"
#include "WinShellExecute.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{
struct Launch
{
    std::string opener;
    std::string target;
};

class ShellExecuteTest : public testing::Test
{
protected:
    ShellExecuteTest()
    {
        SetShellOpenerLauncher(
            [this](LPCSTR lpszOpener, LPCSTR lpszTarget)
            {
                m_launches.push_back({lpszOpener, lpszTarget});
                return m_bLaunchSucceeds;
            });
    }
    ~ShellExecuteTest() override { SetShellOpenerLauncher(nullptr); }

    // A folder on the PATH that holds an executable opener, or none.
    void PutOnPath(bool bWithOpener)
    {
        if (bWithOpener)
        {
            const std::string path = m_folder.WriteFile("xdg-open", "#!/bin/sh\nexit 1\n");
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        }
        setenv("PATH", (m_folder.GetPath() + ":" + m_folder.GetPath("missing")).c_str(), 1);
    }

    static INT_PTR Open(LPCSTR lpOperation, LPCSTR lpFile)
    {
        return reinterpret_cast<INT_PTR>(
            ShellExecuteA(nullptr, lpOperation, lpFile, nullptr, nullptr, SW_SHOWNORMAL));
    }

    CScopedEnvironment m_path{"PATH"};
    CTempFolder m_folder;
    std::vector<Launch> m_launches;
    bool m_bLaunchSucceeds = true;
};

TEST_F(ShellExecuteTest, OpenHandsTheTargetToTheOpenerFoundOnThePath)
{
    PutOnPath(true);
    EXPECT_GT(Open("open", "http://www.example.org/"), 32);
    EXPECT_GT(Open(nullptr, "/tmp/report.txt"), 32) << "no verb is open";
    ASSERT_EQ(m_launches.size(), 2u);
    EXPECT_EQ(m_launches[0].opener, m_folder.GetPath("xdg-open"));
    EXPECT_EQ(m_launches[0].target, "http://www.example.org/");
    EXPECT_EQ(m_launches[1].target, "/tmp/report.txt");
}

TEST_F(ShellExecuteTest, FailuresAnswerTheirCodeAndStartNothing)
{
    struct Case
    {
        bool bOpener;
        bool bLaunchSucceeds;
        LPCSTR lpOperation;
        LPCSTR lpFile;
        INT_PTR nResult;
        DWORD dwLastError;
    };
    const Case cases[] = {
        {false, true, "open", "http://www.example.org/", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
        {true, true, "print", "http://www.example.org/", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
        {true, true, "open", "", SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
        {true, true, "open", nullptr, SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
        {true, false, "open", "http://www.example.org/", SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED},
    };
    PutOnPath(false);
    for (const Case& c : cases)
    {
        if (c.bOpener)
            PutOnPath(true);
        m_bLaunchSucceeds = c.bLaunchSucceeds;
        m_launches.clear();
        SetLastError(0);
        EXPECT_EQ(Open(c.lpOperation, c.lpFile), c.nResult) << c.lpOperation;
        EXPECT_EQ(GetLastError(), c.dwLastError) << c.lpOperation;
        EXPECT_EQ(m_launches.size(), c.bLaunchSucceeds ? 0u : 1u) << "only a found opener is tried";
    }
}
} // namespace
