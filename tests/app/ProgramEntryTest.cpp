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
