#include "imaging/ResampleBilinear.h"

#include <cstdint>
#include <vector>

namespace {

// A sample position as a whole part and a fraction num / den, kept exact: in floating point a value such as
// 200 * 0.3 + 200 * 0.7 comes out a hair below 200 and the floor makes flat areas one level darker in places.
struct Sample {
    int first;    // the pixel at or left of (above) the position
    int second;   // its right (lower) neighbour, or itself at the edge
    uint32_t num; // the fraction's numerator; the denominator is the target's size in that direction
};

std::vector<Sample> Samples(int targetSize, int sourceSize, int sourceStep)
{
    std::vector<Sample> samples(static_cast<size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t) {
        const int64_t position = static_cast<int64_t>(t) * sourceSize;
        const int first = static_cast<int>(position / targetSize);
        const int second = first < sourceSize - 1 ? first + 1 : first;
        samples[t] = {first * sourceStep, second * sourceStep, static_cast<uint32_t>(position % targetSize)};
    }
    return samples;
}

void ResampleRow(const uint8_t* upper, const uint8_t* lower, uint64_t fy, uint64_t height, uint64_t area,
                 const std::vector<Sample>& columns, uint32_t width, uint8_t* out)
{
    for (const Sample& column : columns) {
        const uint32_t fx = column.num;
        const uint32_t gx = width - fx;
        for (int c = 0; c < 3; ++c) {
            const uint64_t top = uint64_t{upper[column.first + c]} * gx + uint64_t{upper[column.second + c]} * fx;
            const uint64_t bottom = uint64_t{lower[column.first + c]} * gx + uint64_t{lower[column.second + c]} * fx;
            *out++ = static_cast<uint8_t>((top * (height - fy) + bottom * fy) / area);
        }
    }
}

} // namespace

void ResampleBilinear(const Bitmap& source, Bitmap& target)
{
    target.SetPixelFormat(PixelFormat::pf24bit);
    if (source.IsEmpty() || target.IsEmpty())
        return;
    Bitmap converted;
    const Bitmap* from = &source;
    if (source.Format() != PixelFormat::pf24bit) {
        converted = source;
        converted.SetPixelFormat(PixelFormat::pf24bit);
        from = &converted;
    }
    const auto width = static_cast<uint32_t>(target.Width());
    const auto height = static_cast<uint32_t>(target.Height());
    const uint64_t area = uint64_t{width} * height;
    const std::vector<Sample> columns = Samples(target.Width(), from->Width(), 3);
    const std::vector<Sample> rows = Samples(target.Height(), from->Height(), 1);
    for (uint32_t y = 0; y < height; ++y) {
        const Sample& row = rows[y];
        ResampleRow(from->ScanLine(row.first), from->ScanLine(row.second), row.num, height, area, columns, width,
                    target.ScanLine(static_cast<int>(y)));
    }
}
