#include "platform/TempFiles.h"

#include <QDir>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>

#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr const char* kPrivatePrefix = "vellora-";

std::mutex g_mutex;
std::string g_folder;  // what TempFolder answers, with its trailing "/"
std::string g_private; // this process's private folder, without the "/"; empty when there is none
// The private folder for the signal handler, which may not touch a std::string that another thread changes.
char g_signalPath[PATH_MAX];

std::string g_base; // set by SetTempBase, without a trailing "/"; empty for the system's temporary folder

// Called with g_mutex held.
std::string TempBase()
{
    if (!g_base.empty())
        return g_base;
    std::string base = QDir::tempPath().toStdString();
    return base.empty() ? std::string("/tmp") : base;
}

// Only system calls, so it may run in a signal handler. The folder holds files only (the program puts no
// folders there); a folder found anyway is removed when it is empty.
void RemoveFolderFromSignal(const char* path)
{
    if (path[0] == '\0')
        return;
    const int folder = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return;
    char entries[4096];
    for (;;) {
        const long length = ::syscall(SYS_getdents64, folder, entries, sizeof entries);
        if (length <= 0)
            break;
        for (long at = 0; at < length;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(entries + at);
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0 && ::unlinkat(folder, name, 0) != 0)
                ::unlinkat(folder, name, AT_REMOVEDIR);
            at += entry->d_reclen;
        }
    }
    ::close(folder);
    ::rmdir(path);
}

void RemovePrivateFolderAtExit() { RemovePrivateTempFolder(); }

// Called with g_mutex held. Falls back to the system's temporary folder when no private folder can be made, so
// the program still works where the temporary folder is odd.
std::string MakePrivateFolder()
{
    const std::string base = TempBase();
    std::string name = base + "/" + kPrivatePrefix + std::to_string(::getpid()) + "-XXXXXX";
    if (!::mkdtemp(name.data()) || name.size() >= sizeof g_signalPath)
        return base + "/";
    g_private = name;
    std::memcpy(g_signalPath, name.c_str(), name.size() + 1);
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit(RemovePrivateFolderAtExit); });
    return name + "/";
}

// The owner's process id of a private folder's name "vellora-<pid>-XXXXXX", or 0 when the name is not one.
pid_t OwnerOf(const std::string& name)
{
    const size_t prefix = std::strlen(kPrivatePrefix);
    if (name.compare(0, prefix, kPrivatePrefix) != 0)
        return 0;
    const size_t dash = name.find('-', prefix);
    if (dash == std::string::npos || dash == prefix || name.size() != dash + 7)
        return 0;
    pid_t pid = 0;
    for (size_t i = prefix; i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9' || pid > 100000000)
            return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

} // namespace

void EndProcessForSignal(int signal)
{
    const int saved = errno;
    RemoveFolderFromSignal(g_signalPath);
    errno = saved;
    // The program then ends as the signal says, so a parent sees the usual status.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

std::string TempFolder()
{
    std::lock_guard lock(g_mutex);
    if (g_folder.empty())
        g_folder = MakePrivateFolder();
    return g_folder;
}

void SetTempFolder(const std::string& folder)
{
    std::lock_guard lock(g_mutex);
    g_folder = folder;
    if (!g_folder.empty() && g_folder.back() != '/')
        g_folder += '/';
}

void SetTempBase(const std::string& base)
{
    std::lock_guard lock(g_mutex);
    g_base = base;
    while (g_base.size() > 1 && g_base.back() == '/')
        g_base.pop_back();
}

void RemovePrivateTempFolder()
{
    std::lock_guard lock(g_mutex);
    if (g_private.empty())
        return;
    g_signalPath[0] = '\0';
    std::error_code ignored;
    std::filesystem::remove_all(g_private, ignored);
    if (g_folder == g_private + "/")
        g_folder.clear();
    g_private.clear();
}

int RemoveStaleTempFolders(const std::string& base)
{
    namespace fs = std::filesystem;
    std::string folder = base;
    if (folder.empty()) {
        std::lock_guard lock(g_mutex);
        folder = TempBase();
    }
    std::error_code error;
    int removed = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const pid_t owner = OwnerOf(entry.path().filename().string());
        struct stat info {};
        if (owner <= 0 || owner == ::getpid() || ::lstat(entry.path().c_str(), &info) != 0)
            continue;
        if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
            continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH)
            continue; // still running, or someone else's process
        std::error_code ignored;
        if (fs::remove_all(entry.path(), ignored) > 0)
            ++removed;
    }
    return removed;
}

void PrepareProcess(const std::string& tempBase)
{
    ::signal(SIGXFSZ, SIG_IGN);
    if (!tempBase.empty())
        SetTempBase(tempBase);
    RemoveStaleTempFolders();
    TempFolder();
    struct sigaction action {};
    action.sa_handler = EndProcessForSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // A signal the program was started to ignore (nohup, a background job) stays ignored.
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            ::sigaction(signal, &action, nullptr);
    }
}

std::string BareFileName(std::string_view name)
{
    const size_t cut = name.find_last_of("/\\");
    std::string bare(cut == std::string_view::npos ? name : name.substr(cut + 1));
    if (bare == "." || bare == "..")
        return {};
    return bare;
}

std::string UniqueTempFileName(std::string_view templ)
{
    std::string bare = BareFileName(templ);
    if (bare.empty())
        bare = "ev.tmp";
    const size_t dot = bare.rfind('.');
    const std::string base = dot == std::string::npos ? bare : bare.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : bare.substr(dot);
    const std::string folder = TempFolder();
    for (long n = 0;; ++n) {
        std::string candidate = folder + base + std::to_string(n) + ext;
        if (FileExists(candidate))
            continue;
        // Creating the file with O_EXCL takes the name for this process: a second program choosing at the same
        // moment moves on to the next number instead of sharing the file.
        const int fd = ::open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST)
            return candidate; // an unwritable folder: the caller's own create reports it
    }
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(path), ec);
}

bool DeleteFileIfExists(const std::string& path)
{
    if (path.empty())
        return true;
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(path), ec);
    return !FileExists(path);
}
