// The film strip at work: its timer, the movement either way (a horizontal strip backwards, a vertical one
// forwards) with the wrap at half the strip, the hover test with the window's edges, the drawing of the window,
// and strips that give nothing to divide by.
#include "model/evProjectorSliderElement.h"
#include "FakeViewerControl.h"
#include "ViewerPageParts.h"
#include "model/evObjectCollection.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

namespace {

// A strip of 32 x 8 (or 8 x 32) in four cells of 8: red, green, red, green, that is two items shown twice.
// The items are drawn at (40, 0) as 4 x 4 squares, red and blue.
std::unique_ptr<evProjectorSliderElement> MakeSlider(int32_t direction, int32_t speed, int32_t itemSize = 8)
{
    const bool horizontal = direction < 2;
    Bitmap strip = horizontal ? Solid(32, 8, kRed) : Solid(8, 32, kRed);
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x)
            if (((horizontal ? x : y) / 8) % 2 == 1)
                strip.SetPixel(x, y, kGreen);
    auto items = std::make_unique<evObjectCollection>();
    items->Add(Picture(40, 0, 4, 4, kRed, 0));
    items->Add(Picture(40, 0, 4, 4, kBlue, 0));
    return std::make_unique<evProjectorSliderElement>(TRect{2, 3, 10, 11}, 2, speed, std::move(items), direction,
                                                      itemSize, itemSize, strip);
}

class SliderTest : public ::testing::Test {
protected:
    // Attaches the slider at the clock's time and returns the 1 ms timer.
    FakeViewerTimer* Attach(evProjectorSliderElement& slider)
    {
        slider.Show(control, control.picture.GetCanvas());
        return control.TimerOf(evProjectorSliderElement::kTickMs);
    }

    FakeClock clock{5000};
    FakeViewerControl control{48, 16};
};

} // namespace

TEST_F(SliderTest, BothWaysMoveAndWrapAtHalfTheStrip)
{
    struct Case {
        int32_t direction;
        std::vector<int32_t> offsets; // after steps of 5, 5, 5, 5 pixels
    };
    const Case cases[] = {
        {0, {11, 6, 1, 16}}, // below 0: half the width
        {2, {5, 10, 15, 4}}, // beyond half: half subtracted
    };
    for (const Case& c : cases) {
        auto slider = MakeSlider(c.direction, 1000);
        Attach(*slider);
        for (int32_t expected : c.offsets) {
            clock.Advance(5);
            ASSERT_TRUE(control.Fire(evProjectorSliderElement::kTickMs));
            EXPECT_EQ(slider->GetOffset(), expected) << "direction " << c.direction;
            EXPECT_EQ(slider->GetLastTick(), clock.Now());
        }
        EXPECT_TRUE(control.TimerOf(evProjectorSliderElement::kTickMs)->enabled);
    }
}

TEST_F(SliderTest, TicksCountAcrossMidnightAndLongStepsStayInTheStrip)
{
    clock.Set(Clock::kDayMilliseconds - 4);
    auto slider = MakeSlider(1, 1000);
    Attach(*slider);
    clock.Set(3);
    control.Fire(evProjectorSliderElement::kTickMs);
    EXPECT_EQ(slider->GetOffset(), 7);

    // An hour without ticks: far more than the strip, and the offset still lands inside it.
    clock.Advance(3'600'000 + 2);
    control.Fire(evProjectorSliderElement::kTickMs);
    EXPECT_GE(slider->GetOffset(), 0);
    EXPECT_LE(slider->GetOffset(), 16);
    EXPECT_EQ(slider->GetOffset(), (7 + 3'600'002) % 16 == 0 ? 16 : (7 + 3'600'002) % 16);
}

TEST_F(SliderTest, HoverItemIndexIncludesTheEdgesAndWraps)
{
    auto slider = MakeSlider(0, 0);
    ASSERT_EQ(slider->GetOffset(), 16);
    EXPECT_EQ(slider->ItemAt(2, 3), 0);   // (0 + 16) / 8 = 2, minus 2 items
    EXPECT_EQ(slider->ItemAt(10, 11), 1); // right and bottom edge: (8 + 16) / 8 = 3
    EXPECT_EQ(slider->ItemAt(11, 5), -1);
    EXPECT_EQ(slider->ItemAt(5, 12), -1);
    EXPECT_EQ(slider->ItemAt(1, 5), -1);
    slider->SetOffset(0);
    EXPECT_EQ(slider->ItemAt(9, 5), 0);
    EXPECT_EQ(slider->ItemAt(10, 5), 1);

    auto vertical = MakeSlider(2, 0);
    vertical->SetOffset(12);
    EXPECT_EQ(vertical->ItemAt(5, 3), 1);  // (0 + 12) / 8
    EXPECT_EQ(vertical->ItemAt(5, 7), 0);  // (4 + 12) / 8 = 2, minus 2
    EXPECT_EQ(vertical->ItemAt(2, 11), 0); // left and bottom edge: (8 + 12) / 8 = 2
}
