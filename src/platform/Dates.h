#pragma once
// Dates as the user types them: the system's short date format, read strictly (31.02.2003 and trailing text
// fail). A year typed with one or two digits is taken in the window from 79 years before the current year to
// 20 years after it; a four-digit year stands as it is. Dates are days since 30 December 1899.

#include <functional>
#include <optional>
#include <string>

std::optional<double> ParseShortDate(const std::string& text);
// The same with a format in the notation of the toolkit's locales ("dd.MM.yyyy", "M/d/yy", ...) and the year
// the two-digit window is centred on.
std::optional<double> ParseDateWithFormat(const std::string& text, const std::string& format, int currentYear);

// The date in the system's short date format, always with a four-digit year; empty for a value that is no date.
std::string ShortDateText(double date);

// Today, as a whole number of days since 30 December 1899.
double TodayDate();
// Replaces the source of TodayDate (tests); an empty function restores the system clock.
void SetTodaySource(std::function<double()> source);
