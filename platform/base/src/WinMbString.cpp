#include "WinMbString.h"

#include "CodePageTable.h"

#include <algorithm>
#include <cstring>
#include <string>

using platform::CCodePage;
using platform::enPageKind;

namespace
{

const CCodePage& Page()
{
    return platform::GetAnsiCodePage();
}

// Bytes of a character code, first byte highest.
std::size_t GetCodeBytes(unsigned int ch, unsigned char bytes[4])
{
    std::size_t count = ch <= 0xFF ? 1 : ch <= 0xFFFF ? 2 : ch <= 0xFFFFFF ? 3 : 4;
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<unsigned char>(ch >> (8 * (count - 1 - i)));
    return count;
}

bool IsAscii(unsigned int ch)
{
    return ch < 0x80;
}

// In UTF-8 and single-byte text an ASCII byte is always a whole character,
// so the C library's byte functions give the character-wise answer.
bool AsciiIsWholeCharacter(const CCodePage& page)
{
    return page.GetKind() != enPageKind::DoubleByte;
}

bool IsAsciiText(const unsigned char* text)
{
    for (; *text != 0; ++text)
    {
        if (!IsAscii(*text))
            return false;
    }
    return true;
}

// True when p does not lie inside a UTF-8 character that starts before it.
bool IsUtf8CharacterStart(const CCodePage& page, const unsigned char* begin, const unsigned char* p)
{
    for (std::size_t back = 1; back <= 3 && p - back >= begin; ++back)
    {
        if (page.GetCharLength(p - back) > back)
            return false;
    }
    return true;
}

bool IsInSet(const CCodePage& page, const unsigned char* ch, std::size_t length,
             const unsigned char* set)
{
    for (const unsigned char* s = set; *s != 0;)
    {
        const std::size_t setLength = page.GetCharLength(s);
        if (setLength == length && std::memcmp(s, ch, length) == 0)
            return true;
        s += setLength;
    }
    return false;
}

// Offset of the first character whose membership in set equals `inSet`.
std::size_t SpanCharacters(const unsigned char* text, const unsigned char* set, bool inSet)
{
    const CCodePage& page = Page();
    const unsigned char* p = text;
    while (*p != 0)
    {
        const std::size_t length = page.GetCharLength(p);
        if (IsInSet(page, p, length, set) != inSet)
            break;
        p += length;
    }
    return static_cast<std::size_t>(p - text);
}

int CompareCharacters(const unsigned char* a, const unsigned char* b, bool ignoreCase)
{
    const CCodePage& page = Page();
    while (*a != 0 && *b != 0)
    {
        const std::size_t lengthA = page.GetCharLength(a);
        const std::size_t lengthB = page.GetCharLength(b);
        if (ignoreCase && lengthA == 1 && lengthB == 1)
        {
            const int difference = page.GetLower(*a) - page.GetLower(*b);
            if (difference != 0)
                return difference;
        }
        else
        {
            const int difference = std::memcmp(a, b, std::min(lengthA, lengthB));
            if (difference != 0)
                return difference;
            if (lengthA != lengthB)
                return lengthA < lengthB ? -1 : 1;
        }
        a += lengthA;
        b += lengthB;
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

std::string MakeLowerCopy(const unsigned char* text)
{
    std::string copy(reinterpret_cast<const char*>(text));
    _mbslwr(reinterpret_cast<unsigned char*>(copy.data()));
    return copy;
}

void MapCase(unsigned char* text, bool upper)
{
    const CCodePage& page = Page();
    for (unsigned char* p = text; *p != 0;)
    {
        const std::size_t length = page.GetCharLength(p);
        if (length == 1)
            *p = upper ? page.GetUpper(*p) : page.GetLower(*p);
        p += length;
    }
}

} // namespace

int _mbscmp(const unsigned char* a, const unsigned char* b)
{
    return std::strcmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
}

int _mbsicmp(const unsigned char* a, const unsigned char* b)
{
    return CompareCharacters(a, b, true);
}

int _mbscoll(const unsigned char* a, const unsigned char* b)
{
    return std::strcoll(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
}

int _mbsicoll(const unsigned char* a, const unsigned char* b)
{
    return std::strcoll(MakeLowerCopy(a).c_str(), MakeLowerCopy(b).c_str());
}

unsigned char* _mbschr(const unsigned char* text, unsigned int ch)
{
    const CCodePage& page = Page();
    if (ch == 0)
        return const_cast<unsigned char*>(text + std::strlen(reinterpret_cast<const char*>(text)));
    if (IsAscii(ch) && AsciiIsWholeCharacter(page))
        return reinterpret_cast<unsigned char*>(std::strchr(
            const_cast<char*>(reinterpret_cast<const char*>(text)), static_cast<int>(ch)));
    unsigned char bytes[4];
    const std::size_t count = GetCodeBytes(ch, bytes);
    for (const unsigned char* p = text; *p != 0;)
    {
        const std::size_t length = page.GetCharLength(p);
        if (length == count && std::memcmp(p, bytes, count) == 0)
            return const_cast<unsigned char*>(p);
        p += length;
    }
    return nullptr;
}

unsigned char* _mbsrchr(const unsigned char* text, unsigned int ch)
{
    const CCodePage& page = Page();
    if (ch == 0 || (IsAscii(ch) && AsciiIsWholeCharacter(page)))
        return reinterpret_cast<unsigned char*>(std::strrchr(
            const_cast<char*>(reinterpret_cast<const char*>(text)), static_cast<int>(ch)));
    unsigned char bytes[4];
    const std::size_t count = GetCodeBytes(ch, bytes);
    const unsigned char* last = nullptr;
    for (const unsigned char* p = text; *p != 0;)
    {
        const std::size_t length = page.GetCharLength(p);
        if (length == count && std::memcmp(p, bytes, count) == 0)
            last = p;
        p += length;
    }
    return const_cast<unsigned char*>(last);
}

unsigned char* _mbsstr(const unsigned char* text, const unsigned char* pattern)
{
    const CCodePage& page = Page();
    const char* haystack = reinterpret_cast<const char*>(text);
    const char* needle = reinterpret_cast<const char*>(pattern);
    if (page.GetKind() != enPageKind::DoubleByte)
    {
        const char* found = std::strstr(haystack, needle);
        while (found != nullptr && page.GetKind() == enPageKind::Utf8 &&
               !IsUtf8CharacterStart(page, text, reinterpret_cast<const unsigned char*>(found)))
            found = std::strstr(found + 1, needle);
        return reinterpret_cast<unsigned char*>(const_cast<char*>(found));
    }
    const std::size_t length = std::strlen(needle);
    for (const unsigned char* p = text;; p += page.GetCharLength(p))
    {
        if (std::strncmp(reinterpret_cast<const char*>(p), needle, length) == 0)
            return const_cast<unsigned char*>(p);
        if (*p == 0)
            return nullptr;
    }
}

unsigned char* _mbspbrk(const unsigned char* text, const unsigned char* set)
{
    const std::size_t offset = _mbscspn(text, set);
    return text[offset] == 0 ? nullptr : const_cast<unsigned char*>(text + offset);
}

std::size_t _mbsspn(const unsigned char* text, const unsigned char* set)
{
    if (AsciiIsWholeCharacter(Page()) &&
        (Page().GetKind() == enPageKind::SingleByte || IsAsciiText(set)))
        return std::strspn(reinterpret_cast<const char*>(text), reinterpret_cast<const char*>(set));
    return SpanCharacters(text, set, true);
}

std::size_t _mbscspn(const unsigned char* text, const unsigned char* set)
{
    if (AsciiIsWholeCharacter(Page()) &&
        (Page().GetKind() == enPageKind::SingleByte || IsAsciiText(set)))
        return std::strcspn(reinterpret_cast<const char*>(text),
                            reinterpret_cast<const char*>(set));
    return SpanCharacters(text, set, false);
}

unsigned char* _mbsupr(unsigned char* text)
{
    MapCase(text, true);
    return text;
}

unsigned char* _mbslwr(unsigned char* text)
{
    MapCase(text, false);
    return text;
}

unsigned char* _mbsrev(unsigned char* text)
{
    // Reversing each character's bytes and then the whole text reverses the
    // character order while restoring every character's own byte order.
    const CCodePage& page = Page();
    unsigned char* p = text;
    while (*p != 0)
    {
        const std::size_t length = page.GetCharLength(p);
        std::reverse(p, p + length);
        p += length;
    }
    std::reverse(text, p);
    return text;
}

unsigned char* _mbsinc(const unsigned char* position)
{
    return const_cast<unsigned char*>(position + Page().GetCharLength(position));
}

std::size_t _mbclen(const unsigned char* position)
{
    return Page().GetCharLength(position);
}

int _ismbcspace(unsigned int ch)
{
    return (ch == ' ' || (ch >= '\t' && ch <= '\r')) ? 1 : 0;
}

int _ismbblead(unsigned int ch)
{
    return (ch <= 0xFF && Page().IsLeadByte(static_cast<BYTE>(ch))) ? 1 : 0;
}
