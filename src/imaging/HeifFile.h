#pragma once
// Reading the primary image of a HEIF file (HEIC from phones, AVIF) through libheif: the image turned and
// mirrored as the file records, at 8 bits (RGBA8888) or, when the file has more, at 16 bits (RGBA64), tagged
// with the colour space the file declares (its ICC profile or its nclx colour description).

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <string>

struct HeifPicture {
    QImage image;            // its colorSpace() is invalid when the file declares none (sRGB)
    std::string captureDate; // "YYYY-MM-DD HH:MM:SS" from the image's EXIF block, or empty
};

// True when the bytes start as a HEIF file (of any brand, readable or not).
bool IsHeifFile(const uint8_t* data, size_t size);

// EImageError with a message for the user when the file has no primary image, is compressed with a codec the
// library does not decode, is damaged, has more than kMaxBitmapPixels pixels (checked before decoding) or
// carries a damaged colour profile. maxPixels lowers the size limit (for the fuzz target).
HeifPicture DecodeHeif(const uint8_t* data, size_t size, int64_t maxPixels = 150'000'000);
