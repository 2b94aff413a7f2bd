#include "app/TFormMainMenu.h"

#include "audio/BassLibrary.h"
#include "audio/evMusic.h"
#include "model/ProjectFile.h"
#include "model/RecoveryCopy.h"
#include "model/evBranding.h"
#include "model/evLayout.h"
#include "model/evLayoutPreview.h"
#include "model/evObjectCollection.h"
#include "model/evProject.h"
#include "platform/AtomicFile.h"
#include "platform/Dates.h"
#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Log.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"
#include "platform/Text.h"
#include "screens/Autosave.h"
#include "screens/DataIndexes.h"
#include "screens/FileDialogs.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TFormExit.h"
#include "screens/TFormImprint.h"
#include "screens/TFormNewProject1.h"
#include "screens/TFormProjectMenu.h"
#include "screens/TokPopup.h"
#include "screens/TwaitPopup.h"
#include "screens/TyesNoPopup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <new>
#include <vector>

namespace G = Geometry::MainMenu;

namespace {

constexpr const char* kLogFile = "c:\\kt1.log";
constexpr const char* kDesignExtension = ".evl";
// Help texts of the four buttons: New project, Open project, Exit, Imprint.
constexpr std::array<int32_t, 4> kButtonHints = {Help::HintMainNew, Help::HintMainOpen, Help::HintMainExit,
                                                 Help::HintMainImprint};
// A temporary of ours that nobody wrote to for this long was left by a writer that was killed.
constexpr std::chrono::hours kStaleTemporaryAge{1};
// The project menu closed on an error of its own (TFormProjectMenu::ResultFailed): nobody asked about saving.
constexpr int32_t kProjectMenuFailed = Help::UnexpectedError;

void LogMemory()
{
    const struct mallinfo2 info = mallinfo2();
    ktLogs::LogLine("Memory in use: " + std::to_string(info.uordblks));
}

bool HasDesignExtension(const std::string& name)
{
    const std::string extension = kDesignExtension;
    if (name.size() <= extension.size())
        return false;
    std::string tail = name.substr(name.size() - extension.size());
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == extension;
}

// When a recovery copy was written: the short date (four-digit year) and the time of day.
QString WrittenAtText(std::time_t written)
{
    const QDateTime when = QDateTime::fromSecsSinceEpoch(written);
    const double days = static_cast<double>(QDate(1899, 12, 30).daysTo(when.date()));
    return QString::fromStdString(ShortDateText(days)) + " " +
           QLocale::system().toString(when.time(), QLocale::ShortFormat);
}

} // namespace

TFormMainMenu::TFormMainMenu(const StartupEnvironment& environment) : SkinnedScreen(Kind::FullScreen)
{
    setModal(false);
    setWindowTitle("Vellora");
    SetCountsInFront(false);
    CreateControls();
    m_wizard = [] {
        TFormNewProject1* wizard = Screens().formNewProject1.get();
        return wizard ? wizard->Run() : nullptr;
    };
    m_projectMenu = [] {
        TFormProjectMenu* menu = Screens().formProjectMenu.get();
        return menu ? menu->Run() : 0;
    };
    m_quit = [] { QCoreApplication::exit(0); };
    // Greyed exactly while another screen of the program is in front.
    SetFrontObserver([this] {
        if (ScreensInFront() > 0)
            FormDeactivate();
        else
            FormActivate();
    });
    RunStartup(environment);
}

TFormMainMenu::~TFormMainMenu()
{
    SetFrontObserver({});
    FreeCurrentProject();
    m_designs.reset();
    SetSkinBranding(nullptr);
    m_mainBranding.reset();
    if (m_startupState == -1 && soundAvailable)
        StopAudio();
    ReleaseSkinImage();
    LogMemory();
    ktLogs::CloseLog();
}

void TFormMainMenu::CreateControls()
{
    ImgBG = AddImage(G::ImgBG, TImage::Role::Background);
    Img1 = AddImage(G::Img1, TImage::Role::Hover);
    Img2 = AddImage(G::Img2, TImage::Role::Hover);
    Img3 = AddImage(G::Img3, TImage::Role::Hover);
    Img4 = AddImage(G::Img4, TImage::Role::Hover);
    Img1disabled = AddImage(G::Img1disabled);
    Img2disabled = AddImage(G::Img2disabled);
    Img3disabled = AddImage(G::Img3disabled);
    Img4disabled = AddImage(G::Img4disabled);
    for (TImage* greyed : {Img1disabled, Img2disabled, Img3disabled, Img4disabled})
        greyed->hide();
    LabelStyle hint;
    hint.family = "Arial";
    hint.pixelSize = 13;
    hint.alignment = Qt::AlignCenter;
    hint.wordWrap = true;
    LabelHint = AddLabel(G::LabelHint, hint);
    WatchHints(LabelHint, nullptr);
    m_menuPictures = {{{ImgBG, Skin::MainMenuBackground},
                       {Img1, Skin::MainNewProjectActive},
                       {Img1disabled, Skin::MainNewProjectGreyed},
                       {Img2, Skin::MainOpenProjectActive},
                       {Img2disabled, Skin::MainOpenProjectGreyed},
                       {Img3, Skin::MainExitActive},
                       {Img3disabled, Skin::MainExitGreyed},
                       {Img4, Skin::MainImprintActive},
                       {Img4disabled, Skin::MainImprintGreyed}}};
    for (TImage* image : {ImgBG, Img1, Img2, Img3, Img4})
        connect(image, &TImage::mouseMoved, this, [this, image](int x, int y) { ImgBGMouseMove(image, x, y); });
    connect(Img1, &TImage::clicked, this, [this] { Img1Click(); });
    connect(Img2, &TImage::clicked, this, [this] { Img2Click(); });
    connect(Img3, &TImage::clicked, this, [this] { Img3Click(); });
    connect(Img4, &TImage::clicked, this, [this] { Img4Click(); });
}

// ------------------------------------------------------------------------------------------------ start-up

void TFormMainMenu::RunStartup(const StartupEnvironment& environment)
{
    ktLogs::OpenLog(kLogFile, true);
    ktLogs::LogLine("Program started.");
    LogMemory();
    m_startupState = -1;
    m_startupWarning = -1;
    m_showStatus = environment.showStatus;
    InitSkinService();
    SetAppContext(this);
    SetFolders(environment.folders);
    for (const FolderFallback& fallback : environment.folders.fallbacks)
        std::fprintf(stderr, "vellora: %s\n", fallback.Describe().c_str());
    EnsureFolders();
    if (m_startupState == -1)
        RemoveOldTemporariesIn(m_projectsFolder, kStaleTemporaryAge);
    if (m_startupState == -1)
        ReadMainData();
    if (m_startupState == -1)
        CheckScreenSize(environment.screenSize);
    if (m_startupState == -1)
        ListDesigns();
    if (m_startupState == -1)
        CheckSystemAudio(environment);
    if (m_startupState == -1 && soundAvailable)
        StartAudioLibrary(environment);
    if (m_startupState == -1 && soundAvailable)
        ReadSoundLists();
}

void TFormMainMenu::ShowStatus(const QString& text) const
{
    if (m_showStatus)
        m_showStatus(text);
}

void TFormMainMenu::EnsureFolders()
{
    try {
        for (const std::string& folder : m_folders.NecessaryFolders()) {
            if (!EnsureFolder(folder)) {
                m_startupState = -2;
                return;
            }
        }
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Folders not created: ") + e.what());
        m_startupState = -2;
    }
}

// "main.evb" is one evBranding body from its first byte.
void TFormMainMenu::ReadMainData()
{
    ShowStatus("Initializing program...");
    try {
        {
            FileStream file(m_mainFile, FileStream::Mode::OpenRead);
            m_mainBranding = ReadBody<evBranding>(file, nullptr);
        }
        SetSkinBranding(m_mainBranding.get());
        LoadMainMenuPictures();
        m_openDialogTitle = HelpText(Help::OpenDialogTitle);
        for (const FolderFallback& fallback : m_folders.fallbacks)
            m_startupNotes << HelpText(Help::FolderNotUsable)
                                  .arg(DoubleAmpersands(ToDisplay(fallback.refused)),
                                       DoubleAmpersands(ToDisplay(fallback.used)));
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Main data not read: ") + e.what());
        m_startupState = -3;
    }
}

void TFormMainMenu::CheckScreenSize(QSize screen)
{
    if (screen.isEmpty()) {
        const QScreen* primary = QGuiApplication::primaryScreen();
        screen = primary ? primary->size() : QSize();
    }
    if (screen.width() < Geometry::PanelWidth || screen.height() < Geometry::PanelHeight)
        m_startupState = Help::ScreenTooSmall;
}

// The designs that came with the program and the user's own; a design of the user's with the name of one that
// came with the program takes its place, as a project finds its design by the file name alone.
void TFormMainMenu::ListDesigns()
{
    std::map<std::string, std::string> files;
    for (const std::string& folder : m_folders.DesignFolders()) {
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (HasDesignExtension(name))
                files.emplace(name, it->path().string());
        }
    }
    // In the order of their names, so that the designs are offered in the same order on every machine.
    for (const auto& [name, path] : files) {
        ShowStatus(HelpText(Help::SplashReadingDesign) + DoubleAmpersands(ToDisplay(name)));
        ReadDesignPreview(path, name);
    }
    if (m_designs->Count() == 0)
        m_startupState = Help::NoDesign;
}

// A design file that cannot be read is left out, with a note for the first show.
void TFormMainMenu::ReadDesignPreview(const std::string& path, const std::string& fileName)
{
    try {
        FileStream file(path, FileStream::Mode::OpenRead);
        auto preview = std::make_unique<evLayoutPreview>(file, fileName);
        m_designs->Add(std::move(preview));
    } catch (const std::exception& e) {
        ktLogs::LogLine("Design \"" + fileName + "\" skipped: " + e.what());
        std::fprintf(stderr, "vellora: the design \"%s\" is left out: %s\n", path.c_str(), e.what());
        m_startupNotes << HelpText(Help::DesignLeftOut).arg(DoubleAmpersands(ToDisplay(path)));
    }
}

std::optional<int> TFormMainMenu::AudioVersionNumber(const std::string& version)
{
    const size_t first = version.find('.');
    std::string part;
    if (first != std::string::npos) {
        const size_t second = version.find('.', first + 1);
        part = version.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    }
    const std::string number = "0" + part;
    int value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size())
        return std::nullopt;
    return value;
}

void TFormMainMenu::CheckSystemAudio(const StartupEnvironment& environment)
{
    ShowStatus(HelpText(Help::SplashSoundCheck));
    std::optional<int> number;
    try {
        number = AudioVersionNumber(environment.systemAudioVersion ? environment.systemAudioVersion() : "");
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Sound system not checked: ") + e.what());
    }
    if (!number || *number < 3) {
        m_startupWarning = Help::AudioTooOld;
        soundAvailable = false;
    }
}

void TFormMainMenu::StartAudioLibrary(const StartupEnvironment& environment)
{
    ShowStatus(HelpText(Help::SplashSoundOutput));
    bool started = false;
    try {
        const int volume = environment.systemVolume ? environment.systemVolume() : 100;
        started = environment.startAudioLibrary && environment.startAudioLibrary(this, volume);
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Audio library not started: ") + e.what());
    }
    m_audioLibraryFile = BassLibrary::Instance().GetLibraryFile();
    if (!started) {
        m_startupWarning = Help::AudioUnusable;
        soundAvailable = false;
    }
}

// Either list stays as "main.evb" gave it when its file cannot be read.
void TFormMainMenu::ReadSoundLists()
{
    ShowStatus(HelpText(Help::SplashMusicList));
    try {
        m_mainBranding->SetMusic(evObjectCollection::CreateFromFile(m_musicFile));
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Music list not read: ") + e.what());
    }
    ShowStatus(HelpText(Help::SplashSpokenTips));
    try {
        std::unique_ptr<evObjectCollection> speech = evObjectCollection::CreateFromFile(m_speakerFile);
        for (int32_t i = 0; i < speech->Count(); ++i) {
            if (auto* clip = speech->GetItemAs<evMusic>(i))
                clip->SetPlayMode(0);
        }
        m_mainBranding->SetSpeech(std::move(speech));
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Speech list not read: ") + e.what());
    }
}

// ------------------------------------------------------------------------------------------------ the menu

void TFormMainMenu::LoadMainMenuPictures()
{
    for (const MenuPicture& picture : m_menuPictures)
        picture.image->SetPicture(SkinPicture(picture.index));
    ReleaseSkinImage();
}

void TFormMainMenu::ClearMainMenuPictures()
{
    for (const MenuPicture& picture : m_menuPictures)
        picture.image->ClearPicture();
}

void TFormMainMenu::ImgBGMouseMove(const QObject* sender, int x, int y)
{
    LabelHint->SetCaption(QString());
    const std::array<TImage*, 4> buttons = {Img1, Img2, Img3, Img4};
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (HoverShow(x, y, buttons[i], sender))
            LabelHint->SetCaption(HelpText(kButtonHints[i]));
    }
}

void TFormMainMenu::SetGreyed(bool greyed)
{
    m_greyed = greyed;
    for (TImage* image : {Img1disabled, Img2disabled, Img3disabled, Img4disabled})
        image->setVisible(greyed);
    repaint();
}

void TFormMainMenu::FormActivate() { SetGreyed(false); }

// A screen comes in front: the tile that opened it is no longer under the pointer.
void TFormMainMenu::FormDeactivate()
{
    ClearPointerLooks();
    SetGreyed(true);
}

void TFormMainMenu::showEvent(QShowEvent* event)
{
    SkinnedScreen::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // After the window is up, so that the warning appears in front of the menu.
    QTimer::singleShot(0, this, [this] { FormFirstShow(); });
}

void TFormMainMenu::FormFirstShow()
{
    if (m_startupWarning != -1)
        ShowMessage(m_startupWarning);
    if (!m_startupNotes.isEmpty()) {
        if (TokPopup* popup = Screens().okPopup.get())
            popup->Run(m_startupNotes.join("\n"));
    }
    OfferRecovery();
    if (isVisible() && !m_ending)
        PlaySpeech(9);
}

void TFormMainMenu::OfferRecovery()
{
    for (const RecoveryCopy& copy : FindRecoveryCopies(m_projectsFolder)) {
        if (OfferCopy(copy) == Offered::Restored) {
            int32_t result = 0;
            RunProjectMenu(result);
            if (result == -2)
                Close();
            return;
        }
    }
}

// The copy is read whole before the question, so that only a copy that can be restored is offered.
TFormMainMenu::Offered TFormMainMenu::OfferCopy(const RecoveryCopy& copy)
{
    TyesNoPopup* question = Screens().yesNoPopup.get();
    if (!question)
        return Offered::Declined;
    std::unique_ptr<evProject> project;
    try {
        project = ReadProjectFileStep(copy.path);
        Screens().waitPopup->hide();
    } catch (const std::exception& e) {
        Screens().waitPopup->hide();
        ktLogs::LogLine("Recovery copy \"" + copy.path + "\" not read: " + e.what());
        ReportDamagedCopy(copy.path);
        return Offered::Declined;
    }
    const QString names = DoubleAmpersands(ToDisplay(project->GetTitle()));
    const QString offer = HelpText(Help::RecoveryOffer).arg(names, WrittenAtText(copy.written));
    const bool restore = question->Run(offer);
    if (question->GetCancelled())
        return Offered::Declined;
    if (!restore) {
        DeleteFileIfExists(copy.path);
        return Offered::Declined;
    }
    return RestoreRecoveryCopy(std::move(project), copy) == 0 ? Offered::Restored : Offered::Failed;
}

// Kept under another name, so it is neither lost nor offered again.
void TFormMainMenu::ReportDamagedCopy(const std::string& path)
{
    std::string kept = path;
    try {
        kept = SetAsideDamagedCopy(path);
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Damaged recovery copy not set aside: ") + e.what());
    }
    const QString shown = DoubleAmpersands(QFile::decodeName(kept.c_str()));
    if (TokPopup* popup = Screens().okPopup.get())
        popup->Run(HelpText(Help::RecoveryDamaged) + "\n" + shown);
}

// The copy becomes its project, with its changes not yet saved; a design that cannot be read is reported as for
// opening, and the copy stays.
int32_t TFormMainMenu::RestoreRecoveryCopy(std::unique_ptr<evProject> project, const RecoveryCopy& copy)
{
    SetGreyed(true);
    try {
        AttachDesignSteps(*project);
        repaint();
        BindSpecialPageLayouts(*project, ProjectBinding::Opening);
    } catch (const std::exception& e) {
        Screens().waitPopup->hide();
        SetGreyed(false);
        ShowMessage(Help::OpenFailed);
        ktLogs::LogLine(std::string("Recovery copy not restored: ") + e.what());
        return -1;
    }
    m_projectFileName = copy.projectPath;
    SetCurrentProject(std::move(project), ProjectOrigin::RecoveryCopy);
    SetGreyed(false);
    return 0;
}

void TFormMainMenu::EndByRequest()
{
    if (m_ending)
        return;
    m_ending = true;
    ktLogs::LogLine("Ending on request.");
    if (m_currentProject) {
        GetAutosave().KeepAndWait();
        GetAutosave().Hold();
    }
    if (m_quit)
        m_quit();
}

void TFormMainMenu::ShowMessage(int32_t helpText)
{
    if (TokPopup* popup = Screens().okPopup.get())
        popup->Run(HelpText(helpText));
}

void TFormMainMenu::Img1Click()
{
    StopSpeech();
    int32_t result = 0;
    ClearMainMenuPictures();
    std::unique_ptr<evProject> project = m_wizard ? m_wizard() : nullptr;
    try {
        LoadMainMenuPictures();
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Main menu pictures not loaded: ") + e.what());
    }
    if (project) {
        SetCurrentProject(std::move(project));
        RunProjectMenu(result);
    }
    if (result == -2)
        Close();
}

void TFormMainMenu::Img2Click()
{
    StopSpeech();
    const FileDialogRequest request{m_openDialogTitle, kProjectFilter, m_projectsFolder, {}};
    // The dialog is a screen in front of the menu too.
    SetGreyed(true);
    const std::optional<std::string> fileName = Dialogs().OpenFile(request);
    SetGreyed(ScreensInFront() > 0);
    if (!fileName)
        return;
    // Unsaved changes of this project that a recovery copy beside it still holds are offered first.
    const std::optional<RecoveryCopy> copy = NewerRecoveryCopyOf(*fileName);
    const Offered offered = copy ? OfferCopy(*copy) : Offered::Declined;
    if (offered == Offered::Failed)
        return;
    int32_t result = offered == Offered::Restored ? 0 : OpenProjectFile(*fileName);
    if (result == 0)
        RunProjectMenu(result);
    if (result == -2)
        Close();
}

int32_t TFormMainMenu::OpenProjectFile(const std::string& fileName)
{
    SetGreyed(true);
    std::unique_ptr<evProject> project;
    try {
        project = ReadProjectUnderWaitPopup(fileName);
        repaint();
        BindSpecialPageLayouts(*project, ProjectBinding::Opening);
    } catch (const std::exception& e) {
        if (TwaitPopup* wait = Screens().waitPopup.get())
            wait->hide();
        SetGreyed(false);
        ShowMessage(Help::OpenFailed);
        ktLogs::LogLine(std::string("Project not opened: ") + e.what());
        return -1;
    }
    m_projectFileName = fileName;
    SetCurrentProject(std::move(project));
    SetGreyed(false);
    return 0;
}

// Three steps in one wait pop-up: the project, its design and the previews of the design's page layouts.
std::unique_ptr<evProject> TFormMainMenu::ReadProjectUnderWaitPopup(const std::string& fileName)
{
    std::unique_ptr<evProject> project = ReadProjectFileStep(fileName);
    AttachDesignSteps(*project);
    return project;
}

// Leaves the wait pop-up up for the next step.
std::unique_ptr<evProject> TFormMainMenu::ReadProjectFileStep(const std::string& fileName)
{
    TwaitPopup* wait = Screens().waitPopup.get();
    if (!wait)
        throw EVelloraError("The wait pop-up is missing");
    std::unique_ptr<evProject> project;
    wait->Run(HelpText(Help::WaitOpeningAlbum), [&](ProgressBar& progress) {
        project = ReadProjectFile(fileName, &progress);
        return false;
    });
    return project;
}

void TFormMainMenu::AttachDesignSteps(evProject& project)
{
    TwaitPopup* wait = Screens().waitPopup.get();
    if (!wait)
        throw EVelloraError("The wait pop-up is missing");
    wait->Run(HelpText(Help::WaitLoadingDesign), [&](ProgressBar& progress) {
        const std::string& name = project.GetDesignFileName();
        project.SetDesign(ReadDesignFile(GetDesignFolderFor(name), name, &progress));
        return false;
    });
    wait->Run(HelpText(Help::WaitPreparingLayouts), [&](ProgressBar& progress) {
        RenderPageLayoutPreviews(*project.GetDesign(), &progress);
        return true;
    });
}

// The project menu runs on the current project and the project is closed afterwards. Closed the normal way,
// the user has saved or chosen not to, and the recovery copy goes; closed by an error, nobody asked, and the
// changes go into the recovery copy.
void TFormMainMenu::RunProjectMenu(int32_t& result)
{
    if (!m_projectMenu)
        return;
    bool decided = false;
    try {
        result = m_projectMenu();
        decided = result != kProjectMenuFailed;
    } catch (const std::exception& e) {
        ktLogs::LogLine(std::string("Project menu failed: ") + e.what());
        result = kProjectMenuFailed;
    }
    if (decided)
        GetAutosave().Discard();
    else
        GetAutosave().KeepAndWait();
    if (result != 0 && result != -2)
        ShowMessage(result);
    FreeCurrentProject();
}

void TFormMainMenu::Img3Click()
{
    StopSpeech();
    TFormExit* question = Screens().formExit.get();
    if (question && question->Run())
        Close();
}

void TFormMainMenu::Img4Click()
{
    StopSpeech();
    if (TFormImprint* imprint = Screens().formImprint.get())
        imprint->Run();
}
