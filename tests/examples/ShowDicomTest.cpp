// ShowDicom on a corpus CT under Xvfb: the window the program opens shows,
// pixel for pixel, the DIB the chain makes of the file, read back from the
// X server; the window manager's close request ends the program.
#include "DicomPicture.h"
#include "ScreenProgramEnd.h"
#include "ScreenWindows.h"
#include "UiHarness.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{
const std::string kCtFile = std::string(SUITE_CORPUS_DIR) + "/octave-dicom/CT-MONO2-16-ankle.dcm";

// The DIB's pixels as 0xRRGGBB, top row first.
WindowPicture PixelsOf(HDIB dib)
{
    char* header = static_cast<char*>(GlobalLock(dib));
    WindowPicture picture;
    picture.nWidth = static_cast<int>(DIBWidth(header));
    picture.nHeight = static_cast<int>(DIBHeight(header));
    const auto* info = reinterpret_cast<const BITMAPINFO*>(header);
    const int bits = info->bmiHeader.biBitCount;
    const auto* rows = reinterpret_cast<const BYTE*>(FindDIBBits(header));
    const std::size_t stride = ((std::size_t(picture.nWidth) * bits + 31) / 32) * 4;
    for (int y = 0; y < picture.nHeight; ++y)
    {
        const BYTE* row = rows + stride * std::size_t(picture.nHeight - 1 - y);
        for (int x = 0; x < picture.nWidth; ++x)
        {
            RGBQUAD c{};
            if (bits == 8)
                c = info->bmiColors[row[x]];
            else
                c = RGBQUAD{row[x * 3], row[x * 3 + 1], row[x * 3 + 2], 0};
            picture.pixels.push_back((std::uint32_t(c.rgbRed) << 16) |
                                     (std::uint32_t(c.rgbGreen) << 8) | c.rgbBlue);
        }
    }
    GlobalUnlock(dib);
    return picture;
}

class ShowDicomTest : public testing::Test
{
protected:
    void TearDown() override { EndScreenProgram(m_pid, m_pDisplay); }

    void Start(const std::string& display, const std::string& file)
    {
        m_pid = StartScreenProgram(display, "ShowDicom", {file});
    }

    int WaitForExit(int nTimeoutMs) { return WaitForProgramExit(m_pid, nTimeoutMs); }

    // Declared first: the server outlives the connection to it.
    CXvfbServer m_server;
    pid_t m_pid = -1;
    Display* m_pDisplay = nullptr;
};

TEST_F(ShowDicomTest, WindowShowsTheChainsPictureOfACorpusCtAndClosesOnRequest)
{
    ASSERT_TRUE(m_server.IsRunning()) << m_server.GetError();
    std::string error;
    const HDIB dib = MakeDicomPicture(kCtFile.c_str(), error);
    ASSERT_NE(dib, nullptr) << error;
    const WindowPicture expected = PixelsOf(dib);
    GlobalFree(dib);
    ASSERT_EQ(expected.nWidth, 512);

    m_pDisplay = XOpenDisplay(m_server.GetDisplayName().c_str());
    ASSERT_NE(m_pDisplay, nullptr);
    Start(m_server.GetDisplayName(), kCtFile);
    Window window = 0;
    ASSERT_TRUE(WaitFor([&] { return (window = FindWindowOf(m_pDisplay, m_pid)) != 0; }, 20000))
        << "no window";
    WindowPicture shot;
    const bool bShown = WaitFor(
        [&]
        {
            shot = ReadWindow(m_pDisplay, window, expected.nWidth, expected.nHeight);
            return shot.pixels == expected.pixels;
        },
        20000);
    WritePictureFile(shot, (std::string(SUITE_OUTPUT_DIR) + "/show-dicom-ct.bmp").c_str());
    EXPECT_TRUE(bShown) << "the window does not show the chain's picture";
    // A picture of a CT, not a blank: many grey levels.
    std::vector<bool> levels(256, false);
    for (const std::uint32_t pixel : shot.pixels)
        levels[pixel & 0xFF] = true;
    EXPECT_GT(std::count(levels.begin(), levels.end(), true), 100);

    RequestClose(m_pDisplay, window);
    EXPECT_EQ(WaitForExit(20000), 0);
}

TEST_F(ShowDicomTest, AFileThatIsNoImageEndsWithAMessage)
{
    ASSERT_TRUE(m_server.IsRunning()) << m_server.GetError();
    Start(m_server.GetDisplayName(), std::string(SUITE_SOURCE_DIR) + "/README.md");
    EXPECT_EQ(WaitForExit(20000), 1);
}
} // namespace
