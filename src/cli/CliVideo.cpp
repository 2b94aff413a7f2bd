#include "cli/CliVideo.h"

#include "cli/CliProgress.h"
#include "model/ProjectFile.h"
#include "model/evProject.h"
#include "platform/Errors.h"
#include "presentation/DiscProducer.h"
#include "presentation/StudioBranding.h"
#include "video/VideoExport.h"

#include <charconv>
#include <iostream>
#include <memory>

namespace {

struct VideoOptions {
    std::string project;
    std::string out;
    std::vector<std::string> designs;
    std::string data; // empty: the program's studio files
    VideoSize size{1920, 1080};
    int seconds = VideoExport::kDefaultPageSeconds;
    bool studio = true;
    int32_t studioSeconds = 5; // the finishing screen's default
};

constexpr const char* kUsage = "video: usage: vellora-cli video PROJECT --out FILE.mp4 [--designs DIR] [--data DIR] "
                               "[--size 1920x1080|1280x720] [--seconds N] [--no-studio] [--studio-duration N]";

std::string TakeValue(const std::vector<std::string>& args, size_t& i)
{
    if (i + 1 >= args.size())
        throw EVelloraError("video: " + args[i] + " needs a value");
    return args[++i];
}

int TakeSeconds(const std::string& option, const std::string& text, int lowest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
        value > VideoExport::kLongestPageSeconds)
        throw EVelloraError("video: " + option + " takes a whole number of seconds from " + std::to_string(lowest) +
                            " to " + std::to_string(VideoExport::kLongestPageSeconds) + ", not \"" + text + "\"");
    return value;
}

VideoOptions ParseOptions(const std::vector<std::string>& args, const ProgramFolders& folders)
{
    VideoOptions options;
    options.designs = folders.DesignFolders();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--out") {
            options.out = TakeValue(args, i);
        } else if (arg == "--designs") {
            options.designs = {TakeValue(args, i)};
        } else if (arg == "--data") {
            options.data = TakeValue(args, i);
        } else if (arg == "--size") {
            const std::string text = TakeValue(args, i);
            const std::optional<VideoSize> size = ParseVideoSize(text);
            if (!size)
                throw EVelloraError("video: the size \"" + text + "\" is not one of 1920x1080 and 1280x720");
            options.size = *size;
        } else if (arg == "--seconds") {
            options.seconds = TakeSeconds(arg, TakeValue(args, i), 1);
        } else if (arg == "--no-studio") {
            options.studio = false;
        } else if (arg == "--studio-duration") {
            options.studioSeconds = TakeSeconds(arg, TakeValue(args, i), 0);
        } else if (arg.rfind("--", 0) == 0 || !options.project.empty()) {
            throw EVelloraError("video: unexpected argument \"" + arg + "\"");
        } else {
            options.project = arg;
        }
    }
    if (options.project.empty() || options.out.empty())
        throw EVelloraError(kUsage);
    return options;
}

} // namespace

int RunVideo(const std::vector<std::string>& args, const ProgramFolders& folders)
{
    const VideoOptions options = ParseOptions(args, folders);
    const std::unique_ptr<evProject> project = OpenProject(options.project, options.designs);
    std::unique_ptr<StudioBranding> studio;
    if (options.studio)
        studio = options.data.empty() ? StudioBranding::Load(folders) : StudioBranding::Load(options.data);
    VideoExport video(*project, options.out);
    video.SetSize(options.size);
    video.SetPageSeconds(options.seconds);
    video.SetStudio(studio ? &studio->GetRecord() : nullptr, options.studioSeconds);
    ProgressLine progress("Video");
    int shown = -1;
    video.SetProgress([&progress, &shown](int percent) {
        if (percent != shown)
            progress.Show(shown = percent);
        return true;
    });
    video.Produce();
    progress.End();
    for (const std::string& warning : video.GetWarnings())
        std::cerr << "vellora-cli: warning: " << warning << '\n';
    std::cout << video.GetOutFile() << '\n' << std::flush;
    return 0;
}
