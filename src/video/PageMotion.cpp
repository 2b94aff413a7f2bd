#include "video/PageMotion.h"

#include "model/ViewerSupport.h"
#include "model/evObjectCollection.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorSliderElement.h"
#include "platform/Canvas.h"

#include <algorithm>

void CrossFade(const Bitmap& from, const Bitmap& to, int32_t level, Bitmap& out)
{
    const int width = to.Width();
    const int height = to.Height();
    if (out.Width() != width || out.Height() != height || out.Format() != PixelFormat::pf24bit)
        out = Bitmap(width, height);
    const uint32_t a = static_cast<uint32_t>(std::clamp(level, 0, 255));
    const uint32_t b = 255 - a;
    for (int y = 0; y < height; ++y) {
        const uint8_t* old = from.ScanLine(y);
        const uint8_t* next = to.ScanLine(y);
        uint8_t* line = out.ScanLine(y);
        for (int x = 0; x < width * 3; ++x)
            line[x] = static_cast<uint8_t>((old[x] * a + next[x] * b + 127) / 255);
    }
}

int32_t FadeLevel(int64_t elapsedMs, int64_t durationMs)
{
    if (durationMs <= 0 || elapsedMs >= durationMs)
        return 0;
    if (elapsedMs <= 0)
        return 255;
    return static_cast<int32_t>(255 - elapsedMs * 255 / durationMs);
}

PageMotion::PageMotion(evProjectorPage& page, int width, int height, TColor background, bool soundOn,
                       int64_t shortestMs)
    : m_page(page), m_width(width), m_height(height), m_background(background), m_soundOn(soundOn)
{
    m_durationMs = std::clamp<int64_t>(shortestMs, 0, kLongestPageMs);
    FindMotion();
}

void PageMotion::FindMotion()
{
    const evObjectCollection& elements = m_page.GetElements();
    int64_t longestPass = 0;
    for (int32_t i = 0; i < elements.Count(); ++i) {
        auto* element = elements.GetItemAs<evProjectorPageElement>(i);
        if (!element)
            continue;
        if (auto* slider = dynamic_cast<evProjectorSliderElement*>(element)) {
            const int32_t direction = slider->GetDirection();
            const bool horizontal = direction == 0 || direction == 1;
            const int32_t half = (horizontal ? slider->GetPicture().Width() : slider->GetPicture().Height()) / 2;
            const bool shrinks = direction == 0 || direction == 3;
            int64_t speed = direction >= 0 && direction <= 3 ? std::max(slider->GetSpeed(), 0) : 0;
            if (half <= 0 || speed == 0)
                continue;
            // A strip too slow to pass in the longest page time passes in exactly that time.
            speed = std::max<int64_t>(speed, (int64_t{half} * 1000 + kLongestPageMs - 1) / kLongestPageMs);
            longestPass = std::max(longestPass, (int64_t{half} * 1000 + speed - 1) / speed);
            m_sliders.push_back({slider, shrinks ? half : 0, half, speed, shrinks ? -1 : 1, horizontal});
        } else if (m_page.GetPageType() == 1 && element->GetKind() == 3) {
            ++m_slideCount;
        }
    }
    if (m_slideCount > 0)
        m_intervalMs = std::clamp(m_page.GetSlideInterval(), kShortestIntervalMs, kLongestIntervalMs);
    const int64_t allSlides = int64_t{m_slideCount} * m_intervalMs;
    m_durationMs = std::min(std::max({m_durationMs, allSlides, longestPass}), kLongestPageMs);
}

void PageMotion::PlaceSliders(int64_t ms)
{
    for (const Slider& slider : m_sliders) {
        const int64_t travelled = ms * slider.speed / 1000;
        int64_t offset = (slider.start + slider.sign * travelled) % slider.half;
        if (offset < 0)
            offset += slider.half;
        // The pass ends with the strip's copy in the window, as the viewer has it before it wraps.
        if (offset == 0 && travelled > 0 && slider.sign > 0)
            offset = slider.half;
        slider.element->SetOffset(static_cast<int32_t>(offset));
    }
}

// The viewer's drawing order without a pointer: kind 0, the sound button's visible look, the slide, each film
// strip with its first item, and last the first hover image.
void PageMotion::Draw(int32_t slide, Bitmap& target)
{
    if (target.Width() != m_width || target.Height() != m_height || target.Format() != PixelFormat::pf24bit)
        target = Bitmap(m_width, m_height);
    Canvas& canvas = target.GetCanvas();
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(m_background);
    canvas.FillRect(TRect{0, 0, m_width, m_height});
    const evObjectCollection& elements = m_page.GetElements();
    int32_t shown = -1;
    int32_t ordinal = 0;
    for (int32_t i = 0; i < elements.Count(); ++i) {
        const auto* element = elements.GetItemAs<evProjectorPageElement>(i);
        if (!element)
            continue;
        if (const auto* slider = dynamic_cast<const evProjectorSliderElement*>(element)) {
            DrawElementSafely(*slider, canvas);
            if (slider->GetItems().Count() > 0)
                if (const auto* item = slider->GetItems().GetItemAs<evProjectorPageElement>(0))
                    DrawElementSafely(*item, canvas);
            continue;
        }
        const int32_t kind = element->GetKind();
        if (kind == 0 || (kind == 4 && m_soundOn) || (kind == 5 && !m_soundOn))
            DrawElementSafely(*element, canvas);
        else if (kind == 1 && shown == -1)
            shown = i;
        else if (kind == 3 && m_page.GetPageType() == 1 && ordinal++ == slide)
            DrawElementSafely(*element, canvas);
    }
    if (shown != -1)
        DrawElementSafely(*elements.GetItemAs<evProjectorPageElement>(shown), canvas);
}

// Two pictures are kept, the one asked for last and the one before: a fade needs both.
const Bitmap& PageMotion::SlidePicture(int32_t slide)
{
    for (int i = 0; i < 2; ++i) {
        if (m_cachedSlide[i] == slide) {
            m_nextCache = 1 - i;
            return m_cached[i];
        }
    }
    const int slot = m_nextCache;
    Draw(slide, m_cached[slot]);
    m_cachedSlide[slot] = slide;
    m_nextCache = 1 - slot;
    return m_cached[slot];
}

const Bitmap& PageMotion::FrameAt(int64_t ms)
{
    ms = std::clamp<int64_t>(ms, 0, m_durationMs);
    int32_t slide = 0;
    int32_t previous = -1;
    int32_t level = 0;
    if (m_slideCount > 0) {
        const int64_t changes = ms / m_intervalMs;
        slide = static_cast<int32_t>(changes % m_slideCount);
        const int64_t since = ms - changes * m_intervalMs;
        if (changes > 0 && m_slideCount > 1 && since < kFadeMs) {
            previous = static_cast<int32_t>((changes - 1) % m_slideCount);
            level = FadeLevel(since, kFadeMs);
        }
    }
    if (m_sliders.empty()) {
        const Bitmap& next = SlidePicture(slide);
        if (previous == -1 || level == 0)
            return next;
        CrossFade(SlidePicture(previous), next, level, m_frame);
        return m_frame;
    }
    PlaceSliders(ms);
    Draw(slide, m_frame);
    if (previous != -1 && level > 0) {
        Draw(previous, m_cached[0]);
        m_cachedSlide[0] = -1;
        CrossFade(m_cached[0], m_frame, level, m_frame);
    }
    return m_frame;
}
