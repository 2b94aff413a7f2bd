#include "imaging/BoxShrink.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Adds one source row to the sums of the target row: whole blocks first, then the narrower block at the edge.
void AddRow(const uint8_t* in, int width, int factor, std::vector<uint32_t>& sums)
{
    const int whole = width / factor;
    uint32_t* sum = sums.data();
    for (int block = 0; block < whole; ++block, sum += 3)
        for (int i = 0; i < factor; ++i, in += 3) {
            sum[0] += in[0];
            sum[1] += in[1];
            sum[2] += in[2];
        }
    for (int i = whole * factor; i < width; ++i, in += 3) {
        sum[0] += in[0];
        sum[1] += in[1];
        sum[2] += in[2];
    }
}

} // namespace

Bitmap BoxShrink(const Bitmap& source, int factor)
{
    if (source.Format() != PixelFormat::pf24bit)
        throw EImageError("BoxShrink: the bitmap must be 24-bit");
    factor = std::max(factor, 1);
    const int width = source.Width();
    const int height = source.Height();
    const int targetWidth = (width + factor - 1) / factor;
    const int targetHeight = (height + factor - 1) / factor;
    Bitmap target(targetWidth, targetHeight, PixelFormat::pf24bit);
    std::vector<uint32_t> sums(static_cast<size_t>(targetWidth) * 3);
    for (int ty = 0; ty < targetHeight; ++ty) {
        std::fill(sums.begin(), sums.end(), 0u);
        const int rows = std::min(factor, height - ty * factor);
        for (int r = 0; r < rows; ++r)
            AddRow(source.ScanLine(ty * factor + r), width, factor, sums);
        uint8_t* out = target.ScanLine(ty);
        for (int tx = 0; tx < targetWidth; ++tx) {
            const auto count = static_cast<uint32_t>(rows * std::min(factor, width - tx * factor));
            for (int c = 0; c < 3; ++c)
                out[3 * tx + c] = static_cast<uint8_t>((sums[3 * tx + c] + count / 2) / count);
        }
    }
    return target;
}
