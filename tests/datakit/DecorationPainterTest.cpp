#include "DecorationPainter.h"
#include "VectorPath.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>

namespace {

JsonCursor Layers(const char* json) { return JsonCursor::Parse(QByteArray(json), "paint.json"); }

DecorationPainter Painter()
{
    return DecorationPainter({{"gold", QColor(0xb0, 0x8d, 0x3c)}}, {{"sans", QByteArray("not a font")}},
                             QColor(10, 20, 30));
}

std::string ErrorOf(const char* json, QSize size = QSize(8, 8))
{
    try {
        Painter().Paint(Layers(json), size);
    } catch (const EDataSourceError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(DecorationPainterTest, StartsFromTheBaseColourAndFillsWholePictures)
{
    const QImage plain = Painter().Paint(Layers("[]"), QSize(3, 2));
    EXPECT_EQ(plain.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(plain.pixel(2, 1), qRgb(10, 20, 30));
    const QImage filled = Painter().Paint(Layers(R"([{"fill": "gold"}])"), QSize(3, 2));
    EXPECT_EQ(filled.pixel(1, 1), qRgb(0xb0, 0x8d, 0x3c));
}

TEST(DecorationPainterTest, RectanglesFillAndStrokeExactlyWhereTheyAre)
{
    const QImage image =
        Painter().Paint(Layers(R"([{"fill": "#ffffff"}, {"rect": [2, 2, 4, 3], "fill": "#ff0000"}])"), QSize(8, 8));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 4), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(6, 4), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
}

std::string Row(const QImage& image, int y)
{
    std::string row;
    for (int x = 0; x < image.width(); ++x)
        row += qRed(image.pixel(x, y)) > 127 ? '.' : '#';
    return row;
}

TEST(DecorationPainterTest, BorderIsInsetFromTheEdgesOfAnySize)
{
    for (const QSize size : {QSize(12, 16), QSize(20, 30)}) {
        const QImage image = Painter().Paint(
            Layers(R"([{"fill": "#ffffff"}, {"border": 2, "stroke": "#000000", "width": 2}])"), size);
        SCOPED_TRACE(Row(image, size.height() / 2));
        EXPECT_EQ(image.pixel(1, size.height() / 2), qRgb(255, 255, 255));
        EXPECT_EQ(image.pixel(2, size.height() / 2), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(3, size.height() / 2), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(4, size.height() / 2), qRgb(255, 255, 255));
        EXPECT_EQ(image.pixel(size.width() - 3, size.height() / 2), qRgb(0, 0, 0));
    }
}

// The largest difference of a colour channel between two pictures of the same size.
int MaxDifference(const QImage& a, const QImage& b)
{
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift : {0, 8, 16})
                most = std::max(most, std::abs(int((a.pixel(x, y) >> shift) & 0xFF) - int((b.pixel(x, y) >> shift) & 0xFF)));
    return most;
}

// Antialiasing may shade a mirrored edge a little differently, but the shapes are the same.
TEST(DecorationPainterTest, CornersAreMirrorImagesOfEachOther)
{
    const QImage image = Painter().Paint(
        Layers(R"([{"fill": "#ffffff"}, {"corners": "corner", "inset": 1, "size": 12, "colour": "#000000"}])"),
        QSize(30, 20));
    EXPECT_LE(MaxDifference(image, image.mirrored(true, false)), 40);
    EXPECT_LE(MaxDifference(image, image.mirrored(false, true)), 40);
    EXPECT_NE(image.pixel(3, 3), qRgb(255, 255, 255));
}

TEST(DecorationPainterTest, GradientsRunFromTheirFirstToTheirLastStop)
{
    const QImage image = Painter().Paint(
        Layers(R"([{"fill": {"linear": [0, 0, 100, 0], "stops": [[0, "#000000"], [1, "#ffffff"]]}}])"), QSize(100, 1));
    EXPECT_LT(qRed(image.pixel(0, 0)), 4);
    EXPECT_GT(qRed(image.pixel(99, 0)), 250);
    EXPECT_NEAR(qRed(image.pixel(50, 0)), 128, 4);
}

TEST(DecorationPainterTest, GrainDependsOnlyOnItsSeed)
{
    const char* a = R"([{"fill": "#808080"}, {"grain": 10, "seed": 3}])";
    const char* b = R"([{"fill": "#808080"}, {"grain": 10, "seed": 4}])";
    const QImage first = Painter().Paint(Layers(a), QSize(16, 16));
    EXPECT_EQ(first, Painter().Paint(Layers(a), QSize(16, 16)));
    EXPECT_NE(first, Painter().Paint(Layers(b), QSize(16, 16)));
    for (int x = 0; x < 16; ++x)
        EXPECT_NEAR(qRed(first.pixel(x, 5)), 128, 10);
}

// The horizontal extent of the dark pixels of a picture.
std::pair<int, int> InkColumns(const QImage& image)
{
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

TEST(DecorationPainterTest, TextIsDrawnWithTheGivenFontFileAndAligned)
{
    QFile file("/usr/share/fonts/truetype/lato/Lato-Regular.ttf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const DecorationPainter painter({}, {{"sans", file.readAll()}}, Qt::white);
    auto ink = [&](const char* align) {
        const std::string json = std::string(R"([{"text": "II", "font": "sans", "px": 40, "rect": [0, 0, 200, 60], )") +
                                 R"("colour": "#000000", "align": ")" + align + R"("}])";
        return InkColumns(painter.Paint(Layers(json.c_str()), QSize(200, 60)));
    };
    const auto left = ink("left");
    const auto centre = ink("centre");
    const auto right = ink("right");
    EXPECT_LT(left.first, 10);
    EXPECT_GT(right.second, 190);
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 100, 3);
    EXPECT_EQ(left.second - left.first, right.second - right.first);
}

TEST(DecorationPainterTest, MistakesNameTheLayerAndTheReason)
{
    EXPECT_EQ(ErrorOf(R"([{"fill": "#ff0000", "colr": 1}])"),
              "paint.json: [0]: unknown field \"colr\" (known here: fill, opacity)");
    EXPECT_EQ(ErrorOf(R"([{"fill": "#ff00"}])"),
              "paint.json: [0] / fill: the colour \"#ff00\" is not of the form #rrggbb or #rrggbbaa");
    EXPECT_EQ(ErrorOf(R"([{"fill": "silver"}])"),
              "paint.json: [0] / fill: \"silver\" is neither a colour #rrggbb nor a name of the colour table");
    EXPECT_EQ(ErrorOf(R"([{"ornament": "dragon", "at": [1, 1], "size": 4, "colour": "gold"}])"),
              "paint.json: [0] / ornament: unknown ornament \"dragon\" (known: arrowLeft, arrowRight, corner, cross, "
              "divider, dot, flourish, heart, leaf, rings, sparkle, speaker, sprig)");
    EXPECT_EQ(ErrorOf(R"([{"opacity": 1}])"),
              "paint.json: [0]: a layer needs one operation: fill, rect, ellipse, line, border, path, ornament, "
              "corners, text, shadow, grain or vignette");
    EXPECT_EQ(ErrorOf(R"([{"rect": [0, 0, 2], "fill": "gold"}])"),
              "paint.json: [0] / rect: expected a list of 4 numbers, found a list of 3");
    EXPECT_EQ(ErrorOf(R"([{"text": "x", "font": "serif", "px": 9, "rect": [0, 0, 4, 4], "colour": "gold"}])"),
              "paint.json: [0] / font: \"serif\" is not one of the design's fonts");
    EXPECT_EQ(ErrorOf(R"([{"text": "x", "font": "sans", "px": 9, "rect": [0, 0, 4, 4], "colour": "gold"}])"),
              "paint.json: [0] / font: the font \"sans\" cannot be read");
    EXPECT_EQ(ErrorOf(R"([{"ellipse": [0, 0, 4, 4], "rect": [0, 0, 1, 1]}])"),
              "paint.json: [0]: unknown field \"rect\" (known here: ellipse, fill, stroke, width, opacity)");
    EXPECT_EQ(ErrorOf(R"([{"path": "M 0 0 A 1 1 0 0 0 4 4", "fill": "gold"}])"),
              "paint.json: [0] / path: the path command \"A\" is not supported (use M L H V C S Q T Z)");
}

TEST(VectorPathTest, ReadsAbsoluteAndRelativeCommands)
{
    QPainterPath path;
    std::string error;
    ASSERT_TRUE(VectorPath::Parse("M10 10 L20 10 l0 10 H10 Z", path, error)) << error;
    EXPECT_EQ(path.boundingRect(), QRectF(10, 10, 10, 10));
    ASSERT_TRUE(VectorPath::Parse("m5,5 10,0 v5 h-10 z", path, error)) << error;
    EXPECT_EQ(path.boundingRect(), QRectF(5, 5, 10, 5));
    ASSERT_TRUE(VectorPath::Parse("M0 0 C0 10 10 10 10 0 S20 -10 20 0 Q25 5 30 0 T40 0", path, error)) << error;
    EXPECT_EQ(path.currentPosition(), QPointF(40, 0));
}

TEST(VectorPathTest, RefusesMalformedData)
{
    QPainterPath path;
    std::string error;
    EXPECT_FALSE(VectorPath::Parse("10 10", path, error));
    EXPECT_EQ(error, "the path must begin with a command letter, found \"1\"");
    EXPECT_FALSE(VectorPath::Parse("M10", path, error));
    EXPECT_EQ(error, "the command \"M\" lacks numbers near position 3");
    EXPECT_FALSE(VectorPath::Parse("M0 0 X1", path, error));
    EXPECT_TRUE(VectorPath::Parse("", path, error));
    EXPECT_TRUE(path.isEmpty());
}
