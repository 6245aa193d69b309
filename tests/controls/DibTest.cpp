// CDib: bitmap files written by an independent writer (ImageMagick) read at
// every bit count, bottom-up and top-down; truncated and hostile files
// refused; the file, handle and archive forms round trip; painting.
#include "Dib.h"

#include "DibTestHelpers.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace
{
using Bytes = std::vector<BYTE>;

bool HasImageMagick()
{
    return std::system("command -v convert > /dev/null 2>&1") == 0;
}

// Runs a shell command and returns what it printed; empty when it failed.
Bytes RunCommand(const std::string& command)
{
    Bytes output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    std::array<char, 4096> chunk{};
    std::size_t read = 0;
    while ((read = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        output.insert(output.end(), chunk.begin(), chunk.begin() + std::ptrdiff_t(read));
    return pclose(pipe) == 0 ? output : Bytes();
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

template <typename T> T Field(const Bytes& bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

template <typename T> void SetField(Bytes& bytes, std::size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

// The same bitmap file with its rows stored top-down: the height negated and
// the rows in the opposite order.
Bytes TurnTopDown(const Bytes& file)
{
    Bytes turned = file;
    const DWORD offBits = Field<DWORD>(file, 10);
    const LONG width = Field<LONG>(file, 18);
    const LONG height = Field<LONG>(file, 22);
    const WORD bitCount = Field<WORD>(file, 28);
    const std::size_t stride = ((std::size_t(width) * bitCount + 31) / 32) * 4;
    SetField<LONG>(turned, 22, -height);
    for (LONG row = 0; row < height; ++row)
        std::memcpy(turned.data() + offBits + std::size_t(row) * stride,
                    file.data() + offBits + std::size_t(height - 1 - row) * stride, stride);
    return turned;
}

DWORD ReadDib(CDib& dib, const Bytes& file)
{
    CMemFile memory(const_cast<BYTE*>(file.data()), UINT(file.size()));
    return dib.Read(memory);
}

// The picture painted 1:1 onto a white surface, one COLORREF per pixel.
std::vector<COLORREF> Painted(const CDib& dib)
{
    const int width = int(dib.Width());
    const int height = int(dib.Height());
    MemorySurface surface(width, height);
    RECT all{0, 0, width, height};
    EXPECT_EQ(dib.Paint(surface.Dc(), &all, &all), height);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(surface.At(x, y));
    return pixels;
}

// ImageMagick's own reading of a file: one COLORREF per pixel, rows from the
// top.
std::vector<COLORREF> ImageMagickPixels(const std::string& path)
{
    const Bytes rgb = RunCommand("convert '" + path + "' -depth 8 rgb:- 2> /dev/null");
    std::vector<COLORREF> pixels;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        pixels.push_back(RGB(rgb[i], rgb[i + 1], rgb[i + 2]));
    return pixels;
}

struct WriterCase
{
    const char* pszName;
    const char* pszOptions; // ImageMagick options and output format
    int nBitCount;
    DWORD dwCompression;
    DWORD dwHeaderSize; // as stored in the file
};

void PrintTo(const WriterCase& c, std::ostream* os)
{
    *os << c.pszName;
}

class ImageMagickFile : public ::testing::TestWithParam<WriterCase>
{
};

TEST_P(ImageMagickFile, ReadsBottomUpAndTopDown)
{
    if (!HasImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const WriterCase& c = GetParam();
    TempPath path("magick.bmp");
    TempPath turnedPath("magick-topdown.bmp");
    // 13 x 7: odd row lengths, 91 distinct colours before reduction.
    const std::string make = std::string("convert -size 13x7 xc: -channel R -fx 'i/w' ") +
                             "-channel G -fx 'j/h' -channel B -fx '(i+j)/(w+h)' +channel " +
                             c.pszOptions + ":'" + path.c_str() + "' 2> /dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const Bytes file = ReadBytes(path.c_str());
    ASSERT_GT(file.size(), 54u);
    ASSERT_EQ(Field<DWORD>(file, 14), c.dwHeaderSize);
    const std::vector<COLORREF> expected = ImageMagickPixels(path.c_str());
    ASSERT_EQ(expected.size(), 13u * 7u);

    std::vector<Bytes> forms{file};
    if (c.dwCompression != BI_RLE8 && c.dwHeaderSize != sizeof(BITMAPCOREHEADER))
    {
        forms.push_back(TurnTopDown(file));
        WriteBytes(turnedPath.c_str(), forms.back());
        // The turned file is the same picture to ImageMagick too.
        ASSERT_EQ(ImageMagickPixels(turnedPath.c_str()), expected);
    }
    for (const Bytes& form : forms)
    {
        CDib dib;
        EXPECT_EQ(ReadDib(dib, form), form.size());
        ASSERT_TRUE(dib.IsValid());
        EXPECT_EQ(dib.Width(), 13u);
        EXPECT_EQ(dib.Height(), 7u);
        EXPECT_EQ(dib.BitCount(), c.nBitCount);
        EXPECT_EQ(Painted(dib), expected);
        EXPECT_EQ(dib.GetPalette() != nullptr, c.nBitCount <= 8);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writer, ImageMagickFile,
    ::testing::Values(
        WriterCase{"bilevel_v3", "-type bilevel BMP3", 1, BI_RGB, 40},
        WriterCase{"palette16_v3", "+dither -colors 12 -type palette BMP3", 4, BI_RGB, 40},
        WriterCase{"palette256_v3", "+dither -colors 91 -type palette -compress none BMP3", 8,
                   BI_RGB, 40},
        WriterCase{"rle8_v3", "+dither -colors 91 -type palette -compress RLE BMP3", 8, BI_RLE8,
                   40},
        WriterCase{"truecolor_v3", "-type truecolor BMP3", 24, BI_RGB, 40},
        WriterCase{"alpha_v3", "-alpha opaque -define bmp3:alpha=true -type truecoloralpha BMP3",
                   32, BI_RGB, 40},
        WriterCase{"bilevel_v5", "-type bilevel BMP", 1, BI_RGB, 108},
        WriterCase{"palette16_v5", "+dither -colors 12 -type palette BMP", 4, BI_RGB, 124},
        WriterCase{"palette256_v5", "+dither -colors 91 -type palette -compress none BMP", 8,
                   BI_RGB, 124},
        WriterCase{"truecolor_v5", "-type truecolor BMP", 24, BI_RGB, 124},
        WriterCase{"bitfields_v5", "-alpha opaque -type truecoloralpha BMP", 32, BI_BITFIELDS, 124},
        WriterCase{"palette256_core", "+dither -colors 91 -type palette -compress none BMP2", 8,
                   BI_RGB, 12},
        WriterCase{"truecolor_core", "-type truecolor BMP2", 24, BI_RGB, 12}),
    [](const ::testing::TestParamInfo<WriterCase>& info) { return info.param.pszName; });

// A valid 8-bit file of 5 x 3 pixels, as SaveDIB writes it.
Bytes ValidFile()
{
    TempPath path("valid.bmp");
    HDIB hdib = MakeIndexedDib(5, 3);
    EXPECT_EQ(SaveDIB(hdib, path.c_str()), 0);
    DestroyDIB(hdib);
    return ReadBytes(path.c_str());
}

struct HostileCase
{
    const char* pszName;
    std::function<void(Bytes&)> spoil;
};

void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << c.pszName;
}

class HostileDibFile : public ::testing::TestWithParam<HostileCase>
{
};

TEST_P(HostileDibFile, IsRefusedAndLeavesTheDibEmpty)
{
    Bytes file = ValidFile();
    ASSERT_EQ(file.size(), 54u + 1024u + 24u);
    CDib dib;
    ASSERT_EQ(ReadDib(dib, file), file.size());
    GetParam().spoil(file);
    EXPECT_EQ(ReadDib(dib, file), 0u);
    EXPECT_FALSE(dib.IsValid());
    EXPECT_EQ(dib.Width(), 0u);
    EXPECT_EQ(dib.NumColors(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Spoiled, HostileDibFile,
    ::testing::Values(
        HostileCase{"empty", [](Bytes& f) { f.clear(); }},
        HostileCase{"cut_in_file_header", [](Bytes& f) { f.resize(10); }},
        HostileCase{"cut_in_info_header", [](Bytes& f) { f.resize(30); }},
        HostileCase{"cut_in_colour_table", [](Bytes& f) { f.resize(600); }},
        HostileCase{"cut_in_rows", [](Bytes& f) { f.resize(f.size() - 1); }},
        HostileCase{"not_bm", [](Bytes& f) { f[0] = 'X'; }},
        HostileCase{"header_size_zero", [](Bytes& f) { SetField<DWORD>(f, 14, 0); }},
        HostileCase{"header_size_huge", [](Bytes& f) { SetField<DWORD>(f, 14, 0x7FFFFFF0); }},
        HostileCase{"width_zero", [](Bytes& f) { SetField<LONG>(f, 18, 0); }},
        HostileCase{"width_negative", [](Bytes& f) { SetField<LONG>(f, 18, -5); }},
        HostileCase{"width_huge", [](Bytes& f) { SetField<LONG>(f, 18, 0x7FFFFFFF); }},
        HostileCase{"height_zero", [](Bytes& f) { SetField<LONG>(f, 22, 0); }},
        HostileCase{"height_huge", [](Bytes& f) { SetField<LONG>(f, 22, 1 << 20); }},
        HostileCase{"height_most_negative", [](Bytes& f) { SetField<LONG>(f, 22, LONG(INT32_MIN)); }},
        HostileCase{"bit_count_three", [](Bytes& f) { SetField<WORD>(f, 28, 3); }},
        HostileCase{"unknown_compression", [](Bytes& f) { SetField<DWORD>(f, 30, 9); }},
        HostileCase{"colours_used_huge", [](Bytes& f) { SetField<DWORD>(f, 46, 0x40000000); }},
        HostileCase{"bits_offset_past_end", [](Bytes& f) { SetField<DWORD>(f, 10, 0xFFFFFF00); }},
        HostileCase{"bits_offset_in_header", [](Bytes& f) { SetField<DWORD>(f, 10, 20); }},
        HostileCase{"rle_without_size",
                    [](Bytes& f)
                    {
                        SetField<DWORD>(f, 30, BI_RLE8);
                        SetField<DWORD>(f, 34, 0);
                    }},
        HostileCase{"rle_size_past_end",
                    [](Bytes& f)
                    {
                        SetField<DWORD>(f, 30, BI_RLE8);
                        SetField<DWORD>(f, 34, 0x7FFFFFFF);
                    }}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.pszName; });

// Header, table and bits as a bitmap file holds them after its file header.
Bytes DibPart(const Bytes& file)
{
    return Bytes(file.begin() + 14, file.end());
}

TEST(Dib, SaveWritesWhatReadReadBack)
{
    const Bytes file = ValidFile();
    CDib dib;
    ASSERT_EQ(ReadDib(dib, file), file.size());
    EXPECT_EQ(dib.NumColors(), 256);
    ASSERT_NE(dib.GetPalette(), nullptr);
    EXPECT_EQ(dib.GetPalette()->GetEntryCount(), 256);
    PALETTEENTRY entry{};
    dib.GetPalette()->GetPaletteEntries(200, 1, &entry);
    EXPECT_EQ(RGB(entry.peRed, entry.peGreen, entry.peBlue), RGB(200, 55, 100));

    CMemFile memory;
    const DWORD written = dib.Save(memory);
    EXPECT_EQ(written, 54u + 1024u + 24u);
    ASSERT_EQ(memory.GetLength(), written);
    memory.SeekToBegin();
    Bytes saved(written);
    memory.Read(saved.data(), written);
    // The reader records the table's entry count; everything else is the
    // file SaveDIB wrote.
    Bytes expected = file;
    SetField<DWORD>(expected, 46, 256);
    EXPECT_EQ(DibPart(saved), DibPart(expected));
    EXPECT_EQ(Field<DWORD>(saved, 2), written);
    EXPECT_EQ(Field<DWORD>(saved, 10), 54u + 1024u);

    memory.SeekToBegin();
    CDib again;
    EXPECT_EQ(again.Read(memory), written);
    EXPECT_EQ(Painted(again), Painted(dib));
}

TEST(Dib, EmptyDibSavesAndPaintsNothing)
{
    CDib dib;
    CMemFile memory;
    EXPECT_EQ(dib.Save(memory), 0u);
    EXPECT_EQ(memory.GetLength(), 0u);
    EXPECT_EQ(dib.CopyToHandle(), nullptr);
    MemorySurface surface(4, 4);
    RECT all{0, 0, 4, 4};
    EXPECT_EQ(dib.Paint(surface.Dc(), &all, &all), 0);
    EXPECT_EQ(dib.Width(), 0u);
    EXPECT_EQ(dib.BitCount(), 0);
}

TEST(Dib, HandleFormHoldsTheWholeFileAndStaysTheCallers)
{
    const Bytes file = ValidFile();
    CDib dib;
    ASSERT_NE(ReadDib(dib, file), 0u);
    HGLOBAL handle = dib.CopyToHandle();
    ASSERT_NE(handle, nullptr);
    ASSERT_GE(GlobalSize(handle), 54u + 1024u + 24u);
    const BYTE* bytes = static_cast<const BYTE*>(GlobalLock(handle));
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    GlobalUnlock(handle);

    CDib copy;
    EXPECT_EQ(copy.ReadFromHandle(handle), 54u + 1024u + 24u);
    EXPECT_EQ(Painted(copy), Painted(dib));
    // The block is still there for its owner.
    EXPECT_NE(GlobalLock(handle), nullptr);
    GlobalUnlock(handle);
    EXPECT_EQ(GlobalFree(handle), nullptr);

    HGLOBAL junk = GlobalAlloc(GHND, 8);
    EXPECT_EQ(copy.ReadFromHandle(junk), 0u);
    EXPECT_FALSE(copy.IsValid());
    GlobalFree(junk);
}

TEST(Dib, ArchivesCarryTheDibAmongOtherValues)
{
    const Bytes file = ValidFile();
    CDib dib;
    ASSERT_NE(ReadDib(dib, file), 0u);
    CMemFile memory;
    {
        CArchive store(&memory, CArchive::store);
        store << DWORD(0xA5A5A5A5);
        dib.Serialize(store);
        store << DWORD(0x5A5A5A5A);
    }
    memory.SeekToBegin();
    CArchive load(&memory, CArchive::load);
    DWORD before = 0;
    DWORD after = 0;
    CDib loaded;
    load >> before;
    loaded.Serialize(load);
    load >> after;
    EXPECT_EQ(before, 0xA5A5A5A5u);
    EXPECT_EQ(after, 0x5A5A5A5Au);
    ASSERT_TRUE(loaded.IsValid());
    EXPECT_EQ(Painted(loaded), Painted(dib));
}

TEST(Dib, PaintsAPartOneToOneAndStretches)
{
    const Bytes file = ValidFile();
    CDib dib;
    ASSERT_NE(ReadDib(dib, file), 0u);
    MemorySurface surface(20, 20);
    // Source columns 1..3 and rows 1..2 (from the top) at (10, 10).
    RECT src{1, 1, 4, 3};
    RECT dst{10, 10, 13, 12};
    EXPECT_NE(dib.Paint(surface.Dc(), &dst, &src), 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(surface.At(10 + x, 10 + y), IndexedColor(1 + x, 1 + y)) << x << "," << y;
    EXPECT_EQ(surface.At(9, 10), RGB(255, 255, 255));
    EXPECT_EQ(surface.At(13, 11), RGB(255, 255, 255));

    // Twice the size: each source pixel covers two by two.
    RECT all{0, 0, 5, 3};
    RECT twice{0, 0, 10, 6};
    EXPECT_NE(dib.Paint(surface.Dc(), &twice, &all), 0);
    EXPECT_EQ(surface.At(0, 0), IndexedColor(0, 0));
    EXPECT_EQ(surface.At(9, 5), IndexedColor(4, 2));
    EXPECT_EQ(surface.At(5, 3), IndexedColor(2, 1));
}
} // namespace
