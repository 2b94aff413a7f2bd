#include "screens/ScreenTestSupport.h"

#include "model/AlbumTestSupport.h"
#include "model/evCategory.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "screens/ITimelineHost.h"
#include "screens/TframeTimeline.h"

#include <algorithm>

using namespace screentest;

namespace {

using Kind = TframeTimeline::HotspotKind;

constexpr TColor kBackground = RGBColor(0, 0, 200);

// The window the strip sits on; it records what the strip tells it.
class RecordingHost : public QWidget, public ITimelineHost {
public:
    void PageChanged() override { ++pageChanges; }
    void ShowHint(int32_t index) override { hints.push_back(index); }
    int pageChanges = 0;
    std::vector<int32_t> hints;
};

std::unique_ptr<evUserTextfield> Field(int32_t id, const std::string& text = "")
{
    return WithID(std::make_unique<evUserTextfield>("t", text, "Arial", 0, 8, false, false, false, 0, 10, 6), id);
}

// A design of 64 x 48 pages: 1000 empty (renders white), 1001 text only with text slot 11, 1002 pictures only
// with picture slot 12.
std::unique_ptr<evLayout> MakeDesign()
{
    auto design = std::make_unique<evLayout>("Rose", "", 64, 48);
    AddPageLayout(*design, 1000, 2);
    PlaceOwnElement(*AddPageLayout(*design, 1001, 0), Field(11), 21);
    PlaceOwnElement(*AddPageLayout(*design, 1002, 1), WithID(std::make_unique<evUserPicture>("p", 8, 8), 12), 22);
    return design;
}

// The thumbnail a page keeps for the strip; null for none.
const Bitmap* Thumbnail(const evCategory* page)
{
    return page->GetPreview().Thumbnail(TframeTimeline::kPreviewWidth, TframeTimeline::kPreviewHeight);
}

class TframeTimelineTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        m_host = std::make_unique<RecordingHost>();
        m_timeline = new TframeTimeline(m_host.get());
        QImage background(1024, 148, QImage::Format_RGB32);
        background.fill(ToQColor(kBackground));
        m_timeline->imgBg->SetPicture(background);
    }
    void TearDown() override
    {
        m_host.reset();
        ContextTest::TearDown();
    }

    // The project's tree: the first page and its following siblings.
    evCategory* UseTree(std::unique_ptr<evCategory> first)
    {
        m_timeline->Reset();
        return UseAlbum(std::move(first), MakeDesign());
    }
    // R, M { A (optional) { A1 (optional) }, B (optional) { B1 } }, E.
    evCategory* UseChapters()
    {
        auto a = NewCategory("A", true);
        a->AddChild(NewCategory("A1", true));
        auto b = NewCategory("B", true);
        b->AddChild(NewCategory("B1"));
        auto m = NewCategory("M");
        m->AddChild(std::move(a));
        m->AddChild(std::move(b));
        auto r = NewCategory("R");
        r->AppendSibling(std::move(m));
        r->AppendSibling(NewCategory("E"));
        return UseTree(std::move(r));
    }
    int32_t Find(uint8_t kind, const evCategory* object) const
    {
        const auto& spots = m_timeline->Hotspots();
        for (size_t i = 0; i < spots.size(); ++i) {
            if (spots[i].kind == kind && spots[i].object == object)
                return static_cast<int32_t>(i);
        }
        return -1;
    }
    // The middle of a hotspot in the strip's own coordinates.
    QPoint Centre(int32_t index) const
    {
        const TframeTimeline::Hotspot& spot = m_timeline->Hotspots().at(static_cast<size_t>(index));
        return {(spot.left + spot.right) / 2 + 48 - m_timeline->ScrollOffset(), (spot.top + spot.bottom) / 2};
    }
    void Press(uint8_t kind, const evCategory* object)
    {
        const int32_t index = Find(kind, object);
        ASSERT_GE(index, 0);
        const QPoint point = Centre(index);
        m_timeline->imgTimelineMouseDown(point.x(), point.y());
    }
    TColor Shown(int x, int y) const { return FromQColor(QColor(m_timeline->imgTimeline->Picture().pixel(x, y))); }
    int32_t Pages() const
    {
        const auto& spots = m_timeline->Hotspots();
        return static_cast<int32_t>(
            std::count_if(spots.begin(), spots.end(), [](const auto& s) { return s.kind == Kind::hkPage; }));
    }
    void ScrollToEnd(bool right)
    {
        right ? m_timeline->imgScrollRightMouseDown() : m_timeline->imgScrollLeftMouseDown();
        for (int tick = 0; tick < 100 && m_timeline->timer->isActive(); ++tick)
            m_timeline->timerTimer();
        m_timeline->imgScrollMouseUp();
    }

    std::unique_ptr<RecordingHost> m_host;
    TframeTimeline* m_timeline = nullptr;
};

std::unique_ptr<evCategory> Chain(int count)
{
    std::vector<std::string> titles;
    for (int i = 0; i < count; ++i)
        titles.push_back("P" + std::to_string(i));
    return PageChain(titles);
}

} // namespace

TEST_F(TframeTimelineTest, SevenThumbnailsFitTheWindowAndEightScroll)
{
    struct Case {
        int pages;
        int32_t width;
        bool arrows;
        int32_t scrolledTo;
    };
    for (const Case& c : {Case{7, 928, false, 0}, Case{8, 1063, true, 135}}) {
        SCOPED_TRACE(c.pages);
        evCategory* first = UseTree(Chain(c.pages));
        m_timeline->SetPosition(nullptr, first, true);
        EXPECT_EQ(m_timeline->StripWidth(), c.width);
        EXPECT_EQ(Pages(), c.pages);
        EXPECT_EQ(!m_timeline->imgScrollLeft->isHidden(), c.arrows);
        EXPECT_EQ(!m_timeline->imgScrollRight->isHidden(), c.arrows);
        ScrollToEnd(true);
        EXPECT_EQ(m_timeline->ScrollOffset(), c.scrolledTo);
        ScrollToEnd(false);
        EXPECT_EQ(m_timeline->ScrollOffset(), 0);
    }
    // Selecting the last of eight scrolls it into view, with the yellow frame round it.
    evCategory* last = m_context.GetCurrentProject()->GetFirstCategory();
    while (last->GetNext())
        last = last->GetNext();
    m_timeline->SetPosition(nullptr, last, true);
    EXPECT_EQ(m_timeline->ScrollOffset(), 7 * 135 + 118 + 114 - 1024);
    const int left = 7 * 135 + 48 - m_timeline->ScrollOffset();
    EXPECT_EQ(Shown(left, 50), TframeTimeline::kFrameYellow);
    EXPECT_EQ(m_timeline->labelCategoryTitle->Caption(), "P7");
}

TEST_F(TframeTimelineTest, TheMarginsNeverTakeTheMouse)
{
    UseTree(Chain(8));
    m_timeline->SetPosition(nullptr, nullptr, false);
    evCategory* first = m_timeline->CurrentPage();
    struct Case {
        bool scrolled;
        int x, y;
        bool hovered;
    };
    // Unscrolled, the eighth thumbnail lies under the right margin; scrolled to the end, the first one under the
    // left margin.
    for (const Case& c : {Case{false, 1000, 60, false}, Case{true, 48, 60, false}, Case{true, 49, 60, true}}) {
        SCOPED_TRACE(c.x);
        if (c.scrolled != (m_timeline->ScrollOffset() > 0))
            ScrollToEnd(c.scrolled);
        m_timeline->imgTimelineMouseMove(c.x, c.y);
        EXPECT_EQ(m_timeline->HoveredHotspot() >= 0, c.hovered);
        EXPECT_EQ(m_timeline->imgTimeline->cursor().shape(), c.hovered ? Qt::PointingHandCursor : Qt::ArrowCursor);
        m_timeline->imgTimelineMouseDown(c.x, c.y);
        if (!c.hovered) {
            EXPECT_EQ(m_timeline->CurrentPage(), first);
            EXPECT_EQ(m_host->pageChanges, 0);
        }
    }
    EXPECT_EQ(m_timeline->CurrentPage(), first->GetNext());
    EXPECT_EQ(m_host->pageChanges, 1);
}

TEST_F(TframeTimelineTest, SteppingIntoAChapterAndBack)
{
    evCategory* r = UseChapters();
    evCategory* m = r->GetNext();
    evCategory* b = m->GetSub()->GetNext();
    m_timeline->SetPosition(nullptr, r, true);
    EXPECT_EQ(Pages(), 3);
    EXPECT_EQ(Find(Kind::hkStepIn, r), -1);

    Press(Kind::hkStepIn, m);
    EXPECT_EQ(m_timeline->GetCategory(), m);
    EXPECT_EQ(m_timeline->CurrentPage(), m);
    EXPECT_EQ(Pages(), 3); // M itself, A and B
    EXPECT_EQ(m_timeline->labelCategoryTitle->Caption(), "M");
    EXPECT_EQ(m_host->pageChanges, 1);

    // B is no first child, so it has no parent link of its own: its parent is found through its first sibling.
    Press(Kind::hkStepIn, b);
    EXPECT_EQ(m_timeline->labelCategoryTitle->Caption(), "M -> B");
    m_timeline->imgTimelineMouseMove(Centre(Find(Kind::hkPage, b->GetSub())).x(), 60);
    EXPECT_EQ(m_timeline->labelCategoryTitle->Caption(), "M -> B -> B1");
    Press(Kind::hkStepUp, b);
    Press(Kind::hkStepUp, m);
    EXPECT_EQ(m_timeline->GetCategory(), r);
    EXPECT_EQ(m_timeline->CurrentPage(), m);
    EXPECT_EQ(m_timeline->SelectedHotspot(), Find(Kind::hkPage, m));
    EXPECT_EQ(m_host->pageChanges, 4);
}

// After a rebuild the strip shows at once with the thumbnails in the window rendered; the others are filled in
// while the program waits, or when scrolling brings them into the window first.
TEST_F(TframeTimelineTest, ThumbnailsOutsideTheWindowFollowLaterOrWhenScrolledTo)
{
    evCategory* first = UseTree(Chain(20));
    std::vector<evCategory*> pages;
    for (evCategory* page = first; page; page = page->GetNext()) {
        page->SetPageLayoutID(1000);
        pages.push_back(page);
    }
    auto kept = [](const evCategory* page) { return Thumbnail(page) != nullptr; };
    m_timeline->SetPosition(nullptr, first, true);
    EXPECT_TRUE(kept(pages[6])) << "the seventh fits the window";
    EXPECT_FALSE(kept(pages[19]));
    EXPECT_EQ(m_timeline->PendingThumbnails(), 13u);

    ScrollToEnd(true);
    ScrollToEnd(true);
    ASSERT_EQ(m_timeline->ScrollOffset() + 928, m_timeline->StripWidth());
    EXPECT_TRUE(kept(pages[19])) << "rendered when it came into the window";
    EXPECT_LT(m_timeline->PendingThumbnails(), 13u);

    // Only while the strip is shown: its owner may change the pages while it is hidden.
    const size_t pending = m_timeline->PendingThumbnails();
    for (int round = 0; round < 5; ++round)
        QCoreApplication::processEvents();
    EXPECT_EQ(m_timeline->PendingThumbnails(), pending);
    m_host->show();
    for (int round = 0; round < 50 && m_timeline->PendingThumbnails() > 0; ++round)
        QCoreApplication::processEvents();
    EXPECT_EQ(m_timeline->PendingThumbnails(), 0u);
    EXPECT_TRUE(std::all_of(pages.begin(), pages.end(), kept));
}

TEST_F(TframeTimelineTest, SwitchingOffTheShownCategoryReturnsToItsParent)
{
    evCategory* m = UseChapters()->GetNext();
    evCategory* a = m->GetSub();
    evCategory* b = a->GetNext();
    m_timeline->SetPosition(a, a, true);
    EXPECT_EQ(Find(Kind::hkSwitchOff, m), -1);
    ASSERT_GE(Find(Kind::hkSwitchOff, a), 0);
    const QPoint switchOff = Centre(Find(Kind::hkSwitchOff, a));
    m_timeline->imgTimelineMouseMove(switchOff.x(), switchOff.y());
    EXPECT_EQ(m_host->hints, std::vector<int32_t>{199});
    for (bool yes : {false, true})
        EXPECT_EQ(YesNoQuestion([&] { Press(Kind::hkSwitchOff, a); }, yes), "Help 203");
    EXPECT_FALSE(a->GetSelected());
    EXPECT_FALSE(a->GetSub()->GetSelected());
    EXPECT_TRUE(b->GetSelected());
    EXPECT_EQ(m_timeline->GetCategory(), m);
    EXPECT_EQ(m_timeline->CurrentPage(), m);
    EXPECT_EQ(Pages(), 2);
    EXPECT_EQ(m_host->pageChanges, 1);
}

TEST_F(TframeTimelineTest, APageThatCannotRenderShowsPicture54AndKeepsItsMarkers)
{
    evCategory* broken = UseTree(NewCategory("broken"));
    broken->AppendSibling(NewCategory("fine"));
    evCategory* fine = broken->GetNext();
    fine->SetPageLayoutID(1000);
    broken->SetPageLayoutID(4711);
    m_context.GetCurrentProject()->GiveTreeProject();
    m_timeline->SetPosition(nullptr, broken, false);

    // The test bundle's picture 54 is grey; the empty page layout renders white; between them the background.
    EXPECT_NEAR_COLOUR(Shown(48 + 50, 50 + 37), RGBColor(128, 128, 128));
    EXPECT_EQ(Shown(48 + 135 + 50, 50 + 37), kColorWhite);
    EXPECT_EQ(Shown(30, 60), kBackground);
    for (uint8_t kind : {Kind::hkPage, Kind::hkLayout, Kind::hkPictures, Kind::hkTexts})
        EXPECT_GE(Find(kind, broken), 0) << int(kind);
}

TEST_F(TframeTimelineTest, MarkerColoursFollowTheCompleteness)
{
    const TColor done = TframeTimeline::kMarkerDone, notNeeded = TframeTimeline::kMarkerNotNeeded,
                 missing = TframeTimeline::kMarkerMissing;
    struct Case {
        const char* title;
        int32_t kind, layout;
        TColor layoutMarker, picturesMarker, textsMarker;
    };
    const std::vector<Case> cases = {
        {"no layout", 3, 0, missing, missing, missing},
        {"not kind 3", 5, 0, notNeeded, missing, missing},
        {"text only", 3, 1001, done, notNeeded, missing},
        {"pictures only", 3, 1002, done, missing, notNeeded},
    };
    evCategory* first = UseTree(NewCategory(cases[0].title, false, cases[0].kind));
    for (size_t i = 1; i < cases.size(); ++i)
        first->AppendSibling(NewCategory(cases[i].title, false, cases[i].kind));
    std::vector<evCategory*> pages;
    for (evCategory* page = first; page; page = page->GetNext()) {
        page->SetPageLayoutID(cases[pages.size()].layout);
        pages.push_back(page);
    }
    m_context.GetCurrentProject()->GiveTreeProject();
    m_timeline->SetPosition(nullptr, nullptr, false);

    // The top-left corner inside each marker's frame is free of its letter.
    const auto check = [&](size_t i, TColor layout, TColor pictures, TColor texts) {
        SCOPED_TRACE(cases[i].title);
        const int32_t x = 48 + 135 * static_cast<int32_t>(i) + 105;
        EXPECT_EQ(Shown(x, 50 + 1), layout);
        EXPECT_EQ(Shown(x, 50 + 17 + 1), pictures);
        EXPECT_EQ(Shown(x, 50 + 34 + 1), texts);
        EXPECT_EQ(Shown(x - 1, 50), kColorBlack);
    };
    for (size_t i = 0; i < cases.size(); ++i)
        check(i, cases[i].layoutMarker, cases[i].picturesMarker, cases[i].textsMarker);

    // Filling the slots turns the markers green once the strip is told.
    pages[2]->AddUserElement(11, Field(11, "Hello"));
    pages[3]->AddUserElement(12, SolidPicture(8, 8, kColorWhite));
    for (size_t i : {size_t(2), size_t(3)}) {
        m_timeline->imgTimelineMouseDown(48 + 135 * static_cast<int>(i) + 50, 60);
        m_timeline->RefreshMarkers();
    }
    check(2, done, notNeeded, done);
    check(3, done, done, notNeeded);
}
