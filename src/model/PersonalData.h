#pragma once
// The rules for the two names and the date of a project, shared by the first wizard page, the personal data
// screen and the chapter names of the wizard.

#include <optional>
#include <string>

// A name counts as blank when it holds nothing but blanks and control characters (UTF-8).
bool IsBlankName(const std::string& utf8);

// The first field that breaks the rules, checked in the order first name, second name, date.
enum class PersonalDataField { FirstName, SecondName, Date };

struct PersonalDataResult {
    std::optional<double> date;                              // the date when every field is right
    PersonalDataField failed = PersonalDataField::FirstName; // otherwise the first field that is not
};

// Checks the names and the date as typed (the date in a form ParseDateInput reads).
PersonalDataResult CheckPersonalData(const std::string& firstName, const std::string& secondName,
                                     const std::string& date);
