#include "platform/Clock.h"

#include <QTime>

namespace {
std::function<int32_t()>& Source()
{
    static std::function<int32_t()> source;
    return source;
}
} // namespace

int32_t Clock::MillisecondsOfDay()
{
    if (Source())
        return Source()();
    return QTime::currentTime().msecsSinceStartOfDay();
}

void Clock::SetSource(std::function<int32_t()> source) { Source() = std::move(source); }
