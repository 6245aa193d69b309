// Window pictures written as and read from bitmap files.
#include "UiHarness.h"

#include "BitmapFile.h"
#include "NativePath.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace
{
using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr OpenFile(LPCSTR lpszPath, const char* mode)
{
    return FilePtr(std::fopen(GetNativePath(lpszPath).c_str(), mode), &std::fclose);
}
} // namespace

BOOL SaveWindowPicture(HWND hWnd, LPCSTR lpszPath, bool bClientOnly)
{
    WindowPicture picture;
    return UserGetWindowPicture(hWnd, bClientOnly, picture) && WritePictureFile(picture, lpszPath);
}

BOOL WritePictureFile(const WindowPicture& picture, LPCSTR lpszPath)
{
    if (lpszPath == nullptr || picture.nWidth < 0 || picture.nHeight < 0)
        return FALSE;
    PackedDibFormat format;
    format.nWidth = picture.nWidth;
    format.nHeight = picture.nHeight;
    format.nBitCount = 24;
    format.nPelsPerMeter = 3780; // 96 dpi
    format.bStoreImageSize = true;
    const std::vector<std::uint8_t> file =
        BuildBitmapFile(format,
                        [&picture](int y, std::uint8_t* row)
                        {
                            for (int x = 0; x < picture.nWidth; ++x, row += 3)
                            {
                                const std::uint32_t pixel = picture.GetPixel(x, y);
                                row[0] = static_cast<BYTE>(pixel & 0xFF);
                                row[1] = static_cast<BYTE>((pixel >> 8) & 0xFF);
                                row[2] = static_cast<BYTE>((pixel >> 16) & 0xFF);
                            }
                        });
    FilePtr out = OpenFile(lpszPath, "wb");
    return out && !file.empty() &&
           std::fwrite(file.data(), 1, file.size(), out.get()) == file.size();
}

BOOL ReadPictureFile(LPCSTR lpszPath, WindowPicture& picture)
{
    if (lpszPath == nullptr)
        return FALSE;
    FilePtr in = OpenFile(lpszPath, "rb");
    if (!in)
        return FALSE;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof(chunk), in.get())) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + n);
    CBitmapBytesSource source(bytes);
    BitmapFileContents contents;
    if (!ReadBitmapFile(source, contents))
        return FALSE;
    picture.nWidth = contents.layout.nWidth;
    picture.nHeight = contents.layout.nHeight;
    picture.pixels.assign(std::size_t(picture.nWidth) * std::size_t(picture.nHeight), 0);
    return DecodePackedDib(contents.dib.data(), contents.layout, picture.pixels.data());
}
