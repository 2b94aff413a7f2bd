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

TEST_F(PopupTest, OkPopupShowsTheTextWithItsPicturesOnlyDuringTheRun)
{
    TokPopup popup;
    popup.Prepare("Anna && Ben");
    EXPECT_EQ(popup.LabelMessage->text(), "Anna & Ben");
    EXPECT_TRUE(popup.ImgBG->HasPicture());
    popup.ImgOKClick();
    popup.EndRun();
    EXPECT_FALSE(popup.ImgBG->HasPicture());
}

TEST_F(PopupTest, AddEntryStartsWithTheInitialTextSelected)
{
    TFormAddEntry popup;
    popup.Prepare("Help 121", "Help 119");
    EXPECT_EQ(popup.lblCaption->Caption(), "Help 121");
    EXPECT_EQ(popup.EditAdd->text(), "Help 119");
    EXPECT_EQ(popup.EditAdd->selectedText(), "Help 119");
    EXPECT_EQ(popup.GetText(), "Help 119");
}

TEST_F(PopupTest, MemoShowsItsLinesWithoutCr)
{
    TformMemoPopUp popup;
    popup.Prepare("Help 5", "Anna and Ben\r\n14 June 2025");
    EXPECT_EQ(popup.lblCaption->Caption(), "Help 5");
    EXPECT_EQ(popup.memoText->toPlainText(), "Anna and Ben\n14 June 2025");
}

// Each button of the pop-ups gives its answer and closes the pop-up; the next run starts unanswered. Only applied,
// the entry pop-up hands back the text as typed and the memo its lines with CR LF; otherwise the entry keeps its
// initial text.
TEST_F(PopupTest, EachButtonGivesItsAnswer)
{
    TokPopup ok;
    TFormAddEntry entry;
    TformMemoPopUp memo;
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
    const Popup message{ok, [&] { ok.Prepare("again"); }, [] { return ""; }, ""};
    const Popup adding{entry,
                       [&] {
                           entry.Prepare("caption", "old");
                           entry.EditAdd->setText("  typed ");
                       },
                       [&] { return (entry.GetApplied() ? "" : "kept ") + entry.GetText().toStdString(); }, "kept old"};
    const Popup writing{memo,
                        [&] {
                            memo.Prepare("c", "x");
                            memo.memoText->setPlainText("one\ntwo");
                        },
                        [&] { return memo.GetApplied() ? memo.GetText().toStdString() : "not applied"; },
                        "not applied"};
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
        {message, [&] { ok.ImgOKClick(); }, ""},
        {adding, [&] { entry.ImgApplyClick(); }, "  typed "},
        {adding, [&] { entry.ImgCancelClick(); }, "kept old"},
        {writing, [&] { memo.imgBtnOKClick(); }, "one\r\ntwo"},
        {writing, [&] { memo.imgBtnCancelXClick(); }, "not applied"},
        {question, [&] { yesNo.ImgYesClick(); }, "yes"},
        {question, [&] { yesNo.ImgNoClick(); }, "no"},
        {saving, [&] { save.imgYesActiveClick(); }, "save"},
        {saving, [&] { save.imgNoActiveClick(); }, "no"},
        {saving, [&] { save.imgExitClick(); }, "none"},
        {leaving, [&] { exit.imgYesActiveClick(); }, "leave"},
        {leaving, [&] { exit.Image3Click(); }, "stay"},
        {both, [&] { exitAndSave.imgBtnExitSave_ActClick(); }, "1"},
        {both, [&] { exitAndSave.imgBtnExitNoSave_ActClick(); }, "2"},
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
    const auto click = [](TImage* button) {
        return [button](QWidget*) { QTest::mouseClick(button, Qt::LeftButton, {}, Middle(button)); };
    };
    ModalAnswerer cross(click(yesNo.imgBtnSmallCancel));
    EXPECT_FALSE(yesNo.Run("Remove?"));
    ModalAnswerer yes(click(yesNo.ImgYes));
    EXPECT_TRUE(yesNo.Run("Remove?"));
    ModalAnswerer leave([&exit](QWidget*) {
        QTest::mouseMove(exit.ImgBG, exit.imgYesActive->geometry().center());
        EXPECT_TRUE(exit.imgYesActive->isVisible());
        QTest::mouseClick(exit.imgYesActive, Qt::LeftButton, {}, Middle(exit.imgYesActive));
    });
    EXPECT_TRUE(exit.Run());
}
