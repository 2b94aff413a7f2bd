#pragma once
// The screens of the program. Each is created once at start-up, in the order of the start-up list, and is
// reached through this set for the rest of the run; DestroyScreens frees them in the reverse order before the
// main menu goes. Screens that are not created (tests, a failed start-up) are null.

#include <memory>

class TFormAddEntry;
class TFormExit;
class TFormExitAndSave;
class TFormImprint;
class TFormSave;
class TformMemoPopUp;
class TformPreview;
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
    std::unique_ptr<TformPreview> formPreview;
    std::unique_ptr<TFormImprint> formImprint;
    std::unique_ptr<TformMemoPopUp> formMemoPopUp;
};

ScreenSet& Screens();
// Frees every screen, the last created first.
void DestroyScreens();
