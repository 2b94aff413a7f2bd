// A project of 200 pages holding 600 photographs of 2 megapixels (1632 x 1224, quality 90) in a 1024 x 768
// design: writing it to a file, reading it back, and rendering every page preview. Beside each, the JPEG work
// that the same step needs, done directly with the codec, as the floor it can be measured against: reading
// decodes every photograph once (to learn its size); rendering a page decodes its background and its three
// photographs. Each benchmark reports the process's peak resident memory (getrusage) after it ran; the album
// itself (600 compressed photographs) is held for the whole run.
#include "model/PageOrder.h"
#include "model/ProjectFile.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "platform/Bitmap.h"
#include "platform/Jpeg.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"
#include "presentation/ClassList.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kPages = 200;
constexpr int kSlotsPerPage = 3;
constexpr int kDistinctPhotos = 12;
constexpr int kPhotoWidth = 1632;
constexpr int kPhotoHeight = 1224;
constexpr int32_t kLayoutId = 1000;
constexpr int32_t kBackgroundId = 100;
constexpr int32_t kFirstSlotId = 10;

struct Album {
    std::unique_ptr<QTemporaryDir> folder;
    std::vector<JpegImage> photos;
    JpegImage background;
    std::string projectFile;
    int64_t projectFileSize = 0;
    std::unique_ptr<evProject> project; // with its design attached
};

Album* g_album = nullptr;

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::unique_ptr<evLayout> BuildDesign(const JpegImage& background)
{
    auto design = std::make_unique<evLayout>("Bench", "", 1024, 768);
    design->GetElementsA().Add(WithID(std::make_unique<evPicture>("background", background), kBackgroundId));
    auto layout = WithID(std::make_unique<evPageLayout>(nullptr, "three", "Three", "", 1), kLayoutId);
    layout->GetEntries().Add(std::make_unique<evPageLayoutEntry>(0, 0, 0, kBackgroundId));
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
        layout->AddOwnElement(WithID(std::make_unique<evUserPicture>("slot", 320, 240), kFirstSlotId + slot));
        layout->GetEntries().Add(std::make_unique<evPageLayoutEntry>(20 + slot * 332, 200, 0, kFirstSlotId + slot));
    }
    design->AddPageLayout(std::move(layout));
    return design;
}

std::unique_ptr<evCategory> BuildTree(const std::vector<JpegImage>& photos)
{
    auto first = std::make_unique<evCategory>("page 0", "", false, 3);
    evCategory* last = first.get();
    for (int page = 0; page < kPages; ++page) {
        evCategory* category = first.get();
        if (page > 0) {
            last->AppendSibling(std::make_unique<evCategory>("page " + std::to_string(page), "", false, 3));
            category = last = last->GetNext();
        }
        category->SetPageLayoutID(kLayoutId);
        for (int slot = 0; slot < kSlotsPerPage; ++slot) {
            const JpegImage& photo = photos[static_cast<size_t>(page * kSlotsPerPage + slot) % photos.size()];
            category->AddUserElement(kFirstSlotId + slot, std::make_unique<evPicture>("photo", photo));
        }
    }
    return first;
}

void BuildAlbum()
{
    g_album = new Album;
    g_album->folder = std::make_unique<QTemporaryDir>();
    SetTempFolder(g_album->folder->path().toStdString());
    for (int i = 0; i < kDistinctPhotos; ++i)
        g_album->photos.push_back(JpegImage::FromBitmap(SyntheticPhoto(kPhotoWidth, kPhotoHeight, 1234u + i)));
    g_album->background = JpegImage::FromBitmap(SyntheticPhoto(1024, 768, 99));
    g_album->project = std::make_unique<evProject>("Anna", "Ben", 37622.0, "Bench.evl", BuildTree(g_album->photos));
    g_album->projectFile = g_album->folder->filePath("album.evp").toStdString();
    WriteProjectFile(*g_album->project, g_album->projectFile);
    g_album->projectFileSize = FileStream(g_album->projectFile, FileStream::Mode::OpenRead).Size();
    g_album->project->SetDesign(BuildDesign(g_album->background));
}

void ReportMemory(benchmark::State& state) { state.counters["peak_rss_MB"] = PeakMegabytes(); }

void BM_WriteProjectFile(benchmark::State& state)
{
    const std::string path = g_album->folder->filePath("bench.evp").toStdString();
    for (auto _ : state)
        WriteProjectFile(*g_album->project, path);
    state.counters["file_MB"] = static_cast<double>(g_album->projectFileSize) / (1024.0 * 1024.0);
    state.SetBytesProcessed(state.iterations() * g_album->projectFileSize);
    ReportMemory(state);
}

void BM_ReadProject(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<evProject> project = ReadProjectFile(g_album->projectFile);
        benchmark::DoNotOptimize(project->GetFirstCategory());
    }
    state.SetBytesProcessed(state.iterations() * g_album->projectFileSize);
    ReportMemory(state);
}

// Floor of reading: every photograph decoded once.
void BM_ReadProjectFloor_Decode600(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 0; i < kPages * kSlotsPerPage; ++i) {
            const JpegImage& photo = g_album->photos[static_cast<size_t>(i) % g_album->photos.size()];
            Bitmap decoded = photo.Decode();
            benchmark::DoNotOptimize(decoded.ScanLine(0));
        }
    }
    ReportMemory(state);
}

void BM_RenderAllPages(benchmark::State& state)
{
    std::vector<evCategory*> pages;
    PageOrder::Flatten(g_album->project->GetFirstCategory(), pages, true);
    for (auto _ : state) {
        for (evCategory* page : pages) {
            page->MarkDirty();
            if (!page->Render(nullptr, true))
                state.SkipWithError("a page failed to render");
        }
    }
    state.counters["pages"] = static_cast<double>(pages.size());
    ReportMemory(state);
}

// Floor of rendering: per page the background and three photographs decoded, nothing drawn or written.
void BM_RenderAllPagesFloor_Decode(benchmark::State& state)
{
    for (auto _ : state) {
        for (int page = 0; page < kPages; ++page) {
            Bitmap background = g_album->background.Decode();
            benchmark::DoNotOptimize(background.ScanLine(0));
            for (int slot = 0; slot < kSlotsPerPage; ++slot) {
                const JpegImage& photo =
                    g_album->photos[static_cast<size_t>(page * kSlotsPerPage + slot) % g_album->photos.size()];
                Bitmap decoded = photo.Decode();
                benchmark::DoNotOptimize(decoded.ScanLine(0));
            }
        }
    }
    ReportMemory(state);
}

BENCHMARK(BM_WriteProjectFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ReadProjectFloor_Decode600)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RenderAllPages)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RenderAllPagesFloor_Decode)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenDisplay();
    QGuiApplication app(argc, argv);
    RegisterAllClasses();
    BuildAlbum();
    std::printf("album built: %d pages, %d photographs, project file %.1f MB, peak RSS %.0f MB\n", kPages,
                kPages * kSlotsPerPage, static_cast<double>(g_album->projectFileSize) / (1024.0 * 1024.0),
                PeakMegabytes());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_album->project.reset();
    delete g_album;
    return 0;
}
