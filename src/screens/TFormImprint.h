#pragma once
// The imprint screen: the imprint text as a picture and a button that closes it.

#include "screens/SkinnedScreen.h"

class TFormImprint : public SkinnedScreen {
    Q_OBJECT

public:
    TFormImprint();

    void Run();
    void Prepare();

    void ImgApplyClick();

    TImage* ImgBG;
    TImage* ImgImprint;
    TImage* ImgBtn;
    TImage* ImgApply;
};
