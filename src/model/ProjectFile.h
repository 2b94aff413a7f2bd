#pragma once
// Project files and the designs they name: reading a project, saving it without ever destroying the previous
// file, reading its design from the designs folder by bare file name, and binding the special page layouts
// ("W", "M", "cd", "E") to the project's first three top-level categories and its disc-label category.

#include "platform/Errors.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ProgressBar;
class Stream;
class evLayout;
class evProject;

// Opening or creating a project failed at a step that has its own message ("MM_W.", "NPRJ_E", ...).
class EProjectError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

// Opens the file for reading only and reads one evProject body from its first byte.
std::unique_ptr<evProject> ReadProjectFile(const std::string& path, ProgressBar* progress = nullptr);

// Writes the project through an AtomicWriter (platform/AtomicFile.h): a temporary of its own beside path, renamed
// over path once it is complete. Raises the writer's error on failure; path is then left exactly as it was and
// the temporary file is removed.
void WriteProjectFile(const evProject& project, const std::string& path);
// The edge form: false (and the log line "FATAL saving: " + message) on any failure, or without a project.
bool SaveProjectFile(const evProject* project, const std::string& path);

// designsFolder + name for a bare file name; a name with folders in it (or "", ".", "..") raises EFOpenError,
// so a stored name can never reach outside the designs folder.
std::string DesignFilePath(const std::string& designsFolder, const std::string& designFileName);
// The first of the folders that holds a design file of the name, else the last folder (so that reading from it
// names the folder where the design was expected). A name that is not a bare file name gives the last folder
// too; DesignFilePath refuses it there.
std::string FindDesignFolder(const std::vector<std::string>& designsFolders, const std::string& designFileName);
// Reads one evLayout body from the design file's first byte.
std::unique_ptr<evLayout> ReadDesignFile(const std::string& designsFolder, const std::string& designFileName,
                                         ProgressBar* progress = nullptr);
// RenderPreview on every page layout in order; the bar shows index / count x 100 after each.
void RenderPageLayoutPreviews(evLayout& design, ProgressBar* progress = nullptr);

enum class ProjectBinding { Opening, Creating };
// Sets the identifiers of the design's special page layouts on the first, second and third top-level
// categories and the disc-label category. Opening gives a project without a disc-label category a new one;
// creating always gives a new one. A missing key, a page layout with identifier 0 or a missing category raises
// EProjectError with the message of that key.
void BindSpecialPageLayouts(evProject& project, ProjectBinding binding);

// Reading an existing project: the file, then its design from the designs folder, the page layout previews
// and the special page layouts.
std::unique_ptr<evProject> OpenProject(const std::string& path, const std::string& designsFolder,
                                       ProgressBar* progress = nullptr);
// The same with the design from the first of the folders that holds it (FindDesignFolder).
std::unique_ptr<evProject> OpenProject(const std::string& path, const std::vector<std::string>& designsFolders,
                                       ProgressBar* progress = nullptr);
// A new project after it has been saved: its design from the designs folder, the special page layouts, then
// the page layout previews.
void AttachDesignToNewProject(evProject& project, const std::string& designsFolder, ProgressBar* progress = nullptr);
