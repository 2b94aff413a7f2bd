#pragma once
// JPEG over libjpeg-turbo. The model keeps pictures as the complete bytes of a JPEG file; they are decoded only
// to draw or edit them. Decoding uses full scale, the slow-but-exact IDCT and fancy upsampling; grayscale and
// CMYK/YCCK files (Adobe's inverted CMYK included) come out in correct colours. The header is checked before any
// pixel memory is allocated: a picture larger than kMaxJpegPixels, or damaged bytes, raise EImageError.

#include "platform/Bitmap.h"

#include <cstdint>
#include <vector>

constexpr int kDefaultJpegQuality = 90; // pictures
constexpr int kTextJpegQuality = 100;   // snapshots of text fields
constexpr int64_t kMaxJpegPixels = 150'000'000;

struct JpegInfo {
    int width = 0;
    int height = 0;
    int components = 0;
};

// Reads only the header; EImageError for bytes that are not a JPEG.
JpegInfo ReadJpegInfo(const uint8_t* data, size_t size);
// Reads the header and checks what can be known without decoding: the markers up to the first scan, a size of
// at least one pixel and at most kMaxJpegPixels. EImageError otherwise. Data damaged after the header is only
// found when the picture is decoded.
JpegInfo CheckJpegHeader(const uint8_t* data, size_t size);
// The smallest of libjpeg's DCT scales n/8 (n = 1..8) whose output is at least width x height; 8 when even full
// size is smaller. A target that is not positive in one direction asks nothing of that direction.
int JpegScaleFor(int imageWidth, int imageHeight, int width, int height);
// Decodes at the smallest DCT scale that still gives at least width x height pixels (never more than full size),
// so a photograph drawn into a slot of a few hundred pixels never passes through its full size.
Bitmap DecodeJpegAtLeast(const uint8_t* data, size_t size, int width, int height,
                         PixelFormat format = PixelFormat::pf24bit);
// Decodes to pf24bit or pf32bit.
Bitmap DecodeJpeg(const uint8_t* data, size_t size, PixelFormat format = PixelFormat::pf24bit);
inline Bitmap DecodeJpeg(const std::vector<uint8_t>& bytes, PixelFormat format = PixelFormat::pf24bit)
{
    return DecodeJpeg(bytes.data(), bytes.size(), format);
}
// Encodes any bitmap (converted to 24-bit colour), baseline, at the given quality.
std::vector<uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality = kDefaultJpegQuality);

// A compressed picture with its size: what the original platform's JPEG image object held.
class JpegImage {
public:
    JpegImage() = default;
    // Takes the bytes over unchanged; width and height come from the header (EImageError when damaged).
    static JpegImage FromBytes(std::vector<uint8_t> bytes);
    // Encodes the bitmap.
    static JpegImage FromBitmap(const Bitmap& bitmap, int quality = kDefaultJpegQuality);

    bool IsEmpty() const { return m_bytes.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    Bitmap Decode(PixelFormat format = PixelFormat::pf24bit) const;

private:
    std::vector<uint8_t> m_bytes;
    int m_width = 0;
    int m_height = 0;
};
