#pragma once
// The few things the program remembers between runs (the folders last chosen in its dialogs): one small text
// file of "name=value" lines in UTF-8 in the user's configuration folder. A missing, unreadable, oversized or
// damaged file counts as empty (damaged lines are skipped); a change is written at once to a temporary beside the
// file and renamed over it, and a failure to write is logged and otherwise ignored, since nothing depends on it.

#include <map>
#include <string>

class UserSettings {
public:
    // Larger files are no settings of ours and are not read.
    static constexpr size_t kMaxFileBytes = 64 * 1024;
    static constexpr size_t kMaxValueBytes = 4096;

    explicit UserSettings(std::string path);

    // The value, or empty when there is none.
    std::string Get(const std::string& name) const;
    // Names are letters, digits, dots and underscores; values one line of at most kMaxValueBytes. Anything else is
    // not stored.
    void Set(const std::string& name, const std::string& value);

private:
    void Load();
    void Save() const;

    std::string m_path;
    std::map<std::string, std::string> m_values;
};

// The program's settings, in the user's configuration folder unless SetUserSettingsFile chose another file
// (tests; an empty path restores the default).
UserSettings& Settings();
void SetUserSettingsFile(const std::string& path);
