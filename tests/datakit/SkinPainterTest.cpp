#include "SkinPainter.h"
#include "SkinScene.h"
#include "platform/Errors.h"
#include "screens/DataIndexes.h"
#include "screens/ScreenGeometry.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <utility>
#include <vector>

namespace G = Geometry;

namespace {

QSize SizeOf(const G::ControlRect& r) { return QSize(r.w, r.h); }

QImage Compose(SkinPainter& painter, QSize size, const std::vector<std::pair<int, G::ControlRect>>& parts)
{
    QImage screen(size, QImage::Format_RGB32);
    screen.fill(Qt::magenta);
    QPainter p(&screen);
    for (const auto& [index, at] : parts)
        p.drawImage(at.x, at.y, painter.Paint(index));
    return screen;
}

// A hover or greyed picture must fit its place: the corners, which the button's rounded body leaves free,
// show exactly what the background shows there, and inside it really looks different.
void ExpectFitsOver(SkinPainter& painter, const QImage& screen, int index, const G::ControlRect& at)
{
    SCOPED_TRACE("picture " + std::to_string(index));
    const QImage overlay = painter.Paint(index);
    ASSERT_EQ(overlay.size(), SizeOf(at));
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            EXPECT_EQ(overlay.pixel(dx, dy), screen.pixel(at.x + dx, at.y + dy));
            EXPECT_EQ(overlay.pixel(at.w - 1 - dx, dy), screen.pixel(at.Right() - 1 - dx, at.y + dy));
        }
    int changed = 0;
    for (int y = 0; y < at.h; ++y)
        for (int x = 0; x < at.w; ++x)
            changed += overlay.pixel(x, y) != screen.pixel(at.x + x, at.y + y);
    EXPECT_GT(changed, at.w * at.h / 50);
}

const QRgb kBase = qRgb(200, 0, 0);
const QRgb kPassive = qRgb(0, 0, 200);
const QRgb kActive = qRgb(0, 200, 0);

// A 10 x 6 scene: a red base and one 4 x 3 control at (2, 1), blue when passive and green when active.
SkinScene TinyScene(Look initial = Look::Passive)
{
    SkinScene scene(QSize(10, 6), [](QPainter& p) { p.fillRect(QRect(0, 0, 10, 6), QColor(kBase)); });
    scene.Add(
        "button", Geometry::ControlRect{2, 1, 4, 3},
        [](QPainter& p, const QRectF& r, Look look) {
            p.fillRect(r, QColor(look == Look::Active ? kActive : kPassive));
        },
        initial);
    return scene;
}

int CountColour(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

} // namespace

// 171 of the 205 positions hold a picture in use; every other position holds a tiny placeholder. A picture in
// use takes the size of its place in the geometry table.
TEST(SkinPainterTest, EveryPositionHoldsAPicture)
{
    SkinPainter painter;
    ASSERT_EQ(SkinPainter::Count(), 205);
    int used = 0;
    for (int index = 0; index < SkinPainter::Count(); ++index) {
        SCOPED_TRACE("picture " + std::to_string(index));
        const QImage picture = painter.Paint(index);
        ASSERT_FALSE(picture.isNull());
        used += SkinPainter::IsUsed(index) ? 1 : 0;
        if (!SkinPainter::IsUsed(index)) {
            EXPECT_LE(picture.width() * picture.height(), 64);
        }
    }
    EXPECT_EQ(used, 205 - 34);
    EXPECT_EQ(painter.Paint(Skin::OkButton).size(), SizeOf(G::OkPopup::imgBtn));
}

TEST(SkinPainterTest, StateImagesFitTheirScreens)
{
    SkinPainter painter;
    namespace IE = G::ImageEdit;
    const QImage imageEdit = Compose(painter, {1024, 768},
                                     {{Skin::ImageEditTop, IE::ImgBG1},
                                      {Skin::ImageEditLeft, IE::ImgBG2},
                                      {Skin::ImageEditBottom, IE::ImgBG3},
                                      {Skin::ImageEditRight, IE::ImgBG4}});
    for (int index : {Skin::ResolutionLow, Skin::ResolutionBorderline, Skin::ResolutionGood})
        ExpectFitsOver(painter, imageEdit, index, IE::ImgPositiv);
    const QImage popup = painter.Paint(Skin::PopupBackground);
    const std::pair<int, G::ControlRect> popupButtons[] = {
        {Skin::StayButtonActive, G::Exit::imgNoActive},
        {Skin::OkButton, G::OkPopup::imgBtn},
        {Skin::SaveButtonActive, G::ExitAndSave::imgBtnExitSave_Act}};
    for (const auto& [index, at] : popupButtons)
        ExpectFitsOver(painter, popup, index, at);
    const QImage labelPrint = painter.Paint(Skin::LabelKitPrintBackground);
    ExpectFitsOver(painter, labelPrint, Skin::PrintUpperLabelTicked, G::LabelKitPrint::imgPrntUpLblChecked);
    namespace Mu = G::Music;
    const QImage music = Compose(painter, {1024, 768}, {{Skin::Backdrop, Mu::ImgBG}, {Skin::MusicButtons, Mu::imgBtn}});
    ExpectFitsOver(painter, music, Skin::MusicStop, Mu::imgStop);
    const QImage finishComplete =
        Compose(painter, {1024, 768},
                {{Skin::Backdrop, G::Grid::FullPanel}, {Skin::FinishCompleteReport, G::FinishComplete::ImgReport}});
    ExpectFitsOver(painter, finishComplete, Skin::DiscImageButtonActive, G::FinishComplete::imgBtnDiscImage);
}

TEST(SkinSceneTest, RenderDrawsTheBaseAndEachControlInItsLook)
{
    const QImage passive = TinyScene().Render();
    ASSERT_EQ(passive.size(), QSize(10, 6));
    EXPECT_EQ(passive.pixel(0, 0), kBase);
    EXPECT_EQ(passive.pixel(2, 1), kPassive);
    EXPECT_EQ(passive.pixel(5, 3), kPassive);
    EXPECT_EQ(passive.pixel(6, 3), kBase);
    EXPECT_EQ(passive.pixel(5, 4), kBase);
    EXPECT_EQ(CountColour(passive, kPassive), 12);

    const QImage active = TinyScene().Render({{"button", Look::Active}});
    EXPECT_EQ(CountColour(active, kActive), 12);
    const QImage hidden = TinyScene().Render({{"button", Look::Hidden}});
    EXPECT_EQ(CountColour(hidden, kBase), 60);
    EXPECT_EQ(CountColour(TinyScene(Look::Hidden).Render(), kBase), 60);
}

TEST(SkinSceneTest, AnUnknownControlIsAnError)
{
    EXPECT_THROW(TinyScene().Picture("no such control", Look::Active), EVelloraError);
    EXPECT_THROW(TinyScene().Control("no such control"), EVelloraError);
    EXPECT_EQ(TinyScene().Control("button").rect, (Geometry::ControlRect{2, 1, 4, 3}));
}
