#include "imaging/THistogram.h"

uint64_t THistogram::Count() const
{
    uint64_t total = 0;
    for (uint32_t counter : m_counters)
        total += counter;
    return total;
}

// The search stops at 254 even when the share is not reached there, so that a picture whose highlights all sit
// at 255 still gets a white point below 255.
uint8_t THistogram::Percentile(double percent) const
{
    const uint64_t total = Count();
    if (total == 0)
        return 0;
    const double fraction = percent / 100.0;
    uint64_t sum = 0;
    int i = 0;
    for (;;) {
        sum += m_counters[i];
        if (static_cast<double>(sum) / static_cast<double>(total) < fraction && i < 254)
            ++i;
        else
            return static_cast<uint8_t>(i);
    }
}
