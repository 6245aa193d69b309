// Client pixels read as COLORREFs, for the tests of drawn controls.
#pragma once

#include "ControlTestSupport.h"

class CClientPixels
{
public:
    explicit CClientPixels(HWND hWnd) : m_picture(ClientPictureOf(hWnd)) {}
    int Width() const { return m_picture.nWidth; }
    int Height() const { return m_picture.nHeight; }
    COLORREF At(int x, int y) const
    {
        const std::uint32_t p = m_picture.GetPixel(x, y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    WindowPicture m_picture;
};
