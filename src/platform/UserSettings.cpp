#include "platform/UserSettings.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>
#include <utility>

namespace {

bool IsName(const std::string& name)
{
    if (name.empty() || name.size() > 64)
        return false;
    for (const char c : name) {
        const bool allowed =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_';
        if (!allowed)
            return false;
    }
    return true;
}

bool IsValue(const std::string& value)
{
    return value.size() <= UserSettings::kMaxValueBytes && value.find_first_of("\r\n") == std::string::npos &&
           value.find('\0') == std::string::npos;
}

std::string DefaultPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (folder.isEmpty())
        return {};
    return QFile::encodeName(folder + QStringLiteral("/settings.txt")).toStdString();
}

std::string& ChosenPath()
{
    static std::string path;
    return path;
}

std::unique_ptr<UserSettings>& Current()
{
    static std::unique_ptr<UserSettings> settings;
    return settings;
}

} // namespace

UserSettings::UserSettings(std::string path) : m_path(std::move(path)) { Load(); }

std::string UserSettings::Get(const std::string& name) const
{
    const auto found = m_values.find(name);
    return found == m_values.end() ? std::string() : found->second;
}

void UserSettings::Set(const std::string& name, const std::string& value)
{
    if (!IsName(name) || !IsValue(value) || Get(name) == value)
        return;
    m_values[name] = value;
    Save();
}

void UserSettings::Load()
{
    QFile file(QFile::decodeName(m_path.c_str()));
    if (m_path.empty() || !file.open(QIODevice::ReadOnly) || file.size() > qint64(kMaxFileBytes))
        return;
    const QByteArray bytes = file.read(qint64(kMaxFileBytes) + 1);
    if (bytes.size() > qsizetype(kMaxFileBytes))
        return;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        const std::string name = line.left(equals).toStdString();
        std::string value = line.mid(equals + 1).toStdString();
        if (!value.empty() && value.back() == '\r')
            value.pop_back();
        if (IsName(name) && IsValue(value))
            m_values[name] = value;
    }
}

void UserSettings::Save() const
{
    if (m_path.empty())
        return;
    std::string text;
    for (const auto& [name, value] : m_values)
        text += name + "=" + value + "\n";
    try {
        const QString folder = QFileInfo(QFile::decodeName(m_path.c_str())).absolutePath();
        QDir().mkpath(folder);
        WriteFileAtomically(m_path, text);
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Settings not saved: ") + e.what());
    }
}

UserSettings& Settings()
{
    if (!Current())
        Current() = std::make_unique<UserSettings>(ChosenPath().empty() ? DefaultPath() : ChosenPath());
    return *Current();
}

void SetUserSettingsFile(const std::string& path)
{
    ChosenPath() = path;
    Current().reset();
}
