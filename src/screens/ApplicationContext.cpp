#include "screens/ApplicationContext.h"

#include "model/ProjectFile.h"
#include "model/evBranding.h"
#include "model/evObjectCollection.h"
#include "model/evProject.h"

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

void ApplicationContext::SetCurrentProject(std::unique_ptr<evProject> project) { m_currentProject = std::move(project); }

void ApplicationContext::FreeCurrentProject() { m_currentProject.reset(); }

bool ApplicationContext::SaveProject() { return SaveProjectFile(m_currentProject.get(), m_projectFileName); }

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
