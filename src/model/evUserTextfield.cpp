#include "model/evUserTextfield.h"

#include "model/evCategory.h"
#include "model/evFont.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"
#include "platform/TextMeasurer.h"

#include <algorithm>

namespace {
// Blank after trimming leading and trailing blanks and control characters: nothing but bytes up to 0x20.
bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= 0x20; });
}

Bitmap CopyArea(Bitmap& source, const TRect& area)
{
    Bitmap copy(area.Width(), area.Height());
    copy.GetCanvas().CopyRect(TRect{0, 0, area.Width(), area.Height()}, source, area);
    return copy;
}

void AddSnapshot(evProjectorPage& page, const Bitmap& bitmap, int32_t x, int32_t y, int32_t kind)
{
    page.AddElement(
        std::make_unique<evProjectorPageElement>(x, y, JpegImage::FromBitmap(bitmap, kTextJpegQuality), kind));
}
} // namespace

// What one Draw call carries from line to line.
struct evUserTextfield::DrawState {
    const TRect& rect;
    Canvas& canvas;
    evProjectorPage* page;
    const evUserTextfield& source;
    std::unique_ptr<Bitmap> background;
    // The paragraph being collected for line links, and the height it has grown by after its first line.
    std::unique_ptr<Bitmap> paragraph;
    int32_t paragraphHeight = 0;
    size_t textPosition = 0;
    int32_t paragraphs = 0;
};

evUserTextfield::evUserTextfield(std::string name, std::string text, std::string fontName, int32_t fontID,
                                 int32_t fontSize, bool bold, bool italic, bool underline, int32_t alignment,
                                 int32_t width, int32_t height)
    : evDrawableElement(std::move(name)), m_text(std::move(text)), m_fontName(std::move(fontName)), m_fontID(fontID),
      m_fontSize(fontSize), m_bold(bold), m_italic(italic), m_underline(underline), m_alignment(alignment),
      m_width(width), m_height(height)
{}

// Layout after the evObject header:
//   string name, int32 width, int32 height, string text, string font name, int32 font ID, int32 font size,
//   byte bold, byte italic, byte underline, int32 colour, int32 alignment, int32 fixed
evUserTextfield::evUserTextfield(Stream& stream, ProgressBar* progress) : evDrawableElement(stream, progress)
{
    SetName(stream.ReadString());
    m_width = stream.ReadInt32();
    m_height = stream.ReadInt32();
    m_text = stream.ReadString();
    m_fontName = stream.ReadString();
    m_fontID = stream.ReadInt32();
    m_fontSize = stream.ReadInt32();
    m_bold = stream.ReadBool();
    m_italic = stream.ReadBool();
    m_underline = stream.ReadBool();
    m_colour = stream.ReadInt32();
    m_alignment = stream.ReadInt32();
    m_fixed = stream.ReadInt32();
}

evUserTextfield::~evUserTextfield() = default;

void evUserTextfield::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(GetName());
    stream.WriteInt32(m_width);
    stream.WriteInt32(m_height);
    stream.WriteString(m_text);
    stream.WriteString(m_fontName);
    stream.WriteInt32(m_fontID);
    stream.WriteInt32(m_fontSize);
    stream.WriteBool(m_bold);
    stream.WriteBool(m_italic);
    stream.WriteBool(m_underline);
    stream.WriteInt32(m_colour);
    stream.WriteInt32(m_alignment);
    stream.WriteInt32(m_fixed);
}

std::unique_ptr<evObject> evUserTextfield::Clone() const
{
    auto copy = std::make_unique<evUserTextfield>(GetName(), m_text, m_fontName, m_fontID, m_fontSize, m_bold, m_italic,
                                                  m_underline, m_alignment, m_width, m_height);
    copy->SetPageLayout(m_pageLayout);
    copy->SetColour(m_colour);
    copy->m_fixed = m_fixed;
    return copy;
}

std::string evUserTextfield::ToString() const
{
    return "[" + std::to_string(GetID()) + ", " + std::to_string(GetStoredVersion()) + ", '" + GetName() + "', '" +
           m_text + "', '" + m_fontName + "', " + std::to_string(m_width) + ", " + std::to_string(m_height) + ", " +
           std::to_string(m_fontID) + ", " + std::to_string(m_fontSize) + "]";
}

void evUserTextfield::RemoveReferences(const evObject* object)
{
    if (object && object->GetID() == m_fontID)
        m_fontID = 0;
}

int evUserTextfield::GetStyle() const
{
    return (m_bold ? fsBold : 0) | (m_italic ? fsItalic : 0) | (m_underline ? fsUnderline : 0);
}

void evUserTextfield::SetWidth(int32_t width)
{
    m_width = width;
    BuildLines();
}

void evUserTextfield::SetHeight(int32_t height)
{
    m_height = height;
    BuildLines();
}

void evUserTextfield::SetFontID(int32_t fontID)
{
    m_fontID = fontID;
    BuildLines();
}

void evUserTextfield::SetFontName(std::string fontName)
{
    m_fontName = std::move(fontName);
    BuildLines();
}

void evUserTextfield::SetFontSize(int32_t fontSize)
{
    m_fontSize = fontSize;
    BuildLines();
}

void evUserTextfield::SetBold(bool bold)
{
    m_bold = bold;
    BuildLines();
}

void evUserTextfield::SetItalic(bool italic)
{
    m_italic = italic;
    BuildLines();
}

void evUserTextfield::SetUnderline(bool underline)
{
    m_underline = underline;
    BuildLines();
}

void evUserTextfield::SetColour(TColor colour)
{
    m_colour = colour;
    BuildLines();
}

std::string evUserTextfield::ResolveFontName(const evUserTextfield& source) const
{
    // Font ID 0 names no font; in-memory objects all carry identifier 0, so it must not be looked up.
    if (m_pageLayout && m_pageLayout->GetDesign() && source.m_fontID != 0) {
        if (auto* font = dynamic_cast<evFont*>(m_pageLayout->GetDesign()->FindByID(source.m_fontID)))
            return font->GetFaceName();
    }
    return source.m_fontName;
}

void evUserTextfield::BuildLines(const evUserTextfield& source)
{
    if (!m_pageLayout)
        return;
    TextMeasurer* measurer = m_pageLayout->GetTextMeasurer();
    if (!measurer)
        return;
    measurer->SetSize(source.m_width, source.m_height);
    measurer->SetFont(ResolveFontName(source), source.m_fontSize, source.GetStyle());
    measurer->SetText(source.m_text);
    m_lines = measurer->Lines();
}

const evUserTextfield& evUserTextfield::FindSource() const
{
    if (m_pageLayout && m_pageLayout->GetCategory()) {
        if (auto* own = dynamic_cast<evUserTextfield*>(m_pageLayout->GetCategory()->FindUserElement(GetID())))
            return *own;
    }
    return *this;
}

void evUserTextfield::Draw(const TRect& rect, Canvas& canvas, const DrawOptions& options)
{
    if (m_fixed != 0 && !options.drawAll)
        return;
    evProjectorPage* page = options.page;
    if (IsPainted() && !page)
        return;
    const evUserTextfield& source = FindSource();
    if (&source != this && IsBlank(source.m_text)) {
        if (options.markEmpty) {
            canvas.SetBrushColor(kColorDarkRed);
            canvas.SetBrushStyle(BrushStyle::Solid);
            canvas.FillRect(rect);
        }
        return;
    }
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetFontColor(source.m_colour);
    canvas.SetFontName(ResolveFontName(source));
    canvas.SetFontSize(source.m_fontSize);
    canvas.SetFontStyle(source.GetStyle());
    if (m_pageLayout)
        BuildLines(source);

    DrawState state{rect, canvas, page, source, nullptr, nullptr};
    if (m_keepBackground && rect.Width() > 0 && rect.Height() > 0)
        state.background = std::make_unique<Bitmap>(CopyArea(canvas.Target(), rect));
    DrawLines(state);
    if (page)
        FinishPage(state);
}

void evUserTextfield::DrawLines(DrawState& state)
{
    const TRect& rect = state.rect;
    int32_t y = 0;
    for (const std::string& line : m_lines) {
        int32_t x = 0;
        if (m_alignment == 2)
            x = rect.Width() - state.canvas.TextWidth(line);
        else if (m_alignment == 1)
            x = (rect.Width() - state.canvas.TextWidth(line)) / 2; // C++ division truncates toward zero
        const int32_t h = state.canvas.TextHeight("Fy" + line);
        if (y + h >= rect.Height())
            return;
        if (m_lineLinks && state.page && !line.empty())
            DrawLineLink(state, line, x, y);
        state.canvas.TextRect(rect, rect.Left + x, rect.Top + y, line);
        y += h;
    }
}

// One line of a linked paragraph: the highlight look goes into the paragraph's bitmap; at the paragraph's end
// the bitmap becomes a kind-2 element with a type-1 mouse action over it.
void evUserTextfield::DrawLineLink(DrawState& state, const std::string& line, int32_t x, int32_t y)
{
    const TRect& rect = state.rect;
    Canvas& canvas = state.canvas;
    const TColor linkColour =
        m_pageLayout && m_pageLayout->GetDesign() ? m_pageLayout->GetDesign()->GetTextColour() : state.source.m_colour;
    canvas.SetFontColor(linkColour);
    canvas.TextRect(rect, rect.Left + x, rect.Top + y, line);
    canvas.SetFontColor(state.source.m_colour);

    // A JPEG needs at least one pixel of width; a field of width 0 still gets its (invisible) paragraph.
    const int32_t width = std::max(m_width, 1);
    const TRect lineRect{rect.Left, rect.Top + y, rect.Left + width, rect.Top + y + canvas.TextHeight(line)};
    int32_t stripTop = 0;
    if (state.paragraph) {
        stripTop = state.paragraph->Height();
        state.paragraph->SetSize(width, stripTop + lineRect.Height());
        state.paragraphHeight += lineRect.Height();
    } else {
        state.paragraph = std::make_unique<Bitmap>(width, std::max(lineRect.Height(), 1));
        state.paragraphHeight = 0;
    }
    state.paragraph->GetCanvas().CopyRect(TRect{0, stripTop, width, stripTop + lineRect.Height()}, canvas.Target(),
                                          lineRect);
    if (state.background)
        canvas.Draw(rect.Left, rect.Top, *state.background);

    const std::string& text = state.source.m_text;
    state.textPosition += line.size();
    if (state.textPosition >= text.size() || text[state.textPosition] != '\r')
        return;
    while (state.textPosition < text.size() && (text[state.textPosition] == '\r' || text[state.textPosition] == '\n'))
        ++state.textPosition;
    const int32_t top = lineRect.Top - state.paragraphHeight;
    AddSnapshot(*state.page, *state.paragraph, rect.Left, top, 2);
    state.paragraph.reset();
    const int32_t element = state.page->GetElements().Count() - 1;
    state.page->AddMouseAction(std::make_unique<evProjectorMouseAction>(
        TRect{lineRect.Left, top, lineRect.Right, lineRect.Bottom}, 1, element));
    ++state.paragraphs;
}

// The field's rendering becomes one kind-0 element; the linked paragraphs' mouse actions learn its index as
// their plain image. Then the canvas gets its background back (when kept) and its default state.
void evUserTextfield::FinishPage(DrawState& state)
{
    evProjectorPage& page = *state.page;
    const TRect& rect = state.rect;
    if (m_lineLinks) {
        evObjectCollection& actions = page.GetMouseActions();
        const int32_t elementCount = page.GetElements().Count();
        for (int32_t i = actions.Count() - state.paragraphs; i < actions.Count(); ++i) {
            if (auto* action = actions.GetItemAs<evProjectorMouseAction>(i))
                action->SetSecondElement(elementCount);
        }
    }
    if (rect.Width() > 0 && rect.Height() > 0)
        AddSnapshot(page, CopyArea(state.canvas.Target(), rect), rect.Left, rect.Top, 0);
    if (state.background)
        state.canvas.Draw(rect.Left, rect.Top, *state.background);
    Canvas& canvas = state.canvas;
    canvas.SetBrushColor(kColorWhite);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetFont(CanvasFont{"MS Sans Serif", 8, 0, kColorBlack});
}
