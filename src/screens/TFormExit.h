#pragma once
// The question whether to leave the program.

#include "screens/SkinnedScreen.h"

class TFormExit : public SkinnedScreen {
    Q_OBJECT

public:
    TFormExit();

    // Whether to leave.
    bool Run();
    void Prepare();
    bool GetLeave() const { return m_leave; }

    void ImgBGMouseMove(const QObject* sender, int x, int y);
    void imgYesActiveClick();
    void imgNoActiveClick();
    void Image3Click();

    TImage* ImgBG;
    TImage* imgCnt;
    TImage* imgYes;
    TImage* imgNo;
    TImage* imgYesActive;
    TImage* imgNoActive;
    TImage* Image3;

private:
    bool m_leave = false;
};
