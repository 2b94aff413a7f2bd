#include "screens/PersonalDataCheck.h"

#include "platform/Dates.h"
#include "platform/Text.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TTransEdit.h"
#include "screens/TokPopup.h"

#include <cstdint>

namespace {

void Refuse(TTransEdit* field, int32_t helpText)
{
    if (Screens().okPopup)
        Screens().okPopup->Run(HelpText(helpText));
    field->selectAll();
    field->setFocus();
}

} // namespace

bool IsBlankName(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > u' ')
            return false;
    }
    return true;
}

std::optional<double> CheckPersonalData(TTransEdit* firstName, TTransEdit* secondName, TTransEdit* date)
{
    if (IsBlankName(firstName->text())) {
        Refuse(firstName, 0);
        return std::nullopt;
    }
    if (IsBlankName(secondName->text())) {
        Refuse(secondName, 1);
        return std::nullopt;
    }
    const std::optional<double> day = ParseShortDate(FromDisplay(date->text()));
    if (!day)
        Refuse(date, 2);
    return day;
}
