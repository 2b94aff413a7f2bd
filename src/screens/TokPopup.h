#pragma once
// The OK pop-up: a message and one button.

#include "screens/SkinnedScreen.h"

class TokPopup : public SkinnedScreen {
    Q_OBJECT

public:
    TokPopup();

    void Run(const QString& text);
    void Prepare(const QString& text);

    void ImgOKClick();
    void imgXClick();

    TImage* ImgBG;
    TImage* imgCnt;
    TLabel* LabelMessage;
    TImage* imgBtn;
    TImage* ImgOK;
    TImage* imgX;
};
