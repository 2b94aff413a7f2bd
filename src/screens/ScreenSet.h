#pragma once
// The screens of the program. Each is created once at start-up, in the order of the start-up list, and is
// reached through this set for the rest of the run; DestroyScreens frees them in the reverse order before the
// main menu goes. Screens that are not created (tests, a failed start-up) are null.

#include <cstdint>
#include <memory>

class IPageEditor;
class TFormAddEntry;
class TFormExit;
class TFormExitAndSave;
class TFormFinish;
class TFormFinishComplete;
class TFormFinishError;
class TFormImageEdit;
class TFormImprint;
class TformLabelKitPrint;
class TformLabelkitSetup;
class TFormMusic;
class TFormNewProject1;
class TFormNewProject2;
class TFormNewProject3;
class TFormPersonalProject;
class TFormPhotographer;
class TFormProjectMenu;
class TFormSave;
class TformMemoPopUp;
class TformFindingsPopUp;
class TformPreview;
class TformProjectEditLayout;
class TformProjectEditPicture;
class TformProjectEditText;
class TFormGallery;
class TokPopup;
class TwaitPopup;
class TyesNoPopup;

struct ScreenSet {
    ScreenSet();
    ~ScreenSet();

    std::unique_ptr<TokPopup> okPopup;
    std::unique_ptr<TFormExit> formExit;
    std::unique_ptr<TFormSave> formSave;
    std::unique_ptr<TwaitPopup> waitPopup;
    std::unique_ptr<TyesNoPopup> yesNoPopup;
    std::unique_ptr<TFormAddEntry> formAddEntry;
    std::unique_ptr<TFormExitAndSave> formExitAndSave;
    std::unique_ptr<TFormNewProject1> formNewProject1;
    std::unique_ptr<TFormNewProject2> formNewProject2;
    std::unique_ptr<TFormNewProject3> formNewProject3;
    std::unique_ptr<TFormProjectMenu> formProjectMenu;
    std::unique_ptr<TFormPersonalProject> formPersonalProject;
    std::unique_ptr<TFormImageEdit> formImageEdit;
    std::unique_ptr<TFormMusic> formMusic;
    std::unique_ptr<TformProjectEditLayout> formEditLayout;
    std::unique_ptr<TformProjectEditPicture> formEditPicture;
    std::unique_ptr<TformProjectEditText> formEditText;
    std::unique_ptr<TformPreview> formPreview;
    std::unique_ptr<TFormImprint> formImprint;
    std::unique_ptr<TformLabelKitPrint> formLabelKitPrint;
    std::unique_ptr<TformLabelkitSetup> formLabelkitSetup;
    std::unique_ptr<TformMemoPopUp> formMemoPopUp;
    std::unique_ptr<TformFindingsPopUp> formFindingsPopUp;
    std::unique_ptr<TFormGallery> formGallery;
    std::unique_ptr<TFormFinish> formFinish;
    std::unique_ptr<TFormFinishComplete> formFinishComplete;
    std::unique_ptr<TFormFinishError> formFinishError;
    std::unique_ptr<TFormPhotographer> formPhotographer;

    // The page editor with the number the editors use for it (2 layouts, 3 pictures, 4 texts); nullptr when
    // it was not created.
    IPageEditor* PageEditor(int32_t number) const;
};

ScreenSet& Screens();
// Frees every screen, the last created first.
void DestroyScreens();
