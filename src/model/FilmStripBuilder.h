#pragma once
// The strip of a film strip: thumbnails of the page's pictures side by side (directions 0 and 1, moving left or
// right) or one under another (2 and 3), the sequence repeated until it covers the window, and then the whole
// copied behind itself, so that the scrolling strip wraps at half its length.

#include "platform/Bitmap.h"
#include "platform/Color.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <vector>

class evPicture;

class FilmStripBuilder {
public:
    // The longest side a JPEG can hold; the doubled strip is stored as one.
    static constexpr int32_t kMaxStripLength = 65500;

    FilmStripBuilder(int32_t cellWidth, int32_t cellHeight, int32_t direction, TColor background);

    bool IsHorizontal() const { return m_direction == 0 || m_direction == 1; }
    // Thumbnails in the undoubled strip: the k pictures repeated n times, n >= 1 the smallest number for which
    // they reach the window's length. Capped so that the doubled strip stays within kMaxStripLength (then only
    // the first pictures fit); 0 when there is nothing to show or the cell has no size.
    int32_t CellCount(int32_t pictureCount, const TRect& window) const;
    // The doubled strip of cellCount thumbnails, cell i showing picture i mod k. Each picture is decoded once
    // and drawn into its cells keeping its proportions, centred on the background colour.
    Bitmap Build(const std::vector<const evPicture*>& pictures, int32_t cellCount) const;

private:
    int32_t CellLength() const { return IsHorizontal() ? m_cellWidth : m_cellHeight; }
    TRect CellRect(int32_t index) const;
    Bitmap Thumbnail(const evPicture& picture) const;

    int32_t m_cellWidth;
    int32_t m_cellHeight;
    int32_t m_direction;
    TColor m_background;
};
