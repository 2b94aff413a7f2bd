#pragma once
// Greyscale through lookup tables, for 15, 16, 24 and 32 bits per pixel, either in full or blended with the
// pixel's own colour. The grey of a pixel is a weighted sum used as a table index: red 1, green 4, blue 2 in 24
// and 32 bits; red 2, green 4, blue 1 in 15 and 16 bits.

#include "platform/Bitmap.h"

enum GrayStrength : int {
    gsFull = 0,          // grey only
    gsThreeQuarters = 1, // a quarter of the colour stays
    gsHalf = 2,          // half colour, half grey
};

// In place. An empty bitmap stays as it is; an 8-bit bitmap is converted to 32 bits first. In 32 bits the fourth
// byte of every pixel becomes 0. A strength outside 0..2 changes nothing.
void GrayBitmap(Bitmap& bitmap, int strength);
