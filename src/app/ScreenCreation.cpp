#include "app/ScreenCreation.h"

#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
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
        {134,
         {Create(&ScreenSet::okPopup), Create(&ScreenSet::formExit), Create(&ScreenSet::formSave),
          Create(&ScreenSet::waitPopup), Create(&ScreenSet::yesNoPopup), Create(&ScreenSet::formAddEntry),
          Create(&ScreenSet::formExitAndSave)}},
        {126, {}}, // TFormNewProject1, TFormNewProject2, TFormNewProject3
        {127, {}}, // TFormProjectMenu
        {129, {}}, // TFormPersonalProject
        {130, {}}, // TFormImageEdit
        {132, {}}, // TFormMusic
        {128, {}}, // TformProjectEditLayout
        {185, {}}, // TformProjectEditPicture
        {186, {}}, // TformProjectEditText
        {133, {Create(&ScreenSet::formPreview)}},
        {187, {}}, // TFormFinish, TFormFinishComplete, TFormFinishError
        // TFormImprint, TformLabelKitPrint, TformLabelkitSetup, TformMemoPopUp, TFormGallery, TFormPhotographer
        {188, {Create(&ScreenSet::formImprint), Create(&ScreenSet::formMemoPopUp)}},
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
