#include "SamplePhotographs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace {

// Coordinates of the scenes are fractions of the picture's width and height.
struct Frame {
    QPainter& p;
    double w;
    double h;
    QPointF At(double x, double y) const { return QPointF(x * w, y * h); }
    double Unit() const { return std::min(w, h); }
};

void Sky(Frame& f, QColor top, QColor bottom, double horizon)
{
    QLinearGradient g(f.At(0, 0), f.At(0, horizon));
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    f.p.fillRect(QRectF(0, 0, f.w, f.h), g);
}

void Hill(Frame& f, double base, double amplitude, double phase, QColor colour)
{
    QPainterPath path(f.At(0, 1));
    for (int i = 0; i <= 40; ++i) {
        const double x = i / 40.0;
        path.lineTo(f.At(x, base - amplitude * std::sin(3.1 * x + phase)));
    }
    path.lineTo(f.At(1, 1));
    path.closeSubpath();
    f.p.fillPath(path, colour);
}

// The two of them, side by side, standing on the point (x, y) with the given height in pixels.
void Couple(Frame& f, QPointF foot, double height, QColor colour)
{
    QPainter& p = f.p;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const double u = height / 10;
    // Her: a long dress widening to the ground.
    QPainterPath dress;
    dress.moveTo(foot + QPointF(-2.2 * u, 0));
    dress.lineTo(foot + QPointF(-0.2 * u, 0));
    dress.lineTo(foot + QPointF(-0.8 * u, -6.2 * u));
    dress.lineTo(foot + QPointF(-1.6 * u, -6.2 * u));
    dress.closeSubpath();
    p.drawPath(dress);
    p.drawEllipse(foot + QPointF(-1.2 * u, -7.1 * u), 0.75 * u, 0.8 * u);
    // Him: a suit.
    p.drawRoundedRect(QRectF(foot.x() + 0.3 * u, foot.y() - 7.2 * u, 1.6 * u, 4.2 * u), 0.4 * u, 0.4 * u);
    p.drawRect(QRectF(foot.x() + 0.45 * u, foot.y() - 3.2 * u, 0.55 * u, 3.2 * u));
    p.drawRect(QRectF(foot.x() + 1.2 * u, foot.y() - 3.2 * u, 0.55 * u, 3.2 * u));
    p.drawEllipse(foot + QPointF(1.1 * u, -8.0 * u), 0.75 * u, 0.85 * u);
    // Hands joined between them.
    p.setPen(QPen(colour, 0.35 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(foot + QPointF(-0.7 * u, -5.0 * u), foot + QPointF(0.45 * u, -4.6 * u));
}

void Sunset(Frame& f)
{
    Sky(f, QColor(0x5b, 0x4e, 0x8c), QColor(0xf6, 0xb2, 0x6b), 0.7);
    QRadialGradient sun(f.At(0.62, 0.62), f.Unit() * 0.35);
    sun.setColorAt(0, QColor(255, 244, 200));
    sun.setColorAt(0.25, QColor(255, 214, 140, 220));
    sun.setColorAt(1, QColor(255, 180, 120, 0));
    f.p.fillRect(QRectF(0, 0, f.w, f.h), sun);
    Hill(f, 0.74, 0.05, 0.4, QColor(0x8c, 0x5a, 0x6a));
    Hill(f, 0.82, 0.06, 2.0, QColor(0x5a, 0x3a, 0x50));
    Hill(f, 0.9, 0.03, 4.0, QColor(0x2e, 0x22, 0x34));
    Couple(f, f.At(0.36, 0.88), f.h * 0.3, QColor(0x22, 0x18, 0x28));
}

void Flower(QPainter& p, QPointF centre, double radius, QColor petal, QColor heart)
{
    p.setPen(Qt::NoPen);
    for (int ring = 0; ring < 3; ++ring) {
        const double r = radius * (1.0 - ring * 0.28);
        QColor c = petal.darker(100 + ring * 12);
        for (int i = 0; i < 6; ++i) {
            const double a = (i + ring * 0.5) * 3.14159265 / 3;
            p.setBrush(c);
            p.drawEllipse(centre + QPointF(std::cos(a) * r * 0.45, std::sin(a) * r * 0.45), r * 0.55, r * 0.55);
        }
    }
    p.setBrush(heart);
    p.drawEllipse(centre, radius * 0.22, radius * 0.22);
}

void Bouquet(Frame& f)
{
    Sky(f, QColor(0xcf, 0xe0, 0xc4), QColor(0x7e, 0x9c, 0x74), 1.0);
    QPainter& p = f.p;
    for (int i = 0; i < 14; ++i) {
        const double x = std::fmod(i * 0.37, 1.0);
        const double y = std::fmod(i * 0.53 + 0.1, 1.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 240, 40));
        p.drawEllipse(f.At(x, y), f.Unit() * 0.08, f.Unit() * 0.08);
    }
    p.setBrush(QColor(0x4f, 0x6e, 0x45));
    for (int i = 0; i < 7; ++i) {
        const double a = -2.3 + i * 0.28;
        p.save();
        p.translate(f.At(0.5, 0.58));
        p.rotate(a * 57.3);
        p.drawEllipse(QPointF(f.Unit() * 0.3, 0), f.Unit() * 0.12, f.Unit() * 0.045);
        p.restore();
    }
    const QColor petals[] = {QColor(0xf4, 0xd6, 0xd9), QColor(0xfb, 0xf3, 0xea), QColor(0xe9, 0xa9, 0xb4)};
    const double spots[][2] = {{0.5, 0.45},  {0.4, 0.5},   {0.6, 0.52}, {0.45, 0.62},
                               {0.57, 0.36}, {0.38, 0.37}, {0.62, 0.66}};
    for (int i = 0; i < 7; ++i)
        Flower(p, f.At(spots[i][0], spots[i][1]), f.Unit() * 0.11, petals[i % 3], QColor(0xd9, 0xb8, 0x6a));
    p.setBrush(QColor(0xf6, 0xf0, 0xe6));
    QPainterPath ribbon(f.At(0.46, 0.72));
    ribbon.lineTo(f.At(0.54, 0.72));
    ribbon.lineTo(f.At(0.57, 0.98));
    ribbon.lineTo(f.At(0.43, 0.98));
    ribbon.closeSubpath();
    p.drawPath(ribbon);
}

void Rings(Frame& f)
{
    QRadialGradient back(f.At(0.5, 0.45), std::max(f.w, f.h) * 0.7);
    back.setColorAt(0, QColor(0x6a, 0x2f, 0x3b));
    back.setColorAt(1, QColor(0x22, 0x10, 0x16));
    f.p.fillRect(QRectF(0, 0, f.w, f.h), back);
    QPainter& p = f.p;
    const double r = f.Unit() * 0.2;
    for (int i = 0; i < 2; ++i) {
        const QPointF c = f.At(0.5, 0.52) + QPointF((i == 0 ? -0.55 : 0.55) * r, (i == 0 ? 0.1 : -0.1) * r);
        QLinearGradient gold(c - QPointF(r, r), c + QPointF(r, r));
        gold.setColorAt(0, QColor(0xfb, 0xe7, 0xa1));
        gold.setColorAt(0.5, QColor(0xc8, 0x97, 0x3a));
        gold.setColorAt(1, QColor(0x8a, 0x62, 0x1e));
        p.setPen(QPen(QBrush(gold), r * 0.22));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r, r * 0.62);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(f.At(0.5, 0.52) + QPointF(0.55 * r, -0.72 * r), r * 0.09, r * 0.09);
}

void Seaside(Frame& f)
{
    Sky(f, QColor(0x8e, 0xc3, 0xe6), QColor(0xe8, 0xf1, 0xf4), 0.55);
    QPainter& p = f.p;
    QLinearGradient sea(f.At(0, 0.55), f.At(0, 0.75));
    sea.setColorAt(0, QColor(0x3f, 0x85, 0xa8));
    sea.setColorAt(1, QColor(0x8c, 0xc4, 0xc9));
    p.fillRect(QRectF(0, 0.55 * f.h, f.w, 0.2 * f.h), sea);
    Hill(f, 0.8, 0.02, 1.0, QColor(0xe9, 0xd6, 0xb0));
    p.setPen(QPen(QColor(255, 255, 255, 160), f.Unit() * 0.006));
    for (int i = 0; i < 4; ++i)
        p.drawLine(f.At(0.1 + 0.2 * i, 0.62 + 0.03 * (i % 2)), f.At(0.2 + 0.2 * i, 0.62 + 0.03 * (i % 2)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawEllipse(f.At(0.75, 0.2), f.Unit() * 0.12, f.Unit() * 0.05);
    p.drawEllipse(f.At(0.82, 0.18), f.Unit() * 0.08, f.Unit() * 0.05);
    Couple(f, f.At(0.62, 0.9), f.h * 0.33, QColor(0x3b, 0x33, 0x38));
}

void Arch(Frame& f)
{
    Sky(f, QColor(0xf3, 0xec, 0xe2), QColor(0xe1, 0xd4, 0xc2), 1.0);
    QPainter& p = f.p;
    QPainterPath arch;
    arch.moveTo(f.At(0.25, 1.0));
    arch.lineTo(f.At(0.25, 0.45));
    arch.cubicTo(f.At(0.25, 0.12), f.At(0.75, 0.12), f.At(0.75, 0.45));
    arch.lineTo(f.At(0.75, 1.0));
    QLinearGradient light(f.At(0, 0.2), f.At(0, 1));
    light.setColorAt(0, QColor(0xbf, 0xd9, 0xe8));
    light.setColorAt(1, QColor(0x9c, 0xb9, 0x8a));
    p.fillPath(arch, light);
    p.setPen(QPen(QColor(0xc9, 0xb8, 0x9c), f.Unit() * 0.04));
    p.drawPath(arch);
    const QColor petals[] = {QColor(0xf2, 0xc4, 0xcc), QColor(0xff, 0xfa, 0xf2), QColor(0xd9, 0x8f, 0x9f)};
    for (int i = 0; i <= 12; ++i) {
        const double t = i / 12.0;
        const QPointF at = arch.pointAtPercent(0.08 + 0.84 * t);
        Flower(p, at, f.Unit() * 0.045, petals[i % 3], QColor(0xe0, 0xc0, 0x70));
    }
    Couple(f, f.At(0.5, 0.95), f.h * 0.34, QColor(0x4a, 0x3c, 0x3a));
}

void Candles(Frame& f)
{
    f.p.fillRect(QRectF(0, 0, f.w, f.h), QColor(0x2a, 0x1d, 0x18));
    QPainter& p = f.p;
    for (int i = 0; i < 18; ++i) {
        const double x = std::fmod(i * 0.41 + 0.05, 1.0);
        const double y = std::fmod(i * 0.29 + 0.08, 0.6);
        QRadialGradient glow(f.At(x, y), f.Unit() * 0.09);
        glow.setColorAt(0, QColor(255, 200, 120, 90));
        glow.setColorAt(1, QColor(255, 200, 120, 0));
        p.fillRect(QRectF(0, 0, f.w, f.h), glow);
    }
    p.fillRect(QRectF(0, 0.72 * f.h, f.w, 0.28 * f.h), QColor(0xf1, 0xe8, 0xda));
    for (int i = 0; i < 3; ++i) {
        const double x = 0.3 + 0.2 * i;
        const double top = 0.38 + 0.08 * (i % 2);
        p.fillRect(QRectF(f.At(x - 0.03, top), f.At(x + 0.03, 0.74)), QColor(0xfb, 0xf6, 0xec));
        QRadialGradient flame(f.At(x, top - 0.05), f.Unit() * 0.12);
        flame.setColorAt(0, QColor(255, 240, 190, 255));
        flame.setColorAt(0.2, QColor(255, 190, 90, 160));
        flame.setColorAt(1, QColor(255, 150, 60, 0));
        p.fillRect(QRectF(0, 0, f.w, f.h), flame);
    }
}

} // namespace

QImage SamplePhotographs::Paint(int scene, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Frame f{painter, static_cast<double>(size.width()), static_cast<double>(size.height())};
    switch (((scene % kSceneCount) + kSceneCount) % kSceneCount) {
    case 0: Sunset(f); break;
    case 1: Bouquet(f); break;
    case 2: Rings(f); break;
    case 3: Seaside(f); break;
    case 4: Arch(f); break;
    default: Candles(f); break;
    }
    return image;
}
