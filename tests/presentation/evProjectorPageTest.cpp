// The page viewer on a control without a display: what each kind draws, hover images, highlights, the cursor,
// clicks and their targets, the sound button, and slide shows with their timer (across midnight) and fades.
#include "model/evProjectorPage.h"
#include "FakeViewerControl.h"
#include "ViewerPageParts.h"
#include "model/evFade.h"
#include "model/evObjectCollection.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int32_t AddImage(evProjectorPage& page, int x, int y, int size, TColor colour, int32_t kind)
{
    return AddPicture(page, x, y, size, size, colour, kind);
}

int32_t AddBackground(evProjectorPage& page) { return AddPicture(page, 0, 0, 40, 30, kGrey, 0); }

class PageViewerTest : public ::testing::Test {
protected:
    void TearDown() override { evFade::Allow(); }

    ViewerCallbacks Callbacks()
    {
        ViewerCallbacks callbacks;
        callbacks.goToTarget = [this](int32_t target) { targets.push_back(target); };
        callbacks.toggleSound = [this] {
            soundOn = !soundOn;
            ++toggles;
        };
        callbacks.isSoundOn = [this] { return soundOn; };
        return callbacks;
    }

    void Start(evProjectorPage& page, const ViewerOverlay* overlay = nullptr)
    {
        page.Start(control, overlay, Callbacks());
    }

    void ClickAt(evProjectorPage& page, int32_t x, int32_t y)
    {
        control.pointer = TPoint{x, y};
        page.Click();
    }

    int32_t At(int x, int y) const { return control.picture.Pixel(x, y); }

    FakeClock clock{1000};
    FakeViewerControl control{40, 30};
    bool soundOn = true;
    int toggles = 0;
    std::vector<int32_t> targets;
};

} // namespace

TEST_F(PageViewerTest, TypeZeroShowsItsKindOneImageAndKeepsTheLastOne)
{
    evProjectorPage page;
    AddBackground(page);
    const int32_t first = AddImage(page, 20, 0, 8, kRed, 1);
    const int32_t second = AddImage(page, 20, 0, 8, kBlue, 1);
    AddMouse(page, TRect{0, 0, 4, 4}, 0, second);
    AddMouse(page, TRect{10, 10, 14, 14}, 0, first);
    Start(page);
    // Without a hover the first kind-1 image is the one shown.
    EXPECT_EQ(page.GetShownIndex(), first);
    EXPECT_TRUE(Near(At(21, 1), kRed));

    page.MouseMove(4, 4); // the corner of the area is inside
    EXPECT_EQ(control.cursor, ViewerCursor::HandPoint);
    EXPECT_EQ(page.GetHoverIndex(), second);
    EXPECT_EQ(page.GetShownIndex(), second);
    EXPECT_TRUE(Near(At(21, 1), kBlue));

    page.MouseMove(30, 20);
    EXPECT_EQ(control.cursor, ViewerCursor::Default);
    EXPECT_EQ(page.GetHoverIndex(), -1);
    EXPECT_EQ(page.GetShownIndex(), second);
    EXPECT_TRUE(Near(At(21, 1), kBlue));

    page.MouseMove(12, 12);
    EXPECT_TRUE(Near(At(21, 1), kRed));
}

TEST_F(PageViewerTest, TypeOneDrawsTheHighlightOnceAndThePlainImageOnLeaving)
{
    evProjectorPage page;
    AddBackground(page);
    const int32_t plain = AddImage(page, 5, 5, 6, kGreen, 0);
    const int32_t highlight = AddImage(page, 5, 5, 6, kRed, 2);
    AddMouse(page, TRect{5, 5, 10, 10}, 1, highlight, plain);
    AddMouse(page, TRect{20, 20, 30, 30}, 2, 0);
    Start(page);
    EXPECT_TRUE(Near(At(6, 6), kGreen));

    page.MouseMove(10, 10);
    EXPECT_TRUE(Near(At(6, 6), kRed));
    EXPECT_EQ(control.cursor, ViewerCursor::HandPoint);
    ASSERT_NE(page.GetHoverAction(), nullptr);
    const int changes = control.changes;
    page.MouseMove(7, 7);
    EXPECT_EQ(control.changes, changes);

    page.MouseMove(11, 10); // just right of the area
    EXPECT_TRUE(Near(At(6, 6), kGreen));
    EXPECT_EQ(page.GetHoverAction(), nullptr);
    EXPECT_EQ(control.cursor, ViewerCursor::Default);

    // Straight from a highlight into a cursor-only area: the highlight goes.
    page.MouseMove(6, 6);
    page.MouseMove(20, 20);
    EXPECT_TRUE(Near(At(6, 6), kGreen));
    EXPECT_EQ(control.cursor, ViewerCursor::HandPoint);
}

TEST_F(PageViewerTest, ClickGoesToTheFirstNavigationActionUnderThePointer)
{
    evProjectorPage page;
    AddBackground(page);
    AddNavi(page, TRect{0, 0, 9, 9}, 3);
    AddNavi(page, TRect{5, 5, 15, 15}, 7);
    AddNavi(page, TRect{30, 20, 39, 29}, 1000); // beyond the presentation: the host decides
    Start(page);
    ClickAt(page, 9, 9);
    ClickAt(page, 10, 10);
    ClickAt(page, 20, 5);
    ClickAt(page, 39, 29);
    ClickAt(page, 0, 0);
    EXPECT_EQ(targets, (std::vector<int32_t>{3, 7, 1000, 3}));
    EXPECT_EQ(toggles, 0);
    EXPECT_TRUE(Near(At(20, 5), kGrey)); // nothing was cleared
}

TEST_F(PageViewerTest, SoundButtonTogglesAndHighlightsTheVisibleLook)
{
    // As the sound button is built: "Sound off" (highlight, plain) as kind 5, then "Sound on" as kind 4, two
    // highlight actions over one rectangle, and the navigation action with target -2.
    evProjectorPage page;
    AddBackground(page);
    const int32_t offHighlight = AddImage(page, 5, 5, 6, kRed, 5);
    const int32_t offPlain = AddImage(page, 5, 5, 6, kBlue, 5);
    const int32_t onHighlight = AddImage(page, 5, 5, 6, kYellow, 4);
    const int32_t onPlain = AddImage(page, 5, 5, 6, kGreen, 4);
    AddMouse(page, TRect{5, 5, 10, 10}, 1, offHighlight, offPlain);
    AddMouse(page, TRect{5, 5, 10, 10}, 1, onHighlight, onPlain);
    AddNavi(page, TRect{5, 5, 10, 10}, evProjectorPage::kTargetSound);
    Start(page);
    EXPECT_TRUE(Near(At(6, 6), kGreen));

    page.MouseMove(6, 6);
    EXPECT_TRUE(Near(At(6, 6), kYellow));

    ClickAt(page, 6, 6);
    EXPECT_EQ(toggles, 1);
    EXPECT_FALSE(soundOn);
    EXPECT_TRUE(targets.empty());
    EXPECT_TRUE(Near(At(6, 6), kRed));
    EXPECT_EQ(page.GetHoverAction(), page.GetMouseActions().GetItem(0));

    page.MouseMove(20, 20);
    EXPECT_TRUE(Near(At(6, 6), kBlue));
}

TEST_F(PageViewerTest, SlidesChangeAfterTheIntervalAndFadeIn)
{
    evProjectorPage page;
    page.SetPageType(1);
    page.SetSlideInterval(1000);
    AddBackground(page);
    AddImage(page, 10, 10, 6, kRed, 3);
    AddImage(page, 10, 10, 6, kGreen, 3);
    AddImage(page, 10, 10, 6, kBlue, 3);
    Start(page);
    FakeViewerTimer* timer = control.TimerOf(evProjectorPage::kSlideTimerMs);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->enabled);
    EXPECT_EQ(page.GetSlideCount(), 3);
    EXPECT_TRUE(Near(At(12, 12), kRed));
    EXPECT_TRUE(Near(At(2, 2), kGrey));

    clock.Set(2000); // exactly the interval: not yet
    ASSERT_TRUE(control.Fire(evProjectorPage::kSlideTimerMs));
    EXPECT_EQ(page.GetCurrentSlide(), 0);
    clock.Set(2001);
    ASSERT_TRUE(control.Fire(evProjectorPage::kSlideTimerMs));
    EXPECT_EQ(page.GetCurrentSlide(), 1);
    EXPECT_TRUE(timer->enabled);
    // The new slide fades in over a second; the control still shows the old one until the fade ticks.
    ASSERT_NE(evFade::Running(), nullptr);
    EXPECT_TRUE(Near(At(12, 12), kRed));
    clock.Set(2501);
    control.Fire(evFade::kTickMs);
    EXPECT_TRUE(Near(At(12, 12), RGBColor(128, 128, 0), 30));
    clock.Set(3001);
    control.Fire(evFade::kTickMs);
    EXPECT_TRUE(Near(At(12, 12), kGreen));
    EXPECT_TRUE(Near(At(2, 2), kGrey));
}

TEST_F(PageViewerTest, SlidesAdvanceAcrossMidnightAndWrap)
{
    evProjectorPage page;
    page.SetPageType(1);
    page.SetSlideInterval(1000);
    AddImage(page, 0, 0, 4, kRed, 3);
    AddImage(page, 0, 0, 4, kGreen, 3);
    clock.Set(Clock::kDayMilliseconds - 300);
    Start(page);
    clock.Set(500); // 800 ms later
    control.Fire(evProjectorPage::kSlideTimerMs);
    EXPECT_EQ(page.GetCurrentSlide(), 0);
    clock.Set(701); // 1001 ms later
    control.Fire(evProjectorPage::kSlideTimerMs);
    EXPECT_EQ(page.GetCurrentSlide(), 1);
    clock.Set(1702);
    control.Fire(evProjectorPage::kSlideTimerMs);
    EXPECT_EQ(page.GetCurrentSlide(), 0);
}
