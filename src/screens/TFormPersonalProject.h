#pragma once
// The personal data of the open project: the two names and the date, with the checks of the first wizard page.

#include "screens/SkinnedScreen.h"

#include <cstdint>

class DateCalendar;
class TTransEdit;
class evProject;

class TFormPersonalProject : public SkinnedScreen {
    Q_OBJECT

public:
    TFormPersonalProject();
    ~TFormPersonalProject() override;

    // Works on AppContext()->GetCurrentProject(); does nothing without one.
    void Run();
    // Loads the pictures and fills the fields from the project, which must outlive the run.
    void Prepare(evProject& project);

    // The checks; when they pass the project takes the values, MarkModified is called and the screen closes.
    void imgBtnApplyClick();
    void imgBtnCancelClick();
    // Cancels, after asking when a field was changed.
    void EscapePressed();
    void ImgBGMouseMove(int x, int y);

    bool GetApplied() const { return m_applied; }

    TImage* ImgBG;
    TImage* imgCap;
    TImage* imgFrm;
    TImage* imgBtn;
    TImage* imgHelpBox;
    TLabel* labelHelp;
    TTransEdit* TransEdit1;
    TTransEdit* TransEdit2;
    TTransEdit* TransEdit3;
    TImage* imgBtnCancel;
    TImage* imgBtnApply;
    DateCalendar* calendar;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    evProject* m_project = nullptr;
    int32_t m_hint = -1;
    bool m_applied = false;
};
