#include "imaging/BoxShrink.h"

#include "ImagingTestSupport.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

using namespace imagingtest;

// Whole blocks and the narrower blocks at the right and bottom edges are averaged, rounded.
TEST(BoxShrinkTest, WholeAndEdgeBlocksAreAveraged)
{
    const Bitmap source = Grey({{0, 10, 20, 30, 41}, {1, 11, 21, 31, 40}, {100, 100, 200, 201, 7}});
    EXPECT_EQ(AllRows(BoxShrink(source, 2)), AllRows(Grey({{6, 26, 41}, {100, 201, 7}})));
    EXPECT_EQ(AllRows(BoxShrink(source, 1)), AllRows(source));
    EXPECT_THROW(BoxShrink(Bitmap(2, 2, PixelFormat::pf32bit), 2), EImageError);
}
