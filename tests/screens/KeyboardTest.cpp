// Return and Escape on the pop-ups and the wizard pages, pressed on the shown window as a person presses them:
// the key goes to the field that has the focus and, when the field does not use it, on to the screen.
#include "screens/WizardTestSupport.h"

#include "model/evCategory.h"
#include "model/evProject.h"
#include "platform/Dates.h"
#include "screens/DataIndexes.h"
#include "screens/TFormAddEntry.h"
#include "screens/TFormExit.h"
#include "screens/TFormExitAndSave.h"
#include "screens/TFormNewProject1.h"
#include "screens/TFormPersonalProject.h"
#include "screens/TFormSave.h"
#include "screens/TTransEdit.h"
#include "screens/TformMemoPopUp.h"
#include "screens/TokPopup.h"
#include "screens/TyesNoPopup.h"
#include "screens/WizardLook.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QWindow>

#include <functional>

using namespace wizardtest;
using screentest::NewCategory;

namespace {

using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;

// Types the keys into the first screen that comes up modally, once it is active (as it is before a person can
// type), after the typing set up by `before`.
screentest::ModalAnswerer KeysOnShow(const Keys& keys, const std::function<void()>& before = {})
{
    return screentest::ModalAnswerer([keys, before](QWidget* modal) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        if (before)
            before();
        for (const auto& [key, modifiers] : keys)
            QTest::keyClick(modal->windowHandle(), key, modifiers);
    });
}
const Keys kReturn{{Qt::Key_Return, Qt::NoModifier}};
const Keys kEnter{{Qt::Key_Enter, Qt::KeypadModifier}};
const Keys kEscape{{Qt::Key_Escape, Qt::NoModifier}};

using KeyboardTest = FixedDayWizardTest;

TEST_F(KeyboardTest, ReturnConfirmsAndEscapeCancelsEveryPopup)
{
    struct Case {
        const char* what;
        Keys keys;
        std::function<std::string()> run; // the answer, written out
        std::string expected;
    };
    TyesNoPopup yesNo;
    TokPopup ok;
    TFormSave save;
    TFormExit exit;
    TFormExitAndSave exitAndSave;
    const auto yesNoRun = [&] { return std::string(yesNo.Run("Remove?") ? "yes" : "no"); };
    const auto saveRun = [&] {
        const bool answered = save.Run();
        return std::string(answered ? (save.GetSave() ? "save" : "no") : "cancelled");
    };
    const auto exitRun = [&] { return std::string(exit.Run() ? "leave" : "stay"); };
    const auto exitAndSaveRun = [&] { return std::to_string(exitAndSave.Run()); };
    const auto okRun = [&] {
        ok.Run("Done");
        return std::string("closed");
    };
    const Case cases[] = {
        {"yes/no, Return", kReturn, yesNoRun, "yes"},
        {"yes/no, keypad Enter", kEnter, yesNoRun, "yes"},
        {"yes/no, Escape", kEscape, yesNoRun, "no"},
        {"OK, Escape", kEscape, okRun, "closed"},
        {"save, Escape", kEscape, saveRun, "cancelled"},
        {"exit, Return", kReturn, exitRun, "leave"},
        {"exit and save, Return", kReturn, exitAndSaveRun, "1"},
    };
    for (const Case& c : cases) {
        auto keys = KeysOnShow(c.keys);
        EXPECT_EQ(c.run(), c.expected) << c.what;
    }
}

TEST_F(KeyboardTest, TheEntryAndMemoPopupsKeepTheirTextOnlyWhenConfirmed)
{
    TFormAddEntry entry;
    TformMemoPopUp memo;
    const auto entryRun = [&] { return entry.Run("Caption", "old") ? entry.GetText() : QString("cancelled"); };
    const auto memoRun = [&] { return memo.Run("Caption", "a") ? memo.GetText() : QString("cancelled"); };
    const struct {
        Keys keys;
        std::function<QString()> run;
        QString expected;
    } cases[] = {
        // Typed into the field, which has the focus; Return goes on from the field to the pop-up.
        {{{Qt::Key_X, Qt::NoModifier}, {Qt::Key_Return, Qt::NoModifier}}, entryRun, "x"},
        {{{Qt::Key_Y, Qt::NoModifier}, {Qt::Key_Escape, Qt::NoModifier}}, entryRun, "cancelled"},
        // Return is a new line in the memo; Ctrl+Return keeps the text.
        {{{Qt::Key_End, Qt::ControlModifier},
          {Qt::Key_Return, Qt::NoModifier},
          {Qt::Key_B, Qt::NoModifier},
          {Qt::Key_Return, Qt::ControlModifier}},
         memoRun,
         "a\r\nb"},
        {{{Qt::Key_C, Qt::NoModifier}, {Qt::Key_Escape, Qt::NoModifier}}, memoRun, "cancelled"},
    };
    for (const auto& c : cases) {
        auto keys = KeysOnShow(c.keys);
        EXPECT_EQ(c.run(), c.expected);
    }
}

TEST_F(KeyboardTest, OnTheFirstWizardPageReturnAppliesAndEscapeAsksWhenSomethingWasTyped)
{
    struct Case {
        const char* what;
        std::function<void(TFormNewProject1&)> typing;
        Keys keys;
        std::deque<bool> answers; // to the question before leaving
        QStringList questions;
        bool accepted;
    };
    const QString leave = screentest::HelpString(Help::LeaveWizardQuestion).c_str();
    const auto names = [](TFormNewProject1& page) {
        page.EditName1->setText("Anna");
        page.EditName2->setText("Ben");
    };
    const auto otherDate = [](TFormNewProject1& page) { page.EditDatum->setText("2027-01-02"); };
    const Case cases[] = {
        {"Return with both names", names, kReturn, {}, {}, true},
        {"Escape with nothing typed", {}, kEscape, {}, {}, false},
        {"Escape after typing, answered yes", names, kEscape, {true}, {leave}, false},
        {"Escape after changing the date", otherDate, kEscape, {true}, {leave}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFormNewProject1 page;
        page.Prepare();
        PopupScript popups;
        popups.yesNoAnswers = c.answers;
        // A page that stays open is closed by a second answerer once the keys are handled.
        auto keys = KeysOnShow(c.keys, [&] {
            if (c.typing)
                c.typing(page);
        });
        QTimer::singleShot(1500, &page, [&page] { page.Close(); });
        page.ShowModal();
        EXPECT_EQ(popups.questions, c.questions);
        EXPECT_EQ(page.GetAccepted(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(page.GetFirstName(), "Anna");
        }
        page.EndRun();
    }
}

TEST_F(KeyboardTest, TabGoesDownTheFieldsOfTheFirstWizardPageAndRoundAgain)
{
    TFormNewProject1 page;
    page.Prepare();
    std::vector<QWidget*> focused;
    screentest::ModalAnswerer answer([&](QWidget* modal) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        focused.push_back(page.Panel()->focusWidget());
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(modal->windowHandle(), Qt::Key_Tab);
            focused.push_back(page.Panel()->focusWidget());
        }
        QTest::keyClick(modal->windowHandle(), Qt::Key_Backtab, Qt::ShiftModifier);
        focused.push_back(page.Panel()->focusWidget());
        page.Close();
    });
    page.ShowModal();
    const std::vector<QWidget*> expected = {page.EditName1, page.EditName2, page.EditDatum, page.EditName1,
                                            page.EditDatum};
    EXPECT_EQ(focused, expected);
    page.EndRun();
}

TEST_F(KeyboardTest, PersonalDataAsksBeforeEscapeDropsAChange)
{
    UseAlbum(NewCategory("Welcome"));
    evProject& project = Project();
    const QString drop = screentest::HelpString(Help::DropChangesQuestion).c_str();
    for (const bool changed : {false, true}) {
        TFormPersonalProject screen;
        screen.Prepare(project);
        if (changed)
            screen.TransEdit1->setText("Cleo");
        PopupScript popups;
        popups.yesNoAnswers = {true};
        auto keys = KeysOnShow(kEscape);
        screen.ShowModal();
        EXPECT_EQ(popups.questions, changed ? QStringList{drop} : QStringList{});
        EXPECT_FALSE(screen.GetApplied());
        EXPECT_EQ(project.GetFirstName(), "Anna");
        screen.EndRun();
    }
}

} // namespace
