#include "SkinStyle.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace {

const char* const kScriptFamily = "Dancing Script";
const char* const kSerifFamily = "EB Garamond 12";
const char* const kSansFamily = "Lato";

// Where Debian puts the OFL fonts; only used when fontconfig does not already offer the families.
const char* const kFontFiles[] = {
    "/usr/share/fonts/opentype/dancingscript/DancingScript-Bold.otf",
    "/usr/share/fonts/opentype/dancingscript/DancingScript-Regular.otf",
    "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Regular.otf",
    "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Italic.otf",
    "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Bold.otf",
    "/usr/share/fonts/truetype/lato/Lato-Regular.ttf",
    "/usr/share/fonts/truetype/lato/Lato-Bold.ttf",
    "/usr/share/fonts/truetype/lato/Lato-Semibold.ttf",
    "/usr/share/fonts/truetype/lato/Lato-Italic.ttf",
};

QFont MakeFont(const char* family, qreal px)
{
    SkinStyle::EnsureFonts();
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(std::max(1, qRound(px)));
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QColor WithAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

void DrawSoftShadow(QPainter& p, const QRectF& r, qreal radius)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 10));
        p.drawRoundedRect(r.adjusted(-i + 1, -i + 3, i + 1, i + 3), radius + i, radius + i);
    }
    p.restore();
}

struct ButtonColors {
    QColor top;
    QColor bottom;
    QColor border;
};

ButtonColors FillFor(Look look, Surface surface, bool primary, bool silver)
{
    switch (look) {
    case Look::Active:
        if (silver)
            return {SkinColor::SilverLight, SkinColor::Silver, QColor(0x7e, 0x86, 0x90)};
        return {SkinColor::GoldPale, SkinColor::Gold, SkinColor::GoldDark};
    case Look::Greyed:
        if (surface == Surface::Dark)
            return {SkinColor::GreyDarkFill, SkinColor::GreyDarkFill, SkinColor::GreyDarkLine};
        return {SkinColor::GreyLightFill, SkinColor::GreyLightFill, SkinColor::GreyLightLine};
    case Look::Current: return {SkinColor::IvoryLight, SkinColor::Ivory, SkinColor::Gold};
    default: break;
    }
    if (silver)
        return {SkinColor::Night3, SkinColor::Night2, WithAlpha(SkinColor::Silver, 190)};
    if (surface == Surface::Dark && primary)
        return {QColor(0x4a, 0x3f, 0x35), SkinColor::Night3, SkinColor::GoldLight};
    if (surface == Surface::Dark || primary)
        return {SkinColor::Night3, SkinColor::Night2, primary ? SkinColor::GoldDark : WithAlpha(SkinColor::Gold, 190)};
    return {SkinColor::Paper, SkinColor::IvoryLight, WithAlpha(SkinColor::Gold, 220)};
}

} // namespace

void SkinStyle::EnsureFonts()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QStringList families = QFontDatabase::families();
    if (families.contains(QString::fromLatin1(kScriptFamily)) && families.contains(QString::fromLatin1(kSerifFamily)) &&
        families.contains(QString::fromLatin1(kSansFamily)))
        return;
    for (const char* file : kFontFiles)
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
}

QFont SkinStyle::Script(qreal px)
{
    QFont font = MakeFont(kScriptFamily, px);
    font.setBold(true);
    return font;
}

QFont SkinStyle::Serif(qreal px, bool italic, bool bold)
{
    QFont font = MakeFont(kSerifFamily, px);
    font.setItalic(italic);
    font.setBold(bold);
    return font;
}

QFont SkinStyle::Sans(qreal px, QFont::Weight weight)
{
    QFont font = MakeFont(kSansFamily, px);
    font.setWeight(weight);
    return font;
}

QFont SkinStyle::SmallCaps(qreal px)
{
    QFont font = Sans(px, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, px * 0.14);
    font.setCapitalization(QFont::AllUppercase);
    return font;
}

void SkinStyle::PaintBackdrop(QPainter& p, const QRectF& area, bool ornaments)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(area.center().x(), area.top() + area.height() * 0.38), area.width() * 0.72);
    glow.setColorAt(0.0, QColor(0x45, 0x3b, 0x35));
    glow.setColorAt(0.55, SkinColor::Night2);
    glow.setColorAt(1.0, SkinColor::Night0);
    p.fillRect(area, glow);
    if (ornaments) {
        const QRectF outer = area.adjusted(14.5, 14.5, -14.5, -14.5);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(WithAlpha(SkinColor::Gold, 120), 1));
        p.drawRoundedRect(outer, 6, 6);
        p.setPen(QPen(WithAlpha(SkinColor::Gold, 50), 1));
        p.drawRoundedRect(outer.adjusted(5, 5, -5, -5), 3, 3);
        const QPointF corners[] = {outer.topLeft(), outer.topRight(), outer.bottomLeft(), outer.bottomRight()};
        for (const QPointF& c : corners) {
            const qreal sx = c.x() < area.center().x() ? 1 : -1;
            const qreal sy = c.y() < area.center().y() ? 1 : -1;
            auto at = [&](qreal u, qreal v) { return QPointF(c.x() + sx * u, c.y() + sy * v); };
            QPainterPath bracket;
            bracket.moveTo(at(9, 48));
            bracket.lineTo(at(9, 17));
            bracket.quadTo(at(9, 9), at(17, 9));
            bracket.lineTo(at(48, 9));
            QPainterPath curl;
            curl.moveTo(at(16, 36));
            curl.cubicTo(at(16, 23), at(23, 16), at(36, 16));
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(WithAlpha(SkinColor::Gold, 130), 1.1));
            p.drawPath(bracket);
            p.setPen(QPen(WithAlpha(SkinColor::Gold, 90), 1));
            p.drawPath(curl);
            QPainterPath diamond;
            const QPointF d = at(21, 21);
            diamond.moveTo(d.x(), d.y() - 3);
            diamond.lineTo(d.x() + 3, d.y());
            diamond.lineTo(d.x(), d.y() + 3);
            diamond.lineTo(d.x() - 3, d.y());
            diamond.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(WithAlpha(SkinColor::Gold, 160));
            p.drawPath(diamond);
        }
    }
    p.restore();
}

void SkinStyle::PaintDarkStrip(QPainter& p, const QRectF& area)
{
    p.save();
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, SkinColor::Night1);
    g.setColorAt(1, SkinColor::Night0);
    p.fillRect(area, g);
    p.fillRect(QRectF(area.left(), area.top(), area.width(), 1), WithAlpha(SkinColor::Gold, 150));
    p.fillRect(QRectF(area.left(), area.top() + 1, area.width(), 1), QColor(0, 0, 0, 90));
    p.restore();
}

void SkinStyle::DrawCard(QPainter& p, const QRectF& r, qreal radius, bool innerLine)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    DrawSoftShadow(p, r, radius);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, SkinColor::IvoryLight);
    g.setColorAt(1, SkinColor::Ivory);
    p.setBrush(g);
    p.setPen(QPen(WithAlpha(SkinColor::GoldDark, 170), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    if (innerLine) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(WithAlpha(SkinColor::Gold, 80), 1));
        p.drawRoundedRect(r.adjusted(4.5, 4.5, -4.5, -4.5), radius - 3, radius - 3);
    }
    p.restore();
}

void SkinStyle::DrawInset(QPainter& p, const QRectF& r, qreal radius) { DrawFlatInset(p, r, SkinColor::Paper, radius); }

void SkinStyle::DrawFlatInset(QPainter& p, const QRectF& r, const QColor& fill, qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(fill);
    p.setPen(QPen(QColor(0xd2, 0xc4, 0xa8), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void SkinStyle::DrawDarkField(QPainter& p, const QRectF& r, qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, SkinColor::Night1);
    g.setColorAt(1, SkinColor::Night2);
    p.setBrush(g);
    p.setPen(QPen(WithAlpha(SkinColor::GoldDark, 200), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void SkinStyle::DrawDarkPanel(QPainter& p, const QRectF& r, qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, SkinColor::Night3);
    g.setColorAt(1, SkinColor::Night2);
    p.setBrush(g);
    p.setPen(QPen(WithAlpha(SkinColor::Gold, 150), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void SkinStyle::DrawHelpBox(QPainter& p, const QRectF& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    DrawSoftShadow(p, r, 10);
    p.setBrush(SkinColor::Paper);
    p.setPen(QPen(WithAlpha(SkinColor::GoldDark, 170), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    p.restore();
}

void SkinStyle::DrawHairline(QPainter& p, const QPointF& a, const QPointF& b, const QColor& c, qreal width)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    p.restore();
}

void SkinStyle::DrawOrnament(QPainter& p, const QPointF& centre, qreal halfWidth, const QColor& c)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (int side : {-1, 1}) {
        QLinearGradient g(centre, QPointF(centre.x() + side * halfWidth, centre.y()));
        g.setColorAt(0, c);
        g.setColorAt(1, WithAlpha(c, 0));
        p.setPen(QPen(QBrush(g), 1));
        p.drawLine(QPointF(centre.x() + side * 9, centre.y()), QPointF(centre.x() + side * halfWidth, centre.y()));
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(centre.x() + side * 14, centre.y()), 1.6, 1.6);
    }
    QPainterPath diamond;
    diamond.moveTo(centre.x(), centre.y() - 4.5);
    diamond.lineTo(centre.x() + 4.5, centre.y());
    diamond.lineTo(centre.x(), centre.y() + 4.5);
    diamond.lineTo(centre.x() - 4.5, centre.y());
    diamond.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(diamond);
    p.restore();
}

QColor SkinStyle::IconColor(Look look, Surface surface, bool primary)
{
    switch (look) {
    case Look::Active: return SkinColor::Night1;
    case Look::Greyed: return surface == Surface::Dark ? SkinColor::GreyDarkText : SkinColor::GreyLightText;
    case Look::Current: return SkinColor::GoldDark;
    default: break;
    }
    if (primary)
        return SkinColor::GoldLight;
    return surface == Surface::Dark ? SkinColor::Gold : SkinColor::GoldDark;
}

QColor SkinStyle::TextColor(Look look, Surface surface, bool primary)
{
    switch (look) {
    case Look::Active: return SkinColor::Night1;
    case Look::Greyed: return surface == Surface::Dark ? SkinColor::GreyDarkText : SkinColor::GreyLightText;
    case Look::Current: return SkinColor::Ink;
    default: break;
    }
    if (primary)
        return surface == Surface::Dark ? SkinColor::GoldPale : SkinColor::OnDark;
    return surface == Surface::Dark ? SkinColor::OnDark : SkinColor::Ink;
}

void SkinStyle::DrawButton(QPainter& p, const QRectF& r, const ButtonFace& face, Look look, Surface surface)
{
    if (look == Look::Hidden)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const ButtonColors colors = FillFor(look, surface, face.primary, face.silver);
    const QRectF body = r.adjusted(1, 1, -1, -1);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, colors.top);
    g.setColorAt(1, colors.bottom);
    p.setBrush(g);
    p.setPen(QPen(colors.border, look == Look::Active ? 1.4 : 1));
    p.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), face.radius, face.radius);
    if (look == Look::Active || (look == Look::Passive && (surface == Surface::Dark || face.primary))) {
        const QColor sheen = look == Look::Active ? QColor(255, 255, 255, 110) : QColor(255, 255, 255, 22);
        p.setPen(QPen(sheen, 1));
        const qreal inset = face.radius * 0.7 + 2;
        p.drawLine(QPointF(body.left() + inset, body.top() + 2), QPointF(body.right() - inset, body.top() + 2));
    }
    QColor iconColor = IconColor(look, surface, face.primary);
    if (face.silver && look == Look::Passive)
        iconColor = SkinColor::Silver;
    DrawFace(p, body, face, iconColor, TextColor(look, surface, face.primary));
    p.restore();
}

void SkinStyle::DrawFace(QPainter& p, const QRectF& r, const ButtonFace& face, const QColor& iconColor,
                         const QColor& textColor)
{
    const QFont font = Sans(face.captionPx, QFont::Bold);
    const QFontMetricsF fm(font);
    const qreal textWidth = fm.horizontalAdvance(face.caption);
    p.save();
    p.setFont(font);
    p.setPen(textColor);
    switch (face.layout) {
    case FaceLayout::IconAbove: {
        const qreal icon = std::min({r.height() * 0.44, r.width() * 0.5, 36.0});
        const qreal textHeight = fm.height();
        const qreal top = r.center().y() - (icon + 4 + textHeight) / 2;
        SkinIcons::Draw(p, face.icon, QRectF(r.center().x() - icon / 2, top, icon, icon), iconColor);
        p.drawText(QRectF(r.left() + 2, top + icon + 4, r.width() - 4, textHeight), Qt::AlignCenter, face.caption);
        break;
    }
    case FaceLayout::IconLeft: {
        const qreal icon = face.icon == Icon::None ? 0 : std::min(r.height() * 0.52, 22.0);
        const qreal gap = icon > 0 ? 9 : 0;
        const qreal left = r.center().x() - (icon + gap + textWidth) / 2;
        SkinIcons::Draw(p, face.icon, QRectF(left, r.center().y() - icon / 2, icon, icon), iconColor);
        p.drawText(QRectF(left + icon + gap, r.top(), textWidth + 2, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   face.caption);
        break;
    }
    case FaceLayout::IconOnly: {
        const qreal icon = std::min(r.width(), r.height()) * 0.62;
        SkinIcons::Draw(p, face.icon, QRectF(r.center().x() - icon / 2, r.center().y() - icon / 2, icon, icon),
                        iconColor);
        break;
    }
    case FaceLayout::TextOnly: p.drawText(r, Qt::AlignCenter, face.caption); break;
    }
    p.restore();
}

void SkinStyle::DrawCheckBox(QPainter& p, const QRectF& box, bool ticked, Look look)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF b = box.adjusted(0.5, 0.5, -0.5, -0.5);
    if (ticked) {
        p.setBrush(look == Look::Active ? SkinColor::GoldPale : SkinColor::Gold);
        p.setPen(QPen(SkinColor::GoldDark, 1.2));
    } else {
        p.setBrush(SkinColor::Paper);
        p.setPen(QPen(look == Look::Active ? SkinColor::Gold : SkinColor::GoldDark, 1.2));
    }
    p.drawRoundedRect(b, 3.5, 3.5);
    if (ticked)
        SkinIcons::Draw(p, Icon::Check, b.adjusted(2, 2, -2, -2), SkinColor::Night1, 3.0);
    p.restore();
}

void SkinStyle::DrawCloseCross(QPainter& p, const QRectF& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(WithAlpha(SkinColor::GoldLight, 200), 1.2));
    p.setBrush(WithAlpha(SkinColor::Night3, 255));
    p.drawEllipse(r.adjusted(2, 2, -2, -2));
    SkinIcons::Draw(p, Icon::CrossMark, r.adjusted(7, 7, -7, -7), SkinColor::GoldLight, 2.6);
    p.restore();
}

void SkinStyle::DrawText(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& c,
                         int flags)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(c);
    p.drawText(r, flags, text);
    p.restore();
}

void SkinStyle::DrawHeader(QPainter& p, const QRectF& r, const QString& title, const QString& subtitle)
{
    DrawText(p, QRectF(r.left(), r.top(), r.width(), 66), title, Script(52), SkinColor::GoldLight,
             Qt::AlignLeft | Qt::AlignVCenter);
    DrawText(p, QRectF(r.left() + 3, r.top() + 64, r.width(), 30), subtitle, Serif(20, true), SkinColor::OnDarkSoft,
             Qt::AlignLeft | Qt::AlignVCenter);
}

void SkinStyle::DrawCaption(QPainter& p, const QPointF& at, const QString& text, const QColor& c)
{
    DrawText(p, QRectF(at.x(), at.y(), 600, 16), text, SmallCaps(11), c, Qt::AlignLeft | Qt::AlignVCenter);
}
