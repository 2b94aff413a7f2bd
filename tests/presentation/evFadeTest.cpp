// The cross-fade: levels over time (midnight included), the rounded mix of every channel, one fade at a time,
// Stop and Allow, and a fade ended from inside its own tick.
#include "model/evFade.h"
#include "FakeViewerControl.h"
#include "platform/Color.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

namespace {

// Old pixels: blue 200, green 0, red 100. New pixels: blue 0, green 200, red 50.
constexpr TColor kOld = RGBColor(100, 0, 200);
constexpr TColor kNew = RGBColor(50, 200, 0);

class evFadeTest : public ::testing::Test {
protected:
    void SetUp() override { evFade::Allow(); }
    void TearDown() override { evFade::Allow(); }

    FakeClock clock{1000};
    FakeViewerControl control{4, 3};
};

} // namespace

TEST_F(evFadeTest, TicksMixTheSnapshotWithTheNewPictureExactly)
{
    control.picture = Solid(4, 3, kOld);
    // Three columns, of which the last lies outside the control: it has nothing to fade from.
    ASSERT_TRUE(evFade::Start(control, 2, 1, Solid(3, 2, kNew), 1000));
    // The fade mixes from the snapshot taken at its start, not from what the control shows later.
    control.picture.SetPixel(2, 1, kColorWhite);
    FakeViewerTimer* timer = control.TimerOf(evFade::kTickMs);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->enabled);

    // No time has passed: the level stays 255 and nothing is drawn.
    ASSERT_TRUE(control.Fire(evFade::kTickMs));
    EXPECT_EQ(evFade::Running()->Level(), 255);
    EXPECT_EQ(control.changes, 0);
    EXPECT_EQ(control.picture.Pixel(2, 1), kColorWhite);

    clock.Advance(500);
    ASSERT_TRUE(control.Fire(evFade::kTickMs));
    EXPECT_EQ(evFade::Running()->Level(), 127);
    EXPECT_EQ(control.changes, 1);
    EXPECT_TRUE(timer->enabled);
    const TColor mixed = RGBColor(75, 100, 100); // from 74.90, 100.39 and 99.61: each channel rounded
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool target = x >= 2 && y >= 1;
            const TColor expected = target ? mixed : kOld;
            EXPECT_EQ(control.picture.Pixel(x, y), expected) << x << "," << y;
        }
    }

    clock.Advance(600);
    ASSERT_TRUE(control.Fire(evFade::kTickMs));
    EXPECT_EQ(evFade::Running()->Level(), 0);
    EXPECT_EQ(control.picture.Pixel(2, 1), kNew);
    EXPECT_EQ(control.picture.Pixel(3, 2), kNew);
    EXPECT_FALSE(timer->enabled);
    EXPECT_FALSE(evFade::IsRunning());
}

TEST_F(evFadeTest, ElapsedTimeCountsAcrossMidnight)
{
    clock.Set(Clock::kDayMilliseconds - 200);
    control.picture = Solid(4, 3, kOld);
    ASSERT_TRUE(evFade::Start(control, 0, 0, Solid(1, 1, kNew), 1000));
    clock.Set(300);
    ASSERT_TRUE(control.Fire(evFade::kTickMs));
    EXPECT_EQ(evFade::Running()->Level(), 127);
    EXPECT_EQ(control.picture.Pixel(0, 0), RGBColor(75, 100, 100));
}

TEST_F(evFadeTest, OneFadeAtATimeAndStopBlocksUntilAllow)
{
    const Bitmap picture = Solid(2, 2, kNew);
    EXPECT_FALSE(evFade::Start(control, 0, 0, Bitmap(), 1000));
    ASSERT_TRUE(evFade::Start(control, 0, 0, picture, 1000));
    EXPECT_TRUE(evFade::IsRunning());
    EXPECT_FALSE(evFade::Start(control, 1, 1, picture, 1000));

    // A finished fade gives way to the next one.
    clock.Advance(1000);
    control.Fire(evFade::kTickMs);
    EXPECT_FALSE(evFade::IsRunning());
    ASSERT_TRUE(evFade::Start(control, 1, 1, picture, 1000));

    evFade::Stop();
    EXPECT_EQ(evFade::Running(), nullptr);
    EXPECT_TRUE(control.timers.empty());
    EXPECT_TRUE(evFade::IsBlocked());
    EXPECT_FALSE(evFade::Start(control, 0, 0, picture, 1000));

    evFade::Allow();
    EXPECT_FALSE(evFade::IsBlocked());
    ASSERT_TRUE(evFade::Start(control, 0, 0, picture, 1000));
    // Allow also ends the running fade, so a new one may always start after it.
    evFade::Allow();
    EXPECT_EQ(evFade::Running(), nullptr);
    EXPECT_TRUE(evFade::Start(control, 0, 0, picture, 1000));
}
