#pragma once
// Where a panel of fixed size goes on a screen. The screens keep every coordinate in panel pixels; on a screen
// larger than the panel the whole panel is shown enlarged to the largest size that fits, keeping its proportions,
// and centred. Points of the screen are mapped back to panel pixels with the same placement, so what is shown
// and where a click lands always agree.

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

struct PanelPlacement {
    QSize panel;        // the panel's own size
    double scale = 1.0; // screen pixels a panel pixel
    QRect area;         // where the panel is shown, in screen pixels (may reach beyond a small screen)
};

// Whether a screen smaller than the panel shows it reduced (the player's page) or at its own size, centred and
// cut off at the edges (the program's screens, which refuse screens smaller than 1024 x 768 anyway).
enum class PanelFit { GrowOnly, GrowAndShrink };

PanelPlacement PlacePanel(QSize screen, QSize panel, PanelFit fit);
// The pixel that holds a point given with fractions, as the pointer over an enlarged panel is: rounding instead
// would move half of every pixel's points to its neighbour.
QPoint PixelAt(QPointF point);
// The panel pixel under a point of the screen; outside the panel for points around it.
QPoint ToPanel(const PanelPlacement& placement, QPointF screenPoint);
