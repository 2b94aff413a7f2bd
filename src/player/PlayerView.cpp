#include "player/PlayerView.h"

#include "platform/Errors.h"
#include "platform/Log.h"
#include "presentation/ViewerPlatformTimer.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>
#include <new>
#include <string>

PlayerView::PlayerView(QWidget* parent) : QWidget(parent), m_picture(kPageWidth, kPageHeight)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlayerView::SetPointerHandlers(std::function<void(int32_t, int32_t)> onMove, std::function<void()> onClick)
{
    m_onMove = std::move(onMove);
    m_onClick = std::move(onClick);
}

void PlayerView::Changed()
{
    if (m_repaintPending)
        return;
    m_repaintPending = true;
    QTimer::singleShot(kRepaintMs, this, [this] {
        m_repaintPending = false;
        update();
    });
}

void PlayerView::SetCursor(ViewerCursor cursor)
{
    setCursor(cursor == ViewerCursor::HandPoint ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

TPoint PlayerView::ToPage(const QPointF& position) const
{
    if (width() <= 0 || height() <= 0)
        return TPoint{-1, -1};
    return TPoint{static_cast<int32_t>(std::floor(position.x() * kPageWidth / width())),
                  static_cast<int32_t>(std::floor(position.y() * kPageHeight / height()))};
}

TPoint PlayerView::PointerPosition() const { return ToPage(QPointF(mapFromGlobal(QCursor::pos()))); }

std::unique_ptr<ViewerTimer> PlayerView::CreateTimer(int intervalMs, std::function<void()> onTick)
{
    return std::make_unique<ViewerPlatformTimer>(intervalMs, std::move(onTick));
}

void PlayerView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (width() != kPageWidth || height() != kPageHeight)
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(rect(), m_picture.Image());
}

void PlayerView::mouseMoveEvent(QMouseEvent* event)
{
    const TPoint point = ToPage(event->position());
    Guarded([&] {
        if (m_onMove)
            m_onMove(point.X, point.Y);
    });
}

void PlayerView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Guarded([&] {
        if (m_onClick)
            m_onClick();
    });
}

void PlayerView::Guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Player step failed: ") + e.what());
    } catch (const std::bad_alloc&) {
        ktLogs::LogLine("Player step failed: out of memory");
    }
}
