#pragma once
// Shows a screen's panel enlarged on a large screen. The panel stays a widget of its own size (1024 x 768 or a
// pop-up's 500 x 250) whose controls keep all their coordinates in panel pixels; this view shows it at the
// placement's scale and the toolkit maps the pointer back into the panel. At scale 1 the panel is shown pixel
// for pixel.
//
// Painted directly at a scale such as 2.8125, neighbouring controls would each round their edges on their own
// and leave hairline gaps between pictures that meet. So the exposed part of the panel is painted at the next
// whole scale (3), where every edge falls on a pixel, and that is then reduced smoothly to the screen.

#include "platform/PanelScale.h"

#include <QGraphicsView>

class QGraphicsProxyWidget;

class PanelView : public QGraphicsView {
public:
    // Takes the panel (a widget without parent) and owns it from now on. The panel stays hidden until ShowPanel,
    // so that, as on any window not yet shown, the controls added to it meanwhile appear with it.
    PanelView(QWidget* parent, QWidget* panel);

    // The panel is shown while its window is.
    void ShowPanel(bool shown);
    // Gives the keys to the panel, to the field that last had the focus there.
    void FocusPanel();

    // Places the view over the placement's area of its parent and scales the panel to it.
    void SetPlacement(const PanelPlacement& placement);
    const PanelPlacement& Placement() const { return m_placement; }
    void SetColour(const QColor& colour);
    // Paints the part of the panel under the widget at once, for steps that run without an event loop.
    void RepaintNow(const QWidget* widget);

    // The window that shows a widget: the screen whose panel holds it, also when the panel is shown by a view.
    static QWidget* HostWindow(const QWidget* widget);
    // A point of the screen in the widget's own pixels, also for a widget on a panel shown by a view.
    static QPoint MapFromGlobal(const QWidget* widget, const QPoint& global);

protected:
    // The panel is painted here, under any pop-up of its own (which the view paints as usual).
    void drawBackground(QPainter* painter, const QRectF& exposed) override;

private:
    void PaintPart(QPainter& painter, const QRect& exposed);

    QGraphicsProxyWidget* m_proxy = nullptr;
    QColor m_colour = Qt::black;
    PanelPlacement m_placement;
};
