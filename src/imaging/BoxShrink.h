#pragma once
// Shrinking by a whole factor with box averaging: each target pixel is the mean of a factor x factor block of
// the source, so a photograph shown small keeps its tones instead of the noise of skipped pixels.

#include "platform/Bitmap.h"

// A new 24-bit bitmap of ceil(width / factor) x ceil(height / factor) pixels; the blocks at the right and bottom
// edges average the pixels they have. The source must be 24-bit (EImageError otherwise); a factor below 1 counts
// as 1.
Bitmap BoxShrink(const Bitmap& source, int factor);
