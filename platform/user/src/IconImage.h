// Icon and cursor images as pixels: the first image of an icon or cursor
// file read into colours and a transparency mask, the pictures of the
// system icons, and an icon file made from an image.
#pragma once

#include "WinUserDefs.h"

#include <cstdint>
#include <span>
#include <vector>

struct IconImage
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint32_t> colors; // 0x00RRGGBB, top row first
    std::vector<bool> transparent;     // per pixel, top row first
};

// False for an unreadable file or a PNG image.
bool DecodeIconFile(std::span<const BYTE> bytes, IconImage& image);
// The picture of IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_WARNING or
// IDI_INFORMATION (32 x 32).
bool MakeSystemIcon(WORD nSystemId, IconImage& image);
// An icon file (type 1) or cursor file (type 2) of one 32-bit image.
std::vector<BYTE> EncodeIconFile(const IconImage& image, bool bCursor, POINT hotSpot);
// The image of any icon or cursor handle.
bool GetIconImage(HICON hIcon, IconImage& image);
// Registers an icon made by the program; DestroyIcon frees it.
HICON CreateIconFromFile(std::vector<BYTE> fileBytes, bool bCursor);
// Draws the image through its mask (DI_MASK, DI_IMAGE) stretched to cx, cy.
bool DrawIconImage(HDC hdc, const IconImage& image, int x, int y, int cx, int cy, UINT diFlags);

// A memory DC holding a 32-bit top-down DIB section.
class PixelCanvas
{
public:
    PixelCanvas(int nWidth, int nHeight) : m_nWidth(nWidth), m_nHeight(nHeight)
    {
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{
            sizeof(BITMAPINFOHEADER), nWidth, -nHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_hBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0);
        m_hdc = CreateCompatibleDC(nullptr);
        m_hOld = SelectObject(m_hdc, m_hBitmap);
    }
    ~PixelCanvas()
    {
        SelectObject(m_hdc, m_hOld);
        DeleteDC(m_hdc);
        DeleteObject(m_hBitmap);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    bool IsValid() const { return m_pBits != nullptr; }
    HDC GetDC() const { return m_hdc; }
    std::uint32_t* Pixels() const { return static_cast<std::uint32_t*>(m_pBits); }
    void Fill(COLORREF color) const
    {
        const RECT all{0, 0, m_nWidth, m_nHeight};
        HBRUSH hBrush = CreateSolidBrush(color);
        FillRect(m_hdc, &all, hBrush);
        DeleteObject(hBrush);
    }

private:
    int m_nWidth;
    int m_nHeight;
    void* m_pBits = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HDC m_hdc = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

// Paints the brush wherever the canvas is black, leaving the rest alone.
void PaintShape(HDC hdc, const PixelCanvas& shape, int x, int y, SIZE size, HBRUSH hBrush);
