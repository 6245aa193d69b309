// Printing end to end through a CUPS scheduler of the test's own: its own
// configuration, socket and spool folder, and one raw queue that writes
// what it receives to a file: a raw queue hands the document unchanged to
// its device, here a backend of the test's own ("tofile:path") that copies
// it to the path.
#include "PdfPages.h"
#include "WinPrint.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
constexpr const char* kQueue = "pdfqueue";

class CPrivateScheduler
{
public:
    CPrivateScheduler()
        : m_root(fs::temp_directory_path() / ("print-server-" + std::to_string(getpid())))
    {
        fs::remove_all(m_root);
        for (const char* folder : {"spool", "tmp", "cache", "state", "out", "bin/backend"})
            fs::create_directories(m_root / folder);
        WriteBackend();
        // The scheduler starts every backend through its own helpers.
        fs::create_directory_symlink("/usr/lib/cups/daemon", m_root / "bin" / "daemon");
        WriteConfiguration();
        m_pid = fork();
        if (m_pid == 0)
        {
            const std::string conf = (m_root / "cupsd.conf").string();
            const std::string files = (m_root / "cups-files.conf").string();
            execlp("cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(),
                   static_cast<char*>(nullptr));
            execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        setenv("CUPS_SERVER", Socket().c_str(), 1);
    }
    ~CPrivateScheduler()
    {
        unsetenv("CUPS_SERVER");
        if (m_pid > 0)
        {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        fs::remove_all(m_root);
    }
    CPrivateScheduler(const CPrivateScheduler&) = delete;
    CPrivateScheduler& operator=(const CPrivateScheduler&) = delete;

    std::string Socket() const { return (m_root / "cups.sock").string(); }
    fs::path Output() const { return m_root / "out" / "job.pdf"; }
    std::string ErrorLog() const
    {
        std::ifstream in(m_root / "error_log");
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    void WriteBackend() const
    {
        const fs::path backend = m_root / "bin" / "backend" / "tofile";
        // Without arguments the scheduler asks for the devices it finds;
        // with them: job, user, title, copies, options and the file (or
        // standard input).
        std::ofstream(backend)
            << "#!/bin/sh\n[ $# -eq 0 ] && exit 0\nout=\"${DEVICE_URI#tofile:}\"\n"
            << "if [ -n \"$6\" ]; then exec cat \"$6\" > \"$out\"; fi\n"
            << "exec cat > \"$out\"\n";
        // A backend only its owner may run runs as the scheduler's user.
        fs::permissions(backend, fs::perms::owner_all);
    }

    void WriteConfiguration() const
    {
        const std::string root = m_root.string();
        std::ofstream(m_root / "cupsd.conf") << "Listen " << Socket() << "\n"
                                             << "LogLevel info\nBrowsing No\nWebInterface No\n"
                                             << "DefaultAuthType None\n"
                                             << "<Location />\n  Order allow,deny\n  Allow all\n"
                                             << "</Location>\n";
        std::ofstream(m_root / "cups-files.conf")
            << "ServerRoot " << root << "\nRequestRoot " << root << "/spool\nTempDir " << root
            << "/tmp\nCacheDir " << root << "/cache\nStateDir " << root << "/state\nServerBin "
            << root << "/bin\nDataDir /usr/share/cups\nAccessLog " << root
            << "/access_log\nErrorLog " << root << "/error_log\nPageLog " << root
            << "/page_log\nPrintcap " << root << "/printcap\n";
        std::ofstream(m_root / "printers.conf")
            << "<DefaultPrinter " << kQueue << ">\nDeviceURI tofile:" << Output().string()
            << "\nState Idle\nAccepting Yes\n</DefaultPrinter>\n";
    }

    fs::path m_root;
    pid_t m_pid = -1;
};

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done())
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// One page with a few shapes and a line of text, on any printer DC.
bool PrintSample(HDC hdc)
{
    DOCINFOA info{sizeof(DOCINFOA), "Queue sample", nullptr, nullptr, 0};
    if (StartDocA(hdc, &info) <= 0 || StartPage(hdc) <= 0)
        return false;
    HBRUSH brush = CreateSolidBrush(RGB(0, 120, 60));
    const RECT box{300, 300, 1500, 900};
    FillRect(hdc, &box, brush);
    DeleteObject(brush);
    Ellipse(hdc, 400, 1200, 2000, 2000);
    TextOutA(hdc, 300, 2400, "Printed through the queue", 25);
    return EndPage(hdc) > 0 && EndDoc(hdc) > 0;
}
} // namespace

TEST(PrintServer, JobThroughAPrivateSchedulerEqualsTheFilePrintedDirectly)
{
    CPrivateScheduler scheduler;
    ASSERT_TRUE(WaitFor(
        [&]
        {
            const std::vector<std::string> destinations = GdiGetPrintDestinations();
            return destinations.size() == 2 && destinations.front() == kQueue;
        },
        std::chrono::seconds(20)))
        << scheduler.ErrorLog();

    HDC queue = CreateDCA(nullptr, kQueue, nullptr, nullptr);
    ASSERT_NE(queue, nullptr);
    ASSERT_TRUE(PrintSample(queue)) << scheduler.ErrorLog();
    DeleteDC(queue);

    const std::string direct = testing::TempDir() + "print-server-direct.pdf";
    HDC file = CreateDCA(nullptr, GDI_PRINT_TO_FILE, direct.c_str(), nullptr);
    ASSERT_TRUE(PrintSample(file));
    DeleteDC(file);

    // The scheduler writes the job once its filter has finished.
    std::uintmax_t size = 0;
    ASSERT_TRUE(WaitFor(
        [&]
        {
            std::error_code error;
            const std::uintmax_t now = fs::file_size(scheduler.Output(), error);
            const bool bSettled = !error && now > 0 && now == size;
            size = error ? 0 : now;
            return bSettled;
        },
        std::chrono::seconds(30)))
        << scheduler.ErrorLog();

    const std::vector<PdfPage> received = RasterisePdf(scheduler.Output().string(), 100);
    const std::vector<PdfPage> printed = RasterisePdf(direct, 100);
    ASSERT_EQ(received.size(), 1u);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(received[0].nWidth, printed[0].nWidth);
    EXPECT_TRUE(received[0].pixels == printed[0].pixels);
    // Inside the green box; shrinking the page may round a channel by one.
    const std::uint32_t inside = received[0].At(300, 200);
    EXPECT_NEAR(int(inside >> 16), 0x00, 1);
    EXPECT_NEAR(int(inside >> 8 & 0xFF), 0x78, 1);
    EXPECT_NEAR(int(inside & 0xFF), 0x3C, 1);
    fs::remove(direct);
}
