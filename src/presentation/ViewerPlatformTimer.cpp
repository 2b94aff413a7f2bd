#include "presentation/ViewerPlatformTimer.h"

#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/Timer.h"

#include <new>
#include <string>

namespace {
// A tick runs from the event loop, where no failure may arrive: one that fails is logged and the next tick
// tries again.
std::function<void()> Guarded(std::function<void()> onTick)
{
    return [onTick = std::move(onTick)] {
        try {
            if (onTick)
                onTick();
        } catch (const EVelloraError& e) {
            ktLogs::LogLine(std::string("Viewer timer step failed: ") + e.what());
        } catch (const std::bad_alloc&) {
            ktLogs::LogLine("Viewer timer step failed: out of memory");
        }
    };
}
} // namespace

ViewerPlatformTimer::ViewerPlatformTimer(int intervalMs, std::function<void()> onTick)
    : m_timer(std::make_unique<Timer>(intervalMs, Guarded(std::move(onTick))))
{}

ViewerPlatformTimer::~ViewerPlatformTimer() = default;

void ViewerPlatformTimer::SetEnabled(bool enabled) { m_timer->SetEnabled(enabled); }

bool ViewerPlatformTimer::IsEnabled() const { return m_timer->IsEnabled(); }
