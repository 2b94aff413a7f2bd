#include "app/ProgramEntry.h"

#include "app/ScreenCreation.h"
#include "app/StartupEnvironment.h"
#include "app/TFormMainMenu.h"
#include "app/TformSplash.h"
#include "model/evObjectCollection.h"
#include "platform/EndingSignals.h"
#include "platform/Log.h"
#include "platform/MessageHook.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"

#include "platform/TempFiles.h"

#include <QApplication>
#include <QMessageBox>
#include <QSessionManager>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <utility>

const char* const kProgramUsage = "usage: vellora [--check-startup]\n";

namespace {

void ShowFailure(const QString& text, const ProgramOptions& options)
{
    if (options.checkStartup)
        std::fprintf(stderr, "vellora: %s\n", text.toLocal8Bit().constData());
    else
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), text);
}

// Errors that reach the application's edge while it runs (a scanner that failed, for one) are shown over the
// active screen; the run goes on.
void ShowRunError(const std::exception& error)
{
    QString text = QString::fromLocal8Bit(error.what());
    text.replace("\r\n", "\n");
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), text);
}

// The screens and the message loop of a successful start-up. A signal that asks the program to end, and the
// desktop's logout, keep the open project's changes and end the loop; the screens then close as usual.
int RunMainMenu(TFormMainMenu& mainMenu)
{
    QObject::connect(&mainMenu, &QDialog::finished, qApp, &QCoreApplication::quit);
    EndingSignals endingSignals;
    QObject::connect(&endingSignals, &EndingSignals::requested, &mainMenu, [&mainMenu] { mainMenu.EndByRequest(); });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &mainMenu,
                     [&mainMenu](QSessionManager&) { mainMenu.EndByRequest(); });
    mainMenu.show();
    const int status = QApplication::exec();
    DestroyScreens();
    return status;
}

// --check-startup: the main menu is shown (its first-show pop-ups never run, as no event is processed), then
// the folders of the run are printed and the program ends.
int CheckMainMenu(TFormMainMenu& mainMenu)
{
    mainMenu.show();
    const bool shown = mainMenu.isVisible() && mainMenu.ImgBG->HasPicture();
    mainMenu.hide();
    DestroyScreens();
    const ProgramFolders& folders = mainMenu.GetFolders();
    const std::pair<const char*, std::string> lines[] = {
        {"layout", folders.layout == FolderLayout::Installed ? "installed" : "portable"},
        {"program", folders.programFolder},
        {"data", folders.dataFolder},
        {"designs", folders.designsFolder},
        {"user-designs", folders.userDesignsFolder},
        {"projects", folders.projectsFolder},
        {"settings", folders.settingsFolder},
        {"studio-record", folders.studioDataFile},
        {"temporary", TempFolder()},
        {"designs-offered", std::to_string(mainMenu.GetDesigns().Count())},
    };
    for (const auto& [name, value] : lines)
        std::printf("%s %s\n", name, value.c_str());
    std::printf("%s\n", shown ? "main menu shown" : "main menu not shown");
    std::fflush(stdout);
    return shown ? 0 : 1;
}

} // namespace

std::optional<ProgramOptions> ParseProgramOptions(const QStringList& arguments)
{
    ProgramOptions options;
    for (const QString& argument : arguments) {
        if (argument == "--check-startup")
            options.checkStartup = true;
        else
            return std::nullopt;
    }
    return options;
}

QString StartupFailureMessage(int32_t startupState)
{
    switch (startupState) {
    case -2:
        return "Vellora is unable to create necessary folders on your disk drive. Therefore, the main program cannot "
               "be initialized. Please try to re-install Vellora.";
    case -3:
        return "Vellora is unable to load necessary files.Therefore, the main program cannot be initialized.Please "
               "try to re-install Vellora.";
    default: return HelpText(startupState);
    }
}

int RunProgram(const ProgramFolders& folders, const ProgramOptions& options)
{
    auto splash = std::make_unique<TformSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setApplicationDisplayName("Vellora");
    SetApplicationExceptionDisplay(ShowRunError);

    StartupEnvironment environment = StartupEnvironment::ForFolders(folders);
    environment.showStatus = [&splash](const QString& text) { splash->SetStatus(text); };
    auto mainMenu = std::make_unique<TFormMainMenu>(environment);
    try {
        if (mainMenu->GetStartupState() == -1)
            CreateScreens(environment.showStatus);
    } catch (const std::exception& e) {
        splash.reset();
        DestroyScreens();
        ShowFailure(QString::fromLocal8Bit(e.what()), options);
        return 1;
    }
    splash.reset();
    if (mainMenu->GetStartupState() != -1) {
        ShowFailure(StartupFailureMessage(mainMenu->GetStartupState()), options);
        return 1;
    }
    return options.checkStartup ? CheckMainMenu(*mainMenu) : RunMainMenu(*mainMenu);
}
