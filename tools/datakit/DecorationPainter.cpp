#include "DecorationPainter.h"

#include "Ornament.h"
#include "VectorPath.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace {

const char* const kOperations[] = {"text",    "shadow", "ornament", "corners",  "path", "line",
                                   "ellipse", "border", "grain",    "vignette", "rect", "fill"};

QPen StrokePen(const QColor& colour, double width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// Three box blurs approximate a Gaussian. The image is premultiplied ARGB; each pass keeps a running sum over a
// window of 2 * radius + 1 pixels along a row or a column.
void BlurLine(const QRgb* in, QRgb* out, int length, int stride, int radius)
{
    int sum[4] = {0, 0, 0, 0};
    auto add = [&](int index, int sign) {
        const QRgb p = in[static_cast<ptrdiff_t>(std::clamp(index, 0, length - 1)) * stride];
        sum[0] += sign * qAlpha(p);
        sum[1] += sign * qRed(p);
        sum[2] += sign * qGreen(p);
        sum[3] += sign * qBlue(p);
    };
    const int window = 2 * radius + 1;
    for (int k = -radius; k <= radius; ++k)
        add(k, 1);
    for (int i = 0; i < length; ++i) {
        out[static_cast<ptrdiff_t>(i) * stride] =
            qRgba(sum[1] / window, sum[2] / window, sum[3] / window, sum[0] / window);
        add(i - radius, -1);
        add(i + radius + 1, 1);
    }
}

void BoxBlur(QImage& image, int radius)
{
    if (radius < 1)
        return;
    const int w = image.width();
    const int h = image.height();
    const int stride = static_cast<int>(image.bytesPerLine() / 4);
    QImage copy = image.copy();
    auto* dst = reinterpret_cast<QRgb*>(image.bits());
    auto* src = reinterpret_cast<QRgb*>(copy.bits());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            BlurLine(dst + static_cast<ptrdiff_t>(y) * stride, src + static_cast<ptrdiff_t>(y) * stride, w, 1, radius);
        for (int x = 0; x < w; ++x)
            BlurLine(src + x, dst + x, h, stride, radius);
    }
}

} // namespace

DecorationPainter::DecorationPainter(std::map<std::string, QColor> palette, std::map<std::string, QByteArray> fontData,
                                     QColor base)
    : m_palette(std::move(palette)), m_fontData(std::move(fontData)), m_base(base)
{}

QColor DecorationPainter::Colour(const JsonCursor& value) const
{
    const std::string text = value.String();
    if (!text.empty() && text[0] == '#') {
        const bool validLength = text.size() == 7 || text.size() == 9;
        const bool hex = text.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
        if (!validLength || !hex)
            value.Fail("the colour \"" + text + "\" is not of the form #rrggbb or #rrggbbaa");
        const unsigned long rgb = std::stoul(text.substr(1, 6), nullptr, 16);
        const int alpha = text.size() == 9 ? static_cast<int>(std::stoul(text.substr(7, 2), nullptr, 16)) : 255;
        return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                      static_cast<int>(rgb & 0xFF), alpha);
    }
    const auto found = m_palette.find(text);
    if (found == m_palette.end())
        value.Fail("\"" + text + "\" is neither a colour #rrggbb nor a name of the colour table");
    return found->second;
}

QBrush DecorationPainter::Brush(const JsonCursor& value) const
{
    if (value.IsString())
        return QBrush(Colour(value));
    value.AllowOnly({"linear", "radial", "stops"});
    QGradientStops stops;
    for (const JsonCursor& stop : value.Field("stops").Items()) {
        const std::vector<JsonCursor> parts = stop.Items();
        if (parts.size() != 2)
            stop.Fail("a gradient stop is [position, colour]");
        stops.append({parts[0].Number(0, 1), Colour(parts[1])});
    }
    if (stops.size() < 2)
        value.Fail("a gradient needs at least two stops");
    if (const auto linear = value.Optional("linear")) {
        const std::vector<double> v = linear->Numbers(4);
        QLinearGradient gradient(v[0], v[1], v[2], v[3]);
        gradient.setStops(stops);
        return QBrush(gradient);
    }
    if (const auto radial = value.Optional("radial")) {
        const std::vector<double> v = radial->Numbers(3);
        QRadialGradient gradient(v[0], v[1], v[2]);
        gradient.setStops(stops);
        return QBrush(gradient);
    }
    value.Fail("a gradient is \"linear\": [x1, y1, x2, y2] or \"radial\": [cx, cy, r]");
}

QRectF DecorationPainter::Box(const JsonCursor& value) const
{
    const std::vector<double> v = value.Numbers(4);
    if (v[2] < 0 || v[3] < 0)
        value.Fail("width and height must not be negative");
    return QRectF(v[0], v[1], v[2], v[3]);
}

QImage DecorationPainter::Paint(const JsonCursor& layers, QSize size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(m_base);
    for (const JsonCursor& layer : layers.Items())
        PaintLayer(image, layer);
    return image;
}

void DecorationPainter::PaintLayer(QImage& image, const JsonCursor& layer) const
{
    // The first operation key in this order names the operation: some operations use another's key for a part
    // ("text" and "rect" for its box, shapes "fill" for their inside). Keys an operation does not know are
    // refused by its own check, so two operations in one layer still end in an error.
    std::string op;
    for (const char* candidate : kOperations) {
        if (layer.Has(candidate)) {
            op = candidate;
            break;
        }
    }
    if (op.empty())
        layer.Fail("a layer needs one operation: fill, rect, ellipse, line, border, path, ornament, corners, text, "
                   "shadow, grain or vignette");
    if (op == "grain") {
        ApplyGrain(image, layer);
        return;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(layer.Number("opacity", 1.0, 0.0, 1.0));
    if (op == "fill") {
        layer.AllowOnly({"fill", "opacity"});
        painter.fillRect(image.rect(), Brush(layer.Field("fill")));
    } else if (op == "path") {
        PaintPath(painter, layer);
    } else if (op == "ornament") {
        PaintOrnament(painter, layer);
    } else if (op == "text") {
        PaintText(painter, layer);
    } else if (op == "shadow") {
        PaintShadow(painter, layer);
    } else if (op == "vignette") {
        PaintVignette(painter, layer, image.size());
    } else if (op == "corners") {
        PaintCorners(painter, layer, image.size());
    } else {
        PaintShape(painter, layer, op);
    }
}

void DecorationPainter::PaintShape(QPainter& painter, const JsonCursor& layer, const std::string& op) const
{
    const QBrush brush = layer.Has("fill") ? Brush(layer.Field("fill")) : QBrush(Qt::NoBrush);
    const double width = layer.Number("width", 1.0, 0.0, 200.0);
    const QPen pen = layer.Has("stroke") ? StrokePen(Colour(layer.Field("stroke")), width) : QPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.setPen(pen);
    if (op == "rect") {
        layer.AllowOnly({"rect", "radius", "fill", "stroke", "width", "opacity"});
        const double radius = layer.Number("radius", 0.0, 0.0, 10000.0);
        painter.drawRoundedRect(Box(layer.Field("rect")), radius, radius);
    } else if (op == "ellipse") {
        layer.AllowOnly({"ellipse", "fill", "stroke", "width", "opacity"});
        painter.drawEllipse(Box(layer.Field("ellipse")));
    } else if (op == "line") {
        layer.AllowOnly({"line", "stroke", "width", "opacity"});
        if (!layer.Has("stroke"))
            layer.Fail("a line needs a \"stroke\" colour");
        const std::vector<double> v = layer.Field("line").Numbers(4);
        painter.drawLine(QPointF(v[0], v[1]), QPointF(v[2], v[3]));
    } else if (op == "border") {
        layer.AllowOnly({"border", "stroke", "width", "radius", "opacity"});
        if (!layer.Has("stroke"))
            layer.Fail("a border needs a \"stroke\" colour");
        const double inset = layer.Field("border").Number(0, 10000) + width / 2;
        const QRectF box =
            QRectF(0, 0, painter.device()->width(), painter.device()->height()).adjusted(inset, inset, -inset, -inset);
        const double radius = layer.Number("radius", 0.0, 0.0, 10000.0);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box, radius, radius);
    }
}

void DecorationPainter::ApplyTransform(QPainter& painter, const JsonCursor& layer, double unitScale) const
{
    if (const auto at = layer.Optional("at")) {
        const std::vector<double> v = at->Numbers(2);
        painter.translate(v[0], v[1]);
    }
    painter.rotate(layer.Number("rotate", 0.0, -360.0, 360.0));
    double sx = unitScale;
    double sy = unitScale;
    if (const auto scale = layer.Optional("scale")) {
        if (scale->IsNumber()) {
            sx *= scale->Number(0.001, 1000);
            sy *= scale->Number(0.001, 1000);
        } else {
            const std::vector<double> v = scale->Numbers(2);
            sx *= v[0];
            sy *= v[1];
        }
    }
    const std::string mirror = layer.String("mirror", "none");
    if (mirror == "horizontal")
        sx = -sx;
    else if (mirror == "vertical")
        sy = -sy;
    else if (mirror != "none")
        layer.Field("mirror").Fail("mirror is \"horizontal\", \"vertical\" or \"none\"");
    painter.scale(sx, sy);
}

void DecorationPainter::PaintPath(QPainter& painter, const JsonCursor& layer) const
{
    layer.AllowOnly({"path", "fill", "stroke", "width", "opacity", "at", "scale", "rotate", "mirror"});
    QPainterPath path;
    std::string error;
    if (!VectorPath::Parse(layer.Field("path").String(), path, error))
        layer.Field("path").Fail(error);
    if (!layer.Has("fill") && !layer.Has("stroke"))
        layer.Fail("a path needs a \"fill\" or a \"stroke\"");
    ApplyTransform(painter, layer, 1.0);
    painter.setBrush(layer.Has("fill") ? Brush(layer.Field("fill")) : QBrush(Qt::NoBrush));
    painter.setPen(layer.Has("stroke")
                       ? StrokePen(Colour(layer.Field("stroke")), layer.Number("width", 1.0, 0.0, 200.0))
                       : QPen(Qt::NoPen));
    painter.drawPath(path);
}

void DecorationPainter::PaintOrnament(QPainter& painter, const JsonCursor& layer) const
{
    layer.AllowOnly({"ornament", "at", "size", "colour", "width", "rotate", "mirror", "opacity", "scale"});
    const std::string name = OrnamentName(layer.Field("ornament"));
    if (!layer.Has("at"))
        layer.Fail("an ornament needs \"at\": [cx, cy], the place of its centre");
    const double size = layer.Field("size").Number(1, 5000);
    ApplyTransform(painter, layer, size / 100.0);
    DrawOrnament(painter, name, Colour(layer.Field("colour")), layer.Number("width", 2.0, 0.1, 100.0) * 100.0 / size);
}

std::string DecorationPainter::OrnamentName(const JsonCursor& value) const
{
    const std::string name = value.String();
    if (!Ornament::Has(name)) {
        std::string known;
        for (const std::string& n : Ornament::Names())
            known += (known.empty() ? "" : ", ") + n;
        value.Fail("unknown ornament \"" + name + "\" (known: " + known + ")");
    }
    return name;
}

// Draws the ornament's 100 x 100 box centred on the painter's origin; the stroke width is in box units.
void DecorationPainter::DrawOrnament(QPainter& painter, const std::string& name, const QColor& colour,
                                     double width) const
{
    painter.translate(-50, -50);
    const OrnamentShape shape = Ornament::Shape(name);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(shape.fill);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(StrokePen(colour, width));
    painter.drawPath(shape.stroke);
}

// The same ornament in all four corners, drawn for the top-left one and mirrored for the others, so a frame
// of any size can be decorated without coordinates.
void DecorationPainter::PaintCorners(QPainter& painter, const JsonCursor& layer, QSize size) const
{
    layer.AllowOnly({"corners", "inset", "size", "colour", "width", "opacity"});
    const std::string name = OrnamentName(layer.Field("corners"));
    const double box = layer.Field("size").Number(1, 5000);
    const double centre = layer.Number("inset", 0.0, -1000.0, 1000.0) + box / 2;
    const QColor colour = Colour(layer.Field("colour"));
    const double width = layer.Number("width", 2.0, 0.1, 100.0) * 100.0 / box;
    const double mirrors[4][2] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    for (const auto& mirror : mirrors) {
        painter.save();
        painter.translate(mirror[0] > 0 ? centre : size.width() - centre,
                          mirror[1] > 0 ? centre : size.height() - centre);
        painter.scale(mirror[0] * box / 100.0, mirror[1] * box / 100.0);
        DrawOrnament(painter, name, colour, width);
        painter.restore();
    }
}

namespace {

// One line of lettering as outlines, its left end at x and its baseline at y; returns its width.
double AddLine(QPainterPath& outlines, const QRawFont& font, const QString& line, double spacing, double x, double y,
               bool measureOnly)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(line);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    double width = 0;
    for (qsizetype g = 0; g < glyphs.size(); ++g) {
        if (!measureOnly)
            outlines.addPath(font.pathForGlyph(glyphs[g]).translated(x + width, y));
        width += advances[g].x() + spacing;
    }
    return width;
}

} // namespace

std::string DecorationPainter::Choice(const JsonCursor& layer, const char* key, const std::string& fallback,
                                      std::initializer_list<const char*> choices) const
{
    const std::string value = layer.String(key, fallback);
    std::string list;
    for (const char* choice : choices) {
        if (value == choice)
            return value;
        list += (list.empty() ? "\"" : ", \"") + std::string(choice) + "\"";
    }
    layer.Field(key).Fail(std::string(key) + " is one of " + list);
}

// Text is drawn as outlines of the design's own font file (not through the font database and the glyph cache),
// so the same description always gives the same pixels, whatever fonts the system has and whatever was drawn
// before in the process. Lines break only at "\n".
void DecorationPainter::PaintText(QPainter& painter, const JsonCursor& layer) const
{
    layer.AllowOnly({"text", "font", "px", "rect", "colour", "align", "valign", "spacing", "opacity"});
    const std::string fontId = layer.Field("font").String();
    const auto data = m_fontData.find(fontId);
    if (data == m_fontData.end())
        layer.Field("font").Fail("\"" + fontId + "\" is not one of the design's fonts");
    const QRawFont font(data->second, layer.Field("px").Int(4, 1000));
    if (!font.isValid())
        layer.Field("font").Fail("the font \"" + fontId + "\" cannot be read");
    const double spacing = layer.Number("spacing", 0.0, -20.0, 100.0);
    const std::string align = Choice(layer, "align", "centre", {"left", "centre", "right"});
    const std::string valign = Choice(layer, "valign", "middle", {"top", "middle", "bottom"});
    const QRectF box = Box(layer.Field("rect"));
    const QStringList lines = QString::fromStdString(layer.Field("text").String()).split(QLatin1Char('\n'));
    const double lineHeight = font.ascent() + font.descent() + font.leading();
    const double height = font.ascent() + font.descent() + (lines.size() - 1) * lineHeight;
    const double free = box.height() - height;
    const double top = box.top() + (valign == "top" ? 0 : valign == "middle" ? free / 2 : free);
    QPainterPath outlines;
    for (int i = 0; i < lines.size(); ++i) {
        const double room = box.width() - AddLine(outlines, font, lines[i], spacing, 0, 0, true);
        const double left = box.left() + (align == "left" ? 0 : align == "centre" ? room / 2 : room);
        AddLine(outlines, font, lines[i], spacing, left, top + font.ascent() + i * lineHeight, false);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Colour(layer.Field("colour")));
    painter.drawPath(outlines);
}

void DecorationPainter::PaintShadow(QPainter& painter, const JsonCursor& layer) const
{
    layer.AllowOnly({"shadow", "blur", "colour", "radius", "offset", "opacity"});
    // A number instead of a rectangle insets the shadow from the picture's edges, for pictures of any size.
    QRectF box;
    const JsonCursor place = layer.Field("shadow");
    if (place.IsNumber()) {
        const double inset = place.Number(0, 10000);
        box = QRectF(inset, inset, painter.device()->width() - 2 * inset, painter.device()->height() - 2 * inset);
    } else {
        box = Box(place);
    }
    const int blur = layer.Int("blur", 8, 0, 100);
    const double radius = layer.Number("radius", 0.0, 0.0, 10000.0);
    QPointF offset(0, 0);
    if (const auto o = layer.Optional("offset")) {
        const std::vector<double> v = o->Numbers(2);
        offset = QPointF(v[0], v[1]);
    }
    const int margin = 2 * blur + 2;
    QImage shadow(QSize(int(box.width()) + 2 * margin, int(box.height()) + 2 * margin),
                  QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    {
        QPainter sp(&shadow);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.setPen(Qt::NoPen);
        sp.setBrush(Colour(layer.Field("colour")));
        sp.drawRoundedRect(QRectF(margin, margin, box.width(), box.height()), radius, radius);
    }
    BoxBlur(shadow, blur / 2);
    painter.drawImage(box.topLeft() + offset - QPointF(margin, margin), shadow);
}

void DecorationPainter::PaintVignette(QPainter& painter, const JsonCursor& layer, QSize size) const
{
    layer.AllowOnly({"vignette", "colour", "opacity"});
    const double strength = layer.Field("vignette").Number(0, 1);
    QColor edge = Colour(layer.Field("colour"));
    edge.setAlphaF(static_cast<float>(strength));
    QColor centre = edge;
    centre.setAlpha(0);
    const QPointF middle(size.width() / 2.0, size.height() / 2.0);
    QRadialGradient gradient(middle, std::hypot(middle.x(), middle.y()));
    gradient.setColorAt(0.0, centre);
    gradient.setColorAt(0.55, centre);
    gradient.setColorAt(1.0, edge);
    painter.fillRect(QRect(QPoint(0, 0), size), gradient);
}

void DecorationPainter::ApplyGrain(QImage& image, const JsonCursor& layer) const
{
    layer.AllowOnly({"grain", "seed", "opacity"});
    const int amount = layer.Field("grain").Int(0, 64);
    uint32_t state = static_cast<uint32_t>(layer.Int("seed", 1, 0, 1 << 30)) * 2654435761u + 1u;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int delta = static_cast<int>((state >> 24) % static_cast<uint32_t>(2 * amount + 1)) - amount;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + delta, 0, 255), std::clamp(qGreen(p) + delta, 0, 255),
                           std::clamp(qBlue(p) + delta, 0, 255));
        }
    }
}
