#include "screens/WizardTestSupport.h"

#include "model/evProject.h"
#include "platform/Dates.h"
#include "platform/Text.h"
#include "screens/TFormNewProject1.h"
#include "screens/TTransEdit.h"

#include <QTest>

using namespace wizardtest;

namespace {

class NewProject1Test : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        SetTodaySource([] { return 46362.0; });
    }
    void TearDown() override
    {
        SetTodaySource({});
        WizardTest::TearDown();
    }
};

TEST_F(NewProject1Test, StartsEmptyWithTodayAndSwallowsEnter)
{
    TFormNewProject1 page;
    page.EditName1->setText("old");
    page.Prepare();
    EXPECT_TRUE(page.EditName1->text().isEmpty());
    EXPECT_TRUE(page.EditName2->text().isEmpty());
    EXPECT_EQ(page.EditDatum->text(), ToDisplay(ShortDateText(46362.0)));
    EXPECT_EQ(page.focusWidget(), page.EditName1);
    EXPECT_EQ(page.EditName1->maxLength(), 50);
    EXPECT_EQ(page.EditName2->maxLength(), 50);
    EXPECT_TRUE(page.EditDatum->GetTransparent());

    page.EditName1->setText("Anna");
    page.EditName2->setText("Ben");
    for (TTransEdit* field : {page.EditName1, page.EditName2, page.EditDatum})
        QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(page.EditDatum, Qt::Key_Enter);
    EXPECT_FALSE(page.IsCloseRequested());
    EXPECT_FALSE(page.GetAccepted());
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
    const Case cases[] = {
        {"", "Ben", today, {"Help 0"}, 0},
        {" \t ", "", "31.02.2003", {"Help 0"}, 0},
        {"Anna", " \x01", today, {"Help 1"}, 1},
        {"Anna", "Ben", "31.02.2003", {"Help 2"}, 2},
        {"Anna", "Ben", today + "x", {"Help 2"}, 2},
        {" Anna & Ben ", "X", today, {}, -1},
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
            EXPECT_EQ(page.focusWidget(), field) << c.failingField;
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

} // namespace
