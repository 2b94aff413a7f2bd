#include "screens/FileDialogs.h"

#include "platform/UserSettings.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include <filesystem>
#include <system_error>

namespace {

class SystemFileDialogs : public FileDialogs {
public:
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override
    {
        const QString chosen = QFileDialog::getOpenFileName(
            nullptr, request.title, QFile::decodeName(request.initialFolder.c_str()), ToolkitFilter(request.filter));
        if (chosen.isEmpty())
            return std::nullopt;
        return QFile::encodeName(chosen).toStdString();
    }

    std::vector<std::string> OpenFiles(const FileDialogRequest& request) override
    {
        const QStringList chosen = QFileDialog::getOpenFileNames(
            nullptr, request.title, QFile::decodeName(request.initialFolder.c_str()), ToolkitFilter(request.filter));
        std::vector<std::string> names;
        for (const QString& name : chosen)
            names.push_back(QFile::encodeName(name).toStdString());
        return names;
    }

    std::optional<std::string> SaveFile(const FileDialogRequest& request) override
    {
        QFileDialog dialog(nullptr, request.title, QFile::decodeName(request.initialFolder.c_str()),
                           ToolkitFilter(request.filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        QString extension = request.defaultExtension;
        if (extension.startsWith(QLatin1Char('.')))
            extension.remove(0, 1);
        dialog.setDefaultSuffix(extension);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
    }

    std::optional<std::string> ChooseFolder(const QString& title, const std::string& initialFolder) override
    {
        const QString chosen = QFileDialog::getExistingDirectory(
            nullptr, title, QFile::decodeName(initialFolder.c_str()), QFileDialog::ShowDirsOnly);
        if (chosen.isEmpty())
            return std::nullopt;
        return QFile::encodeName(chosen).toStdString();
    }
};

FileDialogs* g_dialogs = nullptr;

} // namespace

namespace {

const char* SettingName(DialogPurpose purpose)
{
    switch (purpose) {
    case DialogPurpose::Pictures: return "folder.pictures";
    case DialogPurpose::Music: return "folder.music";
    case DialogPurpose::DiscFolder: return "folder.disc";
    }
    return "folder.other";
}

} // namespace

std::string RememberedFolder(DialogPurpose purpose)
{
    const std::string folder = Settings().Get(SettingName(purpose));
    std::error_code error;
    return !folder.empty() && std::filesystem::is_directory(folder, error) ? folder : std::string();
}

void RememberFolder(DialogPurpose purpose, const std::string& folder) { Settings().Set(SettingName(purpose), folder); }

void RememberFolderOf(DialogPurpose purpose, const std::string& file)
{
    RememberFolder(purpose, std::filesystem::path(file).parent_path().string());
}

std::vector<std::string> FileDialogs::OpenFiles(const FileDialogRequest& request)
{
    std::optional<std::string> chosen = OpenFile(request);
    if (!chosen)
        return {};
    return {std::move(*chosen)};
}

FileDialogs& Dialogs()
{
    static SystemFileDialogs system;
    return g_dialogs ? *g_dialogs : system;
}

void SetDialogs(FileDialogs* dialogs) { g_dialogs = dialogs; }

QString ToolkitFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i] + " (" + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) + ")";
    return entries.join(QLatin1String(";;"));
}
