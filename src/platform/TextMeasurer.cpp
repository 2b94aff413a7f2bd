#include "platform/TextMeasurer.h"

#include "platform/Canvas.h"
#include "platform/Text.h"

#include <QFontMetrics>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Breaks one paragraph (no CR LF inside) into lines of at most a given pixel width.
class ParagraphWrapper {
public:
    ParagraphWrapper(std::string_view text, bool utf8, const QFontMetrics& metrics, int width)
        : m_text(text), m_utf8(utf8), m_metrics(metrics), m_width(width)
    {}

    void AppendLines(std::vector<std::string>& lines) const
    {
        if (m_text.empty()) {
            lines.emplace_back();
            return;
        }
        size_t pos = 0;
        while (pos < m_text.size()) {
            const size_t end = LineEnd(pos);
            lines.emplace_back(m_text.substr(pos, end - pos));
            pos = end;
        }
    }

private:
    // The whole text decides how bytes are shown, so a piece of a Windows-1252 text that happens to look like
    // UTF-8 is still measured as Windows-1252.
    int Width(size_t from, size_t to) const
    {
        const std::string_view part = m_text.substr(from, to - from);
        if (m_utf8)
            return m_metrics.horizontalAdvance(ToDisplay(part));
        QString shown;
        for (size_t i = 0; i < part.size(); ++i)
            shown += ToDisplay(part.substr(i, 1));
        return m_metrics.horizontalAdvance(shown);
    }

    size_t NextCharacter(size_t pos) const
    {
        ++pos;
        if (m_utf8)
            while (pos < m_text.size() && (static_cast<unsigned char>(m_text[pos]) & 0xC0) == 0x80)
                ++pos;
        return pos;
    }

    // The end of the line that starts at pos: after the last word that fits, with the blanks that follow it.
    size_t LineEnd(size_t pos) const
    {
        if (m_width <= 0)
            return m_text.size();
        const size_t n = m_text.size();
        size_t fitEnd = pos;
        size_t i = pos;
        while (i < n) {
            size_t wordEnd = i;
            while (wordEnd < n && !IsBlank(m_text[wordEnd]))
                ++wordEnd;
            if (Width(pos, wordEnd) > m_width)
                return fitEnd > pos ? fitEnd : BreakWord(pos);
            size_t blankEnd = wordEnd;
            while (blankEnd < n && IsBlank(m_text[blankEnd]))
                ++blankEnd;
            fitEnd = blankEnd;
            i = blankEnd;
        }
        return n;
    }

    // A word wider than the line is cut after the last character that fits, but never before the first.
    size_t BreakWord(size_t pos) const
    {
        size_t end = NextCharacter(pos);
        while (end < m_text.size() && !IsBlank(m_text[end])) {
            const size_t next = NextCharacter(end);
            if (Width(pos, next) > m_width)
                break;
            end = next;
        }
        return end;
    }

    std::string_view m_text;
    bool m_utf8;
    const QFontMetrics& m_metrics;
    int m_width;
};

} // namespace

void TextMeasurer::SetSize(int width, int height)
{
    m_width = width;
    m_height = height;
    Rebuild();
}

void TextMeasurer::SetFont(const std::string& name, int pointSize, int style)
{
    m_fontName = name;
    m_pointSize = pointSize;
    m_style = style;
    Rebuild();
}

void TextMeasurer::SetText(std::string_view text)
{
    m_text.assign(text);
    Rebuild();
}

void TextMeasurer::Rebuild()
{
    m_lines.clear();
    const bool utf8 = IsValidUtf8(m_text);
    const QFontMetrics metrics(MakeQFont(m_fontName, m_pointSize, m_style));
    const std::string_view text = m_text;
    size_t start = 0;
    while (true) {
        const size_t end = text.find("\r\n", start);
        const std::string_view paragraph = text.substr(start, end == std::string_view::npos ? end : end - start);
        ParagraphWrapper(paragraph, utf8, metrics, m_width).AppendLines(m_lines);
        if (end == std::string_view::npos)
            break;
        start = end + 2;
    }
    // As in the edit control's line list, an empty last line (empty text, or text ending in CR LF) is no line.
    if (m_lines.back().empty())
        m_lines.pop_back();
}
