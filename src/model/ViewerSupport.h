#pragma once
// Small helpers of the page viewer and the film strip.
//
// Rectangles that the viewer builds from stored positions, which a damaged file may put anywhere: coordinates
// are kept within +-2^30, so widths, heights and the sum of two coordinates never overflow.

#include "model/evProjectorPageElement.h"
#include "platform/Errors.h"
#include "platform/Geometry.h"
#include "platform/Log.h"

#include <algorithm>
#include <cstdint>
#include <string>

constexpr int64_t kViewerCoordinateLimit = int64_t{1} << 30;

inline int32_t ClampCoordinate(int64_t value)
{
    return static_cast<int32_t>(std::clamp(value, -kViewerCoordinateLimit, kViewerCoordinateLimit));
}

inline TRect ClampedRect(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    return TRect{ClampCoordinate(left), ClampCoordinate(top), ClampCoordinate(right), ClampCoordinate(bottom)};
}

inline TRect ClampedRect(const TRect& rect) { return ClampedRect(rect.Left, rect.Top, rect.Right, rect.Bottom); }

inline TRect UnionRect(const TRect& a, const TRect& b)
{
    return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom)};
}

// The common part; a rectangle without area when there is none.
inline TRect IntersectRect(const TRect& a, const TRect& b)
{
    const TRect common{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                       std::min(a.Bottom, b.Bottom)};
    return common.Width() > 0 && common.Height() > 0 ? common : TRect{};
}

inline bool IsEmptyRect(const TRect& rect) { return rect.Width() <= 0 || rect.Height() <= 0; }

// The element's rectangle on the page: its position and its picture's size.
inline TRect ElementArea(const evProjectorPageElement& element)
{
    const int64_t x = element.GetX();
    const int64_t y = element.GetY();
    return ClampedRect(x, y, x + element.GetPicture().Width(), y + element.GetPicture().Height());
}

// Hit tests of the viewer include the right and bottom edges.
inline bool ContainsPoint(const TRect& rect, int32_t x, int32_t y)
{
    return rect.Left <= x && x <= rect.Right && rect.Top <= y && y <= rect.Bottom;
}

// Draws one element. The viewer is where a damaged picture meets the screen: such an element is left out and
// the rest of the page still shows.
inline void DrawElementSafely(const evProjectorPageElement& element, Canvas& canvas)
{
    try {
        element.Draw(canvas);
    } catch (const EVelloraError& e) {
        ktLogs::LogLine(std::string("Presentation element not drawn: ") + e.what());
    }
}
