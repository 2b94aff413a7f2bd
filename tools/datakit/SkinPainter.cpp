#include "SkinPainter.h"

#include "SkinScreens.h"
#include "platform/Errors.h"
#include "screens/DataIndexes.h"

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

constexpr int kPictureCount = 205;

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

Recipe Whole(int index, Id scene, LookOverrides overrides = {})
{
    return {index, scene, {}, Look::Passive, {}, std::move(overrides)};
}

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
        Whole(Skin::EditorBottomStrip, Id::Cdrom),
        As(Skin::LayoutTopExitActive, Id::EditLayout, "imgTopExit", Look::Active),
        As(Skin::LayoutFullscreenActive, Id::EditLayout, "imgFullscreen", Look::Active),
        As(Skin::PictureTopExitActive, Id::EditPicture, "imgTopExit", Look::Active),
        As(Skin::PictureFullscreenActive, Id::EditPicture, "imgFullscreen", Look::Active),
        As(Skin::PictureNoScanner, Id::EditPicture, "imgNoScanner", Look::Greyed),
        As(Skin::TextTopExitActive, Id::EditText, "imgTopExit", Look::Active),
        As(Skin::TextFullscreenActive, Id::EditText, "imgFullscreen", Look::Active),
        As(Skin::ScrollLeft, Id::Timeline, "imgScrollLeft", Look::Passive),
        Whole(Skin::MissingThumbnail, Id::MissingThumbnail),
        As(Skin::ScrollRight, Id::Timeline, "imgScrollRight", Look::Passive),
        Part(Skin::LayoutSpeakerOnActive, Id::EditLayout, E::imgTopSpeaker, kSpeakerOnHover),
        Part(Skin::LayoutSpeakerOff, Id::EditLayout, E::imgTopSpeaker, kSpeakerOff),
        Part(Skin::LayoutSpeakerOffActive, Id::EditLayout, E::imgTopSpeaker, kSpeakerOffHover),
        As(Skin::KindAnimationActive, Id::EditLayout, "imgKindAnimation", Look::Active),
        As(Skin::KindOnlyPicturesActive, Id::EditLayout, "imgKindOnlyPic", Look::Active),
        As(Skin::KindOnlyTextActive, Id::EditLayout, "imgKindOnlyText", Look::Active),
        As(Skin::LayoutTopProjectMenuActive, Id::EditLayout, "imgTopPrjMenu", Look::Active),
        As(Skin::LayoutTopSaveActive, Id::EditLayout, "imgTopSave", Look::Active),
        As(Skin::KindTextAndPicturesActive, Id::EditLayout, "imgKindTextAndPic", Look::Active),
        Part(Skin::PictureBackgroundTopRight, Id::EditPicture, E::imgBg2),
        Part(Skin::PictureBackgroundBottomRight, Id::EditPicture, E::imgBg3),
        Part(Skin::PictureBackgroundRight, Id::EditPicture, E::imgBg4),
        As(Skin::PictureTopProjectMenuActive, Id::EditPicture, "imgTopPrjMenu", Look::Active),
        As(Skin::PictureTopSaveActive, Id::EditPicture, "imgTopSave", Look::Active),
        Part(Skin::PictureSpeakerOnActive, Id::EditPicture, E::imgTopSpeaker, kSpeakerOnHover),
        Part(Skin::PictureSpeakerOff, Id::EditPicture, E::imgTopSpeaker, kSpeakerOff),
        Part(Skin::PictureSpeakerOffActive, Id::EditPicture, E::imgTopSpeaker, kSpeakerOffHover),
        Part(Skin::TextSpeakerOnActive, Id::EditText, E::imgTopSpeaker, kSpeakerOnHover),
        Part(Skin::TextSpeakerOff, Id::EditText, E::imgTopSpeaker, kSpeakerOff),
        Part(Skin::TextSpeakerOffActive, Id::EditText, E::imgTopSpeaker, kSpeakerOffHover),
        Part(Skin::TextBackgroundTopRight, Id::EditText, E::imgBg2),
        Part(Skin::TextBackgroundRight, Id::EditText, E::imgBg4),
        As(Skin::TextTopProjectMenuActive, Id::EditText, "imgTopPrjMenu", Look::Active),
        As(Skin::TextTopSaveActive, Id::EditText, "imgTopSave", Look::Active),
        Whole(Skin::TimelineBackground, Id::Timeline),
        Part(Skin::TextSpeakerNoSound, Id::EditText, E::imgTopSpeaker, kSpeakerNone),
        Part(Skin::PictureSpeakerNoSound, Id::EditPicture, E::imgTopSpeaker, kSpeakerNone),
        Part(Skin::LayoutSpeakerNoSound, Id::EditLayout, E::imgTopSpeaker, kSpeakerNone),
        As(Skin::TabLayoutGreyed, Id::EditPicture, "imgBtnLay", Look::Greyed),
        As(Skin::TabLayoutActive, Id::EditPicture, "imgBtnLay", Look::Active),
        As(Skin::TabPicturesGreyed, Id::EditLayout, "imgBtnPic", Look::Greyed),
        As(Skin::TabPicturesActive, Id::EditLayout, "imgBtnPic", Look::Active),
        As(Skin::TabTextsGreyed, Id::EditLayout, "imgBtnTex", Look::Greyed),
        As(Skin::TabTextsActive, Id::EditLayout, "imgBtnTex", Look::Active),
        Part(Skin::TextBackgroundLeft, Id::EditText, E::imgBg1),
        Part(Skin::PictureBackgroundLeft, Id::EditPicture, E::imgBg1),
        Whole(Skin::LayoutBackground, Id::EditLayout),
        Part(Skin::GalleryBackgroundLeft, Id::Gallery, E::imgBg1),
        Part(Skin::GalleryBackgroundRight, Id::Gallery, E::imgBg4),
        Whole(Skin::GalleryStrip, Id::GalleryStrip),
        As(Skin::GalleryButton, Id::EditPicture, "ImgBtnGallery", Look::Passive),
        As(Skin::GalleryCaption, Id::EditPicture, "ImgGallery", Look::Passive),
        As(Skin::GalleryNoScanner, Id::Gallery, "ImgNoScanner", Look::Greyed),
        As(Skin::NextTextField, Id::EditText, "imgNextTextfield", Look::Passive),
        Part(Skin::TextBackgroundBottomRight, Id::EditText, E::imgBg3),
    };
}

std::vector<Recipe> ImageEditAndMusicRecipes()
{
    namespace IE = G::ImageEdit;
    namespace Mu = G::Music;
    return {
        Part(Skin::ImageEditTop, Id::ImageEdit, IE::ImgBG1),
        Part(Skin::ImageEditLeft, Id::ImageEdit, IE::ImgBG2),
        As(Skin::ResolutionLow, Id::ImageEdit, "ImgNegativ", Look::Passive),
        As(Skin::ResolutionBorderline, Id::ImageEdit, "ImgNeutral", Look::Passive),
        As(Skin::ResolutionGood, Id::ImageEdit, "ImgPositiv", Look::Passive),
        Part(Skin::ImageEditBottom, Id::ImageEdit, IE::ImgBG3),
        Part(Skin::ImageEditRight, Id::ImageEdit, IE::ImgBG4),
        Part(Skin::MusicList, Id::Music, Mu::imgCnt),
        Part(Skin::MusicHelpBox, Id::Music, Mu::imgHelp),
        Part(Skin::MusicButtons, Id::Music, Mu::imgBtn),
        As(Skin::MusicStop, Id::Music, "imgStop", Look::Passive, {{"imgBtnPlayStop", Look::Hidden}}),
    };
}

std::vector<Recipe> FormRecipes()
{
    namespace N1 = G::NewProject1;
    namespace N3 = G::NewProject3;
    namespace Fi = G::Finish;
    const LookOverrides greyedEditButtons{{"imgBtnNew", Look::Greyed},
                                          {"imgBtnNewSub", Look::Greyed},
                                          {"imgBtnEditName", Look::Greyed},
                                          {"imgBtnRemove", Look::Greyed}};
    return {
        Whole(Skin::Backdrop, Id::Backdrop),
        Part(Skin::HelpBox, Id::NewProject1, N1::imgHelpBox),
        Part(Skin::ChapterListDown, Id::NewProject3, N3::imgBb),
        Part(Skin::ChapterListUp, Id::NewProject3, N3::imgBt),
        As(Skin::ChapterOn, Id::ChapterIcons, "on", Look::Passive),
        As(Skin::ChapterFixed, Id::ChapterIcons, "fixed", Look::Passive),
        As(Skin::ChapterOff, Id::ChapterIcons, "off", Look::Passive),
        Part(Skin::ChapterHelpBox, Id::NewProject3, N3::imgHlp),
        Part(Skin::PersonalDataCaption, Id::PersonalProject, G::PersonalProject::imgCap),
        Part(Skin::ChaptersEditHeader, Id::NewProject3Edit, N3::imgTop),
        Part(Skin::FinishButtons, Id::Finish, Fi::ImgBtn),
        Part(Skin::FinishForm, Id::Finish, Fi::ImgForm),
        Part(Skin::FinishCompleteReport, Id::FinishComplete, G::FinishComplete::ImgReport, {{"ImgBtn", Look::Hidden}}),
        Part(Skin::FinishErrorReport, Id::FinishError, G::FinishError::ImgReport, {{"ImgBtn", Look::Hidden}}),
        Part(Skin::FinishErrorFrame, Id::FinishError, G::FinishError::ImgFrame),
        As(Skin::ReportOkButton, Id::FinishComplete, "ImgBtn", Look::Passive),
        Part(Skin::FinishHeader, Id::Finish, Fi::ImgHeader),
        Part(Skin::ImprintText, Id::Imprint, G::Imprint::ImgImprint, {{"ImgBtn", Look::Hidden}}),
        Part(Skin::NamesButtons, Id::NewProject1, N1::imgBtn),
        Part(Skin::DesignList, Id::NewProject2, G::NewProject2::imgCnt),
        Part(Skin::ChapterEditButtons, Id::NewProject3, N3::imgBtn),
        Part(Skin::ChapterEditButtonsGreyed, Id::NewProject3, N3::imgBtnDisabled, greyedEditButtons),
        Part(Skin::ChapterList, Id::NewProject3, N3::imgCnt),
        Part(Skin::NamesFrame, Id::NewProject1, N1::imgFrm),
        Part(Skin::NewProjectHeader, Id::NewProject1, N1::imgTop),
        Part(Skin::DesignHeader, Id::NewProject2, G::NewProject2::imgTop),
        Part(Skin::ChaptersHeader, Id::NewProject3, N3::imgTop),
        As(Skin::StudioPageDuration, Id::Finish, "imgDuration", Look::Passive),
        As(Skin::StudioPageOff, Id::Finish, "imgVisibleOff", Look::Passive),
        As(Skin::StudioPageOn, Id::Finish, "imgVisibleOn", Look::Passive),
        As(Skin::DesignFullscreen, Id::NewProject2, "ImgFullscreen", Look::Passive),
        As(Skin::DesignFullscreenActive, Id::NewProject2, "ImgFullscreen", Look::Active),
        As(Skin::DiscImageButtonActive, Id::FinishComplete, "imgBtnDiscImage", Look::Active),
        As(Skin::VideoButtonActive, Id::FinishComplete, "imgBtnVideo", Look::Active),
        As(Skin::WaitCancel, Id::PopupPlain, "imgCancel", Look::Passive),
        As(Skin::CalendarActive, Id::NewProject1, "imgCalendar", Look::Active),
    };
}

std::vector<Recipe> PopupRecipes()
{
    namespace PG = G::PopupGrid;
    return {
        Part(Skin::AddEntryButtons, Id::PopupAddEntry, PG::ButtonPair),
        Part(Skin::AddEntryField, Id::PopupAddEntry, PG::Content, kContent),
        Whole(Skin::PopupBackground, Id::PopupPlain),
        As(Skin::StayButtonActive, Id::PopupExit, "imgNo", Look::Active),
        As(Skin::StayButton, Id::PopupExit, "imgNo", Look::Passive),
        As(Skin::LeaveButtonActive, Id::PopupExit, "imgYes", Look::Active),
        As(Skin::LeaveButton, Id::PopupExit, "imgYes", Look::Passive),
        As(Skin::OkButton, Id::PopupOk, "imgBtn", Look::Passive),
        Part(Skin::MessageFrame, Id::PopupOk, PG::Content, kContent),
        As(Skin::DontSaveButtonActive, Id::PopupSave, "imgNo", Look::Active),
        As(Skin::DontSaveButton, Id::PopupSave, "imgNo", Look::Passive),
        As(Skin::SaveButtonActive, Id::PopupSave, "imgYes", Look::Active),
        As(Skin::SaveButton, Id::PopupSave, "imgYes", Look::Passive),
        Part(Skin::ExitAndSaveQuestion, Id::PopupExitAndSave, PG::Content, kContent),
        Part(Skin::ExitQuestion, Id::PopupExit, PG::Content, kContent),
        Part(Skin::SaveQuestion, Id::PopupSave, PG::Content, kContent),
        Part(Skin::YesNoButtons, Id::PopupYesNo, PG::ButtonPair),
        Whole(Skin::PreviewClose, Id::PreviewClose),
        Whole(Skin::MemoPopup, Id::Memo),
        Whole(Skin::FindingsPopup, Id::Findings),
    };
}

std::vector<Recipe> MenuRecipes()
{
    const Id n = Id::MainMenu;
    const Id pm = Id::ProjectMenu;
    const Id alt = Id::ProjectMenuAlternative;
    const LookOverrides labelKitCaption{{"imgBtn_LabelKit", Look::Passive}, {"imgLabelKitText", Look::Passive}};
    return {
        As(Skin::MenuPersonalDataActive, pm, "ImgEdPers_Act", Look::Active),
        As(Skin::MenuPagesActive, pm, "imgEdPrj_Act", Look::Active),
        As(Skin::MenuChaptersActive, pm, "imgEdStory_Act", Look::Active),
        As(Skin::MenuLeaveActive, pm, "imgExitPrg_Act", Look::Active),
        As(Skin::MenuCloseActive, pm, "imgExitPrj_Act", Look::Active),
        As(Skin::MenuFinishActive, pm, "imgFin_Act", Look::Active),
        As(Skin::MenuMusicActive, pm, "imgMusic_Act", Look::Active),
        As(Skin::MenuMusicGreyed, pm, "imgMusic_Act", Look::Greyed),
        As(Skin::MenuSaveActive, pm, "imgSave_Act", Look::Active),
        As(Skin::MenuSaveGreyed, pm, "imgSave_Act", Look::Greyed),
        As(Skin::MainNewProjectActive, n, "Img1", Look::Active),
        As(Skin::MainNewProjectGreyed, n, "Img1", Look::Greyed),
        As(Skin::MainOpenProjectActive, n, "Img2", Look::Active),
        As(Skin::MainOpenProjectGreyed, n, "Img2", Look::Greyed),
        As(Skin::MainExitActive, n, "Img3", Look::Active),
        As(Skin::MainExitGreyed, n, "Img3", Look::Greyed),
        As(Skin::MainImprintActive, n, "Img4", Look::Active),
        As(Skin::MainImprintGreyed, n, "Img4", Look::Greyed),
        Whole(Skin::MainMenuBackground, n),
        Whole(Skin::ProjectMenuBackground, pm),
        As(Skin::AltMenuPersonalDataActive, alt, "ImgEdPers_Act", Look::Active),
        As(Skin::AltMenuPagesActive, alt, "imgEdPrj_Act", Look::Active),
        As(Skin::AltMenuChaptersActive, alt, "imgEdStory_Act", Look::Active),
        As(Skin::AltMenuLeaveActive, alt, "imgExitPrg_Act", Look::Active),
        As(Skin::AltMenuCloseActive, alt, "imgExitPrj_Act", Look::Active),
        As(Skin::AltMenuFinishActive, alt, "imgFin_Act", Look::Active),
        As(Skin::AltMenuMusicActive, alt, "imgMusic_Act", Look::Active),
        As(Skin::AltMenuMusicGreyed, alt, "imgMusic_Act", Look::Greyed),
        As(Skin::AltMenuSaveActive, alt, "imgSave_Act", Look::Active),
        As(Skin::AltMenuSaveGreyed, alt, "imgSave_Act", Look::Greyed),
        As(Skin::AltMenuStudio, alt, "ImgStudioBG", Look::Passive),
        As(Skin::AltMenuStudioActive, alt, "ImgStudioBG", Look::Active),
        As(Skin::AltMenuLabelKitActive, alt, "imgBtn_Labelkit_Act", Look::Active),
        Part(Skin::AltMenuLabelKitCaption, alt, G::ProjectMenu::imgLabelKitText, labelKitCaption),
        As(Skin::AltMenuLabelKit, alt, "imgBtn_LabelKit", Look::Passive),
        As(Skin::MenuStudio, pm, "ImgStudioBG", Look::Passive),
        As(Skin::MenuStudioActive, pm, "ImgStudioBG", Look::Active),
        As(Skin::MenuLabelKitActive, pm, "imgBtn_Labelkit_Act", Look::Active),
        Part(Skin::MenuLabelKitCaption, pm, G::ProjectMenu::imgLabelKitText, labelKitCaption),
        As(Skin::MenuLabelKit, pm, "imgBtn_LabelKit", Look::Passive),
    };
}

std::vector<Recipe> LabelAndStudioRecipes()
{
    namespace LP = G::LabelKitPrint;
    return {
        As(Skin::DeletePicture, Id::Photographer, "imgBtnDelLogo", Look::Passive),
        Whole(Skin::StudioBackground, Id::Photographer),
        Whole(Skin::LabelKitPrintBackground, Id::LabelKitPrint),
        Whole(Skin::LabelKitSetupBackground, Id::LabelkitSetup),
        Part(Skin::PrintUpperLabelTicked, Id::LabelKitPrint, LP::imgPrntUpLabel,
             {{"imgPrntUpLabel", Look::Hidden}, {"imgPrntUpLblChecked", Look::Passive}}),
        Part(Skin::PrintLowerLabelTicked, Id::LabelKitPrint, LP::imgPrntLoLabel,
             {{"imgPrntLoLabel", Look::Hidden}, {"imgPrntLoLblChecked", Look::Passive}}),
        As(Skin::RemoveLabelPictureGreyed, Id::LabelkitSetup, "imgBtnClearUserPic", Look::Greyed),
        As(Skin::LabelTestSheetActive, Id::LabelKitPrint, "imgBtnTestSheet", Look::Active),
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

} // namespace

SkinPainter::SkinPainter() = default;
SkinPainter::~SkinPainter() = default;

int SkinPainter::Count() { return kPictureCount; }

bool SkinPainter::IsUsed(int index) { return index >= 0 && index < kPictureCount && Recipes()[index].has_value(); }

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
