// DIBHolder: shared DIBs by count, the sizes taken from the header, the
// failures of attaching, and the bitmap and JPEG files.
#include "DIBHolder.h"
#include "LogCapture.h"
#include "WinGlobalMemory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

// A packed DIB of the header alone plus room for its colours and rows.
HDIB MakeDIB(LONG width, LONG height, WORD bits, DWORD sizeImage, DWORD colours)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biSizeImage = sizeImage;
    header.biClrUsed = colours;
    const std::size_t rows =
        std::size_t((bits * width + 31) / 32 * 4) * std::size_t(std::abs(height));
    HGLOBAL block = GlobalAlloc(GHND, sizeof header + 4 * 256 + rows);
    std::memcpy(GlobalLock(block), &header, sizeof header);
    GlobalUnlock(block);
    return block;
}

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / name).string();
}

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

} // namespace

TEST(DIBHolder, CopyingAnEmptyHolderTouchesNoCount)
{
    DIBHolder empty;
    DIBHolder copy(empty);
    DIBHolder assigned;
    assigned = empty;
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_TRUE(assigned.IsEmpty());
    EXPECT_EQ(empty.GetRefCount(), -1);
    EXPECT_EQ(copy.GetTotalSize(), 0u);
}

TEST(DIBHolder, HoldersShareOneDIBAndTheLastOneDestroysIt)
{
    HDIB dib = MakeDIB(5, 3, 8, 0, 0);
    auto* first = new DIBHolder;
    first->AttachDIB(dib);
    EXPECT_EQ(first->GetRefCount(), 1);
    DIBHolder second(*first);
    DIBHolder third;
    third = second;
    EXPECT_EQ(first->GetRefCount(), 3);
    EXPECT_EQ(third.GetDIB(), dib);
    third = *first; // the same DIB: nothing changes
    EXPECT_EQ(first->GetRefCount(), 3);
    delete first;
    second.Release();
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_EQ(third.GetRefCount(), 1);
    EXPECT_NE(GlobalSize(dib), 0u);
    third.Release();
    EXPECT_EQ(GlobalSize(dib), 0u);
}

TEST(DIBHolder, SizesComeFromTheHeader)
{
    struct Case
    {
        LONG width;
        LONG height;
        WORD bits;
        DWORD sizeImage;
        DWORD colours;
        DWORD expectedImage;
        DWORD expectedColours;
    };
    const Case cases[] = {
        {5, 3, 8, 0, 0, 8 * 3, 256}, {5, -3, 8, 0, 0, 8 * 3, 256}, // top-down
        {5, 3, 24, 0, 0, 16 * 3, 0}, {7, 2, 1, 0, 0, 4 * 2, 2},    {9, 2, 4, 0, 16, 8 * 2, 16},
        {5, 3, 8, 100, 12, 100, 12}, {3, 2, 32, 0, 0, 12 * 2, 0},  {3, 2, 16, 0, 0, 8 * 2, 0},
    };
    for (const Case& c : cases)
    {
        DIBHolder holder;
        holder.AttachDIB(MakeDIB(c.width, c.height, c.bits, c.sizeImage, c.colours));
        EXPECT_EQ(holder.GetTotalSize(), 40 + 4 * c.expectedColours + c.expectedImage)
            << c.width << "x" << c.height << "x" << c.bits;
        EXPECT_EQ(holder.GetHeight(), std::abs(c.height));
        EXPECT_EQ(holder.GetWidth(), c.width);
    }
}

TEST(DIBHolder, ADIBThatCannotBeLockedIsFreedAndLeavesTheHolderEmpty)
{
    HGLOBAL tooSmall = GlobalAlloc(GMEM_MOVEABLE, 8);
    ASSERT_NE(tooSmall, nullptr);
    LogCapture log;
    DIBHolder holder;
    holder.AttachDIB(MakeDIB(2, 2, 8, 0, 0));
    holder.AttachDIB(tooSmall);
    EXPECT_TRUE(holder.IsEmpty());
    EXPECT_EQ(GlobalSize(tooSmall), 0u);
    EXPECT_TRUE(log.Contains("Enter DIBHolder::AttachDIB, Cannot lock 0x"));
}

TEST(DIBHolder, CopyToMakesAPrivateCopyOfTheBytes)
{
    DIBHolder source;
    source.AttachDIB(MakeDIB(4, 4, 8, 0, 0));
    auto* bytes = static_cast<unsigned char*>(GlobalLock(source.GetDIB()));
    bytes[sizeof(BITMAPINFOHEADER) + 4 * 256 + 3] = 77;
    GlobalUnlock(source.GetDIB());
    DIBHolder target;
    source.CopyTo(target);
    ASSERT_FALSE(target.IsEmpty());
    EXPECT_NE(target.GetDIB(), source.GetDIB());
    EXPECT_EQ(target.GetRefCount(), 1);
    EXPECT_EQ(source.GetRefCount(), 1);
    EXPECT_EQ(target.GetTotalSize(), source.GetTotalSize());
    EXPECT_EQ(std::memcmp(GlobalLock(target.GetDIB()), GlobalLock(source.GetDIB()),
                          source.GetTotalSize()),
              0);
    GlobalUnlock(target.GetDIB());
    GlobalUnlock(source.GetDIB());
    DIBHolder empty;
    empty.CopyTo(target);
    EXPECT_TRUE(target.IsEmpty());
}

TEST(DIBHolder, SavesBitmapAndJPEGFiles)
{
    DIBHolder empty;
    EXPECT_FALSE(empty.SaveBitmap(TempPath("quillon_empty.bmp").c_str()));
    EXPECT_FALSE(empty.SaveJPEG(TempPath("quillon_empty.jpg").c_str()));

    DIBHolder holder;
    holder.AttachDIB(CreateDIB(16, 8, 24));
    ASSERT_FALSE(holder.IsEmpty());
    const std::string bitmap = TempPath("quillon_holder.bmp");
    const std::string jpeg = TempPath("quillon_holder.jpg");
    ASSERT_TRUE(holder.SaveBitmap(bitmap.c_str()));
    ASSERT_TRUE(holder.SaveJPEG(jpeg.c_str()));
    const std::vector<unsigned char> bmpBytes = ReadFile(bitmap);
    const std::vector<unsigned char> jpgBytes = ReadFile(jpeg);
    ASSERT_GE(bmpBytes.size(), 2u);
    EXPECT_EQ(bmpBytes[0], 'B');
    EXPECT_EQ(bmpBytes[1], 'M');
    ASSERT_GE(jpgBytes.size(), 4u);
    EXPECT_EQ(jpgBytes[0], 0xFF);
    EXPECT_EQ(jpgBytes[1], 0xD8);
    std::remove(bitmap.c_str());
    std::remove(jpeg.c_str());

    LogCapture log;
    const std::string unwritable = TempPath("quillon-missing-folder/x.jpg");
    EXPECT_FALSE(holder.SaveJPEG(unwritable.c_str()));
    EXPECT_TRUE(log.Contains("DIBHolder::SaveJPEG.CImage.Save : " + unwritable));
}
