#pragma once
// Path data in the notation of SVG's "d" attribute, as the design descriptions and the built-in ornaments write
// their vector shapes: M, L, H, V, C, S, Q, T and Z, absolute (upper case) and relative (lower case), numbers
// separated by blanks or commas, a command letter repeating for further coordinates. Arcs are not supported.

#include <QPainterPath>

#include <string>
#include <string_view>

class VectorPath {
public:
    // EDataSourceError-free: returns false and a reason instead, so the caller can name the element.
    static bool Parse(std::string_view data, QPainterPath& path, std::string& error);
};
