#pragma once
// What the timeline strip tells the screen it currently sits on: the current page changed, or a hint should be
// shown. The strip looks for this interface on the window that holds it and stays silent when there is none.

#include <cstdint>

class ITimelineHost {
public:
    virtual ~ITimelineHost() = default;
    // The editor shows the new current page.
    virtual void PageChanged() = 0;
    // The editor shows the help text in its help label (ShowHelpHint).
    virtual void ShowHint(int32_t index) = 0;
};
