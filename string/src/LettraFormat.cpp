#include "Lettra.h"

#include "WinCRuntime.h"
#include "WinCodePage.h"
#include "WinError.h"
#include "WinFormatMessage.h"
#include "WinMbString.h"
#include "WinPrintf.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

const unsigned char* U(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

std::size_t GetWideLength(const WCHAR* text)
{
    std::size_t length = 0;
    while (text[length] != 0)
        ++length;
    return length;
}

int ReadDigits(const unsigned char*& p)
{
    const int value = std::atoi(reinterpret_cast<const char*>(p));
    while (*p >= '0' && *p <= '9')
        ++p;
    return value;
}

enum class enArgument
{
    Int,
    Int64,
    Wide,
    Narrow
};

// Reads the size prefix the formatter knows and says how the argument of
// the conversion is passed.
enArgument ReadSizePrefix(const unsigned char*& p)
{
    enArgument kind = enArgument::Int;
    for (;;)
    {
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4')
        {
            kind = enArgument::Int64;
            p += 3;
        }
        else if (p[0] == 'I' && p[1] == '3' && p[2] == '2')
            p += 3;
        else if (*p == 'I' || *p == 'z' || *p == 't' || *p == 'j')
        {
            kind = enArgument::Int64;
            ++p;
        }
        else if (p[0] == 'l' && p[1] == 'l')
        {
            kind = enArgument::Int64;
            p += 2;
        }
        else if (*p == 'l' || *p == 'w')
        {
            kind = enArgument::Wide;
            ++p;
        }
        else if (*p == 'h')
        {
            kind = enArgument::Narrow;
            ++p;
        }
        else if (*p == 'F' || *p == 'L' || *p == 'N')
            ++p;
        else
            return kind;
    }
}

// Length of a string argument for the estimate: a null pointer counts 6
// ("(null)"), an empty text 1.
int GetStringItem(bool wide, const void* pointer)
{
    if (pointer == nullptr)
        return 6;
    const std::size_t length =
        wide ? GetWideLength(static_cast<const WCHAR*>(pointer))
             : static_cast<std::size_t>(lstrlenA(static_cast<const char*>(pointer)));
    return length == 0 ? 1 : static_cast<int>(std::min<std::size_t>(length, INT_MAX / 2));
}

// A sum that stops at INT_MAX instead of overflowing.
void Add(long long& total, long long item)
{
    total = std::min<long long>(total + std::max<long long>(item, 0), INT_MAX);
}

// Int(): decimal, and when that gives 0, hexadecimal; kept within 32 bits.
long ParseNumber(const char* text)
{
    long long value = std::strtoll(text, nullptr, 10);
    if (value == 0)
        value = std::strtoll(text, nullptr, 16);
    return static_cast<long>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool HasClass(unsigned char ch, int (*test)(int))
{
    return ch < 0x80 && test(ch) != 0;
}

} // namespace

// ---- formatting ------------------------------------------------------------

int Lettra::GetFormattedLength(const char* format, va_list args)
{
    long long total = 0;
    const unsigned char* p = U(format != nullptr ? format : "");
    while (*p != 0)
    {
        if (*p != '%')
        {
            Add(total, static_cast<long long>(_mbclen(p)));
            p = _mbsinc(p);
            continue;
        }
        ++p;
        if (*p == '%')
        {
            Add(total, 1);
            ++p;
            continue;
        }
        long long width = 0;
        bool starWidth = false;
        for (; *p != 0; ++p)
        {
            if (*p == '#')
                Add(total, 2);
            else if (*p == '*')
            {
                width = std::abs(static_cast<long long>(va_arg(args, int)));
                starWidth = true;
            }
            else if (*p != ' ' && *p != '+' && *p != '-' && *p != '0')
                break;
        }
        if (*p == 0)
            break;
        if (!starWidth)
            width = ReadDigits(p);
        long long precision = 0;
        if (*p == '.')
        {
            ++p;
            if (*p == '*')
            {
                precision = std::max(va_arg(args, int), 0);
                ++p;
            }
            else
                precision = ReadDigits(p);
        }
        const enArgument kind = ReadSizePrefix(p);
        long long item = 0;
        switch (*p)
        {
        case 'c':
        case 'C':
            va_arg(args, int);
            item = 2;
            if (precision != 0)
                item = std::min(item, precision);
            Add(total, std::max(item, width));
            break;
        case 's':
        case 'S':
        {
            const bool wide = kind == enArgument::Wide || (*p == 'S' && kind != enArgument::Narrow);
            item = GetStringItem(wide, va_arg(args, const void*));
            if (precision != 0)
                item = std::min(item, precision);
            Add(total, std::max(item, width));
            break;
        }
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            if (kind == enArgument::Int64)
                va_arg(args, long long);
            else
                va_arg(args, int);
            Add(total, std::max(width + precision, 32LL));
            break;
        case 'p':
            va_arg(args, void*);
            Add(total, std::max(width + precision, 32LL));
            break;
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            va_arg(args, double);
            Add(total, std::max(width + precision, 128LL));
            break;
        case 'f':
            va_arg(args, double);
            Add(total, std::max(128LL, 312 + precision));
            break;
        case 'n':
            va_arg(args, void*);
            break;
        case 0:
            return static_cast<int>(total);
        default:
            break;
        }
        ++p;
    }
    return static_cast<int>(total);
}

int Lettra::VFormat(char* buffer, int size, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int written = _vsnprintf(buffer, static_cast<std::size_t>(size - 1), format, copy);
    va_end(copy);
    if (written >= 0)
    {
        buffer[written] = '\0';
        return written;
    }
    buffer[size - 1] = '\0';
    va_copy(copy, args);
    const int needed = _vscprintf(format, copy);
    va_end(copy);
    return needed;
}

namespace
{

// Formats into `out`, in a buffer sized by the estimate and grown to the
// exact length when the estimate falls short. Returns the estimate.
int FormatInto(Lettra& out, int (*estimate)(const char*, va_list),
               int (*write)(char*, int, const char*, va_list), const char* format, va_list args)
{
    if (format == nullptr)
        format = "";
    va_list copy;
    va_copy(copy, args);
    const int reserve = estimate(format, copy);
    va_end(copy);
    // An empty result must not be written into the shared empty text, which
    // GetBuffer(0) hands back on an empty string.
    char emptyResult[1];
    va_copy(copy, args);
    int length =
        write(reserve > 0 ? out.GetBuffer(reserve) : emptyResult, reserve + 1, format, copy);
    va_end(copy);
    if (length > reserve)
    {
        va_copy(copy, args);
        write(out.GetBuffer(length), length + 1, format, copy);
        va_end(copy);
    }
    out.ReleaseBuffer(-1);
    return reserve;
}

} // namespace

void Lettra::FormatV(const char* format, va_list args)
{
    // Formatted apart and then assigned, so that an argument may be this
    // string's own text.
    Lettra result;
    FormatInto(result, GetFormattedLength, VFormat, format, args);
    *this = result;
}

void Lettra::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void Lettra::AppendFormatV(const char* format, va_list args)
{
    Lettra piece;
    const int reserve = FormatInto(piece, GetFormattedLength, VFormat, format, args);
    if (piece.IsEmpty())
        return;
    const int length = GetLength();
    char* buffer = GetBuffer(length + std::max(reserve, piece.GetLength()));
    std::memcpy(buffer + length, piece.m_pchData, static_cast<std::size_t>(piece.GetLength()) + 1);
    ReleaseBuffer(length + piece.GetLength());
}

void Lettra::AppendFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void Lettra::FormatMessageA(DWORD code, const char* format, ...)
{
    constexpr int kMessageBuffer = 2048;
    if (code == 0)
        code = GetLastError();
    Lettra message;
    message.GetBuffer(kMessageBuffer);
    va_list args;
    va_start(args, format);
    message.AppendFormatV(format, args);
    va_end(args);
    message.AppendFormat(" <Error Code=%d (0x%0x)>, ", static_cast<int>(code),
                         static_cast<unsigned>(code));
    const int length = message.GetLength();
    const int room = kMessageBuffer - length;
    if (room > 1)
    {
        char* buffer = message.GetBuffer(kMessageBuffer);
        const DWORD written = ::FormatMessageA(
            FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
            LANG_USER_DEFAULT, buffer + length, static_cast<DWORD>(room), nullptr);
        message.ReleaseBuffer(length + static_cast<int>(written));
    }
    *this = message;
}

Lettra Lettra::DigitFormat(const char* format) const
{
    Lettra result;
    const int number = Int();
    if (number != 0)
    {
        result.Format(format, number, number, number, number, number, number, number, number);
        return result;
    }
    const double value = Double();
    if (value != 0.0)
        result.Format(format, value, value, value, value, value, value, value, value);
    return result;
}

// ---- parsing ---------------------------------------------------------------

int Lettra::Int() const
{
    return static_cast<int>(ParseNumber(m_pchData));
}

long Lettra::Long() const
{
    return ParseNumber(m_pchData);
}

// Reads a number as the Windows runtime does: no hexadecimal floats and no
// "inf" or "nan" (they read as 0).
double Lettra::Double() const
{
    const char* p = m_pchData;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    const char* digits = (*p == '+' || *p == '-') ? p + 1 : p;
    if (!std::isdigit(static_cast<unsigned char>(*digits)) && *digits != '.')
        return 0.0;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        return 0.0;
    return std::strtod(p, nullptr);
}

bool Lettra::Bool() const
{
    const char* begin = m_pchData;
    if (std::any_of(begin, begin + GetLength(), [](char ch) { return ch >= '0' && ch <= '9'; }))
        return Int() != 0;
    const Lettra trimmed = Trim();
    return trimmed.CompareNoCase("true") == 0 || trimmed.CompareNoCase("on") == 0 ||
           trimmed.CompareNoCase("yes") == 0;
}

// ---- character classes -----------------------------------------------------

namespace
{

bool ByteHasClass(const Lettra& text, int index, int (*test)(int))
{
    return index >= 0 && index < text.GetLength() &&
           HasClass(static_cast<unsigned char>(text[index]), test);
}

bool AllBytesHaveClass(const Lettra& text, int (*test)(int))
{
    const char* p = text.constBuffer();
    return std::all_of(p, p + text.GetLength(),
                       [test](char ch) { return HasClass(static_cast<unsigned char>(ch), test); });
}

} // namespace

bool Lettra::IsDigit(int index) const
{
    return ByteHasClass(*this, index, std::isdigit);
}

bool Lettra::IsAlNum(int index) const
{
    return ByteHasClass(*this, index, std::isalnum);
}

bool Lettra::IsAlpha(int index) const
{
    return ByteHasClass(*this, index, std::isalpha);
}

bool Lettra::IsUpper(int index) const
{
    return ByteHasClass(*this, index, std::isupper);
}

bool Lettra::IsLower(int index) const
{
    return ByteHasClass(*this, index, std::islower);
}

bool Lettra::IsSpace(int index) const
{
    return ByteHasClass(*this, index, std::isspace);
}

bool Lettra::IsDigit() const
{
    return AllBytesHaveClass(*this, std::isdigit);
}

bool Lettra::IsAlNum() const
{
    return AllBytesHaveClass(*this, std::isalnum);
}

bool Lettra::IsAlpha() const
{
    return AllBytesHaveClass(*this, std::isalpha);
}

bool Lettra::IsUpper() const
{
    return AllBytesHaveClass(*this, std::isupper);
}

bool Lettra::IsLower() const
{
    return AllBytesHaveClass(*this, std::islower);
}

bool Lettra::IsSpace() const
{
    return AllBytesHaveClass(*this, std::isspace);
}

// ---- code pages --------------------------------------------------------------

bool Lettra::Recode(UINT from, UINT to)
{
    const int length = GetLength();
    if (length == 0)
        return false;
    const int units = MultiByteToWideChar(from, 0, m_pchData, length, nullptr, 0);
    if (units == 0)
        return false;
    std::vector<WCHAR> wide(static_cast<std::size_t>(units) + 10, 0);
    MultiByteToWideChar(from, 0, m_pchData, length, wide.data(), units);
    const int bytes = WideCharToMultiByte(to, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (bytes == 0)
        return false;
    std::vector<char> converted(static_cast<std::size_t>(bytes) + 10, '\0');
    WideCharToMultiByte(to, 0, wide.data(), units, converted.data(), bytes, nullptr, nullptr);
    *this = converted.data();
    return true;
}

bool Lettra::ToCharacterSet(UINT codePage)
{
    return Recode(CP_THREAD_ACP, codePage);
}

bool Lettra::FromCharacterSet(UINT codePage)
{
    return Recode(codePage, CP_THREAD_ACP);
}

bool Lettra::ToUnicode()
{
    const int length = GetLength();
    if (length == 0)
        return false;
    const int units = MultiByteToWideChar(CP_THREAD_ACP, 0, m_pchData, length, nullptr, 0);
    if (units == 0)
        return false;
    std::vector<WCHAR> wide(static_cast<std::size_t>(units));
    MultiByteToWideChar(CP_THREAD_ACP, 0, m_pchData, length, wide.data(), units);
    // The code units in little-endian byte order, the host's order.
    std::memcpy(GetBuffer(2 * units), wide.data(), 2 * static_cast<std::size_t>(units));
    ReleaseBuffer(2 * units);
    return true;
}

bool Lettra::FromUnicode()
{
    const int units = GetLength() / 2;
    if (units == 0)
        return false;
    std::vector<WCHAR> wide(static_cast<std::size_t>(units));
    std::memcpy(wide.data(), m_pchData, 2 * static_cast<std::size_t>(units));
    const int bytes =
        WideCharToMultiByte(CP_THREAD_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (bytes == 0)
        return false;
    std::vector<char> converted(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_THREAD_ACP, 0, wide.data(), units, converted.data(), bytes, nullptr,
                        nullptr);
    AssignCopy(bytes, converted.data());
    return true;
}

Lettra& Lettra::operator=(const WCHAR* text)
{
    const int units = text != nullptr ? static_cast<int>(GetWideLength(text)) : 0;
    const int bytes =
        units > 0 ? WideCharToMultiByte(CP_THREAD_ACP, 0, text, units, nullptr, 0, nullptr, nullptr)
                  : 0;
    if (bytes == 0)
    {
        Empty();
        return *this;
    }
    std::vector<char> converted(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_THREAD_ACP, 0, text, units, converted.data(), bytes, nullptr, nullptr);
    AssignCopy(bytes, converted.data());
    return *this;
}

BSTR Lettra::AllocSysString(const char* text, int length)
{
    const int units = length > 0 ? MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0) : 0;
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (result != nullptr && units > 0)
        MultiByteToWideChar(CP_ACP, 0, text, length, result, units);
    return result;
}

int Lettra::ReAllocSysString(const char* text, BSTR* string, int length)
{
    const int units = length > 0 ? MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0) : 0;
    std::vector<WCHAR> wide(static_cast<std::size_t>(units) + 1, 0);
    if (units > 0)
        MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), units);
    return SysReAllocStringLen(string, wide.data(), static_cast<UINT>(units));
}

BSTR Lettra::AllocSysString() const
{
    return AllocSysString(m_pchData, GetLength());
}

BSTR Lettra::SetSysString(BSTR* string) const
{
    ReAllocSysString(m_pchData, string, GetLength());
    return *string;
}

// ---- elements ----------------------------------------------------------------

Lettra Lettra::Elements(int from, int to, char separator) const
{
    const int length = GetLength();
    if (to < 0)
        to = Count(separator);
    if (from < 0 || to < from)
        return Lettra();
    const int want = to - from + 1;
    int start = 0;
    for (int seen = 0; seen < from; ++seen)
    {
        const char* found = static_cast<const char*>(
            std::memchr(m_pchData + start, separator, static_cast<std::size_t>(length - start)));
        if (found == nullptr)
        {
            start = length;
            break;
        }
        start = static_cast<int>(found - m_pchData) + 1;
        if (start >= length)
            break;
    }
    if (start >= length)
        return Lettra(separator, want - 1);
    int passed = 0;
    for (int position = start; position < length; ++position)
    {
        if (m_pchData[position] == separator && ++passed == want)
            return position == 0 ? Lettra() : Mid(start, position - start);
    }
    return Mid(start) + Lettra(separator, want - passed - 1);
}

Lettra Lettra::Element(int index, char separator) const
{
    return Elements(index, index, separator);
}

namespace
{

template <typename Match> int FindElement(const Lettra& text, char separator, Match matches)
{
    const int last = text.Count(separator);
    for (int index = 0; index <= last; ++index)
    {
        if (matches(text.Element(index, separator)))
            return index;
    }
    return -1;
}

} // namespace

int Lettra::IndexOfElement(const char* value, char separator) const
{
    const char* wanted = value != nullptr ? value : "";
    return FindElement(*this, separator,
                       [wanted](const Lettra& element) { return element.Compare(wanted) == 0; });
}

int Lettra::IndexOfElement(double value, char separator) const
{
    return FindElement(*this, separator,
                       [value](const Lettra& element) { return element.Double() == value; });
}

int Lettra::IndexOfElement(int value, char separator) const
{
    return FindElement(*this, separator,
                       [value](const Lettra& element) { return element.Int() == value; });
}

int Lettra::IndexOfElement(char value, char separator) const
{
    return FindElement(*this, separator,
                       [value](const Lettra& element) { return element.Char() == value; });
}

int Lettra::IndexOfElement(bool value, char separator) const
{
    return FindElement(*this, separator,
                       [value](const Lettra& element) { return element.Bool() == value; });
}

// ---- similarity --------------------------------------------------------------

float Lettra::Similar(const char* text) const
{
    const int ownLength = GetLength();
    const int otherLength = text != nullptr ? static_cast<int>(std::strlen(text)) : 0;
    if (ownLength == 0 || otherLength == 0)
        return 0.0f;
    std::vector<int> previous(static_cast<std::size_t>(ownLength) + 1, 0);
    std::vector<int> current(static_cast<std::size_t>(ownLength) + 1, 0);
    for (int i = 0; i < otherLength; ++i)
    {
        for (int j = 1; j <= ownLength; ++j)
        {
            current[j] = text[i] == m_pchData[j - 1] ? previous[j - 1] + 1
                                                     : std::max(current[j - 1], previous[j]);
        }
        std::swap(previous, current);
    }
    return static_cast<float>(previous[ownLength]) / static_cast<float>(ownLength);
}

float Lettra::Similar(const Lettra& text) const
{
    return Similar(text.constBuffer());
}
