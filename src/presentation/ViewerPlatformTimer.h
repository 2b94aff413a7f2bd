#pragma once
// The viewer's timer on the user-interface thread (platform/Timer), for the controls of real windows.

#include "model/ViewerControl.h"

#include <functional>
#include <memory>

class Timer;

class ViewerPlatformTimer : public ViewerTimer {
public:
    ViewerPlatformTimer(int intervalMs, std::function<void()> onTick);
    ~ViewerPlatformTimer() override;

    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;

private:
    std::unique_ptr<Timer> m_timer;
};
