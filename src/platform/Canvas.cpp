#include "platform/Canvas.h"

#include "platform/Bitmap.h"
#include "platform/Text.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// A painter on a bitmap. QPainter cannot paint on 8-bit palette images, so those are painted as a 32-bit copy
// that goes back to the nearest palette entries when the session ends.
class PaintSession {
public:
    explicit PaintSession(Bitmap& target) : m_target(target), m_indexed(target.Format() == PixelFormat::pf8bit)
    {
        if (m_indexed)
            m_work = target.Image().convertToFormat(QImage::Format_RGB32);
        m_painter.begin(m_indexed ? &m_work : &target.Image());
        m_painter.setRenderHint(QPainter::Antialiasing, false);
    }

    ~PaintSession()
    {
        m_painter.end();
        if (!m_indexed)
            return;
        try {
            m_target.Image() = ConvertImage(m_work, PixelFormat::pf8bit, m_target.Image().colorTable());
        } catch (...) {
            // Out of memory while converting back: the bitmap keeps its old pixels.
        }
    }

    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;

    QPainter& Painter() { return m_painter; }

private:
    Bitmap& m_target;
    bool m_indexed;
    QImage m_work;
    QPainter m_painter;
};

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// The pixels of a one-pixel line from one point to another, the end point excluded.
std::vector<QPoint> LinePixels(TPoint from, TPoint to)
{
    std::vector<QPoint> points;
    const int dx = std::abs(to.X - from.X);
    const int dy = -std::abs(to.Y - from.Y);
    const int sx = from.X < to.X ? 1 : -1;
    const int sy = from.Y < to.Y ? 1 : -1;
    int error = dx + dy;
    int x = from.X;
    int y = from.Y;
    while (x != to.X || y != to.Y) {
        points.emplace_back(x, y);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    return points;
}

} // namespace

int PointsToPixels(int pointSize)
{
    const int pixels = static_cast<int>(std::lround(std::abs(static_cast<double>(pointSize)) * 96.0 / 72.0));
    return std::max(1, pixels);
}

QFont MakeQFont(const std::string& name, int pointSize, int style)
{
    QFont font(ToDisplay(name));
    font.setPixelSize(PointsToPixels(pointSize));
    font.setBold((style & fsBold) != 0);
    font.setItalic((style & fsItalic) != 0);
    font.setUnderline((style & fsUnderline) != 0);
    return font;
}

Canvas::Canvas(Bitmap& target) : m_target(target) {}

void Canvas::AssignState(const Canvas& other)
{
    m_brushColor = other.m_brushColor;
    m_brushStyle = other.m_brushStyle;
    m_penColor = other.m_penColor;
    m_penWidth = other.m_penWidth;
    m_penStyle = other.m_penStyle;
    m_font = other.m_font;
    m_penPosition = other.m_penPosition;
    m_shownScale = other.m_shownScale;
}

void Canvas::FillRect(const TRect& rect)
{
    if (m_brushStyle == BrushStyle::Clear || rect.Width() <= 0 || rect.Height() <= 0 || m_target.IsEmpty())
        return;
    if (m_target.Format() != PixelFormat::pf8bit) {
        PaintSession session(m_target);
        session.Painter().fillRect(ToQRect(rect), ToQColor(m_brushColor));
        return;
    }
    // Palette bitmaps get the palette entry itself, not a colour that went through a 32-bit copy.
    const QRect area = ToQRect(rect).intersected(QRect(0, 0, m_target.Width(), m_target.Height()));
    Bitmap probe(1, 1, PixelFormat::pf8bit);
    probe.Image().setColorTable(m_target.Image().colorTable());
    probe.SetPixel(0, 0, m_brushColor);
    const uint8_t index = probe.ScanLine(0)[0];
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memset(m_target.ScanLine(y) + area.left(), index, static_cast<size_t>(area.width()));
}

void Canvas::Rectangle(const TRect& rect)
{
    if (rect.Width() <= 0 || rect.Height() <= 0 || m_target.IsEmpty())
        return;
    FillRect(rect);
    if (m_penStyle == PenStyle::Clear)
        return;
    const TPoint corners[4] = {{rect.Left, rect.Top},
                               {rect.Right - 1, rect.Top},
                               {rect.Right - 1, rect.Bottom - 1},
                               {rect.Left, rect.Bottom - 1}};
    if (m_penWidth > 1) {
        PaintSession session(m_target);
        QPainter& painter = session.Painter();
        QPen pen(ToQColor(m_penColor), m_penWidth, m_penStyle == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect.Left + 0.5, rect.Top + 0.5, rect.Width() - 1, rect.Height() - 1));
        return;
    }
    std::vector<QPoint> outline;
    for (int i = 0; i < 4; ++i) {
        const std::vector<QPoint> side = LinePixels(corners[i], corners[(i + 1) % 4]);
        outline.insert(outline.end(), side.begin(), side.end());
    }
    if (outline.empty())
        outline.emplace_back(rect.Left, rect.Top);
    DrawPixels(outline);
}

void Canvas::MoveTo(int x, int y) { m_penPosition = TPoint{x, y}; }

void Canvas::LineTo(int x, int y)
{
    const TPoint from = m_penPosition;
    m_penPosition = TPoint{x, y};
    if (m_penStyle == PenStyle::Clear || m_target.IsEmpty())
        return;
    if (m_penWidth <= 1) {
        DrawPixels(LinePixels(from, m_penPosition));
        return;
    }
    PaintSession session(m_target);
    QPainter& painter = session.Painter();
    painter.setPen(QPen(ToQColor(m_penColor), m_penWidth, m_penStyle == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(QPointF(from.X + 0.5, from.Y + 0.5), QPointF(x + 0.5, y + 0.5));
}

// One-pixel pens: the dotted style sets every other pixel along the figure, starting with the first.
void Canvas::DrawPixels(const std::vector<QPoint>& points)
{
    if (points.empty())
        return;
    std::vector<QPoint> shown;
    for (size_t i = 0; i < points.size(); ++i)
        if (m_penStyle != PenStyle::Dot || i % 2 == 0)
            shown.push_back(points[i]);
    PaintSession session(m_target);
    session.Painter().setPen(QPen(ToQColor(m_penColor), 1));
    session.Painter().drawPoints(shown.data(), static_cast<int>(shown.size()));
}

void Canvas::StretchDraw(const TRect& rect, const Bitmap& source)
{
    if (rect.Width() <= 0 || rect.Height() <= 0 || source.IsEmpty() || m_target.IsEmpty())
        return;
    const QRect target = ToQRect(rect);
    // Bilinear sampling skips pixels when shrinking a lot; averaging first keeps photographs free of noise.
    if (target.width() * 2 <= source.Width() && target.height() * 2 <= source.Height()) {
        const QImage shrunk = source.Image().scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        PaintSession session(m_target);
        session.Painter().drawImage(target.topLeft(), shrunk);
        return;
    }
    PaintSession session(m_target);
    // On a bitmap seen at half its size or less, the reduction averages the pixels anyway: enlarging needs no
    // smoothing there.
    session.Painter().setRenderHint(QPainter::SmoothPixmapTransform, m_shownScale > 0.5);
    session.Painter().drawImage(target, source.Image());
}

void Canvas::Draw(int x, int y, const Bitmap& source)
{
    if (source.IsEmpty() || m_target.IsEmpty())
        return;
    if (&source == &m_target) {
        const Bitmap copy(source.Image().copy());
        Draw(x, y, copy);
        return;
    }
    PaintSession session(m_target);
    session.Painter().setCompositionMode(QPainter::CompositionMode_Source);
    session.Painter().drawImage(QPoint(x, y), source.Image());
}

void Canvas::TextOut(int x, int y, std::string_view text) { DrawText(nullptr, x, y, text); }

void Canvas::TextRect(const TRect& clip, int x, int y, std::string_view text) { DrawText(&clip, x, y, text); }

void Canvas::DrawText(const TRect* clip, int x, int y, std::string_view text)
{
    if (text.empty() || m_target.IsEmpty() || (clip && (clip->Width() <= 0 || clip->Height() <= 0)))
        return;
    const QString shown = ToDisplay(text);
    const QFont font = MakeQFont(m_font.name, m_font.size, m_font.style);
    const QFontMetrics metrics(font);
    PaintSession session(m_target);
    QPainter& painter = session.Painter();
    if (clip)
        painter.setClipRect(ToQRect(*clip));
    if (m_brushStyle == BrushStyle::Solid)
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(shown), metrics.height()), ToQColor(m_brushColor));
    painter.setFont(font);
    painter.setPen(ToQColor(m_font.color));
    painter.drawText(QPoint(x, y + metrics.ascent()), shown);
}

int Canvas::TextWidth(std::string_view text) const
{
    return QFontMetrics(MakeQFont(m_font.name, m_font.size, m_font.style)).horizontalAdvance(ToDisplay(text));
}

int Canvas::TextHeight(std::string_view text) const
{
    return QFontMetrics(MakeQFont(m_font.name, m_font.size, m_font.style)).height();
}

void Canvas::CopyRect(const TRect& dest, const Bitmap& source, const TRect& sourceRect)
{
    if (dest.Width() <= 0 || dest.Height() <= 0 || sourceRect.Width() <= 0 || sourceRect.Height() <= 0 ||
        source.IsEmpty() || m_target.IsEmpty())
        return;
    if (&source == &m_target) {
        const Bitmap copy(source.Image().copy());
        CopyRect(dest, copy, sourceRect);
        return;
    }
    PaintSession session(m_target);
    session.Painter().setCompositionMode(QPainter::CompositionMode_Source);
    session.Painter().drawImage(ToQRect(dest), source.Image(), ToQRect(sourceRect));
}

void Canvas::BitBlt(int x, int y, int width, int height, const Bitmap& source, int sourceX, int sourceY, RasterOp op)
{
    const int left = std::max({0, -x, -sourceX});
    const int top = std::max({0, -y, -sourceY});
    const int right = std::min({width, m_target.Width() - x, source.Width() - sourceX});
    const int bottom = std::min({height, m_target.Height() - y, source.Height() - sourceY});
    if (right <= left || bottom <= top)
        return;
    const QImage block = ConvertImage(source.Image().copy(sourceX + left, sourceY + top, right - left, bottom - top),
                                      m_target.Format(), m_target.Image().colorTable());
    const int bytesPerPixel = m_target.BytesPerPixel();
    const size_t rowBytes = static_cast<size_t>(right - left) * static_cast<size_t>(bytesPerPixel);
    for (int row = 0; row < bottom - top; ++row) {
        const uint8_t* in = block.constScanLine(row);
        uint8_t* out = m_target.ScanLine(y + top + row) + static_cast<ptrdiff_t>(x + left) * bytesPerPixel;
        if (op == RasterOp::SrcCopy)
            std::memcpy(out, in, rowBytes);
        else if (op == RasterOp::SrcAnd)
            for (size_t i = 0; i < rowBytes; ++i)
                out[i] &= in[i];
        else
            for (size_t i = 0; i < rowBytes; ++i)
                out[i] |= in[i];
    }
}
