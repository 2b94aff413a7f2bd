#include "SkinScreens.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace G = Geometry;

namespace {

using R = G::ControlRect;

QRectF F(const R& r) { return SkinScene::ToRectF(r); }

ButtonFace Face(Icon icon, const QString& caption, FaceLayout layout, qreal px, bool primary = false)
{
    ButtonFace face;
    face.icon = icon;
    face.caption = caption;
    face.layout = layout;
    face.captionPx = px;
    face.primary = primary;
    return face;
}

ButtonFace Silvered(ButtonFace face, bool silver)
{
    face.silver = silver;
    return face;
}

const QSize kPanel(G::PanelWidth, G::PanelHeight);
const QSize kPopup(G::PopupWidth, G::PopupHeight);

// ----------------------------------------------------------------------------------------- drawers

ControlDrawer Pill(Icon icon, const QString& caption, Surface surface, bool primary = false, qreal px = 14)
{
    return SkinScene::Button(Face(icon, caption, FaceLayout::IconLeft, px, primary), surface);
}

ControlDrawer Tile(Icon icon, const QString& caption, Surface surface, qreal px = 13, bool primary = false)
{
    return SkinScene::Button(Face(icon, caption, FaceLayout::IconAbove, px, primary), surface);
}

ButtonFace RoundFace(Icon icon, qreal radius);

ControlDrawer RoundIcon(Icon icon, Surface surface)
{
    return SkinScene::Button(RoundFace(icon, 100), surface); // Qt clamps the radius, so the button is round
}

ControlDrawer SquareIcon(Icon icon) { return SkinScene::Button(RoundFace(icon, 6), Surface::Light); }

// One row of the editors' top bar: the rows share a dark panel, so the passive row draws only its face.
ControlDrawer TopBarRow(Icon icon, const QString& caption)
{
    return [icon, caption](QPainter& p, const QRectF& r, Look look) {
        QColor iconColor = SkinColor::Gold;
        QColor textColor = SkinColor::OnDark;
        if (look == Look::Active) {
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            g.setColorAt(0, SkinColor::GoldPale);
            g.setColorAt(1, SkinColor::Gold);
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawRoundedRect(r.adjusted(3, 2, -3, -2), 5, 5);
            iconColor = textColor = SkinColor::Night1;
        } else if (look == Look::Greyed) {
            iconColor = textColor = SkinColor::GreyDarkText;
        }
        const QRectF iconBox(r.left() + 14, r.center().y() - 7.5, 15, 15);
        SkinIcons::Draw(p, icon, iconBox, iconColor, 1.9);
        SkinStyle::DrawText(p, QRectF(r.left() + 38, r.top(), r.width() - 42, r.height()), caption,
                            SkinStyle::Sans(12.5, QFont::Bold), textColor, Qt::AlignLeft | Qt::AlignVCenter);
    };
}

QPainterPath TabShape(const QRectF& r)
{
    QPainterPath path;
    const qreal k = 8;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + k);
    path.quadTo(r.left(), r.top(), r.left() + k, r.top());
    path.lineTo(r.right() - k, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + k);
    path.lineTo(r.right(), r.bottom());
    return path;
}

// A folder tab of the page editors; the current tab is ivory and runs into the work card under it.
ControlDrawer Tab(Icon icon, const QString& caption)
{
    return [icon, caption](QPainter& p, const QRectF& r, Look look) {
        QRectF body = r.adjusted(0.5, 0.5, -0.5, 0);
        QColor top = SkinColor::Night3, bottom = SkinColor::Night2, border = SkinColor::Gold;
        QColor ink = SkinColor::OnDark, iconInk = SkinColor::Gold;
        if (look == Look::Current) {
            body.setBottom(r.bottom() + 2);
            top = SkinColor::IvoryLight;
            bottom = SkinColor::IvoryLight;
            border = SkinColor::GoldDark;
            ink = SkinColor::Ink;
            iconInk = SkinColor::GoldDark;
        } else if (look == Look::Active) {
            top = SkinColor::GoldPale;
            bottom = SkinColor::Gold;
            border = SkinColor::GoldDark;
            ink = iconInk = SkinColor::Night1;
        } else if (look == Look::Greyed) {
            top = bottom = SkinColor::GreyDarkFill;
            border = SkinColor::GreyDarkLine;
            ink = iconInk = SkinColor::GreyDarkText;
        }
        QLinearGradient g(body.topLeft(), body.bottomLeft());
        g.setColorAt(0, top);
        g.setColorAt(1, bottom);
        const QPainterPath shape = TabShape(body);
        p.fillPath(shape, g);
        p.setPen(QPen(border, 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
        if (look == Look::Current)
            p.fillRect(QRectF(r.left() + 1, r.bottom() - 1, r.width() - 2, 7), SkinColor::IvoryLight);
        SkinIcons::Draw(p, icon, QRectF(r.center().x() - 12, r.top() + 12, 24, 24), iconInk, 1.8);
        SkinStyle::DrawText(p, QRectF(r.left(), r.top() + 44, r.width(), 18), caption,
                            SkinStyle::Sans(10.5, QFont::Bold), ink, Qt::AlignCenter);
    };
}

ControlDrawer ScrollArrow(bool left)
{
    return [left](QPainter& p, const QRectF& r, Look look) {
        const QColor accent = look == Look::Active ? SkinColor::GoldLight : SkinColor::Gold;
        p.setPen(QPen(accent, 1));
        p.setBrush(SkinColor::Night3);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        const qreal cx = r.center().x(), cy = r.center().y();
        QPainterPath chevron;
        const qreal d = left ? 2.5 : -2.5;
        chevron.moveTo(cx + d, cy - 7);
        chevron.lineTo(cx - d, cy);
        chevron.lineTo(cx + d, cy + 7);
        p.setPen(QPen(accent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(chevron);
    };
}

ControlDrawer Indicator(const QColor& color, Icon icon)
{
    return [color, icon](QPainter& p, const QRectF& r, Look) {
        const QRectF disc = r.adjusted(5, 5, -5, -5);
        QRadialGradient g(disc.center() - QPointF(6, 8), disc.width() * 0.75);
        g.setColorAt(0, color.lighter(135));
        g.setColorAt(1, color.darker(115));
        p.setPen(QPen(SkinColor::GoldLight, 1.5));
        p.setBrush(g);
        p.drawEllipse(disc);
        if (icon == Icon::None) {
            p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(disc.center().x() - 8, disc.center().y()),
                       QPointF(disc.center().x() + 8, disc.center().y()));
            return;
        }
        SkinIcons::Draw(p, icon, disc.adjusted(10, 10, -10, -10), Qt::white, 3.0);
    };
}

// A tick box with its caption; `ticked` is how the control is drawn when it is shown at all.
ControlDrawer CheckSwitch(const QString& caption, bool ticked)
{
    return [caption, ticked](QPainter& p, const QRectF& r, Look look) {
        const QRectF box(r.left() + 2, r.center().y() - 10, 20, 20);
        SkinStyle::DrawCheckBox(p, box, ticked, look);
        SkinStyle::DrawText(p, QRectF(box.right() + 10, r.top(), r.width() - 34, r.height()), caption,
                            SkinStyle::Serif(17), SkinColor::Ink, Qt::AlignLeft | Qt::AlignVCenter);
    };
}

ControlDrawer ChapterIcon(int kind)
{
    return [kind](QPainter& p, const QRectF& r, Look) {
        if (kind == 1) {
            SkinIcons::Draw(p, Icon::Lock, r.adjusted(-1, -1, 1, 1), SkinColor::GoldDeep, 2.4);
            return;
        }
        SkinStyle::DrawCheckBox(p, r.adjusted(1, 1, -1, -1), kind == 0, Look::Passive);
    };
}

ControlDrawer DeleteButton() { return SkinScene::Button(RoundFace(Icon::Trash, 14), Surface::Light); }

// The part of a project-menu tile that a picture holds: the label kit tile is split into its body and a
// separate caption picture, so both parts must sit where the whole tile would put them.
enum class TilePart { Whole, BodyOnly, CaptionOnly };

ControlDrawer MenuTile(const ButtonFace& face, TilePart part, const R& tile)
{
    return [face, part, tile](QPainter& p, const QRectF& r, Look look) {
        if (part != TilePart::CaptionOnly) {
            ButtonFace shown = face;
            if (part == TilePart::BodyOnly)
                shown.caption = QStringLiteral(" "); // keeps the icon where the captioned tile has it
            SkinStyle::DrawButton(p, r, shown, look, Surface::Dark);
            return;
        }
        // The caption alone, laid out on the whole tile exactly as DrawButton would, clipped to its own place.
        p.setClipRect(r);
        SkinStyle::DrawFace(p, F(tile).adjusted(1, 1, -1, -1), face, Qt::transparent,
                            SkinStyle::TextColor(look, Surface::Dark, false));
    };
}

// ------------------------------------------------------------------------------------- shared art

void PaintPanelBackdrop(QPainter& p, bool ornaments) { SkinStyle::PaintBackdrop(p, F(G::Panel), ornaments); }

void PaintHeader(QPainter& p, const R& r, const QString& title, const QString& subtitle)
{
    SkinStyle::DrawHeader(p, F(r), title, subtitle);
}

void PaintHelpBox(QPainter& p, const R& r) { SkinStyle::DrawHelpBox(p, F(r)); }

void PaintCaption(QPainter& p, int x, int y, const QString& text)
{
    SkinStyle::DrawCaption(p, QPointF(x, y), text, SkinColor::InkSoft);
}

void PaintNote(QPainter& p, const QRectF& r, const QString& text, qreal px = 16, const QColor& c = SkinColor::InkSoft,
               bool italic = true)
{
    SkinStyle::DrawText(p, r, text, SkinStyle::Serif(px, italic), c, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
}

void PaintFieldLabel(QPainter& p, const QRectF& r, const QString& text)
{
    SkinStyle::DrawText(p, r, text, SkinStyle::Serif(19), SkinColor::Ink, Qt::AlignLeft | Qt::AlignVCenter);
}

ButtonFace RoundFace(Icon icon, qreal radius)
{
    ButtonFace face = Face(icon, QString(), FaceLayout::IconOnly, 12);
    face.radius = radius;
    return face;
}

// A vertical scroll track with two round arrow buttons that have no pictures of their own.
void PaintScrollTrack(QPainter& p, const R& up, const R& down)
{
    const qreal x = up.x + up.w / 2.0;
    SkinStyle::DrawHairline(p, QPointF(x, up.Bottom() + 6), QPointF(x, down.y - 6), QColor(0xd2, 0xc4, 0xa8), 2);
    SkinStyle::DrawButton(p, F(up), RoundFace(Icon::ArrowUp, up.w / 2.0), Look::Passive, Surface::Light);
    SkinStyle::DrawButton(p, F(down), RoundFace(Icon::ArrowDown, down.w / 2.0), Look::Passive, Surface::Light);
}

void PaintFrame(QPainter& p, const R& r)
{
    p.save();
    p.setBrush(SkinColor::Night0);
    p.setPen(QPen(SkinColor::Gold, 1));
    p.drawRect(QRectF(r.x - 2.5, r.y - 2.5, r.w + 5, r.h + 5));
    p.setPen(QPen(QColor(0xc9, 0xa4, 0x5e, 70), 1));
    p.drawRect(QRectF(r.x - 6.5, r.y - 6.5, r.w + 13, r.h + 13));
    p.restore();
}

// A white mat with a gold hairline around a picture area on an ivory card.
void PaintLightFrame(QPainter& p, const R& r)
{
    p.save();
    p.setBrush(SkinColor::Paper);
    p.setPen(QPen(QColor(0xc9, 0xa4, 0x5e, 200), 1));
    p.drawRect(QRectF(r.x - 4.5, r.y - 4.5, r.w + 9, r.h + 9));
    p.setPen(QPen(QColor(0xd2, 0xc4, 0xa8), 1));
    p.drawRect(QRectF(r.x - 0.5, r.y - 0.5, r.w + 1, r.h + 1));
    p.restore();
}

void PaintQuietLogo(QPainter& p, const R& area)
{
    const QRectF r = F(area);
    SkinIcons::Draw(p, Icon::Rings, QRectF(r.center().x() - 22, r.top() + 34, 44, 44), QColor(0xc9, 0xa4, 0x5e, 110),
                    1.3);
    SkinStyle::DrawText(p, QRectF(r.left(), r.top() + 78, r.width(), 50), QStringLiteral("Vellora"),
                        SkinStyle::Script(34), QColor(0xea, 0xd6, 0xa4, 120), Qt::AlignCenter);
}

// ----------------------------------------------------------------------------------------- editors

const char* const kSpeakerOn = "imgTopSpeaker";
const char* const kSpeakerOnHover = "imgTopSpeakerOver";
const char* const kSpeakerOff = "imgTopSpeakerOff";
const char* const kSpeakerOffHover = "imgTopSpeakerOverOff";
const char* const kSpeakerNone = "imgTopSpeakerNoSound";

void PaintEditorChrome(QPainter& p, bool fullscreenButton)
{
    SkinStyle::PaintBackdrop(p, F(G::Panel), false);
    SkinStyle::DrawText(p, QRectF(72, 2, 160, 42), QStringLiteral("Vellora"), SkinStyle::Script(30),
                        SkinColor::GoldLight, Qt::AlignLeft | Qt::AlignVCenter);
    SkinStyle::DrawText(p, QRectF(190, 10, 260, 32), QStringLiteral("Pages of your album"), SkinStyle::Serif(17, true),
                        SkinColor::OnDarkSoft, Qt::AlignLeft | Qt::AlignVCenter);
    SkinStyle::DrawCard(p, F(G::EditorCommon::WorkCard));
    SkinStyle::DrawDarkPanel(p, F(G::EditorCommon::TopBar).adjusted(0, -2, 0, 2), 8);
    for (int y : {64, 85, 107})
        SkinStyle::DrawHairline(p, QPointF(468, y + 0.5), QPointF(618, y + 0.5), QColor(0xc9, 0xa4, 0x5e, 60));
    PaintCaption(p, 470, 164, QStringLiteral("Preview"));
    PaintFrame(p, G::EditorCommon::imgPreview);
    PaintHelpBox(p, G::EditorCommon::HelpBox);
    PaintQuietLogo(p, G::EditorCommon::imgLogo);
    if (!fullscreenButton)
        SkinIcons::Draw(p, Icon::Gallery, QRectF(922, 312, 52, 52), QColor(0xc9, 0xa4, 0x5e, 70), 1.2);
}

void PaintCardHeading(QPainter& p, const QString& text)
{
    SkinStyle::DrawText(p, QRectF(94, 128, 340, 34), text, SkinStyle::Serif(25, false, true), SkinColor::Ink,
                        Qt::AlignLeft | Qt::AlignVCenter);
}

void PaintLayoutCard(QPainter& p)
{
    PaintCardHeading(p, QStringLiteral("Page layout"));
    PaintCaption(p, 110, 161, QStringLiteral("Kind of page"));
    PaintCaption(p, 305, 183, QStringLiteral("Layouts"));
    SkinStyle::DrawFlatInset(p, F(G::EditLayout::ListArea), SkinColor::Paper);
    PaintNote(p, QRectF(96, 296, 186, 150),
              QStringLiteral("Choose what the page shows, then click one of its layouts in the list."));
    PaintNote(p, QRectF(96, 494, 350, 44), QStringLiteral("Changing the layout later clears the page."), 15);
}

void PaintPictureCard(QPainter& p)
{
    PaintCardHeading(p, QStringLiteral("Photographs"));
    PaintNote(p, QRectF(96, 168, 350, 40), QStringLiteral("Click a frame in the preview, then add a photograph."), 15);
    const QFont side = SkinStyle::Serif(16);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    SkinStyle::DrawText(p, QRectF(96, 219, 180, 70), QStringLiteral("A picture file on this computer"), side,
                        SkinColor::Ink, flags);
    SkinStyle::DrawText(p, QRectF(96, 375, 180, 70), QStringLiteral("A paper photograph in the scanner"), side,
                        SkinColor::Ink, flags);
    PaintNote(p, QRectF(96, 470, 350, 60), QStringLiteral("Every photograph is fitted to its frame in the next step."),
              15);
}

void PaintTextCard(QPainter& p)
{
    PaintCardHeading(p, QStringLiteral("Texts"));
    PaintCaption(p, 88, 180, QStringLiteral("Text of the marked field"));
    SkinStyle::DrawInset(p, F(G::EditText::memoText).adjusted(-4, -4, 4, 4));
    SkinStyle::DrawHairline(p, QPointF(416, 334.5), QPointF(446, 334.5), QColor(0xc9, 0xa4, 0x5e, 150));
}

void PaintGalleryCard(QPainter& p)
{
    PaintCardHeading(p, QStringLiteral("Slide show"));
    PaintCaption(p, 128, 166, QStringLiteral("Add photographs"));
    PaintCaption(p, 126, 281, QStringLiteral("Selected photograph"));
    PaintCaption(p, 128, 398, QStringLiteral("When you are done"));
    PaintNote(p, QRectF(246, 302, 196, 70), QStringLiteral("Click a photograph in the strip below to select it."), 15);
    PaintNote(p, QRectF(96, 500, 350, 40), QStringLiteral("Only Keep stores the changes."), 15);
}

void AddTopBar(SkinScene& scene)
{
    namespace E = G::EditorCommon;
    scene.Add("imgTopPrjMenu", E::imgTopPrjMenu, TopBarRow(Icon::Home, QStringLiteral("Project menu")));
    scene.Add("imgTopSave", E::imgTopSave, TopBarRow(Icon::Save, QStringLiteral("Save")));
    scene.Add(kSpeakerOn, E::imgTopSpeaker, TopBarRow(Icon::Speaker, QStringLiteral("Spoken tips: on")));
    scene.Add(kSpeakerOnHover, E::imgTopSpeaker, TopBarRow(Icon::Speaker, QStringLiteral("Spoken tips: on")),
              Look::Hidden);
    scene.Add(kSpeakerOff, E::imgTopSpeaker, TopBarRow(Icon::SpeakerOff, QStringLiteral("Spoken tips: off")),
              Look::Hidden);
    scene.Add(kSpeakerOffHover, E::imgTopSpeaker, TopBarRow(Icon::SpeakerOff, QStringLiteral("Spoken tips: off")),
              Look::Hidden);
    scene.Add(kSpeakerNone, E::imgTopSpeaker, TopBarRow(Icon::SpeakerMuted, QStringLiteral("No sound")), Look::Hidden);
    scene.Add("imgTopExit", E::imgTopExit, TopBarRow(Icon::Door, QStringLiteral("Leave Vellora")));
}

void AddTabs(SkinScene& scene, SkinScreens::Editor editor)
{
    namespace E = G::EditorCommon;
    using Ed = SkinScreens::Editor;
    scene.Add("imgBtnLay", E::imgBtnLay, Tab(Icon::Layout, QStringLiteral("Layout")),
              editor == Ed::Layout ? Look::Current : Look::Passive);
    scene.Add("imgBtnPic", E::imgBtnPic, Tab(Icon::Picture, QStringLiteral("Pictures")),
              editor == Ed::Picture ? Look::Current : Look::Passive);
    scene.Add("imgBtnTex", E::imgBtnTex, Tab(Icon::Text, QStringLiteral("Texts")),
              editor == Ed::Text ? Look::Current : Look::Passive);
}

void AddLayoutControls(SkinScene& scene)
{
    namespace L = G::EditLayout;
    auto kind = [](const QString& caption) {
        ButtonFace face = Face(Icon::None, caption, FaceLayout::TextOnly, 12.5);
        face.radius = 9;
        return SkinScene::Button(face, Surface::Light);
    };
    scene.Add("imgKindOnlyText", L::imgKindOnlyText, kind(QStringLiteral("Only text")));
    scene.Add("imgKindTextAndPic", L::imgKindTextAndPic, kind(QStringLiteral("Text and pictures")));
    scene.Add("imgKindOnlyPic", L::imgKindOnlyPic, kind(QStringLiteral("Only pictures")));
    scene.Add("imgKindAnimation", L::imgKindAnimation, kind(QStringLiteral("Animation")));
}

void AddPictureControls(SkinScene& scene)
{
    namespace P = G::EditPicture;
    scene.Add("imgAddPicHdd", P::imgAddPicHdd, Tile(Icon::File, QStringLiteral("From a file"), Surface::Light, 12.5));
    scene.Add("imgAddPicScan", P::imgAddPicScan, Tile(Icon::Scanner, QStringLiteral("Scanner"), Surface::Light, 12.5));
    scene.Add("imgNoScanner", P::imgNoScanner, Tile(Icon::Scanner, QStringLiteral("No scanner"), Surface::Light, 12.5),
              Look::Hidden);
    scene.Add("ImgBtnGallery", P::ImgBtnGallery, Tile(Icon::Gallery, QStringLiteral("Gallery"), Surface::Light, 13),
              Look::Hidden);
    scene.Add(
        "ImgGallery", P::ImgGallery,
        [](QPainter& p, const QRectF& r, Look) {
            SkinStyle::DrawText(p, r, QStringLiteral("All slide show photos"), SkinStyle::Sans(12, QFont::Bold),
                                SkinColor::GoldDeep, Qt::AlignLeft | Qt::AlignVCenter);
        },
        Look::Hidden);
}

void AddTextControls(SkinScene& scene)
{
    namespace T = G::EditText;
    scene.Add("imgBold", T::imgBold, SquareIcon(Icon::Bold));
    scene.Add("imgItalic", T::imgItalic, SquareIcon(Icon::Italic));
    scene.Add("imgUnderline", T::imgUnderline, SquareIcon(Icon::Underline));
    scene.Add("imgUpper", T::imgUpper, SquareIcon(Icon::Larger));
    scene.Add("imgLower", T::imgLower, SquareIcon(Icon::Smaller));
    scene.Add("imgFont", T::imgFont, SquareIcon(Icon::Font));
    ButtonFace next = Face(Icon::Next, QStringLiteral("Next text field"), FaceLayout::IconLeft, 12);
    next.radius = 9;
    scene.Add("imgNextTextfield", T::imgNextTextfield, SkinScene::Button(next, Surface::Light), Look::Hidden);
}

void AddGalleryControls(SkinScene& scene)
{
    namespace Ga = G::Gallery;
    scene.Add("ImgBtnLoad", Ga::ImgBtnLoad, Tile(Icon::File, QStringLiteral("Add files"), Surface::Light, 12.5));
    scene.Add("ImgBtnScan", Ga::ImgBtnScan, Tile(Icon::Scanner, QStringLiteral("Scanner"), Surface::Light, 12.5));
    scene.Add("ImgNoScanner", Ga::ImgNoScanner, Tile(Icon::Scanner, QStringLiteral("No scanner"), Surface::Light, 12.5),
              Look::Hidden);
    scene.Add("ImgDelete", Ga::ImgDelete, Tile(Icon::Trash, QStringLiteral("Delete"), Surface::Light, 12.5));
    scene.Add("imgApply", Ga::imgApply, Tile(Icon::Check, QStringLiteral("Keep"), Surface::Light, 12.5, true));
    scene.Add("ImgCancel", Ga::ImgCancel, Tile(Icon::CrossMark, QStringLiteral("Cancel"), Surface::Light, 12.5));
}

// ------------------------------------------------------------------------------------ form screens

void PaintFormBase(QPainter& p, const QString& title, const QString& subtitle)
{
    PaintPanelBackdrop(p, true);
    PaintHeader(p, G::Grid::Header, title, subtitle);
}

void AddOkCancel(SkinScene& scene, const std::string& cancelName, const std::string& okName, const QString& cancel,
                 const QString& ok, Icon okIcon = Icon::Check, Icon cancelIcon = Icon::CrossMark)
{
    scene.Add(cancelName, G::Grid::CancelButton, Pill(cancelIcon, cancel, Surface::Light));
    scene.Add(okName, G::Grid::OkButton, Pill(okIcon, ok, Surface::Light, true));
}

void PaintFinishForm(QPainter& p)
{
    namespace Fi = G::Finish;
    SkinStyle::DrawCard(p, F(G::Grid::Content));
    PaintCaption(p, 112, 198, QStringLiteral("Album status"));
    SkinStyle::DrawDarkField(p, F(Fi::StatusField));
    PaintCaption(p, 112, 256, QStringLiteral("Disc folder"));
    SkinStyle::DrawDarkField(p, F(Fi::DirField));
    PaintNote(p, QRectF(112, 410, 520, 80),
              QStringLiteral("Vellora writes a folder named \u201cVellora\u201d into the folder you choose. Burn it "
                             "onto a CD or copy it to a USB stick: it starts by itself on Windows, and index.html "
                             "opens it in any web browser."));
    SkinIcons::Draw(p, Icon::Disc, QRectF(800, 330, 90, 90), QColor(0xc9, 0xa4, 0x5e, 120), 1.0);
}

ControlDrawer DurationFrame()
{
    return [](QPainter& p, const QRectF& r, Look) {
        const QFont font = SkinStyle::Serif(17);
        SkinStyle::DrawText(p, QRectF(r.left() + 34, r.top(), 90, r.height()), QStringLiteral("Show it for"), font,
                            SkinColor::Ink, Qt::AlignLeft | Qt::AlignVCenter);
        const G::ControlRect edit = G::Finish::editDuration;
        SkinStyle::DrawInset(p, QRectF(edit.x - 4, edit.y - 4, edit.w + 8, edit.h + 8));
        SkinStyle::DrawText(p, QRectF(edit.Right() + 12, r.top(), 120, r.height()), QStringLiteral("seconds"), font,
                            SkinColor::Ink, Qt::AlignLeft | Qt::AlignVCenter);
    };
}

void PaintPersonCard(QPainter& p)
{
    namespace N = G::NewProject1;
    SkinStyle::DrawCard(p, F(G::Grid::Content));
    PaintFieldLabel(p, QRectF(112, N::Field1.y, 160, N::Field1.h), QStringLiteral("First name"));
    PaintFieldLabel(p, QRectF(112, N::Field2.y, 160, N::Field2.h), QStringLiteral("Second name"));
    PaintFieldLabel(p, QRectF(112, N::Field3.y, 160, N::Field3.h), QStringLiteral("Wedding date"));
    for (const R& field : {N::Field1, N::Field2, N::Field3})
        SkinStyle::DrawInset(p, F(field));
    SkinStyle::DrawText(p, F(N::imgCalendar).adjusted(N::imgCalendar.w + 14, 0, 330, 0),
                        QStringLiteral("type it, or pick it from the calendar"), SkinStyle::Serif(15, true),
                        SkinColor::InkSoft, Qt::AlignLeft | Qt::AlignVCenter);
    SkinIcons::Draw(p, Icon::Rings, QRectF(790, 214, 110, 110), QColor(0xc9, 0xa4, 0x5e, 140), 1.0);
    PaintNote(p, QRectF(112, 452, 460, 40), QStringLiteral("You can change these details at any time."), 16);
}

void PaintDesignCard(QPainter& p)
{
    namespace N = G::NewProject2;
    SkinStyle::DrawCard(p, F(G::Grid::Content));
    PaintCaption(p, 100, 182, QStringLiteral("Designs"));
    SkinStyle::DrawFlatInset(p, F(N::ListArea), SkinColor::Paper);
    PaintScrollTrack(p, N::ImgUp, N::ImgDown);
    PaintLightFrame(p, N::imgLayoutPreview);
    PaintNote(p, QRectF(796, 196, 134, 190),
              QStringLiteral("Click the preview or the button below to see the design in full size."), 15);
    SkinStyle::DrawButton(p, F(N::Image1), Face(Icon::CrossMark, QStringLiteral("Cancel"), FaceLayout::IconLeft, 14),
                          Look::Passive, Surface::Light);
    SkinStyle::DrawButton(p, F(N::Image2), Face(Icon::Next, QStringLiteral("Next"), FaceLayout::IconLeft, 14, true),
                          Look::Passive, Surface::Light);
}

void PaintLegendRow(QPainter& p, int y, int kind, const QString& text)
{
    ChapterIcon(kind)(p, QRectF(106, y, 15, 15), Look::Passive);
    SkinStyle::DrawText(p, QRectF(132, y - 4, 300, 23), text, SkinStyle::Serif(16), SkinColor::Ink,
                        Qt::AlignLeft | Qt::AlignVCenter);
}

void PaintChapterCards(QPainter& p)
{
    namespace N = G::NewProject3;
    SkinStyle::DrawCard(p, F(N::imgBtn));
    PaintCaption(p, 104, 192, QStringLiteral("Selected chapter"));
    SkinStyle::DrawHairline(p, QPointF(104, 452.5), QPointF(440, 452.5), QColor(0xc9, 0xa4, 0x5e, 110));
    PaintCaption(p, 104, 466, QStringLiteral("Symbols"));
    PaintLegendRow(p, 492, 0, QStringLiteral("The chapter is in the album"));
    PaintLegendRow(p, 518, 2, QStringLiteral("The chapter is left out"));
    PaintLegendRow(p, 544, 1, QStringLiteral("Always in the album"));
    SkinStyle::DrawCard(p, F(N::imgCnt));
    PaintCaption(p, 504, 182, QStringLiteral("Chapters of your album"));
    SkinStyle::DrawFlatInset(p, F(N::ListArea), SkinColor::Paper);
    PaintScrollTrack(p, N::imgBt, N::imgBb);
    SkinStyle::DrawButton(p, F(N::imgBtnCancel),
                          Face(Icon::CrossMark, QStringLiteral("Cancel"), FaceLayout::IconLeft, 14), Look::Passive,
                          Surface::Light);
    SkinStyle::DrawButton(p, F(N::imgBtnOk), Face(Icon::Check, QStringLiteral("OK"), FaceLayout::IconLeft, 14, true),
                          Look::Passive, Surface::Light);
}

// ----------------------------------------------------------------------------------------- pop-ups

void PaintPopupBase(QPainter& p)
{
    const QRectF r = F(G::Popup);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, SkinColor::IvoryLight);
    g.setColorAt(1, SkinColor::Ivory);
    p.fillRect(r, g);
    const QRectF band = F(G::PopupGrid::HeaderBand);
    QLinearGradient bandFill(band.topLeft(), band.bottomLeft());
    bandFill.setColorAt(0, SkinColor::Night3);
    bandFill.setColorAt(1, SkinColor::Night2);
    p.fillRect(band, bandFill);
    p.fillRect(QRectF(0, band.bottom() - 1, r.width(), 1), SkinColor::Gold);
    SkinStyle::DrawText(p, QRectF(20, 0, 200, band.height()), QStringLiteral("Vellora"), SkinStyle::Script(25),
                        SkinColor::GoldLight, Qt::AlignLeft | Qt::AlignVCenter);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(SkinColor::GoldDark, 1));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(QColor(0xc9, 0xa4, 0x5e, 90), 1));
    p.drawRect(r.adjusted(4.5, 50.5, -4.5, -4.5));
}

// The message frame of the pop-ups, optionally with a question painted into it.
void PaintMessageFrame(QPainter& p, const QString& question)
{
    SkinStyle::DrawCloseCross(p, F(G::PopupGrid::Cross));
    SkinStyle::DrawDarkPanel(p, F(G::PopupGrid::MessageFrame), 10);
    if (question.isEmpty())
        return;
    SkinStyle::DrawText(p, F(G::PopupGrid::Message), question, SkinStyle::Serif(19), SkinColor::OnDark,
                        Qt::AlignCenter | Qt::TextWordWrap);
}

QString PopupQuestion(SkinScreens::PopupKind kind)
{
    using K = SkinScreens::PopupKind;
    switch (kind) {
    case K::Save: return QStringLiteral("Save the changes to this album before you close it?");
    case K::Exit: return QStringLiteral("Do you really want to leave Vellora?");
    case K::ExitAndSave:
        return QStringLiteral("This album has unsaved changes. Save them and leave, leave without saving, or stay?");
    default: return QString();
    }
}

void AddPopupButtons(SkinScene& scene, SkinScreens::PopupKind kind)
{
    using K = SkinScreens::PopupKind;
    namespace PG = G::PopupGrid;
    const auto ok = Pill(Icon::Check, QStringLiteral("OK"), Surface::Light, true);
    const auto cancel = Pill(Icon::CrossMark, QStringLiteral("Cancel"), Surface::Light);
    const auto save = Pill(Icon::Save, QStringLiteral("Save"), Surface::Light, true);
    const auto leave = Pill(Icon::Door, QStringLiteral("Leave"), Surface::Light);
    const auto stay = Pill(Icon::Back, QStringLiteral("Stay"), Surface::Light);
    switch (kind) {
    case K::Ok: scene.Add("imgBtn", PG::ButtonCentre, ok); break;
    case K::YesNo:
        scene.Add("ImgYes", PG::ButtonLeft, Pill(Icon::Check, QStringLiteral("Yes"), Surface::Light, true));
        scene.Add("ImgNo", PG::ButtonRight, Pill(Icon::CrossMark, QStringLiteral("No"), Surface::Light));
        break;
    case K::AddEntry:
        scene.Add("ImgApply", PG::ButtonLeft, ok);
        scene.Add("ImgCancel", PG::ButtonRight, cancel);
        break;
    case K::Save:
        scene.Add("imgYes", PG::ButtonLeft, save, Look::Hidden);
        scene.Add("imgNo", PG::ButtonRight, Pill(Icon::CrossMark, QStringLiteral("Don\u2019t save"), Surface::Light),
                  Look::Hidden);
        break;
    case K::Exit:
        scene.Add("imgYes", PG::ButtonLeft, leave, Look::Hidden);
        scene.Add("imgNo", PG::ButtonRight, stay, Look::Hidden);
        break;
    case K::ExitAndSave:
        scene.Add("imgBtnExitSave", PG::ButtonOf3First, save, Look::Hidden);
        scene.Add("imgBtnExitNoSave", PG::ButtonOf3Second, leave, Look::Hidden);
        scene.Add("imgBtnCancel", PG::ButtonOf3Third, stay, Look::Hidden);
        break;
    case K::Plain: break;
    }
}

void PaintAddEntryContent(QPainter& p)
{
    SkinStyle::DrawCloseCross(p, F(G::PopupGrid::Cross));
    SkinStyle::DrawInset(p, F(G::AddEntry::Field), 6);
}

// ------------------------------------------------------------------------------------ project menu

void PaintProjectMenuBase(QPainter& p)
{
    namespace PM = G::ProjectMenu;
    PaintPanelBackdrop(p, true);
    PaintHeader(p, R{170, 36, 520, 100}, QStringLiteral("Your album"),
                QStringLiteral("Everything for your wedding album in one place"));
    const QRectF logo = F(PM::Image1);
    SkinIcons::Draw(p, Icon::Rings, QRectF(logo.center().x() - 24, logo.top() + 10, 48, 48), SkinColor::Gold, 1.4);
    SkinStyle::DrawText(p, QRectF(logo.left(), logo.top() + 56, logo.width(), 52), QStringLiteral("Vellora"),
                        SkinStyle::Script(42), SkinColor::GoldLight, Qt::AlignCenter);
    SkinStyle::DrawOrnament(p, QPointF(logo.center().x(), logo.top() + 118), 90, QColor(0xc9, 0xa4, 0x5e, 200));
    SkinStyle::DrawCard(p, F(PM::StatusCard), 10);
    SkinStyle::DrawCard(p, F(PM::PersonCard), 10);
    SkinStyle::DrawCaption(p, QPointF(569, 400), QStringLiteral("The album of"), SkinColor::InkSoft);
    SkinIcons::Draw(p, Icon::Heart, QRectF(826, 420, 22, 22), SkinColor::Gold, 1.6);
    SkinStyle::DrawOrnament(p, QPointF(515.5, 506), 200, QColor(0xc9, 0xa4, 0x5e, 170));
    SkinStyle::DrawText(p, QRectF(170, 516, 691, 56), QStringLiteral("Every love story deserves to be told"),
                        SkinStyle::Script(34), QColor(0xea, 0xd6, 0xa4, 200), Qt::AlignCenter);
    PaintHelpBox(p, PM::HelpBox);
}

ButtonFace MenuFace(Icon icon, const QString& caption, bool silver)
{
    return Silvered(Face(icon, caption, FaceLayout::IconAbove, 15), silver);
}

// ----------------------------------------------------------------------------------- label kit

void PaintLabelSetupBase(QPainter& p)
{
    namespace LS = G::LabelkitSetup;
    PaintFormBase(p, QStringLiteral("Your disc label"),
                  QStringLiteral("A label for the CD, with your own picture and text"));
    SkinStyle::DrawCard(p, F(LS::Card));
    PaintCaption(p, 104, 204, QStringLiteral("Design the label"));
    SkinStyle::DrawHairline(p, QPointF(104, 425.5), QPointF(496, 425.5), QColor(0xc9, 0xa4, 0x5e, 110));
    PaintCaption(p, 554, 156, QStringLiteral("Preview"));
    PaintFrame(p, LS::imgPreview);
    const QRectF preview = F(LS::imgPreview);
    p.save();
    p.setPen(QPen(QColor(0xc9, 0xa4, 0x5e, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(preview.adjusted(20, 20, -20, -20));
    p.drawEllipse(QRectF(preview.center().x() - 36, preview.center().y() - 36, 72, 72));
    p.restore();
    PaintHelpBox(p, LS::HelpBox);
}

void PaintLabelGroup(QPainter& p, int top, const QString& title)
{
    SkinStyle::DrawText(p, QRectF(100, top + 12, 300, 30), title, SkinStyle::Serif(22, false, true), SkinColor::Ink,
                        Qt::AlignLeft | Qt::AlignVCenter);
    PaintFieldLabel(p, QRectF(100, top + 96, 130, 26), QStringLiteral("From the left"));
    PaintFieldLabel(p, QRectF(100, top + 126, 130, 26), QStringLiteral("From the top"));
    SkinStyle::DrawInset(p, QRectF(226, top + 98, 92, 22));
    SkinStyle::DrawInset(p, QRectF(226, top + 128, 92, 22));
    SkinIcons::Draw(p, Icon::Label, QRectF(368, top + 86, 32, 32), SkinColor::GoldDark, 1.4);
}

void PaintLabelPrintBase(QPainter& p)
{
    namespace LP = G::LabelKitPrint;
    PaintFormBase(p, QStringLiteral("Print the disc label"),
                  QStringLiteral("Place one or two labels on an A4 sheet of label paper"));
    SkinStyle::DrawCard(p, F(LP::Card));
    SkinStyle::DrawHairline(p, QPointF(448.5, 201), QPointF(448.5, 569), QColor(0xc9, 0xa4, 0x5e, 110));
    SkinStyle::DrawHairline(p, QPointF(96, 385.5), QPointF(432, 385.5), QColor(0xc9, 0xa4, 0x5e, 110));
    PaintLabelGroup(p, LP::UpperGroup.y, QStringLiteral("Upper label"));
    PaintLabelGroup(p, LP::LowerGroup.y, QStringLiteral("Lower label"));
    PaintNote(p, F(LP::Note), QStringLiteral("Each press on an arrow moves the label by half a millimetre."), 15);
    PaintCaption(p, 677, 157, QStringLiteral("A4 sheet"));
    PaintFrame(p, LP::imgPreview);
    PaintHelpBox(p, LP::HelpBox);
}

void AddArrowPad(SkinScene& scene, const std::string& prefix, const R& up, const R& left, const R& right, const R& down,
                 const std::string& downName)
{
    scene.Add(prefix + "Up", up, RoundIcon(Icon::ArrowUp, Surface::Light));
    scene.Add(prefix + "Left", left, RoundIcon(Icon::ArrowLeft, Surface::Light));
    scene.Add(prefix + "Right", right, RoundIcon(Icon::ArrowRight, Surface::Light));
    scene.Add(downName, down, RoundIcon(Icon::ArrowDown, Surface::Light));
}

// ---------------------------------------------------------------------------------------- studio

void PaintStudioField(QPainter& p, const R& field, const QString& caption)
{
    const int m = G::Photographer::FieldMargin;
    SkinStyle::DrawInset(p, QRectF(field.x - m, field.y - m, field.w + 2 * m, field.h + 2 * m));
    SkinStyle::DrawText(p, QRectF(100, field.y - 3, 130, 28), caption, SkinStyle::Serif(17), SkinColor::Ink,
                        Qt::AlignLeft | Qt::AlignVCenter);
}

void PaintStudioBase(QPainter& p)
{
    namespace Ph = G::Photographer;
    PaintFormBase(p, QStringLiteral("Studio page"), QStringLiteral("The page of your studio on every disc"));
    SkinStyle::DrawCard(p, F(G::Grid::Content));
    PaintStudioField(p, Ph::edIntro, QStringLiteral("Introduction"));
    PaintStudioField(p, Ph::memoStudio, QStringLiteral("Studio name"));
    PaintStudioField(p, Ph::memoAddress, QStringLiteral("Address"));
    PaintStudioField(p, Ph::memoPhone, QStringLiteral("Telephone"));
    PaintStudioField(p, Ph::edEmail, QStringLiteral("E-mail"));
    PaintStudioField(p, Ph::edURL, QStringLiteral("Web address"));
    PaintStudioField(p, Ph::memoInfo, QStringLiteral("Information"));
    const qreal bx = Ph::imgBtnStyleBlock3.x + Ph::imgBtnStyleBlock3.w / 2.0;
    const QColor bracket(0xc9, 0xa4, 0x5e, 170);
    SkinStyle::DrawHairline(p, QPointF(bx, Ph::imgBtnStyleBlock3.Bottom() + 4), QPointF(bx, Ph::edURL.Bottom() - 8),
                            bracket, 1.5);
    for (const R& row : {Ph::memoPhone, Ph::edEmail, Ph::edURL})
        SkinStyle::DrawHairline(p, QPointF(bx - 8, row.y + 12.5), QPointF(bx, row.y + 12.5), bracket, 1.5);
    SkinStyle::DrawHairline(p, QPointF(600.5, 186), QPointF(600.5, 564), QColor(0xc9, 0xa4, 0x5e, 110));
    PaintCaption(p, 616, 188, QStringLiteral("Pictures"));
    PaintNote(p, QRectF(616, 436, 312, 64),
              QStringLiteral("Your logo and two sample pictures appear beside your address."), 15);
    PaintHelpBox(p, G::Grid::HelpBox);
}

// What the three colours of the resolution indicator mean, in one row starting at (x, y).
void PaintQualityLegend(QPainter& p, qreal x, qreal y)
{
    const std::pair<QColor, QString> legend[] = {{SkinColor::Green, QStringLiteral("sharp")},
                                                 {SkinColor::Amber, QStringLiteral("acceptable")},
                                                 {SkinColor::Red, QStringLiteral("too small")}};
    for (const auto& [color, text] : legend) {
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QPointF(x + 6, y), 6, 6);
        SkinStyle::DrawText(p, QRectF(x + 18, y - 10, 100, 20), text, SkinStyle::Sans(13, QFont::Bold),
                            SkinColor::OnDark, Qt::AlignLeft | Qt::AlignVCenter);
        x += 112;
    }
}

void PaintImageEditBase(QPainter& p)
{
    namespace IE = G::ImageEdit;
    PaintPanelBackdrop(p, true);
    PaintFrame(p, IE::Image);
    PaintQuietLogo(p, IE::imgLogo);
    SkinStyle::DrawText(p, QRectF(712, 186, 290, 32), QStringLiteral("Choose the part to keep"),
                        SkinStyle::Serif(22, false, true), SkinColor::GoldLight, Qt::AlignLeft | Qt::AlignVCenter);
    PaintNote(p, QRectF(712, 224, 280, 100),
              QStringLiteral("Drag the frame to move it, or drag a corner to change its size. The frame keeps the "
                             "shape of the picture slot."),
              16, SkinColor::OnDark);
    SkinStyle::DrawCaption(p, QPointF(728, 338), QStringLiteral("Corrections"), SkinColor::OnDarkSoft);
    SkinStyle::DrawText(p, QRectF(108, 506, 360, 70), QStringLiteral("Crop and correct"), SkinStyle::Script(42),
                        SkinColor::GoldLight, Qt::AlignLeft | Qt::AlignVCenter);
    SkinStyle::DrawText(p, QRectF(110, 572, 340, 30), QStringLiteral("Then apply, or cancel to leave it out."),
                        SkinStyle::Serif(16, true), SkinColor::OnDarkSoft, Qt::AlignLeft | Qt::AlignVCenter);
    p.setPen(QPen(QColor(0xc9, 0xa4, 0x5e, 140), 1));
    p.setBrush(SkinColor::Night1);
    p.drawEllipse(F(IE::ImgPositiv).adjusted(4, 4, -4, -4));
    SkinStyle::DrawCaption(p, QPointF(470, 584), QStringLiteral("Quality"), SkinColor::OnDarkSoft);
    SkinStyle::DrawHelpBox(p, F(IE::HelpBox));
    PaintQualityLegend(p, 540, 620);
}

void PaintMusicBase(QPainter& p)
{
    namespace Mu = G::Music;
    PaintPanelBackdrop(p, true);
    PaintHeader(p, R{80, 36, 350, 100}, QStringLiteral("Music"), QStringLiteral("Background music for your album"));
    SkinStyle::DrawCard(p, QRectF(80, 170, 350, 345));
    PaintCaption(p, 98, 186, QStringLiteral("Chosen music"));
    SkinStyle::DrawInset(p, F(Mu::NameField));
    PaintNote(p, QRectF(98, 390, 316, 50), QStringLiteral("A title starts to play as soon as you click it."), 15);
    SkinStyle::DrawCard(p, F(Mu::imgCnt), 12, false);
    for (int row = 0; row < Mu::ListMaxRows; ++row) {
        const qreal y = Mu::ListTop + Mu::ListRowStep * row + 18.5;
        SkinStyle::DrawHairline(p, QPointF(474, y), QPointF(688, y), QColor(0xc9, 0xa4, 0x5e, 55));
    }
    PaintScrollTrack(p, Mu::ImgUp, Mu::ImgDown);
    SkinIcons::Draw(p, Icon::Music, QRectF(790, 214, 96, 96), QColor(0xc9, 0xa4, 0x5e, 150), 1.1);
    SkinStyle::DrawText(p, QRectF(752, 330, 172, 150),
                        QStringLiteral("Click a title to hear it. Your choice plays softly while the album is shown."),
                        SkinStyle::Serif(16, true), SkinColor::InkSoft,
                        Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap);
    PaintHelpBox(p, Mu::imgHelp);
}

} // namespace

// ================================================================================================ scenes

SkinScene SkinScreens::Backdrop()
{
    return SkinScene(kPanel, [](QPainter& p) { PaintPanelBackdrop(p, true); });
}

SkinScene SkinScreens::MainMenu()
{
    namespace M = G::MainMenu;
    SkinScene scene(kPanel, [](QPainter& p) {
        PaintPanelBackdrop(p, true);
        SkinIcons::Draw(p, Icon::Rings, QRectF(476, 108, 72, 72), SkinColor::Gold, 1.3);
        SkinStyle::DrawText(p, QRectF(0, 170, 1024, 170), QStringLiteral("Vellora"), SkinStyle::Script(132),
                            SkinColor::GoldLight, Qt::AlignCenter);
        SkinStyle::DrawText(p, QRectF(0, 336, 1024, 44), QStringLiteral("Wedding albums, made to be treasured"),
                            SkinStyle::Serif(28, true), SkinColor::OnDark, Qt::AlignCenter);
        SkinStyle::DrawOrnament(p, QPointF(512, 410), 170, SkinColor::Gold);
        SkinStyle::DrawText(p, QRectF(0, 432, 1024, 60),
                            QStringLiteral("Start a new album, or open one you have saved."), SkinStyle::Serif(19),
                            SkinColor::OnDarkSoft, Qt::AlignCenter);
        SkinStyle::DrawDarkPanel(p, QRectF(343, 531, 338, 97), 14);
        SkinStyle::DrawHelpBox(p, QRectF(374, 656, 277, 65));
        SkinStyle::DrawText(p, QRectF(760, 704, 220, 20), QStringLiteral("Version 1.03"), SkinStyle::Sans(11),
                            SkinColor::OnDarkSoft, Qt::AlignRight | Qt::AlignVCenter);
    });
    scene.Add("Img1", M::Img1, Tile(Icon::Plus, QStringLiteral("New"), Surface::Dark, 11));
    scene.Add("Img2", M::Img2, Tile(Icon::Folder, QStringLiteral("Open"), Surface::Dark, 11));
    scene.Add("Img3", M::Img3, Tile(Icon::Door, QStringLiteral("Exit"), Surface::Dark, 11));
    scene.Add("Img4", M::Img4, Tile(Icon::Info, QStringLiteral("Imprint"), Surface::Dark, 11));
    return scene;
}

SkinScene SkinScreens::ProjectMenu(bool alternative)
{
    namespace PM = G::ProjectMenu;
    SkinScene scene(kPanel, PaintProjectMenuBase);
    const bool s = alternative;
    auto tile = [](const ButtonFace& face) { return MenuTile(face, TilePart::Whole, R{}); };
    scene.Add("imgEdPrj_Act", PM::imgEdPrj_Act, tile(MenuFace(Icon::Pages, QStringLiteral("Edit pages"), s)));
    scene.Add("imgEdStory_Act", PM::imgEdStory_Act, tile(MenuFace(Icon::Chapters, QStringLiteral("Chapters"), s)));
    scene.Add("ImgEdPers_Act", PM::ImgEdPers_Act, tile(MenuFace(Icon::Couple, QStringLiteral("Names and date"), s)));
    scene.Add("imgMusic_Act", PM::imgMusic_Act, tile(MenuFace(Icon::Music, QStringLiteral("Music"), s)));
    scene.Add("imgFin_Act", PM::imgFin_Act, tile(MenuFace(Icon::Disc, QStringLiteral("Finish"), s)));
    scene.Add("imgSave_Act", PM::imgSave_Act, tile(MenuFace(Icon::Save, QStringLiteral("Save"), s)));
    const ButtonFace labelKit = MenuFace(Icon::Label, QStringLiteral("Disc label"), s);
    scene.Add("imgBtn_LabelKit", PM::imgBtn_LabelKit, MenuTile(labelKit, TilePart::BodyOnly, PM::imgBtn_LabelKit),
              Look::Hidden);
    scene.Add("imgLabelKitText", PM::imgLabelKitText, MenuTile(labelKit, TilePart::CaptionOnly, PM::imgBtn_LabelKit),
              Look::Hidden);
    scene.Add("imgBtn_Labelkit_Act", PM::imgBtn_Labelkit_Act, tile(labelKit), Look::Hidden);
    scene.Add("ImgStudioBG", PM::ImgStudioBG, tile(MenuFace(Icon::Camera, QStringLiteral("Studio page"), s)),
              Look::Hidden);
    auto pill = [s](Icon icon, const QString& caption) {
        return SkinScene::Button(Silvered(Face(icon, caption, FaceLayout::IconLeft, 14.5), s), Surface::Dark);
    };
    scene.Add("imgExitPrj_Act", PM::imgExitPrj_Act, pill(Icon::Back, QStringLiteral("Close this album")));
    scene.Add("imgExitPrg_Act", PM::imgExitPrg_Act, pill(Icon::Door, QStringLiteral("Leave Vellora")));
    return scene;
}

SkinScene SkinScreens::Timeline()
{
    namespace T = G::Timeline;
    SkinScene scene(QSize(T::imgBg.w, T::imgBg.h), [](QPainter& p) {
        const QRectF all = F(G::Timeline::imgBg);
        p.fillRect(all, SkinColor::Night0);
        SkinStyle::PaintDarkStrip(p, F(G::Timeline::Window));
        p.fillRect(QRectF(0, 0, all.width(), 1), QColor(0xc9, 0xa4, 0x5e, 150));
        SkinStyle::DrawHairline(p, QPointF(60, 144.5), QPointF(964, 144.5), QColor(0xc9, 0xa4, 0x5e, 60));
    });
    scene.Add("imgScrollLeft", T::imgScrollLeft, ScrollArrow(true), Look::Hidden);
    scene.Add("imgScrollRight", T::imgScrollRight, ScrollArrow(false), Look::Hidden);
    return scene;
}

SkinScene SkinScreens::GalleryStrip()
{
    namespace Ga = G::Gallery;
    const R strip{0, 0, Ga::imgTimelineBG.w, Ga::imgTimelineBG.h};
    SkinScene scene(QSize(strip.w, strip.h), [strip](QPainter& p) {
        p.fillRect(F(strip), SkinColor::Night0);
        SkinStyle::PaintDarkStrip(p, QRectF(Ga::StripBandLeft, 0, Ga::StripBandRight - Ga::StripBandLeft, strip.h));
        p.fillRect(QRectF(0, 0, strip.w, 1), QColor(0xc9, 0xa4, 0x5e, 150));
        SkinStyle::DrawHairline(p, QPointF(60, 150.5), QPointF(964, 150.5), QColor(0xc9, 0xa4, 0x5e, 60));
    });
    scene.Add("imgScrollLeft", Ga::imgScrollLeft.LocalTo(Ga::imgTimelineBG), ScrollArrow(true), Look::Hidden);
    scene.Add("imgScrollRight", Ga::imgScrollRight.LocalTo(Ga::imgTimelineBG), ScrollArrow(false), Look::Hidden);
    return scene;
}

SkinScene SkinScreens::CdromStrip()
{
    const R strip = G::EditorCommon::cdrom;
    return SkinScene(QSize(strip.w, strip.h), [strip](QPainter& p) {
        p.fillRect(QRectF(0, 0, strip.w, strip.h), SkinColor::Night0);
        p.fillRect(QRectF(0, 0, strip.w, 1), QColor(0xc9, 0xa4, 0x5e, 110));
        SkinStyle::DrawOrnament(p, QPointF(strip.w / 2.0, 7), 240, QColor(0xc9, 0xa4, 0x5e, 170));
    });
}

SkinScene SkinScreens::EditorScene(Editor editor)
{
    SkinScene scene(QSize(G::PanelWidth, G::EditLayout::imgBkg.h), [editor](QPainter& p) {
        PaintEditorChrome(p, editor != Editor::Gallery);
        switch (editor) {
        case Editor::Layout: PaintLayoutCard(p); break;
        case Editor::Picture: PaintPictureCard(p); break;
        case Editor::Text: PaintTextCard(p); break;
        case Editor::Gallery: PaintGalleryCard(p); break;
        }
    });
    if (editor != Editor::Gallery)
        AddTabs(scene, editor);
    AddTopBar(scene);
    if (editor != Editor::Gallery)
        scene.Add("imgFullscreen", G::EditorCommon::imgFullscreen,
                  Tile(Icon::Fullscreen, QStringLiteral("Full screen"), Surface::Dark, 12.5));
    if (editor == Editor::Layout)
        AddLayoutControls(scene);
    else if (editor == Editor::Picture)
        AddPictureControls(scene);
    else if (editor == Editor::Text)
        AddTextControls(scene);
    else
        AddGalleryControls(scene);
    return scene;
}

SkinScene SkinScreens::ImageEdit()
{
    namespace IE = G::ImageEdit;
    SkinScene scene(kPanel, PaintImageEditBase);
    scene.Add("ImgCancel", IE::ImgCancel, Pill(Icon::CrossMark, QStringLiteral("Cancel"), Surface::Dark, false, 14));
    scene.Add("ImgApply", IE::ImgApply, Pill(Icon::Check, QStringLiteral("Apply"), Surface::Dark, true, 14));
    scene.Add("ImageOriginal", IE::ImageOriginal, Pill(Icon::Undo, QStringLiteral("Original"), Surface::Dark));
    scene.Add("ImageGray", IE::ImageGray, Pill(Icon::Greyscale, QStringLiteral("Black and white"), Surface::Dark));
    scene.Add("ImageOptimize", IE::ImageOptimize, Pill(Icon::Magic, QStringLiteral("Optimise"), Surface::Dark));
    scene.Add("ImgNegativ", IE::ImgNegativ, Indicator(SkinColor::Red, Icon::CrossMark), Look::Hidden);
    scene.Add("ImgNeutral", IE::ImgNeutral, Indicator(SkinColor::Amber, Icon::None), Look::Hidden);
    scene.Add("ImgPositiv", IE::ImgPositiv, Indicator(SkinColor::Green, Icon::Check), Look::Hidden);
    return scene;
}

SkinScene SkinScreens::Music()
{
    namespace Mu = G::Music;
    SkinScene scene(kPanel, PaintMusicBase);
    scene.Add("imgBtnPlayStop", Mu::imgBtnPlayStop, Pill(Icon::Play, QStringLiteral("Play"), Surface::Light));
    scene.Add("imgStop", Mu::imgStop, Pill(Icon::Stop, QStringLiteral("Stop"), Surface::Light, true), Look::Hidden);
    scene.Add("imgSelectMusic", Mu::imgSelectMusic,
              Pill(Icon::File, QStringLiteral("My own MP3 file"), Surface::Light));
    scene.Add("imgBtnNoMusic", Mu::imgBtnNoMusic, Pill(Icon::NoMusic, QStringLiteral("No music"), Surface::Light));
    scene.Add("imgBtnCancel", Mu::imgBtnCancel, Pill(Icon::CrossMark, QStringLiteral("Cancel"), Surface::Light));
    scene.Add("imgBtnAccept", Mu::imgBtnAccept, Pill(Icon::Check, QStringLiteral("Accept"), Surface::Light, true));
    return scene;
}

SkinScene SkinScreens::Finish()
{
    namespace Fi = G::Finish;
    SkinScene scene(kPanel, [](QPainter& p) {
        PaintFormBase(p, QStringLiteral("Finish your album"),
                      QStringLiteral("Write the disc folder, ready to be burnt onto a CD"));
        PaintFinishForm(p);
        PaintHelpBox(p, Fi::imgHelpBox);
    });
    scene.Add("Image1", Fi::Image1, Pill(Icon::Folder, QStringLiteral("Choose"), Surface::Light));
    scene.Add("imgVisibleOff", Fi::imgVisible, CheckSwitch(QStringLiteral("Show the studio page on the disc"), false),
              Look::Hidden);
    scene.Add("imgVisibleOn", Fi::imgVisible, CheckSwitch(QStringLiteral("Show the studio page on the disc"), true),
              Look::Hidden);
    scene.Add("imgDuration", Fi::imgDuration, DurationFrame(), Look::Hidden);
    AddOkCancel(scene, "ImgCancel", "ImgApply", QStringLiteral("Back"), QStringLiteral("Finish"), Icon::Disc,
                Icon::Back);
    return scene;
}

SkinScene SkinScreens::FinishComplete()
{
    SkinScene scene(kPanel, [](QPainter& p) {
        PaintFormBase(p, QStringLiteral("Finish your album"),
                      QStringLiteral("Write the disc folder, ready to be burnt onto a CD"));
        SkinStyle::DrawCard(p, F(G::Grid::Content));
        SkinIcons::Draw(p, Icon::Check, QRectF(120, 214, 64, 64), SkinColor::Green, 2.2);
        SkinStyle::DrawText(p, QRectF(212, 204, 680, 48), QStringLiteral("Your album is ready"),
                            SkinStyle::Serif(34, false, true), SkinColor::Ink, Qt::AlignLeft | Qt::AlignVCenter);
        PaintNote(p, QRectF(214, 262, 660, 150),
                  QStringLiteral("Burn the folder \u201cVellora\u201d onto a CD or copy it to a USB stick. It starts "
                                 "by itself on Windows; anywhere else, open index.html in a web browser."),
                  19, SkinColor::Ink);
        SkinIcons::Draw(p, Icon::Rings, QRectF(482, 330, 60, 60), SkinColor::Gold, 1.3);
        SkinStyle::DrawText(p, QRectF(112, 392, 800, 70), QStringLiteral("Congratulations to the two of you"),
                            SkinStyle::Script(40), SkinColor::GoldDark, Qt::AlignCenter);
        SkinStyle::DrawOrnament(p, QPointF(512, 474), 180, SkinColor::Gold);
    });
    scene.Add("ImgBtn", G::FinishComplete::ImgBtn, Pill(Icon::Check, QStringLiteral("OK"), Surface::Light, true));
    scene.Add("imgBtnDiscImage", G::FinishComplete::imgBtnDiscImage,
              Pill(Icon::Disc, QStringLiteral("Save a disc image"), Surface::Light));
    scene.Add("imgBtnVideo", G::FinishComplete::imgBtnVideo,
              Pill(Icon::Play, QStringLiteral("Make a video"), Surface::Light));
    return scene;
}

SkinScene SkinScreens::FinishError()
{
    namespace FE = G::FinishError;
    SkinScene scene(kPanel, [](QPainter& p) {
        PaintFormBase(p, QStringLiteral("Finish your album"),
                      QStringLiteral("Write the disc folder, ready to be burnt onto a CD"));
        SkinStyle::DrawCard(p, F(G::Grid::Content));
        SkinIcons::Draw(p, Icon::Warning, QRectF(120, 196, 60, 60), SkinColor::Red, 2.0);
        SkinStyle::DrawText(p, QRectF(206, 190, 680, 44), QStringLiteral("The album could not be finished"),
                            SkinStyle::Serif(32, false, true), SkinColor::Ink, Qt::AlignLeft | Qt::AlignVCenter);
        PaintNote(p, QRectF(208, 236, 680, 56),
                  QStringLiteral("Your project itself is safe. Read the note below, then try again."), 18,
                  SkinColor::Ink);
        SkinStyle::DrawDarkPanel(p, F(FE::ImgFrame), 12);
    });
    scene.Add("ImgBtn", FE::ImgBtn, Pill(Icon::Check, QStringLiteral("OK"), Surface::Light, true));
    return scene;
}

SkinScene SkinScreens::NewProject1(bool personalData)
{
    SkinScene scene(kPanel, [personalData](QPainter& p) {
        if (personalData)
            PaintFormBase(p, QStringLiteral("Names and date"),
                          QStringLiteral("The couple and the wedding day of this album"));
        else
            PaintFormBase(p, QStringLiteral("A new album"),
                          QStringLiteral("Step 1 of 3 \u00b7 The couple and the wedding day"));
        PaintPersonCard(p);
        PaintHelpBox(p, G::Grid::HelpBox);
    });
    AddOkCancel(scene, "ImgCancel", "ImgApply", QStringLiteral("Cancel"), QStringLiteral("OK"));
    scene.Add("imgCalendar", G::NewProject1::imgCalendar, SquareIcon(Icon::Calendar));
    return scene;
}

SkinScene SkinScreens::NewProject2()
{
    SkinScene scene(kPanel, [](QPainter& p) {
        PaintFormBase(p, QStringLiteral("Choose a design"),
                      QStringLiteral("Step 2 of 3 \u00b7 The look of your album"));
        PaintDesignCard(p);
        PaintHelpBox(p, G::Grid::HelpBox);
    });
    scene.Add("ImgFullscreen", G::NewProject2::ImgFullscreen,
              Tile(Icon::Fullscreen, QStringLiteral("Full size"), Surface::Light, 13), Look::Hidden);
    return scene;
}

SkinScene SkinScreens::NewProject3(bool editMode)
{
    namespace N = G::NewProject3;
    SkinScene scene(kPanel, [editMode](QPainter& p) {
        if (editMode)
            PaintFormBase(p, QStringLiteral("Edit the chapters"),
                          QStringLiteral("Add, rename or leave out chapters of your album"));
        else
            PaintFormBase(p, QStringLiteral("Your chapters"),
                          QStringLiteral("Step 3 of 3 \u00b7 The story of your album"));
        PaintChapterCards(p);
        PaintHelpBox(p, G::Grid::HelpBox);
    });
    scene.Add("imgBtnNew", N::imgBtnNew, Pill(Icon::Plus, QStringLiteral("New chapter"), Surface::Light));
    scene.Add("imgBtnNewSub", N::imgBtnNewSub, Pill(Icon::NewSub, QStringLiteral("New sub-chapter"), Surface::Light));
    scene.Add("imgBtnEditName", N::imgBtnEditName, Pill(Icon::Pencil, QStringLiteral("Rename"), Surface::Light));
    scene.Add("imgBtnRemove", N::imgBtnRemove, Pill(Icon::Trash, QStringLiteral("Remove"), Surface::Light));
    return scene;
}

SkinScene SkinScreens::Imprint()
{
    namespace Im = G::Imprint;
    SkinScene scene(kPanel, [](QPainter& p) {
        PaintPanelBackdrop(p, true);
        const QRectF card = F(Im::ImgImprint);
        SkinStyle::DrawCard(p, card);
        SkinStyle::DrawText(p, QRectF(card.left() + 34, card.top() + 18, 400, 80), QStringLiteral("Vellora"),
                            SkinStyle::Script(60), SkinColor::GoldDark, Qt::AlignLeft | Qt::AlignVCenter);
        SkinStyle::DrawText(p, QRectF(card.left() + 38, card.top() + 96, 560, 28),
                            QStringLiteral("Wedding albums on disc \u00b7 Version 1.03"), SkinStyle::Serif(20, true),
                            SkinColor::InkSoft, Qt::AlignLeft | Qt::AlignVCenter);
        SkinStyle::DrawHairline(p, QPointF(card.left() + 38, card.top() + 136.5),
                                QPointF(card.right() - 38, card.top() + 136.5), QColor(0xc9, 0xa4, 0x5e, 160));
        PaintNote(p, QRectF(card.left() + 38, card.top() + 152, 560, 200),
                  QStringLiteral("Vellora turns wedding and family photographs into an interactive album on a CD.\n\n"
                                 "\u00a9 2025 The Vellora authors. All rights reserved.\n\n"
                                 "Typefaces: EB Garamond, Linux Libertine, Dancing Script and Lato, used under "
                                 "the SIL Open Font License.\n\n"
                                 "Help and support: www.vellora.example/support"),
                  17, SkinColor::Ink, false);
    });
    scene.Add("ImgBtn", Im::ImgBtn, Pill(Icon::Check, QStringLiteral("OK"), Surface::Light, true));
    return scene;
}

SkinScene SkinScreens::Popup(PopupKind kind)
{
    SkinScene scene(kPopup, PaintPopupBase);
    if (kind == PopupKind::AddEntry)
        scene.Add(
            "content", G::PopupGrid::Content, [](QPainter& p, const QRectF&, Look) { PaintAddEntryContent(p); },
            Look::Hidden);
    else if (kind != PopupKind::Plain)
        scene.Add(
            "content", G::PopupGrid::Content,
            [kind](QPainter& p, const QRectF&, Look) { PaintMessageFrame(p, PopupQuestion(kind)); }, Look::Hidden);
    AddPopupButtons(scene, kind);
    // The wait pop-up's Cancel, shown only while a step may be cancelled.
    if (kind == PopupKind::Plain)
        scene.Add("imgCancel", G::WaitPopup::imgCancel, Pill(Icon::CrossMark, QStringLiteral("Cancel"), Surface::Light),
                  Look::Hidden);
    return scene;
}

SkinScene SkinScreens::MemoPopup()
{
    namespace Me = G::MemoPopup;
    SkinScene scene(kPopup, [](QPainter& p) {
        PaintPopupBase(p);
        SkinStyle::DrawCloseCross(p, F(G::PopupGrid::Cross));
        SkinStyle::DrawInset(p, F(Me::Field), 6);
    });
    scene.Add("imgBtnOK", Me::imgBtnOK, Pill(Icon::Check, QStringLiteral("OK"), Surface::Light, true));
    scene.Add("imgBtnCancel", Me::imgBtnCancel, Pill(Icon::CrossMark, QStringLiteral("Cancel"), Surface::Light));
    return scene;
}

SkinScene SkinScreens::FindingsPopup()
{
    namespace Fi = G::FindingsPopup;
    SkinScene scene(kPopup, [](QPainter& p) {
        PaintPopupBase(p);
        SkinStyle::DrawCloseCross(p, F(G::PopupGrid::Cross));
        SkinStyle::DrawInset(p, F(Fi::Field), 6);
    });
    scene.Add("imgBtnFinish", Fi::imgBtnFinish, Pill(Icon::Check, QStringLiteral("Finish anyway"), Surface::Light));
    scene.Add("imgBtnBack", Fi::imgBtnBack, Pill(Icon::Back, QStringLiteral("Go back"), Surface::Light, true));
    return scene;
}

SkinScene SkinScreens::LabelkitSetup()
{
    namespace LS = G::LabelkitSetup;
    SkinScene scene(kPanel, PaintLabelSetupBase);
    scene.Add("imgBtnLoadUserPic", LS::imgBtnLoadUserPic,
              Pill(Icon::Picture, QStringLiteral("Add your own picture"), Surface::Light));
    scene.Add("imgBtnEdUserText", LS::imgBtnEdUserText,
              Pill(Icon::Pencil, QStringLiteral("Write the label text"), Surface::Light));
    scene.Add("imgBtnClearUserPic", LS::imgBtnClearUserPic,
              Pill(Icon::Trash, QStringLiteral("Remove your picture"), Surface::Light));
    scene.Add("imgBtnPrint", LS::imgBtnPrint,
              Pill(Icon::Printer, QStringLiteral("Go on to printing"), Surface::Light, true));
    scene.Add("imgBtnCancel", LS::imgBtnCancel,
              Pill(Icon::Back, QStringLiteral("Back to the project menu"), Surface::Light));
    return scene;
}

SkinScene SkinScreens::LabelKitPrint()
{
    namespace LP = G::LabelKitPrint;
    SkinScene scene(kPanel, PaintLabelPrintBase);
    scene.Add("imgPrntUpLabel", LP::imgPrntUpLabel, CheckSwitch(QStringLiteral("Print the upper label"), false));
    scene.Add("imgPrntUpLblChecked", LP::imgPrntUpLblChecked,
              CheckSwitch(QStringLiteral("Print the upper label"), true), Look::Hidden);
    scene.Add("imgPrntLoLabel", LP::imgPrntLoLabel, CheckSwitch(QStringLiteral("Print the lower label"), false));
    scene.Add("imgPrntLoLblChecked", LP::imgPrntLoLblChecked,
              CheckSwitch(QStringLiteral("Print the lower label"), true), Look::Hidden);
    AddArrowPad(scene, "imgBtnUpperLbl", LP::imgBtnUpperLblUp, LP::imgBtnUpperLblLeft, LP::imgBtnUpperLblRight,
                LP::imgBtnUpperLblDown, "imgBtnUpperLblDown");
    AddArrowPad(scene, "imgBtnLowerLbl", LP::imgBtnLowerLblUp, LP::imgBtnLowerLblLeft, LP::imgBtnLowerLblRight,
                LP::imgBtnLowerLblDpwn, "imgBtnLowerLblDpwn");
    scene.Add("imgBtnPrint", LP::imgBtnPrint, Pill(Icon::Printer, QStringLiteral("Print"), Surface::Light, true));
    scene.Add("imgBtnReset", LP::imgBtnReset,
              Pill(Icon::Reset, QStringLiteral("Reset positions"), Surface::Light, false, 13.5));
    scene.Add("imgBtnTestSheet", LP::imgBtnTestSheet,
              Pill(Icon::File, QStringLiteral("Print a test sheet"), Surface::Light, false, 13.5));
    scene.Add("imgBtnBackToEdLbl", LP::imgBtnBackToEdLbl,
              Pill(Icon::Back, QStringLiteral("Back to the label"), Surface::Light, false, 13.5));
    scene.Add("imgBtnBackToPrjMenu", LP::imgBtnBackToPrjMenu,
              Pill(Icon::Home, QStringLiteral("Project menu"), Surface::Light, false, 13.5));
    return scene;
}

SkinScene SkinScreens::Photographer()
{
    namespace Ph = G::Photographer;
    SkinScene scene(kPanel, PaintStudioBase);
    for (const auto& [name, rect] :
         {std::pair{"imgBtnStyleBlock1", Ph::imgBtnStyleBlock1}, std::pair{"imgBtnStyleBlock2", Ph::imgBtnStyleBlock2},
          std::pair{"imgBtnStyleBlock3", Ph::imgBtnStyleBlock3}, std::pair{"imgBtnFontInfo", Ph::imgBtnFontInfo}})
        scene.Add(name, rect, SquareIcon(Icon::Font));
    scene.Add("imgBtnLogo", Ph::imgBtnLogo, Tile(Icon::Rings, QStringLiteral("Logo"), Surface::Light, 13));
    scene.Add("imgBtnSample1", Ph::imgBtnSample1, Tile(Icon::Picture, QStringLiteral("Sample 1"), Surface::Light, 13));
    scene.Add("imgBtnSample2", Ph::imgBtnSample2, Tile(Icon::Picture, QStringLiteral("Sample 2"), Surface::Light, 13));
    scene.Add("imgBtnDelLogo", Ph::imgBtnDelLogo, DeleteButton(), Look::Hidden);
    scene.Add("imgBtnDelSamp1", Ph::imgBtnDelSamp1, DeleteButton(), Look::Hidden);
    scene.Add("imgBtnDelSamp2", Ph::imgBtnDelSamp2, DeleteButton(), Look::Hidden);
    scene.Add("Image7", Ph::Image7, Pill(Icon::Eye, QStringLiteral("Preview the studio page"), Surface::Light));
    AddOkCancel(scene, "imgBtnCancel", "imgBtnOK", QStringLiteral("Cancel"), QStringLiteral("OK"));
    return scene;
}

SkinScene SkinScreens::PreviewClose()
{
    const R close = G::Preview::imgClose;
    SkinScene scene(QSize(close.w, close.h),
                    [](QPainter& p) { p.fillRect(QRectF(0, 0, 400, 100), SkinColor::Night1); });
    ButtonFace face = Face(Icon::CrossMark, QStringLiteral("Close the preview"), FaceLayout::IconLeft, 14);
    face.radius = 6;
    scene.Add("imgClose", R{0, 0, close.w, close.h}, SkinScene::Button(face, Surface::Dark));
    return scene;
}

SkinScene SkinScreens::ChapterIcons()
{
    const int s = G::NewProject3::IconSize;
    SkinScene scene(QSize(3 * s + 10, s), [](QPainter& p) { p.fillRect(QRectF(0, 0, 200, 50), SkinColor::Paper); });
    scene.Add("on", R{0, 0, s, s}, ChapterIcon(0));
    scene.Add("fixed", R{s + 5, 0, s, s}, ChapterIcon(1));
    scene.Add("off", R{2 * s + 10, 0, s, s}, ChapterIcon(2));
    return scene;
}

SkinScene SkinScreens::MissingThumbnail()
{
    return SkinScene(QSize(100, 75), [](QPainter& p) {
        p.fillRect(QRectF(0, 0, 100, 75), SkinColor::Night3);
        SkinIcons::Draw(p, Icon::Picture, QRectF(36, 12, 28, 28), SkinColor::GreyDarkText, 1.6);
        SkinStyle::DrawText(p, QRectF(0, 44, 100, 20), QStringLiteral("No preview"), SkinStyle::Sans(12, QFont::Bold),
                            SkinColor::OnDarkSoft, Qt::AlignCenter);
    });
}

SkinScene SkinScreens::Placeholder()
{
    return SkinScene(QSize(8, 8), [](QPainter& p) { p.fillRect(QRectF(0, 0, 8, 8), SkinColor::Night0); });
}
