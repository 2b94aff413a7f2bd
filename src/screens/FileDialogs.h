#pragma once
// The file dialogs of the screens, behind an interface so that tests answer them without a person.

#include <QString>

#include <optional>
#include <string>

struct FileDialogRequest {
    QString title;
    // Pairs of description and pattern separated by "|", e.g. "Vellora project|*.evp".
    QString filter;
    std::string initialFolder;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen existing file, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
};

FileDialogs& Dialogs();
// Replaces the dialogs; nullptr restores the system's.
void SetDialogs(FileDialogs* dialogs);

// "Vellora project|*.evp" as the dialogs of the toolkit write it: "Vellora project (*.evp)".
QString ToolkitFilter(const QString& filter);
