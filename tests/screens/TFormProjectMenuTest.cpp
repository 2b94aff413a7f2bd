// The project menu: its status lines, the questions before the project is closed or the program left, saving
// (also when it fails), where the timeline starts and the music button without sound.
#include "screens/DataIndexes.h"
#include "screens/ScreenTestSupport.h"

#include "audio/evMusic.h"
#include "model/ProjectFile.h"
#include "presentation/FinishTestAlbum.h"
#include "screens/Autosave.h"
#include "screens/ProjectStatus.h"
#include "screens/TFormExit.h"
#include "screens/TFormExitAndSave.h"
#include "screens/TFormProjectMenu.h"
#include "screens/TFormSave.h"
#include "screens/TframeTimeline.h"

#include "WriteLeftovers.h"
#include "WriterFaults.h"

#include <QElapsedTimer>
#include <QFontMetrics>

using namespace screentest;
namespace fs = std::filesystem;

namespace {

class TFormProjectMenuTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        m_context.SetProgramFolder(PathOf("program"));
        m_context.SetCurrentProject(finishtest::MakeAlbum());
        m_context.SetProjectFileName(PathOf("album.evp"));
        Screens().formSave = std::make_unique<TFormSave>();
        Screens().formExit = std::make_unique<TFormExit>();
        Screens().formExitAndSave = std::make_unique<TFormExitAndSave>();
    }
    // Runs the action, answering every modal window that comes up: a question with its first answer (yes, save),
    // a message with OK; returns how many came up.
    static int AnsweringAll(const std::function<void()>& action)
    {
        ModalAnswerer answerer(
            [](QWidget* modal) {
                if (auto* save = dynamic_cast<TFormSave*>(modal))
                    save->imgYesActiveClick();
                else if (auto* leave = dynamic_cast<TFormExitAndSave*>(modal))
                    leave->imgBtnExitSave_ActClick();
                else
                    static_cast<SkinnedScreen*>(modal)->Close();
            },
            true);
        action();
        return answerer.Answered();
    }
};

// The question's answer; none: no question may come up.
using Answer = std::function<void(SkinnedScreen&)>;
template <class Screen>
Answer Click(void (Screen::*click)())
{
    return [click](SkinnedScreen& modal) {
        auto* screen = dynamic_cast<Screen*>(&modal);
        ASSERT_NE(screen, nullptr);
        (screen->*click)();
    };
}

} // namespace

TEST_F(TFormProjectMenuTest, StatusLinesShowTreeMusicAndSavedState)
{
    // A name as long as a damaged file may make it.
    const std::string longName = "Waltz " + std::string(200000, 'x') + " of the evening";
    struct Case {
        const char* name;
        bool complete;
        std::string music;
        bool modified;
    };
    for (const Case& c : {Case{"plain", true, "", false}, Case{"changed", false, "Sunrise & Sea", true},
                          Case{"long music", true, longName, false}}) {
        SCOPED_TRACE(c.name);
        m_context.SetCurrentProject(finishtest::MakeAlbum());
        if (!c.complete)
            Project().GetFirstCategory()->GetSub()->SetPageLayoutID(0);
        if (!c.music.empty()) {
            std::ofstream(PathOf("track.wav")) << "audio";
            Project().SetMusic(std::make_unique<evMusic>(c.music, 1, PathOf("track.wav")));
        }
        TFormProjectMenu menu;
        ASSERT_TRUE(menu.Prepare());
        EXPECT_EQ(GetProjectModificationHost(), &menu);
        if (c.modified) {
            MarkModified();
            menu.RefreshStatus();
        }
        EXPECT_EQ(menu.IsModified(), c.modified);
        // A dropped chapter, or music that is no sound file ("audio"), is counted by the check.
        const bool found = !c.complete || !c.music.empty();
        EXPECT_EQ(menu.labelStatus->Caption(), HelpCaption(found ? Help::StatusFindings : 85));
        EXPECT_EQ(menu.labelSaved->Caption(), HelpCaption(c.modified ? 87 : 88));
        EXPECT_EQ(menu.labelSaved->FontColour(), c.modified ? TFormProjectMenu::kMaroon : TFormProjectMenu::kGreen);
        EXPECT_EQ(menu.imgSave_InAct->isVisibleTo(menu.Panel()), !c.modified);
        EXPECT_EQ(menu.labelMusic->FontColour(),
                  c.music.empty() ? TFormProjectMenu::kMaroon : TFormProjectMenu::kGreen);
        const QString music = menu.labelMusic->text();
        const QString name = QString::fromStdString(c.music);
        if (c.music != longName) {
            EXPECT_EQ(music, c.music.empty() ? HelpCaption(86) : name);
        } else {
            // "..." and as much of the name's tail as fits.
            const QFontMetrics metrics(menu.labelMusic->font());
            EXPECT_EQ(music, "..." + name.right(music.size() - 3));
            EXPECT_LE(metrics.horizontalAdvance(music), 251);
            EXPECT_GT(metrics.horizontalAdvance("..." + name.right(music.size() - 2)), 251);
        }
        menu.Conclude();
        EXPECT_EQ(GetProjectModificationHost(), nullptr);
    }
}

TEST_F(TFormProjectMenuTest, ClosingAndLeavingAskOnlyWhenThereAreChanges)
{
    struct Case {
        const char* name;
        bool modified, leaveProgram;
        Answer answer;
        bool closes;
        int32_t result;
        bool saved;
    };
    const Case cases[] = {
        {"close unchanged", false, false, nullptr, true, 0, false},
        {"leave unchanged, yes", false, true, Click(&TFormExit::imgYesActiveClick), true, -2, false},
        {"leave unchanged, no", false, true, Click(&TFormExit::imgNoActiveClick), false, 0, false},
        {"close, save", true, false, Click(&TFormSave::imgYesActiveClick), true, 0, true},
        {"close, cross", true, false, Click(&TFormSave::imgExitClick), false, 0, false},
        {"leave, save", true, true, Click(&TFormExitAndSave::imgBtnExitSave_ActClick), true, -2, true},
        {"leave, do not save", true, true, Click(&TFormExitAndSave::imgBtnExitNoSave_ActClick), true, -2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = PathOf(std::string(c.name) + ".evp");
        m_context.SetProjectFileName(file);
        TFormProjectMenu menu;
        menu.Prepare();
        if (c.modified)
            menu.MarkModified();
        const int questions =
            Answering<SkinnedScreen>([&] { c.leaveProgram ? menu.imgExitPrg_ActClick() : menu.imgExitPrj_ActClick(); },
                                     [&c](SkinnedScreen& modal) { c.answer ? c.answer(modal) : modal.Close(); });
        EXPECT_EQ(questions, c.answer ? 1 : 0);
        EXPECT_EQ(menu.IsCloseRequested(), c.closes);
        EXPECT_EQ(menu.GetResult(), c.result);
        EXPECT_EQ(fs::exists(file), c.saved);
        EXPECT_EQ(menu.IsModified(), c.modified && !c.saved);
        menu.Conclude();
    }
}

// A full disc or a folder that cannot be written: the user is told which file and why, the previous file and the
// changes stay, and closing or leaving with "save" stays in the menu.
TEST_F(TFormProjectMenuTest, AFailedSaveSaysWhyAndKeepsTheChangesAndTheMenuOpen)
{
    const std::string file = PathOf("album.evp");
    const std::unique_ptr<evProject> previous = finishtest::MakeAlbum();
    previous->SetFirstName("Previous");
    WriteProjectFile(*previous, file);
    const std::string before = FileBytes(file);
    m_context.SetProjectFileName(file);
    TFormProjectMenu menu;
    menu.Prepare();
    MarkModified();
    menu.RefreshStatus();
    const struct {
        WriterFaults::At at;
        int error;
        int32_t text;
    } cases[] = {
        {WriterFaults::At::Write, ENOSPC, Help::WriteDiscFull},
        {WriterFaults::At::Open, EROFS, Help::WriteFolderLocked},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        WriterFaults faults(c.at, c.error);
        EXPECT_EQ(OkMessage([&] { menu.imgSave_ActClick(); }), HelpCaption(c.text) + "\n" +
                                                                   QString::fromStdString(file) + "\n" +
                                                                   HelpCaption(Help::SaveChangesKept));
        EXPECT_TRUE(menu.IsModified());
        EXPECT_EQ(FileBytes(file), before);
        EXPECT_TRUE(TemporariesIn(m_folder).empty());
    }
    {
        WriterFaults full(WriterFaults::At::Write, ENOSPC);
        EXPECT_EQ(AnsweringAll([&] { menu.imgExitPrj_ActClick(); }), 2); // the save question, then the message
        EXPECT_EQ(AnsweringAll([&] { menu.imgExitPrg_ActClick(); }), 2);
    }
    EXPECT_FALSE(menu.IsCloseRequested());
    EXPECT_TRUE(menu.IsModified());
    EXPECT_EQ(FileBytes(file), before);

    menu.imgSave_ActClick();
    EXPECT_FALSE(menu.IsModified());
    EXPECT_EQ(ReadProjectFile(file)->GetFirstName(), "Anna");
    EXPECT_NE(FileBytes(file), before);
    menu.Conclude();
}

// Back in the menu from a screen that changed the project, the recovery copy catches up in the background;
// a copy that cannot be written shows in the status line until the next interval writes it; saving removes it.
TEST_F(TFormProjectMenuTest, TheRecoveryCopyFollowsTheChangesUntilTheSave)
{
    const std::string file = PathOf("album.evp");
    const std::string copy = file + ".recovery";
    m_context.SetProjectFileName(file);
    Autosave& autosave = m_context.GetAutosave();
    const auto settle = [&autosave](const std::function<bool()>& done) {
        autosave.WaitForWriter();
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    TFormProjectMenu menu;
    menu.Prepare();
    Project().SetFirstName("Carla");
    MarkModified();
    menu.imgEdPrj_ActClick(); // no editor is there, so this returns as leaving the editors does
    settle([&copy] { return fs::exists(copy); });
    EXPECT_EQ(ReadProjectFile(copy)->GetFirstName(), "Carla");

    Project().SetFirstName("Dora");
    MarkModified();
    {
        WriterFaults locked(WriterFaults::At::Open, EACCES);
        menu.imgEdPrj_ActClick();
        settle([&autosave] { return autosave.HasProblem(); });
    }
    EXPECT_EQ(menu.labelSaved->Caption(), HelpCaption(Help::StatusNoRecoveryCopy));
    EXPECT_EQ(ReadProjectFile(copy)->GetFirstName(), "Carla");
    autosave.Timer().start(1);
    settle([&autosave] { return !autosave.HasProblem(); });
    autosave.Timer().stop();
    EXPECT_EQ(ReadProjectFile(copy)->GetFirstName(), "Dora");
    EXPECT_EQ(menu.labelSaved->Caption(), HelpCaption(87));

    menu.imgSave_ActClick();
    settle([] { return true; });
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(ReadProjectFile(file)->GetFirstName(), "Dora");
    EXPECT_TRUE(TemporariesIn(m_folder).empty());
    menu.Conclude();
}

TEST_F(TFormProjectMenuTest, TheTimelineStartsOnTheFirstSelectedChapterOfTheSecondPart)
{
    // The second top-level category's chapters, "+" selected and "-" not; nullptr: no second category.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"+-", "M", "C0"}, {"-++", "M", "C1"}, {"--", "R", "R"}, {nullptr, "R", "R"}};
    for (const auto& [chapters, category, page] : cases) {
        auto first = std::make_unique<evCategory>("R", "", false, 3);
        if (chapters) {
            auto second = std::make_unique<evCategory>("M", "", false, 3);
            for (size_t i = 0; chapters[i]; ++i) {
                auto chapter = std::make_unique<evCategory>("C" + std::to_string(i), "", true, 3);
                chapter->SetSelected(chapters[i] == '+');
                second->AddChild(std::move(chapter));
            }
            first->AppendSibling(std::move(second));
        }
        const evProject project("A", "B", 1.0, "D.evl", std::move(first));
        const TFormProjectMenu::TimelinePosition start = TFormProjectMenu::StartPosition(project);
        EXPECT_EQ(start.category->GetTitle(), category) << page;
        EXPECT_EQ(start.page->GetTitle(), page);
    }

    // The menu puts its strip there and takes it home, forgetting the project, when it closes.
    TFormProjectMenu menu;
    menu.Prepare();
    EXPECT_EQ(menu.Timeline().CurrentPage(), Project().GetFirstCategory());
    menu.Conclude();
    EXPECT_EQ(menu.Timeline().parentWidget(), menu.Panel());
    EXPECT_EQ(menu.Timeline().CurrentPage(), nullptr);
}

TEST_F(TFormProjectMenuTest, MusicWithoutSoundShowsTheGreyedButtonAndOnlyItsText)
{
    for (const bool sound : {false, true}) {
        SCOPED_TRACE(sound);
        soundAvailable = sound;
        TFormProjectMenu menu;
        menu.Prepare();
        EXPECT_EQ(menu.imgMusic_InAct->isVisibleTo(menu.Panel()), !sound);
        // Without the music screen the button does nothing at all.
        EXPECT_EQ(OkMessage([&] { menu.imgMusic_ActClick(); }), sound ? QString() : HelpCaption(181));
        menu.Conclude();
    }
}
