#include "XvfbServer.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
constexpr int kStartTimeoutMs = 20000;

[[noreturn]] void RunServer(int nReportFd, int nWidth, int nHeight)
{
    // A test program that crashes or is killed takes its server with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int nNull = open("/dev/null", O_RDWR);
    if (nNull >= 0)
    {
        dup2(nNull, STDIN_FILENO);
        dup2(nNull, STDOUT_FILENO);
        dup2(nNull, STDERR_FILENO);
    }
    const std::string fd = std::to_string(nReportFd);
    const std::string screen = std::to_string(nWidth) + "x" + std::to_string(nHeight) + "x24";
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
}

// The display number the server writes once it accepts connections.
std::string ReadDisplayNumber(int nFd)
{
    std::string number;
    pollfd pfd{nFd, POLLIN, 0};
    while (poll(&pfd, 1, kStartTimeoutMs) > 0)
    {
        char ch = 0;
        const ssize_t n = read(nFd, &ch, 1);
        if (n <= 0 || ch == '\n')
            break;
        number += ch;
    }
    return number;
}
} // namespace

CXvfbServer::CXvfbServer(int nWidth, int nHeight)
{
    int fds[2];
    if (pipe(fds) != 0)
    {
        m_error = "no pipe for Xvfb";
        return;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    m_pid = fork();
    if (m_pid == 0)
    {
        close(fds[0]);
        RunServer(fds[1], nWidth, nHeight);
    }
    close(fds[1]);
    const std::string number = m_pid > 0 ? ReadDisplayNumber(fds[0]) : std::string();
    close(fds[0]);
    if (!number.empty())
    {
        m_displayName = ":" + number;
        return;
    }
    int status = 0;
    if (m_pid > 0)
    {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, &status, 0);
    }
    m_pid = -1;
    m_error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                  ? "Xvfb is not installed (scripts/bootstrap.sh installs the xvfb package)"
                  : "Xvfb did not start";
}

CXvfbServer::~CXvfbServer()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR)
    {
    }
}
