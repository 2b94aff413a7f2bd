#include "screens/WizardTestSupport.h"

#include "model/ProjectModification.h"
#include "model/evCategory.h"
#include "model/evProject.h"
#include "platform/Dates.h"
#include "platform/Text.h"
#include "screens/TFormPersonalProject.h"
#include "screens/TTransEdit.h"

using namespace wizardtest;
using screentest::NewCategory;

namespace {

TEST_F(WizardTest, PersonalDataAppliesCheckedValuesAndMarksTheProjectModified)
{
    UseAlbum(NewCategory("Welcome"));
    evProject& project = Project();
    project.SetDate(40000.0);
    TFormPersonalProject screen;

    // A blank second name is refused and changes nothing.
    ClearModified();
    screen.Prepare(project);
    EXPECT_EQ(screen.TransEdit1->text(), "Anna");
    EXPECT_EQ(screen.TransEdit3->text(), ToDisplay(ShortDateText(40000.0)));
    screen.TransEdit1->setText(" Cleo ");
    screen.TransEdit2->setText("  ");
    {
        PopupScript popups;
        screen.imgBtnApplyClick();
        EXPECT_EQ(popups.messages, QStringList{"Help 1"});
    }
    EXPECT_EQ(screen.Panel()->focusWidget(), screen.TransEdit2);
    EXPECT_FALSE(screen.IsCloseRequested());
    EXPECT_EQ(project.GetFirstName(), "Anna");
    EXPECT_FALSE(IsModified());

    screen.TransEdit2->setText("Dan");
    screen.TransEdit3->setText(ToDisplay(ShortDateText(41000.0)));
    screen.imgBtnApplyClick();
    EXPECT_TRUE(screen.IsCloseRequested());
    EXPECT_EQ(project.GetFirstName(), " Cleo ");
    EXPECT_EQ(project.GetSecondName(), "Dan");
    EXPECT_EQ(project.GetDate(), 41000.0);
    EXPECT_TRUE(IsModified());
    screen.EndRun();

    // Cancel leaves the project as it is.
    ClearModified();
    screen.Prepare(project);
    screen.TransEdit1->setText("Eve");
    screen.imgBtnCancelClick();
    EXPECT_EQ(project.GetFirstName(), " Cleo ");
    EXPECT_FALSE(IsModified());
    screen.EndRun();
}

} // namespace
