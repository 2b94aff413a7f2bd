#include "screens/PersonalDataCheck.h"

#include "model/PersonalData.h"
#include "platform/Text.h"
#include "screens/DataIndexes.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TTransEdit.h"
#include "screens/TokPopup.h"

#include <cstdint>

std::optional<double> CheckPersonalData(TTransEdit* firstName, TTransEdit* secondName, TTransEdit* date)
{
    const PersonalDataResult result = CheckPersonalData(FromDisplay(firstName->text()),
                                                        FromDisplay(secondName->text()), FromDisplay(date->text()));
    if (result.date)
        return result.date;
    TTransEdit* const fields[] = {firstName, secondName, date};
    const int32_t messages[] = {Help::FirstNameMissing, Help::SecondNameMissing, Help::DateUnreadable};
    const auto failed = static_cast<size_t>(result.failed);
    if (Screens().okPopup)
        Screens().okPopup->Run(HelpText(messages[failed]));
    fields[failed]->selectAll();
    fields[failed]->setFocus();
    return std::nullopt;
}
