#include "screens/TImage.h"

#include "platform/Jpeg.h"
#include "platform/PanelScale.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget* parent, const Geometry::ControlRect& rect, Role role) : QWidget(parent)
{
    setGeometry(rect.x, rect.y, rect.w, rect.h);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    if (role == Role::Decoration)
        setAttribute(Qt::WA_TransparentForMouseEvents);
    if (role == Role::Button || role == Role::Hover)
        setCursor(Qt::PointingHandCursor);
    if (role == Role::Hover)
        hide();
}

void TImage::SetPicture(const JpegImage& jpeg)
{
    ClearPicture();
    if (jpeg.IsEmpty())
        return;
    SetPicture(jpeg.Decode(PixelFormat::pf24bit).ToQImage());
}

void TImage::SetPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void TImage::ClearPicture()
{
    m_picture = QImage();
    update();
}

void TImage::SetLit(bool lit)
{
    setVisible(lit);
    m_lit = lit;
}

void TImage::setVisible(bool visible)
{
    m_lit = false;
    QWidget::setVisible(visible);
}

void TImage::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    // Shown enlarged on a large screen (see PanelView), the picture is scaled smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(0, 0, m_picture);
}

void TImage::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = PixelAt(event->position());
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    emit mouseDown(point.x(), point.y());
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = PixelAt(event->position());
    const bool click = event->button() == Qt::LeftButton && m_pressed && rect().contains(point);
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    emit mouseUp(point.x(), point.y());
    if (click)
        emit clicked();
}

void TImage::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is no new click.
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    m_pressed = false;
    emit doubleClicked(event->modifiers());
}

void TImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = PixelAt(event->position());
    emit mouseMoved(point.x(), point.y());
}
