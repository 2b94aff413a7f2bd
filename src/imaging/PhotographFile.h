#pragma once
// Reading a photograph from a picture file (JPEG, PNG, BMP, TIFF, WebP, GIF, HEIC/HEIF, AVIF) into a 24-bit
// bitmap, upright: the orientation that cameras and phones record in the file is applied, so a portrait taken
// with a turned camera stands on its feet. Transparent parts are laid on white. A photograph that declares its
// colours in another space than sRGB (an embedded ICC profile, or the nclx description of HEIF and AVIF) is
// converted to sRGB, so Display P3 and Adobe RGB photographs keep their colours; pictures with more than 8 bits
// a sample are reduced with rounding.

#include "platform/Bitmap.h"

#include <cstdint>
#include <string>

namespace PhotographMessage {
inline constexpr const char* kNoPicture = "This file cannot be read as a picture.";
inline constexpr const char* kTooLarge = "This picture is too large: it has more than 150 million pixels.";
inline constexpr const char* kNoMemory = "There is not enough memory for this picture.";
inline constexpr const char* kDamaged = "This picture cannot be read: the file is damaged or too large.";
inline constexpr const char* kCutShort =
    "This picture cannot be read: the file ends before the picture does. It was probably not copied or "
    "downloaded completely; please take the original file again.";
inline constexpr const char* kDamagedProfile =
    "This picture cannot be read: its colour profile is damaged, so its colours cannot be shown right.";
} // namespace PhotographMessage

struct Photograph {
    Bitmap bitmap;
    std::string captureDate; // "YYYY-MM-DD HH:MM:SS" as the camera recorded it, or empty
};

// EImageError with a message for the user when the file cannot be read, is cut short, is no picture of a known
// format, has
// more than kMaxBitmapPixels pixels (checked from the file's header before anything is decoded) or carries a
// damaged colour profile. A whole profile of a kind the toolkit cannot convert is taken as sRGB.
Photograph ReadPhotograph(const std::string& path);

// A photograph read only as large as it is needed: a JPEG file is decoded reduced by 2, 4 or 8 (in the frequency
// domain, at a fraction of the cost) when the reduced picture, upright, still holds width x height pixels; other
// formats, and a width or height of 0, give the whole picture (factor 1). The same errors as ReadPhotograph.
struct ReducedPhotograph {
    Photograph photograph; // upright, about 1/factor of the whole photograph's size
    int factor = 1;
    int32_t fullWidth = 0; // the whole photograph, upright
    int32_t fullHeight = 0;
};
ReducedPhotograph ReadPhotographReduced(const std::string& path, int width, int height);
Bitmap ReadPhotographFile(const std::string& path);
