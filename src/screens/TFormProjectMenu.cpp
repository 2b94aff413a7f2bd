#include "screens/TFormProjectMenu.h"

#include "audio/BassLibrary.h"
#include "audio/evMusic.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPhotograph.h"
#include "model/evProject.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/Text.h"
#include "presentation/StudioBranding.h"
#include "presentation/StudioFiles.h"
#include "screens/ApplicationContext.h"
#include "screens/Autosave.h"
#include "screens/DataIndexes.h"
#include "screens/HourglassCursor.h"
#include "screens/IPageEditor.h"
#include "screens/ProjectStatus.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormExit.h"
#include "screens/TFormExitAndSave.h"
#include "screens/TFormFinish.h"
#include "screens/TFormMusic.h"
#include "screens/TFormNewProject3.h"
#include "screens/TFormPersonalProject.h"
#include "screens/TFormPhotographer.h"
#include "screens/TFormSave.h"
#include "screens/TformLabelkitSetup.h"
#include "screens/TformPreview.h"
#include "screens/TframeTimeline.h"
#include "screens/TokPopup.h"

#include <QFontMetrics>

#include <filesystem>
#include <map>

namespace G = Geometry::ProjectMenu;

namespace {

LabelStyle StatusStyle()
{
    LabelStyle style;
    style.family = "Arial";
    style.pixelSize = 12;
    style.bold = true;
    return style;
}

// The hints of the hidden variant, by the normal hint they replace.
int32_t AlternativeHint(int32_t hint)
{
    static const std::map<int32_t, int32_t> alternatives = {
        {Help::HintProjectMenu, Help::AltHintMenu},  {Help::HintMenuChapters, Help::AltHintChapters},
        {Help::HintMenuPages, Help::AltHintPages},   {Help::HintMenuMusic, Help::AltHintMusic},
        {Help::HintMenuFinish, Help::AltHintFinish}, {Help::HintMenuSave, Help::AltHintSave},
        {Help::HintMenuClose, Help::AltHintClose},   {Help::HintMenuPersonal, Help::AltHintPersonal},
        {Help::HintMenuLeave, Help::AltHintLeave},   {Help::MusicUnavailable, Help::AltHintNoSound},
        {Help::HintMenuStudio, Help::AltHintStudio}, {Help::HintMenuLabelKit, Help::AltHintLabelKit},
    };
    const auto found = alternatives.find(hint);
    return found != alternatives.end() ? found->second : hint;
}

void ShowMessage(int32_t helpText)
{
    if (TokPopup* ok = Screens().okPopup.get())
        ok->Run(HelpText(helpText));
}

evProject* CurrentProject() { return AppContext() ? AppContext()->GetCurrentProject() : nullptr; }

} // namespace

TFormProjectMenu::TFormProjectMenu() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    Image1 = AddImage(G::Image1, TImage::Role::Background);
    imgEdPrj_Act = AddButton(G::imgEdPrj_Act, &TFormProjectMenu::imgEdPrj_ActClick);
    imgEdStory_Act = AddButton(G::imgEdStory_Act, &TFormProjectMenu::imgEdStory_ActClick);
    ImgEdPers_Act = AddButton(G::ImgEdPers_Act, &TFormProjectMenu::ImgEdPers_ActClick);
    imgMusic_InAct = AddImage(G::imgMusic_InAct);
    imgMusic_Act = AddButton(G::imgMusic_Act, &TFormProjectMenu::imgMusic_ActClick);
    imgFin_Act = AddButton(G::imgFin_Act, &TFormProjectMenu::imgFin_ActClick);
    imgSave_Act = AddButton(G::imgSave_Act, &TFormProjectMenu::imgSave_ActClick);
    imgSave_InAct = AddImage(G::imgSave_InAct);
    imgBtn_LabelKit = AddImage(G::imgBtn_LabelKit);
    imgLabelKitText = AddImage(G::imgLabelKitText);
    imgBtn_Labelkit_Act = AddButton(G::imgBtn_Labelkit_Act, &TFormProjectMenu::imgBtn_Labelkit_ActClick);
    ImgStudioBG = AddImage(G::ImgStudioBG);
    imgStudio_Active = AddButton(G::imgStudio_Active, &TFormProjectMenu::imgStudio_ActiveClick);
    imgExitPrj_Act = AddButton(G::imgExitPrj_Act, &TFormProjectMenu::imgExitPrj_ActClick);
    imgExitPrg_Act = AddButton(G::imgExitPrg_Act, &TFormProjectMenu::imgExitPrg_ActClick);
    imgExtra1 = AddImage(G::imgExtra1, TImage::Role::Button);
    imgExtra2 = AddImage(G::imgExtra2, TImage::Role::Button);
    labelStatus = AddLabel(G::labelStatus, StatusStyle());
    labelMusic = AddLabel(G::labelMusic, StatusStyle());
    labelSaved = AddLabel(G::labelSaved, StatusStyle());
    labelPerson = AddLabel(G::labelPerson, StatusStyle());
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle());
    WatchHints(labelHelp, &m_hint);

    m_pictures = {
        {ImgBG, Skin::ProjectMenuBackground, Skin::ProjectMenuBackground},
        {ImgEdPers_Act, Skin::MenuPersonalDataActive, Skin::AltMenuPersonalDataActive},
        {imgEdPrj_Act, Skin::MenuPagesActive, Skin::AltMenuPagesActive},
        {imgEdStory_Act, Skin::MenuChaptersActive, Skin::AltMenuChaptersActive},
        {imgExitPrg_Act, Skin::MenuLeaveActive, Skin::AltMenuLeaveActive},
        {imgExitPrj_Act, Skin::MenuCloseActive, Skin::AltMenuCloseActive},
        {imgFin_Act, Skin::MenuFinishActive, Skin::AltMenuFinishActive},
        {imgMusic_Act, Skin::MenuMusicActive, Skin::AltMenuMusicActive},
        {imgMusic_InAct, Skin::MenuMusicGreyed, Skin::AltMenuMusicGreyed},
        {imgSave_Act, Skin::MenuSaveActive, Skin::AltMenuSaveActive},
        {imgSave_InAct, Skin::MenuSaveGreyed, Skin::AltMenuSaveGreyed},
        {ImgStudioBG, Skin::MenuStudio, Skin::AltMenuStudio},
        {imgStudio_Active, Skin::MenuStudioActive, Skin::AltMenuStudioActive},
        {imgBtn_Labelkit_Act, Skin::MenuLabelKitActive, Skin::AltMenuLabelKitActive},
        {imgLabelKitText, Skin::MenuLabelKitCaption, Skin::AltMenuLabelKitCaption},
        {imgBtn_LabelKit, Skin::MenuLabelKit, Skin::AltMenuLabelKit},
    };
    m_buttons = {
        {imgEdPrj_Act, Help::HintMenuPages},      {imgEdStory_Act, Help::HintMenuChapters},
        {ImgEdPers_Act, Help::HintMenuPersonal},  {imgMusic_Act, Help::HintMenuMusic},
        {imgSave_Act, Help::HintMenuSave},        {imgFin_Act, Help::HintMenuFinish},
        {imgExitPrj_Act, Help::HintMenuClose},    {imgExitPrg_Act, Help::HintMenuLeave},
        {imgStudio_Active, Help::HintMenuStudio}, {imgBtn_Labelkit_Act, Help::HintMenuLabelKit},
    };

    for (TImage* image : {ImgBG, Image1, imgExtra1, imgExtra2})
        ConnectMouseMoves(image);
    imgExtra1->hide();
    imgExtra2->hide();
    connect(Image1, &TImage::doubleClicked, this,
            [this](Qt::KeyboardModifiers modifiers) { Image1DblClick(modifiers); });
    connect(imgExtra1, &TImage::clicked, this, [this] { Guarded(&TFormProjectMenu::imgExtra1Click); });
    connect(imgExtra2, &TImage::clicked, this, [this] { Guarded(&TFormProjectMenu::imgExtra2Click); });

    m_timeline = new TframeTimeline(Panel());
    m_timeline->move(G::TimelineLeft, G::TimelineTop);
    m_timeline->hide();
    AddSkin(m_timeline->imgBg, Skin::TimelineBackground);
    AddSkin(m_timeline->imgScrollLeft, Skin::ScrollLeft);
    AddSkin(m_timeline->imgScrollRight, Skin::ScrollRight);
}

TFormProjectMenu::~TFormProjectMenu()
{
    if (GetProjectModificationHost() == this)
        SetProjectModificationHost(nullptr);
}

TImage* TFormProjectMenu::AddButton(const Geometry::ControlRect& rect, void (TFormProjectMenu::*click)())
{
    TImage* image = AddImage(rect, TImage::Role::Hover);
    connect(image, &TImage::clicked, this, [this, click] { Guarded(click); });
    ConnectMouseMoves(image);
    return image;
}

// The images report the mouse in their own coordinates; the menu compares it with the panel's.
void TFormProjectMenu::ConnectMouseMoves(TImage* image)
{
    connect(image, &TImage::mouseMoved, this,
            [this, image](int x, int y) { ImgBGMouseMove(image, x + image->x(), y + image->y()); });
}

// An error must not escape into the event loop: like an error anywhere in the menu, it closes the project with
// the message that something went wrong.
void TFormProjectMenu::Guarded(void (TFormProjectMenu::*handler)())
{
    try {
        (this->*handler)();
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Project menu failed: ") + e.what());
        m_result = ResultFailed;
        Close();
    }
}

int32_t TFormProjectMenu::Run()
{
    if (Prepare())
        ShowModal();
    Conclude();
    return m_result;
}

bool TFormProjectMenu::Prepare()
{
    const ApplicationContext* context = AppContext();
    std::error_code ignored;
    m_studioAvailable = context && std::filesystem::is_regular_file(context->GetStudioFile(), ignored);
    m_alternativePictures = false;
    BeginRun();
    LoadMenuPictures();
    m_result = ResultBack;
    m_hint = -1;
    labelHelp->SetCaption(QString());
    evProject* project = CurrentProject();
    if (!project) {
        m_result = ResultNoProject;
        return false;
    }
    SetProjectModificationHost(this);
    // A project restored from its recovery copy has changes that are not saved yet.
    m_modified = AppContext()->TakeOpenedWithChanges();
    connect(&AppContext()->GetAutosave(), &Autosave::problemChanged, this, &TFormProjectMenu::RefreshStatus,
            Qt::UniqueConnection);
    RefreshStatus();
    if (project->GetDesign() && Screens().formPreview)
        Screens().formPreview->SetColor(project->GetDesign()->GetBackgroundColour());
    PutTimelineOnStartPage();
    m_currentEditor = 2;
    PlaySpeech(6);
    ImgStudioBG->setVisible(m_studioAvailable);
    imgExtra1->setVisible(m_alternativeHints);
    imgExtra2->setVisible(m_alternativeHints);
    return true;
}

void TFormProjectMenu::Conclude()
{
    TakeTimelineBack();
    m_timeline->Reset();
    ClearAllPictures();
    if (GetProjectModificationHost() == this)
        SetProjectModificationHost(nullptr);
}

void TFormProjectMenu::MarkModified()
{
    m_modified = true;
    imgSave_InAct->hide();
}

// The passive looks are part of the background; the hover images start hidden, the covering looks show what
// is not available.
void TFormProjectMenu::LoadMenuPictures()
{
    for (const MenuPicture& picture : m_pictures)
        ShowSkinPicture(picture.image, m_alternativePictures ? picture.alternative : picture.normal);
    if (!soundAvailable)
        ShowSkinPicture(imgMusic_Act, m_alternativePictures ? Skin::AltMenuMusicGreyed : Skin::MenuMusicGreyed);
    ReleaseSkinImage();
    for (const HoverButton& button : m_buttons)
        button.image->hide();
    imgMusic_InAct->setVisible(!soundAvailable);
    imgSave_InAct->setVisible(!m_modified);
    ImgStudioBG->setVisible(m_studioAvailable);
    imgBtn_LabelKit->setVisible(LabelKitAvailable());
    imgLabelKitText->setVisible(LabelKitAvailable());
}

void TFormProjectMenu::ClearMenuPictures()
{
    for (const MenuPicture& picture : m_pictures)
        picture.image->ClearPicture();
}

void TFormProjectMenu::LoadAllPictures()
{
    LoadSkin();
    LoadMenuPictures();
}

void TFormProjectMenu::ClearAllPictures()
{
    ClearSkin();
    ClearMenuPictures();
}

void TFormProjectMenu::RefreshStatus()
{
    evProject* project = CurrentProject();
    if (!project)
        return;
    const ProjectStatus status = ProjectStatusLine(*project);
    labelStatus->SetCaption(status.text);
    labelStatus->SetFontColour(status.good ? kGreen : kMaroon);
    if (const auto* music = dynamic_cast<const evMusic*>(project->GetMusic())) {
        const QString name = ShortenAtStart(ToDisplay(music->GetTitle()), labelMusic->font(), labelMusic->width());
        labelMusic->SetCaption(DoubleAmpersands(name));
        labelMusic->SetFontColour(kGreen);
    } else {
        labelMusic->SetCaption(HelpText(Help::StatusNoMusic));
        labelMusic->SetFontColour(kMaroon);
    }
    const bool noCopy = m_modified && AppContext() && AppContext()->GetAutosave().HasProblem();
    labelSaved->SetCaption(HelpText(noCopy       ? Help::StatusNoRecoveryCopy
                                    : m_modified ? Help::StatusUnsaved
                                                 : Help::StatusSaved));
    labelSaved->SetFontColour(m_modified ? kMaroon : kGreen);
    labelPerson->SetCaption(DoubleAmpersands(ToDisplay(project->GetFirstName())) + " && " +
                            DoubleAmpersands(ToDisplay(project->GetSecondName())));
    labelPerson->SetFontColour(kGreen);
    imgSave_InAct->setVisible(!m_modified);
}

QString TFormProjectMenu::ShortenAtStart(const QString& text, const QFont& font, int width)
{
    return TLabel::Shortened(text, font, width, TLabel::Keep::End);
}

// R is the first top-level category, M the second. Without chapters under M the strip starts on R; otherwise
// on M's first selected chapter (R when none is selected).
TFormProjectMenu::TimelinePosition TFormProjectMenu::StartPosition(const evProject& project)
{
    evCategory* first = project.GetFirstCategory();
    evCategory* second = first ? first->GetNext() : nullptr;
    if (!second || !second->HasSub())
        return {first, first};
    for (evCategory* chapter = second->GetSub(); chapter; chapter = chapter->GetNext())
        if (chapter->GetSelected())
            return {second, chapter};
    return {first, first};
}

void TFormProjectMenu::PutTimelineOnStartPage()
{
    const evProject* project = CurrentProject();
    if (!project)
        return;
    const TimelinePosition start = StartPosition(*project);
    m_timeline->SetPosition(start.category, start.page, true);
}

void TFormProjectMenu::LendTimeline(QWidget* panel)
{
    m_timeline->setParent(panel);
    m_timeline->move(G::TimelineLeft, G::TimelineTop);
    m_timeline->show();
}

void TFormProjectMenu::TakeTimelineBack()
{
    m_timeline->hide();
    if (m_timeline->parentWidget() != Panel())
        m_timeline->setParent(Panel());
    m_timeline->move(G::TimelineLeft, G::TimelineTop);
}

// The editors hand over to each other until one answers 0 (back to the menu) or 1 (leave the program).
int32_t TFormProjectMenu::RunPageEditors()
{
    for (;;) {
        IPageEditor* editor = Screens().PageEditor(m_currentEditor);
        if (!editor || !editor->MainPanel())
            return 0;
        LendTimeline(editor->MainPanel());
        int32_t answer = 0;
        try {
            answer = editor->Run(*m_timeline);
        } catch (...) {
            TakeTimelineBack();
            throw;
        }
        TakeTimelineBack();
        if (answer < 2 || answer > 4)
            return answer == 1 ? 1 : 0;
        m_currentEditor = answer;
    }
}

void TFormProjectMenu::imgEdPrj_ActClick()
{
    StopSpeech();
    const int32_t answer = RunPageEditors();
    if (m_modified)
        RefreshStatus();
    if (answer == 1)
        Leave();
    else
        KeepRecoveryCopy();
}

// Back from a screen that may have changed the project: the recovery copy catches up, in the background.
void TFormProjectMenu::KeepRecoveryCopy()
{
    if (m_modified && AppContext())
        AppContext()->GetAutosave().Keep();
}

void TFormProjectMenu::imgEdStory_ActClick()
{
    StopSpeech();
    TFormNewProject3* chapters = Screens().formNewProject3.get();
    if (!chapters)
        return;
    ClearMenuPictures();
    const bool changed = chapters->RunEdit();
    if (changed)
        m_timeline->Reset(); // the strip's pages belonged to the tree that was replaced
    LoadMenuPictures();
    if (!changed)
        return;
    ::MarkModified(); // the shared one, which also counts the change for the autosave
    RefreshStatus();
    repaint();
    PutTimelineOnStartPage();
    KeepRecoveryCopy();
}

void TFormProjectMenu::ImgEdPers_ActClick()
{
    StopSpeech();
    TFormPersonalProject* personal = Screens().formPersonalProject.get();
    if (!personal)
        return;
    ClearAllPictures();
    personal->Run();
    LoadAllPictures();
    if (m_modified)
        RefreshStatus();
    KeepRecoveryCopy();
}

void TFormProjectMenu::imgMusic_ActClick()
{
    StopSpeech();
    if (!soundAvailable) {
        ShowMessage(Help::MusicUnavailable);
        return;
    }
    TFormMusic* music = Screens().formMusic.get();
    if (!music)
        return;
    ShowMessage(Help::MusicInfo);
    ClearAllPictures();
    music->Run();
    LoadAllPictures();
    if (m_modified)
        RefreshStatus();
    KeepRecoveryCopy();
}

void TFormProjectMenu::imgSave_ActClick()
{
    StopSpeech();
    ShowSaveResult(Save());
}

// A failed save says which file could not be written and why (ApplicationContext::SaveProject); the project
// stays modified and the save button available.
bool TFormProjectMenu::Save()
{
    HourglassCursor hourglass;
    if (!AppContext() || !AppContext()->SaveProject())
        return false;
    m_modified = false;
    imgSave_Act->hide();
    RefreshStatus();
    return true;
}

void TFormProjectMenu::imgFin_ActClick()
{
    StopSpeech();
    TFormFinish* finish = Screens().formFinish.get();
    if (!finish)
        return;
    ClearAllPictures();
    finish->Run();
    LoadAllPictures();
}

// Closing with changes asks first. When the answer was to save and saving fails, the menu stays open, so the
// changes are not lost without a word.
void TFormProjectMenu::imgExitPrj_ActClick()
{
    StopSpeech();
    if (m_modified) {
        TFormSave* question = Screens().formSave.get();
        if (!question || !question->Run())
            return;
        if (question->GetSave() && !Save())
            return;
    }
    m_result = ResultBack;
    Close();
}

void TFormProjectMenu::imgExitPrg_ActClick()
{
    StopSpeech();
    if (!m_modified) {
        TFormExit* question = Screens().formExit.get();
        if (question && question->Run())
            Leave();
        return;
    }
    TFormExitAndSave* question = Screens().formExitAndSave.get();
    const int32_t answer = question ? question->Run() : TFormExitAndSave::AnswerStay;
    if (answer == TFormExitAndSave::AnswerSaveAndLeave && Save())
        Leave();
    else if (answer == TFormExitAndSave::AnswerLeave)
        Leave();
}

void TFormProjectMenu::Leave()
{
    m_result = ResultLeave;
    Close();
}

// The studio design and record are read afresh for every run of the studio screen. A record file that cannot be
// read is reported and left as it is; the record goes back to its file only when the screen reports OK, written
// beside it first, so that a failed write keeps the previous file.
void TFormProjectMenu::imgStudio_ActiveClick()
{
    StopSpeech();
    const ApplicationContext* context = AppContext();
    if (!m_studioAvailable || !context) {
        ShowMessage(Help::StudioMissing);
        return;
    }
    std::unique_ptr<StudioBranding> studio;
    try {
        studio = LoadStudioForEditing(context->GetStudioFile(), context->GetStudioDataFile());
    } catch (const EStudioRecordError& e) {
        ktLogs::LogLine(e.what());
        ShowMessage(Help::StudioDataUnreadable);
        return;
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Studio design not read: ") + e.what());
        ShowMessage(Help::StudioMissing);
        return;
    }
    TFormPhotographer* screen = Screens().formPhotographer.get();
    if (!screen)
        return;
    evPhotograph& record = studio->GetRecord();
    ClearAllPictures();
    const bool confirmed = screen->Run(*record.GetPageLayout(), record);
    LoadAllPictures();
    if (!confirmed)
        return;
    try {
        WriteStudioRecord(record, context->GetStudioDataFile());
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Studio record not written: ") + e.what());
        ShowMessage(Help::StudioDataNotSaved);
    }
}

// The label kit's tile shows whenever a project is open.
bool TFormProjectMenu::LabelKitAvailable() const { return CurrentProject() && Screens().formLabelkitSetup; }

void TFormProjectMenu::imgBtn_Labelkit_ActClick()
{
    StopSpeech();
    evProject* project = CurrentProject();
    TformLabelkitSetup* labelKit = Screens().formLabelkitSetup.get();
    if (!project || !labelKit)
        return;
    ClearAllPictures();
    labelKit->Run(*project);
    LoadAllPictures();
    if (m_modified)
        RefreshStatus();
}

void TFormProjectMenu::Image1DblClick(Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if ((modifiers & all) != all)
        return;
    m_alternativePictures = true;
    m_alternativeHints = true;
    LoadMenuPictures();
    imgExtra1->show();
    imgExtra2->show();
}

void TFormProjectMenu::imgExtra1Click() { ShowMessage(Help::HiddenMessage1); }

void TFormProjectMenu::imgExtra2Click() { ShowMessage(Help::HiddenMessage2); }

bool TFormProjectMenu::HoverAllowed(const TImage* image) const
{
    if (image == imgSave_Act)
        return imgSave_InAct->isHidden();
    if (image == imgStudio_Active)
        return m_studioAvailable;
    if (image == imgBtn_Labelkit_Act)
        return LabelKitAvailable();
    return true;
}

// The menu's own hint, unless the mouse is over a button that may show its active look.
void TFormProjectMenu::ImgBGMouseMove(const QObject* sender, int x, int y)
{
    int32_t hint = Help::HintProjectMenu;
    for (const HoverButton& button : m_buttons) {
        if (!HoverAllowed(button.image)) {
            button.image->hide();
            continue;
        }
        if (HoverShow(x, y, button.image, sender))
            hint = button.image == imgMusic_Act && !soundAvailable ? Help::MusicUnavailable : button.hint;
    }
    ShowHint(hint);
}

void TFormProjectMenu::ShowHint(int32_t hint)
{
    ShowHelpHint(labelHelp, m_hint, m_alternativeHints ? AlternativeHint(hint) : hint);
}
