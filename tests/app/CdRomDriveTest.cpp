// The starting folder of the Open DICOMDIR dialog: the first mounted CD or
// DVD file system of the mount table, else the home folder.
#include "CdRomDrive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace
{
namespace fs = std::filesystem;

// HOME set for one test and put back afterwards.
class CScopedHome
{
public:
    explicit CScopedHome(const char* pszHome)
    {
        if (const char* pszOld = std::getenv("HOME"))
            m_old = pszOld;
        setenv("HOME", pszHome, 1);
    }
    ~CScopedHome()
    {
        if (m_old)
            setenv("HOME", m_old->c_str(), 1);
        else
            unsetenv("HOME");
    }
    CScopedHome(const CScopedHome&) = delete;
    CScopedHome& operator=(const CScopedHome&) = delete;

private:
    std::optional<std::string> m_old;
};

TEST(CdRomDriveTest, FirstDiscFileSystemElseHome)
{
    const CScopedHome home("/home/reader");
    const fs::path table =
        fs::temp_directory_path() /
        ("pelivorun-mounts-" + std::to_string(reinterpret_cast<std::uintptr_t>(&home)));
    const struct
    {
        const char* content;
        const char* expected;
    } cases[] = {
        {"/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
         "/dev/sr1 /media/dvd udf ro 0 0\n",
         "/media/cdrom"},
        {"/dev/sda1 / ext4 rw 0 0\n/dev/sr1 /media/My\\040Disc udf ro 0 0\n", "/media/My Disc"},
        {"/dev/sda1 / ext4 rw 0 0\nproc /proc proc rw 0 0\n", "/home/reader"},
    };
    for (const auto& c : cases)
    {
        std::ofstream(table) << c.content;
        EXPECT_EQ(FindFirstCdRomDrive(table.string().c_str()), c.expected) << c.content;
    }
    fs::remove(table);
    EXPECT_EQ(FindFirstCdRomDrive((table.string() + ".missing").c_str()), "/home/reader");
}
} // namespace
