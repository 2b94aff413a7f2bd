#include "screens/ScreenGeometry.h"

#include <gtest/gtest.h>

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

}  // namespace

TEST(ScreenGeometryTest, RectanglesExcludeTheirRightAndBottomEdges)
{
    constexpr G::ControlRect r{10, 20, 30, 40};
    static_assert(r.Right() == 40 && r.Bottom() == 60);
    EXPECT_TRUE(r.Contains(10, 20));
    EXPECT_TRUE(r.Contains(39, 59));
    EXPECT_FALSE(r.Contains(40, 59));
    EXPECT_FALSE(r.Contains(39, 60));
    EXPECT_FALSE(r.Contains(9, 20));
    EXPECT_EQ(r.Moved(5, -5), (G::ControlRect{15, 15, 30, 40}));
    EXPECT_EQ(r.LocalTo(G::ControlRect{4, 8, 100, 100}), (G::ControlRect{6, 12, 30, 40}));
    EXPECT_TRUE(r.ContainsRect(G::ControlRect{10, 20, 30, 40}));
    EXPECT_FALSE(r.ContainsRect(G::ControlRect{10, 20, 31, 40}));
}

TEST(ScreenGeometryTest, SplitBackgroundsTileTheirScreens)
{
    namespace E = G::EditorCommon;
    ExpectTiles(G::EditLayout::imgBkg, {{"imgBg1", E::imgBg1}, {"imgBg2", E::imgBg2}, {"imgBg3", E::imgBg3},
                                        {"imgBg4", E::imgBg4}, {"imgPreview", E::imgPreview}});
    namespace IE = G::ImageEdit;
    ExpectTiles(G::Panel, {{"ImgBG1", IE::ImgBG1}, {"ImgBG2", IE::ImgBG2}, {"ImgBG3", IE::ImgBG3},
                           {"ImgBG4", IE::ImgBG4}, {"Image", IE::Image}});
    EXPECT_EQ(G::Timeline::Origin.Bottom(), E::cdrom.y);
    EXPECT_EQ(E::imgBg1.Bottom(), G::Timeline::Origin.y);
    EXPECT_EQ(G::Gallery::imgTimelineBG.Bottom(), G::PanelHeight);
    // The split of the picture editor is the one the text editor and the gallery share.
    EXPECT_EQ(G::EditText::imgBg2, G::EditPicture::imgBg2);
    EXPECT_EQ(G::Gallery::imgBg3, G::EditPicture::imgBg3);
}

TEST(ScreenGeometryTest, CoversLieExactlyOverWhatTheyCover)
{
    EXPECT_TRUE(G::EditPicture::imgNoScanner.ContainsRect(G::EditPicture::imgAddPicScan));
    EXPECT_TRUE(G::Gallery::ImgNoScanner.ContainsRect(G::Gallery::ImgBtnScan));
    EXPECT_EQ(G::ProjectMenu::imgSave_InAct, G::ProjectMenu::imgSave_Act);
    EXPECT_EQ(G::ProjectMenu::imgMusic_InAct, G::ProjectMenu::imgMusic_Act);
    EXPECT_EQ(G::ProjectMenu::imgBtn_Labelkit_Act, G::ProjectMenu::imgBtn_LabelKit);
    EXPECT_TRUE(G::ProjectMenu::imgBtn_LabelKit.ContainsRect(G::ProjectMenu::imgLabelKitText));
    EXPECT_EQ(G::MainMenu::Img3disabled, G::MainMenu::Img3);
    EXPECT_EQ(G::NewProject3::imgBtnDisabled, G::NewProject3::imgBtn);
    ExpectInside(G::NewProject3::imgBtn, {{"imgBtnNew", G::NewProject3::imgBtnNew},
                                         {"imgBtnNewSub", G::NewProject3::imgBtnNewSub},
                                         {"imgBtnEditName", G::NewProject3::imgBtnEditName},
                                         {"imgBtnRemove", G::NewProject3::imgBtnRemove}});
    EXPECT_EQ(G::Music::imgStop, G::Music::imgBtnPlayStop);
    ExpectInside(G::Music::imgBtn, {{"imgBtnPlayStop", G::Music::imgBtnPlayStop},
                                    {"imgSelectMusic", G::Music::imgSelectMusic},
                                    {"imgBtnNoMusic", G::Music::imgBtnNoMusic},
                                    {"imgBtnCancel", G::Music::imgBtnCancel},
                                    {"imgBtnAccept", G::Music::imgBtnAccept},
                                    {"lblMusicFile", G::Music::lblMusicFile}});
    // Buttons without pictures of their own are painted into the frame they lie on.
    ExpectInside(G::NewProject2::imgCnt, {{"Image1", G::NewProject2::Image1}, {"Image2", G::NewProject2::Image2},
                                          {"ImgUp", G::NewProject2::ImgUp}, {"ImgDown", G::NewProject2::ImgDown},
                                          {"imgLayoutPreview", G::NewProject2::imgLayoutPreview},
                                          {"ImgFullscreen", G::NewProject2::ImgFullscreen}});
    ExpectInside(G::NewProject3::imgCnt, {{"imgBtnOk", G::NewProject3::imgBtnOk},
                                          {"imgBtnCancel", G::NewProject3::imgBtnCancel},
                                          {"imgBt", G::NewProject3::imgBt}, {"imgBb", G::NewProject3::imgBb}});
    ExpectInside(G::Music::imgCnt, {{"ImgUp", G::Music::ImgUp}, {"ImgDown", G::Music::ImgDown}});
    ExpectInside(G::Finish::ImgBtn, {{"ImgCancel", G::Finish::ImgCancel}, {"ImgApply", G::Finish::ImgApply}});
    ExpectInside(G::NewProject1::imgBtn, {{"ImgCancel", G::NewProject1::ImgCancel}, {"ImgApply", G::NewProject1::ImgApply}});
    ExpectInside(G::Imprint::ImgImprint, {{"ImgBtn", G::Imprint::ImgBtn}});
}

TEST(ScreenGeometryTest, ListRowsStayInsideTheirFrames)
{
    for (int row = 0; row < 16; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_TRUE(G::EditLayout::ListArea.ContainsRect(G::EditLayout::LayoutLabel(row)));
        EXPECT_TRUE(G::NewProject2::ListArea.ContainsRect(G::NewProject2::DesignLabel(row)));
        EXPECT_TRUE(G::NewProject2::Image3.ContainsRect(G::NewProject2::DesignLabel(row)));
        EXPECT_TRUE(G::Music::imgCnt.ContainsRect(G::Music::TrackLabel(row)));
        EXPECT_TRUE(G::NewProject3::ListArea.ContainsRect(G::NewProject3::RowIcon(0, row)));
        EXPECT_TRUE(G::NewProject3::ListArea.ContainsRect(G::NewProject3::RowLabel(3, row)));
        EXPECT_FALSE(Overlap(G::NewProject3::RowLabel(0, row), G::NewProject3::imgBt));
    }
    EXPECT_TRUE(G::NewProject2::imgCnt.ContainsRect(G::NewProject2::ListArea));
    EXPECT_TRUE(G::NewProject3::imgCnt.ContainsRect(G::NewProject3::ListArea));
}

TEST(ScreenGeometryTest, ControlsOfAScreenDoNotOverlap)
{
    namespace PM = G::ProjectMenu;
    ExpectDisjoint({{"imgEdPrj_Act", PM::imgEdPrj_Act}, {"imgEdStory_Act", PM::imgEdStory_Act},
                    {"ImgEdPers_Act", PM::ImgEdPers_Act}, {"imgMusic_Act", PM::imgMusic_Act},
                    {"imgFin_Act", PM::imgFin_Act}, {"imgSave_Act", PM::imgSave_Act},
                    {"imgBtn_LabelKit", PM::imgBtn_LabelKit}, {"ImgStudioBG", PM::ImgStudioBG},
                    {"StatusCard", PM::StatusCard}, {"PersonCard", PM::PersonCard}, {"HelpBox", PM::HelpBox},
                    {"imgExitPrj_Act", PM::imgExitPrj_Act}, {"imgExitPrg_Act", PM::imgExitPrg_Act},
                    {"Image1", PM::Image1}});
    ExpectInside(PM::StatusCard, {{"labelStatus", PM::labelStatus}, {"labelMusic", PM::labelMusic},
                                  {"labelSaved", PM::labelSaved}});
    ExpectInside(PM::PersonCard, {{"labelPerson", PM::labelPerson}});
    namespace LP = G::LabelKitPrint;
    ExpectDisjoint({{"imgPrntUpLabel", LP::imgPrntUpLabel}, {"lblUpCorX", LP::lblUpCorX}, {"lblUpCorY", LP::lblUpCorY},
                    {"imgBtnUpperLblUp", LP::imgBtnUpperLblUp}, {"imgBtnUpperLblLeft", LP::imgBtnUpperLblLeft},
                    {"imgBtnUpperLblRight", LP::imgBtnUpperLblRight}, {"imgBtnUpperLblDown", LP::imgBtnUpperLblDown},
                    {"imgPrntLoLabel", LP::imgPrntLoLabel}, {"lblLowCorX", LP::lblLowCorX}, {"lblLowCorY", LP::lblLowCorY},
                    {"imgBtnLowerLblUp", LP::imgBtnLowerLblUp}, {"imgBtnLowerLblLeft", LP::imgBtnLowerLblLeft},
                    {"imgBtnLowerLblRight", LP::imgBtnLowerLblRight}, {"imgBtnLowerLblDpwn", LP::imgBtnLowerLblDpwn},
                    {"imgBtnPrint", LP::imgBtnPrint}, {"imgBtnReset", LP::imgBtnReset},
                    {"imgBtnBackToEdLbl", LP::imgBtnBackToEdLbl}, {"imgBtnBackToPrjMenu", LP::imgBtnBackToPrjMenu},
                    {"imgPreview", LP::imgPreview}, {"HelpBox", LP::HelpBox}});
    ExpectInside(LP::UpperGroup, {{"imgBtnUpperLblRight", LP::imgBtnUpperLblRight}, {"lblUpCorY", LP::lblUpCorY}});
    ExpectInside(LP::LowerGroup, {{"imgBtnLowerLblDpwn", LP::imgBtnLowerLblDpwn}, {"lblLowCorY", LP::lblLowCorY}});
    namespace Ph = G::Photographer;
    const int m = Ph::FieldMargin;
    auto field = [m](const G::ControlRect& r) { return G::ControlRect{r.x - m, r.y - m, r.w + 2 * m, r.h + 2 * m}; };
    ExpectDisjoint({{"edIntro", field(Ph::edIntro)}, {"memoStudio", field(Ph::memoStudio)},
                    {"memoAddress", field(Ph::memoAddress)}, {"memoPhone", field(Ph::memoPhone)},
                    {"edEmail", field(Ph::edEmail)}, {"edURL", field(Ph::edURL)}, {"memoInfo", field(Ph::memoInfo)},
                    {"imgBtnStyleBlock1", Ph::imgBtnStyleBlock1}, {"imgBtnStyleBlock2", Ph::imgBtnStyleBlock2},
                    {"imgBtnStyleBlock3", Ph::imgBtnStyleBlock3}, {"imgBtnFontInfo", Ph::imgBtnFontInfo},
                    {"imgBtnLogo", Ph::imgBtnLogo}, {"imgBtnSample1", Ph::imgBtnSample1},
                    {"imgBtnSample2", Ph::imgBtnSample2}, {"imgBtnDelLogo", Ph::imgBtnDelLogo},
                    {"imgBtnDelSamp1", Ph::imgBtnDelSamp1}, {"imgBtnDelSamp2", Ph::imgBtnDelSamp2},
                    {"Image7", Ph::Image7}, {"imgBtnCancel", Ph::imgBtnCancel}, {"imgBtnOK", Ph::imgBtnOK},
                    {"imgLogo", Ph::imgLogo}});
    ExpectInside(G::Grid::Content, {{"memoInfo", field(Ph::memoInfo)}, {"edIntro", field(Ph::edIntro)}});
    namespace Fi = G::Finish;
    ExpectDisjoint({{"StatusField", Fi::StatusField}, {"DirField", Fi::DirField}, {"Image1", Fi::Image1},
                    {"imgVisible", Fi::imgVisible}, {"imgDuration", Fi::imgDuration}, {"ImgCancel", Fi::ImgCancel},
                    {"ImgApply", Fi::ImgApply}});
    ExpectInside(Fi::StatusField, {{"LabelStatus", Fi::LabelStatus}});
    ExpectInside(Fi::DirField, {{"LabelDir", Fi::LabelDir}});
    ExpectInside(Fi::imgDuration, {{"editDuration", Fi::editDuration}});
}

TEST(ScreenGeometryTest, FormScreensShareOneGrid)
{
    namespace Gr = G::Grid;
    ExpectTiles(Gr::Content, {{"imgFrm", G::NewProject1::imgFrm}, {"imgBtn", G::NewProject1::imgBtn}});
    ExpectTiles(Gr::Content, {{"ImgForm", G::Finish::ImgForm}, {"ImgBtn", G::Finish::ImgBtn}});
    ExpectDisjoint({{"Header", Gr::Header}, {"Logo", Gr::Logo}, {"Content", Gr::Content}, {"HelpBox", Gr::HelpBox}});
    ExpectDisjoint({{"imgBtn", G::NewProject3::imgBtn}, {"imgCnt", G::NewProject3::imgCnt}});
    ExpectDisjoint({{"imgBtn", G::Music::imgBtn}, {"imgCnt", G::Music::imgCnt}, {"imgHelp", G::Music::imgHelp},
                    {"imgLogo", G::Music::imgLogo}});
    ExpectInside(Gr::HelpBox, {{"HelpLabel", Gr::HelpLabel}});
    ExpectInside(G::ProjectMenu::HelpBox, {{"labelHelp", G::ProjectMenu::labelHelp}});
    ExpectInside(G::EditorCommon::HelpBox, {{"labelHelp", G::EditorCommon::labelHelp}});
    ExpectInside(G::ImageEdit::HelpBox, {{"labelHelp", G::ImageEdit::labelHelp}});
    ExpectInside(G::LabelkitSetup::HelpBox, {{"labelHelp", G::LabelkitSetup::labelHelp}});
    EXPECT_FALSE(Overlap(G::LabelkitSetup::HelpBox, G::LabelkitSetup::imgPreview));
    EXPECT_FALSE(Overlap(G::LabelkitSetup::Card, G::LabelkitSetup::imgPreview));
}

TEST(ScreenGeometryTest, PopupControlsFitThePopup)
{
    namespace PG = G::PopupGrid;
    ExpectInside(G::Popup, {{"Content", PG::Content}, {"ButtonPair", PG::ButtonPair}, {"ButtonOf3First", PG::ButtonOf3First},
                            {"ButtonOf3Third", PG::ButtonOf3Third}, {"pb", G::WaitPopup::pb},
                            {"labelInfo", G::WaitPopup::labelInfo}, {"memoText", G::MemoPopup::memoText}});
    ExpectInside(PG::Content, {{"Cross", PG::Cross}, {"MessageFrame", PG::MessageFrame}, {"Field", G::AddEntry::Field},
                               {"lblCaption", G::AddEntry::lblCaption}});
    ExpectInside(PG::MessageFrame, {{"Message", PG::Message}});
    ExpectInside(PG::ButtonPair, {{"ButtonLeft", PG::ButtonLeft}, {"ButtonRight", PG::ButtonRight}});
    ExpectInside(G::AddEntry::Field, {{"EditAdd", G::AddEntry::EditAdd}});
    ExpectInside(G::MemoPopup::Field, {{"memoText", G::MemoPopup::memoText}});
    ExpectDisjoint({{"Content", PG::Content}, {"ButtonOf3First", PG::ButtonOf3First},
                    {"ButtonOf3Second", PG::ButtonOf3Second}, {"ButtonOf3Third", PG::ButtonOf3Third}});
    ExpectDisjoint({{"memo Field", G::MemoPopup::Field}, {"imgBtnOK", G::MemoPopup::imgBtnOK},
                    {"imgBtnCancel", G::MemoPopup::imgBtnCancel}, {"imgBtnCancelX", G::MemoPopup::imgBtnCancelX}});
    EXPECT_EQ(G::MemoPopup::memoText.w, 386);
    EXPECT_EQ(G::MemoPopup::memoText.h, 88);
}

TEST(ScreenGeometryTest, FixedPlacesAreKept)
{
    EXPECT_EQ(G::MainMenu::Img4, (G::ControlRect{604, 543, 55, 73}));
    EXPECT_EQ(G::MainMenu::LabelHint, (G::ControlRect{384, 664, 257, 49}));
    EXPECT_EQ(G::EditLayout::imgKindTextAndPic, (G::ControlRect{110, 202, 130, 20}));
    EXPECT_EQ(G::EditLayout::imgTopSave, (G::ControlRect{458, 64, 170, 21}));
    EXPECT_EQ(G::EditText::imgNextTextfield, (G::ControlRect{290, 511, 158, 20}));
    EXPECT_EQ(G::Timeline::imgScrollRight, (G::ControlRect{996, 35, 13, 49}));
    EXPECT_EQ(G::Gallery::imgScrollRight, (G::ControlRect{996, 659, 13, 49}));
    EXPECT_EQ(G::Gallery::ImgDelete, (G::ControlRect{126, 299, 105, 73}));
    EXPECT_EQ(G::ImageEdit::ImageGray, (G::ControlRect{728, 396, 197, 31}));
    EXPECT_EQ(G::ImageEdit::ImageOptimize, (G::ControlRect{727, 430, 196, 32}));
    EXPECT_EQ(G::Music::imgCnt, (G::ControlRect{450, 170, 490, 345}));
    EXPECT_EQ(G::Preview::imgClose, (G::ControlRect{387, 733, 250, 35}));
    EXPECT_EQ(G::LabelKitPrint::imgPreview, (G::ControlRect{677, 185, 283, 400}));
    EXPECT_EQ(G::LabelkitSetup::imgPreview, (G::ControlRect{554, 184, 400, 400}));
    EXPECT_EQ(G::Imprint::ImgImprint, (G::ControlRect{109, 100, 636, 411}));
    EXPECT_EQ(G::ProjectMenu::labelMusic.x, 182);
    EXPECT_EQ(G::ProjectMenu::labelMusic.y, 426);
    EXPECT_EQ(G::ProjectMenu::labelMusic.w, 251);
    EXPECT_EQ(G::ProjectMenu::labelHelp, (G::ControlRect{480, 616, 369, 73}));
    EXPECT_EQ(G::NewProject3::RowIcon(2, 3), (G::ControlRect{545, 256, 15, 15}));
    EXPECT_EQ(G::Music::TrackLabel(15), (G::ControlRect{480, 495, 200, 17}));
    EXPECT_EQ(G::EditLayout::LayoutLabel(15), (G::ControlRect{305, 460, 140, 17}));
}
