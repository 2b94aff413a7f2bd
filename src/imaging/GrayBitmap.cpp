#include "imaging/GrayBitmap.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kEntries24 = 1786; // 255 * (1 + 4 + 2) + 1
constexpr int kEntries16 = 220;  // 31 + 2 * 63 + 2 * 31 + 1
constexpr int kEntries15 = 218;  // 31 + 4 * 31 + 2 * 31 + 1

// The grey adjusted by strength, in the table's own units (8-bit or 5-bit grey).
constexpr uint32_t Adjusted(uint32_t g, int strength)
{
    if (strength == gsThreeQuarters)
        return g - g / 4;
    if (strength == gsHalf)
        return g / 2;
    return g;
}

// round(numerator / denominator) for the table indexes; none of them falls exactly halfway.
constexpr uint32_t Rounded(uint32_t numerator, uint32_t denominator)
{
    return (2 * numerator + denominator) / (2 * denominator);
}

template <int N>
using Table = std::array<uint32_t, N>;

template <int N, class Entry>
Table<N> MakeTable(Entry entry)
{
    Table<N> table{};
    for (int i = 0; i < N; ++i)
        table[i] = entry(static_cast<uint32_t>(i));
    return table;
}

// The tables are built on first use and kept for the rest of the run, one per format and strength.
template <int Strength>
const Table<kEntries24>& Table24()
{
    static const Table<kEntries24> table =
        MakeTable<kEntries24>([](uint32_t i) { return Adjusted(Rounded(i, 7), Strength) * 0x010101u; });
    return table;
}

template <int Strength>
const Table<kEntries16>& Table16()
{
    static const Table<kEntries16> table = MakeTable<kEntries16>([](uint32_t i) {
        const uint32_t v = Adjusted(Rounded(i * 31, 219), Strength);
        return v * 2112 + v; // v in red, 2v in green, v in blue
    });
    return table;
}

template <int Strength>
const Table<kEntries15>& Table15()
{
    static const Table<kEntries15> table = MakeTable<kEntries15>([](uint32_t i) {
        const uint32_t v = Adjusted(Rounded(i * 31, 217), Strength);
        return v * 1056 + v; // v in each 5-bit field
    });
    return table;
}

// 24 and 32 bits. Strength 0 replaces the pixel by the table entry; the blends keep the colour shifted right
// (each byte masked, so no bits move into the next byte) and add the entry, which never overflows a byte.
template <int Strength, int BytesPerPixel>
void Gray8BitChannels(Bitmap& bitmap)
{
    const Table<kEntries24>& table = Table24<Strength>();
    constexpr int shift = Strength == gsThreeQuarters ? 2 : 1;
    constexpr uint32_t mask = Strength == gsThreeQuarters ? 0x3F3F3Fu : 0x7F7F7Fu;
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x, p += BytesPerPixel) {
            const uint32_t pixel = p[0] | (p[1] << 8) | (p[2] << 16);
            uint32_t out = table[p[2] + 4 * p[1] + 2 * p[0]];
            if constexpr (Strength != gsFull)
                out += (pixel >> shift) & mask;
            p[0] = static_cast<uint8_t>(out);
            p[1] = static_cast<uint8_t>(out >> 8);
            p[2] = static_cast<uint8_t>(out >> 16);
            if constexpr (BytesPerPixel == 4)
                p[3] = 0;
        }
    }
}

// 15 and 16 bits. The blends use a cheaper index: blue plus the weighted green with its lowest bit cleared,
// plus the pixel shifted so that red lands at twice its value.
template <int Strength, bool Is16>
void Gray16BitPixels(Bitmap& bitmap)
{
    const uint32_t* table = Is16 ? Table16<Strength>().data() : Table15<Strength>().data();
    constexpr uint32_t mask =
        Is16 ? (Strength == gsThreeQuarters ? 0x39E7u : 0x7BEFu) : (Strength == gsThreeQuarters ? 0x1CE7u : 0x3DEFu);
    constexpr int shift = Strength == gsThreeQuarters ? 2 : 1;
    const int width = bitmap.Width();
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x, p += 2) {
            // The unused top bit of a 15-bit pixel is ignored, so no index can reach past the table.
            const uint32_t pixel = Is16 ? (p[0] | (p[1] << 8)) : ((p[0] | (p[1] << 8)) & 0x7FFF);
            const uint32_t b = pixel & 0x1F;
            const uint32_t g = Is16 ? (pixel >> 5) & 0x3F : (pixel >> 5) & 0x1F;
            const uint32_t r = pixel >> (Is16 ? 11 : 10);
            uint32_t out;
            if constexpr (Strength == gsFull) {
                out = table[Is16 ? b + 2 * g + 2 * r : b + 4 * g + 2 * r];
            } else {
                const uint32_t index = ((Is16 ? b + 2 * g : b + 4 * g) & ~1u) + (pixel >> (Is16 ? 10 : 9));
                out = table[index] + ((pixel >> shift) & mask);
            }
            p[0] = static_cast<uint8_t>(out);
            p[1] = static_cast<uint8_t>(out >> 8);
        }
    }
}

template <int Strength>
void GrayWithStrength(Bitmap& bitmap)
{
    switch (bitmap.Format()) {
    case PixelFormat::pf15bit: Gray16BitPixels<Strength, false>(bitmap); break;
    case PixelFormat::pf16bit: Gray16BitPixels<Strength, true>(bitmap); break;
    case PixelFormat::pf24bit: Gray8BitChannels<Strength, 3>(bitmap); break;
    case PixelFormat::pf32bit: Gray8BitChannels<Strength, 4>(bitmap); break;
    case PixelFormat::pf8bit: break;
    }
}

} // namespace

void GrayBitmap(Bitmap& bitmap, int strength)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return;
    if (strength < gsFull || strength > gsHalf)
        return;
    if (bitmap.Format() == PixelFormat::pf8bit)
        bitmap.SetPixelFormat(PixelFormat::pf32bit);
    switch (strength) {
    case gsFull: GrayWithStrength<gsFull>(bitmap); break;
    case gsThreeQuarters: GrayWithStrength<gsThreeQuarters>(bitmap); break;
    default: GrayWithStrength<gsHalf>(bitmap); break;
    }
}
