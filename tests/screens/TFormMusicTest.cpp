#include "screens/ScreenTestSupport.h"

#include "audio/evMusic.h"
#include "model/evProject.h"
#include "screens/TFormMusic.h"

#include <QFontMetrics>
#include <QTest>

using namespace screentest;

namespace {

class TFormMusicTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        UseAlbum(nullptr);
    }

    // Equal sizes make tracks that compare equal whatever their bytes.
    std::string Audio(const std::string& name, size_t size, char fill = 'a')
    {
        std::ofstream(PathOf(name), std::ios::binary) << std::string(size, fill);
        return PathOf(name);
    }
    // Track i is called "Track i" and holds i + 1 bytes.
    void FillMusicList(int count)
    {
        auto list = std::make_unique<evObjectCollection>();
        for (int i = 0; i < count; ++i)
            list->Add(std::make_unique<evMusic>("Track " + std::to_string(i), 1,
                                                Audio("list" + std::to_string(i), static_cast<size_t>(i) + 1)));
        m_branding->SetMusic(std::move(list));
    }
    evMusic* ProjectMusic() { return dynamic_cast<evMusic*>(Project().GetMusic()); }
    void SetProjectMusic(const std::string& title, size_t size, char fill)
    {
        Project().SetMusic(std::make_unique<evMusic>(title, 1, Audio(title, size, fill)));
    }
};

} // namespace

TEST_F(TFormMusicTest, ArrowsScrollTheListAndShowFourteenTitles)
{
    const struct {
        int tracks;
        std::string presses; // u: up, d: down
        int first, last;     // the visible titles
    } cases[] = {
        {20, "u", 0, 15}, {20, "du", 0, 13}, {15, "dd", 1, 14}, {14, "d", 0, 13}, {20, "ddddddd", 6, 19},
    };
    for (const auto& c : cases) {
        FillMusicList(c.tracks);
        TFormMusic screen;
        screen.Prepare();
        for (char press : c.presses)
            press == 'u' ? screen.ImgUpMouseDown() : screen.ImgDownMouseDown();
        EXPECT_EQ(screen.FirstVisible(), c.first) << c.tracks << " " << c.presses;
        for (int i = 0; i < c.tracks; ++i) {
            const TLabel* label = screen.ListLabels()[static_cast<size_t>(i)];
            EXPECT_EQ(label->isVisibleTo(screen.Panel()), i >= c.first && i <= c.last) << c.presses << " " << i;
            EXPECT_EQ(label->geometry(), QRect(480, 195 + 20 * (i - c.first), 200, 17)) << c.presses << " " << i;
        }
        screen.Finish();
        EXPECT_TRUE(screen.ListLabels().empty());
    }
}

// The project's music is found in the list by title and size alone; it is shown as chosen, silent and unchanged.
// Music of its own is shown by its title, shortened to its field.
TEST_F(TFormMusicTest, ProjectMusicIsShownOnEntry)
{
    FillMusicList(6);
    SetProjectMusic("Track 3", 4, 'z');
    evMusic* own = ProjectMusic();
    TFormMusic screen;
    screen.Prepare();
    EXPECT_EQ(screen.Selected(), 3);
    EXPECT_FALSE(screen.IsChanged());
    EXPECT_EQ(screen.CurrentTrack(), m_branding->GetMusic().GetItem(3));
    EXPECT_EQ(screen.lblMusicFile->text(), "Track 3");
    screen.imgBtnAcceptClick();
    screen.Finish();
    EXPECT_EQ(ProjectMusic(), own);
    EXPECT_FALSE(IsModified());

    SetProjectMusic(std::string(60, 'W') + ".mp3", 10, 'w');
    screen.Prepare();
    const QString shown = screen.lblMusicFile->text();
    const QFontMetrics metrics(screen.lblMusicFile->font());
    EXPECT_TRUE(shown.startsWith("WWW") && shown.endsWith("...")) << shown.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shown), 165);
    EXPECT_GT(metrics.horizontalAdvance(shown.chopped(3) + "W..."), 165);
    EXPECT_EQ(screen.Selected(), -1);
    screen.Finish();
}

TEST_F(TFormMusicTest, AcceptAndCancelStoreTheChoice)
{
    enum class Action { None, ListTrack, OwnFile, NoMusic };
    const struct {
        Action action;
        bool cancel, projectHasOwnTrack;
        std::string expectedTitle; // empty: no music
    } cases[] = {
        {Action::None, false, true, "Own song"},    {Action::ListTrack, false, true, "Track 2"},
        {Action::OwnFile, false, true, "mine.mp3"}, {Action::NoMusic, false, true, ""},
        {Action::OwnFile, true, true, "Own song"},
    };
    FillMusicList(4);
    const std::string mine = Audio("mine.mp3", 40);
    for (const auto& c : cases) {
        const int at = static_cast<int>(&c - cases);
        ClearModified();
        Project().SetMusic(nullptr);
        if (c.projectHasOwnTrack)
            SetProjectMusic("Own song", 100, 'o');
        const evMusic* before = ProjectMusic();
        AnsweringDialogs dialogs;
        dialogs.openAnswers.push_back(mine);
        std::string fileTrackFile;
        {
            TFormMusic screen;
            screen.Prepare();
            EXPECT_EQ(screen.lblMusicFile->text(), c.projectHasOwnTrack ? "Own song" : "") << at;
            if (c.action == Action::ListTrack)
                QTest::mouseClick(screen.ListLabels()[2], Qt::LeftButton);
            if (c.action == Action::OwnFile) {
                screen.imgSelectMusicClick();
                ASSERT_NE(screen.FileTrack(), nullptr) << at;
                fileTrackFile = screen.FileTrack()->GetFile();
            }
            if (c.action == Action::NoMusic)
                screen.imgBtnNoMusicClick();
            c.cancel ? screen.imgBtnCancelClick() : screen.imgBtnAcceptClick();
            EXPECT_TRUE(screen.IsCloseRequested()) << at;
            screen.Finish();
        }
        const evMusic* after = ProjectMusic();
        EXPECT_EQ(IsModified(), c.action != Action::None && !c.cancel) << at;
        EXPECT_EQ(after ? after->GetTitle() : "", c.expectedTitle) << at;
        const evObject* listTrack = m_branding->GetMusic().GetItem(2);
        EXPECT_TRUE((c.action != Action::None && !c.cancel) || after == before) << at;
        EXPECT_TRUE(c.action != Action::ListTrack || (after != listTrack && after->IsEqual(listTrack))) << at;
        // Accepted, the file track belongs to the project and outlives the screen; cancelled, it is gone.
        EXPECT_TRUE(c.action != Action::OwnFile || std::filesystem::exists(fileTrackFile) != c.cancel) << at;
        EXPECT_TRUE(c.action != Action::OwnFile || c.cancel || after->GetFile() == fileTrackFile) << at;
    }
}

// A file that is missing, too large or unreadable leaves the choice as it was.
TEST_F(TFormMusicTest, UnusableOwnFilesAreRefusedWithAMessage)
{
    FillMusicList(3);
    const std::string huge = Audio("huge.mp3", 1);
    std::filesystem::resize_file(huge, evMusic::kMaxAudioBytes + 1);
    std::filesystem::create_directory(PathOf("folder.mp3"));
    const struct {
        std::string file;
        QString message;
    } cases[] = {
        {PathOf("gone.mp3"), HelpText(96)},
        {huge, "This music file is larger than 200 MB and cannot be used. Please choose a smaller file."},
        {PathOf("folder.mp3"), "This music file could not be read. Please choose another file."},
    };
    for (const auto& c : cases) {
        AnsweringDialogs dialogs;
        dialogs.openAnswers.push_back(c.file);
        TFormMusic screen;
        screen.Prepare();
        screen.LabelClick(1);
        EXPECT_EQ(OkMessage([&] { screen.imgSelectMusicClick(); }), c.message) << c.file;
        ASSERT_EQ(dialogs.openRequests.size(), 1u);
        EXPECT_EQ(screen.FileTrack(), nullptr);
        EXPECT_EQ(screen.lblMusicFile->text(), "Track 1");
        screen.Finish();
    }
}

TEST_F(TFormMusicTest, WithoutAProjectOnlyTheMessageIsShown)
{
    m_context.FreeCurrentProject();
    TFormMusic screen;
    EXPECT_EQ(OkMessage([&] { screen.Run(); }), "No album is open, so there is no music to choose for it.");
    EXPECT_FALSE(screen.isVisible());
}
