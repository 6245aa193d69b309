#include "WinOleAuto.h"

#include "CivilDate.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{

// The block holds a 32-bit byte length, then the text and its NUL unit.
constexpr std::size_t kPrefix = sizeof(DWORD);

DWORD* GetHeader(BSTR string)
{
    return reinterpret_cast<DWORD*>(reinterpret_cast<char*>(string) - kPrefix);
}

BSTR Allocate(LPCOLESTR text, UINT length)
{
    const std::size_t bytes = static_cast<std::size_t>(length) * sizeof(OLECHAR);
    if (bytes > 0xFFFFFFF0u)
        return nullptr;
    char* block = static_cast<char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    const DWORD byteLength = static_cast<DWORD>(bytes);
    std::memcpy(block, &byteLength, kPrefix);
    auto* string = reinterpret_cast<BSTR>(block + kPrefix);
    if (text != nullptr)
        std::memcpy(string, text, bytes);
    else
        std::memset(string, 0, bytes);
    string[length] = 0;
    return string;
}

// Day numbers count from 1899-12-30, 25569 days before 1970-01-01.
constexpr long long kVariantEpoch = -25569;

constexpr double kFirstDate = -657434.0; // 0100-01-01
constexpr double kLastDate = 2958466.0;  // the day after 9999-12-31

} // namespace

BSTR SysAllocString(LPCOLESTR text)
{
    if (text == nullptr)
        return nullptr;
    UINT length = 0;
    while (text[length] != 0)
        ++length;
    return Allocate(text, length);
}

BSTR SysAllocStringLen(LPCOLESTR text, UINT length)
{
    return Allocate(text, length);
}

INT SysReAllocStringLen(BSTR* string, LPCOLESTR text, UINT length)
{
    if (string == nullptr)
        return FALSE;
    // The new string is filled before the old one is freed, so text may
    // point into the old string.
    BSTR replacement = Allocate(text, length);
    if (replacement == nullptr)
        return FALSE;
    SysFreeString(*string);
    *string = replacement;
    return TRUE;
}

void SysFreeString(BSTR string)
{
    if (string != nullptr)
        std::free(GetHeader(string));
}

UINT SysStringLen(BSTR string)
{
    return string == nullptr ? 0 : *GetHeader(string) / sizeof(OLECHAR);
}

INT SystemTimeToVariantTime(const SYSTEMTIME* systemTime, DATE* variantTime)
{
    if (systemTime == nullptr || variantTime == nullptr)
        return FALSE;
    const SYSTEMTIME& t = *systemTime;
    if (t.wYear < 100 || t.wYear > 9999 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
        t.wDay > platform::GetDaysInMonth(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute > 59 ||
        t.wSecond > 59)
        return FALSE;
    const double days =
        static_cast<double>(platform::GetDaysFromCivil(t.wYear, t.wMonth, t.wDay) - kVariantEpoch);
    const double fraction = (t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond) / 86400.0;
    // Before 1899-12-30 the whole part counts back while the fraction still
    // counts forward from midnight: -1.25 is 1899-12-29 06:00.
    *variantTime = days < 0 ? days - fraction : days + fraction;
    return TRUE;
}

INT VariantTimeToSystemTime(DATE variantTime, SYSTEMTIME* systemTime)
{
    if (systemTime == nullptr || !std::isfinite(variantTime) || variantTime <= kFirstDate - 1.0 ||
        variantTime >= kLastDate)
        return FALSE;
    const double whole = std::trunc(variantTime);
    const double fraction = std::fabs(variantTime - whole);
    long long day = static_cast<long long>(whole);
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400)
    {
        seconds -= 86400;
        ++day;
    }
    if (day < static_cast<long long>(kFirstDate) || day >= static_cast<long long>(kLastDate))
        return FALSE;
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    platform::GetCivilFromDays(day + kVariantEpoch, year, month, dayOfMonth);
    SYSTEMTIME& t = *systemTime;
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(dayOfMonth);
    t.wDayOfWeek = static_cast<WORD>(platform::GetDayOfWeek(day + kVariantEpoch));
    t.wHour = static_cast<WORD>(seconds / 3600);
    t.wMinute = static_cast<WORD>(seconds / 60 % 60);
    t.wSecond = static_cast<WORD>(seconds % 60);
    t.wMilliseconds = 0;
    return TRUE;
}
