#pragma once
// The yes/no pop-up: a question; the small cross answers no, and tells those who ask that it was the cross.

#include "screens/SkinnedScreen.h"

class TyesNoPopup : public SkinnedScreen {
    Q_OBJECT

public:
    TyesNoPopup();

    bool Run(const QString& text);
    void Prepare(const QString& text);
    bool GetResult() const { return m_result; }
    // Closed with the small cross rather than answered.
    bool GetCancelled() const { return m_cancelled; }

    void ImgYesClick();
    void ImgNoClick();
    void imgBtnSmallCancelClick();

    TImage* ImgBG;
    TImage* imgCnt;
    TLabel* LabelMessage;
    TImage* ImgBtn;
    TImage* ImgYes;
    TImage* ImgNo;
    TImage* imgBtnSmallCancel;

private:
    bool m_result = false;
    bool m_cancelled = false;
};
