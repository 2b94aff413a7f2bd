#pragma once
// The report after finishing failed: which step failed and what the user can do, and OK.

#include "screens/SkinnedScreen.h"

#include <QString>

class TFormFinishError : public SkinnedScreen {
    Q_OBJECT

public:
    TFormFinishError();

    void Run(const QString& text);
    void Prepare(const QString& text);

    void ImgApplyClick();

    TImage* ImgBG;
    TImage* ImgHeader;
    TImage* ImgReport;
    TImage* ImgFrame;
    TLabel* LabelText;
    TImage* ImgBtn;
    TImage* ImgApply;
};
