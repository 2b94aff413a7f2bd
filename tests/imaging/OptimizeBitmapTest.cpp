#include "imaging/OptimizeBitmap.h"

#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace imagingtest;

TEST(OptimizeBitmapTest, GetHistogramCountsEachChannelOfEveryPixel)
{
    // Two pixels, bytes blue, green, red: (R 10, G 200, B 30) and (R 250, G 5, B 100).
    const Bitmap bitmap = FromRows(2, PixelFormat::pf24bit, {{30, 200, 10, 100, 5, 250}});
    const std::vector<std::vector<int>> expectedBins = {{10, 250}, {200, 5}, {30, 100}, {200, 250}, {80, 118}, {0, 0}};
    const int channels[] = {hcRed, hcGreen, hcBlue, hcMaximum, hcAverage, 9};
    for (int i = 0; i < 6; ++i) {
        THistogram histogram;
        histogram.Increment(77); // cleared first
        GetHistogram(channels[i], bitmap, histogram);
        EXPECT_EQ(histogram.Count(), 2u) << "channel " << channels[i];
        THistogram expected;
        for (int value : expectedBins[i])
            expected.Increment(value);
        for (int value = 0; value < 256; ++value)
            EXPECT_EQ(histogram.Counter(static_cast<uint8_t>(value)), expected.Counter(static_cast<uint8_t>(value)))
                << "channel " << channels[i] << " bin " << value;
    }
}

TEST(OptimizeBitmapTest, OnlyTwentyFourBitBitmapsAreAccepted)
{
    for (PixelFormat format : {PixelFormat::pf8bit, PixelFormat::pf15bit, PixelFormat::pf16bit, PixelFormat::pf32bit}) {
        Bitmap bitmap(3, 2, format);
        THistogram histogram;
        try {
            GetHistogram(hcRed, bitmap, histogram);
            ADD_FAILURE() << "GetHistogram accepted format " << static_cast<int>(format);
        } catch (const EHistogramError& e) {
            EXPECT_EQ(std::string(e.what()), "GetHistogram:  Bitmap must be 24-bit.");
        }
        EXPECT_THROW(OptimizeBitmap(bitmap), EHistogramError);
    }
}

// With fewer than a hundred pixels the 1st percentile of a channel is its smallest and the 99th its largest value.
TEST(OptimizeBitmapTest, LevelsBetweenThePercentilesAreStretchedOverTheFullRange)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> pixels; // blue, green, red per pixel
        std::vector<uint8_t> expected;
    };
    const Case cases[] = {
        // low 100, high 110: scale 25.5, halves go to the even neighbour (25.5 -> 26, 76.5 -> 76, 127.5 -> 128).
        {"halves to even", {100, 110, 101, 103, 105, 107}, {0, 255, 26, 76, 128, 178}},
        // Red reaches 255, but its 99th percentile stops at 254: scale 255 / 254, and 255 is cut back to 255.
        {"scale 255/254", {0, 254, 255, 1, 200, 253}, {0, 255, 255, 1, 201, 254}},
        // A uniform grey has low = high: scale 1, and every byte becomes c - low, black.
        {"uniform grey", {128, 128, 128, 128, 128, 128}, {0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Bitmap bitmap = FromRows(2, PixelFormat::pf24bit, {c.pixels, c.pixels});
        OptimizeBitmap(bitmap);
        EXPECT_EQ(AllRows(bitmap), (std::vector<std::vector<uint8_t>>{c.expected, c.expected})) << c.what;
    }
}
