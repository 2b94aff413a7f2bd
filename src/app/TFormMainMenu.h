#pragma once
// The main menu, the program's main window and its application context. Creating it is the program's start-up:
// it takes the program's folders (noting the XDG folders it could not use), reads the main data file, lists the
// designs (noting those it cannot read), checks the sound system, starts the audio library and reads the music
// and speech lists. A failure is kept in the start-up state for the program entry to report; audio problems only
// leave a warning for the first show and turn sound off. Destroying it frees the open project, the designs and the
// branding bundle and stops the audio library.
//
// The menu offers a new project, opening a project file, leaving the program and the imprint. When it first
// appears it offers the unsaved changes that recovery copies in the projects folder hold (model/RecoveryCopy.h).
// Asked to end without the user (a signal, the desktop's logout), it keeps the open project's changes in its
// recovery copy and ends the program cleanly.

#include "app/StartupEnvironment.h"
#include "screens/ApplicationContext.h"
#include "screens/SkinnedScreen.h"

#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class evProject;
struct RecoveryCopy;

class TFormMainMenu : public SkinnedScreen, public ApplicationContext {
    Q_OBJECT

public:
    static constexpr const char* kProjectFilter = "Vellora project|*.evp";

    explicit TFormMainMenu(const StartupEnvironment& environment);
    ~TFormMainMenu() override;

    // The new-project wizard hands back a new project (or nothing), the project menu runs on the current
    // project and returns its result. Both are the program's screens unless a test puts its own in.
    using WizardRunner = std::function<std::unique_ptr<evProject>()>;
    using ProjectMenuRunner = std::function<int32_t()>;
    void SetWizardRunner(WizardRunner runner) { m_wizard = std::move(runner); }
    void SetProjectMenuRunner(ProjectMenuRunner runner) { m_projectMenu = std::move(runner); }
    // What ends the program's event loop when the program is asked to end; tests put in their own.
    void SetQuitter(std::function<void()> quit) { m_quit = std::move(quit); }

    void ImgBGMouseMove(const QObject* sender, int x, int y);
    void FormActivate();
    void FormDeactivate();
    // The first show: the start-up warning, the offer of unsaved changes, then the welcome.
    void FormFirstShow();
    // Offers each recovery copy of the projects folder that is newer than its project, newest first: Restore
    // opens it as its project, with its changes not yet saved; Discard removes it; the cross leaves it for the
    // next start. A copy that cannot be read is reported and kept aside. Ends after a restored project closes.
    // Opening a project file offers its own recovery copy the same way, wherever the file is.
    void OfferRecovery();
    // A signal or the desktop's logout: the open project's changes go into its recovery copy at once, and the
    // program ends cleanly.
    void EndByRequest();
    bool IsEnding() const { return m_ending; }
    void Img1Click();
    void Img2Click();
    void Img3Click();
    void Img4Click();
    // The part of Img2Click after the dialog: 0 when the project is open, -1 when opening failed (and was
    // reported).
    int32_t OpenProjectFile(const std::string& fileName);

    bool IsGreyed() const { return m_greyed; }
    const QString& GetOpenDialogTitle() const { return m_openDialogTitle; }
    // What the first show tells in one pop-up after the start-up warning, one note a line.
    const QStringList& GetStartupNotes() const { return m_startupNotes; }

    // The number in the sound system's version: the part between its first and second full stop, read with a
    // "0" in front; nothing when that is no number.
    static std::optional<int> AudioVersionNumber(const std::string& version);

    TImage* ImgBG;
    TImage* Img1;
    TImage* Img2;
    TImage* Img3;
    TImage* Img4;
    TImage* Img1disabled;
    TImage* Img2disabled;
    TImage* Img3disabled;
    TImage* Img4disabled;
    TLabel* LabelHint;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct MenuPicture {
        TImage* image;
        int32_t index;
    };

    void CreateControls();
    void RunStartup(const StartupEnvironment& environment);
    void ShowStatus(const QString& text) const;
    void EnsureFolders();
    void ReadMainData();
    void CheckScreenSize(QSize screen);
    void ListDesigns();
    void ReadDesignPreview(const std::string& path, const std::string& fileName);
    void CheckSystemAudio(const StartupEnvironment& environment);
    void StartAudioLibrary(const StartupEnvironment& environment);
    void ReadSoundLists();

    void LoadMainMenuPictures();
    void ClearMainMenuPictures();
    void SetGreyed(bool greyed);
    std::unique_ptr<evProject> ReadProjectUnderWaitPopup(const std::string& fileName);
    std::unique_ptr<evProject> ReadProjectFileStep(const std::string& fileName);
    void AttachDesignSteps(evProject& project);
    // 0 when the copy was restored as the open project, -1 when that failed (and was reported).
    int32_t RestoreRecoveryCopy(std::unique_ptr<evProject> project, const RecoveryCopy& copy);
    // Asks about one copy: restored as the current project; declined (discarded, left for later, or damaged and
    // reported); or chosen but not restored (its design cannot be read, reported).
    enum class Offered { Restored, Declined, Failed };
    Offered OfferCopy(const RecoveryCopy& copy);
    void ReportDamagedCopy(const std::string& path);
    void RunProjectMenu(int32_t& result);
    void ShowMessage(int32_t helpText);

    std::array<MenuPicture, 9> m_menuPictures{};
    std::function<void(const QString&)> m_showStatus;
    WizardRunner m_wizard;
    ProjectMenuRunner m_projectMenu;
    std::function<void()> m_quit;
    QString m_openDialogTitle;
    QStringList m_startupNotes;
    bool m_greyed = false;
    bool m_shown = false;
    bool m_ending = false;
};
