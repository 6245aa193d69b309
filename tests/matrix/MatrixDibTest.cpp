// Packed DIBs and bitmaps made from matrices and matrices made from them,
// and the bitmap file of a colour matrix.
#include "MatrixTestSupport.h"

#include "WinGlobalMemory.h"

#include <fstream>
#include <memory>

using namespace matrixtest;

namespace
{

// A locked view of a packed DIB that frees it at the end.
class CDibView
{
public:
    explicit CDibView(void* dib) : m_hDib(dib)
    {
        if (dib != nullptr)
            m_pBytes = static_cast<std::uint8_t*>(GlobalLock(dib));
    }
    ~CDibView()
    {
        if (m_hDib != nullptr)
        {
            GlobalUnlock(m_hDib);
            GlobalFree(m_hDib);
        }
    }
    CDibView(const CDibView&) = delete;
    CDibView& operator=(const CDibView&) = delete;

    bool IsValid() const { return m_pBytes != nullptr; }
    const BITMAPINFOHEADER& Header() const
    {
        return *reinterpret_cast<const BITMAPINFOHEADER*>(m_pBytes);
    }
    const RGBQUAD* Palette() const
    {
        return reinterpret_cast<const RGBQUAD*>(m_pBytes + sizeof(BITMAPINFOHEADER));
    }
    const std::uint8_t* Bits() const
    {
        return m_pBytes + sizeof(BITMAPINFOHEADER) + (Header().biBitCount == 8 ? 1024 : 0);
    }
    std::size_t Size() const { return GlobalSize(m_hDib); }

private:
    void* m_hDib;
    std::uint8_t* m_pBytes = nullptr;
};

// A packed DIB block of exactly the bytes given.
void* MakeBlock(const std::vector<std::uint8_t>& bytes)
{
    void* block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

// Header, table and bits of a width x height DIB at bitCount bits, rows as
// given (bottom-up unless height is negative).
std::vector<std::uint8_t> DibBytes(int width, int height, int bitCount, int colorsUsed,
                                   const std::vector<std::uint8_t>& bits)
{
    BITMAPINFOHEADER header{};
    header.biSize = 40;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = WORD(bitCount);
    header.biClrUsed = DWORD(colorsUsed);
    const int colours = colorsUsed != 0 ? colorsUsed : (bitCount <= 8 ? 1 << bitCount : 0);
    std::vector<std::uint8_t> bytes(sizeof header + std::size_t(colours) * 4);
    std::memcpy(bytes.data(), &header, sizeof header);
    bytes.insert(bytes.end(), bits.begin(), bits.end());
    return bytes;
}

TEST(MatrixDib8, ThreeByTwoIsBottomUpWithAGreyTable)
{
    const MetaMatrix8 matrix = Make8(2, 3, {1, 2, 3, 4, 5, 6});
    CDibView dib(matrix.CreateDIB());
    ASSERT_TRUE(dib.IsValid());
    EXPECT_EQ(dib.Size(), 40U + 1024U + 4U * 2U);
    const BITMAPINFOHEADER& header = dib.Header();
    EXPECT_EQ(header.biSize, 40U);
    EXPECT_EQ(header.biWidth, 3);
    EXPECT_EQ(header.biHeight, 2);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_EQ(header.biCompression, DWORD(BI_RGB));
    EXPECT_EQ(header.biSizeImage, 0U);
    EXPECT_EQ(header.biXPelsPerMeter, 1);
    EXPECT_EQ(header.biClrUsed, 0U);
    EXPECT_EQ(dib.Palette()[200].rgbRed, 200);
    EXPECT_EQ(dib.Palette()[200].rgbBlue, 200);
    EXPECT_EQ(dib.Palette()[200].rgbReserved, 0);
    const std::vector<std::uint8_t> bits(dib.Bits(), dib.Bits() + 8);
    EXPECT_EQ(bits, (std::vector<std::uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
}

TEST(MatrixDib8, GivenTableIsUsed)
{
    std::vector<RGBQUAD> table(256, RGBQUAD{1, 2, 3, 0});
    const MetaMatrix8 matrix = Make8(1, 1, {9});
    CDibView dib(matrix.CreateDIB(table.data()));
    ASSERT_TRUE(dib.IsValid());
    EXPECT_EQ(dib.Palette()[9].rgbGreen, 2);
    EXPECT_EQ(MetaMatrix8().CreateDIB(), nullptr);
}

struct ShiftCase
{
    int max;
    bool made;
    int shift;
};

void PrintTo(const ShiftCase& c, std::ostream* out)
{
    *out << "max " << c.max;
}

class MatrixDib16 : public ::testing::TestWithParam<ShiftCase>
{
};

TEST_P(MatrixDib16, ShiftsTheLargestSampleIntoEightBits)
{
    const ShiftCase& c = GetParam();
    MetaMatrix16 matrix = Make16(1, 2, {std::uint16_t(c.max), 0x1234});
    matrix.GetData()->nMax = c.max;
    CDibView dib(matrix.CreateDIB());
    ASSERT_EQ(dib.IsValid(), c.made);
    if (!c.made)
        return;
    EXPECT_EQ(dib.Header().biBitCount, 8);
    EXPECT_EQ(dib.Bits()[0], std::uint8_t(c.max >> c.shift));
    EXPECT_EQ(dib.Bits()[1], std::uint8_t(0x1234 >> c.shift));
}

INSTANTIATE_TEST_SUITE_P(Maxima, MatrixDib16,
                         ::testing::Values(ShiftCase{4095, true, 4}, ShiftCase{256, true, 1},
                                           ShiftCase{65534, true, 8}, ShiftCase{255, false, 0},
                                           ShiftCase{0, false, 0}, ShiftCase{65535, false, 0}));

TEST(MatrixDibRgb, FirstDibTurnsTheSharedBufferIntoBlueGreenRed)
{
    MetaMatrixRGB matrix = MakeRgb(1, 2);
    const MetaMatrixRGB sharer(matrix);
    CDibView dib(matrix.CreateDIB());
    ASSERT_TRUE(dib.IsValid());
    EXPECT_EQ(dib.Size(), 40U + 8U);
    EXPECT_EQ(dib.Header().biBitCount, 24);
    EXPECT_TRUE(matrix.IsConvertedToBGR());
    EXPECT_TRUE(sharer.IsConvertedToBGR());
    // Pixel (1, 0) holds R 1, G 0, B 1; pixel (0, 0) R 0, G 0, B 0.
    const std::vector<std::uint8_t> expected{0, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(dib.Bits(), dib.Bits() + 8), expected);
    CDibView again(matrix.CreateDIB(nullptr));
    EXPECT_TRUE(matrix.IsConvertedToBGR());
    EXPECT_EQ(std::vector<std::uint8_t>(again.Bits(), again.Bits() + 8), expected);
}

TEST(MatrixDibRgb, TwoRGB2BGRsRestoreTheOrder)
{
    MetaMatrixRGB matrix = MakeRgb(2, 2);
    matrix.RGB2BGR();
    EXPECT_EQ(matrix.GetPixelValue(1, 1), 2 | 1 << 8 | 1 << 16);
    matrix.RGB2BGR();
    EXPECT_FALSE(matrix.IsConvertedToBGR());
    EXPECT_EQ(Bytes(matrix), Bytes(MakeRgb(2, 2)));
}

TEST(MatrixDibBinary, BitsBecomeBlackAndWhite)
{
    MetaMatrix8 source = Make8(1, 2, {0, 200});
    MetaMatrixBinary binary;
    binary.FromMetaMatrix8(&source);
    CDibView dib(binary.CreateDIB());
    ASSERT_TRUE(dib.IsValid());
    EXPECT_EQ(dib.Bits()[0], 0);
    EXPECT_EQ(dib.Bits()[1], 255);
}

TEST(MatrixFromDib, EightBitRoundTrip)
{
    const MetaMatrix8 source = Make8(3, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    void* dib = source.CreateDIB();
    MetaMatrix8 matrix;
    EXPECT_TRUE(matrix.FromDIB(dib));
    EXPECT_EQ(Bytes(matrix), Bytes(source));
    EXPECT_EQ(matrix.GetData()->nMax, 255);
    MetaMatrixBinary binary;
    EXPECT_TRUE(binary.FromDIB(dib));
    EXPECT_EQ(binary.GetPixelValue(4, 2), 0);
    EXPECT_FALSE(MetaMatrix16().FromDIB(dib));
    GlobalFree(dib);
}

TEST(MatrixFromDib, ColourComesOutRedGreenBlue)
{
    // One row of two pixels, stored B, G, R, padded to 8 bytes.
    void* dib = MakeBlock(DibBytes(2, 1, 24, 0, {10, 20, 30, 40, 50, 60, 0, 0}));
    MetaMatrixRGB colour;
    ASSERT_TRUE(colour.FromDIB(dib));
    EXPECT_FALSE(colour.IsConvertedToBGR());
    EXPECT_EQ(Bytes(colour), (std::vector<std::uint8_t>{30, 20, 10, 60, 50, 40}));
    EXPECT_EQ(colour.GetData()->nSamplesPerPixel, 3);
    MetaMatrix8 bytes;
    EXPECT_FALSE(bytes.FromDIB(dib));
    GlobalFree(dib);
}

TEST(MatrixFromDib, TopDownRowsAreRead)
{
    void* dib = MakeBlock(DibBytes(1, -2, 8, 0, {1, 0, 0, 0, 2, 0, 0, 0}));
    MetaMatrix8 matrix;
    ASSERT_TRUE(matrix.FromDIB(dib));
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{1, 2}));
    GlobalFree(dib);
}

struct BadDibCase
{
    const char* name;
    std::vector<std::uint8_t> bytes;
};

void PrintTo(const BadDibCase& c, std::ostream* out)
{
    *out << c.name;
}

std::vector<std::uint8_t> WithField(std::vector<std::uint8_t> bytes, std::size_t offset,
                                    std::uint32_t value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
    return bytes;
}

const std::vector<std::uint8_t> kGoodDib = DibBytes(2, 2, 8, 0, std::vector<std::uint8_t>(8, 7));

class MatrixFromBadDib : public ::testing::TestWithParam<BadDibCase>
{
};

TEST_P(MatrixFromBadDib, IsRefusedAndLeavesTheMatrix)
{
    void* dib = MakeBlock(GetParam().bytes);
    MetaMatrix8 matrix = Make8(1, 1, {42});
    EXPECT_FALSE(matrix.FromDIB(dib));
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{42}));
    GlobalFree(dib);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, MatrixFromBadDib,
    ::testing::Values(
        BadDibCase{"RowsCutShort", std::vector<std::uint8_t>(kGoodDib.begin(), kGoodDib.end() - 1)},
        BadDibCase{"TableCutShort",
                   std::vector<std::uint8_t>(kGoodDib.begin(), kGoodDib.begin() + 600)},
        BadDibCase{"HeaderCutShort",
                   std::vector<std::uint8_t>(kGoodDib.begin(), kGoodDib.begin() + 20)},
        BadDibCase{"HugeHeight", WithField(kGoodDib, 8, 0x7FFFFFFF)},
        BadDibCase{"HugeWidth", WithField(kGoodDib, 4, 0x40000000)},
        BadDibCase{"ZeroWidth", WithField(kGoodDib, 4, 0)},
        BadDibCase{"OddHeaderSize", WithField(kGoodDib, 0, 20)},
        BadDibCase{"HeaderLargerThanBlock", WithField(kGoodDib, 0, 0x7FFFFFF0)},
        BadDibCase{"RunLengthCoded", WithField(kGoodDib, 16, BI_RLE8)},
        BadDibCase{"SixteenColours", WithField(kGoodDib, 32, 16)},
        BadDibCase{"HugeColourTable", WithField(kGoodDib, 32, 0xFFFFFFFF)}),
    [](const ::testing::TestParamInfo<BadDibCase>& info) { return info.param.name; });

TEST(MatrixFromDib, NullHandleIsRefused)
{
    MetaMatrix8 matrix;
    MetaMatrixRGB colour;
    EXPECT_FALSE(matrix.FromDIB(nullptr));
    EXPECT_FALSE(colour.FromDIB(nullptr));
    EXPECT_FALSE(MetaMatrixBinary().FromDIB(nullptr));
}

// The grey of each pixel of a screen bitmap, read back at 24 bits.
std::vector<int> BitmapGreys(HBITMAP bitmap, int width, int height)
{
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 1024);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = 40;
    header->biWidth = width;
    header->biHeight = -height;
    header->biPlanes = 1;
    header->biBitCount = 24;
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> bits(std::size_t(stride * height));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, UINT(height), bits.data(),
              reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    std::vector<int> greys;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            greys.push_back(bits[std::size_t(y * stride + x * 3 + 1)]);
    return greys;
}

TEST(MatrixBitmap, EightBitMatrixMakesAGreyScreenBitmap)
{
    const MetaMatrix8 matrix = Make8(2, 3, {0, 50, 100, 150, 200, 250});
    HBITMAP bitmap = matrix.CreateBitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(BitmapGreys(bitmap, 3, 2), (std::vector<int>{0, 50, 100, 150, 200, 250}));
    DeleteObject(bitmap);
    EXPECT_EQ(Make16(1, 1, {1}).CreateBitmap(), nullptr);
    EXPECT_EQ(MetaMatrix8().CreateBitmap(), nullptr);
}

TEST(MatrixBitmap, ColourRoundTripThroughAScreenBitmap)
{
    MetaMatrixRGB source = MakeRgb(3, 5);
    HBITMAP bitmap = source.CreateBitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(source.IsConvertedToBGR());
    MetaMatrixRGB copy;
    ASSERT_TRUE(copy.FromBitmap(bitmap));
    EXPECT_FALSE(copy.IsConvertedToBGR());
    EXPECT_EQ(Bytes(copy), Bytes(MakeRgb(3, 5)));
    // A true-colour bitmap has no 256-colour table for an 8-bit matrix.
    MetaMatrix8 bytes;
    EXPECT_FALSE(bytes.FromBitmap(bitmap));
    EXPECT_FALSE(Make16(1, 1, {1}).FromBitmap(bitmap));
    DeleteObject(bitmap);
    EXPECT_FALSE(copy.FromBitmap(nullptr));
}

TEST(MatrixBitmap, EightBitMatrixReadsAPaletteBitmap)
{
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 1024);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = 40;
    header->biWidth = 4;
    header->biHeight = 1;
    header->biPlanes = 1;
    header->biBitCount = 8;
    auto* table = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    const std::uint8_t samples[4] = {3, 90, 180, 255};
    std::memcpy(bits, samples, 4);
    MetaMatrix8 matrix;
    ASSERT_TRUE(matrix.FromBitmap(bitmap));
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{3, 90, 180, 255}));
    MetaMatrixBinary binary;
    ASSERT_TRUE(binary.FromBitmap(bitmap));
    EXPECT_EQ(binary.GetPixelValue(1, 0), 0);
    EXPECT_NE(binary.GetPixelValue(2, 0), 0);
    DeleteObject(bitmap);
}

TEST(MatrixWindowsBitmap, WritesABottomUpTwentyFourBitFile)
{
    CTempFolder folder;
    const std::string path = folder.File("colour.bmp");
    const MetaMatrixRGB matrix = MakeRgb(2, 3);
    ASSERT_TRUE(matrix.SaveAsWindowsBitmap(path.c_str()));
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
    ASSERT_EQ(file.size(), 54U + 12U * 2U);
    BITMAPFILEHEADER fileHeader;
    std::memcpy(&fileHeader, file.data(), sizeof fileHeader);
    // Copies: the packed fields cannot bind to references.
    const WORD type = fileHeader.bfType;
    const DWORD size = fileHeader.bfSize;
    const DWORD offBits = fileHeader.bfOffBits;
    EXPECT_EQ(type, 0x4D42);
    EXPECT_EQ(size, 54U + 24U);
    EXPECT_EQ(offBits, 54U);
    BITMAPINFOHEADER header;
    std::memcpy(&header, file.data() + 14, sizeof header);
    EXPECT_EQ(header.biWidth, 3);
    EXPECT_EQ(header.biHeight, 2);
    EXPECT_EQ(header.biBitCount, 24);
    // The first stored row is the bottom row, bytes as they stand: x, 1, x + 1.
    const std::vector<std::uint8_t> firstRow(file.begin() + 54, file.begin() + 66);
    EXPECT_EQ(firstRow, (std::vector<std::uint8_t>{0, 1, 1, 1, 1, 2, 2, 1, 3, 0, 0, 0}));
}

TEST(MatrixWindowsBitmap, ReportsAFileThatCannotBeWritten)
{
    CTempFolder folder;
    const MetaMatrixRGB matrix = MakeRgb(1, 1);
    EXPECT_FALSE(matrix.SaveAsWindowsBitmap(folder.File("no/folder/x.bmp").c_str()));
    EXPECT_FALSE(MetaMatrixRGB().SaveAsWindowsBitmap(folder.File("empty.bmp").c_str()));
    // /dev/full takes the open but no write.
    if (std::filesystem::exists("/dev/full"))
    {
        EXPECT_FALSE(matrix.SaveAsWindowsBitmap("/dev/full"));
    }
}

} // namespace
