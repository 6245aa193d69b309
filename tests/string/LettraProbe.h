// Test access to the representation and the protected helpers of Lettra.
#pragma once

#include "Lettra.h"
#include "WinCodePage.h"

#include <cstdarg>

inline const LettraData* Header(const Lettra& text)
{
    return reinterpret_cast<const LettraData*>(text.constBuffer()) - 1;
}

inline bool IsSharedEmpty(const Lettra& text)
{
    return Header(text) == &lettraEmptyText.header;
}

class CLettraProbe : public Lettra
{
public:
    static int Estimate(const char* format, ...)
    {
        va_list args;
        va_start(args, format);
        const int length = GetFormattedLength(format, args);
        va_end(args);
        return length;
    }
};

// Switches the process ANSI code page for one test and puts it back after.
class CScopedAnsiPage
{
public:
    explicit CScopedAnsiPage(UINT page) : m_previous(GetACP()) { PlatformSetACP(page); }
    ~CScopedAnsiPage() { PlatformSetACP(m_previous); }
    CScopedAnsiPage(const CScopedAnsiPage&) = delete;
    CScopedAnsiPage& operator=(const CScopedAnsiPage&) = delete;

private:
    UINT m_previous;
};
