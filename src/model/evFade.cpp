#include "model/evFade.h"

#include "model/ViewerControl.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {
std::unique_ptr<evFade> g_running;
// A fade ended during its own tick waits here until the tick has returned.
std::unique_ptr<evFade> g_retired;
const evFade* g_ticking = nullptr;
bool g_blocked = false;

void FreeRetired()
{
    if (g_retired && g_retired.get() != g_ticking)
        g_retired.reset();
}

void EndRunning()
{
    FreeRetired();
    if (!g_running)
        return;
    if (g_running.get() == g_ticking)
        g_retired = std::move(g_running);
    else
        g_running.reset();
}
} // namespace

bool evFade::Start(ViewerControl& control, int32_t x, int32_t y, const Bitmap& picture, int32_t duration)
{
    FreeRetired();
    if (g_blocked || IsRunning() || picture.IsEmpty())
        return false;
    EndRunning();
    g_running.reset(new evFade(control, x, y, picture, duration));
    g_running->m_timer->SetEnabled(true);
    return true;
}

void evFade::Stop()
{
    g_blocked = true;
    EndRunning();
}

void evFade::Allow()
{
    Stop();
    g_blocked = false;
}

bool evFade::IsBlocked() { return g_blocked; }

bool evFade::IsRunning() { return g_running && g_running->m_level > 0; }

evFade* evFade::Running() { return g_running.get(); }

evFade::evFade(ViewerControl& control, int32_t x, int32_t y, const Bitmap& picture, int32_t duration)
    : m_control(control), m_old(control.Picture()), m_new(picture), m_x(x), m_y(y), m_start(Clock::MillisecondsOfDay()),
      m_duration(duration)
{
    m_old.SetPixelFormat(PixelFormat::pf24bit);
    m_new.SetPixelFormat(PixelFormat::pf24bit);
    m_work = Bitmap(m_new.Width(), m_new.Height(), PixelFormat::pf24bit);
    m_timer = control.CreateTimer(kTickMs, [this] { Tick(); });
}

evFade::~evFade() = default;

int32_t evFade::LevelAt(int32_t elapsed, int32_t duration)
{
    if (duration <= 0)
        return 0;
    const double level = std::trunc(255.0 - static_cast<double>(elapsed) / duration * 255.0);
    if (level < 0)
        return 0;
    return level > 255 ? 255 : static_cast<int32_t>(level);
}

uint8_t evFade::Mix(uint8_t before, uint8_t after, int32_t level)
{
    const double a = level / 255.0;
    const double b = 1.0 - a;
    return static_cast<uint8_t>(std::nearbyint(before * a + after * b));
}

void evFade::Tick()
{
    m_timer->SetEnabled(false);
    g_ticking = this;
    int64_t now = Clock::MillisecondsOfDay();
    if (now < m_start)
        now += Clock::kDayMilliseconds;
    const int64_t elapsed = now - m_start;
    const int32_t level = LevelAt(static_cast<int32_t>(std::min<int64_t>(elapsed, INT32_MAX)), m_duration);
    if (level != m_level) {
        m_level = level;
        MixInto(level);
        m_control.Picture().GetCanvas().Draw(m_x, m_y, m_work);
        m_control.Changed();
    }
    // Changed may have ended this fade; a retired fade never ticks again.
    if (m_level > 0 && g_running.get() == this)
        m_timer->SetEnabled(true);
    g_ticking = nullptr;
}

// Where the target lies partly outside the snapshot, the new picture has nothing to fade from and shows as it is.
// Every channel value pair has its mix looked up in a table of the level, which is the same arithmetic done once
// for each of the 65,536 pairs instead of once per channel of every pixel.
void evFade::MixInto(int32_t level)
{
    std::vector<uint8_t> mix(256 * 256);
    for (int before = 0; before < 256; ++before)
        for (int after = 0; after < 256; ++after)
            mix[before * 256 + after] = Mix(static_cast<uint8_t>(before), static_cast<uint8_t>(after), level);
    for (int y = 0; y < m_new.Height(); ++y) {
        const uint8_t* fresh = m_new.ScanLine(y);
        uint8_t* out = m_work.ScanLine(y);
        const int64_t oldY = static_cast<int64_t>(m_y) + y;
        const uint8_t* old = oldY >= 0 && oldY < m_old.Height() ? m_old.ScanLine(static_cast<int>(oldY)) : nullptr;
        for (int x = 0; x < m_new.Width(); ++x) {
            const int64_t oldX = static_cast<int64_t>(m_x) + x;
            const bool inside = old && oldX >= 0 && oldX < m_old.Width();
            for (int c = 0; c < 3; ++c) {
                const uint8_t after = fresh[x * 3 + c];
                out[x * 3 + c] = mix[(inside ? old[oldX * 3 + c] : after) * 256 + after];
            }
        }
    }
}
