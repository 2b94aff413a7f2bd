#include "screens/TFormMusic.h"

#include "audio/evMusic.h"
#include "model/ProjectModification.h"
#include "model/evBranding.h"
#include "model/evObjectCollection.h"
#include "model/evProject.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/Log.h"
#include "platform/PanelScale.h"
#include "platform/Text.h"
#include "screens/ApplicationContext.h"
#include "screens/DataIndexes.h"
#include "screens/FileDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TokPopup.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPalette>

#include <algorithm>
#include <filesystem>

namespace G = Geometry::Music;

namespace {

constexpr int kMusicFileWidth = 165;
// After a press on an arrow, this many titles are shown from the first visible one on.
constexpr int32_t kScrolledRows = 14;
constexpr TColor kHighlightColour = RGBColor(0x80, 0x80, 0x80);
const char* const kFileTooLarge =
    "This music file is larger than 200 MB and cannot be used. Please choose a smaller file.";
const char* const kFileUnreadable = "This music file could not be read. Please choose another file.";

LabelStyle TitleStyle()
{
    LabelStyle style;
    style.family = "MS Sans Serif";
    style.pixelSize = PointsToPixels(10);
    style.bold = true;
    style.colour = kColorBlack;
    return style;
}

// The chosen title is white on its own grey background; the others are black on the skin.
void SetHighlighted(TLabel* label, bool highlighted)
{
    label->SetFontColour(highlighted ? kColorWhite : kColorBlack);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, ToQColor(kHighlightColour));
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground, !highlighted);
    label->setAttribute(Qt::WA_NoSystemBackground, !highlighted);
    label->setAutoFillBackground(highlighted);
}

std::string FileNameWithoutFolder(const std::string& file) { return std::filesystem::path(file).filename().string(); }

} // namespace

TFormMusic::TFormMusic() : SkinnedScreen(Kind::FullScreen)
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    AddSkin(ImgBG, Skin::Backdrop);
    imgCnt = AddImage(G::imgCnt, TImage::Role::Background);
    AddSkin(imgCnt, Skin::MusicList);
    imgBtn = AddImage(G::imgBtn, TImage::Role::Background);
    AddSkin(imgBtn, Skin::MusicButtons);
    imgHelp = AddImage(G::imgHelp, TImage::Role::Background);
    AddSkin(imgHelp, Skin::MusicHelpBox);
    labelHelp = AddLabel(G::labelHelp, HintLabelStyle());
    WatchHints(labelHelp, &m_rememberedHint);
    imgLogo = AddImage(G::imgLogo);
    lblMusicFile = AddLabel(G::lblMusicFile, TitleStyle());
    imgStop = AddSkinImage(G::imgStop, Skin::MusicStop);
    imgStop->hide();
    imgBtnPlayStop = AddImage(G::imgBtnPlayStop, TImage::Role::Button);
    imgSelectMusic = AddImage(G::imgSelectMusic, TImage::Role::Button);
    imgBtnNoMusic = AddImage(G::imgBtnNoMusic, TImage::Role::Button);
    imgBtnCancel = AddImage(G::imgBtnCancel, TImage::Role::Button);
    imgBtnAccept = AddImage(G::imgBtnAccept, TImage::Role::Button);
    ImgUp = AddImage(G::ImgUp, TImage::Role::Button);
    ImgDown = AddImage(G::ImgDown, TImage::Role::Button);
    ConnectButtons();
    ConnectHints();
}

TFormMusic::~TFormMusic() { FreeListLabels(); }

void TFormMusic::ConnectButtons()
{
    connect(imgBtnPlayStop, &TImage::clicked, this, [this] { imgBtnPlayStopClick(); });
    connect(imgSelectMusic, &TImage::clicked, this, [this] { imgSelectMusicClick(); });
    connect(imgBtnNoMusic, &TImage::clicked, this, [this] { imgBtnNoMusicClick(); });
    connect(imgBtnCancel, &TImage::clicked, this, [this] { imgBtnCancelClick(); });
    connect(imgBtnAccept, &TImage::clicked, this, [this] { imgBtnAcceptClick(); });
    connect(ImgUp, &TImage::mouseDown, this, [this](int, int) { ImgUpMouseDown(); });
    connect(ImgDown, &TImage::mouseDown, this, [this](int, int) { ImgDownMouseDown(); });
}

void TFormMusic::ConnectHints()
{
    const std::pair<TImage*, int32_t> fixed[] = {
        {ImgBG, Help::MusicInstruction},      {imgBtn, Help::MusicInstruction},   {imgHelp, Help::MusicInstruction},
        {imgCnt, Help::HintTrackList},        {ImgUp, Help::HintTrackList},       {ImgDown, Help::HintTrackList},
        {imgSelectMusic, Help::HintOwnMusic}, {imgBtnNoMusic, Help::HintNoMusic}, {imgBtnAccept, Help::HintAcceptMusic},
        {imgBtnCancel, Help::HintCancelMusic}};
    for (const auto& [image, hint] : fixed)
        connect(image, &TImage::mouseMoved, this, [this, hint = hint](int, int) { ShowHint(hint); });
    connect(imgBtnPlayStop, &TImage::mouseMoved, this, [this](int, int) { ShowHint(PlayStopHint()); });
}

void TFormMusic::ShowHint(int32_t index) { ShowHelpHint(labelHelp, m_rememberedHint, index); }

int32_t TFormMusic::PlayStopHint() const
{
    const evMusic* track = CurrentTrack();
    if (!track)
        return Help::MusicInstruction;
    return track->Status() == evMusic::StatusPlaying ? Help::HintStopMusic : Help::HintPlayMusic;
}

void TFormMusic::Run()
{
    if (!Project()) {
        ShowMessage(QStringLiteral("No album is open, so there is no music to choose for it."));
        return;
    }
    Prepare();
    PlaySpeech(7);
    ShowModal();
    Finish();
}

void TFormMusic::Prepare()
{
    BeginRun();
    m_rememberedHint = -1;
    m_selected = -1;
    m_changed = false;
    m_fileTrack.reset();
    lblMusicFile->SetCaption(QString());
    imgStop->hide();
    BuildListLabels();
    evProject* project = Project();
    const auto* music = project ? dynamic_cast<const evMusic*>(project->GetMusic()) : nullptr;
    if (!music)
        return;
    const evObjectCollection* list = MusicList();
    for (int32_t i = 0; list && i < list->Count(); ++i) {
        const evObject* track = list->GetItem(i);
        if (track && track->IsEqual(music)) {
            // Shown as chosen but silent: opening the screen is no choice of the user's.
            SelectListTrack(i);
            return;
        }
    }
    ShowMusicFile(ToDisplay(music->GetTitle()));
}

void TFormMusic::Finish()
{
    StopSpeech();
    StopCurrentTrack();
    m_fileTrack.reset();
    FreeListLabels();
    EndRun();
}

evObjectCollection* TFormMusic::MusicList() const
{
    evBranding* branding = SkinBranding();
    return branding ? &branding->GetMusic() : nullptr;
}

evProject* TFormMusic::Project() const
{
    const ApplicationContext* context = AppContext();
    return context ? context->GetCurrentProject() : nullptr;
}

evMusic* TFormMusic::CurrentTrack() const
{
    if (m_selected == -1) {
        if (m_fileTrack)
            return m_fileTrack.get();
        if (lblMusicFile->Caption().isEmpty())
            return nullptr;
        const evProject* project = Project();
        return project ? dynamic_cast<evMusic*>(project->GetMusic()) : nullptr;
    }
    const evObjectCollection* list = MusicList();
    if (!list || m_selected < 0 || m_selected >= list->Count())
        return nullptr;
    return list->GetItemAs<evMusic>(m_selected);
}

// ------------------------------------------------------------------------------------------------ the list

void TFormMusic::BuildListLabels()
{
    FreeListLabels();
    m_firstVisible = 0;
    const evObjectCollection* list = MusicList();
    const int32_t count = list ? list->Count() : 0;
    m_listLabels.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        TLabel* label = AddLabel(G::TrackLabel(i), TitleStyle());
        SetHighlighted(label, false);
        const auto* track = list->GetItemAs<evMusic>(i);
        label->SetCaption(track ? DoubleAmpersands(ToDisplay(track->GetTitle())) : QString());
        // Keeps the title off the edge of its grey background when it is chosen.
        label->setContentsMargins(3, 0, 0, 0);
        label->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        label->setMouseTracking(true);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        label->setVisible(i < G::ListMaxRows);
        m_listLabels.push_back(label);
    }
}

void TFormMusic::FreeListLabels()
{
    for (TLabel* label : m_listLabels)
        delete label;
    m_listLabels.clear();
}

bool TFormMusic::eventFilter(QObject* watched, QEvent* event)
{
    const auto found = std::find(m_listLabels.begin(), m_listLabels.end(), watched);
    if (found == m_listLabels.end())
        return SkinnedScreen::eventFilter(watched, event);
    const auto index = static_cast<int32_t>(found - m_listLabels.begin());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (*found)->rect().contains(PixelAt(mouse->position())))
            LabelClick(index);
        return true;
    }
    case QEvent::MouseMove: ShowHint(Help::HintTrackList); return true;
    default: return false;
    }
}

void TFormMusic::ScrollList(int32_t step)
{
    m_firstVisible += step;
    for (size_t i = 0; i < m_listLabels.size(); ++i) {
        const auto index = static_cast<int32_t>(i);
        const Geometry::ControlRect rect = G::TrackLabel(index - m_firstVisible);
        m_listLabels[i]->move(rect.x, rect.y);
        m_listLabels[i]->setVisible(index >= m_firstVisible && index < m_firstVisible + kScrolledRows);
    }
}

void TFormMusic::ImgUpMouseDown()
{
    if (m_firstVisible > 0)
        ScrollList(-1);
}

void TFormMusic::ImgDownMouseDown()
{
    if (static_cast<int32_t>(m_listLabels.size()) - m_firstVisible > kScrolledRows)
        ScrollList(1);
}

// Highlights the title and makes it the chosen track, without playing it.
void TFormMusic::SelectListTrack(int32_t index)
{
    for (size_t i = 0; i < m_listLabels.size(); ++i)
        SetHighlighted(m_listLabels[i], static_cast<int32_t>(i) == index);
    m_selected = index;
    const evMusic* track = CurrentTrack();
    ShowMusicFile(track ? ToDisplay(track->GetTitle()) : QString());
}

void TFormMusic::LabelClick(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(m_listLabels.size()))
        return;
    StopCurrentTrack();
    m_changed = true;
    ForgetFileTrack();
    SelectListTrack(index);
    StartCurrentTrack();
}

// ------------------------------------------------------------------------------------------------ playing

void TFormMusic::StopCurrentTrack()
{
    if (evMusic* track = CurrentTrack())
        track->Stop();
    imgStop->hide();
}

void TFormMusic::StartCurrentTrack()
{
    evMusic* track = CurrentTrack();
    if (!track)
        return;
    if (track->Play()) {
        imgStop->show();
        return;
    }
    ForgetFileTrack();
    imgStop->hide();
    ShowMessage(HelpText(Help::MusicPlayFailed));
}

void TFormMusic::ForgetFileTrack()
{
    m_fileTrack.reset();
    lblMusicFile->SetCaption(QString());
}

void TFormMusic::imgBtnPlayStopClick()
{
    StopSpeech();
    evMusic* track = CurrentTrack();
    if (!track)
        return;
    if (track->Status() == evMusic::StatusPlaying)
        StopCurrentTrack();
    else
        StartCurrentTrack();
}

// ------------------------------------------------------------------------------------------------ choices

void TFormMusic::imgSelectMusicClick()
{
    FileDialogRequest request;
    request.title = HelpText(Help::Mp3DialogTitle);
    request.filter = QStringLiteral("MP3 files|*.mp3");
    request.initialFolder = RememberedFolder(DialogPurpose::Music);
    const std::optional<std::string> file = Dialogs().OpenFile(request);
    if (!file)
        return;
    RememberFolderOf(DialogPurpose::Music, *file);
    const std::filesystem::path path(*file);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        ShowMessage(HelpText(Help::MusicFileMissing));
        return;
    }
    // A folder or a device opens like a file but holds no music.
    if (!std::filesystem::is_regular_file(path, error)) {
        ShowMessage(QString::fromUtf8(kFileUnreadable));
        return;
    }
    ChooseOwnFile(*file);
}

// The track is made before anything else changes, so a file that cannot be used leaves the choice as it was.
void TFormMusic::ChooseOwnFile(const std::string& file)
{
    const std::string name = FileNameWithoutFolder(file);
    std::unique_ptr<evMusic> track;
    try {
        track = std::make_unique<evMusic>(name, 0, file);
    } catch (const EAudioTooLarge& e) {
        ktLogs::LogLine(e.what());
        ShowMessage(QString::fromUtf8(kFileTooLarge));
        return;
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(e.what());
        ShowMessage(QString::fromUtf8(kFileUnreadable));
        return;
    }
    StopCurrentTrack();
    m_changed = true;
    m_selected = -1;
    BuildListLabels();
    m_fileTrack = std::move(track);
    ShowMusicFile(ToDisplay(name));
    StartCurrentTrack();
}

void TFormMusic::imgBtnNoMusicClick()
{
    StopSpeech();
    StopCurrentTrack();
    m_changed = true;
    m_selected = -1;
    BuildListLabels();
    ForgetFileTrack();
    imgStop->hide();
}

void TFormMusic::imgBtnAcceptClick()
{
    StopSpeech();
    StopCurrentTrack();
    evProject* project = Project();
    // Without a new choice the project keeps its music as it is, its own track included.
    if (!m_changed || !project) {
        Close();
        return;
    }
    std::unique_ptr<evObject> music;
    try {
        if (m_selected != -1) {
            if (const evMusic* track = CurrentTrack())
                music = track->Clone();
        } else {
            music = std::move(m_fileTrack);
        }
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(e.what());
        ShowMessage(QStringLiteral("The chosen music could not be taken into the album."));
        return;
    }
    MarkModified();
    project->SetMusic(std::move(music));
    Close();
}

void TFormMusic::imgBtnCancelClick()
{
    StopSpeech();
    m_changed = false;
    StopCurrentTrack();
    ForgetFileTrack();
    Close();
}

// ------------------------------------------------------------------------------------------------ helpers

void TFormMusic::ShowMusicFile(const QString& name)
{
    lblMusicFile->SetCaption(DoubleAmpersands(ShortenToWidth(name, kMusicFileWidth)));
}

// The "..." counts towards the width, so the shortened name never runs out of its field.
QString TFormMusic::ShortenToWidth(const QString& text, int width) const
{
    const QFontMetrics metrics(lblMusicFile->font());
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString ellipsis = QStringLiteral("...");
    QString shortened = text;
    while (!shortened.isEmpty() && metrics.horizontalAdvance(shortened + ellipsis) > width)
        shortened.chop(1);
    return shortened + ellipsis;
}

void TFormMusic::ShowMessage(const QString& text)
{
    if (TokPopup* popup = Screens().okPopup.get())
        popup->Run(text);
}
