#pragma once
// The drawing surface of a bitmap, with the state and operations of the original platform's canvas: brush,
// pen and font that persist between calls, filled rectangles, stretched and plain drawing of bitmaps, text
// output and measurement, rectangle copies and the AND/OR bit-block transfers. Texts are raw model bytes and are
// shown through the text helpers. Point sizes are pixels at 96 dpi.

#include "platform/Color.h"
#include "platform/Geometry.h"

#include <QFont>
#include <QPoint>

#include <string>
#include <string_view>
#include <vector>

class Bitmap;

enum class BrushStyle { Solid, Clear };
enum class PenStyle { Solid, Dot, Clear };

// Font style set: bold = bit 0, italic = bit 1, underline = bit 2.
enum FontStyleBits : int { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

enum class RasterOp { SrcCopy, SrcAnd, SrcPaint };

struct CanvasFont {
    std::string name = "MS Sans Serif";
    int size = 8; // points
    int style = 0;
    TColor color = kColorBlack;
};

// A QFont for a face name, a point size (pixels at 96 dpi) and a style set.
QFont MakeQFont(const std::string& name, int pointSize, int style);
int PointsToPixels(int pointSize);

class Canvas {
public:
    explicit Canvas(Bitmap& target);

    Bitmap& Target() { return m_target; }
    // Takes over brush, pen, font and pen position of another canvas (a bitmap that moves keeps its canvas state).
    void AssignState(const Canvas& other);

    void SetBrushColor(TColor color) { m_brushColor = color; }
    TColor BrushColor() const { return m_brushColor; }
    void SetBrushStyle(BrushStyle style) { m_brushStyle = style; }
    BrushStyle GetBrushStyle() const { return m_brushStyle; }

    void SetPenColor(TColor color) { m_penColor = color; }
    TColor PenColor() const { return m_penColor; }
    void SetPenWidth(int width) { m_penWidth = width; }
    int PenWidth() const { return m_penWidth; }
    void SetPenStyle(PenStyle style) { m_penStyle = style; }
    PenStyle GetPenStyle() const { return m_penStyle; }

    void SetFont(const CanvasFont& font) { m_font = font; }
    const CanvasFont& Font() const { return m_font; }
    void SetFontName(const std::string& name) { m_font.name = name; }
    void SetFontSize(int size) { m_font.size = size; }
    void SetFontStyle(int style) { m_font.style = style; }
    void SetFontColor(TColor color) { m_font.color = color; }
    // The fraction of its size at which the bitmap will be seen (a page drawn for a thumbnail: about a tenth).
    // Drawing stays in full-size coordinates; whoever draws a photograph may decode it only for the size seen.
    void SetShownScale(double scale) { m_shownScale = scale; }
    double ShownScale() const { return m_shownScale; }

    // Fills the rectangle (right and bottom exclusive) with the brush; a clear brush fills nothing.
    void FillRect(const TRect& rect);
    // Outline with the pen, inside filled with the brush (unless clear).
    void Rectangle(const TRect& rect);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    // Draws the bitmap scaled to the rectangle's width and height independently (nothing is clipped).
    void StretchDraw(const TRect& rect, const Bitmap& source);
    void Draw(int x, int y, const Bitmap& source);

    // Text at (x, y) as the top-left of the text cell; with a solid brush the cell is filled first.
    void TextOut(int x, int y, std::string_view text);
    // As TextOut, clipped to the rectangle.
    void TextRect(const TRect& clip, int x, int y, std::string_view text);
    int TextWidth(std::string_view text) const;
    int TextHeight(std::string_view text) const;

    // Copies the source rectangle of the bitmap into the destination rectangle (scaled if sizes differ).
    void CopyRect(const TRect& dest, const Bitmap& source, const TRect& sourceRect);
    // Bit-block transfer of a source area of the same size, combined per byte with the destination.
    void BitBlt(int x, int y, int width, int height, const Bitmap& source, int sourceX, int sourceY, RasterOp op);

private:
    void DrawPixels(const std::vector<QPoint>& points);
    void DrawText(const TRect* clip, int x, int y, std::string_view text);

    Bitmap& m_target;
    TColor m_brushColor = kColorWhite;
    BrushStyle m_brushStyle = BrushStyle::Solid;
    TColor m_penColor = kColorBlack;
    int m_penWidth = 1;
    PenStyle m_penStyle = PenStyle::Solid;
    CanvasFont m_font;
    TPoint m_penPosition;
    double m_shownScale = 1.0;
};
