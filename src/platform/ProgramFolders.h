#pragma once
// Where the program finds its data and keeps what it writes.
//
// Portable: the main data file lies beside the program file (program folder + "data/main.evb": the build folder,
// or a copy kept in a folder of its own). Everything stays in the program folder: data/ (with the studio
// record), designs/, projects/, and the settings in the program folder itself; temporary files go to a private
// folder in the system's temporary folder.
//
// Installed: the program file lies in PREFIX/bin and the data in PREFIX/share/vellora. Nothing is written beside
// the program; the folders follow the XDG base directory and user directory conventions:
//
//   data files, designs   PREFIX/share/vellora/data/ and designs/   read only
//   the user's designs    $XDG_DATA_HOME/vellora/designs/          default ~/.local/share/vellora/designs/
//   studio record         $XDG_DATA_HOME/vellora/studio.evd
//   projects              $XDG_DOCUMENTS_DIR/Vellora/              default ~/Documents/Vellora/
//   settings              $XDG_CONFIG_HOME/vellora/                default ~/.config/vellora/
//   temporary files       private folder in $XDG_RUNTIME_DIR       default the system's temporary folder
//
// XDG_DOCUMENTS_DIR comes from the environment, else from $XDG_CONFIG_HOME/user-dirs.dirs. A variable that names
// a relative path, or a folder that cannot be created or written, is not used: the variable's default is, and
// the fallback is kept, so that start-up can say so once.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class FolderLayout { Portable, Installed };

// A variable whose folder could not be used, and the folder used instead.
struct FolderFallback {
    std::string variable; // "XDG_DATA_HOME"
    std::string refused;  // the program's folder in what the variable names, or the variable's value as it stands
    std::string used;     // the folder used instead

    // One line for a terminal or a log.
    std::string Describe() const;
    bool operator==(const FolderFallback&) const = default;
};

// Every folder ends in "/".
struct ProgramFolders {
    FolderLayout layout = FolderLayout::Portable;
    std::string programFolder;
    // The main data file, the sound lists and the studio design.
    std::string dataFolder;
    // The designs that come with the program.
    std::string designsFolder;
    // Designs the user adds; the same as designsFolder when portable.
    std::string userDesignsFolder;
    std::string projectsFolder;
    std::string settingsFolder;
    // The studio record that the studio screen writes (a file, not a folder).
    std::string studioDataFile;
    // The folder that holds this process's private temporary folder.
    std::string tempBase;
    std::vector<FolderFallback> fallbacks;

    // The folders to look for a design in, the user's own first; one folder when both are the same.
    std::vector<std::string> DesignFolders() const;
    // The folders start-up makes sure of, in this order: the designs, the projects, the data, then (installed)
    // the user's designs and the settings.
    std::vector<std::string> NecessaryFolders() const;
};

// Everything the mapping looks at, so that it is a pure function of these.
struct FolderInputs {
    std::string programFolder;
    // Whether the main data file lies beside the program file, and in the share folder (ShareFolderFor).
    bool dataBesideProgram = false;
    bool dataInShare = false;
    // The environment variables that are set: HOME, TMPDIR and the XDG ones. An empty value counts as unset.
    std::map<std::string, std::string> environment;
    // The text of a file (user-dirs.dirs), empty when it cannot be read.
    std::function<std::string(const std::string& path)> readFile;
    // True when the folder exists or can be created, and can be written.
    std::function<bool(const std::string& folder)> usable;
};

ProgramFolders MapProgramFolders(const FolderInputs& inputs);

// The folders of a portable program in the folder; temporary files in tempBase.
ProgramFolders PortableFolders(const std::string& programFolder, const std::string& tempBase = "/tmp");

// The installed data folder that belongs to a program folder (PREFIX/bin/ gives PREFIX/share/vellora/).
std::string ShareFolderFor(const std::string& programFolder);

// The value of one entry of a user-dirs.dirs text (NAME="$HOME/path" or NAME="/path", a backslash escapes the
// next character, "#" starts a comment line), with $HOME replaced by home. The last valid entry counts; a line
// that breaks the format, a relative path and any other "$" make that line count for nothing.
std::optional<std::string> UserDirsEntry(std::string_view text, std::string_view name, const std::string& home);

// The folders of this run, from the file system and the environment. CreateAndWrite creates every folder it
// checks (the program); ExistingOnly only looks (the command-line tool, which writes nothing of its own).
enum class FolderCheck { CreateAndWrite, ExistingOnly };
ProgramFolders FindProgramFolders(const std::string& programFolder, FolderCheck check);

// The folder of the running program file, with its trailing "/".
std::string ProgramFileFolder();
