#include "platform/Dates.h"

#include "model/evProject.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

double Day(int year, int month, int day) { return static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(year, month, day))); }

struct DateCase {
    const char* text;
    const char* format;
    std::optional<double> expected;
};

TEST(DatesTest, ParsesStrictlyWithTheFormatAndWindowsTwoDigitYears)
{
    // The current year is 2026: two-digit years run from 1947 to 2046.
    const DateCase cases[] = {
        {"28.02.2003", "dd.MM.yyyy", Day(2003, 2, 28)},
        {"31.02.2003", "dd.MM.yyyy", std::nullopt},
        {"29.02.2024", "dd.MM.yyyy", Day(2024, 2, 29)},
        {"29.02.2023", "dd.MM.yyyy", std::nullopt},
        {"6.12.26", "dd.MM.yyyy", Day(2026, 12, 6)},
        {"6.12.85", "dd.MM.yy", Day(1985, 12, 6)},
        {"1.1.46", "dd.MM.yy", Day(2046, 1, 1)},
        {"1.1.47", "dd.MM.yy", Day(1947, 1, 1)},
        {"1.1.0", "dd.MM.yy", Day(2000, 1, 1)},
        {" 01.01.2003 ", "dd.MM.yyyy", Day(2003, 1, 1)},
        {"01.01.2003x", "dd.MM.yyyy", std::nullopt},
        {"01.01.2003.", "dd.MM.yyyy", std::nullopt},
        {"01..01.2003", "dd.MM.yyyy", std::nullopt},
        {"01.01", "dd.MM.yyyy", std::nullopt},
        {"01.01.203", "dd.MM.yyyy", std::nullopt},
        {"001.01.2003", "dd.MM.yyyy", std::nullopt},
        {"", "dd.MM.yyyy", std::nullopt},
        {"6/12/26", "M/d/yy", Day(2026, 6, 12)},
        {"13/1/26", "M/d/yy", std::nullopt},
        {"2026-06-12", "yyyy-MM-dd", Day(2026, 6, 12)},
        {"20260612", "yyyyMMdd", Day(2026, 6, 12)},
        {"12. 6. 2026", "d. M. yyyy", Day(2026, 6, 12)},
        {"12.6.2026", "d. M. yyyy", Day(2026, 6, 12)},
        {"12/06/2026", "dd'/'MM'/'yyyy", Day(2026, 6, 12)},
        {"0.06.2026", "dd.MM.yyyy", std::nullopt},
    };
    for (const DateCase& c : cases) {
        const std::optional<double> parsed = ParseDateWithFormat(c.text, c.format, 2026);
        EXPECT_EQ(parsed, c.expected) << c.text << " as " << c.format;
    }
}

TEST(DatesTest, TheShortDateShownIsReadBackAndTodayFollowsItsSource)
{
    // 6 December 2026, with a source such as the tests of the screens use.
    SetTodaySource([] { return Day(2026, 12, 6); });
    EXPECT_EQ(TodayDate(), Day(2026, 12, 6));
    for (const double day : {Day(2026, 12, 6), Day(1985, 1, 31), Day(2003, 2, 28), Day(1900, 3, 1)})
        EXPECT_EQ(ParseShortDate(ShortDateText(day)), day) << ShortDateText(day);
    EXPECT_EQ(ParseShortDate(ShortDateText(Day(2003, 2, 28)) + "1"), std::nullopt);
    SetTodaySource({});
    EXPECT_EQ(TodayDate(), static_cast<double>(QDate(1899, 12, 30).daysTo(QDate::currentDate())));
}

} // namespace
