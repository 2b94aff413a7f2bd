#include "SkinPainter.h"

#include "SkinScreens.h"
#include "platform/Errors.h"

#include <optional>
#include <string>
#include <vector>

namespace G = Geometry;

enum class SkinPainter::SceneId {
    Backdrop,
    MainMenu,
    ProjectMenu,
    ProjectMenuAlternative,
    Timeline,
    EditLayout,
    EditPicture,
    EditText,
    Gallery,
    GalleryStrip,
    Cdrom,
    ImageEdit,
    Music,
    Finish,
    FinishComplete,
    FinishError,
    NewProject1,
    PersonalProject,
    NewProject2,
    NewProject3,
    NewProject3Edit,
    Imprint,
    PopupPlain,
    PopupOk,
    PopupYesNo,
    PopupAddEntry,
    PopupSave,
    PopupExit,
    PopupExitAndSave,
    Memo,
    Findings,
    LabelkitSetup,
    LabelKitPrint,
    Photographer,
    PreviewClose,
    ChapterIcons,
    MissingThumbnail,
    Placeholder,
};

namespace {

using Id = SkinPainter::SceneId;

constexpr int kPictureCount = 203;

// How one picture is made: the whole scene, a rectangle of it, or one control's rectangle with that control in
// a given look; `overrides` set the looks of other controls first.
struct Recipe {
    int index;
    Id scene;
    std::string control;
    Look look = Look::Passive;
    std::optional<G::ControlRect> rect;
    LookOverrides overrides;
};

Recipe Whole(int index, Id scene, LookOverrides overrides = {}) { return {index, scene, {}, Look::Passive, {}, std::move(overrides)}; }

Recipe Part(int index, Id scene, const G::ControlRect& rect, LookOverrides overrides = {})
{
    return {index, scene, {}, Look::Passive, rect, std::move(overrides)};
}

Recipe As(int index, Id scene, const std::string& control, Look look, LookOverrides overrides = {})
{
    return {index, scene, control, look, {}, std::move(overrides)};
}

const LookOverrides kSpeakerOnHover{{"imgTopSpeaker", Look::Hidden}, {"imgTopSpeakerOver", Look::Active}};
const LookOverrides kSpeakerOff{{"imgTopSpeaker", Look::Hidden}, {"imgTopSpeakerOff", Look::Passive}};
const LookOverrides kSpeakerOffHover{{"imgTopSpeaker", Look::Hidden}, {"imgTopSpeakerOverOff", Look::Active}};
const LookOverrides kSpeakerNone{{"imgTopSpeaker", Look::Hidden}, {"imgTopSpeakerNoSound", Look::Greyed}};
const LookOverrides kContent{{"content", Look::Passive}};

std::vector<Recipe> EditorRecipes()
{
    namespace E = G::EditorCommon;
    return {
        Whole(2, Id::Cdrom),
        As(3, Id::EditLayout, "imgTopExit", Look::Active),
        As(4, Id::EditLayout, "imgFullscreen", Look::Active),
        As(5, Id::EditPicture, "imgTopExit", Look::Active),
        As(6, Id::EditPicture, "imgFullscreen", Look::Active),
        As(7, Id::EditPicture, "imgNoScanner", Look::Greyed),
        As(8, Id::EditText, "imgTopExit", Look::Active),
        As(9, Id::EditText, "imgFullscreen", Look::Active),
        As(53, Id::Timeline, "imgScrollLeft", Look::Passive),
        Whole(54, Id::MissingThumbnail),
        As(55, Id::Timeline, "imgScrollRight", Look::Passive),
        Part(57, Id::EditLayout, E::imgTopSpeaker, kSpeakerOnHover),
        Part(58, Id::EditLayout, E::imgTopSpeaker, kSpeakerOff),
        Part(59, Id::EditLayout, E::imgTopSpeaker, kSpeakerOffHover),
        As(60, Id::EditLayout, "imgKindAnimation", Look::Active),
        As(61, Id::EditLayout, "imgKindOnlyPic", Look::Active),
        As(62, Id::EditLayout, "imgKindOnlyText", Look::Active),
        As(63, Id::EditLayout, "imgTopPrjMenu", Look::Active),
        As(64, Id::EditLayout, "imgTopSave", Look::Active),
        As(65, Id::EditLayout, "imgKindTextAndPic", Look::Active),
        Part(66, Id::EditPicture, E::imgBg2),
        Part(67, Id::EditPicture, E::imgBg3),
        Part(68, Id::EditPicture, E::imgBg4),
        As(69, Id::EditPicture, "imgTopPrjMenu", Look::Active),
        As(70, Id::EditPicture, "imgTopSave", Look::Active),
        Part(71, Id::EditPicture, E::imgTopSpeaker, kSpeakerOnHover),
        Part(72, Id::EditPicture, E::imgTopSpeaker, kSpeakerOff),
        Part(73, Id::EditPicture, E::imgTopSpeaker, kSpeakerOffHover),
        Part(75, Id::EditText, E::imgTopSpeaker, kSpeakerOnHover),
        Part(76, Id::EditText, E::imgTopSpeaker, kSpeakerOff),
        Part(77, Id::EditText, E::imgTopSpeaker, kSpeakerOffHover),
        Part(78, Id::EditText, E::imgBg2),
        Part(79, Id::EditText, E::imgBg4),
        As(80, Id::EditText, "imgTopPrjMenu", Look::Active),
        As(81, Id::EditText, "imgTopSave", Look::Active),
        Whole(129, Id::Timeline),
        Part(149, Id::EditText, E::imgTopSpeaker, kSpeakerNone),
        Part(150, Id::EditPicture, E::imgTopSpeaker, kSpeakerNone),
        Part(151, Id::EditLayout, E::imgTopSpeaker, kSpeakerNone),
        As(153, Id::EditPicture, "imgBtnLay", Look::Greyed),
        As(155, Id::EditPicture, "imgBtnLay", Look::Active),
        As(156, Id::EditLayout, "imgBtnPic", Look::Greyed),
        As(158, Id::EditLayout, "imgBtnPic", Look::Active),
        As(159, Id::EditLayout, "imgBtnTex", Look::Greyed),
        As(161, Id::EditLayout, "imgBtnTex", Look::Active),
        Part(162, Id::EditText, E::imgBg1),
        Part(163, Id::EditPicture, E::imgBg1),
        Whole(164, Id::EditLayout),
        Part(165, Id::Gallery, E::imgBg1),
        Part(166, Id::Gallery, E::imgBg4),
        Whole(167, Id::GalleryStrip),
        As(168, Id::EditPicture, "ImgBtnGallery", Look::Passive),
        As(169, Id::EditPicture, "ImgGallery", Look::Passive),
        As(170, Id::Gallery, "ImgNoScanner", Look::Greyed),
        As(171, Id::EditText, "imgNextTextfield", Look::Passive),
        Part(195, Id::EditText, E::imgBg3),
    };
}

std::vector<Recipe> ImageEditAndMusicRecipes()
{
    namespace IE = G::ImageEdit;
    namespace Mu = G::Music;
    return {
        Part(13, Id::ImageEdit, IE::ImgBG1),
        Part(14, Id::ImageEdit, IE::ImgBG2),
        As(15, Id::ImageEdit, "ImgNegativ", Look::Passive),
        As(16, Id::ImageEdit, "ImgNeutral", Look::Passive),
        As(17, Id::ImageEdit, "ImgPositiv", Look::Passive),
        Part(130, Id::ImageEdit, IE::ImgBG3),
        Part(131, Id::ImageEdit, IE::ImgBG4),
        Part(18, Id::Music, Mu::imgCnt),
        Part(19, Id::Music, Mu::imgHelp),
        Part(101, Id::Music, Mu::imgBtn),
        As(102, Id::Music, "imgStop", Look::Passive, {{"imgBtnPlayStop", Look::Hidden}}),
    };
}

std::vector<Recipe> FormRecipes()
{
    namespace N1 = G::NewProject1;
    namespace N3 = G::NewProject3;
    namespace Fi = G::Finish;
    const LookOverrides greyedEditButtons{{"imgBtnNew", Look::Greyed}, {"imgBtnNewSub", Look::Greyed},
                                          {"imgBtnEditName", Look::Greyed}, {"imgBtnRemove", Look::Greyed}};
    return {
        Whole(1, Id::Backdrop),
        Part(20, Id::NewProject1, N1::imgHelpBox),
        Part(21, Id::NewProject3, N3::imgBb),
        Part(22, Id::NewProject3, N3::imgBt),
        As(23, Id::ChapterIcons, "on", Look::Passive),
        As(25, Id::ChapterIcons, "fixed", Look::Passive),
        As(27, Id::ChapterIcons, "off", Look::Passive),
        Part(29, Id::NewProject3, N3::imgHlp),
        Part(74, Id::PersonalProject, G::PersonalProject::imgCap),
        Part(82, Id::NewProject3Edit, N3::imgTop),
        Part(84, Id::Finish, Fi::ImgBtn),
        Part(85, Id::Finish, Fi::ImgForm),
        Part(86, Id::FinishComplete, G::FinishComplete::ImgReport, {{"ImgBtn", Look::Hidden}}),
        Part(87, Id::FinishError, G::FinishError::ImgReport, {{"ImgBtn", Look::Hidden}}),
        Part(88, Id::FinishError, G::FinishError::ImgFrame),
        As(89, Id::FinishComplete, "ImgBtn", Look::Passive),
        Part(90, Id::Finish, Fi::ImgHeader),
        Part(91, Id::Imprint, G::Imprint::ImgImprint, {{"ImgBtn", Look::Hidden}}),
        Part(103, Id::NewProject1, N1::imgBtn),
        Part(104, Id::NewProject2, G::NewProject2::imgCnt),
        Part(105, Id::NewProject3, N3::imgBtn),
        Part(106, Id::NewProject3, N3::imgBtnDisabled, greyedEditButtons),
        Part(107, Id::NewProject3, N3::imgCnt),
        Part(173, Id::NewProject1, N1::imgFrm),
        Part(174, Id::NewProject1, N1::imgTop),
        Part(175, Id::NewProject2, G::NewProject2::imgTop),
        Part(176, Id::NewProject3, N3::imgTop),
        As(179, Id::Finish, "imgDuration", Look::Passive),
        As(184, Id::Finish, "imgVisibleOff", Look::Passive),
        As(185, Id::Finish, "imgVisibleOn", Look::Passive),
        As(197, Id::NewProject2, "ImgFullscreen", Look::Passive),
        As(198, Id::NewProject2, "ImgFullscreen", Look::Active),
        As(199, Id::FinishComplete, "imgBtnDiscImage", Look::Active),
        As(201, Id::FinishComplete, "imgBtnVideo", Look::Active),
        As(202, Id::PopupPlain, "imgCancel", Look::Passive),
    };
}

std::vector<Recipe> PopupRecipes()
{
    namespace PG = G::PopupGrid;
    return {
        Part(10, Id::PopupAddEntry, PG::ButtonPair),
        Part(11, Id::PopupAddEntry, PG::Content, kContent),
        Whole(30, Id::PopupPlain),
        As(31, Id::PopupExit, "imgNo", Look::Active),
        As(32, Id::PopupExit, "imgNo", Look::Passive),
        As(33, Id::PopupExit, "imgYes", Look::Active),
        As(34, Id::PopupExit, "imgYes", Look::Passive),
        As(35, Id::PopupOk, "imgBtn", Look::Passive),
        Part(36, Id::PopupOk, PG::Content, kContent),
        As(37, Id::PopupSave, "imgNo", Look::Active),
        As(38, Id::PopupSave, "imgNo", Look::Passive),
        As(39, Id::PopupSave, "imgYes", Look::Active),
        As(40, Id::PopupSave, "imgYes", Look::Passive),
        Part(83, Id::PopupExitAndSave, PG::Content, kContent),
        Part(108, Id::PopupExit, PG::Content, kContent),
        Part(109, Id::PopupSave, PG::Content, kContent),
        Part(110, Id::PopupYesNo, PG::ButtonPair),
        Whole(148, Id::PreviewClose),
        Whole(196, Id::Memo),
        Whole(200, Id::Findings),
    };
}

std::vector<Recipe> MenuRecipes()
{
    const Id n = Id::MainMenu;
    const Id pm = Id::ProjectMenu;
    const Id alt = Id::ProjectMenuAlternative;
    const LookOverrides labelKitCaption{{"imgBtn_LabelKit", Look::Passive}, {"imgLabelKitText", Look::Passive}};
    return {
        As(41, pm, "ImgEdPers_Act", Look::Active),     As(42, pm, "imgEdPrj_Act", Look::Active),
        As(43, pm, "imgEdStory_Act", Look::Active),    As(44, pm, "imgExitPrg_Act", Look::Active),
        As(45, pm, "imgExitPrj_Act", Look::Active),    As(46, pm, "imgFin_Act", Look::Active),
        As(47, pm, "imgMusic_Act", Look::Active),      As(48, pm, "imgMusic_Act", Look::Greyed),
        As(50, pm, "imgSave_Act", Look::Active),       As(51, pm, "imgSave_Act", Look::Greyed),
        As(92, n, "Img1", Look::Active),               As(93, n, "Img1", Look::Greyed),
        As(94, n, "Img2", Look::Active),               As(95, n, "Img2", Look::Greyed),
        As(96, n, "Img3", Look::Active),               As(97, n, "Img3", Look::Greyed),
        As(98, n, "Img4", Look::Active),               As(99, n, "Img4", Look::Greyed),
        Whole(100, n),                                 Whole(111, pm),
        As(132, alt, "ImgEdPers_Act", Look::Active),   As(133, alt, "imgEdPrj_Act", Look::Active),
        As(134, alt, "imgEdStory_Act", Look::Active),  As(135, alt, "imgExitPrg_Act", Look::Active),
        As(136, alt, "imgExitPrj_Act", Look::Active),  As(137, alt, "imgFin_Act", Look::Active),
        As(138, alt, "imgMusic_Act", Look::Active),    As(139, alt, "imgMusic_Act", Look::Greyed),
        As(140, alt, "imgSave_Act", Look::Active),     As(141, alt, "imgSave_Act", Look::Greyed),
        As(142, alt, "ImgStudioBG", Look::Passive),    As(143, alt, "ImgStudioBG", Look::Active),
        As(144, alt, "imgBtn_Labelkit_Act", Look::Active),
        Part(152, alt, G::ProjectMenu::imgLabelKitText, labelKitCaption),
        As(172, alt, "imgBtn_LabelKit", Look::Passive),
        As(182, pm, "ImgStudioBG", Look::Passive),     As(183, pm, "ImgStudioBG", Look::Active),
        As(192, pm, "imgBtn_Labelkit_Act", Look::Active),
        Part(193, pm, G::ProjectMenu::imgLabelKitText, labelKitCaption),
        As(194, pm, "imgBtn_LabelKit", Look::Passive),
    };
}

std::vector<Recipe> LabelAndStudioRecipes()
{
    namespace LP = G::LabelKitPrint;
    return {
        As(180, Id::Photographer, "imgBtnDelLogo", Look::Passive),
        Whole(181, Id::Photographer),
        Whole(186, Id::LabelKitPrint),
        Whole(187, Id::LabelkitSetup),
        Part(188, Id::LabelKitPrint, LP::imgPrntUpLabel,
             {{"imgPrntUpLabel", Look::Hidden}, {"imgPrntUpLblChecked", Look::Passive}}),
        Part(189, Id::LabelKitPrint, LP::imgPrntLoLabel,
             {{"imgPrntLoLabel", Look::Hidden}, {"imgPrntLoLblChecked", Look::Passive}}),
        As(191, Id::LabelkitSetup, "imgBtnClearUserPic", Look::Greyed),
    };
}

const std::vector<std::optional<Recipe>>& Recipes()
{
    static const std::vector<std::optional<Recipe>> table = [] {
        std::vector<std::optional<Recipe>> byIndex(kPictureCount);
        for (const auto& group : {EditorRecipes(), ImageEditAndMusicRecipes(), FormRecipes(), PopupRecipes(),
                                  MenuRecipes(), LabelAndStudioRecipes()})
            for (const Recipe& recipe : group) {
                if (byIndex.at(recipe.index))
                    throw EVelloraError("skin picture " + std::to_string(recipe.index) + " is described twice");
                byIndex.at(recipe.index) = recipe;
            }
        return byIndex;
    }();
    return table;
}

std::unique_ptr<SkinScene> MakeScene(Id id)
{
    using E = SkinScreens::Editor;
    using K = SkinScreens::PopupKind;
    switch (id) {
    case Id::Backdrop: return std::make_unique<SkinScene>(SkinScreens::Backdrop());
    case Id::MainMenu: return std::make_unique<SkinScene>(SkinScreens::MainMenu());
    case Id::ProjectMenu: return std::make_unique<SkinScene>(SkinScreens::ProjectMenu(false));
    case Id::ProjectMenuAlternative: return std::make_unique<SkinScene>(SkinScreens::ProjectMenu(true));
    case Id::Timeline: return std::make_unique<SkinScene>(SkinScreens::Timeline());
    case Id::EditLayout: return std::make_unique<SkinScene>(SkinScreens::EditorScene(E::Layout));
    case Id::EditPicture: return std::make_unique<SkinScene>(SkinScreens::EditorScene(E::Picture));
    case Id::EditText: return std::make_unique<SkinScene>(SkinScreens::EditorScene(E::Text));
    case Id::Gallery: return std::make_unique<SkinScene>(SkinScreens::EditorScene(E::Gallery));
    case Id::GalleryStrip: return std::make_unique<SkinScene>(SkinScreens::GalleryStrip());
    case Id::Cdrom: return std::make_unique<SkinScene>(SkinScreens::CdromStrip());
    case Id::ImageEdit: return std::make_unique<SkinScene>(SkinScreens::ImageEdit());
    case Id::Music: return std::make_unique<SkinScene>(SkinScreens::Music());
    case Id::Finish: return std::make_unique<SkinScene>(SkinScreens::Finish());
    case Id::FinishComplete: return std::make_unique<SkinScene>(SkinScreens::FinishComplete());
    case Id::FinishError: return std::make_unique<SkinScene>(SkinScreens::FinishError());
    case Id::NewProject1: return std::make_unique<SkinScene>(SkinScreens::NewProject1(false));
    case Id::PersonalProject: return std::make_unique<SkinScene>(SkinScreens::NewProject1(true));
    case Id::NewProject2: return std::make_unique<SkinScene>(SkinScreens::NewProject2());
    case Id::NewProject3: return std::make_unique<SkinScene>(SkinScreens::NewProject3(false));
    case Id::NewProject3Edit: return std::make_unique<SkinScene>(SkinScreens::NewProject3(true));
    case Id::Imprint: return std::make_unique<SkinScene>(SkinScreens::Imprint());
    case Id::PopupPlain: return std::make_unique<SkinScene>(SkinScreens::Popup(K::Plain));
    case Id::PopupOk: return std::make_unique<SkinScene>(SkinScreens::Popup(K::Ok));
    case Id::PopupYesNo: return std::make_unique<SkinScene>(SkinScreens::Popup(K::YesNo));
    case Id::PopupAddEntry: return std::make_unique<SkinScene>(SkinScreens::Popup(K::AddEntry));
    case Id::PopupSave: return std::make_unique<SkinScene>(SkinScreens::Popup(K::Save));
    case Id::PopupExit: return std::make_unique<SkinScene>(SkinScreens::Popup(K::Exit));
    case Id::PopupExitAndSave: return std::make_unique<SkinScene>(SkinScreens::Popup(K::ExitAndSave));
    case Id::Memo: return std::make_unique<SkinScene>(SkinScreens::MemoPopup());
    case Id::Findings: return std::make_unique<SkinScene>(SkinScreens::FindingsPopup());
    case Id::LabelkitSetup: return std::make_unique<SkinScene>(SkinScreens::LabelkitSetup());
    case Id::LabelKitPrint: return std::make_unique<SkinScene>(SkinScreens::LabelKitPrint());
    case Id::Photographer: return std::make_unique<SkinScene>(SkinScreens::Photographer());
    case Id::PreviewClose: return std::make_unique<SkinScene>(SkinScreens::PreviewClose());
    case Id::ChapterIcons: return std::make_unique<SkinScene>(SkinScreens::ChapterIcons());
    case Id::MissingThumbnail: return std::make_unique<SkinScene>(SkinScreens::MissingThumbnail());
    case Id::Placeholder: break;
    }
    return std::make_unique<SkinScene>(SkinScreens::Placeholder());
}

}  // namespace

SkinPainter::SkinPainter() = default;
SkinPainter::~SkinPainter() = default;

int SkinPainter::Count() { return kPictureCount; }

bool SkinPainter::IsUsed(int index)
{
    return index >= 0 && index < kPictureCount && Recipes()[index].has_value();
}

const SkinScene& SkinPainter::Scene(SceneId id)
{
    std::unique_ptr<SkinScene>& scene = m_scenes[id];
    if (!scene)
        scene = MakeScene(id);
    return *scene;
}

QImage SkinPainter::Paint(int index)
{
    if (index < 0 || index >= kPictureCount)
        throw EVelloraError("skin picture index " + std::to_string(index) + " is outside 0.." +
                            std::to_string(kPictureCount - 1));
    const std::optional<Recipe>& recipe = Recipes()[index];
    if (!recipe)
        return Scene(SceneId::Placeholder).Render();
    const SkinScene& scene = Scene(recipe->scene);
    LookOverrides looks = recipe->overrides;
    if (!recipe->control.empty())
        looks[recipe->control] = recipe->look;
    if (recipe->rect)
        return scene.Cut(*recipe->rect, looks);
    if (!recipe->control.empty())
        return scene.Cut(scene.Control(recipe->control).rect, looks);
    return scene.Render(looks);
}

QImage PaintSkinPicture(int index)
{
    static SkinPainter painter;
    return painter.Paint(index);
}

int SkinPictureCount() { return SkinPainter::Count(); }
