#include "app/TformSplash.h"

#include "screens/ScreenGeometry.h"
#include "screens/TLabel.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace G = Geometry::Splash;

TformSplash::TformSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setFixedSize(G::Background.w, G::Background.h);
    m_background = PaintBackground();
    LabelStyle info;
    info.family = "MS Sans Serif";
    info.pixelSize = PointsToPixels(8);
    info.colour = RGBColor(0xF3, 0xE6, 0xC8);
    info.alignment = Qt::AlignLeft | Qt::AlignVCenter;
    labelInfo = new TLabel(this, G::labelInfo, info);
    labelInfo->SetCaption("Loading, please wait...");
    LabelStyle version = info;
    version.alignment = Qt::AlignRight | Qt::AlignVCenter;
    version.colour = RGBColor(0xC9, 0xA2, 0x5B);
    labelVersion = new TLabel(this, G::labelVersion, version);
    labelVersion->SetCaption(kVersion);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void TformSplash::SetStatus(const QString& text)
{
    labelInfo->SetCaption(text);
    if (labelInfo->isVisible())
        labelInfo->repaint();
}

void TformSplash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_background);
}

// A dark warm ground with a thin gold frame and the program's name, in the manner of the skins.
QImage TformSplash::PaintBackground() const
{
    QImage image(width(), height(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 0, height());
    ground.setColorAt(0, QColor(0x3B, 0x32, 0x2C));
    ground.setColorAt(1, QColor(0x24, 0x1E, 0x1A));
    painter.fillRect(image.rect(), ground);
    painter.setPen(QPen(QColor(0xC9, 0xA2, 0x5B), 1));
    painter.drawRect(QRectF(6.5, 6.5, width() - 13, height() - 13));
    QFont title("Dancing Script");
    title.setPixelSize(72);
    painter.setFont(title);
    painter.setPen(QColor(0xF0, 0xDC, 0xA8));
    painter.drawText(QRect(0, 40, width(), 100), Qt::AlignCenter, "Vellora");
    QFont subtitle("EB Garamond");
    subtitle.setPixelSize(18);
    subtitle.setItalic(true);
    painter.setFont(subtitle);
    painter.setPen(QColor(0xE8, 0xDC, 0xC4));
    painter.drawText(QRect(0, 138, width(), 30), Qt::AlignCenter, "Wedding albums, made to be treasured");
    painter.setPen(QPen(QColor(0xC9, 0xA2, 0x5B, 120), 1));
    painter.drawLine(QPointF(40, 186.5), QPointF(width() - 40, 186.5));
    return image;
}
