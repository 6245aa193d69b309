// Window pictures for looking at: when SUITE_PICTURE_DIR names a folder,
// the picture tests also write their pictures there as bitmap files.
#pragma once

#include "UiHarness.h"

#include <cstdlib>
#include <string>

inline void DumpPicture(HWND hWnd, const std::string& name)
{
    if (const char* folder = std::getenv("SUITE_PICTURE_DIR"))
    {
        SaveWindowPicture(hWnd, (std::string(folder) + "/" + name + ".bmp").c_str(), true);
    }
}
