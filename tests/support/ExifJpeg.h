#pragma once
// JPEG files with an orientation recorded the way cameras and phones record it: an APP1 "Exif" segment holding
// a little-endian TIFF header and one directory entry, tag 0x0112 (orientation), type SHORT, count 1.

#include <cstddef>
#include <cstdint>
#include <vector>

inline std::vector<uint8_t> WithExifOrientation(const std::vector<uint8_t>& jpeg, uint16_t orientation)
{
    const uint8_t lo = static_cast<uint8_t>(orientation & 0xFF);
    const uint8_t hi = static_cast<uint8_t>(orientation >> 8);
    const std::vector<uint8_t> payload = {
        'E',  'x',  'i', 'f', 0, 0,                     // identifier
        'I',  'I',  42,  0,   8, 0, 0, 0,               // TIFF header, first directory at offset 8
        1,    0,                                        // one entry
        0x12, 0x01, 3,   0,   1, 0, 0, 0, lo, hi, 0, 0, // orientation, SHORT, count 1, value
        0,    0,    0,   0,                             // no next directory
    };
    const std::size_t length = payload.size() + 2;
    // After the start-of-image marker and the JFIF segment, where cameras put it.
    std::size_t at = 2;
    if (jpeg.size() > 6 && jpeg[2] == 0xFF && jpeg[3] == 0xE0)
        at = 4 + (static_cast<std::size_t>(jpeg[4]) << 8 | jpeg[5]);
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(at));
    out.insert(out.end(), {0xFF, 0xE1, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF)});
    out.insert(out.end(), payload.begin(), payload.end());
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(at), jpeg.end());
    return out;
}

// A JPEG whose EXIF block records the date of the file (tag 0x0132, ASCII "YYYY:MM:DD HH:MM:SS"), as simple
// cameras write it.
inline std::vector<uint8_t> WithExifDate(const std::vector<uint8_t>& jpeg, const char (&date)[20])
{
    std::vector<uint8_t> payload = {
        'E',  'x',  'i', 'f', 0,  0,                    // identifier
        'I',  'I',  42,  0,   8,  0, 0, 0,              // TIFF header, first directory at offset 8
        1,    0,                                        // one entry
        0x32, 0x01, 2,   0,   20, 0, 0, 0, 26, 0, 0, 0, // date and time, ASCII, 20 characters at offset 26
        0,    0,    0,   0,                             // no next directory
    };
    payload.insert(payload.end(), date, date + 20);
    const std::size_t length = payload.size() + 2;
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), {0xFF, 0xE1, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF)});
    out.insert(out.end(), payload.begin(), payload.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}
