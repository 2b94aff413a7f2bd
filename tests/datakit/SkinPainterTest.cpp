#include "SkinPainter.h"
#include "platform/Errors.h"
#include "screens/ScreenGeometry.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace G = Geometry;

namespace {

QSize SizeOf(const G::ControlRect& r) { return QSize(r.w, r.h); }

// The sizes the catalogue of skin pictures states, written out as it states them.
std::map<int, QSize> CatalogueSizes()
{
    std::map<int, QSize> sizes = {
        {1, {1024, 768}},  {2, {1024, 13}},   {3, {170, 21}},   {4, {105, 90}},   {5, {170, 21}},   {6, {105, 90}},
        {7, {125, 90}},    {8, {170, 21}},    {9, {105, 90}},   {13, {1024, 33}}, {14, {70, 457}},  {15, {50, 50}},
        {16, {50, 50}},    {17, {50, 50}},    {18, {490, 345}}, {23, {15, 15}},   {25, {15, 15}},   {27, {15, 15}},
        {30, {500, 250}},  {53, {13, 49}},    {54, {100, 75}},  {55, {13, 49}},   {57, {170, 22}},  {58, {170, 22}},
        {59, {170, 22}},   {60, {110, 20}},   {61, {110, 20}},  {62, {110, 20}},  {63, {170, 25}},  {64, {170, 21}},
        {65, {130, 20}},   {66, {554, 185}},  {67, {554, 122}}, {68, {154, 300}}, {69, {170, 25}},  {70, {170, 21}},
        {71, {170, 22}},   {72, {170, 22}},   {73, {170, 22}},  {75, {170, 22}},  {76, {170, 22}},  {77, {170, 22}},
        {78, {554, 185}},  {79, {154, 300}},  {80, {170, 25}},  {81, {170, 21}},  {91, {636, 411}}, {100, {1024, 768}},
        {129, {1024, 148}}, {130, {1024, 278}}, {131, {345, 457}}, {148, {250, 35}}, {149, {170, 22}}, {150, {170, 22}},
        {151, {170, 22}},  {153, {50, 75}},   {155, {50, 75}},  {156, {50, 75}},  {158, {50, 75}},  {159, {50, 75}},
        {161, {50, 75}},   {162, {470, 607}}, {163, {470, 607}}, {164, {1024, 607}}, {165, {470, 607}}, {166, {154, 300}},
        {167, {1024, 161}}, {168, {120, 90}},  {169, {154, 17}}, {170, {130, 90}}, {171, {158, 20}}, {195, {554, 122}},
        {196, {500, 250}},
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
        {10, SizeOf(G::AddEntry::imgBtn)},         {11, SizeOf(G::AddEntry::imgEdit)},
        {19, SizeOf(G::Music::imgHelp)},           {20, SizeOf(G::Finish::imgHelpBox)},
        {21, SizeOf(G::NewProject3::imgBb)},       {22, SizeOf(G::NewProject3::imgBt)},
        {29, SizeOf(G::NewProject3::imgHlp)},      {35, SizeOf(G::OkPopup::imgBtn)},
        {36, SizeOf(G::OkPopup::imgCnt)},          {41, SizeOf(PM::ImgEdPers_Act)},
        {42, SizeOf(PM::imgEdPrj_Act)},            {43, SizeOf(PM::imgEdStory_Act)},
        {44, SizeOf(PM::imgExitPrg_Act)},          {45, SizeOf(PM::imgExitPrj_Act)},
        {46, SizeOf(PM::imgFin_Act)},              {47, SizeOf(PM::imgMusic_Act)},
        {48, SizeOf(PM::imgMusic_InAct)},          {50, SizeOf(PM::imgSave_Act)},
        {51, SizeOf(PM::imgSave_InAct)},           {74, SizeOf(G::PersonalProject::imgCap)},
        {82, SizeOf(G::NewProject3::imgTop)},      {83, SizeOf(G::ExitAndSave::imgCnt)},
        {84, SizeOf(G::Finish::ImgBtn)},           {85, SizeOf(G::Finish::ImgForm)},
        {86, SizeOf(G::FinishComplete::ImgReport)}, {87, SizeOf(G::FinishError::ImgReport)},
        {88, SizeOf(G::FinishError::ImgFrame)},    {89, SizeOf(G::Imprint::ImgBtn)},
        {90, SizeOf(G::Finish::ImgHeader)},        {101, SizeOf(G::Music::imgBtn)},
        {102, SizeOf(G::Music::imgStop)},          {103, SizeOf(G::NewProject1::imgBtn)},
        {104, SizeOf(G::NewProject2::imgCnt)},     {105, SizeOf(G::NewProject3::imgBtn)},
        {106, SizeOf(G::NewProject3::imgBtnDisabled)}, {107, SizeOf(G::NewProject3::imgCnt)},
        {108, SizeOf(G::Exit::imgCnt)},            {109, SizeOf(G::Save::imgCnt)},
        {110, SizeOf(G::YesNoPopup::ImgBtn)},      {111, SizeOf(PM::ImgBG)},
        {173, SizeOf(G::NewProject1::imgFrm)},     {174, SizeOf(G::NewProject1::imgTop)},
        {175, SizeOf(G::NewProject2::imgTop)},     {176, SizeOf(G::NewProject3::imgTop)},
        {179, SizeOf(G::Finish::imgDuration)},     {180, SizeOf(G::Photographer::imgBtnDelLogo)},
        {181, SizeOf(G::Photographer::ImgBG)},     {182, SizeOf(PM::ImgStudioBG)},
        {183, SizeOf(PM::imgStudio_Active)},       {184, SizeOf(G::Finish::imgVisible)},
        {185, SizeOf(G::Finish::imgVisible)},      {186, SizeOf(G::LabelKitPrint::imgBG)},
        {187, SizeOf(G::LabelkitSetup::imgBG)},    {188, SizeOf(G::LabelKitPrint::imgPrntUpLblChecked)},
        {189, SizeOf(G::LabelKitPrint::imgPrntLoLblChecked)}, {191, SizeOf(G::LabelkitSetup::imgBtnClearUserPicInactive)},
        {192, SizeOf(PM::imgBtn_Labelkit_Act)},    {193, SizeOf(PM::imgLabelKitText)},
        {194, SizeOf(PM::imgBtn_LabelKit)},        {197, SizeOf(G::NewProject2::ImgFullscreen)},
        {198, SizeOf(G::NewProject2::ImgFullScreenActive)}, {199, SizeOf(G::FinishComplete::imgBtnDiscImage)},
        {200, SizeOf(PG::Background)},
        {201, SizeOf(G::FinishComplete::imgBtnVideo)}, {202, SizeOf(G::WaitPopup::imgCancel)},
    };
    for (int index : {31, 32, 33, 34, 37, 38, 39, 40})
        sizes[index] = SizeOf(PG::ButtonLeft);
    // The hidden variant's pictures replace 41..48, 50, 51, 182, 183, 192, 193, 194 one for one.
    const std::pair<int, int> alternatives[] = {{132, 41}, {133, 42}, {134, 43}, {135, 44}, {136, 45},
                                                {137, 46}, {138, 47}, {139, 48}, {140, 50}, {141, 51},
                                                {142, 182}, {143, 183}, {144, 192}, {152, 193}, {172, 194}};
    for (const auto& [alternative, normal] : alternatives)
        sizes[alternative] = sizes.at(normal);
    return sizes;
}

const std::set<int>& UnusedIndexes()
{
    static const std::set<int> unused = [] {
        std::set<int> s = {0, 12, 24, 26, 28, 49, 52, 56, 145, 146, 147, 154, 157, 160, 177, 178, 190};
        for (int i = 112; i <= 128; ++i)
            s.insert(i);
        return s;
    }();
    return unused;
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
void ExpectFitsOver(const QImage& screen, const QImage& overlay, const G::ControlRect& at, int index)
{
    SCOPED_TRACE("picture " + std::to_string(index));
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

}  // namespace

TEST(SkinPainterTest, EveryPositionHoldsAPictureOfItsPlaceSize)
{
    SkinPainter painter;
    std::map<int, QSize> expected = GeometrySizes();
    for (const auto& [index, size] : CatalogueSizes())
        ASSERT_TRUE(expected.emplace(index, size).second) << "picture " << index << " listed twice";
    ASSERT_EQ(SkinPainter::Count(), 203);
    ASSERT_EQ(expected.size() + UnusedIndexes().size(), 203u);
    for (int index = 0; index < SkinPainter::Count(); ++index) {
        SCOPED_TRACE("picture " + std::to_string(index));
        const QImage picture = painter.Paint(index);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(SkinPainter::IsUsed(index), UnusedIndexes().count(index) == 0);
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
    const QImage imageEdit = Compose(painter, {1024, 768}, {{13, IE::ImgBG1}, {14, IE::ImgBG2}, {130, IE::ImgBG3}, {131, IE::ImgBG4}});
    for (int index : {15, 16, 17})
        ExpectFitsOver(imageEdit, painter.Paint(index), IE::ImgPositiv, index);
    const QImage popup = painter.Paint(30);
    const std::pair<int, G::ControlRect> popupButtons[] = {{31, G::Exit::imgNoActive}, {32, G::Exit::imgNo},
                                                           {33, G::Exit::imgYesActive}, {34, G::Exit::imgYes},
                                                           {35, G::OkPopup::imgBtn}, {37, G::Save::imgNoActive},
                                                           {38, G::Save::imgNo}, {39, G::ExitAndSave::imgBtnExitSave_Act},
                                                           {40, G::ExitAndSave::imgBtnExitSave}, {33, G::ExitAndSave::imgBtnExitNoSave_Act},
                                                           {31, G::ExitAndSave::imgBtnCancel_Act}};
    for (const auto& [index, at] : popupButtons)
        ExpectFitsOver(popup, painter.Paint(index), at, index);
    const QImage labelPrint = painter.Paint(186);
    ExpectFitsOver(labelPrint, painter.Paint(188), G::LabelKitPrint::imgPrntUpLblChecked, 188);
    ExpectFitsOver(labelPrint, painter.Paint(189), G::LabelKitPrint::imgPrntLoLblChecked, 189);
    ExpectFitsOver(painter.Paint(187), painter.Paint(191), G::LabelkitSetup::imgBtnClearUserPicInactive, 191);
    namespace Mu = G::Music;
    const QImage music = Compose(painter, {1024, 768}, {{1, Mu::ImgBG}, {101, Mu::imgBtn}});
    ExpectFitsOver(music, painter.Paint(102), Mu::imgStop, 102);
    const QImage finishComplete = Compose(painter, {1024, 768}, {{1, G::Grid::FullPanel}, {86, G::FinishComplete::ImgReport}});
    ExpectFitsOver(finishComplete, painter.Paint(199), G::FinishComplete::imgBtnDiscImage, 199);
    ExpectFitsOver(finishComplete, painter.Paint(201), G::FinishComplete::imgBtnVideo, 201);
}
