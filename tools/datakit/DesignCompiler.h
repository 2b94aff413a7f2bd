#pragma once
// Compiles a design description (JSON, see data-src/designs/README.md) into an evLayout built with the model's
// own classes:
//
//   {"name": "...", "description": "...", "pageSize": [1024, 768],
//    "textColour": COLOUR, "backgroundColour": COLOUR,
//    "colours":    {"gold": "#b08d3c", ...},                      names usable wherever a COLOUR is asked
//    "fonts":      [{"id": ID, "file": "EBGaramond12-Regular.otf", "face": "EB Garamond"}, ...],
//    "textStyles": {"body": {"font": ID, "fontSize": 14, "colour": COLOUR, "align": "left", ...}, ...},
//    "paints":     {"goldFrame": [LAYER, ...], ...},               layer lists shared by several pictures
//    "pictures":   [{"id": ID, "size": [w, h], "placeholder": b, "paint": [LAYER, ...] or PAINT}, ...],
//    "groups":     {"navigation": {"elements": [...], "actions": [...]}, ...},
//    "pageLayouts": [PAGE LAYOUT, ...],
//    "samplePage": ID,                                            the page whose miniature is the sample picture
//    "note": "..."}                                               for people; not compiled
//
// Pictures are painted by DecorationPainter and kept as JPEG; fonts are embedded whole (evFont) from the font
// folders. Page layouts are built by PageLayoutBuilder. Any mistake ends in EDataSourceError naming the file and
// the element.

#include "DesignContext.h"
#include "JsonCursor.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class evFont;
class evLayout;

class DesignCompiler {
public:
    explicit DesignCompiler(std::vector<std::string> fontFolders = DefaultFontFolders());
    static std::vector<std::string> DefaultFontFolders();

    // Keys the design must have, each exactly once (the album designs need "W", "M", "E" and "cd").
    void SetRequiredKeys(std::vector<std::string> keys) { m_requiredKeys = std::move(keys); }

    std::unique_ptr<evLayout> CompileFile(const std::string& path);
    std::unique_ptr<evLayout> Compile(const JsonCursor& root);
    // The identifier of the page layout whose miniature becomes the sample picture (0 when there is none).
    int32_t SamplePageLayoutID() const { return m_samplePage; }

private:
    void ReadPalette(const JsonCursor& root, std::map<std::string, QColor>& palette) const;
    void ReadPaints(const JsonCursor& root);
    void ReadFonts(const JsonCursor& root, evLayout& design);
    std::unique_ptr<evFont> MakeFont(const JsonCursor& font, int32_t id) const;
    std::string FindFontFile(const JsonCursor& where) const;
    void ReadPictures(const JsonCursor& root, evLayout& design);
    void ReadNamedObjects(const JsonCursor& root, const char* key, std::map<std::string, JsonCursor>& target) const;
    void ReadPageLayouts(const JsonCursor& root, evLayout& design);
    void CheckKeys(const JsonCursor& root, const evLayout& design) const;

    std::vector<std::string> m_fontFolders;
    std::vector<std::string> m_requiredKeys;
    std::unique_ptr<DesignContext> m_context;
    std::map<std::string, JsonCursor> m_paints;
    int32_t m_samplePage = 0;
};
