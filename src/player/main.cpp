// evplay: the player program of a disc folder. It shows "data/data.evp" from the folder it was started from.
//
//   evplay [--quit-after MS [--snapshot FILE]]
//
// --quit-after ends the program after MS milliseconds (also from the error message), for unattended runs;
// --snapshot then saves what the window shows at that moment as an image file.
// Exit status 0 after a show, 1 when the presentation cannot be read, 2 for a bad command line.

#include "audio/BassLibrary.h"
#include "model/evFade.h"
#include "platform/Errors.h"
#include "platform/SystemAudio.h"
#include "platform/TempFiles.h"
#include "player/PlayerWindow.h"
#include "presentation/ClassList.h"
#include "presentation/PresentationFile.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <new>
#include <optional>
#include <string>

namespace {

struct Options {
    int quitAfterMs = -1;
    QString snapshot;
};

std::optional<Options> ParseOptions(const QStringList& arguments)
{
    Options options;
    for (int i = 1; i < arguments.size(); i += 2) {
        if (i + 1 >= arguments.size())
            return std::nullopt;
        const QString& name = arguments[i];
        const QString& value = arguments[i + 1];
        if (name == QStringLiteral("--snapshot")) {
            options.snapshot = value;
        } else if (name == QStringLiteral("--quit-after")) {
            bool number = false;
            options.quitAfterMs = value.toInt(&number);
            if (!number || options.quitAfterMs < 0)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!options.snapshot.isEmpty() && options.quitAfterMs < 0)
        return std::nullopt;
    return options;
}

std::string PresentationPath()
{
    return (QCoreApplication::applicationDirPath() + QStringLiteral("/data/data.evp")).toStdString();
}

void QuitLater(const Options& options, QWidget& window)
{
    if (options.quitAfterMs < 0)
        return;
    QTimer::singleShot(options.quitAfterMs, &window, [&window, snapshot = options.snapshot] {
        if (!snapshot.isEmpty() && !window.grab().save(snapshot))
            std::fprintf(stderr, "evplay: cannot save the snapshot \"%s\"\n", qPrintable(snapshot));
        QCoreApplication::exit(0);
    });
}

int ReportUnreadable(const std::string& path, const std::string& reason, const Options& options)
{
    std::fprintf(stderr, "evplay: the presentation \"%s\" cannot be read: %s\n", path.c_str(), reason.c_str());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vellora"),
                    QStringLiteral("The presentation on this disc cannot be shown.\n\n%1\n%2")
                        .arg(QString::fromStdString(path), QString::fromStdString(reason)),
                    QMessageBox::Ok);
    if (options.quitAfterMs >= 0)
        QTimer::singleShot(options.quitAfterMs, &box, [&box] { box.done(QMessageBox::Ok); });
    box.exec();
    return 1;
}

int Show(const Options& options)
{
    const std::string path = PresentationPath();
    std::unique_ptr<PresentationFile> presentation;
    try {
        presentation = PresentationFile::ReadFromFile(path);
    } catch (const EVelloraError& e) {
        return ReportUnreadable(path, e.what(), options);
    } catch (const std::bad_alloc&) {
        return ReportUnreadable(path, "not enough memory", options);
    }
    int status = 0;
    try {
        PlayerWindow window(*presentation);
        // Without a window manager a full-screen request alone leaves the window at its first size.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            window.setGeometry(screen->geometry());
        window.showFullScreen();
        window.Begin();
        QuitLater(options, window);
        status = QApplication::exec();
    } catch (const EVelloraError& e) {
        status = ReportUnreadable(path, e.what(), options);
    } catch (const std::bad_alloc&) {
        status = ReportUnreadable(path, "not enough memory", options);
    }
    evFade::Stop();
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    PrepareProcess();
    QApplication app(argc, argv);
    const std::optional<Options> options = ParseOptions(QApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "usage: evplay [--quit-after MS [--snapshot FILE]]\n");
        return 2;
    }
    RegisterAllClasses();
    // Music tracks bind to the audio library while they are read, so it is loaded first.
    soundAvailable = true;
    StartAudio(nullptr, SystemVolume());
    const int status = Show(*options);
    StopAudio();
    UnregisterAllClasses();
    return status;
}
