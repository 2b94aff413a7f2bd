#pragma once
// What the page viewer draws on: a control that shows a picture, with a cursor, a pointer position and timers.
// The preview window and the player implement it over a widget; tests implement it without a display. The host
// forwards the pointer's moves and clicks on the control to the page it shows (evProjectorPage::MouseMove and
// Click), in the page's pixels.

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

#include <functional>
#include <memory>

enum class ViewerCursor { Default, HandPoint };

// A repeating timer that starts disabled.
class ViewerTimer {
public:
    virtual ~ViewerTimer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
};

class ViewerControl {
public:
    virtual ~ViewerControl() = default;

    // The control's picture; drawing on it and calling Changed shows the result.
    virtual Bitmap& Picture() = 0;
    virtual void Changed() = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetCursor(ViewerCursor cursor) = 0;
    // The pointer position relative to the control.
    virtual TPoint PointerPosition() const = 0;
    virtual std::unique_ptr<ViewerTimer> CreateTimer(int intervalMs, std::function<void()> onTick) = 0;
};
