#pragma once
// What every screen reaches for the whole run: the data read at start-up (the branding bundle and the design
// previews), the program's folders (platform/ProgramFolders.h: beside the program file, or the installed and
// the user's folders) and the open project. The main menu is the one context of the
// run; the screens find it through AppContext().

#include "platform/ProgramFolders.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>

class Autosave;
class evBranding;
class evObjectCollection;
class evProject;

class ApplicationContext {
public:
    ApplicationContext();
    virtual ~ApplicationContext();
    ApplicationContext(const ApplicationContext&) = delete;
    ApplicationContext& operator=(const ApplicationContext&) = delete;

    evBranding* GetMainBranding() const { return m_mainBranding.get(); }
    // One evLayoutPreview per design file found at start-up.
    evObjectCollection& GetDesigns() const { return *m_designs; }

    // Where an open project came from: its file, or its recovery copy (it then has changes not yet saved).
    enum class ProjectOrigin { File, RecoveryCopy };
    evProject* GetCurrentProject() const { return m_currentProject.get(); }
    // Also starts the autosave for the project, and ends it when the project goes.
    void SetCurrentProject(std::unique_ptr<evProject> project, ProjectOrigin origin = ProjectOrigin::File);
    void FreeCurrentProject();
    const std::string& GetProjectFileName() const { return m_projectFileName; }
    void SetProjectFileName(std::string fileName) { m_projectFileName = std::move(fileName); }
    // True once after a project was restored from its recovery copy: the project menu starts it as modified.
    bool TakeOpenedWithChanges();
    // Writes the open project to its file, never destroying the previous file, and removes its recovery copy.
    // False without a project or when writing fails: the user is told which file could not be written and why
    // (the disc is full, the folder cannot be written), and the project stays as it is in memory.
    bool SaveProject();
    // The text of the last failed save, as SaveProject showed it.
    const QString& GetSaveFailure() const { return m_saveFailure; }

    // The recovery copies of the open project; made on first use.
    Autosave& GetAutosave();

    // Folders end in "/".
    const std::string& GetProgramFolder() const { return m_programFolder; }
    const std::string& GetDataFolder() const { return m_dataFolder; }
    const std::string& GetDesignsFolder() const { return m_designsFolder; }
    const std::string& GetUserDesignsFolder() const { return m_folders.userDesignsFolder; }
    const std::string& GetProjectsFolder() const { return m_projectsFolder; }
    const std::string& GetSettingsFolder() const { return m_folders.settingsFolder; }
    const ProgramFolders& GetFolders() const { return m_folders; }
    // The folder to read a design file of this name from: the user's designs folder when it holds the file,
    // else the designs that came with the program.
    std::string GetDesignFolderFor(const std::string& designFileName) const;
    const std::string& GetMainFile() const { return m_mainFile; }
    const std::string& GetMusicFile() const { return m_musicFile; }
    const std::string& GetSpeakerFile() const { return m_speakerFile; }
    const std::string& GetStudioFile() const { return m_studioFile; }
    const std::string& GetStudioDataFile() const { return m_studioDataFile; }
    const std::string& GetAudioLibraryFile() const { return m_audioLibraryFile; }

    // -1 while start-up succeeds; -2 folders; -3 data files; otherwise the help text of the failure.
    int32_t GetStartupState() const { return m_startupState; }
    // -1 or the help text shown when the main menu first appears.
    int32_t GetStartupWarning() const { return m_startupWarning; }

    // The folders and the data files in them.
    void SetFolders(const ProgramFolders& folders);
    // The folders of a portable program in the folder.
    void SetProgramFolder(const std::string& folder);

protected:
    std::string m_mainFile;
    std::string m_musicFile;
    std::string m_speakerFile;
    std::string m_studioDataFile;
    std::string m_studioFile;
    std::unique_ptr<evBranding> m_mainBranding;
    std::unique_ptr<evObjectCollection> m_designs;
    std::unique_ptr<evProject> m_currentProject;
    std::string m_projectFileName;
    bool m_openedWithChanges = false;
    QString m_saveFailure;
    std::unique_ptr<Autosave> m_autosave;
    std::string m_audioLibraryFile;
    int32_t m_startupWarning = -1;
    int32_t m_startupState = -1;
    std::string m_programFolder;
    std::string m_dataFolder;
    std::string m_designsFolder;
    std::string m_projectsFolder;
    ProgramFolders m_folders;
};

// The context of the run; nullptr before the main menu exists.
ApplicationContext* AppContext();
void SetAppContext(ApplicationContext* context);
