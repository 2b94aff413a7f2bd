#include "screens/PersonalDataCheck.h"

#include "model/PersonalData.h"
#include "platform/Text.h"
#include "screens/DataIndexes.h"
#include "screens/DateEntry.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TTransEdit.h"
#include "screens/TokPopup.h"

std::optional<double> CheckPersonalData(TTransEdit* firstName, TTransEdit* secondName, TTransEdit* date)
{
    const PersonalDataResult result =
        CheckPersonalData(FromDisplay(firstName->text()), FromDisplay(secondName->text()), FromDisplay(date->text()));
    if (result.date)
        return result.date;
    TTransEdit* const fields[] = {firstName, secondName, date};
    const int32_t messages[] = {Help::FirstNameMissing, Help::SecondNameMissing, Help::DateUnreadable};
    const auto failed = static_cast<size_t>(result.failed);
    // A date that cannot be read is answered with today's date in the forms the field reads.
    const QString message = result.failed == PersonalDataField::Date ? DateEntry::WithExamples(messages[failed])
                                                                     : HelpText(messages[failed]);
    if (Screens().okPopup)
        Screens().okPopup->Run(message);
    fields[failed]->selectAll();
    fields[failed]->setFocus();
    return std::nullopt;
}
