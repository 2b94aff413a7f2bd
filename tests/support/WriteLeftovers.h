#pragma once
// What tests of saving look at: temporaries left beside a target, and a file size limit that makes writes fail
// part way as a full disk would.

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>

// Names in folder that the atomic writer gives its temporaries (".vellora-..."), or the old fixed ones.
inline std::vector<std::string> TemporariesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const bool old = name.size() > 5 && (name.ends_with(".part") || name.ends_with(".tmp"));
        if (name.rfind(".vellora-", 0) == 0 || old)
            names.push_back(name);
    }
    return names;
}

// While it lives, no file of this process may grow beyond the limit: writes fail with EFBIG (SIGXFSZ ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_signal)(int) = SIG_DFL;
};
