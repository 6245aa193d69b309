// A program writes its log and other files beside itself. Where its folder
// refuses writing (an installed program), the writes, and the reads of what
// was written, go to the user's copy of the folder in the state folder;
// where the folder takes them, they stay beside the program.
#include "ChildProgram.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

std::string ReadWhole(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A folder nobody may write to, the owner (root included) neither, for as
// long as the object lives.
class CProtectedFolder
{
public:
    explicit CProtectedFolder(fs::path folder) : m_folder(std::move(folder))
    {
        m_bProtected = Run("chattr +i");
    }
    ~CProtectedFolder()
    {
        if (m_bProtected)
            Run("chattr -i");
    }
    CProtectedFolder(const CProtectedFolder&) = delete;
    CProtectedFolder& operator=(const CProtectedFolder&) = delete;

    bool IsProtected() const { return m_bProtected; }

private:
    bool Run(const char* pszCommand) const
    {
        const std::string command =
            std::string(pszCommand) + " '" + m_folder.string() + "' 2>/dev/null";
        return std::system(command.c_str()) == 0;
    }
    fs::path m_folder;
    bool m_bProtected = false;
};

class ProgramFolderStore : public testing::Test
{
protected:
    // The probe copied into the program folder, with its LOG folder.
    void SetUp() override
    {
        fs::create_directory(m_program.GetPath("LOG"));
        fs::copy_file(std::string(SUITE_OUTPUT_DIR) + "/ProgramFolderProbe", Probe());
    }
    fs::path Probe() const { return m_program.GetPath("ProgramFolderProbe"); }
    fs::path Stored(const char* pszName) const
    {
        return fs::path(m_state.GetPath()) / "ProgramFolderProbe" / pszName;
    }
    // The probe's lines, one run.
    std::string RunProbe(const std::vector<std::string>& args = {})
    {
        CChildProgram probe(Probe().string(), args, {"XDG_STATE_HOME=" + m_state.GetPath()});
        std::string lines = probe.WaitForLine("");
        if (!args.empty())
            lines += "\n" + probe.WaitForLine("");
        EXPECT_EQ(probe.Wait(), 0);
        return lines;
    }

    CTempFolder m_program;
    CTempFolder m_state;
};

TEST_F(ProgramFolderStore, WritesAProtectedProgramFolderRefusesGoToTheUsersStateFolder)
{
    CProtectedFolder protect(m_program.GetPath());
    CProtectedFolder protectLog(m_program.GetPath("LOG"));
    if (!protect.IsProtected() || !protectLog.IsProtected())
        GTEST_SKIP() << "this machine cannot make a folder refuse writing";
    EXPECT_EQ(RunProbe(), "logged|saved");
    EXPECT_EQ(ReadWhole(Stored("LOG/probe.log")), "logged");
    EXPECT_EQ(ReadWhole(Stored("saved.txt")), "saved");
    EXPECT_FALSE(fs::exists(m_program.GetPath("saved.txt")));
    EXPECT_FALSE(fs::exists(m_program.GetPath("LOG/probe.log")));
    // A second start appends to its copy of the log, which is rotated and
    // deleted there as well.
    EXPECT_EQ(RunProbe({"rotate"}), "loggedlogged|saved\nrotated");
    EXPECT_EQ(ReadWhole(Stored("LOG/probe.bak")), "loggedlogged");
    EXPECT_FALSE(fs::exists(Stored("LOG/probe.log")));
    EXPECT_FALSE(fs::exists(Stored("saved.txt")));
}

TEST_F(ProgramFolderStore, AProgramFolderThatTakesWritesKeepsThem)
{
    EXPECT_EQ(RunProbe(), "logged|saved");
    EXPECT_EQ(ReadWhole(m_program.GetPath("LOG/probe.log")), "logged");
    EXPECT_EQ(ReadWhole(m_program.GetPath("saved.txt")), "saved");
    EXPECT_EQ(RunProbe({"rotate"}), "loggedlogged|saved\nrotated");
    EXPECT_EQ(ReadWhole(m_program.GetPath("LOG/probe.bak")), "loggedlogged");
    EXPECT_FALSE(fs::exists(m_state.GetPath() + "/ProgramFolderProbe"));
}
} // namespace
