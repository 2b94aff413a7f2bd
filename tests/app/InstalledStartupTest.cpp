#include "app/AppTestSupport.h"

#include "app/ProgramEntry.h"
#include "app/ScreenCreation.h"
#include "model/evLayoutPreview.h"
#include "screens/DataIndexes.h"

#include <fstream>

using namespace apptest;

namespace {

namespace fs = std::filesystem;

// An installed program: the data and designs in PREFIX/share/vellora (read only), the user's own designs and
// the other folders below a home folder, chosen by the folder mapping.
class InstalledStartupTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        const fs::path share = m_folder / "usr/share/vellora";
        fs::create_directories(m_folder / "usr/bin");
        fs::create_directories(share / "data");
        fs::create_directories(share / "designs");
        m_branding = screentest::MakeBranding(
            screentest::kHelpTexts, screentest::kPictures,
            {{Help::FolderNotUsable, "Not %1 but %2."}, {Help::DesignLeftOut, "Left out: %1"}});
        WriteBody(*m_branding, (share / "data/main.evb").string());
        WriteBody(*MakeDesign("Rose"), (share / "designs/Rose.evl").string());
        WriteBody(*MakeDesign("Lily"), (share / "designs/Lily.evl").string());
        fs::permissions(share / "designs", fs::perms::owner_write, fs::perm_options::remove);

        m_home = m_folder / "home";
        fs::create_directories(m_home / ".local/share/vellora/designs");
        std::ofstream(PathOf("plain-file")) << "not a folder";
        FolderInputs inputs;
        inputs.programFolder = PathOf("usr/bin");
        inputs.dataInShare = true;
        inputs.environment = {{"HOME", m_home.string()}, {"XDG_CONFIG_HOME", PathOf("plain-file/config")}};
        inputs.usable = [](const std::string& folder) { return folder.find("plain-file") == std::string::npos; };
        m_environment.folders = MapProgramFolders(inputs);
    }
    void TearDown() override
    {
        fs::permissions(m_folder / "usr/share/vellora/designs", fs::perms::owner_write, fs::perm_options::add);
        ProgramFolderTest::TearDown();
    }
    std::string UserDesigns() const { return (m_home / ".local/share/vellora/designs/").string(); }
    std::string SharedDesigns() const { return PathOf("usr/share/vellora/designs/"); }

    fs::path m_home;
};

std::vector<std::string> DesignNames(const TFormMainMenu& menu)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < menu.GetDesigns().Count(); ++i) {
        const auto* preview = menu.GetDesigns().GetItemAs<evLayoutPreview>(i);
        names.push_back(preview->GetFileName() + " " + preview->GetName());
    }
    return names;
}

} // namespace

TEST_F(InstalledStartupTest, ReadsTheSharedDataAndKeepsTheUsersFilesInTheirFolders)
{
    TFormMainMenu& menu = Start();
    ASSERT_EQ(menu.GetStartupState(), -1);
    EXPECT_EQ(menu.GetMainFile(), PathOf("usr/share/vellora/data/main.evb"));
    EXPECT_EQ(menu.GetProjectsFolder(), (m_home / "Documents/Vellora/").string());
    EXPECT_EQ(menu.GetSettingsFolder(), (m_home / ".config/vellora/").string());
    // Created on the first start; nothing is written beside the program.
    EXPECT_TRUE(fs::is_directory(m_home / "Documents/Vellora"));
    EXPECT_FALSE(fs::exists(PathOf("usr/bin/projects")));
    EXPECT_EQ(DesignNames(menu), (std::vector<std::string>{"Lily.evl Lily", "Rose.evl Rose"}));
    // The fallback is noted once.
    EXPECT_EQ(menu.GetStartupNotes(),
              QStringList{QString::fromStdString("Not " + PathOf("plain-file/config/vellora/") + " but " +
                                                 (m_home / ".config/vellora/").string() + ".")});
}

TEST_F(InstalledStartupTest, TheUsersDesignsJoinTheListAndADamagedOneIsLeftOutWithANote)
{
    WriteBody(*MakeDesign("Own"), UserDesigns() + "Own.evl");
    // The user's design of a shipped design's file name takes its place, as projects name a design by file.
    WriteBody(*MakeDesign("My Lily"), UserDesigns() + "Lily.evl");
    std::ofstream(UserDesigns() + "Broken & Torn.evl") << "garbage";
    TFormMainMenu& menu = Start();
    ASSERT_EQ(menu.GetStartupState(), -1);
    EXPECT_EQ(DesignNames(menu), (std::vector<std::string>{"Lily.evl My Lily", "Own.evl Own", "Rose.evl Rose"}));
    EXPECT_EQ(menu.GetDesignFolderFor("Lily.evl"), UserDesigns());
    EXPECT_EQ(menu.GetDesignFolderFor("Rose.evl"), SharedDesigns());
    ASSERT_EQ(menu.GetStartupNotes().size(), 2);
    // The label shows one "&" for the doubled one.
    EXPECT_EQ(menu.GetStartupNotes()[1], QString::fromStdString("Left out: " + UserDesigns() + "Broken && Torn.evl"));

    // The first show tells both notes in one pop-up.
    CreateScreens({});
    const QStringList shown = OkTexts([&menu] { menu.FormFirstShow(); });
    EXPECT_EQ(shown, QStringList{menu.GetStartupNotes().join("\n")});
}

TEST_F(InstalledStartupTest, AProjectsFolderThatCannotBeMadeEndsStartUp)
{
    // Even the default documents folder is a file here.
    std::ofstream((m_home / "Documents").string()) << "x";
    EXPECT_EQ(Start().GetStartupState(), -2);
}

TEST(ProgramOptionsTest, OnlyTheStartupCheckIsAnOption)
{
    EXPECT_FALSE(ParseProgramOptions({})->checkStartup);
    EXPECT_TRUE(ParseProgramOptions({"--check-startup"})->checkStartup);
    EXPECT_FALSE(ParseProgramOptions({"--check"}).has_value());
    EXPECT_FALSE(ParseProgramOptions({"--check-startup", "album.evp"}).has_value());
}
