// The ControlGallery program on a private Xvfb: its window comes up at the
// gallery's size showing the controls, read back from the X server and kept
// as a picture; the window manager's close request ends the program.
#include "ScreenProgramEnd.h"
#include "ScreenWindows.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace
{
TEST(ControlGalleryScreenTest, TheGalleryShowsOnTheDisplayAndClosesOnRequest)
{
    CXvfbServer server;
    ASSERT_TRUE(server.IsRunning()) << server.GetError();
    Display* pDisplay = XOpenDisplay(server.GetDisplayName().c_str());
    ASSERT_NE(pDisplay, nullptr);
    pid_t pid = StartScreenProgram(server.GetDisplayName(), "ControlGallery", {});
    Window window = 0;
    const bool bFound = WaitFor([&] { return (window = FindWindowOf(pDisplay, pid)) != 0; }, 20000);
    EXPECT_TRUE(bFound) << "no window";
    if (bFound)
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(pDisplay, window, &attributes);
        EXPECT_GE(attributes.width, 990);
        EXPECT_GE(attributes.height, 640);
        // The controls have drawn once many colours show.
        WindowPicture shot;
        const bool bDrawn = WaitFor(
            [&]
            {
                shot = ReadWindow(pDisplay, window, attributes.width, attributes.height);
                const std::set<std::uint32_t> colours(shot.pixels.begin(), shot.pixels.end());
                return colours.size() > 200;
            },
            20000);
        const char* pszFolder = std::getenv("SUITE_PICTURE_DIR");
        WritePictureFile(
            shot, ((pszFolder != nullptr ? std::string(pszFolder) + "/" : testing::TempDir()) +
                   "control-gallery-on-x.bmp")
                      .c_str());
        EXPECT_TRUE(bDrawn) << "the gallery does not show its controls";
        RequestClose(pDisplay, window);
        EXPECT_EQ(WaitForProgramExit(pid, 20000), 0);
    }
    EndScreenProgram(pid, pDisplay);
}
} // namespace
