#include "platform/BmpFile.h"

#include "platform/Errors.h"
#include "platform/Stream.h"

#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kCoreHeaderSize = 12;

struct BmpHeader {
    int64_t width = 0;
    int64_t height = 0; // always positive; topDown says how the rows are stored
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t colorsUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    int64_t pixelStart = 0; // absolute stream position of the first stored row
};

uint16_t ReadUInt16(Stream& stream)
{
    uint16_t value = 0;
    stream.ReadBuffer(&value, 2);
    return value;
}

uint32_t ReadUInt32(Stream& stream) { return static_cast<uint32_t>(stream.ReadInt32()); }

int64_t RowBytes(int64_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }

void CheckSize(const BmpHeader& h)
{
    if (h.width <= 0 || h.height <= 0)
        throw EImageError("Bitmap file is damaged: invalid size");
    if (h.width > kMaxBitmapPixels || h.height > kMaxBitmapPixels || h.width * h.height > kMaxBitmapPixels)
        throw EImageError("Bitmap too large");
}

void CheckDepth(const BmpHeader& h)
{
    const bool palette = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8;
    const bool fields = h.compression == kBiBitfields || h.compression == kBiAlphaBitfields;
    if (palette && h.compression == kBiRgb)
        return;
    if ((h.bitCount == 16 || h.bitCount == 32) && (h.compression == kBiRgb || fields))
        return;
    if (h.bitCount == 24 && h.compression == kBiRgb)
        return;
    throw EImageError("Unsupported bitmap format");
}

// Info header (40 bytes and its longer versions): size, width int32, height int32 (negative: top-down), planes
// uint16, bit count uint16, compression uint32, image size, x and y resolution, colours used, colours important;
// versions of 52 bytes and more carry the red, green and blue masks at offset 40. Core header (12 bytes): size,
// width int16, height int16, planes uint16, bit count uint16.
BmpHeader ReadInfoHeader(Stream& stream, int64_t headerSize)
{
    BmpHeader h;
    if (headerSize == kCoreHeaderSize) {
        h.width = ReadUInt16(stream);
        h.height = ReadUInt16(stream);
        ReadUInt16(stream);
        h.bitCount = ReadUInt16(stream);
        return h;
    }
    if (headerSize < kInfoHeaderSize || headerSize > 124)
        throw EImageError("Unsupported bitmap header");
    h.width = stream.ReadInt32();
    const int64_t height = stream.ReadInt32();
    h.topDown = height < 0;
    h.height = height < 0 ? -height : height;
    ReadUInt16(stream);
    h.bitCount = ReadUInt16(stream);
    h.compression = ReadUInt32(stream);
    for (int i = 0; i < 3; ++i)
        ReadUInt32(stream);
    h.colorsUsed = ReadUInt32(stream);
    ReadUInt32(stream);
    if (headerSize >= 52)
        for (uint32_t& mask : h.masks)
            mask = ReadUInt32(stream);
    return h;
}

QList<QRgb> ReadPalette(Stream& stream, const BmpHeader& h, int entrySize)
{
    int64_t count = h.colorsUsed != 0 && h.colorsUsed < (1u << h.bitCount) ? h.colorsUsed : (1 << h.bitCount);
    const int64_t room = (h.pixelStart - stream.Position()) / entrySize;
    if (room >= 0 && room < count)
        count = room;
    QList<QRgb> palette;
    uint8_t entry[4] = {0, 0, 0, 0};
    for (int64_t i = 0; i < count; ++i) {
        stream.ReadBuffer(entry, entrySize);
        palette.append(qRgb(entry[2], entry[1], entry[0]));
    }
    while (palette.size() < 256)
        palette.append(qRgb(0, 0, 0));
    return palette;
}

// File header (14 bytes): "BM", file size uint32, two reserved uint16, offset of the pixel data uint32 (from
// the start of the file). Then the info header, the bit-field masks of a 40-byte header with bit fields, the
// palette of 2, 16 or 256 entries (B, G, R, 0; B, G, R for a core header), and the rows, bottom row first unless
// the height is negative, each padded to a multiple of 4 bytes.
BmpHeader ReadHeaders(Stream& stream, QList<QRgb>& palette)
{
    const int64_t base = stream.Position();
    char magic[2];
    stream.ReadBuffer(magic, 2);
    if (magic[0] != 'B' || magic[1] != 'M')
        throw EImageError("Not a bitmap file");
    ReadUInt32(stream);
    ReadUInt32(stream);
    const uint32_t offset = ReadUInt32(stream);
    const int64_t headerSize = ReadUInt32(stream);
    BmpHeader h = ReadInfoHeader(stream, headerSize);
    CheckDepth(h);
    CheckSize(h);
    stream.SetPosition(base + kFileHeaderSize + headerSize);
    if (headerSize == kInfoHeaderSize && h.compression != kBiRgb)
        for (uint32_t& mask : h.masks)
            mask = ReadUInt32(stream);
    if (h.compression == kBiAlphaBitfields && headerSize == kInfoHeaderSize)
        ReadUInt32(stream);
    h.pixelStart = offset != 0 ? base + offset : -1;
    if (h.bitCount <= 8)
        palette = ReadPalette(stream, h, headerSize == kCoreHeaderSize ? 3 : 4);
    if (h.pixelStart < 0)
        h.pixelStart = stream.Position();
    if (h.pixelStart < base + kFileHeaderSize + headerSize)
        throw EImageError("Bitmap file is damaged: pixel data overlaps the header");
    return h;
}

bool MasksAre(const BmpHeader& h, uint32_t r, uint32_t g, uint32_t b)
{
    return h.masks[0] == r && h.masks[1] == g && h.masks[2] == b;
}

PixelFormat TargetFormat(const BmpHeader& h)
{
    if (h.bitCount <= 8)
        return PixelFormat::pf8bit;
    if (h.bitCount == 24)
        return PixelFormat::pf24bit;
    if (h.bitCount == 16) {
        if (h.compression == kBiRgb || MasksAre(h, 0x7C00, 0x03E0, 0x001F))
            return PixelFormat::pf15bit;
        return MasksAre(h, 0xF800, 0x07E0, 0x001F) ? PixelFormat::pf16bit : PixelFormat::pf24bit;
    }
    return PixelFormat::pf32bit;
}

// One channel of a bit-field pixel scaled to 0..255.
int Channel(uint32_t pixel, uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const uint64_t maximum = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / maximum);
}

void ConvertRow(const BmpHeader& h, PixelFormat format, const uint8_t* in, uint8_t* out)
{
    const int width = static_cast<int>(h.width);
    if (h.bitCount < 8) {
        const int perByte = 8 / h.bitCount;
        const int valueMask = (1 << h.bitCount) - 1;
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - h.bitCount * (x % perByte + 1);
            out[x] = static_cast<uint8_t>((in[x / perByte] >> shift) & valueMask);
        }
        return;
    }
    if (h.bitCount == 8 || h.bitCount == 24) {
        std::memcpy(out, in, static_cast<size_t>(width) * (h.bitCount / 8));
        return;
    }
    if (format == PixelFormat::pf15bit || format == PixelFormat::pf16bit) {
        const uint16_t keep = format == PixelFormat::pf15bit ? 0x7FFF : 0xFFFF;
        for (int x = 0; x < width; ++x) {
            const uint16_t v = static_cast<uint16_t>((in[2 * x] | (in[2 * x + 1] << 8)) & keep);
            std::memcpy(out + 2 * x, &v, 2);
        }
        return;
    }
    const bool plain32 = h.compression == kBiRgb;
    const int step = h.bitCount / 8;
    const int outStep = format == PixelFormat::pf24bit ? 3 : 4;
    for (int x = 0; x < width; ++x) {
        uint32_t pixel = 0;
        std::memcpy(&pixel, in + step * x, static_cast<size_t>(step));
        uint8_t* o = out + outStep * x;
        o[0] = static_cast<uint8_t>(plain32 ? pixel & 0xFF : Channel(pixel, h.masks[2]));
        o[1] = static_cast<uint8_t>(plain32 ? (pixel >> 8) & 0xFF : Channel(pixel, h.masks[1]));
        o[2] = static_cast<uint8_t>(plain32 ? (pixel >> 16) & 0xFF : Channel(pixel, h.masks[0]));
        if (outStep == 4)
            o[3] = 0xFF;
    }
}

QImage ReadPixels(Stream& stream, const BmpHeader& h, PixelFormat format, const QList<QRgb>& palette)
{
    const int64_t rowBytes = RowBytes(h.width, h.bitCount);
    const int64_t needed = rowBytes * (h.height - 1) + (h.width * h.bitCount + 7) / 8;
    if (h.pixelStart > stream.Size() || needed > stream.Size() - h.pixelStart)
        throw EImageError("Bitmap file is damaged: pixel data is cut short");
    QImage image = AllocateQImage(static_cast<int>(h.width), static_cast<int>(h.height), QtFormatOf(format));
    if (image.isNull())
        throw EImageError("Out of memory for a bitmap");
    if (format == PixelFormat::pf8bit)
        image.setColorTable(palette);
    stream.SetPosition(h.pixelStart);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes), 0);
    for (int64_t i = 0; i < h.height; ++i) {
        const int64_t left = stream.Size() - stream.Position();
        stream.ReadBuffer(row.data(), left < rowBytes ? left : rowBytes);
        const int y = static_cast<int>(h.topDown ? i : h.height - 1 - i);
        ConvertRow(h, format, row.data(), image.scanLine(y));
    }
    return image;
}

void WriteUInt16(Stream& stream, uint16_t value) { stream.WriteBuffer(&value, 2); }

void WriteUInt32(Stream& stream, uint32_t value) { stream.WriteBuffer(&value, 4); }

int BitCountOf(PixelFormat format)
{
    switch (format) {
    case PixelFormat::pf8bit: return 8;
    case PixelFormat::pf15bit:
    case PixelFormat::pf16bit: return 16;
    case PixelFormat::pf24bit: return 24;
    case PixelFormat::pf32bit: return 32;
    }
    return 32;
}

// The file header, a 40-byte info header, then the masks of 5-6-5 pixels or the 256-entry palette of 8-bit ones.
void WriteHeaders(Stream& stream, const Bitmap& bitmap, int64_t rowBytes)
{
    const PixelFormat format = bitmap.Format();
    const bool fields = format == PixelFormat::pf16bit;
    const uint32_t extraBytes = format == PixelFormat::pf8bit ? 256 * 4 : fields ? 12 : 0;
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + extraBytes;
    const auto imageBytes = static_cast<uint32_t>(rowBytes * bitmap.Height());
    stream.WriteBuffer("BM", 2);
    WriteUInt32(stream, offset + imageBytes);
    WriteUInt32(stream, 0);
    WriteUInt32(stream, offset);
    WriteUInt32(stream, kInfoHeaderSize);
    stream.WriteInt32(bitmap.Width());
    stream.WriteInt32(bitmap.Height());
    WriteUInt16(stream, 1);
    WriteUInt16(stream, static_cast<uint16_t>(BitCountOf(format)));
    WriteUInt32(stream, fields ? kBiBitfields : kBiRgb);
    WriteUInt32(stream, imageBytes);
    WriteUInt32(stream, 3780); // 96 dots per inch
    WriteUInt32(stream, 3780);
    WriteUInt32(stream, format == PixelFormat::pf8bit ? 256 : 0);
    WriteUInt32(stream, 0);
    if (fields)
        for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu})
            WriteUInt32(stream, mask);
    if (format != PixelFormat::pf8bit)
        return;
    const QList<QRgb> table = bitmap.Image().colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        const uint8_t entry[4] = {static_cast<uint8_t>(qBlue(c)), static_cast<uint8_t>(qGreen(c)),
                                  static_cast<uint8_t>(qRed(c)), 0};
        stream.WriteBuffer(entry, 4);
    }
}

} // namespace

QImage BmpFile::Read(Stream& stream, PixelFormat& format)
{
    try {
        QList<QRgb> palette;
        const BmpHeader h = ReadHeaders(stream, palette);
        const PixelFormat target = TargetFormat(h);
        QImage image = ReadPixels(stream, h, target, palette);
        format = target;
        return image;
    } catch (const EStreamError&) {
        throw EImageError("Bitmap file is damaged: it ends too early");
    }
}

QImage BmpFile::Read(const std::string& path, PixelFormat& format)
{
    FileStream file(path, FileStream::Mode::OpenRead);
    return Read(file, format);
}

void BmpFile::Write(Stream& stream, const Bitmap& bitmap)
{
    if (bitmap.IsEmpty())
        throw EImageError("Cannot save an empty bitmap");
    const int64_t rowBytes = RowBytes(bitmap.Width(), BitCountOf(bitmap.Format()));
    WriteHeaders(stream, bitmap, rowBytes);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes), 0);
    const size_t used = static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.BytesPerPixel());
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        std::memcpy(row.data(), bitmap.ScanLine(y), used);
        stream.WriteBuffer(row.data(), rowBytes);
    }
}

void BmpFile::Write(const std::string& path, const Bitmap& bitmap)
{
    if (bitmap.IsEmpty())
        throw EImageError("Cannot save an empty bitmap");
    FileStream file(path, FileStream::Mode::Create);
    Write(file, bitmap);
    file.Flush();
}
