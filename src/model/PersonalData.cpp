#include "model/PersonalData.h"

#include "platform/Dates.h"

bool IsBlankName(const std::string& utf8)
{
    // Every byte of a multi-byte UTF-8 sequence is above 0x7F, so a byte test sees each character as a whole.
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    }
    return true;
}

PersonalDataResult CheckPersonalData(const std::string& firstName, const std::string& secondName,
                                     const std::string& date)
{
    if (IsBlankName(firstName))
        return {std::nullopt, PersonalDataField::FirstName};
    if (IsBlankName(secondName))
        return {std::nullopt, PersonalDataField::SecondName};
    const std::optional<double> day = ParseDateInput(date);
    return {day, PersonalDataField::Date};
}
