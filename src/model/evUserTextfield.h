#pragma once
// A rectangular text area of a page. A page layout holds text fields as templates; the text a user writes for
// a page is a second field with the same identifier in the page's category, which overrides the template's
// text, font, size, style and colour when the template draws.
//
// Body on the stream (version 0), after the evObject header (int32 version, int32 identifier):
//   string  name
//   int32   width
//   int32   height
//   string  text          paragraphs separated by CR LF
//   string  font name     face used when the font ID finds no evFont
//   int32   font ID       an evFont of the design; 0 = none
//   int32   font size     points
//   byte    bold
//   byte    italic
//   byte    underline
//   int32   colour        0x00BBGGRR
//   int32   alignment     0 = left, 1 = centred, 2 = right
//   int32   fixed         not 0: not for the user to edit
//
// The display lines, the page layout link and the line-links / keep-background bytes are not stored.

#include "model/IevLayoutElement.h"
#include "model/evDrawableElement.h"
#include "platform/Color.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Bitmap;

class evUserTextfield : public evDrawableElement, public IevLayoutElement {
    EV_DECLARE_CLASS(evUserTextfield, evDrawableElement)

    evUserTextfield(std::string name, std::string text, std::string fontName, int32_t fontID, int32_t fontSize,
                    bool bold, bool italic, bool underline, int32_t alignment, int32_t width, int32_t height);
    evUserTextfield(Stream& stream, ProgressBar* progress);
    ~evUserTextfield() override;

    static constexpr int32_t kVersion = 0;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    // Copies name, text, font, size, style, alignment, size of the field, page layout and colour.
    std::unique_ptr<evObject> Clone() const override;
    std::string ToString() const override;
    // Drops the font ID when it names the given object.
    void RemoveReferences(const evObject* object) override;

    int32_t GetWidth() const override { return m_width; }
    int32_t GetHeight() const override { return m_height; }
    void Draw(const TRect& rect, Canvas& canvas, const DrawOptions& options) override;

    // IevLayoutElement
    void SetWidth(int32_t width) override;
    void SetHeight(int32_t height) override;
    void SetPageLayout(evPageLayout* pageLayout) override { m_pageLayout = pageLayout; }
    void SetFixed(int32_t fixed) override { m_fixed = fixed; }
    int32_t GetFixed() const override { return m_fixed; }

    // Setters that rebuild the lines afterwards.
    void SetFontID(int32_t fontID);
    void SetFontName(std::string fontName);
    void SetFontSize(int32_t fontSize);
    void SetBold(bool bold);
    void SetItalic(bool italic);
    void SetUnderline(bool underline);
    void SetColour(TColor colour);
    // Only stores the text; the caller rebuilds the lines (BuildLines) when it needs them.
    void SetText(std::string text) { m_text = std::move(text); }
    void SetAlignment(int32_t alignment) { m_alignment = alignment; }

    // Set by action elements for the time of one drawing.
    void SetLineLinks(bool on) { m_lineLinks = on; }
    void SetKeepBackground(bool on) { m_keepBackground = on; }
    bool GetLineLinks() const { return m_lineLinks; }
    bool GetKeepBackground() const { return m_keepBackground; }

    int32_t GetFontID() const { return m_fontID; }
    const std::string& GetFontName() const { return m_fontName; }
    int32_t GetFontSize() const { return m_fontSize; }
    bool GetBold() const { return m_bold; }
    bool GetItalic() const { return m_italic; }
    bool GetUnderline() const { return m_underline; }
    // Style set: bold = bit 0, italic = bit 1, underline = bit 2.
    int GetStyle() const;
    int32_t GetAlignment() const { return m_alignment; }
    TColor GetColour() const { return m_colour; }
    const std::string& GetText() const { return m_text; }
    evPageLayout* GetPageLayout() const { return m_pageLayout; }
    const std::vector<std::string>& GetLines() const { return m_lines; }

    // Breaks the field's own text into display lines with the page layout's text measurer. Without a page
    // layout or measurer nothing changes.
    void BuildLines() { BuildLines(*this); }

private:
    struct DrawState;

    void BuildLines(const evUserTextfield& source);
    // Face name for the source: the design's evFont with the source's font ID, else the source's font name.
    std::string ResolveFontName(const evUserTextfield& source) const;
    const evUserTextfield& FindSource() const;
    void DrawLines(DrawState& state);
    void DrawLineLink(DrawState& state, const std::string& line, int32_t x, int32_t y);
    void FinishPage(DrawState& state);

    std::string m_text;
    std::string m_fontName;
    int32_t m_fontID = 0;
    int32_t m_fontSize = 0;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    int32_t m_alignment = 0;
    TColor m_colour = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_fixed = 0;
    std::vector<std::string> m_lines;
    evPageLayout* m_pageLayout = nullptr;
    bool m_lineLinks = false;
    bool m_keepBackground = false;
};
