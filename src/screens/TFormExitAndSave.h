#pragma once
// The question before leaving the program with unsaved changes: 0 stay, 1 save and leave, 2 leave without
// saving.

#include "screens/SkinnedScreen.h"

#include <cstdint>

class TFormExitAndSave : public SkinnedScreen {
    Q_OBJECT

public:
    enum : int32_t { AnswerStay = 0, AnswerSaveAndLeave = 1, AnswerLeave = 2 };

    TFormExitAndSave();

    int32_t Run();
    void Prepare();
    int32_t GetAnswer() const { return m_answer; }

    void ImgBGMouseMove(const QObject* sender, int x, int y);
    void imgBtnExitSave_ActClick();
    void imgBtnExitNoSave_ActClick();
    void imgBtnCancel_ActClick();
    void imgCancel1Click();

    TImage* ImgBG;
    TImage* imgCnt;
    TImage* imgBtnExitSave;
    TImage* imgBtnExitNoSave;
    TImage* imgBtnCancel;
    TImage* imgBtnExitSave_Act;
    TImage* imgBtnExitNoSave_Act;
    TImage* imgBtnCancel_Act;
    TImage* imgCancel1;

private:
    int32_t m_answer = AnswerStay;
};
