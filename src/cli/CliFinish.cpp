#include "cli/CliFinish.h"

#include "audio/WebMusic.h"
#include "cli/CliArguments.h"
#include "cli/CliProgress.h"
#include "model/ProjectFile.h"
#include "model/evProject.h"
#include "platform/Errors.h"
#include "platform/Text.h"
#include "presentation/DiscImage.h"
#include "presentation/DiscProducer.h"
#include "presentation/StudioBranding.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>

namespace {

struct FinishOptions {
    std::string project;
    std::string out;
    std::vector<std::string> designs;
    std::string data; // empty: the program's studio files
    std::string iso;
    bool studio = true;
    std::string duration = "5"; // the finishing screen's default
};

FinishOptions ParseOptions(const std::vector<std::string>& args, const ProgramFolders& folders)
{
    FinishOptions options;
    options.designs = folders.DesignFolders();
    CommandArguments arguments("finish", args);
    options.project = arguments.ReadAll([&](const std::string& option) {
        if (option == "--out")
            options.out = arguments.Value();
        else if (option == "--designs")
            options.designs = {arguments.Value()};
        else if (option == "--data")
            options.data = arguments.Value();
        else if (option == "--iso")
            options.iso = arguments.Value();
        else if (option == "--no-studio")
            options.studio = false;
        else if (option == "--studio-duration")
            options.duration = arguments.Value();
        else
            return false;
        return true;
    });
    if (options.project.empty() || options.out.empty())
        throw EVelloraError("finish: usage: vellora-cli finish PROJECT --out FOLDER [--designs DIR] [--data DIR] "
                            "[--no-studio] [--studio-duration N] [--iso FILE.iso]");
    if (!ParseStudioDuration(options.duration))
        throw EVelloraError("finish: the studio duration \"" + options.duration + "\" is not a whole number");
    return options;
}

// A test seam: with VELLORA_TEST_KILL_AFTER set to the name of a step ("page 2", "data/data.evp", "evplay", ...;
// see DiscProducer::SetStepObserver), the program kills itself with SIGKILL right after that step, as a power cut
// or kill -9 would at that moment.
void KillAfterStepWhenAsked(DiscProducer& producer)
{
    const char* wanted = std::getenv("VELLORA_TEST_KILL_AFTER");
    if (!wanted || !*wanted)
        return;
    producer.SetStepObserver([step = std::string(wanted)](const std::string& passed) {
        if (passed == step)
            ::raise(SIGKILL);
    });
}

// The disc image of the finished folder, named after the couple.
void WriteImage(const evProject& project, const std::string& discFolder, const std::string& isoPath)
{
    const std::string volume =
        DiscVolumeName(ToDisplayUtf8(project.GetFirstName()), ToDisplayUtf8(project.GetSecondName()));
    ProgressLine progress("Disc image");
    WriteDiscImage(discFolder, isoPath, volume, [&progress](int percent) { progress.Show(percent); });
    progress.End();
    std::cout << isoPath << '\n' << std::flush;
}

} // namespace

int RunFinish(const std::vector<std::string>& args, const ProgramFolders& folders)
{
    const FinishOptions options = ParseOptions(args, folders);
    const std::unique_ptr<evProject> project = OpenProject(options.project, options.designs);
    std::unique_ptr<StudioBranding> studio;
    if (options.studio)
        studio = options.data.empty() ? StudioBranding::Load(folders) : StudioBranding::Load(options.data);
    DiscProducer producer(*project, DiscFolderFor(options.out));
    producer.SetStudio(studio ? &studio->GetRecord() : nullptr, options.duration);
    producer.SetWebMusic(MakeWebMusicAccess());
    ProgressLine progress("Finishing");
    producer.SetProgress([&progress](int percent) { progress.Show(percent); });
    KillAfterStepWhenAsked(producer);
    producer.Produce();
    progress.End();
    for (const std::string& warning : producer.GetWarnings())
        std::cerr << "vellora-cli: warning: " << warning << '\n';
    std::cout << producer.GetDiscFolder() << '\n' << std::flush;
    if (!options.iso.empty())
        WriteImage(*project, producer.GetDiscFolder(), options.iso);
    return 0;
}
