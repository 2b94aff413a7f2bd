#include "screens/ApplicationContext.h"

#include "model/ProjectFile.h"
#include "model/evBranding.h"
#include "model/evObjectCollection.h"
#include "model/evProject.h"
#include "platform/Log.h"
#include "screens/Autosave.h"
#include "screens/DataIndexes.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"
#include "screens/TokPopup.h"
#include "screens/WriteFailure.h"

#include <utility>

namespace {
ApplicationContext* g_context = nullptr;
}

ApplicationContext* AppContext() { return g_context; }

void SetAppContext(ApplicationContext* context) { g_context = context; }

ApplicationContext::ApplicationContext() : m_designs(std::make_unique<evObjectCollection>()) {}

ApplicationContext::~ApplicationContext()
{
    if (g_context == this)
        g_context = nullptr;
}

void ApplicationContext::SetCurrentProject(std::unique_ptr<evProject> project, ProjectOrigin origin)
{
    if (m_currentProject)
        GetAutosave().End();
    m_currentProject = std::move(project);
    m_openedWithChanges = m_currentProject && origin == ProjectOrigin::RecoveryCopy;
    if (m_currentProject)
        GetAutosave().Begin(m_openedWithChanges);
}

void ApplicationContext::FreeCurrentProject()
{
    if (m_currentProject)
        GetAutosave().End();
    m_currentProject.reset();
    m_openedWithChanges = false;
}

bool ApplicationContext::TakeOpenedWithChanges() { return std::exchange(m_openedWithChanges, false); }

Autosave& ApplicationContext::GetAutosave()
{
    if (!m_autosave)
        m_autosave = std::make_unique<Autosave>(*this);
    return *m_autosave;
}

// The message says what happened to which file, and that nothing is lost yet.
bool ApplicationContext::SaveProject()
{
    if (!m_currentProject)
        return false;
    try {
        WriteProjectFile(*m_currentProject, m_projectFileName);
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("FATAL saving: ") + error.what());
        m_saveFailure = WriteFailureText(error, m_projectFileName) + "\n" + HelpText(Help::SaveChangesKept);
        if (TokPopup* popup = Screens().okPopup.get())
            popup->Run(m_saveFailure);
        return false;
    }
    m_saveFailure.clear();
    GetAutosave().Saved();
    return true;
}

void ApplicationContext::SetFolders(const ProgramFolders& folders)
{
    m_folders = folders;
    m_programFolder = folders.programFolder;
    m_dataFolder = folders.dataFolder;
    m_designsFolder = folders.designsFolder;
    m_projectsFolder = folders.projectsFolder;
    m_mainFile = m_dataFolder + "main.evb";
    m_musicFile = m_dataFolder + "music.evb";
    m_speakerFile = m_dataFolder + "speaker.evb";
    m_studioFile = m_dataFolder + "studio.evb";
    m_studioDataFile = folders.studioDataFile;
}

void ApplicationContext::SetProgramFolder(const std::string& folder) { SetFolders(PortableFolders(folder)); }

std::string ApplicationContext::GetDesignFolderFor(const std::string& designFileName) const
{
    const std::vector<std::string> folders = m_folders.DesignFolders();
    return FindDesignFolder(folders, designFileName);
}
