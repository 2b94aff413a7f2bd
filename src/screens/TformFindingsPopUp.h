#pragma once
// The findings of the check before finishing: a scrolling, read-only list (at most the first kShownFindings,
// then a line with the count of the rest) with "Finish anyway" and "Go back"; the small cross goes back too.

#include "screens/SkinnedScreen.h"

#include <vector>

class QPlainTextEdit;
struct PreflightFinding;

class TformFindingsPopUp : public SkinnedScreen {
    Q_OBJECT

public:
    static constexpr int kShownFindings = 50;

    TformFindingsPopUp();

    // Whether the user chose to finish anyway.
    bool Run(const std::vector<PreflightFinding>& findings);
    void Prepare(const std::vector<PreflightFinding>& findings);
    bool GetFinishAnyway() const { return m_finishAnyway; }
    // One line a finding: the page's path and what it lacks; what cannot be seen is marked.
    static QString FindingsText(const std::vector<PreflightFinding>& findings, const QString& moreText);

    void imgBtnFinishClick();
    void imgBtnBackClick();
    void imgBtnCancelXClick();

    TImage* imgBG;
    TLabel* lblCaption;
    QPlainTextEdit* memoText;
    TImage* imgBtnFinish;
    TImage* imgBtnBack;
    TImage* imgBtnCancelX;

private:
    bool m_finishAnyway = false;
};
