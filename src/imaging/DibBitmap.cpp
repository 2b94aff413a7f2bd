#include "imaging/DibBitmap.h"

#include "platform/Errors.h"

#include <cstring>

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestHeaderSize = 124;
constexpr uint32_t kBiRgb = 0;

struct DibLayout {
    int64_t width = 0;
    int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    uint64_t colors = 0;
    int entrySize = 4;
    uint64_t tableStart = 0;
    uint64_t bitsStart = 0;
};

uint32_t Read32(const uint8_t* p)
{
    uint32_t value = 0;
    std::memcpy(&value, p, 4);
    return value;
}

uint16_t Read16(const uint8_t* p)
{
    uint16_t value = 0;
    std::memcpy(&value, p, 2);
    return value;
}

[[noreturn]] void Damaged(const std::string& why) { throw EImageError("The scanned picture is damaged: " + why); }

// Core header: size, width uint16, height uint16, planes, bit count. Info header: size, width int32, height
// int32, planes uint16, bit count uint16, compression, image size, two resolutions, colours used, colours
// important.
DibLayout ReadHeader(const uint8_t* data, size_t size)
{
    if (size < 4)
        Damaged("no header");
    const uint32_t headerSize = Read32(data);
    if (headerSize != kCoreHeaderSize && (headerSize < kInfoHeaderSize || headerSize > kLargestHeaderSize))
        throw EImageError("The scanned picture has an unknown header form");
    if (headerSize > size)
        Damaged("the header is cut short");
    DibLayout dib;
    dib.tableStart = headerSize;
    if (headerSize == kCoreHeaderSize) {
        dib.width = Read16(data + 4);
        dib.height = Read16(data + 6);
        dib.bitCount = Read16(data + 10);
        dib.entrySize = 3;
        dib.colors = dib.bitCount <= 8 ? uint64_t{1} << dib.bitCount : 0;
    } else {
        dib.width = static_cast<int32_t>(Read32(data + 4));
        const int64_t height = static_cast<int32_t>(Read32(data + 8));
        dib.topDown = height < 0;
        dib.height = height < 0 ? -height : height;
        dib.bitCount = Read16(data + 14);
        if (Read32(data + 16) != kBiRgb)
            throw EImageError("The scanned picture is compressed, which the program cannot read");
        const uint32_t used = Read32(data + 32);
        dib.colors = used != 0 ? used : dib.bitCount <= 8 ? uint64_t{1} << dib.bitCount : 0;
    }
    return dib;
}

void CheckLayout(DibLayout& dib, size_t size)
{
    if (dib.bitCount != 1 && dib.bitCount != 4 && dib.bitCount != 8 && dib.bitCount != 24)
        throw EImageError("The scanned picture has " + std::to_string(dib.bitCount) +
                          " bits per pixel, which the program cannot read");
    if (dib.width <= 0 || dib.height <= 0)
        Damaged("its size is invalid");
    if (dib.width > kMaxBitmapPixels || dib.height > kMaxBitmapPixels || dib.width * dib.height > kMaxBitmapPixels)
        throw EImageError("The scanned picture is too large");
    dib.bitsStart = dib.tableStart + dib.colors * static_cast<uint64_t>(dib.entrySize);
    const auto rowBytes = static_cast<uint64_t>((dib.width * dib.bitCount + 31) / 32 * 4);
    const auto lastRow = static_cast<uint64_t>((dib.width * dib.bitCount + 7) / 8);
    const uint64_t needed = rowBytes * static_cast<uint64_t>(dib.height - 1) + lastRow;
    if (dib.bitsStart > size || needed > size - dib.bitsStart)
        Damaged("its rows are cut short");
}

QList<QRgb> ReadColorTable(const uint8_t* data, const DibLayout& dib)
{
    QList<QRgb> table;
    const uint64_t used = dib.colors < 256 ? dib.colors : 256;
    for (uint64_t i = 0; i < used; ++i) {
        const uint8_t* entry = data + dib.tableStart + i * static_cast<uint64_t>(dib.entrySize);
        table.append(qRgb(entry[2], entry[1], entry[0]));
    }
    while (table.size() < 256)
        table.append(qRgb(0, 0, 0));
    return table;
}

void CopyRow(const uint8_t* in, uint8_t* out, int width, int bitCount)
{
    if (bitCount == 8 || bitCount == 24) {
        std::memcpy(out, in, static_cast<size_t>(width) * static_cast<size_t>(bitCount / 8));
        return;
    }
    const int perByte = 8 / bitCount;
    const int mask = (1 << bitCount) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bitCount * (x % perByte + 1);
        out[x] = static_cast<uint8_t>((in[x / perByte] >> shift) & mask);
    }
}

} // namespace

Bitmap BitmapFromDib(const uint8_t* data, size_t size)
{
    if (!data)
        Damaged("no data");
    DibLayout dib = ReadHeader(data, size);
    CheckLayout(dib, size);
    const int width = static_cast<int>(dib.width);
    const int height = static_cast<int>(dib.height);
    const PixelFormat format = dib.bitCount == 24 ? PixelFormat::pf24bit : PixelFormat::pf8bit;
    QImage image = AllocateQImage(width, height, QtFormatOf(format));
    if (image.isNull())
        throw EImageError("Out of memory for the scanned picture");
    if (format == PixelFormat::pf8bit)
        image.setColorTable(ReadColorTable(data, dib));
    const auto rowBytes = static_cast<uint64_t>((dib.width * dib.bitCount + 31) / 32 * 4);
    for (int i = 0; i < height; ++i) {
        const int y = dib.topDown ? i : height - 1 - i;
        CopyRow(data + dib.bitsStart + rowBytes * static_cast<uint64_t>(i), image.scanLine(y), width, dib.bitCount);
    }
    return Bitmap(image);
}
