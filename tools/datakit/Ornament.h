#pragma once
// The built-in ornaments that design descriptions place by name ("flourish", "heart", "rings", ...). Each is drawn
// in a box of 100 x 100 units around the centre (50, 50): a part that is filled and a part that is stroked.

#include <QPainterPath>

#include <string>
#include <vector>

struct OrnamentShape {
    QPainterPath fill;
    QPainterPath stroke;
};

class Ornament {
public:
    static bool Has(const std::string& name);
    // The shape of a known ornament; an empty shape for an unknown name.
    static OrnamentShape Shape(const std::string& name);
    static std::vector<std::string> Names();
};
