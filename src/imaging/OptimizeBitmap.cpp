#include "imaging/OptimizeBitmap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {

constexpr const char* kNot24Bit = "GetHistogram:  Bitmap must be 24-bit.";

// Neighbouring pixels of a photograph often fall into the same bin; spreading the counts over four tables keeps
// consecutive increments from waiting on each other.
class SplitCounter {
public:
    void Count(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
    {
        ++m_bins[0][a];
        ++m_bins[1][b];
        ++m_bins[2][c];
        ++m_bins[3][d];
    }
    void Count(uint8_t a) { ++m_bins[0][a]; }
    void AddTo(THistogram& histogram) const
    {
        for (int value = 0; value < 256; ++value) {
            const uint32_t n = m_bins[0][value] + m_bins[1][value] + m_bins[2][value] + m_bins[3][value];
            histogram.Add(static_cast<uint8_t>(value), n);
        }
    }

private:
    std::array<std::array<uint32_t, 256>, 4> m_bins{};
};

// One byte of each pixel (offset 0 blue, 1 green, 2 red).
void CountByte(const Bitmap& bitmap, int offset, SplitCounter& counter)
{
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* p = bitmap.ScanLine(y) + offset;
        int x = 0;
        for (; x + 4 <= width; x += 4, p += 12)
            counter.Count(p[0], p[3], p[6], p[9]);
        for (; x < width; ++x, p += 3)
            counter.Count(p[0]);
    }
}

template <class Value>
void CountDerived(const Bitmap& bitmap, SplitCounter& counter, Value value)
{
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 3)
            counter.Count(static_cast<uint8_t>(value(p[2], p[1], p[0])));
    }
}

// round((c - low) * scale), halves to the even neighbour, limited to 0..255.
std::array<uint8_t, 256> StretchTable(int low, double scale)
{
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const double v = std::nearbyint(static_cast<double>(c - low) * scale);
        table[c] = static_cast<uint8_t>(std::clamp(v, 0.0, 255.0));
    }
    return table;
}

void ApplyTable(Bitmap& bitmap, const std::array<uint8_t, 256>& table)
{
    const int bytes = bitmap.Width() * 3;
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int i = 0; i < bytes; ++i)
            p[i] = table[p[i]];
    }
}

} // namespace

void GetHistogram(int channel, const Bitmap& bitmap, THistogram& histogram)
{
    if (bitmap.Format() != PixelFormat::pf24bit)
        throw EHistogramError(kNot24Bit);
    histogram.Clear();
    SplitCounter counter;
    switch (channel) {
    case hcRed: CountByte(bitmap, 2, counter); break;
    case hcGreen: CountByte(bitmap, 1, counter); break;
    case hcBlue: CountByte(bitmap, 0, counter); break;
    case hcMaximum: CountDerived(bitmap, counter, [](int r, int g, int b) { return std::max({r, g, b}); }); break;
    case hcAverage: CountDerived(bitmap, counter, [](int r, int g, int b) { return (r + g + b) / 3; }); break;
    default: CountDerived(bitmap, counter, [](int, int, int) { return 0; }); break;
    }
    counter.AddTo(histogram);
}

void OptimizeBitmap(Bitmap& bitmap)
{
    THistogram red, green, blue;
    GetHistogram(hcRed, bitmap, red);
    GetHistogram(hcGreen, bitmap, green);
    GetHistogram(hcBlue, bitmap, blue);
    const int low = std::min({red.Percentile(1.0), green.Percentile(1.0), blue.Percentile(1.0)});
    const int high = std::max({red.Percentile(99.0), green.Percentile(99.0), blue.Percentile(99.0)});
    const int range = high - low;
    const double scale = range == 0 ? 1.0 : 255.0 / static_cast<double>(range);
    ApplyTable(bitmap, StretchTable(low, scale));
}
