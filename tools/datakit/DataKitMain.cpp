// vellora-datakit: builds the program's default data from data-src/.
//
//   vellora-datakit --src DIR --out DIR [--music-seconds N]
//       writes DIR/data/{main,music,speaker,studio}.evb and DIR/designs/*.evl
//   vellora-datakit --src DIR --preview DIR
//       renders every page layout of every design (and the studio page) filled with sample photographs, and a
//       contact sheet of the skin pictures, as PNG files
//
// Both may be given together. A mistake in a source ends the run with one line naming the file and the element,
// and exit status 1.

#include "DataKit.h"
#include "DataSourceError.h"
#include "PreviewWriter.h"
#include "model/evLayout.h"
#include "platform/TempFiles.h"
#include "presentation/ClassList.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct Arguments {
    DataKitOptions options;
    std::string preview;
    bool build = false;
};

void Usage()
{
    std::fprintf(stderr, "usage: vellora-datakit --src DIR [--out DIR] [--music-seconds N] [--preview DIR]\n");
}

bool Parse(int argc, char** argv, Arguments& arguments)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (arg == "--src") {
            arguments.options.sourceFolder = value;
        } else if (arg == "--out") {
            arguments.options.outputFolder = value;
            arguments.build = true;
        } else if (arg == "--music-seconds") {
            arguments.options.musicSeconds = std::atof(value.c_str());
        } else if (arg == "--preview") {
            arguments.preview = value;
        } else {
            return false;
        }
    }
    return arguments.build || !arguments.preview.empty();
}

void WritePreviews(const DataKit& kit, const Arguments& arguments)
{
    namespace fs = std::filesystem;
    PreviewWriter writer(arguments.preview);
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(fs::path(arguments.options.sourceFolder) / "designs"))
        if (entry.path().extension() == ".json")
            sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    for (const fs::path& source : sources) {
        const auto design = kit.CompileDesign(source.string(), {"W", "M", "E", "cd"});
        writer.WriteDesign(*design, source.stem().string());
        std::printf("previews of %s\n", source.string().c_str());
    }
    const auto studio =
        kit.CompileDesign((fs::path(arguments.options.sourceFolder) / "studio.json").string(), {"STUDIO"});
    writer.WriteDesign(*studio, "studio");
    std::printf("%s\n", writer.WriteSkinContactSheet().c_str());
}

} // namespace

int main(int argc, char** argv)
{
    PrepareProcess();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Arguments arguments;
    if (!Parse(argc, argv, arguments)) {
        Usage();
        return 2;
    }
    RegisterAllClasses();
    arguments.options.report = [](const std::string& line) { std::printf("%s\n", line.c_str()); };
    try {
        DataKit kit(arguments.options);
        if (arguments.build)
            kit.BuildAll();
        if (!arguments.preview.empty())
            WritePreviews(kit, arguments);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vellora-datakit: %s\n", error.what());
        return 1;
    }
    return 0;
}
