// Start-up reads the main data file whole (help texts, skin pictures, music and spoken comments) and lists the
// designs by reading only the head of each design file. Both happen before the first screen appears.
//
// The data is the one the build writes into bin/data and bin/designs beside this program; the folder can be given
// as the first argument instead.
#include "BenchSupport.h"
#include "model/evBranding.h"
#include "model/evLayout.h"
#include "model/evLayoutPreview.h"
#include "platform/Stream.h"
#include "presentation/ClassList.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string g_folder;

std::vector<fs::path> DesignFiles()
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(g_folder) / "designs", error))
        if (entry.path().extension() == ".evl")
            files.push_back(entry.path());
    return files;
}

void BM_ReadMainFile(benchmark::State& state)
{
    const std::string path = (fs::path(g_folder) / "data" / "main.evb").string();
    if (!fs::exists(path)) {
        state.SkipWithError("no main.evb: build the data first (target vellora-data)");
        return;
    }
    for (auto _ : state) {
        FileStream file(path, FileStream::Mode::OpenRead);
        evBranding branding(file, nullptr);
        benchmark::DoNotOptimize(branding.GetPictures().Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(fs::file_size(path)));
}
BENCHMARK(BM_ReadMainFile)->Unit(benchmark::kMillisecond);

void BM_ListDesigns(benchmark::State& state)
{
    const std::vector<fs::path> files = DesignFiles();
    if (files.empty()) {
        state.SkipWithError("no design files: build the data first (target vellora-data)");
        return;
    }
    for (auto _ : state) {
        for (const fs::path& path : files) {
            FileStream file(path.string(), FileStream::Mode::OpenRead);
            evLayoutPreview preview(file, path.filename().string());
            benchmark::DoNotOptimize(preview.GetSamplePicture());
        }
    }
    state.counters["designs"] = static_cast<double>(files.size());
}
BENCHMARK(BM_ListDesigns)->Unit(benchmark::kMillisecond);

// Not start-up, but what opening or creating an album costs on top: the whole design, fonts included.
void BM_LoadDesign(benchmark::State& state)
{
    const std::vector<fs::path> files = DesignFiles();
    if (files.empty()) {
        state.SkipWithError("no design files: build the data first (target vellora-data)");
        return;
    }
    for (auto _ : state) {
        FileStream file(files.front().string(), FileStream::Mode::OpenRead);
        evLayout design(file, nullptr);
        benchmark::DoNotOptimize(design.GetPageLayouts().Count());
    }
}
BENCHMARK(BM_LoadDesign)->Unit(benchmark::kMillisecond);

void PrintSizes()
{
    const fs::path data = fs::path(g_folder) / "data";
    for (const char* name : {"main.evb", "music.evb", "speaker.evb", "studio.evb"}) {
        std::error_code error;
        const auto size = fs::file_size(data / name, error);
        if (!error)
            std::printf("%-12s %10.2f MB\n", name, static_cast<double>(size) / (1024.0 * 1024.0));
    }
    for (const fs::path& path : DesignFiles())
        std::printf("%-12s %10.2f MB  (designs/%s)\n", "design",
                    static_cast<double>(fs::file_size(path)) / (1024.0 * 1024.0), path.filename().string().c_str());
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenDisplay();
    QGuiApplication app(argc, argv);
    RegisterAllClasses();
    g_folder = QCoreApplication::applicationDirPath().toStdString();
    if (argc > 1 && argv[1][0] != '-')
        g_folder = argv[1];
    PrintSizes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
