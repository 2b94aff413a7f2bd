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

TEST(ScreenGeometryTest, CoversLieExactlyOverWhatTheyCover)
{
    EXPECT_TRUE(G::EditPicture::imgNoScanner.ContainsRect(G::EditPicture::imgAddPicScan));
    EXPECT_TRUE(G::Gallery::ImgNoScanner.ContainsRect(G::Gallery::ImgBtnScan));
    EXPECT_TRUE(G::ProjectMenu::imgBtn_LabelKit.ContainsRect(G::ProjectMenu::imgLabelKitText));
    namespace N1 = G::NewProject1;
    namespace N2 = G::NewProject2;
    namespace N3 = G::NewProject3;
    namespace M = G::Music;
    // clang-format off
    ExpectInside(N3::imgBtn, {NAMED(N3::imgBtnNew), NAMED(N3::imgBtnNewSub), NAMED(N3::imgBtnEditName),
                              NAMED(N3::imgBtnRemove)});
    ExpectInside(M::imgBtn, {NAMED(M::imgBtnPlayStop), NAMED(M::imgSelectMusic), NAMED(M::imgBtnNoMusic),
                             NAMED(M::imgBtnCancel), NAMED(M::imgBtnAccept), NAMED(M::lblMusicFile)});
    // Buttons without pictures of their own are painted into the frame they lie on.
    ExpectInside(N2::imgCnt, {NAMED(N2::Image1), NAMED(N2::Image2), NAMED(N2::ImgUp), NAMED(N2::ImgDown),
                              NAMED(N2::imgLayoutPreview), NAMED(N2::ImgFullscreen)});
    ExpectInside(N3::imgCnt, {NAMED(N3::imgBtnOk), NAMED(N3::imgBtnCancel), NAMED(N3::imgBt), NAMED(N3::imgBb)});
    ExpectInside(M::imgCnt, {NAMED(M::ImgUp), NAMED(M::ImgDown)});
    ExpectInside(G::Finish::ImgBtn, {NAMED(G::Finish::ImgCancel), NAMED(G::Finish::ImgApply)});
    ExpectInside(N1::imgBtn, {NAMED(N1::ImgCancel), NAMED(N1::ImgApply)});
    ExpectInside(G::Imprint::ImgImprint, {NAMED(G::Imprint::ImgBtn)});
    ExpectInside(N1::imgFrm, {NAMED(N1::imgCalendar)});
    // clang-format on
}

// Centred to the pixel: a card of odd size lies half a pixel nearer one edge.
TEST(ScreenGeometryTest, CardsOnTheirOwnAreCentredOnThePanel)
{
    const G::ControlRect card = G::Imprint::ImgImprint;
    EXPECT_LE(std::abs(card.x * 2 + card.w - G::PanelWidth), 1) << card.x;
    EXPECT_LE(std::abs(card.y * 2 + card.h - G::PanelHeight), 1) << card.y;
}
