#pragma once
// The visual language of the skin: a deep warm neutral backdrop, ivory cards and soft gold, set in EB Garamond
// (headings), Dancing Script (titles) and Lato (captions). Every picture of the skin is drawn with these few
// primitives, so the screens look like one family.

#include "SkinIcons.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

// How a control is shown. Passive is the look painted into a background; Active is the hover image; Greyed
// covers a control that is not available; Current marks the selected tab or switched-on state; Hidden leaves
// the place to what lies under it.
enum class Look { Passive, Active, Greyed, Current, Hidden };

// What a control sits on, which decides its passive colours.
enum class Surface { Dark, Light };

namespace SkinColor {
inline const QColor Night0{0x1a, 0x16, 0x14};
inline const QColor Night1{0x23, 0x1e, 0x1b};
inline const QColor Night2{0x2f, 0x28, 0x24};
inline const QColor Night3{0x3d, 0x34, 0x2f};
inline const QColor Ivory{0xf5, 0xee, 0xe0};
inline const QColor IvoryLight{0xfa, 0xf6, 0xed};
inline const QColor IvoryShade{0xe6, 0xdb, 0xc6};
inline const QColor Paper{0xff, 0xfd, 0xf8};
inline const QColor Gold{0xc9, 0xa4, 0x5e};
inline const QColor GoldLight{0xea, 0xd6, 0xa4};
inline const QColor GoldPale{0xf4, 0xe7, 0xc6};
inline const QColor GoldDark{0x9c, 0x7a, 0x3c};
inline const QColor GoldDeep{0x74, 0x57, 0x24};
inline const QColor Ink{0x3a, 0x2e, 0x27};
inline const QColor InkSoft{0x7b, 0x6a, 0x5b};
inline const QColor OnDark{0xf3, 0xea, 0xdb};
inline const QColor OnDarkSoft{0xbf, 0xb2, 0xa0};
inline const QColor GreyDarkFill{0x3a, 0x36, 0x34};
inline const QColor GreyDarkLine{0x5a, 0x54, 0x50};
inline const QColor GreyDarkText{0x85, 0x7e, 0x79};
inline const QColor GreyLightFill{0xe9, 0xe4, 0xdc};
inline const QColor GreyLightLine{0xcc, 0xc4, 0xb8};
inline const QColor GreyLightText{0xa8, 0xa0, 0x95};
inline const QColor Silver{0xc4, 0xc9, 0xd0};
inline const QColor SilverLight{0xe6, 0xea, 0xef};
inline const QColor Red{0xb5, 0x45, 0x2f};
inline const QColor Amber{0xd6, 0xa0, 0x38};
inline const QColor Green{0x5c, 0x8f, 0x45};
} // namespace SkinColor

// How a button arranges its icon and caption.
enum class FaceLayout { IconAbove, IconLeft, IconOnly, TextOnly };

struct ButtonFace {
    Icon icon = Icon::None;
    QString caption;
    FaceLayout layout = FaceLayout::IconLeft;
    qreal captionPx = 14;
    bool primary = false; // the main action of a screen: strong passive look
    qreal radius = 8;
    bool silver = false; // silver instead of gold (the project menu's alternative set)
};

class SkinStyle {
public:
    // Registers the OFL fonts from the system folders when the font database does not know them yet.
    static void EnsureFonts();

    static QFont Script(qreal px);
    static QFont Serif(qreal px, bool italic = false, bool bold = false);
    static QFont Sans(qreal px, QFont::Weight weight = QFont::Normal);
    static QFont SmallCaps(qreal px);

    // The common backdrop of the full screens, painted for the panel area `area`.
    static void PaintBackdrop(QPainter& p, const QRectF& area, bool ornaments);
    static void PaintDarkStrip(QPainter& p, const QRectF& area);

    static void DrawCard(QPainter& p, const QRectF& r, qreal radius = 12, bool innerLine = true);
    static void DrawInset(QPainter& p, const QRectF& r, qreal radius = 4);
    static void DrawFlatInset(QPainter& p, const QRectF& r, const QColor& fill, qreal radius = 4);
    static void DrawDarkField(QPainter& p, const QRectF& r, qreal radius = 6);
    static void DrawDarkPanel(QPainter& p, const QRectF& r, qreal radius = 10);
    static void DrawHelpBox(QPainter& p, const QRectF& r);
    static void DrawHairline(QPainter& p, const QPointF& a, const QPointF& b, const QColor& c, qreal width = 1);
    static void DrawOrnament(QPainter& p, const QPointF& centre, qreal halfWidth, const QColor& c);

    static void DrawButton(QPainter& p, const QRectF& r, const ButtonFace& face, Look look, Surface surface);
    static void DrawFace(QPainter& p, const QRectF& r, const ButtonFace& face, const QColor& iconColor,
                         const QColor& textColor);
    static void DrawCheckBox(QPainter& p, const QRectF& box, bool ticked, Look look);
    static void DrawCloseCross(QPainter& p, const QRectF& r);

    static void DrawText(QPainter& p, const QRectF& r, const QString& text, const QFont& font, const QColor& c,
                         int flags);
    // A screen title in the header band: script title with a serif line under it.
    static void DrawHeader(QPainter& p, const QRectF& r, const QString& title, const QString& subtitle);
    static void DrawCaption(QPainter& p, const QPointF& at, const QString& text, const QColor& c);

    static QColor IconColor(Look look, Surface surface, bool primary);
    static QColor TextColor(Look look, Surface surface, bool primary);
};
