#include "screens/ScreenTestSupport.h"

#include "screens/TFormAddEntry.h"
#include "screens/TFormExit.h"
#include "screens/TFormExitAndSave.h"
#include "screens/TFormSave.h"
#include "screens/TformMemoPopUp.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace screentest;

namespace {

class PopupTest : public SkinTest {};

// The centre of a control, in its own coordinates.
QPoint Middle(const TImage* image) { return QPoint(image->width() / 2, image->height() / 2); }

} // namespace

TEST_F(PopupTest, OkPopupShowsTheTextAndClosesWithEitherButton)
{
    TokPopup popup;
    popup.Prepare("Anna && Ben");
    EXPECT_EQ(popup.LabelMessage->text(), "Anna & Ben");
    EXPECT_EQ(popup.LabelMessage->geometry(), QRect(55, 65, 390, 67));
    EXPECT_TRUE(popup.LabelMessage->wordWrap());
    EXPECT_EQ(popup.LabelMessage->font().pixelSize(), 13);
    EXPECT_EQ(popup.ImgBG->Picture().width(), 31);
    EXPECT_EQ(popup.imgBtn->Picture().width(), 36);
    EXPECT_EQ(popup.imgCnt->Picture().width(), 37);
    popup.ImgOKClick();
    EXPECT_TRUE(popup.IsCloseRequested());
    popup.EndRun();
    EXPECT_FALSE(popup.ImgBG->HasPicture());

    popup.Prepare("again");
    EXPECT_FALSE(popup.IsCloseRequested());
    popup.imgXClick();
    EXPECT_TRUE(popup.IsCloseRequested());
    popup.EndRun();
}

TEST_F(PopupTest, AddEntryKeepsTheInitialTextUnlessApplied)
{
    TFormAddEntry popup;
    popup.Prepare("Help 121", "Help 119");
    EXPECT_EQ(popup.lblCaption->Caption(), "Help 121");
    EXPECT_EQ(popup.EditAdd->text(), "Help 119");
    EXPECT_EQ(popup.EditAdd->selectedText(), "Help 119");
    EXPECT_EQ(popup.GetText(), "Help 119");
    popup.EditAdd->setText("  Honeymoon ");
    popup.ImgCancelClick();
    EXPECT_FALSE(popup.GetApplied());
    EXPECT_EQ(popup.GetText(), "Help 119");

    popup.Prepare("caption", "old");
    popup.EditAdd->setText("  Honeymoon ");
    popup.ImgApplyClick();
    EXPECT_TRUE(popup.GetApplied());
    EXPECT_EQ(popup.GetText(), "  Honeymoon ");

    popup.Prepare("caption", "old");
    popup.EditAdd->setText("typed");
    popup.imgBtnSmallCancelClick();
    EXPECT_FALSE(popup.GetApplied());
    EXPECT_EQ(popup.GetText(), "old");
    EXPECT_TRUE(popup.IsCloseRequested());
}

TEST_F(PopupTest, MemoHandsBackItsLinesWithCrLf)
{
    TformMemoPopUp popup;
    popup.Prepare("Help 5", "Anna and Ben\r\n14 June 2025");
    EXPECT_EQ(popup.lblCaption->Caption(), "Help 5");
    EXPECT_EQ(popup.memoText->toPlainText(), "Anna and Ben\n14 June 2025");
    EXPECT_EQ(popup.memoText->size(), QSize(386, 88));
    EXPECT_EQ(popup.imgBG->Picture().width(), 197);
    popup.memoText->setPlainText("one\ntwo");
    popup.imgBtnOKClick();
    EXPECT_TRUE(popup.GetApplied());
    EXPECT_EQ(popup.GetText(), "one\r\ntwo");

    popup.Prepare("c", "x");
    popup.imgBtnCancelClick();
    EXPECT_FALSE(popup.GetApplied());
    popup.Prepare("c", "x");
    popup.imgBtnCancelXClick();
    EXPECT_FALSE(popup.GetApplied());
    EXPECT_TRUE(popup.IsCloseRequested());
}

// Each button of the question pop-ups gives its answer and closes the pop-up; the next run starts unanswered.
TEST_F(PopupTest, EachButtonOfTheQuestionsGivesItsAnswer)
{
    TyesNoPopup yesNo;
    TFormSave save;
    TFormExit exit;
    TFormExitAndSave exitAndSave;
    struct Popup {
        SkinnedScreen& screen;
        std::function<void()> prepare;
        std::function<std::string()> answer;
        std::string unanswered;
    };
    const Popup question{yesNo, [&] { yesNo.Prepare("Remove?"); }, [&] { return yesNo.GetResult() ? "yes" : "no"; },
                         "no"};
    const Popup saving{save, [&] { save.Prepare(); },
                       [&] { return !save.GetAnswered() ? "none"
                                    : save.GetSave()    ? "save"
                                                        : "no"; }, "none"};
    const Popup leaving{exit, [&] { exit.Prepare(); }, [&] { return exit.GetLeave() ? "leave" : "stay"; }, "stay"};
    const Popup both{exitAndSave, [&] { exitAndSave.Prepare(); },
                     [&] { return std::to_string(exitAndSave.GetAnswer()); }, "0"};
    struct Case {
        const Popup& popup;
        std::function<void()> click;
        std::string expected;
    };
    // clang-format off
    const Case cases[] = {
        {question, [&] { yesNo.ImgYesClick(); }, "yes"},
        {question, [&] { yesNo.ImgNoClick(); }, "no"},
        {question, [&] { yesNo.imgBtnSmallCancelClick(); }, "no"},
        {saving, [&] { save.imgYesActiveClick(); }, "save"},
        {saving, [&] { save.imgNoActiveClick(); }, "no"},
        {saving, [&] { save.imgExitClick(); }, "none"},
        {leaving, [&] { exit.imgYesActiveClick(); }, "leave"},
        {leaving, [&] { exit.imgNoActiveClick(); }, "stay"},
        {leaving, [&] { exit.Image3Click(); }, "stay"},
        {both, [&] { exitAndSave.imgBtnExitSave_ActClick(); }, "1"},
        {both, [&] { exitAndSave.imgBtnExitNoSave_ActClick(); }, "2"},
        {both, [&] { exitAndSave.imgBtnCancel_ActClick(); }, "0"},
        {both, [&] { exitAndSave.imgCancel1Click(); }, "0"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << &c - cases);
        c.popup.prepare();
        EXPECT_EQ(c.popup.answer(), c.popup.unanswered);
        EXPECT_FALSE(c.popup.screen.IsCloseRequested());
        c.click();
        EXPECT_EQ(c.popup.answer(), c.expected);
        EXPECT_TRUE(c.popup.screen.IsCloseRequested());
    }
}

// In the real modal loop a mouse click on a button answers; the exit question's yes button lights under the mouse
// first.
TEST_F(PopupTest, MouseClicksAnswerInTheModalLoop)
{
    TyesNoPopup yesNo;
    TFormExit exit;
    TFormExitAndSave exitAndSave;
    const auto click = [](TImage* button) {
        return [button](QWidget*) { QTest::mouseClick(button, Qt::LeftButton, {}, Middle(button)); };
    };
    ModalAnswerer cross(click(yesNo.imgBtnSmallCancel));
    EXPECT_FALSE(yesNo.Run("Remove?"));
    ModalAnswerer yes(click(yesNo.ImgYes));
    EXPECT_TRUE(yesNo.Run("Remove?"));
    ModalAnswerer crossOfBoth(click(exitAndSave.imgCancel1));
    EXPECT_EQ(exitAndSave.Run(), 0);
    ModalAnswerer leave([&exit](QWidget*) {
        QTest::mouseMove(exit.ImgBG, exit.imgYesActive->geometry().center());
        EXPECT_TRUE(exit.imgYesActive->isVisible());
        QTest::mouseClick(exit.imgYesActive, Qt::LeftButton, {}, Middle(exit.imgYesActive));
    });
    EXPECT_TRUE(exit.Run());
}
