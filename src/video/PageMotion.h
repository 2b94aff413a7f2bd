#pragma once
// One presentation page over time, as the player shows it without a pointer on it: the page drawn on the
// background colour; a slide-show page changes its slide every interval with the viewer's 1000 ms cross-fade; a
// film strip scrolls at its speed with its first item shown. The frames are computed from the page's elements
// at a given time instead of through the viewer's timers, so a video is the same on a slow machine as on a fast
// one.
//
// How long the page lasts: at least the given time; a slide show at least until every slide was shown for its
// interval; a film strip at least until it scrolled once through. Nothing lasts longer than kLongestPageMs: a
// slower strip is sped up to pass once in that time, and slide intervals are kept within
// [kShortestIntervalMs, kLongestIntervalMs], whatever a damaged page says.

#include "platform/Bitmap.h"
#include "platform/Color.h"

#include <cstdint>
#include <vector>

class evProjectorPage;
class evProjectorSliderElement;

class PageMotion {
public:
    static constexpr int64_t kLongestPageMs = 10 * 60 * 1000;
    static constexpr int32_t kShortestIntervalMs = 1000;
    static constexpr int32_t kLongestIntervalMs = 60 * 1000;
    static constexpr int32_t kFadeMs = 1000;

    // The page stays the caller's and must outlive this object. soundOn picks the sound button's look (kind 4
    // while on, kind 5 while off).
    PageMotion(evProjectorPage& page, int width, int height, TColor background, bool soundOn, int64_t shortestMs);

    int64_t GetDurationMs() const { return m_durationMs; }
    // True when every frame is the same picture.
    bool IsStill() const { return m_sliders.empty() && m_slideCount == 0; }
    int32_t GetSlideCount() const { return m_slideCount; }
    int32_t GetSlideIntervalMs() const { return m_intervalMs; }

    // The page at time ms since it appeared (pf24bit, the given size).
    const Bitmap& FrameAt(int64_t ms);

private:
    struct Slider {
        evProjectorSliderElement* element;
        int32_t start; // offset when the page appears
        int32_t half;  // where the offset wraps
        int64_t speed; // pixels per second, as scrolled in the video
        int32_t sign;  // +1 when the offset grows, -1 when it shrinks
        bool horizontal;
    };

    void FindMotion();
    void PlaceSliders(int64_t ms);
    void Draw(int32_t slide, Bitmap& target);
    const Bitmap& SlidePicture(int32_t slide);

    evProjectorPage& m_page;
    int m_width;
    int m_height;
    TColor m_background;
    bool m_soundOn;
    int64_t m_durationMs = 0;
    int32_t m_slideCount = 0;
    int32_t m_intervalMs = 0;
    std::vector<Slider> m_sliders;
    // The last two slides drawn (a fade needs both) and the frame handed out.
    Bitmap m_cached[2];
    int32_t m_cachedSlide[2] = {-1, -1};
    int m_nextCache = 0;
    Bitmap m_frame;
};

// out = round(from x a + to x (1 - a)) per colour, a = level / 255, as the viewer's cross-fade mixes; both
// pictures pf24bit of one size.
void CrossFade(const Bitmap& from, const Bitmap& to, int32_t level, Bitmap& out);
// The viewer's fade level elapsed ms into a fade of duration ms: 255 down to 0.
int32_t FadeLevel(int64_t elapsedMs, int64_t durationMs);
