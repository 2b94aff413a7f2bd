// The studio branding screen: texts and fonts between the controls and the record, the shared address font, the
// logo and sample pictures through the image edit screen, the delete questions, the hints and the preview.
#include "screens/DataIndexes.h"
#include "screens/ScreenTestSupport.h"

#include "model/evCategoryEntry.h"
#include "model/evProjectorPage.h"
#include "presentation/FinishTestAlbum.h"
#include "presentation/StudioFiles.h"
#include "screens/TFormImageEdit.h"
#include "screens/TFormPhotographer.h"
#include "screens/TTransEdit.h"
#include "screens/TTransMemo.h"
#include "screens/TformPreview.h"
#include "screens/ViewerWidget.h"

using namespace screentest;
using namespace finishtest;
using P = TFormPhotographer;

namespace {

struct FieldLook {
    std::string text;
    std::string font;
    int32_t size;
    int style;
    TColor colour;
    bool operator==(const FieldLook&) const = default;
};

class TFormPhotographerTest : public ScreenTest<P> {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        Screens().formImageEdit = std::make_unique<TFormImageEdit>();
        Screens().formPreview = std::make_unique<TformPreview>();
        m_design = MakeStudioDesign();
        m_layout = m_design->FindPageLayoutByKey("STUDIO");
        m_record = BuildStudioRecord(*m_layout);
    }

    void Prepare() { m_screen->Prepare(*m_layout, *m_record); }
    evUserTextfield& Field(P::TextSlot slot) { return *m_screen->TextField(slot); }
    FieldLook Look(P::TextSlot slot)
    {
        const evUserTextfield& f = Field(slot);
        return {f.GetText(), f.GetFontName(), f.GetFontSize(), f.GetStyle(), f.GetColour()};
    }
    void Type(P::TextSlot slot, const QString& text)
    {
        if (auto* edit = dynamic_cast<TTransEdit*>(m_screen->TextControl(slot)))
            edit->setText(text);
        else
            static_cast<TTransMemo*>(m_screen->TextControl(slot))->setPlainText(text);
    }
    std::string Photo(const std::string& name) { return WritePhoto(PathOf(name), 400, 300); }
    // Chooses the file for the picture button; the image edit screen that comes up is applied.
    void ChoosePicture(void (P::*click)(), const std::string& file, bool apply = true)
    {
        AnsweringDialogs dialogs;
        dialogs.openAnswers.push_back(file);
        ModalAnswerer answerer([&](QWidget* modal) {
            if (auto* edit = dynamic_cast<TFormImageEdit*>(modal))
                apply ? edit->ImgApplyClick() : edit->ImgCancelClick();
            else if (auto* ok = dynamic_cast<TokPopup*>(modal))
                m_messages.push_back(ok->LabelMessage->Caption()), ok->ImgOKClick();
        });
        ((*m_screen).*click)();
    }
    // Answers the delete question and keeps it.
    void Delete(void (P::*click)(), bool yes)
    {
        m_messages.push_back(YesNoQuestion([&] { ((*m_screen).*click)(); }, yes));
    }

    std::unique_ptr<evLayout> m_design;
    evPageLayout* m_layout = nullptr;
    std::unique_ptr<evPhotograph> m_record;
    std::vector<QString> m_messages;
};

} // namespace

TEST_F(TFormPhotographerTest, TheControlsAndFontDialogsStartFromTheRecord)
{
    auto* address = dynamic_cast<evUserTextfield*>(m_record->FindUserElement(m_record->GetAddressSlot()));
    address->SetText("Main Street 1\r\n12345 Town");
    address->SetFontName("Liberation Serif");
    address->SetFontSize(13);
    address->SetBold(true);
    address->SetColour(0x00336699);
    Prepare();

    EXPECT_EQ(static_cast<TTransMemo*>(m_screen->TextControl(P::tsAddress))->toPlainText(),
              QStringLiteral("Main Street 1\n12345 Town"));
    EXPECT_EQ(m_screen->edIntro->text(), QStringLiteral("text 1"));
    const FontChoice& font = m_screen->GetFont(P::fbAddress);
    EXPECT_EQ(font.name, "Liberation Serif");
    EXPECT_EQ(font.style, fsBold);
    // Filling the controls does not count as typing: the record is as it was.
    EXPECT_EQ(address->GetText(), "Main Street 1\r\n12345 Town");
    EXPECT_EQ(m_screen->memoStudio->font().family(), QFont("MS Sans Serif").family());
}

// A record read from a file may lack text fields; BindStudioRecord gives it copies of the page layout's
// (StudioFilesTest), and the screen binds the record before it fills its controls.
TEST_F(TFormPhotographerTest, ARecordWithoutItsTextFieldsIsBoundBeforeTheControlsAreFilled)
{
    m_record = std::make_unique<evPhotograph>(nullptr);
    Prepare();
    EXPECT_EQ(m_record->GetUserElements().Count(), 7);
    EXPECT_EQ(m_screen->memoPhone->toPlainText(), QStringLiteral("text 4"));
}

// Cancel keeps what was typed as well (see RunReturnsTrueOnlyAfterOk).
TEST_F(TFormPhotographerTest, TypingGoesIntoTheRecordAtOnceAndOkWritesEveryTextAndFontOnceMore)
{
    Prepare();
    Type(P::tsStudio, QStringLiteral("Studio Lumière\nPortraits"));
    Type(P::tsWeb, QStringLiteral("www.lumiere.example"));
    EXPECT_EQ(m_record->GetStudioText()->GetText(), "Studio Lumi\xC3\xA8re\r\nPortraits");
    EXPECT_EQ(Field(P::tsWeb).GetText(), "www.lumiere.example");

    // Changed behind the screen's back: OK puts the control's text and the dialog's font back.
    Field(P::tsWeb).SetText("something else");
    Field(P::tsWeb).SetItalic(true);
    Field(P::tsInfo).SetFontSize(40);
    m_screen->imgBtnOKClick();
    EXPECT_TRUE(m_screen->Finish());
    EXPECT_EQ(m_record->GetWebText()->GetText(), "www.lumiere.example");
    EXPECT_FALSE(m_record->GetWebText()->GetItalic());
    EXPECT_EQ(m_record->GetInfoText()->GetFontSize(), 10);
}

TEST_F(TFormPhotographerTest, TheAddressFontReachesPhoneEmailAndWebAddress)
{
    AnsweringFontDialog dialog;
    Prepare();
    const FieldLook introBefore = Look(P::tsIntro), studioBefore = Look(P::tsStudio), infoBefore = Look(P::tsInfo);
    Field(P::tsPhone).SetFontID(777); // names no font of the design: the chosen face replaces it

    dialog.answer = FontChoice{"Liberation Serif", 14, 0x00112233, fsBold | fsItalic};
    m_screen->imgBtnStyleBlock3Click();
    ASSERT_EQ(dialog.presets.size(), 1u);
    EXPECT_EQ(dialog.presets[0].name, "DejaVu Sans");
    for (P::TextSlot slot : {P::tsAddress, P::tsPhone, P::tsEmail, P::tsWeb}) {
        const FieldLook expected{"text " + std::to_string(slot + 1), "Liberation Serif", 14, fsBold | fsItalic,
                                 0x00112233};
        EXPECT_EQ(Look(slot), expected) << slot;
    }
    EXPECT_EQ(Field(P::tsPhone).GetFontID(), 0);
    EXPECT_EQ(Look(P::tsIntro), introBefore);
    EXPECT_EQ(Look(P::tsStudio), studioBefore);
    EXPECT_EQ(Look(P::tsInfo), infoBefore);

    // A cancelled dialog changes nothing.
    dialog.answer.reset();
    m_screen->imgBtnStyleBlock1Click();
    EXPECT_EQ(Look(P::tsIntro), introBefore);
    // Typing afterwards keeps the chosen font.
    Type(P::tsEmail, QStringLiteral("a@b.example"));
    EXPECT_EQ(Look(P::tsEmail).font, "Liberation Serif");
}

TEST_F(TFormPhotographerTest, TheLogoDeleteButtonAppearsWithALogoAndGoesWithIt)
{
    Prepare();
    TImage* del = m_screen->imgBtnDelLogo;
    EXPECT_TRUE(del->isHidden());

    ChoosePicture(&P::imgBtnLogoClick, Photo("logo.png"));
    const int32_t logoSlot = ActionId(kStudioLayout, 8);
    auto* logo = dynamic_cast<evPicture*>(m_record->FindUserElement(logoSlot));
    ASSERT_NE(logo, nullptr);
    // Made to the logo slot's size, with its orientation kept (the slot has no frames).
    EXPECT_EQ(logo->GetWidth(), 100);
    EXPECT_EQ(logo->GetHeight(), 50);
    EXPECT_FALSE(del->isHidden());

    // A second logo replaces the first one in place.
    ChoosePicture(&P::imgBtnLogoClick, Photo("logo2.png"));
    EXPECT_EQ(m_record->FindUserElement(logoSlot), logo);
    EXPECT_EQ(m_record->GetUserElements().Count(), 8);

    Delete(&P::imgBtnDelLogoClick, false);
    EXPECT_EQ(m_record->FindUserElement(logoSlot), logo);
    Delete(&P::imgBtnDelLogoClick, true);
    EXPECT_EQ(m_record->FindUserElement(logoSlot), nullptr);
    EXPECT_TRUE(del->isHidden());
    const QString question = HelpCaption(Help::ConfirmRemoveStudioLogo);
    EXPECT_EQ(m_messages, (std::vector<QString>{question, question}));
}

TEST_F(TFormPhotographerTest, ASampleIsKeptUnderItsSlotAndRemovedWithItsOwnQuestion)
{
    Prepare();
    ChoosePicture(&P::imgBtnSample2Click, Photo("two.png"));
    const auto* sample = dynamic_cast<evPicture*>(m_record->FindUserElement(FieldId(kStudioLayout, 10)));
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->GetWidth(), 40);
    EXPECT_FALSE(m_screen->imgBtnDelSamp2->isHidden());
    Delete(&P::imgBtnDelSamp2Click, true);
    EXPECT_EQ(m_record->GetUserElements().Count(), 7);
    EXPECT_EQ(m_messages, std::vector<QString>{HelpCaption(Help::ConfirmRemoveSample2)});
}

TEST_F(TFormPhotographerTest, APictureFileThatIsNoPictureShowsTheEditorsMessageAndChangesNothing)
{
    Prepare();
    const std::string notAPicture = PathOf("logo.jpg");
    std::ofstream(notAPicture) << "this is no picture";
    ChoosePicture(&P::imgBtnLogoClick, notAPicture);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_FALSE(m_messages[0].isEmpty());
    EXPECT_EQ(m_record->GetUserElements().Count(), 7);
    EXPECT_TRUE(m_screen->imgBtnDelLogo->isHidden());

    // No file chosen: no image edit screen at all.
    AnsweringDialogs dialogs;
    m_screen->imgBtnSample1Click();
    EXPECT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(m_record->GetUserElements().Count(), 7);
}

TEST_F(TFormPhotographerTest, ThePreviewShowsTheStudioPageReducedInItsAreaAndGivesTheWindowBack)
{
    Prepare();
    Type(P::tsStudio, QStringLiteral("Studio Lumière"));
    TformPreview& preview = *Screens().formPreview;
    EXPECT_EQ(Answering<TformPreview>([this] { m_screen->Image7Click(); },
                                      [](TformPreview& shown) {
                                          ASSERT_NE(shown.GetPage(), nullptr);
                                          EXPECT_EQ(shown.imgPreview->geometry(), QRect(62, 134, 900, 500));
                                          shown.imgCloseClick();
                                      }),
              1);
    EXPECT_EQ(preview.imgPreview->geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(preview.GetPage(), nullptr);
    EXPECT_FALSE(m_record->GetPreviewFile().empty());
}

// The real modal run: OK reports true and the texts typed while the screen was up are in the record.
TEST_F(TFormPhotographerTest, RunReturnsTrueOnlyAfterOk)
{
    for (const bool ok : {true, false}) {
        bool result = !ok;
        EXPECT_EQ(Answering<P>([&] { result = m_screen->Run(*m_layout, *m_record); },
                               [ok](P& screen) {
                                   screen.edIntro->setText(ok ? QStringLiteral("Photographs by") : "Not kept?");
                                   ok ? screen.imgBtnOKClick() : screen.imgBtnCancelClick();
                               }),
                  1);
        EXPECT_EQ(result, ok);
    }
    EXPECT_EQ(m_record->GetIntroText()->GetText(), "Not kept?") << "changes are applied at once, also on Cancel";
}
