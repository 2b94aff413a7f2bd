#pragma once
// Bilinear resampling of a whole bitmap into another of any size, with sample positions at the pixels' top-left
// corners: target pixel (x, y) samples the source at (x * sw / tw, y * sh / th) and mixes the four neighbours
// by their distance; the last row and column take their own value where no right or lower neighbour exists. The
// mixed value is cut to an integer (floor).

#include "platform/Bitmap.h"

// Both bitmaps become 24-bit; the target keeps its size. An empty source leaves the target as it is.
void ResampleBilinear(const Bitmap& source, Bitmap& target);
