#pragma once
// A device-independent bitmap held in memory, as a scanner hands it over: a header, a colour table and the
// rows, bottom row first unless the height is negative, each padded to 4 bytes. Two header forms are read: the
// info header of 40 bytes and its longer versions (colour entries of 4 bytes: blue, green, red, unused) and the
// old core header of 12 bytes (entries of 3 bytes: blue, green, red).
//
// The colour table has the header's colours-used count of entries when that is not 0, else 2, 16 or 256 for 1,
// 4 or 8 bits per pixel, else none; the rows start right after it. Pictures of 1, 4 and 8 bits become 8-bit
// bitmaps with that table as their palette (missing entries black), 24-bit ones 24-bit bitmaps. Anything else
// (compressed rows, other depths, sizes beyond kMaxBitmapPixels, rows cut short) raises EImageError before pixel
// memory is allocated.

#include "platform/Bitmap.h"

#include <cstddef>
#include <cstdint>

Bitmap BitmapFromDib(const uint8_t* data, size_t size);
