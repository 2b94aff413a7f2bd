// The timeline strip on a chapter of 30 pages in a 1024 x 768 design, each page a background and two
// photographs of 2 megapixels, in wall-clock time: rebuilding the strip after opening (the pages are dirty) until
// it is shown and until every thumbnail is rendered, rebuilding it from the kept thumbnails (stepping back into
// the chapter), refreshing the current page after a change (one page rendered again and the strip composed),
// and one scroll tick (compose only).
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "platform/Jpeg.h"
#include "platform/TempFiles.h"
#include "presentation/ClassList.h"
#include "screens/ApplicationContext.h"
#include "screens/TframeTimeline.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kPages = 30;
constexpr int kSlotsPerPage = 2;
constexpr int32_t kLayoutId = 1000;
constexpr int32_t kBackgroundId = 100;
constexpr int32_t kFirstSlotId = 10;

struct Chapter {
    std::unique_ptr<QTemporaryDir> folder;
    ApplicationContext context;
    evCategory* chapter = nullptr;
    std::vector<evCategory*> pages;
    std::unique_ptr<TframeTimeline> timeline;
};

Chapter* g_chapter = nullptr;

std::unique_ptr<evLayout> BuildDesign()
{
    auto design = std::make_unique<evLayout>("Bench", "", 1024, 768);
    const JpegImage background = JpegImage::FromBitmap(SyntheticPhoto(1024, 768, 99));
    design->GetElementsA().Add(WithID(std::make_unique<evPicture>("background", background), kBackgroundId));
    auto layout = WithID(std::make_unique<evPageLayout>(nullptr, "two", "Two", "", 1), kLayoutId);
    layout->GetEntries().Add(std::make_unique<evPageLayoutEntry>(0, 0, 0, kBackgroundId));
    for (int slot = 0; slot < kSlotsPerPage; ++slot) {
        layout->AddOwnElement(WithID(std::make_unique<evUserPicture>("slot", 420, 315), kFirstSlotId + slot));
        layout->GetEntries().Add(std::make_unique<evPageLayoutEntry>(60 + slot * 480, 200, 0, kFirstSlotId + slot));
    }
    design->AddPageLayout(std::move(layout));
    return design;
}

// The welcome page, then the chapter with its 30 pages.
std::unique_ptr<evCategory> BuildTree()
{
    std::vector<JpegImage> photos;
    for (uint32_t i = 0; i < 6; ++i)
        photos.push_back(JpegImage::FromBitmap(SyntheticPhoto(1632, 1224, 1234u + i)));
    auto chapter = std::make_unique<evCategory>("Our day", "", false, 3);
    for (int page = 0; page < kPages; ++page) {
        auto category = std::make_unique<evCategory>("page " + std::to_string(page), "", true, 3);
        category->SetPageLayoutID(kLayoutId);
        for (int slot = 0; slot < kSlotsPerPage; ++slot) {
            const JpegImage& photo = photos[static_cast<size_t>(page * kSlotsPerPage + slot) % photos.size()];
            category->AddUserElement(kFirstSlotId + slot, std::make_unique<evPicture>("photo", photo));
        }
        chapter->AddChild(std::move(category));
    }
    auto first = std::make_unique<evCategory>("Welcome", "", false, 1);
    first->AppendSibling(std::move(chapter));
    return first;
}

void BuildChapter()
{
    g_chapter = new Chapter;
    g_chapter->folder = std::make_unique<QTemporaryDir>();
    SetTempFolder(g_chapter->folder->path().toStdString());
    auto project = std::make_unique<evProject>("Anna", "Ben", 37622.0, "Bench.evl", BuildTree());
    project->SetDesign(BuildDesign());
    g_chapter->context.SetCurrentProject(std::move(project));
    SetAppContext(&g_chapter->context);
    g_chapter->chapter = g_chapter->context.GetCurrentProject()->GetFirstCategory()->GetNext();
    for (evCategory* page = g_chapter->chapter->GetSub(); page; page = page->GetNext())
        g_chapter->pages.push_back(page);
    g_chapter->timeline = std::make_unique<TframeTimeline>();
    g_chapter->timeline->imgBg->SetPicture(SyntheticPhoto(1024, 148, 7).ToQImage());
    g_chapter->timeline->show(); // thumbnails outside the window are filled in only while the strip is shown
}

// untilComplete: also until the thumbnails outside the window are filled in (while the program waits).
void RebuildStrip(benchmark::State& state, bool dirty, bool untilComplete)
{
    TframeTimeline& timeline = *g_chapter->timeline;
    timeline.SetPosition(g_chapter->chapter, g_chapter->pages.front(), true);
    while (timeline.PendingThumbnails() > 0)
        QApplication::processEvents();
    for (auto _ : state) {
        if (dirty) {
            state.PauseTiming();
            g_chapter->chapter->MarkDirty();
            for (evCategory* page : g_chapter->pages)
                page->MarkDirty();
            state.ResumeTiming();
        }
        timeline.SetPosition(g_chapter->chapter, g_chapter->pages.front(), true);
        if (untilComplete) {
            while (timeline.PendingThumbnails() > 0)
                QApplication::processEvents();
        } else {
            state.PauseTiming();
            while (timeline.PendingThumbnails() > 0)
                QApplication::processEvents();
            state.ResumeTiming();
        }
    }
    if (static_cast<int>(timeline.Hotspots().size()) < 4 * (kPages + 1))
        state.SkipWithError("the strip is missing thumbnails");
    state.counters["thumbnails"] = kPages + 1;
}

// After opening: the strip shown with the thumbnails in its window rendered.
void BM_RebuildStrip_Shown(benchmark::State& state) { RebuildStrip(state, true, false); }

// After opening: until every thumbnail of the 30 pages is rendered.
void BM_RebuildStrip_EveryThumbnail(benchmark::State& state) { RebuildStrip(state, true, true); }

// Stepping back into the chapter: the kept thumbnails.
void BM_RebuildStrip_KeptThumbnails(benchmark::State& state) { RebuildStrip(state, false, true); }

void BM_RefreshCurrentPage(benchmark::State& state)
{
    TframeTimeline& timeline = *g_chapter->timeline;
    timeline.SetPosition(g_chapter->chapter, g_chapter->pages[12], true);
    for (auto _ : state)
        timeline.RefreshCurrentPage();
}

void BM_ScrollTick(benchmark::State& state)
{
    TframeTimeline& timeline = *g_chapter->timeline;
    timeline.SetPosition(g_chapter->chapter, g_chapter->pages.front(), false);
    for (auto _ : state) {
        timeline.imgScrollRightMouseDown();
        timeline.imgScrollMouseUp();
        if (timeline.ScrollOffset() + 928 >= timeline.StripWidth()) {
            state.PauseTiming();
            timeline.SetPosition(g_chapter->chapter, g_chapter->pages.front(), false);
            state.ResumeTiming();
        }
    }
}

BENCHMARK(BM_RebuildStrip_Shown)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_RebuildStrip_EveryThumbnail)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_RebuildStrip_KeptThumbnails)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_RefreshCurrentPage)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ScrollTick)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenDisplay();
    // The strip is a widget, so the benchmark needs the widget application, not only the GUI one.
    QApplication app(argc, argv);
    RegisterAllClasses();
    BuildChapter();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_chapter->timeline.reset();
    SetAppContext(nullptr);
    delete g_chapter;
    return 0;
}
