#pragma once
// The cross-fade between two slides. One fade runs at a time in the whole process: Start refuses while another
// runs or while fades are blocked. Each 10 ms tick mixes the old picture (a snapshot of the control taken at the
// start) with the new one by the level 255 down to 0 and draws the mix at the target position.
//
// A fade that is ended while its own tick runs (the control's Changed reaching Stop, say) is not destroyed under
// that tick: it is set aside and freed by the next Start, Stop or Allow.

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>

class ViewerControl;
class ViewerTimer;

class evFade {
public:
    static constexpr int kTickMs = 10;

    // Starts a fade of the picture to (x, y) over the given milliseconds; false when refused (fades blocked,
    // another fade still running, or an empty picture).
    static bool Start(ViewerControl& control, int32_t x, int32_t y, const Bitmap& picture, int32_t duration);
    // Blocks new fades and ends the running one.
    static void Stop();
    // Stop, then allow fades again.
    static void Allow();
    static bool IsBlocked();
    static bool IsRunning();
    // The current fade, running or finished; none after Stop.
    static evFade* Running();

    ~evFade();
    evFade(const evFade&) = delete;
    evFade& operator=(const evFade&) = delete;

    // One timer step.
    void Tick();
    int32_t Level() const { return m_level; }
    // The level at a moment of the fade: 255 - elapsed / duration x 255, truncated, never below 0.
    static int32_t LevelAt(int32_t elapsed, int32_t duration);
    // One channel of the mix: round(old x a + new x b) with a = level / 255, b = 1 - a.
    static uint8_t Mix(uint8_t before, uint8_t after, int32_t level);

private:
    evFade(ViewerControl& control, int32_t x, int32_t y, const Bitmap& picture, int32_t duration);
    void MixInto(int32_t level);

    ViewerControl& m_control;
    Bitmap m_old;
    Bitmap m_new;
    Bitmap m_work;
    int32_t m_x;
    int32_t m_y;
    int32_t m_level = 255;
    int32_t m_start;
    int32_t m_duration;
    std::unique_ptr<ViewerTimer> m_timer;
};
