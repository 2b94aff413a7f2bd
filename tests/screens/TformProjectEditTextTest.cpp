#include "screens/ScreenTestSupport.h"

#include "model/AlbumTestSupport.h"
#include "model/evFont.h"
#include "model/evUserTextfield.h"
#include "screens/DataIndexes.h"
#include "screens/TTransMemo.h"
#include "screens/TformProjectEditText.h"

using namespace screentest;

namespace {

constexpr TColor kYellow = 0x00FFFF;
constexpr int32_t kDesignFont = 60;

std::unique_ptr<evUserTextfield> Field(int32_t id, int32_t fixed = 0, int32_t fontID = 0, int32_t size = 12)
{
    auto field =
        std::make_unique<evUserTextfield>("f", "", "Liberation Sans", fontID, size, false, false, false, 0, 150, 60);
    field->SetFixed(fixed);
    return WithID(std::move(field), id);
}

// Pages of 320 x 240. 1000 only text: a fixed field 30 placed before the editable 31. 1001 text and pictures:
// editable 41, a fixed 44, editable 42 and 43. 1002 only text with nothing but the fixed 50. 1003 only text: 61
// in the design's font. 1011, 1013, 1014, 1018: kinds without texts.
std::unique_ptr<evLayout> MakeDesign()
{
    auto design = std::make_unique<evLayout>("Rose", "", 320, 240);
    MemoryStream font; // fonts are made only by reading: an empty font file with its face name
    WriteHeader(font, 0, kDesignFont);
    font.WriteString("face.ttf");
    font.WriteString("Liberation Serif");
    font.WriteInt32(0);
    font.SetPosition(0);
    design->GetElementsA().Add(std::make_unique<evFont>(font, nullptr));
    evPageLayout* one = AddPageLayout(*design, 1000, pkTextOnly);
    PlaceOwnElement(*one, Field(30, 1), 130, 10, 10);
    PlaceOwnElement(*one, Field(31), 131, 20, 120);
    evPageLayout* three = AddPageLayout(*design, 1001, pkTextAndPicture);
    PlaceOwnElement(*three, Field(41), 141, 0, 0);
    PlaceOwnElement(*three, Field(44, 7), 144, 160, 0);
    PlaceOwnElement(*three, Field(42), 142, 0, 80);
    PlaceOwnElement(*three, Field(43), 143, 160, 160);
    PlaceOwnElement(*AddPageLayout(*design, 1002, pkTextOnly), Field(50, 1), 150, 0, 0);
    PlaceOwnElement(*AddPageLayout(*design, 1003, pkTextOnly), Field(61, 0, kDesignFont, 14), 161, 0, 0);
    for (int32_t kind : {pkPictureOnly, pkPictureOnly2, pkAnimation, pkPictureOther})
        AddPageLayout(*design, 1010 + kind, kind);
    return design;
}

class TformProjectEditTextTest : public PageEditorTest<TformProjectEditText> {
protected:
    void SetUp() override
    {
        PageEditorTest::SetUp();
        m_timeline->move(0, 607);
    }

    // A project of one page with the layout, shown by the editor.
    evCategory* Open(int32_t layout, int32_t pageKind = 3)
    {
        m_timeline->Reset();
        evCategory* page = UseAlbum(NewCategory("P", false, pageKind), MakeDesign());
        page->SetPageLayoutID(layout);
        PageEditorTest::Open(page);
        return page;
    }
    // The template behind the field being edited; 0 for none.
    int32_t CurrentSlot() const
    {
        return m_editor->GetCurrentEntry() ? m_editor->GetCurrentEntry()->GetElementID() : 0;
    }
    bool YellowAt(int pageX, int pageY) const
    {
        const QImage& shown = m_editor->imgPreview->Picture();
        return !shown.isNull() &&
               Near(FromQColor(QColor(shown.pixel(pageX * 400 / 320, pageY * 300 / 240))), kYellow, 40);
    }
    // The fill of the first page's "T" marker in the strip (the strip's window starts 48 pixels in).
    TColor TextsMarker() const
    {
        for (const TframeTimeline::Hotspot& spot : m_timeline->Hotspots())
            if (spot.kind == TframeTimeline::hkTexts)
                return FromQColor(QColor(m_timeline->imgTimeline->Picture().pixel(spot.left + 50, spot.top + 2)));
        return kColorBlack;
    }
};

TEST_F(TformProjectEditTextTest, PagesOfEachKindAndTheFieldsOffered)
{
    using R = TformProjectEditText;
    struct Case {
        const char* name;
        int32_t layout, pageKind, result;
        bool layoutTabGrey, picturesTabGrey, nextVisible;
        std::vector<int32_t> offered; // the first field, then after each click on the next button
    };
    const Case cases[] = {
        {"one editable field behind a fixed one", 1000, 3, R::ResultProjectMenu, false, true, false, {31, 31}},
        {"three fields cycle past the fixed one", 1001, 3, R::ResultProjectMenu, false, false, true, {41, 42, 43, 41}},
        {"a special page", 1001, 1, R::ResultProjectMenu, true, false, true, {41, 42}},
        {"only a fixed field", 1002, 3, R::ResultProjectMenu, false, true, false, {0, 0}},
        {"no layout", 0, 3, R::ResultLayout, false, false, false, {}},
        {"only pictures", 1011, 3, R::ResultPictures, false, false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        evCategory* page = Open(c.layout, c.pageKind);
        EXPECT_EQ(m_editor->GetResult(), c.result);
        if (c.result != R::ResultProjectMenu) {
            EXPECT_EQ(page->GetUserElements().Count(), 0);
            continue;
        }
        EXPECT_EQ(m_editor->imgBtnLayDisabled->isVisibleTo(m_editor->Panel()), c.layoutTabGrey);
        EXPECT_EQ(m_editor->imgBtnPicDisabled->isVisibleTo(m_editor->Panel()), c.picturesTabGrey);
        EXPECT_EQ(m_editor->imgNextTextfield->isVisibleTo(m_editor->Panel()), c.nextVisible);
        for (size_t i = 0; i < c.offered.size(); ++i) {
            if (i > 0)
                m_editor->imgNextTextfieldClick();
            ASSERT_EQ(CurrentSlot(), c.offered[i]) << "step " << i;
            if (c.offered[i] == 0)
                continue;
            // The page's own copy is edited, and its place is framed in the preview: around the field, so that
            // the frame hides nothing of its first line (at the page's edges it comes just inside).
            EXPECT_EQ(m_editor->GetCurrentField(), page->FindUserElement(c.offered[i]));
            const evPageLayoutEntry& entry = *m_editor->GetCurrentEntry();
            const int left = entry.GetLeft(), top = entry.GetTop();
            EXPECT_TRUE(YellowAt(left + 150 + 3, top + 30));
            EXPECT_FALSE(YellowAt(left + 75, top + 30));
            if (left >= 10 && top >= 10) {
                EXPECT_TRUE(YellowAt(left - 4, top + 30));
                EXPECT_FALSE(YellowAt(left + 4, top + 4));
            }
        }
        for (int32_t fixed : {30, 44, 50})
            EXPECT_EQ(page->FindUserEntry(fixed), nullptr);
    }
}

TEST_F(TformProjectEditTextTest, TheSaveButtonSaysWhenTheAlbumWasSaved)
{
    Open(1000);
    for (const bool saved : {false, true}) {
        m_context.SetProjectFileName(PathOf(saved ? "album.evp" : "no such folder/album.evp"));
        MarkModified();
        m_editor->labelHelp->SetCaption("Help 13");
        EXPECT_EQ(OkMessage([this] { m_editor->imgTopSaveClick(); }).isEmpty(), saved); // the failure is told
        EXPECT_EQ(m_editor->labelHelp->Caption(), HelpCaption(saved ? Help::SavedNotice : 13));
        EXPECT_EQ(IsModified(), !saved);
    }
    m_editor->Finish();
}

TEST_F(TformProjectEditTextTest, StyleButtonsChangeThePageCopyAndSmallerStopsAtSix)
{
    struct Case {
        int32_t start;
        std::string clicks; // B bold, I italic, U underline, + larger, - smaller
        int32_t size, style;
    };
    const Case cases[] = {{8, "----", 6, 0},
                          {6, "-", 6, 0},
                          {7, "--+", 7, 0},
                          {200, "+++", 203, 0},
                          {12, "BIUB", 12, fsItalic | fsUnderline}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clicks);
        auto* field = dynamic_cast<evUserTextfield*>(Open(1000)->FindUserElement(31));
        ASSERT_NE(field, nullptr);
        field->SetFontSize(c.start);
        m_editor->Select(field, m_editor->GetCurrentEntry());
        ClearModified();
        for (char click : c.clicks)
            click == 'B'   ? m_editor->imgBoldClick()
            : click == 'I' ? m_editor->imgItalicClick()
            : click == 'U' ? m_editor->imgUnderlineClick()
            : click == '+' ? m_editor->imgUpperClick()
                           : m_editor->imgLowerClick();
        EXPECT_EQ(field->GetFontSize(), c.size);
        EXPECT_EQ(field->GetStyle(), c.style);
        EXPECT_EQ(m_editor->memoText->font().pixelSize(), PointsToPixels(c.size));
        EXPECT_EQ(m_editor->memoText->font().bold(), (c.style & fsBold) != 0);
        EXPECT_EQ(IsModified(), c.clicks != "-") << "only a refused smaller changes nothing";
    }
}

TEST_F(TformProjectEditTextTest, TheFontDialogLeavesTheDesignFont)
{
    AnsweringFontDialog dialog;
    const FontChoice designFace{"Liberation Serif", 20, 0x0000FF, fsBold | fsUnderline};
    for (const std::optional<FontChoice>& answer : {std::optional<FontChoice>(), std::optional(designFace)}) {
        auto* field = dynamic_cast<evUserTextfield*>(Open(1003)->FindUserElement(61));
        ASSERT_NE(field, nullptr);
        ClearModified();
        dialog.answer = answer;
        m_editor->imgFontClick();
        EXPECT_EQ(dialog.presets.back().name, "Liberation Serif");
        EXPECT_EQ(IsModified(), answer.has_value());
        EXPECT_EQ(field->GetFontID(), answer ? 0 : kDesignFont);
        EXPECT_EQ(field->GetFontSize(), answer ? 20 : 14);
        EXPECT_EQ(field->GetStyle(), answer ? fsBold | fsUnderline : 0);
        EXPECT_EQ(m_editor->memoText->font().underline(), answer.has_value());
    }
    EXPECT_EQ(dialog.presets.size(), 2u);
}

// Accented and non-Latin letters go into the model as UTF-8, paragraphs as CR LF, and come out of the page's
// rendering as the same lines.
TEST_F(TformProjectEditTextTest, TypedTextReachesTheMarkersAndTheRendering)
{
    evCategory* page = Open(1000);
    const auto inkInField = [page] {
        Bitmap rendered(320, 240);
        page->AssignPreviewTo(rendered);
        int dark = 0;
        for (int y = 120; y < 180; ++y)
            for (int x = 20; x < 170; ++x)
                dark += (rendered.Pixel(x, y) & 0xFF) < 100;
        return dark;
    };
    EXPECT_EQ(TextsMarker(), TframeTimeline::kMarkerMissing);
    EXPECT_EQ(inkInField(), 0);
    ClearModified();

    const QString shown = QString::fromUtf8("Grüße, é ü ß\nМария");
    m_editor->memoText->insertPlainText(shown);
    const std::string first = "Gr\xC3\xBC\xC3\x9F"
                              "e, \xC3\xA9 \xC3\xBC \xC3\x9F";
    const std::string second = "\xD0\x9C\xD0\xB0\xD1\x80\xD0\xB8\xD1\x8F";
    EXPECT_EQ(m_editor->GetCurrentField()->GetText(), first + "\r\n" + second);
    EXPECT_TRUE(IsModified());
    EXPECT_EQ(TextsMarker(), TframeTimeline::kMarkerDone);

    m_editor->RefreshPage();
    const auto* slot = dynamic_cast<evUserTextfield*>(page->GetPageLayout()->FindByID(31));
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->GetLines(), (std::vector<std::string>{first, second}));
    EXPECT_GT(inkInField(), 20);
    m_editor->imgNextTextfieldClick(); // the only field again, read back from the model
    EXPECT_EQ(m_editor->memoText->toPlainText(), shown);
}

} // namespace
