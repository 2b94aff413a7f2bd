#pragma once
// Tiny bitmaps written and read byte by byte, for the exact expectations of the image kernels.

#include "platform/Bitmap.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace imagingtest {

// A bitmap whose scan lines hold the given bytes (each row as many bytes as width * bytes per pixel).
inline Bitmap FromRows(int width, PixelFormat format, const std::vector<std::vector<uint8_t>>& rows)
{
    Bitmap bitmap(width, static_cast<int>(rows.size()), format);
    for (size_t y = 0; y < rows.size(); ++y)
        std::memcpy(bitmap.ScanLine(static_cast<int>(y)), rows[y].data(), rows[y].size());
    return bitmap;
}

inline std::vector<uint8_t> RowBytes(const Bitmap& bitmap, int y)
{
    const uint8_t* line = bitmap.ScanLine(y);
    return std::vector<uint8_t>(line, line + bitmap.Width() * bitmap.BytesPerPixel());
}

inline std::vector<std::vector<uint8_t>> AllRows(const Bitmap& bitmap)
{
    std::vector<std::vector<uint8_t>> rows;
    for (int y = 0; y < bitmap.Height(); ++y)
        rows.push_back(RowBytes(bitmap, y));
    return rows;
}

// A grey 24-bit bitmap from one value per pixel.
inline Bitmap Grey(const std::vector<std::vector<uint8_t>>& values)
{
    std::vector<std::vector<uint8_t>> rows;
    for (const auto& line : values) {
        std::vector<uint8_t> row;
        for (uint8_t v : line)
            row.insert(row.end(), {v, v, v});
        rows.push_back(row);
    }
    return FromRows(static_cast<int>(values[0].size()), PixelFormat::pf24bit, rows);
}

// One 16-bit pixel as its two little-endian bytes.
inline std::vector<uint8_t> Pixel16(uint16_t value)
{
    return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
}

} // namespace imagingtest
