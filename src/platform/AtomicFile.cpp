#include "platform/AtomicFile.h"

#include "platform/Errors.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SystemReason(int error) { return std::strerror(error); }

// The name of the temporary does not grow with the target's name, so a target of the longest legal name still
// has a temporary beside it.
std::string CandidateName(const std::string& folder, const std::string& stem, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const unsigned serial = counter.fetch_add(1);
    std::string shortStem = stem.substr(0, 16);
    for (char& c : shortStem) {
        if (c == '/' || c == '\\')
            c = '_';
    }
    return folder + "/.vellora-" + shortStem + "-" + std::to_string(::getpid()) + "-" + std::to_string(serial) +
           "-" + std::to_string(attempt) + ".tmp";
}

void WriteAll(int fd, const char* data, size_t size, const std::string& path)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw EWriteError("Cannot write \"" + path + "\": " + SystemReason(errno));
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

std::string CreateUniqueFileIn(const std::string& folder, const std::string& stem, int& fd)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = CandidateName(folder, stem, attempt);
        fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0)
            return candidate;
        if (errno != EEXIST)
            throw EFCreateError("Cannot create a file in \"" + folder + "\": " + SystemReason(errno));
    }
    throw EFCreateError("Cannot create a file in \"" + folder + "\": too many files of the same name");
}

void WriteFileAtomically(const std::string& path, const void* data, size_t size, bool executable)
{
    const std::string folder = FolderOf(path);
    const size_t slash = path.find_last_of('/');
    int fd = -1;
    const std::string temporary =
        CreateUniqueFileIn(folder, slash == std::string::npos ? path : path.substr(slash + 1), fd);
    try {
        WriteAll(fd, static_cast<const char*>(data), size, path);
        if (executable) {
            struct stat info {};
            if (::fstat(fd, &info) == 0) {
                mode_t mode = info.st_mode & 07777;
                mode |= (mode & S_IRUSR ? S_IXUSR : 0) | (mode & S_IRGRP ? S_IXGRP : 0) |
                        (mode & S_IROTH ? S_IXOTH : 0);
                ::fchmod(fd, mode);
            }
        }
        if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
            throw EWriteError("Cannot write \"" + path + "\": " + SystemReason(errno));
        const int closed = ::close(fd);
        fd = -1;
        if (closed != 0)
            throw EWriteError("Cannot write \"" + path + "\": " + SystemReason(errno));
        if (::rename(temporary.c_str(), path.c_str()) != 0)
            throw EWriteError("Cannot replace \"" + path + "\": " + SystemReason(errno));
    } catch (...) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    SyncFolder(folder);
}

void WriteFileAtomically(const std::string& path, const std::string& data, bool executable)
{
    WriteFileAtomically(path, data.data(), data.size(), executable);
}
