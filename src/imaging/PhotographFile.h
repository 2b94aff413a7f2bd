#pragma once
// Reading a photograph from a picture file (JPEG, PNG, BMP, TIFF, WebP, GIF) into a 24-bit bitmap, upright: the
// orientation that cameras and phones record in the file is applied, so a portrait taken with a turned camera
// stands on its feet. Transparent parts are laid on white.

#include "platform/Bitmap.h"

#include <string>

// EImageError with a message for the user when the file cannot be read, is no picture of a known format, or has
// more than kMaxBitmapPixels pixels (checked from the file's header before anything is decoded).
Bitmap ReadPhotographFile(const std::string& path);
