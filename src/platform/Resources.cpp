#include "platform/Resources.h"

#include "platform/Errors.h"
#include "platform/Stream.h"

#include <QFile>

#include <filesystem>
#include <mutex>

// The resources of this library sit in a static archive; naming the registration function pulls them into every
// program that reads a resource. (Resources added by the build, such as the audio library, register themselves.)
static void InitCoreResources()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(resources); });
}

namespace {

// Resource names are plain identifiers; anything else (a path, a wildcard) names no resource.
QString ResourcePath(std::string_view name)
{
    if (name.empty())
        return {};
    QString upper;
    for (char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!plain)
            return {};
        upper += QChar(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return QStringLiteral(":/resources/") + upper;
}

// Only a plain file is ever removed; a device or anything else at the path is left alone.
void RemoveIfRegularFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::path(path), error))
        std::filesystem::remove(std::filesystem::path(path), error);
}

} // namespace

bool HasResource(std::string_view name)
{
    InitCoreResources();
    const QString path = ResourcePath(name);
    return !path.isEmpty() && QFile::exists(path);
}

bool ReadResource(std::string_view name, QByteArray& data)
{
    data.clear();
    if (!HasResource(name))
        return false;
    QFile file(ResourcePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    data = file.readAll();
    return true;
}

void SaveResourceToFile(std::string_view name, const std::string& path)
{
    QByteArray data;
    if (!ReadResource(name, data))
        throw EFOpenError("The program carries no resource \"" + std::string(name) + "\"");
    try {
        FileStream file(path, FileStream::Mode::Create);
        file.WriteBuffer(data.constData(), data.size());
        file.Flush();
    } catch (const EWriteError&) {
        RemoveIfRegularFile(path);
        throw;
    }
}

void SaveExecutableResourceToFile(std::string_view name, const std::string& path)
{
    SaveResourceToFile(name, path);
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::perms current = fs::status(fs::path(path), error).permissions();
    fs::perms execute = fs::perms::none;
    if (!error) {
        if ((current & fs::perms::owner_read) != fs::perms::none)
            execute |= fs::perms::owner_exec;
        if ((current & fs::perms::group_read) != fs::perms::none)
            execute |= fs::perms::group_exec;
        if ((current & fs::perms::others_read) != fs::perms::none)
            execute |= fs::perms::others_exec;
        fs::permissions(fs::path(path), execute, fs::perm_options::add, error);
    }
    if (error)
        throw EFCreateError("Cannot make \"" + path + "\" executable: " + error.message());
}
