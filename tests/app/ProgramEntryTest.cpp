#include "app/AppTestSupport.h"

#include "app/ProgramEntry.h"

using ProgramEntryTest = screentest::SkinTest;

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
