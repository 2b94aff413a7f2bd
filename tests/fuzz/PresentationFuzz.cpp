// Feeds arbitrary bytes to the presentation file reader, and shows whatever it reads the way the player does:
// every page started on a small control, the pointer moved over every action's corners, clicks, slide, film
// strip and fade timers fired with the clock running on. Any indexes, targets, sizes and speeds a file holds
// must end in an orderly error or in a page that shows: no crash, no leak, no division by zero.

#include "model/ViewerControl.h"
#include "model/evFade.h"
#include "model/evObjectCollection.h"
#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "platform/Bitmap.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/Stream.h"
#include "presentation/ClassList.h"
#include "presentation/PresentationFile.h"
#include "presentation/PresentationPlayer.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

int32_t g_now = 0;

class FuzzTimer : public ViewerTimer {
public:
    FuzzTimer(std::function<void()> onTick, std::vector<FuzzTimer*>& all) : onTick(std::move(onTick)), m_all(all)
    {
        m_all.push_back(this);
    }
    ~FuzzTimer() override { std::erase(m_all, this); }
    void SetEnabled(bool on) override { enabled = on; }
    bool IsEnabled() const override { return enabled; }
    std::function<void()> onTick;
    bool enabled = false;

private:
    std::vector<FuzzTimer*>& m_all;
};

class FuzzControl : public ViewerControl {
public:
    FuzzControl() : picture(64, 48) {}
    Bitmap& Picture() override { return picture; }
    void Changed() override {}
    int Width() const override { return picture.Width(); }
    int Height() const override { return picture.Height(); }
    void SetCursor(ViewerCursor) override {}
    TPoint PointerPosition() const override { return pointer; }
    std::unique_ptr<ViewerTimer> CreateTimer(int, std::function<void()> onTick) override
    {
        return std::make_unique<FuzzTimer>(std::move(onTick), timers);
    }
    // Fires each enabled timer once; a tick may end timers or make new ones, so the list is copied first.
    void FireAll()
    {
        const std::vector<FuzzTimer*> now = timers;
        for (FuzzTimer* timer : now)
            if (std::find(timers.begin(), timers.end(), timer) != timers.end() && timer->enabled)
                timer->onTick();
    }

    Bitmap picture;
    TPoint pointer{0, 0};
    std::vector<FuzzTimer*> timers;
};

void Visit(PresentationPlayer& player, FuzzControl& control, const TRect& rect)
{
    for (const TPoint point : {TPoint{rect.Left, rect.Top}, TPoint{rect.Right, rect.Bottom}}) {
        control.pointer = point;
        player.MouseMove(point.X, point.Y);
        player.Click();
    }
}

void Exercise(PresentationFile& presentation)
{
    FuzzControl control;
    PresentationPlayer::Host host;
    PresentationPlayer player(presentation, control, host, true);
    player.Begin();
    for (int round = 0; round < 6 && player.CurrentPage(); ++round) {
        evProjectorPage& page = *player.CurrentPage();
        const int32_t mice = std::min(page.GetMouseActions().Count(), 8);
        for (int32_t i = 0; i < mice; ++i)
            if (auto* action = page.GetMouseActions().GetItemAs<evProjectorMouseAction>(i)) {
                Visit(player, control, action->GetRect());
                if (player.CurrentPage() != &page)
                    break;
            }
        g_now += 997;
        control.FireAll();
        if (!player.CurrentPage())
            break;
        evProjectorPage& shown = *player.CurrentPage();
        const int32_t navis = std::min(shown.GetNaviActions().Count(), 8);
        for (int32_t i = 0; i < navis && player.CurrentPage() == &shown; ++i)
            if (auto* action = shown.GetNaviActions().GetItemAs<evProjectorNaviAction>(i))
                Visit(player, control, action->GetRect());
        g_now += 1013;
        control.FireAll();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    RegisterAllClasses();
    Clock::SetSource([] { return g_now % Clock::kDayMilliseconds; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemoryStream stream(data, static_cast<int64_t>(size));
    try {
        std::unique_ptr<PresentationFile> presentation = PresentationFile::Read(stream);
        MemoryStream out;
        presentation->Write(out);
        Exercise(*presentation);
    } catch (const EVelloraError&) {}
    evFade::Allow();
    return 0;
}
