#include "imaging/PhotographFile.h"

#include "imaging/HeifFile.h"
#include "imaging/PictureMetadata.h"
#include "platform/Errors.h"

#include <QByteArray>
#include <QColorSpace>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr std::array<const char*, 6> kFormats = {"jpeg", "png", "bmp", "tiff", "webp", "gif"};

// Room for the largest picture we hold in the reader's widest format (4 bytes a pixel), in megabytes.
constexpr int kAllocationLimitMB = static_cast<int>(kMaxBitmapPixels * 4 / (1024 * 1024) + 1);

using namespace PhotographMessage;

bool IsKnownFormat(const QByteArray& format)
{
    for (const char* known : kFormats)
        if (format == known)
            return true;
    return false;
}

bool IsTooLarge(const QSize& size) { return static_cast<int64_t>(size.width()) * size.height() > kMaxBitmapPixels; }

bool IsDeep(const QImage& image) { return image.depth() >= 64 || image.format() == QImage::Format_Grayscale16; }

// A picture of 16 bits a sample in 32 bits (bytes B, G, R, X): transparent parts laid on white and each sample
// rounded to the nearest of 8 bits, all in one step so that nothing is cut off twice.
QImage Reduce64(const QImage& image)
{
    const bool alpha = image.hasAlphaChannel();
    const QImage::Format wide = alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64;
    const QImage source = image.format() == wide ? image : image.convertToFormat(wide);
    QImage flat = AllocateQImage(image.width(), image.height(), QImage::Format_RGB32);
    if (source.isNull() || flat.isNull())
        throw EImageError(kNoMemory);
    constexpr uint64_t kFull = 65535;
    constexpr uint64_t kScale = kFull * kFull; // a sample times its opacity
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const uint16_t*>(source.constScanLine(y));
        auto* out = reinterpret_cast<uint32_t*>(flat.scanLine(y));
        for (int x = 0; x < source.width(); ++x, in += 4) {
            const uint64_t a = alpha ? in[3] : kFull;
            uint32_t pixel = 0xFF000000u;
            for (int c = 0; c < 3; ++c) {
                const uint64_t onWhite = uint64_t(in[c]) * a + kFull * (kFull - a);
                pixel |= uint32_t((onWhite * 255 + kScale / 2) / kScale) << (16 - 8 * c);
            }
            out[x] = pixel;
        }
    }
    return flat;
}

// The pixels in 32 bits (bytes B, G, R, X); transparent parts laid on white.
QImage Opaque32(const QImage& image)
{
    if (IsDeep(image))
        return Reduce64(image);
    if (image.format() == QImage::Format_RGB32)
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage flat = AllocateQImage(image.width(), image.height(), QImage::Format_RGB32);
    if (flat.isNull())
        throw EImageError(kNoMemory);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

void CopyRow(const uint8_t* in, uint8_t* out, int width, bool mirror)
{
    if (!mirror) {
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
        return;
    }
    in += 4 * (width - 1);
    for (int x = 0; x < width; ++x, in -= 4, out += 3) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    }
}

// A turned picture: row y of the result is column y of the (mirrored) source, read from the bottom up (from the
// top down when flipped). Rows are made in bands of 16, so that what a band takes from one source row is one run.
void CopyTurned(const QImage& source, QImage& out, bool mirror, bool flip)
{
    constexpr int kBand = 16;
    const int sw = source.width();
    const int sh = source.height();
    uint8_t* lines[kBand];
    for (int y0 = 0; y0 < out.height(); y0 += kBand) {
        const int rows = std::min(kBand, out.height() - y0);
        for (int i = 0; i < rows; ++i)
            lines[i] = out.scanLine(y0 + i);
        for (int x = 0; x < out.width(); ++x) {
            const uint8_t* row = source.constScanLine(flip ? x : sh - 1 - x);
            for (int i = 0; i < rows; ++i) {
                const int column = mirror ? sw - 1 - (y0 + i) : y0 + i;
                const uint8_t* p = row + 4 * column;
                uint8_t* q = lines[i] + 3 * x;
                q[0] = p[0];
                q[1] = p[1];
                q[2] = p[2];
            }
        }
    }
}

// The 24-bit picture, upright: the recorded orientation is applied as the toolkit defines it (mirror left-right,
// flip top-bottom, then turn 90 degrees clockwise) while the pixels are copied, which costs far less than
// letting the toolkit turn a photograph of many megapixels first.
Bitmap Upright24(const QImage& image, QImageIOHandler::Transformations orientation)
{
    const QImage source = Opaque32(image);
    const bool mirror = orientation.testFlag(QImageIOHandler::TransformationMirror);
    const bool flip = orientation.testFlag(QImageIOHandler::TransformationFlip);
    const bool turn = orientation.testFlag(QImageIOHandler::TransformationRotate90);
    const int width = turn ? source.height() : source.width();
    const int height = turn ? source.width() : source.height();
    QImage out = AllocateQImage(width, height, QImage::Format_BGR888);
    if (source.isNull() || out.isNull())
        throw EImageError(kNoMemory);
    if (turn) {
        CopyTurned(source, out, mirror, flip);
    } else {
        for (int y = 0; y < height; ++y)
            CopyRow(source.constScanLine(flip ? height - 1 - y : y), out.scanLine(y), width, mirror);
    }
    return Bitmap(out);
}

// The picture's colours in sRGB. The conversion works in 16 bits for pictures that have them, so the rounding
// to 8 bits comes last.
QImage ToSrgb(QImage image, const QColorSpace& profile)
{
    if (!profile.isValid() || profile == QColorSpace(QColorSpace::SRgb))
        return image;
    const bool alpha = image.hasAlphaChannel();
    const QImage::Format format = IsDeep(image) ? (alpha ? QImage::Format_RGBA64 : QImage::Format_RGBX64)
                                                : (alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.format() != format)
        image = image.convertToFormat(format);
    if (image.isNull())
        throw EImageError(kNoMemory);
    image.setColorSpace(profile);
    image.convertToColorSpace(QColorSpace::SRgb);
    return image;
}

// The profile the file carries, checked before the pixels are decoded; invalid when there is none (sRGB).
QColorSpace EmbeddedProfile(const PictureMetadata& meta)
{
    if (!meta.hasIcc)
        return {};
    if (!IsWholeIccProfile(meta.icc))
        throw EImageError(kDamagedProfile);
    return QColorSpace::fromIccProfile(meta.icc);
}

// The largest reduction of a JPEG decoder (1/2, 1/4, 1/8) whose picture, turned upright, still holds
// atLeast; 1 when none does or nothing is asked.
int ReductionFor(const QSize& stored, bool turned, const QSize& atLeast)
{
    if (atLeast.isEmpty() || stored.isEmpty())
        return 1;
    const QSize needed = turned ? atLeast.transposed() : atLeast;
    for (int factor : {8, 4, 2}) {
        if (stored.width() / factor >= needed.width() && stored.height() / factor >= needed.height())
            return factor;
    }
    return 1;
}

struct ToolkitPicture {
    Bitmap bitmap;
    int factor = 1;
    QSize fullUpright;
};

// atLeast: read a JPEG only as large as needed (see ReductionFor); empty for the whole picture.
ToolkitPicture ReadWithToolkit(const std::string& path, const PictureMetadata& meta, const QSize& atLeast)
{
    const QColorSpace profile = EmbeddedProfile(meta);
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false); // applied below, while the pixels are copied
    reader.setAllocationLimit(kAllocationLimitMB);
    reader.setQuality(100);
    if (!reader.canRead() || !IsKnownFormat(reader.format()))
        throw EImageError(kNoPicture);
    const QSize size = reader.size();
    if (size.isValid() && IsTooLarge(size))
        throw EImageError(kTooLarge);
    const QImageIOHandler::Transformations orientation = reader.transformation();
    const bool turned = orientation.testFlag(QImageIOHandler::TransformationRotate90);
    ToolkitPicture picture;
    // The JPEG decoder reduces in the frequency domain, which costs a fraction of decoding the whole.
    if (reader.format() == "jpeg")
        picture.factor = ReductionFor(size, turned, atLeast);
    QImage image;
    if (picture.factor > 1) {
        reader.setScaledSize(QSize(size.width() / picture.factor, size.height() / picture.factor));
    } else if (size.isValid()) {
        // Decoding into memory taken from the system in large pages spares the faults of thousands of small
        // ones, which cost more than the decoding itself; the reader fills an image of the right size and format
        // in place.
        image = AllocateQImage(size.width(), size.height(), reader.imageFormat());
    }
    if (!reader.read(&image) || image.isNull())
        throw EImageError(kDamaged);
    if (IsTooLarge(image.size())) // whatever the header said
        throw EImageError(kTooLarge);
    const QSize full = picture.factor > 1 ? size : image.size();
    picture.fullUpright = turned ? full.transposed() : full;
    // Formats whose profile is not looked for above (TIFF) come with the one the toolkit's reader found.
    const QColorSpace declared = meta.hasIcc ? profile : image.colorSpace();
    picture.bitmap = Upright24(ToSrgb(std::move(image), declared), orientation);
    return picture;
}

} // namespace

Photograph ReadPhotograph(const std::string& path) { return ReadPhotographReduced(path, 0, 0).photograph; }

ReducedPhotograph ReadPhotographReduced(const std::string& path, int width, int height)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw EImageError(kNoPicture);
    const qint64 size = file.size();
    // The file is mapped, not read: metadata and HEIF decoding take only the pages they touch.
    const uint8_t* bytes = size > 0 ? file.map(0, size) : nullptr;
    if (bytes == nullptr)
        throw EImageError(kNoPicture);
    ReducedPhotograph reduced;
    Photograph& photograph = reduced.photograph;
    if (IsHeifFile(bytes, size_t(size))) {
        HeifPicture heif = DecodeHeif(bytes, size_t(size));
        photograph.captureDate = std::move(heif.captureDate);
        const QColorSpace profile = heif.image.colorSpace();
        photograph.bitmap = Upright24(ToSrgb(std::move(heif.image), profile), {}); // turned by the decoder
    } else {
        // The toolkit's JPEG reader fills what is missing of a short file with grey and calls it a success.
        if (!JpegReachesItsEnd(bytes, size_t(size)))
            throw EImageError(kCutShort);
        const PictureMetadata meta = ScanPictureMetadata(bytes, size_t(size));
        ToolkitPicture picture = ReadWithToolkit(path, meta, QSize(std::max(width, 0), std::max(height, 0)));
        photograph.bitmap = std::move(picture.bitmap);
        reduced.factor = picture.factor;
        photograph.captureDate = ExifCaptureDate(meta.exif, meta.exifSize);
        if (picture.factor > 1) {
            reduced.fullWidth = picture.fullUpright.width();
            reduced.fullHeight = picture.fullUpright.height();
            return reduced;
        }
    }
    reduced.fullWidth = photograph.bitmap.Width();
    reduced.fullHeight = photograph.bitmap.Height();
    return reduced;
}

Bitmap ReadPhotographFile(const std::string& path) { return ReadPhotograph(path).bitmap; }
