// The commands a test writes, one a line, to a program it started beside
// itself (a probe), carried out on the probe's UI thread: a reader thread
// takes each line from standard input and posts a thread message that the
// probe's message loop hands to Take. The end of the input reads as "quit".
#pragma once

#include "WinMessageQueue.h"
#include "WinUser.h"

#include <cstdio>
#include <deque>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

class CProbeCommands
{
public:
    static constexpr UINT kMessage = WM_APP + 0x3F0;

    void Start()
    {
        std::thread(
            [this]
            {
                std::string line;
                while (std::getline(std::cin, line))
                    Queue(line);
                Queue("quit");
            })
            .detach();
    }

    // True for the command message; line is the command.
    bool Take(const MSG& msg, std::string& line)
    {
        if (msg.hwnd != nullptr || msg.message != kMessage)
            return false;
        std::lock_guard guard(m_lock);
        if (m_lines.empty())
            return false;
        line = m_lines.front();
        m_lines.pop_front();
        return true;
    }

    // One line of the probe's report, written at once.
    static void Report(const std::string& line)
    {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }

private:
    void Queue(const std::string& line)
    {
        {
            std::lock_guard guard(m_lock);
            m_lines.push_back(line);
        }
        PostMessageA(nullptr, kMessage, 0, 0);
    }

    std::mutex m_lock;
    std::deque<std::string> m_lines;
};
