#include "ChapterTreeSource.h"

#include "model/PageOrder.h"
#include "model/evCategory.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr size_t kMaxFileSize = 1024 * 1024;

struct Line {
    int number = 0;
    int depth = 0;
    char mark = 0;
    std::string title;
    std::string comment;
};

std::string Trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return "";
    const size_t last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

class TreeReader {
public:
    explicit TreeReader(std::string sourceName) : m_sourceName(std::move(sourceName)) {}

    [[noreturn]] void Fail(int line, const std::string& message) const
    {
        throw EDataSourceError(m_sourceName + ":" + std::to_string(line) + ": " + message);
    }

    Line ParseLine(const std::string& raw, int number) const
    {
        Line line;
        line.number = number;
        size_t indent = 0;
        while (indent < raw.size() && raw[indent] == ' ')
            ++indent;
        if (indent < raw.size() && raw[indent] == '\t')
            Fail(number, "indent with blanks, not tabs");
        if (indent % 2 != 0)
            Fail(number, "indent with two blanks per level");
        line.depth = static_cast<int>(indent / 2);
        line.mark = raw[indent];
        if (line.mark != '*' && line.mark != '+' && line.mark != '-')
            Fail(number, "a chapter begins with \"*\" (always in), \"+\" (optional, on) or \"-\" (optional, off)");
        std::string rest = raw.substr(indent + 1);
        const size_t bar = rest.find('|');
        line.title = Trim(rest.substr(0, bar));
        if (bar != std::string::npos)
            line.comment = Trim(rest.substr(bar + 1));
        if (line.title.empty())
            Fail(number, "the chapter has no title");
        return line;
    }

    std::unique_ptr<evCategory> Build(const std::vector<Line>& lines) const;

private:
    std::string m_sourceName;
};

std::unique_ptr<evCategory> TreeReader::Build(const std::vector<Line>& lines) const
{
    std::unique_ptr<evCategory> root;
    std::vector<evCategory*> lastAt; // the last chapter of each level on the current branch
    std::vector<int> countAt;        // chapters in the current chain of each level
    for (const Line& line : lines) {
        if (line.depth > static_cast<int>(lastAt.size()) || (line.depth > 0 && lastAt.empty()))
            Fail(line.number, "indented deeper than one level below the chapter above");
        if (line.depth >= ChapterTreeSource::MaxDepth)
            Fail(line.number, "chapters nest at most " + std::to_string(ChapterTreeSource::MaxDepth) + " levels deep");
        if (line.depth == 0 && line.mark != '*')
            Fail(line.number, "the three top-level chapters are always in the album: mark them \"*\"");
        lastAt.resize(line.depth + 1, nullptr);
        countAt.resize(line.depth + 1, 0);
        auto chapter =
            std::make_unique<evCategory>(line.title, line.comment, line.mark != '*', line.depth == 0 ? 1 : 3);
        chapter->SetSelected(line.mark != '-');
        evCategory* raw = chapter.get();
        const bool firstOfChain = lastAt[line.depth] == nullptr;
        if (++countAt[line.depth] > ChapterTreeSource::MaxPerLevel)
            Fail(line.number, "a level holds at most " + std::to_string(ChapterTreeSource::MaxPerLevel) + " chapters");
        if (line.depth == 0 && !root)
            root = std::move(chapter);
        else if (firstOfChain)
            lastAt[line.depth - 1]->AddChild(std::move(chapter));
        else
            lastAt[line.depth]->AppendSibling(std::move(chapter));
        lastAt[line.depth] = raw;
        // A new chapter closes the chains below it.
        lastAt.resize(line.depth + 1);
        countAt.resize(line.depth + 1);
    }
    if (!root || PageOrder::SiblingCount(root.get()) != 3)
        Fail(lines.empty() ? 0 : lines.back().number,
             "the top level must hold exactly three chapters: welcome, chapters and end page");
    if (!root->GetNext()->HasSub())
        Fail(lines.empty() ? 0 : lines.back().number,
             "the second top-level chapter needs the album's chapters below it");
    return root;
}

} // namespace

std::unique_ptr<evCategory> ChapterTreeSource::Parse(std::string_view content, const std::string& sourceName)
{
    TreeReader reader(sourceName);
    std::vector<Line> lines;
    std::istringstream stream{std::string(content)};
    std::string raw;
    for (int number = 1; std::getline(stream, raw); ++number) {
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        const std::string trimmed = Trim(raw);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        lines.push_back(reader.ParseLine(raw, number));
    }
    return reader.Build(lines);
}

std::unique_ptr<evCategory> ChapterTreeSource::Load(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw EDataSourceError(path + ": cannot be read");
    std::string content(kMaxFileSize + 1, '\0');
    file.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (static_cast<size_t>(file.gcount()) > kMaxFileSize)
        throw EDataSourceError(path + ": larger than a chapter list can be (1 MB)");
    content.resize(static_cast<size_t>(file.gcount()));
    return Parse(content, path);
}
