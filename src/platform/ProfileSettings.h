#pragma once
// The program's settings file: a small INI file ("[Section]" lines, then "key=value" lines) that stands in for
// the original platform's WIN.INI, where a few shared settings live (the user's default scanner source under
// [TWAIN] "DEFAULT SOURCE"). Section and key names compare without regard to ASCII case, as there.
//
// The file is the one the program set for its settings folder (SetSettingsFilePath), else
// $XDG_CONFIG_HOME/vellora/vellora.ini ($HOME/.config when XDG_CONFIG_HOME is not set). It is read afresh on
// every call, so the program and the libraries it loads see each other's changes. A file that cannot
// be read, or is larger than kMaxSettingsFile, reads as empty; writing keeps every other line as it was and
// replaces the file atomically, and never writes over a file it could not read whole.

#include <cstddef>
#include <string>

constexpr size_t kMaxSettingsFile = 1024 * 1024;

std::string SettingsFilePath();
// Sets the settings file for this process and the libraries it loads (through the environment variable
// VELLORA_SETTINGS_FILE, which they read too); a path that is not absolute is ignored.
void SetSettingsFilePath(const std::string& path);

class ProfileSettings {
public:
    explicit ProfileSettings(std::string path = SettingsFilePath()) : m_path(std::move(path)) {}

    // The value of key in section; defaultValue when the file, the section or the key is not there.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // Sets the value (line breaks in it become blanks), adding the key and the section where needed; makes the
    // file's folder when it is missing. EFCreateError or EWriteError when the file cannot be written, EReadError
    // when the present file cannot be read whole.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Removes the key's line; nothing happens when it is not there.
    void DeleteKey(const std::string& section, const std::string& key);

    const std::string& GetPath() const { return m_path; }

private:
    void Change(const std::string& section, const std::string& key, const std::string* value);

    std::string m_path;
};
