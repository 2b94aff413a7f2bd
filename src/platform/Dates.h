#pragma once
// Dates as the user types them, read strictly (31.02.2003 and trailing text fail). Dates are days since
// 30 December 1899.

#include <QLocale>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// A date in a format in the notation of the toolkit's locales ("dd.MM.yyyy", "M/d/yy", ...). A year typed with
// one or two digits is taken in the window from 79 years before currentYear to 20 years after it; a four-digit
// year stands as it is.
std::optional<double> ParseDateWithFormat(const std::string& text, const std::string& format, int currentYear);

// The date in the system's short date format, always with a four-digit year; empty for a value that is no date.
std::string ShortDateText(double date);

// What a person may type for a date, read strictly and with four-digit years only: the locale's numeric short
// date (day-first with full stops where the locale's own short date names the month), ISO 8601 (yyyy-MM-dd), the
// locale's long form with or without its weekday (a weekday given must be the date's), and the short date as
// the program shows it.
std::optional<double> ParseDateInput(const std::string& text, const QLocale& locale = QLocale::system());
// Those forms in the toolkit's notation, the three to show as examples first.
std::vector<std::string> DateInputFormats(const QLocale& locale);
// The date written in the numeric, ISO and long forms, for a hint.
std::vector<std::string> DateInputExamples(double date, const QLocale& locale = QLocale::system());

// Today, as a whole number of days since 30 December 1899.
double TodayDate();
// Replaces the source of TodayDate (tests); an empty function restores the system clock.
void SetTodaySource(std::function<double()> source);
