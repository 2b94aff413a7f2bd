// Photographs as phones and cameras save them: HEIC turned by the file, wide-gamut colours from embedded
// profiles and nclx descriptions, 16-bit samples, the capture date, and the refusal of damaged files. Every
// test picture is made here: the toolkit writes JPEG and PNG, libheif encodes HEIC (HEVC) and AVIF (AV1).

#include "imaging/PhotographFile.h"
#include "ExifJpeg.h"
#include "imaging/HeifFile.h"
#include "imaging/PictureMetadata.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"

#include <gtest/gtest.h>

#include <libheif/heif.h>

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

using Rgb = std::array<int, 3>;
using Matrix = std::array<std::array<double, 3>, 3>;

// Linear Display P3 and linear Adobe RGB (both D65) to linear sRGB.
constexpr Matrix kP3ToSrgb = {
    {{1.2249401, -0.2249404, 0.0}, {-0.0420569, 1.0420571, 0.0}, {-0.0196376, -0.0786361, 1.0982735}}};
constexpr Matrix kAdobeToSrgb = {{{1.3983557, -0.3983557, 0.0}, {0.0, 1.0, 0.0}, {0.0, -0.0429382, 1.0429382}}};

double SrgbDecode(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double SrgbEncode(double v) { return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055; }
double AdobeDecode(double v) { return std::pow(v, 563.0 / 256.0); }

// The colour-managed expectation: decode, change primaries, clip to the sRGB gamut, encode.
Rgb Expected(const Rgb& in, const Matrix& m, const std::function<double(double)>& decode)
{
    const double linear[3] = {decode(in[0] / 255.0), decode(in[1] / 255.0), decode(in[2] / 255.0)};
    Rgb out{};
    for (int c = 0; c < 3; ++c) {
        const double v = m[c][0] * linear[0] + m[c][1] * linear[1] + m[c][2] * linear[2];
        out[c] = int(std::lround(255.0 * SrgbEncode(std::clamp(v, 0.0, 1.0))));
    }
    return out;
}

Rgb PixelOf(const Bitmap& bitmap, int x, int y)
{
    const int32_t p = bitmap.Pixel(x, y); // 0x00BBGGRR
    return {p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF};
}

void ExpectNear(const Rgb& actual, const Rgb& expected, int tolerance)
{
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(actual[c], expected[c], tolerance) << "channel " << c;
}

QImage Filled(const Rgb& colour, int width = 64, int height = 48)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(colour[0], colour[1], colour[2]));
    return image;
}

// Quality 100; a progressive JPEG at 90, as cameras and editors write them.
QByteArray Encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.setQuality(progressive ? 90 : 100);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

// A picture with detail everywhere, so that a cut anywhere falls into its pixel data.
QImage Noisy(int width = 96, int height = 64)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * x + y * 7) % 256, (x * y * 13) % 256));
    return image;
}

// A JPEG with the given profile split over APP2 segments of at most partBytes (count as declared).
QByteArray JpegWithProfile(const QImage& image, const QByteArray& icc, int partBytes = 60000, int declared = 0)
{
    const QByteArray jpeg = Encoded(image, "JPEG");
    const int parts = int((icc.size() + partBytes - 1) / partBytes);
    QByteArray segments;
    for (int i = 0; i < parts; ++i) {
        const QByteArray part = icc.mid(qsizetype(i) * partBytes, partBytes);
        const int length = 2 + 14 + int(part.size());
        segments += "\xFF\xE2";
        segments += char(length >> 8);
        segments += char(length & 0xFF);
        segments += QByteArray("ICC_PROFILE", 12);
        segments += char(i + 1);
        segments += char(declared > 0 ? declared : parts);
        segments += part;
    }
    return jpeg.left(2) + segments + jpeg.mid(2);
}

// A JPEG with an EXIF block whose Exif directory holds the date of the original.
QByteArray JpegWithDate(const QByteArray& date)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    // IFD0 at 8: one entry (the Exif directory at 26), no next directory.
    tiff += QByteArray("\x01\0"
                       "\x69\x87\x04\0\x01\0\0\0\x1A\0\0\0"
                       "\0\0\0\0",
                       18);
    // Exif directory at 26: one entry, DateTimeOriginal (ASCII, 20 characters at 44).
    tiff += QByteArray("\x01\0"
                       "\x03\x90\x02\0\x14\0\0\0\x2C\0\0\0"
                       "\0\0\0\0",
                       18);
    tiff += date + QByteArray(1, '\0');
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = 2 + int(payload.size());
    const QByteArray jpeg = Encoded(Filled({90, 90, 90}), "JPEG");
    return jpeg.left(2) + "\xFF\xE1" + char(length >> 8) + char(length & 0xFF) + payload + jpeg.mid(2);
}

struct HeifOptions {
    heif_compression_format codec = heif_compression_HEVC;
    heif_orientation orientation = heif_orientation_normal;
    heif_color_primaries primaries = heif_color_primaries_ITU_R_BT_709_5;
    QByteArray icc; // given as a "prof" colour profile when not empty
};

heif_error Collect(heif_context*, const void* data, size_t size, void* target)
{
    static_cast<QByteArray*>(target)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
}

QByteArray EncodedHeif(const QImage& source, const HeifOptions& options)
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    EXPECT_EQ(heif_context_get_encoder_for_format(context, options.codec, &encoder).code, heif_error_Ok);
    heif_encoder_set_lossy_quality(encoder, 100);
    heif_encoder_set_parameter_string(encoder, "chroma", "444");
    heif_image* image = nullptr;
    heif_image_create(source.width(), source.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, source.width(), source.height(), 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const QRgb rgb = source.pixel(x, y);
            uint8_t* p = plane + y * stride + 3 * x;
            p[0] = uint8_t(qRed(rgb));
            p[1] = uint8_t(qGreen(rgb));
            p[2] = uint8_t(qBlue(rgb));
        }
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    heif_nclx_color_profile_set_color_primaries(nclx, uint16_t(options.primaries));
    heif_nclx_color_profile_set_transfer_characteristics(nclx, heif_transfer_characteristic_IEC_61966_2_1);
    heif_nclx_color_profile_set_matrix_coefficients(nclx, heif_matrix_coefficients_ITU_R_BT_601_6);
    nclx->full_range_flag = 1;
    heif_image_set_nclx_color_profile(image, nclx);
    if (!options.icc.isEmpty())
        heif_image_set_raw_color_profile(image, "prof", options.icc.constData(), size_t(options.icc.size()));
    heif_encoding_options* encoding = heif_encoding_options_alloc();
    encoding->image_orientation = options.orientation;
    encoding->output_nclx_profile = nclx;
    encoding->macOS_compatibility_workaround = 0;                 // the primary image itself, not a grid of one
    encoding->macOS_compatibility_workaround_no_nclx_profile = 0; // the colour description is written
    EXPECT_EQ(heif_context_encode_image(context, image, encoder, encoding, nullptr).code, heif_error_Ok);
    QByteArray bytes;
    heif_writer writer{1, &Collect};
    EXPECT_EQ(heif_context_write(context, &writer, &bytes).code, heif_error_Ok);
    heif_encoding_options_free(encoding);
    heif_nclx_color_profile_free(nclx);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

// The bytes with the four bytes at the given distance after the first occurrence of a box type replaced.
QByteArray Patched(QByteArray bytes, const char* box, int offset, const QByteArray& replacement)
{
    const qsizetype at = bytes.indexOf(box);
    EXPECT_GE(at, 0) << box;
    if (at >= 0)
        bytes.replace(at + offset, replacement.size(), replacement);
    return bytes;
}

class PhotographFileTest : public ::testing::Test {
protected:
    std::string Write(const QByteArray& bytes, const QString& name = QStringLiteral("photo"))
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path.toStdString();
    }
    Photograph Read(const QByteArray& bytes) { return ReadPhotograph(Write(bytes)); }

    QTemporaryDir m_dir;
};

TEST_F(PhotographFileTest, HeicStandsUprightAsItsTransformationSays)
{
    // Left half red, right half blue; turned 90 degrees clockwise, the left half becomes the top.
    QImage source = Filled({220, 30, 30});
    for (int y = 0; y < 48; ++y)
        for (int x = 32; x < 64; ++x)
            source.setPixel(x, y, qRgb(30, 30, 220));
    HeifOptions options;
    options.orientation = heif_orientation_rotate_90_cw;
    const Bitmap bitmap = Read(EncodedHeif(source, options)).bitmap;
    ASSERT_EQ(bitmap.Width(), 48);
    ASSERT_EQ(bitmap.Height(), 64);
    ExpectNear(PixelOf(bitmap, 24, 8), {220, 30, 30}, 6);
    ExpectNear(PixelOf(bitmap, 24, 56), {30, 30, 220}, 6);
}

TEST_F(PhotographFileTest, WideGamutColoursAreConvertedToSrgb)
{
    const Rgb p3Red{200, 40, 30};
    const Rgb adobeGreen{60, 180, 70};
    const Rgb p3Expected = Expected(p3Red, kP3ToSrgb, SrgbDecode);
    const Rgb adobeExpected = Expected(adobeGreen, kAdobeToSrgb, AdobeDecode);
    const QByteArray p3 = QColorSpace(QColorSpace::DisplayP3).iccProfile();
    const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    QImage adobePng = Filled(adobeGreen);
    adobePng.setColorSpace(QColorSpace::AdobeRgb);
    HeifOptions p3Heic;
    p3Heic.primaries = heif_color_primaries_SMPTE_EG_432_1;
    HeifOptions p3Avif = p3Heic;
    p3Avif.codec = heif_compression_AV1;
    HeifOptions adobeHeic;
    adobeHeic.icc = adobe;
    struct Case {
        const char* name;
        QByteArray file;
        Rgb expected;
        int tolerance; // lossy codecs add their own small error to the 2 levels of the conversion
    };
    const Case cases[] = {
        {"Display P3 JPEG", JpegWithProfile(Filled(p3Red), p3), p3Expected, 2},
        {"Display P3 JPEG, profile in small parts", JpegWithProfile(Filled(p3Red), p3, 100), p3Expected, 2},
        {"Adobe RGB PNG", Encoded(adobePng, "PNG"), adobeExpected, 2},
        {"Display P3 HEIC (nclx)", EncodedHeif(Filled(p3Red), p3Heic), p3Expected, 3},
        {"Display P3 AVIF (nclx)", EncodedHeif(Filled(p3Red), p3Avif), p3Expected, 3},
        {"Adobe RGB HEIC (ICC)", EncodedHeif(Filled(adobeGreen), adobeHeic), adobeExpected, 3},
    };
    ASSERT_GT(p3Expected[0] - p3Red[0], 10); // the conversion is visible at all
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bitmap bitmap = Read(c.file).bitmap;
        ASSERT_EQ(bitmap.Width(), 64);
        ExpectNear(PixelOf(bitmap, 30, 20), c.expected, c.tolerance);
    }
}

TEST_F(PhotographFileTest, SixteenBitSamplesAreRounded)
{
    // 25900 / 257 = 100.78 (rounds up), 32767 / 257 = 127.498 (rounds down); with half transparency on white,
    // 0 becomes 32767.5 / 257 = 127.5 (rounds up).
    QImage opaque(4, 2, QImage::Format_RGBX64);
    opaque.fill(QColor::fromRgba64(25900, 32767, 65535));
    QImage halfClear(4, 2, QImage::Format_RGBA64);
    halfClear.fill(QColor::fromRgba64(0, 65535, 0, 32768));
    const Bitmap a = Read(Encoded(opaque, "PNG")).bitmap;
    EXPECT_EQ(PixelOf(a, 1, 1), (Rgb{101, 127, 255}));
    const Bitmap b = ReadPhotograph(Write(Encoded(halfClear, "PNG"), "b.png")).bitmap;
    EXPECT_EQ(PixelOf(b, 1, 1), (Rgb{127, 255, 127}));
}

TEST_F(PhotographFileTest, CaptureDateComesFromExif)
{
    EXPECT_EQ(Read(JpegWithDate("2024:06:15 14:03:59")).captureDate, "2024-06-15 14:03:59");
    EXPECT_EQ(Read(JpegWithDate("0000:00:00 00:00:00")).captureDate, "");
    EXPECT_EQ(Read(JpegWithDate("2024:13:15 14:03:59")).captureDate, "");
    EXPECT_EQ(Read(Encoded(Filled({1, 2, 3}), "JPEG")).captureDate, "");
    // The date's offset points beyond the block.
    QByteArray broken = JpegWithDate("2024:06:15 14:03:59");
    broken[broken.indexOf("\x03\x90") + 8] = char(0x7F);
    EXPECT_EQ(Read(broken).captureDate, "");
}

TEST_F(PhotographFileTest, BadFilesAreRefusedWithAMessage)
{
    const QByteArray heic = EncodedHeif(Filled({100, 150, 200}), {});
    const QByteArray p3 = QColorSpace(QColorSpace::DisplayP3).iccProfile();
    HeifOptions badProfile;
    badProfile.icc = QByteArray(300, 'x');
    struct Case {
        const char* name;
        QByteArray file;
        const char* message;
    };
    const QByteArray jpeg = Encoded(Noisy(), "JPEG");
    const QByteArray progressive = Encoded(Noisy(), "jpeg", true);
    const QByteArray png = Encoded(Noisy(), "PNG");
    const Case cases[] = {
        {"HEIF without its primary image", Patched(heic, "pitm", 0, "free"), "no main image"},
        {"HEIF with an unknown codec", Patched(heic, "hvc1", 0, "zzz1"), "cannot be read here"},
        {"HEIF cut short", heic.left(heic.size() / 2), "cannot be read"},
        {"HEIF of absurd size", Patched(heic, "ispe", 8, QByteArray("\0\1\xD4\xC0\0\1\xD4\xC0", 8)), "too large"},
        {"HEIF with a damaged profile", EncodedHeif(Filled({1, 2, 3}), badProfile), "colour profile is damaged"},
        {"JPEG with a profile cut short", JpegWithProfile(Filled({9, 9, 9}), p3.left(200)), "colour profile"},
        {"JPEG with a part of its profile missing", JpegWithProfile(Filled({9, 9, 9}), p3, 60000, 2), "colour profile"},
        {"no picture at all", QByteArray("just some text"), "cannot be read as a picture"},
        {"JPEG cut in the middle", jpeg.left(jpeg.size() / 2), "ends before"},
        {"progressive JPEG cut in a later scan", progressive.left(progressive.size() * 3 / 4), "ends before"},
        {"PNG cut in the middle", png.left(png.size() / 2), "cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Read(c.file);
            ADD_FAILURE() << "read without complaint";
        } catch (const EImageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

// Four quadrants of different colours, so that a reduced or turned picture shows whether it kept its layout.
Bitmap Quadrants(int width, int height)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(
                x, y, y < height / 2 ? (x < width / 2 ? 0x2020D0 : 0x20D020) : (x < width / 2 ? 0xD02020 : 0xD0D0D0));
    return bitmap;
}

// A JPEG is decoded reduced by the largest of 2, 4 and 8 that still holds the size asked for, upright; other
// formats and no size asked give the whole picture.
TEST_F(PhotographFileTest, AReducedReadIsAsLargeAsAskedAndNoLarger)
{
    const std::vector<uint8_t> jpeg = EncodeJpeg(Quadrants(800, 600), 92);
    const std::string straight = Write(QByteArray(reinterpret_cast<const char*>(jpeg.data()), qsizetype(jpeg.size())));
    const std::vector<uint8_t> turnedBytes = WithExifOrientation(jpeg, 6);
    const std::string turned =
        Write(QByteArray(reinterpret_cast<const char*>(turnedBytes.data()), qsizetype(turnedBytes.size())),
              QStringLiteral("turned"));
    const std::string png = Write(Encoded(QImage(Quadrants(800, 600).ToQImage()), "PNG"), QStringLiteral("png"));
    const struct {
        std::string path;
        int width, height;
        int factor, shownWidth, shownHeight, fullWidth, fullHeight;
    } cases[] = {
        {straight, 100, 75, 8, 100, 75, 800, 600},   {straight, 200, 150, 4, 200, 150, 800, 600},
        {straight, 201, 150, 2, 400, 300, 800, 600}, {straight, 800, 601, 1, 800, 600, 800, 600},
        {straight, 0, 0, 1, 800, 600, 800, 600},     {turned, 150, 200, 4, 150, 200, 600, 800},
        {turned, 200, 150, 2, 300, 400, 600, 800},   {png, 100, 75, 1, 800, 600, 800, 600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " " + std::to_string(c.width) + " x " + std::to_string(c.height));
        const ReducedPhotograph read = ReadPhotographReduced(c.path, c.width, c.height);
        EXPECT_EQ(read.factor, c.factor);
        EXPECT_EQ(read.photograph.bitmap.Width(), c.shownWidth);
        EXPECT_EQ(read.photograph.bitmap.Height(), c.shownHeight);
        EXPECT_EQ(read.fullWidth, c.fullWidth);
        EXPECT_EQ(read.fullHeight, c.fullHeight);
        const Bitmap& b = read.photograph.bitmap;
        const bool isTurned = c.path == turned;
        // Orientation 6 turns the picture clockwise: the bottom-left quadrant comes to the top left.
        ExpectNear(PixelOf(b, b.Width() / 4, b.Height() / 4), isTurned ? Rgb{0x20, 0x20, 0xD0} : Rgb{0xD0, 0x20, 0x20},
                   6);
        ExpectNear(PixelOf(b, 3 * b.Width() / 4, 3 * b.Height() / 4),
                   isTurned ? Rgb{0x20, 0xD0, 0x20} : Rgb{0xD0, 0xD0, 0xD0}, 6);
    }
}

TEST_F(PhotographFileTest, WholeJpegsAreReadWithWhateverFollowsTheirEnd)
{
    const QByteArray baseline = Encoded(Noisy(), "JPEG");
    const QByteArray progressive = Encoded(Noisy(), "jpeg", true);
    for (const QByteArray& file : {baseline, progressive, baseline + QByteArray("trailing bytes of a camera", 26)}) {
        EXPECT_TRUE(JpegReachesItsEnd(reinterpret_cast<const uint8_t*>(file.constData()), size_t(file.size())));
        EXPECT_EQ(Read(file).bitmap.Width(), 96);
    }
    // Every cut inside the file is noticed, wherever it falls: in a segment, its length, or the pixel data.
    for (const QByteArray& file : {baseline, progressive}) {
        for (qsizetype cut = 3; cut < file.size(); cut += 7)
            EXPECT_FALSE(JpegReachesItsEnd(reinterpret_cast<const uint8_t*>(file.constData()), size_t(cut))) << cut;
    }
}

TEST(PictureMetadataTest, ProfileStructureIsChecked)
{
    const QByteArray p3 = QColorSpace(QColorSpace::DisplayP3).iccProfile();
    EXPECT_TRUE(IsWholeIccProfile(p3));
    EXPECT_TRUE(IsWholeIccProfile(p3 + QByteArray(3, '\0'))); // padding after the declared size
    EXPECT_FALSE(IsWholeIccProfile(p3.left(p3.size() - 1)));
    EXPECT_FALSE(IsWholeIccProfile(QByteArray(200, '\0')));
    QByteArray noSignature = p3;
    noSignature[36] = 'x';
    EXPECT_FALSE(IsWholeIccProfile(noSignature));
}

} // namespace

// Found by the picture fuzz target: a grid picture whose small stated size hides a grid of 32524 pixels across, for
// which the decoder would set aside gigabytes. It is refused before anything that large is made.
TEST(HeifGridTest, AGridLargerThanItsStatedSizeIsRefused)
{
    static const char kFile[] =
        "\x04\x00\x00\x00\x1c\x66\x74\x79\x70\x68\x65\x69\x63\x00\x00\x00\x00\x6d\x69\x66\x31\x68\x65\x69"
        "\x63\x6d\x69\x61\x66\x00\x00\x01\xac\x6d\x65\x74\x61\x00\x00\x00\x00\x00\x00\x00\x21\x68\x64\x6c"
        "\x72\x00\x00\x00\x00\x00\x00\x00\x00\x70\x69\x63\x74\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
        "\x00\x00\x00\x00\x00\x0e\x70\x69\x74\x6d\x00\x00\x00\x00\x00\x02\x00\x00\x00\x10\x69\x64\x61\x74"
        "\x00\x00\x00\x00\x2a\x10\x7f\x0c\x00\x00\x00\x38\x69\x6c\x6f\x63\x01\x00\x00\x00\x44\x40\x00\x02"
        "\x00\x01\x00\x00\x00\x00\x00\x00\x01\xd0\x00\x01\x00\x00\x00\x00\x00\x00\x00\x60\x00\x02\x00\x01"
        "\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x08\x00\x00\x00\x38\x69\x69\x6e\x66"
        "\x00\x00\x00\x00\x00\x02\x00\x00\x00\x15\x69\x6e\x66\x65\x02\x00\x00\x01\x00\x01\x00\x00\x68\x76"
        "\x63\x31\x00\x00\x00\x00\x15\x69\x6e\x66\x65\x02\x00\x00\x00\x00\x02\x00\x00\x67\x72\x69\x64\x00"
        "\x00\x00\x00\xd7\x69\x70\x72\x70\x00\x00\x00\xb5\x69\x70\x63\x6f\x00\x00\x00\x75\x68\x76\x63\x43"
        "\x01\x04\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00\x1e\xf0\x00\xfc\xfd\xfa\xfa\x00\x00\x0f\x03\x20"
        "\x00\x01\x00\x17\x40\x01\x0c\x01\xff\xff\x04\x08\x00\x00\x03\x00\x9d\xb8\x00\x00\x03\x00\x00\x1e"
        "\xba\x02\x40\x21\x00\x01\x00\x2a\x42\x01\x01\x04\x08\x00\x00\x03\x00\x9d\xb8\x00\x00\x03\x00\x00"
        "\x1e\xa0\x20\x81\x04\xd9\x6e\xaa\xe9\xae\x6e\x04\x04\x0c\x08\x00\x00\x03\x00\x08\x00\x00\x03\x00"
        "\x08\x40\x22\x00\x01\x00\x06\x44\x01\xc1\x73\xc1\x89\x00\x00\x00\x14\x69\x73\x70\x65\x00\x00\x00"
        "\x00\x00\x00\x00\x40\x00\x00\x00\x40\x00\x00\x00\x14\x69\x73\x70\x65\x00\x00\x00\x00\x00\x00\x00"
        "\x10\x00\x00\x00\x0c\x00\x00\x00\x10\x70\x69\x78\x69\x00\x00\x00\x00\x03\x0a\x0a\x0a\x00\x00\x00"
        "\x1a\x69\x70\x6d\x61\x00\x00\x00\x00\x00\x00\x00\x02\x00\x01\x02\x81\x02\x00\x02\x02\x03\x84\x00"
        "\x00\x00\x1a\x69\x72\x65\x66\x00\x00\x00\x00\x00\x00\x00\x0e\x64\x69\x6d\x67\x00\x02\x00\x01\x00"
        "\x01\x00\x00\x00\x68\x6d\x64\x61\x74\x00\x00\x00\x5c\x28\x01\xaf\x13\x21\xb8\x3c\x58\xe5\x30\xfb"
        "\xfe\x06\x4f\x54\xcf\x8f\xc1\x75\xff\xf7\x46\x74\x4f\x56\x76\x21\xea\xe1\xf5\x40\xfc\x3c\x8f\xd3"
        "\xa7\x8d\x80\x07\x61\xfb\xe9\xda\xd8\xf2\x13\x02\x40\x21\x00\x01\x00\x2a\x42\x01\x01\x04\x4f\xe9"
        "\x74\x86\xf6\xcd\xfa\x0b\x5b\x3a\xf3\x8e\x49\x8c\x41\x27\x29\x73\x42\xa5\x5f\x0c\x6c\x6e\x96\x80"
        "\xe5\x75\x29\x3c\xa4\x28\xa6\x94\xb4\x06\x4f";
    const QByteArray bytes(kFile, sizeof kFile - 1);
    EXPECT_THROW(DecodeHeif(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()),
                            int64_t{150} * 1000 * 1000),
                 EImageError);
}
