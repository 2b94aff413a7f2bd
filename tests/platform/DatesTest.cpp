#include "platform/Dates.h"

#include "model/evProject.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

double Day(int year, int month, int day)
{
    return static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(year, month, day)));
}

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
        {"6.12.26", "dd.MM.yyyy", Day(2026, 12, 6)},
        {"1.1.46", "dd.MM.yy", Day(2046, 1, 1)},
        {"1.1.47", "dd.MM.yy", Day(1947, 1, 1)},
        {" 01.01.2003 ", "dd.MM.yyyy", Day(2003, 1, 1)},
        {"01.01.2003x", "dd.MM.yyyy", std::nullopt},
        {"01.01", "dd.MM.yyyy", std::nullopt},
        {"001.01.2003", "dd.MM.yyyy", std::nullopt},
        {"6/12/26", "M/d/yy", Day(2026, 6, 12)},
        {"2026-06-12", "yyyy-MM-dd", Day(2026, 6, 12)},
        {"20260612", "yyyyMMdd", Day(2026, 6, 12)},
        {"12. 6. 2026", "d. M. yyyy", Day(2026, 6, 12)},
        {"12/06/2026", "dd'/'MM'/'yyyy", Day(2026, 6, 12)},
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
        EXPECT_EQ(ParseDateInput(ShortDateText(day)), day) << ShortDateText(day);
    EXPECT_EQ(ParseDateInput(ShortDateText(Day(2003, 2, 28)) + "1"), std::nullopt);
    SetTodaySource({});
    EXPECT_EQ(TodayDate(), static_cast<double>(QDate(1899, 12, 30).daysTo(QDate::currentDate())));
}

struct InputCase {
    QLocale locale;
    const char* text;
    std::optional<double> expected;
};

TEST(DatesTest, TypedDatesAreReadInTheLocalesNumericIsoAndLongFormsWithFourDigitYears)
{
    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    const double christmas = Day(2026, 12, 24);
    const InputCase cases[] = {
        // The C locale shows "24 Dec 2026" and has no numeric form of its own: day first with full stops.
        {c, "24.12.2026", christmas},
        {c, "2026-12-24", christmas},
        {c, "24 December 2026", christmas},
        {c, "Friday, 24 December 2026", std::nullopt},
        {c, "12/24/2026", std::nullopt},
        {c, "24.12.26", std::nullopt},
        {c, "2026-02-30", std::nullopt},
        {c, "26-12-24", std::nullopt},
        {german, "24.12.2026", christmas},
        {german, "24. Dezember 2026", christmas},
        {german, "Donnerstag, 24. Dezember 2026", christmas},
        {us, "12/24/2026", christmas},
        {us, "24.12.2026", std::nullopt},
        {us, "December 24, 2026", christmas},
        {japanese, "2026/12/24", christmas},
        {japanese, "2026年12月24日", christmas},
    };
    for (const InputCase& c : cases)
        EXPECT_EQ(ParseDateInput(c.text, c.locale), c.expected) << c.locale.name().toStdString() << " " << c.text;
}

TEST(DatesTest, TheExamplesOfADateAreReadBackAndTheShownShortDateToo)
{
    using Examples = std::vector<std::string>;
    const double day = Day(2026, 12, 7);
    const struct {
        QLocale locale;
        Examples examples;
    } cases[] = {
        {QLocale::c(), Examples{"07.12.2026", "2026-12-07", "7 December 2026"}},
        {QLocale(QLocale::German, QLocale::Germany), Examples{"07.12.2026", "2026-12-07", "7. Dezember 2026"}},
        {QLocale(QLocale::English, QLocale::UnitedStates), Examples{"12/7/2026", "2026-12-07", "December 7, 2026"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateInputExamples(day, c.locale), c.examples) << c.locale.name().toStdString();
        for (const std::string& example : c.examples)
            EXPECT_EQ(ParseDateInput(example, c.locale), day) << example;
    }
}

} // namespace
