#include "screens/PanelView.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSceneWheelEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The panel's item: it takes the pointer and the keys for the panel and tells the view what changed; the view
// paints the panel itself (see PanelView::drawBackground). The pointer arrives in fractions of panel pixels; it
// is put on the panel pixel it lies in before the toolkit, which rounds, picks the control under it, so that a
// point in the right half of a control's last pixel still belongs to that control.
class PanelProxy : public QGraphicsProxyWidget {
public:
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override {}

protected:
    // Tab past the last field goes round to the first (Backtab the other way), as on a window of its own.
    bool focusNextPrevChild(bool next) override
    {
        QWidget* panel = widget();
        QWidget* before = panel ? panel->focusWidget() : nullptr;
        if (QGraphicsProxyWidget::focusNextPrevChild(next) && panel && panel->focusWidget() != before)
            return true;
        std::vector<QWidget*> fields;
        for (QWidget* w = panel ? panel->nextInFocusChain() : nullptr; w && w != panel; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->window() == panel && w->isVisibleTo(panel))
                fields.push_back(w);
        }
        if (fields.empty())
            return false;
        (next ? fields.front() : fields.back())->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }

    bool sceneEvent(QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::GraphicsSceneMousePress:
        case QEvent::GraphicsSceneMouseRelease:
        case QEvent::GraphicsSceneMouseMove:
        case QEvent::GraphicsSceneMouseDoubleClick: {
            auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
            mouse->setPos(QPointF(PixelAt(mouse->pos())));
            break;
        }
        case QEvent::GraphicsSceneHoverEnter:
        case QEvent::GraphicsSceneHoverMove:
        case QEvent::GraphicsSceneHoverLeave: {
            auto* hover = static_cast<QGraphicsSceneHoverEvent*>(event);
            hover->setPos(QPointF(PixelAt(hover->pos())));
            break;
        }
        case QEvent::GraphicsSceneWheel: {
            auto* wheel = static_cast<QGraphicsSceneWheelEvent*>(event);
            wheel->setPos(QPointF(PixelAt(wheel->pos())));
            break;
        }
        default: break;
        }
        return QGraphicsProxyWidget::sceneEvent(event);
    }
};

QGraphicsView* ViewShowing(const QWidget* top)
{
    const QGraphicsProxyWidget* proxy = top ? top->graphicsProxyWidget() : nullptr;
    if (!proxy || !proxy->scene() || proxy->scene()->views().isEmpty())
        return nullptr;
    return proxy->scene()->views().first();
}

} // namespace

PanelView::PanelView(QWidget* parent, QWidget* panel) : QGraphicsView(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setRenderHints(QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::NoAnchor);
    auto* scene = new QGraphicsScene(this);
    m_proxy = new PanelProxy;
    m_proxy->setWidget(panel);
    // The panel itself takes no focus, but its fields do, through its item.
    m_proxy->setFlag(QGraphicsItem::ItemIsFocusable, true);
    scene->addItem(m_proxy);
    m_proxy->setPos(0, 0);
    m_proxy->hide();
    scene->setSceneRect(QRectF(QPointF(0, 0), QSizeF(panel->size())));
    setScene(scene);
    SetPlacement(PlacePanel(panel->size(), panel->size(), PanelFit::GrowOnly));
}

void PanelView::SetPlacement(const PanelPlacement& placement)
{
    m_placement = placement;
    setGeometry(placement.area);
    const QSize panel = placement.panel;
    const double sx = panel.width() > 0 ? double(placement.area.width()) / panel.width() : 1.0;
    const double sy = panel.height() > 0 ? double(placement.area.height()) / panel.height() : 1.0;
    setTransform(QTransform::fromScale(sx, sy));
    centerOn(QPointF(panel.width() / 2.0, panel.height() / 2.0));
}

void PanelView::ShowPanel(bool shown) { m_proxy->setVisible(shown); }

void PanelView::FocusPanel()
{
    QWidget* field = m_proxy->widget()->focusWidget();
    setFocus(Qt::OtherFocusReason);
    m_proxy->setFocus(Qt::OtherFocusReason);
    if (field)
        field->setFocus(Qt::OtherFocusReason);
}

void PanelView::SetColour(const QColor& colour)
{
    m_colour = colour;
    setBackgroundBrush(colour);
}

void PanelView::drawBackground(QPainter* painter, const QRectF& exposed)
{
    painter->save();
    const QRect shown = viewportTransform().mapRect(exposed).toAlignedRect();
    painter->resetTransform();
    PaintPart(*painter, shown);
    painter->restore();
}

// The panel pixels under the exposed screen pixels, painted at the whole scale at or above the view's, then
// drawn into the exposed pixels.
void PanelView::PaintPart(QPainter& painter, const QRect& exposed)
{
    const QTransform toViewport = viewportTransform();
    const QRectF scene = toViewport.inverted().mapRect(QRectF(exposed));
    const QRect part = QRect(QPoint(int(std::floor(scene.left())) - 1, int(std::floor(scene.top())) - 1),
                             QPoint(int(std::ceil(scene.right())), int(std::ceil(scene.bottom()))))
                           .intersected(QRect(QPoint(0, 0), m_placement.panel));
    if (part.isEmpty())
        return;
    const double scale = std::max(toViewport.m11(), toViewport.m22());
    const int whole = std::max(1, int(std::ceil(scale - 1e-9)));
    QImage tile(part.size() * whole, QImage::Format_RGB32);
    if (tile.isNull())
        return;
    tile.fill(m_colour);
    {
        QPainter tilePainter(&tile);
        tilePainter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
        tilePainter.scale(whole, whole);
        m_proxy->widget()->render(&tilePainter, QPoint(0, 0), QRegion(part));
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, std::abs(whole - scale) > 1e-9);
    painter.drawImage(toViewport.mapRect(QRectF(part)), tile);
}

void PanelView::RepaintNow(const QWidget* widget)
{
    if (!widget)
        return;
    const QWidget* top = widget->window();
    const QRectF inTop(QPointF(widget->mapTo(top, QPoint(0, 0))), QSizeF(widget->size()));
    const QRectF shown = viewportTransform().mapRect(m_proxy->mapRectToScene(inTop));
    viewport()->repaint(shown.toAlignedRect().adjusted(-1, -1, 1, 1));
}

QWidget* PanelView::HostWindow(const QWidget* widget)
{
    if (!widget)
        return nullptr;
    QWidget* top = widget->window();
    QGraphicsView* view = ViewShowing(top);
    return view ? view->window() : top;
}

QPoint PanelView::MapFromGlobal(const QWidget* widget, const QPoint& global)
{
    const QWidget* top = widget->window();
    const QGraphicsView* view = ViewShowing(top);
    if (!view)
        return widget->mapFromGlobal(global);
    const QPointF scenePoint = view->mapToScene(view->viewport()->mapFromGlobal(global));
    const QPointF inTop = top->graphicsProxyWidget()->mapFromScene(scenePoint);
    return widget->mapFrom(top, inTop.toPoint());
}
