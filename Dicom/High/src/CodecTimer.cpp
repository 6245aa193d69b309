#include "CodecTimer.h"

#include "VeltaroLog.h"

CodecTimer::CodecTimer(bool isLogged)
    : m_bLogged(isLogged), m_start(std::chrono::steady_clock::now())
{
}

CodecTimer::~CodecTimer()
{
    if (!m_bLogged)
    {
        return;
    }
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_start)
            .count();
    if (seconds >= 1)
    {
        _info("Encode / Decode time : %f seconds", static_cast<double>(seconds));
    }
}
