#include "model/RecoveryCopy.h"

#include "model/evProject.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/SnapshotStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr int kMaxDamagedNames = 1000;

// The time of a file's last change, or nothing when it is no regular file (a link is followed).
bool WrittenAt(const std::string& path, std::time_t& written)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    written = info.st_mtim.tv_sec;
    return true;
}

// Nanoseconds as well, for a copy and its project written within the same second.
bool NewerThan(const std::string& path, const std::string& other)
{
    struct stat mine {};
    struct stat theirs {};
    if (::stat(path.c_str(), &mine) != 0)
        return false;
    if (::stat(other.c_str(), &theirs) != 0)
        return errno == ENOENT;
    if (mine.st_mtim.tv_sec != theirs.st_mtim.tv_sec)
        return mine.st_mtim.tv_sec > theirs.st_mtim.tv_sec;
    return mine.st_mtim.tv_nsec > theirs.st_mtim.tv_nsec;
}

} // namespace

std::string RecoveryPathFor(const std::string& projectPath) { return projectPath + kRecoveryExtension; }

std::shared_ptr<SnapshotStream> SnapshotProject(const evProject& project)
{
    auto snapshot = std::make_shared<SnapshotStream>();
    project.SaveToStream(*snapshot);
    return snapshot;
}

void WriteRecoveryCopy(const evProject& project, const std::string& projectPath)
{
    AtomicWriter writer(RecoveryPathFor(projectPath));
    project.SaveToStream(writer.GetStream());
    writer.Commit();
}

std::optional<RecoveryCopy> NewerRecoveryCopyOf(const std::string& projectPath)
{
    RecoveryCopy copy{RecoveryPathFor(projectPath), projectPath};
    if (!WrittenAt(copy.path, copy.written) || !NewerThan(copy.path, projectPath))
        return std::nullopt;
    return copy;
}

std::vector<RecoveryCopy> FindRecoveryCopies(const std::string& folder)
{
    const std::string extension = kRecoveryExtension;
    std::vector<RecoveryCopy> copies;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        const std::string name = entry.path().filename().string();
        if (name.size() <= extension.size() || !name.ends_with(extension) || name.front() == '.')
            continue;
        if (std::optional<RecoveryCopy> copy = NewerRecoveryCopyOf(path.substr(0, path.size() - extension.size())))
            copies.push_back(std::move(*copy));
    }
    std::sort(copies.begin(), copies.end(), [](const RecoveryCopy& a, const RecoveryCopy& b) {
        return a.written != b.written ? a.written > b.written : a.path < b.path;
    });
    return copies;
}

std::string SetAsideDamagedCopy(const std::string& path)
{
    for (int attempt = 1; attempt <= kMaxDamagedNames; ++attempt) {
        const std::string aside = path + kDamagedExtension + (attempt == 1 ? "" : "-" + std::to_string(attempt));
        struct stat info {};
        if (::lstat(aside.c_str(), &info) == 0)
            continue;
        // No other program renames over a name taken meanwhile: link() refuses an existing name.
        if (::link(path.c_str(), aside.c_str()) == 0) {
            ::unlink(path.c_str());
            return aside;
        }
        if (errno == EEXIST)
            continue;
        // A file system without hard links (a FAT drive): the name was free a moment ago.
        if ((errno == EPERM || errno == EOPNOTSUPP) && ::rename(path.c_str(), aside.c_str()) == 0)
            return aside;
        const int error = errno;
        throw EWriteError("Cannot keep \"" + path + "\" aside: " + std::strerror(error), path, error);
    }
    throw EWriteError("Cannot keep \"" + path + "\" aside: too many damaged copies beside it", path, EEXIST);
}
