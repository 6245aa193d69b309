#include "WinCRuntime.h"

#include "CodePageTable.h"

#include <cstring>

namespace
{

int FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Compares without case; returns the first case difference in `tie` (lower
// case first) for the word order of lstrcmpA.
int CompareWords(LPCSTR a, LPCSTR b, int& tie)
{
    const platform::CCodePage& page = platform::GetAnsiCodePage();
    const auto* p = reinterpret_cast<const unsigned char*>(a);
    const auto* q = reinterpret_cast<const unsigned char*>(b);
    tie = 0;
    for (; *p != 0 && *q != 0; ++p, ++q)
    {
        const BYTE lowerP = page.GetLower(*p);
        const BYTE lowerQ = page.GetLower(*q);
        if (lowerP != lowerQ)
            return lowerP < lowerQ ? -1 : 1;
        if (tie == 0 && *p != *q)
            tie = *p == lowerP ? -1 : 1;
    }
    return Sign(static_cast<int>(*p) - static_cast<int>(*q));
}

} // namespace

int lstrlenA(LPCSTR text)
{
    return text == nullptr ? 0 : static_cast<int>(std::strlen(text));
}

int lstrcmpA(LPCSTR a, LPCSTR b)
{
    if (a == nullptr || b == nullptr)
        return Sign((a != nullptr) - (b != nullptr));
    int tie = 0;
    const int order = CompareWords(a, b, tie);
    return order != 0 ? order : tie;
}

int lstrcmpiA(LPCSTR a, LPCSTR b)
{
    if (a == nullptr || b == nullptr)
        return Sign((a != nullptr) - (b != nullptr));
    int tie = 0;
    return CompareWords(a, b, tie);
}

int _stricmp(const char* a, const char* b)
{
    return _strnicmp(a, b, static_cast<std::size_t>(-1));
}

int _strnicmp(const char* a, const char* b, std::size_t count)
{
    const auto* p = reinterpret_cast<const unsigned char*>(a);
    const auto* q = reinterpret_cast<const unsigned char*>(b);
    for (std::size_t i = 0; i < count; ++i)
    {
        const int difference = FoldAscii(p[i]) - FoldAscii(q[i]);
        if (difference != 0 || p[i] == 0)
            return difference;
    }
    return 0;
}
