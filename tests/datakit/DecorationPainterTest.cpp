#include "DecorationPainter.h"
#include "VectorPath.h"

#include <gtest/gtest.h>

namespace {

JsonCursor Layers(const char* json) { return JsonCursor::Parse(QByteArray(json), "paint.json"); }

DecorationPainter Painter()
{
    return DecorationPainter({{"gold", QColor(0xb0, 0x8d, 0x3c)}}, {{"sans", QByteArray("not a font")}},
                             QColor(10, 20, 30));
}

std::string ErrorOf(const char* json)
{
    try {
        Painter().Paint(Layers(json), QSize(8, 8));
    } catch (const EDataSourceError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(DecorationPainterTest, StartsFromTheBaseColourAndFillsExactlyWhereAsked)
{
    const QImage plain = Painter().Paint(Layers("[]"), QSize(3, 2));
    EXPECT_EQ(plain.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(plain.pixel(2, 1), qRgb(10, 20, 30));
    const QImage filled = Painter().Paint(Layers(R"([{"fill": "gold"}])"), QSize(3, 2));
    EXPECT_EQ(filled.pixel(1, 1), qRgb(0xb0, 0x8d, 0x3c));

    const QImage image =
        Painter().Paint(Layers(R"([{"fill": "#ffffff"}, {"rect": [2, 2, 4, 3], "fill": "#ff0000"}])"), QSize(8, 8));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 4), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(6, 4), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
}

TEST(DecorationPainterTest, MistakesNameTheLayerAndTheReason)
{
    // clang-format off
    const std::pair<const char*, std::string> cases[] = {
        {R"([{"fill": "#ff0000", "colr": 1}])", "[0]: unknown field \"colr\" (known here: fill, opacity)"},
        {R"([{"fill": "#ff00"}])", "[0] / fill: the colour \"#ff00\" is not of the form #rrggbb or #rrggbbaa"},
        {R"([{"fill": "silver"}])", "[0] / fill: \"silver\" is neither a colour #rrggbb nor a name of the colour table"},
        {R"([{"ornament": "dragon", "at": [1, 1], "size": 4, "colour": "gold"}])", "[0] / ornament: unknown ornament \"dragon\" (known: arrowLeft, arrowRight, corner, cross, divider, dot, flourish, heart, leaf, rings, sparkle, speaker, sprig)"},
        {R"([{"opacity": 1}])", "[0]: a layer needs one operation: fill, rect, ellipse, line, border, path, ornament, corners, text, shadow, grain or vignette"},
        {R"([{"rect": [0, 0, 2], "fill": "gold"}])", "[0] / rect: expected a list of 4 numbers, found a list of 3"},
        {R"([{"text": "x", "font": "serif", "px": 9, "rect": [0, 0, 4, 4], "colour": "gold"}])", "[0] / font: \"serif\" is not one of the design's fonts"},
        {R"([{"text": "x", "font": "sans", "px": 9, "rect": [0, 0, 4, 4], "colour": "gold"}])", "[0] / font: the font \"sans\" cannot be read"},
        {R"([{"ellipse": [0, 0, 4, 4], "rect": [0, 0, 1, 1]}])", "[0]: unknown field \"rect\" (known here: ellipse, fill, stroke, width, opacity)"},
        {R"([{"path": "M 0 0 A 1 1 0 0 0 4 4", "fill": "gold"}])", "[0] / path: the path command \"A\" is not supported (use M L H V C S Q T Z)"},
    };
    // clang-format on
    for (const auto& [json, message] : cases)
        EXPECT_EQ(ErrorOf(json), "paint.json: " + message);
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
