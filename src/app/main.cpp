// Vellora: wedding and family photographs made into an interactive presentation on a disc.
#include "app/ProgramEntry.h"
#include "platform/ProfileSettings.h"
#include "platform/ProgramFolders.h"
#include "platform/TempFiles.h"
#include "presentation/ClassList.h"

#include <QApplication>

#include <cstdio>
#include <optional>

int main(int argc, char** argv)
{
    // The folders come first: the private temporary folder is made in the runtime folder they name.
    const ProgramFolders folders = FindProgramFolders(ProgramFileFolder(), FolderCheck::CreateAndWrite);
    PrepareProcess(folders.tempBase);
    // The settings file (the scanner's default source) lives in the settings folder of this layout.
    SetSettingsFilePath(folders.settingsFolder + "vellora.ini");
    QApplication application(argc, argv);
    const std::optional<ProgramOptions> options = ParseProgramOptions(QApplication::arguments().mid(1));
    if (!options) {
        std::fputs(kProgramUsage, stderr);
        return 2;
    }
    RegisterAllClasses();
    return RunProgram(folders, *options);
}
