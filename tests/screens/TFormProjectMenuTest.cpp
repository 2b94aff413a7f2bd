// The project menu: its status lines, the questions before the project is closed or the program left, saving
// (also when it fails), where the timeline starts and the music button without sound.
#include "screens/DataIndexes.h"
#include "screens/ScreenTestSupport.h"

#include "audio/evMusic.h"
#include "model/ProjectFile.h"
#include "model/evProject.h"
#include "presentation/FinishTestAlbum.h"
#include "screens/ApplicationContext.h"
#include "model/ProjectModification.h"
#include "screens/ProjectStatus.h"
#include "screens/ScreenSet.h"
#include "screens/TFormExit.h"
#include "screens/TFormExitAndSave.h"
#include "screens/TFormProjectMenu.h"
#include "screens/TFormSave.h"
#include "screens/TframeTimeline.h"
#include "screens/TokPopup.h"

#include <QFontMetrics>

#include <fstream>

using namespace screentest;
namespace fs = std::filesystem;

namespace {

QString HelpCaption(int index) { return QString::fromStdString(HelpString(index)); }

class TFormProjectMenuTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        m_context.SetProgramFolder(PathOf("program"));
        m_context.SetCurrentProject(finishtest::MakeAlbum());
        m_context.SetProjectFileName(PathOf("album.evp"));
        SetAppContext(&m_context);
        Screens().okPopup = std::make_unique<TokPopup>();
        Screens().formSave = std::make_unique<TFormSave>();
        Screens().formExit = std::make_unique<TFormExit>();
        Screens().formExitAndSave = std::make_unique<TFormExitAndSave>();
    }
    void TearDown() override
    {
        Screens().formExitAndSave.reset();
        Screens().formExit.reset();
        Screens().formSave.reset();
        Screens().okPopup.reset();
        SetAppContext(nullptr);
        m_context.FreeCurrentProject();
        soundAvailable = false;
        SkinTest::TearDown();
    }

    evProject& Project() { return *m_context.GetCurrentProject(); }
    // Runs the action, answering any modal window with the answer (the first modal closes unanswered when there
    // is none); returns how many modal windows came up.
    static int Answering(const std::function<void(QWidget*)>& answer, const std::function<void()>& action)
    {
        ModalAnswerer answerer([&answer](QWidget* modal) {
            if (answer)
                answer(modal);
            else
                static_cast<SkinnedScreen*>(modal)->Close();
        });
        action();
        return answerer.Answered();
    }
    static QString Message(const std::function<void()>& action)
    {
        QString text;
        Answering(
            [&text](QWidget* modal) {
                text = static_cast<TokPopup*>(modal)->LabelMessage->Caption();
                static_cast<TokPopup*>(modal)->ImgOKClick();
            },
            action);
        return text;
    }

    ApplicationContext m_context;
};

template <class Screen>
std::function<void(QWidget*)> Answer(void (Screen::*click)())
{
    return [click](QWidget* modal) { (static_cast<Screen*>(modal)->*click)(); };
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
        EXPECT_EQ(menu.labelStatus->FontColour(), found ? TFormProjectMenu::kMaroon : TFormProjectMenu::kGreen);
        EXPECT_EQ(menu.labelSaved->Caption(), HelpCaption(c.modified ? 87 : 88));
        EXPECT_EQ(menu.labelSaved->FontColour(), c.modified ? TFormProjectMenu::kMaroon : TFormProjectMenu::kGreen);
        EXPECT_EQ(menu.imgSave_InAct->isVisibleTo(menu.Panel()), !c.modified);
        const Geometry::ControlRect save = Geometry::ProjectMenu::imgSave_Act;
        menu.ImgBGMouseMove(menu.ImgBG, save.x + 5, save.y + 5);
        EXPECT_EQ(menu.labelHelp->Caption(), HelpCaption(c.modified ? 78 : 193));
        EXPECT_EQ(menu.labelPerson->text(), "Anna & Ben");
        EXPECT_EQ(menu.labelMusic->FontColour(), c.music.empty() ? TFormProjectMenu::kMaroon : TFormProjectMenu::kGreen);
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
        bool modified;
        bool leaveProgram;
        std::function<void(QWidget*)> answer; // nullptr: no question may come up
        bool closes;
        int32_t result;
        bool saved;
    };
    const Case cases[] = {
        {"close unchanged", false, false, nullptr, true, 0, false},
        {"leave unchanged, yes", false, true, Answer(&TFormExit::imgYesActiveClick), true, -2, false},
        {"leave unchanged, no", false, true, Answer(&TFormExit::imgNoActiveClick), false, 0, false},
        {"close, save", true, false, Answer(&TFormSave::imgYesActiveClick), true, 0, true},
        {"close, do not save", true, false, Answer(&TFormSave::imgNoActiveClick), true, 0, false},
        {"close, cross", true, false, Answer(&TFormSave::imgExitClick), false, 0, false},
        {"leave, save", true, true, Answer(&TFormExitAndSave::imgBtnExitSave_ActClick), true, -2, true},
        {"leave, do not save", true, true, Answer(&TFormExitAndSave::imgBtnExitNoSave_ActClick), true, -2, false},
        {"leave, cross", true, true, Answer(&TFormExitAndSave::imgCancel1Click), false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = PathOf(std::string(c.name) + ".evp");
        m_context.SetProjectFileName(file);
        TFormProjectMenu menu;
        menu.Prepare();
        if (c.modified)
            menu.MarkModified();
        const int questions = Answering(c.answer, [&] {
            if (c.leaveProgram)
                menu.imgExitPrg_ActClick();
            else
                menu.imgExitPrj_ActClick();
        });
        EXPECT_EQ(questions, c.answer ? 1 : 0);
        EXPECT_EQ(menu.IsCloseRequested(), c.closes);
        EXPECT_EQ(menu.GetResult(), c.result);
        EXPECT_EQ(fs::exists(file), c.saved);
        EXPECT_EQ(menu.IsModified(), c.modified && !c.saved);
        menu.Conclude();
    }
}

TEST_F(TFormProjectMenuTest, AFailedSaveKeepsTheChangesAndTheMenuOpen)
{
    m_context.SetProjectFileName(PathOf("no such folder/album.evp"));
    TFormProjectMenu menu;
    menu.Prepare();
    MarkModified();
    menu.RefreshStatus();
    menu.imgSave_ActClick();
    EXPECT_TRUE(menu.IsModified());
    EXPECT_EQ(menu.labelSaved->Caption(), HelpCaption(87));
    EXPECT_FALSE(menu.imgSave_InAct->isVisibleTo(menu.Panel()));
    Answering(Answer(&TFormSave::imgYesActiveClick), [&] { menu.imgExitPrj_ActClick(); });
    Answering(Answer(&TFormExitAndSave::imgBtnExitSave_ActClick), [&] { menu.imgExitPrg_ActClick(); });
    EXPECT_FALSE(menu.IsCloseRequested());
    EXPECT_TRUE(menu.IsModified());

    m_context.SetProjectFileName(PathOf("album.evp"));
    menu.imgSave_ActClick();
    EXPECT_FALSE(menu.IsModified());
    EXPECT_EQ(menu.labelSaved->Caption(), HelpCaption(88));
    EXPECT_TRUE(menu.imgSave_InAct->isVisibleTo(menu.Panel()));
    EXPECT_EQ(ReadProjectFile(PathOf("album.evp"))->GetFirstName(), "Anna");
    menu.Conclude();
}

TEST_F(TFormProjectMenuTest, TheTimelineStartsOnTheFirstSelectedChapterOfTheSecondPart)
{
    // The second top-level category's chapters, "+" selected and "-" not; nullptr: no second category.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"", "R", "R"}, {"+-", "M", "C0"}, {"-++", "M", "C1"}, {"--", "R", "R"}, {nullptr, "R", "R"}};
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
        EXPECT_EQ(menu.imgMusic_Act->Picture().width(), sound ? 48 : 49);
        EXPECT_EQ(menu.imgMusic_InAct->isVisibleTo(menu.Panel()), !sound);
        EXPECT_EQ(menu.imgMusic_InAct->Picture().width(), 49);
        const Geometry::ControlRect music = Geometry::ProjectMenu::imgMusic_Act;
        menu.ImgBGMouseMove(menu.ImgBG, music.x + 5, music.y + 5);
        EXPECT_TRUE(menu.imgMusic_Act->isVisibleTo(menu.Panel()));
        EXPECT_EQ(menu.labelHelp->Caption(), HelpCaption(sound ? 74 : 181));
        // Without the music screen the button does nothing at all.
        EXPECT_EQ(Message([&] { menu.imgMusic_ActClick(); }), sound ? QString() : HelpCaption(181));
        menu.Conclude();
    }
}
