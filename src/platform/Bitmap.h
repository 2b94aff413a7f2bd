#pragma once
// Off-screen bitmaps with the pixel formats of the original platform, over QImage. Scan lines are laid out as a
// Windows device-independent bitmap's rows (top row first here):
//   pf8bit   one palette index per pixel (grey palette 0..255 unless set otherwise)
//   pf15bit  16-bit little-endian 0RRRRRGGGGGBBBBB
//   pf16bit  16-bit little-endian RRRRRGGGGGGBBBBB
//   pf24bit  bytes B, G, R
//   pf32bit  bytes B, G, R, X
// Every bitmap has one canvas of its own that keeps its brush, pen and font between calls.

#include "platform/Geometry.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

class Canvas;

enum class PixelFormat { pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// The largest bitmap the program makes or reads (width x height); anything larger is refused with EImageError.
constexpr int64_t kMaxBitmapPixels = 150'000'000;

class Bitmap {
public:
    Bitmap();
    Bitmap(int width, int height, PixelFormat format = PixelFormat::pf24bit);
    explicit Bitmap(const QImage& image); // keeps the image's format when it is one of ours, else pf32bit
    ~Bitmap();
    Bitmap(const Bitmap& other);
    Bitmap& operator=(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;

    int Width() const;
    int Height() const;
    bool IsEmpty() const { return Width() == 0 || Height() == 0; }
    PixelFormat Format() const { return m_format; }

    // Resizing keeps the top-left content that still fits; new pixels are white.
    void SetSize(int width, int height);
    // Converts the pixels to another format (palette 8-bit uses grey levels).
    void SetPixelFormat(PixelFormat format);

    uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;
    int BytesPerLine() const;
    int BytesPerPixel() const;

    Canvas& GetCanvas();

    // Bitmap files (BMP). Loading raises EFOpenError or EImageError; saving EFCreateError or EWriteError.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    // Pixel access for tests and small tools, in 0x00BBGGRR.
    int32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, int32_t color);

    // The platform image behind the bitmap (only src/platform and the screens use it).
    QImage& Image() { return m_image; }
    const QImage& Image() const { return m_image; }
    // The image as 32-bit RGB for drawing with QPainter.
    QImage ToQImage() const;

private:
    QImage m_image;
    PixelFormat m_format = PixelFormat::pf24bit;
    std::unique_ptr<Canvas> m_canvas;
};

QImage::Format QtFormatOf(PixelFormat format);

// A new, uninitialised image; null when the memory is not there. Large images get their pixel memory from the
// system directly (see Bitmap.cpp).
QImage AllocateQImage(int width, int height, QImage::Format format);
// The grey ramp 0..255 of new 8-bit bitmaps.
const QList<QRgb>& GreyPalette();
// The grey level of a colour (Rec. 601 weights, rounded).
int GreyLevel(QRgb rgb);
// The image in one of our formats. 8-bit output uses the given palette (nearest entry; grey levels for the grey
// ramp); null when the input is null.
QImage ConvertImage(const QImage& image, PixelFormat format, const QList<QRgb>& palette = GreyPalette());
