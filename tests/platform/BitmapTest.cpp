#include "platform/Bitmap.h"

#include "platform/BmpFile.h"
#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr TColor kSample = RGBColor(0x12, 0x34, 0x56);

std::vector<uint8_t> Bytes(const Bitmap& bitmap, int y, int count)
{
    const uint8_t* line = bitmap.ScanLine(y);
    return std::vector<uint8_t>(line, line + count);
}

std::vector<uint8_t> SavedBytes(const Bitmap& bitmap)
{
    MemoryStream stream;
    BmpFile::Write(stream, bitmap);
    return stream.Data();
}

Bitmap LoadBytes(const std::vector<uint8_t>& bytes)
{
    MemoryStream stream(bytes);
    PixelFormat format = PixelFormat::pf24bit;
    QImage image = BmpFile::Read(stream, format);
    Bitmap bitmap(image);
    EXPECT_EQ(bitmap.Format(), format);
    return bitmap;
}

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) { std::memcpy(b.data() + at, &v, 2); }
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

// A bitmap file with a 40-byte info header, the given extra bytes (masks, palette) and rows as given.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                             const std::vector<uint8_t>& extra, const std::vector<uint8_t>& rows)
{
    std::vector<uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(54 + extra.size() + rows.size()));
    Put32(b, 10, static_cast<uint32_t>(54 + extra.size()));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 30, compression);
    b.insert(b.end(), extra.begin(), extra.end());
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

} // namespace

TEST(BitmapTest, ScanLinesAreLaidOutLikeDeviceIndependentBitmapRows)
{
    struct Case {
        PixelFormat format;
        int bytesPerLine;
        std::vector<uint8_t> firstPixel;
        TColor readBack;
    };
    // 0x12, 0x34, 0x56 as 5 bits: 2, 6, 10; green as 6 bits: 13. Reading expands by repeating the high bits.
    const Case cases[] = {
        {PixelFormat::pf8bit, 4, {45}, RGBColor(45, 45, 45)},
        {PixelFormat::pf15bit, 8, {0xCA, 0x08}, RGBColor(0x10, 0x31, 0x52)},
        {PixelFormat::pf16bit, 8, {0xAA, 0x11}, RGBColor(0x10, 0x34, 0x52)},
        {PixelFormat::pf24bit, 12, {0x56, 0x34, 0x12}, kSample},
        {PixelFormat::pf32bit, 12, {0x56, 0x34, 0x12, 0xFF}, kSample},
    };
    for (const Case& c : cases) {
        Bitmap bitmap(3, 2, c.format);
        bitmap.SetPixel(0, 1, kSample);
        EXPECT_EQ(bitmap.BytesPerLine(), c.bytesPerLine);
        EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), c.bytesPerLine);
        EXPECT_EQ(Bytes(bitmap, 1, static_cast<int>(c.firstPixel.size())), c.firstPixel);
        EXPECT_EQ(bitmap.Pixel(0, 1), c.readBack);
        EXPECT_EQ(bitmap.Pixel(0, 0), kColorWhite) << "new bitmaps are white";
    }
}

TEST(BitmapTest, PixelAccessOutsideTheBitmap)
{
    Bitmap bitmap(2, 2);
    EXPECT_EQ(bitmap.Pixel(2, 0), -1);
    EXPECT_EQ(bitmap.Pixel(0, -1), -1);
    bitmap.SetPixel(-1, 0, kColorBlack);
    bitmap.SetPixel(0, 2, kColorBlack);
    EXPECT_EQ(bitmap.Pixel(0, 0), kColorWhite);
    EXPECT_THROW(bitmap.ScanLine(2), EImageError);
    EXPECT_THROW(bitmap.ScanLine(-1), EImageError);

    Bitmap empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.BytesPerLine(), 0);
    EXPECT_THROW(empty.ScanLine(0), EImageError);
}

TEST(BitmapTest, AbsurdSizesAreRefused)
{
    EXPECT_THROW(Bitmap(100000, 100000), EImageError);
    EXPECT_THROW(Bitmap(-1, 5), EImageError);
    Bitmap bitmap(4, 4);
    EXPECT_THROW(bitmap.SetSize(20000, 20000), EImageError);
    EXPECT_EQ(bitmap.Width(), 4);
}

TEST(BitmapTest, FormatConversions)
{
    Bitmap bitmap(2, 1, PixelFormat::pf24bit);
    bitmap.SetPixel(0, 0, RGBColor(0xFF, 0x80, 0x01));
    bitmap.SetPixel(1, 0, RGBColor(0x00, 0xFF, 0x00));

    Bitmap wide = bitmap;
    wide.SetPixelFormat(PixelFormat::pf32bit);
    EXPECT_EQ(Bytes(wide, 0, 8), (std::vector<uint8_t>{0x01, 0x80, 0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF}));
    wide.SetPixelFormat(PixelFormat::pf24bit);
    EXPECT_EQ(Bytes(wide, 0, 6), Bytes(bitmap, 0, 6)) << "24 -> 32 -> 24 is lossless";

    Bitmap narrow = bitmap;
    narrow.SetPixelFormat(PixelFormat::pf15bit);
    // Red 0xFF -> 31, green 0x80 -> 16, blue 0x01 -> 0: 0 11111 10000 00000.
    EXPECT_EQ(Bytes(narrow, 0, 4), (std::vector<uint8_t>{0x00, 0x7E, 0xE0, 0x03}));
    narrow.SetPixelFormat(PixelFormat::pf16bit);
    // Through 8 bits again: green 0x84 -> 33 of 63.
    EXPECT_EQ(Bytes(narrow, 0, 2), (std::vector<uint8_t>{0x20, 0xFC}));

    Bitmap grey = bitmap;
    grey.SetPixelFormat(PixelFormat::pf8bit);
    // (255*77 + 128*151 + 1*28 + 128) >> 8 = 152;  (255*151 + 128) >> 8 = 150.
    EXPECT_EQ(Bytes(grey, 0, 2), (std::vector<uint8_t>{152, 150}));
    EXPECT_EQ(grey.Image().colorTable(), GreyPalette());
    grey.SetPixelFormat(PixelFormat::pf24bit);
    EXPECT_EQ(Bytes(grey, 0, 6), (std::vector<uint8_t>{152, 152, 152, 150, 150, 150}));
}

TEST(BitmapTest, BmpRoundTripKeepsFormatAndPixels)
{
    QTemporaryDir dir;
    for (PixelFormat format : {PixelFormat::pf8bit, PixelFormat::pf15bit, PixelFormat::pf16bit, PixelFormat::pf24bit,
                               PixelFormat::pf32bit}) {
        Bitmap bitmap(3, 2, format);
        bitmap.SetPixel(0, 0, kSample);
        bitmap.SetPixel(2, 1, RGBColor(0xF0, 0x0F, 0x80));
        const std::string path = dir.filePath("b.bmp").toStdString();
        bitmap.SaveToFile(path);
        Bitmap loaded;
        loaded.LoadFromFile(path);
        ASSERT_EQ(loaded.Format(), format);
        ASSERT_EQ(loaded.Width(), 3);
        ASSERT_EQ(loaded.Height(), 2);
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(Bytes(loaded, y, 3 * loaded.BytesPerPixel()), Bytes(bitmap, y, 3 * bitmap.BytesPerPixel()));
        EXPECT_EQ(SavedBytes(loaded), SavedBytes(bitmap));
    }
}

TEST(BitmapTest, BmpFileLayoutIsBottomUpWithPaddedRows)
{
    Bitmap bitmap(1, 2, PixelFormat::pf24bit);
    bitmap.SetPixel(0, 0, RGBColor(1, 2, 3));
    bitmap.SetPixel(0, 1, RGBColor(4, 5, 6));
    const std::vector<uint8_t> bytes = SavedBytes(bitmap);
    ASSERT_EQ(bytes.size(), 54u + 8u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 54, bytes.end()), (std::vector<uint8_t>{6, 5, 4, 0, 3, 2, 1, 0}));

    Bitmap sixteen(1, 1, PixelFormat::pf16bit);
    const std::vector<uint8_t> fields = SavedBytes(sixteen);
    uint32_t compression = 0, redMask = 0;
    std::memcpy(&compression, fields.data() + 30, 4);
    std::memcpy(&redMask, fields.data() + 54, 4);
    EXPECT_EQ(compression, 3u);
    EXPECT_EQ(redMask, 0xF800u);
}

TEST(BitmapTest, BmpReadsPaletteDepthsTopDownRowsAndBitFields)
{
    // 1 bit, 3 x 2, top-down: row 0 = 1 0 1, row 1 = 0 1 0; palette black, red.
    const std::vector<uint8_t> palette1 = {0, 0, 0, 0, 0, 0, 255, 0};
    Bitmap mono = LoadBytes(MakeBmp(3, -2, 1, 0, palette1, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}));
    EXPECT_EQ(mono.Format(), PixelFormat::pf8bit);
    EXPECT_EQ(Bytes(mono, 0, 3), (std::vector<uint8_t>{1, 0, 1}));
    EXPECT_EQ(Bytes(mono, 1, 3), (std::vector<uint8_t>{0, 1, 0}));
    EXPECT_EQ(mono.Pixel(0, 0), RGBColor(255, 0, 0));

    // 4 bits, bottom-up: the stored row is the bottom row. Index 15 is beyond the 2-entry palette: black.
    std::vector<uint8_t> palette4 = {10, 20, 30, 0, 40, 50, 60, 0};
    std::vector<uint8_t> header4 = MakeBmp(2, 1, 4, 0, palette4, {0x1F, 0, 0, 0});
    Put32(header4, 46, 2);
    Bitmap nibbles = LoadBytes(header4);
    EXPECT_EQ(Bytes(nibbles, 0, 2), (std::vector<uint8_t>{1, 15}));
    EXPECT_EQ(nibbles.Pixel(0, 0), RGBColor(60, 50, 40));
    EXPECT_EQ(nibbles.Pixel(1, 0), kColorBlack);

    // 16 bits with 5-6-5 fields: pf16bit, bytes kept.
    std::vector<uint8_t> masks565(12);
    Put32(masks565, 0, 0xF800);
    Put32(masks565, 4, 0x07E0);
    Put32(masks565, 8, 0x001F);
    Bitmap f565 = LoadBytes(MakeBmp(1, 1, 16, 3, masks565, {0xAA, 0x11, 0, 0}));
    EXPECT_EQ(f565.Format(), PixelFormat::pf16bit);
    EXPECT_EQ(Bytes(f565, 0, 2), (std::vector<uint8_t>{0xAA, 0x11}));

    // 32 bits with 10-bit fields (blue in the low bits): scaled to 8 bits.
    std::vector<uint8_t> masks10(12);
    Put32(masks10, 0, 0x3FF00000);
    Put32(masks10, 4, 0x000FFC00);
    Put32(masks10, 8, 0x000003FF);
    const uint32_t pixel = (1023u << 20) | (0u << 10) | 511u;
    std::vector<uint8_t> row(4);
    Put32(row, 0, pixel);
    Bitmap f10 = LoadBytes(MakeBmp(1, 1, 32, 3, masks10, row));
    EXPECT_EQ(f10.Format(), PixelFormat::pf32bit);
    EXPECT_EQ(f10.Pixel(0, 0), RGBColor(255, 0, 127));
}

TEST(BitmapTest, DamagedBmpFilesRaiseImageErrors)
{
    Bitmap bitmap(3, 2, PixelFormat::pf24bit);
    const std::vector<uint8_t> good = SavedBytes(bitmap);
    // The last row may lack its padding (3 bytes here); any shorter cut is an error.
    for (size_t cut = 0; cut + 3 < good.size(); ++cut) {
        const std::vector<uint8_t> part(good.begin(), good.begin() + static_cast<ptrdiff_t>(cut));
        EXPECT_THROW(LoadBytes(part), EImageError) << "cut at " << cut;
    }
    EXPECT_NO_THROW(LoadBytes(std::vector<uint8_t>(good.begin(), good.end() - 3)));

    std::vector<uint8_t> huge = good;
    Put32(huge, 18, 100000);
    Put32(huge, 22, 100000);
    try {
        LoadBytes(huge);
        ADD_FAILURE() << "a 10-gigapixel header was accepted";
    } catch (const EImageError& e) {
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos);
    }

    // Too many rows for the file, negative width, 2^31 height, 7 bits, RLE, odd header size, pixel data
    // inside the header or beyond the end, bad signature.
    const struct {
        size_t at;
        int size;
        uint32_t value;
    } damage[] = {{22, 4, 10000},       {18, 4, static_cast<uint32_t>(-3)},
                  {22, 4, 0x80000000u}, {28, 2, 7},
                  {30, 4, 1},           {14, 4, 1000},
                  {10, 4, 4},           {10, 4, 0x7FFFFFF0},
                  {0, 1, 'P'}};
    for (const auto& d : damage) {
        std::vector<uint8_t> variant = good;
        if (d.size == 4)
            Put32(variant, d.at, d.value);
        else if (d.size == 2)
            Put16(variant, d.at, static_cast<uint16_t>(d.value));
        else
            variant[d.at] = static_cast<uint8_t>(d.value);
        EXPECT_THROW(LoadBytes(variant), EImageError) << d.at;
    }
}
