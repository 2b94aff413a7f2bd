#include "HelpTextSource.h"

#include "platform/Text.h"

#include <fstream>

namespace {

struct Line {
    int number;
    std::string_view text;
};

[[noreturn]] void Fail(const std::string& source, int line, const std::string& message)
{
    throw ETextSourceError(source + ", line " + std::to_string(line) + ": " + message);
}

std::vector<Line> SplitLines(std::string_view content)
{
    std::vector<Line> lines;
    int number = 1;
    while (!content.empty()) {
        const size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back({number++, line});
        if (end == std::string_view::npos)
            break;
        content.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view Trim(std::string_view s)
{
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool IsIgnorable(std::string_view line)
{
    const std::string_view trimmed = Trim(line);
    return trimmed.empty() || trimmed.front() == '#';
}

int ParseIndex(std::string_view field, int count, const std::string& source, int line)
{
    const std::string_view digits = Trim(field);
    if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string_view::npos)
        Fail(source, line, "the index \"" + std::string(digits) + "\" is not a number");
    const int index = std::stoi(std::string(digits));
    if (index >= count)
        Fail(source, line, "the index " + std::to_string(index) + " is outside 0.." + std::to_string(count - 1));
    return index;
}

std::string ParseName(std::string_view field, const std::string& source, int line)
{
    const std::string_view name = Trim(field);
    const bool valid =
        !name.empty() && name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_") ==
                             std::string_view::npos;
    if (!valid)
        Fail(source, line, "the name \"" + std::string(name) + "\" is not made of letters, digits and underscores");
    return std::string(name);
}

char Unescape(char code, const std::string& source, int line)
{
    switch (code) {
    case 's': return ' ';
    case '\\': return '\\';
    default: Fail(source, line, std::string("unknown escape \\") + code + " (use \\n, \\s or \\\\)");
    }
}

std::string ParseText(std::string_view field, const std::string& source, int line)
{
    const std::string_view raw = Trim(field);
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(raw[i]);
        if (c == '&')
            Fail(source, line, "the text contains \"&\", which a label would show as an accelerator mark");
        if (c < 0x20 || c == 0x7f)
            Fail(source, line, "the text contains a tab or another control character");
        if (c != '\\') {
            text += static_cast<char>(c);
            continue;
        }
        if (++i == raw.size())
            Fail(source, line, "the text ends with a lone backslash");
        if (raw[i] == 'n')
            text += "\r\n";
        else
            text += Unescape(raw[i], source, line);
    }
    if (!IsValidUtf8(text))
        Fail(source, line, "the text is not valid UTF-8");
    return text;
}

IndexedText ParseLine(const Line& line, int count, const std::string& source)
{
    const size_t first = line.text.find('|');
    const size_t second = first == std::string_view::npos ? first : line.text.find('|', first + 1);
    if (second == std::string_view::npos)
        Fail(source, line.number, "expected \"index | name | text\"");
    IndexedText entry;
    entry.index = ParseIndex(line.text.substr(0, first), count, source, line.number);
    entry.name = ParseName(line.text.substr(first + 1, second - first - 1), source, line.number);
    entry.text = ParseText(line.text.substr(second + 1), source, line.number);
    return entry;
}

void CheckComplete(const std::vector<int>& firstLine, const std::string& source)
{
    std::string missing;
    int missingCount = 0;
    for (size_t index = 0; index < firstLine.size(); ++index) {
        if (firstLine[index] != 0)
            continue;
        if (++missingCount <= 5)
            missing += (missing.empty() ? "" : ", ") + std::to_string(index);
    }
    if (missingCount == 1)
        throw ETextSourceError(source + ": the index " + missing + " is missing");
    if (missingCount > 1)
        throw ETextSourceError(source + ": " + std::to_string(missingCount) + " indexes are missing (" + missing +
                               (missingCount > 5 ? ", ...)" : ")"));
}

} // namespace

std::vector<IndexedText> HelpTextSource::Parse(std::string_view content, int count, const std::string& sourceName)
{
    if (count <= 0)
        throw ETextSourceError(sourceName + ": a text list needs at least one entry");
    std::vector<IndexedText> entries(count);
    std::vector<int> firstLine(count, 0);
    for (const Line& line : SplitLines(content)) {
        if (IsIgnorable(line.text))
            continue;
        IndexedText entry = ParseLine(line, count, sourceName);
        if (firstLine[entry.index] != 0)
            Fail(sourceName, line.number,
                 "the index " + std::to_string(entry.index) + " appears again (first on line " +
                     std::to_string(firstLine[entry.index]) + ")");
        firstLine[entry.index] = line.number;
        entries[entry.index] = std::move(entry);
    }
    CheckComplete(firstLine, sourceName);
    return entries;
}

std::vector<IndexedText> HelpTextSource::Load(const std::string& path, int count)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw EFOpenError("cannot open the text source " + path);
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<size_t>(size) > MaxFileSize)
        throw ETextSourceError(path + ": the file is larger than a text list can be");
    file.seekg(0, std::ios::beg);
    std::string content(static_cast<size_t>(size), '\0');
    if (!file.read(content.data(), size))
        throw EReadError("cannot read the text source " + path);
    return Parse(content, count, path);
}
