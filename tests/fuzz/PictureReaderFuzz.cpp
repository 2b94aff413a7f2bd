// Feeds arbitrary bytes to the picture readers (JPEG header and decoder at full and scaled size, bitmap files,
// HEIF and AVIF through libheif, embedded colour profiles and EXIF blocks). Reading must end in an orderly error:
// no crash, no leak, no allocation beyond the size limits.

#include "imaging/HeifFile.h"
#include "imaging/PictureMetadata.h"
#include "platform/Bitmap.h"
#include "platform/BmpFile.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"

#include <QByteArray>
#include <QColorSpace>
#include <QGuiApplication>
#include <QImage>

#include <cstdint>
#include <cstdlib>

// The AV1 decoder behind libheif keeps a small block when a damaged AVIF stops it halfway; that is the system
// library's, not a leak of the readers here.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdav1d.so\n"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

namespace {

// Pictures that decode slowly only because they are big say nothing about robustness.
constexpr int64_t kFuzzPixels = 4'000'000;

// The file's own metadata, and the whole input taken as a profile: each profile that passes the structure check
// is handed to the toolkit and used to convert a few pixels.
void ReadProfiles(const uint8_t* file, size_t length)
{
    const PictureMetadata meta = ScanPictureMetadata(file, length);
    (void)ExifCaptureDate(meta.exif, meta.exifSize);
    (void)ExifCaptureDate(file, length);
    for (const QByteArray& icc : {meta.icc, QByteArray(reinterpret_cast<const char*>(file), qsizetype(length))}) {
        if (!IsWholeIccProfile(icc))
            continue;
        const QColorSpace space = QColorSpace::fromIccProfile(icc);
        if (!space.isValid())
            continue;
        QImage pixels(4, 4, QImage::Format_RGB32);
        pixels.fill(qRgb(200, 40, 30));
        pixels.setColorSpace(space);
        pixels.convertToColorSpace(QColorSpace::SRgb);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the reader (bit 0: bitmap file; else bit 2: HEIF, or profiles and EXIF with bit 1;
    // else JPEG, decoded to 32 bits with bit 1), the rest is the file.
    const uint8_t* file = data + 1;
    const size_t length = size - 1;
    try {
        if (data[0] & 1) {
            MemoryStream stream(file, static_cast<int64_t>(length));
            PixelFormat format = PixelFormat::pf24bit;
            Bitmap bitmap(BmpFile::Read(stream, format));
            MemoryStream out;
            BmpFile::Write(out, bitmap);
        } else if (data[0] & 4) {
            if (data[0] & 2)
                ReadProfiles(file, length);
            else
                (void)DecodeHeif(file, length, kFuzzPixels);
        } else {
            const JpegInfo info = ReadJpegInfo(file, length);
            // Pictures that decode slowly only because they are big say nothing about robustness.
            if (static_cast<int64_t>(info.width) * info.height <= kFuzzPixels) {
                const PixelFormat format = (data[0] & 2) ? PixelFormat::pf32bit : PixelFormat::pf24bit;
                // Bits 3 to 5 choose the DCT scale: 0 decodes at full size, 1..7 at n/8 through the scaled path
                // that drawing into a slot takes.
                const int scale = (data[0] >> 3) & 7;
                const Bitmap bitmap = scale == 0 ? DecodeJpeg(file, length, format)
                                                 : DecodeJpegAtLeast(file, length, (info.width * scale + 7) / 8,
                                                                     (info.height * scale + 7) / 8, format);
                (void)EncodeJpeg(bitmap, 50);
            }
        }
    } catch (const EVelloraError&) {}
    return 0;
}
