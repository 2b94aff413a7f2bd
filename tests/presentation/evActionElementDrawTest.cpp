// Action elements turning album pages into presentation pages: page order and every navigation target, the
// sound button, chapter menus, slide shows, film strips, hover pictures, extra pictures and labels.
#include "presentation/FinishTestAlbum.h"

#include "model/evCategoryEntry.h"
#include "presentation/evProjectorMouseAction.h"
#include "presentation/evProjectorNaviAction.h"
#include "presentation/evProjectorPage.h"
#include "presentation/evProjectorPageElement.h"
#include "presentation/evProjectorSliderElement.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace finishtest;

namespace {

constexpr int32_t kNone = -99;
constexpr TColor kRed = 0x000000E0;
constexpr TColor kGreen = 0x0000E000;
constexpr TColor kBlue = 0x00E00000;

class ActionDrawTest : public TempFolderTest {
protected:
    std::unique_ptr<evProjectorPage> PageOf(evCategory& category)
    {
        auto page = category.CreatePresentationPage();
        EXPECT_FALSE(category.RenderFailed()) << category.GetTitle();
        return page;
    }

    static std::vector<evCategory*> PageOrder(evProject& project)
    {
        std::vector<evCategory*> pages;
        evCategory::Flatten(project.GetFirstCategory(), pages, true);
        return pages;
    }

    // A new last top-level page with the page layout.
    static evCategory* AddTopPage(evProject& project, const std::string& title, int32_t layoutId)
    {
        auto page = Page(title, layoutId);
        evCategory* raw = page.get();
        project.GetFirstCategory()->AppendSibling(std::move(page));
        project.GiveTreeProject();
        return raw;
    }
};

template <class T>
std::vector<T*> Members(const evObjectCollection& collection)
{
    std::vector<T*> members;
    for (int32_t i = 0; i < collection.Count(); ++i)
        members.push_back(collection.GetItemAs<T>(i));
    return members;
}

// The target of the navigation action over the rectangle; kNone when there is none.
int32_t TargetAt(const evProjectorPage& page, const TRect& rect)
{
    std::optional<int32_t> target;
    for (const auto* navi : Members<evProjectorNaviAction>(page.GetNaviActions())) {
        if (navi->GetRect() == rect) {
            EXPECT_FALSE(target) << "two navigation actions over one rectangle";
            target = navi->GetTarget();
        }
    }
    return target.value_or(kNone);
}

std::vector<int32_t> KindsAt(const evProjectorPage& page, int32_t x, int32_t y)
{
    std::vector<int32_t> kinds;
    for (const auto* element : Members<evProjectorPageElement>(page.GetElements())) {
        if (element->GetX() == x && element->GetY() == y)
            kinds.push_back(element->GetKind());
    }
    return kinds;
}

int32_t IndexAt(const evProjectorPage& page, int32_t x, int32_t y, int32_t kind)
{
    const auto elements = Members<evProjectorPageElement>(page.GetElements());
    for (size_t i = 0; i < elements.size(); ++i) {
        if (elements[i]->GetX() == x && elements[i]->GetY() == y && elements[i]->GetKind() == kind)
            return static_cast<int32_t>(i);
    }
    return -1;
}

std::vector<const evProjectorMouseAction*> MouseActionsInside(const evProjectorPage& page, const TRect& area)
{
    std::vector<const evProjectorMouseAction*> inside;
    for (const auto* action : Members<evProjectorMouseAction>(page.GetMouseActions())) {
        const TRect& r = action->GetRect();
        if (r.Left >= area.Left && r.Top >= area.Top && r.Bottom <= area.Bottom)
            inside.push_back(action);
    }
    return inside;
}

int32_t CentreColour(const evProjectorPageElement& element)
{
    const Bitmap picture = element.GetPicture().Decode();
    return picture.Pixel(picture.Width() / 2, picture.Height() / 2);
}

bool IsUniform(const evProjectorPageElement& element)
{
    const Bitmap picture = element.GetPicture().Decode();
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            if (!Near(picture.Pixel(x, y), picture.Pixel(0, 0), 24))
                return false;
        }
    }
    return true;
}

} // namespace

TEST_F(ActionDrawTest, ExitBackAndNextSiblingFollowThePageOrder)
{
    auto project = MakeAlbum();
    const std::vector<evCategory*> pages = PageOrder(*project);
    ASSERT_EQ(pages.size(), 6u);
    const char* titles[] = {"Welcome", "Chapter one", "Section", "Chapter three", "Menu", "The end"};
    struct Targets {
        int32_t exit, back, next;
    };
    // Chapter one's next sibling is not selected: no click area. Top-level pages have no way back.
    const Targets expected[] = {{5, kNone, 4}, {5, 0, kNone}, {5, 1, kNone},
                                {5, 0, kNone}, {5, kNone, 5}, {5, kNone, kNone}};
    for (size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(titles[i]);
        EXPECT_EQ(pages[i]->GetTitle(), titles[i]);
        const auto page = PageOf(*pages[i]);
        EXPECT_EQ(TargetAt(*page, kExitRect), expected[i].exit);
        EXPECT_EQ(TargetAt(*page, kBackRect), expected[i].back);
        EXPECT_EQ(TargetAt(*page, kNextRect), expected[i].next);
        // A top-level page's Back button leaves no element in the presentation; elsewhere it is a linked label.
        const std::vector<int32_t> backKinds = KindsAt(*page, kBackRect.Left, kBackRect.Top);
        EXPECT_EQ(backKinds, (expected[i].back == kNone ? std::vector<int32_t>{} : std::vector<int32_t>{2, 0}));
        EXPECT_EQ(KindsAt(*page, kExitRect.Left, kExitRect.Top), (std::vector<int32_t>{2, 0}));
    }
    // The labels are left empty for the next drawing.
    auto* exitLabel = dynamic_cast<evUserTextfield*>(project->GetDesign()->FindByID(FieldId(10, 1)));
    ASSERT_NE(exitLabel, nullptr);
    EXPECT_EQ(exitLabel->GetText(), "");
    EXPECT_FALSE(exitLabel->GetLineLinks());
}

TEST_F(ActionDrawTest, ExitWithoutAnEndPageLeadsNowhere)
{
    auto project = MakeAlbum("space2", 3);
    for (evCategory* category : PageOrder(*project))
        EXPECT_EQ(TargetAt(*PageOf(*category), kExitRect), -1);
}

TEST_F(ActionDrawTest, SoundButtonHasTwoLabelPairsAndTogglesTheSound)
{
    auto project = MakeAlbum();
    const auto page = PageOf(*project->GetFirstCategory());
    EXPECT_EQ(KindsAt(*page, kSoundRect.Left, kSoundRect.Top), (std::vector<int32_t>{5, 5, 4, 4}));
    const int32_t offHighlight = IndexAt(*page, kSoundRect.Left, kSoundRect.Top, 5);
    const int32_t onHighlight = IndexAt(*page, kSoundRect.Left, kSoundRect.Top, 4);
    ASSERT_GE(offHighlight, 0);
    ASSERT_EQ(onHighlight, offHighlight + 2);

    std::vector<const evProjectorMouseAction*> sound;
    for (const auto* action : Members<evProjectorMouseAction>(page->GetMouseActions())) {
        if (action->GetRect().Top == kSoundRect.Top && action->GetRect().Left == kSoundRect.Left)
            sound.push_back(action);
    }
    ASSERT_EQ(sound.size(), 2u);
    EXPECT_EQ(sound[0]->GetType(), 1);
    EXPECT_EQ(sound[0]->GetFirstElement(), offHighlight);
    EXPECT_EQ(sound[0]->GetSecondElement(), offHighlight + 1);
    EXPECT_EQ(sound[1]->GetFirstElement(), onHighlight);
    EXPECT_EQ(sound[1]->GetSecondElement(), onHighlight + 1);
    EXPECT_EQ(sound[0]->GetRect(), sound[1]->GetRect());

    EXPECT_EQ(TargetAt(*page, kSoundRect), evProjectorPage::kTargetSound);
    for (const auto* navi : Members<evProjectorNaviAction>(page->GetNaviActions())) {
        if (navi->GetTarget() == evProjectorPage::kTargetSound) {
            EXPECT_EQ(navi->GetFirstElement(), onHighlight + 1);
            EXPECT_EQ(navi->GetSecondElement(), onHighlight + 2);
        }
    }
}

TEST_F(ActionDrawTest, ChapterMenuClickAreasMatchTheChapters)
{
    for (const std::string menuText : {"space2", ""}) {
        SCOPED_TRACE("menu text '" + menuText + "'");
        auto project = MakeAlbum(menuText);
        const auto page = PageOf(*project->GetFirstCategory());
        const auto paragraphs = MouseActionsInside(*page, kMenuRect);
        ASSERT_EQ(paragraphs.size(), 2u); // Chapter one and Chapter three; Skipped is not selected
        EXPECT_EQ(TargetAt(*page, paragraphs[0]->GetRect()), 1);
        EXPECT_EQ(TargetAt(*page, paragraphs[1]->GetRect()), 3);
        const TRect first = paragraphs[0]->GetRect();
        const TRect second = paragraphs[1]->GetRect();
        EXPECT_EQ(first.Top, kMenuRect.Top);
        if (menuText == "space2")
            EXPECT_GE(second.Top - first.Bottom, first.Height()); // an empty line between the chapters
        else
            EXPECT_EQ(second.Top, first.Bottom);
        auto* label = dynamic_cast<evUserTextfield*>(project->GetDesign()->FindByID(FieldId(10, 4)));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->GetText(), menuText);
    }
}

TEST_F(ActionDrawTest, ChapterMenuOfAPageWithoutChaptersIsEmpty)
{
    auto project = MakeAlbum();
    evCategory* menu = PageOrder(*project)[4];
    const auto page = PageOf(*menu);
    EXPECT_TRUE(MouseActionsInside(*page, kMenuRect).empty());
    const int32_t snapshot = IndexAt(*page, kMenuRect.Left, kMenuRect.Top, 0);
    ASSERT_GE(snapshot, 0);
    EXPECT_TRUE(IsUniform(*page->GetElements().GetItemAs<evProjectorPageElement>(snapshot)));

    evCategory* chapterOne = PageOrder(*project)[1];
    const auto withSection = PageOf(*chapterOne);
    const auto paragraphs = MouseActionsInside(*withSection, kMenuRect);
    ASSERT_EQ(paragraphs.size(), 1u);
    EXPECT_EQ(TargetAt(*withSection, paragraphs[0]->GetRect()), 2);
}

TEST_F(ActionDrawTest, SlideShowMakesOneSlidePerPhotograph)
{
    auto project = MakeAlbum();
    evCategory* slides = AddTopPage(*project, "Slides", 12);
    const int32_t filed = ActionId(12, 1);
    for (TColor colour : {kRed, kGreen, kBlue})
        slides->AddUserElement(filed, SolidPicture(40, 30, colour));
    const auto page = PageOf(*slides);
    EXPECT_EQ(page->GetPageType(), 1);
    EXPECT_EQ(page->GetSlideInterval(), 2500);
    std::vector<const evProjectorPageElement*> slideElements;
    for (const auto* element : Members<evProjectorPageElement>(page->GetElements())) {
        if (element->GetKind() == 3)
            slideElements.push_back(element);
    }
    ASSERT_EQ(slideElements.size(), 3u);
    const TColor expected[] = {kRed, kGreen, kBlue};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(slideElements[i]->Rect(), Rect(20, 20, 100, 80));
        EXPECT_NEAR_COLOUR(CentreColour(*slideElements[i]), expected[i]);
    }
    for (const auto* entry : Members<evCategoryEntry>(slides->GetUserElements()))
        EXPECT_EQ(entry->GetSlotID(), filed);
}

TEST_F(ActionDrawTest, FilmStripRepeatsItsThumbnailsAcrossTheWindowAndDoublesTheStrip)
{
    auto project = MakeAlbum();
    evCategory* film = AddTopPage(*project, "Film", 13);
    film->AddUserElement(ActionId(13, 1), SolidPicture(60, 40, kRed));
    film->AddUserElement(ActionId(13, 1), SolidPicture(60, 40, kBlue));
    const auto page = PageOf(*film);

    const evProjectorSliderElement* slider = nullptr;
    int32_t sliderIndex = -1;
    for (int32_t i = 0; i < page->GetElements().Count(); ++i) {
        if (auto* found = page->GetElements().GetItemAs<evProjectorSliderElement>(i)) {
            slider = found;
            sliderIndex = i;
        }
    }
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetKind(), 2);
    EXPECT_EQ(slider->GetWindow(), Rect(10, 200, 210, 220));
    EXPECT_EQ(slider->GetItemWidth(), 30);
    EXPECT_EQ(slider->GetItemHeight(), 20);
    EXPECT_EQ(slider->GetSpeed(), 40);
    EXPECT_EQ(slider->GetDirection(), 0);

    // Two thumbnails of 30 pixels reach the 200 pixels of the window four times: 8 thumbnails, doubled.
    const Bitmap& strip = slider->GetStrip();
    ASSERT_EQ(strip.Width(), 480);
    ASSERT_EQ(strip.Height(), 20);
    for (int x = 0; x < 240; ++x) {
        for (int y = 0; y < 20; ++y)
            ASSERT_EQ(strip.Pixel(x, y), strip.Pixel(x + 240, y)) << x << "," << y;
    }
    for (int cell = 0; cell < 16; ++cell)
        EXPECT_NEAR_COLOUR(strip.Pixel(cell * 30 + 15, 10), cell % 2 == 0 ? kRed : kBlue);

    const auto items = Members<evProjectorPageElement>(slider->GetItems());
    ASSERT_EQ(items.size(), 8u);
    const auto pictures = Members<evCategoryEntry>(film->GetUserElements());
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i]->GetX(), 100);
        EXPECT_EQ(items[i]->GetY(), 100);
        EXPECT_EQ(items[i]->GetKind(), 0);
        const auto* photo = dynamic_cast<const evPicture*>(pictures[i % 2]->GetElement());
        EXPECT_EQ(items[i]->GetPicture().Bytes(), photo->GetImageStream()) << i;
    }
    const auto cursorAreas = MouseActionsInside(*page, slider->GetWindow());
    ASSERT_EQ(cursorAreas.size(), 1u);
    EXPECT_EQ(cursorAreas[0]->GetType(), 2);
    EXPECT_EQ(cursorAreas[0]->GetFirstElement(), 0);
    EXPECT_EQ(cursorAreas[0]->GetRect(), slider->GetWindow());
    EXPECT_GE(sliderIndex, 0);
}

TEST_F(ActionDrawTest, FilmStripWithoutPhotographsAddsNothing)
{
    auto project = MakeAlbum();
    const auto page = PageOf(*AddTopPage(*project, "Film", 13));
    EXPECT_EQ(page->GetElements().Count(), 0);
    EXPECT_EQ(page->GetMouseActions().Count(), 0);
}

TEST_F(ActionDrawTest, EnlargeOnHoverShowsTheSamePhotographLargeAsHoverImage)
{
    auto project = MakeAlbum();
    evCategory* enlarge = AddTopPage(*project, "Enlarge", 14);
    enlarge->AddUserElement(FieldId(14, 1), SolidPicture(80, 60, kGreen));
    const auto page = PageOf(*enlarge);
    const int32_t large = page->GetElements().Count() - 1;
    const auto* element = page->GetElements().GetItemAs<evProjectorPageElement>(large);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->GetKind(), 1);
    EXPECT_EQ(element->Rect(), Rect(100, 50, 260, 170));
    EXPECT_NEAR_COLOUR(CentreColour(*element), kGreen);

    ASSERT_EQ(page->GetMouseActions().Count(), 1);
    const auto* hover = page->GetMouseActions().GetItemAs<evProjectorMouseAction>(0);
    EXPECT_EQ(hover->GetType(), 0);
    EXPECT_EQ(hover->GetRect(), Rect(10, 10, 50, 40));
    EXPECT_EQ(hover->GetFirstElement(), large);
    EXPECT_EQ(KindsAt(*page, 10, 10), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(enlarge->GetUserElements().GetItemAs<evCategoryEntry>(0)->GetSlotID(), FieldId(14, 1));
}

TEST_F(ActionDrawTest, ExtraPictureDrawsTheEntryFiledUnderTheActionThroughTheSlot)
{
    auto project = MakeAlbum();
    evCategory* extra = AddTopPage(*project, "Extra", 15);
    extra->AddUserElement(ActionId(15, 1), SolidPicture(50, 50, kBlue));
    const auto page = PageOf(*extra);
    ASSERT_EQ(page->GetElements().Count(), 1);
    const auto* element = page->GetElements().GetItemAs<evProjectorPageElement>(0);
    EXPECT_EQ(element->Rect(), Rect(30, 30, 80, 80));
    EXPECT_NEAR_COLOUR(CentreColour(*element), kBlue);
    EXPECT_EQ(page->GetMouseActions().Count(), 0);
    EXPECT_EQ(extra->GetUserElements().GetItemAs<evCategoryEntry>(0)->GetSlotID(), ActionId(15, 1));
}

TEST_F(ActionDrawTest, LabelsShowTitleNamesAndDateAndKeepOrDropTheirOwnText)
{
    auto project = MakeAlbum();
    evCategory* labels = AddTopPage(*project, "My title", 16);
    const auto page = PageOf(*labels);
    for (int y : {10, 50, 90}) {
        const int32_t index = IndexAt(*page, 10, y, 0);
        ASSERT_GE(index, 0) << y;
        EXPECT_FALSE(IsUniform(*page->GetElements().GetItemAs<evProjectorPageElement>(index))) << y;
    }
    evLayout& design = *project->GetDesign();
    auto text = [&](int n) { return dynamic_cast<evUserTextfield&>(*design.FindByID(FieldId(16, n))).GetText(); };
    EXPECT_EQ(text(1), "");
    EXPECT_EQ(text(2), "Names");
    EXPECT_EQ(text(3), "Date");
    EXPECT_EQ(text(4), "Own");
    EXPECT_EQ(page->GetMouseActions().Count(), 0);
    EXPECT_EQ(page->GetNaviActions().Count(), 0);
}

TEST_F(ActionDrawTest, ElementsWithoutSlotsOrOfOtherTypesAddOnlyWhatTheirTypeNeedsNoLookups)
{
    auto project = MakeAlbum();
    evPageLayout& layout = *AddPageLayout(*project->GetDesign(), 20, 4);
    AddSlot(layout, 1, Rect(0, 0, 40, 40));
    // Stored before slots existed: version 0 reads no slots, so these have none to draw.
    for (int32_t type : {atEnlargeOnHover, atFilmStrip, atExtraPicture}) {
        MemoryStream stream;
        WriteHeader(stream, 0, ActionId(20, type));
        stream.WriteString("old");
        for (int32_t value : {0, 0, 40, 40, type})
            stream.WriteInt32(value);
        stream.SetPosition(0);
        layout.AddActionElement(std::make_unique<evActionElement>(stream, nullptr));
    }
    AddAction(layout, 1, atEnd, Rect(1, 2, 3, 4));
    AddAction(layout, 2, atStudioIntro, Rect(0, 0, 40, 40), {.first = 1});
    AddAction(layout, 3, 99, Rect(0, 0, 40, 40), {.first = 1});
    AddAction(layout, 4, atExit, Rect(5, 6, 7, 8), {.label = 9}); // its label names no entry
    evCategory* old = AddTopPage(*project, "Old", 20);
    for (int32_t type : {atEnlargeOnHover, atFilmStrip, atExtraPicture})
        old->AddUserElement(ActionId(20, type), SolidPicture(8, 8, kRed));

    const auto page = PageOf(*old);
    EXPECT_EQ(page->GetElements().Count(), 0);
    EXPECT_EQ(page->GetMouseActions().Count(), 0);
    EXPECT_EQ(TargetAt(*page, Rect(1, 2, 3, 4)), -1);
    EXPECT_EQ(TargetAt(*page, Rect(5, 6, 7, 8)), 5);
    EXPECT_EQ(page->GetNaviActions().Count(), 2);
}

TEST_F(ActionDrawTest, PageLayoutPreviewsWithoutAPageOrCategoryDrawEveryType)
{
    auto project = MakeAlbum();
    evObjectCollection& layouts = project->GetDesign()->GetPageLayouts();
    for (int32_t i = 0; i < layouts.Count(); ++i) {
        evPageLayout* layout = layouts.GetItemAs<evPageLayout>(i);
        EXPECT_NO_THROW(layout->RenderPreview()) << layout->GetName();
    }
    // The preview of a category draws the same things without a page.
    for (evCategory* category : PageOrder(*project))
        EXPECT_TRUE(category->Render(nullptr, true));
}
