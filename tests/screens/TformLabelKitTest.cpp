// The label kit's two screens and its tile on the project menu: the user's picture and text on the label, the
// clear button, the positions on the sheet and their texts, the preview, printing through the print dialog with
// a printer and to a PDF file without one, the test sheet, and the way back.
#include "screens/ScreenTestSupport.h"

#include "PdfPages.h"
#include "model/ProjectModification.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evUserTextfield.h"
#include "presentation/LabelTestAlbum.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/PrintDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/TFormImageEdit.h"
#include "screens/TFormProjectMenu.h"
#include "screens/TformLabelKitPrint.h"
#include "screens/TformLabelkitSetup.h"
#include "screens/TformMemoPopUp.h"
#include "screens/TokPopup.h"
#include "screens/TyesNoPopup.h"

#include <QPlainTextEdit>
#include <QTest>

using namespace screentest;
using namespace labeltest;
namespace fs = std::filesystem;
using P = TformLabelKitPrint;

namespace {

QString HelpCaption(int index) { return QString::fromStdString(HelpString(index)); }

// Colours that went through JPEG come back within a few steps per channel.
bool NearRgb(QRgb actual, int red, int green, int blue)
{
    return std::abs(qRed(actual) - red) <= 10 && std::abs(qGreen(actual) - green) <= 10 &&
           std::abs(qBlue(actual) - blue) <= 10;
}

// Answers the print dialog: a printer with the given metrics (or none), confirmed or cancelled.
struct AnsweringPrintDialogs : PrintDialogs {
    AnsweringPrintDialogs() { SetPrintDialogs(this); }
    ~AnsweringPrintDialogs() override { SetPrintDialogs(nullptr); }
    AnsweringPrintDialogs(const AnsweringPrintDialogs&) = delete;
    AnsweringPrintDialogs& operator=(const AnsweringPrintDialogs&) = delete;

    void Restart() override { ++restarts; }
    bool HasPrinter() override { return hasPrinter; }
    std::optional<PrinterMetrics> CurrentMetrics() override
    {
        return hasPrinter ? std::optional(printer.metrics) : std::nullopt;
    }
    Printer* Execute() override
    {
        ++shown;
        return hasPrinter && confirm ? &printer : nullptr;
    }

    bool hasPrinter = true;
    bool confirm = true;
    int shown = 0;
    int restarts = 0;
    FakePrinter printer{PrinterMetrics{37, 51, 4800, 6900, 600, 600}};
};

std::vector<QString> Positions(const P& screen)
{
    return {screen.lblUpCorX->Caption(), screen.lblUpCorY->Caption(), screen.lblLowCorX->Caption(),
            screen.lblLowCorY->Caption()};
}

// ----------------------------------------------------------------------------------------------- print screen

class TformLabelKitPrintTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        Screens().okPopup = std::make_unique<TokPopup>();
        m_screen = std::make_unique<P>();
    }
    void TearDown() override
    {
        m_screen.reset();
        Screens().okPopup.reset();
        SkinTest::TearDown();
    }

    void Prepare() { m_screen->Prepare(m_label); }
    // Runs the handler; the OK pop-up that comes up is answered and its message kept.
    void WithMessages(void (P::*handler)())
    {
        ModalAnswerer answerer([&](QWidget* modal) {
            auto* ok = dynamic_cast<TokPopup*>(modal);
            ASSERT_NE(ok, nullptr);
            m_messages.push_back(ok->LabelMessage->Caption());
            ok->ImgOKClick();
        });
        ((*m_screen).*handler)();
    }
    QRgb PreviewPixelIn(LabelSheet::Label label) const
    {
        const TRect r = m_screen->GetSheet().PreviewRect(label, Geometry::LabelKitPrint::imgPreview.w,
                                                         Geometry::LabelKitPrint::imgPreview.h);
        return m_screen->imgPreview->Picture().pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

    AnsweringPrintDialogs m_dialog;
    Bitmap m_label = SolidBitmap(768, 768, RGBColor(200, 30, 30));
    std::unique_ptr<P> m_screen;
    std::vector<QString> m_messages;
};

TEST_F(TformLabelKitPrintTest, EntryShowsBothLabelsAtTheirPlacesWithTheirPictures)
{
    Prepare();
    EXPECT_EQ(m_dialog.restarts, 1);
    EXPECT_EQ(Positions(*m_screen), (std::vector<QString>{"45.0 mm", "20.4 mm", "45.0 mm", "157.4 mm"}));
    EXPECT_TRUE(m_screen->imgPrntUpLblChecked->isVisibleTo(m_screen->Panel()));
    EXPECT_TRUE(m_screen->imgPrntLoLblChecked->isVisibleTo(m_screen->Panel()));
    EXPECT_EQ(m_screen->imgPrntUpLblChecked->Picture().width(), Skin::PrintUpperLabelTicked + 1);
    EXPECT_EQ(m_screen->imgBG->Picture().width(), Skin::LabelKitPrintBackground + 1);
    EXPECT_FALSE(m_screen->GetResult());
    // The preview uses the printer's metrics.
    EXPECT_EQ(m_screen->GetSheet().GetMetrics(), m_dialog.printer.metrics);
    EXPECT_EQ(m_screen->imgPreview->Picture().size(), QSize(283, 400));
    EXPECT_EQ(PreviewPixelIn(LabelSheet::lbUpper), qRgb(200, 30, 30));
    EXPECT_EQ(PreviewPixelIn(LabelSheet::lbLower), qRgb(200, 30, 30));
    EXPECT_EQ(m_screen->imgPreview->Picture().pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(m_screen->labelHelp->Caption(), HelpCaption(Help::LabelPrintInstruction));
}

TEST_F(TformLabelKitPrintTest, OnePressLeftMovesHalfAMillimetreAndResetGoesToTheResetPlaces)
{
    Prepare();
    QTest::mousePress(m_screen->imgBtnUpperLblLeft, Qt::LeftButton);
    EXPECT_EQ(m_screen->lblUpCorX->Caption(), "44.5 mm");
    m_screen->imgBtnLowerLblDpwnMouseDown();
    m_screen->imgBtnUpperLblRightMouseDown();
    m_screen->imgBtnUpperLblRightMouseDown();
    EXPECT_EQ(Positions(*m_screen), (std::vector<QString>{"45.5 mm", "20.4 mm", "45.0 mm", "157.9 mm"}));
    m_screen->imgBtnResetClick();
    EXPECT_EQ(Positions(*m_screen), (std::vector<QString>{"46.5 mm", "21.4 mm", "46.5 mm", "158.4 mm"}));
    // Every run starts from the entry places again.
    m_screen->Finish();
    Prepare();
    EXPECT_EQ(Positions(*m_screen), (std::vector<QString>{"45.0 mm", "20.4 mm", "45.0 mm", "157.4 mm"}));
}

TEST_F(TformLabelKitPrintTest, MovesAreRefusedAtTheSheetsEdges)
{
    m_dialog.hasPrinter = false; // A4 at 150 dpi
    Prepare();
    m_screen->Sheet().SetPosition(LabelSheet::lbUpper, {870, 19});
    m_screen->Sheet().SetPosition(LabelSheet::lbLower, {20, 1744});
    for (int i = 0; i < 10; ++i) {
        m_screen->imgBtnUpperLblUpMouseDown();
        m_screen->imgBtnUpperLblRightMouseDown();
        m_screen->imgBtnLowerLblLeftMouseDown();
        m_screen->imgBtnLowerLblDpwnMouseDown();
    }
    EXPECT_EQ(Positions(*m_screen), (std::vector<QString>{"90.0 mm", "0.4 mm", "0.0 mm", "176.9 mm"}));
}

TEST_F(TformLabelKitPrintTest, ASwitchedOffLabelLeavesThePreviewAndDoesNotMove)
{
    Prepare();
    QTest::mouseClick(m_screen->imgPrntUpLblChecked, Qt::LeftButton);
    EXPECT_FALSE(m_screen->GetSheet().GetPrint(LabelSheet::lbUpper));
    EXPECT_FALSE(m_screen->imgPrntUpLblChecked->isVisibleTo(m_screen->Panel()));
    EXPECT_EQ(PreviewPixelIn(LabelSheet::lbUpper), qRgb(255, 255, 255));
    m_screen->imgBtnUpperLblLeftMouseDown();
    EXPECT_EQ(m_screen->lblUpCorX->Caption(), "45.0 mm");
    // The unticked image under it switches it on again.
    QTest::mouseClick(m_screen->imgPrntUpLabel, Qt::LeftButton);
    EXPECT_TRUE(m_screen->GetSheet().GetPrint(LabelSheet::lbUpper));
    EXPECT_EQ(PreviewPixelIn(LabelSheet::lbUpper), qRgb(200, 30, 30));
}

TEST_F(TformLabelKitPrintTest, PrintingGoesThroughTheDialogAndBothOffStartsNoJob)
{
    Prepare();
    m_screen->imgBtnPrintClick();
    EXPECT_EQ(m_dialog.shown, 1);
    EXPECT_EQ(m_dialog.printer.begun, 1);
    ASSERT_EQ(m_dialog.printer.drawn.size(), 2u);
    EXPECT_EQ(m_dialog.printer.drawn[0], m_screen->GetSheet().PrintRect(LabelSheet::lbUpper));
    m_dialog.confirm = false;
    m_screen->imgBtnPrintClick();
    EXPECT_EQ(m_dialog.printer.begun, 1);
    m_dialog.confirm = true;
    m_screen->imgPrntUpLabelClick();
    m_screen->imgPrntLoLabelClick();
    m_screen->imgBtnPrintClick();
    m_screen->imgBtnTestSheetClick();
    EXPECT_EQ(m_dialog.shown, 4);
    EXPECT_EQ(m_dialog.printer.begun, 1);
    EXPECT_TRUE(m_messages.empty());
    EXPECT_FALSE(m_screen->IsCloseRequested()) << "the screen stays open after printing";
}

TEST_F(TformLabelKitPrintTest, TestSheetOutlinesTheLabelsThatAreOn)
{
    Prepare();
    m_screen->imgPrntLoLabelClick();
    m_screen->imgBtnTestSheetClick();
    EXPECT_EQ(m_dialog.printer.begun, 1);
    ASSERT_EQ(m_dialog.printer.frames.size(), 1u);
    EXPECT_EQ(m_dialog.printer.frames[0], m_screen->GetSheet().PrintRect(LabelSheet::lbUpper));
    EXPECT_TRUE(m_dialog.printer.drawn.empty());
}

TEST_F(TformLabelKitPrintTest, WithoutAPrinterTheSheetIsSavedAsPdf)
{
    m_dialog.hasPrinter = false;
    Prepare();
    EXPECT_FALSE(m_screen->HasPrinter());
    EXPECT_EQ(m_screen->labelHelp->Caption(), HelpCaption(Help::LabelNoPrinter));
    EXPECT_EQ(m_screen->GetSheet().GetMetrics(), PrinterMetrics::A4(150));
    AnsweringDialogs files;
    files.saveAnswers.push_back(PathOf("labels")); // ".pdf" is added
    WithMessages(&P::imgBtnPrintClick);
    EXPECT_EQ(m_dialog.shown, 0);
    ASSERT_EQ(files.saveRequests.size(), 1u);
    EXPECT_EQ(files.saveRequests[0].title, HelpCaption(Help::LabelPdfTitle));
    EXPECT_EQ(files.saveRequests[0].defaultExtension, ".pdf");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], HelpCaption(Help::LabelPdfSaved) + "\n" + QString::fromStdString(PathOf("labels.pdf")));
    EXPECT_EQ(PdfPageSize(PathOf("labels.pdf")), "595 x 842 pts (A4)");
    // The preview stays on the A4 sheet it showed.
    EXPECT_EQ(m_screen->GetSheet().GetMetrics(), PrinterMetrics::A4(150));
}

TEST_F(TformLabelKitPrintTest, APdfThatCannotBeWrittenIsReportedAndNothingIsLeft)
{
    m_dialog.hasPrinter = false;
    Prepare();
    AnsweringDialogs files;
    const std::string target = PathOf("missing/labels.pdf");
    files.saveAnswers.push_back(target);
    WithMessages(&P::imgBtnTestSheetClick);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].startsWith(HelpCaption(Help::LabelPdfFailed) + "\n")) << m_messages[0].toStdString();
    EXPECT_TRUE(m_messages[0].contains(QString::fromStdString(target)));
    EXPECT_FALSE(fs::exists(PathOf("missing")));
    // A cancelled save dialog does nothing.
    m_screen->imgBtnPrintClick();
    EXPECT_EQ(m_messages.size(), 1u);
}

TEST_F(TformLabelKitPrintTest, HintsFollowTheMouse)
{
    Prepare();
    const auto hintOver = [&](TImage* control) {
        m_screen->ControlMouseMove(control, control->x() + 2, control->y() + 2);
        return m_screen->labelHelp->Caption();
    };
    EXPECT_EQ(hintOver(m_screen->imgBtnLowerLblRight), HelpCaption(Help::HintMoveLower));
    EXPECT_EQ(hintOver(m_screen->imgBtnUpperLblDown), HelpCaption(Help::HintMoveUpper));
    EXPECT_EQ(hintOver(m_screen->imgPreview), HelpCaption(Help::HintSheetPreview));
    EXPECT_EQ(hintOver(m_screen->imgPrntLoLblChecked), HelpCaption(Help::HintPrintLower));
    // The test sheet's look appears under the mouse, over the background.
    const Geometry::ControlRect sheet = Geometry::LabelKitPrint::imgBtnTestSheet;
    m_screen->ControlMouseMove(m_screen->imgBG, sheet.x + 5, sheet.y + 5);
    EXPECT_TRUE(m_screen->imgBtnTestSheet->isVisibleTo(m_screen->Panel()));
    EXPECT_EQ(m_screen->labelHelp->Caption(), HelpCaption(Help::HintLabelTestSheet));
    EXPECT_EQ(m_screen->imgBtnTestSheet->Picture().width(), Skin::LabelTestSheetActive + 1);
    m_screen->ControlMouseMove(m_screen->imgBG, 10, 10);
    EXPECT_FALSE(m_screen->imgBtnTestSheet->isVisibleTo(m_screen->Panel()));
    EXPECT_EQ(m_screen->labelHelp->Caption(), HelpCaption(Help::LabelPrintInstruction));
}

TEST_F(TformLabelKitPrintTest, TheWayBackTellsWhereTo)
{
    Prepare();
    m_screen->imgBtnBackToEdLblClick();
    EXPECT_TRUE(m_screen->IsCloseRequested());
    EXPECT_FALSE(m_screen->Finish());
    Prepare();
    m_screen->imgBtnBackToPrjMenuClick();
    EXPECT_TRUE(m_screen->Finish());
}

// ----------------------------------------------------------------------------------------------- set-up screen

class TformLabelkitSetupTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        ClearModified();
        Screens().okPopup = std::make_unique<TokPopup>();
        Screens().yesNoPopup = std::make_unique<TyesNoPopup>();
        Screens().formImageEdit = std::make_unique<TFormImageEdit>();
        Screens().formMemoPopUp = std::make_unique<TformMemoPopUp>();
        Screens().formLabelKitPrint = std::make_unique<P>();
        m_screen = std::make_unique<TformLabelkitSetup>();
    }
    void TearDown() override
    {
        m_screen.reset();
        m_project.reset();
        Screens().formLabelKitPrint.reset();
        Screens().formMemoPopUp.reset();
        Screens().formImageEdit.reset();
        Screens().yesNoPopup.reset();
        Screens().okPopup.reset();
        ClearModified();
        SkinTest::TearDown();
    }

    void Prepare(std::unique_ptr<evProject> project = MakeLabelAlbum())
    {
        m_project = std::move(project);
        m_screen->Prepare(*m_project);
    }
    evCategory& Category() { return *m_project->GetDiscLabelCategory(); }
    bool ClearCovered() const { return m_screen->imgBtnClearUserPicInactive->isVisibleTo(m_screen->Panel()); }
    QRgb PreviewCentre() const { return m_screen->imgPreview->Picture().pixel(200, 200); }
    // Runs the handler and answers what comes up with the action.
    void Answering(void (TformLabelkitSetup::*handler)(), const ModalAnswerer::Action& action)
    {
        ModalAnswerer answerer([&](QWidget* modal) {
            m_shown.push_back(modal);
            action(modal);
        });
        ((*m_screen).*handler)();
    }
    std::string Photo()
    {
        const std::string path = PathOf("photo.png");
        SolidBitmap(640, 640, RGBColor(30, 150, 60)).Image().save(QString::fromStdString(path));
        return path;
    }

    std::unique_ptr<evProject> m_project;
    std::unique_ptr<TformLabelkitSetup> m_screen;
    std::vector<QWidget*> m_shown;
};

TEST_F(TformLabelkitSetupTest, PreviewShowsTheLabelAndTheClearButtonFollowsThePicture)
{
    Prepare();
    EXPECT_EQ(m_screen->imgBG->Picture().width(), Skin::LabelKitSetupBackground + 1);
    EXPECT_EQ(m_screen->imgBtnClearUserPicInactive->Picture().width(), Skin::RemoveLabelPictureGreyed + 1);
    EXPECT_EQ(m_screen->GetLabel().Width(), 768);
    EXPECT_EQ(m_screen->imgPreview->Picture().size(), QSize(400, 400));
    EXPECT_TRUE(ClearCovered());
    EXPECT_TRUE(m_screen->imgBtnClearUserPicInactive->isEnabled());
    m_screen->Finish();

    auto withPicture = MakeLabelAlbum();
    PutPicture(*withPicture, RGBColor(20, 40, 200));
    Prepare(std::move(withPicture));
    EXPECT_FALSE(ClearCovered());
    EXPECT_FALSE(m_screen->imgBtnClearUserPicInactive->isEnabled());
    EXPECT_TRUE(NearRgb(PreviewCentre(), 20, 40, 200)) << std::hex << PreviewCentre();
}

TEST_F(TformLabelkitSetupTest, OwnPictureGoesThroughTheImageEditScreenIntoTheLabel)
{
    Prepare();
    AnsweringDialogs files;
    files.openAnswers.push_back(Photo());
    Answering(&TformLabelkitSetup::imgBtnLoadUserPicClick, [](QWidget* modal) {
        auto* edit = dynamic_cast<TFormImageEdit*>(modal);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->GetTarget(), (TPoint{768, 768})); // the slot's size
        edit->ImgApplyClick();
    });
    ASSERT_EQ(m_shown.size(), 1u);
    const auto* picture = dynamic_cast<evPicture*>(Category().FindUserElement(PictureSlotId()));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetName(), "slot1");
    EXPECT_TRUE(IsModified());
    EXPECT_FALSE(ClearCovered());
    EXPECT_TRUE(NearRgb(PreviewCentre(), 30, 150, 60)) << std::hex << PreviewCentre();
    // A second picture replaces the first in the same entry.
    files.openAnswers.push_back(Photo());
    Answering(&TformLabelkitSetup::imgBtnLoadUserPicClick,
              [](QWidget* modal) { static_cast<TFormImageEdit*>(modal)->ImgApplyClick(); });
    EXPECT_EQ(Category().GetUserElements().Count(), 1);
}

TEST_F(TformLabelkitSetupTest, CancelledPictureChangesNothing)
{
    Prepare();
    AnsweringDialogs files;
    m_screen->imgBtnLoadUserPicClick(); // the file dialog is cancelled
    files.openAnswers.push_back(Photo());
    Answering(&TformLabelkitSetup::imgBtnLoadUserPicClick,
              [](QWidget* modal) { static_cast<TFormImageEdit*>(modal)->ImgCancelClick(); });
    EXPECT_EQ(files.openRequests.size(), 2u);
    EXPECT_EQ(Category().GetUserElements().Count(), 0);
    EXPECT_FALSE(IsModified());
    EXPECT_TRUE(ClearCovered());
}

TEST_F(TformLabelkitSetupTest, OwnTextWithUmlautsIsStoredAsUtf8)
{
    Prepare();
    Answering(&TformLabelkitSetup::imgBtnEdUserTextClick, [](QWidget* modal) {
        auto* memo = dynamic_cast<TformMemoPopUp*>(modal);
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(memo->memoText->toPlainText(), "Our day");
        EXPECT_EQ(memo->lblCaption->Caption(), HelpCaption(Help::HintLabelText));
        memo->memoText->setPlainText(QStringLiteral("Grüße von Jörg\nund Ännchen"));
        memo->imgBtnOKClick();
    });
    const auto* text = dynamic_cast<evUserTextfield*>(Category().FindUserElement(TextSlotId()));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetText(), "Gr\xC3\xBC\xC3\x9F"
                               "e von J\xC3\xB6rg\r\nund \xC3\x84nnchen");
    EXPECT_TRUE(IsModified());
}

TEST_F(TformLabelkitSetupTest, CancelledTextKeepsTheDesignsText)
{
    Prepare();
    Answering(&TformLabelkitSetup::imgBtnEdUserTextClick, [](QWidget* modal) {
        auto* memo = static_cast<TformMemoPopUp*>(modal);
        memo->memoText->setPlainText("not kept");
        memo->imgBtnCancelClick();
    });
    const auto* text = dynamic_cast<evUserTextfield*>(Category().FindUserElement(TextSlotId()));
    ASSERT_NE(text, nullptr) << "the label keeps a copy of the text field";
    EXPECT_EQ(text->GetText(), "Our day");
    EXPECT_FALSE(IsModified());
}

TEST_F(TformLabelkitSetupTest, ALabelWithoutFreeSlotsSaysSoForTheTextAndIgnoresThePicture)
{
    Prepare(MakeLabelAlbum(false));
    QString message;
    Answering(&TformLabelkitSetup::imgBtnEdUserTextClick, [&](QWidget* modal) {
        auto* ok = dynamic_cast<TokPopup*>(modal);
        ASSERT_NE(ok, nullptr);
        message = ok->LabelMessage->Caption();
        ok->ImgOKClick();
    });
    EXPECT_EQ(message, "This label has no free text field.");
    AnsweringDialogs files;
    m_screen->imgBtnLoadUserPicClick();
    EXPECT_TRUE(files.openRequests.empty());
    EXPECT_EQ(Category().GetUserElements().Count(), 0);
    EXPECT_FALSE(IsModified());
}

TEST_F(TformLabelkitSetupTest, ClearingThePictureAsksFirst)
{
    auto project = MakeLabelAlbum();
    PutPicture(*project, kColorBlack);
    Prepare(std::move(project));
    for (bool yes : {false, true}) {
        QString question;
        Answering(&TformLabelkitSetup::imgBtnClearUserPicClick, [&](QWidget* modal) {
            auto* popup = dynamic_cast<TyesNoPopup*>(modal);
            ASSERT_NE(popup, nullptr);
            question = popup->LabelMessage->Caption();
            yes ? popup->ImgYesClick() : popup->ImgNoClick();
        });
        EXPECT_EQ(question, HelpCaption(Help::ConfirmRemoveLabelPicture));
        EXPECT_EQ(Category().FindUserEntry(PictureSlotId()) == nullptr, yes);
        EXPECT_EQ(ClearCovered(), yes);
        EXPECT_EQ(IsModified(), yes);
    }
    // Nothing left to clear: no question.
    m_shown.clear();
    Answering(&TformLabelkitSetup::imgBtnClearUserPicClick,
              [](QWidget* modal) { static_cast<TyesNoPopup*>(modal)->ImgNoClick(); });
    EXPECT_TRUE(m_shown.empty());
}

TEST_F(TformLabelkitSetupTest, ACategoryWithoutPageLayoutOpensWithTheInMemoryLayout)
{
    Prepare(MakeLabelAlbum(true, 0));
    ASSERT_TRUE(m_screen->HasOwnLayout());
    EXPECT_EQ(m_screen->GetLabelPageLayout()->GetName(), "LabelKit");
    EXPECT_EQ(m_screen->GetLabelPageLayout()->GetEnglishTitle(), "Keiner");
    EXPECT_EQ(m_screen->GetLabel().Width(), 768);
    AnsweringDialogs files;
    m_screen->imgBtnLoadUserPicClick();
    EXPECT_TRUE(files.openRequests.empty());
    m_screen->Finish();
    EXPECT_FALSE(m_screen->HasOwnLayout());
}

TEST_F(TformLabelkitSetupTest, PrintScreenBackToTheMenuClosesTheSetUpToo)
{
    AnsweringPrintDialogs printers;
    Prepare();
    for (bool toMenu : {false, true}) {
        Answering(&TformLabelkitSetup::imgBtnPrintClick, [&](QWidget* modal) {
            auto* print = dynamic_cast<P*>(modal);
            ASSERT_NE(print, nullptr);
            EXPECT_EQ(print->lblUpCorX->Caption(), "45.0 mm");
            toMenu ? print->imgBtnBackToPrjMenuClick() : print->imgBtnBackToEdLblClick();
        });
        EXPECT_EQ(m_screen->IsCloseRequested(), toMenu);
    }
}

// ----------------------------------------------------------------------------------------------- project menu

class TFormProjectMenuLabelTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        m_context.SetProgramFolder(PathOf("program"));
        Screens().formLabelkitSetup = std::make_unique<TformLabelkitSetup>();
        m_menu = std::make_unique<TFormProjectMenu>();
        SetAppContext(&m_context);
    }
    void TearDown() override
    {
        m_menu->Conclude();
        m_menu.reset();
        Screens().formLabelkitSetup.reset();
        SetAppContext(nullptr);
        m_context.FreeCurrentProject();
        SkinTest::TearDown();
    }

    ApplicationContext m_context;
    std::unique_ptr<TFormProjectMenu> m_menu;
};

TEST_F(TFormProjectMenuLabelTest, TheTileShowsWithAProjectAndRunsTheSetUp)
{
    m_context.SetCurrentProject(MakeLabelAlbum());
    ASSERT_TRUE(m_menu->Prepare());
    EXPECT_TRUE(m_menu->imgBtn_LabelKit->isVisibleTo(m_menu->Panel()));
    EXPECT_TRUE(m_menu->imgLabelKitText->isVisibleTo(m_menu->Panel()));
    const Geometry::ControlRect tile = Geometry::ProjectMenu::imgBtn_Labelkit_Act;
    m_menu->ImgBGMouseMove(m_menu->ImgBG, tile.x + 10, tile.y + 10);
    EXPECT_TRUE(m_menu->imgBtn_Labelkit_Act->isVisibleTo(m_menu->Panel()));
    EXPECT_EQ(m_menu->labelHelp->Caption(), HelpCaption(Help::HintMenuLabelKit));
    int shown = 0;
    ModalAnswerer answerer([&](QWidget* modal) {
        auto* setup = dynamic_cast<TformLabelkitSetup*>(modal);
        ASSERT_NE(setup, nullptr);
        ++shown;
        setup->imgBtnCancelClick();
    });
    m_menu->imgBtn_Labelkit_ActClick();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(m_menu->GetResult(), TFormProjectMenu::ResultBack);
}

} // namespace
