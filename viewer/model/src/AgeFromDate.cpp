#include "AgeFromDate.h"

#include <cctype>
#include <cstring>

namespace
{

struct CivilDate
{
    int year = 0;
    int month = 0;
    int day = 0;
};

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// The value of count digits at text, or -1 when one of them is no digit.
int ReadDigits(const char* text, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i)
    {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
        {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool ParseDate(const char* text, CivilDate& date)
{
    if (text == nullptr)
    {
        return false;
    }
    while (*text == ' ')
    {
        ++text;
    }
    std::size_t length = std::strlen(text);
    while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\0'))
    {
        --length;
    }
    if (length == 8)
    {
        date = {ReadDigits(text, 4), ReadDigits(text + 4, 2), ReadDigits(text + 6, 2)};
    }
    else if (length == 10 && text[4] == '.' && text[7] == '.')
    {
        date = {ReadDigits(text, 4), ReadDigits(text + 5, 2), ReadDigits(text + 8, 2)};
    }
    else
    {
        return false;
    }
    return date.year >= 0 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= DaysInMonth(date.year, date.month);
}

// Days since 0000-03-01 of the proleptic Gregorian calendar.
long DayNumber(const CivilDate& date)
{
    const int year = date.month <= 2 ? date.year - 1 : date.year;
    const int month = date.month <= 2 ? date.month + 9 : date.month - 3;
    return 365L * year + year / 4 - year / 100 + year / 400 + (153 * month + 2) / 5 + date.day - 1;
}

// Full months from birth to the study: the day of the month is reached
// when the study's day is at least the birthday, or the study's month ends
// before the birthday comes.
int FullMonths(const CivilDate& birth, const CivilDate& study)
{
    int months = (study.year - birth.year) * 12 + (study.month - birth.month);
    const int anniversary = birth.day < DaysInMonth(study.year, study.month)
                                ? birth.day
                                : DaysInMonth(study.year, study.month);
    if (study.day < anniversary)
    {
        --months;
    }
    return months;
}

} // namespace

Lettra AgeFromDate(const char* studyDate, const char* birthDate)
{
    CivilDate study;
    CivilDate birth;
    if (!ParseDate(studyDate, study) || !ParseDate(birthDate, birth))
    {
        return Lettra();
    }
    const long days = DayNumber(study) - DayNumber(birth);
    if (days < 0)
    {
        return Lettra();
    }
    const int months = FullMonths(birth, study);
    Lettra age;
    if (months >= 12)
    {
        age.Format("%03dY", months / 12);
    }
    else if (months >= 1)
    {
        age.Format("%03dM", months);
    }
    else
    {
        age.Format("%03ldD", days);
    }
    return age;
}
