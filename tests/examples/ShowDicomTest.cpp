// ShowDicom on a corpus CT under Xvfb: the window the program opens shows,
// pixel for pixel, the DIB the chain makes of the file, read back from the
// X server; the window manager's close request ends the program. Without a
// display it draws the window off screen, says what it shows and ends.
#include "DibPixels.h"
#include "DicomPicture.h"
#include "ScreenProgramEnd.h"
#include "ScreenWindows.h"
#include "UiHarness.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <utility>

namespace
{
const std::string kCtFile = std::string(SUITE_CORPUS_DIR) + "/octave-dicom/CT-MONO2-16-ankle.dcm";

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

struct HeadlessRun
{
    std::string output;
    int status = -1;
};

// The program run without a display, its output and exit status.
HeadlessRun RunHeadless(const std::string& file)
{
    const std::string command = "PELIVO_DISPLAY=headless '" + std::string(SUITE_OUTPUT_DIR) +
                                "/ShowDicom' '" + file + "' 2>&1";
    HeadlessRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        run.output += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(ShowDicomHeadless, DrawsTheFileOffScreenAndSaysWhatItShows)
{
    const std::pair<std::string, std::string> cases[] = {
        {kCtFile, "ShowDicom - CT-MONO2-16-ankle.dcm: 512 x 512, grey\n"},
        {std::string(SUITE_CORPUS_DIR) + "/pydicom/test_files/SC_rgb_rle.dcm",
         "ShowDicom - SC_rgb_rle.dcm: 100 x 100, colour\n"},
        {std::string(SUITE_CORPUS_DIR) + "/octave-dicom/US-PAL-8-10x-echo.dcm",
         "ShowDicom - US-PAL-8-10x-echo.dcm: 600 x 430, colour\n"},
    };
    for (const auto& [file, said] : cases)
    {
        const HeadlessRun run = RunHeadless(file);
        EXPECT_EQ(run.status, 0) << file;
        EXPECT_EQ(run.output, said);
    }
}

TEST(ShowDicomHeadless, AFileThatIsNoImageEndsWithAMessage)
{
    const HeadlessRun run = RunHeadless(std::string(SUITE_SOURCE_DIR) + "/README.md");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("ShowDicom: cannot read the DICOM file", 0), 0u) << run.output;
}
} // namespace
