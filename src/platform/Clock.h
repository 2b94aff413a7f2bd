#pragma once
// Milliseconds of the day, the time base of every presentation timer. Tests replace the source to reach midnight.

#include <cstdint>
#include <functional>

namespace Clock {
constexpr int32_t kDayMilliseconds = 86'400'000;

int32_t MillisecondsOfDay();
// Replaces the time source; an empty function restores the system clock.
void SetSource(std::function<int32_t()> source);
} // namespace Clock
