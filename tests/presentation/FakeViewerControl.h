#pragma once
// A viewer control without a display: a bitmap, timers that tick only when a test fires them, a pointer the
// test places, and the cursor and the number of Changed calls recorded. The clock is the test's too.

#include "model/ViewerControl.h"
#include "platform/Bitmap.h"
#include "platform/Clock.h"

#include <functional>
#include <memory>
#include <vector>

class FakeViewerTimer : public ViewerTimer {
public:
    FakeViewerTimer(int interval, std::function<void()> onTick, std::vector<FakeViewerTimer*>& registry)
        : interval(interval), onTick(std::move(onTick)), m_registry(registry)
    {
        m_registry.push_back(this);
    }
    ~FakeViewerTimer() override { std::erase(m_registry, this); }
    void SetEnabled(bool on) override { enabled = on; }
    bool IsEnabled() const override { return enabled; }

    int interval;
    std::function<void()> onTick;
    bool enabled = false;

private:
    std::vector<FakeViewerTimer*>& m_registry;
};

class FakeViewerControl : public ViewerControl {
public:
    FakeViewerControl(int width, int height) : picture(width, height) {}

    Bitmap& Picture() override { return picture; }
    void Changed() override { ++changes; }
    int Width() const override { return picture.Width(); }
    int Height() const override { return picture.Height(); }
    void SetCursor(ViewerCursor c) override { cursor = c; }
    TPoint PointerPosition() const override { return pointer; }
    std::unique_ptr<ViewerTimer> CreateTimer(int intervalMs, std::function<void()> onTick) override
    {
        return std::make_unique<FakeViewerTimer>(intervalMs, std::move(onTick), timers);
    }

    // The live timer with this interval (the first made, when there are several).
    FakeViewerTimer* TimerOf(int intervalMs) const
    {
        for (FakeViewerTimer* timer : timers)
            if (timer->interval == intervalMs)
                return timer;
        return nullptr;
    }
    // Fires the timer when it is enabled, as a real timer would; false when there is none or it is off.
    bool Fire(int intervalMs)
    {
        FakeViewerTimer* timer = TimerOf(intervalMs);
        if (!timer || !timer->enabled)
            return false;
        timer->onTick();
        return true;
    }

    Bitmap picture;
    int changes = 0;
    ViewerCursor cursor = ViewerCursor::Default;
    TPoint pointer{-1, -1};
    std::vector<FakeViewerTimer*> timers;
};

// Sets the clock for the life of a test and gives the system clock back afterwards.
class FakeClock {
public:
    explicit FakeClock(int32_t start) : m_now(start)
    {
        Clock::SetSource([this] { return m_now; });
    }
    ~FakeClock() { Clock::SetSource(nullptr); }
    void Set(int32_t now) { m_now = now; }
    void Advance(int32_t ms) { m_now = (m_now + ms) % Clock::kDayMilliseconds; }
    int32_t Now() const { return m_now; }

private:
    int32_t m_now;
};
