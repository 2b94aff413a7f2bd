#include "app/ProgramEntry.h"

#include "app/ScreenCreation.h"
#include "app/StartupEnvironment.h"
#include "app/TFormMainMenu.h"
#include "app/TformSplash.h"
#include "platform/MessageHook.h"
#include "screens/ScreenSet.h"
#include "screens/SkinService.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

#include <exception>
#include <memory>

namespace {

void ShowFailure(const QString& text)
{
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

// The screens and the message loop of a successful start-up.
int RunMainMenu(TFormMainMenu& mainMenu)
{
    QObject::connect(&mainMenu, &QDialog::finished, qApp, &QCoreApplication::quit);
    mainMenu.show();
    const int status = QApplication::exec();
    DestroyScreens();
    return status;
}

} // namespace

QString StartupFailureMessage(int32_t startupState)
{
    switch (startupState) {
    case -2:
        return "Vellora is unable to create necessary folders on your disk drive. Therefore, the main program cannot "
               "be initialized. Please try to re-install Vellora.";
    case -3:
        return "Vellora is unable to load necessary files.Therefore, the main program cannot be initialized.Please "
               "try to re-install Vellora.";
    default:
        return HelpText(startupState);
    }
}

int RunProgram()
{
    auto splash = std::make_unique<TformSplash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setApplicationDisplayName("Vellora");
    SetApplicationExceptionDisplay(ShowRunError);

    StartupEnvironment environment =
        StartupEnvironment::ForProgramFolder(QFile::encodeName(QApplication::applicationDirPath()).toStdString());
    environment.showStatus = [&splash](const QString& text) { splash->SetStatus(text); };
    auto mainMenu = std::make_unique<TFormMainMenu>(environment);
    try {
        if (mainMenu->GetStartupState() == -1)
            CreateScreens(environment.showStatus);
    } catch (const std::exception& e) {
        splash.reset();
        DestroyScreens();
        ShowFailure(QString::fromLocal8Bit(e.what()));
        return 1;
    }
    splash.reset();
    if (mainMenu->GetStartupState() != -1) {
        ShowFailure(StartupFailureMessage(mainMenu->GetStartupState()));
        return 1;
    }
    return RunMainMenu(*mainMenu);
}
