// vellora-discicon OUT.ico: paints the disc icon of every disc folder (a silver disc with coloured rings and a
// hole in its middle, 32 x 32 pixels) and writes it as a Windows icon file with one image. The build runs it and
// carries the file inside the programs as the resource "AUTORUNICON".
//
// vellora-discicon --program-icon SIZE OUT.png: paints the program's own icon for the desktop's menus, the same
// disc with a photograph in front of it, SIZE x SIZE pixels (8 to 1024), painted afresh at each size so that
// small icons stay sharp. The install rules put one per size into the hicolor icon theme.
//
// Icon file layout (little-endian):
//   ICONDIR        uint16 reserved 0, uint16 type 1 (icon), uint16 image count 1
//   ICONDIRENTRY   uint8 width 32, uint8 height 32, uint8 colours 0, uint8 reserved 0, uint16 planes 1,
//                  uint16 bits per pixel 32, uint32 image size, uint32 image offset 22
//   image          BITMAPINFOHEADER (40 bytes, height 64: colour rows and mask rows), 32 x 32 BGRA rows from the
//                  bottom up, then the 1-bit transparency mask (rows of 4 bytes, bottom up, 1 = transparent)

#include <QBuffer>
#include <QColor>
#include <QConicalGradient>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kSmallestProgramIcon = 8;
constexpr int kLargestProgramIcon = 1024;

// The disc in a square of kSize units, with the painter's transformation.
void DrawDisc(QPainter& painter)
{
    const QPointF centre(kSize / 2.0, kSize / 2.0);

    // The silver face with the rainbow sheen that light leaves on a disc.
    QConicalGradient sheen(centre, 45);
    const QColor stops[] = {QColor(214, 218, 226), QColor(250, 215, 160), QColor(200, 236, 214),
                            QColor(178, 206, 246), QColor(238, 196, 232), QColor(214, 218, 226)};
    for (int i = 0; i < 6; ++i)
        sheen.setColorAt(i / 5.0, stops[i]);
    painter.setPen(QPen(QColor(96, 100, 112), 1.0));
    painter.setBrush(sheen);
    painter.drawEllipse(centre, 14.5, 14.5);

    // Soft light from the upper left.
    QRadialGradient light(QPointF(11, 10), 16);
    light.setColorAt(0, QColor(255, 255, 255, 150));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawEllipse(centre, 14, 14);

    // The clear hub around the hole, then the hole itself.
    painter.setPen(QPen(QColor(150, 154, 164), 1.0));
    painter.setBrush(QColor(232, 236, 242, 220));
    painter.drawEllipse(centre, 6.0, 6.0);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(centre, 2.6, 2.6);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QImage PaintDisc()
{
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawDisc(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// A small print in a white frame, tilted, in kSize units: a summer sky, a sun and two green hills.
void DrawPhotograph(QPainter& painter)
{
    painter.save();
    painter.translate(10.5, 21.5);
    painter.rotate(-9);
    const QRectF frame(-9.5, -7.5, 19, 15);
    painter.setPen(QPen(QColor(120, 112, 104), 0.5));
    painter.setBrush(QColor(252, 250, 246));
    painter.drawRoundedRect(frame, 0.8, 0.8);
    const QRectF picture = frame.adjusted(1.6, 1.6, -1.6, -1.6);
    painter.setClipRect(picture);
    QLinearGradient sky(picture.topLeft(), picture.bottomLeft());
    sky.setColorAt(0, QColor(120, 170, 226));
    sky.setColorAt(1, QColor(214, 232, 248));
    painter.setPen(Qt::NoPen);
    painter.fillRect(picture, sky);
    painter.setBrush(QColor(255, 214, 102));
    painter.drawEllipse(QPointF(picture.right() - 3.5, picture.top() + 3.0), 1.8, 1.8);
    painter.setBrush(QColor(116, 170, 92));
    painter.drawEllipse(QPointF(picture.left() + 3.0, picture.bottom() + 2.5), 8.0, 6.0);
    painter.setBrush(QColor(82, 140, 72));
    painter.drawEllipse(QPointF(picture.right() - 2.0, picture.bottom() + 3.0), 9.0, 5.5);
    painter.restore();
}

QImage PaintProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(size / static_cast<double>(kSize), size / static_cast<double>(kSize));
    // The disc towards the upper right, the photograph over its lower left.
    painter.save();
    painter.translate(6.5, 0.5);
    painter.scale(0.8, 0.8);
    DrawDisc(painter);
    painter.restore();
    DrawPhotograph(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

void Put16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, static_cast<uint16_t>(value));
    Put16(out, static_cast<uint16_t>(value >> 16));
}

std::vector<uint8_t> IconImage(const QImage& image)
{
    std::vector<uint8_t> out;
    const uint32_t maskBytes = kSize * 4; // 32 one-bit pixels per row fill exactly 4 bytes
    Put32(out, 40);
    Put32(out, kSize);
    Put32(out, 2 * kSize);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, kSize * kSize * 4 + maskBytes);
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (int y = kSize - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < kSize; ++x) {
            out.push_back(static_cast<uint8_t>(qBlue(row[x])));
            out.push_back(static_cast<uint8_t>(qGreen(row[x])));
            out.push_back(static_cast<uint8_t>(qRed(row[x])));
            out.push_back(static_cast<uint8_t>(qAlpha(row[x])));
        }
    }
    for (int y = kSize - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint8_t bits[4] = {0, 0, 0, 0};
        for (int x = 0; x < kSize; ++x) {
            if (qAlpha(row[x]) < 128)
                bits[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), bits, bits + 4);
    }
    return out;
}

std::vector<uint8_t> IconFile(const QImage& image)
{
    const std::vector<uint8_t> payload = IconImage(image);
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(payload.size()));
    Put32(out, 22);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::fprintf(stderr, "vellora-discicon: cannot create %s\n", path);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "vellora-discicon: cannot write %s\n", path);
        std::remove(path);
        return false;
    }
    return true;
}

std::vector<uint8_t> PngFile(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return std::vector<uint8_t>(png.begin(), png.end());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2)
        return WriteFile(argv[1], IconFile(PaintDisc())) ? 0 : 1;
    const int size = argc == 4 && std::strcmp(argv[1], "--program-icon") == 0 ? std::atoi(argv[2]) : 0;
    if (size < kSmallestProgramIcon || size > kLargestProgramIcon) {
        std::fprintf(stderr, "usage: vellora-discicon OUT.ico\n"
                             "       vellora-discicon --program-icon SIZE OUT.png\n");
        return 2;
    }
    return WriteFile(argv[3], PngFile(PaintProgramIcon(size))) ? 0 : 1;
}
