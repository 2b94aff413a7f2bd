// Feeds arbitrary bytes to the picture readers (JPEG header and decoder at full and scaled size, bitmap files).
// Reading must end in an orderly error: no crash, no leak, no allocation beyond the size limits.

#include "platform/Bitmap.h"
#include "platform/BmpFile.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the reader, the rest is the file.
    const uint8_t* file = data + 1;
    const size_t length = size - 1;
    try {
        if (data[0] & 1) {
            MemoryStream stream(file, static_cast<int64_t>(length));
            PixelFormat format = PixelFormat::pf24bit;
            Bitmap bitmap(BmpFile::Read(stream, format));
            MemoryStream out;
            BmpFile::Write(out, bitmap);
        } else {
            const JpegInfo info = ReadJpegInfo(file, length);
            // Pictures that decode slowly only because they are big say nothing about robustness.
            if (static_cast<int64_t>(info.width) * info.height <= 4'000'000) {
                const PixelFormat format = (data[0] & 2) ? PixelFormat::pf32bit : PixelFormat::pf24bit;
                // Bits 2 to 4 choose the DCT scale: 0 decodes at full size, 1..7 at n/8 through the scaled path
                // that drawing into a slot takes.
                const int scale = (data[0] >> 2) & 7;
                const Bitmap bitmap = scale == 0 ? DecodeJpeg(file, length, format)
                                                 : DecodeJpegAtLeast(file, length, (info.width * scale + 7) / 8,
                                                                     (info.height * scale + 7) / 8, format);
                (void)EncodeJpeg(bitmap, 50);
            }
        }
    } catch (const EVelloraError&) {
    }
    return 0;
}
