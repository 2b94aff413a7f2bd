#include "app/ScreenCreation.h"

#include "screens/DataIndexes.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
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

#include <cstdint>
#include <vector>

namespace {

using CreateScreen = std::function<void(ScreenSet&)>;

template <class T>
CreateScreen Create(std::unique_ptr<T> ScreenSet::*field)
{
    return [field](ScreenSet& screens) { screens.*field = std::make_unique<T>(); };
}

struct ScreenGroup {
    int32_t statusText;
    std::vector<CreateScreen> screens;
};

// The groups in their order; the screens named in the comments join their groups as they are built.
std::vector<ScreenGroup> StartupScreens()
{
    return {
        {Help::SplashDialogs,
         {Create(&ScreenSet::okPopup), Create(&ScreenSet::formExit), Create(&ScreenSet::formSave),
          Create(&ScreenSet::waitPopup), Create(&ScreenSet::yesNoPopup), Create(&ScreenSet::formAddEntry),
          Create(&ScreenSet::formExitAndSave)}},
        {Help::SplashWizard,
         {Create(&ScreenSet::formNewProject1), Create(&ScreenSet::formNewProject2),
          Create(&ScreenSet::formNewProject3)}},
        {Help::SplashProjectMenu, {Create(&ScreenSet::formProjectMenu)}},
        {Help::SplashPersonalData, {Create(&ScreenSet::formPersonalProject)}},
        {Help::SplashImageEdit, {Create(&ScreenSet::formImageEdit)}},
        {Help::SplashMusic, {Create(&ScreenSet::formMusic)}},
        {Help::SplashLayoutEditor, {Create(&ScreenSet::formEditLayout)}},
        {Help::SplashPictureEditor, {Create(&ScreenSet::formEditPicture)}},
        {Help::SplashTextEditor, {Create(&ScreenSet::formEditText)}},
        {Help::SplashPreview, {Create(&ScreenSet::formPreview)}},
        {Help::SplashFinishing,
         {Create(&ScreenSet::formFinish), Create(&ScreenSet::formFinishComplete), Create(&ScreenSet::formFinishError),
          Create(&ScreenSet::formFindingsPopUp)}},
        // TFormImprint, TformLabelKitPrint, TformLabelkitSetup, TformMemoPopUp, TFormGallery, TFormPhotographer
        {Help::SplashRemaining,
         {Create(&ScreenSet::formImprint), Create(&ScreenSet::formLabelKitPrint), Create(&ScreenSet::formLabelkitSetup),
          Create(&ScreenSet::formMemoPopUp), Create(&ScreenSet::formGallery), Create(&ScreenSet::formPhotographer)}},
    };
}

} // namespace

void CreateScreens(const std::function<void(const QString& text)>& showStatus)
{
    ScreenSet& screens = Screens();
    for (const ScreenGroup& group : StartupScreens()) {
        if (showStatus)
            showStatus(HelpText(group.statusText));
        for (const CreateScreen& create : group.screens)
            create(screens);
    }
}
