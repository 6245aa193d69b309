// Surfaces the GDI benchmarks draw on: a memory DC holding a bitmap for the
// whole run, and the header of an 8-bit DIB with a grey table.
#pragma once

#include "WinGdi.h"

#include <vector>

class CBenchMemoryDC
{
public:
    explicit CBenchMemoryDC(HBITMAP bitmap)
        : m_bitmap(bitmap), m_dc(CreateCompatibleDC(nullptr)), m_old(SelectObject(m_dc, bitmap))
    {
    }
    ~CBenchMemoryDC()
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    CBenchMemoryDC(const CBenchMemoryDC&) = delete;
    CBenchMemoryDC& operator=(const CBenchMemoryDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HBITMAP m_bitmap;
    HDC m_dc;
    HGDIOBJ m_old;
};

// A bitmap in the screen's format.
inline HBITMAP CreateScreenFormatBitmap(int width, int height)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Header and 256-entry grey table of a bottom-up 8-bit DIB.
inline std::vector<BYTE> GreyDibInfo(int width, int height)
{
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = width;
    bmi->bmiHeader.biHeight = height;
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = 8;
    for (int i = 0; i < 256; ++i)
        bmi->bmiColors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    return info;
}
