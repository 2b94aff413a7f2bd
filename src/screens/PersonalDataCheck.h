#pragma once
// The personal-data check of the first wizard page and the personal data screen, with the user's feedback.

#include <optional>

class TTransEdit;

// Checks first name, second name and date in that order (model/PersonalData.h). At the first failure the OK
// pop-up shows its help text (0, 1, or 2 followed by examples of today's date), the field's text is selected and
// the field focused, and nothing is returned; otherwise the date.
std::optional<double> CheckPersonalData(TTransEdit* firstName, TTransEdit* secondName, TTransEdit* date);
