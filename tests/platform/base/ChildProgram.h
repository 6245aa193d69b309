// Starts a program of the build (fork and exec) for tests of what shows only
// between processes. The test talks to it by lines: it writes to the
// program's standard input and reads its standard output, waiting for each
// line with a generous bound instead of sleeping.
#pragma once

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

class CChildProgram
{
public:
    // Runs path with the arguments; environment entries ("NAME=value") are
    // added to the test's own environment.
    CChildProgram(const std::string& path, const std::vector<std::string>& args,
                  const std::vector<std::string>& environment = {})
    {
        int toChild[2] = {-1, -1};
        int fromChild[2] = {-1, -1};
        if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0)
        {
            return;
        }
        std::vector<std::string> argv = {path};
        argv.insert(argv.end(), args.begin(), args.end());
        m_pid = fork();
        if (m_pid == 0)
        {
            dup2(toChild[0], STDIN_FILENO);
            dup2(fromChild[1], STDOUT_FILENO);
            for (const std::string& entry : environment)
            {
                putenv(const_cast<char*>(entry.c_str()));
            }
            std::vector<char*> pointers;
            for (std::string& arg : argv)
            {
                pointers.push_back(arg.data());
            }
            pointers.push_back(nullptr);
            execv(path.c_str(), pointers.data());
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        m_input = toChild[1];
        m_output = fromChild[0];
    }
    ~CChildProgram()
    {
        if (m_pid > 0 && !m_ended)
        {
            Kill();
        }
        for (int fd : {m_input, m_output})
        {
            if (fd >= 0)
            {
                close(fd);
            }
        }
    }
    CChildProgram(const CChildProgram&) = delete;
    CChildProgram& operator=(const CChildProgram&) = delete;

    bool IsStarted() const { return m_pid > 0; }
    pid_t GetPid() const { return m_pid; }

    void WriteLine(const std::string& line)
    {
        const std::string text = line + "\n";
        (void)!write(m_input, text.data(), text.size());
    }
    // The program sees the end of its input.
    void CloseInput()
    {
        close(m_input);
        m_input = -1;
    }

    // The next line the program writes, without its end; nothing when the
    // program ends its output or stays silent for the whole bound.
    std::optional<std::string> ReadLine(int timeoutMs = 20000)
    {
        for (;;)
        {
            const std::size_t end = m_buffered.find('\n');
            if (end != std::string::npos)
            {
                std::string line = m_buffered.substr(0, end);
                m_buffered.erase(0, end + 1);
                return line;
            }
            pollfd ready{m_output, POLLIN, 0};
            const int polled = poll(&ready, 1, timeoutMs);
            if (polled < 0 && errno == EINTR)
            {
                continue;
            }
            char chunk[256];
            const ssize_t got = polled > 0 ? read(m_output, chunk, sizeof chunk) : 0;
            if (got <= 0)
            {
                return std::nullopt;
            }
            m_buffered.append(chunk, static_cast<std::size_t>(got));
        }
    }

    // The next line that begins with the prefix, passing over the lines
    // before it; "(nothing)" when none comes.
    std::string WaitForLine(const std::string& prefix, int timeoutMs = 20000)
    {
        for (;;)
        {
            const std::optional<std::string> line = ReadLine(timeoutMs);
            if (!line)
                return "(nothing)";
            if (line->rfind(prefix, 0) == 0)
                return *line;
        }
    }

    // Ends the program the way a crash does.
    void Kill()
    {
        kill(m_pid, SIGKILL);
        Wait();
    }
    // The exit code, or 128 + the signal that ended the program.
    int Wait()
    {
        if (!m_ended)
        {
            while (waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR)
            {
            }
            m_ended = true;
        }
        return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : 128 + WTERMSIG(m_status);
    }

private:
    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
    int m_status = 0;
    bool m_ended = false;
    std::string m_buffered;
};
