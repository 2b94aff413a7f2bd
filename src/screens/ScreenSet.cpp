#include "screens/ScreenSet.h"

#include "screens/TFormAddEntry.h"
#include "screens/TFormExit.h"
#include "screens/TFormExitAndSave.h"
#include "screens/TFormImprint.h"
#include "screens/TFormSave.h"
#include "screens/TformMemoPopUp.h"
#include "screens/TformPreview.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"
#include "screens/TyesNoPopup.h"

ScreenSet::ScreenSet() = default;

ScreenSet::~ScreenSet() = default;

ScreenSet& Screens()
{
    static ScreenSet screens;
    return screens;
}

void DestroyScreens()
{
    ScreenSet& screens = Screens();
    screens.formMemoPopUp.reset();
    screens.formImprint.reset();
    screens.formPreview.reset();
    screens.formExitAndSave.reset();
    screens.formAddEntry.reset();
    screens.yesNoPopup.reset();
    screens.waitPopup.reset();
    screens.formSave.reset();
    screens.formExit.reset();
    screens.okPopup.reset();
}
