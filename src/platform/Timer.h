#pragma once
// A repeating timer on the user-interface thread, created disabled (as the viewer's timers are).

#include <functional>
#include <memory>

class QTimer;

class Timer {
public:
    Timer(int intervalMs, std::function<void()> onTick);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void SetEnabled(bool enabled);
    bool IsEnabled() const;
    void SetInterval(int intervalMs);

private:
    std::unique_ptr<QTimer> m_timer;
    std::function<void()> m_onTick;
};
