#include "presentation/LabelSheet.h"

#include "platform/Bitmap.h"

#include <cmath>

namespace {

// The original platform's rounding: to the nearest whole number, halves to the even one.
int32_t Round(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

// The test sheet (ours): outlines 0.2 mm wide, the disc's outer edge and centre hole, ruler ticks of 1.5, 2.5 and
// 4 mm at every millimetre, every fifth and every tenth, numbers 2 mm high at every tenth on the top and left
// edges, and the position written inside the upper part of the ring.
constexpr double kOutlineMm = 0.2;
constexpr double kDiscDiameterMm = 118;
constexpr double kHoleDiameterMm = 41;
constexpr double kNumberHeightMm = 2;
constexpr double kTitleHeightMm = 4;
constexpr double kPositionHeightMm = 3;

double TickLength(int mm) { return mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.5; }

const char* LabelName(LabelSheet::Label label) { return label == LabelSheet::lbUpper ? "Upper label" : "Lower label"; }

} // namespace

LabelSheet::LabelSheet() : m_metrics(PrinterMetrics::A4(kPreviewResolution)) {}

void LabelSheet::Enter()
{
    m_positions = kEntryPositions;
    m_print = {true, true};
}

void LabelSheet::Reset() { m_positions = kResetPositions; }

bool LabelSheet::Fits(Position position) const
{
    return position.x >= 0 && position.y >= 0 && WithinWidth(position.x) && WithinHeight(position.y);
}

// The far edge is compared with the physical size less twice the offset, as the original print screen does.
bool LabelSheet::WithinWidth(int32_t x) const
{
    return Round((x + kLabelSizeMm * 10) / 10.0 * m_metrics.DotsPerMmX()) <=
           m_metrics.PhysicalWidth() - 2 * m_metrics.offsetX;
}

bool LabelSheet::WithinHeight(int32_t y) const
{
    return Round((y + kLabelSizeMm * 10) / 10.0 * m_metrics.DotsPerMmY()) <=
           m_metrics.PhysicalHeight() - 2 * m_metrics.offsetY;
}

// Each direction checks only the edge it moves towards, so a label left beyond an edge (another printer's
// metrics) can still be brought back.
bool LabelSheet::Move(Label label, Direction direction)
{
    if (!m_print[label])
        return false;
    Position next = m_positions[label];
    bool allowed = false;
    switch (direction) {
    case dUp:
        next.y -= kStep;
        allowed = next.y >= 0;
        break;
    case dDown:
        next.y += kStep;
        allowed = WithinHeight(next.y);
        break;
    case dLeft:
        next.x -= kStep;
        allowed = next.x >= 0;
        break;
    case dRight:
        next.x += kStep;
        allowed = WithinWidth(next.x);
        break;
    }
    if (allowed)
        m_positions[label] = next;
    return allowed;
}

TRect LabelSheet::PreviewRect(Label label, int32_t previewWidth, int32_t previewHeight) const
{
    const double physicalWidth = m_metrics.PhysicalWidth();
    const double physicalHeight = m_metrics.PhysicalHeight();
    if (physicalWidth <= 0 || physicalHeight <= 0)
        return TRect{};
    const Position p = m_positions[label];
    const int32_t left = Round(p.x / 10.0 * m_metrics.DotsPerMmX() / physicalWidth * previewWidth);
    const int32_t top = Round(p.y / 10.0 * m_metrics.DotsPerMmY() / physicalHeight * previewHeight);
    const int32_t width = Round(previewWidth * m_metrics.DotsPerMmX() * kLabelSizeMm / physicalWidth);
    const int32_t height = Round(previewHeight * m_metrics.DotsPerMmY() * kLabelSizeMm / physicalHeight);
    return Rect(left, top, left + width, top + height);
}

TRect LabelSheet::PrintRect(Label label) const
{
    const Position p = m_positions[label];
    const double left = p.x / 10.0 * m_metrics.DotsPerMmX() - m_metrics.offsetX;
    const double top = p.y / 10.0 * m_metrics.DotsPerMmY() - m_metrics.offsetY;
    return Rect(Round(left), Round(top), Round(left + kLabelSizeMm * m_metrics.DotsPerMmX()),
                Round(top + kLabelSizeMm * m_metrics.DotsPerMmY()));
}

bool LabelSheet::Print(Printer& printer, const Bitmap& label)
{
    m_metrics = printer.GetMetrics();
    if (!AnyToPrint())
        return false;
    printer.BeginDoc();
    for (Label each : {lbUpper, lbLower}) {
        if (m_print[each])
            printer.StretchDraw(PrintRect(each), label);
    }
    printer.EndDoc();
    return true;
}

bool LabelSheet::PrintTestSheet(Printer& printer)
{
    m_metrics = printer.GetMetrics();
    if (!AnyToPrint())
        return false;
    printer.BeginDoc();
    for (Label each : {lbUpper, lbLower}) {
        if (m_print[each])
            DrawTestLabel(printer, each);
    }
    printer.EndDoc();
    return true;
}

int32_t LabelSheet::Dots(double mm) const { return Round(mm * m_metrics.DotsPerMmX()); }

void LabelSheet::DrawTestLabel(Printer& printer, Label label) const
{
    const TRect square = PrintRect(label);
    const int32_t pen = std::max(1, Dots(kOutlineMm));
    printer.DrawFrame(square, pen);
    const int32_t cx = (square.Left + square.Right) / 2;
    const int32_t cy = (square.Top + square.Bottom) / 2;
    for (double diameter : {kDiscDiameterMm, kHoleDiameterMm}) {
        const int32_t rx = Round(diameter / 2 * m_metrics.DotsPerMmX());
        const int32_t ry = Round(diameter / 2 * m_metrics.DotsPerMmY());
        printer.DrawEllipse(Rect(cx - rx, cy - ry, cx + rx, cy + ry), pen);
    }
    DrawRuler(printer, square);
    const int32_t titleTop = square.Top + Dots(14);
    printer.DrawText(Rect(square.Left, titleTop, square.Right, titleTop + Dots(kTitleHeightMm * 1.4)), LabelName(label),
                     Dots(kTitleHeightMm));
    const int32_t lineTop = titleTop + Dots(kTitleHeightMm * 1.6);
    const Position p = m_positions[label];
    printer.DrawText(Rect(square.Left, lineTop, square.Right, lineTop + Dots(kPositionHeightMm * 1.4)),
                     PositionText(p.x) + " from the left, " + PositionText(p.y) + " from the top",
                     Dots(kPositionHeightMm));
}

// Ticks point inwards from every edge, so they are on the label itself; the millimetres count from the square's
// top-left corner.
void LabelSheet::DrawRuler(Printer& printer, const TRect& square) const
{
    const int32_t pen = std::max(1, Dots(kOutlineMm));
    const int32_t numberHalfWidth = Dots(4);
    const int32_t numberHeight = Dots(kNumberHeightMm);
    for (int mm = 1; mm < kLabelSizeMm; ++mm) {
        const int32_t x = square.Left + Round(mm * m_metrics.DotsPerMmX());
        const int32_t y = square.Top + Round(mm * m_metrics.DotsPerMmY());
        const int32_t lengthX = Round(TickLength(mm) * m_metrics.DotsPerMmX());
        const int32_t lengthY = Round(TickLength(mm) * m_metrics.DotsPerMmY());
        printer.DrawLine({x, square.Top}, {x, square.Top + lengthY}, pen);
        printer.DrawLine({x, square.Bottom}, {x, square.Bottom - lengthY}, pen);
        printer.DrawLine({square.Left, y}, {square.Left + lengthX, y}, pen);
        printer.DrawLine({square.Right, y}, {square.Right - lengthX, y}, pen);
        if (mm % 10 != 0)
            continue;
        const std::string number = std::to_string(mm);
        const int32_t below = square.Top + lengthY + Dots(0.5);
        printer.DrawText(Rect(x - numberHalfWidth, below, x + numberHalfWidth, below + numberHeight * 3 / 2), number,
                         numberHeight);
        const int32_t beside = square.Left + lengthX + Dots(0.5);
        printer.DrawText(Rect(beside, y - numberHeight, beside + 2 * numberHalfWidth, y + numberHeight), number,
                         numberHeight);
    }
}

std::string LabelSheet::PositionText(int32_t tenths)
{
    const std::string sign = tenths < 0 ? "-" : "";
    const int32_t magnitude = tenths < 0 ? -tenths : tenths;
    return sign + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10) + " mm";
}
