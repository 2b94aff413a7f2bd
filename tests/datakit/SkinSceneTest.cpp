#include "SkinScene.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

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
