// From the program's start to its main menu on the screen, with the default data: the splash window, the
// start-up of the main menu (folders, the main data file with every skin picture, the design previews, the
// sound system, the audio library and the sound lists), the creation of the other screens and the first
// showing of the main menu. Process launch and the toolkit's own start are not included.
//
// The data is taken from VELLORA_PROGRAM_DIR, or else from the benchmark's own folder, where the build's data
// kit writes bin/data and bin/designs. Start-up refuses a screen smaller than 1024 x 768, so run it on such a
// display (xvfb-run -s "-screen 0 1280x1024x24"), and with SDL_AUDIODRIVER=dummy on a machine without sound.
#include "app/ScreenCreation.h"
#include "app/StartupEnvironment.h"
#include "app/TFormMainMenu.h"
#include "app/TformSplash.h"
#include "platform/ProgramFolders.h"
#include "presentation/ClassList.h"
#include "screens/ScreenSet.h"
#include "screens/TokPopup.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWindow>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::string ProgramFolder()
{
    if (const char* folder = std::getenv("VELLORA_PROGRAM_DIR"))
        return folder;
    return QFile::encodeName(QApplication::applicationDirPath()).toStdString();
}

void WaitUntilShown(QWidget& window)
{
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    QApplication::processEvents();
}

// A start-up warning would wait for a person in its pop-up; the benchmark answers it.
void AnswerWarning()
{
    TokPopup* popup = Screens().okPopup.get();
    if (popup && QApplication::activeModalWidget() == popup)
        popup->ImgOKClick();
}

void BM_StartupToMainMenu(benchmark::State& state)
{
    const std::string folder = ProgramFolder();
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, &AnswerWarning);
    answer.start(5);
    for (auto _ : state) {
        auto splash = std::make_unique<TformSplash>();
        splash->show();
        splash->repaint();
        StartupEnvironment environment = StartupEnvironment::ForFolders(PortableFolders(folder));
        environment.screenSize = QSize(1024, 768); // the off-screen platform's own screen is smaller
        environment.showStatus = [&splash](const QString& text) { splash->SetStatus(text); };
        auto menu = std::make_unique<TFormMainMenu>(environment);
        if (menu->GetStartupState() != -1) {
            state.SkipWithError(
                ("start-up failed with state " + std::to_string(menu->GetStartupState()) + " in " + folder).c_str());
            break;
        }
        CreateScreens(environment.showStatus);
        splash.reset();
        menu->show();
        WaitUntilShown(*menu);

        state.PauseTiming();
        menu->hide();
        DestroyScreens();
        menu.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToMainMenu)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    RegisterAllClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
