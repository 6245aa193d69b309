// The viewer program started on a corpus CT under a private Xvfb: once its
// title names the patient, a picture of the screen taken through X holds,
// in the pane, the image as the peer toolkit renders it with the file's
// window. The picture is kept as a PGM file in PELIVORUN_PICTURE_DIR.
#include "ScreenProgramEnd.h"
#include "XvfbServer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace
{
namespace fs = std::filesystem;

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
// Generous: a sanitizer build starts slowly on a busy machine.
constexpr auto kStartLimit = std::chrono::seconds(120);

struct GreyPicture
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<double> values;
    double At(int x, int y) const { return values[static_cast<size_t>(y) * nWidth + x]; }
};

GreyPicture ReadPgm(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    GreyPicture picture;
    int nMax = 0;
    file >> magic >> picture.nWidth >> picture.nHeight >> nMax;
    file.get();
    std::vector<unsigned char> bytes(static_cast<size_t>(picture.nWidth) * picture.nHeight);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    picture.values.assign(bytes.begin(), bytes.end());
    return picture;
}

void WritePgm(const GreyPicture& picture, const fs::path& path)
{
    std::ofstream file(path, std::ios::binary);
    file << "P5\n" << picture.nWidth << " " << picture.nHeight << "\n255\n";
    for (double value : picture.values)
        file.put(static_cast<char>(static_cast<unsigned char>(value)));
}

class ScreenTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.IsRunning()) << m_server.GetError();
        // One instance runs per program name and display: the test's own
        // name (a link beside the program, where its resources are) keeps
        // its instances apart from any other viewer on the machine.
        m_program = fs::path(PELIVORUN_PROGRAM).parent_path() /
                    ("PelivoRunScreen" + std::to_string(::getpid()));
        std::error_code error;
        fs::remove(m_program, error);
        fs::create_hard_link(PELIVORUN_PROGRAM, m_program);
        m_pDisplay = XOpenDisplay(m_server.GetDisplayName().c_str());
        ASSERT_NE(m_pDisplay, nullptr);
        XSelectInput(m_pDisplay, DefaultRootWindow(m_pDisplay), SubstructureNotifyMask);
        XSync(m_pDisplay, False);
    }
    void TearDown() override
    {
        for (const pid_t pid : m_others)
            EndScreenProgram(pid, nullptr);
        EndScreenProgram(m_pid, m_pDisplay);
        std::error_code error;
        fs::remove(m_program, error);
    }

    // The exit code of a started program once it ended by itself, or -1
    // when it still runs at the limit.
    int WaitForExit(pid_t pid)
    {
        const auto limit = std::chrono::steady_clock::now() + kStartLimit;
        int status = 0;
        while (std::chrono::steady_clock::now() < limit)
        {
            if (waitpid(pid, &status, WNOHANG) == pid)
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            WaitForEvents(200);
        }
        return -1;
    }

    // The program on the file, on the test's display unless another is
    // named, started in the folder when one is given.
    pid_t Start(const std::string& file, const std::string& displayName = {},
                const fs::path& folder = {})
    {
        const std::string display =
            "DISPLAY=" + (displayName.empty() ? m_server.GetDisplayName() : displayName);
        std::vector<std::string> env = {display, "PELIVO_DISPLAY=x11",
                                        "ASAN_OPTIONS=detect_leaks=0"};
        for (char** p = environ; *p != nullptr; ++p)
        {
            const std::string entry = *p;
            if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("PELIVO_DISPLAY=", 0) != 0 &&
                entry.rfind("ASAN_OPTIONS=", 0) != 0)
                env.push_back(entry);
        }
        std::vector<char*> envp;
        for (std::string& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::string program = m_program.string();
        std::string argument = file;
        char* argv[] = {program.data(), argument.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!folder.empty())
            posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        if (m_pid < 0)
            m_pid = pid;
        else
            m_others.push_back(pid);
        return pid;
    }

    static std::string TitleOf(Display* pDisplay, Window window)
    {
        char* pszName = nullptr;
        std::string title;
        if (XFetchName(pDisplay, window, &pszName) && pszName != nullptr)
        {
            title = pszName;
            XFree(pszName);
        }
        return title;
    }

    // Waits for a top-level window whose title starts with the text (on
    // the test's display unless another is given), watching the windows
    // made meanwhile; false when the program does not get there in time.
    bool WaitForTitle(const std::string& title, Display* pDisplay = nullptr)
    {
        if (pDisplay == nullptr)
            pDisplay = m_pDisplay;
        const auto limit = std::chrono::steady_clock::now() + kStartLimit;
        while (std::chrono::steady_clock::now() < limit)
        {
            Window root = 0;
            Window parent = 0;
            Window* pChildren = nullptr;
            unsigned int nChildren = 0;
            XQueryTree(pDisplay, DefaultRootWindow(pDisplay), &root, &parent, &pChildren,
                       &nChildren);
            bool bFound = false;
            for (unsigned int i = 0; i < nChildren; ++i)
            {
                XSelectInput(pDisplay, pChildren[i], PropertyChangeMask);
                bFound = bFound || TitleOf(pDisplay, pChildren[i]).starts_with(title);
            }
            if (pChildren != nullptr)
                XFree(pChildren);
            if (bFound)
                return true;
            WaitForEvents(pDisplay, 1000);
        }
        return false;
    }

    // Returns after the next X event (or the limit), draining the queue.
    void WaitForEvents(int nMilliseconds) { WaitForEvents(m_pDisplay, nMilliseconds); }
    static void WaitForEvents(Display* pDisplay, int nMilliseconds)
    {
        XFlush(pDisplay);
        pollfd pfd{ConnectionNumber(pDisplay), POLLIN, 0};
        if (XPending(pDisplay) == 0)
            poll(&pfd, 1, nMilliseconds);
        while (XPending(pDisplay) > 0)
        {
            XEvent event;
            XNextEvent(pDisplay, &event);
        }
    }

    GreyPicture Screen()
    {
        XImage* pImage = XGetImage(m_pDisplay, DefaultRootWindow(m_pDisplay), 0, 0, kScreenWidth,
                                   kScreenHeight, AllPlanes, ZPixmap);
        GreyPicture picture{kScreenWidth, kScreenHeight, {}};
        picture.values.resize(static_cast<size_t>(kScreenWidth) * kScreenHeight);
        for (int y = 0; y < kScreenHeight; ++y)
        {
            for (int x = 0; x < kScreenWidth; ++x)
            {
                const unsigned long pixel = XGetPixel(pImage, x, y);
                const double r = (pixel >> 16) & 0xFF;
                const double g = (pixel >> 8) & 0xFF;
                const double b = pixel & 0xFF;
                picture.values[static_cast<size_t>(y) * kScreenWidth + x] = (r + g + b) / 3.0;
            }
        }
        XDestroyImage(pImage);
        return picture;
    }

    CXvfbServer m_server{kScreenWidth, kScreenHeight};
    Display* m_pDisplay = nullptr;
    pid_t m_pid = -1;
    std::vector<pid_t> m_others; // started after the first
    fs::path m_program;
};

// Where the reference lies on the screen: its top-left corner and the
// screen pixels per reference pixel.
struct Placement
{
    double x = 0;
    double y = 0;
    double scale = 1;
};

// Pearson correlation of the reference (every step-th pixel) with the
// screen under the placement; 0 when it does not fit on the screen.
double Correlate(const GreyPicture& reference, const GreyPicture& screen, const Placement& at,
                 int nStep)
{
    if (at.x < 0 || at.y < 0 || at.x + reference.nWidth * at.scale > screen.nWidth ||
        at.y + reference.nHeight * at.scale > screen.nHeight)
        return 0.0;
    double sumA = 0, sumB = 0, sumAA = 0, sumBB = 0, sumAB = 0;
    int n = 0;
    for (int y = 0; y < reference.nHeight; y += nStep)
    {
        for (int x = 0; x < reference.nWidth; x += nStep)
        {
            const double a = reference.At(x, y);
            const double b = screen.At(static_cast<int>(at.x + (x + 0.5) * at.scale),
                                       static_cast<int>(at.y + (y + 0.5) * at.scale));
            sumA += a;
            sumB += b;
            sumAA += a * a;
            sumBB += b * b;
            sumAB += a * b;
            ++n;
        }
    }
    const double varA = sumAA - sumA * sumA / n;
    const double varB = sumBB - sumB * sumB / n;
    return varA > 0 && varB > 0 ? (sumAB - sumA * sumB / n) / std::sqrt(varA * varB) : 0.0;
}

// The placement that matches best: a coarse search over the whole screen
// and the sizes an image can take, then a fine one around the best.
std::pair<Placement, double> BestPlacement(const GreyPicture& reference, const GreyPicture& screen)
{
    Placement best;
    double dBest = -1;
    const auto search =
        [&](Placement from, Placement to, double dStep, double dScaleStep, int nSample)
    {
        const Placement start = from;
        for (double scale = start.scale; scale <= to.scale; scale += dScaleStep)
            for (double y = start.y; y <= to.y; y += dStep)
                for (double x = start.x; x <= to.x; x += dStep)
                {
                    const Placement at{x, y, scale};
                    const double value = Correlate(reference, screen, at, nSample);
                    if (value > dBest)
                    {
                        dBest = value;
                        best = at;
                    }
                }
    };
    search({0, 0, 2.0}, {double(screen.nWidth), double(screen.nHeight), 8.0}, 8, 0.1, 4);
    const Placement coarse = best;
    dBest = -1;
    search({coarse.x - 8, coarse.y - 8, coarse.scale - 0.1},
           {coarse.x + 8, coarse.y + 8, coarse.scale + 0.1}, 1, 0.01, 1);
    return {best, dBest};
}

TEST_F(ScreenTest, TheProgramShowsTheCTAsThePeerRendersIt)
{
    Start((fs::path(SUITE_CORPUS_DIR) / "octave-dicom/CT-MONO2-16-ankle.dcm").string());
    ASSERT_TRUE(WaitForTitle("Pelivo - Anonymized"));
    // The title follows the first paint; let the last exposures settle.
    for (int i = 0; i < 5; ++i)
        WaitForEvents(300);
    const GreyPicture screen = Screen();
    if (const char* pszFolder = std::getenv("PELIVORUN_PICTURE_DIR"))
        WritePgm(screen, fs::path(pszFolder) / "PelivoRunScreen.pgm");
    const GreyPicture reference =
        ReadPgm(fs::path(SUITE_TEST_DATA_DIR) / "pix/CT_ankle_window1_128.pgm");
    const auto [at, correlation] = BestPlacement(reference, screen);
    RecordProperty("correlation", std::to_string(correlation));
    EXPECT_GT(correlation, 0.9) << "best at " << at.x << "," << at.y << " x" << at.scale;
    // Fitted to its pane, the first of the two the view starts with, below
    // the toolbar.
    EXPECT_GT(at.scale * reference.nWidth, kScreenWidth * 0.4);
    EXPECT_LT(at.x, kScreenWidth / 2.0);
    EXPECT_GT(at.y, 60.0);
}
TEST_F(ScreenTest, ASecondStartEndsAndLeavesTheFirstAsItWas)
{
    Start((fs::path(SUITE_CORPUS_DIR) / "octave-dicom/CT-MONO2-16-ankle.dcm").string());
    ASSERT_TRUE(WaitForTitle("Pelivo - Anonymized"));
    const pid_t second =
        Start((fs::path(SUITE_CORPUS_DIR) / "pydicom/test_files/MR_small.dcm").string());
    EXPECT_EQ(WaitForExit(second), 0);
    EXPECT_TRUE(WaitForTitle("Pelivo - Anonymized")) << "the second file opens nowhere";
    EXPECT_EQ(waitpid(m_pid, nullptr, WNOHANG), 0) << "the first instance runs on";
}

// Started from the file's folder with the file's bare name, as a user types
// it in a shell.
TEST_F(ScreenTest, TheProgramStartedWithARelativePathShowsTheFile)
{
    const fs::path file = fs::path(SUITE_CORPUS_DIR) / "octave-dicom/CT-MONO2-16-ankle.dcm";
    Start(file.filename().string(), {}, file.parent_path());
    EXPECT_TRUE(WaitForTitle("Pelivo - Anonymized"));
}

// The same user on another display gets a viewer of his own there; a second
// start on that display hands over to it and ends.
TEST_F(ScreenTest, EachDisplayShowsItsOwnInstance)
{
    CXvfbServer other(800, 600);
    ASSERT_TRUE(other.IsRunning()) << other.GetError();
    Display* pOther = XOpenDisplay(other.GetDisplayName().c_str());
    ASSERT_NE(pOther, nullptr);
    Start((fs::path(SUITE_CORPUS_DIR) / "octave-dicom/CT-MONO2-16-ankle.dcm").string());
    ASSERT_TRUE(WaitForTitle("Pelivo - Anonymized"));
    const pid_t elsewhere =
        Start((fs::path(SUITE_CORPUS_DIR) / "pydicom/test_files/MR_small.dcm").string(),
              other.GetDisplayName());
    EXPECT_TRUE(WaitForTitle("Pelivo - Compressed", pOther)) << "no viewer on the other display";
    const pid_t second =
        Start((fs::path(SUITE_CORPUS_DIR) / "octave-dicom/CT-MONO2-16-ankle.dcm").string(),
              other.GetDisplayName());
    EXPECT_EQ(WaitForExit(second), 0);
    EXPECT_EQ(waitpid(elsewhere, nullptr, WNOHANG), 0) << "the other display's viewer runs on";
    EXPECT_EQ(waitpid(m_pid, nullptr, WNOHANG), 0) << "the first display's viewer runs on";
    EndScreenProgram(elsewhere, pOther);
    m_others.clear();
}
} // namespace
