// The finish report's "Save a disc image": the save dialog answered by the test, the
// image written beside the disc folder, and what the user is told when it cannot be written.
#include "screens/ScreenTestSupport.h"

#include "presentation/FinishTestAlbum.h"

#include "screens/TFormFinishComplete.h"
#include "screens/TLabel.h"
#include "screens/TwaitPopup.h"

using namespace screentest;
namespace fs = std::filesystem;

namespace {

class TFormFinishCompleteTest : public ScreenTest<TFormFinishComplete> {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        Screens().waitPopup = std::make_unique<TwaitPopup>();
        m_disc = PathOf("chosen/Vellora");
        fs::create_directories(m_disc + "/data");
        std::ofstream(m_disc + "/evplay.exe") << "player";
        std::ofstream(m_disc + "/data/data.evp") << "pages";
        m_screen->Prepare(m_disc, "Zo\xc3\xab", "J\xc3\xbcrgen");
    }

    // Clicks "Save a disc image" and returns the text of the OK pop-up it showed ("" for none).
    std::string Click()
    {
        return OkMessage([this] { m_screen->imgBtnDiscImageClick(); }).toStdString();
    }

    std::string m_disc;
    AnsweringDialogs m_dialogs;
};

} // namespace

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
    EXPECT_EQ(m_dialogs.saveRequests[0].initialFolder, PathOf("chosen"));
    EXPECT_TRUE(Screens().waitPopup->isHidden());
    EXPECT_TRUE(fs::is_regular_file(iso)); // its content is DiscImageTest's

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
    const std::string reason = "Cannot create \"" + nowhere + "\": No such file or directory";
    EXPECT_EQ(message, HelpString(265) + "\n" + reason);
    EXPECT_EQ(m_screen->GetImageError(), reason);
    EXPECT_EQ(m_screen->GetImagePath(), "");
    EXPECT_TRUE(Screens().waitPopup->isHidden()); // that no file is left is DiscImageTest's
}

// "Make a video": Cancel in the wait pop-up, and a video that cannot be saved.
class TFormFinishCompleteVideoTest : public TFormFinishCompleteTest {
protected:
    void SetUp() override
    {
        TFormFinishCompleteTest::SetUp();
        m_project = finishtest::MakeAlbum();
        m_screen->SetVideoSource(m_project.get(), nullptr, 0);
    }

    // Clicks "Make a video" and returns the text of the OK pop-up it showed ("" for none). The wait pop-up is
    // modal too while the video is made; only the OK pop-up is answered.
    std::string ClickVideo()
    {
        std::string text;
        ModalAnswerer answerer(
            [&text](QWidget* modal) {
                if (auto* popup = dynamic_cast<TokPopup*>(modal); popup && text.empty()) {
                    text = popup->LabelMessage->Caption().toStdString();
                    popup->ImgOKClick();
                }
            },
            true);
        m_screen->imgBtnVideoClick();
        return text;
    }

    std::unique_ptr<evProject> m_project;
};

TEST_F(TFormFinishCompleteVideoTest, CancelInTheWaitPopupLeavesNoFile)
{
    TwaitPopup& wait = *Screens().waitPopup;
    m_dialogs.saveAnswers.push_back(PathOf("chosen/Our film")); // the ending is added
    QTimer::singleShot(0, &wait, [&wait] {
        EXPECT_FALSE(wait.imgCancel->isHidden());
        wait.imgCancelClick();
    });
    EXPECT_EQ(ClickVideo(), "");
    EXPECT_EQ(m_screen->GetVideoError(), "The video was cancelled");
    EXPECT_EQ(m_screen->GetVideoPath(), "");
    ASSERT_EQ(m_dialogs.saveRequests.size(), 1u);
    EXPECT_TRUE(wait.isHidden());
    EXPECT_TRUE(wait.imgCancel->isHidden()); // that no file is left is VideoExportTest's
}

TEST_F(TFormFinishCompleteVideoTest, AVideoThatCannotBeSavedIsExplained)
{
    const std::string nowhere = PathOf("missing/film.mp4");
    m_dialogs.saveAnswers.push_back(nowhere);
    const std::string message = ClickVideo();
    EXPECT_EQ(message.rfind(HelpString(279) + "\nCannot write the video into the folder", 0), 0u) << message;
    EXPECT_EQ(m_screen->GetVideoPath(), "");
}
