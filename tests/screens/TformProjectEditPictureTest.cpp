#include "screens/ScreenTestSupport.h"

#include "SaneTestBackend.h"
#include "platform/MessageHook.h"

#include "model/AlbumTestSupport.h"
#include "model/ProjectFile.h"
#include "model/evActionElement.h"
#include "model/evCategoryEntry.h"
#include "model/evUserPicture.h"
#include "screens/TformProjectEditPicture.h"

#include <cstdlib>

using namespace screentest;

namespace {

// Slots of the page layout 1001 (page 200 x 100): A and B ordinary; F a fixed thumbnail that an enlarge-on-hover
// element (31) links to the large fixed slot L; S the fixed slot of a slide show (32), with both frames named so
// that its photographs may be turned; G fixed without any action element.
enum : int32_t { A = 11, B = 12, F = 13, L = 14, S = 15, Gx = 16, Enlarge = 31, Slides = 32 };

evUserPicture* AddSlot(evPageLayout& layout, int32_t id, int32_t entryId, TRect place, int32_t fixed)
{
    auto slot = WithID(std::make_unique<evUserPicture>("slot" + std::to_string(id), place.Width(), place.Height()), id);
    slot->SetFixed(fixed);
    return PlaceOwnElement(layout, std::move(slot), entryId, place.Left, place.Top);
}

void AddAction(evPageLayout& layout, int32_t id, int32_t type, int32_t firstEntry, int32_t secondEntry)
{
    auto action = WithID(std::make_unique<evActionElement>("action", type, 0, 0, 10, 10), id);
    action->SetFirstSlot(firstEntry);
    action->SetSecondSlot(secondEntry);
    layout.AddActionElement(std::move(action));
}

std::unique_ptr<evLayout> MakeDesign()
{
    auto design = std::make_unique<evLayout>("Rose", "", 200, 100);
    evPageLayout& layout = *AddPageLayout(*design, 1001, 1);
    AddSlot(layout, A, 21, Rect(0, 0, 40, 30), 0);
    AddSlot(layout, B, 22, Rect(50, 0, 90, 30), 0);
    AddSlot(layout, F, 23, Rect(100, 0, 120, 20), 1);
    AddSlot(layout, L, 24, Rect(100, 40, 180, 100), 1);
    evUserPicture* slides = AddSlot(layout, S, 25, Rect(0, 50, 60, 90), 1);
    slides->SetFrameID(901);
    slides->SetAlternateFrameID(902);
    AddSlot(layout, Gx, 26, Rect(150, 0, 170, 20), 1);
    AddAction(layout, Enlarge, 10, 23, 24);
    AddAction(layout, Slides, 16, 25, 0);
    RenderPageLayoutPreviews(*design);
    return design;
}

class TformProjectEditPictureTest : public PageEditorTest<TformProjectEditPicture> {
protected:
    void SetUp() override
    {
        PageEditorTest::SetUp();
        m_page = UseAlbum(NewCategory("Page"), MakeDesign());
        m_page->SetPageLayoutID(1001);
        Screens().formImageEdit = std::make_unique<TFormImageEdit>();
    }
    void Open() { PageEditorTest::Open(m_page); }
    void Fill(const std::vector<int32_t>& filled)
    {
        for (int32_t slot : filled)
            m_page->AddUserElement(slot, SolidPicture(20, 20, kColorWhite));
    }
    int32_t SlotID() const { return m_editor->GetCurrentSlot() ? m_editor->GetCurrentSlot()->GetID() : 0; }
    int32_t SizeID() const { return m_editor->GetSizeElement() ? m_editor->GetSizeElement()->GetID() : 0; }
    int32_t ActionID() const
    {
        return m_editor->GetCurrentActionElement() ? m_editor->GetCurrentActionElement()->GetID() : 0;
    }
    std::string Photo(const std::string& name, int width, int height)
    {
        return WritePhoto(PathOf(name), width, height);
    }

    evCategory* m_page = nullptr;
};

} // namespace

// The first unfilled slot is offered: ordinary slots first, then those of the action elements; a fixed slot
// only through one. With every slot filled, the last filled one of the entry list stays.
TEST_F(TformProjectEditPictureTest, OpeningAPageOffersTheFirstUnfilledSlot)
{
    struct Case {
        std::vector<int32_t> filled;
        int32_t slot, size, action;
    };
    const std::vector<Case> cases = {
        {{}, A, A, 0},
        {{A, B}, F, L, Enlarge},
        {{A, B, F}, S, S, Slides},
        {{A, B, F, S}, B, B, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.filled.size() << " filled");
        m_page->SetUserElements(nullptr);
        Fill(c.filled);
        Open();
        EXPECT_EQ(m_editor->GetResult(), TPageEditorScreen::ResultProjectMenu);
        EXPECT_EQ(SlotID(), c.slot);
        EXPECT_EQ(SizeID(), c.size);
        EXPECT_EQ(ActionID(), c.action);
        EXPECT_EQ(m_editor->ImgBtnGallery->isHidden(), c.action != Slides);
        m_editor->Finish();
    }
}

TEST_F(TformProjectEditPictureTest, AClickSelectsOrdinarySlotsAndFixedOnesOnlyThroughEnlargeOnHover)
{
    struct Case {
        int x, y; // on the 400 x 300 preview of the 200 x 100 page
        int32_t slot, size;
    };
    const std::vector<Case> cases = {
        {120, 30, B, B}, {220, 30, F, L}, // fixed, linked by the enlarge-on-hover element
        {320, 30, A, A},                  // fixed without an action element: ignored
        {390, 90, A, A},                  // nothing there
        {100, 30, B, B},                  // the border belongs to the slot
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        Open();
        ASSERT_EQ(SlotID(), A);
        m_editor->imgPreviewMouseUp(c.x, c.y);
        EXPECT_EQ(SlotID(), c.slot);
        EXPECT_EQ(SizeID(), c.size);
        EXPECT_EQ(ActionID(), 0);
        m_editor->Finish();
    }
}

// Three files go into the slide show as three photographs under the action element; the last, upright one
// decides the frame, and the slot with both frames lets the image edit screen take either orientation.
TEST_F(TformProjectEditPictureTest, ThreeFilesFillASlideShow)
{
    Fill({A, B, F});
    Open();
    ASSERT_EQ(ActionID(), Slides);
    AnsweringDialogs dialogs;
    dialogs.openManyAnswers.push_back({Photo("1.png", 90, 60), Photo("2.png", 90, 60), Photo("3.png", 40, 80)});
    ImageEditApplier applier;
    m_editor->imgAddPicHddClick();

    EXPECT_EQ(dialogs.openManyRequests.size(), 1u);
    EXPECT_EQ(applier.fixedFlags, (std::vector<bool>{false, false, false}));
    std::vector<std::pair<int32_t, int32_t>> sizes;
    for (int32_t i = 0; i < m_page->GetUserElements().Count(); ++i) {
        const auto* entry = m_page->GetUserElements().GetItemAs<evCategoryEntry>(i);
        if (entry->GetSlotID() == Slides) {
            const auto* photo = dynamic_cast<const evPicture*>(entry->GetElement());
            sizes.emplace_back(photo->GetWidth(), photo->GetHeight());
        }
    }
    EXPECT_EQ(sizes, (std::vector<std::pair<int32_t, int32_t>>{{60, 40}, {60, 40}, {40, 60}}));
    // Slot (0, 50, 60, 90) turned around its middle for the upright photograph, top-aligned.
    EXPECT_EQ(m_editor->GetFrame(), Rect(10, 50, 50, 110));
    EXPECT_TRUE(IsModified());
}

// Only a slot with both frames may show a photograph turned; every other one keeps its orientation. An ordinary
// slot gets the photograph under its own identifier and the next slot is offered.
TEST_F(TformProjectEditPictureTest, TheFixedOrientationFlagFollowsTheFrames)
{
    struct Case {
        int32_t frame, alternate;
        bool fixed;
    };
    const std::vector<Case> cases = {{0, 7, true}, {7, 8, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frame << "/" << c.alternate);
        m_page->SetUserElements(nullptr);
        Open();
        ASSERT_EQ(SlotID(), A);
        m_editor->GetCurrentSlot()->SetFrameID(c.frame);
        m_editor->GetCurrentSlot()->SetAlternateFrameID(c.alternate);
        EXPECT_EQ(m_editor->IsFixedOrientation(), c.fixed);
        AnsweringDialogs dialogs;
        dialogs.openAnswers.push_back(Photo("p.png", 30, 60));
        ImageEditApplier applier;
        m_editor->imgAddPicHddClick();
        EXPECT_EQ(applier.fixedFlags, std::vector<bool>{c.fixed});
        const auto* photo = dynamic_cast<const evPicture*>(m_page->FindUserElement(A));
        ASSERT_NE(photo, nullptr);
        EXPECT_EQ(photo->GetWidth(), c.fixed ? 40 : 30);
        EXPECT_EQ(SlotID(), B);
        m_editor->Finish();
    }
}

namespace {

// The picture editor with SANE's test backend as its scanner, set up before the editor opens it; errors the
// program would show are kept.
class TformProjectEditPictureScanTest : public TformProjectEditPictureTest {
protected:
    void SetUp() override
    {
        m_scanDir = std::filesystem::temp_directory_path() / ("vellora-scan-" + std::to_string(::getpid()));
        m_sane = std::make_unique<sanetest::SaneTestBackend>(m_scanDir);
        m_previousDisplay =
            SetApplicationExceptionDisplay([this](const std::exception& error) { m_shown.push_back(error.what()); });
        TformProjectEditPictureTest::SetUp();
    }
    void TearDown() override
    {
        TformProjectEditPictureTest::TearDown();
        SetApplicationExceptionDisplay(m_previousDisplay);
        m_sane.reset();
        std::filesystem::remove_all(m_scanDir);
    }

    // Clicks the scan button, chooses the test scanner and scans in its dialog; true once the source is closed.
    bool Scan()
    {
        sanetest::SelectionAnswerer answerer("test:0");
        m_editor->imgAddPicScanClick();
        if (!sanetest::PressScan())
            return false;
        return sanetest::WaitFor([this] { return !m_editor->TwainAcquire1->IsSourceOpen(); });
    }

    std::filesystem::path m_scanDir;
    std::unique_ptr<sanetest::SaneTestBackend> m_sane;
    ExceptionDisplay m_previousDisplay;
    std::vector<std::string> m_shown;
};

} // namespace

// The scanned page passes through the image edit screen into the slot, and the next slot is offered.
TEST_F(TformProjectEditPictureScanTest, AScanFillsTheSlot)
{
    Open();
    ASSERT_TRUE(m_editor->HasScanner());
    ASSERT_EQ(SlotID(), A);
    ImageEditApplier applier;
    ASSERT_TRUE(Scan());
    ASSERT_TRUE(sanetest::WaitFor([this] { return m_page->FindUserElement(A) != nullptr; }));
    EXPECT_EQ(applier.fixedFlags, std::vector<bool>{true});
    const auto* photo = dynamic_cast<const evPicture*>(m_page->FindUserElement(A));
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->GetWidth(), 40);
    // The scanned test pattern (its pixels are SaneTwainTest's): the red box below the black one in the top left.
    const int32_t red = photo->Decode().Pixel(2, 6);
    EXPECT_TRUE((red & 0xFF) > 150 && ((red >> 8) & 0xFF) < 90 && ((red >> 16) & 0xFF) < 90) << std::hex << red;
    EXPECT_EQ(SlotID(), B);
    EXPECT_TRUE(IsModified());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(m_shown.empty());
    m_editor->Finish();
}

// A scanner that fails while it reads (its words are shown) ends the scan without a picture: nothing changes in
// the editor. Cancel and the other failures end the same way in the driver (SaneTwainTest).
TEST_F(TformProjectEditPictureScanTest, AFailingScanLeavesThePageAsItWas)
{
    m_sane->SetOptions("read-status-code SANE_STATUS_IO_ERROR\n");
    Open();
    ImageEditApplier applier;
    ASSERT_TRUE(Scan());
    QApplication::processEvents();
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_NE(m_shown[0].find("The scanner test:0 stopped: Error during device I/O"), std::string::npos);
    EXPECT_TRUE(applier.fixedFlags.empty());
    EXPECT_EQ(m_page->GetUserElements().Count(), 0);
    EXPECT_FALSE(IsModified());
    EXPECT_EQ(SlotID(), A);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    m_editor->Finish();
}

// Without a configured scanner driver the editor never opens the scanner and the cover hides the button.
TEST_F(TformProjectEditPictureScanTest, WithoutADriverTheCoverLiesOverTheScanButton)
{
    const std::filesystem::path empty = m_scanDir / "no-driver";
    std::filesystem::create_directories(empty);
    std::ofstream(empty / "dll.conf") << "# no backend\n";
    const std::string saved = std::getenv("SANE_CONFIG_DIR");
    setenv("SANE_CONFIG_DIR", empty.c_str(), 1);
    auto editor = std::make_unique<TformProjectEditPicture>();
    setenv("SANE_CONFIG_DIR", saved.c_str(), 1);
    EXPECT_FALSE(editor->HasScanner());
    EXPECT_FALSE(editor->TwainAcquire1->IsManagerOpen());
    EXPECT_FALSE(editor->imgNoScanner->isHidden());
}
