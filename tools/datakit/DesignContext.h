#pragma once
// What the compilation of one design description knows while it builds the page layouts: the page size, the
// identifiers, the shared pictures and fonts, the text styles and the reusable groups of elements.

#include "DecorationPainter.h"
#include "IdRegistry.h"
#include "JsonCursor.h"

#include <QSize>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

struct DesignPicture {
    int32_t id = 0;
    bool placeholder = false;
    QSize size;
};

struct DesignFont {
    int32_t id = 0;
    std::string face;
};

struct DesignContext {
    QSize pageSize;
    IdRegistry ids;
    std::map<std::string, DesignPicture> pictures;
    std::map<std::string, DesignFont> fonts;
    std::map<std::string, JsonCursor> textStyles;
    std::map<std::string, JsonCursor> groups;
    std::unique_ptr<DecorationPainter> painter;
};
