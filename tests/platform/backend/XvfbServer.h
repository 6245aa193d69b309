// A private X server for one test program: Xvfb on a display number it
// picks itself, started by the constructor and stopped by the destructor.
// A missing Xvfb is an error the tests report, never a reason to skip:
// scripts/bootstrap.sh installs it.
#pragma once

#include <string>
#include <sys/types.h>

class CXvfbServer
{
public:
    CXvfbServer(int nWidth = 1920, int nHeight = 1080);
    ~CXvfbServer();
    CXvfbServer(const CXvfbServer&) = delete;
    CXvfbServer& operator=(const CXvfbServer&) = delete;

    bool IsRunning() const { return !m_displayName.empty(); }
    // ":N" while running.
    const std::string& GetDisplayName() const { return m_displayName; }
    const std::string& GetError() const { return m_error; }

private:
    pid_t m_pid = -1;
    std::string m_displayName;
    std::string m_error;
};
