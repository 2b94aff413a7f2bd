#pragma once
// Colours are stored as Windows colour values, 0x00BBGGRR. This is the one place where they meet Qt's colours.

#include <QColor>

#include <cstdint>

using TColor = int32_t;

constexpr TColor kColorBlack = 0x000000;
constexpr TColor kColorWhite = 0xFFFFFF;
constexpr TColor kColorDarkRed = 0x000080; // the "empty slot" mark

inline QColor ToQColor(TColor color)
{
    const auto v = static_cast<uint32_t>(color);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

inline TColor FromQColor(const QColor& color)
{
    return static_cast<TColor>(static_cast<uint32_t>(color.red()) | (static_cast<uint32_t>(color.green()) << 8) |
                               (static_cast<uint32_t>(color.blue()) << 16));
}

inline constexpr TColor RGBColor(int r, int g, int b)
{
    return static_cast<TColor>(static_cast<uint32_t>(r & 0xFF) | (static_cast<uint32_t>(g & 0xFF) << 8) |
                               (static_cast<uint32_t>(b & 0xFF) << 16));
}
