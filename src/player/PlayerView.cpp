#include "player/PlayerView.h"

#include <QTimer>

#include <cmath>

PlayerView::PlayerView(QWidget* parent) : ViewerWidgetBase(parent, "Player")
{
    m_picture = Bitmap(kPageWidth, kPageHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
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

TPoint PlayerView::ToPage(QPointF position) const
{
    if (width() <= 0 || height() <= 0)
        return TPoint{-1, -1};
    return TPoint{static_cast<int32_t>(std::floor(position.x() * kPageWidth / width())),
                  static_cast<int32_t>(std::floor(position.y() * kPageHeight / height()))};
}
