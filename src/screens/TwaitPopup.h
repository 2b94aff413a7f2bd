#pragma once
// The wait pop-up: a message and a progress bar while a step runs on the user-interface thread. It is the one
// window that is not modal. A step that returns false leaves the pop-up up, so that the next step of a chain
// goes on in the same window; the step that returns true hides it. A step's error passes to the caller, who
// hides the pop-up.
//
// A step that may be cancelled (RunCancellable) gets a Cancel button: the pop-up is then modal to the whole
// program, and each progress report lets the pointer and the keys through (a few times a second), so that a click
// on Cancel is seen; the step asks IsCancelled and stops.

#include "screens/SkinnedScreen.h"

#include <cstdint>
#include <functional>
#include <memory>

class ProgressBar;
class QProgressBar;

class TwaitPopup : public SkinnedScreen {
    Q_OBJECT

public:
    // The step reports its progress (0 to 100) to the bar it is given.
    using Step = std::function<bool(ProgressBar& progress)>;

    TwaitPopup();
    ~TwaitPopup() override;

    // Returns the step's result.
    bool Run(const QString& text, const Step& step);
    // The same with Cancel shown; the pop-up is hidden afterwards whatever the step returns.
    bool RunCancellable(const QString& text, const Step& step);
    bool IsCancelled() const { return m_cancelled; }
    void imgCancelClick();

    int GetProgress() const;

    QProgressBar* pb;
    TLabel* labelInfo;
    TImage* imgCancel;

private:
    class Bar;

    TImage* m_background;
    std::unique_ptr<Bar> m_bar;
    bool m_cancelled = false;
};
