// Window pictures written as and read from bitmap files.
#include "UiHarness.h"

#include "NativePath.h"
#include "WinGdi.h"

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

std::size_t RowBytes(int nWidth, int nBits)
{
    return ((std::size_t(nWidth) * std::size_t(nBits) + 31) / 32) * 4;
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
    const std::size_t rowBytes = RowBytes(picture.nWidth, 24);
    const std::size_t imageBytes = rowBytes * std::size_t(picture.nHeight);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + imageBytes);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = picture.nWidth;
    header.biHeight = picture.nHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(imageBytes);
    header.biXPelsPerMeter = header.biYPelsPerMeter = 3780; // 96 dpi
    FilePtr out = OpenFile(lpszPath, "wb");
    if (!out)
        return FALSE;
    bool bOk = std::fwrite(&file, sizeof(file), 1, out.get()) == 1 &&
               std::fwrite(&header, sizeof(header), 1, out.get()) == 1;
    std::vector<BYTE> row(rowBytes, 0);
    for (int y = picture.nHeight - 1; bOk && y >= 0; --y)
    {
        for (int x = 0; x < picture.nWidth; ++x)
        {
            const std::uint32_t pixel = picture.GetPixel(x, y);
            row[std::size_t(x) * 3] = static_cast<BYTE>(pixel & 0xFF);
            row[std::size_t(x) * 3 + 1] = static_cast<BYTE>((pixel >> 8) & 0xFF);
            row[std::size_t(x) * 3 + 2] = static_cast<BYTE>((pixel >> 16) & 0xFF);
        }
        bOk = std::fwrite(row.data(), 1, rowBytes, out.get()) == rowBytes;
    }
    return bOk;
}

BOOL ReadPictureFile(LPCSTR lpszPath, WindowPicture& picture)
{
    if (lpszPath == nullptr)
        return FALSE;
    FilePtr in = OpenFile(lpszPath, "rb");
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    if (!in || std::fread(&file, sizeof(file), 1, in.get()) != 1 ||
        std::fread(&header, sizeof(header), 1, in.get()) != 1)
        return FALSE;
    const int bits = header.biBitCount;
    if (file.bfType != 0x4D42 || header.biCompression != BI_RGB || (bits != 24 && bits != 32) ||
        header.biWidth <= 0 || header.biWidth > 65536 || header.biHeight == 0 ||
        header.biHeight > 65536 || header.biHeight < -65536 ||
        std::fseek(in.get(), static_cast<long>(file.bfOffBits), SEEK_SET) != 0)
        return FALSE;
    const bool bTopDown = header.biHeight < 0;
    picture.nWidth = header.biWidth;
    picture.nHeight = bTopDown ? -header.biHeight : header.biHeight;
    picture.pixels.assign(std::size_t(picture.nWidth) * std::size_t(picture.nHeight), 0);
    const std::size_t rowBytes = RowBytes(picture.nWidth, bits);
    std::vector<BYTE> row(rowBytes);
    const std::size_t step = std::size_t(bits / 8);
    for (int i = 0; i < picture.nHeight; ++i)
    {
        if (std::fread(row.data(), 1, rowBytes, in.get()) != rowBytes)
            return FALSE;
        const int y = bTopDown ? i : picture.nHeight - 1 - i;
        for (int x = 0; x < picture.nWidth; ++x)
        {
            const BYTE* p = row.data() + std::size_t(x) * step;
            picture.pixels[std::size_t(y) * picture.nWidth + x] =
                std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
        }
    }
    return TRUE;
}
