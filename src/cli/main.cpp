// vellora-cli: inspect, convert and finish projects without a display.
//
//   vellora-cli dump --as KIND FILE
//   vellora-cli resave --as KIND IN OUT
//   vellora-cli finish PROJECT --out FOLDER [--designs DIR] [--data DIR] [--no-studio] [--studio-duration N]
//                      [--iso FILE.iso]
//   vellora-cli check PROJECT [--designs DIR]
//   vellora-cli video PROJECT --out FILE.mp4 [--designs DIR] [--data DIR] [--size 1920x1080|1280x720] [--seconds N]
//   vellora-cli label PROJECT --out FILE.pdf [--designs DIR] [--upper X,Y|off] [--lower X,Y|off]
//
// Damaged input, an unknown class or a missing file give one line on stderr and exit status 1.

#include "cli/CliCheck.h"
#include "cli/CliFinish.h"
#include "cli/CliKinds.h"
#include "cli/CliLabel.h"
#include "cli/CliVideo.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"
#include "presentation/ClassList.h"

#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Errors are reported on exactly one line, whatever a file name or message holds.
std::string OneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

int Usage()
{
    std::string kinds;
    for (const CliKind& kind : CliKinds())
        kinds += (kinds.empty() ? "" : "|") + kind.name;
    std::cerr << "usage: vellora-cli dump --as " << kinds << " FILE\n"
              << "       vellora-cli resave --as " << kinds << " IN OUT\n"
              << "       vellora-cli finish PROJECT --out FOLDER [--designs DIR] [--data DIR] [--no-studio]"
                 " [--studio-duration N] [--iso FILE.iso]\n"
              << "       vellora-cli check PROJECT [--designs DIR]\n"
              << "       vellora-cli video PROJECT --out FILE.mp4 [--designs DIR] [--data DIR]"
                 " [--size 1920x1080|1280x720] [--seconds N] [--no-studio] [--studio-duration N]\n"
              << "       vellora-cli label PROJECT --out FILE.pdf [--designs DIR] [--upper X,Y|off]"
                 " [--lower X,Y|off]\n";
    return 2;
}

// Takes "--as KIND" out of the arguments.
const CliKind* TakeKind(std::vector<std::string>& args)
{
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--as") {
            const CliKind* kind = FindCliKind(args[i + 1]);
            if (!kind)
                throw EVelloraError("unknown kind \"" + args[i + 1] + "\"");
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
            return kind;
        }
    }
    return nullptr;
}

int Dump(const CliKind& kind, const std::string& path)
{
    FileStream in(path, FileStream::Mode::OpenRead);
    std::ostringstream text; // printed only when the whole file was read
    const std::string what = "\"" + path + "\": the " + kind.name;
    ReadNamingFile(what, path, [&] { kind.dump(in, text); });
    in.ExpectEnd(what);
    std::cout << text.str() << std::flush;
    return 0;
}

int Resave(const CliKind& kind, const std::string& inPath, const std::string& outPath)
{
    MemoryStream written;
    {
        FileStream in(inPath, FileStream::Mode::OpenRead);
        const std::string what = "\"" + inPath + "\": the " + kind.name;
        ReadNamingFile(what, inPath, [&] { kind.resave(in, written); });
        in.ExpectEnd(what);
    }
    // The output is written beside its final name and renamed over it, so a failure never leaves half a file.
    WriteFileAtomically(outPath, written.Data().data(), written.Data().size());
    return 0;
}

// The program's folders (beside the program file, or the installed ones), looked at without creating any.
ProgramFolders Folders() { return FindProgramFolders(ProgramFileFolder(), FolderCheck::ExistingOnly); }

int Run(std::vector<std::string> args)
{
    if (args.empty())
        return Usage();
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "dump" || command == "resave") {
        const CliKind* kind = TakeKind(args);
        if (!kind)
            return Usage();
        if (command == "dump" && args.size() == 1)
            return Dump(*kind, args[0]);
        if (command == "resave" && args.size() == 2)
            return Resave(*kind, args[0], args[1]);
        return Usage();
    }
    if (command == "finish")
        return RunFinish(args, Folders());
    if (command == "check")
        return RunCheck(args, Folders());
    if (command == "video")
        return RunVideo(args, Folders());
    if (command == "label")
        return RunLabel(args, Folders());
    return Usage();
}

// Qt's own chatter (missing runtime folders, font fallbacks) would break the one-line error contract.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "vellora-cli: " << OneLine(message.toStdString()) << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    PrepareProcess();
    qInstallMessageHandler(QuietQtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterAllClasses();
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return Run(std::move(args));
    } catch (const std::bad_alloc&) {
        std::cerr << "vellora-cli: out of memory while reading\n";
    } catch (const std::exception& e) {
        std::cerr << "vellora-cli: " << OneLine(e.what()) << '\n';
    }
    return 1;
}
