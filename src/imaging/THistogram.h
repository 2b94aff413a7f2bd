#pragma once
// A 256-bin histogram of byte values with a percentile query, and the error that the histogram builders raise
// for bitmaps they cannot read.

#include "platform/Errors.h"

#include <array>
#include <cstdint>

class EHistogramError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

class THistogram {
public:
    THistogram() = default;

    void Clear() { m_counters.fill(0); }
    // Counts the value modulo 256.
    void Increment(int value) { ++m_counters[static_cast<uint8_t>(value)]; }
    // Adds n to one bin; the builders count in bulk.
    void Add(uint8_t value, uint32_t n) { m_counters[value] += n; }
    uint32_t Counter(uint8_t value) const { return m_counters[value]; }
    // The sum of all counters.
    uint64_t Count() const;
    // The first bin at which the running share of the counts reaches percent / 100, at most 254; 0 when the
    // histogram is empty.
    uint8_t Percentile(double percent) const;

private:
    std::array<uint32_t, 256> m_counters{};
};
