#pragma once
// A screen as the skin painter sees it: the art that never changes (backdrop, cards, headings) plus the controls
// at their places in the geometry table, each of which can be drawn in any look. Every skin picture is a
// rectangle cut out of such a scene, so a hover image shows exactly what lies under it with only its own
// control changed, and overlays fit their backdrop without a seam.

#include "SkinStyle.h"
#include "screens/ScreenGeometry.h"

#include <QImage>
#include <QSize>

#include <functional>
#include <map>
#include <string>
#include <vector>

using ControlDrawer = std::function<void(QPainter&, const QRectF&, Look)>;
using LookOverrides = std::map<std::string, Look>;

struct SkinControl {
    std::string name;
    Geometry::ControlRect rect;
    ControlDrawer draw;
    Look look = Look::Passive; // how the scene shows it unless told otherwise
};

class SkinScene {
public:
    SkinScene(QSize size, std::function<void(QPainter&)> base);

    SkinScene& Add(const std::string& name, const Geometry::ControlRect& rect, ControlDrawer draw,
                   Look look = Look::Passive);

    QImage Render(const LookOverrides& overrides = {}) const;
    // The rectangle of the scene rendered with the given looks.
    QImage Cut(const Geometry::ControlRect& rect, const LookOverrides& overrides = {}) const;
    // The named control's own rectangle with that control shown in `look`.
    QImage Picture(const std::string& control, Look look) const;
    const SkinControl& Control(const std::string& name) const;
    const std::vector<SkinControl>& Controls() const { return m_controls; }
    QSize Size() const { return m_size; }

    static QImage Crop(const QImage& image, const Geometry::ControlRect& rect);
    static QRectF ToRectF(const Geometry::ControlRect& rect);
    static ControlDrawer Button(const ButtonFace& face, Surface surface);

private:
    QSize m_size;
    std::function<void(QPainter&)> m_base;
    std::vector<SkinControl> m_controls;
};
