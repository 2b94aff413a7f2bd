#pragma once
// The checks of the two names and the date shared by the first wizard page and the personal data screen.

#include <QString>

#include <optional>

class TTransEdit;

// A name counts as blank when nothing but blanks and control characters is left after trimming both ends.
bool IsBlankName(const QString& text);

// Checks first name, second name and date in that order. At the first failure the OK pop-up shows its help text
// (0, 1 or 2), the field's text is selected and the field focused, and nothing is returned; otherwise the date.
std::optional<double> CheckPersonalData(TTransEdit* firstName, TTransEdit* secondName, TTransEdit* date);
