// Finishing an album into a disc folder: 100 pages with 300 photographs of 2 megapixels (1732 x 1155, quality 90)
// in a 1024 x 768 design whose pages carry a title, Exit, Back, Sound and Next buttons, three of them slide shows
// of three photographs. The same is run with 50 pages and 150 photographs: the rendered pages are written one at
// a time, so the memory that finishing needs on top of the loaded album must not grow with the page count.
//
// Reported per run: wall time, time per page, and the peak resident memory during finishing above the resident
// memory before it (the kernel's high-water mark, reset just before finishing through /proc/self/clear_refs).
// Times are wall-clock and, because the machine may be shared, also the process's processor time (user and
// system). Beside it, in the same run, the floor: the pure JPEG work on the same pictures, each photograph decoded once
// at full size and one picture of its slot's size encoded, plus each page's background decoded and one
// 1024 x 768 snapshot encoded. The ratio of the two is printed at the end.
#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evProjectorPage.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"
#include "presentation/ClassList.h"
#include "presentation/DiscProducer.h"
#include "presentation/PresentationFile.h"
#include "presentation/WebExport.h"

#include "BenchAlbum.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace benchalbum;

constexpr int kSlideShows = 3;

std::map<int, Seconds> g_finish;
std::map<int, Seconds> g_floor;
std::map<int, Seconds> g_web;
std::map<int, double> g_webRatio;

// Three slide shows spread over the album.
std::unique_ptr<evProject> BuildFinishAlbum(int pages)
{
    return BuildAlbum(pages, [pages](int page) { return page % (pages / kSlideShows) == pages / kSlideShows / 2; });
}

void BM_FinishAlbum(benchmark::State& state)
{
    const int pages = static_cast<int>(state.range(0));
    QTemporaryDir temp;
    SetTempFolder(temp.path().toStdString());
    std::unique_ptr<evProject> project = BuildFinishAlbum(pages);
    Seconds total;
    int64_t peakExtra = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        DiscProducer producer(*project, DiscFolderFor(out.path().toStdString()));
        const int64_t before = StatusKilobytes("VmRSS");
        const bool reset = ResetPeakMemory();
        Measure(total, [&producer] { producer.Produce(); });
        peakExtra = std::max(peakExtra, reset ? StatusKilobytes("VmHWM") - before : -1);
    }
    const auto runs = static_cast<double>(state.iterations());
    g_finish[pages] = Seconds{total.wall / runs, total.processor / runs};
    state.counters["pages"] = pages;
    state.counters["photographs"] = pages * kSlotsPerPage;
    state.counters["ms_per_page"] = g_finish[pages].wall * 1000.0 / pages;
    state.counters["cpu_ms_per_page"] = g_finish[pages].processor * 1000.0 / pages;
    state.counters["peak_extra_MB"] = static_cast<double>(peakExtra) / 1024.0;
    state.counters["resident_MB"] = static_cast<double>(StatusKilobytes("VmRSS")) / 1024.0;
    project.reset();
}
BENCHMARK(BM_FinishAlbum)->Arg(50)->Arg(100)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

int64_t FolderBytes(const std::string& folder)
{
    int64_t total = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            total += static_cast<int64_t>(entry.file_size());
    return total;
}

// What the browser album adds to finishing: the same pages, read back from a finished disc, written once more
// through the web export alone (its JSON, its picture files, the folder swap). Its share of the finish and the
// size of web/ against data.evp are printed at the end. With VELLORA_BENCH_WEB_DISC set, the finished disc is
// left there for the browser's first-page measurement.
void BM_WebExport(benchmark::State& state)
{
    const int pages = static_cast<int>(state.range(0));
    QTemporaryDir temp;
    SetTempFolder(temp.path().toStdString());
    const QByteArray keep = qgetenv("VELLORA_BENCH_WEB_DISC");
    const std::string chosen = keep.isEmpty() ? temp.path().toStdString() + "/chosen" : keep.toStdString();
    std::filesystem::create_directories(chosen);
    const std::string disc = DiscFolderFor(chosen);
    {
        std::unique_ptr<evProject> project = BuildFinishAlbum(pages);
        DiscProducer(*project, disc).Produce();
    }
    const auto presentation = PresentationFile::ReadFromFile(disc + "/data/data.evp");
    Seconds total;
    for (auto _ : state) {
        QTemporaryDir out;
        Measure(total, [&] {
            WebExport web(out.path().toStdString());
            web.Begin("Anna & Ben", "14 Jan 2004", presentation->background, 1024, 768);
            for (const auto& page : presentation->pages)
                web.AddPage(*page, "Page");
            web.Commit();
        });
    }
    const auto runs = static_cast<double>(state.iterations());
    g_web[pages] = Seconds{total.wall / runs, total.processor / runs};
    g_webRatio[pages] = static_cast<double>(FolderBytes(disc + "/web")) /
                        static_cast<double>(std::filesystem::file_size(disc + "/data/data.evp"));
    state.counters["web_MB"] = static_cast<double>(FolderBytes(disc + "/web")) / 1e6;
    state.counters["data_evp_MB"] = static_cast<double>(std::filesystem::file_size(disc + "/data/data.evp")) / 1e6;
}
BENCHMARK(BM_WebExport)->Arg(100)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The JPEG work that finishing the same album cannot avoid, done directly with the codec.
void BM_JpegFloor(benchmark::State& state)
{
    const int pages = static_cast<int>(state.range(0));
    const Bitmap slotPicture = SyntheticPhoto(kSlotWidth, kSlotHeight, 7);
    const Bitmap pageSnapshot = SyntheticPhoto(1024, 768, 9);
    const int photographs = pages * kSlotsPerPage;
    Seconds total;
    for (auto _ : state) {
        Measure(total, [&] {
            for (int i = 0; i < photographs; ++i) {
                benchmark::DoNotOptimize((*g_photos)[static_cast<size_t>(i % kDistinctPhotos)].Decode());
                benchmark::DoNotOptimize(EncodeJpeg(slotPicture));
            }
            for (int page = 0; page < pages; ++page) {
                benchmark::DoNotOptimize(g_background->Decode());
                benchmark::DoNotOptimize(EncodeJpeg(pageSnapshot));
            }
        });
    }
    const auto runs = static_cast<double>(state.iterations());
    g_floor[pages] = Seconds{total.wall / runs, total.processor / runs};
    state.counters["ms_per_page"] = g_floor[pages].wall * 1000.0 / pages;
    state.counters["cpu_ms_per_page"] = g_floor[pages].processor * 1000.0 / pages;
}
BENCHMARK(BM_JpegFloor)->Arg(50)->Arg(100)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenDisplay();
    QGuiApplication app(argc, argv);
    RegisterAllClasses();
    std::vector<JpegImage> photos = SyntheticPhotos(kDistinctPhotos, kPhotoWidth, kPhotoHeight, 1000u);
    JpegImage background = JpegImage::FromBitmap(SyntheticPhoto(1024, 768, 3));
    g_photos = &photos;
    g_background = &background;
    std::printf("photographs: %d x %d, %.0f kB each on average\n", kPhotoWidth, kPhotoHeight,
                static_cast<double>(photos.front().Bytes().size()) / 1024.0);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [pages, finish] : g_finish) {
        if (!g_floor.count(pages))
            continue;
        const Seconds& floor = g_floor[pages];
        if (g_web.count(pages))
            std::printf("%d pages: the browser album adds %.3f s wall / %.3f s processor, %.1f%% of finishing; "
                        "web/ is %.3f x data.evp\n",
                        pages, g_web[pages].wall, g_web[pages].processor,
                        100.0 * g_web[pages].wall / (finish.wall - g_web[pages].wall), g_webRatio[pages]);
        std::printf("%d pages: finishing %.2f s wall / %.2f s processor, JPEG floor %.2f s / %.2f s, "
                    "ratio %.2f wall / %.2f processor\n",
                    pages, finish.wall, finish.processor, floor.wall, floor.processor, finish.wall / floor.wall,
                    finish.processor / floor.processor);
    }
    return 0;
}
