#pragma once
// The report after a disc folder was written: a card that tells what to do with it, and OK.

#include "screens/SkinnedScreen.h"

class TFormFinishComplete : public SkinnedScreen {
    Q_OBJECT

public:
    TFormFinishComplete();

    void Run();
    void Prepare();

    void ImgApplyClick();

    TImage* ImgBG;
    TImage* ImgHeader;
    TImage* ImgReport;
    TImage* ImgBtn;
    TImage* ImgApply;
};
