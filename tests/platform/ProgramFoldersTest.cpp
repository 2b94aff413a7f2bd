#include "platform/ProgramFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using Environment = std::map<std::string, std::string>;

} // namespace

void PrintTo(const FolderFallback& fallback, std::ostream* out) { *out << fallback.Describe(); }

namespace {

constexpr const char* kProgram = "/opt/vellora/bin/";
constexpr const char* kHome = "/home/ann/";

struct FolderCase {
    const char* name;
    bool dataBeside;
    bool dataInShare;
    Environment environment;
    std::string userDirs; // the text of $XDG_CONFIG_HOME/user-dirs.dirs
    std::set<std::string> unusable;
    // Expected:
    FolderLayout layout;
    std::string projects;
    std::string settings;
    std::string userDesigns;
    std::string tempBase;
    std::vector<FolderFallback> fallbacks;
};

const Environment kHomeOnly = {{"HOME", "/home/ann"}};

Environment With(Environment environment, const std::string& name, const std::string& value)
{
    environment[name] = value;
    return environment;
}

// The folders of an installed program for the user "ann" when no variable moves them.
const std::string kDocs = "/home/ann/Documents/Vellora/";
const std::string kConfig = "/home/ann/.config/vellora/";
const std::string kData = "/home/ann/.local/share/vellora/";
const std::string kDesigns = kData + "designs/";

const std::vector<FolderCase>& Cases()
{
    // clang-format off
    static const std::vector<FolderCase> cases = {
        {"data beside the program: everything stays there, XDG variables or not", true, true,
         With(With(kHomeOnly, "XDG_DATA_HOME", "/data"), "XDG_RUNTIME_DIR", "/run/user/7"), "", {},
         FolderLayout::Portable, "/opt/vellora/bin/projects/", "/opt/vellora/bin/", "/opt/vellora/bin/designs/",
         "/tmp/", {}},
        {"no data anywhere: as a portable program, whose start-up then reports the missing data", false, false,
         With(kHomeOnly, "TMPDIR", "/var/tmp"), "", {}, FolderLayout::Portable, "/opt/vellora/bin/projects/",
         "/opt/vellora/bin/", "/opt/vellora/bin/designs/", "/var/tmp/", {}},
        {"installed, no XDG variable: the defaults below HOME", false, true, kHomeOnly, "", {},
         FolderLayout::Installed, kDocs, kConfig, kDesigns, "/tmp/", {}},
        {"installed, every variable set", false, true,
         {{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "/d"}, {"XDG_CONFIG_HOME", "/c/"},
          {"XDG_DOCUMENTS_DIR", "/docs//ann"}, {"XDG_RUNTIME_DIR", "/run/user/7"}, {"TMPDIR", "/var/tmp"}},
         "", {}, FolderLayout::Installed, "/docs/ann/Vellora/", "/c/vellora/", "/d/vellora/designs/",
         "/run/user/7/", {}},
        {"empty variables count as unset", false, true,
         {{"HOME", "/home/ann"}, {"XDG_DATA_HOME", ""}, {"XDG_DOCUMENTS_DIR", ""}}, "", {},
         FolderLayout::Installed, kDocs, kConfig, kDesigns, "/tmp/", {}},
        {"XDG_DATA_HOME that cannot be written", false, true, With(kHomeOnly, "XDG_DATA_HOME", "/ro"), "",
         {"/ro/vellora/"}, FolderLayout::Installed, kDocs, kConfig, kDesigns, "/tmp/",
         {{"XDG_DATA_HOME", "/ro/vellora/", kData}}},
        {"XDG_CONFIG_HOME relative: not used", false, true, With(kHomeOnly, "XDG_CONFIG_HOME", "config"), "", {},
         FolderLayout::Installed, kDocs, kConfig, kDesigns, "/tmp/", {{"XDG_CONFIG_HOME", "config", kConfig}}},
        {"XDG_DOCUMENTS_DIR that cannot be created", false, true, With(kHomeOnly, "XDG_DOCUMENTS_DIR", "/nfs/gone"),
         "", {"/nfs/gone/Vellora/"}, FolderLayout::Installed, kDocs, kConfig, kDesigns, "/tmp/",
         {{"XDG_DOCUMENTS_DIR", "/nfs/gone/Vellora/", kDocs}}},
        {"XDG_DOCUMENTS_DIR from user-dirs.dirs", false, true, kHomeOnly,
         "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n",
         {}, FolderLayout::Installed, "/home/ann/Dokumente/Vellora/", kConfig, kDesigns, "/tmp/", {}},
        {"the environment comes before user-dirs.dirs", false, true, With(kHomeOnly, "XDG_DOCUMENTS_DIR", "/e"),
         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", {}, FolderLayout::Installed, "/e/Vellora/", kConfig, kDesigns,
         "/tmp/", {}},
        {"a user-dirs.dirs folder that cannot be used", false, true, kHomeOnly,
         "XDG_DOCUMENTS_DIR=\"/media/usb/Docs\"\n", {"/media/usb/Docs/Vellora/"}, FolderLayout::Installed,
         kDocs, kConfig, kDesigns, "/tmp/", {{"XDG_DOCUMENTS_DIR", "/media/usb/Docs/Vellora/", kDocs}}},
        {"a user-dirs.dirs entry that breaks the format is no entry", false, true, kHomeOnly,
         "XDG_DOCUMENTS_DIR=\"$HOME/$(rm -rf ~)\"\n", {}, FolderLayout::Installed, kDocs, kConfig, kDesigns, "/tmp/",
         {}},
        {"XDG_RUNTIME_DIR that cannot be used: the temporary folder", false, true,
         With(With(kHomeOnly, "XDG_RUNTIME_DIR", "/run/user/7"), "TMPDIR", "relative/tmp"), "", {"/run/user/7/"},
         FolderLayout::Installed, kDocs, kConfig, kDesigns, "/tmp/", {{"XDG_RUNTIME_DIR", "/run/user/7/", "/tmp/"}}},
        {"every variable refused at once", false, true,
         {{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "/a"}, {"XDG_CONFIG_HOME", "/b"}, {"XDG_DOCUMENTS_DIR", "/c"},
          {"XDG_RUNTIME_DIR", "/d"}},
         "", {"/a/vellora/", "/b/vellora/", "/c/Vellora/", "/d/"}, FolderLayout::Installed, kDocs, kConfig, kDesigns,
         "/tmp/",
         {{"XDG_DATA_HOME", "/a/vellora/", kData}, {"XDG_CONFIG_HOME", "/b/vellora/", kConfig},
          {"XDG_DOCUMENTS_DIR", "/c/Vellora/", kDocs}, {"XDG_RUNTIME_DIR", "/d/", "/tmp/"}}},
    };
    // clang-format on
    return cases;
}

FolderInputs InputsFor(const FolderCase& c, std::vector<std::string>* filesRead = nullptr)
{
    FolderInputs inputs;
    inputs.programFolder = kProgram;
    inputs.dataBesideProgram = c.dataBeside;
    inputs.dataInShare = c.dataInShare;
    inputs.environment = c.environment;
    inputs.readFile = [&c, filesRead](const std::string& path) {
        if (filesRead)
            filesRead->push_back(path);
        return c.userDirs;
    };
    inputs.usable = [&c](const std::string& folder) { return c.unusable.count(folder) == 0; };
    return inputs;
}

} // namespace

TEST(ProgramFoldersTest, MapsEveryPlaceForPortableAndInstalledPrograms)
{
    for (const FolderCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        const ProgramFolders folders = MapProgramFolders(InputsFor(c));
        EXPECT_EQ(folders.layout, c.layout);
        EXPECT_EQ(folders.programFolder, kProgram);
        EXPECT_EQ(folders.projectsFolder, c.projects);
        EXPECT_EQ(folders.settingsFolder, c.settings);
        EXPECT_EQ(folders.userDesignsFolder, c.userDesigns);
        EXPECT_EQ(folders.tempBase, c.tempBase);
        EXPECT_EQ(folders.fallbacks, c.fallbacks);
        if (c.layout == FolderLayout::Portable) {
            EXPECT_EQ(folders.dataFolder, "/opt/vellora/bin/data/");
            EXPECT_EQ(folders.designsFolder, "/opt/vellora/bin/designs/");
            EXPECT_EQ(folders.studioDataFile, "/opt/vellora/bin/data/studio.evd");
            EXPECT_EQ(folders.DesignFolders(), std::vector<std::string>{folders.designsFolder});
            EXPECT_EQ(folders.NecessaryFolders(),
                      (std::vector<std::string>{folders.designsFolder, folders.projectsFolder, folders.dataFolder}));
        } else {
            EXPECT_EQ(folders.dataFolder, "/opt/vellora/share/vellora/data/");
            EXPECT_EQ(folders.designsFolder, "/opt/vellora/share/vellora/designs/");
            EXPECT_EQ(folders.studioDataFile,
                      fs::path(c.userDesigns).parent_path().parent_path().string() + "/studio.evd");
            EXPECT_EQ(folders.DesignFolders(), (std::vector<std::string>{c.userDesigns, folders.designsFolder}));
            EXPECT_EQ(folders.NecessaryFolders(),
                      (std::vector<std::string>{folders.designsFolder, folders.projectsFolder, folders.dataFolder,
                                                c.userDesigns, c.settings}));
        }
    }
}

TEST(ProgramFoldersTest, UserDirsAreReadFromTheConfigFolderTheVariableNames)
{
    std::vector<std::string> read;
    FolderCase c = Cases()[2];
    c.environment["XDG_CONFIG_HOME"] = "/etc/skel/../cfg";
    MapProgramFolders(InputsFor(c, &read));
    EXPECT_EQ(read, std::vector<std::string>{"/etc/cfg/user-dirs.dirs"});
    // A config folder that cannot be written is still read for the documents folder.
    read.clear();
    c.unusable = {"/etc/cfg/vellora/"};
    c.userDirs = "XDG_DOCUMENTS_DIR=\"/srv/docs\"";
    const ProgramFolders folders = MapProgramFolders(InputsFor(c, &read));
    EXPECT_EQ(read, std::vector<std::string>{"/etc/cfg/user-dirs.dirs"});
    EXPECT_EQ(folders.projectsFolder, "/srv/docs/Vellora/");
    EXPECT_EQ(folders.settingsFolder, "/home/ann/.config/vellora/");
}

TEST(ProgramFoldersTest, UserDirsEntriesAreParsedStrictly)
{
    struct Entry {
        std::string text;
        std::optional<std::string> expected;
    };
    const std::string name = "XDG_DOCUMENTS_DIR";
    const std::vector<Entry> entries = {
        {"XDG_DOCUMENTS_DIR=\"$HOME/Documents\"", "/home/ann/Documents/"},
        {"  XDG_DOCUMENTS_DIR = \"$HOME/My Docs\"\t", "/home/ann/My Docs/"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"", "/home/ann/"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/say \\\"cheese\\\"\"", "/home/ann/say \"cheese\"/"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/a\\$b\"", "/home/ann/a$b/"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/a/../b\"", "/home/ann/b/"},
        {"XDG_DOCUMENTS_DIR=\"/first\"\nXDG_DOCUMENTS_DIR=\"/second\"", "/second/"},
        {"XDG_DOCUMENTS_DIR=\"/good\"\nXDG_DOCUMENTS_DIR=\"bad\"", "/good/"},
        {"# XDG_DOCUMENTS_DIR=\"/commented\"", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"Documents\"", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"${HOME}/Documents\"", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"$HOME/$USER\"", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"", std::nullopt},
        {"XDG_DOCUMENTS_DIR=\"$HOME/x\" trailing", std::nullopt},
        {"XDG_DOCUMENTS_DIR=$HOME/unquoted", std::nullopt},
        {"export XDG_DOCUMENTS_DIR=\"/x\"", std::nullopt},
        {std::string("XDG_DOCUMENTS_DIR=\"/a\\") + '\0' + "b\"", std::nullopt},
    };
    for (const Entry& entry : entries)
        EXPECT_EQ(UserDirsEntry(entry.text, name, kHome), entry.expected) << entry.text;
}

TEST(ProgramFoldersTest, TheShareFolderIsBesideTheProgramFolder)
{
    EXPECT_EQ(ShareFolderFor("/usr/bin"), "/usr/share/vellora/");
    EXPECT_EQ(ShareFolderFor("/usr/local/bin/"), "/usr/local/share/vellora/");
    EXPECT_EQ(ShareFolderFor("/stage//opt/x/./bin/"), "/stage/opt/x/share/vellora/");
}

// The real look at the file system: folders are created as they are checked, a folder that cannot be made is
// refused, a pipe where user-dirs.dirs should be is not read (it would never end).
TEST(ProgramFoldersTest, FindingTheFoldersCreatesThemOrFallsBack)
{
    const fs::path root = fs::temp_directory_path() / ("vellora-folders-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/vellora/data");
    std::ofstream(root / "usr/share/vellora/data/main.evb") << "x";
    fs::create_directories(root / "home/.config");
    ASSERT_EQ(::mkfifo((root / "home/.config/user-dirs.dirs").c_str(), 0600), 0);
    std::ofstream(root / "plain-file") << "not a folder";

    const std::map<std::string, std::string> variables = {
        {"HOME", (root / "home").string()},
        {"XDG_DATA_HOME", (root / "plain-file/data").string()},
        {"XDG_CONFIG_HOME", ""},
        {"XDG_DOCUMENTS_DIR", (root / "new/docs").string()},
        {"XDG_RUNTIME_DIR", (root / "run").string()},
    };
    std::map<std::string, std::optional<std::string>> saved;
    for (const auto& [name, value] : variables) {
        const char* old = std::getenv(name.c_str());
        saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    const std::string program = (root / "usr/bin").string();
    const ProgramFolders looked = FindProgramFolders(program, FolderCheck::ExistingOnly);
    EXPECT_FALSE(fs::exists(root / "new"));
    EXPECT_EQ(looked.projectsFolder, (root / "home/Documents/Vellora/").string());

    const ProgramFolders folders = FindProgramFolders(program, FolderCheck::CreateAndWrite);
    for (const auto& [name, value] : saved) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    EXPECT_EQ(folders.layout, FolderLayout::Installed);
    EXPECT_EQ(folders.dataFolder, (root / "usr/share/vellora/data/").string());
    EXPECT_EQ(folders.projectsFolder, (root / "new/docs/Vellora/").string());
    EXPECT_TRUE(fs::is_directory(root / "new/docs/Vellora"));
    EXPECT_EQ(folders.tempBase, (root / "run/").string());
    EXPECT_EQ(folders.userDesignsFolder, (root / "home/.local/share/vellora/designs/").string());
    ASSERT_EQ(folders.fallbacks.size(), 1u);
    EXPECT_EQ(folders.fallbacks[0].variable, "XDG_DATA_HOME");
    EXPECT_EQ(folders.fallbacks[0].Describe(),
              "cannot use the folder \"" + (root / "plain-file/data/vellora/").string() +
                  "\" (XDG_DATA_HOME), using \"" + (root / "home/.local/share/vellora/").string() + "\" instead");
    fs::remove_all(root);
}
