#include "cli/CliVideo.h"

#include "cli/CliArguments.h"
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
    CommandArguments arguments("video", args);
    options.project = arguments.ReadAll([&](const std::string& option) {
        if (option == "--out") {
            options.out = arguments.Value();
        } else if (option == "--designs") {
            options.designs = {arguments.Value()};
        } else if (option == "--data") {
            options.data = arguments.Value();
        } else if (option == "--size") {
            const std::string text = arguments.Value();
            const std::optional<VideoSize> size = ParseVideoSize(text);
            if (!size)
                arguments.Fail("the size \"" + text + "\" is not one of 1920x1080 and 1280x720");
            options.size = *size;
        } else if (option == "--seconds") {
            options.seconds = TakeSeconds(option, arguments.Value(), 1);
        } else if (option == "--no-studio") {
            options.studio = false;
        } else if (option == "--studio-duration") {
            options.studioSeconds = TakeSeconds(option, arguments.Value(), 0);
        } else {
            return false;
        }
        return true;
    });
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
