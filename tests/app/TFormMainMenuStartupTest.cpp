#include "app/AppTestSupport.h"

#include "audio/AudioTestFiles.h"
#include "audio/evMusic.h"
#include "model/evLayoutPreview.h"
#include "platform/Errors.h"

#include <fstream>

using namespace apptest;
using screentest::HelpString;

namespace {

class StartupTest : public ProgramFolderTest {
protected:
    std::unique_ptr<evMusic> Track(const std::string& title, int32_t playMode)
    {
        const std::string path = PathOf("tmp/" + title + ".wav");
        const std::vector<uint8_t> wave = audiotest::MakeWave(20);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(wave.data()), static_cast<std::streamsize>(wave.size()));
        return std::make_unique<evMusic>(title, playMode, path);
    }
    void WriteSoundLists()
    {
        evObjectCollection music;
        music.Add(Track("Waltz", 1));
        music.Add(Track("Minuet", 1));
        WriteBody(music, DataFolder() + "music.evb");
        evObjectCollection speech;
        speech.Add(Track("Welcome", 1));
        WriteBody(speech, DataFolder() + "speaker.evb");
    }
};

} // namespace

TEST_F(StartupTest, ASuccessfulStartReadsEverythingAndCreatesTheFolders)
{
    TFormMainMenu& menu = Start();
    EXPECT_EQ(menu.GetStartupState(), -1);
    EXPECT_EQ(menu.GetStartupWarning(), -1);
    EXPECT_TRUE(soundAvailable);
    EXPECT_EQ(AppContext(), &menu);
    EXPECT_TRUE(std::filesystem::is_directory(m_program + "/projects"));
    // The folders are the mapping's (ProgramFoldersTest); the files in the data folder are named here.
    EXPECT_EQ(menu.GetMainFile(), m_program + "/data/main.evb");
    EXPECT_EQ(menu.GetStudioFile(), m_program + "/data/studio.evb");

    ASSERT_NE(menu.GetMainBranding(), nullptr);
    EXPECT_EQ(menu.GetMainBranding()->GetHelpTexts().Count(), screentest::kHelpTexts);
    ASSERT_EQ(menu.GetDesigns().Count(), 1);
    const auto* preview = menu.GetDesigns().GetItemAs<evLayoutPreview>(0);
    EXPECT_EQ(preview->GetName(), "Rose");
    EXPECT_EQ(preview->GetFileName(), "Rose.evl");
    EXPECT_EQ(m_audioStarts, 1);
    EXPECT_EQ(m_audioVolume, 100);

    const QStringList expected = {
        "Initializing program...", "Help 124Rose.evl", "Help 180", "Help 176", "Help 178", "Help 179"};
    EXPECT_EQ(m_status, expected);
}

TEST_F(StartupTest, AMissingOrDamagedMainDataFileEndsStartUp)
{
    std::filesystem::remove(MainFile());
    EXPECT_EQ(Start().GetStartupState(), -3);
    EXPECT_EQ(m_mainMenu->GetMainBranding(), nullptr);
    EXPECT_EQ(m_audioStarts, 0);

    MemoryStream whole;
    m_branding->SaveToStream(whole);
    const std::vector<uint8_t> bytes = whole.Data();
    for (size_t cut : {size_t{0}, size_t{8}, bytes.size() / 2, bytes.size() - 1}) {
        WriteBytes(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)), MainFile());
        EXPECT_EQ(Start().GetStartupState(), -3) << "cut at " << cut;
    }
    // An object stream of another kind: a reference tag in front of the body.
    std::vector<uint8_t> tagged = {1, 0, 0, 0, 'P'};
    tagged.insert(tagged.end(), bytes.begin(), bytes.end());
    WriteBytes(tagged, MainFile());
    EXPECT_EQ(Start().GetStartupState(), -3);

    // A bundle without the main menu's pictures cannot start the program either.
    WriteBody(*screentest::MakeBranding(screentest::kHelpTexts, 99), MainFile());
    EXPECT_EQ(Start().GetStartupState(), -3);
    EXPECT_TRUE(m_status.contains("Initializing program..."));
    EXPECT_FALSE(m_status.contains("Help 180"));
}

TEST_F(StartupTest, FoldersThatCannotBeCreatedEndStartUp)
{
    std::ofstream(PathOf("plain-file")) << "not a folder";
    m_environment.folders = PortableFolders(PathOf("plain-file/program"));
    TFormMainMenu& menu = Start();
    EXPECT_EQ(menu.GetStartupState(), -2);
    EXPECT_EQ(menu.GetMainFile(), PathOf("plain-file/program/data/main.evb"));
    EXPECT_TRUE(m_status.isEmpty());

    // The designs folder is a file: the first folder checked fails.
    std::filesystem::remove_all(m_program + "/designs");
    std::ofstream(m_program + "/designs") << "x";
    m_environment.folders = PortableFolders(m_program);
    EXPECT_EQ(Start().GetStartupState(), -2);
    EXPECT_FALSE(std::filesystem::exists(m_program + "/projects"));
}

TEST_F(StartupTest, WithoutAUsableDesignStartUpEnds)
{
    std::filesystem::remove(DesignsFolder() + "Rose.evl");
    EXPECT_EQ(Start().GetStartupState(), 175);
    for (const char* name : {"Rose.evp", "Rose.evl.bak"})
        std::ofstream(DesignsFolder() + name) << "x";
    std::filesystem::create_directories(DesignsFolder() + "folder.evl");
    EXPECT_EQ(Start().GetStartupState(), 175);
    EXPECT_EQ(m_audioStarts, 0);

    // A damaged design alone is no design.
    std::ofstream(DesignsFolder() + "Broken.evl") << "garbage";
    EXPECT_EQ(Start().GetStartupState(), 175);
}

TEST_F(StartupTest, TheScreenMustHoldThePanel)
{
    for (const auto& [size, state] :
         {std::pair{QSize(1023, 768), 204}, {QSize(1280, 767), 204}, {QSize(1024, 768), -1}}) {
        m_environment.screenSize = size;
        EXPECT_EQ(Start().GetStartupState(), state) << size.width() << " x " << size.height();
    }
}

// An old or unknown sound system (nothing is started) or an audio library that does not start turns sound off,
// and the sound lists are not read at all; a known one starts sound and reads them.
TEST_F(StartupTest, SoundNeedsAKnownSoundSystemAndAnAudioLibraryThatStarts)
{
    WriteSoundLists();
    const struct {
        const char* version;
        bool libraryStarts;
        int32_t warning;
    } cases[] = {{"", true, 177},     {"2.2.1", true, 177},         {"4.x.0", true, 177},
                 {"4.02", true, 177}, {"2.26.5 dummy", false, 174}, {"1.3", true, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        m_audioVersion = c.version;
        m_audioStarted = c.libraryStarts;
        const int starts = m_audioStarts;
        TFormMainMenu& menu = Start();
        EXPECT_EQ(menu.GetStartupState(), -1);
        EXPECT_EQ(menu.GetStartupWarning(), c.warning);
        EXPECT_EQ(soundAvailable, c.warning < 0);
        EXPECT_EQ(m_audioStarts - starts, c.warning == 177 ? 0 : 1);
        EXPECT_EQ(menu.GetMainBranding()->GetMusic().Count(), c.warning < 0 ? 2 : 0);
        EXPECT_EQ(menu.GetMainBranding()->GetSpeech().Count(), c.warning < 0 ? 1 : 0);
        EXPECT_EQ(m_status.contains("Help 178"), c.warning < 0);
    }
}

TEST_F(StartupTest, AudioVersionNumberTakesThePartBetweenTheFirstTwoFullStops)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"4.09.00.0904", 9},     {"2.26.5 pulseaudio", 26},        {"no full stop", 0}, {"4..1", 0}, {"4.7", 7},
        {"4.x.1", std::nullopt}, {"4.99999999999.1", std::nullopt}};
    for (const auto& [version, number] : cases)
        EXPECT_EQ(TFormMainMenu::AudioVersionNumber(version), number) << version;
}

TEST_F(StartupTest, TheAudioLibraryCopyOfThisRunIsTheOnlyOneDeleted)
{
    const std::string leftOver = PathOf("tmp/bass0.dll");
    std::ofstream(leftOver) << "from an earlier run";
    StartupEnvironment real = StartupEnvironment::ForFolders(PortableFolders(m_program));
    real.screenSize = QSize(1024, 768);
    m_environment = real;
    TFormMainMenu& menu = Start();
    ASSERT_EQ(menu.GetStartupState(), -1);
    ASSERT_EQ(menu.GetStartupWarning(), -1) << "the program's audio library did not start";
    EXPECT_TRUE(soundAvailable);
    EXPECT_EQ(menu.GetAudioLibraryFile(), PathOf("tmp/bass1.dll"));
    EXPECT_TRUE(FileExists(PathOf("tmp/bass1.dll")));
    m_mainMenu.reset();
    EXPECT_FALSE(FileExists(PathOf("tmp/bass1.dll")));
    EXPECT_TRUE(FileExists(leftOver));
}
