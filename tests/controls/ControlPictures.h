// What the tests of drawn controls share: the harness that fails a blocked
// loop, a top-level host window, client pixels as COLORREFs, and pictures
// of windows written as bitmap files into the folder named by
// ZENTIQ_PICTURE_DIR (nothing is written without it) for a person to look at.
#pragma once

#include "../platform/FailOnBlockHarness.h"
#include "AfxWin.h"
#include "UserRawInput.h"

#include <cstdlib>
#include <string>

class CHostWnd : public CWnd
{
public:
    BOOL CreateHost(int width, int height)
    {
        return CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height),
                        nullptr, 0);
    }
};

// The client pixels of a window as drawn.
class CClientPixels
{
public:
    explicit CClientPixels(HWND hWnd) { UserGetWindowPicture(hWnd, true, m_picture); }
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

inline void KeepPicture(HWND hWnd, const char* name)
{
    const char* folder = std::getenv("ZENTIQ_PICTURE_DIR");
    if (folder == nullptr || *folder == '\0')
        return;
    const std::string path = std::string(folder) + "/" + name + ".bmp";
    EXPECT_TRUE(SaveWindowPicture(hWnd, path.c_str()));
}
