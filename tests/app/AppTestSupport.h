// What the tests of the viewer program's windows share: a top-level host
// window, and pictures of windows written as bitmap files into the folder
// named by PELIVORUN_PICTURE_DIR (nothing is written without it) for a
// person to look at.
#pragma once

#include "AfxWin.h"
#include "FailOnBlockHarness.h"
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

inline COLORREF PixelOf(const WindowPicture& picture, int x, int y)
{
    const std::uint32_t p = picture.GetPixel(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

inline void KeepPicture(HWND hWnd, const char* name)
{
    const char* folder = std::getenv("PELIVORUN_PICTURE_DIR");
    if (folder == nullptr || *folder == '\0')
        return;
    const std::string path = std::string(folder) + "/" + name + ".bmp";
    EXPECT_TRUE(SaveWindowPicture(hWnd, path.c_str()));
}
