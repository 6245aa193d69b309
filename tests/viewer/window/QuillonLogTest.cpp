#include "LogTestSupport.h"
#include "QuillonApp.h"

#include "UID.h"
#include "VeltaroLog.h"
#include "WinBeep.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

namespace
{
namespace fs = std::filesystem;

TEST_F(QuillonLogTest, EveryFrontEndWritesOneLine)
{
    OpenLog();
    struct Case
    {
        const char* name;
        std::function<void()> call;
        const char* expected;
    };
    const Case cases[] = {
        {"_debug", [] { quillon::_debug("%s|%04x", "a", 0x1f); }, "09:05:07  a|001f\r\n"},
        {"_info", [] { quillon::_info("n=%d", 5); }, "09:05:07  n=5\r\n"},
        {"_warning", [] { quillon::_warning("w"); }, "09:05:07  w\r\n"},
        {"_error", [] { quillon::_error("e %ld", 7L); }, "09:05:07  e 7\r\n"},
        {"_tinfo", [] { quillon::_tinfo("t %s", "x"); }, "09:05:07  t x\r\n"},
        {"_fdebug", [] { quillon::_fdebug("x"); }, "09:05:07  x\r\n"},
        {"_fdebug with %d", [] { quillon::_fdebug("100%d %s"); }, "09:05:07  100%d %s\r\n"},
        {"_fdebug null", [] { quillon::_fdebug(nullptr); }, "\r\n\r\n"},
        {"empty", [] { quillon::_info(""); }, "\r\n\r\n"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Appended(c.call), c.expected) << c.name;
    }
}

TEST_F(QuillonLogTest, FatalBeepsOnceAfterItsLine)
{
    OpenLog();
    ResetBeepCount();
    EXPECT_EQ(Appended([] { quillon::_fatal("f=%d", 1); }), "09:05:07  f=1\r\n");
    EXPECT_EQ(GetBeepCount(), 1);
}

TEST_F(QuillonLogTest, SpareNamesWhenTheLogCannotBeOpened)
{
    // A folder in the way of a name keeps the log from opening there.
    fs::create_directory(m_folder.GetPath("Brevant.LOG"));
    fs::create_directory(m_folder.GetPath("Brevant.1.LOG"));
    const std::string folder = m_folder.GetPath() + "/";
    ASSERT_TRUE(quillon::OpenQuillonLogIn(folder.c_str()));
    EXPECT_STREQ(quillon::GetQuillonLog().GetPath(), m_folder.GetPath("Brevant.2.LOG").c_str());

    quillon::GetQuillonLog().Off();
    fs::remove(m_folder.GetPath("Brevant.2.LOG"));
    for (int number = 2; number <= 9; ++number)
    {
        fs::create_directory(m_folder.GetPath("Brevant." + std::to_string(number) + ".LOG"));
    }
    EXPECT_FALSE(quillon::OpenQuillonLogIn(folder.c_str()));
    EXPECT_EQ(quillon::GetQuillonLog().IsLogOn(), 0);
    quillon::_info("goes nowhere");
}

// The head and the tail of a file, without reading the rest.
std::pair<std::string, std::string> ReadEnds(const fs::path& path, std::size_t length)
{
    std::ifstream in(path, std::ios::binary);
    std::string head(length, '\0');
    std::string tail(length, '\0');
    in.read(head.data(), static_cast<std::streamsize>(length));
    in.seekg(-static_cast<std::streamoff>(length), std::ios::end);
    in.read(tail.data(), static_cast<std::streamsize>(length));
    return {head, tail};
}

TEST_F(QuillonLogTest, AFileOfTheLimitIsAppendedToAndOneByteMoreIsMoved)
{
    const fs::path path = m_folder.GetPath("Brevant.LOG");
    const fs::path backup = m_folder.GetPath("Brevant.LOG.bak");
    const std::string firstLine = "first line\r\n";
    const std::string lastLine = "09:05:07  after\r\n";
    for (const std::uintmax_t size : {std::uintmax_t{0xA00000}, std::uintmax_t{0xA00001}})
    {
        std::ofstream(backup, std::ios::binary) << "older backup";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << firstLine;
        fs::resize_file(path, size);
        OpenLog();
        quillon::_info("after");
        quillon::GetQuillonLog().Flush();
        const bool moved = size > 0xA00000;
        const auto [head, tail] = ReadEnds(path, lastLine.size());
        EXPECT_EQ(head.rfind(firstLine, 0) == 0, !moved) << size;
        EXPECT_EQ(tail, lastLine) << size;
        EXPECT_EQ(fs::file_size(path) > size, !moved) << size;
        EXPECT_EQ(ReadEnds(backup, firstLine.size()).first == firstLine, moved) << size;
        quillon::GetQuillonLog().Off();
    }
}

// The dynamic symbols that a shared library takes from elsewhere.
std::set<std::string> GetImportedSymbols(const std::string& path)
{
    std::set<std::string> names;
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat info
    {
    };
    if (fd < 0 || fstat(fd, &info) != 0)
    {
        return names;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    void* image = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (image == MAP_FAILED)
    {
        return names;
    }
    const auto* bytes = static_cast<const unsigned char*>(image);
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(bytes);
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(bytes + header->e_shoff);
    for (int i = 0; i < header->e_shnum; ++i)
    {
        if (sections[i].sh_type != SHT_DYNSYM)
        {
            continue;
        }
        const char* strings =
            reinterpret_cast<const char*>(bytes) + sections[sections[i].sh_link].sh_offset;
        const auto* symbols = reinterpret_cast<const Elf64_Sym*>(bytes + sections[i].sh_offset);
        const std::size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
        for (std::size_t s = 1; s < count; ++s)
        {
            if (symbols[s].st_shndx == SHN_UNDEF)
            {
                names.insert(strings + symbols[s].st_name);
            }
        }
    }
    munmap(image, size);
    return names;
}

std::string GetLibraryPathOf(const void* address)
{
    Dl_info info{};
    return dladdr(address, &info) != 0 && info.dli_fname != nullptr ? info.dli_fname : "";
}

TEST_F(QuillonLogTest, EachLibraryWritesToItsOwnLog)
{
    OpenLog();
    const fs::path dicomLog = m_folder.GetPath("Veltaro.Brevant.Log");
    ASSERT_EQ(VeltaroSetLogFileName(dicomLog.c_str()), 1);
    quillon::_info("viewer line");
    _info("dicom line");
    IsLossless("1.2.840.10008.1.2.4.57"); // logs inside the DICOM library
    GetVeltaroLog().Flush();
    const std::string viewerText = ReadLog();
    const std::string dicomText = m_folder.ReadFile("Veltaro.Brevant.Log");
    GetVeltaroLog().Off();
    EXPECT_NE(viewerText.find("viewer line"), std::string::npos);
    EXPECT_EQ(viewerText.find("dicom line"), std::string::npos);
    EXPECT_EQ(viewerText.find("Should change EndianType"), std::string::npos);
    EXPECT_NE(dicomText.find("dicom line"), std::string::npos);
    EXPECT_NE(dicomText.find("Should change EndianType"), std::string::npos);
    EXPECT_EQ(dicomText.find("viewer line"), std::string::npos);
}

// Nothing in the viewer library calls the DICOM library's namesakes: its
// code reaches only its own front ends and its own UID maker.
TEST_F(QuillonLogTest, TheViewerLibraryImportsNoneOfTheDicomLibrarysNamesakes)
{
    const std::string viewerPath =
        GetLibraryPathOf(reinterpret_cast<const void*>(&quillon::GetQuillonLog));
    const std::string dicomPath = GetLibraryPathOf(reinterpret_cast<const void*>(&GetVeltaroLog));
    ASSERT_NE(viewerPath, dicomPath);
    const std::set<std::string> imported = GetImportedSymbols(viewerPath);
    ASSERT_FALSE(imported.empty()) << viewerPath;
    const void* dicomLibrary = dlopen(dicomPath.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(dicomLibrary, nullptr);
    const char* namesakes[] = {"_Z6_debugPKcz", "_Z5_infoPKcz",       "_Z8_warningPKcz",
                               "_Z6_errorPKcz", "_Z6_fatalPKcz",      "_Z6_tinfoPKcz",
                               "_Z7_fdebugPKc", "_Z12GenUniqueUIDPKc"};
    for (const char* name : namesakes)
    {
        EXPECT_NE(dlsym(const_cast<void*>(dicomLibrary), name), nullptr)
            << name << " is no longer the DICOM library's name";
        EXPECT_EQ(imported.count(name), 0u) << name;
    }
    dlclose(const_cast<void*>(dicomLibrary));
}
} // namespace

namespace
{

TEST_F(QuillonLogTest, TheBannerNamesTheLibraryAndItsVersion)
{
    OpenLog();
    const std::string lines = Appended([] { LogModuleBanner(); });
    std::string stars;
    for (int star = 0; star < 26; ++star)
    {
        stars += "* ";
    }
    EXPECT_EQ(lines.rfind("\r\n\r\n09:05:07  " + stars + "\r\n09:05:07  Quillon", 0), 0u) << lines;
    EXPECT_NE(lines.find("\r\n09:05:07  Version : 2.1.2\r\n\r\n\r\n"), std::string::npos) << lines;
    std::size_t count = 0;
    for (std::size_t at = lines.find("09:05:07  "); at != std::string::npos;
         at = lines.find("09:05:07  ", at + 1))
    {
        ++count;
    }
    EXPECT_EQ(count, 6u) << "the stars, four banner lines and the version";
}

TEST_F(QuillonLogTest, BannerTextsSplitAtTheirLineEnds)
{
    OpenLog();
    struct Case
    {
        const char* text;
        const char* lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "09:05:07  a\r\n09:05:07  b\r\n"},
        {"a\nb", "09:05:07  a\r\n09:05:07  b\r\n"},
        {"a\r\rb", "09:05:07  a\r\n"},
        {"\nb", ""},
        {"", ""},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Appended([&] { LogBannerText(c.text); }), c.lines) << c.text;
    }
}
} // namespace
