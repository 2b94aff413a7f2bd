#include "model/ProjectFile.h"

#include "model/ProgressBar.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evProject.h"
#include "platform/AtomicFile.h"
#include "platform/Log.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"

#include <array>
#include <cstdio>
#include <filesystem>

namespace {

struct SpecialLayout {
    const char* key;
    const char* openingMessage;
    const char* creatingMessage;
};

// In the order in which they are bound; the message names the key that failed.
constexpr std::array<SpecialLayout, 4> kSpecialLayouts = {{
    {"W", "MM_W.", "NPRJ_W"},
    {"M", "MM_M.", "NPRJ_M"},
    {"cd", "MM_L.", "NPRJ_L."},
    {"E", "MM_E.", "NPRJ_E"},
}};

// The creating wizard binds in the order W, M, E and then the disc label.
constexpr std::array<int, 4> kCreatingOrder = {0, 1, 3, 2};
constexpr std::array<int, 4> kOpeningOrder = {0, 1, 2, 3};

std::unique_ptr<evCategory> NewDiscLabelCategory() { return std::make_unique<evCategory>("cd label", "", true, 3); }

// The category that carries the special page layout: the first three top-level categories and the disc label.
evCategory* CategoryFor(evProject& project, int special)
{
    evCategory* category = project.GetFirstCategory();
    switch (special) {
    case 0: return category;
    case 1: return category ? category->GetNext() : nullptr;
    case 3: return category && category->GetNext() ? category->GetNext()->GetNext() : nullptr;
    default: return project.GetDiscLabelCategory();
    }
}

} // namespace

std::unique_ptr<evProject> ReadProjectFile(const std::string& path, ProgressBar* progress)
{
    return ReadBodyFile<evProject>(path, "The project file \"" + path + "\"", progress);
}

void WriteProjectFile(const evProject& project, const std::string& path)
{
    AtomicWriter writer(path);
    project.SaveToStream(writer.GetStream());
    writer.Commit();
}

bool SaveProjectFile(const evProject* project, const std::string& path)
{
    if (!project)
        return false;
    try {
        WriteProjectFile(*project, path);
        return true;
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("FATAL saving: ") + error.what());
        return false;
    }
}

std::string DesignFilePath(const std::string& designsFolder, const std::string& designFileName)
{
    if (designFileName.empty() || BareFileName(designFileName) != designFileName)
        throw EFOpenError("Cannot open design file \"" + designFileName + "\": not a file name of the designs folder");
    if (designsFolder.empty() || designsFolder.back() == '/')
        return designsFolder + designFileName;
    return designsFolder + "/" + designFileName;
}

std::string FindDesignFolder(const std::vector<std::string>& designsFolders, const std::string& designFileName)
{
    if (designsFolders.empty())
        return {};
    if (!designFileName.empty() && BareFileName(designFileName) == designFileName) {
        for (const std::string& folder : designsFolders) {
            std::error_code error;
            if (std::filesystem::is_regular_file(DesignFilePath(folder, designFileName), error))
                return folder;
        }
    }
    return designsFolders.back();
}

std::unique_ptr<evLayout> ReadDesignFile(const std::string& designsFolder, const std::string& designFileName,
                                         ProgressBar* progress)
{
    const std::string path = DesignFilePath(designsFolder, designFileName);
    return ReadBodyFile<evLayout>(path, "The design file \"" + path + "\"", progress);
}

void RenderPageLayoutPreviews(evLayout& design, ProgressBar* progress)
{
    evObjectCollection& layouts = design.GetPageLayouts();
    const int32_t count = layouts.Count();
    for (int32_t i = 0; i < count; ++i) {
        if (auto* layout = layouts.GetItemAs<evPageLayout>(i))
            layout->RenderPreview();
        if (progress)
            progress->SetPosition(static_cast<int>(static_cast<double>(i) / count * 100.0));
    }
}

void BindSpecialPageLayouts(evProject& project, ProjectBinding binding)
{
    if (binding == ProjectBinding::Creating || !project.GetDiscLabelCategory())
        project.SetDiscLabelCategory(NewDiscLabelCategory());
    evLayout* design = project.GetDesign();
    const auto& order = binding == ProjectBinding::Creating ? kCreatingOrder : kOpeningOrder;
    for (int special : order) {
        const SpecialLayout& wanted = kSpecialLayouts[static_cast<size_t>(special)];
        const char* message = binding == ProjectBinding::Creating ? wanted.creatingMessage : wanted.openingMessage;
        evPageLayout* layout = design ? design->FindPageLayoutByKey(wanted.key) : nullptr;
        evCategory* category = CategoryFor(project, special);
        if (!layout || layout->GetID() == 0 || !category)
            throw EProjectError(message);
        category->SetPageLayoutID(layout->GetID());
    }
}

std::unique_ptr<evProject> OpenProject(const std::string& path, const std::string& designsFolder, ProgressBar* progress)
{
    return OpenProject(path, std::vector<std::string>{designsFolder}, progress);
}

std::unique_ptr<evProject> OpenProject(const std::string& path, const std::vector<std::string>& designsFolders,
                                       ProgressBar* progress)
{
    std::unique_ptr<evProject> project = ReadProjectFile(path, progress);
    project->SetDesign(ReadDesignFile(FindDesignFolder(designsFolders, project->GetDesignFileName()),
                                      project->GetDesignFileName(), progress));
    RenderPageLayoutPreviews(*project->GetDesign(), progress);
    BindSpecialPageLayouts(*project, ProjectBinding::Opening);
    return project;
}

void AttachDesignToNewProject(evProject& project, const std::string& designsFolder, ProgressBar* progress)
{
    project.SetDesign(ReadDesignFile(designsFolder, project.GetDesignFileName(), progress));
    BindSpecialPageLayouts(project, ProjectBinding::Creating);
    RenderPageLayoutPreviews(*project.GetDesign(), progress);
}
