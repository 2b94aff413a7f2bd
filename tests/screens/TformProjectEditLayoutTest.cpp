#include "screens/ScreenTestSupport.h"

#include "model/AlbumTestSupport.h"
#include "model/ProjectFile.h"
#include "model/evUserPicture.h"
#include "screens/TformProjectEditLayout.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QTest>

using namespace screentest;

namespace {

// Page layouts of the design: 1000 text only, 1001 pictures, 1002 pictures (second kind), 1003 pictures,
// 1004 the special welcome page, 1005 text and pictures, and twenty animations 2000 ... 2019.
std::unique_ptr<evLayout> MakeDesign()
{
    auto design = std::make_unique<evLayout>("Rose", "", 64, 48);
    const std::pair<int32_t, int32_t> layouts[] = {{1000, 0}, {1001, 1}, {1002, 3}, {1003, 1}, {1004, 8}, {1005, 2}};
    for (const auto& [id, kind] : layouts) {
        evPageLayout* layout = AddPageLayout(*design, id, kind, id == 1004 ? "W" : "");
        // Layout 1003 has a picture slot (50) over its middle.
        if (id == 1003)
            PlaceOwnElement(*layout, WithID(std::make_unique<evUserPicture>("slot", 32, 24), 50), 150, 16, 12);
    }
    for (int32_t id = 2000; id < 2020; ++id)
        AddPageLayout(*design, id, 4);
    RenderPageLayoutPreviews(*design);
    return design;
}

class TformProjectEditLayoutTest : public PageEditorTest<TformProjectEditLayout> {
protected:
    void SetUp() override
    {
        PageEditorTest::SetUp();
        auto page = NewCategory("Page");
        page->AppendSibling(NewCategory("Other kind", false, 5));
        m_page = UseAlbum(std::move(page), MakeDesign());
    }
    std::vector<int32_t> ListedIDs() const
    {
        std::vector<int32_t> ids;
        for (const auto& item : m_editor->LayoutList())
            ids.push_back(item.layout->GetID());
        return ids;
    }

    evCategory* m_page = nullptr;
};

} // namespace

TEST_F(TformProjectEditLayoutTest, APageOfAnotherKindGoesToThePictureEditorWithoutShowing)
{
    m_timeline->SetPosition(nullptr, m_page->GetNext(), true);
    int32_t result = -1;
    EXPECT_EQ(Answering<TformProjectEditLayout>([&] { result = m_editor->Run(*m_timeline); },
                                                [](TformProjectEditLayout& editor) { editor.imgTopPrjMenuClick(); }),
              0);
    EXPECT_EQ(result, TPageEditorScreen::ResultPictures);
    EXPECT_FALSE(m_editor->imgBkg->HasPicture());
}

TEST_F(TformProjectEditLayoutTest, ThePageLayoutChoosesTheListAndTheTabs)
{
    struct Case {
        int32_t layout, listKind;
        std::vector<int32_t> listed;
        int32_t selected;
        bool picturesGreyed, textsGreyed;
    };
    const std::vector<Case> cases = {
        {0, 0, {1000}, -1, true, true},
        {1000, 0, {1000}, 0, true, false},
        {1002, 1, {1001, 1002, 1003}, 1, false, true},
        {1005, 2, {1005}, 0, false, false},
        // The special page is never listed, but it still is the page's layout.
        {1004, 0, {1000}, -1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        m_page->SetPageLayoutID(c.layout);
        Open(m_page);
        EXPECT_EQ(m_editor->GetResult(), TPageEditorScreen::ResultProjectMenu);
        EXPECT_EQ(m_editor->GetCurrentKind(), c.listKind);
        EXPECT_EQ(ListedIDs(), c.listed);
        EXPECT_EQ(m_editor->GetSelectedIndex(), c.selected);
        EXPECT_EQ(m_editor->GetCurrentLayout() ? m_editor->GetCurrentLayout()->GetID() : 0, c.layout);
        EXPECT_EQ(!m_editor->imgBtnPicDisabled->isHidden(), c.picturesGreyed);
        EXPECT_EQ(!m_editor->imgBtnTexDisabled->isHidden(), c.textsGreyed);
        EXPECT_EQ(m_editor->imgPreview->HasPicture(), c.layout != 0);
        m_editor->Finish();
    }
}

// At most sixteen layouts are visible. A click on a name chooses the layout: the label takes the press, so that
// its release comes back to it (on the enlarged panel a press nobody takes sends the release nowhere).
TEST_F(TformProjectEditLayoutTest, AtMostSixteenLayoutsAreVisibleAndAClickOnANameChoosesIt)
{
    Open(m_page);
    m_editor->imgKindClick(4);
    const auto& list = m_editor->LayoutList();
    ASSERT_EQ(list.size(), 20u);
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(!list[i].label->isHidden(), i < 16) << i;
    EXPECT_EQ(list[3].label->text(), "layout2003");
    // The bundle's language (help text 144) is not "en", so a layout describes itself with its name and its other
    // title.
    list[3].layout->SetOtherTitle("Drei & Co");
    m_editor->DescribeLayout(3);
    EXPECT_EQ(m_editor->labelHelp->text(), "layout2003: Drei & Co");

    TLabel* label = list[1].label;
    const QPointF inside(10, 8);
    QMouseEvent press(QEvent::MouseButtonPress, inside, label->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(label, &press);
    EXPECT_TRUE(press.isAccepted());
    QMouseEvent release(QEvent::MouseButtonRelease, inside, label->mapToGlobal(inside), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(label, &release);
    EXPECT_EQ(m_page->GetPageLayoutID(), list[1].layout->GetID());
    m_editor->Finish();
}

TEST(LayoutNameTest, ALongNameIsShortenedAfterAWholeWord)
{
    QFont font("MS Sans Serif");
    font.setPixelSize(13);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const QString ellipsis(QChar(0x2026));
    const struct {
        QString name, shown;
    } cases[] = {
        {"Text", "Text"},
        {"Two photographs and text", "Two photographs" + ellipsis},
        {"Photograph and text", "Photograph and" + ellipsis},
    };
    for (const auto& c : cases) {
        // Just wide enough for the expected text: a word more would not fit.
        const int width = metrics.horizontalAdvance(c.shown);
        const QString shown = TLabel::ShortenedAtWord(c.name, font, width);
        EXPECT_EQ(shown, c.shown) << c.name.toStdString();
        EXPECT_LE(metrics.horizontalAdvance(shown), width);
    }
    // A single word too long for the width is cut within itself.
    const QString cut = TLabel::ShortenedAtWord("Hochzeitsfotografie", font, metrics.horizontalAdvance("Hochzeit"));
    EXPECT_TRUE(cut.endsWith(ellipsis));
    EXPECT_LE(metrics.horizontalAdvance(cut), metrics.horizontalAdvance("Hochzeit"));
}

// The page's own layout shows the page as it is, also right after the album was opened (no preview rendered yet).
TEST_F(TformProjectEditLayoutTest, ThePreviewShowsThePageWithWhatWasFilledIn)
{
    const TColor green = RGBColor(0, 200, 0);
    for (const bool filled : {false, true}) {
        SCOPED_TRACE(filled);
        m_page->SetPageLayoutID(1003);
        m_page->SetUserElements(std::make_unique<evObjectCollection>());
        if (filled)
            m_page->AddUserElement(50, SolidPicture(32, 24, green));
        Open(m_page);
        const QImage& shown = m_editor->imgPreview->Picture();
        ASSERT_FALSE(shown.isNull());
        const TColor middle = FromQColor(QColor(shown.pixel(shown.width() / 2, shown.height() / 2)));
        EXPECT_EQ(Near(middle, green, 40), filled);
        m_editor->Finish();
    }
}

TEST_F(TformProjectEditLayoutTest, ChoosingALayoutAsksOnlyWhenContentWouldBeLost)
{
    struct Case {
        const char* name;
        int32_t layout;
        bool content, answer, asked, changed;
    };
    const Case cases[] = {
        {"no layout, no content", 0, false, false, false, true},
        {"layout, no content", 1000, false, false, false, true},
        {"content, answered no", 1000, true, false, true, false},
        {"content, answered yes", 1000, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearModified();
        m_page->SetPageLayoutID(c.layout);
        m_page->SetUserElements(std::make_unique<evObjectCollection>());
        if (c.content)
            m_page->AddUserElement(10, SolidPicture(4, 4, kColorWhite));
        Open(m_page);
        m_editor->imgKindClick(2);
        EXPECT_EQ(
            YesNoQuestion([&] { QTest::mouseClick(m_editor->LayoutList().at(0).label, Qt::LeftButton); }, c.answer),
            c.asked ? "Help 155" : "");
        EXPECT_EQ(m_page->GetPageLayoutID(), c.changed ? 1005 : c.layout);
        EXPECT_EQ(m_page->GetUserElements().Count(), c.content && !c.changed ? 1 : 0);
        EXPECT_EQ(IsModified(), c.changed);
        if (c.changed) {
            EXPECT_EQ(m_editor->GetCurrentLayout()->GetID(), 1005);
        }
        m_editor->Finish();
    }
}

TEST_F(TformProjectEditLayoutTest, FullScreenWithoutALayoutAsksForOne)
{
    Open(m_page);
    EXPECT_EQ(OkMessage([this] { m_editor->imgFullscreenClick(); }), "Help 109");
    m_editor->Finish();
}

TEST_F(TformProjectEditLayoutTest, TheTopBarTabsAndKeysDecideTheResult)
{
    struct Case {
        const char* name;
        std::function<void(TformProjectEditLayout&)> action;
        int32_t result;
        bool closing;
    };
    const Case cases[] = {
        {"project menu", [](auto& e) { e.imgTopPrjMenuClick(); }, 0, true},
        {"escape", [](auto& e) { e.FormKeyDown(Qt::Key_Escape, Qt::NoModifier); }, 0, true},
        {"pictures tab", [](auto& e) { e.imgBtnPic->clicked(); }, 3, true},
        // Without the exit question the program is not left.
        {"alt f4", [](auto& e) { e.FormKeyDown(Qt::Key_F4, Qt::AltModifier); }, 0, false},
    };
    m_page->SetPageLayoutID(1005);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(m_page);
        c.action(*m_editor);
        EXPECT_EQ(m_editor->GetResult(), c.result);
        EXPECT_EQ(m_editor->IsCloseRequested(), c.closing);
        EXPECT_EQ(m_editor->FormCloseQuery(), c.closing);
        m_editor->Finish();
    }
    // The whole run.
    int32_t result = -1;
    EXPECT_EQ(Answering<TformProjectEditLayout>([&] { result = m_editor->Run(*m_timeline); },
                                                [](TformProjectEditLayout& editor) { editor.imgTopPrjMenuClick(); }),
              1);
    EXPECT_EQ(result, TPageEditorScreen::ResultProjectMenu);
    EXPECT_FALSE(m_editor->imgTopSpeaker->HasPicture());
    EXPECT_FALSE(m_editor->imgBkg->HasPicture());
}
