#include "imaging/THistogram.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

THistogram With(const std::vector<std::pair<int, uint32_t>>& bins)
{
    THistogram histogram;
    for (const auto& [value, n] : bins)
        for (uint32_t i = 0; i < n; ++i)
            histogram.Increment(value);
    return histogram;
}

} // namespace

TEST(THistogramTest, PercentileIsTheFirstBinWhoseShareReachesTheFractionAndAtMost254)
{
    struct Case {
        std::vector<std::pair<int, uint32_t>> bins;
        double percent;
        int expected;
    };
    const Case cases[] = {
        {{{0, 1}, {10, 98}, {20, 1}}, 1.0, 0},   // exactly 1 % in bin 0 reaches the share
        {{{0, 1}, {10, 98}, {20, 1}}, 99.0, 10}, // 99 % reached in bin 10
        {{{0, 1}, {10, 98}, {20, 1}}, 100.0, 20},
        {{{3, 1}, {200, 1}}, 1.0, 3},
        {{{3, 1}, {200, 1}}, 99.0, 200},
        {{{255, 7}}, 1.0, 254}, // everything in bin 255: the search stops at 254
        {{{255, 7}}, 99.0, 254},
        {{{261, 1}, {-1, 1}}, 50.0, 5}, // values count modulo 256: 5 and 255
        {{}, 50.0, 0},                  // empty
    };
    for (const Case& c : cases) {
        const THistogram histogram = With(c.bins);
        EXPECT_EQ(histogram.Percentile(c.percent), c.expected) << "case " << (&c - cases);
    }
}
