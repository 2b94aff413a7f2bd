// Unsaved changes that survive the program's end: the recovery offer when the main menu first appears (Restore,
// Discard, the cross, damaged copies), and a signal that ends the program while a project has changes.
#include "app/AppTestSupport.h"

#include "model/ProjectFile.h"
#include "model/evProject.h"
#include "platform/EndingSignals.h"
#include "screens/Autosave.h"
#include "screens/DataIndexes.h"
#include "screens/TwaitPopup.h"

#include <QElapsedTimer>

#include <csignal>

using namespace apptest;
namespace fs = std::filesystem;

namespace {

constexpr const char* kOfferText = "Vellora found unsaved changes to %1 from %2. Restore them?";

class RecoveryTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        // The offer's own text, so that the names and the time are seen in it.
        m_branding = screentest::MakeBranding(screentest::kHelpTexts, screentest::kPictures,
                                              {{Help::RecoveryOffer, kOfferText}});
        WriteBody(*m_branding, MainFile());
        Restart();
    }
    // Starts again, with a project menu that notes what it was opened with.
    void Restart()
    {
        StartWithScreens();
        Menu().SetProjectMenuRunner([this]() -> int32_t {
            ++m_menuRuns;
            m_opened = Menu().GetCurrentProject() ? Menu().GetCurrentProject()->GetFirstName() : "";
            m_openedFile = Menu().GetProjectFileName();
            m_withChanges = Menu().TakeOpenedWithChanges();
            return 0;
        });
    }
    std::string Project() const { return m_program + "/projects/Anna & Ben.evp"; }
    std::string Copy() const { return Project() + ".recovery"; }

    void SaveProjectAndCopy(const std::string& copyName)
    {
        WriteProjectFile(Album("Anna"), Project());
        WriteProjectFile(Album(copyName), Copy());
        Age(Project(), 300);
    }
    QStringList Offer(Reply reply)
    {
        Replies replies(reply);
        Menu().OfferRecovery();
        return replies.texts;
    }

    int m_menuRuns = 0;
    std::string m_opened;
    std::string m_openedFile;
    bool m_withChanges = false;
};

} // namespace

TEST_F(RecoveryTest, RestoreOpensTheCopyAsItsProjectWithItsChangesUnsaved)
{
    SaveProjectAndCopy("Carla & Dan");
    const QStringList texts = Offer(Reply::Restore);
    ASSERT_EQ(texts.size(), 1);
    const QString offer = texts[0];
    EXPECT_TRUE(offer.startsWith("?Vellora found unsaved changes to Carla && Dan && Ben from ")) << offer.toStdString();
    EXPECT_TRUE(offer.endsWith(". Restore them?")) << offer.toStdString();
    EXPECT_EQ(m_opened, "Carla & Dan");
    EXPECT_EQ(m_openedFile, Project());
    EXPECT_TRUE(m_withChanges);
    EXPECT_FALSE(Screens().waitPopup->isVisible());
    // The project menu closed the normal way, so the user decided about the changes, and the copy went.
    Menu().GetAutosave().WaitForWriter();
    EXPECT_FALSE(fs::exists(Copy()));
    EXPECT_EQ(ReadProjectFile(Project())->GetFirstName(), "Anna");
}

TEST_F(RecoveryTest, DiscardRemovesTheCopyAndTheCrossKeepsItForTheNextStart)
{
    SaveProjectAndCopy("Carla");
    EXPECT_EQ(Offer(Reply::Cross).size(), 1);
    EXPECT_TRUE(fs::exists(Copy()));
    EXPECT_EQ(Offer(Reply::Discard).size(), 1);
    EXPECT_FALSE(fs::exists(Copy()));
    EXPECT_TRUE(Offer(Reply::Restore).isEmpty());
    EXPECT_EQ(m_menuRuns, 0);
    EXPECT_EQ(ReadProjectFile(Project())->GetFirstName(), "Anna");
    // Which copies are offered at all (newer than their project) is FindRecoveryCopies' own, see SafeSavingTest.
}

// Every kind of damage (garbage, a cut at any byte, a newer version) fails the read alike (evProjectTest,
// ObjectStreamTest); the menu's part is to report the copy and keep it aside (SafeSavingTest names it).
TEST_F(RecoveryTest, ACopyThatCannotBeReadIsReportedAndKeptAside)
{
    std::vector<uint8_t> bytes;
    {
        MemoryStream body;
        Album("Anna").SaveToStream(body);
        bytes = body.Data();
        bytes.resize(bytes.size() / 2);
    }
    const std::string copy = m_program + "/projects/cut short.evp.recovery";
    WriteBytes(bytes, copy);
    const QStringList texts = Offer(Reply::Restore);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0],
              "Help " + QString::number(Help::RecoveryDamaged) + "\n" + QString::fromStdString(copy) + ".damaged");
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(fs::file_size(copy + ".damaged"), bytes.size());
    EXPECT_EQ(m_menuRuns, 0);
    EXPECT_TRUE(Offer(Reply::Restore).isEmpty());
}

// SIGTERM arrives while the project menu runs with unsaved changes: the changes go into the recovery copy, the
// program's loop is told to end, and closing the project on the way out keeps the copy. At the next start the
// copy restores.
TEST_F(RecoveryTest, SigtermWithUnsavedChangesLeavesACopyThatRestores)
{
    WriteProjectFile(Album("Anna"), Project());
    int quits = 0;
    Menu().SetQuitter([&quits] { ++quits; });
    EndingSignals endingSignals;
    QObject::connect(&endingSignals, &EndingSignals::requested, &Menu(), [this] { Menu().EndByRequest(); });
    Menu().SetProjectMenuRunner([&]() -> int32_t {
        Menu().GetCurrentProject()->SetFirstName("Changed");
        MarkModified();
        ::raise(SIGTERM);
        QElapsedTimer waited;
        waited.start();
        while (quits == 0 && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return 0; // what the menu answers when its loop is ended
    });
    screentest::AnsweringDialogs dialogs;
    dialogs.openAnswers.push_back(Project());
    Menu().Img2Click();
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(Menu().IsEnding());
    EXPECT_EQ(Menu().GetCurrentProject(), nullptr);
    Menu().GetAutosave().WaitForWriter();
    ASSERT_TRUE(fs::exists(Copy()));
    EXPECT_EQ(ReadProjectFile(Copy())->GetFirstName(), "Changed");
    EXPECT_EQ(ReadProjectFile(Project())->GetFirstName(), "Anna");

    Restart();
    EXPECT_EQ(Offer(Reply::Restore).size(), 1);
    EXPECT_EQ(m_opened, "Changed");
    EXPECT_EQ(m_openedFile, Project());
    EXPECT_TRUE(m_withChanges);
}

TEST_F(RecoveryTest, OpeningAProjectOffersItsOwnCopyWhereverItIs)
{
    const std::string project = PathOf("elsewhere/Zoë & Jürgen.evp");
    fs::create_directories(PathOf("elsewhere"));
    WriteProjectFile(Album("Zoë", "Jürgen"), project);
    Age(project, 300);
    WriteProjectFile(Album("Zoë Maria", "Jürgen"), project + ".recovery");
    screentest::AnsweringDialogs dialogs;
    dialogs.openAnswers.push_back(project);
    Replies replies(Reply::Restore);
    Menu().Img2Click();
    ASSERT_EQ(replies.texts.size(), 1);
    EXPECT_EQ(m_opened, "Zoë Maria");
    EXPECT_EQ(m_openedFile, project);
    EXPECT_TRUE(m_withChanges);
    EXPECT_EQ(m_menuRuns, 1);
}
