#include "platform/TempFiles.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

namespace {
std::mutex g_mutex;
std::string g_folder;
}

std::string TempFolder()
{
    std::lock_guard lock(g_mutex);
    if (g_folder.empty()) {
        g_folder = QDir::tempPath().toStdString();
        if (g_folder.empty() || g_folder.back() != '/')
            g_folder += '/';
    }
    return g_folder;
}

void SetTempFolder(const std::string& folder)
{
    std::lock_guard lock(g_mutex);
    g_folder = folder;
    if (!g_folder.empty() && g_folder.back() != '/')
        g_folder += '/';
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
