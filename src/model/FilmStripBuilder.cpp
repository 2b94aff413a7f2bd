#include "model/FilmStripBuilder.h"

#include "model/evPicture.h"
#include "platform/Canvas.h"

#include <algorithm>

FilmStripBuilder::FilmStripBuilder(int32_t cellWidth, int32_t cellHeight, int32_t direction, TColor background)
    : m_cellWidth(cellWidth), m_cellHeight(cellHeight), m_direction(direction), m_background(background)
{}

int32_t FilmStripBuilder::CellCount(int32_t pictureCount, const TRect& window) const
{
    const int64_t cell = CellLength();
    if (pictureCount <= 0 || cell <= 0 || m_cellWidth <= 0 || m_cellHeight <= 0)
        return 0;
    const int64_t maxCells = kMaxStripLength / (2 * cell);
    const int64_t windowLength = std::max<int64_t>(IsHorizontal() ? window.Width() : window.Height(), 0);
    const int64_t sequence = static_cast<int64_t>(pictureCount) * cell;
    const int64_t repeats = std::max<int64_t>(1, (windowLength + sequence - 1) / sequence);
    return static_cast<int32_t>(std::min(repeats * pictureCount, maxCells));
}

TRect FilmStripBuilder::CellRect(int32_t index) const
{
    if (IsHorizontal())
        return Rect(index * m_cellWidth, 0, (index + 1) * m_cellWidth, m_cellHeight);
    return Rect(0, index * m_cellHeight, m_cellWidth, (index + 1) * m_cellHeight);
}

// The picture scaled to fit the cell with its proportions kept, on a cell-sized background.
Bitmap FilmStripBuilder::Thumbnail(const evPicture& picture) const
{
    Bitmap thumbnail(m_cellWidth, m_cellHeight);
    Canvas& canvas = thumbnail.GetCanvas();
    canvas.SetBrushColor(m_background);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.FillRect(Rect(0, 0, m_cellWidth, m_cellHeight));
    // The size comes from the picture's header; it is decoded at the scale of the cell only (or drawn as the
    // damaged mark).
    const int32_t pictureWidth = picture.GetWidth();
    const int32_t pictureHeight = picture.GetHeight();
    if (picture.GetImageStream().empty() || pictureWidth <= 0 || pictureHeight <= 0)
        return thumbnail;
    const double scale =
        std::min(static_cast<double>(m_cellWidth) / pictureWidth, static_cast<double>(m_cellHeight) / pictureHeight);
    const int32_t width = std::clamp(static_cast<int32_t>(pictureWidth * scale + 0.5), 1, m_cellWidth);
    const int32_t height = std::clamp(static_cast<int32_t>(pictureHeight * scale + 0.5), 1, m_cellHeight);
    const int32_t left = (m_cellWidth - width) / 2;
    const int32_t top = (m_cellHeight - height) / 2;
    canvas.Draw(left, top, picture.ScaledTo(width, height));
    return thumbnail;
}

// The second half repeats the first cell by cell, so each thumbnail is drawn into its cells of both halves.
Bitmap FilmStripBuilder::Build(const std::vector<const evPicture*>& pictures, int32_t cellCount) const
{
    if (pictures.empty() || cellCount <= 0)
        return Bitmap();
    const TRect last = CellRect(2 * cellCount - 1);
    Bitmap strip(last.Right, last.Bottom);
    const auto pictureCount = static_cast<int32_t>(pictures.size());
    const int32_t used = std::min(pictureCount, cellCount);
    for (int32_t p = 0; p < used; ++p) {
        const Bitmap thumbnail = Thumbnail(*pictures[static_cast<size_t>(p)]);
        for (int32_t cell = p; cell < cellCount; cell += pictureCount) {
            for (const int32_t index : {cell, cell + cellCount}) {
                const TRect rect = CellRect(index);
                strip.GetCanvas().Draw(rect.Left, rect.Top, thumbnail);
            }
        }
    }
    return strip;
}
