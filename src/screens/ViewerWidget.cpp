#include "screens/ViewerWidget.h"

#include "platform/Errors.h"
#include "platform/Log.h"
#include "presentation/ViewerPlatformTimer.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <new>
#include <string>

ViewerWidget::ViewerWidget(QWidget* parent, const Geometry::ControlRect& rect) : QWidget(parent)
{
    setGeometry(rect.x, rect.y, rect.w, rect.h);
    setMouseTracking(true);
}

void ViewerWidget::SetPointerHandlers(std::function<void(int32_t, int32_t)> onMove, std::function<void()> onClick)
{
    m_onMove = std::move(onMove);
    m_onClick = std::move(onClick);
}

void ViewerWidget::SetPicture(Bitmap picture, Placement placement)
{
    m_picture = std::move(picture);
    m_placement = placement;
    update();
}

QRect ViewerWidget::PictureArea() const
{
    const QSize size(m_picture.Width(), m_picture.Height());
    if (m_placement == Placement::TopLeft || size.isEmpty())
        return QRect(QPoint(0, 0), size);
    const QSize shown = size.width() <= width() && size.height() <= height()
                            ? size
                            : size.scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

void ViewerWidget::ClearPicture() { SetPicture(Bitmap()); }

TPoint ViewerWidget::ToPicture(QPoint point) const
{
    const QRect area = PictureArea();
    if (area.isEmpty() || area.size() == QSize(m_picture.Width(), m_picture.Height()))
        return TPoint{point.x() - area.x(), point.y() - area.y()};
    const int64_t x = static_cast<int64_t>(point.x() - area.x()) * m_picture.Width() / area.width();
    const int64_t y = static_cast<int64_t>(point.y() - area.y()) * m_picture.Height() / area.height();
    return TPoint{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

void ViewerWidget::SetCursor(ViewerCursor cursor)
{
    setCursor(cursor == ViewerCursor::HandPoint ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

TPoint ViewerWidget::PointerPosition() const
{
    return ToPicture(mapFromGlobal(QCursor::pos()));
}

std::unique_ptr<ViewerTimer> ViewerWidget::CreateTimer(int intervalMs, std::function<void()> onTick)
{
    return std::make_unique<ViewerPlatformTimer>(intervalMs, std::move(onTick));
}

void ViewerWidget::paintEvent(QPaintEvent*)
{
    if (m_picture.IsEmpty())
        return;
    QPainter painter(this);
    const QRect area = PictureArea();
    if (area.size() != QSize(m_picture.Width(), m_picture.Height()))
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(area, m_picture.Image());
}

void ViewerWidget::mouseMoveEvent(QMouseEvent* event)
{
    const TPoint point = ToPicture(event->position().toPoint());
    Guarded([&] {
        if (m_onMove)
            m_onMove(point.X, point.Y);
    });
}

void ViewerWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Guarded([&] {
        if (m_onClick)
            m_onClick();
    });
}

void ViewerWidget::Guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Preview step failed: ") + e.what());
    } catch (const std::bad_alloc&) {
        ktLogs::LogLine("Preview step failed: out of memory");
    }
}
