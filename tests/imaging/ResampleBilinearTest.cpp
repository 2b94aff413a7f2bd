#include "imaging/ResampleBilinear.h"

#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace imagingtest;

TEST(ResampleBilinearTest, TargetPixelsSampleAtTopLeftCornersAndFloorTheMix)
{
    struct Case {
        const char* what;
        std::vector<std::vector<uint8_t>> source;
        int width, height;
        std::vector<std::vector<uint8_t>> expected;
    };
    const Case cases[] = {
        // Doubling: odd columns and rows lie halfway; the last ones repeat the edge (no right or lower neighbour).
        {"2x2 to 4x4",
         {{0, 101}, {200, 41}},
         4,
         4,
         {{0, 50, 101, 101}, {100, 85, 71, 71}, {200, 120, 41, 41}, {200, 120, 41, 41}}},
        // Halving samples every second pixel from the first; nothing is averaged.
        {"4x2 to 2x1", {{10, 20, 30, 40}, {50, 60, 70, 80}}, 2, 1, {{10, 30}}},
        // Thirds: 3 -> 2 samples at 0 and 1.5.
        {"3x1 to 2x1", {{0, 100, 201}}, 2, 1, {{0, 150}}},
        {"to 1x1", {{9, 100}, {100, 100}}, 1, 1, {{9}}},
    };
    for (const Case& c : cases) {
        Bitmap target(c.width, c.height, PixelFormat::pf24bit);
        ResampleBilinear(Grey(c.source), target);
        EXPECT_EQ(AllRows(target), AllRows(Grey(c.expected))) << c.what;
    }
}

// In floating point the four weights of a flat area add up to a hair below 1 at some positions, and the floor
// would make those pixels one level darker.
TEST(ResampleBilinearTest, AFlatAreaKeepsItsValueAtEveryFraction)
{
    const Bitmap source = Grey(std::vector<std::vector<uint8_t>>(7, std::vector<uint8_t>(11, 200)));
    Bitmap target(29, 23, PixelFormat::pf32bit);
    ResampleBilinear(source, target);
    EXPECT_EQ(target.Format(), PixelFormat::pf24bit);
    EXPECT_EQ(AllRows(target), AllRows(Grey(std::vector<std::vector<uint8_t>>(23, std::vector<uint8_t>(29, 200)))));
}

TEST(ResampleBilinearTest, OtherSourceFormatsAreReadAsTwentyFourBit)
{
    Bitmap source = FromRows(2, PixelFormat::pf32bit, {{10, 20, 30, 255, 50, 60, 70, 255}});
    Bitmap target(4, 1);
    ResampleBilinear(source, target);
    EXPECT_EQ(RowBytes(target, 0), (std::vector<uint8_t>{10, 20, 30, 30, 40, 50, 50, 60, 70, 50, 60, 70}));
}
