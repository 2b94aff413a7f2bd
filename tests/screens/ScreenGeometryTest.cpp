#include "screens/ScreenGeometry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace G = Geometry;

namespace {

using Named = std::pair<const char*, G::ControlRect>;

bool Overlap(const G::ControlRect& a, const G::ControlRect& b)
{
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

void ExpectDisjoint(const std::vector<Named>& controls)
{
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(Overlap(controls[i].second, controls[j].second))
                << controls[i].first << " overlaps " << controls[j].first;
}

void ExpectInside(const G::ControlRect& outer, const std::vector<Named>& controls)
{
    for (const auto& [name, rect] : controls)
        EXPECT_TRUE(outer.ContainsRect(rect)) << name;
}

// The pieces tile `area` exactly: together they cover it and none overlaps another.
void ExpectTiles(const G::ControlRect& area, const std::vector<Named>& pieces)
{
    ExpectDisjoint(pieces);
    ExpectInside(area, pieces);
    long covered = 0;
    for (const auto& piece : pieces)
        covered += long(piece.second.w) * piece.second.h;
    EXPECT_EQ(covered, long(area.w) * area.h);
}

} // namespace

TEST(ScreenGeometryTest, SplitBackgroundsTileTheirScreens)
{
    namespace E = G::EditorCommon;
    ExpectTiles(G::EditLayout::imgBkg, {{"imgBg1", E::imgBg1},
                                        {"imgBg2", E::imgBg2},
                                        {"imgBg3", E::imgBg3},
                                        {"imgBg4", E::imgBg4},
                                        {"imgPreview", E::imgPreview}});
    namespace IE = G::ImageEdit;
    ExpectTiles(G::Panel, {{"ImgBG1", IE::ImgBG1},
                           {"ImgBG2", IE::ImgBG2},
                           {"ImgBG3", IE::ImgBG3},
                           {"ImgBG4", IE::ImgBG4},
                           {"Image", IE::Image}});
    EXPECT_EQ(G::Timeline::Origin.Bottom(), E::cdrom.y);
    EXPECT_EQ(E::imgBg1.Bottom(), G::Timeline::Origin.y);
    EXPECT_EQ(G::Gallery::imgTimelineBG.Bottom(), G::PanelHeight);
}

TEST(ScreenGeometryTest, CoversLieExactlyOverWhatTheyCover)
{
    EXPECT_TRUE(G::EditPicture::imgNoScanner.ContainsRect(G::EditPicture::imgAddPicScan));
    EXPECT_TRUE(G::Gallery::ImgNoScanner.ContainsRect(G::Gallery::ImgBtnScan));
    EXPECT_TRUE(G::ProjectMenu::imgBtn_LabelKit.ContainsRect(G::ProjectMenu::imgLabelKitText));
    ExpectInside(G::NewProject3::imgBtn, {{"imgBtnNew", G::NewProject3::imgBtnNew},
                                          {"imgBtnNewSub", G::NewProject3::imgBtnNewSub},
                                          {"imgBtnEditName", G::NewProject3::imgBtnEditName},
                                          {"imgBtnRemove", G::NewProject3::imgBtnRemove}});
    ExpectInside(G::Music::imgBtn, {{"imgBtnPlayStop", G::Music::imgBtnPlayStop},
                                    {"imgSelectMusic", G::Music::imgSelectMusic},
                                    {"imgBtnNoMusic", G::Music::imgBtnNoMusic},
                                    {"imgBtnCancel", G::Music::imgBtnCancel},
                                    {"imgBtnAccept", G::Music::imgBtnAccept},
                                    {"lblMusicFile", G::Music::lblMusicFile}});
    // Buttons without pictures of their own are painted into the frame they lie on.
    ExpectInside(G::NewProject2::imgCnt, {{"Image1", G::NewProject2::Image1},
                                          {"Image2", G::NewProject2::Image2},
                                          {"ImgUp", G::NewProject2::ImgUp},
                                          {"ImgDown", G::NewProject2::ImgDown},
                                          {"imgLayoutPreview", G::NewProject2::imgLayoutPreview},
                                          {"ImgFullscreen", G::NewProject2::ImgFullscreen}});
    ExpectInside(G::NewProject3::imgCnt, {{"imgBtnOk", G::NewProject3::imgBtnOk},
                                          {"imgBtnCancel", G::NewProject3::imgBtnCancel},
                                          {"imgBt", G::NewProject3::imgBt},
                                          {"imgBb", G::NewProject3::imgBb}});
    ExpectInside(G::Music::imgCnt, {{"ImgUp", G::Music::ImgUp}, {"ImgDown", G::Music::ImgDown}});
    ExpectInside(G::Finish::ImgBtn, {{"ImgCancel", G::Finish::ImgCancel}, {"ImgApply", G::Finish::ImgApply}});
    ExpectInside(G::NewProject1::imgBtn,
                 {{"ImgCancel", G::NewProject1::ImgCancel}, {"ImgApply", G::NewProject1::ImgApply}});
    ExpectInside(G::Imprint::ImgImprint, {{"ImgBtn", G::Imprint::ImgBtn}});
    ExpectInside(G::NewProject1::imgFrm, {{"imgCalendar", G::NewProject1::imgCalendar}});
}

// Centred to the pixel: a card of odd size lies half a pixel nearer one edge.
TEST(ScreenGeometryTest, CardsOnTheirOwnAreCentredOnThePanel)
{
    for (const G::ControlRect& card : {G::Imprint::ImgImprint}) {
        EXPECT_LE(std::abs(card.x * 2 + card.w - G::PanelWidth), 1) << card.x;
        EXPECT_LE(std::abs(card.y * 2 + card.h - G::PanelHeight), 1) << card.y;
    }
}
