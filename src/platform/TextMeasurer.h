#pragma once
// Breaks text into the visual lines of a multi-line edit control with word wrap, without showing anything:
// lines break at blanks within the width (a word wider than the width is broken where it must), a soft-wrapped
// line keeps its trailing blank, and paragraphs end at CR LF (the CR LF itself belongs to no line). Lines are
// returned as raw model bytes, exact substrings of the text, so a caller can walk the text by the lines' lengths.
// An empty paragraph is an empty line, except at the very end: empty text has no lines, and text ending in CR LF
// has no empty line after it (as the edit control's line list). A width of 0 or less wraps nothing.

#include <string>
#include <string_view>
#include <vector>

class TextMeasurer {
public:
    void SetSize(int width, int height);
    void SetFont(const std::string& name, int pointSize, int style);
    void SetText(std::string_view text);
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    void Rebuild();

    int m_width = 0;
    int m_height = 0;
    std::string m_fontName = "MS Sans Serif";
    int m_pointSize = 8;
    int m_style = 0;
    std::string m_text;
    std::vector<std::string> m_lines;
};
