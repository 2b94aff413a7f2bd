// Finishing from the screen: the folder choice and its label, the checks before anything is written, the disc
// folder with and without the studio page, and what the user is told when a step fails.
#include "screens/DataIndexes.h"
#include "screens/ScreenTestSupport.h"

#include "model/evProjectorPage.h"
#include "platform/Resources.h"
#include "presentation/DiscProducer.h"
#include "presentation/FinishTestAlbum.h"
#include "presentation/PresentationFile.h"
#include "screens/ProjectStatus.h"
#include "screens/TFormFinish.h"
#include "screens/TFormFinishError.h"
#include "screens/TformFindingsPopUp.h"
#include "screens/TwaitPopup.h"

#include "WriteLeftovers.h"
#include "WriterFaults.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace screentest;
namespace fs = std::filesystem;

namespace {

class TFormFinishTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        m_context.SetProgramFolder(PathOf("program"));
        fs::create_directories(m_context.GetDataFolder());
        m_context.SetCurrentProject(finishtest::MakeAlbum());
        Screens().waitPopup = std::make_unique<TwaitPopup>();
    }

    // A new existing folder, chosen on the screen.
    std::string ChooseFolder(TFormFinish& screen, const std::string& name)
    {
        fs::create_directories(PathOf(name));
        m_dialogs.folderAnswers.push_back(PathOf(name));
        screen.Image1Click();
        return PathOf(name);
    }
    static std::string Message(const std::function<void()>& action) { return OkMessage(action).toStdString(); }

    AnsweringDialogs m_dialogs;
};

} // namespace

TEST_F(TFormFinishTest, WritesTheDiscFolderWithOrWithoutTheStudioPage)
{
    ASSERT_TRUE(HasResource("PROJECTOR")) << "test_screens must carry the player (link vellora_player_resource)";
    Screens().yesNoPopup.reset(); // an older disc is replaced without the question
    struct Case {
        const char* name;
        bool discFolderExists, studioFiles, switchStudioOff;
        const char* duration;
        int32_t expectedDuration; // -1: no studio page
    };
    for (const Case& c : {Case{"new", false, false, false, "5", -1}, Case{"studio", false, true, false, " 7 ", 7},
                          Case{"studio-off", true, true, true, "x", -1}}) {
        SCOPED_TRACE(c.name);
        fs::remove(m_context.GetStudioFile());
        if (c.studioFiles)
            finishtest::WriteStudioFiles(m_context.GetDataFolder());
        const std::string disc = PathOf(c.name) + "/Vellora";
        if (c.discFolderExists) {
            fs::create_directories(disc + "/data");
            std::ofstream(disc + "/data/data.evp") << "an older presentation";
        }
        TFormFinish screen;
        screen.Prepare();
        EXPECT_EQ(screen.HasStudio(), c.studioFiles);
        screen.editDuration->setText(c.duration);
        if (c.switchStudioOff)
            screen.imgBtnVisibleClick();
        ChooseFolder(screen, c.name);
        EXPECT_EQ(screen.LabelDir->text().toStdString(), disc);
        EXPECT_EQ(Message([&] { screen.ImgApplyClick(); }), "");
        EXPECT_EQ(screen.GetOutcome(), TFormFinish::Outcome::Success);
        screen.Conclude();

        // The disc's files and pages are DiscProducerTest's; the screen decides on the studio page.
        const auto presentation = PresentationFile::ReadFromFile(disc + "/data/data.evp");
        EXPECT_EQ(presentation->music, nullptr);
        EXPECT_EQ(presentation->studio != nullptr, c.expectedDuration >= 0);
        EXPECT_EQ(presentation->studioDuration, std::max(c.expectedDuration, 0));
    }
}

TEST_F(TFormFinishTest, RemembersTheFolderAndAsksBeforeReplacingADiscInIt)
{
    const std::string disc = PathOf("albums") + "/Vellora";
    {
        TFormFinish screen;
        screen.Prepare();
        EXPECT_EQ(screen.LabelDir->text(), "");
        ChooseFolder(screen, "albums");
        EXPECT_EQ(Message([&] { screen.ImgApplyClick(); }), "");
        screen.Conclude();
    }
    std::ofstream(disc + "/data/data.evp") << "marked";
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace);
        TFormFinish screen;
        screen.Prepare();
        // The folder of the last finishing is chosen again, and the folder dialog opens on it.
        EXPECT_EQ(screen.LabelDir->text().toStdString(), disc);
        EXPECT_EQ(YesNoQuestion([&] { screen.ImgApplyClick(); }, replace), HelpCaption(Help::ReplaceDiscQuestion));
        EXPECT_EQ(screen.GetOutcome(), replace ? TFormFinish::Outcome::Success : TFormFinish::Outcome::None);
        screen.Conclude();
        std::ifstream kept(disc + "/data/data.evp");
        std::string text;
        std::getline(kept, text);
        EXPECT_EQ(text == "marked", !replace);
    }
    TFormFinish screen;
    screen.Prepare();
    m_dialogs.folderAnswers.push_back(std::nullopt);
    screen.Image1Click();
    EXPECT_EQ(m_dialogs.folderRequests.back().initialFolder, PathOf("albums"));
    screen.Conclude();
}

TEST_F(TFormFinishTest, AFailedStepIsNamedAndTheErrorScreenSaysWhatToDo)
{
    Screens().formFinishError = std::make_unique<TFormFinishError>();
    // Which step gives which code is DiscProducerTest's; one code shows its way to the screen.
    const std::string code = "FIN_DIR_DATA";
    fs::create_directories(PathOf(code) + "/Vellora");
    std::ofstream(PathOf(code) + "/Vellora/data") << "a file, not a folder";
    TFormFinish screen;
    screen.Prepare();
    ChooseFolder(screen, code);
    EXPECT_EQ(Message([&] { screen.ImgApplyClick(); }), FinishErrorPopupText(code));
    EXPECT_EQ(screen.GetOutcome(), TFormFinish::Outcome::Failure);
    EXPECT_FALSE(Screens().waitPopup->isVisible());
    EXPECT_EQ(Answering<TFormFinishError>([&] { screen.Conclude(); },
                                          [&code](TFormFinishError& error) {
                                              EXPECT_EQ(error.LabelText->text().toStdString(),
                                                        FinishErrorExplanation(code));
                                              error.ImgApplyClick();
                                          }),
              1);
}

// Without a folder, or with a duration that is no number, nothing is written; a full disc or a folder that cannot
// be written is said with the file, and nothing is left of it.
TEST_F(TFormFinishTest, StopsOrFailsWithAMessageAndLeavesNothingWritten)
{
    finishtest::WriteStudioFiles(m_context.GetDataFolder());
    using Outcome = TFormFinish::Outcome;
    const std::string data = "/Vellora/data/data.evp";
    const struct {
        const char* folder; // none: not chosen
        const char* duration;
        WriterFaults::At at;
        int error; // 0: no fault
        std::string message;
        Outcome outcome;
    } cases[] = {
        {nullptr, "5", WriterFaults::At::Open, 0, "Help 205", Outcome::None},
        {"five", "five", WriterFaults::At::Open, 0, "Help 242", Outcome::None}, // ParseStudioDuration's refusal
        {"full", "5", WriterFaults::At::Write, ENOSPC, HelpString(Help::WriteDiscFull) + "\n" + PathOf("full") + data,
         Outcome::Failure},
        {"read-only", "5", WriterFaults::At::Open, EROFS,
         HelpString(Help::WriteFolderLocked) + "\n" + PathOf("read-only") + data, Outcome::Failure},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TFormFinish screen;
        screen.Prepare();
        if (c.folder)
            ChooseFolder(screen, c.folder);
        screen.editDuration->setText(c.duration);
        {
            std::optional<WriterFaults> faults;
            if (c.error)
                faults.emplace(c.at, c.error);
            EXPECT_EQ(Message([&] { screen.ImgApplyClick(); }), c.message);
        }
        EXPECT_EQ(screen.GetOutcome(), c.outcome);
        EXPECT_EQ(screen.IsCloseRequested(), c.outcome == Outcome::Failure); // on to the error screen
        if (c.folder) {
            EXPECT_FALSE(fs::exists(PathOf(c.folder) + data));
            EXPECT_EQ(fs::exists(PathOf(c.folder) + "/Vellora"), c.outcome == Outcome::Failure);
            EXPECT_TRUE(TemporariesIn(PathOf(c.folder) + "/Vellora/data").empty());
        }
        screen.EndRun();
    }
}

TEST_F(TFormFinishTest, ALongFolderIsShortenedAtItsEnd)
{
    TFormFinish screen;
    screen.Prepare();
    const std::string chosen = "/media/" + std::string(120, 'w') + "/burn";
    m_dialogs.folderAnswers.push_back(chosen);
    screen.Image1Click();
    EXPECT_EQ(screen.GetFolder(), chosen + "/Vellora");
    const QFontMetrics metrics(screen.LabelDir->font());
    const QString full = QString::fromStdString(screen.GetFolder());
    const QString shown = screen.LabelDir->text();
    ASSERT_TRUE(shown.endsWith("...")) << shown.toStdString();
    const QString kept = shown.chopped(3);
    EXPECT_TRUE(full.startsWith(kept));
    // It fits, and one character more would not: no more was cut than necessary.
    EXPECT_LE(metrics.horizontalAdvance(shown), screen.LabelDir->width());
    EXPECT_GT(metrics.horizontalAdvance(full.left(kept.size() + 1) + "..."), screen.LabelDir->width());
    screen.EndRun();
}

// The check runs before anything is written: its findings are listed, and only "Finish anyway" makes the disc.
TEST_F(TFormFinishTest, FindingsAreShownBeforeAnythingIsWritten)
{
    Screens().formFindingsPopUp = std::make_unique<TformFindingsPopUp>();
    m_context.GetCurrentProject()->GetFirstCategory()->GetSub()->SetPageLayoutID(0); // "Chapter one" drops out
    for (const bool finishAnyway : {false, true}) {
        SCOPED_TRACE(finishAnyway);
        TFormFinish screen;
        screen.Prepare();
        const std::string name = finishAnyway ? "anyway" : "back";
        ChooseFolder(screen, name);
        std::string listed;
        EXPECT_EQ(Answering<TformFindingsPopUp>([&] { screen.ImgApplyClick(); },
                                                [&listed, finishAnyway](TformFindingsPopUp& popup) {
                                                    listed = popup.memoText->toPlainText().toStdString();
                                                    finishAnyway ? popup.imgBtnFinishClick() : popup.imgBtnBackClick();
                                                }),
                  1);
        EXPECT_EQ(listed.rfind("(!) Welcome / Chapter one: no page layout is chosen", 0), 0u) << listed;
        EXPECT_EQ(screen.GetOutcome(), finishAnyway ? TFormFinish::Outcome::Success : TFormFinish::Outcome::None);
        EXPECT_EQ(fs::exists(PathOf(name) + "/Vellora/data/data.evp"), finishAnyway);
        EXPECT_EQ(screen.IsCloseRequested(), finishAnyway);
        screen.EndRun();
    }
}
