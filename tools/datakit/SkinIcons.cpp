#include "SkinIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <initializer_list>

namespace {

void Line(QPainter& p, qreal x1, qreal y1, qreal x2, qreal y2) { p.drawLine(QPointF(x1, y1), QPointF(x2, y2)); }

void Poly(QPainter& p, std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& pt : points) {
        if (first)
            path.moveTo(pt);
        else
            path.lineTo(pt);
        first = false;
    }
    p.drawPath(path);
}

void Circle(QPainter& p, qreal cx, qreal cy, qreal r) { p.drawEllipse(QPointF(cx, cy), r, r); }

void FillPath(QPainter& p, const QPainterPath& path)
{
    p.save();
    p.setBrush(p.pen().color());
    p.setPen(Qt::NoPen);
    p.drawPath(path);
    p.restore();
}

void FillCircle(QPainter& p, qreal cx, qreal cy, qreal rx, qreal ry)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    FillPath(p, path);
}

void Glyph(QPainter& p, const QString& text, const QRectF& box, qreal px, bool bold, bool italic, bool underline)
{
    QFont font(QStringLiteral("EB Garamond 12"));
    font.setPixelSize(std::max(1, int(px)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    p.save();
    p.setFont(font);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

void Speaker(QPainter& p)
{
    QPainterPath body;
    body.moveTo(3, 9);
    body.lineTo(7, 9);
    body.lineTo(12, 5);
    body.lineTo(12, 19);
    body.lineTo(7, 15);
    body.lineTo(3, 15);
    body.closeSubpath();
    p.drawPath(body);
}

void MusicNote(QPainter& p)
{
    Poly(p, {{9, 17}, {9, 5}, {19, 3}, {19, 15}});
    FillCircle(p, 6.6, 17.3, 2.9, 2.2);
    FillCircle(p, 16.6, 15.3, 2.9, 2.2);
}

void Mountain(QPainter& p, qreal x, qreal y, qreal w, qreal h)
{
    Poly(p, {{x, y + h},
             {x + w * 0.35, y + h * 0.35},
             {x + w * 0.55, y + h * 0.7},
             {x + w * 0.72, y + h * 0.45},
             {x + w, y + h}});
}

void Arrow(QPainter& p, qreal angleDeg)
{
    p.save();
    p.translate(12, 12);
    p.rotate(angleDeg);
    Poly(p, {{-6, 3.5}, {0, -3}, {6, 3.5}});
    p.restore();
}

void DrawDocumentIcons(QPainter& p, Icon icon)
{
    switch (icon) {
    case Icon::Pages:
        Poly(p, {{9, 6}, {9, 3}, {20, 3}, {20, 18}, {17, 18}});
        p.drawRect(QRectF(4, 6, 13, 15));
        Line(p, 7, 11, 14, 11);
        Line(p, 7, 14, 14, 14);
        Line(p, 7, 17, 11, 17);
        break;
    case Icon::File:
        Poly(p, {{14, 3}, {6, 3}, {6, 21}, {19, 21}, {19, 8}, {14, 3}, {14, 8}, {19, 8}});
        Mountain(p, 8.5, 12.5, 8, 6);
        break;
    case Icon::Text:
        Line(p, 4, 6, 20, 6);
        Line(p, 4, 10, 20, 10);
        Line(p, 4, 14, 20, 14);
        Line(p, 4, 18, 13, 18);
        break;
    case Icon::Layout:
        p.drawRoundedRect(QRectF(3, 4, 18, 16), 1.5, 1.5);
        Line(p, 12, 4, 12, 20);
        Line(p, 12, 12, 21, 12);
        Line(p, 5.5, 8, 9.5, 8);
        Line(p, 5.5, 11, 9.5, 11);
        Line(p, 5.5, 14, 8.5, 14);
        break;
    case Icon::Picture:
        p.drawRoundedRect(QRectF(3, 5, 18, 14), 1.5, 1.5);
        Mountain(p, 3.5, 10, 17, 8.5);
        Circle(p, 16, 9, 1.6);
        break;
    case Icon::Gallery:
        Poly(p, {{7, 8}, {7, 4}, {21, 4}, {21, 15}, {18, 15}});
        p.drawRoundedRect(QRectF(3, 8, 15, 12), 1.2, 1.2);
        Mountain(p, 3.5, 12.5, 14, 7);
        break;
    case Icon::Calendar:
        p.drawRoundedRect(QRectF(3, 5, 18, 16), 1.5, 1.5);
        Line(p, 3, 10, 21, 10);
        Line(p, 8, 3, 8, 7);
        Line(p, 16, 3, 16, 7);
        for (const qreal y : {14.0, 18.0}) {
            for (const qreal x : {8.0, 12.0, 16.0})
                FillCircle(p, x, y, 0.9, 0.9);
        }
        break;
    case Icon::Printer:
        p.drawRect(QRectF(7, 3, 10, 5));
        p.drawRoundedRect(QRectF(3, 8, 18, 9), 1.5, 1.5);
        p.drawRect(QRectF(7, 14, 10, 7));
        Line(p, 9, 17, 15, 17);
        break;
    default: break;
    }
}

void DrawPlaceIcons(QPainter& p, Icon icon)
{
    switch (icon) {
    case Icon::Folder:
        Poly(p, {{3, 19}, {3, 5}, {9, 5}, {11, 8}, {21, 8}, {21, 19}, {3, 19}});
        Line(p, 3, 11, 21, 11);
        break;
    case Icon::Door:
        Poly(p, {{14, 4}, {5, 4}, {5, 20}, {14, 20}});
        Line(p, 10, 12, 21, 12);
        Poly(p, {{17, 8}, {21, 12}, {17, 16}});
        break;
    case Icon::Home:
        Poly(p, {{3, 11}, {12, 3.5}, {21, 11}});
        Poly(p, {{6, 9}, {6, 20}, {18, 20}, {18, 9}});
        Poly(p, {{10, 20}, {10, 14}, {14, 14}, {14, 20}});
        break;
    case Icon::Back:
        Poly(p, {{9, 6}, {4, 11}, {9, 16}});
        Poly(p, {{4, 11}, {14, 11}});
        {
            QPainterPath path;
            path.moveTo(14, 11);
            path.quadTo(20, 11, 20, 16);
            path.lineTo(20, 20);
            p.drawPath(path);
        }
        break;
    case Icon::Chapters:
        Circle(p, 6, 5, 2);
        Poly(p, {{6, 7}, {6, 17}, {11, 17}});
        Line(p, 6, 11, 11, 11);
        p.drawRoundedRect(QRectF(11, 9, 9, 4), 1, 1);
        p.drawRoundedRect(QRectF(11, 15, 9, 4), 1, 1);
        Line(p, 10, 5, 20, 5);
        break;
    case Icon::NewSub:
        Poly(p, {{5, 4}, {5, 11}, {11, 11}});
        Line(p, 16, 11, 16, 21);
        Line(p, 11, 16, 21, 16);
        break;
    default: break;
    }
}

void DrawSoundIcons(QPainter& p, Icon icon)
{
    switch (icon) {
    case Icon::Music: MusicNote(p); break;
    case Icon::NoMusic:
        MusicNote(p);
        Line(p, 3, 3, 21, 21);
        break;
    case Icon::Speaker:
        Speaker(p);
        p.drawArc(QRectF(10, 8, 8, 8), -50 * 16, 100 * 16);
        p.drawArc(QRectF(8, 5, 14, 14), -50 * 16, 100 * 16);
        break;
    case Icon::SpeakerOff:
        Speaker(p);
        Line(p, 15.5, 9, 21, 15);
        Line(p, 21, 9, 15.5, 15);
        break;
    case Icon::SpeakerMuted:
        Speaker(p);
        Line(p, 3, 3, 21, 21);
        break;
    case Icon::Play: {
        QPainterPath path;
        path.moveTo(8, 5);
        path.lineTo(19, 12);
        path.lineTo(8, 19);
        path.closeSubpath();
        FillPath(p, path);
        break;
    }
    case Icon::Stop: {
        QPainterPath path;
        path.addRoundedRect(QRectF(6.5, 6.5, 11, 11), 1.5, 1.5);
        FillPath(p, path);
        break;
    }
    default: break;
    }
}

void DrawObjectIcons(QPainter& p, Icon icon)
{
    switch (icon) {
    case Icon::Disc:
        Circle(p, 12, 12, 9);
        Circle(p, 12, 12, 2.5);
        p.drawArc(QRectF(6, 6, 12, 12), 100 * 16, 70 * 16);
        break;
    case Icon::Label:
        Circle(p, 12, 12, 9);
        Circle(p, 12, 12, 2.2);
        Line(p, 7, 16, 17, 16);
        Line(p, 9, 18.5, 15, 18.5);
        break;
    case Icon::Save:
        p.drawRoundedRect(QRectF(4, 4, 16, 16), 2, 2);
        p.drawRect(QRectF(8, 4, 8, 5));
        p.drawRect(QRectF(7, 13, 10, 7));
        break;
    case Icon::Camera:
        p.drawRoundedRect(QRectF(3, 8, 18, 11), 2, 2);
        Poly(p, {{8, 8}, {9.5, 5}, {14.5, 5}, {16, 8}});
        Circle(p, 12, 13.5, 3.4);
        break;
    case Icon::Scanner:
        p.drawRoundedRect(QRectF(3, 12, 18, 7), 1.5, 1.5);
        Line(p, 3, 11, 19, 5);
        Line(p, 6, 15.5, 13, 15.5);
        break;
    case Icon::Trash:
        Line(p, 4, 7, 20, 7);
        Poly(p, {{9, 7}, {9, 4}, {15, 4}, {15, 7}});
        Poly(p, {{6, 7}, {7, 20}, {17, 20}, {18, 7}});
        Line(p, 10, 10.5, 10, 16.5);
        Line(p, 14, 10.5, 14, 16.5);
        break;
    case Icon::Lock:
        p.drawRoundedRect(QRectF(6, 11, 12, 9), 1.5, 1.5);
        {
            QPainterPath path;
            path.moveTo(9, 11);
            path.lineTo(9, 8);
            path.arcTo(QRectF(9, 4.5, 6, 7), 180, -180);
            path.lineTo(15, 11);
            p.drawPath(path);
        }
        break;
    case Icon::Rings:
        Circle(p, 9, 14, 6);
        Circle(p, 15, 14, 6);
        Poly(p, {{13.5, 6}, {15, 4}, {16.5, 6}, {15, 8}, {13.5, 6}});
        break;
    case Icon::Heart: {
        QPainterPath path;
        path.moveTo(12, 20);
        path.cubicTo(5, 14.5, 2.5, 10.5, 4.8, 7.2);
        path.cubicTo(7, 4.2, 11, 4.8, 12, 8.2);
        path.cubicTo(13, 4.8, 17, 4.2, 19.2, 7.2);
        path.cubicTo(21.5, 10.5, 19, 14.5, 12, 20);
        p.drawPath(path);
        break;
    }
    case Icon::Couple:
        Circle(p, 8.5, 8, 3);
        Circle(p, 15.5, 8, 3);
        {
            QPainterPath path;
            path.moveTo(3, 20);
            path.quadTo(3, 13, 8.5, 13);
            path.quadTo(12, 13, 13, 16);
            path.moveTo(11, 16);
            path.quadTo(12, 13, 15.5, 13);
            path.quadTo(21, 13, 21, 20);
            p.drawPath(path);
        }
        break;
    default: break;
    }
}

void DrawSignIcons(QPainter& p, Icon icon)
{
    switch (icon) {
    case Icon::Plus:
        Line(p, 12, 5, 12, 19);
        Line(p, 5, 12, 19, 12);
        break;
    case Icon::Info:
        Circle(p, 12, 12, 9);
        FillCircle(p, 12, 7.6, 1.2, 1.2);
        Line(p, 12, 11, 12, 17);
        break;
    case Icon::Check: Poly(p, {{5, 12.5}, {10, 17}, {19, 7}}); break;
    case Icon::CrossMark:
        Line(p, 6.5, 6.5, 17.5, 17.5);
        Line(p, 17.5, 6.5, 6.5, 17.5);
        break;
    case Icon::ArrowUp: Arrow(p, 0); break;
    case Icon::ArrowRight: Arrow(p, 90); break;
    case Icon::ArrowDown: Arrow(p, 180); break;
    case Icon::ArrowLeft: Arrow(p, 270); break;
    case Icon::Fullscreen:
        Poly(p, {{4, 9}, {4, 4}, {9, 4}});
        Poly(p, {{15, 4}, {20, 4}, {20, 9}});
        Poly(p, {{20, 15}, {20, 20}, {15, 20}});
        Poly(p, {{9, 20}, {4, 20}, {4, 15}});
        p.drawRect(QRectF(8.5, 8.5, 7, 7));
        break;
    case Icon::Next:
        Line(p, 4, 12, 17, 12);
        Poly(p, {{12, 7}, {17, 12}, {12, 17}});
        Line(p, 20.5, 6, 20.5, 18);
        break;
    case Icon::Undo: {
        Poly(p, {{8, 5}, {4, 9}, {8, 13}});
        QPainterPath path;
        path.moveTo(4, 9);
        path.lineTo(14, 9);
        path.quadTo(20, 9, 20, 14.5);
        path.quadTo(20, 20, 14, 20);
        path.lineTo(9, 20);
        p.drawPath(path);
        break;
    }
    case Icon::Reset: {
        p.drawArc(QRectF(5, 5, 14, 14), 60 * 16, 280 * 16);
        Poly(p, {{15.5, 3.5}, {15.8, 7.3}, {19.5, 6.8}});
        break;
    }
    case Icon::Greyscale: {
        Circle(p, 12, 12, 8.5);
        QPainterPath half;
        half.moveTo(12, 3.5);
        half.arcTo(QRectF(3.5, 3.5, 17, 17), 90, 180);
        half.closeSubpath();
        FillPath(p, half);
        break;
    }
    case Icon::Magic:
        Line(p, 4, 20, 15, 9);
        Line(p, 17, 3, 17, 8);
        Line(p, 14.5, 5.5, 19.5, 5.5);
        Line(p, 20.5, 10, 20.5, 13);
        Line(p, 19, 11.5, 22, 11.5);
        Line(p, 10, 3.5, 10, 6.5);
        Line(p, 8.5, 5, 11.5, 5);
        break;
    case Icon::Eye: {
        QPainterPath path;
        path.moveTo(2, 12);
        path.quadTo(12, 3, 22, 12);
        path.quadTo(12, 21, 2, 12);
        p.drawPath(path);
        Circle(p, 12, 12, 3);
        break;
    }
    case Icon::Pencil:
        Poly(p, {{4, 20}, {5, 15}, {16, 4}, {20, 8}, {9, 19}, {4, 20}});
        Line(p, 14, 6, 18, 10);
        break;
    case Icon::Warning:
        Poly(p, {{12, 3}, {22, 20}, {2, 20}, {12, 3}});
        Line(p, 12, 9, 12, 14);
        FillCircle(p, 12, 17, 1.1, 1.1);
        break;
    default: break;
    }
}

void DrawTypeIcons(QPainter& p, Icon icon)
{
    switch (icon) {
    case Icon::Bold: Glyph(p, QStringLiteral("B"), QRectF(0, 0, 24, 24), 20, true, false, false); break;
    case Icon::Italic: Glyph(p, QStringLiteral("I"), QRectF(0, 0, 24, 24), 21, false, true, false); break;
    case Icon::Underline:
        Glyph(p, QStringLiteral("U"), QRectF(0, -2, 24, 24), 19, false, false, false);
        Line(p, 6.5, 20.5, 17.5, 20.5);
        break;
    case Icon::Larger:
        Glyph(p, QStringLiteral("A"), QRectF(0, 1, 17, 24), 21, false, false, false);
        Line(p, 19, 5, 19, 11);
        Line(p, 16, 8, 22, 8);
        break;
    case Icon::Smaller:
        Glyph(p, QStringLiteral("A"), QRectF(1, 3, 15, 22), 15, false, false, false);
        Line(p, 16, 8, 22, 8);
        break;
    case Icon::Font: Glyph(p, QStringLiteral("Aa"), QRectF(-2, 0, 28, 24), 18, false, true, false); break;
    default: break;
    }
}

} // namespace

void SkinIcons::Draw(QPainter& p, Icon icon, const QRectF& box, const QColor& color, qreal stroke)
{
    if (icon == Icon::None || box.isEmpty())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal scale = std::min(box.width(), box.height()) / 24.0;
    p.translate(box.center().x() - 12 * scale, box.center().y() - 12 * scale);
    p.scale(scale, scale);
    p.setPen(QPen(color, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    DrawDocumentIcons(p, icon);
    DrawPlaceIcons(p, icon);
    DrawSoundIcons(p, icon);
    DrawObjectIcons(p, icon);
    DrawSignIcons(p, icon);
    DrawTypeIcons(p, icon);
    p.restore();
}
