#pragma once
// What a picture file says about itself besides its pixels: the colour profile it carries (ICC) and the EXIF
// block (for the capture date). Found by walking the file's own structure (JPEG segments, PNG chunks, the WebP
// RIFF chunks); every length is checked against the bytes that are there, so a damaged file yields nothing or
// a damaged profile, never a read beyond its end.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string>

struct PictureMetadata {
    bool hasIcc = false; // the file carries a profile (it may still be damaged)
    QByteArray icc;      // the whole profile; empty when its parts do not fit together
    // The TIFF structure of the EXIF block (starts with "II" or "MM") inside the scanned bytes; null when none.
    const uint8_t* exif = nullptr;
    size_t exifSize = 0;
};

// JPEG, PNG, WebP and TIFF are recognised by their first bytes; other files give empty metadata. A TIFF file's
// own structure is its EXIF block; its profile is left to the toolkit's reader.
PictureMetadata ScanPictureMetadata(const uint8_t* data, size_t size);

// False when the bytes are a JPEG file that ends before its end-of-picture marker (a file cut short while it was
// copied or downloaded); true for a whole JPEG and for anything else. Markers are followed through every scan,
// so progressive files are checked to their last scan; a file damaged in its middle is left to the decoder.
bool JpegReachesItsEnd(const uint8_t* data, size_t size);

// True when the bytes hold an ICC profile whose header and tag table fit within them.
bool IsWholeIccProfile(const QByteArray& icc);

// The capture date in an EXIF block as "YYYY-MM-DD HH:MM:SS" (date and time of the original, else of the
// digitisation, else of the file); empty when there is none or it is no valid date.
std::string ExifCaptureDate(const uint8_t* tiff, size_t size);
