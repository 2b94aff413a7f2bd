// The album as a 1920 x 1080 video: seconds of encoding per minute of video on this machine, and the peak memory.
//
// The album is the finishing benchmark's: 1024 x 768 pages with a background picture, three photographs of
// 2 megapixels, a title and buttons; every tenth page a slide show of three photographs (3 s apart). 10 and 20
// pages, 6 s each, with the 1 s cross-fades between pages: about one and two minutes of video. Encoding runs
// libx264 (preset veryfast, two threads) and renders every page twice (once to learn its length).
//
// Reported per run: wall and processor seconds per minute of video, and the peak resident memory during the
// export above the resident memory before it (the kernel's high-water mark, reset through /proc/self/clear_refs);
// it must not grow with the album's length.
#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Jpeg.h"
#include "platform/TempFiles.h"
#include "presentation/ClassList.h"
#include "video/VideoExport.h"

#include "BenchAlbum.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace benchalbum;

// A slide show in the middle of every chapter of ten pages.
std::unique_ptr<evProject> BuildVideoAlbum(int pages)
{
    return BuildAlbum(pages, [](int page) { return page % 10 == 5; });
}

void BM_VideoAlbum(benchmark::State& state)
{
    const int pages = static_cast<int>(state.range(0));
    QTemporaryDir temp;
    SetTempFolder(temp.path().toStdString());
    std::unique_ptr<evProject> project = BuildVideoAlbum(pages);
    Seconds total;
    int64_t peakExtra = 0;
    double videoSeconds = 0;
    for (auto _ : state) {
        QTemporaryDir out;
        VideoExport video(*project, out.path().toStdString() + "/album.mp4");
        video.SetSize({1920, 1080});
        const int64_t before = StatusKilobytes("VmRSS");
        const bool reset = ResetPeakMemory();
        Measure(total, [&video] { video.Produce(); });
        peakExtra = std::max(peakExtra, reset ? StatusKilobytes("VmHWM") - before : -1);
        videoSeconds = static_cast<double>(video.GetFrameCount()) / 25.0;
    }
    const auto runs = static_cast<double>(state.iterations());
    const double minutes = videoSeconds / 60.0;
    state.counters["video_s"] = videoSeconds;
    state.counters["wall_s_per_video_min"] = total.wall / runs / minutes;
    state.counters["cpu_s_per_video_min"] = total.processor / runs / minutes;
    state.counters["peak_extra_MB"] = static_cast<double>(peakExtra) / 1024.0;
    state.counters["resident_MB"] = static_cast<double>(StatusKilobytes("VmRSS")) / 1024.0;
    std::printf("%d pages, %.1f s of 1920x1080 video: %.1f s wall / %.1f s processor per minute of video, "
                "peak %.1f MB above the resident memory before\n",
                pages, videoSeconds, total.wall / runs / minutes, total.processor / runs / minutes,
                static_cast<double>(peakExtra) / 1024.0);
}
BENCHMARK(BM_VideoAlbum)->Arg(10)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
