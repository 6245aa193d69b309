// The CDib::Read fuzz target, run as a plain function on a valid file, its
// truncations and a hostile header.
#define LLVMFuzzerTestOneInput DibReadFuzzerTestOneInput
#include "../../fuzz/controls/DibReadFuzzer.cpp"
#undef LLVMFuzzerTestOneInput

#include "DibTestHelpers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace
{
std::vector<std::uint8_t> MakeBitmapFile()
{
    TempPath path("dibread-seed.bmp");
    HDIB dib = MakeIndexedDib(5, 3);
    EXPECT_EQ(SaveDIB(dib, path.c_str()), 0);
    DestroyDIB(dib);
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<std::uint8_t>{std::istreambuf_iterator<char>(in), {}};
}

TEST(DibReadFuzzer, AcceptsOrRefusesEveryPrefix)
{
    const std::vector<std::uint8_t> bitmap = MakeBitmapFile();
    ASSERT_GT(bitmap.size(), 54u);
    for (std::size_t size = 0; size <= bitmap.size(); size += 7)
        EXPECT_EQ(DibReadFuzzerTestOneInput(bitmap.data(), size), 0) << size;
    EXPECT_EQ(DibReadFuzzerTestOneInput(bitmap.data(), bitmap.size()), 0);
    const std::uint8_t hostile[] = {'B',  'M', 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0,
                                    0x10, 0,   0,    0,    40,   0,    0, 0, 1, 0,
                                    0,    0,   0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 8, 0};
    EXPECT_EQ(DibReadFuzzerTestOneInput(hostile, sizeof(hostile)), 0);
}
} // namespace
