// The bitmap-file fuzz target, run as a plain function on a few inputs:
// whatever it makes of an input, it leaves no file behind.
#include "../../fuzz/controls/ReadDibFileFuzzer.cpp"

#include "DibTestHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

namespace
{
namespace fs = std::filesystem;

// The files of the fuzz target's kind in the temporary folder.
std::set<fs::path> FuzzFiles()
{
    std::set<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
    {
        if (entry.path().filename().string().rfind("fuzz-readdib-", 0) == 0)
            files.insert(entry.path());
    }
    return files;
}

// A bitmap file of a small DIB, as SaveDIB writes it.
std::vector<std::uint8_t> MakeBitmapFile()
{
    const fs::path path = fs::temp_directory_path() / ("readdib-seed-" + std::to_string(getpid()));
    HDIB dib = MakeIndexedDib(5, 3);
    EXPECT_EQ(SaveDIB(dib, path.c_str()), 0);
    DestroyDIB(dib);
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    fs::remove(path);
    return bytes;
}

TEST(ReadDibFileFuzzer, EveryInputLeavesNoFileBehind)
{
    const std::vector<std::uint8_t> bitmap = MakeBitmapFile();
    ASSERT_GT(bitmap.size(), 54u);
    const std::vector<std::uint8_t> cut(bitmap.begin(), bitmap.begin() + 30);
    const std::vector<std::uint8_t> noise = {'B', 'M', 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3};
    const std::set<fs::path> before = FuzzFiles();
    for (const std::vector<std::uint8_t>* input : {&bitmap, &cut, &noise})
    {
        EXPECT_EQ(LLVMFuzzerTestOneInput(input->data(), input->size()), 0);
        EXPECT_EQ(FuzzFiles(), before) << input->size() << " bytes";
    }
}
} // namespace
