#pragma once
// Automatic tonal correction: the levels between the darkest and the brightest percent of a photograph are
// stretched over the full range, with one black and one white point for all three colours, so the colour
// balance stays as it was.

#include "imaging/THistogram.h"
#include "platform/Bitmap.h"

// Channels of GetHistogram.
enum HistogramChannel : int {
    hcRed = 0,
    hcGreen = 1,
    hcBlue = 2,
    hcMaximum = 3, // the largest of red, green and blue
    hcAverage = 4, // (red + green + blue) div 3
};

// Fills the histogram with one value per pixel of a 24-bit bitmap; a channel outside 0..4 counts 0 for every
// pixel. EHistogramError for any other pixel format.
void GetHistogram(int channel, const Bitmap& bitmap, THistogram& histogram);

// In place: every colour byte c becomes round((c - low) * 255 / (high - low)), limited to 0..255, where low is
// the smallest 1st and high the largest 99th percentile of the three colours. EHistogramError unless 24-bit.
void OptimizeBitmap(Bitmap& bitmap);
