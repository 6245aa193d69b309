// Notes when a codec step starts and, on every way out, logs the time it
// took when that reaches a whole second.
#pragma once

#include <chrono>

class CodecTimer
{
public:
    explicit CodecTimer(bool isLogged);
    CodecTimer(const CodecTimer&) = delete;
    CodecTimer& operator=(const CodecTimer&) = delete;
    ~CodecTimer();

private:
    bool m_bLogged;
    std::chrono::steady_clock::time_point m_start;
};
