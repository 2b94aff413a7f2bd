#pragma once
// The save question before a project is closed: save, do not save, or stay (the cross).

#include "screens/SkinnedScreen.h"

class TFormSave : public SkinnedScreen {
    Q_OBJECT

public:
    TFormSave();

    // Whether the question was answered (not cancelled); GetSave tells the answer.
    bool Run();
    void Prepare();
    bool GetAnswered() const { return m_answered; }
    bool GetSave() const { return m_save; }

    void ImgBGMouseMove(const QObject* sender, int x, int y);
    void imgYesActiveClick();
    void imgNoActiveClick();
    void imgExitClick();

    TImage* ImgBG;
    TImage* imgCnt;
    TImage* imgYes;
    TImage* imgNo;
    TImage* imgYesActive;
    TImage* imgNoActive;
    TImage* imgExit;

private:
    bool m_save = false;
    bool m_answered = false;
};
