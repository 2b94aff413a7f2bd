#pragma once
// Bitmap files (BMP) in and out. Reading accepts the uncompressed forms with 1, 4, 8, 16, 24 and 32 bits per
// pixel (bit fields included) and maps them onto our pixel formats; anything damaged, truncated, compressed or
// larger than kMaxBitmapPixels raises EImageError before pixel memory is allocated.

#include "platform/Bitmap.h"

#include <string>

class Stream;

namespace BmpFile {
// Reads a bitmap file from the stream's current position; format receives the pixel format of the result.
QImage Read(Stream& stream, PixelFormat& format);
// As above from a file; EFOpenError when it cannot be opened.
QImage Read(const std::string& path, PixelFormat& format);
// Writes the bitmap in its own pixel format, bottom-up rows; EImageError for an empty bitmap.
void Write(Stream& stream, const Bitmap& bitmap);
// As above into a new file; EFCreateError when it cannot be created, EWriteError when writing fails.
void Write(const std::string& path, const Bitmap& bitmap);
} // namespace BmpFile
