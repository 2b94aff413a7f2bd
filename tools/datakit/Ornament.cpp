#include "Ornament.h"

#include "VectorPath.h"

#include <QTransform>

#include <map>

namespace {

struct Definition {
    const char* fill;
    const char* stroke;
    bool symmetric; // the paths describe the right half; the left half is their mirror image
};

const std::map<std::string, Definition>& Definitions()
{
    static const std::map<std::string, Definition> definitions = {
        {"heart",
         {"M50 86 C28 70 8 55 8 34 C8 20 18 12 30 12 C40 12 47 18 50 26 C53 18 60 12 70 12 C82 12 92 20 92 34 "
          "C92 55 72 70 50 86 Z",
          "", false}},
        {"leaf", {"M50 96 C22 74 18 34 50 4 C82 34 78 74 50 96 Z", "", false}},
        {"rings", {"", "", false}}, // two circles, made in code
        {"dot", {"", "", false}},   // a circle, made in code
        {"flourish",
         {"M50 45 L54 50 L50 55 Z",
          "M50 50 C60 58 72 60 82 52 C90 46 88 36 80 36 C73 36 71 45 77 48 M50 50 C64 42 84 44 98 50", true}},
        {"divider", {"M50 42 L58 50 L50 58 Z", "M4 50 L40 50", true}},
        {"corner",
         {"",
          "M8 92 L8 30 C8 16 16 8 30 8 L92 8 M8 62 C24 60 34 48 34 34 C34 24 27 19 21 23 C16 27 19 34 25 33 "
          "M62 8 C60 24 48 34 34 34",
          false}},
        {"sprig",
         {"M50 76 C38 74 28 66 24 56 C36 56 46 64 50 76 Z M50 62 C62 60 72 52 76 42 C64 42 54 50 50 62 Z "
          "M50 48 C40 46 32 38 30 28 C40 30 48 38 50 48 Z M50 34 C58 32 66 24 68 16 C60 18 52 26 50 34 Z "
          "M50 20 C46 14 48 8 50 4 C52 8 54 14 50 20 Z",
          "M50 98 C50 70 48 40 50 8", false}},
        {"arrowRight", {"", "M34 14 L68 50 L34 86", false}},
        {"arrowLeft", {"", "M66 14 L32 50 L66 86", false}},
        {"speaker",
         {"M14 38 L34 38 L56 18 L56 82 L34 62 L14 62 Z", "M66 36 C73 43 73 57 66 64 M75 26 C88 40 88 60 75 74", false}},
        {"cross", {"", "M26 26 L74 74 M74 26 L26 74", false}},
        {"sparkle", {"M50 4 C53 38 62 47 96 50 C62 53 53 62 50 96 C47 62 38 53 4 50 C38 47 47 38 50 4 Z", "", false}},
    };
    return definitions;
}

QPainterPath Build(const char* data, bool symmetric)
{
    QPainterPath path;
    std::string error;
    if (!data || !*data || !VectorPath::Parse(data, path, error))
        return QPainterPath();
    if (!symmetric)
        return path;
    const QTransform mirror(-1, 0, 0, 1, 100, 0);
    QPainterPath both = path;
    both.addPath(mirror.map(path));
    return both;
}

} // namespace

bool Ornament::Has(const std::string& name) { return Definitions().count(name) != 0; }

OrnamentShape Ornament::Shape(const std::string& name)
{
    OrnamentShape shape;
    const auto found = Definitions().find(name);
    if (found == Definitions().end())
        return shape;
    shape.fill = Build(found->second.fill, found->second.symmetric);
    shape.stroke = Build(found->second.stroke, found->second.symmetric);
    if (name == "rings") {
        shape.stroke.addEllipse(QPointF(38, 56), 24, 24);
        shape.stroke.addEllipse(QPointF(62, 44), 24, 24);
    } else if (name == "dot") {
        shape.fill.addEllipse(QPointF(50, 50), 40, 40);
    }
    return shape;
}

std::vector<std::string> Ornament::Names()
{
    std::vector<std::string> names;
    for (const auto& [name, definition] : Definitions())
        names.push_back(name);
    return names;
}
