#include "platform/Canvas.h"

#include "platform/Bitmap.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr TColor kRed = RGBColor(255, 0, 0);
constexpr TColor kInk = RGBColor(10, 20, 30);

// One character per pixel: '#' for the ink, '.' for white, 'o' for the other colour, '?' for anything else.
std::string Map(const Bitmap& bitmap, TColor ink, TColor other = kRed)
{
    std::string rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Pixel(x, y);
            rows += c == ink ? '#' : c == kColorWhite ? '.' : c == other ? 'o' : '?';
        }
        rows += '\n';
    }
    return rows;
}

std::vector<uint8_t> Bytes(const Bitmap& bitmap, int y, int from, int count)
{
    const uint8_t* line = bitmap.ScanLine(y) + from;
    return std::vector<uint8_t>(line, line + count);
}

const PixelFormat kAllFormats[] = {PixelFormat::pf8bit, PixelFormat::pf15bit, PixelFormat::pf16bit,
                                   PixelFormat::pf24bit, PixelFormat::pf32bit};

// The colour a pixel of the format holds after storing the given colour.
TColor Stored(PixelFormat format, TColor color)
{
    Bitmap probe(1, 1, format);
    probe.SetPixel(0, 0, color);
    return probe.Pixel(0, 0);
}

} // namespace

TEST(CanvasTest, FillRectExcludesRightAndBottomInEveryFormat)
{
    for (PixelFormat format : kAllFormats) {
        Bitmap bitmap(4, 3, format);
        Canvas& canvas = bitmap.GetCanvas();
        canvas.SetBrushColor(kInk);
        canvas.FillRect(Rect(1, 1, 3, 3));
        canvas.FillRect(Rect(3, 0, 2, 2)); // right before left: nothing
        canvas.SetBrushStyle(BrushStyle::Clear);
        canvas.FillRect(Rect(0, 0, 4, 3));
        EXPECT_EQ(Map(bitmap, Stored(format, kInk)), "....\n.##.\n.##.\n") << static_cast<int>(format);
    }
    Bitmap bgr(3, 1, PixelFormat::pf24bit);
    bgr.GetCanvas().SetBrushColor(RGBColor(0x11, 0x22, 0x33));
    bgr.GetCanvas().FillRect(Rect(-5, -5, 2, 9));
    EXPECT_EQ(Bytes(bgr, 0, 0, 9), (std::vector<uint8_t>{0x33, 0x22, 0x11, 0x33, 0x22, 0x11, 0xFF, 0xFF, 0xFF}));
}

TEST(CanvasTest, LinesLeaveOutTheirEndPoint)
{
    Bitmap bitmap(5, 4);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.SetPenColor(kInk);
    canvas.MoveTo(0, 0);
    canvas.LineTo(3, 0);
    canvas.MoveTo(0, 3);
    canvas.LineTo(3, 0); // diagonal up to the right, stopping short of (3, 0)
    canvas.MoveTo(4, 0);
    canvas.LineTo(4, 3);
    EXPECT_EQ(Map(bitmap, kInk), "###.#\n..#.#\n.#..#\n#....\n");
}

TEST(CanvasTest, BitBltCombinesBytesWithAndAndOr)
{
    Bitmap dest(2, 1, PixelFormat::pf24bit);
    Bitmap source(2, 1, PixelFormat::pf24bit);
    dest.SetPixel(0, 0, RGBColor(0xAA, 0x0F, 0xF0));
    source.SetPixel(0, 0, RGBColor(0x55, 0x3C, 0x3C));
    Bitmap anded = dest;
    anded.GetCanvas().BitBlt(0, 0, 1, 1, source, 0, 0, RasterOp::SrcAnd);
    EXPECT_EQ(Bytes(anded, 0, 0, 6), (std::vector<uint8_t>{0x30, 0x0C, 0x00, 0xFF, 0xFF, 0xFF}));
    Bitmap ored = dest;
    ored.GetCanvas().BitBlt(0, 0, 1, 1, source, 0, 0, RasterOp::SrcPaint);
    EXPECT_EQ(Bytes(ored, 0, 0, 3), (std::vector<uint8_t>{0xFC, 0x3F, 0xFF}));
    Bitmap copied = dest;
    copied.GetCanvas().BitBlt(1, 0, 1, 1, source, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(Bytes(copied, 0, 0, 6), (std::vector<uint8_t>{0xF0, 0x0F, 0xAA, 0x3C, 0x3C, 0x55}));

    // A mask: black where the picture shows, white elsewhere; AND then OR puts the picture into the hole.
    Bitmap scene(3, 1, PixelFormat::pf16bit);
    Bitmap mask(3, 1, PixelFormat::pf32bit);
    Bitmap sprite(3, 1, PixelFormat::pf24bit);
    sprite.GetCanvas().SetBrushColor(kColorBlack);
    sprite.GetCanvas().FillRect(Rect(0, 0, 3, 1));
    sprite.SetPixel(1, 0, kRed);
    mask.SetPixel(1, 0, kColorBlack);
    scene.GetCanvas().BitBlt(0, 0, 3, 1, mask, 0, 0, RasterOp::SrcAnd);
    scene.GetCanvas().BitBlt(0, 0, 3, 1, sprite, 0, 0, RasterOp::SrcPaint);
    EXPECT_EQ(Bytes(scene, 0, 0, 6), (std::vector<uint8_t>{0xFF, 0xFF, 0x00, 0xF8, 0xFF, 0xFF}));
}

TEST(CanvasTest, BitBltClipsAtBothBitmaps)
{
    Bitmap dest(3, 3);
    Bitmap source(2, 2);
    source.GetCanvas().SetBrushColor(kInk);
    source.GetCanvas().FillRect(Rect(0, 0, 2, 2));
    dest.GetCanvas().BitBlt(-1, -1, 3, 3, source, 0, 0, RasterOp::SrcCopy);
    dest.GetCanvas().BitBlt(2, 2, 5, 5, source, 1, 1, RasterOp::SrcCopy);
    dest.GetCanvas().BitBlt(0, 2, 5, 5, source, -1, 0, RasterOp::SrcCopy);
    EXPECT_EQ(Map(dest, kInk), "#..\n...\n.##\n");
}

TEST(CanvasTest, CopyRectAndDrawCopyExactlyStretchDrawScales)
{
    Bitmap source(2, 1, PixelFormat::pf32bit);
    source.SetPixel(0, 0, kInk);
    source.SetPixel(1, 0, kRed);

    Bitmap copied(5, 3);
    copied.GetCanvas().CopyRect(Rect(1, 1, 5, 3), source, Rect(0, 0, 2, 1));
    EXPECT_EQ(Map(copied, kInk), ".....\n.##oo\n.##oo\n");

    Bitmap drawn(3, 2, PixelFormat::pf24bit);
    drawn.GetCanvas().Draw(1, 1, source);
    drawn.GetCanvas().Draw(-1, 0, source);
    EXPECT_EQ(Map(drawn, kInk), "o..\n.#o\n");

    // Shifting a bitmap's own pixels works although source and target overlap.
    drawn.GetCanvas().CopyRect(Rect(0, 0, 2, 2), drawn, Rect(1, 0, 3, 2));
    EXPECT_EQ(Map(drawn, kInk), "...\n#oo\n");

    Bitmap plain(2, 2, PixelFormat::pf8bit);
    plain.GetCanvas().SetBrushColor(kColorBlack);
    plain.GetCanvas().FillRect(Rect(0, 0, 2, 2));
    for (const TRect& target : {Rect(1, 1, 6, 4), Rect(0, 0, 1, 1)}) {
        Bitmap stretched(7, 5, PixelFormat::pf24bit);
        stretched.GetCanvas().StretchDraw(target, plain);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                const bool inside = x >= target.Left && x < target.Right && y >= target.Top && y < target.Bottom;
                EXPECT_EQ(stretched.Pixel(x, y), inside ? kColorBlack : kColorWhite) << x << "," << y;
            }
    }
}
