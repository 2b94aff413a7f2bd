// The strip of a film strip: how many thumbnails it holds, how each is fitted into its cell, and the doubling.
#include "model/AlbumTestSupport.h"
#include "presentation/FilmStripBuilder.h"

#include <gtest/gtest.h>

TEST(FilmStripBuilderTest, TheSequenceRepeatsUntilItCoversTheWindow)
{
    const FilmStripBuilder across(30, 20, 0, 0);
    EXPECT_EQ(across.CellCount(2, Rect(0, 0, 200, 20)), 8); // 4 x 2 x 30 >= 200
    EXPECT_EQ(across.CellCount(2, Rect(0, 0, 180, 20)), 6); // exactly reached
    EXPECT_EQ(across.CellCount(3, Rect(0, 0, 50, 20)), 3);  // at least once
    EXPECT_EQ(across.CellCount(0, Rect(0, 0, 200, 20)), 0);
    EXPECT_EQ(across.CellCount(2, Rect(0, 0, -5, 20)), 2);

    const FilmStripBuilder down(30, 20, 2, 0); // directions 2 and 3 run along the height
    EXPECT_EQ(down.CellCount(1, Rect(0, 0, 500, 100)), 5);
    EXPECT_EQ(FilmStripBuilder(30, 20, 3, 0).CellCount(1, Rect(0, 0, 500, 100)), 5);

    EXPECT_EQ(FilmStripBuilder(0, 20, 0, 0).CellCount(2, Rect(0, 0, 200, 20)), 0);
    EXPECT_EQ(FilmStripBuilder(30, 0, 0, 0).CellCount(2, Rect(0, 0, 200, 20)), 0);
    EXPECT_EQ(FilmStripBuilder(-30, 20, 0, 0).CellCount(2, Rect(0, 0, 200, 20)), 0);
}

TEST(FilmStripBuilderTest, TheDoubledStripStaysWithinWhatAJpegHolds)
{
    EXPECT_EQ(FilmStripBuilder(30, 20, 0, 0).CellCount(5000, Rect(0, 0, 200, 20)), 65500 / 60);
    EXPECT_EQ(FilmStripBuilder(30, 20, 0, 0).CellCount(1, Rect(0, 0, 100000, 20)), 65500 / 60);
    EXPECT_EQ(FilmStripBuilder(40000, 20, 0, 0).CellCount(1, Rect(0, 0, 200, 20)), 0);
}

TEST(FilmStripBuilderTest, ThumbnailsKeepTheirProportionsAndTheStripIsDoubled)
{
    constexpr TColor background = 0x00FF0000;
    const auto wide = SolidPicture(40, 10, 0x000000FF);
    const auto tall = SolidPicture(10, 40, 0x0000FF00);
    const FilmStripBuilder builder(20, 20, 2, background);
    const Bitmap strip = builder.Build({wide.get(), tall.get()}, 3);
    ASSERT_EQ(strip.Width(), 20);
    ASSERT_EQ(strip.Height(), 120);
    // Cell 0: the wide picture 20 x 5 in the middle rows; cell 1: the tall one 5 x 20 in the middle columns.
    EXPECT_NEAR_COLOUR(strip.Pixel(10, 10), 0x000000FF);
    EXPECT_EQ(strip.Pixel(10, 2), background);
    EXPECT_NEAR_COLOUR(strip.Pixel(10, 30), 0x0000FF00);
    EXPECT_EQ(strip.Pixel(2, 30), background);
    EXPECT_NEAR_COLOUR(strip.Pixel(10, 50), 0x000000FF); // cell 2 starts the sequence again
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(strip.Pixel(x, y), strip.Pixel(x, y + 60)) << x << "," << y;
    }
    EXPECT_TRUE(builder.Build({}, 3).IsEmpty());
}
