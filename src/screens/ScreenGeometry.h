#pragma once
// The one table of control rectangles of every screen and pop-up. The screens place their controls from it and
// the data kit's skin painter paints the passive looks into the backgrounds and the hover images at the same
// rectangles, so a picture, its hover image and the live click area always coincide. Moving a control is a
// one-line change here followed by a rebuild of the data.
//
// Rectangles are x, y, width, height in panel coordinates (full screens: 1024 x 768; pop-ups: 500 x 250; the
// timeline strip: its own frame, placed at Timeline::Origin). Within each screen the controls are listed from
// bottom to top: where two controls overlap, the one listed later lies above the one listed earlier. Entries
// named ...Card, ...Box, ...Field, ...Area, ...Group and the Grid are not controls but areas painted into a
// background picture (light surfaces for black text, dark ones for white text); they are here so that the
// painter and the screens agree on them.
//
// Lines marked "ours" are places the program chose itself (the rest are fixed behaviour of the screens). The
// screens on the common backdrop share one grid: header (80, 36, 664 x 100) left of the logo corner
// (755, 0, 269 x 168), ivory content cards from y 170 to 580 between x 80 and 944, the two main buttons
// (Cancel, OK) at (640 / 792, 516, 136 x 44) inside the card, and the help box (212, 596, 600 x 100) below.
// Pop-ups share: a header band y 0..46 with the close cross (462, 10, 28 x 28), the message frame, and one
// button row at y 184 (42 high).

namespace Geometry {

struct ControlRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    constexpr int Right() const { return x + w; }  // exclusive
    constexpr int Bottom() const { return y + h; } // exclusive
    constexpr bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    constexpr bool ContainsRect(const ControlRect& r) const
    {
        return r.x >= x && r.y >= y && r.Right() <= Right() && r.Bottom() <= Bottom();
    }
    constexpr ControlRect Moved(int dx, int dy) const { return {x + dx, y + dy, w, h}; }
    // The rectangle in the coordinates of a parent picture placed at `parent`.
    constexpr ControlRect LocalTo(const ControlRect& parent) const { return {x - parent.x, y - parent.y, w, h}; }
    constexpr bool operator==(const ControlRect&) const = default;
};

inline constexpr int PanelWidth = 1024;
inline constexpr int PanelHeight = 768;
inline constexpr int PopupWidth = 500;
inline constexpr int PopupHeight = 250;
inline constexpr ControlRect Panel{0, 0, PanelWidth, PanelHeight};
inline constexpr ControlRect Popup{0, 0, PopupWidth, PopupHeight};

// Shared places of the common backdrop grid (ours, see above).
namespace Grid {
inline constexpr ControlRect Header{80, 36, 664, 100};        // ours: title band, left of the logo corner
inline constexpr ControlRect Content{80, 170, 864, 410};      // ours: the ivory card of a form screen
inline constexpr ControlRect ButtonStrip{80, 504, 864, 76};   // ours: bottom slice of the card with the buttons
inline constexpr ControlRect CancelButton{640, 516, 136, 44}; // ours: secondary button, bottom right
inline constexpr ControlRect OkButton{792, 516, 136, 44};     // ours: primary button, bottom right
inline constexpr ControlRect HelpBox{212, 596, 600, 100};     // ours: help box under the card
inline constexpr ControlRect HelpLabel{232, 606, 560, 80};    // ours: hint text inside the help box
inline constexpr ControlRect Logo{755, 0, 269, 168};          // studio logo corner of the editors
inline constexpr ControlRect FullPanel{0, 0, 1024, 768};
} // namespace Grid

// Shared places of the pop-ups (ours).
namespace PopupGrid {
inline constexpr ControlRect Background{0, 0, 500, 250};
inline constexpr ControlRect HeaderBand{0, 0, 500, 46};          // ours: band with the name and the close cross
inline constexpr ControlRect Content{0, 0, 500, 160};            // ours: header band plus message area
inline constexpr ControlRect Cross{462, 10, 28, 28};             // ours: the small close cross
inline constexpr ControlRect Message{55, 65, 390, 67};           // the message label (white bold text)
inline constexpr ControlRect MessageFrame{43, 56, 414, 86};      // ours: dark frame around the message
inline constexpr ControlRect ButtonLeft{95, 184, 140, 42};       // ours: first of two buttons
inline constexpr ControlRect ButtonRight{265, 184, 140, 42};     // ours: second of two buttons
inline constexpr ControlRect ButtonCentre{180, 184, 140, 42};    // ours: a single button
inline constexpr ControlRect ButtonPair{95, 184, 310, 42};       // ours: picture holding two buttons
inline constexpr ControlRect ButtonOf3First{30, 184, 140, 42};   // ours: three buttons in a row
inline constexpr ControlRect ButtonOf3Second{180, 184, 140, 42}; // ours
inline constexpr ControlRect ButtonOf3Third{330, 184, 140, 42};  // ours
} // namespace PopupGrid

// ---------------------------------------------------------------------------------------------- main menu
namespace MainMenu {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect Img1{365, 543, 55, 73};
inline constexpr ControlRect Img2{444, 543, 55, 73};
inline constexpr ControlRect Img3{523, 543, 55, 73};
inline constexpr ControlRect Img4{604, 543, 55, 73};
inline constexpr ControlRect Img1disabled = Img1;
inline constexpr ControlRect Img2disabled = Img2;
inline constexpr ControlRect Img3disabled = Img3;
inline constexpr ControlRect Img4disabled = Img4;
inline constexpr ControlRect LabelHint{384, 664, 257, 49};
} // namespace MainMenu

// ------------------------------------------------------------------------------------------- project menu
namespace ProjectMenu {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};                // ours: size not stated, full panel
inline constexpr ControlRect Image1{704, 24, 273, 137};             // invisible area over the logo
inline constexpr ControlRect imgEdPrj_Act{170, 176, 160, 96};       // ours: first row of tiles, 1st
inline constexpr ControlRect imgEdStory_Act{347, 176, 160, 96};     // ours: first row, 2nd
inline constexpr ControlRect ImgEdPers_Act{524, 176, 160, 96};      // ours: first row, 3rd
inline constexpr ControlRect imgMusic_Act{701, 176, 160, 96};       // ours: first row, 4th
inline constexpr ControlRect imgMusic_InAct = imgMusic_Act;         // ours: covers the music tile
inline constexpr ControlRect imgFin_Act{170, 284, 160, 96};         // ours: second row, 1st
inline constexpr ControlRect imgSave_Act{347, 284, 160, 96};        // ours: second row, 2nd
inline constexpr ControlRect imgSave_InAct = imgSave_Act;           // ours: lies over the save tile
inline constexpr ControlRect imgBtn_LabelKit{524, 284, 160, 96};    // ours: second row, 3rd
inline constexpr ControlRect imgLabelKitText{532, 339, 144, 26};    // ours: caption zone of the label kit tile
inline constexpr ControlRect imgBtn_Labelkit_Act = imgBtn_LabelKit; // ours: over the tile and its caption
inline constexpr ControlRect ImgStudioBG{701, 284, 160, 96};        // ours: second row, 4th (free without studio)
inline constexpr ControlRect imgStudio_Active = ImgStudioBG;        // ours
inline constexpr ControlRect labelStatus{182, 408, 352, 16};        // width and height ours
inline constexpr ControlRect labelMusic{182, 426, 251, 16};         // height ours
inline constexpr ControlRect labelSaved{182, 444, 352, 16};         // width and height ours
inline constexpr ControlRect labelPerson{569, 418, 280, 16};        // width and height ours
inline constexpr ControlRect imgExitPrj_Act{170, 604, 280, 44};     // ours: bottom left, upper
inline constexpr ControlRect imgExitPrg_Act{170, 656, 280, 44};     // ours: bottom left, lower
inline constexpr ControlRect labelHelp{480, 616, 369, 73};
inline constexpr ControlRect imgExtra1{170, 490, 337, 96};  // ours: 1st extra image of the hidden variant
inline constexpr ControlRect imgExtra2{524, 490, 337, 96};  // ours: 2nd extra image of the hidden variant
inline constexpr ControlRect StatusCard{170, 394, 376, 78}; // ours: light card behind the status lines
inline constexpr ControlRect PersonCard{556, 394, 305, 78}; // ours: light card behind labelPerson
inline constexpr ControlRect HelpBox{468, 604, 393, 96};    // ours: light box behind labelHelp
inline constexpr int TimelineLeft = 0;
inline constexpr int TimelineTop = 607;
} // namespace ProjectMenu

// --------------------------------------------------------------------------------------- timeline strip
// Frame coordinates; the strip sits at Origin on the panel of each page editor.
namespace Timeline {
inline constexpr ControlRect Origin{0, 607, 1024, 148};
inline constexpr ControlRect imgBg{0, 0, 1024, 148};
inline constexpr ControlRect imgTimeline{0, 0, 1024, 148};
inline constexpr ControlRect imgScrollLeft{13, 36, 13, 49};
inline constexpr ControlRect imgScrollRight{996, 35, 13, 49};
inline constexpr ControlRect labelCategoryTitle{48, 7, 928, 16}; // width and height ours
inline constexpr ControlRect Window{48, 0, 928, 148};            // band in which thumbnails are combined
} // namespace Timeline

// ------------------------------------------------------------------------ editors: shared places of 6.x
namespace EditorCommon {
inline constexpr ControlRect imgBtnLay{127, 47, 50, 75};
inline constexpr ControlRect imgBtnPic{182, 47, 50, 75};
inline constexpr ControlRect imgBtnTex{237, 47, 50, 75};
inline constexpr ControlRect imgTopPrjMenu{458, 40, 170, 25};
inline constexpr ControlRect imgTopSave{458, 64, 170, 21};
inline constexpr ControlRect imgTopSpeaker{458, 85, 170, 22};
inline constexpr ControlRect imgTopSpeakerOver{458, 85, 170, 22};
inline constexpr ControlRect imgTopExit{458, 107, 170, 21};
inline constexpr ControlRect labelHelp{472, 520, 393, 73};
inline constexpr ControlRect imgPreview{470, 185, 400, 300};
inline constexpr ControlRect imgFullscreen{900, 300, 105, 90};
inline constexpr ControlRect imgLogo{755, 0, 269, 168};
inline constexpr ControlRect cdrom{0, 755, 1024, 13};
inline constexpr ControlRect imgBg1{0, 0, 470, 607};
inline constexpr ControlRect imgBg2{470, 0, 554, 185};
inline constexpr ControlRect imgBg3{470, 485, 554, 122};
inline constexpr ControlRect imgBg4{870, 185, 154, 300};
inline constexpr ControlRect WorkCard{70, 122, 386, 423}; // ours: ivory card under the tabs
inline constexpr ControlRect HelpBox{464, 512, 409, 89};  // ours: light box behind labelHelp
inline constexpr ControlRect TopBar{458, 40, 170, 88};    // the four top-bar buttons together
} // namespace EditorCommon

namespace EditLayout {
inline constexpr ControlRect imgBkg{0, 0, 1024, 607};
inline constexpr ControlRect cdrom = EditorCommon::cdrom;
inline constexpr ControlRect imgBtnLay = EditorCommon::imgBtnLay;
inline constexpr ControlRect imgBtnPic = EditorCommon::imgBtnPic;
inline constexpr ControlRect imgBtnPicDisabled = EditorCommon::imgBtnPic;
inline constexpr ControlRect imgBtnTex = EditorCommon::imgBtnTex;
inline constexpr ControlRect imgBtnTexDisabled = EditorCommon::imgBtnTex;
inline constexpr ControlRect imgKindOnlyText{130, 178, 110, 20};
inline constexpr ControlRect imgKindTextAndPic{110, 202, 130, 20};
inline constexpr ControlRect imgKindOnlyPic{130, 226, 110, 20};
inline constexpr ControlRect imgKindAnimation{130, 249, 110, 20};
inline constexpr ControlRect imgTopPrjMenu = EditorCommon::imgTopPrjMenu;
inline constexpr ControlRect imgTopSave = EditorCommon::imgTopSave;
inline constexpr ControlRect imgTopSpeaker = EditorCommon::imgTopSpeaker;
inline constexpr ControlRect imgTopSpeakerOver = EditorCommon::imgTopSpeakerOver;
inline constexpr ControlRect imgTopExit = EditorCommon::imgTopExit;
inline constexpr ControlRect labelHelp = EditorCommon::labelHelp;
inline constexpr ControlRect imgPreview = EditorCommon::imgPreview;
inline constexpr ControlRect imgFullscreen = EditorCommon::imgFullscreen;
inline constexpr ControlRect imgLogo = EditorCommon::imgLogo;
inline constexpr int ListLeft = 305;
inline constexpr int ListTop = 205;
inline constexpr int ListRowHeight = 17;
inline constexpr int ListRowWidth = 140;
inline constexpr int ListMaxRows = 16;
constexpr ControlRect LayoutLabel(int n)
{
    return {ListLeft, ListTop + ListRowHeight * n, ListRowWidth, ListRowHeight};
}
inline constexpr ControlRect ListArea{297, 199, 156, 284}; // ours: light surface behind the labels
} // namespace EditLayout

namespace EditPicture {
inline constexpr ControlRect imgBg1 = EditorCommon::imgBg1;
inline constexpr ControlRect imgBg2 = EditorCommon::imgBg2;
inline constexpr ControlRect imgBg3 = EditorCommon::imgBg3;
inline constexpr ControlRect imgBg4 = EditorCommon::imgBg4;
inline constexpr ControlRect cdrom = EditorCommon::cdrom;
inline constexpr ControlRect imgBtnLay = EditorCommon::imgBtnLay;
inline constexpr ControlRect imgBtnLayDisabled = EditorCommon::imgBtnLay;
inline constexpr ControlRect imgBtnPic = EditorCommon::imgBtnPic;
inline constexpr ControlRect imgBtnTex = EditorCommon::imgBtnTex;
inline constexpr ControlRect imgBtnTexDisabled = EditorCommon::imgBtnTex;
inline constexpr ControlRect imgAddPicHdd{291, 219, 105, 70};
inline constexpr ControlRect imgAddPicScan{291, 375, 105, 70};
inline constexpr ControlRect imgNoScanner{280, 365, 125, 90};
inline constexpr ControlRect ImgBtnGallery{120, 290, 120, 90};
inline constexpr ControlRect ImgGallery{245, 323, 154, 17};
inline constexpr ControlRect imgTopPrjMenu = EditorCommon::imgTopPrjMenu;
inline constexpr ControlRect imgTopSave = EditorCommon::imgTopSave;
inline constexpr ControlRect imgTopSpeaker = EditorCommon::imgTopSpeaker;
inline constexpr ControlRect imgTopSpeakerOver = EditorCommon::imgTopSpeakerOver;
inline constexpr ControlRect imgTopExit = EditorCommon::imgTopExit;
inline constexpr ControlRect labelHelp = EditorCommon::labelHelp;
inline constexpr ControlRect imgPreview = EditorCommon::imgPreview;
inline constexpr ControlRect imgFullscreen = EditorCommon::imgFullscreen;
inline constexpr ControlRect imgLogo = EditorCommon::imgLogo;
} // namespace EditPicture

namespace EditText {
inline constexpr ControlRect imgBg1 = EditorCommon::imgBg1; // ours: the picture editor's split
inline constexpr ControlRect imgBg2 = EditorCommon::imgBg2; // ours
inline constexpr ControlRect imgBg3 = EditorCommon::imgBg3; // ours
inline constexpr ControlRect imgBg4 = EditorCommon::imgBg4; // ours
inline constexpr ControlRect cdrom = EditorCommon::cdrom;
inline constexpr ControlRect imgBtnLay = EditorCommon::imgBtnLay;
inline constexpr ControlRect imgBtnLayDisabled = EditorCommon::imgBtnLay;
inline constexpr ControlRect imgBtnPic = EditorCommon::imgBtnPic;
inline constexpr ControlRect imgBtnPicDisabled = EditorCommon::imgBtnPic;
inline constexpr ControlRect imgBtnTex = EditorCommon::imgBtnTex;
inline constexpr ControlRect memoText{88, 200, 298, 281};
inline constexpr ControlRect imgBold{413, 184, 35, 35};
inline constexpr ControlRect imgItalic{413, 230, 35, 35};
inline constexpr ControlRect imgUnderline{413, 276, 35, 35};
inline constexpr ControlRect imgUpper{413, 357, 35, 35};
inline constexpr ControlRect imgLower{413, 405, 35, 35};
inline constexpr ControlRect imgFont{413, 453, 35, 35};
inline constexpr ControlRect imgNextTextfield{290, 511, 158, 20};
inline constexpr ControlRect imgTopPrjMenu = EditorCommon::imgTopPrjMenu;
inline constexpr ControlRect imgTopSave = EditorCommon::imgTopSave;
inline constexpr ControlRect imgTopSpeaker = EditorCommon::imgTopSpeaker;
inline constexpr ControlRect imgTopSpeakerOver = EditorCommon::imgTopSpeakerOver;
inline constexpr ControlRect imgTopExit = EditorCommon::imgTopExit;
inline constexpr ControlRect labelHelp = EditorCommon::labelHelp;
inline constexpr ControlRect imgPreview = EditorCommon::imgPreview;
inline constexpr ControlRect imgFullscreen = EditorCommon::imgFullscreen;
inline constexpr ControlRect imgLogo = EditorCommon::imgLogo;
} // namespace EditText

// ---------------------------------------------------------------------------------------------- gallery
namespace Gallery {
inline constexpr ControlRect imgBg1 = EditorCommon::imgBg1; // ours: the picture editor's split
inline constexpr ControlRect imgBg2 = EditorCommon::imgBg2; // ours (the same picture 66 as there)
inline constexpr ControlRect imgBg3 = EditorCommon::imgBg3; // ours (the same picture 67 as there)
inline constexpr ControlRect imgBg4 = EditorCommon::imgBg4; // ours
inline constexpr ControlRect ImgBtnLoad{128, 184, 105, 73};
inline constexpr ControlRect ImgBtnScan{288, 184, 105, 73};
inline constexpr ControlRect ImgNoScanner{275, 175, 130, 90};
inline constexpr ControlRect ImgDelete{126, 299, 105, 73};
inline constexpr ControlRect imgApply{128, 416, 105, 73};
inline constexpr ControlRect ImgCancel{288, 416, 105, 73};
inline constexpr ControlRect imgTopPrjMenu = EditorCommon::imgTopPrjMenu;
inline constexpr ControlRect imgTopSave = EditorCommon::imgTopSave;
inline constexpr ControlRect imgTopSpeaker = EditorCommon::imgTopSpeaker;
inline constexpr ControlRect imgTopSpeakerOver = EditorCommon::imgTopSpeakerOver;
inline constexpr ControlRect imgTopExit = EditorCommon::imgTopExit;
inline constexpr ControlRect labelHelp = EditorCommon::labelHelp;
inline constexpr ControlRect imgPreview = EditorCommon::imgPreview;
inline constexpr ControlRect imgLogo = EditorCommon::imgLogo;
inline constexpr ControlRect imgTimelineBG{0, 607, 1024, 161};
inline constexpr ControlRect ImgTimeline{0, 607, 1024, 161};
inline constexpr ControlRect imgScrollLeft{13, 660, 13, 49};
inline constexpr ControlRect imgScrollRight{996, 659, 13, 49};
inline constexpr int StripBandLeft = 48;
inline constexpr int StripBandRight = 976;
inline constexpr int CellCentreY = 75; // within the strip
} // namespace Gallery

// -------------------------------------------------------------------------------------- image edit
namespace ImageEdit {
inline constexpr ControlRect ImgBG1{0, 0, 1024, 33};
inline constexpr ControlRect ImgBG2{0, 33, 70, 457};
inline constexpr ControlRect ImgBG3{0, 490, 1024, 278};
inline constexpr ControlRect ImgBG4{679, 33, 345, 457};
inline constexpr ControlRect Image{70, 33, 609, 457};
inline constexpr ControlRect ImgCancel{112, 616, 193, 33};
inline constexpr ControlRect ImgApply{112, 651, 193, 30};
inline constexpr ControlRect ImgPositiv{481, 528, 50, 50};
inline constexpr ControlRect ImgNeutral{481, 528, 50, 50};
inline constexpr ControlRect ImgNegativ{481, 528, 50, 50};
inline constexpr ControlRect ImageOriginal{728, 360, 196, 32};
inline constexpr ControlRect ImageGray{728, 396, 197, 31};
inline constexpr ControlRect ImageOptimize{727, 430, 196, 32};
inline constexpr ControlRect labelHelp{544, 516, 321, 73};
inline constexpr ControlRect imgLogo{755, 0, 269, 168};
inline constexpr ControlRect HelpBox{536, 508, 337, 89}; // ours: light box behind labelHelp
inline constexpr ControlRect labelTitle{80, 7, 590, 20}; // ours: the capture date, in the top strip
} // namespace ImageEdit

// ------------------------------------------------------------------------------------------ music
namespace Music {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect imgCnt{450, 170, 490, 345};
inline constexpr ControlRect imgBtn{80, 36, 350, 479};          // ours: title and the card of buttons
inline constexpr ControlRect lblMusicFile{106, 216, 165, 17};   // ours: in the name field of the card
inline constexpr ControlRect imgBtnPlayStop{298, 204, 116, 42}; // ours
inline constexpr ControlRect imgStop = imgBtnPlayStop;          // ours: the same button in its stop look
inline constexpr ControlRect imgSelectMusic{96, 272, 318, 46};  // ours
inline constexpr ControlRect imgBtnNoMusic{96, 330, 318, 46};   // ours
inline constexpr ControlRect imgBtnCancel{96, 455, 150, 44};    // ours
inline constexpr ControlRect imgBtnAccept{264, 455, 150, 44};   // ours
inline constexpr ControlRect ImgUp{700, 193, 28, 28};           // ours: painted in the list frame
inline constexpr ControlRect ImgDown{700, 484, 28, 28};         // ours: painted in the list frame
inline constexpr ControlRect imgHelp = Grid::HelpBox;           // ours
inline constexpr ControlRect labelHelp = Grid::HelpLabel;       // ours
inline constexpr ControlRect imgLogo = Grid::Logo;              // ours: as on the editors
inline constexpr ControlRect NameField{96, 208, 190, 34};       // ours: light field behind lblMusicFile
inline constexpr int ListLeft = 480;
inline constexpr int ListTop = 195;
inline constexpr int ListRowStep = 20;
inline constexpr int ListRowWidth = 200;
inline constexpr int ListRowHeight = 17;
inline constexpr int ListMaxRows = 16;
constexpr ControlRect TrackLabel(int index)
{
    return {ListLeft, ListTop + ListRowStep * index, ListRowWidth, ListRowHeight};
}
inline constexpr ControlRect ListArea{466, 186, 224, 326}; // ours: flat surface behind the titles
} // namespace Music

// ------------------------------------------------------------------------------------------- finishing
namespace Finish {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect ImgHeader = Grid::Header;       // ours
inline constexpr ControlRect ImgForm{80, 170, 864, 334};     // ours: upper part of the card
inline constexpr ControlRect ImgBtn = Grid::ButtonStrip;     // ours: lower part of the card
inline constexpr ControlRect LabelStatus{286, 198, 614, 17}; // ours: white text on a dark field
inline constexpr ControlRect LabelDir{286, 256, 450, 17};    // ours: white text on a dark field
inline constexpr ControlRect Image1{768, 244, 144, 40};      // ours: choose the folder
inline constexpr ControlRect imgVisible{272, 306, 330, 34};  // ours: switch "show the studio page"
inline constexpr ControlRect imgBtnVisible = imgVisible;     // ours: click area over the switch
inline constexpr ControlRect imgDuration{272, 350, 330, 36}; // ours: "for .. seconds" frame
inline constexpr ControlRect editDuration{400, 356, 56, 24}; // ours: inside the duration frame
inline constexpr ControlRect ImgCancel = Grid::CancelButton; // ours
inline constexpr ControlRect ImgApply = Grid::OkButton;      // ours
inline constexpr ControlRect imgHelpBox = Grid::HelpBox;     // ours
inline constexpr ControlRect labelHelp = Grid::HelpLabel;    // ours
inline constexpr ControlRect imgLogo = Grid::Logo;           // ours: as on the editors
inline constexpr ControlRect StatusField{272, 188, 640, 36}; // ours: dark field behind LabelStatus
inline constexpr ControlRect DirField{272, 246, 484, 36};    // ours: dark field behind LabelDir
} // namespace Finish

// Images of the two report screens have no names of their own; these are ours, in the order they are loaded.
namespace FinishComplete {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect ImgHeader = Grid::Header;           // ours
inline constexpr ControlRect ImgReport = Grid::Content;          // ours: the success report card
inline constexpr ControlRect ImgBtn = Grid::OkButton;            // ours: OK, lies over the card
inline constexpr ControlRect imgBtnDiscImage{560, 516, 216, 44}; // ours: "Save a disc image", left of OK
inline constexpr ControlRect imgBtnVideo{336, 516, 208, 44};     // ours: "Make a video", left of the image
inline constexpr ControlRect imgHelpBox = Grid::HelpBox;         // ours
inline constexpr ControlRect labelHelp = Grid::HelpLabel;        // ours
} // namespace FinishComplete

namespace FinishError {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect ImgHeader = Grid::Header;      // ours
inline constexpr ControlRect ImgReport = Grid::Content;     // ours: the failure report card
inline constexpr ControlRect ImgFrame{112, 300, 800, 180};  // ours: dark frame for the text label
inline constexpr ControlRect LabelText{132, 316, 760, 148}; // ours: white bold text, word-wrapped
inline constexpr ControlRect ImgBtn = Grid::OkButton;       // ours: OK, lies over the card
} // namespace FinishError

// ------------------------------------------------------------------------------------------- wizard
namespace NewProject1 {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect imgTop = Grid::Header;          // ours
inline constexpr ControlRect imgFrm{80, 170, 864, 334};      // ours: upper part of the card
inline constexpr ControlRect imgBtn = Grid::ButtonStrip;     // ours: lower part of the card
inline constexpr ControlRect EditName1{292, 222, 440, 26};   // ours
inline constexpr ControlRect EditName2{292, 302, 440, 26};   // ours
inline constexpr ControlRect EditDatum{292, 382, 200, 26};   // ours
inline constexpr ControlRect ImgCancel = Grid::CancelButton; // ours
inline constexpr ControlRect ImgApply = Grid::OkButton;      // ours
inline constexpr ControlRect imgHelpBox = Grid::HelpBox;     // ours
inline constexpr ControlRect labelHelp = Grid::HelpLabel;    // ours
// Light writing fields painted under the three edits (ours).
inline constexpr ControlRect Field1{280, 216, 464, 38};
inline constexpr ControlRect Field2{280, 296, 464, 38};
inline constexpr ControlRect Field3{280, 376, 224, 38};
// The calendar button beside the date field and its active look (ours).
inline constexpr ControlRect imgCalendar{514, 376, 38, 38};
inline constexpr ControlRect imgCalendarActive = imgCalendar;
} // namespace NewProject1

namespace PersonalProject {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect imgCap = Grid::Header;                              // ours
inline constexpr ControlRect imgFrm = NewProject1::imgFrm;                       // ours
inline constexpr ControlRect imgBtn = NewProject1::imgBtn;                       // ours
inline constexpr ControlRect TransEdit1 = NewProject1::EditName1;                // ours
inline constexpr ControlRect TransEdit2 = NewProject1::EditName2;                // ours
inline constexpr ControlRect TransEdit3 = NewProject1::EditDatum;                // ours
inline constexpr ControlRect imgCalendar = NewProject1::imgCalendar;             // ours
inline constexpr ControlRect imgCalendarActive = NewProject1::imgCalendarActive; // ours
inline constexpr ControlRect imgBtnCancel = Grid::CancelButton;                  // ours
inline constexpr ControlRect imgBtnApply = Grid::OkButton;                       // ours
inline constexpr ControlRect imgHelpBox = Grid::HelpBox;                         // ours
inline constexpr ControlRect labelHelp = Grid::HelpLabel;                        // ours
} // namespace PersonalProject

namespace NewProject2 {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect imgTop = Grid::Header;                // ours
inline constexpr ControlRect imgCnt = Grid::Content;               // ours: covers the list x 100-300
inline constexpr ControlRect Image3{100, 205, 200, 272};           // ours: the list area
inline constexpr ControlRect ImgUp{318, 200, 26, 26};              // ours: painted in imgCnt
inline constexpr ControlRect ImgDown{318, 456, 26, 26};            // ours: painted in imgCnt
inline constexpr ControlRect imgLayoutPreview{372, 192, 400, 300}; // ours
inline constexpr ControlRect ImgFullscreen{796, 402, 132, 90};     // ours
inline constexpr ControlRect ImgFullScreenActive = ImgFullscreen;  // ours
inline constexpr ControlRect Image1 = Grid::CancelButton;          // ours: cancel, painted in imgCnt
inline constexpr ControlRect Image2 = Grid::OkButton;              // ours: next, painted in imgCnt
inline constexpr ControlRect imgHelpBox = Grid::HelpBox;           // ours
inline constexpr ControlRect labelHelp = Grid::HelpLabel;          // ours
inline constexpr int ListLeft = 100;
inline constexpr int ListTop = 205;
inline constexpr int ListRowHeight = 17;
inline constexpr int ListRowWidth = 200;
inline constexpr int ListMaxRows = 16;
constexpr ControlRect DesignLabel(int row)
{
    return {ListLeft, ListTop + ListRowHeight * row, ListRowWidth, ListRowHeight};
}
inline constexpr ControlRect ListArea{92, 200, 216, 282}; // ours: flat surface behind the labels
} // namespace NewProject2

namespace NewProject3 {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect imgTop = Grid::Header;             // ours
inline constexpr ControlRect imgCnt{480, 170, 464, 410};        // ours: right card, covers x 505 on
inline constexpr ControlRect imgBtn{80, 170, 384, 410};         // ours: left card with the edit buttons
inline constexpr ControlRect imgBtnNew{104, 226, 336, 44};      // ours
inline constexpr ControlRect imgBtnNewSub{104, 280, 336, 44};   // ours
inline constexpr ControlRect imgBtnEditName{104, 334, 336, 44}; // ours
inline constexpr ControlRect imgBtnRemove{104, 388, 336, 44};   // ours
inline constexpr ControlRect imgBtnDisabled = imgBtn;           // ours: exactly over imgBtn
inline constexpr ControlRect imgBt{900, 200, 26, 26};           // ours: up arrow, also imgBtnListUp
inline constexpr ControlRect imgBb{900, 456, 26, 26};           // ours: down arrow, also imgBtnListDown
inline constexpr ControlRect imgBtnListUp = imgBt;              // ours: the arrow image is the click area
inline constexpr ControlRect imgBtnListDown = imgBb;            // ours
inline constexpr ControlRect imgBtnCancel = Grid::CancelButton; // ours: painted in imgCnt
inline constexpr ControlRect imgBtnOk = Grid::OkButton;         // ours: painted in imgCnt
inline constexpr ControlRect imgHlp = Grid::HelpBox;            // ours
inline constexpr ControlRect labelHelp = Grid::HelpLabel;       // ours
inline constexpr int IconLeft = 505;
inline constexpr int LabelLeft = 545;
inline constexpr int DepthIndent = 20;
inline constexpr int RowTop = 205;
inline constexpr int RowHeight = 17;
inline constexpr int VisibleRows = 16;
inline constexpr int IconSize = 15;
constexpr ControlRect RowIcon(int depth, int visibleRow)
{
    return {IconLeft + DepthIndent * depth, RowTop + RowHeight * visibleRow, IconSize, IconSize};
}
constexpr ControlRect RowLabel(int depth, int visibleRow)
{
    return {LabelLeft + DepthIndent * depth, RowTop + RowHeight * visibleRow, 892 - (LabelLeft + DepthIndent * depth),
            RowHeight};
}
inline constexpr ControlRect ListArea{496, 200, 396, 282}; // ours: flat surface behind the rows
} // namespace NewProject3

// ------------------------------------------------------------------------------------- imprint, preview
namespace Imprint {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};
inline constexpr ControlRect ImgImprint{194, 178, 636, 411}; // ours: centred on the panel
inline constexpr ControlRect ImgBtn{678, 529, 136, 44};      // ours: inside the imprint card
inline constexpr ControlRect ImgApply = ImgBtn;              // ours: click area of the OK image
} // namespace Imprint

namespace Preview {
inline constexpr ControlRect imgPreview{0, 0, 1024, 768};
inline constexpr ControlRect imgClose{387, 733, 250, 35};
// Over a picture that fills the panel the close button goes to the top right corner, where the pages of the
// designs keep no buttons of their own (ours).
inline constexpr ControlRect imgCloseOnPage{770, 4, 250, 35};
// A page shown in part of the window (the studio page): 900 x 500, centred; the close button stays below it.
inline constexpr ControlRect ReducedPage{62, 134, 900, 500};
} // namespace Preview

// ------------------------------------------------------------------------------------------- pop-ups
namespace OkPopup {
inline constexpr ControlRect ImgBG = PopupGrid::Background;
inline constexpr ControlRect imgCnt = PopupGrid::Content; // ours: header band and message frame
inline constexpr ControlRect LabelMessage = PopupGrid::Message;
inline constexpr ControlRect imgBtn = PopupGrid::ButtonCentre; // ours
inline constexpr ControlRect ImgOK = PopupGrid::ButtonCentre;  // ours
inline constexpr ControlRect imgX = PopupGrid::Cross;          // ours
} // namespace OkPopup

namespace YesNoPopup {
inline constexpr ControlRect ImgBG = PopupGrid::Background;
inline constexpr ControlRect imgCnt = PopupGrid::Content; // ours
inline constexpr ControlRect LabelMessage = PopupGrid::Message;
inline constexpr ControlRect ImgBtn = PopupGrid::ButtonPair;       // ours: Yes and No in one picture
inline constexpr ControlRect ImgYes = PopupGrid::ButtonLeft;       // ours
inline constexpr ControlRect ImgNo = PopupGrid::ButtonRight;       // ours
inline constexpr ControlRect imgBtnSmallCancel = PopupGrid::Cross; // ours
} // namespace YesNoPopup

namespace WaitPopup {
inline constexpr ControlRect ImgBG = PopupGrid::Background;
inline constexpr ControlRect pb{50, 112, 400, 25};
inline constexpr ControlRect labelInfo{50, 152, 400, 57};
inline constexpr ControlRect imgCancel{190, 212, 120, 32}; // ours: under the text, only while a step
                                                           // may be cancelled
} // namespace WaitPopup

namespace AddEntry {
inline constexpr ControlRect ImgBG = PopupGrid::Background;
inline constexpr ControlRect imgEdit = PopupGrid::Content;         // ours: header band, caption zone, field
inline constexpr ControlRect lblCaption{40, 62, 420, 22};          // ours
inline constexpr ControlRect EditAdd{54, 104, 392, 24};            // ours
inline constexpr ControlRect imgBtn = PopupGrid::ButtonPair;       // ours: Apply and Cancel in one picture
inline constexpr ControlRect ImgApply = PopupGrid::ButtonLeft;     // ours
inline constexpr ControlRect ImgCancel = PopupGrid::ButtonRight;   // ours
inline constexpr ControlRect imgBtnSmallCancel = PopupGrid::Cross; // ours
inline constexpr ControlRect Field{40, 96, 420, 40};               // ours: light field behind EditAdd
} // namespace AddEntry

namespace MemoPopup {
inline constexpr ControlRect imgBG = PopupGrid::Background;
inline constexpr ControlRect lblCaption{57, 52, 386, 20};           // ours
inline constexpr ControlRect memoText{57, 80, 386, 88};             // ours: size given, place ours
inline constexpr ControlRect imgBtnOK = PopupGrid::ButtonLeft;      // ours
inline constexpr ControlRect imgBtnCancel = PopupGrid::ButtonRight; // ours
inline constexpr ControlRect imgBtnCancelX = PopupGrid::Cross;      // ours
inline constexpr ControlRect Field{49, 74, 402, 100};               // ours: light field behind memoText
} // namespace MemoPopup

// The findings of the check before finishing: the memo pop-up's places, read-only, with its own two buttons.
namespace FindingsPopup {
inline constexpr ControlRect imgBG = PopupGrid::Background;
inline constexpr ControlRect lblCaption{57, 52, 386, 20};          // ours
inline constexpr ControlRect memoText{57, 80, 386, 88};            // ours
inline constexpr ControlRect imgBtnFinish = PopupGrid::ButtonLeft; // ours
inline constexpr ControlRect imgBtnBack = PopupGrid::ButtonRight;  // ours
inline constexpr ControlRect imgBtnCancelX = PopupGrid::Cross;     // ours
inline constexpr ControlRect Field{49, 74, 402, 100};              // ours: light field behind memoText
} // namespace FindingsPopup

namespace Save {
inline constexpr ControlRect ImgBG = PopupGrid::Background;
inline constexpr ControlRect imgCnt = PopupGrid::Content;          // ours: the question painted in
inline constexpr ControlRect imgYes = PopupGrid::ButtonLeft;       // ours
inline constexpr ControlRect imgYesActive = PopupGrid::ButtonLeft; // ours
inline constexpr ControlRect imgNo = PopupGrid::ButtonRight;       // ours
inline constexpr ControlRect imgNoActive = PopupGrid::ButtonRight; // ours
inline constexpr ControlRect imgExit = PopupGrid::Cross;           // ours
} // namespace Save

namespace Exit {
inline constexpr ControlRect ImgBG = PopupGrid::Background;
inline constexpr ControlRect imgCnt = PopupGrid::Content;          // ours
inline constexpr ControlRect imgYes = PopupGrid::ButtonLeft;       // ours: "Leave"
inline constexpr ControlRect imgYesActive = PopupGrid::ButtonLeft; // ours
inline constexpr ControlRect imgNo = PopupGrid::ButtonRight;       // ours: "Stay"
inline constexpr ControlRect imgNoActive = PopupGrid::ButtonRight; // ours
inline constexpr ControlRect Image3 = PopupGrid::Cross;            // ours
} // namespace Exit

namespace ExitAndSave {
inline constexpr ControlRect ImgBG = PopupGrid::Background;
inline constexpr ControlRect imgCnt = PopupGrid::Content;                       // ours
inline constexpr ControlRect imgBtnExitSave = PopupGrid::ButtonOf3First;        // ours: "Save"
inline constexpr ControlRect imgBtnExitSave_Act = PopupGrid::ButtonOf3First;    // ours
inline constexpr ControlRect imgBtnExitNoSave = PopupGrid::ButtonOf3Second;     // ours: "Leave"
inline constexpr ControlRect imgBtnExitNoSave_Act = PopupGrid::ButtonOf3Second; // ours
inline constexpr ControlRect imgBtnCancel = PopupGrid::ButtonOf3Third;          // ours: "Stay"
inline constexpr ControlRect imgBtnCancel_Act = PopupGrid::ButtonOf3Third;      // ours
inline constexpr ControlRect imgCancel1 = PopupGrid::Cross;                     // ours
} // namespace ExitAndSave

// The splash bitmap is not a skin picture; its two labels still need a place (ours).
namespace Splash {
inline constexpr ControlRect Background = PopupGrid::Background;
inline constexpr ControlRect labelInfo{40, 196, 420, 18};    // ours
inline constexpr ControlRect labelVersion{400, 222, 80, 16}; // ours
} // namespace Splash

// ------------------------------------------------------------------------------------------ label kit
namespace LabelkitSetup {
inline constexpr ControlRect imgBG{0, 0, 1024, 768};                          // ours: size not stated, full panel
inline constexpr ControlRect imgBtnLoadUserPic{104, 236, 392, 50};            // ours
inline constexpr ControlRect imgBtnEdUserText{104, 296, 392, 50};             // ours
inline constexpr ControlRect imgBtnClearUserPic{104, 356, 392, 50};           // ours
inline constexpr ControlRect imgBtnClearUserPicInactive = imgBtnClearUserPic; // ours
inline constexpr ControlRect imgBtnPrint{104, 444, 392, 50};                  // ours
inline constexpr ControlRect imgBtnCancel{104, 504, 392, 50};                 // ours
inline constexpr ControlRect imgPreview{554, 184, 400, 400};
inline constexpr ControlRect labelHelp{232, 616, 560, 76}; // ours: the hint label of the screen
inline constexpr ControlRect HelpBox{212, 606, 600, 96};   // ours: a little lower than elsewhere
inline constexpr ControlRect Card{80, 184, 440, 400};      // ours: card behind the buttons
} // namespace LabelkitSetup

namespace LabelKitPrint {
inline constexpr ControlRect imgBG{0, 0, 1024, 768}; // ours: size not stated, full panel
inline constexpr ControlRect imgPreview{677, 185, 283, 400};
inline constexpr ControlRect Card{80, 185, 572, 400};                // ours: card with both label groups
inline constexpr ControlRect UpperGroup{80, 185, 364, 200};          // ours
inline constexpr ControlRect LowerGroup{80, 385, 364, 200};          // ours
inline constexpr ControlRect imgPrntUpLabel{100, 237, 212, 28};      // ours
inline constexpr ControlRect imgPrntUpLblChecked = imgPrntUpLabel;   // ours
inline constexpr ControlRect lblUpCorX{232, 285, 80, 18};            // ours
inline constexpr ControlRect lblUpCorY{232, 315, 80, 18};            // ours
inline constexpr ControlRect imgBtnUpperLblUp{366, 229, 36, 36};     // ours: arrow pad of the upper label
inline constexpr ControlRect imgBtnUpperLblLeft{326, 269, 36, 36};   // ours
inline constexpr ControlRect imgBtnUpperLblRight{406, 269, 36, 36};  // ours
inline constexpr ControlRect imgBtnUpperLblDown{366, 309, 36, 36};   // ours
inline constexpr ControlRect imgPrntLoLabel{100, 437, 212, 28};      // ours
inline constexpr ControlRect imgPrntLoLblChecked = imgPrntLoLabel;   // ours
inline constexpr ControlRect lblLowCorX{232, 485, 80, 18};           // ours
inline constexpr ControlRect lblLowCorY{232, 515, 80, 18};           // ours
inline constexpr ControlRect imgBtnLowerLblUp{366, 429, 36, 36};     // ours: arrow pad of the lower label
inline constexpr ControlRect imgBtnLowerLblLeft{326, 469, 36, 36};   // ours
inline constexpr ControlRect imgBtnLowerLblRight{406, 469, 36, 36};  // ours
inline constexpr ControlRect imgBtnLowerLblDpwn{366, 509, 36, 36};   // ours
inline constexpr ControlRect imgBtnPrint{460, 209, 176, 50};         // ours
inline constexpr ControlRect imgBtnReset{460, 271, 176, 44};         // ours
inline constexpr ControlRect imgBtnTestSheet{460, 325, 176, 44};     // ours: prints the outlines with rulers
inline constexpr ControlRect Note{462, 378, 176, 80};                // ours: how far one press moves a label
inline constexpr ControlRect imgBtnBackToEdLbl{460, 465, 176, 44};   // ours
inline constexpr ControlRect imgBtnBackToPrjMenu{460, 521, 176, 44}; // ours
inline constexpr ControlRect labelHelp = LabelkitSetup::labelHelp;   // ours: the hint label of the screen
inline constexpr ControlRect HelpBox = LabelkitSetup::HelpBox;       // ours
} // namespace LabelKitPrint

// ---------------------------------------------------------------------------------------- studio screen
namespace Photographer {
inline constexpr ControlRect ImgBG{0, 0, 1024, 768};              // ours: size not stated, full panel
inline constexpr ControlRect imgLogo = Grid::Logo;                // ours: as on the editors
inline constexpr ControlRect edIntro{236, 188, 304, 24};          // ours
inline constexpr ControlRect memoStudio{236, 228, 304, 40};       // ours
inline constexpr ControlRect memoAddress{236, 284, 304, 54};      // ours
inline constexpr ControlRect memoPhone{236, 354, 304, 36};        // ours
inline constexpr ControlRect edEmail{236, 406, 304, 24};          // ours
inline constexpr ControlRect edURL{236, 446, 304, 24};            // ours
inline constexpr ControlRect memoInfo{236, 486, 304, 80};         // ours
inline constexpr ControlRect imgBtnStyleBlock1{556, 184, 32, 32}; // ours: font of the introduction
inline constexpr ControlRect imgBtnStyleBlock2{556, 232, 32, 32}; // ours: font of the studio name
inline constexpr ControlRect imgBtnStyleBlock3{556, 284, 32, 32}; // ours: font of address to web address
inline constexpr ControlRect imgBtnFontInfo{556, 486, 32, 32};    // ours: font of the information
inline constexpr ControlRect imgBtnLogo{616, 214, 96, 96};        // ours
inline constexpr ControlRect imgBtnSample1{724, 214, 96, 96};     // ours
inline constexpr ControlRect imgBtnSample2{832, 214, 96, 96};     // ours
inline constexpr ControlRect imgBtnDelLogo{650, 318, 28, 28};     // ours: below its picture button
inline constexpr ControlRect imgBtnDelSamp1{758, 318, 28, 28};    // ours
inline constexpr ControlRect imgBtnDelSamp2{866, 318, 28, 28};    // ours
inline constexpr ControlRect Image7{616, 376, 312, 44};           // ours: preview of the studio page
inline constexpr ControlRect imgBtnCancel = Grid::CancelButton;   // ours
inline constexpr ControlRect imgBtnOK = Grid::OkButton;           // ours
inline constexpr ControlRect lblHelp = Grid::HelpLabel;           // ours: the hints go here
inline constexpr ControlRect labelHelp = Grid::HelpLabel;         // ours: shares the hint line's place
// The text fields' light writing areas reach this far beyond their control on every side (ours).
inline constexpr int FieldMargin = 4;
} // namespace Photographer

} // namespace Geometry
