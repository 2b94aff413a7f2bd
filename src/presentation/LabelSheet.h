#pragma once
// The sheet of the label kit: up to two disc labels of 120 x 120 mm on one sheet, each placed by the top-left
// corner of its square, measured in tenths of a millimetre from the sheet's physical corner. The sheet knows the
// printer's metrics; from them it computes where a label lies in the sheet preview and in the printer's dots,
// which moves keep a label on the printable area, and it prints the labels or a test sheet.
//
// Rounding is the original platform's: halves go to the even neighbour.

#include "platform/Geometry.h"
#include "platform/Printer.h"

#include <array>
#include <cstdint>
#include <string>

class Bitmap;

class LabelSheet {
public:
    enum Label { lbUpper, lbLower, lbCount };
    enum Direction { dUp, dDown, dLeft, dRight };

    struct Position {
        int32_t x = 0; // tenths of a millimetre from the sheet's left edge
        int32_t y = 0; // tenths of a millimetre from the sheet's top edge
        bool operator==(const Position&) const = default;
    };

    static constexpr int32_t kLabelSizeMm = 120;
    // One press of a move button: half a millimetre.
    static constexpr int32_t kStep = 5;
    // Where the labels are when the print screen opens, and after Reset.
    static constexpr std::array<Position, lbCount> kEntryPositions{{{450, 204}, {450, 1574}}};
    static constexpr std::array<Position, lbCount> kResetPositions{{{465, 214}, {465, 1584}}};
    // The metrics of the preview before any printer is asked: A4 at 150 dots per inch without offsets.
    static constexpr int32_t kPreviewResolution = 150;

    // Entry positions, both labels on, the preview metrics.
    LabelSheet();

    // Back to the entry positions with both labels on.
    void Enter();
    void Reset();

    Position GetPosition(Label label) const { return m_positions[label]; }
    void SetPosition(Label label, Position position) { m_positions[label] = position; }
    bool GetPrint(Label label) const { return m_print[label]; }
    void SetPrint(Label label, bool print) { m_print[label] = print; }
    bool AnyToPrint() const { return m_print[lbUpper] || m_print[lbLower]; }
    const PrinterMetrics& GetMetrics() const { return m_metrics; }
    void SetMetrics(const PrinterMetrics& metrics) { m_metrics = metrics; }

    // One step in the direction. Refused (false, nothing changes) when the label is not printed, or when the step
    // goes up or left below zero, or down or right so far that the label's far edge lies beyond the printable
    // height or width.
    bool Move(Label label, Direction direction);
    // Whether a label at the position lies within the limits that Move keeps.
    bool Fits(Position position) const;

    // The label's square in a preview of the sheet of the given size.
    TRect PreviewRect(Label label, int32_t previewWidth, int32_t previewHeight) const;
    // The label's square in the printer's dots (origin at the printable area).
    TRect PrintRect(Label label) const;

    // Each label that is on, stretched into its square. The metrics are read from the printer first. Without a
    // label to print no job is started and the answer is false.
    bool Print(Printer& printer, const Bitmap& label);
    // The squares of the labels that are on as thin outlines with the disc's outer edge and centre hole, a
    // millimetre ruler along every edge and the positions written inside. False (no job) as for Print.
    bool PrintTestSheet(Printer& printer);

    // "44.5 mm": the position in millimetres with one decimal.
    static std::string PositionText(int32_t tenths);

private:
    bool WithinWidth(int32_t x) const;
    bool WithinHeight(int32_t y) const;
    void DrawTestLabel(Printer& printer, Label label) const;
    void DrawRuler(Printer& printer, const TRect& square) const;
    int32_t Dots(double mm) const;

    std::array<Position, lbCount> m_positions = kEntryPositions;
    std::array<bool, lbCount> m_print{true, true};
    PrinterMetrics m_metrics;
};
