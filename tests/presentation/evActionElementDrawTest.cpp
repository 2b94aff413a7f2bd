// Action elements turning album pages into presentation pages: page order and every navigation target, chapter
// menus, elements without slots or of other types, and the items of film strips.
#include "presentation/FinishTestAlbum.h"

#include "model/PageOrder.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace finishtest;

namespace {

constexpr int32_t kNone = -99;
constexpr TColor kRed = 0x000000E0;
constexpr TColor kGreen = 0x0000E000;

class ActionDrawTest : public TempFolderTest {
protected:
    std::unique_ptr<evProjectorPage> PageOf(evCategory& category)
    {
        auto page = category.CreatePresentationPage();
        EXPECT_FALSE(category.RenderFailed()) << category.GetTitle();
        return page;
    }

    static std::vector<evCategory*> IncludedPages(evProject& project)
    {
        std::vector<evCategory*> pages;
        PageOrder::Flatten(project.GetFirstCategory(), pages, true);
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
    for (const auto* element : Members<evProjectorPageElement>(page.GetElements()))
        if (element->GetX() == x && element->GetY() == y)
            kinds.push_back(element->GetKind());
    return kinds;
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

} // namespace

TEST_F(ActionDrawTest, ExitBackAndNextSiblingFollowThePageOrderAndExitNeedsAnEndPage)
{
    auto project = MakeAlbum();
    const std::vector<evCategory*> pages = IncludedPages(*project);
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

    // Without an end page (the last page of another kind) Exit leads nowhere.
    auto noEnd = MakeAlbum("space2", 3);
    for (evCategory* category : IncludedPages(*noEnd))
        EXPECT_EQ(TargetAt(*PageOf(*category), kExitRect), -1);
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

// A film strip's item shows the photograph at the second slot's place (100 x 80): as stored when it fits, reduced
// with its proportions when it is larger, as a photograph from a file the editors did not write can be.
TEST_F(ActionDrawTest, AFilmStripItemNeverOutgrowsItsSlot)
{
    auto project = MakeAlbum();
    evCategory* film = AddTopPage(*project, "Film", 13);
    auto fitting = SolidPicture(90, 60, kRed);
    const std::vector<uint8_t> stored = fitting->GetImageStream();
    film->AddUserElement(ActionId(13, 1), std::move(fitting));
    film->AddUserElement(ActionId(13, 1), SolidPicture(400, 200, kGreen));
    const auto page = PageOf(*film);
    std::vector<const evProjectorSliderElement*> strips;
    for (int32_t i = 0; i < page->GetElements().Count(); ++i)
        if (const auto* strip = page->GetElements().GetItemAs<evProjectorSliderElement>(i))
            strips.push_back(strip);
    ASSERT_EQ(strips.size(), 1u);
    const std::vector<evProjectorPageElement*> items = Members<evProjectorPageElement>(strips[0]->GetItems());
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[0]->GetPicture().Bytes(), stored);
    EXPECT_EQ(items[1]->GetPicture().Width(), 100);
    EXPECT_EQ(items[1]->GetPicture().Height(), 50);
    EXPECT_EQ(items[1]->GetX(), 100);
    EXPECT_EQ(items[1]->GetY(), 100);
}
