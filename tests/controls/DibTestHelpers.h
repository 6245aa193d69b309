// Packed DIBs and memory DCs for the Zentiq tests.
#pragma once

#include "DibApi.h"

#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

// A bottom-up 8-bit DIB whose pixel (x, row from top) has index
// (7 * row + x) % 256 and a table mapping index i to RGB(i, 255 - i, i / 2).
inline HDIB MakeIndexedDib(int width, int height)
{
    HDIB hdib = CreateDIB(DWORD(width), DWORD(height), 8);
    char* dib = static_cast<char*>(GlobalLock(hdib));
    auto* table = reinterpret_cast<RGBQUAD*>(dib + 40);
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(i / 2), BYTE(255 - i), BYTE(i), 0};
    const int rowBytes = ((8 * width + 31) / 32) * 4;
    BYTE* bits = reinterpret_cast<BYTE*>(FindDIBBits(dib));
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x)
            bits[(height - 1 - row) * rowBytes + x] = BYTE((7 * row + x) % 256);
    GlobalUnlock(hdib);
    return hdib;
}

inline COLORREF IndexedColor(int x, int row)
{
    const int i = (7 * row + x) % 256;
    return RGB(i, 255 - i, i / 2);
}

// A memory DC on a 32-bit bitmap, filled with one colour.
class MemorySurface
{
public:
    MemorySurface(int width, int height, COLORREF fill = RGB(255, 255, 255))
    {
        HDC screen = GetDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all{0, 0, width, height};
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    ~MemorySurface()
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HBITMAP m_bitmap;
    HDC m_dc;
    HGDIOBJ m_old;
};

// A file path in the build's output folder, removed with the object.
class TempPath
{
public:
    explicit TempPath(const char* name)
        : m_path(std::string(SUITE_OUTPUT_DIR) + "/" + std::to_string(getpid()) + "-" + name)
    {
    }
    ~TempPath() { std::remove(m_path.c_str()); }
    const char* c_str() const { return m_path.c_str(); }

private:
    std::string m_path;
};
