#include "player/PlayerView.h"

#include "platform/PanelScale.h"

#include <QTimer>

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
    const PanelPlacement shown{QSize(kPageWidth, kPageHeight), double(width()) / kPageWidth, rect()};
    const QPoint page = ToPanel(shown, position);
    return TPoint{page.x(), page.y()};
}
