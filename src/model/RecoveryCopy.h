#pragma once
// Recovery copies: while a project has unsaved changes, the program keeps a copy of it beside its file, never
// over it: "<project file>.recovery" ("Anna & Ben.evp.recovery"), in the project file's own format, so that in
// the worst case the user can open it by hand. A normal save and closing without saving remove it; what is left
// at start-up is work that a crash, a kill or a power cut would otherwise have lost.

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SnapshotStream;
class evProject;

constexpr const char* kRecoveryExtension = ".recovery";
constexpr const char* kDamagedExtension = ".damaged";

std::string RecoveryPathFor(const std::string& projectPath);

// The project as its file would hold it, taken in a moment on the thread that owns the project; the photographs'
// bytes are shared, not copied, so it may be written out later on another thread while the project changes.
std::shared_ptr<SnapshotStream> SnapshotProject(const evProject& project);
// Writes the recovery copy of the project at once, through the atomic writer; raises the writer's error.
void WriteRecoveryCopy(const evProject& project, const std::string& projectPath);

struct RecoveryCopy {
    std::string path;        // "<project file>.recovery"
    std::string projectPath; // the project file it belongs to
    std::time_t written = 0; // when the copy was written
};

// The recovery copy of the project file when it is newer than the project (or the project is gone).
std::optional<RecoveryCopy> NewerRecoveryCopyOf(const std::string& projectPath);
// The recovery copies in folder that are newer than their project file, or whose project file is gone, newest
// first. Copies older than their project (the project was saved since) are not worth an offer and are left.
std::vector<RecoveryCopy> FindRecoveryCopies(const std::string& folder);

// Renames a recovery copy that cannot be read to its name + ".damaged" (+ "-2", "-3", ... when that is taken),
// so that it is kept and no longer offered; returns the new name. EWriteError when it cannot be renamed.
std::string SetAsideDamagedCopy(const std::string& path);
