#include "platform/PanelScale.h"

#include <gtest/gtest.h>

namespace {

const QSize kPanel(1024, 768);

TEST(PanelScaleTest, ThePanelFillsTheLargestAreaThatKeepsItsProportions)
{
    const struct {
        QSize screen;
        PanelFit fit;
        double scale;
        QRect area;
    } cases[] = {
        {{1024, 768}, PanelFit::GrowOnly, 1.0, {0, 0, 1024, 768}},
        {{1280, 1024}, PanelFit::GrowOnly, 1.25, {0, 32, 1280, 960}},
        {{3840, 2160}, PanelFit::GrowOnly, 2.8125, {480, 0, 2880, 2160}},
        {{1920, 1200}, PanelFit::GrowOnly, 1.5625, {160, 0, 1600, 1200}},
        // Smaller screens: the program's panel keeps its size (centred, cut off); the player's page shrinks.
        {{800, 600}, PanelFit::GrowOnly, 1.0, {-112, -84, 1024, 768}},
        {{800, 600}, PanelFit::GrowAndShrink, 0.78125, {0, 0, 800, 600}},
        {{1024, 700}, PanelFit::GrowAndShrink, 700.0 / 768, {45, 0, 933, 700}},
        {{0, 0}, PanelFit::GrowAndShrink, 1.0, {0, 0, 1024, 768}},
    };
    for (const auto& c : cases) {
        const PanelPlacement placement = PlacePanel(c.screen, kPanel, c.fit);
        EXPECT_DOUBLE_EQ(placement.scale, c.scale) << c.screen.width() << "x" << c.screen.height();
        EXPECT_EQ(placement.area, c.area) << c.screen.width() << "x" << c.screen.height();
    }
}

TEST(PanelScaleTest, AClickOnTheScreenLandsOnThePanelPixelShownThere)
{
    const struct {
        QSize screen;
        QPointF click;
        QPoint panel;
    } cases[] = {
        {{1024, 768}, {0, 0}, {0, 0}},
        {{1536, 1152}, {1.4, 1.6}, {0, 1}},
        {{1536, 1152}, {1535, 1151}, {1023, 767}},
        {{2048, 1536}, {2, 3}, {1, 1}},
        {{3840, 2160}, {480, 0}, {0, 0}},
        {{3840, 2160}, {3359, 2159}, {1023, 767}},
        {{3840, 2160}, {480 + 2.8125 * 100, 2.8125 * 200}, {100, 200}},
        {{3840, 2160}, {480 + 2.8125 * 100 - 0.01, 2.8125 * 200 - 0.01}, {99, 199}},
        // Beside the panel: outside it on either side.
        {{3840, 2160}, {479, 10}, {-1, 3}},
        {{3840, 2160}, {3360, 10}, {1024, 3}},
        {{800, 600}, {0, 0}, {112, 84}},
    };
    for (const auto& c : cases) {
        const PanelPlacement placement = PlacePanel(c.screen, kPanel, PanelFit::GrowOnly);
        EXPECT_EQ(ToPanel(placement, c.click), c.panel)
            << c.screen.width() << "x" << c.screen.height() << " at " << c.click.x() << "," << c.click.y();
    }
}

} // namespace
