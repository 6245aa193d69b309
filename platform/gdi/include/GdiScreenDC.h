// The screen's DC for the length of a scope: bitmaps made compatible with
// the display need it, and every early return must still release it.
#pragma once

#include "WinGdi.h"

class CGdiScreenDC
{
public:
    CGdiScreenDC() : m_hDC(::GetDC(nullptr)) {}
    ~CGdiScreenDC()
    {
        if (m_hDC != nullptr)
            ::ReleaseDC(nullptr, m_hDC);
    }
    CGdiScreenDC(const CGdiScreenDC&) = delete;
    CGdiScreenDC& operator=(const CGdiScreenDC&) = delete;

    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};
