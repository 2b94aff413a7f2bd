#include "platform/Jpeg.h"

#include "platform/Color.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

// Compresses width x height pixels of the given colour space with libjpeg itself, so that the tests can make
// files our encoder never writes (grey, CMYK with and without Adobe's marker, YCCK, many progressive scans).
std::vector<uint8_t> Compress(int width, int height, J_COLOR_SPACE input, int components,
                              const std::function<void(int x, int y, uint8_t* pixel)>& paint,
                              const std::function<void(jpeg_compress_struct&)>& configure)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = input;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    configure(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width * components));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x)
            paint(x, static_cast<int>(cinfo.next_scanline), row.data() + x * components);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(out, out + outSize);
    std::free(out);
    return bytes;
}

// Four 16 x 16 quadrants, so that every block and every subsampled chroma block is one colour.
Bitmap Quadrants(PixelFormat format)
{
    Bitmap bitmap(32, 32, format);
    const TColor colours[4] = {RGBColor(200, 30, 40), RGBColor(20, 180, 60), RGBColor(30, 60, 220),
                               RGBColor(250, 240, 10)};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            bitmap.SetPixel(x, y, colours[(y / 16) * 2 + x / 16]);
    return bitmap;
}

void ExpectNear(TColor actual, TColor expected, int tolerance, const std::string& what)
{
    const auto a = static_cast<uint32_t>(actual);
    const auto e = static_cast<uint32_t>(expected);
    for (int shift = 0; shift < 24; shift += 8) {
        const int diff = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((e >> shift) & 0xFF);
        EXPECT_LE(std::abs(diff), tolerance) << what << ": got " << std::hex << actual << " expected " << expected;
    }
}

bool HasMarker(const std::vector<uint8_t>& jpeg, uint8_t marker)
{
    for (size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker)
            return true;
    return false;
}

void PaintInks(int x, int, uint8_t* p, bool inverted)
{
    // Left half: cyan ink; right half: magenta + yellow (red) with a quarter of black.
    const uint8_t cyan[4] = {255, 0, 0, 0};
    const uint8_t red[4] = {0, 255, 255, 64};
    std::memcpy(p, x < 16 ? cyan : red, 4);
    if (inverted)
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<uint8_t>(255 - p[i]);
}

void ExpectInkColours(const std::vector<uint8_t>& jpeg, const std::string& what)
{
    for (PixelFormat format : {PixelFormat::pf24bit, PixelFormat::pf32bit}) {
        const Bitmap decoded = DecodeJpeg(jpeg, format);
        ASSERT_EQ(decoded.Format(), format);
        ExpectNear(decoded.Pixel(4, 8), RGBColor(0, 255, 255), 4, what + " cyan");
        // (255 - 64) / 255 of white for the red channel.
        ExpectNear(decoded.Pixel(28, 8), RGBColor(191, 0, 0), 4, what + " red");
        if (format == PixelFormat::pf32bit) {
            EXPECT_EQ(decoded.ScanLine(8)[3], 0xFF);
        }
    }
}

} // namespace

TEST(JpegTest, RoundTripKeepsColoursAndSize)
{
    const Bitmap original = Quadrants(PixelFormat::pf24bit);
    const std::vector<uint8_t> jpeg = EncodeJpeg(original);
    const JpegInfo info = ReadJpegInfo(jpeg.data(), jpeg.size());
    EXPECT_EQ(info.width, 32);
    EXPECT_EQ(info.height, 32);
    EXPECT_EQ(info.components, 3);
    for (PixelFormat format : {PixelFormat::pf24bit, PixelFormat::pf32bit}) {
        const Bitmap decoded = DecodeJpeg(jpeg, format);
        ASSERT_EQ(decoded.Format(), format);
        for (int y : {3, 12, 19, 28})
            for (int x : {3, 12, 19, 28})
                ExpectNear(decoded.Pixel(x, y), original.Pixel(x, y), 6,
                           "pixel " + std::to_string(x) + "," + std::to_string(y));
    }
    EXPECT_EQ(DecodeJpeg(jpeg, PixelFormat::pf32bit).ScanLine(0)[3], 0xFF);
}

TEST(JpegTest, CmykWithAndWithoutAdobeMarkerAndYcck)
{
    // Adobe's applications store inverted inks and say so with their APP14 marker, which libjpeg writes for
    // CMYK and YCCK output.
    const struct {
        const char* name;
        J_COLOR_SPACE space;
        bool adobe;
    } cases[] = {{"Adobe CMYK", JCS_CMYK, true}, {"plain CMYK", JCS_CMYK, false}, {"YCCK", JCS_YCCK, true}};
    for (const auto& c : cases) {
        const std::vector<uint8_t> jpeg = Compress(
            32, 16, JCS_CMYK, 4, [&](int x, int y, uint8_t* p) { PaintInks(x, y, p, c.adobe); },
            [&](jpeg_compress_struct& info) {
                jpeg_set_colorspace(&info, c.space);
                info.write_Adobe_marker = c.adobe ? TRUE : FALSE;
            });
        ASSERT_EQ(HasMarker(jpeg, 0xEE), c.adobe) << c.name;
        ExpectInkColours(jpeg, c.name);
    }
}

TEST(JpegTest, GarbageAndTruncatedDataRaiseImageErrors)
{
    const std::vector<uint8_t> garbage = {'h', 'e', 'l', 'l', 'o', 0xFF, 0xD8, 0x00, 0x13};
    EXPECT_THROW(DecodeJpeg(garbage), EImageError);
    EXPECT_THROW(ReadJpegInfo(garbage.data(), garbage.size()), EImageError);
    EXPECT_THROW(DecodeJpeg(std::vector<uint8_t>()), EImageError);
    EXPECT_THROW(ReadJpegInfo(nullptr, 0), EImageError);

    const std::vector<uint8_t> baseline = EncodeJpeg(Quadrants(PixelFormat::pf24bit));
    const std::vector<uint8_t> progressive = Compress(
        32, 32, JCS_RGB, 3,
        [](int x, int y, uint8_t* p) {
            p[0] = static_cast<uint8_t>(x * 8);
            p[1] = static_cast<uint8_t>(y * 8);
            p[2] = 90;
        },
        [](jpeg_compress_struct& c) { jpeg_simple_progression(&c); });
    for (const std::vector<uint8_t>* whole : {&baseline, &progressive}) {
        // Without its final end marker the picture is complete; any shorter cut is an error.
        for (size_t cut = 0; cut + 2 < whole->size(); ++cut) {
            EXPECT_THROW(DecodeJpeg(whole->data(), cut), EImageError) << "cut at " << cut << " of " << whole->size();
            // The scaled decode too, at every scale.
            for (int target : {4, 8, 16, 32})
                EXPECT_THROW(DecodeJpegAtLeast(whole->data(), cut, target, target), EImageError)
                    << cut << " " << target;
        }
    }
}

TEST(JpegTest, EndlessProgressiveScansAreRefused)
{
    // One scan per coefficient and bit: over 700 scans, each a full pass over the picture.
    std::vector<jpeg_scan_info> script;
    script.push_back({1, {0}, 0, 0, 0, 10});
    for (int al = 9; al >= 0; --al)
        script.push_back({1, {0}, 0, 0, al + 1, al});
    for (int k = 1; k < 64; ++k) {
        script.push_back({1, {0}, k, k, 0, 10});
        for (int al = 9; al >= 0; --al)
            script.push_back({1, {0}, k, k, al + 1, al});
    }
    const std::vector<uint8_t> jpeg = Compress(
        16, 16, JCS_GRAYSCALE, 1, [](int x, int y, uint8_t* p) { *p = static_cast<uint8_t>(x * y); },
        [&](jpeg_compress_struct& c) {
            c.scan_info = script.data();
            c.num_scans = static_cast<int>(script.size());
        });
    ASSERT_GT(script.size(), 500u);
    EXPECT_THROW(DecodeJpeg(jpeg), EImageError);
}

TEST(JpegScaledTest, ScaleIsTheSmallestThatCoversTheTarget)
{
    struct Case {
        int imageWidth, imageHeight, width, height, scale;
    };
    const Case cases[] = {
        {2560, 1600, 320, 200, 1},   // exactly an eighth
        {2560, 1600, 321, 200, 2},   // one pixel more needs the next scale
        {2560, 1600, 320, 201, 2},   // in either direction
        {2560, 1600, 1280, 800, 4},  // half
        {2560, 1600, 2000, 10, 7},   // 2240 wide at 7/8
        {2560, 1600, 2561, 1600, 8}, // larger than the picture: full size, never more
        {4000, 3000, 0, 0, 1},       // nothing asked
        {4000, 3000, -5, 375, 1},
        {7, 5, 1, 1, 1}, // rounded up: 1 x 1 at 1/8
        {7, 5, 2, 1, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JpegScaleFor(c.imageWidth, c.imageHeight, c.width, c.height), c.scale)
            << c.imageWidth << "x" << c.imageHeight << " -> " << c.width << "x" << c.height;
}

TEST(JpegScaledTest, ScaledDecodeCoversTheTargetAndKeepsColours)
{
    const std::vector<uint8_t> jpeg = EncodeJpeg(Quadrants(PixelFormat::pf24bit));
    struct Case {
        int width, height, expectedWidth, expectedHeight;
    };
    for (const Case& c : {Case{4, 4, 4, 4}, Case{5, 4, 8, 8}, Case{16, 3, 16, 16}, Case{40, 40, 32, 32}}) {
        const Bitmap scaled = DecodeJpegAtLeast(jpeg.data(), jpeg.size(), c.width, c.height);
        ASSERT_EQ(scaled.Width(), c.expectedWidth) << c.width;
        ASSERT_EQ(scaled.Height(), c.expectedHeight) << c.height;
        // Every quadrant keeps its colour at every scale.
        const int last = scaled.Width() - 1;
        ExpectNear(scaled.Pixel(0, 0), RGBColor(200, 30, 40), 24, "top left at " + std::to_string(c.width));
        ExpectNear(scaled.Pixel(last, last), RGBColor(250, 240, 10), 24, "bottom right");
    }
}

TEST(JpegScaledTest, HeaderCheckRefusesWhatCannotBeAPicture)
{
    const std::vector<uint8_t> jpeg = EncodeJpeg(Quadrants(PixelFormat::pf24bit));
    EXPECT_EQ(CheckJpegHeader(jpeg.data(), jpeg.size()).width, 32);
    size_t sof = 0;
    for (size_t i = 2; i + 9 < jpeg.size() && sof == 0; ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0)
            sof = i;
    ASSERT_NE(sof, 0u);
    // Over the pixel limit, or without pixels in one direction. Height and width (big-endian) follow the marker
    // at 5 and 7 bytes.
    for (const auto& [height, width] : {std::pair<int, int>{20000, 20000}, {0, 32}, {32, 0}, {60000, 60000}}) {
        std::vector<uint8_t> damaged = jpeg;
        damaged[sof + 5] = static_cast<uint8_t>(height >> 8);
        damaged[sof + 6] = static_cast<uint8_t>(height & 0xFF);
        damaged[sof + 7] = static_cast<uint8_t>(width >> 8);
        damaged[sof + 8] = static_cast<uint8_t>(width & 0xFF);
        EXPECT_THROW(CheckJpegHeader(damaged.data(), damaged.size()), EImageError) << width << "x" << height;
        if (height == 60000) {
            // The plain reader gives the size; decoding refuses before setting aside 3.6 gigapixels.
            EXPECT_EQ(ReadJpegInfo(damaged.data(), damaged.size()).width, 60000);
            try {
                DecodeJpeg(damaged);
                ADD_FAILURE() << "a 3.6-gigapixel picture was decoded";
            } catch (const EImageError& e) {
                EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
            }
        }
    }
    // Cut before the first scan: the header itself is incomplete.
    EXPECT_THROW(CheckJpegHeader(jpeg.data(), sof + 4), EImageError);
}
