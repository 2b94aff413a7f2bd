#include "platform/Bitmap.h"

#include "platform/BmpFile.h"
#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/Errors.h"

#include <QHash>

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// Pixel memory of large images comes from the system in whole huge pages. A photograph spans thousands of
// fresh 4 KB pages, and faulting them in one by one costs more time than decoding the JPEG into them.
constexpr size_t kHugePage = 2 * 1024 * 1024;

struct MappedPixels {
    void* base;
    size_t size;
};

void ReleaseMappedPixels(void* info)
{
    auto* mapped = static_cast<MappedPixels*>(info);
    munmap(mapped->base, mapped->size);
    delete mapped;
}

bool FormatOfQt(QImage::Format qtFormat, PixelFormat& format)
{
    switch (qtFormat) {
    case QImage::Format_Indexed8: format = PixelFormat::pf8bit; return true;
    case QImage::Format_RGB555: format = PixelFormat::pf15bit; return true;
    case QImage::Format_RGB16: format = PixelFormat::pf16bit; return true;
    case QImage::Format_BGR888: format = PixelFormat::pf24bit; return true;
    case QImage::Format_RGB32: format = PixelFormat::pf32bit; return true;
    default: return false;
    }
}

// An 8-bit image always carries 256 palette entries, so that no byte value can index past the table.
QList<QRgb> FullPalette(QList<QRgb> palette)
{
    if (palette.size() > 256)
        palette.resize(256);
    while (palette.size() < 256)
        palette.append(qRgb(0, 0, 0));
    return palette;
}

QImage AllocateImage(int width, int height, PixelFormat format)
{
    if (width < 0 || height < 0)
        throw EImageError("Invalid bitmap size");
    if (static_cast<int64_t>(width) * height > kMaxBitmapPixels)
        throw EImageError("Bitmap too large");
    if (width == 0 || height == 0)
        return QImage();
    QImage image = AllocateQImage(width, height, QtFormatOf(format));
    if (image.isNull())
        throw EImageError("Out of memory for a bitmap");
    if (format == PixelFormat::pf8bit)
        image.setColorTable(GreyPalette());
    return image;
}

// The palette entry nearest to each colour; the colours of one picture repeat, so they are remembered.
class NearestEntry {
public:
    explicit NearestEntry(const QList<QRgb>& palette) : m_palette(palette) {}

    uint8_t operator()(QRgb rgb)
    {
        rgb |= 0xFF000000u;
        const auto known = m_cache.constFind(rgb);
        if (known != m_cache.constEnd())
            return known.value();
        int best = 0;
        int bestDistance = std::numeric_limits<int>::max();
        for (int i = 0; i < m_palette.size(); ++i) {
            const int dr = qRed(rgb) - qRed(m_palette[i]);
            const int dg = qGreen(rgb) - qGreen(m_palette[i]);
            const int db = qBlue(rgb) - qBlue(m_palette[i]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        m_cache.insert(rgb, static_cast<uint8_t>(best));
        return static_cast<uint8_t>(best);
    }

private:
    const QList<QRgb>& m_palette;
    QHash<QRgb, uint8_t> m_cache;
};

QImage ToIndexed(const QImage& image, const QList<QRgb>& palette)
{
    const QList<QRgb> table = FullPalette(palette);
    const bool grey = table == GreyPalette();
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage out(rgb.width(), rgb.height(), QImage::Format_Indexed8);
    if (out.isNull())
        throw EImageError("Out of memory for a bitmap");
    out.setColorTable(table);
    NearestEntry nearest(table);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uint8_t* line = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            line[x] = grey ? static_cast<uint8_t>(GreyLevel(in[x])) : nearest(in[x]);
    }
    return out;
}

} // namespace

QImage AllocateQImage(int width, int height, QImage::Format format)
{
    if (width <= 0 || height <= 0)
        return QImage();
    const auto depth = static_cast<qsizetype>(QImage::toPixelFormat(format).bitsPerPixel());
    const qsizetype bytesPerLine = (width * depth + 31) / 32 * 4;
    const auto bytes = static_cast<size_t>(bytesPerLine) * static_cast<size_t>(height);
    if (bytes < kHugePage)
        return QImage(width, height, format);
    const size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return QImage();
    madvise(base, size, MADV_HUGEPAGE);
    auto* mapped = new MappedPixels{base, size};
    QImage image(static_cast<uchar*>(base), width, height, bytesPerLine, format, ReleaseMappedPixels, mapped);
    if (image.isNull())
        ReleaseMappedPixels(mapped);
    return image;
}

QImage::Format QtFormatOf(PixelFormat format)
{
    switch (format) {
    case PixelFormat::pf8bit: return QImage::Format_Indexed8;
    case PixelFormat::pf15bit: return QImage::Format_RGB555;
    case PixelFormat::pf16bit: return QImage::Format_RGB16;
    case PixelFormat::pf24bit: return QImage::Format_BGR888;
    case PixelFormat::pf32bit: return QImage::Format_RGB32;
    }
    return QImage::Format_RGB32;
}

const QList<QRgb>& GreyPalette()
{
    static const QList<QRgb> palette = [] {
        QList<QRgb> table;
        for (int i = 0; i < 256; ++i)
            table.append(qRgb(i, i, i));
        return table;
    }();
    return palette;
}

int GreyLevel(QRgb rgb) { return (qRed(rgb) * 77 + qGreen(rgb) * 151 + qBlue(rgb) * 28 + 128) >> 8; }

QImage ConvertImage(const QImage& image, PixelFormat format, const QList<QRgb>& palette)
{
    if (image.isNull())
        return QImage();
    if (format == PixelFormat::pf8bit) {
        if (image.format() == QImage::Format_Indexed8 && image.colorTable() == FullPalette(palette))
            return image;
        return ToIndexed(image, palette);
    }
    QImage out = image.convertToFormat(QtFormatOf(format));
    if (out.isNull())
        throw EImageError("Out of memory for a bitmap");
    return out;
}

Bitmap::Bitmap() = default;

Bitmap::Bitmap(int width, int height, PixelFormat format)
    : m_image(AllocateImage(width, height, format)), m_format(format)
{
    if (format == PixelFormat::pf8bit)
        m_image.fill(255u);
    else
        m_image.fill(Qt::white);
}

Bitmap::Bitmap(const QImage& image)
{
    if (image.isNull()) {
        m_format = PixelFormat::pf32bit;
        return;
    }
    if (static_cast<int64_t>(image.width()) * image.height() > kMaxBitmapPixels)
        throw EImageError("Bitmap too large");
    if (FormatOfQt(image.format(), m_format)) {
        m_image = image;
        if (m_format == PixelFormat::pf8bit && m_image.colorCount() != 256)
            m_image.setColorTable(FullPalette(m_image.colorTable()));
        return;
    }
    m_format = PixelFormat::pf32bit;
    m_image = ConvertImage(image, m_format);
}

Bitmap::~Bitmap() = default;

// A copy gets the pixels only; its canvas starts with the default brush, pen and font.
Bitmap::Bitmap(const Bitmap& other) : m_image(other.m_image), m_format(other.m_format) {}

Bitmap& Bitmap::operator=(const Bitmap& other)
{
    if (this != &other) {
        m_image = other.m_image;
        m_format = other.m_format;
    }
    return *this;
}

// A moved bitmap takes its canvas state along; the canvas itself is bound to this object.
Bitmap::Bitmap(Bitmap&& other) noexcept : m_image(std::move(other.m_image)), m_format(other.m_format)
{
    if (other.m_canvas) {
        m_canvas = std::make_unique<Canvas>(*this);
        m_canvas->AssignState(*other.m_canvas);
        other.m_canvas.reset();
    }
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept
{
    if (this == &other)
        return *this;
    m_image = std::move(other.m_image);
    m_format = other.m_format;
    m_canvas.reset();
    if (other.m_canvas) {
        m_canvas = std::make_unique<Canvas>(*this);
        m_canvas->AssignState(*other.m_canvas);
        other.m_canvas.reset();
    }
    return *this;
}

int Bitmap::Width() const { return m_image.width(); }

int Bitmap::Height() const { return m_image.height(); }

void Bitmap::SetSize(int width, int height)
{
    if (width == Width() && height == Height())
        return;
    QImage resized = AllocateImage(width, height, m_format);
    if (resized.isNull()) {
        m_image = QImage();
        return;
    }
    if (m_format == PixelFormat::pf8bit) {
        const QList<QRgb> table = m_image.isNull() ? GreyPalette() : m_image.colorTable();
        resized.setColorTable(table);
        resized.fill(NearestEntry(table)(qRgb(255, 255, 255)));
    } else {
        resized.fill(Qt::white);
    }
    const int rows = std::min(height, Height());
    const int bytes = std::min(width, Width()) * BytesPerPixel();
    for (int y = 0; y < rows; ++y)
        std::memcpy(resized.scanLine(y), m_image.constScanLine(y), static_cast<size_t>(bytes));
    m_image = resized;
}

void Bitmap::SetPixelFormat(PixelFormat format)
{
    if (format == m_format)
        return;
    m_image = ConvertImage(m_image, format);
    m_format = format;
}

uint8_t* Bitmap::ScanLine(int y)
{
    if (y < 0 || y >= Height())
        throw EImageError("Scan line index out of range");
    return m_image.scanLine(y);
}

const uint8_t* Bitmap::ScanLine(int y) const
{
    if (y < 0 || y >= Height())
        throw EImageError("Scan line index out of range");
    return m_image.constScanLine(y);
}

int Bitmap::BytesPerLine() const
{
    if (!m_image.isNull())
        return static_cast<int>(m_image.bytesPerLine());
    return 0;
}

int Bitmap::BytesPerPixel() const
{
    switch (m_format) {
    case PixelFormat::pf8bit: return 1;
    case PixelFormat::pf15bit:
    case PixelFormat::pf16bit: return 2;
    case PixelFormat::pf24bit: return 3;
    case PixelFormat::pf32bit: return 4;
    }
    return 4;
}

Canvas& Bitmap::GetCanvas()
{
    if (!m_canvas)
        m_canvas = std::make_unique<Canvas>(*this);
    return *m_canvas;
}

void Bitmap::LoadFromFile(const std::string& path)
{
    PixelFormat format = PixelFormat::pf24bit;
    QImage image = BmpFile::Read(path, format);
    m_image = std::move(image);
    m_format = format;
}

void Bitmap::SaveToFile(const std::string& path) const { BmpFile::Write(path, *this); }

int32_t Bitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return -1;
    return FromQColor(QColor(m_image.pixel(x, y)));
}

void Bitmap::SetPixel(int x, int y, int32_t color)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return;
    const QRgb rgb = ToQColor(color).rgb();
    if (m_format != PixelFormat::pf8bit) {
        m_image.setPixel(x, y, rgb);
        return;
    }
    const QList<QRgb> table = m_image.colorTable();
    m_image.scanLine(y)[x] = table == GreyPalette() ? static_cast<uint8_t>(GreyLevel(rgb)) : NearestEntry(table)(rgb);
}

QImage Bitmap::ToQImage() const { return m_image.convertToFormat(QImage::Format_RGB32); }
