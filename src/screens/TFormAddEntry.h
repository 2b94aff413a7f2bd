#pragma once
// The add-entry pop-up: a caption and one line of text to apply or cancel. The text is read from the pop-up
// afterwards.

#include "screens/SkinnedScreen.h"

class QLineEdit;

class TFormAddEntry : public SkinnedScreen {
    Q_OBJECT

public:
    TFormAddEntry();

    // Whether the text was applied.
    bool Run(const QString& caption, const QString& initialText);
    void Prepare(const QString& caption, const QString& initialText);
    bool GetApplied() const { return m_applied; }
    // The initial text, or the text as entered when it was applied.
    const QString& GetText() const { return m_text; }

    void ImgApplyClick();
    void ImgCancelClick();
    void imgBtnSmallCancelClick();

    TImage* ImgBG;
    TImage* imgEdit;
    TLabel* lblCaption;
    QLineEdit* EditAdd;
    TImage* imgBtn;
    TImage* ImgApply;
    TImage* ImgCancel;
    TImage* imgBtnSmallCancel;

private:
    bool m_applied = false;
    QString m_text;
};
