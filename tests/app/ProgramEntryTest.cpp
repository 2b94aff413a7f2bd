#include "app/AppTestSupport.h"

#include "app/ProgramEntry.h"
#include "app/ScreenCreation.h"
#include "app/TformSplash.h"
#include "screens/ScreenSet.h"
#include "screens/TFormImprint.h"
#include "screens/TformMemoPopUp.h"
#include "screens/TformPreview.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"

using namespace apptest;

namespace {

class ProgramEntryTest : public screentest::SkinTest {
protected:
    void TearDown() override
    {
        DestroyScreens();
        SkinTest::TearDown();
    }
};

} // namespace

TEST_F(ProgramEntryTest, FailedStartUpsHaveTheirMessages)
{
    EXPECT_EQ(StartupFailureMessage(-2),
              "Vellora is unable to create necessary folders on your disk drive. Therefore, the main program cannot be "
              "initialized. Please try to re-install Vellora.");
    EXPECT_EQ(StartupFailureMessage(-3),
              "Vellora is unable to load necessary files.Therefore, the main program cannot be initialized.Please try "
              "to re-install Vellora.");
    EXPECT_EQ(StartupFailureMessage(175), "Help 175");
    EXPECT_EQ(StartupFailureMessage(204), "Help 204");
}

TEST_F(ProgramEntryTest, ScreensAreCreatedInGroupsUnderTheirStatusTexts)
{
    QStringList status;
    std::vector<bool> okPopupAt;
    CreateScreens([&](const QString& text) {
        status << text;
        okPopupAt.push_back(Screens().okPopup != nullptr);
    });
    const QStringList expected = {"Help 134", "Help 126", "Help 127", "Help 129", "Help 130", "Help 132",
                                  "Help 128", "Help 185", "Help 186", "Help 133", "Help 187", "Help 188"};
    EXPECT_EQ(status, expected);
    ASSERT_EQ(okPopupAt.size(), 12u);
    EXPECT_FALSE(okPopupAt[0]);
    EXPECT_TRUE(okPopupAt[1]);
    ScreenSet& screens = Screens();
    EXPECT_NE(screens.okPopup, nullptr);
    EXPECT_NE(screens.formExit, nullptr);
    EXPECT_NE(screens.formSave, nullptr);
    EXPECT_NE(screens.waitPopup, nullptr);
    EXPECT_NE(screens.yesNoPopup, nullptr);
    EXPECT_NE(screens.formAddEntry, nullptr);
    EXPECT_NE(screens.formExitAndSave, nullptr);
    EXPECT_NE(screens.formPreview, nullptr);
    EXPECT_NE(screens.formImprint, nullptr);
    EXPECT_NE(screens.formMemoPopUp, nullptr);
    // Pictures that a screen takes when it is created come from the bundle at that moment.
    EXPECT_EQ(screens.formPreview->imgClose->Picture().width(), 149);
    EXPECT_FALSE(screens.okPopup->ImgBG->HasPicture());

    DestroyScreens();
    EXPECT_EQ(screens.okPopup, nullptr);
    EXPECT_EQ(screens.formMemoPopUp, nullptr);
}

TEST_F(ProgramEntryTest, TheSplashShowsStatusAndVersion)
{
    TformSplash splash;
    EXPECT_EQ(splash.size(), QSize(500, 250));
    EXPECT_EQ(splash.labelInfo->Caption(), "Loading, please wait...");
    EXPECT_EQ(splash.labelVersion->Caption(), "v1.03");
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    splash.SetStatus("Help 124Rose && Lily.evl");
    EXPECT_EQ(splash.labelInfo->text(), "Help 124Rose & Lily.evl");
}
