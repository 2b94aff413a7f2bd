#pragma once
// A film strip: a window on the page through which a long strip of thumbnails scrolls; the picture that
// belongs to the thumbnail under the pointer is shown on the page. The strip holds the thumbnails twice in a
// row, so scrolling wraps at half its length.
//
// Body on the stream (version 0): the evProjectorPageElement body, whose picture is the strip, then
//   int32 x 4   window left, top, right, bottom
//   int32       direction   0 = offset decreases horizontally, 1 = increases horizontally,
//                           2 = increases vertically, 3 = decreases vertically
//   int32       item width
//   int32       item height
//   int32       speed       pixels per second
//   collection  items       one evProjectorPageElement per thumbnail, each at its own place on the page
//
// The strip bitmap, the offset, the current item and the last tick are not stored. The strip is decoded from
// the stored picture when it is first needed and released when the viewer lets the element go, so a
// presentation held in memory keeps only compressed strips.

#include "model/evProjectorPageElement.h"
#include "platform/Bitmap.h"

#include <cstdint>
#include <memory>

class evObjectCollection;
class ViewerControl;
class ViewerTimer;

class evProjectorSliderElement : public evProjectorPageElement {
    EV_DECLARE_CLASS(evProjectorSliderElement, evProjectorPageElement)

    static constexpr int kTickMs = 1;

    // The strip is encoded once as the stored picture; the element sits at the window's top-left.
    evProjectorSliderElement(const TRect& window, int32_t kind, int32_t speed,
                             std::unique_ptr<evObjectCollection> items, int32_t direction, int32_t itemHeight,
                             int32_t itemWidth, const Bitmap& strip);
    evProjectorSliderElement(Stream& stream, ProgressBar* progress);
    ~evProjectorSliderElement() override;

    static constexpr int32_t kVersion = 0;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;

    // Draws the visible part of the strip into the window.
    void Draw(Canvas& canvas) const override;
    // The strip rectangle that the window shows at the current offset.
    TRect SourceRect() const;

    // The viewer hands the element its control at every rendering of the page. The first time, the element
    // records the time, makes item 0 (when there is one) the current item and starts its 1 ms timer. Every time
    // it draws the window and the current item into the target.
    void Show(ViewerControl& control, Canvas& target);
    // Stops the timer and forgets the control (the page is no longer shown); the decoded strip is released.
    void Detach();
    bool IsAttached() const { return m_control != nullptr; }
    // One timer step: move by elapsed x speed / 1000 pixels, wrap, run the hover test, draw the window.
    void Tick();
    // Shows the item under the pointer when it is another one than the current item.
    void HoverTest();
    // The item under a point of the control, or -1 outside the window or without a usable item size.
    int32_t ItemAt(int32_t x, int32_t y) const;

    const TRect& GetWindow() const { return m_window; }
    int32_t GetDirection() const { return m_direction; }
    int32_t GetItemWidth() const { return m_itemWidth; }
    int32_t GetItemHeight() const { return m_itemHeight; }
    int32_t GetSpeed() const { return m_speed; }
    evObjectCollection& GetItems() { return *m_items; }
    const evObjectCollection& GetItems() const { return *m_items; }
    const Bitmap& GetStrip() const;

    int32_t GetOffset() const { return m_offset; }
    void SetOffset(int32_t offset) { m_offset = offset; }
    int32_t GetCurrentItem() const { return m_currentItem; }
    void SetCurrentItem(int32_t item) { m_currentItem = item; }
    int32_t GetLastTick() const { return m_lastTick; }
    void SetLastTick(int32_t tick) { m_lastTick = tick; }

private:
    bool IsHorizontal() const { return m_direction == 0 || m_direction == 1; }
    // Half the strip's length in the direction of movement: where the offset wraps.
    int32_t HalfLength() const;
    void ResetOffset();
    void Move(int64_t step);
    void DrawItem(int32_t index, Canvas& canvas) const;

    TRect m_window;
    int32_t m_direction = 0;
    int32_t m_itemWidth = 0;
    int32_t m_itemHeight = 0;
    int32_t m_speed = 0;
    std::unique_ptr<evObjectCollection> m_items;
    mutable Bitmap m_strip;
    int32_t m_offset = 0;
    int32_t m_currentItem = -1;
    int32_t m_lastTick = 0;
    ViewerControl* m_control = nullptr;
    std::unique_ptr<ViewerTimer> m_timer;
};
