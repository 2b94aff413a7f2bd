#pragma once
// Small pictures and colour comparisons shared by the drawing tests.

#include "platform/Bitmap.h"
#include "platform/Color.h"

#include <cstdlib>

inline Bitmap Solid(int width, int height, TColor colour)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixel(x, y, colour);
    return bitmap;
}

// Each channel within the tolerance (JPEG round trips move colours a little).
inline bool Near(int32_t actual, TColor expected, int tolerance = 24)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(((actual >> shift) & 0xFF) - ((expected >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}
