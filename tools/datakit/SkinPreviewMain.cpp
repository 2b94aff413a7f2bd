// vellora-skins: writes every skin picture as a PNG, and one composite per screen in which the pictures lie at
// their places from the geometry table together with sample texts, so that a person can judge each screen.
//
//   vellora-skins [output folder]

#include "SkinPainter.h"
#include "screens/ScreenGeometry.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <functional>
#include <vector>

namespace G = Geometry;
namespace Gr = Geometry::Grid;

namespace {

struct Layer {
    int index;
    G::ControlRect at;
};

struct TextItem {
    G::ControlRect at;
    QString text;
    QColor color = Qt::black;
    int px = 13;
    bool bold = false;
    int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    QColor background = Qt::transparent;
};

struct Composite {
    QString name;
    QSize size;
    std::vector<Layer> layers;
    std::vector<TextItem> texts = {};
    std::function<void(QPainter&)> extra = {};
    bool extraFirst = false; // draw `extra` under the pictures instead of over them
};

QRect ToRect(const G::ControlRect& r) { return QRect(r.x, r.y, r.w, r.h); }

TextItem Hint(const G::ControlRect& at, const QString& text)
{
    return {at, text, Qt::black, 15, false, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap};
}

TextItem White(const G::ControlRect& at, const QString& text)
{
    return {at, text, Qt::white, 13, true, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap};
}

// A list label as the screens create it: bold black, the chosen one white on grey.
TextItem ListLabel(const G::ControlRect& at, const QString& text, bool chosen)
{
    return {at,
            text,
            chosen ? Qt::white : Qt::black,
            13,
            true,
            Qt::AlignLeft | Qt::AlignVCenter,
            chosen ? QColor(0x80, 0x80, 0x80) : QColor(Qt::transparent)};
}

void DrawSamplePage(QPainter& p, const G::ControlRect& r, const QString& title)
{
    const QRect area = ToRect(r);
    p.fillRect(area, QColor(0xf4, 0xee, 0xe6));
    p.fillRect(area.adjusted(24, 24, -area.width() / 2, -24), QColor(0xb9, 0xc4, 0xcf));
    QFont font(QStringLiteral("EB Garamond 12"));
    font.setPixelSize(std::max(10, r.h / 12));
    p.setFont(font);
    p.setPen(QColor(0x55, 0x44, 0x3a));
    p.drawText(area.adjusted(area.width() / 2 + 10, 30, -20, -20), Qt::AlignLeft | Qt::TextWordWrap, title);
}

void DrawSampleThumbnails(QPainter& p, int stripTop, int count)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    for (int i = 0; i < count; ++i) {
        const int x = 48 + 135 * i;
        const QRect thumb(x, stripTop + 50, 100, 75);
        p.fillRect(thumb, QColor(0xf4, 0xee, 0xe6));
        p.fillRect(thumb.adjusted(8, 8, -50, -8), QColor(0xb9, 0xc4, 0xcf));
        p.setPen(Qt::black);
        p.drawRect(thumb.adjusted(0, 0, -1, -1));
        const QColor states[] = {QColor(0, 153, 4), QColor(255, 59, 0), QColor(88, 89, 95)};
        const char* letters[] = {"L", "B", "T"};
        for (int m = 0; m < 3; ++m) {
            const QRect marker(x + 104, stripTop + 50 + 17 * m, 14, 14);
            p.fillRect(marker, states[(i + m) % 3]);
            p.drawRect(marker.adjusted(0, 0, -1, -1));
            p.drawText(marker, Qt::AlignCenter, QString::fromLatin1(letters[m]));
        }
    }
    p.setPen(QColor(255, 255, 0));
    p.drawRect(QRect(48, stripTop + 50, 100, 75).adjusted(0, 0, -1, -1));
}

std::vector<Composite> MenuComposites()
{
    namespace M = G::MainMenu;
    namespace PM = G::ProjectMenu;
    std::vector<Composite> list;
    list.push_back({"main-menu",
                    {1024, 768},
                    {{100, M::ImgBG}, {92, M::Img1}},
                    {{M::LabelHint, "New project: start a new album step by step.", Qt::black, 13, false,
                      Qt::AlignCenter | Qt::TextWordWrap}}});
    list.push_back({"main-menu-greyed",
                    {1024, 768},
                    {{100, M::ImgBG}, {93, M::Img1}, {95, M::Img2}, {97, M::Img3}, {99, M::Img4}},
                    {}});
    const std::vector<TextItem> status = {
        {PM::labelStatus, "Some pages still need a layout, pictures or texts.", QColor(128, 0, 0), 12, true},
        {PM::labelMusic, "No background music chosen yet.", QColor(128, 0, 0), 12, true},
        {PM::labelSaved, "All changes are saved.", QColor(0, 128, 0), 12, true},
        {PM::labelPerson, "Anna & Ben", QColor(0, 128, 0), 12, true},
        Hint(PM::labelHelp, "Edit the pages of your album: choose layouts, add photographs and write texts.")};
    list.push_back({"project-menu",
                    {1024, 768},
                    {{111, PM::ImgBG},
                     {51, PM::imgSave_InAct},
                     {194, PM::imgBtn_LabelKit},
                     {193, PM::imgLabelKitText},
                     {182, PM::ImgStudioBG},
                     {42, PM::imgEdPrj_Act}},
                    status});
    list.push_back({"project-menu-hover",
                    {1024, 768},
                    {{111, PM::ImgBG},
                     {194, PM::imgBtn_LabelKit},
                     {193, PM::imgLabelKitText},
                     {192, PM::imgBtn_Labelkit_Act},
                     {48, PM::imgMusic_Act},
                     {44, PM::imgExitPrg_Act},
                     {50, PM::imgSave_Act}},
                    status});
    list.push_back({"project-menu-alternative",
                    {1024, 768},
                    {{111, PM::ImgBG},
                     {141, PM::imgSave_InAct},
                     {172, PM::imgBtn_LabelKit},
                     {152, PM::imgLabelKitText},
                     {142, PM::ImgStudioBG},
                     {133, PM::imgEdPrj_Act},
                     {139, PM::imgMusic_Act},
                     {136, PM::imgExitPrj_Act}},
                    status});
    return list;
}

void AddTimeline(Composite& c)
{
    namespace T = G::Timeline;
    c.layers.push_back({129, T::Origin});
    c.layers.push_back({53, T::imgScrollLeft.Moved(0, T::Origin.y)});
    c.layers.push_back({55, T::imgScrollRight.Moved(0, T::Origin.y)});
    c.layers.push_back({2, G::EditorCommon::cdrom});
    c.texts.push_back(
        {T::labelCategoryTitle.Moved(0, T::Origin.y), "Our wedding -> The ceremony -> Page 2", Qt::white, 13});
}

std::vector<Composite> EditorComposites()
{
    namespace E = G::EditorCommon;
    namespace L = G::EditLayout;
    std::vector<Composite> list;
    Composite layout{"edit-layout",
                     {1024, 768},
                     {{164, L::imgBkg},
                      {62, L::imgKindOnlyText},
                      {158, L::imgBtnPic},
                      {159, L::imgBtnTexDisabled},
                      {63, L::imgTopPrjMenu}},
                     {}};
    const char* names[] = {"Title page", "One big text", "Two columns", "Poem", "Quote with frame", "Letter"};
    for (int i = 0; i < 6; ++i)
        layout.texts.push_back(ListLabel(L::LayoutLabel(i), names[i], i == 2));
    layout.texts.push_back(
        Hint(E::labelHelp, "Click a layout to use it for this page. The preview shows how the page will look."));
    layout.extra = [](QPainter& p) {
        DrawSamplePage(p, E::imgPreview, "Two columns of text");
        DrawSampleThumbnails(p, 607, 6);
    };
    AddTimeline(layout);
    list.push_back(layout);

    Composite picture{
        "edit-picture",
        {1024, 768},
        {{163, E::imgBg1},
         {66, E::imgBg2},
         {67, E::imgBg3},
         {68, E::imgBg4},
         {72, E::imgTopSpeaker},
         {168, G::EditPicture::ImgBtnGallery},
         {169, G::EditPicture::ImgGallery},
         {6, E::imgFullscreen}},
        {Hint(E::labelHelp, "Add a photograph from a picture file. You can then choose the part to keep.")}};
    picture.extra = [](QPainter& p) {
        DrawSamplePage(p, E::imgPreview, "The ceremony");
        DrawSampleThumbnails(p, 607, 7);
    };
    AddTimeline(picture);
    list.push_back(picture);

    Composite noScanner{"edit-picture-no-scanner",
                        {1024, 768},
                        {{163, E::imgBg1},
                         {66, E::imgBg2},
                         {67, E::imgBg3},
                         {68, E::imgBg4},
                         {7, G::EditPicture::imgNoScanner},
                         {153, E::imgBtnLay},
                         {155, E::imgBtnLay},
                         {150, E::imgTopSpeaker},
                         {161, E::imgBtnTex}},
                        {Hint(E::labelHelp, "No scanner is connected, so scanning is not available.")}};
    noScanner.extra = [](QPainter& p) { DrawSamplePage(p, E::imgPreview, "The ceremony"); };
    AddTimeline(noScanner);
    list.push_back(noScanner);

    Composite text{"edit-text",
                   {1024, 768},
                   {{162, E::imgBg1},
                    {78, E::imgBg2},
                    {195, E::imgBg3},
                    {79, E::imgBg4},
                    {171, G::EditText::imgNextTextfield},
                    {149, E::imgTopSpeaker},
                    {156, E::imgBtnPic},
                    {9, E::imgFullscreen}},
                   {{G::EditText::memoText, "Anna and Ben\nsaid yes on a sunny day in June.", Qt::black, 16},
                    Hint(E::labelHelp, "Bold on or off for the text of this field.")}};
    text.extra = [](QPainter& p) { DrawSamplePage(p, E::imgPreview, "Anna and Ben said yes"); };
    AddTimeline(text);
    list.push_back(text);

    namespace Ga = G::Gallery;
    Composite gallery{"gallery",
                      {1024, 768},
                      {{165, Ga::imgBg1},
                       {66, Ga::imgBg2},
                       {67, Ga::imgBg3},
                       {166, Ga::imgBg4},
                       {167, Ga::imgTimelineBG},
                       {53, Ga::imgScrollLeft},
                       {55, Ga::imgScrollRight},
                       {170, Ga::ImgNoScanner},
                       {70, Ga::imgTopSave},
                       {71, Ga::imgTopSpeakerOver}},
                      {Hint(Ga::labelHelp, "Delete the selected photograph from the slide show.")}};
    gallery.extra = [](QPainter& p) {
        DrawSamplePage(p, Ga::imgPreview, "");
        for (int i = 0; i < 6; ++i) {
            const QRect cell(48 + i * 130 + 5, 607 + 35, 120, 80);
            p.fillRect(cell, QColor(0xb9, 0xc4, 0xcf));
            p.setPen(i == 1 ? QColor(255, 255, 0) : QColor(Qt::black));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    };
    list.push_back(gallery);

    namespace IE = G::ImageEdit;
    Composite image{"image-edit",
                    {1024, 768},
                    {{13, IE::ImgBG1}, {14, IE::ImgBG2}, {130, IE::ImgBG3}, {131, IE::ImgBG4}, {16, IE::ImgNeutral}},
                    {Hint(IE::labelHelp, "The chosen part will be enlarged somewhat. It will still look good.")}};
    image.extra = [](QPainter& p) {
        const QRect photo(IE::Image.x, IE::Image.y, 609, 406);
        QLinearGradient g(photo.topLeft(), photo.bottomRight());
        g.setColorAt(0, QColor(0x8f, 0xa7, 0xbd));
        g.setColorAt(1, QColor(0xe2, 0xc8, 0xa8));
        p.fillRect(photo, g);
        p.fillRect(QRect(IE::Image.x, IE::Image.y + 406, 609, 51), Qt::white);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(QRect(170, 80, 300, 200));
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(QRect(170, 80, 300, 200));
    };
    list.push_back(image);
    return list;
}

std::vector<Composite> FormComposites()
{
    std::vector<Composite> list;
    namespace Mu = G::Music;
    Composite music{
        "music",
        {1024, 768},
        {{1, Mu::ImgBG}, {18, Mu::imgCnt}, {101, Mu::imgBtn}, {19, Mu::imgHelp}, {102, Mu::imgStop}},
        {{Mu::lblMusicFile, "Wedding waltz", Qt::black, 13, true, Qt::AlignLeft | Qt::AlignVCenter},
         Hint(Mu::labelHelp, "Choose a title from the list, use a music file of your own, or no music at all.")}};
    const char* titles[] = {"Wedding waltz", "Morning light", "Forever yours", "Gentle rain",
                            "First dance",   "Golden hour",   "Promise",       "Summer garden",
                            "Two hearts",    "Evening bells", "Rose petals",   "The long road",
                            "Sweet memory",  "Starlight",     "Our song",      "Ever after"};
    for (int i = 0; i < 16; ++i)
        music.texts.push_back(ListLabel(Mu::TrackLabel(i), titles[i], i == 0));
    list.push_back(music);

    namespace Fi = G::Finish;
    list.push_back({"finish",
                    {1024, 768},
                    {{1, Fi::ImgBG},
                     {90, Fi::ImgHeader},
                     {85, Fi::ImgForm},
                     {84, Fi::ImgBtn},
                     {20, Fi::imgHelpBox},
                     {185, Fi::imgVisible},
                     {179, Fi::imgDuration}},
                    {White(Fi::LabelStatus, "Your album is complete."),
                     White(Fi::LabelDir, "/home/anna/Pictures/Vellora"),
                     {Fi::editDuration, "5", Qt::black, 13, false, Qt::AlignCenter, Qt::white},
                     Hint(Fi::labelHelp, "Choose the folder in which the disc folder is written.")}});
    list.push_back({"finish-complete",
                    {1024, 768},
                    {{1, Gr::FullPanel},
                     {90, Gr::Header},
                     {86, G::FinishComplete::ImgReport},
                     {89, G::FinishComplete::ImgBtn},
                     {20, G::FinishComplete::imgHelpBox}},
                    {}});
    list.push_back({"finish-error",
                    {1024, 768},
                    {{1, Gr::FullPanel},
                     {90, Gr::Header},
                     {87, G::FinishError::ImgReport},
                     {88, G::FinishError::ImgFrame},
                     {89, G::FinishError::ImgBtn}},
                    {White(G::FinishError::LabelText, "The disc folder could not be written (step: writing the pages). "
                                                      "Check that the disc has enough free space, then try again.")}});
    namespace N1 = G::NewProject1;
    const std::vector<TextItem> fields = {
        {N1::EditName1, "Anna", Qt::black, 16, false, Qt::AlignLeft | Qt::AlignVCenter},
        {N1::EditName2, "Ben", Qt::black, 16, false, Qt::AlignLeft | Qt::AlignVCenter},
        {N1::EditDatum, "14.06.2025", Qt::black, 16, false, Qt::AlignLeft | Qt::AlignVCenter},
        Hint(N1::labelHelp, "Enter the two names and the wedding date of your album.")};
    list.push_back({"new-project-1",
                    {1024, 768},
                    {{1, Gr::FullPanel}, {174, N1::imgTop}, {173, N1::imgFrm}, {103, N1::imgBtn}, {20, N1::imgHelpBox}},
                    fields});
    list.push_back({"personal-data",
                    {1024, 768},
                    {{1, Gr::FullPanel},
                     {74, G::PersonalProject::imgCap},
                     {173, N1::imgFrm},
                     {103, N1::imgBtn},
                     {20, N1::imgHelpBox}},
                    fields});
    namespace N2 = G::NewProject2;
    Composite design{"new-project-2",
                     {1024, 768},
                     {{1, Gr::FullPanel},
                      {175, N2::imgTop},
                      {104, N2::imgCnt},
                      {20, N2::imgHelpBox},
                      {198, N2::ImgFullScreenActive}},
                     {Hint(N2::labelHelp, "Click the preview to see the chosen design in full size.")}};
    const char* designs[] = {"Classic ivory", "Garden roses", "Modern white", "Golden night", "Beach"};
    for (int i = 0; i < 5; ++i)
        design.texts.push_back(ListLabel(N2::DesignLabel(i), designs[i], i == 1));
    design.extra = [](QPainter& p) { DrawSamplePage(p, N2::imgLayoutPreview, "Garden roses"); };
    list.push_back(design);
    return list;
}

Composite ChapterComposite(bool editMode)
{
    namespace N3 = G::NewProject3;
    Composite c{
        editMode ? "new-project-3-edit" : "new-project-3",
        {1024, 768},
        {{1, Gr::FullPanel},
         {editMode ? 82 : 176, N3::imgTop},
         {107, N3::imgCnt},
         {105, N3::imgBtn},
         {22, N3::imgBt},
         {21, N3::imgBb},
         {29, N3::imgHlp}},
        {Hint(N3::labelHelp, editMode ? "Rename the selected chapter." : "Select a chapter in the list first.")}};
    if (!editMode)
        c.layers.push_back({106, N3::imgBtnDisabled});
    struct Row {
        int depth;
        const char* title;
        int icon;
    };
    const Row rows[] = {{0, "Welcome", 25},      {0, "Our story", 25},       {1, "How we met", 23},
                        {1, "The proposal", 23}, {0, "The wedding day", 25}, {1, "Getting ready", 27},
                        {1, "The ceremony", 23}, {1, "The party", 23},       {2, "First dance", 27},
                        {0, "Thank you", 25}};
    for (int r = 0; r < 10; ++r) {
        c.layers.push_back({rows[r].icon, N3::RowIcon(rows[r].depth, r)});
        G::ControlRect label = N3::RowLabel(rows[r].depth, r);
        label.w = 160;
        c.texts.push_back(ListLabel(label, rows[r].title, editMode && r == 6));
    }
    return c;
}

std::vector<Composite> PopupComposites()
{
    namespace PG = G::PopupGrid;
    std::vector<Composite> list;
    const TextItem message{PG::Message, "The project could not be opened. Its design file is missing.",
                           Qt::white,   13,
                           true,        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap};
    list.push_back(
        {"popup-ok", {500, 250}, {{30, PG::Background}, {36, PG::Content}, {35, PG::ButtonCentre}}, {message}});
    list.push_back({"popup-yes-no",
                    {500, 250},
                    {{30, PG::Background}, {36, PG::Content}, {110, PG::ButtonPair}},
                    {{PG::Message, "Really switch off this page and all its sub-pages?", Qt::white, 13, true}}});
    Composite wait{
        "popup-wait",
        {500, 250},
        {{30, PG::Background}},
        {{G::WaitPopup::labelInfo, "Loading the project ...", Qt::black, 13, true, Qt::AlignHCenter | Qt::AlignTop}}};
    wait.extra = [](QPainter& p) {
        p.fillRect(ToRect(G::WaitPopup::pb), QColor(0xe6, 0xe6, 0xe6));
        p.fillRect(ToRect(G::WaitPopup::pb).adjusted(1, 1, -240, -1), QColor(128, 0, 0));
    };
    list.push_back(wait);
    list.push_back({"popup-add-entry",
                    {500, 250},
                    {{30, PG::Background}, {11, PG::Content}, {10, PG::ButtonPair}},
                    {{G::AddEntry::lblCaption, "Name of the new chapter:", Qt::black, 13, true},
                     {G::AddEntry::EditAdd, "New chapter", Qt::black, 16, false, Qt::AlignLeft | Qt::AlignVCenter}}});
    list.push_back({"popup-memo",
                    {500, 250},
                    {{196, PG::Background}},
                    {{G::MemoPopup::lblCaption, "Text of the disc label:", Qt::black, 13, true},
                     {G::MemoPopup::memoText, "Anna and Ben\n14 June 2025", Qt::black, 16}}});
    list.push_back({"popup-save",
                    {500, 250},
                    {{30, PG::Background}, {109, PG::Content}, {40, PG::ButtonLeft}, {37, PG::ButtonRight}},
                    {}});
    list.push_back({"popup-exit",
                    {500, 250},
                    {{30, PG::Background}, {108, PG::Content}, {33, PG::ButtonLeft}, {32, PG::ButtonRight}},
                    {}});
    list.push_back({"popup-exit-and-save",
                    {500, 250},
                    {{30, PG::Background},
                     {83, PG::Content},
                     {40, PG::ButtonOf3First},
                     {34, PG::ButtonOf3Second},
                     {31, PG::ButtonOf3Third}},
                    {}});
    return list;
}

std::vector<Composite> OtherComposites()
{
    std::vector<Composite> list;
    list.push_back(ChapterComposite(false));
    list.push_back(ChapterComposite(true));
    list.push_back({"imprint",
                    {1024, 768},
                    {{1, G::Grid::FullPanel}, {91, G::Imprint::ImgImprint}, {89, G::Imprint::ImgBtn}},
                    {}});
    namespace LS = G::LabelkitSetup;
    Composite setup{"labelkit-setup",
                    {1024, 768},
                    {{187, LS::imgBG}, {191, LS::imgBtnClearUserPicInactive}},
                    {Hint(LS::labelHelp, "Put a picture of your own on the label.")}};
    setup.extra = [](QPainter& p) {
        p.fillRect(ToRect(LS::imgPreview), Qt::white);
        p.setBrush(QColor(0xe8, 0xdc, 0xc8));
        p.setPen(Qt::NoPen);
        p.drawEllipse(ToRect(LS::imgPreview).adjusted(20, 20, -20, -20));
    };
    list.push_back(setup);
    namespace LP = G::LabelKitPrint;
    Composite print{"labelkit-print",
                    {1024, 768},
                    {{186, LP::imgBG}, {188, LP::imgPrntUpLblChecked}},
                    {{LP::lblUpCorX, "45.0 mm", Qt::black, 13, true},
                     {LP::lblUpCorY, "20.4 mm", Qt::black, 13, true},
                     {LP::lblLowCorX, "45.0 mm", Qt::black, 13, true},
                     {LP::lblLowCorY, "157.4 mm", Qt::black, 13, true},
                     Hint(LP::labelHelp, "Move the upper label by half a millimetre.")}};
    print.extra = [](QPainter& p) {
        const QRect sheet = ToRect(LP::imgPreview);
        p.fillRect(sheet, Qt::white);
        p.setBrush(QColor(0xe8, 0xdc, 0xc8));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRect(sheet.left() + 61, sheet.top() + 27, 162, 162));
    };
    list.push_back(print);
    namespace Ph = G::Photographer;
    list.push_back({"studio",
                    {1024, 768},
                    {{181, Ph::ImgBG}, {180, Ph::imgBtnDelLogo}, {180, Ph::imgBtnDelSamp1}},
                    {{Ph::edIntro, "Your photographs were taken by", Qt::black, 13},
                     {Ph::memoStudio, "Studio Lumen", Qt::black, 18, true},
                     {Ph::memoAddress, "12 Garden Lane\nRiverside", Qt::black, 13},
                     {Ph::memoPhone, "0123 456 789", Qt::black, 13},
                     {Ph::edEmail, "hello@lumen.example", Qt::black, 13},
                     {Ph::edURL, "www.lumen.example", Qt::black, 13},
                     {Ph::memoInfo, "Portraits, weddings and family pictures since 1998.", Qt::black, 13},
                     Hint(Ph::lblHelp, "Choose the font of the studio name.")}});
    Composite preview{"preview-close", {1024, 768}, {{148, G::Preview::imgClose}}, {}};
    preview.extra = [](QPainter& p) { p.fillRect(QRect(0, 0, 1024, 768), QColor(0x6b, 0x2e, 0x3a)); };
    preview.extraFirst = true;
    list.push_back(preview);
    return list;
}

void DrawText(QPainter& p, const TextItem& t)
{
    const QRect r = ToRect(t.at);
    if (t.background.alpha() > 0)
        p.fillRect(r, t.background);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(t.px);
    font.setBold(t.bold);
    p.setFont(font);
    p.setPen(t.color);
    p.drawText(r, t.flags, t.text);
}

int Compose(SkinPainter& painter, const Composite& c, const QDir& out)
{
    QImage image(c.size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    int problems = 0;
    if (c.extra && c.extraFirst)
        c.extra(p);
    for (const Layer& layer : c.layers) {
        const QImage picture = painter.Paint(layer.index);
        if (picture.width() != layer.at.w || picture.height() != layer.at.h) {
            std::fprintf(stderr, "%s: picture %d is %dx%d, its place %dx%d\n", qPrintable(c.name), layer.index,
                         picture.width(), picture.height(), layer.at.w, layer.at.h);
            ++problems;
        }
        p.drawImage(layer.at.x, layer.at.y, picture);
    }
    if (c.extra && !c.extraFirst)
        c.extra(p);
    for (const TextItem& t : c.texts)
        DrawText(p, t);
    p.end();
    image.save(out.filePath(QStringLiteral("screen-%1.png").arg(c.name)));
    return problems;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("skins-preview");
    QDir out(folder);
    if (!out.exists() && !QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    SkinPainter painter;
    for (int i = 0; i < SkinPainter::Count(); ++i)
        painter.Paint(i).save(out.filePath(QStringLiteral("skin-%1.png").arg(i, 3, 10, QLatin1Char('0'))));
    int problems = 0;
    for (const auto& group :
         {MenuComposites(), EditorComposites(), FormComposites(), PopupComposites(), OtherComposites()})
        for (const Composite& c : group)
            problems += Compose(painter, c, out);
    std::printf("%d pictures and the screen composites written to %s\n", SkinPainter::Count(), qPrintable(folder));
    return problems == 0 ? 0 : 2;
}
