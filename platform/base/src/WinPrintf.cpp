#include "WinPrintf.h"

#include "CodePageTable.h"
#include "WinCodePage.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

// Receives the formatted text: stores what fits, counts everything.
class CSink
{
public:
    CSink(char* buffer, std::size_t capacity) : m_buffer(buffer), m_capacity(capacity) {}

    void Put(const char* text, std::size_t length)
    {
        if (m_total < m_capacity)
            std::memcpy(m_buffer + m_total, text, std::min(length, m_capacity - m_total));
        m_total += length;
    }

    void Pad(char ch, std::size_t count)
    {
        if (m_total < m_capacity)
            std::memset(m_buffer + m_total, ch, std::min(count, m_capacity - m_total));
        m_total += count;
    }

    std::size_t GetTotal() const { return m_total; }

private:
    char* m_buffer;
    std::size_t m_capacity;
    std::size_t m_total = 0;
};

enum class enSize
{
    Default,
    Char,
    Short,
    Long32,
    Int64,
    PointerSized,
    Wide,
    Narrow
};

struct CSpec
{
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    std::size_t width = 0;
    int precision = -1;
    enSize size = enSize::Default;
    char conversion = '\0';
};

// Precision beyond this is taken as this, so a hostile format cannot make
// one conversion allocate without bound.
constexpr int kMaxPrecision = 1 << 16;

const char* ReadNumber(const char* p, long long& value)
{
    value = 0;
    while (*p >= '0' && *p <= '9')
    {
        value = std::min<long long>(value * 10 + (*p - '0'), INT_MAX);
        ++p;
    }
    return p;
}

// Parses flags, width, precision and size prefix after '%'; p points at the
// conversion character afterwards.
const char* ParseSpec(const char* p, CSpec& spec, va_list& args)
{
    for (;; ++p)
    {
        if (*p == '-')
            spec.left = true;
        else if (*p == '+')
            spec.plus = true;
        else if (*p == ' ')
            spec.space = true;
        else if (*p == '#')
            spec.alternate = true;
        else if (*p == '0')
            spec.zero = true;
        else
            break;
    }
    long long number = 0;
    if (*p == '*')
    {
        const int width = va_arg(args, int);
        if (width < 0)
            spec.left = true;
        spec.width = static_cast<std::size_t>(width < 0 ? -static_cast<long long>(width) : width);
        ++p;
    }
    else
    {
        p = ReadNumber(p, number);
        spec.width = static_cast<std::size_t>(number);
    }
    if (*p == '.')
    {
        ++p;
        if (*p == '*')
        {
            const int precision = va_arg(args, int);
            spec.precision = precision < 0 ? -1 : precision;
            ++p;
        }
        else
        {
            p = ReadNumber(p, number);
            spec.precision = static_cast<int>(number);
        }
        spec.precision = std::min(spec.precision, kMaxPrecision);
    }
    for (;;)
    {
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4')
        {
            spec.size = enSize::Int64;
            p += 3;
        }
        else if (p[0] == 'I' && p[1] == '3' && p[2] == '2')
        {
            spec.size = enSize::Long32;
            p += 3;
        }
        else if (*p == 'I' || *p == 'z' || *p == 't' || *p == 'j')
        {
            spec.size = *p == 'j' ? enSize::Int64 : enSize::PointerSized;
            ++p;
        }
        else if (p[0] == 'l' && p[1] == 'l')
        {
            spec.size = enSize::Int64;
            p += 2;
        }
        else if (*p == 'l')
        {
            spec.size = enSize::Long32;
            ++p;
        }
        else if (*p == 'w')
        {
            spec.size = enSize::Wide;
            ++p;
        }
        else if (*p == 'h')
        {
            spec.size = spec.size == enSize::Short ? enSize::Char : enSize::Short;
            ++p;
        }
        else if (*p == 'L' || *p == 'F' || *p == 'N')
            ++p;
        else
            break;
    }
    spec.conversion = *p;
    return p;
}

void PutPadded(CSink& sink, const CSpec& spec, const char* text, std::size_t length)
{
    const std::size_t padding = spec.width > length ? spec.width - length : 0;
    if (!spec.left)
        sink.Pad(' ', padding);
    sink.Put(text, length);
    if (spec.left)
        sink.Pad(' ', padding);
}

// Writes a number snprintf made without width: zero padding goes after the
// sign and a "0x" prefix, as printf does it.
void PutNumber(CSink& sink, const CSpec& spec, const std::string& text, bool zeroAllowed)
{
    if (spec.left || !spec.zero || !zeroAllowed || spec.width <= text.size())
    {
        PutPadded(sink, spec, text.data(), text.size());
        return;
    }
    std::size_t prefix = 0;
    if (!text.empty() && (text[0] == '-' || text[0] == '+' || text[0] == ' '))
        prefix = 1;
    if (text.size() >= prefix + 2 && text[prefix] == '0' &&
        (text[prefix + 1] == 'x' || text[prefix + 1] == 'X'))
        prefix += 2;
    sink.Put(text.data(), prefix);
    sink.Pad('0', spec.width - text.size());
    sink.Put(text.data() + prefix, text.size() - prefix);
}

template <typename T> std::string CallSnprintf(const std::string& format, T value)
{
    char local[128];
    const int length = std::snprintf(local, sizeof(local), format.c_str(), value);
    if (length < 0)
        return std::string();
    if (static_cast<std::size_t>(length) < sizeof(local))
        return std::string(local, static_cast<std::size_t>(length));
    std::vector<char> large(static_cast<std::size_t>(length) + 1);
    std::snprintf(large.data(), large.size(), format.c_str(), value);
    return std::string(large.data(), static_cast<std::size_t>(length));
}

// The printf spec without width, for snprintf to write one value.
std::string MakeFormat(const CSpec& spec, const char* lengthModifier, char conversion)
{
    std::string format = "%";
    if (spec.plus)
        format += '+';
    if (spec.space)
        format += ' ';
    if (spec.alternate)
        format += '#';
    if (spec.precision >= 0)
        format += '.' + std::to_string(spec.precision);
    return format + lengthModifier + conversion;
}

void PutInteger(CSink& sink, const CSpec& spec, va_list& args)
{
    const bool isSigned = spec.conversion == 'd' || spec.conversion == 'i';
    std::string text;
    long long value = 0;
    switch (spec.size)
    {
    case enSize::Int64:
    case enSize::PointerSized:
        value = va_arg(args, long long);
        break;
    default:
        value = isSigned ? static_cast<long long>(va_arg(args, int))
                         : static_cast<long long>(va_arg(args, unsigned int));
        break;
    }
    if (spec.size == enSize::Short)
        value = isSigned ? static_cast<short>(value) : static_cast<unsigned short>(value);
    else if (spec.size == enSize::Char)
        value = isSigned ? static_cast<signed char>(value) : static_cast<unsigned char>(value);
    const std::string format =
        MakeFormat(spec, "ll", spec.conversion == 'i' ? 'd' : spec.conversion);
    if (isSigned)
        text = CallSnprintf(format, value);
    else
        text = CallSnprintf(format, static_cast<unsigned long long>(value));
    PutNumber(sink, spec, text, spec.precision < 0);
}

void PutFloat(CSink& sink, const CSpec& spec, va_list& args)
{
    const double value = va_arg(args, double);
    const std::string text = CallSnprintf(MakeFormat(spec, "", spec.conversion), value);
    const bool finite = text.find_first_of("iInN") == std::string::npos;
    PutNumber(sink, spec, text, finite);
}

void PutPointer(CSink& sink, const CSpec& spec, va_list& args)
{
    const auto value = reinterpret_cast<std::uintptr_t>(va_arg(args, void*));
    char text[32];
    const int length =
        std::snprintf(text, sizeof(text), "%0*llX", static_cast<int>(2 * sizeof(void*)),
                      static_cast<unsigned long long>(value));
    PutPadded(sink, spec, text, static_cast<std::size_t>(length));
}

std::string ConvertWide(const char16_t* text, std::size_t length)
{
    std::u16string wide(text, length);
    std::string bytes;
    bool usedDefault = false;
    platform::EncodeText(platform::GetAnsiCodePage(), wide.data(), wide.size(), false, "?",
                         usedDefault, bytes);
    return bytes;
}

// Cuts text to at most `limit` bytes without splitting a character.
std::size_t CutToPrecision(const char* text, std::size_t length, int precision)
{
    if (precision < 0 || static_cast<std::size_t>(precision) >= length)
        return length;
    const platform::CCodePage& page = platform::GetAnsiCodePage();
    std::size_t count = 0;
    while (count < length)
    {
        const std::size_t next =
            count + page.GetCharLength(reinterpret_cast<const unsigned char*>(text + count));
        if (next > static_cast<std::size_t>(precision))
            break;
        count = next;
    }
    return count;
}

bool IsWide(const CSpec& spec, bool upperCase)
{
    if (spec.size == enSize::Long32 || spec.size == enSize::Wide)
        return true;
    if (spec.size == enSize::Short || spec.size == enSize::Char)
        return false;
    return upperCase;
}

void PutString(CSink& sink, const CSpec& spec, va_list& args)
{
    static const char kNull[] = "(null)";
    const bool wide = IsWide(spec, spec.conversion == 'S');
    const void* pointer = va_arg(args, const void*);
    if (pointer == nullptr)
    {
        PutPadded(sink, spec, kNull, CutToPrecision(kNull, sizeof(kNull) - 1, spec.precision));
        return;
    }
    if (wide)
    {
        const auto* text = static_cast<const char16_t*>(pointer);
        std::size_t units = 0;
        while (text[units] != 0 &&
               (spec.precision < 0 || units < static_cast<std::size_t>(spec.precision)))
            ++units;
        const std::string bytes = ConvertWide(text, units);
        PutPadded(sink, spec, bytes.data(),
                  CutToPrecision(bytes.data(), bytes.size(), spec.precision));
        return;
    }
    const auto* text = static_cast<const char*>(pointer);
    const std::size_t length = spec.precision < 0
                                   ? std::strlen(text)
                                   : strnlen(text, static_cast<std::size_t>(spec.precision));
    PutPadded(sink, spec, text, length);
}

void PutCharacter(CSink& sink, const CSpec& spec, va_list& args)
{
    const int value = va_arg(args, int);
    if (IsWide(spec, spec.conversion == 'C'))
    {
        const char16_t unit = static_cast<char16_t>(value);
        const std::string bytes = ConvertWide(&unit, 1);
        PutPadded(sink, spec, bytes.data(), bytes.size());
        return;
    }
    const char ch = static_cast<char>(value);
    PutPadded(sink, spec, &ch, 1);
}

void FormatInto(CSink& sink, const char* format, va_list& args)
{
    const char* p = format;
    while (*p != '\0')
    {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr)
        {
            sink.Put(p, std::strlen(p));
            return;
        }
        sink.Put(p, static_cast<std::size_t>(percent - p));
        CSpec spec;
        p = ParseSpec(percent + 1, spec, args);
        switch (spec.conversion)
        {
        case '\0':
            return;
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            PutInteger(sink, spec, args);
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            PutFloat(sink, spec, args);
            break;
        case 'p':
            PutPointer(sink, spec, args);
            break;
        case 's':
        case 'S':
            PutString(sink, spec, args);
            break;
        case 'c':
        case 'C':
            PutCharacter(sink, spec, args);
            break;
        case 'n':
            va_arg(args, void*);
            break;
        default:
            sink.Put(p, 1);
            break;
        }
        ++p;
    }
}

} // namespace

int _vsnprintf(char* buffer, std::size_t count, const char* format, va_list args)
{
    if (format == nullptr || (buffer == nullptr && count > 0))
        return -1;
    CSink sink(buffer, count);
    va_list copy;
    va_copy(copy, args);
    FormatInto(sink, format, copy);
    va_end(copy);
    const std::size_t total = sink.GetTotal();
    if (total > count || total > static_cast<std::size_t>(INT_MAX))
        return -1;
    if (total < count)
        buffer[total] = '\0';
    return static_cast<int>(total);
}

int _snprintf(char* buffer, std::size_t count, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = _vsnprintf(buffer, count, format, args);
    va_end(args);
    return result;
}

int _vscprintf(const char* format, va_list args)
{
    if (format == nullptr)
        return -1;
    CSink sink(nullptr, 0);
    va_list copy;
    va_copy(copy, args);
    FormatInto(sink, format, copy);
    va_end(copy);
    const std::size_t total = sink.GetTotal();
    return total > static_cast<std::size_t>(INT_MAX) ? -1 : static_cast<int>(total);
}

int _scprintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = _vscprintf(format, args);
    va_end(args);
    return result;
}
