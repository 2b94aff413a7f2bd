// The finish report's "Save a disc image": its hover look and hint, the save dialog answered by the test, the
// image written beside the disc folder, and what the user is told when it cannot be written.
#include "screens/ScreenTestSupport.h"

#include "screens/ScreenSet.h"
#include "screens/TFormFinishComplete.h"
#include "screens/TLabel.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace screentest;
namespace fs = std::filesystem;
namespace G = Geometry::FinishComplete;

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TFormFinishCompleteTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        Screens().waitPopup = std::make_unique<TwaitPopup>();
        Screens().okPopup = std::make_unique<TokPopup>();
        m_disc = PathOf("chosen/Vellora");
        fs::create_directories(m_disc + "/data");
        std::ofstream(m_disc + "/evplay.exe") << "player";
        std::ofstream(m_disc + "/data/data.evp") << "pages";
        m_screen = std::make_unique<TFormFinishComplete>();
        m_screen->Prepare(m_disc, "Zo\xc3\xab", "J\xc3\xbcrgen");
    }
    void TearDown() override
    {
        m_screen.reset();
        Screens().okPopup.reset();
        Screens().waitPopup.reset();
        SkinTest::TearDown();
    }

    // Clicks "Save a disc image" and returns the text of the OK pop-up it showed ("" for none).
    std::string Click()
    {
        std::string text;
        ModalAnswerer answerer([&text](QWidget* modal) {
            auto* popup = static_cast<TokPopup*>(modal);
            text = popup->LabelMessage->Caption().toStdString();
            popup->ImgOKClick();
        });
        m_screen->imgBtnDiscImageClick();
        return text;
    }

    std::string m_disc;
    std::unique_ptr<TFormFinishComplete> m_screen;
    AnsweringDialogs m_dialogs;
};

} // namespace

TEST_F(TFormFinishCompleteTest, ButtonShowsItsActiveLookAndHintUnderTheMouse)
{
    EXPECT_EQ(m_screen->imgBtnDiscImage->Picture().width(), 200); // skin picture 199
    EXPECT_EQ(m_screen->imgHelpBox->Picture().width(), 21);       // the help box, picture 20
    EXPECT_TRUE(m_screen->imgBtnDiscImage->isHidden());
    m_screen->ImgBGMouseMove(G::imgBtnDiscImage.x + 5, G::imgBtnDiscImage.y + 5);
    EXPECT_FALSE(m_screen->imgBtnDiscImage->isHidden());
    EXPECT_EQ(m_screen->labelHelp->Caption().toStdString(), HelpString(261));
    m_screen->ImgBGMouseMove(G::ImgBtn.x + 5, G::ImgBtn.y + 5);
    EXPECT_TRUE(m_screen->imgBtnDiscImage->isHidden());
    EXPECT_EQ(m_screen->labelHelp->Caption().toStdString(), "");
}

TEST_F(TFormFinishCompleteTest, SavesTheImageUnderTheChosenName)
{
    EXPECT_EQ(m_screen->GetVolumeName(), "ZOE_JURGEN");
    m_dialogs.saveAnswers.push_back(PathOf("chosen/Our wedding")); // the ending is added
    const std::string message = Click();
    const std::string iso = PathOf("chosen/Our wedding.iso");
    EXPECT_EQ(message, HelpString(264) + "\n" + iso);
    EXPECT_EQ(m_screen->GetImagePath(), iso);
    EXPECT_EQ(m_screen->GetImageError(), "");
    ASSERT_EQ(m_dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(m_dialogs.saveRequests[0].title.toStdString(), HelpString(262));
    EXPECT_EQ(m_dialogs.saveRequests[0].initialFolder, PathOf("chosen"));
    EXPECT_EQ(m_dialogs.saveRequests[0].defaultExtension.toStdString(), ".iso");
    EXPECT_EQ(Screens().waitPopup->GetProgress(), 100);
    EXPECT_TRUE(Screens().waitPopup->isHidden());

    // The primary volume descriptor at block 16 names the couple.
    const std::string bytes = ReadAll(iso);
    ASSERT_GE(bytes.size(), 17u * 2048);
    EXPECT_EQ(bytes.substr(16 * 2048 + 1, 5), "CD001");
    EXPECT_EQ(bytes.substr(16 * 2048 + 40, 11), "ZOE_JURGEN ");

    // A name with the ending in capitals keeps it.
    m_dialogs.saveAnswers.push_back(PathOf("chosen/COPY.ISO"));
    Click();
    EXPECT_EQ(m_screen->GetImagePath(), PathOf("chosen/COPY.ISO"));
    EXPECT_TRUE(fs::is_regular_file(PathOf("chosen/COPY.ISO")));
}

TEST_F(TFormFinishCompleteTest, CancelledDialogOrFailedImageLeavesNoFile)
{
    m_dialogs.saveAnswers.push_back(std::nullopt);
    EXPECT_EQ(Click(), "");
    EXPECT_EQ(m_screen->GetImagePath(), "");

    const std::string nowhere = PathOf("missing/album.iso");
    m_dialogs.saveAnswers.push_back(nowhere);
    const std::string message = Click();
    EXPECT_EQ(message, HelpString(265) + "\n" + nowhere + ": No such file or directory");
    EXPECT_EQ(m_screen->GetImageError(), nowhere + ": No such file or directory");
    EXPECT_EQ(m_screen->GetImagePath(), "");
    EXPECT_TRUE(Screens().waitPopup->isHidden());
    EXPECT_FALSE(fs::exists(nowhere));
    EXPECT_EQ(std::distance(fs::directory_iterator(PathOf("chosen")), fs::directory_iterator()), 1);
}
