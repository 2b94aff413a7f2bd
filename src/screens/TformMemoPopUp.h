#pragma once
// The memo pop-up: a caption and several lines of text to apply or cancel. The text is read from memoText
// afterwards. Return starts a new line; Ctrl+Return applies, Escape cancels.

#include "screens/SkinnedScreen.h"

class QPlainTextEdit;

class TformMemoPopUp : public SkinnedScreen {
    Q_OBJECT

public:
    TformMemoPopUp();

    // Whether the text was applied.
    bool Run(const QString& caption, const QString& text);
    void Prepare(const QString& caption, const QString& text);
    bool GetApplied() const { return m_applied; }
    // The text with its lines separated by CR LF.
    QString GetText() const;

    void imgBtnOKClick();
    void imgBtnCancelClick();
    void imgBtnCancelXClick();

    TImage* imgBG;
    TLabel* lblCaption;
    QPlainTextEdit* memoText;
    TImage* imgBtnOK;
    TImage* imgBtnCancel;
    TImage* imgBtnCancelX;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_applied = false;
};
