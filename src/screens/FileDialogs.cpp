#include "screens/FileDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

namespace {

class SystemFileDialogs : public FileDialogs {
public:
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override
    {
        const QString chosen = QFileDialog::getOpenFileName(nullptr, request.title,
                                                            QFile::decodeName(request.initialFolder.c_str()),
                                                            ToolkitFilter(request.filter));
        if (chosen.isEmpty())
            return std::nullopt;
        return QFile::encodeName(chosen).toStdString();
    }
};

FileDialogs* g_dialogs = nullptr;

} // namespace

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
