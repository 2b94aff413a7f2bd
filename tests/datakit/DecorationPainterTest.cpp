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

// The largest difference of a colour channel between two pictures of the same size.
int MaxDifference(const QImage& a, const QImage& b)
{
    int most = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift : {0, 8, 16})
                most = std::max(most,
                                std::abs(int((a.pixel(x, y) >> shift) & 0xFF) - int((b.pixel(x, y) >> shift) & 0xFF)));
    return most;
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
