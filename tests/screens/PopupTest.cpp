#include "screens/ScreenTestSupport.h"

#include "screens/TFormAddEntry.h"
#include "screens/TFormExit.h"
#include "screens/TFormExitAndSave.h"
#include "screens/TFormImprint.h"
#include "screens/TFormSave.h"
#include "screens/TformMemoPopUp.h"
#include "screens/TokPopup.h"
#include "screens/TyesNoPopup.h"

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

TEST_F(PopupTest, YesNoAnswersYesOnlyWithTheYesButton)
{
    TyesNoPopup popup;
    popup.Prepare("Remove?");
    popup.ImgYesClick();
    EXPECT_TRUE(popup.GetResult());
    EXPECT_TRUE(popup.IsCloseRequested());
    popup.Prepare("Remove?");
    EXPECT_FALSE(popup.GetResult());
    popup.ImgNoClick();
    EXPECT_FALSE(popup.GetResult());
    popup.Prepare("Remove?");
    popup.imgBtnSmallCancelClick();
    EXPECT_FALSE(popup.GetResult());
    EXPECT_TRUE(popup.IsCloseRequested());

    // The small cross in the real modal loop answers no.
    ModalAnswerer cross([&popup](QWidget*) {
        QTest::mouseClick(popup.imgBtnSmallCancel, Qt::LeftButton, {}, Middle(popup.imgBtnSmallCancel));
    });
    EXPECT_FALSE(popup.Run("Remove?"));
    ModalAnswerer yes(
        [&popup](QWidget*) { QTest::mouseClick(popup.ImgYes, Qt::LeftButton, {}, Middle(popup.ImgYes)); });
    EXPECT_TRUE(popup.Run("Remove?"));
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

TEST_F(PopupTest, SaveQuestionTellsAnsweredAndSave)
{
    TFormSave popup;
    popup.Prepare();
    popup.imgYesActiveClick();
    EXPECT_TRUE(popup.GetAnswered());
    EXPECT_TRUE(popup.GetSave());
    popup.Prepare();
    EXPECT_FALSE(popup.GetAnswered());
    EXPECT_FALSE(popup.GetSave());
    popup.imgNoActiveClick();
    EXPECT_TRUE(popup.GetAnswered());
    EXPECT_FALSE(popup.GetSave());
    popup.Prepare();
    popup.imgExitClick();
    EXPECT_FALSE(popup.GetAnswered());
    EXPECT_FALSE(popup.GetSave());
    EXPECT_TRUE(popup.IsCloseRequested());
}

TEST_F(PopupTest, ExitQuestionLeavesOnlyOnYes)
{
    TFormExit popup;
    popup.Prepare();
    popup.imgYesActiveClick();
    EXPECT_TRUE(popup.GetLeave());
    popup.Prepare();
    EXPECT_FALSE(popup.GetLeave());
    popup.imgNoActiveClick();
    EXPECT_FALSE(popup.GetLeave());
    popup.Prepare();
    popup.Image3Click();
    EXPECT_FALSE(popup.GetLeave());
    EXPECT_TRUE(popup.IsCloseRequested());

    // In the real loop the yes button appears under the mouse first and is then clicked.
    ModalAnswerer answer([&popup](QWidget*) {
        const QRect yes = popup.imgYesActive->geometry();
        QTest::mouseMove(popup.ImgBG, yes.center());
        EXPECT_TRUE(popup.imgYesActive->isVisible());
        QTest::mouseClick(popup.imgYesActive, Qt::LeftButton, {}, Middle(popup.imgYesActive));
    });
    EXPECT_TRUE(popup.Run());
}

TEST_F(PopupTest, ExitAndSaveAnswersZeroOneOrTwo)
{
    TFormExitAndSave popup;
    popup.Prepare();
    EXPECT_EQ(popup.GetAnswer(), 0);
    popup.imgBtnExitSave_ActClick();
    EXPECT_EQ(popup.GetAnswer(), 1);
    popup.Prepare();
    popup.imgBtnExitNoSave_ActClick();
    EXPECT_EQ(popup.GetAnswer(), 2);
    popup.Prepare();
    popup.imgBtnCancel_ActClick();
    EXPECT_EQ(popup.GetAnswer(), 0);
    popup.Prepare();
    popup.imgBtnExitSave_ActClick();
    popup.Prepare();
    popup.imgCancel1Click();
    EXPECT_EQ(popup.GetAnswer(), 0);
    EXPECT_TRUE(popup.IsCloseRequested());

    ModalAnswerer cross(
        [&popup](QWidget*) { QTest::mouseClick(popup.imgCancel1, Qt::LeftButton, {}, Middle(popup.imgCancel1)); });
    EXPECT_EQ(popup.Run(), 0);
}
