#pragma once
// Paints the decorative pictures of a design (backgrounds, frames, ornaments, buttons) from the list of paint
// layers in its description. Each layer is an object with exactly one operation:
//
//   {"fill": BRUSH}                                   the whole picture
//   {"rect": [x, y, w, h], "radius": r, "fill": BRUSH, "stroke": COLOUR, "width": w}
//   {"ellipse": [x, y, w, h], "fill": BRUSH, "stroke": COLOUR, "width": w}
//   {"line": [x1, y1, x2, y2], "stroke": COLOUR, "width": w}
//   {"border": inset, "stroke": COLOUR, "width": w, "radius": r}
//   {"path": "M 0 0 C ...", "fill": BRUSH, "stroke": COLOUR, "width": w, "at": [x, y], "scale": s,
//    "rotate": degrees, "mirror": "horizontal" | "vertical"}
//   {"ornament": NAME, "at": [cx, cy], "size": s, "colour": COLOUR, "width": w, "rotate": degrees, "mirror": ...,
//    "scale": s or [sx, sy]}
//   {"corners": NAME, "inset": n, "size": s, "colour": COLOUR, "width": w}   the ornament in all four corners
//   {"text": "...", "font": FONT, "px": size, "rect": [x, y, w, h], "colour": COLOUR,
//    "align": "left" | "centre" | "right", "valign": "top" | "middle" | "bottom", "spacing": px}
//                                                    lines break at "\n" only; for italic or bold lettering
//                                                    name a font whose file is italic or bold
//   {"shadow": [x, y, w, h] or inset, "blur": px, "colour": COLOUR, "radius": r, "offset": [dx, dy]}
//   {"grain": amount, "seed": n}                      paper grain (deterministic)
//   {"vignette": strength, "colour": COLOUR}          darker edges
//
// Every layer may carry "opacity" (0 to 1). COLOUR is "#rrggbb", "#rrggbbaa" or a name of the design's colour
// table; BRUSH is a COLOUR or a gradient {"linear": [x1, y1, x2, y2] or "radial": [cx, cy, r],
// "stops": [[position, COLOUR], ...]}. FONT is the identifier of one of the design's fonts, whose file's bytes
// the painter is given.

#include "JsonCursor.h"

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <initializer_list>
#include <map>
#include <string>

class QPainter;

class DecorationPainter {
public:
    DecorationPainter(std::map<std::string, QColor> palette, std::map<std::string, QByteArray> fontData, QColor base);

    // A picture of the size, filled with the base colour and painted with the layers in order.
    QImage Paint(const JsonCursor& layers, QSize size) const;
    QColor Colour(const JsonCursor& value) const;
    QBrush Brush(const JsonCursor& value) const;

private:
    void PaintLayer(QImage& image, const JsonCursor& layer) const;
    void PaintShape(QPainter& painter, const JsonCursor& layer, const std::string& op) const;
    void PaintPath(QPainter& painter, const JsonCursor& layer) const;
    void PaintOrnament(QPainter& painter, const JsonCursor& layer) const;
    void PaintCorners(QPainter& painter, const JsonCursor& layer, QSize size) const;
    std::string OrnamentName(const JsonCursor& value) const;
    void DrawOrnament(QPainter& painter, const std::string& name, const QColor& colour, double width) const;
    void PaintText(QPainter& painter, const JsonCursor& layer) const;
    // The value of the key (or the fallback), which must be one of the choices.
    std::string Choice(const JsonCursor& layer, const char* key, const std::string& fallback,
                       std::initializer_list<const char*> choices) const;
    void PaintShadow(QPainter& painter, const JsonCursor& layer) const;
    void PaintVignette(QPainter& painter, const JsonCursor& layer, QSize size) const;
    void ApplyGrain(QImage& image, const JsonCursor& layer) const;
    QRectF Box(const JsonCursor& value) const;
    void ApplyTransform(QPainter& painter, const JsonCursor& layer, double unitScale) const;

    std::map<std::string, QColor> m_palette;
    std::map<std::string, QByteArray> m_fontData;
    QColor m_base;
};
