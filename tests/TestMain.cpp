// Shared entry of every test program: a Qt application (offscreen in CTest) around GoogleTest.
#include "platform/TempFiles.h"
#include "platform/UserSettings.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "presentation/ClassList.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    RegisterAllClasses();
    // Each test program gets a temporary folder of its own, so programs that CTest runs side by side never
    // meet each other's numbered temporary files.
    QTemporaryDir temp(QDir::tempPath() + "/vellora-test-XXXXXX");
    if (temp.isValid())
        SetTempFolder(temp.path().toStdString());
    // What the screens remember between runs stays in that folder too, never in the user's own settings.
    SetUserSettingsFile(temp.isValid() ? temp.path().toStdString() + "/settings.txt" : std::string());
    return RUN_ALL_TESTS();
}
