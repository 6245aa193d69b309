#include "WinCodePage.h"

#include "CodePageTable.h"
#include "WinError.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <locale.h>
#include <map>
#include <memory>
#include <wctype.h>

namespace platform
{
namespace
{

constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b)
{
    return b >= 0x80 && b <= 0xBF;
}

// Length of the valid UTF-8 sequence at p within avail bytes, 0 when none
// starts there. The second byte's range rules out overlong forms, UTF-16
// surrogates and values above U+10FFFF.
std::size_t GetUtf8Length(const unsigned char* p, std::size_t avail)
{
    const unsigned char b = p[0];
    if (b < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF)
        length = 2;
    else if (b >= 0xE0 && b <= 0xEF)
    {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    }
    else if (b >= 0xF0 && b <= 0xF4)
    {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    }
    else
        return 0;
    if (avail < 2 || p[1] < low || p[1] > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
    {
        if (i >= avail || !IsContinuation(p[i]))
            return 0;
    }
    return length;
}

char32_t DecodeUtf8(const unsigned char* p, std::size_t length)
{
    if (length == 1)
        return p[0];
    char32_t value = p[0] & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i)
        value = (value << 6) | (p[i] & 0x3F);
    return value;
}

void AppendUtf16(char32_t value, std::u16string& out)
{
    if (value < 0x10000)
    {
        out.push_back(static_cast<char16_t>(value));
        return;
    }
    value -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
}

void AppendUtf8(char32_t value, std::string& out)
{
    if (value < 0x80)
        out.push_back(static_cast<char>(value));
    else if (value < 0x800)
    {
        out.push_back(static_cast<char>(0xC0 | (value >> 6)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
    else if (value < 0x10000)
    {
        out.push_back(static_cast<char>(0xE0 | (value >> 12)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
    else
    {
        out.push_back(static_cast<char>(0xF0 | (value >> 18)));
        out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Number of UTF-16 units that make one character at text[i].
std::size_t GetUnitCount(const char16_t* text, std::size_t length, std::size_t i)
{
    if (IsHighSurrogate(text[i]) && i + 1 < length && IsLowSurrogate(text[i + 1]))
        return 2;
    return 1;
}

// iconv descriptors are costly to open and not thread-safe: one per page and
// direction, used under one lock (double-byte pages only, a cold path).
class CIconvCache
{
public:
    ~CIconvCache()
    {
        for (auto& entry : m_descriptors)
            iconv_close(entry.second);
    }

    // Converts one character; false when iconv cannot.
    bool Convert(const char* to, const char* from, const char* input, std::size_t inputBytes,
                 std::string& out)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        iconv_t cd = Open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* in = const_cast<char*>(input);
        char* outPtr = buffer;
        std::size_t outLeft = sizeof(buffer);
        if (iconv(cd, &in, &inputBytes, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inputBytes != 0 ||
            iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return false;
        out.assign(buffer, outPtr);
        return true;
    }

private:
    iconv_t Open(const char* to, const char* from)
    {
        const std::string key = std::string(to) + '\n' + from;
        auto found = m_descriptors.find(key);
        if (found != m_descriptors.end())
            return found->second;
        iconv_t cd = iconv_open(to, from);
        if (cd != reinterpret_cast<iconv_t>(-1))
            m_descriptors.emplace(key, cd);
        return cd;
    }

    std::mutex m_lock;
    std::map<std::string, iconv_t> m_descriptors;
};

CIconvCache& GetIconvCache()
{
    static CIconvCache cache;
    return cache;
}

locale_t GetUnicodeLocale()
{
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

using Leads = std::vector<std::pair<BYTE, BYTE>>;

const std::vector<std::unique_ptr<CCodePage>>& GetPages()
{
    static const std::vector<std::unique_ptr<CCodePage>> pages = []
    {
        std::vector<std::unique_ptr<CCodePage>> list;
        auto add = [&list](UINT id, const char* name, enPageKind kind, Leads leads = {})
        { list.push_back(std::make_unique<CCodePage>(id, name, kind, std::move(leads))); };
        add(CP_UTF8, "UTF-8", enPageKind::Utf8);
        add(437, "CP437", enPageKind::SingleByte);
        add(850, "CP850", enPageKind::SingleByte);
        add(866, "CP866", enPageKind::SingleByte);
        add(874, "CP874", enPageKind::SingleByte);
        add(1250, "CP1250", enPageKind::SingleByte);
        add(1251, "CP1251", enPageKind::SingleByte);
        add(1252, "CP1252", enPageKind::SingleByte);
        add(1253, "CP1253", enPageKind::SingleByte);
        add(1254, "CP1254", enPageKind::SingleByte);
        add(1256, "CP1256", enPageKind::SingleByte);
        add(1257, "CP1257", enPageKind::SingleByte);
        add(28591, "ISO-8859-1", enPageKind::SingleByte);
        add(932, "CP932", enPageKind::DoubleByte, {{0x81, 0x9F}, {0xE0, 0xFC}});
        add(936, "CP936", enPageKind::DoubleByte, {{0x81, 0xFE}});
        add(949, "CP949", enPageKind::DoubleByte, {{0x81, 0xFE}});
        add(950, "CP950", enPageKind::DoubleByte, {{0x81, 0xFE}});
        return list;
    }();
    return pages;
}

const CCodePage* FindPageById(UINT id)
{
    for (const auto& page : GetPages())
    {
        if (page->GetId() == id)
            return page.get();
    }
    return nullptr;
}

// A page named by an environment variable, or null when it names none the
// layer converts (reported once on the error stream).
const CCodePage* ReadPageFromEnvironment(const char* variable)
{
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0')
        return nullptr;
    char* end = nullptr;
    const unsigned long id = std::strtoul(value, &end, 10);
    const CCodePage* page =
        (*end == '\0' && id <= UINT_MAX) ? FindPageById(static_cast<UINT>(id)) : nullptr;
    if (page == nullptr)
        std::fprintf(stderr, "platform: %s=%s is not a supported code page; ignored\n", variable,
                     value);
    return page;
}

std::atomic<const CCodePage*>& AnsiPage()
{
    static std::atomic<const CCodePage*> page{
        []
        {
            const CCodePage* named = ReadPageFromEnvironment("PLATFORM_ACP");
            return named != nullptr ? named : FindPageById(CP_UTF8);
        }()};
    return page;
}

// Null while the OEM page follows the ANSI page's default.
std::atomic<const CCodePage*>& ExplicitOemPage()
{
    static std::atomic<const CCodePage*> page{ReadPageFromEnvironment("PLATFORM_OEMCP")};
    return page;
}

const CCodePage& GetOemCodePage()
{
    const CCodePage* oem = ExplicitOemPage().load();
    if (oem != nullptr)
        return *oem;
    const CCodePage& ansi = GetAnsiCodePage();
    return ansi.GetKind() == enPageKind::DoubleByte ? ansi : *FindPageById(437);
}

bool DecodeDoubleByte(const CCodePage& page, const unsigned char* p, std::size_t length,
                      bool strict, std::u16string& out)
{
    std::size_t i = 0;
    while (i < length)
    {
        if (p[i] < 0x80)
        {
            out.push_back(p[i++]);
            continue;
        }
        const bool pair = page.IsLeadByte(p[i]) && i + 1 < length && p[i + 1] >= 0x40 &&
                          p[i + 1] != 0x7F && p[i + 1] != 0xFF;
        const std::size_t count = pair ? 2 : 1;
        std::string units;
        if (GetIconvCache().Convert("UTF-16LE", page.GetIconvName(),
                                    reinterpret_cast<const char*>(p + i), count, units))
        {
            for (std::size_t u = 0; u + 1 < units.size(); u += 2)
                out.push_back(
                    static_cast<char16_t>(static_cast<unsigned char>(units[u]) |
                                          (static_cast<unsigned char>(units[u + 1]) << 8)));
        }
        else if (strict)
            return false;
        else
            out.push_back(kReplacement);
        i += count;
    }
    return true;
}

bool EncodeDoubleByte(const CCodePage& page, const char16_t* text, std::size_t length,
                      const std::string& defaultChar, bool& usedDefault, std::string& out)
{
    std::size_t i = 0;
    while (i < length)
    {
        if (text[i] < 0x80)
        {
            out.push_back(static_cast<char>(text[i++]));
            continue;
        }
        const std::size_t count = GetUnitCount(text, length, i);
        char bytes[4];
        for (std::size_t u = 0; u < count; ++u)
        {
            bytes[2 * u] = static_cast<char>(text[i + u] & 0xFF);
            bytes[2 * u + 1] = static_cast<char>(text[i + u] >> 8);
        }
        std::string converted;
        if (GetIconvCache().Convert(page.GetIconvName(), "UTF-16LE", bytes, 2 * count, converted))
            out += converted;
        else
        {
            out += defaultChar;
            usedDefault = true;
        }
        i += count;
    }
    return true;
}

} // namespace

CCodePage::CCodePage(UINT id, const char* iconvName, enPageKind kind, Leads leads)
    : m_id(id), m_iconvName(iconvName), m_kind(kind)
{
    for (const auto& range : leads)
    {
        for (unsigned b = range.first; b <= range.second; ++b)
            m_lead[b] = true;
    }
    if (kind == enPageKind::Utf8)
    {
        for (unsigned b = 0xC2; b <= 0xF4; ++b)
            m_lead[b] = true;
    }
}

std::size_t CCodePage::GetCharLength(const unsigned char* p) const
{
    switch (m_kind)
    {
    case enPageKind::Utf8:
        if (p[0] < 0x80)
            return 1;
        {
            // A NUL fails every range check, so at most the bytes up to it are read.
            const std::size_t length = GetUtf8Length(p, 4);
            return length == 0 ? 1 : length;
        }
    case enPageKind::DoubleByte:
        return (m_lead[p[0]] && p[1] >= 0x40 && p[1] != 0x7F && p[1] != 0xFF) ? 2 : 1;
    case enPageKind::SingleByte:
        break;
    }
    return 1;
}

void CCodePage::BuildTables() const
{
    for (unsigned b = 0; b < 256; ++b)
    {
        m_wide[b] = static_cast<char16_t>(b);
        m_upper[b] = static_cast<BYTE>((b >= 'a' && b <= 'z') ? b - 'a' + 'A' : b);
        m_lower[b] = static_cast<BYTE>((b >= 'A' && b <= 'Z') ? b - 'A' + 'a' : b);
    }
    if (m_kind != enPageKind::SingleByte)
        return;
    iconv_t cd = iconv_open("UTF-16LE", m_iconvName);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return;
    for (unsigned b = 0x80; b < 256; ++b)
    {
        char input = static_cast<char>(b);
        char* in = &input;
        std::size_t inLeft = 1;
        unsigned char output[8];
        char* out = reinterpret_cast<char*>(output);
        std::size_t outLeft = sizeof(output);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) &&
            sizeof(output) - outLeft == 2)
            m_wide[b] = static_cast<char16_t>(output[0] | (output[1] << 8));
    }
    iconv_close(cd);
    for (unsigned b = 0x80; b < 256; ++b)
        m_reverse.emplace_back(m_wide[b], static_cast<BYTE>(b));
    std::stable_sort(m_reverse.begin(), m_reverse.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    locale_t locale = GetUnicodeLocale();
    if (locale == static_cast<locale_t>(nullptr))
        return;
    for (unsigned b = 0x80; b < 256; ++b)
    {
        BYTE mapped = 0;
        if (LookUpByte(static_cast<char16_t>(towupper_l(m_wide[b], locale)), mapped))
            m_upper[b] = mapped;
        if (LookUpByte(static_cast<char16_t>(towlower_l(m_wide[b], locale)), mapped))
            m_lower[b] = mapped;
    }
}

char16_t CCodePage::GetWide(BYTE b) const
{
    std::call_once(m_built, [this] { BuildTables(); });
    return m_wide[b];
}

bool CCodePage::FindByte(char16_t unit, BYTE& byte) const
{
    std::call_once(m_built, [this] { BuildTables(); });
    return LookUpByte(unit, byte);
}

bool CCodePage::LookUpByte(char16_t unit, BYTE& byte) const
{
    if (unit < 0x80)
    {
        byte = static_cast<BYTE>(unit);
        return true;
    }
    auto found = std::lower_bound(m_reverse.begin(), m_reverse.end(), unit,
                                  [](const auto& entry, char16_t u) { return entry.first < u; });
    if (found == m_reverse.end() || found->first != unit)
        return false;
    byte = found->second;
    return true;
}

BYTE CCodePage::GetUpper(BYTE b) const
{
    std::call_once(m_built, [this] { BuildTables(); });
    return m_upper[b];
}

BYTE CCodePage::GetLower(BYTE b) const
{
    std::call_once(m_built, [this] { BuildTables(); });
    return m_lower[b];
}

const CCodePage* FindCodePage(UINT codePage)
{
    switch (codePage)
    {
    case CP_ACP:
    case CP_THREAD_ACP:
        return &GetAnsiCodePage();
    case CP_OEMCP:
        return &GetOemCodePage();
    default:
        return FindPageById(codePage);
    }
}

const CCodePage& GetAnsiCodePage()
{
    return *AnsiPage().load(std::memory_order_acquire);
}

bool DecodeText(const CCodePage& page, const char* text, std::size_t length, bool strict,
                std::u16string& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    out.reserve(out.size() + length);
    switch (page.GetKind())
    {
    case enPageKind::Utf8:
        for (std::size_t i = 0; i < length;)
        {
            const std::size_t count = GetUtf8Length(p + i, length - i);
            if (count == 0)
            {
                if (strict)
                    return false;
                out.push_back(kReplacement);
                ++i;
                continue;
            }
            AppendUtf16(DecodeUtf8(p + i, count), out);
            i += count;
        }
        return true;
    case enPageKind::SingleByte:
        for (std::size_t i = 0; i < length; ++i)
            out.push_back(page.GetWide(p[i]));
        return true;
    case enPageKind::DoubleByte:
        return DecodeDoubleByte(page, p, length, strict, out);
    }
    return false;
}

bool EncodeText(const CCodePage& page, const char16_t* text, std::size_t length, bool strict,
                const std::string& defaultChar, bool& usedDefault, std::string& out)
{
    usedDefault = false;
    out.reserve(out.size() + length);
    switch (page.GetKind())
    {
    case enPageKind::Utf8:
        for (std::size_t i = 0; i < length;)
        {
            const std::size_t count = GetUnitCount(text, length, i);
            if (count == 2)
                AppendUtf8(0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00),
                           out);
            else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]))
            {
                if (strict)
                    return false;
                AppendUtf8(kReplacement, out);
            }
            else
                AppendUtf8(text[i], out);
            i += count;
        }
        return true;
    case enPageKind::SingleByte:
        for (std::size_t i = 0; i < length;)
        {
            const std::size_t count = GetUnitCount(text, length, i);
            BYTE byte = 0;
            if (count == 1 && page.FindByte(text[i], byte))
                out.push_back(static_cast<char>(byte));
            else
            {
                out += defaultChar;
                usedDefault = true;
            }
            i += count;
        }
        return true;
    case enPageKind::DoubleByte:
        return EncodeDoubleByte(page, text, length, defaultChar, usedDefault, out);
    }
    return false;
}

} // namespace platform

using platform::CCodePage;

namespace
{

std::size_t GetWideLength(const char16_t* text)
{
    std::size_t length = 0;
    while (text[length] != 0)
        ++length;
    return length;
}

// The converted text cut to at most `limit` bytes on a character boundary.
std::size_t CutAtCharacter(const CCodePage& page, const std::string& text, std::size_t limit)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.c_str());
    std::size_t length = 0;
    while (length < text.size())
    {
        const std::size_t next = length + page.GetCharLength(p + length);
        if (next > limit)
            break;
        length = next;
    }
    return length;
}

// Re-encodes `length` bytes from one page to another; in place the result
// keeps within the source's length.
BOOL ConvertBetweenPages(const CCodePage& from, const CCodePage& to, LPCSTR source,
                         LPSTR destination, std::size_t length, bool terminate)
{
    if (source == nullptr || destination == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::u16string wide;
    platform::DecodeText(from, source, length, false, wide);
    std::string converted;
    bool usedDefault = false;
    platform::EncodeText(to, wide.data(), wide.size(), false, "?", usedDefault, converted);
    std::size_t count = converted.size();
    if (source == destination && count > length)
        count = CutAtCharacter(to, converted, length);
    std::memmove(destination, converted.data(), count);
    if (terminate)
        destination[count] = '\0';
    return TRUE;
}

// Hands a converted text to the caller of a conversion: its length when no
// destination size is given, else the text copied into the destination.
template <typename TText, typename TChar>
int CopyConverted(const TText& text, TChar* destination, int destinationSize)
{
    if (text.size() > static_cast<std::size_t>(INT_MAX))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int count = static_cast<int>(text.size());
    if (destinationSize == 0)
        return count;
    if (count > destinationSize)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(text.begin(), text.end(), destination);
    return count;
}
} // namespace

UINT GetACP()
{
    return platform::GetAnsiCodePage().GetId();
}

UINT GetOEMCP()
{
    return platform::FindCodePage(CP_OEMCP)->GetId();
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes,
                        LPWSTR destination, int destinationChars)
{
    const CCodePage* page = platform::FindCodePage(codePage);
    if (page == nullptr || source == nullptr || sourceBytes == 0 || sourceBytes < -1 ||
        destinationChars < 0 || (destinationChars > 0 && destination == nullptr))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed = page->GetKind() == platform::enPageKind::Utf8
                              ? MB_ERR_INVALID_CHARS
                              : MB_PRECOMPOSED | MB_ERR_INVALID_CHARS;
    if ((flags & ~allowed) != 0)
    {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const std::size_t length =
        sourceBytes == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(sourceBytes);
    std::u16string wide;
    if (!platform::DecodeText(*page, source, length, (flags & MB_ERR_INVALID_CHARS) != 0, wide))
    {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return CopyConverted(wide, destination, destinationChars);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceChars,
                        LPSTR destination, int destinationBytes, LPCSTR defaultChar,
                        LPBOOL usedDefaultChar)
{
    const CCodePage* page = platform::FindCodePage(codePage);
    const bool utf8 = page != nullptr && page->GetKind() == platform::enPageKind::Utf8;
    if (page == nullptr || source == nullptr || sourceChars == 0 || sourceChars < -1 ||
        destinationBytes < 0 || (destinationBytes > 0 && destination == nullptr) ||
        (utf8 && (defaultChar != nullptr || usedDefaultChar != nullptr)))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DWORD allowed =
        utf8 ? WC_ERR_INVALID_CHARS : WC_COMPOSITECHECK | WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS;
    if ((flags & ~allowed) != 0)
    {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const std::size_t length =
        sourceChars == -1 ? GetWideLength(source) + 1 : static_cast<std::size_t>(sourceChars);
    std::string fallback = "?";
    if (defaultChar != nullptr && *defaultChar != '\0')
        fallback.assign(defaultChar,
                        page->GetCharLength(reinterpret_cast<const unsigned char*>(defaultChar)));
    std::string bytes;
    bool usedDefault = false;
    if (!platform::EncodeText(*page, source, length, (flags & WC_ERR_INVALID_CHARS) != 0, fallback,
                              usedDefault, bytes))
    {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (usedDefaultChar != nullptr)
        *usedDefaultChar = usedDefault ? TRUE : FALSE;
    return CopyConverted(bytes, destination, destinationBytes);
}

BOOL CharToOemA(LPCSTR source, LPSTR destination)
{
    const std::size_t length = source != nullptr ? std::strlen(source) : 0;
    return ConvertBetweenPages(*platform::FindCodePage(CP_ACP), *platform::FindCodePage(CP_OEMCP),
                               source, destination, length, true);
}

BOOL OemToCharA(LPCSTR source, LPSTR destination)
{
    const std::size_t length = source != nullptr ? std::strlen(source) : 0;
    return ConvertBetweenPages(*platform::FindCodePage(CP_OEMCP), *platform::FindCodePage(CP_ACP),
                               source, destination, length, true);
}

BOOL CharToOemBuffA(LPCSTR source, LPSTR destination, DWORD length)
{
    return ConvertBetweenPages(*platform::FindCodePage(CP_ACP), *platform::FindCodePage(CP_OEMCP),
                               source, destination, length, false);
}

BOOL OemToCharBuffA(LPCSTR source, LPSTR destination, DWORD length)
{
    return ConvertBetweenPages(*platform::FindCodePage(CP_OEMCP), *platform::FindCodePage(CP_ACP),
                               source, destination, length, false);
}

BOOL PlatformSetACP(UINT codePage)
{
    const CCodePage* page = platform::FindPageById(codePage);
    if (page == nullptr)
        return FALSE;
    platform::AnsiPage().store(page, std::memory_order_release);
    return TRUE;
}

BOOL PlatformSetOEMCP(UINT codePage)
{
    const CCodePage* page = platform::FindPageById(codePage);
    if (page == nullptr)
        return FALSE;
    platform::ExplicitOemPage().store(page);
    return TRUE;
}
