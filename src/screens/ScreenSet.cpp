#include "screens/ScreenSet.h"

#include "screens/IPageEditor.h"
#include "screens/TFormAddEntry.h"
#include "screens/TFormExit.h"
#include "screens/TFormExitAndSave.h"
#include "screens/TFormFinish.h"
#include "screens/TFormFinishComplete.h"
#include "screens/TFormFinishError.h"
#include "screens/TFormGallery.h"
#include "screens/TFormImageEdit.h"
#include "screens/TFormImprint.h"
#include "screens/TFormMusic.h"
#include "screens/TFormNewProject1.h"
#include "screens/TFormNewProject2.h"
#include "screens/TFormNewProject3.h"
#include "screens/TFormPersonalProject.h"
#include "screens/TFormPhotographer.h"
#include "screens/TFormProjectMenu.h"
#include "screens/TFormSave.h"
#include "screens/TformFindingsPopUp.h"
#include "screens/TformLabelKitPrint.h"
#include "screens/TformLabelkitSetup.h"
#include "screens/TformMemoPopUp.h"
#include "screens/TformPreview.h"
#include "screens/TformProjectEditLayout.h"
#include "screens/TformProjectEditPicture.h"
#include "screens/TformProjectEditText.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"
#include "screens/TyesNoPopup.h"

ScreenSet::ScreenSet() = default;

ScreenSet::~ScreenSet() = default;

IPageEditor* ScreenSet::PageEditor(int32_t number) const
{
    switch (number) {
    case 2: return formEditLayout.get();
    case 3: return formEditPicture.get();
    case 4: return formEditText.get();
    default: return nullptr;
    }
}

ScreenSet& Screens()
{
    static ScreenSet screens;
    return screens;
}

void DestroyScreens()
{
    ScreenSet& screens = Screens();
    screens.formPhotographer.reset();
    screens.formGallery.reset();
    screens.formMemoPopUp.reset();
    screens.formFindingsPopUp.reset();
    screens.formLabelkitSetup.reset();
    screens.formLabelKitPrint.reset();
    screens.formImprint.reset();
    screens.formFinishError.reset();
    screens.formFinishComplete.reset();
    screens.formFinish.reset();
    screens.formPreview.reset();
    screens.formEditText.reset();
    screens.formEditPicture.reset();
    screens.formEditLayout.reset();
    screens.formMusic.reset();
    screens.formImageEdit.reset();
    screens.formPersonalProject.reset();
    screens.formProjectMenu.reset();
    screens.formNewProject3.reset();
    screens.formNewProject2.reset();
    screens.formNewProject1.reset();
    screens.formExitAndSave.reset();
    screens.formAddEntry.reset();
    screens.yesNoPopup.reset();
    screens.waitPopup.reset();
    screens.formSave.reset();
    screens.formExit.reset();
    screens.okPopup.reset();
}
