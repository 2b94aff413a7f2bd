#include "platform/PanelScale.h"

#include <algorithm>
#include <cmath>

PanelPlacement PlacePanel(QSize screen, QSize panel, PanelFit fit)
{
    PanelPlacement placement;
    placement.panel = panel;
    if (panel.isEmpty() || screen.isEmpty()) {
        placement.area = QRect(QPoint(0, 0), panel);
        return placement;
    }
    double scale = std::min(double(screen.width()) / panel.width(), double(screen.height()) / panel.height());
    if (fit == PanelFit::GrowOnly)
        scale = std::max(1.0, scale);
    const int width = std::max(1, int(std::lround(panel.width() * scale)));
    const int height = std::max(1, int(std::lround(panel.height() * scale)));
    placement.scale = scale;
    // Halves rounded down, also when the panel is wider than the screen.
    const int left = int(std::floor((screen.width() - width) / 2.0));
    const int top = int(std::floor((screen.height() - height) / 2.0));
    placement.area = QRect(left, top, width, height);
    return placement;
}

QPoint PixelAt(QPointF point) { return QPoint(int(std::floor(point.x())), int(std::floor(point.y()))); }

QPoint ToPanel(const PanelPlacement& placement, QPointF screenPoint)
{
    const QRect& area = placement.area;
    if (area.isEmpty())
        return QPoint(-1, -1);
    return PixelAt(QPointF((screenPoint.x() - area.x()) * placement.panel.width() / area.width(),
                           (screenPoint.y() - area.y()) * placement.panel.height() / area.height()));
}
