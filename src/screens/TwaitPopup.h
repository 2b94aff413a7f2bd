#pragma once
// The wait pop-up: a message and a progress bar while a step runs on the user-interface thread. It is the one
// window that is not modal. A step that returns false leaves the pop-up up, so that the next step of a chain
// goes on in the same window; the step that returns true hides it. A step's error passes to the caller, who
// hides the pop-up.

#include "screens/SkinnedScreen.h"

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

    int GetProgress() const;

    QProgressBar* pb;
    TLabel* labelInfo;

private:
    class Bar;

    TImage* m_background;
    std::unique_ptr<Bar> m_bar;
};
