// vellora-discicon OUT: paints the disc icon of every disc folder (a silver disc with coloured rings and a hole
// in its middle, 32 x 32 pixels) and writes it as a Windows icon file with one image. The build runs it and
// carries the file inside the programs as the resource "AUTORUNICON".
//
// Icon file layout (little-endian):
//   ICONDIR        uint16 reserved 0, uint16 type 1 (icon), uint16 image count 1
//   ICONDIRENTRY   uint8 width 32, uint8 height 32, uint8 colours 0, uint8 reserved 0, uint16 planes 1,
//                  uint16 bits per pixel 32, uint32 image size, uint32 image offset 22
//   image          BITMAPINFOHEADER (40 bytes, height 64: colour rows and mask rows), 32 x 32 BGRA rows from the
//                  bottom up, then the 1-bit transparency mask (rows of 4 bytes, bottom up, 1 = transparent)

#include <QColor>
#include <QConicalGradient>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 32;

QImage PaintDisc()
{
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vellora-discicon OUT.ico\n");
        return 2;
    }
    const std::vector<uint8_t> icon = IconFile(PaintDisc());
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::fprintf(stderr, "vellora-discicon: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(icon.data(), 1, icon.size(), file) == icon.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "vellora-discicon: cannot write %s\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
