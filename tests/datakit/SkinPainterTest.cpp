#include "SkinPainter.h"
#include "SkinScene.h"
#include "platform/Errors.h"
#include "screens/DataIndexes.h"
#include "screens/ScreenGeometry.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <map>
#include <utility>
#include <vector>

namespace G = Geometry;

namespace {

QSize SizeOf(const G::ControlRect& r) { return QSize(r.w, r.h); }

// The sizes the catalogue of skin pictures states, written out as it states them.
std::map<int, QSize> CatalogueSizes()
{
    std::map<int, QSize> sizes = {
        {1, {1024, 768}},  {2, {1024, 13}},    {3, {170, 21}},     {4, {105, 90}},     {5, {170, 21}},
        {6, {105, 90}},    {7, {125, 90}},     {8, {170, 21}},     {9, {105, 90}},     {13, {1024, 33}},
        {14, {70, 457}},   {15, {50, 50}},     {16, {50, 50}},     {17, {50, 50}},     {18, {490, 345}},
        {23, {15, 15}},    {25, {15, 15}},     {27, {15, 15}},     {30, {500, 250}},   {53, {13, 49}},
        {54, {100, 75}},   {55, {13, 49}},     {57, {170, 22}},    {58, {170, 22}},    {59, {170, 22}},
        {60, {110, 20}},   {61, {110, 20}},    {62, {110, 20}},    {63, {170, 25}},    {64, {170, 21}},
        {65, {130, 20}},   {66, {554, 185}},   {67, {554, 122}},   {68, {154, 300}},   {69, {170, 25}},
        {70, {170, 21}},   {71, {170, 22}},    {72, {170, 22}},    {73, {170, 22}},    {75, {170, 22}},
        {76, {170, 22}},   {77, {170, 22}},    {78, {554, 185}},   {79, {154, 300}},   {80, {170, 25}},
        {81, {170, 21}},   {91, {636, 411}},   {100, {1024, 768}}, {129, {1024, 148}}, {130, {1024, 278}},
        {131, {345, 457}}, {148, {250, 35}},   {149, {170, 22}},   {150, {170, 22}},   {151, {170, 22}},
        {153, {50, 75}},   {155, {50, 75}},    {156, {50, 75}},    {158, {50, 75}},    {159, {50, 75}},
        {161, {50, 75}},   {162, {470, 607}},  {163, {470, 607}},  {164, {1024, 607}}, {165, {470, 607}},
        {166, {154, 300}}, {167, {1024, 161}}, {168, {120, 90}},   {169, {154, 17}},   {170, {130, 90}},
        {171, {158, 20}},  {195, {554, 122}},  {196, {500, 250}},
    };
    for (int i = 92; i <= 99; ++i)
        sizes[i] = {55, 73};
    return sizes;
}

// Pictures whose size the catalogue leaves open take the size of their place in the geometry table.
std::map<int, QSize> GeometrySizes()
{
    namespace PM = G::ProjectMenu;
    namespace PG = G::PopupGrid;
    std::map<int, QSize> sizes = {
        {Skin::AddEntryButtons, SizeOf(G::AddEntry::imgBtn)},
        {Skin::AddEntryField, SizeOf(G::AddEntry::imgEdit)},
        {Skin::MusicHelpBox, SizeOf(G::Music::imgHelp)},
        {Skin::HelpBox, SizeOf(G::Finish::imgHelpBox)},
        {Skin::ChapterListDown, SizeOf(G::NewProject3::imgBb)},
        {Skin::ChapterListUp, SizeOf(G::NewProject3::imgBt)},
        {Skin::ChapterHelpBox, SizeOf(G::NewProject3::imgHlp)},
        {Skin::OkButton, SizeOf(G::OkPopup::imgBtn)},
        {Skin::MessageFrame, SizeOf(G::OkPopup::imgCnt)},
        {Skin::MenuPersonalDataActive, SizeOf(PM::ImgEdPers_Act)},
        {Skin::MenuPagesActive, SizeOf(PM::imgEdPrj_Act)},
        {Skin::MenuChaptersActive, SizeOf(PM::imgEdStory_Act)},
        {Skin::MenuLeaveActive, SizeOf(PM::imgExitPrg_Act)},
        {Skin::MenuCloseActive, SizeOf(PM::imgExitPrj_Act)},
        {Skin::MenuFinishActive, SizeOf(PM::imgFin_Act)},
        {Skin::MenuMusicActive, SizeOf(PM::imgMusic_Act)},
        {Skin::MenuMusicGreyed, SizeOf(PM::imgMusic_InAct)},
        {Skin::MenuSaveActive, SizeOf(PM::imgSave_Act)},
        {Skin::MenuSaveGreyed, SizeOf(PM::imgSave_InAct)},
        {Skin::PersonalDataCaption, SizeOf(G::PersonalProject::imgCap)},
        {Skin::ChaptersEditHeader, SizeOf(G::NewProject3::imgTop)},
        {Skin::ExitAndSaveQuestion, SizeOf(G::ExitAndSave::imgCnt)},
        {Skin::FinishButtons, SizeOf(G::Finish::ImgBtn)},
        {Skin::FinishForm, SizeOf(G::Finish::ImgForm)},
        {Skin::FinishCompleteReport, SizeOf(G::FinishComplete::ImgReport)},
        {Skin::FinishErrorReport, SizeOf(G::FinishError::ImgReport)},
        {Skin::FinishErrorFrame, SizeOf(G::FinishError::ImgFrame)},
        {Skin::ReportOkButton, SizeOf(G::Imprint::ImgBtn)},
        {Skin::FinishHeader, SizeOf(G::Finish::ImgHeader)},
        {Skin::MusicButtons, SizeOf(G::Music::imgBtn)},
        {Skin::MusicStop, SizeOf(G::Music::imgStop)},
        {Skin::NamesButtons, SizeOf(G::NewProject1::imgBtn)},
        {Skin::DesignList, SizeOf(G::NewProject2::imgCnt)},
        {Skin::ChapterEditButtons, SizeOf(G::NewProject3::imgBtn)},
        {Skin::ChapterEditButtonsGreyed, SizeOf(G::NewProject3::imgBtnDisabled)},
        {Skin::ChapterList, SizeOf(G::NewProject3::imgCnt)},
        {Skin::ExitQuestion, SizeOf(G::Exit::imgCnt)},
        {Skin::SaveQuestion, SizeOf(G::Save::imgCnt)},
        {Skin::YesNoButtons, SizeOf(G::YesNoPopup::ImgBtn)},
        {Skin::ProjectMenuBackground, SizeOf(PM::ImgBG)},
        {Skin::NamesFrame, SizeOf(G::NewProject1::imgFrm)},
        {Skin::NewProjectHeader, SizeOf(G::NewProject1::imgTop)},
        {Skin::DesignHeader, SizeOf(G::NewProject2::imgTop)},
        {Skin::ChaptersHeader, SizeOf(G::NewProject3::imgTop)},
        {Skin::StudioPageDuration, SizeOf(G::Finish::imgDuration)},
        {Skin::DeletePicture, SizeOf(G::Photographer::imgBtnDelLogo)},
        {Skin::StudioBackground, SizeOf(G::Photographer::ImgBG)},
        {Skin::MenuStudio, SizeOf(PM::ImgStudioBG)},
        {Skin::MenuStudioActive, SizeOf(PM::imgStudio_Active)},
        {Skin::StudioPageOff, SizeOf(G::Finish::imgVisible)},
        {Skin::StudioPageOn, SizeOf(G::Finish::imgVisible)},
        {Skin::LabelKitPrintBackground, SizeOf(G::LabelKitPrint::imgBG)},
        {Skin::LabelKitSetupBackground, SizeOf(G::LabelkitSetup::imgBG)},
        {Skin::PrintUpperLabelTicked, SizeOf(G::LabelKitPrint::imgPrntUpLblChecked)},
        {Skin::PrintLowerLabelTicked, SizeOf(G::LabelKitPrint::imgPrntLoLblChecked)},
        {Skin::RemoveLabelPictureGreyed, SizeOf(G::LabelkitSetup::imgBtnClearUserPicInactive)},
        {Skin::MenuLabelKitActive, SizeOf(PM::imgBtn_Labelkit_Act)},
        {Skin::MenuLabelKitCaption, SizeOf(PM::imgLabelKitText)},
        {Skin::MenuLabelKit, SizeOf(PM::imgBtn_LabelKit)},
        {Skin::DesignFullscreen, SizeOf(G::NewProject2::ImgFullscreen)},
        {Skin::DesignFullscreenActive, SizeOf(G::NewProject2::ImgFullScreenActive)},
        {Skin::DiscImageButtonActive, SizeOf(G::FinishComplete::imgBtnDiscImage)},
        {Skin::FindingsPopup, SizeOf(PG::Background)},
        {Skin::VideoButtonActive, SizeOf(G::FinishComplete::imgBtnVideo)},
        {Skin::WaitCancel, SizeOf(G::WaitPopup::imgCancel)},
        {Skin::LabelTestSheetActive, SizeOf(G::LabelKitPrint::imgBtnTestSheet)},
        {Skin::CalendarActive, SizeOf(G::NewProject1::imgCalendarActive)},
    };
    for (int index : {Skin::StayButtonActive, Skin::StayButton, Skin::LeaveButtonActive, Skin::LeaveButton,
                      Skin::DontSaveButtonActive, Skin::DontSaveButton, Skin::SaveButtonActive, Skin::SaveButton})
        sizes[index] = SizeOf(PG::ButtonLeft);
    // The hidden variant's pictures replace 41..48, 50, 51, 182, 183, 192, 193, 194 one for one.
    const std::pair<int, int> alternatives[] = {{132, 41},  {133, 42},  {134, 43},  {135, 44},  {136, 45},
                                                {137, 46},  {138, 47},  {139, 48},  {140, 50},  {141, 51},
                                                {142, 182}, {143, 183}, {144, 192}, {152, 193}, {172, 194}};
    for (const auto& [alternative, normal] : alternatives)
        sizes[alternative] = sizes.at(normal);
    return sizes;
}

QImage Compose(SkinPainter& painter, QSize size, const std::vector<std::pair<int, G::ControlRect>>& parts)
{
    QImage screen(size, QImage::Format_RGB32);
    screen.fill(Qt::magenta);
    QPainter p(&screen);
    for (const auto& [index, at] : parts)
        p.drawImage(at.x, at.y, painter.Paint(index));
    return screen;
}

// A hover or greyed picture must fit its place: the corners, which the button's rounded body leaves free,
// show exactly what the background shows there, and inside it really looks different.
void ExpectFitsOver(SkinPainter& painter, const QImage& screen, int index, const G::ControlRect& at)
{
    SCOPED_TRACE("picture " + std::to_string(index));
    const QImage overlay = painter.Paint(index);
    ASSERT_EQ(overlay.size(), SizeOf(at));
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            EXPECT_EQ(overlay.pixel(dx, dy), screen.pixel(at.x + dx, at.y + dy));
            EXPECT_EQ(overlay.pixel(at.w - 1 - dx, dy), screen.pixel(at.Right() - 1 - dx, at.y + dy));
        }
    int changed = 0;
    for (int y = 0; y < at.h; ++y)
        for (int x = 0; x < at.w; ++x)
            changed += overlay.pixel(x, y) != screen.pixel(at.x + x, at.y + y);
    EXPECT_GT(changed, at.w * at.h / 50);
}

const QRgb kBase = qRgb(200, 0, 0);
const QRgb kPassive = qRgb(0, 0, 200);
const QRgb kActive = qRgb(0, 200, 0);

// A 10 x 6 scene: a red base and one 4 x 3 control at (2, 1), blue when passive and green when active.
SkinScene TinyScene(Look initial = Look::Passive)
{
    SkinScene scene(QSize(10, 6), [](QPainter& p) { p.fillRect(QRect(0, 0, 10, 6), QColor(kBase)); });
    scene.Add(
        "button", Geometry::ControlRect{2, 1, 4, 3},
        [](QPainter& p, const QRectF& r, Look look) {
            p.fillRect(r, QColor(look == Look::Active ? kActive : kPassive));
        },
        initial);
    return scene;
}

int CountColour(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

} // namespace

// The pictures of the two lists are the used ones; every other position holds a tiny placeholder.
TEST(SkinPainterTest, EveryPositionHoldsAPictureOfItsPlaceSize)
{
    SkinPainter painter;
    std::map<int, QSize> expected = GeometrySizes();
    for (const auto& [index, size] : CatalogueSizes())
        ASSERT_TRUE(expected.emplace(index, size).second) << "picture " << index << " listed twice";
    ASSERT_EQ(SkinPainter::Count(), 205);
    ASSERT_EQ(expected.size(), 205u - 34u); // 34 positions are unused
    for (int index = 0; index < SkinPainter::Count(); ++index) {
        SCOPED_TRACE("picture " + std::to_string(index));
        const QImage picture = painter.Paint(index);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(SkinPainter::IsUsed(index), expected.count(index) == 1);
        if (SkinPainter::IsUsed(index))
            EXPECT_EQ(picture.size(), expected.at(index));
        else
            EXPECT_LE(picture.width() * picture.height(), 64);
    }
}

TEST(SkinPainterTest, StateImagesFitTheirScreens)
{
    SkinPainter painter;
    namespace IE = G::ImageEdit;
    const QImage imageEdit = Compose(painter, {1024, 768},
                                     {{Skin::ImageEditTop, IE::ImgBG1},
                                      {Skin::ImageEditLeft, IE::ImgBG2},
                                      {Skin::ImageEditBottom, IE::ImgBG3},
                                      {Skin::ImageEditRight, IE::ImgBG4}});
    for (int index : {Skin::ResolutionLow, Skin::ResolutionBorderline, Skin::ResolutionGood})
        ExpectFitsOver(painter, imageEdit, index, IE::ImgPositiv);
    const QImage popup = painter.Paint(Skin::PopupBackground);
    const std::pair<int, G::ControlRect> popupButtons[] = {
        {Skin::StayButtonActive, G::Exit::imgNoActive},
        {Skin::StayButton, G::Exit::imgNo},
        {Skin::LeaveButtonActive, G::Exit::imgYesActive},
        {Skin::LeaveButton, G::Exit::imgYes},
        {Skin::OkButton, G::OkPopup::imgBtn},
        {Skin::DontSaveButtonActive, G::Save::imgNoActive},
        {Skin::DontSaveButton, G::Save::imgNo},
        {Skin::SaveButtonActive, G::ExitAndSave::imgBtnExitSave_Act},
        {Skin::SaveButton, G::ExitAndSave::imgBtnExitSave},
        {Skin::LeaveButtonActive, G::ExitAndSave::imgBtnExitNoSave_Act},
        {Skin::StayButtonActive, G::ExitAndSave::imgBtnCancel_Act}};
    for (const auto& [index, at] : popupButtons)
        ExpectFitsOver(painter, popup, index, at);
    const QImage labelPrint = painter.Paint(Skin::LabelKitPrintBackground);
    ExpectFitsOver(painter, labelPrint, Skin::PrintUpperLabelTicked, G::LabelKitPrint::imgPrntUpLblChecked);
    ExpectFitsOver(painter, labelPrint, Skin::PrintLowerLabelTicked, G::LabelKitPrint::imgPrntLoLblChecked);
    ExpectFitsOver(painter, labelPrint, Skin::LabelTestSheetActive, G::LabelKitPrint::imgBtnTestSheet);
    ExpectFitsOver(painter, painter.Paint(Skin::LabelKitSetupBackground), Skin::RemoveLabelPictureGreyed,
                   G::LabelkitSetup::imgBtnClearUserPicInactive);
    namespace Mu = G::Music;
    const QImage music = Compose(painter, {1024, 768}, {{Skin::Backdrop, Mu::ImgBG}, {Skin::MusicButtons, Mu::imgBtn}});
    ExpectFitsOver(painter, music, Skin::MusicStop, Mu::imgStop);
    const QImage finishComplete =
        Compose(painter, {1024, 768},
                {{Skin::Backdrop, G::Grid::FullPanel}, {Skin::FinishCompleteReport, G::FinishComplete::ImgReport}});
    ExpectFitsOver(painter, finishComplete, Skin::DiscImageButtonActive, G::FinishComplete::imgBtnDiscImage);
    ExpectFitsOver(painter, finishComplete, Skin::VideoButtonActive, G::FinishComplete::imgBtnVideo);
    const QImage personCard = Compose(
        painter, {1024, 768}, {{Skin::Backdrop, G::Grid::FullPanel}, {Skin::NamesFrame, G::NewProject1::imgFrm}});
    ExpectFitsOver(painter, personCard, Skin::CalendarActive, G::NewProject1::imgCalendarActive);
}

TEST(SkinSceneTest, RenderDrawsTheBaseAndEachControlInItsLook)
{
    const QImage passive = TinyScene().Render();
    ASSERT_EQ(passive.size(), QSize(10, 6));
    EXPECT_EQ(passive.pixel(0, 0), kBase);
    EXPECT_EQ(passive.pixel(2, 1), kPassive);
    EXPECT_EQ(passive.pixel(5, 3), kPassive);
    EXPECT_EQ(passive.pixel(6, 3), kBase);
    EXPECT_EQ(passive.pixel(5, 4), kBase);
    EXPECT_EQ(CountColour(passive, kPassive), 12);

    const QImage active = TinyScene().Render({{"button", Look::Active}});
    EXPECT_EQ(CountColour(active, kActive), 12);
    const QImage hidden = TinyScene().Render({{"button", Look::Hidden}});
    EXPECT_EQ(CountColour(hidden, kBase), 60);
    EXPECT_EQ(CountColour(TinyScene(Look::Hidden).Render(), kBase), 60);
}

TEST(SkinSceneTest, AnUnknownControlIsAnError)
{
    EXPECT_THROW(TinyScene().Picture("no such control", Look::Active), EVelloraError);
    EXPECT_THROW(TinyScene().Control("no such control"), EVelloraError);
    EXPECT_EQ(TinyScene().Control("button").rect, (Geometry::ControlRect{2, 1, 4, 3}));
}
