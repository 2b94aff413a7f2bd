#include "platform/Resources.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

#include <QFile>

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

// The file is written beside its name and takes its place when complete, so a disc folder that played before
// never holds a cut program or icon, whatever stops the writing.
void SaveResourceToFile(std::string_view name, const std::string& path)
{
    QByteArray data;
    if (!ReadResource(name, data))
        throw EFOpenError("The program carries no resource \"" + std::string(name) + "\"");
    WriteFileAtomically(path, data.constData(), static_cast<size_t>(data.size()));
}

void SaveExecutableResourceToFile(std::string_view name, const std::string& path)
{
    QByteArray data;
    if (!ReadResource(name, data))
        throw EFOpenError("The program carries no resource \"" + std::string(name) + "\"");
    WriteFileAtomically(path, data.constData(), static_cast<size_t>(data.size()), true);
}
