#include "imaging/DibBitmap.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        b.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A 40-byte info header.
Bytes InfoHeader(int32_t width, int32_t height, int bitCount, uint32_t colorsUsed, uint32_t compression = 0)
{
    Bytes b;
    Put(b, 40, 4);
    Put(b, static_cast<uint32_t>(width), 4);
    Put(b, static_cast<uint32_t>(height), 4);
    Put(b, 1, 2);
    Put(b, static_cast<uint32_t>(bitCount), 2);
    Put(b, compression, 4);
    Put(b, 0, 4);
    Put(b, 3780, 4);
    Put(b, 3780, 4);
    Put(b, colorsUsed, 4);
    Put(b, 0, 4);
    return b;
}

Bytes CoreHeader(uint16_t width, uint16_t height, int bitCount)
{
    Bytes b;
    Put(b, 12, 4);
    Put(b, width, 2);
    Put(b, height, 2);
    Put(b, 1, 2);
    Put(b, static_cast<uint32_t>(bitCount), 2);
    return b;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Colour entries red, green, blue, then grey levels; 4 bytes each (B, G, R, 0) or 3 for the core form.
Bytes Table(int count, int entrySize)
{
    Bytes b;
    const uint8_t fixed[3][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}};
    for (int i = 0; i < count; ++i) {
        const uint8_t grey = static_cast<uint8_t>(i * 10);
        const uint8_t* bgr = i < 3 ? fixed[i] : nullptr;
        b.push_back(bgr ? bgr[0] : grey);
        b.push_back(bgr ? bgr[1] : grey);
        b.push_back(bgr ? bgr[2] : grey);
        if (entrySize == 4)
            b.push_back(0);
    }
    return b;
}

Bitmap Read(const Bytes& dib) { return BitmapFromDib(dib.data(), dib.size()); }

int32_t Red() { return 0x0000FF; }
int32_t Green() { return 0x00FF00; }
int32_t Blue() { return 0xFF0000; }

} // namespace

// Every depth the scanner may hand over, each 3 x 2 with the bottom row stored first: the palette comes from the
// colour table, of the colours-used count or the full count for the depth.
TEST(DibBitmapTest, PalettedAndTrueColourPicturesAreRead)
{
    struct Case {
        const char* name;
        Bytes dib;
        PixelFormat format;
        std::vector<std::vector<int32_t>> pixels; // top row first
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"1 bit, full table", InfoHeader(3, 2, 1, 0) + Table(2, 4) + Bytes{0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0},
         PixelFormat::pf8bit, {{Red(), Green(), Red()}, {Green(), Red(), Green()}}},
        {"4 bits, 3 colours used", InfoHeader(3, 2, 4, 3) + Table(3, 4) + Bytes{0x01, 0x20, 0, 0, 0x22, 0x10, 0, 0},
         PixelFormat::pf8bit, {{Blue(), Blue(), Green()}, {Red(), Green(), Blue()}}},
        {"8 bits, full table", InfoHeader(3, 2, 8, 0) + Table(256, 4) + Bytes{3, 4, 0, 0, 2, 1, 0, 0},
         PixelFormat::pf8bit, {{Blue(), Green(), Red()}, {0x1E1E1E, 0x282828, Red()}}},
        {"8 bits, top-down", InfoHeader(3, -2, 8, 2) + Table(2, 4) + Bytes{1, 1, 0, 0, 0, 0, 1, 0},
         PixelFormat::pf8bit, {{Green(), Green(), Red()}, {Red(), Red(), Green()}}},
        {"24 bits", InfoHeader(3, 2, 24, 0) + Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0} +
                        Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0},
         PixelFormat::pf24bit, {{0x010203, 0x040506, 0x070809}, {Blue(), Green(), Red()}}},
        {"24 bits with 2 colours used before the rows", InfoHeader(3, 2, 24, 2) + Table(2, 4) +
                        Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0} + Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0},
         PixelFormat::pf24bit, {{0x010203, 0x040506, 0x070809}, {Blue(), Green(), Red()}}},
        {"core header, 3-byte entries", CoreHeader(3, 2, 8) + Table(256, 3) + Bytes{0, 1, 2, 0, 2, 1, 0, 0},
         PixelFormat::pf8bit, {{Blue(), Green(), Red()}, {Red(), Green(), Blue()}}},
        {"core header, 1 bit", CoreHeader(3, 2, 1) + Table(2, 3) + Bytes{0b11100000, 0, 0, 0, 0, 0, 0, 0},
         PixelFormat::pf8bit, {{Red(), Red(), Red()}, {Green(), Green(), Green()}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap = Read(c.dib);
        ASSERT_EQ(bitmap.Width(), 3);
        ASSERT_EQ(bitmap.Height(), 2);
        EXPECT_EQ(bitmap.Format(), c.format);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(bitmap.Pixel(x, y), c.pixels[static_cast<size_t>(y)][static_cast<size_t>(x)])
                    << x << "," << y;
    }
}

TEST(DibBitmapTest, PaletteIndexesBeyondTheTableAreBlack)
{
    const Bitmap bitmap = Read(InfoHeader(2, 1, 8, 2) + Table(2, 4) + Bytes{1, 200, 0, 0});
    EXPECT_EQ(bitmap.Pixel(0, 0), Green());
    EXPECT_EQ(bitmap.Pixel(1, 0), 0);
}

TEST(DibBitmapTest, DamagedOrUnreadableBlocksRaiseAnError)
{
    struct Case {
        const char* name;
        Bytes dib;
        std::string message;
    };
    const Bytes rows(8, 0);
    const Bytes header = InfoHeader(3, 2, 8, 0);
    // clang-format off
    const std::vector<Case> cases = {
        {"no header", Bytes{40, 0}, "no header"},
        {"unknown header form", Bytes{20, 0, 0, 0} + Bytes(20, 0), "unknown header form"},
        {"header cut short", Bytes(header.begin(), header.begin() + 30),
         "header is cut short"},
        {"compressed", InfoHeader(3, 2, 8, 0, 1) + Table(256, 4) + rows, "compressed"},
        {"16 bits", InfoHeader(3, 2, 16, 0) + rows + rows, "16 bits per pixel"},
        {"no width", InfoHeader(0, 2, 8, 0) + Table(256, 4) + rows, "size is invalid"},
        {"too large", InfoHeader(20000, 20000, 24, 0), "too large"},
        {"rows cut short", InfoHeader(3, 2, 8, 0) + Table(256, 4) + Bytes(6, 0), "rows are cut short"},
        {"colour table beyond the block", InfoHeader(3, 2, 8, 0xFFFFFFFF) + rows, "rows are cut short"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Read(c.dib);
            ADD_FAILURE() << "no error";
        } catch (const EImageError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    EXPECT_THROW(BitmapFromDib(nullptr, 0), EImageError);
}
