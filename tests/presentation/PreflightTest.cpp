#include "presentation/Preflight.h"
#include "FinishTestAlbum.h"
#include "model/evPicture.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace finishtest;

namespace {

// Page layouts added to the finish test design:
//   20  Back and Next only (no chapter menu)     21  one free picture slot of 100 x 80 and a free text "Sample"
constexpr int32_t kPlainLayout = 20;
constexpr int32_t kFreeLayout = 21;
constexpr int32_t kEnlargeLayout = 14;
constexpr int32_t kSlideLayout = 12;

void AddTestLayouts(evLayout& design)
{
    evPageLayout& plain = *AddPageLayout(design, kPlainLayout, 2);
    AddLabel(plain, 1, kBackRect);
    AddAction(plain, 1, atBack, kBackRect, {.label = 1});
    AddAction(plain, 2, atNextSibling, kNextRect);

    evPageLayout& free = *AddPageLayout(design, kFreeLayout, 2);
    AddSlot(free, 1, Rect(10, 10, 110, 90), 0);
    AddLabel(free, 2, Rect(120, 10, 300, 90), "Sample\r\n", 0);
    AddLabel(free, 3, kBackRect);
    AddAction(free, 1, atBack, kBackRect, {.label = 3});
    AddAction(free, 2, atNextSibling, kNextRect);
}

std::unique_ptr<evProject> Album(std::unique_ptr<evCategory> first)
{
    auto project = std::make_unique<evProject>("Anna", "Ben", 38000.0, "Finish Test.evl", std::move(first));
    auto design = MakeDesign();
    AddTestLayouts(*design);
    project->SetDesign(std::move(design));
    return project;
}

std::unique_ptr<evUserTextfield> UserText(const std::string& text)
{
    return std::make_unique<evUserTextfield>("own", text, "DejaVu Sans", 0, 10, false, false, false, 0, 180, 80);
}

std::unique_ptr<evPicture> DamagedPicture()
{
    MemoryStream bytes;
    const std::string garbage = "\xFF\xD8\xFF\xE0 this is not a photograph";
    bytes.WriteBuffer(garbage.data(), static_cast<int64_t>(garbage.size()));
    bytes.SetPosition(0);
    return std::make_unique<evPicture>("slot1", bytes, 0, 100, 80);
}

// A page of the free layout with the photograph given (or one that fits) and a text of the user's.
std::unique_ptr<evCategory> FilledPage(const std::string& title, std::unique_ptr<evPicture> photograph = nullptr,
                                       const std::string& text = "Our own words")
{
    auto page = Page(title, kFreeLayout);
    page->AddUserElement(FieldId(kFreeLayout, 1), photograph ? std::move(photograph) : SolidPicture(100, 80, 0));
    page->AddUserElement(FieldId(kFreeLayout, 2), UserText(text));
    return page;
}

std::vector<std::string> Lines(const std::vector<PreflightFinding>& findings)
{
    std::vector<std::string> lines;
    for (const PreflightFinding& finding : findings)
        lines.push_back(finding.pagePath + " | " + PreflightKindName(finding.kind));
    return lines;
}

struct AlbumCase {
    const char* name;
    std::function<void(evCategory& welcome)> addPages; // below the top page "Welcome"
    std::vector<std::string> expected;                 // "path | kind", in the order reported
};

} // namespace

TEST(PreflightTest, FindsWhatTheDiscWouldHideOrShowUnfinished)
{
    const AlbumCase cases[] = {
        {"a complete album",
         [](evCategory& top) {
             top.AddChild(FilledPage("Ceremony"));
             top.AddChild(FilledPage("Party"));
         },
         {}},
        {"sub-pages under a layout without a chapter menu",
         [](evCategory& top) {
             auto chapter = FilledPage("Ceremony");
             chapter->SetPageLayoutID(kPlainLayout);
             chapter->AddChild(FilledPage("The bride"));
             chapter->AddChild(FilledPage("Rings"));
             top.AddChild(std::move(chapter));
         },
         // Rings can be reached from The bride only, which nothing reaches.
         {"Welcome / Ceremony / The bride | unreachable", "Welcome / Ceremony / Rings | unreachable"}},
        {"a chapter without a layout drops out with its sub-pages",
         [](evCategory& top) {
             auto chapter = Page("Ceremony", 0);
             chapter->AddChild(FilledPage("The bride"));
             top.AddChild(std::move(chapter));
             top.AddChild(FilledPage("Party"));
         },
         {"Welcome / Ceremony | no-layout"}},
        {"an unticked chapter is the user's choice",
         [](evCategory& top) {
             auto skipped = Page("Skipped", 0, 3, true);
             skipped->SetSelected(false);
             top.AddChild(std::move(skipped));
         },
         {}},
        {"a child without a title is left out of the menu",
         [](evCategory& top) { top.AddChild(FilledPage("")); },
         {"Welcome / (untitled page) | unreachable"}},
        {"a page layout that is not in the design",
         [](evCategory& top) { top.AddChild(Page("Lost", 99)); },
         {"Welcome / Lost | not-drawable"}},
        {"empty slot, sample text, emptied text",
         [](evCategory& top) {
             top.AddChild(Page("Nothing yet", kFreeLayout));
             top.AddChild(FilledPage("Sample kept", nullptr, " Sample"));
             top.AddChild(FilledPage("Emptied", nullptr, "\r\n"));
         },
         {"Welcome / Nothing yet | empty-picture", "Welcome / Nothing yet | template-text",
          "Welcome / Sample kept | template-text", "Welcome / Emptied | empty-text"}},
        {"photographs with too few pixels",
         [](evCategory& top) {
             top.AddChild(FilledPage("Small", SolidPicture(50, 40, 0)));
             // The enlarged picture is drawn at 160 x 120 from a photograph of the small slot's 40 x 30.
             auto enlarged = Page("Enlarged", kEnlargeLayout);
             enlarged->AddUserElement(FieldId(kEnlargeLayout, 1), SolidPicture(40, 30, 0));
             top.AddChild(std::move(enlarged));
             auto sharp = Page("Sharp", kEnlargeLayout);
             sharp->AddUserElement(FieldId(kEnlargeLayout, 1), SolidPicture(160, 120, 0));
             top.AddChild(std::move(sharp));
         },
         {"Welcome / Small | low-resolution", "Welcome / Enlarged | low-resolution"}},
        {"a slide show without photographs",
         [](evCategory& top) { top.AddChild(Page("Slides", kSlideLayout)); },
         {"Welcome / Slides | empty-slide-show"}},
        // Pages that link in a circle (a sub-page's Back leads to the chapter that lists it) end the walk like any
        // other link; a chapter without a menu still keeps its own sub-page from being reached.
        {"cycles end the walk",
         [](evCategory& top) {
             top.AddChild(Page("First", kPlainLayout));
             top.AddChild(Page("Second", kPlainLayout));
             auto island = Page("Island", kPlainLayout);
             island->AddChild(Page("Inside", kPlainLayout));
             top.AppendSibling(std::move(island)); // Welcome's Next leads here
         },
         {"Island / Inside | unreachable"}},
        // The page itself still renders, with the damaged mark in the photograph's place.
        {"a damaged photograph is found",
         [](evCategory& top) { top.AddChild(FilledPage("Broken", DamagedPicture())); },
         {"Welcome / Broken | damaged-picture"}},
    };
    for (const AlbumCase& test : cases) {
        SCOPED_TRACE(test.name);
        auto top = Page("Welcome", 10);
        test.addPages(*top);
        const auto project = Album(std::move(top));
        PreflightCheck check(*project);
        std::vector<int> progress;
        check.SetProgress([&progress](int percent) { progress.push_back(percent); });
        EXPECT_EQ(Lines(check.Run()), test.expected);
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), 100);
    }
}

// The project menu's check renders nothing: it finds the same content, but no unreachable or broken page.
TEST(PreflightTest, WithoutTheWalkNothingIsRendered)
{
    auto top = Page("Welcome", 10);
    auto chapter = Page("Ceremony", kPlainLayout);
    chapter->AddChild(Page("The bride", kFreeLayout));
    top->AddChild(std::move(chapter));
    const auto project = Album(std::move(top));
    PreflightCheck check(*project);
    check.SetWalkPages(false);
    bool reported = false;
    check.SetProgress([&reported](int) { reported = true; });
    EXPECT_EQ(Lines(check.Run()), (std::vector<std::string>{"Welcome / Ceremony / The bride | empty-picture",
                                                            "Welcome / Ceremony / The bride | template-text"}));
    EXPECT_FALSE(reported);
    EXPECT_TRUE(project->GetFirstCategory()->IsDirty()); // never rendered
}

TEST(PreflightTest, SeverityCountsAndLines)
{
    const std::vector<PreflightFinding> findings = {
        {"A / B", PreflightKind::Unreachable, "no click"},
        {"A\t/ C", PreflightKind::TemplateText, "the text\n\"x\""},
        {"A / D", PreflightKind::LowResolution, "soft"},
    };
    const PreflightCounts counts = CountFindings(findings);
    EXPECT_EQ(counts.cannotBeSeen, 1);
    EXPECT_EQ(counts.looksUnfinished, 2);
    EXPECT_EQ(findings[1].ToLine(), "A / C\ttemplate-text\tthe text \"x\"");
    EXPECT_EQ(PreflightSummary(findings), "1 cannot be seen, 2 look unfinished");
    EXPECT_EQ(PreflightSummary({}), "Nothing to finish: every page can be reached and is complete");
    EXPECT_EQ(SeverityOf(PreflightKind::NoLayout), PreflightSeverity::CannotBeSeen);
    EXPECT_EQ(SeverityOf(PreflightKind::EmptyCollection), PreflightSeverity::LooksUnfinished);
}

// The viewer takes the first action whose rectangle (edges included) holds the pointer, within its own area.
TEST(PreflightTest, ClickableTargetsFollowTheViewer)
{
    struct Action {
        TRect rect;
        int32_t target;
    };
    struct Case {
        const char* name;
        std::vector<Action> actions;
        std::vector<int32_t> expected;
    };
    const Case cases[] = {
        {"covered whole by an earlier one", {{{0, 0, 100, 100}, 1}, {{10, 10, 20, 20}, 2}}, {1}},
        {"covered by two earlier ones together",
         {{{0, 0, 10, 20}, 1}, {{11, 0, 20, 20}, 3}, {{5, 5, 15, 15}, 2}},
         {1, 3}},
        {"one free column left", {{{0, 0, 9, 20}, 1}, {{0, 0, 10, 20}, 2}}, {1, 2}},
        {"a later one under an earlier one stays reachable in its free part",
         {{{10, 10, 20, 20}, 1}, {{0, 0, 100, 100}, 2}},
         {1, 2}},
        {"outside the viewer", {{{1024, 0, 1100, 10}, 1}, {{-50, -50, -1, -1}, 2}, {{-50, -50, 0, 0}, 3}}, {3}},
        {"an empty rectangle", {{{10, 10, 5, 20}, 1}}, {}},
        {"the same target twice, and special targets",
         {{{0, 0, 5, 5}, 4}, {{6, 0, 9, 5}, 4}, {{0, 6, 5, 9}, -2}, {{6, 6, 9, 9}, -1}},
         {4, -2, -1}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        evProjectorPage page;
        for (const Action& action : test.actions)
            page.AddNaviAction(std::make_unique<evProjectorNaviAction>(action.rect, action.target));
        EXPECT_EQ(ClickableTargets(page, 1024, 768), test.expected);
    }
}

// Many overlapping areas from a damaged design end in bounded time.
TEST(PreflightTest, ManyOverlappingAreasEnd)
{
    evProjectorPage page;
    for (int i = 0; i < 400; ++i)
        page.AddNaviAction(std::make_unique<evProjectorNaviAction>(Rect(i, 400 - i, i + 300, 700 - i), i));
    const std::vector<int32_t> targets = ClickableTargets(page, 1024, 768);
    ASSERT_FALSE(targets.empty());
    EXPECT_EQ(targets.front(), 0);
}
