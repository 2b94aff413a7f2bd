#include "platform/Timer.h"

#include <QTimer>

Timer::Timer(int intervalMs, std::function<void()> onTick)
    : m_timer(std::make_unique<QTimer>()), m_onTick(std::move(onTick))
{
    m_timer->setInterval(intervalMs);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] {
        if (m_onTick)
            m_onTick();
    });
}

Timer::~Timer() = default;

void Timer::SetEnabled(bool enabled)
{
    if (enabled)
        m_timer->start();
    else
        m_timer->stop();
}

bool Timer::IsEnabled() const { return m_timer->isActive(); }

void Timer::SetInterval(int intervalMs) { m_timer->setInterval(intervalMs); }
