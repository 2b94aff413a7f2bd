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
#include "presentation/evActionElement.h"
#include "video/VideoExport.h"

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

constexpr int kPhotoWidth = 1732;
constexpr int kPhotoHeight = 1155;
constexpr int kDistinctPhotos = 24;
constexpr int kSlotsPerPage = 3;
constexpr int kSlidesPerShow = 3;
constexpr int kSlotWidth = 320;
constexpr int kSlotHeight = 240;
constexpr int32_t kBackgroundId = 1;
constexpr int32_t kPageLayoutId = 10;
constexpr int32_t kSlideLayoutId = 11;

std::vector<JpegImage>* g_photos = nullptr;
JpegImage* g_background = nullptr;
struct Seconds {
    double wall = 0;
    double processor = 0;
};

double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Measures one run of the work into the totals.
template <class Work>
void Measure(Seconds& total, Work work)
{
    const double processor = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    total.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    total.processor += ProcessorSeconds() - processor;
}


// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM").
int64_t StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(prefix, 0) == 0)
            return std::stoll(line.substr(prefix.size()));
    }
    return 0;
}

// Resets the high-water mark of the resident memory to the current value; false where the kernel refuses.
bool ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

// A fixed label field placed by an entry, and the action element that draws it.
void AddButton(evPageLayout& layout, int32_t id, int32_t type, const TRect& rect)
{
    auto field = WithID(std::make_unique<evUserTextfield>("label", "", "DejaVu Sans", 0, 14, true, false, false, 1,
                                                          rect.Width(), rect.Height()),
                        id);
    field->SetFixed(1);
    layout.AddOwnElement(std::move(field));
    layout.GetEntries().Add(WithID(std::make_unique<evPageLayoutEntry>(rect.Left, rect.Top, 0, id), id + 1));
    auto action =
        std::make_unique<evActionElement>("button", type, rect.Left, rect.Top, rect.Width(), rect.Height());
    action->SetLabel(id + 1);
    layout.AddActionElement(WithID(std::move(action), id + 2));
}

std::unique_ptr<evPageLayout> BuildPageLayout(int32_t id, bool slideShow)
{
    auto layout = WithID(std::make_unique<evPageLayout>(nullptr, "page", "Page", "", slideShow ? 4 : 1), id);
    layout->GetEntries().Add(std::make_unique<evPageLayoutEntry>(0, 0, 0, kBackgroundId));
    const int slotCount = slideShow ? 1 : kSlotsPerPage;
    for (int slot = 0; slot < slotCount; ++slot) {
        const int32_t slotId = id * 100 + slot;
        auto picture = WithID(std::make_unique<evUserPicture>("slot", kSlotWidth, kSlotHeight), slotId);
        picture->SetFixed(slideShow ? 1 : 0);
        layout->AddOwnElement(std::move(picture));
        layout->GetEntries().Add(
            WithID(std::make_unique<evPageLayoutEntry>(20 + slot * 332, 220, 0, slotId), slotId + 10));
    }
    AddButton(*layout, id * 100 + 20, atPageTitle, Rect(112, 40, 912, 100));
    AddButton(*layout, id * 100 + 30, atExit, Rect(120, 700, 270, 740));
    AddButton(*layout, id * 100 + 40, atBack, Rect(320, 700, 470, 740));
    AddButton(*layout, id * 100 + 50, atSound, Rect(520, 700, 670, 740));
    layout->AddActionElement(
        WithID(std::make_unique<evActionElement>("next", atNextSibling, 754, 700, 150, 40), id * 100 + 60));
    if (slideShow) {
        auto show = std::make_unique<evActionElement>("show", atSlideShow, 20, 220, kSlotWidth, kSlotHeight);
        show->SetFirstSlot(id * 100 + 10);
        show->SetValueA(3000);
        layout->AddActionElement(WithID(std::move(show), id * 100 + 70));
    }
    return layout;
}

std::unique_ptr<evLayout> BuildDesign()
{
    auto design = std::make_unique<evLayout>("Bench", "", 1024, 768);
    design->SetBackgroundColour(0x00102030);
    design->GetElementsA().Add(WithID(std::make_unique<evPicture>("background", *g_background), kBackgroundId));
    design->AddPageLayout(BuildPageLayout(kPageLayoutId, false));
    design->AddPageLayout(BuildPageLayout(kSlideLayoutId, true));
    return design;
}

// Chapters of ten pages: a top-level page and nine pages below it. The slide shows are spread over the album.
std::unique_ptr<evProject> BuildAlbum(int pages)
{
    std::unique_ptr<evCategory> first;
    evCategory* chapter = nullptr;
    int photo = 0;
    for (int page = 0; page < pages; ++page) {
        const bool slideShow = page % 10 == 5;
        auto category = std::make_unique<evCategory>("Page " + std::to_string(page + 1), "", false, 3);
        category->SetPageLayoutID(slideShow ? kSlideLayoutId : kPageLayoutId);
        const int photos = slideShow ? kSlidesPerShow : kSlotsPerPage;
        for (int i = 0; i < photos; ++i) {
            const int32_t slot = slideShow ? kSlideLayoutId * 100 + 70 : kPageLayoutId * 100 + i;
            const JpegImage& jpeg = (*g_photos)[static_cast<size_t>(photo++ % kDistinctPhotos)];
            category->AddUserElement(slot, std::make_unique<evPicture>("photo", jpeg));
        }
        evCategory* raw = category.get();
        if (!first)
            first = std::move(category);
        else if (page % 10 == 0)
            first->AppendSibling(std::move(category));
        else
            chapter->AddChild(std::move(category));
        if (page % 10 == 0)
            chapter = raw;
    }
    auto project = std::make_unique<evProject>("Anna", "Ben", 38000.0, "Bench.evl", std::move(first));
    project->SetDesign(BuildDesign());
    return project;
}

void BM_VideoAlbum(benchmark::State& state)
{
    const int pages = static_cast<int>(state.range(0));
    QTemporaryDir temp;
    SetTempFolder(temp.path().toStdString());
    std::unique_ptr<evProject> project = BuildAlbum(pages);
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterAllClasses();
    std::vector<JpegImage> photos;
    for (int i = 0; i < kDistinctPhotos; ++i)
        photos.push_back(JpegImage::FromBitmap(SyntheticPhoto(kPhotoWidth, kPhotoHeight, 1000u + i)));
    JpegImage background = JpegImage::FromBitmap(SyntheticPhoto(1024, 768, 3));
    g_photos = &photos;
    g_background = &background;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
