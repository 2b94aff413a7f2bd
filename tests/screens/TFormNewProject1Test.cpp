#include "screens/WizardTestSupport.h"

#include "model/evProject.h"
#include "platform/Dates.h"
#include "platform/Text.h"
#include "screens/DateEntry.h"
#include "screens/TFormNewProject1.h"
#include "screens/TTransEdit.h"

#include <QCalendarWidget>
#include <QMouseEvent>
#include <QTest>

using namespace wizardtest;

namespace {

using NewProject1Test = FixedDayWizardTest;

TEST_F(NewProject1Test, StartsEmptyWithTodayAndTheFirstNameFocusedAndHintsAtTheDateForms)
{
    TFormNewProject1 page;
    page.EditName1->setText("old");
    page.Prepare();
    EXPECT_TRUE(page.EditName1->text().isEmpty());
    EXPECT_TRUE(page.EditName2->text().isEmpty());
    EXPECT_EQ(page.EditDatum->text(), ToDisplay(ShortDateText(46362.0)));
    EXPECT_EQ(page.Panel()->focusWidget(), page.EditName1);
    // The date field's hint shows today.
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(page.EditDatum, &move);
    EXPECT_EQ(page.labelHelp->Caption(), "Help 108 " + DateEntry::Examples(46362.0) + ".");
    page.EndRun();
}

TEST_F(NewProject1Test, ApplyChecksTheNamesAndTheDateInOrder)
{
    struct Case {
        QString first, second, date;
        QStringList messages;
        int failingField; // -1: accepted
    };
    const QString today = ToDisplay(ShortDateText(46362.0));
    // The message for an unreadable date goes on with today's date in the forms the field reads.
    const QString unreadable = "Help 2 " + DateEntry::Examples(46362.0) + ".";
    ASSERT_TRUE(unreadable.contains("2026-12-06"));
    // What counts as blank, the order of the checks and which dates are read are CheckPersonalData's and the
    // date reader's (PersonalDataTest, DatesTest); one case each shows the message and the field it selects.
    const Case cases[] = {
        {" \t ", "", "31.02.2003", {"Help 0"}, 0},
        {"Anna", " \x01", today, {"Help 1"}, 1},
        {"Anna", "Ben", "31.02.2003", {unreadable}, 2},
        {" Anna & Ben ", "X", "2026-12-06", {}, -1},
    };
    for (const Case& c : cases) {
        TFormNewProject1 page;
        page.Prepare();
        page.EditName1->setText(c.first);
        page.EditName2->setText(c.second);
        page.EditDatum->setText(c.date);
        PopupScript popups;
        page.ImgApplyClick();
        EXPECT_EQ(popups.messages, c.messages) << c.first.toStdString();
        EXPECT_EQ(page.GetAccepted(), c.failingField < 0);
        EXPECT_EQ(page.IsCloseRequested(), c.failingField < 0);
        if (c.failingField >= 0) {
            TTransEdit* fields[] = {page.EditName1, page.EditName2, page.EditDatum};
            TTransEdit* field = fields[c.failingField];
            EXPECT_EQ(page.Panel()->focusWidget(), field) << c.failingField;
            EXPECT_EQ(field->selectedText(), field->text());
        } else {
            // The names go on as they were typed.
            EXPECT_EQ(page.GetFirstName(), " Anna & Ben ");
            EXPECT_EQ(page.GetSecondName(), "X");
            EXPECT_EQ(page.GetDate(), 46362.0);
        }
        page.EndRun();
    }
}

TEST_F(NewProject1Test, TheCalendarOpensOnTheTypedDateAndWritesThePickedDay)
{
    TFormNewProject1 page;
    page.Prepare();
    QCalendarWidget* calendar = page.calendar->Calendar();
    struct Case {
        QString typed;
        QDate shown;
    };
    for (const Case& c : {Case{"2027-03-14", QDate(2027, 3, 14)}, Case{"no date", QDate(2026, 12, 6)}}) {
        page.EditDatum->setText(c.typed);
        page.calendar->Open();
        EXPECT_TRUE(page.calendar->IsOpen());
        EXPECT_EQ(calendar->selectedDate(), c.shown) << c.typed.toStdString();
        page.calendar->Close();
        EXPECT_EQ(page.EditDatum->text(), c.typed);
    }
    // A click on a day writes it as the program shows dates (which read back, see DatesTest).
    page.calendar->Open();
    emit calendar->clicked(QDate(2028, 2, 29));
    EXPECT_FALSE(page.calendar->IsOpen());
    const double leapDay = static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(2028, 2, 29)));
    EXPECT_EQ(page.EditDatum->text(), ToDisplay(ShortDateText(leapDay)));
    page.EndRun();
}

} // namespace
