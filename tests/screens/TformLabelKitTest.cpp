// The label kit's two screens and its tile on the project menu: the user's picture and text on the label, the
// clear button, the positions on the sheet and their texts, the preview, printing through the print dialog with
// a printer and to a PDF file without one, the test sheet, and the way back.
#include "screens/ScreenTestSupport.h"

#include "PdfPages.h"
#include "model/evProject.h"
#include "model/evUserTextfield.h"
#include "presentation/LabelTestAlbum.h"
#include "screens/DataIndexes.h"
#include "screens/PrintDialogs.h"
#include "screens/TFormImageEdit.h"
#include "screens/TFormProjectMenu.h"
#include "screens/TformLabelKitPrint.h"
#include "screens/TformLabelkitSetup.h"
#include "screens/TformMemoPopUp.h"

#include <QPlainTextEdit>
#include <QTest>

using namespace screentest;
using namespace labeltest;
namespace fs = std::filesystem;
using P = TformLabelKitPrint;

namespace {

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

// The four places as the screen shows them, in millimetres.
QString Positions(const P& screen)
{
    return QStringList{screen.lblUpCorX->Caption(), screen.lblUpCorY->Caption(), screen.lblLowCorX->Caption(),
                       screen.lblLowCorY->Caption()}
        .join(", ");
}

// ----------------------------------------------------------------------------------------------- print screen

class TformLabelKitPrintTest : public ScreenTest<P> {
protected:
    void Prepare() { m_screen->Prepare(m_label); }
    QRgb PreviewPixelIn(LabelSheet::Label label) const
    {
        const TRect r = m_screen->GetSheet().PreviewRect(label, Geometry::LabelKitPrint::imgPreview.w,
                                                         Geometry::LabelKitPrint::imgPreview.h);
        return m_screen->imgPreview->Picture().pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

    AnsweringPrintDialogs m_dialog;
    Bitmap m_label = SolidBitmap(768, 768, RGBColor(200, 30, 30));
};

TEST_F(TformLabelKitPrintTest, EntryShowsBothLabelsAtTheirPlacesWithTheirPictures)
{
    Prepare();
    EXPECT_EQ(m_dialog.restarts, 1);
    EXPECT_EQ(Positions(*m_screen), "45.0 mm, 20.4 mm, 45.0 mm, 157.4 mm");
    EXPECT_FALSE(m_screen->GetResult());
    // The preview uses the printer's metrics.
    EXPECT_EQ(m_screen->GetSheet().GetMetrics(), m_dialog.printer.metrics);
    EXPECT_EQ(PreviewPixelIn(LabelSheet::lbUpper), qRgb(200, 30, 30));
    EXPECT_EQ(PreviewPixelIn(LabelSheet::lbLower), qRgb(200, 30, 30));
    EXPECT_EQ(m_screen->labelHelp->Caption(), HelpCaption(Help::LabelPrintInstruction));
}

// The moves themselves, their edges and the off labels that do not move are LabelSheetTest's; the screen shows
// the places, moves on a press and switches a label off and on with its tick.
TEST_F(TformLabelKitPrintTest, APressMovesALabelResetAndTheTickSwitchItAndThePreviewFollows)
{
    // Each arrow moves its own label its own way, from the entry places 45.0, 20.4, 45.0, 157.4 mm.
    const std::pair<TImage * P::*, const char*> arrows[] = {
        {&P::imgBtnUpperLblUp, "45.0 mm, 19.9 mm, 45.0 mm, 157.4 mm"},
        {&P::imgBtnUpperLblLeft, "44.5 mm, 20.4 mm, 45.0 mm, 157.4 mm"},
        {&P::imgBtnUpperLblRight, "45.5 mm, 20.4 mm, 45.0 mm, 157.4 mm"},
        {&P::imgBtnUpperLblDown, "45.0 mm, 20.9 mm, 45.0 mm, 157.4 mm"},
        {&P::imgBtnLowerLblUp, "45.0 mm, 20.4 mm, 45.0 mm, 156.9 mm"},
        {&P::imgBtnLowerLblLeft, "45.0 mm, 20.4 mm, 44.5 mm, 157.4 mm"},
        {&P::imgBtnLowerLblRight, "45.0 mm, 20.4 mm, 45.5 mm, 157.4 mm"},
        {&P::imgBtnLowerLblDpwn, "45.0 mm, 20.4 mm, 45.0 mm, 157.9 mm"},
    };
    for (const auto& [arrow, places] : arrows) {
        Prepare();
        QTest::mousePress((*m_screen).*arrow, Qt::LeftButton);
        EXPECT_EQ(Positions(*m_screen), places);
        m_screen->Finish();
    }
    Prepare();
    m_screen->imgBtnResetClick();
    EXPECT_EQ(Positions(*m_screen), "46.5 mm, 21.4 mm, 46.5 mm, 158.4 mm");

    QTest::mouseClick(m_screen->imgPrntUpLblChecked, Qt::LeftButton);
    EXPECT_FALSE(m_screen->GetSheet().GetPrint(LabelSheet::lbUpper));
    EXPECT_FALSE(m_screen->imgPrntUpLblChecked->isVisibleTo(m_screen->Panel()));
    EXPECT_EQ(PreviewPixelIn(LabelSheet::lbUpper), qRgb(255, 255, 255));
    // The unticked image under it switches it on again.
    QTest::mouseClick(m_screen->imgPrntUpLabel, Qt::LeftButton);
    EXPECT_TRUE(m_screen->GetSheet().GetPrint(LabelSheet::lbUpper));
    EXPECT_EQ(PreviewPixelIn(LabelSheet::lbUpper), qRgb(200, 30, 30));
}

// Which labels a job holds, and that none makes no job, is LabelSheetTest's.
TEST_F(TformLabelKitPrintTest, PrintingAndTheTestSheetGoThroughTheDialog)
{
    Prepare();
    m_screen->imgBtnPrintClick();
    EXPECT_EQ(m_dialog.shown, 1);
    EXPECT_EQ(m_dialog.printer.begun, 1);
    ASSERT_EQ(m_dialog.printer.drawn.size(), 2u);
    EXPECT_EQ(m_dialog.printer.drawn[0], m_screen->GetSheet().PrintRect(LabelSheet::lbUpper));
    m_dialog.confirm = false;
    m_screen->imgBtnPrintClick();
    m_screen->imgBtnTestSheetClick();
    EXPECT_EQ(m_dialog.shown, 3);
    EXPECT_EQ(m_dialog.printer.begun, 1);
    EXPECT_FALSE(m_screen->IsCloseRequested()) << "the screen stays open after printing";
    m_dialog.confirm = true;
    m_screen->imgBtnTestSheetClick();
    EXPECT_EQ(m_dialog.printer.begun, 2);
    ASSERT_EQ(m_dialog.printer.frames.size(), 2u);
    EXPECT_EQ(m_dialog.printer.frames[0], m_screen->GetSheet().PrintRect(LabelSheet::lbUpper));
}

TEST_F(TformLabelKitPrintTest, WithoutAPrinterTheSheetIsSavedAsPdfOrWhyNotIsSaid)
{
    m_dialog.hasPrinter = false;
    Prepare();
    EXPECT_FALSE(m_screen->HasPrinter());
    EXPECT_EQ(m_screen->labelHelp->Caption(), HelpCaption(Help::LabelNoPrinter));
    EXPECT_EQ(m_screen->GetSheet().GetMetrics(), PrinterMetrics::A4(150));
    AnsweringDialogs files;
    files.saveAnswers.push_back(PathOf("labels")); // ".pdf" is added
    EXPECT_EQ(OkMessage([&] { m_screen->imgBtnPrintClick(); }),
              HelpCaption(Help::LabelPdfSaved) + "\n" + QString::fromStdString(PathOf("labels.pdf")));
    EXPECT_EQ(m_dialog.shown, 0);
    ASSERT_EQ(files.saveRequests.size(), 1u);
    EXPECT_EQ(files.saveRequests[0].defaultExtension, ".pdf");
    EXPECT_EQ(PdfPageSize(PathOf("labels.pdf")), "595 x 842 pts (A4)");

    // A file that cannot be written is reported, and nothing is left.
    const std::string target = PathOf("missing/labels.pdf");
    files.saveAnswers.push_back(target);
    const QString message = OkMessage([&] { m_screen->imgBtnTestSheetClick(); });
    EXPECT_TRUE(message.startsWith(HelpCaption(Help::LabelPdfFailed) + "\n")) << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromStdString(target)));
    EXPECT_FALSE(fs::exists(PathOf("missing")));
    // A cancelled save dialog does nothing.
    EXPECT_EQ(OkMessage([&] { m_screen->imgBtnPrintClick(); }), "");
}

TEST_F(TformLabelKitPrintTest, HintsFollowTheMouse)
{
    Prepare();
    m_screen->ControlMouseMove(m_screen->imgBtnLowerLblRight, 2, 2);
    EXPECT_EQ(m_screen->labelHelp->Caption(), HelpCaption(Help::HintMoveLower));
    // The test sheet's look appears under the mouse, over the background.
    const Geometry::ControlRect sheet = Geometry::LabelKitPrint::imgBtnTestSheet;
    m_screen->ControlMouseMove(m_screen->imgBG, sheet.x + 5, sheet.y + 5);
    EXPECT_TRUE(m_screen->imgBtnTestSheet->isVisibleTo(m_screen->Panel()));
    EXPECT_EQ(m_screen->labelHelp->Caption(), HelpCaption(Help::HintLabelTestSheet));
    m_screen->ControlMouseMove(m_screen->imgBG, 10, 10);
    EXPECT_FALSE(m_screen->imgBtnTestSheet->isVisibleTo(m_screen->Panel()));
    EXPECT_EQ(m_screen->labelHelp->Caption(), HelpCaption(Help::LabelPrintInstruction));
}

// ----------------------------------------------------------------------------------------------- set-up screen

class TformLabelkitSetupTest : public ScreenTest<TformLabelkitSetup> {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        Screens().formImageEdit = std::make_unique<TFormImageEdit>();
        Screens().formMemoPopUp = std::make_unique<TformMemoPopUp>();
        Screens().formLabelKitPrint = std::make_unique<P>();
    }

    void Prepare(std::unique_ptr<evProject> project = MakeLabelAlbum())
    {
        m_project = std::move(project);
        m_screen->Prepare(*m_project);
    }
    evCategory& Category() { return *m_project->GetDiscLabelCategory(); }
    bool ClearCovered() const { return m_screen->imgBtnClearUserPicInactive->isVisibleTo(m_screen->Panel()); }
    // The preview's middle, within what JPEG does to a colour.
    bool PreviewCentreIs(TColor colour) const
    {
        return Near(FromQColor(QColor(m_screen->imgPreview->Picture().pixel(200, 200))), colour, 10);
    }
    std::string Photo() { return WritePhoto(PathOf("photo.png"), 640, 640, RGBColor(30, 150, 60)); }
    // Loads the photograph through the image edit screen, applied or cancelled there.
    int LoadPicture(bool apply)
    {
        return Answering<TFormImageEdit>([this] { m_screen->imgBtnLoadUserPicClick(); },
                                         [apply](TFormImageEdit& edit) {
                                             EXPECT_EQ(edit.GetTarget(), (TPoint{768, 768})); // the slot's size
                                             apply ? edit.ImgApplyClick() : edit.ImgCancelClick();
                                         });
    }

    std::unique_ptr<evProject> m_project;
};

TEST_F(TformLabelkitSetupTest, PreviewShowsTheLabelAndTheClearButtonFollowsThePicture)
{
    Prepare();
    EXPECT_TRUE(m_screen->imgBtnClearUserPicInactive->isEnabled());
    m_screen->Finish();

    auto withPicture = MakeLabelAlbum();
    PutPicture(*withPicture, RGBColor(20, 40, 200));
    Prepare(std::move(withPicture));
    EXPECT_FALSE(ClearCovered());
    EXPECT_FALSE(m_screen->imgBtnClearUserPicInactive->isEnabled());
    EXPECT_TRUE(PreviewCentreIs(RGBColor(20, 40, 200)));
}

TEST_F(TformLabelkitSetupTest, OwnPictureGoesThroughTheImageEditScreenIntoTheLabel)
{
    Prepare();
    AnsweringDialogs files;
    EXPECT_EQ(LoadPicture(false), 0); // the file dialog is cancelled
    files.openAnswers.push_back(Photo());
    EXPECT_EQ(LoadPicture(false), 1);
    EXPECT_EQ(Category().GetUserElements().Count(), 0);
    EXPECT_FALSE(IsModified());
    EXPECT_TRUE(ClearCovered());

    files.openAnswers.push_back(Photo());
    ASSERT_EQ(LoadPicture(true), 1);
    const auto* picture = dynamic_cast<evPicture*>(Category().FindUserElement(PictureSlotId()));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetName(), "slot1");
    EXPECT_TRUE(IsModified());
    EXPECT_FALSE(ClearCovered());
    EXPECT_TRUE(PreviewCentreIs(RGBColor(30, 150, 60)));
    // A second picture replaces the first in the same entry.
    files.openAnswers.push_back(Photo());
    LoadPicture(true);
    EXPECT_EQ(Category().GetUserElements().Count(), 1);
    EXPECT_EQ(files.openRequests.size(), 4u);
}

// The text is kept as UTF-8 with CR LF only when confirmed; the label keeps a copy of the design's text field.
TEST_F(TformLabelkitSetupTest, OwnTextWithUmlautsIsStoredAsUtf8OnlyWhenConfirmed)
{
    Prepare();
    for (const bool ok : {false, true}) {
        Answering<TformMemoPopUp>([this] { m_screen->imgBtnEdUserTextClick(); },
                                  [ok](TformMemoPopUp& memo) {
                                      EXPECT_EQ(memo.memoText->toPlainText(), "Our day");
                                      EXPECT_EQ(memo.lblCaption->Caption(), HelpCaption(Help::HintLabelText));
                                      memo.memoText->setPlainText(QStringLiteral("Grüße von Jörg\nund Ännchen"));
                                      ok ? memo.imgBtnOKClick() : memo.imgBtnCancelClick();
                                  });
        const auto* text = dynamic_cast<evUserTextfield*>(Category().FindUserElement(TextSlotId()));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetText(), ok ? "Gr\xC3\xBC\xC3\x9F"
                                        "e von J\xC3\xB6rg\r\nund \xC3\x84nnchen"
                                      : "Our day");
        EXPECT_EQ(IsModified(), ok);
    }
}

TEST_F(TformLabelkitSetupTest, ALabelWithoutFreeSlotsSaysSoForTheTextAndIgnoresThePicture)
{
    Prepare(MakeLabelAlbum(false));
    EXPECT_EQ(OkMessage([this] { m_screen->imgBtnEdUserTextClick(); }), "This label has no free text field.");
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
        EXPECT_EQ(YesNoQuestion([this] { m_screen->imgBtnClearUserPicClick(); }, yes),
                  HelpCaption(Help::ConfirmRemoveLabelPicture));
        EXPECT_EQ(Category().FindUserEntry(PictureSlotId()) == nullptr, yes);
        EXPECT_EQ(ClearCovered(), yes);
        EXPECT_EQ(IsModified(), yes);
    }
    // Nothing left to clear: no question.
    EXPECT_EQ(YesNoQuestion([this] { m_screen->imgBtnClearUserPicClick(); }, false), "");
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
        Answering<P>([this] { m_screen->imgBtnPrintClick(); },
                     [toMenu](P& print) {
                         EXPECT_EQ(print.lblUpCorX->Caption(), "45.0 mm");
                         toMenu ? print.imgBtnBackToPrjMenuClick() : print.imgBtnBackToEdLblClick();
                     });
        EXPECT_EQ(m_screen->IsCloseRequested(), toMenu);
    }
}

// ----------------------------------------------------------------------------------------------- project menu

using TFormProjectMenuLabelTest = ContextTest;

TEST_F(TFormProjectMenuLabelTest, TheTileShowsWithAProjectAndRunsTheSetUp)
{
    m_context.SetProgramFolder(PathOf("program"));
    m_context.SetCurrentProject(MakeLabelAlbum());
    Screens().formLabelkitSetup = std::make_unique<TformLabelkitSetup>();
    TFormProjectMenu menu;
    ASSERT_TRUE(menu.Prepare());
    EXPECT_TRUE(menu.imgBtn_LabelKit->isVisibleTo(menu.Panel()));
    EXPECT_TRUE(menu.imgLabelKitText->isVisibleTo(menu.Panel()));
    EXPECT_EQ(Answering<TformLabelkitSetup>([&] { menu.imgBtn_Labelkit_ActClick(); },
                                            [](TformLabelkitSetup& setup) { setup.imgBtnCancelClick(); }),
              1);
    EXPECT_EQ(menu.GetResult(), TFormProjectMenu::ResultBack);
    menu.Conclude();
}

} // namespace
