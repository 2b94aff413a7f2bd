#include "screens/TFormNewProject3.h"

#include "model/PageOrder.h"
#include "model/PersonalData.h"
#include "model/ProgressBar.h"
#include "model/ProjectFile.h"
#include "model/evBranding.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evProject.h"
#include "platform/Dates.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "platform/PanelScale.h"
#include "platform/Text.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/FileDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormAddEntry.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"
#include "screens/TyesNoPopup.h"
#include "screens/WizardLook.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>

namespace G = Geometry::NewProject3;

namespace {

// Characters that cannot stand in a file name of this platform (the folder separator, NUL and the other control
// characters) become "_"; so does a name that would mean a folder ("", "." or "..").
std::string SafeFileNamePart(std::string name)
{
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '/')
            c = '_';
    }
    if (name.empty() || name == "." || name == "..")
        return "_";
    return name;
}

bool HasProjectExtension(const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename().string();
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && name.compare(dot, std::string::npos, ".evp") == 0;
}

// Runs the step under the wait pop-up when there is one, else directly.
void RunWaitStep(int32_t helpText, const std::function<void(ProgressBar*)>& step)
{
    if (!Screens().waitPopup) {
        step(nullptr);
        return;
    }
    Screens().waitPopup->Run(HelpText(helpText), [&step](ProgressBar& progress) {
        step(&progress);
        return true;
    });
}

} // namespace

std::string NewProjectFileName(const std::string& projectsFolder, const std::string& firstName,
                               const std::string& secondName)
{
    return projectsFolder + SafeFileNamePart(firstName + " & " + secondName) + ".evp";
}

TFormNewProject3::TFormNewProject3() : SkinnedScreen(Kind::FullScreen)
{
    setWindowTitle("New album - chapters");
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::Backdrop);
    imgTop = AddImage(G::imgTop);
    imgCnt = AddSkinImage(G::imgCnt, Skin::ChapterList);
    imgBtn = AddSkinImage(G::imgBtn, Skin::ChapterEditButtons);
    imgBtnNew = AddImage(G::imgBtnNew, TImage::Role::Button);
    imgBtnNewSub = AddImage(G::imgBtnNewSub, TImage::Role::Button);
    imgBtnEditName = AddImage(G::imgBtnEditName, TImage::Role::Button);
    imgBtnRemove = AddImage(G::imgBtnRemove, TImage::Role::Button);
    imgBtnDisabled = AddSkinImage(G::imgBtnDisabled, Skin::ChapterEditButtonsGreyed);
    imgBt = AddImage(G::imgBt, TImage::Role::Button);
    AddSkin(imgBt, Skin::ChapterListUp);
    imgBb = AddImage(G::imgBb, TImage::Role::Button);
    AddSkin(imgBb, Skin::ChapterListDown);
    imgBtnCancel = AddImage(G::imgBtnCancel, TImage::Role::Button);
    imgBtnOk = AddImage(G::imgBtnOk, TImage::Role::Button);
    imgHlp = AddSkinImage(G::imgHlp, Skin::ChapterHelpBox);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle("Arial"));
    WatchHints(labelHelp, &m_hint);
    ScrollTimer.setInterval(kScrollInterval);

    connect(ImgBG, &TImage::mouseMoved, this, [this](int x, int y) { ImgBGMouseMove(x, y); });
    const std::pair<TImage*, int32_t> editButtons[] = {{imgBtnNew, Help::HintNewChapter},
                                                       {imgBtnNewSub, Help::HintNewSubChapter},
                                                       {imgBtnEditName, Help::HintRenameChapter},
                                                       {imgBtnRemove, Help::HintRemoveChapter}};
    for (const auto& [button, hint] : editButtons) {
        connect(button, &TImage::mouseMoved, this, [this, hint = hint] {
            ShowHelpHint(labelHelp, m_hint, m_selected < 0 ? Help::HintSelectChapterFirst : hint);
        });
    }
    connect(imgBtnCancel, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintCancel); });
    connect(imgBtnOk, &TImage::mouseMoved, this, [this] { ShowHelpHint(labelHelp, m_hint, Help::HintOk); });
    connect(imgBtnNew, &TImage::clicked, this, [this] { imgBtnNewClick(); });
    connect(imgBtnNewSub, &TImage::clicked, this, [this] { imgBtnNewSubClick(); });
    connect(imgBtnEditName, &TImage::clicked, this, [this] { imgBtnEditNameClick(); });
    connect(imgBtnRemove, &TImage::clicked, this, [this] { imgBtnRemoveClick(); });
    connect(imgBtnCancel, &TImage::clicked, this, [this] { imgBtnCancelClick(); });
    connect(imgBtnOk, &TImage::clicked, this, [this] { imgBtnOkClick(); });
    SetKeyHandlers([this] { imgBtnOkClick(); }, [this] { EscapePressed(); });
    connect(imgBt, &TImage::mouseDown, this, [this] { imgBtnListUpMouseDown(); });
    connect(imgBb, &TImage::mouseDown, this, [this] { imgBtnListDownMouseDown(); });
    connect(imgBt, &TImage::mouseUp, this, [this] { imgBtnListMouseUp(); });
    connect(imgBb, &TImage::mouseUp, this, [this] { imgBtnListMouseUp(); });
    connect(&ScrollTimer, &QTimer::timeout, this, [this] { ScrollTimerTick(); });
    Panel()->installEventFilter(this);
}

TFormNewProject3::~TFormNewProject3() { FreeRows(); }

// ------------------------------------------------------------------------------------------------ running

std::unique_ptr<evProject> TFormNewProject3::Run(const std::string& firstName, const std::string& secondName,
                                                 const std::string& designFileName, double date)
{
    const evBranding* branding =
        AppContext() && AppContext()->GetMainBranding() ? AppContext()->GetMainBranding() : SkinBranding();
    PrepareWizard(firstName, secondName, designFileName, date, branding ? branding->GetChapterTree() : nullptr);
    ShowModal();
    return FinishWizard();
}

bool TFormNewProject3::RunEdit()
{
    evProject* project = AppContext() ? AppContext()->GetCurrentProject() : nullptr;
    if (!project)
        return false;
    PrepareEdit(*project);
    ShowModal();
    return FinishEdit(*project);
}

void TFormNewProject3::PrepareWizard(const std::string& firstName, const std::string& secondName,
                                     const std::string& designFileName, double date, const evCategory* templateTree)
{
    m_editMode = false;
    m_original = nullptr;
    m_firstName = firstName;
    m_secondName = secondName;
    m_designFileName = designFileName;
    m_date = date;
    m_tree = templateTree ? templateTree->CloneCategory() : nullptr;
    PrepareCommon();
    PlaySpeech(5);
}

void TFormNewProject3::PrepareEdit(const evProject& project)
{
    m_editMode = true;
    m_firstName = project.GetFirstName();
    m_secondName = project.GetSecondName();
    m_designFileName = project.GetDesignFileName();
    m_date = project.GetDate();
    m_original = project.GetFirstCategory();
    m_tree = m_original ? m_original->CloneCategory() : nullptr;
    PrepareCommon();
}

void TFormNewProject3::PrepareCommon()
{
    BeginRun();
    try {
        imgTop->SetPicture(SkinPicture(m_editMode ? Skin::ChaptersEditHeader : Skin::ChaptersHeader));
    } catch (const EVelloraError& e) {
        imgTop->ClearPicture();
        ktLogs::LogLine(std::string("Skin picture not loaded: ") + e.what());
    }
    m_newProject.reset();
    m_firstVisible = 0;
    m_hint = -1;
    m_scrollingUp = m_scrollingDown = false;
    m_accepted = false;
    m_selected = -1;
    labelHelp->SetCaption(QString());
    BuildRows();
    imgBtnDisabled->show();
    SetButtonsEnabledLook(false);
}

std::unique_ptr<evProject> TFormNewProject3::FinishWizard()
{
    ScrollTimer.stop();
    EndRun();
    imgTop->ClearPicture();
    FreeRows();
    m_iconPictures.clear();
    m_tree.reset();
    if (!m_accepted)
        m_newProject.reset();
    return std::move(m_newProject);
}

bool TFormNewProject3::FinishEdit(evProject& project)
{
    ScrollTimer.stop();
    EndRun();
    imgTop->ClearPicture();
    FreeRows();
    m_iconPictures.clear();
    if (m_accepted)
        project.SetFirstCategory(std::move(m_tree));
    m_tree.reset();
    return m_accepted;
}

// ----------------------------------------------------------------------------------------------------- rows

// Depth first without recursion: an entry, then its sub-entries, then its next sibling.
void TFormNewProject3::BuildRows()
{
    std::vector<std::pair<evCategory*, int>> pending;
    if (m_tree)
        pending.push_back({m_tree.get(), 0});
    while (!pending.empty()) {
        auto [entry, depth] = pending.back();
        pending.pop_back();
        m_rows.push_back(entry);
        m_rowDepths.push_back(depth);
        if (entry->GetNext())
            pending.push_back({entry->GetNext(), depth});
        if (entry->GetSub())
            pending.push_back({entry->GetSub(), depth + 1});
    }
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const evCategory& entry = *m_rows[r];
        const int depth = m_rowDepths[r];
        TLabel* label = AddListLabel(Panel(), G::RowLabel(depth, 0), DoubleAmpersands(ToDisplay(entry.GetTitle())));
        label->installEventFilter(this);
        m_rowLabels.push_back(label);
        auto* icon = new TImage(Panel(), G::RowIcon(depth, 0), TImage::Role::Button);
        icon->setCursor(entry.GetOptional() ? Qt::PointingHandCursor : Qt::ArrowCursor);
        const auto row = static_cast<int32_t>(r);
        connect(icon, &TImage::clicked, this, [this, row] { IconClick(row); });
        connect(icon, &TImage::mouseMoved, this, [this, row] {
            ShowHelpHint(labelHelp, m_hint,
                         m_rows[static_cast<size_t>(row)]->GetOptional() ? Help::HintChapterOptional
                                                                         : Help::HintChapterFixed);
        });
        m_rowIcons.push_back(icon);
    }
    PlaceRows();
    ColourRows();
    RedrawIcons();
}

void TFormNewProject3::FreeRows()
{
    for (TLabel* label : m_rowLabels)
        delete label;
    for (TImage* icon : m_rowIcons)
        delete icon;
    m_rowLabels.clear();
    m_rowIcons.clear();
    m_rows.clear();
    m_rowDepths.clear();
}

void TFormNewProject3::RebuildRows()
{
    FreeRows();
    m_selected = -1;
    m_firstVisible = 0;
    BuildRows();
}

void TFormNewProject3::PlaceRows()
{
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const int visibleRow = static_cast<int>(r) - m_firstVisible;
        const bool visible = visibleRow >= 0 && visibleRow < G::VisibleRows;
        const Geometry::ControlRect labelRect = G::RowLabel(m_rowDepths[r], visibleRow);
        const Geometry::ControlRect iconRect = G::RowIcon(m_rowDepths[r], visibleRow);
        m_rowLabels[r]->move(labelRect.x, labelRect.y);
        m_rowIcons[r]->move(iconRect.x, iconRect.y);
        m_rowLabels[r]->setVisible(visible);
        m_rowIcons[r]->setVisible(visible);
    }
}

// Every row, not only the visible ones, so that a row scrolled into view never shows an old selection.
void TFormNewProject3::ColourRows()
{
    for (size_t r = 0; r < m_rowLabels.size(); ++r)
        SetListLabelChosen(m_rowLabels[r], static_cast<int32_t>(r) == m_selected);
}

int32_t TFormNewProject3::IconPictureFor(const evCategory& entry)
{
    if (!entry.GetOptional())
        return Skin::ChapterFixed;
    return entry.GetSelected() ? Skin::ChapterOn : Skin::ChapterOff;
}

const QImage& TFormNewProject3::IconPicture(int32_t index)
{
    auto found = m_iconPictures.find(index);
    if (found != m_iconPictures.end())
        return found->second;
    QImage picture;
    try {
        picture = SkinPicture(index).Decode().ToQImage();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Skin picture not loaded: ") + e.what());
    }
    return m_iconPictures.emplace(index, std::move(picture)).first->second;
}

void TFormNewProject3::RedrawIcons()
{
    for (size_t r = 0; r < m_rowIcons.size(); ++r) {
        const QImage& picture = IconPicture(IconPictureFor(*m_rows[r]));
        if (picture.isNull())
            m_rowIcons[r]->ClearPicture();
        else
            m_rowIcons[r]->SetPicture(picture);
    }
}

void TFormNewProject3::SetButtonsEnabledLook(bool enabled)
{
    for (TImage* button : {imgBtnNew, imgBtnNewSub, imgBtnEditName, imgBtnRemove})
        button->setCursor(enabled ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

evCategory* TFormNewProject3::SelectedEntry() const
{
    if (m_selected < 0 || m_selected >= static_cast<int32_t>(m_rows.size()))
        return nullptr;
    return m_rows[static_cast<size_t>(m_selected)];
}

void TFormNewProject3::SelectRow(int32_t row)
{
    if (row < 0 || row >= static_cast<int32_t>(m_rows.size()))
        return;
    m_selected = row;
    ColourRows();
    imgBtnDisabled->hide();
    SetButtonsEnabledLook(true);
}

// ------------------------------------------------------------------------------------------------ switching

void TFormNewProject3::IconClick(int32_t row)
{
    if (row < 0 || row >= static_cast<int32_t>(m_rows.size()))
        return;
    evCategory& entry = *m_rows[static_cast<size_t>(row)];
    if (!entry.GetOptional())
        return;
    SwitchEntry(entry);
    RedrawIcons();
}

// On: the entry and every ancestor up to the top level. Off: the entry and its whole subtree.
void TFormNewProject3::SwitchEntry(evCategory& entry)
{
    if (!entry.GetSelected()) {
        for (evCategory* e = &entry; e; e = e->GetEffectiveParent())
            e->SetSelected(true);
        return;
    }
    entry.SetSelected(false);
    std::vector<evCategory*> pending;
    if (entry.GetSub())
        pending.push_back(entry.GetSub());
    while (!pending.empty()) {
        evCategory* e = pending.back();
        pending.pop_back();
        e->SetSelected(false);
        if (e->GetNext())
            pending.push_back(e->GetNext());
        if (e->GetSub())
            pending.push_back(e->GetSub());
    }
}

// ------------------------------------------------------------------------------------------------ scrolling

// A press moves one row at once; held down, the list goes on moving after a short pause.
void TFormNewProject3::imgBtnListUpMouseDown()
{
    m_scrollingUp = true;
    ScrollBy(-1);
    ScrollTimer.start(kScrollDelay);
}

void TFormNewProject3::imgBtnListDownMouseDown()
{
    m_scrollingDown = true;
    ScrollBy(1);
    ScrollTimer.start(kScrollDelay);
}

void TFormNewProject3::imgBtnListMouseUp()
{
    ScrollTimer.stop();
    m_scrollingUp = m_scrollingDown = false;
}

void TFormNewProject3::ScrollTimerTick()
{
    ScrollTimer.setInterval(kScrollInterval);
    ScrollBy((m_scrollingDown ? 1 : 0) - (m_scrollingUp ? 1 : 0));
}

void TFormNewProject3::ScrollBy(int32_t rows)
{
    const int32_t last = std::max(0, static_cast<int32_t>(m_rows.size()) - G::VisibleRows);
    m_firstVisible = std::clamp(m_firstVisible + rows, 0, last);
    PlaceRows();
}

void TFormNewProject3::ScrollIntoView(const evCategory* entry)
{
    const auto found = std::find(m_rows.begin(), m_rows.end(), entry);
    if (found == m_rows.end())
        return;
    const int32_t row = static_cast<int32_t>(found - m_rows.begin());
    if (row < m_firstVisible)
        ScrollBy(row - m_firstVisible);
    else if (row >= m_firstVisible + G::VisibleRows)
        ScrollBy(row - (m_firstVisible + G::VisibleRows - 1));
}

// --------------------------------------------------------------------------------------------- edit buttons

void TFormNewProject3::ShowMessage(int32_t helpText)
{
    if (Screens().okPopup)
        Screens().okPopup->Run(HelpText(helpText));
}

bool TFormNewProject3::AskEntryText(int32_t captionText, const QString& initialText, QString& text)
{
    TFormAddEntry* popup = Screens().formAddEntry.get();
    if (!popup || !popup->Run(HelpText(captionText), initialText))
        return false;
    text = popup->GetText();
    return true;
}

void TFormNewProject3::imgBtnNewClick()
{
    evCategory* entry = SelectedEntry();
    if (!entry || !entry->GetOptional())
        return;
    std::unique_ptr<evCategory> added = AskNewChapter(entry, Help::PromptNewChapter, Help::NewChapterTitle);
    if (!added)
        return;
    const evCategory* shown = added.get();
    entry->InsertAfter(std::move(added));
    RebuildRows();
    ScrollIntoView(shown);
}

void TFormNewProject3::imgBtnNewSubClick()
{
    evCategory* entry = SelectedEntry();
    if (!entry || !(entry->GetOptional() || entry->GetKind() == 1))
        return;
    std::unique_ptr<evCategory> added =
        AskNewChapter(entry->GetSub(), Help::PromptNewSubChapter, Help::NewSubChapterTitle);
    if (!added)
        return;
    const evCategory* shown = added.get();
    entry->AddChild(std::move(added));
    RebuildRows();
    ScrollIntoView(shown);
}

// A new chapter beside the siblings of the entry (none when the level is full, the user cancels or leaves the
// name blank; each with its message).
std::unique_ptr<evCategory> TFormNewProject3::AskNewChapter(const evCategory* sibling, int32_t prompt,
                                                            int32_t suggestedTitle)
{
    if (PageOrder::SiblingCount(sibling) >= kMaxLevelEntries) {
        ShowMessage(Help::LevelFull);
        return nullptr;
    }
    QString text;
    if (!AskEntryText(prompt, HelpText(suggestedTitle), text))
        return nullptr;
    if (IsBlankName(FromDisplay(text))) {
        ShowMessage(Help::NameEmpty);
        return nullptr;
    }
    return std::make_unique<evCategory>(FromDisplay(text), "", true, 3);
}

void TFormNewProject3::imgBtnEditNameClick()
{
    evCategory* entry = SelectedEntry();
    if (!entry)
        return;
    QString text;
    if (!AskEntryText(Help::PromptRenameChapter, ToDisplay(entry->GetTitle()), text))
        return;
    if (IsBlankName(FromDisplay(text))) {
        ShowMessage(Help::NameEmpty);
        return;
    }
    entry->SetTitle(FromDisplay(text));
    m_rowLabels[static_cast<size_t>(m_selected)]->SetCaption(DoubleAmpersands(text));
}

void TFormNewProject3::imgBtnRemoveClick()
{
    evCategory* entry = SelectedEntry();
    if (!entry)
        return;
    if (!entry->GetOptional()) {
        ShowMessage(Help::FixedChapter);
        return;
    }
    TyesNoPopup* question = Screens().yesNoPopup.get();
    if (!question || !question->Run(HelpText(m_editMode ? Help::ConfirmRemoveChapterEdit : Help::ConfirmRemoveChapter)))
        return;
    RemoveEntry(*entry);
    RebuildRows();
}

void TFormNewProject3::RemoveEntry(evCategory& entry)
{
    if (&entry == m_tree.get())
        m_tree = evCategory::DestroyFirst(std::move(m_tree));
    else
        evCategory::Destroy(&entry);
}

// --------------------------------------------------------------------------------------------------- closing

// In the wizard the names were typed on the first page, so Escape always asks; the chapter editor asks when the
// chapters were changed.
void TFormNewProject3::EscapePressed()
{
    const bool changed = !m_editMode || !m_tree || !m_original || !m_tree->IsEqual(m_original);
    if (!changed || ConfirmLeaving(m_editMode ? Help::DropChangesQuestion : Help::LeaveWizardQuestion))
        imgBtnCancelClick();
}

void TFormNewProject3::imgBtnCancelClick()
{
    StopSpeech();
    Close();
}

void TFormNewProject3::imgBtnOkClick()
{
    if (m_editMode) {
        m_accepted = true;
        Close();
        return;
    }
    StopSpeech();
    m_newProject = std::make_unique<evProject>(m_firstName, m_secondName, m_date, m_designFileName, std::move(m_tree));
    const std::string fileName = ChooseProjectFileName();
    m_accepted = !fileName.empty() && SaveNewProject(fileName) && PrepareNewProject();
    repaint();
    Close();
}

// The name built from the two names; when that file exists, the name the user chooses instead (empty when the
// save dialog is cancelled).
std::string TFormNewProject3::ChooseProjectFileName()
{
    const std::string projectsFolder = AppContext() ? AppContext()->GetProjectsFolder() : std::string();
    const std::string fileName = NewProjectFileName(projectsFolder, m_firstName, m_secondName);
    std::error_code error;
    if (!std::filesystem::exists(fileName, error))
        return fileName;
    // The file name comes from the two names, so the message names the album by them.
    const QString title = DoubleAmpersands(ToDisplay(m_newProject->GetTitle()));
    if (Screens().okPopup)
        Screens().okPopup->Run(HelpText(Help::ProjectExistsStart) + " " + title + " " +
                               HelpText(Help::ProjectExistsEnd));
    const FileDialogRequest request{HelpText(Help::SaveDialogTitle), "Vellora Project|*.evp", projectsFolder, ".evp"};
    std::optional<std::string> chosen = Dialogs().SaveFile(request);
    if (!chosen || chosen->empty()) {
        ShowMessage(Help::NoFileChosen);
        return {};
    }
    return HasProjectExtension(*chosen) ? *chosen : *chosen + ".evp";
}

bool TFormNewProject3::SaveNewProject(const std::string& fileName)
{
    try {
        if (!AppContext())
            throw EFCreateError("No projects folder to write \"" + fileName + "\" to");
        WriteProjectFile(*m_newProject, fileName);
        AppContext()->SetProjectFileName(fileName);
        return true;
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("New project not written: ") + e.what());
        ShowMessage(Help::ProjectNotWritten);
        return false;
    }
}

// The design under the wait pop-up, the special page layouts, then the page layout previews. The project file
// stays on disk when this fails.
bool TFormNewProject3::PrepareNewProject()
{
    evProject& project = *m_newProject;
    const std::string designsFolder = AppContext()->GetDesignFolderFor(project.GetDesignFileName());
    try {
        RunWaitStep(Help::WaitLoadingDesign, [&](ProgressBar* progress) {
            project.SetDesign(ReadDesignFile(designsFolder, project.GetDesignFileName(), progress));
        });
        BindSpecialPageLayouts(project, ProjectBinding::Creating);
        RunWaitStep(Help::WaitPreparingLayouts,
                    [&](ProgressBar* progress) { RenderPageLayoutPreviews(*project.GetDesign(), progress); });
        return true;
    } catch (const std::exception& e) {
        if (Screens().waitPopup)
            Screens().waitPopup->hide();
        ktLogs::LogLine(std::string("New project not prepared: ") + e.what());
        ShowMessage(Help::DesignMissing);
        return false;
    }
}

void TFormNewProject3::ImgBGMouseMove(int, int) { ShowHelpHint(labelHelp, m_hint, Help::ChapterInstruction); }

bool TFormNewProject3::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel over the list (its rows pass it on to the panel) moves the rows.
    if (watched == Panel() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (G::ListArea.Contains(PixelAt(wheel->position()).x(), PixelAt(wheel->position()).y())) {
            m_wheel += wheel->angleDelta().y();
            const int32_t notches = m_wheel / kWheelNotch;
            m_wheel -= notches * kWheelNotch;
            ScrollBy(-notches * kWheelRows);
            return true;
        }
    }
    const auto label = std::find(m_rowLabels.begin(), m_rowLabels.end(), watched);
    if (label == m_rowLabels.end())
        return SkinnedScreen::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        SelectRow(static_cast<int32_t>(label - m_rowLabels.begin()));
        return true;
    }
    return false;
}
