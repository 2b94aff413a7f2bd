// The page viewer's work per frame: rendering a full 1024 x 768 page (decoding its JPEG elements), one
// cross-fade tick over a slide and over the whole page (it must fit well inside its 10 ms), and one film-strip
// tick that moves the strip and draws its window.
#include "model/ViewerControl.h"
#include "model/evFade.h"
#include "model/evObjectCollection.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "model/evProjectorSliderElement.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Jpeg.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <functional>
#include <memory>

namespace {

int32_t g_now = 0;

class BenchTimer : public ViewerTimer {
public:
    explicit BenchTimer(std::function<void()> onTick) : onTick(std::move(onTick)) {}
    void SetEnabled(bool on) override { enabled = on; }
    bool IsEnabled() const override { return enabled; }
    std::function<void()> onTick;
    bool enabled = false;
};

class BenchControl : public ViewerControl {
public:
    BenchControl() : picture(1024, 768) {}
    Bitmap& Picture() override { return picture; }
    void Changed() override {}
    int Width() const override { return 1024; }
    int Height() const override { return 768; }
    void SetCursor(ViewerCursor) override {}
    TPoint PointerPosition() const override { return TPoint{-1, -1}; }
    std::unique_ptr<ViewerTimer> CreateTimer(int, std::function<void()> onTick) override
    {
        auto timer = std::make_unique<BenchTimer>(std::move(onTick));
        last = timer.get();
        return timer;
    }
    Bitmap picture;
    BenchTimer* last = nullptr;
};

// Smooth colour with some texture, so the JPEG sizes resemble photographs more than flat fills do.
Bitmap Picture(int width, int height, int seed)
{
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<uint8_t>(128 + 100 * std::sin((x + seed) * 0.02));
            row[x * 3 + 1] = static_cast<uint8_t>(128 + 100 * std::cos((y + seed) * 0.03));
            row[x * 3 + 2] = static_cast<uint8_t>((x * 7 + y * 13 + seed) & 0xFF);
        }
    }
    return bitmap;
}

std::unique_ptr<evProjectorPage> TypicalPage()
{
    auto page = std::make_unique<evProjectorPage>();
    page->AddElement(std::make_unique<evProjectorPageElement>(0, 0, JpegImage::FromBitmap(Picture(1024, 768, 0)), 0));
    for (int i = 0; i < 6; ++i)
        page->AddElement(std::make_unique<evProjectorPageElement>(60 + (i % 3) * 320, 80 + (i / 3) * 300,
                                                                  JpegImage::FromBitmap(Picture(280, 210, i + 1)), 0));
    for (int i = 0; i < 4; ++i)
        page->AddElement(std::make_unique<evProjectorPageElement>(
            60 + i * 200, 700, JpegImage::FromBitmap(Picture(180, 40, 50 + i), kTextJpegQuality), 0));
    return page;
}

void BM_RenderPage(benchmark::State& state)
{
    BenchControl control;
    auto page = TypicalPage();
    page->Start(control, nullptr, ViewerCallbacks());
    for (auto _ : state)
        page->Render(control.picture.GetCanvas());
    page->StopViewing();
}
BENCHMARK(BM_RenderPage)->Unit(benchmark::kMillisecond);

// One tick with a new level each time: a fade of 255 ms loses one level per millisecond.
void BM_FadeTick(benchmark::State& state)
{
    BenchControl control;
    const Bitmap picture = Picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 7);
    g_now = 0;
    evFade::Allow();
    for (auto _ : state) {
        if (!evFade::IsRunning()) {
            state.PauseTiming();
            g_now = 0;
            evFade::Allow();
            evFade::Start(control, 0, 0, picture, 255);
            state.ResumeTiming();
        }
        ++g_now;
        evFade::Running()->Tick();
    }
    evFade::Stop();
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_FadeTick)->Args({400, 300})->Args({1024, 768})->Unit(benchmark::kMillisecond);

void BM_FilmStripTick(benchmark::State& state)
{
    BenchControl control;
    auto items = std::make_unique<evObjectCollection>();
    for (int i = 0; i < 10; ++i)
        items->Add(std::make_unique<evProjectorPageElement>(300, 100, JpegImage::FromBitmap(Picture(400, 300, i)), 0));
    evProjectorSliderElement slider(TRect{100, 600, 900, 700}, 2, 1000, std::move(items), 1, 100, 133,
                                    Picture(2660, 100, 3));
    g_now = 0;
    slider.Show(control, control.picture.GetCanvas());
    for (auto _ : state) {
        g_now += 5;
        slider.Tick();
    }
    slider.Detach();
}
BENCHMARK(BM_FilmStripTick)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    Clock::SetSource([] { return g_now; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
