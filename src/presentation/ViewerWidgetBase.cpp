#include "presentation/ViewerWidgetBase.h"

#include "platform/Errors.h"
#include "platform/Log.h"
#include "presentation/ViewerPlatformTimer.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <new>

ViewerWidgetBase::ViewerWidgetBase(QWidget* parent, std::string logName)
    : QWidget(parent), m_logName(std::move(logName))
{
    setMouseTracking(true);
}

void ViewerWidgetBase::SetPointerHandlers(std::function<void(int32_t, int32_t)> onMove, std::function<void()> onClick)
{
    m_onMove = std::move(onMove);
    m_onClick = std::move(onClick);
}

void ViewerWidgetBase::SetCursor(ViewerCursor cursor)
{
    setCursor(cursor == ViewerCursor::HandPoint ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

TPoint ViewerWidgetBase::PointerPosition() const { return ToPage(QPointF(mapFromGlobal(QCursor::pos()))); }

std::unique_ptr<ViewerTimer> ViewerWidgetBase::CreateTimer(int intervalMs, std::function<void()> onTick)
{
    return std::make_unique<ViewerPlatformTimer>(intervalMs, std::move(onTick));
}

void ViewerWidgetBase::paintEvent(QPaintEvent*)
{
    if (m_picture.IsEmpty())
        return;
    QPainter painter(this);
    const QRect area = PictureArea();
    if (area.size() != QSize(m_picture.Width(), m_picture.Height()))
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(area, m_picture.Image());
}

void ViewerWidgetBase::mouseMoveEvent(QMouseEvent* event)
{
    const TPoint point = ToPage(event->position());
    Guarded([&] {
        if (m_onMove)
            m_onMove(point.X, point.Y);
    });
}

void ViewerWidgetBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Guarded([&] {
        if (m_onClick)
            m_onClick();
    });
}

void ViewerWidgetBase::Guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(m_logName + " step failed: " + e.what());
    } catch (const std::bad_alloc&) {
        ktLogs::LogLine(m_logName + " step failed: out of memory");
    }
}
