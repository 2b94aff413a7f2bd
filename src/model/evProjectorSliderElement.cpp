#include "model/evProjectorSliderElement.h"

#include "model/ViewerControl.h"
#include "model/ViewerSupport.h"
#include "model/evObjectCollection.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

evProjectorSliderElement::evProjectorSliderElement(const TRect& window, int32_t kind, int32_t speed,
                                                   std::unique_ptr<evObjectCollection> items, int32_t direction,
                                                   int32_t itemHeight, int32_t itemWidth, const Bitmap& strip)
    : evProjectorPageElement(window.Left, window.Top, JpegImage::FromBitmap(strip), kind), m_window(window),
      m_direction(direction), m_itemWidth(itemWidth), m_itemHeight(itemHeight), m_speed(speed),
      m_items(items ? std::move(items) : std::make_unique<evObjectCollection>()), m_strip(strip)
{
    ResetOffset();
}

// Layout: the evProjectorPageElement body (header, X, Y, kind, N, N bytes strip JPEG), then
//   int32 window left, top, right, bottom
//   int32 direction, int32 item width, int32 item height, int32 speed
//   collection items
evProjectorSliderElement::evProjectorSliderElement(Stream& stream, ProgressBar* progress)
    : evProjectorPageElement(stream, progress)
{
    m_window.Left = stream.ReadInt32();
    m_window.Top = stream.ReadInt32();
    m_window.Right = stream.ReadInt32();
    m_window.Bottom = stream.ReadInt32();
    m_direction = stream.ReadInt32();
    m_itemWidth = stream.ReadInt32();
    m_itemHeight = stream.ReadInt32();
    m_speed = stream.ReadInt32();
    m_items = std::make_unique<evObjectCollection>(stream, progress);
    ResetOffset();
}

evProjectorSliderElement::~evProjectorSliderElement() = default;

// The strip never changes after construction, and the stored picture is its compressed form; writing that
// picture rather than compressing the strip again keeps a read element's bytes and avoids a generation loss
// on every save.
void evProjectorSliderElement::SaveToStream(Stream& stream) const
{
    evProjectorPageElement::SaveToStream(stream);
    stream.WriteInt32(m_window.Left);
    stream.WriteInt32(m_window.Top);
    stream.WriteInt32(m_window.Right);
    stream.WriteInt32(m_window.Bottom);
    stream.WriteInt32(m_direction);
    stream.WriteInt32(m_itemWidth);
    stream.WriteInt32(m_itemHeight);
    stream.WriteInt32(m_speed);
    if (!m_items->SaveToStream(stream))
        stream.RaiseWriteFailure();
}

const Bitmap& evProjectorSliderElement::GetStrip() const
{
    if (m_strip.IsEmpty() && !GetPicture().IsEmpty())
        m_strip = GetPicture().Decode();
    return m_strip;
}

// The stored picture carries the strip's size in its header, so the size is known without decoding.
int32_t evProjectorSliderElement::HalfLength() const
{
    return (IsHorizontal() ? GetPicture().Width() : GetPicture().Height()) / 2;
}

void evProjectorSliderElement::ResetOffset()
{
    m_currentItem = -1;
    m_offset = m_direction == 0 || m_direction == 3 ? HalfLength() : 0;
}

TRect evProjectorSliderElement::SourceRect() const
{
    const TRect window = ClampedRect(m_window);
    if (IsHorizontal())
        return ClampedRect(m_offset, 0, int64_t{m_offset} + window.Width(), window.Height());
    return ClampedRect(0, m_offset, window.Width(), int64_t{m_offset} + window.Height());
}

void evProjectorSliderElement::Draw(Canvas& canvas) const
{
    if (GetPicture().IsEmpty())
        return;
    canvas.CopyRect(ClampedRect(m_window), GetStrip(), SourceRect());
}

void evProjectorSliderElement::Show(ViewerControl& control, Canvas& target)
{
    if (m_control != &control) {
        if (m_control)
            Detach();
        m_control = &control;
        m_lastTick = Clock::MillisecondsOfDay();
        m_currentItem = m_items->Count() > 0 ? 0 : -1;
        m_timer = control.CreateTimer(kTickMs, [this] { Tick(); });
        m_timer->SetEnabled(true);
    }
    DrawElementSafely(*this, target);
    if (m_currentItem != -1)
        DrawItem(m_currentItem, target);
}

void evProjectorSliderElement::Detach()
{
    m_timer.reset();
    m_control = nullptr;
    if (!GetPicture().IsEmpty())
        m_strip = Bitmap();
}

void evProjectorSliderElement::Tick()
{
    if (!m_control)
        return;
    m_timer->SetEnabled(false);
    const int32_t now = Clock::MillisecondsOfDay();
    if (now < m_lastTick)
        m_lastTick -= Clock::kDayMilliseconds;
    // A negative speed would run the strip out of its bounds; it stands still like speed 0.
    const int64_t speed = m_speed > 0 ? m_speed : 0;
    const int64_t step = (int64_t{now} - m_lastTick) * speed / 1000;
    if (step != 0) {
        m_lastTick = now;
        Move(step);
        DrawElementSafely(*this, m_control->Picture().GetCanvas());
        m_control->Changed();
    }
    // The pointer may rest while the strip moves, or move while it stands still.
    HoverTest();
    m_timer->SetEnabled(true);
}

// Offsets stay within [0, half length]: past the end the strip continues from its copy.
void evProjectorSliderElement::Move(int64_t step)
{
    const int64_t half = HalfLength();
    if (half <= 0) {
        m_offset = 0;
        return;
    }
    int64_t offset = m_offset;
    if (m_direction == 0 || m_direction == 3) {
        offset -= step;
        if (offset < 0)
            offset = half;
    } else if (m_direction == 1 || m_direction == 2) {
        offset += step;
        // As often as half the length fits: a single step longer than the strip still lands inside it.
        if (offset > half)
            offset = offset % half == 0 ? half : offset % half;
    }
    m_offset = static_cast<int32_t>(std::clamp<int64_t>(offset, 0, half));
}

int32_t evProjectorSliderElement::ItemAt(int32_t x, int32_t y) const
{
    if (!ContainsPoint(m_window, x, y))
        return -1;
    const int64_t size = IsHorizontal() ? m_itemWidth : m_itemHeight;
    if (size <= 0)
        return -1;
    const int64_t along = IsHorizontal() ? int64_t{x} - m_window.Left : int64_t{y} - m_window.Top;
    int64_t index = (along + m_offset) / size;
    const int64_t count = m_items->Count();
    if (index >= count)
        index -= count;
    return index >= 0 && index < count ? static_cast<int32_t>(index) : -1;
}

void evProjectorSliderElement::HoverTest()
{
    if (!m_control)
        return;
    const TPoint pointer = m_control->PointerPosition();
    const int32_t index = ItemAt(pointer.X, pointer.Y);
    if (index == -1 || index == m_currentItem)
        return;
    DrawItem(index, m_control->Picture().GetCanvas());
    m_currentItem = index;
    m_control->Changed();
}

void evProjectorSliderElement::DrawItem(int32_t index, Canvas& canvas) const
{
    if (index < 0 || index >= m_items->Count())
        return;
    if (const auto* item = m_items->GetItemAs<evProjectorPageElement>(index))
        DrawElementSafely(*item, canvas);
}
