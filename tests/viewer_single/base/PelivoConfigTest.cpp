#include "PelivoConfig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace pelivo;

namespace
{

// A library folder with its configuration file (or none), while the current
// directory is another folder holding a configuration that says the
// opposite: only the library's own may count.
class PelivoConfigFolder : public testing::Test
{
protected:
    void SetUp() override
    {
        const auto base = std::filesystem::temp_directory_path() /
                          ("pelivo-config-" + std::to_string(::getpid()) + "-" +
                           testing::UnitTest::GetInstance()->current_test_info()->name());
        m_library = base / "library";
        m_elsewhere = base / "elsewhere";
        std::filesystem::create_directories(m_library);
        std::filesystem::create_directories(m_elsewhere);
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_elsewhere);
        SetPelivoFolder((m_library / "libPelivo.so").c_str());
    }

    void TearDown() override
    {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_library.parent_path());
        SetPelivoFolder("");
    }

    static void WriteConfig(const std::filesystem::path& folder, const char* element)
    {
        std::ofstream(folder / ViewerConfigFileName)
            << "<?xml version=\"1.0\"?>\n<AppSetting><Config>" << element
            << "</Config></AppSetting>\n";
    }

    std::filesystem::path m_library;
    std::filesystem::path m_elsewhere;
    std::filesystem::path m_previous;
};

} // namespace

TEST_F(PelivoConfigFolder, FolderIsTheLibraryFileFolder)
{
    EXPECT_STREQ(GetPelivoFolder(), (m_library.string() + "/").c_str());
}

TEST_F(PelivoConfigFolder, ReadsTheLibraryFolderNotTheCurrentOne)
{
    WriteConfig(m_library, "<DrawByMemoryDC value=\"0\"/>");
    WriteConfig(m_elsewhere, "<DrawByMemoryDC value=\"1\"/>");
    EXPECT_FALSE(ReadDrawByMemoryDC());
    WriteConfig(m_library, "<DrawByMemoryDC value=\"1\"/>");
    WriteConfig(m_elsewhere, "<DrawByMemoryDC value=\"0\"/>");
    EXPECT_TRUE(ReadDrawByMemoryDC());
}

TEST_F(PelivoConfigFolder, MissingFileOrElementGivesTheDefault)
{
    WriteConfig(m_elsewhere, "<DrawByMemoryDC value=\"0\"/>");
    EXPECT_TRUE(ReadDrawByMemoryDC());
    WriteConfig(m_library, "<Other value=\"0\"/>");
    EXPECT_TRUE(ReadDrawByMemoryDC());
}

TEST_F(PelivoConfigFolder, ElementWithoutValueTurnsTheSwitchOff)
{
    WriteConfig(m_library, "<DrawByMemoryDC/>");
    EXPECT_FALSE(ReadDrawByMemoryDC());
}
