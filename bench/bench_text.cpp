// Rendering a text field of about 400 words into a page-sized bitmap: line building through the page layout's
// text measurer plus the drawing, with and without a presentation page (which adds the quality-100 snapshot).
#include "BenchSupport.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evProjectorPage.h"
#include "model/evUserTextfield.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "presentation/ClassList.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <string>

namespace {
constexpr int kPageWidth = 1024;
constexpr int kPageHeight = 768;

std::string Words(int count)
{
    static const char* const kWords[] = {"wedding", "day",   "in", "the",    "garden", "with",  "family", "and",
                                         "friends", "under", "a",  "summer", "sky",    "after", "church"};
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += (i % 60 == 0) ? "\r\n" : " ";
        text += kWords[i % 15];
    }
    return text;
}

struct Scene {
    evLayout design{"bench", "", kPageWidth, kPageHeight};
    evPageLayout pageLayout{&design, "page", "Page", "", 0};
    evUserTextfield field{"text", Words(400), "Arial", 0, 12, false, false, false, 1, 900, 700};
    Bitmap page{kPageWidth, kPageHeight};

    Scene() { field.SetPageLayout(&pageLayout); }
};

void BM_BuildLines(benchmark::State& state)
{
    Scene scene;
    for (auto _ : state) {
        scene.field.BuildLines();
        benchmark::DoNotOptimize(scene.field.GetLines().size());
    }
    state.counters["lines"] = static_cast<double>(scene.field.GetLines().size());
}
BENCHMARK(BM_BuildLines)->Unit(benchmark::kMillisecond);

void BM_DrawPreview(benchmark::State& state)
{
    Scene scene;
    const TRect rect{62, 34, 962, 734};
    for (auto _ : state)
        scene.field.Draw(rect, scene.page.GetCanvas(), {});
}
BENCHMARK(BM_DrawPreview)->Unit(benchmark::kMillisecond);

void BM_DrawForPresentation(benchmark::State& state)
{
    Scene scene;
    const TRect rect{62, 34, 962, 734};
    for (auto _ : state) {
        evProjectorPage page;
        scene.field.Draw(rect, scene.page.GetCanvas(), {.page = &page});
        benchmark::DoNotOptimize(page.GetElements().Count());
    }
}
BENCHMARK(BM_DrawForPresentation)->Unit(benchmark::kMillisecond);

void BM_DrawWithLineLinks(benchmark::State& state)
{
    Scene scene;
    scene.field.SetLineLinks(true);
    const TRect rect{62, 34, 962, 734};
    for (auto _ : state) {
        evProjectorPage page;
        scene.field.Draw(rect, scene.page.GetCanvas(), {.drawAll = true, .page = &page});
        benchmark::DoNotOptimize(page.GetElements().Count());
    }
}
BENCHMARK(BM_DrawWithLineLinks)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenDisplay();
    QGuiApplication app(argc, argv);
    RegisterAllClasses();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
