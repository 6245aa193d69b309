// The age at the study shown on "AGE" labels.
#include "AgeFromDate.h"

#include <gtest/gtest.h>

TEST(AgeFromDate, ThreeDigitsInTheLargestFullUnit)
{
    struct Case
    {
        const char* study;
        const char* birth;
        const char* age;
    };
    const Case cases[] = {
        {"20240315", "19790315", "045Y"},     // on the birthday
        {"20240314", "19790315", "044Y"},     // the day before
        {"2024.03.15", "1979.03.15", "045Y"}, // old dotted form
        {"20240315", "1979.03.16", "044Y"},
        {"20240315", "20230316", "011M"},
        {"20240315", "20240215", "001M"},
        {"20240315", "20240216", "028D"}, // a leap February
        {"20240315", "20240315", "000D"},
        {"20230228", "20220131", "001Y"}, // the 31st falls on the last day
        {"20230227", "20230131", "027D"},
        {"20230228", "20230131", "001M"},
        {"20210228", "20200229", "001Y"},
        {" 20240315 ", "19790315", "045Y"},
        {"30240315", "18790315", "1145Y"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(AgeFromDate(c.study, c.birth), Lettra(c.age)) << c.study << " " << c.birth;
    }
}

TEST(AgeFromDate, NoAgeForMissingInvalidOrReversedDates)
{
    const char* const bad[][2] = {
        {"", "19790315"},         {"20240315", ""},           {nullptr, "19790315"},
        {"20240315", nullptr},    {"2024031", "19790315"},    {"20241315", "19790315"},
        {"20240230", "19790315"}, {"20230229", "19790315"},   {"2024-03-15", "19790315"},
        {"20240315", "20240316"}, {"2024.0315.", "19790315"}, {"20240315", "1979031x"},
    };
    for (const auto& dates : bad)
    {
        EXPECT_TRUE(AgeFromDate(dates[0], dates[1]).IsEmpty())
            << (dates[0] != nullptr ? dates[0] : "null") << " "
            << (dates[1] != nullptr ? dates[1] : "null");
    }
}
