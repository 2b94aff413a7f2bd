#include "platform/ProfileSettings.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace {

enum class Contents { Missing, Read, Unreadable };

constexpr const char* kSettingsVariable = "VELLORA_SETTINGS_FILE";

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The file's lines without their line ends.
Contents ReadLines(const std::string& path, std::vector<std::string>& lines)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status))
        return Contents::Missing;
    if (!std::filesystem::is_regular_file(status))
        return Contents::Unreadable;
    if (std::filesystem::file_size(path, error) > kMaxSettingsFile || error)
        return Contents::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Contents::Unreadable;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return in.bad() ? Contents::Unreadable : Contents::Read;
}

// "[name]" gives name; other lines give nothing.
std::optional<std::string> SectionOf(const std::string& line)
{
    const std::string trimmed = Trim(line);
    const size_t close = trimmed.find(']');
    if (trimmed.empty() || trimmed[0] != '[' || close == std::string::npos)
        return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

bool IsKeyLine(const std::string& line, const std::string& key, std::string* value = nullptr)
{
    const size_t equals = line.find('=');
    const std::string trimmed = Trim(line);
    if (equals == std::string::npos || trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#')
        return false;
    if (!SameName(Trim(line.substr(0, equals)), key))
        return false;
    if (value)
        *value = Trim(line.substr(equals + 1));
    return true;
}

// The range of a section's lines after its header: [first, end). first = end = lines.size() when it is missing.
std::pair<size_t, size_t> FindSection(const std::vector<std::string>& lines, const std::string& section)
{
    size_t i = 0;
    while (i < lines.size()) {
        const std::optional<std::string> name = SectionOf(lines[i++]);
        if (!name || !SameName(*name, section))
            continue;
        size_t end = i;
        while (end < lines.size() && !SectionOf(lines[end]))
            ++end;
        return {i, end};
    }
    return {lines.size(), lines.size()};
}

std::string OneLine(std::string value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return value;
}

} // namespace

void SetSettingsFilePath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        setenv(kSettingsVariable, path.c_str(), 1);
}

std::string SettingsFilePath()
{
    const char* set = std::getenv(kSettingsVariable);
    if (set && set[0] == '/')
        return set;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && config[0] == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home && home[0] ? home : "/tmp") + "/.config";
    }
    return folder + "/vellora/vellora.ini";
}

std::string ProfileSettings::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const
{
    std::vector<std::string> lines;
    if (ReadLines(m_path, lines) != Contents::Read)
        return defaultValue;
    const auto [first, end] = FindSection(lines, section);
    std::string value;
    for (size_t i = first; i < end; ++i)
        if (IsKeyLine(lines[i], key, &value))
            return value;
    return defaultValue;
}

void ProfileSettings::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    Change(section, key, &value);
}

void ProfileSettings::DeleteKey(const std::string& section, const std::string& key) { Change(section, key, nullptr); }

void ProfileSettings::Change(const std::string& section, const std::string& key, const std::string* value)
{
    std::vector<std::string> lines;
    const Contents contents = ReadLines(m_path, lines);
    if (contents == Contents::Unreadable)
        throw EReadError("Cannot read the settings file \"" + m_path + "\"");
    const auto [first, end] = FindSection(lines, section);
    size_t keyLine = end;
    for (size_t i = first; i < end && keyLine == end; ++i)
        if (IsKeyLine(lines[i], key))
            keyLine = i;
    const std::string line = value ? key + "=" + OneLine(*value) : std::string();
    if (keyLine != end) {
        // The key keeps its spelling in the file.
        if (value)
            lines[keyLine] = Trim(lines[keyLine].substr(0, lines[keyLine].find('='))) + "=" + OneLine(*value);
        else
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(keyLine));
    } else if (!value) {
        return;
    } else if (first == lines.size()) {
        lines.push_back("[" + section + "]");
        lines.push_back(line);
    } else {
        // After the section's last line that is not blank.
        size_t at = end;
        while (at > first && Trim(lines[at - 1]).empty())
            --at;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line);
    }
    std::string text;
    for (const std::string& l : lines)
        text += l + "\n";
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
    WriteFileAtomically(m_path, text);
}
