#include "platform/AtomicFile.h"

#include "platform/Errors.h"
#include "platform/Stream.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMaxLinkSteps = 40;
constexpr size_t kBufferSize = 64 * 1024;

WriterSystem g_systemCalls;
std::atomic<WriterSystem*> g_system{&g_systemCalls};

WriterSystem& System() { return *g_system.load(std::memory_order_acquire); }

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string SystemReason(int error) { return std::strerror(error); }

[[noreturn]] void ThrowWriteError(const std::string& path, int error)
{
    throw EWriteError("Cannot write \"" + path + "\": " + SystemReason(error), path, error);
}

[[noreturn]] void ThrowCreateError(const std::string& path, int error)
{
    throw EFCreateError("Cannot create \"" + path + "\": " + SystemReason(error), path, error);
}

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
    return folder + "/.vellora-" + shortStem + "-" + std::to_string(::getpid()) + "-" + std::to_string(serial) + "-" +
           std::to_string(attempt) + ".tmp";
}

// The process id in a temporary's name ".vellora-<stem>-<pid>-<serial>-<attempt>.tmp" (the stem may hold
// dashes itself), or 0 for any other name.
pid_t TemporaryOwner(const std::string& name)
{
    const std::string prefix = ".vellora-";
    const std::string suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 || !name.ends_with(suffix))
        return 0;
    std::string rest = name.substr(0, name.size() - suffix.size());
    long fields[3] = {};
    for (long& field : fields) {
        const size_t dash = rest.rfind('-');
        if (dash == std::string::npos || dash + 1 == rest.size() || rest.size() - dash > 11)
            return 0;
        for (size_t i = dash + 1; i < rest.size(); ++i) {
            if (rest[i] < '0' || rest[i] > '9')
                return 0;
        }
        field = std::stol(rest.substr(dash + 1));
        rest.resize(dash);
    }
    return rest.size() >= prefix.size() - 1 ? static_cast<pid_t>(fields[2]) : 0;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// A file system that cannot sync (a pipe, some network or read-only mounts) says so; that is no failure of ours.
bool SyncFailed(int fd) { return System().Sync(fd) != 0 && errno != EINVAL && errno != EROFS; }

// Regular files of this user, for the clean-ups: never a link, never someone else's file.
bool IsOwnRegularFile(const std::filesystem::path& path, struct stat& info)
{
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid();
}

mode_t WithExecute(mode_t mode)
{
    return mode | (mode & S_IRUSR ? S_IXUSR : 0) | (mode & S_IRGRP ? S_IXGRP : 0) | (mode & S_IROTH ? S_IXOTH : 0);
}

} // namespace

// The temporary as a stream: a buffer in front of the descriptor, so the many small writes of the object stream
// cost few system calls. Every failure names the target, which is the name the user knows.
class AtomicWriter::Output : public Stream {
public:
    Output(int fd, std::string target) : m_fd(fd), m_target(std::move(target)) { m_buffer.reserve(kBufferSize); }
    ~Output() override { Close(); }

    int64_t Read(void* buffer, int64_t count) override
    {
        Flush();
        if (count <= 0)
            return 0;
        const ssize_t got = ::read(m_fd, buffer, static_cast<size_t>(count));
        return got < 0 ? 0 : got;
    }

    int64_t Write(const void* buffer, int64_t count) override
    {
        if (count <= 0)
            return 0;
        const auto* bytes = static_cast<const char*>(buffer);
        if (m_buffer.size() + static_cast<size_t>(count) > kBufferSize) {
            Flush();
            if (static_cast<size_t>(count) >= kBufferSize) {
                WriteAll(bytes, static_cast<size_t>(count));
                return count;
            }
        }
        m_buffer.insert(m_buffer.end(), bytes, bytes + count);
        return count;
    }

    int64_t Seek(int64_t offset, SeekOrigin origin) override
    {
        Flush();
        const int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
        const off_t at = ::lseek(m_fd, static_cast<off_t>(offset), whence);
        if (at < 0) {
            const int error = errno;
            throw EStreamError("Cannot seek in \"" + m_target + "\": " + SystemReason(error), m_target, error);
        }
        return at;
    }

    void Flush()
    {
        if (m_buffer.empty())
            return;
        // The buffer is emptied first, so a failed flush is not tried again by a later call.
        std::vector<char> pending;
        pending.swap(m_buffer);
        m_buffer.reserve(kBufferSize);
        WriteAll(pending.data(), pending.size());
    }

    // A refused write is remembered: the file is incomplete even if the code that wrote went on, so it can
    // never be committed, and the error can be raised again with its file and reason.
    [[noreturn]] void RaiseWriteFailure() const override
    {
        if (m_failure == 0)
            Stream::RaiseWriteFailure();
        ThrowWriteError(m_target, m_failure);
    }

    // Flushes, syncs and closes; EWriteError when the system refuses any of it, or refused an earlier write.
    void Finish()
    {
        Flush();
        if (m_failure != 0)
            ThrowWriteError(m_target, m_failure);
        if (SyncFailed(m_fd))
            ThrowWriteError(m_target, errno);
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0)
            ThrowWriteError(m_target, errno);
    }

    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    void WriteAll(const char* data, size_t size)
    {
        while (size > 0) {
            const ssize_t written = System().Write(m_fd, data, size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0) {
                // The system took nothing and said nothing: it has no room.
                m_failure = written < 0 ? errno : ENOSPC;
                ThrowWriteError(m_target, m_failure);
            }
            data += written;
            size -= static_cast<size_t>(written);
        }
    }

    int m_fd;
    std::string m_target;
    std::vector<char> m_buffer;
    int m_failure = 0; // the system's error number of the first refused write
};

int RemoveStaleTemporariesIn(const std::string& folder)
{
    int removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const pid_t owner = TemporaryOwner(entry.path().filename().string());
        struct stat info {};
        if (owner <= 0 || owner == ::getpid() || !IsOwnRegularFile(entry.path(), info))
            continue;
        if (::kill(owner, 0) != 0 && errno == ESRCH && ::unlink(entry.path().c_str()) == 0)
            ++removed;
    }
    return removed;
}

int RemoveOldTemporariesIn(const std::string& folder, std::chrono::seconds age)
{
    const auto now = std::chrono::system_clock::now();
    int removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const bool earlier = name.size() > 8 && name.ends_with(".evp.tmp");
        struct stat info {};
        if ((TemporaryOwner(name) <= 0 && !earlier) || !IsOwnRegularFile(entry.path(), info))
            continue;
        const auto written = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
        if (now - written > age && ::unlink(entry.path().c_str()) == 0)
            ++removed;
    }
    return removed;
}

void SyncFileSystemOf(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        ThrowWriteError(folder, errno);
    const int synced = ::syncfs(fd);
    const int error = errno;
    ::close(fd);
    if (synced != 0)
        ThrowWriteError(folder, error);
}

int WriterSystem::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

ssize_t WriterSystem::Write(int fd, const void* data, size_t size) { return ::write(fd, data, size); }

int WriterSystem::Sync(int fd) { return ::fsync(fd); }

int WriterSystem::Rename(const char* from, const char* to) { return ::rename(from, to); }

void SetWriterSystem(WriterSystem* system)
{
    g_system.store(system ? system : &g_systemCalls, std::memory_order_release);
}

std::string ResolveLinkTarget(const std::string& path)
{
    std::string current = path;
    for (int step = 0; step <= kMaxLinkSteps; ++step) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::vector<char> link(PATH_MAX + 1);
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size() - 1);
        if (length < 0)
            ThrowCreateError(path, errno);
        const std::string next(link.data(), static_cast<size_t>(length));
        current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
    }
    ThrowCreateError(path, ELOOP);
}

int OpenUniqueFileIn(const std::string& folder, const std::string& stem, mode_t mode, std::string& name)
{
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        name = CandidateName(folder, stem, attempt);
        const int fd = System().Open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            return -errno;
    }
    return -EEXIST;
}

std::string CreateUniqueFileIn(const std::string& folder, const std::string& stem, int& fd, mode_t mode)
{
    std::string name;
    fd = OpenUniqueFileIn(folder, stem, mode, name);
    if (fd < 0)
        throw EFCreateError("Cannot create a file in \"" + folder + "\": " + SystemReason(-fd), folder, -fd);
    return name;
}

AtomicWriter::AtomicWriter(const std::string& path, Permissions permissions) : m_target(ResolveLinkTarget(path))
{
    struct stat previous {};
    const bool replacing = ::stat(m_target.c_str(), &previous) == 0;
    if (!replacing && errno != ENOENT) // a name too long, a folder that cannot be searched ...
        ThrowCreateError(path, errno);
    if (replacing && S_ISDIR(previous.st_mode))
        ThrowCreateError(path, EISDIR);
    // A replaced file's content is never readable by more people than before, not even while it is written.
    const int fd = OpenUniqueFileIn(FolderOf(m_target), NameOf(m_target), replacing ? 0600 : 0666, m_temporary);
    if (fd < 0) {
        m_temporary.clear();
        ThrowCreateError(path, -fd);
    }
    m_output = std::make_unique<Output>(fd, m_target);
    mode_t mode = previous.st_mode & 0777;
    struct stat created {};
    if (replacing) {
        // Owner and group are kept where the system allows it (a file of one's own, a group one belongs to).
        [[maybe_unused]] const int kept = ::fchown(fd, previous.st_uid, previous.st_gid);
    } else if (::fstat(fd, &created) == 0) {
        mode = created.st_mode & 0777;
    }
    if (permissions == Permissions::Executable)
        mode = WithExecute(mode);
    ::fchmod(fd, mode);
}

AtomicWriter::~AtomicWriter() { Discard(); }

Stream& AtomicWriter::GetStream() { return *m_output; }

void AtomicWriter::Commit()
{
    if (m_committed)
        return;
    try {
        m_output->Finish();
        if (System().Rename(m_temporary.c_str(), m_target.c_str()) != 0) {
            const int error = errno;
            throw EWriteError("Cannot replace \"" + m_target + "\": " + SystemReason(error), m_target, error);
        }
    } catch (...) {
        Discard();
        throw;
    }
    m_committed = true;
    SyncFolder(FolderOf(m_target));
}

void AtomicWriter::Discard()
{
    if (m_committed || m_temporary.empty())
        return;
    m_output->Close();
    ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

void WriteFileAtomically(const std::string& path, const void* data, size_t size, bool executable)
{
    AtomicWriter writer(path, executable ? AtomicWriter::Permissions::Executable : AtomicWriter::Permissions::Plain);
    writer.GetStream().WriteBuffer(data, static_cast<int64_t>(size));
    writer.Commit();
}

void WriteFileAtomically(const std::string& path, const std::string& data, bool executable)
{
    WriteFileAtomically(path, data.data(), data.size(), executable);
}
