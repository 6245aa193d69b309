// Runs a piece of a test in a forked child process, for calls whose effect
// shows only between processes. The child reports one byte at a time to the
// parent and can be held until the parent lets it go.
#pragma once

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

class CChildProcess
{
public:
    // body runs in the child; the child ends with _exit(0) after it, so
    // nothing of the test framework runs twice.
    explicit CChildProcess(const std::function<void(CChildProcess&)>& body)
    {
        if (pipe(m_toParent) != 0 || pipe(m_toChild) != 0)
        {
            return;
        }
        m_pid = fork();
        if (m_pid == 0)
        {
            body(*this);
            _exit(0);
        }
    }
    ~CChildProcess()
    {
        if (m_pid > 0 && !m_ended)
        {
            kill(m_pid, SIGKILL);
            Wait();
        }
        for (int fd : {m_toParent[0], m_toParent[1], m_toChild[0], m_toChild[1]})
        {
            close(fd);
        }
    }
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool IsRunning() const { return m_pid > 0; }

    // In the child.
    void Report(char byte) { (void)!write(m_toParent[1], &byte, 1); }
    void WaitForParent()
    {
        char byte;
        (void)!read(m_toChild[0], &byte, 1);
    }
    // Dies the way a crash does: no destructor, no exit handler runs.
    [[noreturn]] void Crash()
    {
        kill(getpid(), SIGKILL);
        _exit(1);
    }

    // In the parent.
    char ReadReport()
    {
        char byte = 0;
        return read(m_toParent[0], &byte, 1) == 1 ? byte : '\0';
    }
    void LetGo() { (void)!write(m_toChild[1], "x", 1); }
    void Wait()
    {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_ended = true;
    }

private:
    int m_toParent[2] = {-1, -1};
    int m_toChild[2] = {-1, -1};
    pid_t m_pid = -1;
    bool m_ended = false;
};
