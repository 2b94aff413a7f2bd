#include "imaging/GrayBitmap.h"

#include "ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace imagingtest;

namespace {

struct Case {
    const char* what;
    PixelFormat format;
    int strength;
    std::vector<uint8_t> pixel;
    std::vector<uint8_t> expected;
};

} // namespace

TEST(GrayBitmapTest, EachFormatAndStrengthGivesTheTableGreyAndBlend)
{
    const Case cases[] = {
        // 24 bits, bytes blue, green, red; grey = round((R + 4 G + 2 B) / 7).
        {"white", PixelFormat::pf24bit, 0, {255, 255, 255}, {255, 255, 255}},
        {"red", PixelFormat::pf24bit, 0, {0, 0, 255}, {36, 36, 36}},
        {"blue", PixelFormat::pf24bit, 0, {255, 0, 0}, {73, 73, 73}},
        {"green", PixelFormat::pf24bit, 0, {0, 255, 0}, {146, 146, 146}},
        // R 200, G 100, B 40: grey 97; a quarter of the colour plus 73, half of it plus 48.
        {"quarter colour", PixelFormat::pf24bit, 1, {40, 100, 200}, {83, 98, 123}},
        {"half colour", PixelFormat::pf24bit, 2, {40, 100, 200}, {68, 98, 148}},
        // 32 bits: the fourth byte becomes 0.
        {"32-bit white", PixelFormat::pf32bit, 0, {255, 255, 255, 255}, {255, 255, 255, 0}},
        {"32-bit red blend", PixelFormat::pf32bit, 1, {0, 0, 255, 255}, {27, 27, 90, 0}},
        // 15 bits 0RRRRRGGGGGBBBBB.
        {"15-bit white", PixelFormat::pf15bit, 0, Pixel16(0x7FFF), Pixel16(0x7FFF)},
        {"15-bit red", PixelFormat::pf15bit, 0, Pixel16(0x7C00), Pixel16(0x2529)},
        {"15-bit red blend", PixelFormat::pf15bit, 1, Pixel16(0x7C00), Pixel16(0x38E7)},
        {"15-bit green half", PixelFormat::pf15bit, 2, Pixel16(0x03E0), Pixel16(0x2709)},
        {"15-bit top bit", PixelFormat::pf15bit, 1, Pixel16(0xFFFF), Pixel16(0x7FFF)},
        // 16 bits RRRRRGGGGGGBBBBB: the grey v goes into green as 2v.
        {"16-bit white", PixelFormat::pf16bit, 0, Pixel16(0xFFFF), Pixel16(0xFFDF)},
        {"16-bit red", PixelFormat::pf16bit, 0, Pixel16(0xF800), Pixel16(0x4A49)},
        {"16-bit red blend", PixelFormat::pf16bit, 1, Pixel16(0xF800), Pixel16(0x71C7)},
        {"16-bit green half", PixelFormat::pf16bit, 2, Pixel16(0x07E0), Pixel16(0x4E29)},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> row = c.pixel;
        row.insert(row.end(), c.pixel.begin(), c.pixel.end());
        Bitmap bitmap = FromRows(2, c.format, {row});
        GrayBitmap(bitmap, c.strength);
        std::vector<uint8_t> expected = c.expected;
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(RowBytes(bitmap, 0), expected) << c.what;
    }
}

TEST(GrayBitmapTest, EightBitBitmapsBecomeThirtyTwoBitAndEmptyOrUnknownStrengthsChangeNothing)
{
    Bitmap indexed = FromRows(2, PixelFormat::pf8bit, {{200, 10}});
    GrayBitmap(indexed, 0);
    EXPECT_EQ(indexed.Format(), PixelFormat::pf32bit);
    EXPECT_EQ(RowBytes(indexed, 0), (std::vector<uint8_t>{200, 200, 200, 0, 10, 10, 10, 0}));

    Bitmap empty;
    GrayBitmap(empty, 0);
    EXPECT_TRUE(empty.IsEmpty());

    Bitmap colour = FromRows(1, PixelFormat::pf24bit, {{1, 2, 3}});
    GrayBitmap(colour, 3);
    EXPECT_EQ(RowBytes(colour, 0), (std::vector<uint8_t>{1, 2, 3}));
}
