// The studio tile of the project menu: the studio screen runs on the studio design and record, OK writes the
// record back to studio.evd, a damaged record file is reported and left alone, and a disc finished afterwards
// opens with the studio page as it was typed.
#include "screens/DataIndexes.h"
#include "screens/ScreenTestSupport.h"

#include "model/evProject.h"
#include "model/evProjectorPage.h"
#include "presentation/DiscProducer.h"
#include "presentation/FinishTestAlbum.h"
#include "presentation/PresentationFile.h"
#include "presentation/StudioFiles.h"
#include "screens/TFormPhotographer.h"
#include "screens/TFormProjectMenu.h"
#include "screens/TTransMemo.h"

using namespace screentest;
using namespace finishtest;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> PageBytes(const evProjectorPage& page)
{
    MemoryStream stream;
    page.SaveToStream(stream);
    return stream.Data();
}

class TFormProjectMenuStudioTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        m_context.SetProgramFolder(PathOf("program"));
        fs::create_directories(PathOf("program/data"));
        m_context.SetCurrentProject(MakeAlbum());
        MemoryStream design;
        MakeStudioDesign()->SaveToStream(design);
        design.SaveToFile(m_context.GetStudioFile());
        Screens().formPhotographer = std::make_unique<TFormPhotographer>();
        Screens().formProjectMenu = std::make_unique<TFormProjectMenu>();
        ASSERT_TRUE(Screens().formProjectMenu->Prepare());
        ASSERT_TRUE(Screens().formProjectMenu->IsStudioAvailable());
    }
    void TearDown() override
    {
        Screens().formProjectMenu->Conclude();
        ContextTest::TearDown();
    }

    const std::string& RecordFile() const { return m_context.GetStudioDataFile(); }

    // Clicks the studio tile; the studio screen that comes up gets the studio name typed and is closed with OK or
    // Cancel. Returns the screens that came up.
    std::vector<QWidget*> EditStudio(const QString& name, bool ok)
    {
        std::vector<QWidget*> shown;
        Answering<QWidget>([] { Screens().formProjectMenu->imgStudio_ActiveClick(); },
                           [&](QWidget& modal) {
                               shown.push_back(&modal);
                               if (auto* message = dynamic_cast<TokPopup*>(&modal)) {
                                   m_message = message->LabelMessage->Caption();
                                   message->ImgOKClick();
                                   return;
                               }
                               auto& screen = static_cast<TFormPhotographer&>(modal);
                               m_shownName = screen.memoStudio->toPlainText();
                               screen.memoStudio->setPlainText(name);
                               ok ? screen.imgBtnOKClick() : screen.imgBtnCancelClick();
                           });
        return shown;
    }

    QString m_message;
    QString m_shownName;
};

} // namespace

TEST_F(TFormProjectMenuStudioTest, OkWritesTheRecordAndCancelLeavesTheFileAlone)
{
    // Cancel without a record file writes none.
    EXPECT_EQ(EditStudio(QStringLiteral("Not kept"), false).size(), 1u);
    EXPECT_FALSE(fs::exists(RecordFile()));
    EXPECT_EQ(m_shownName, QStringLiteral("text 2")) << "a new record takes the texts of the page layout";

    EXPECT_EQ(EditStudio(QStringLiteral("Studio Lumière\nPortraits"), true).size(), 1u);
    const std::string written = FileBytes(RecordFile());
    const std::unique_ptr<evPhotograph> record = ReadStudioRecord(RecordFile());
    EXPECT_EQ(record->GetStudioText()->GetText(), "Studio Lumi\xC3\xA8re\r\nPortraits");
    const std::vector<uint8_t> body = SavedBody(*record);
    EXPECT_EQ(std::string(body.begin(), body.end()), written) << "the body alone, read back byte for byte";

    EXPECT_EQ(EditStudio(QStringLiteral("Changed and cancelled"), false).size(), 1u);
    EXPECT_EQ(m_shownName, QStringLiteral("Studio Lumière\nPortraits"));
    EXPECT_EQ(FileBytes(RecordFile()), written);
    EXPECT_TRUE(m_message.isEmpty());
}

TEST_F(TFormProjectMenuStudioTest, ADamagedRecordFileIsReportedAndLeftAsItIs)
{
    std::ofstream(RecordFile(), std::ios::binary) << "PevPhotograph\x01";
    const std::string damaged = FileBytes(RecordFile());
    const std::vector<QWidget*> shown = EditStudio(QStringLiteral("never typed"), true);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Screens().okPopup.get()) << "the studio screen is not shown";
    EXPECT_EQ(m_message, HelpCaption(Help::StudioDataUnreadable));
    EXPECT_EQ(FileBytes(RecordFile()), damaged);
}

// Done as the user does it: type the studio name, OK, finish; the disc opens with that studio page.
TEST_F(TFormProjectMenuStudioTest, AFinishedDiscOpensWithTheStudioPageAsTyped)
{
    EditStudio(QStringLiteral("Studio Lumière"), true);
    const std::unique_ptr<StudioBranding> studio =
        LoadStudioForFinishing(m_context.GetStudioFile(), m_context.GetStudioDataFile());
    ASSERT_NE(studio, nullptr);
    fs::create_directories(PathOf("chosen"));
    const std::string disc = DiscFolderFor(PathOf("chosen"));
    DiscProducer producer(*m_context.GetCurrentProject(), disc);
    producer.SetStudio(&studio->GetRecord(), "6");
    producer.Produce();

    const auto presentation = PresentationFile::ReadFromFile(disc + "/" + DiscProducer::kPresentationFile);
    ASSERT_NE(presentation->studio, nullptr);
    // The page on the disc is the typed record's page, not the one of the untouched page layout.
    const std::vector<uint8_t> onDisc = PageBytes(*presentation->studio);
    EXPECT_EQ(onDisc, PageBytes(*studio->GetRecord().CreatePresentationPage()));
    const std::unique_ptr<evPhotograph> untouched =
        BuildStudioRecord(*StudioBranding::FindStudioPageLayout(studio->GetDesign()));
    EXPECT_NE(onDisc, PageBytes(*untouched->CreatePresentationPage()));
    // The browser album takes it from the presentation file (WebExportTest).
}
