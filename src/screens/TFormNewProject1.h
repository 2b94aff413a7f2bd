#pragma once
// New project, page 1: the two names and the date. Accepting runs page 2, which runs page 3; the whole wizard
// ends with the new project or nothing.

#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <memory>
#include <string>

class DateCalendar;
class TTransEdit;
class evProject;

class TFormNewProject1 : public SkinnedScreen {
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 50;

    TFormNewProject1();
    ~TFormNewProject1() override;

    // The whole wizard; nullptr when cancelled or failed. The caller owns the project.
    std::unique_ptr<evProject> Run();
    // Loads the pictures and resets the page: empty names, today's date, the first name field focused.
    void Prepare();

    void ImgApplyClick();
    void ImgCancelClick();
    // Cancels, after asking when something was typed.
    void EscapePressed();
    void ImgBGMouseMove(int x, int y);

    bool GetAccepted() const { return m_accepted; }
    // The texts as typed (untrimmed) and the date read from the date field; valid once accepted.
    std::string GetFirstName() const;
    std::string GetSecondName() const;
    double GetDate() const { return m_date; }

    TImage* ImgBG;
    TImage* imgTop;
    TImage* imgFrm;
    TImage* imgBtn;
    TImage* imgHelpBox;
    TLabel* labelHelp;
    TTransEdit* EditName1;
    TTransEdit* EditName2;
    TTransEdit* EditDatum;
    TImage* ImgCancel;
    TImage* ImgApply;
    DateCalendar* calendar;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_accepted = false;
    int32_t m_hint = -1;
    double m_date = 0.0;
};
