// A memory DC on a 32-bit top-down DIB section whose pixels tests read and
// write directly (0x00RRGGBB per pixel).
#pragma once

#include "WinGdi.h"

#include <cstdint>
#include <vector>

class GdiTestSurface
{
public:
    GdiTestSurface(int width, int height, COLORREF fill = RGB(255, 255, 255))
        : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_pixels = static_cast<std::uint32_t*>(bits);
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~GdiTestSurface()
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    GdiTestSurface(const GdiTestSurface&) = delete;
    GdiTestSurface& operator=(const GdiTestSurface&) = delete;

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The pixel as a COLORREF.
    COLORREF At(int x, int y) const
    {
        const std::uint32_t p = m_pixels[y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    void Set(int x, int y, COLORREF c)
    {
        m_pixels[y * m_width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    void Fill(COLORREF c)
    {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, c);
    }
    std::vector<std::uint32_t> Snapshot() const
    {
        return std::vector<std::uint32_t>(m_pixels, m_pixels + m_width * m_height);
    }
    int Count(COLORREF c) const
    {
        int n = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                n += At(x, y) == c;
        return n;
    }

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    HDC m_dc = nullptr;
    std::uint32_t* m_pixels = nullptr;
};
