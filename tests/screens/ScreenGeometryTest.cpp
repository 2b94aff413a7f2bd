#include "screens/ScreenGeometry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace G = Geometry;

namespace {

using Named = std::pair<const char*, G::ControlRect>;
// A control with its name, for the messages.
#define NAMED(rect) Named(#rect, rect)

bool Overlap(const G::ControlRect& a, const G::ControlRect& b)
{
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

void ExpectInside(const G::ControlRect& outer, const std::vector<Named>& controls)
{
    for (const auto& [name, rect] : controls)
        EXPECT_TRUE(outer.ContainsRect(rect)) << name;
}

// The pieces tile `area` exactly: together they cover it and none overlaps another.
void ExpectTiles(const G::ControlRect& area, const std::vector<Named>& pieces)
{
    for (size_t i = 0; i < pieces.size(); ++i)
        for (size_t j = i + 1; j < pieces.size(); ++j)
            EXPECT_FALSE(Overlap(pieces[i].second, pieces[j].second))
                << pieces[i].first << " overlaps " << pieces[j].first;
    ExpectInside(area, pieces);
    long covered = 0;
    for (const auto& piece : pieces)
        covered += long(piece.second.w) * piece.second.h;
    EXPECT_EQ(covered, long(area.w) * area.h);
}

} // namespace

TEST(ScreenGeometryTest, SplitBackgroundsTileTheirScreens)
{
    using namespace G::EditorCommon;
    ExpectTiles(G::EditLayout::imgBkg, {NAMED(imgBg1), NAMED(imgBg2), NAMED(imgBg3), NAMED(imgBg4), NAMED(imgPreview)});
    namespace IE = G::ImageEdit;
    ExpectTiles(G::Panel,
                {NAMED(IE::ImgBG1), NAMED(IE::ImgBG2), NAMED(IE::ImgBG3), NAMED(IE::ImgBG4), NAMED(IE::Image)});
    EXPECT_EQ(G::Timeline::Origin.Bottom(), cdrom.y);
    EXPECT_EQ(imgBg1.Bottom(), G::Timeline::Origin.y);
    EXPECT_EQ(G::Gallery::imgTimelineBG.Bottom(), G::PanelHeight);
}

// Centred to the pixel: a card of odd size lies half a pixel nearer one edge.
TEST(ScreenGeometryTest, CardsOnTheirOwnAreCentredOnThePanel)
{
    const G::ControlRect card = G::Imprint::ImgImprint;
    EXPECT_LE(std::abs(card.x * 2 + card.w - G::PanelWidth), 1) << card.x;
    EXPECT_LE(std::abs(card.y * 2 + card.h - G::PanelHeight), 1) << card.y;
}
