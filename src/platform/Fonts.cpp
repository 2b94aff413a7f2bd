#include "platform/Fonts.h"

#include "platform/Text.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <map>

namespace {
// Font files added in this run, by path, with the id the font database gave them.
std::map<std::string, int>& AddedFonts()
{
    static std::map<std::string, int> fonts;
    return fonts;
}
} // namespace

bool Fonts::AddFontFile(const std::string& path)
{
    if (AddedFonts().count(path) != 0)
        return true;
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
    if (id < 0)
        return false;
    AddedFonts()[path] = id;
    return true;
}

bool Fonts::RemoveFontFile(const std::string& path)
{
    const auto found = AddedFonts().find(path);
    if (found == AddedFonts().end())
        return false;
    QFontDatabase::removeApplicationFont(found->second);
    AddedFonts().erase(found);
    return true;
}

std::vector<std::string> Fonts::InstalledFamilies()
{
    std::vector<std::string> families;
    for (const QString& family : QFontDatabase::families())
        families.push_back(family.toStdString());
    return families;
}

// Face names compare without regard to case, as font names do on the original platform.
bool Fonts::IsInstalled(const std::string& family)
{
    const QString wanted = ToDisplay(family);
    for (const QString& known : QFontDatabase::families())
        if (known.compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
