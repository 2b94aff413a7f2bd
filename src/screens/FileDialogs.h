#pragma once
// The file dialogs of the screens, behind an interface so that tests answer them without a person.

#include <QString>

#include <optional>
#include <string>
#include <vector>

struct FileDialogRequest {
    QString title;
    // Pairs of description and pattern separated by "|", e.g. "Vellora project|*.evp".
    QString filter;
    std::string initialFolder;
    // Save dialogs: the extension added by the dialog when the typed name has none (".evp"); empty for none.
    QString defaultExtension;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen existing file, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
    // Several existing files chosen at once, in the dialog's order; empty when cancelled. Dialogs that cannot
    // choose several answer with their single choice.
    virtual std::vector<std::string> OpenFiles(const FileDialogRequest& request);
    // The file name chosen to save to (it may exist; the dialog asks before replacing), or nothing.
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
    // The chosen existing folder (file-system folders only), or nothing when cancelled.
    virtual std::optional<std::string> ChooseFolder(const QString& title, const std::string& initialFolder) = 0;
};

// The folders the dialogs open in: each purpose remembers the folder of its last choice between runs (see
// UserSettings), the pictures apart from the projects and the music, as long as the folder still exists.
enum class DialogPurpose { Pictures, Music, DiscFolder };
// The folder of the last choice, or empty (the dialog then opens where it likes).
std::string RememberedFolder(DialogPurpose purpose);
// Remembers a chosen folder, or the folder of a chosen file.
void RememberFolder(DialogPurpose purpose, const std::string& folder);
void RememberFolderOf(DialogPurpose purpose, const std::string& file);

FileDialogs& Dialogs();
// Replaces the dialogs; nullptr restores the system's.
void SetDialogs(FileDialogs* dialogs);

// "Vellora project|*.evp" as the dialogs of the toolkit write it: "Vellora project (*.evp)".
QString ToolkitFilter(const QString& filter);
