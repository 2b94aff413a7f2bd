#include "platform/ProgramFolders.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <limits.h>
#include <pwd.h>
#include <unistd.h>

// The installed data folder relative to the installed program folder; the build passes the one its install
// rules use.
#ifndef VELLORA_SHARE_FROM_PROGRAM
#define VELLORA_SHARE_FROM_PROGRAM "../share/vellora"
#endif

namespace {

namespace fs = std::filesystem;

constexpr const char* kMainDataFile = "data/main.evb";
// user-dirs.dirs is a few lines; anything much larger is not one.
constexpr std::streamsize kLongestUserDirs = 64 * 1024;
constexpr const char* kVariables[] = {
    "HOME", "TMPDIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR", "XDG_RUNTIME_DIR"};

// The folder without "." and ".." steps and doubled slashes, with one trailing "/".
std::string Folder(const std::string& path)
{
    std::string normal = fs::path(path).lexically_normal().string();
    if (normal.empty() || normal.back() != '/')
        normal += '/';
    return normal;
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

class Mapper {
public:
    explicit Mapper(const FolderInputs& inputs) : m_inputs(inputs)
    {
        m_home = Folder(IsAbsolute(Variable("HOME")) ? Variable("HOME") : "/");
        m_systemTemp = Folder(IsAbsolute(Variable("TMPDIR")) ? Variable("TMPDIR") : "/tmp");
    }

    ProgramFolders Map()
    {
        if (m_inputs.dataBesideProgram || !m_inputs.dataInShare)
            return PortableFolders(m_inputs.programFolder, m_systemTemp);
        ProgramFolders folders;
        folders.layout = FolderLayout::Installed;
        folders.programFolder = Folder(m_inputs.programFolder);
        const std::string share = ShareFolderFor(m_inputs.programFolder);
        folders.dataFolder = share + "data/";
        folders.designsFolder = share + "designs/";
        const std::string dataHome =
            Choose("XDG_DATA_HOME", Variable("XDG_DATA_HOME"), m_home + ".local/share/", "vellora/");
        folders.userDesignsFolder = dataHome + "designs/";
        folders.studioDataFile = dataHome + "studio.evd";
        folders.settingsFolder =
            Choose("XDG_CONFIG_HOME", Variable("XDG_CONFIG_HOME"), m_home + ".config/", "vellora/");
        folders.projectsFolder = Choose("XDG_DOCUMENTS_DIR", DocumentsValue(), m_home + "Documents/", "Vellora/");
        folders.tempBase = Choose("XDG_RUNTIME_DIR", Variable("XDG_RUNTIME_DIR"), m_systemTemp, "");
        folders.fallbacks = std::move(m_fallbacks);
        return folders;
    }

private:
    std::string Variable(const std::string& name) const
    {
        const auto found = m_inputs.environment.find(name);
        return found == m_inputs.environment.end() ? std::string() : found->second;
    }

    // Where user-dirs.dirs lives: the variable's folder as it stands, whether or not it can be written.
    std::string ConfigHome() const
    {
        const std::string value = Variable("XDG_CONFIG_HOME");
        return IsAbsolute(value) ? Folder(value) : m_home + ".config/";
    }

    std::string DocumentsValue() const
    {
        const std::string value = Variable("XDG_DOCUMENTS_DIR");
        if (!value.empty() || !m_inputs.readFile)
            return value;
        const std::string text = m_inputs.readFile(ConfigHome() + "user-dirs.dirs");
        return UserDirsEntry(text, "XDG_DOCUMENTS_DIR", m_home).value_or(std::string());
    }

    // The program's folder (sub) in what the variable names, or in the default when the variable is unset, not
    // absolute or names a folder that cannot be used.
    std::string Choose(const std::string& variable, const std::string& value, const std::string& fallback,
                       const std::string& sub)
    {
        const std::string used = Folder(fallback + sub);
        if (value.empty())
            return used;
        if (!IsAbsolute(value)) {
            m_fallbacks.push_back({variable, value, used});
            return used;
        }
        const std::string wanted = Folder(value + "/" + sub);
        if (m_inputs.usable && !m_inputs.usable(wanted)) {
            m_fallbacks.push_back({variable, wanted, used});
            return used;
        }
        return wanted;
    }

    const FolderInputs& m_inputs;
    std::string m_home;
    std::string m_systemTemp;
    std::vector<FolderFallback> m_fallbacks;
};

// Parses one line of user-dirs.dirs for the name; nothing when the line is another entry or breaks the format.
std::optional<std::string> ParseUserDirsLine(std::string_view line, std::string_view name, const std::string& home)
{
    const auto skipBlanks = [&line] {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
    };
    skipBlanks();
    if (line.substr(0, name.size()) != name)
        return std::nullopt;
    line.remove_prefix(name.size());
    skipBlanks();
    if (line.empty() || line.front() != '=')
        return std::nullopt;
    line.remove_prefix(1);
    skipBlanks();
    if (line.empty() || line.front() != '"')
        return std::nullopt;
    line.remove_prefix(1);
    std::string value;
    bool fromHome = false;
    if (line.substr(0, 5) == "$HOME" && (line.size() == 5 || line[5] == '/' || line[5] == '"')) {
        fromHome = true;
        line.remove_prefix(5);
    }
    bool closed = false;
    while (!line.empty() && !closed) {
        const char c = line.front();
        line.remove_prefix(1);
        if (c == '"') {
            closed = true;
        } else if (c == '\\' && !line.empty()) {
            value += line.front();
            line.remove_prefix(1);
        } else if (c == '$' || c == '\\' || c == '\0') {
            return std::nullopt;
        } else {
            value += c;
        }
    }
    skipBlanks();
    if (!closed || !line.empty() || value.find('\0') != std::string::npos)
        return std::nullopt;
    if (fromHome)
        return Folder(home + value);
    if (!IsAbsolute(value))
        return std::nullopt;
    return Folder(value);
}

bool IsFile(const std::string& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// Only a regular file is read: a pipe or a device in its place would never end.
std::string ReadSmallFile(const std::string& path)
{
    if (!IsFile(path))
        return {};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    std::string text(static_cast<size_t>(kLongestUserDirs) + 1, '\0');
    file.read(text.data(), kLongestUserDirs + 1);
    if (file.gcount() > kLongestUserDirs)
        return {};
    text.resize(static_cast<size_t>(file.gcount()));
    return text;
}

bool CanCreateAndWrite(const std::string& folder)
{
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool IsFolder(const std::string& folder)
{
    std::error_code error;
    return fs::is_directory(folder, error);
}

std::string HomeFromPasswd()
{
    const struct passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? std::string(entry->pw_dir) : std::string();
}

} // namespace

std::string FolderFallback::Describe() const
{
    return "cannot use the folder \"" + refused + "\" (" + variable + "), using \"" + used + "\" instead";
}

std::vector<std::string> ProgramFolders::DesignFolders() const
{
    if (userDesignsFolder.empty() || userDesignsFolder == designsFolder)
        return {designsFolder};
    return {userDesignsFolder, designsFolder};
}

std::vector<std::string> ProgramFolders::NecessaryFolders() const
{
    std::vector<std::string> folders = {designsFolder, projectsFolder, dataFolder};
    if (layout == FolderLayout::Installed) {
        folders.push_back(userDesignsFolder);
        folders.push_back(settingsFolder);
    }
    return folders;
}

ProgramFolders MapProgramFolders(const FolderInputs& inputs) { return Mapper(inputs).Map(); }

ProgramFolders PortableFolders(const std::string& programFolder, const std::string& tempBase)
{
    ProgramFolders folders;
    folders.layout = FolderLayout::Portable;
    folders.programFolder = programFolder.empty() ? std::string() : Folder(programFolder);
    folders.dataFolder = folders.programFolder + "data/";
    folders.designsFolder = folders.programFolder + "designs/";
    folders.userDesignsFolder = folders.designsFolder;
    folders.projectsFolder = folders.programFolder + "projects/";
    folders.settingsFolder = folders.programFolder;
    folders.studioDataFile = folders.dataFolder + "studio.evd";
    folders.tempBase = Folder(tempBase);
    return folders;
}

std::string ShareFolderFor(const std::string& programFolder)
{
    return Folder(Folder(programFolder) + VELLORA_SHARE_FROM_PROGRAM);
}

std::optional<std::string> UserDirsEntry(std::string_view text, std::string_view name, const std::string& home)
{
    std::optional<std::string> found;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (std::optional<std::string> value = ParseUserDirsLine(line, name, home))
            found = std::move(value);
    }
    return found;
}

ProgramFolders FindProgramFolders(const std::string& programFolder, FolderCheck check)
{
    FolderInputs inputs;
    inputs.programFolder = programFolder;
    inputs.dataBesideProgram = IsFile(Folder(programFolder) + kMainDataFile);
    inputs.dataInShare = IsFile(ShareFolderFor(programFolder) + kMainDataFile);
    for (const char* name : kVariables) {
        const char* value = std::getenv(name);
        if (value && *value)
            inputs.environment[name] = value;
    }
    if (!IsAbsolute(inputs.environment["HOME"]))
        inputs.environment["HOME"] = HomeFromPasswd();
    inputs.readFile = ReadSmallFile;
    inputs.usable = check == FolderCheck::CreateAndWrite ? CanCreateAndWrite : IsFolder;
    return MapProgramFolders(inputs);
}

std::string ProgramFileFolder()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error || !program.has_parent_path())
        return Folder(fs::current_path(error).string());
    return Folder(program.parent_path().string());
}
