#include "DibTestHelpers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace
{
std::vector<BYTE> ReadBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const char* path, const std::vector<BYTE>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

template <typename T> T Field(const std::vector<BYTE>& bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

template <typename T> void SetField(std::vector<BYTE>& bytes, std::size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

// Same header (the reader also records the table's entry count), table
// and bits.
bool SameDib(HDIB a, HDIB b)
{
    char* pa = static_cast<char*>(GlobalLock(a));
    char* pb = static_cast<char*>(GlobalLock(b));
    BITMAPINFOHEADER ha = *reinterpret_cast<BITMAPINFOHEADER*>(pa);
    BITMAPINFOHEADER hb = *reinterpret_cast<BITMAPINFOHEADER*>(pb);
    ha.biClrUsed = hb.biClrUsed = 0;
    const SIZE_T size = 40 + PaletteSize(pa) + ha.biSizeImage;
    const bool same = std::memcmp(&ha, &hb, 40) == 0 && GlobalSize(b) >= size &&
                      std::memcmp(pa + 40, pb + 40, size - 40) == 0;
    GlobalUnlock(a);
    GlobalUnlock(b);
    return same;
}

// A valid 8-bit file of 5 x 3 pixels.
std::vector<BYTE> ValidFile(const TempPath& path)
{
    HDIB hdib = MakeIndexedDib(5, 3);
    EXPECT_EQ(SaveDIB(hdib, path.c_str()), 0);
    DestroyDIB(hdib);
    return ReadBytes(path.c_str());
}
} // namespace

TEST(DibFile, SaveWritesTheFileHeaderAndTheBlock)
{
    TempPath path("save8.bmp");
    HDIB hdib = MakeIndexedDib(5, 3);
    ASSERT_EQ(SaveDIB(hdib, path.c_str()), 0);
    const std::vector<BYTE> file = ReadBytes(path.c_str());
    const std::size_t rowBytes = 8;
    ASSERT_EQ(file.size(), 14 + 40 + 1024 + 3 * rowBytes);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Field<DWORD>(file, 2), file.size()); // bfSize
    EXPECT_EQ(Field<WORD>(file, 6), 0);            // reserved
    EXPECT_EQ(Field<WORD>(file, 8), 0);
    EXPECT_EQ(Field<DWORD>(file, 10), 54u + 1024u);  // bfOffBits
    EXPECT_EQ(Field<DWORD>(file, 14), 40u);          // biSize
    EXPECT_EQ(Field<LONG>(file, 18), 5);             // width
    EXPECT_EQ(Field<LONG>(file, 22), 3);             // height
    EXPECT_EQ(Field<WORD>(file, 28), 8);             // bit count
    EXPECT_EQ(Field<DWORD>(file, 34), 3 * rowBytes); // biSizeImage rewritten
    {
        char* dib = static_cast<char*>(GlobalLock(hdib));
        EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER*>(dib)->biSizeImage, 3 * rowBytes);
        EXPECT_EQ(std::memcmp(file.data() + 14, dib, file.size() - 14), 0);
        GlobalUnlock(hdib);
    }
    HDIB loaded = LoadDIB(path.c_str());
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(SameDib(hdib, loaded));
    DestroyDIB(loaded);
    DestroyDIB(hdib);
}

TEST(DibFile, SaveAndLoadEveryBitCount)
{
    for (WORD bits : {1, 4, 8, 24})
    {
        TempPath path("bits.bmp");
        HDIB hdib = CreateDIB(7, 3, bits);
        char* dib = static_cast<char*>(GlobalLock(hdib));
        BYTE* p = reinterpret_cast<BYTE*>(FindDIBBits(dib));
        for (int i = 0; i < 12; ++i)
            p[i] = BYTE(0x5A + i);
        GlobalUnlock(hdib);
        ASSERT_EQ(SaveDIB(hdib, path.c_str()), 0);
        const std::vector<BYTE> file = ReadBytes(path.c_str());
        EXPECT_EQ(Field<DWORD>(file, 10), 54u + PaletteSize(dib)) << bits;
        HDIB loaded = LoadDIB(path.c_str());
        ASSERT_NE(loaded, nullptr) << bits;
        EXPECT_TRUE(SameDib(hdib, loaded)) << bits;
        DestroyDIB(loaded);
        DestroyDIB(hdib);
    }
}

TEST(DibFile, SaveRefusesWhatItCannotWrite)
{
    TempPath path("refused.bmp");
    EXPECT_EQ(SaveDIB(nullptr, path.c_str()), DIB_ERR_INVALIDHANDLE);

    // A core header cannot be written: a failure, and no file appears.
    HDIB core = GlobalAlloc(GHND, 12 + 6 + 4);
    char* dib = static_cast<char*>(GlobalLock(core));
    BITMAPCOREHEADER h{12, 2, 2, 1, 1};
    std::memcpy(dib, &h, sizeof(h));
    GlobalUnlock(core);
    EXPECT_NE(SaveDIB(core, path.c_str()), 0);
    EXPECT_TRUE(ReadBytes(path.c_str()).empty());
    GlobalFree(core);

    HDIB hdib = MakeIndexedDib(2, 2);
    EXPECT_EQ(SaveDIB(hdib, "/nonexistent-folder/x.bmp"), DIB_ERR_OPEN);
    // A header describing more rows than the block holds is not written.
    char* p = static_cast<char*>(GlobalLock(hdib));
    reinterpret_cast<BITMAPINFOHEADER*>(p)->biHeight = 1000;
    GlobalUnlock(hdib);
    EXPECT_NE(SaveDIB(hdib, path.c_str()), 0);
    DestroyDIB(hdib);
}

TEST(DibFile, ReadsTopDownAndBitFieldFiles)
{
    TempPath path("topdown.bmp");
    std::vector<BYTE> file = ValidFile(path);
    HDIB bottomUp = LoadDIB(path.c_str());
    ASSERT_NE(bottomUp, nullptr);
    // The same picture stored top-down reads as the same bottom-up DIB.
    std::vector<BYTE> flipped = file;
    SetField<LONG>(flipped, 22, -3);
    const std::size_t bits = Field<DWORD>(file, 10);
    for (int row = 0; row < 3; ++row)
        std::memcpy(flipped.data() + bits + row * 8, file.data() + bits + (2 - row) * 8, 8);
    WriteBytes(path.c_str(), flipped);
    HDIB topDown = LoadDIB(path.c_str());
    ASSERT_NE(topDown, nullptr);
    EXPECT_TRUE(SameDib(bottomUp, topDown));
    DestroyDIB(topDown);
    DestroyDIB(bottomUp);

    // A 16-bit 5-6-5 file with a version 5 header.
    std::vector<BYTE> v5(14 + 124 + 4 * 2);
    v5[0] = 'B';
    v5[1] = 'M';
    SetField<DWORD>(v5, 2, DWORD(v5.size()));
    SetField<DWORD>(v5, 10, 14 + 124);
    SetField<DWORD>(v5, 14, 124);
    SetField<LONG>(v5, 18, 2);
    SetField<LONG>(v5, 22, 2);
    SetField<WORD>(v5, 26, 1);
    SetField<WORD>(v5, 28, 16);
    SetField<DWORD>(v5, 30, BI_BITFIELDS);
    SetField<DWORD>(v5, 54, 0xF800);
    SetField<DWORD>(v5, 58, 0x07E0);
    SetField<DWORD>(v5, 62, 0x001F);
    SetField<WORD>(v5, 138, 0xF800); // bottom-left pixel red
    SetField<WORD>(v5, 142, 0x001F); // top-left pixel blue
    WriteBytes(path.c_str(), v5);
    HDIB fields = LoadDIB(path.c_str());
    ASSERT_NE(fields, nullptr);
    MemorySurface s(2, 2);
    RECT all{0, 0, 2, 2};
    PaintDIB(s.Dc(), &all, &all, fields, nullptr);
    EXPECT_EQ(s.At(0, 1), RGB(255, 0, 0));
    EXPECT_EQ(s.At(0, 0), RGB(0, 0, 255));
    DestroyDIB(fields);
}

struct HostileCase
{
    const char* name;
    void (*spoil)(std::vector<BYTE>& file);
};

class HostileFile : public ::testing::TestWithParam<HostileCase>
{
};

TEST_P(HostileFile, IsRefused)
{
    TempPath path("hostile.bmp");
    std::vector<BYTE> file = ValidFile(path);
    GetParam().spoil(file);
    WriteBytes(path.c_str(), file);
    EXPECT_EQ(LoadDIB(path.c_str()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    DibFile, HostileFile,
    ::testing::
        Values(
            HostileCase{"Empty", [](std::vector<BYTE>& f) { f.clear(); }},
            HostileCase{"ShorterThanHeaders", [](std::vector<BYTE>& f) { f.resize(53); }},
            HostileCase{"NotBM", [](std::vector<BYTE>& f) { f[0] = 'X'; }},
            HostileCase{"CoreHeader", [](std::vector<BYTE>& f) { SetField<DWORD>(f, 14, 12); }},
            HostileCase{"HugeHeader",
                        [](std::vector<BYTE>& f) { SetField<DWORD>(f, 14, 0x7FFFFFFF); }},
            HostileCase{"TruncatedBits", [](std::vector<BYTE>& f) { f.resize(f.size() - 1); }},
            HostileCase{"TruncatedTable", [](std::vector<BYTE>& f) { f.resize(14 + 40 + 100); }},
            HostileCase{"HugeWidth",
                        [](std::vector<BYTE>& f) { SetField<LONG>(f, 18, 0x7FFFFFFF); }},
            HostileCase{"HugeHeight",
                        [](std::vector<BYTE>& f) { SetField<LONG>(f, 22, 0x40000000); }},
            HostileCase{"MostNegativeHeight",
                        [](std::vector<BYTE>& f) { SetField<LONG>(f, 22, LONG(0x80000000)); }},
            HostileCase{"ZeroWidth", [](std::vector<BYTE>& f) { SetField<LONG>(f, 18, 0); }},
            HostileCase{"BadBitCount", [](std::vector<BYTE>& f) { SetField<WORD>(f, 28, 7); }},
            HostileCase{"TooManyColours",
                        [](std::vector<BYTE>& f) { SetField<DWORD>(f, 46, 100000); }},
            HostileCase{"SmallImageSize", [](std::vector<BYTE>& f) { SetField<DWORD>(f, 34, 3); }},
            HostileCase{"OffsetPastEnd",
                        [](std::vector<BYTE>& f) { SetField<DWORD>(f, 10, 0xFFFFFF00); }},
            HostileCase{"OffsetInsideTable",
                        [](std::vector<BYTE>& f) { SetField<DWORD>(f, 10, 60); }},
            HostileCase{
                "RleWithoutSize",
                [](std::vector<BYTE>& f)
                {
                    SetField<DWORD>(f, 30, BI_RLE8);
                    SetField<DWORD>(f, 34, 0);
                }},
            HostileCase{"UnknownCompression",
                        [](std::vector<BYTE>& f) { SetField<DWORD>(f, 30, 9); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DibFile, ReadDibFileRefusesBadHandles)
{
    EXPECT_EQ(ReadDIBFile(INVALID_HANDLE_VALUE), nullptr);
    EXPECT_EQ(ReadDIBFile(nullptr), nullptr);
    EXPECT_EQ(LoadDIB("/nonexistent-folder/none.bmp"), nullptr);
}

TEST(DibFile, CFileFormsWriteAndReadTheSameBytes)
{
    TempPath byPath("bypath.bmp");
    TempPath byFile("byfile.bmp");
    HDIB hdib = MakeIndexedDib(6, 4);
    ASSERT_EQ(SaveDIB(hdib, byPath.c_str()), 0);
    {
        CFile file(byFile.c_str(), CFile::modeCreate | CFile::modeWrite);
        EXPECT_TRUE(SaveDIB(hdib, file));
    }
    EXPECT_EQ(ReadBytes(byFile.c_str()), ReadBytes(byPath.c_str()));
    {
        CFile file(byFile.c_str(), CFile::modeRead);
        HDIB loaded = ReadDIBFile(file);
        ASSERT_NE(loaded, nullptr);
        EXPECT_TRUE(SameDib(hdib, loaded));
        DestroyDIB(loaded);
    }
    // A short file is refused through the CFile form too.
    std::vector<BYTE> bytes = ReadBytes(byPath.c_str());
    bytes.resize(bytes.size() - 10);
    WriteBytes(byFile.c_str(), bytes);
    {
        CFile file(byFile.c_str(), CFile::modeRead);
        EXPECT_EQ(ReadDIBFile(file), nullptr);
    }
    // A write error reaches the caller, and the block is unlocked.
    {
        CFile file(byFile.c_str(), CFile::modeRead);
        bool thrown = false;
        try
        {
            SaveDIB(hdib, file);
        }
        catch (CFileException* e)
        {
            thrown = true;
            e->Delete();
        }
        EXPECT_TRUE(thrown);
        EXPECT_FALSE(GlobalUnlock(hdib));
    }
    DestroyDIB(hdib);
}
