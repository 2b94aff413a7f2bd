// The page viewer on a control without a display: what each kind draws, hover images, highlights, the cursor,
// clicks and their targets, the sound button, slide shows with their timer and fades, the overlay, film strips
// and indexes that name nothing.
#include "FakeViewerControl.h"
#include "model/evObjectCollection.h"
#include "platform/Canvas.h"
#include "platform/Color.h"
#include "platform/Jpeg.h"
#include "presentation/evFade.h"
#include "presentation/evProjectorMouseAction.h"
#include "presentation/evProjectorNaviAction.h"
#include "presentation/evProjectorPage.h"
#include "presentation/evProjectorPageElement.h"
#include "presentation/evProjectorSliderElement.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr TColor kGrey = RGBColor(128, 128, 128);
constexpr TColor kRed = RGBColor(255, 0, 0);
constexpr TColor kGreen = RGBColor(0, 255, 0);
constexpr TColor kBlue = RGBColor(0, 0, 255);
constexpr TColor kYellow = RGBColor(255, 255, 0);

int32_t AddImage(evProjectorPage& page, int x, int y, int size, TColor colour, int32_t kind)
{
    return page.AddElement(
        std::make_unique<evProjectorPageElement>(x, y, JpegImage::FromBitmap(Solid(size, size, colour), 100), kind));
}

int32_t AddBackground(evProjectorPage& page)
{
    return page.AddElement(
        std::make_unique<evProjectorPageElement>(0, 0, JpegImage::FromBitmap(Solid(40, 30, kGrey), 100), 0));
}

void AddMouse(evProjectorPage& page, TRect rect, int32_t type, int32_t first, int32_t second = 0)
{
    page.AddMouseAction(std::make_unique<evProjectorMouseAction>(rect, type, first, second));
}

void AddNavi(evProjectorPage& page, TRect rect, int32_t target)
{
    page.AddNaviAction(std::make_unique<evProjectorNaviAction>(rect, target));
}

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

TEST_F(PageViewerTest, RenderDrawsEachKindByItsRule)
{
    evProjectorPage page;
    AddBackground(page);
    AddImage(page, 2, 2, 4, kGreen, 4);  // sound on
    AddImage(page, 2, 2, 4, kBlue, 5);   // sound off
    AddImage(page, 10, 2, 4, kRed, 2);   // highlight: only a mouse action shows it
    AddImage(page, 20, 2, 4, kRed, 3);   // a slide, but this is no slide show
    Start(page);
    EXPECT_EQ(control.cursor, ViewerCursor::Default);
    EXPECT_TRUE(Near(At(3, 3), kGreen));
    EXPECT_TRUE(Near(At(11, 3), kGrey));
    EXPECT_TRUE(Near(At(21, 3), kGrey));
    EXPECT_GT(control.changes, 0);

    soundOn = false;
    page.Render(control.picture.GetCanvas());
    EXPECT_TRUE(Near(At(3, 3), kBlue));
}

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

TEST_F(PageViewerTest, TypeTwoOnlyChangesTheCursor)
{
    evProjectorPage page;
    AddBackground(page);
    AddImage(page, 20, 20, 4, kRed, 1);
    AddMouse(page, TRect{20, 20, 30, 29}, 2, 1, 1);
    Start(page);
    const QImage before = control.picture.Image().copy();
    const int changes = control.changes;
    page.MouseMove(30, 29);
    EXPECT_EQ(control.cursor, ViewerCursor::HandPoint);
    EXPECT_EQ(page.GetHoverIndex(), -1);
    EXPECT_EQ(control.changes, changes);
    EXPECT_EQ(control.picture.Image(), before);
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

TEST_F(PageViewerTest, LeavingWithAHoverImageClearsTheControlFirst)
{
    evProjectorPage page;
    AddBackground(page);
    const int32_t hover = AddImage(page, 20, 0, 8, kRed, 1);
    AddMouse(page, TRect{0, 0, 9, 9}, 0, hover);
    AddMouse(page, TRect{0, 20, 9, 29}, 0, hover);
    AddNavi(page, TRect{0, 0, 9, 9}, 2);
    Start(page);
    int32_t seen = 0;
    ViewerCallbacks callbacks = Callbacks();
    callbacks.goToTarget = [&](int32_t target) {
        targets.push_back(target);
        seen = At(35, 25);
    };
    page.Start(control, nullptr, callbacks);
    ClickAt(page, 5, 5);
    EXPECT_EQ(targets, std::vector<int32_t>{2});
    EXPECT_EQ(seen, kColorWhite);

    // A click on a hover area that leads nowhere leaves the page as it is.
    page.Start(control, nullptr, Callbacks());
    ClickAt(page, 5, 25);
    EXPECT_EQ(page.GetHoverIndex(), hover);
    EXPECT_TRUE(Near(At(35, 25), kGrey));
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

    ClickAt(page, 10, 10);
    EXPECT_TRUE(soundOn);
    EXPECT_TRUE(Near(At(6, 6), kYellow));
    page.MouseMove(20, 20);
    EXPECT_TRUE(Near(At(6, 6), kGreen));
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

TEST_F(PageViewerTest, SlideShowWithoutSlidesKeepsItsTimer)
{
    evProjectorPage page;
    page.SetPageType(1);
    page.SetSlideInterval(100);
    AddBackground(page);
    Start(page);
    EXPECT_EQ(page.GetSlideCount(), 0);
    for (int i = 0; i < 5; ++i) {
        clock.Advance(150);
        ASSERT_TRUE(control.Fire(evProjectorPage::kSlideTimerMs));
        EXPECT_EQ(page.GetCurrentSlide(), 0);
    }
    EXPECT_TRUE(control.TimerOf(evProjectorPage::kSlideTimerMs)->enabled);
    EXPECT_EQ(evFade::Running(), nullptr);
    EXPECT_TRUE(Near(At(5, 5), kGrey));
}

TEST_F(PageViewerTest, OverlayAddsItsNavigationActionOnce)
{
    evProjectorPage page;
    AddBackground(page);
    AddNavi(page, TRect{0, 0, 4, 4}, evProjectorPage::kTargetSound);
    ViewerOverlay overlay{Solid(5, 5, kYellow), TPoint{30, 20}};
    Start(page, &overlay);
    EXPECT_EQ(page.GetNaviActions().Count(), 2);
    EXPECT_EQ(At(31, 21), kYellow);

    ClickAt(page, 2, 2); // renders again
    Start(page, &overlay);
    page.Render(control.picture.GetCanvas());
    EXPECT_EQ(page.GetNaviActions().Count(), 2);
    EXPECT_EQ(At(31, 21), kYellow);

    ClickAt(page, 35, 25);
    EXPECT_EQ(targets, std::vector<int32_t>{evProjectorPage::kTargetNone});

    Start(page);
    EXPECT_EQ(page.GetNaviActions().Count(), 1);
}

TEST_F(PageViewerTest, IndexesThatNameNothingDrawNothing)
{
    evProjectorPage page;
    AddBackground(page);
    // Something that is no page element where an element belongs, as a damaged file may hold it.
    page.GetElements().Add(std::make_unique<evProjectorNaviAction>(TRect{0, 0, 1, 1}, 0));
    AddMouse(page, TRect{0, 0, 9, 9}, 1, 99, -3);
    AddMouse(page, TRect{10, 0, 19, 9}, 0, 1);
    AddMouse(page, TRect{20, 0, 29, 9}, 0, 500);
    AddMouse(page, TRect{30, 0, 39, 9}, 7, -1, 1);
    AddNavi(page, TRect{0, 20, 9, 29}, -7);
    Start(page);
    const QImage before = control.picture.Image().copy();
    for (int x : {5, 15, 25, 35, 5})
        page.MouseMove(x, 5);
    page.MouseMove(5, 25);
    ClickAt(page, 5, 25);
    ClickAt(page, 25, 5);
    EXPECT_EQ(control.picture.Image(), before);
    EXPECT_EQ(targets, std::vector<int32_t>{-7});
}

TEST_F(PageViewerTest, FilmStripGetsTheControlAtTheFirstRendering)
{
    evProjectorPage page;
    AddBackground(page);
    auto items = std::make_unique<evObjectCollection>();
    items->Add(std::make_unique<evProjectorPageElement>(30, 20, JpegImage::FromBitmap(Solid(4, 4, kRed), 100), 0));
    auto* slider = new evProjectorSliderElement(TRect{0, 0, 8, 8}, 2, 100, std::move(items), 1, 8, 8,
                                                Solid(16, 8, kBlue));
    page.AddElement(std::unique_ptr<evProjectorPageElement>(slider));
    AddMouse(page, TRect{0, 0, 8, 8}, 2, 0);
    Start(page);
    EXPECT_TRUE(slider->IsAttached());
    EXPECT_EQ(slider->GetCurrentItem(), 0);
    EXPECT_TRUE(Near(At(31, 21), kRed));
    EXPECT_TRUE(Near(At(4, 4), kBlue));
    ASSERT_NE(control.TimerOf(evProjectorSliderElement::kTickMs), nullptr);
    page.Render(control.picture.GetCanvas());
    EXPECT_EQ(control.timers.size(), 1u);

    page.StopViewing();
    EXPECT_FALSE(slider->IsAttached());
    EXPECT_TRUE(control.timers.empty());
}

TEST_F(PageViewerTest, DestroyingTheViewedPageStopsTheFades)
{
    auto page = std::make_unique<evProjectorPage>();
    page->SetPageType(1);
    page->SetSlideInterval(10);
    AddImage(*page, 0, 0, 4, kRed, 3);
    AddImage(*page, 0, 0, 4, kGreen, 3);
    Start(*page);
    clock.Advance(20);
    control.Fire(evProjectorPage::kSlideTimerMs);
    ASSERT_TRUE(evFade::IsRunning());

    // A page that was never shown has no part in the fade.
    std::make_unique<evProjectorPage>().reset();
    EXPECT_TRUE(evFade::IsRunning());

    page.reset();
    EXPECT_EQ(evFade::Running(), nullptr);
    EXPECT_TRUE(evFade::IsBlocked());
    EXPECT_TRUE(control.timers.empty());
}
