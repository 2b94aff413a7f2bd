#pragma once
// Printing: a printer as the label kit sees it. A printer reports its metrics (the offsets of its unprintable
// edges, its printable area and its resolution) and takes one page of drawing in its own dots, measured from the
// top-left corner of the printable area, as printers of the original platform do.
//
// Two printers are built on Qt's paged paint devices: PaintDevicePrinter draws on a device someone else owns (the
// system printer chosen in the print dialog), PdfFilePrinter makes a PDF file on an A4 sheet without margins. The
// PDF is made in memory and written whole at EndDoc beside its target and renamed, so a failure leaves no part of
// a file behind and the previous file untouched.

#include "platform/Errors.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>

class AtomicWriter;
class Bitmap;
class QBuffer;
class QPagedPaintDevice;
class QPainter;
class QPdfWriter;

// A print job that could not start or end (no printer, a device that refuses the painter).
class EPrintError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

struct PrinterMetrics {
    int32_t offsetX = 0;         // unprintable left edge, dots
    int32_t offsetY = 0;         // unprintable top edge, dots
    int32_t printableWidth = 0;  // dots
    int32_t printableHeight = 0; // dots
    int32_t resolutionX = 0;     // dots per inch
    int32_t resolutionY = 0;

    // The sheet as the offsets and printable area describe it: printable size plus twice the offset.
    int32_t PhysicalWidth() const { return printableWidth + 2 * offsetX; }
    int32_t PhysicalHeight() const { return printableHeight + 2 * offsetY; }
    double DotsPerMmX() const { return resolutionX / 25.4; }
    double DotsPerMmY() const { return resolutionY / 25.4; }

    // An A4 sheet (210 x 297 mm) at the resolution without unprintable edges.
    static PrinterMetrics A4(int32_t resolution);
    bool operator==(const PrinterMetrics&) const = default;
};

class Printer {
public:
    virtual ~Printer() = default;

    virtual PrinterMetrics GetMetrics() const = 0;
    // Starts the job; EPrintError when the printer refuses it.
    virtual void BeginDoc() = 0;
    // Ends the job; EPrintError (or a file error) when the output cannot be finished.
    virtual void EndDoc() = 0;

    // Drawing within a job, in dots of the printable area. Pen widths and text heights are in dots as well.
    virtual void StretchDraw(const TRect& rect, const Bitmap& bitmap) = 0;
    virtual void DrawLine(TPoint from, TPoint to, int32_t penWidth) = 0;
    // The outline of the rectangle or of the ellipse inside it.
    virtual void DrawFrame(const TRect& rect, int32_t penWidth) = 0;
    virtual void DrawEllipse(const TRect& rect, int32_t penWidth) = 0;
    // One line of text, centred in the rectangle, in a sans-serif face whose em is the height in dots.
    virtual void DrawText(const TRect& rect, const std::string& text, int32_t height) = 0;
};

// Draws on a Qt paged paint device that outlives it (a QPrinter, a QPdfWriter); black on the page.
class PaintDevicePrinter : public Printer {
public:
    explicit PaintDevicePrinter(QPagedPaintDevice& device);
    ~PaintDevicePrinter() override;

    PrinterMetrics GetMetrics() const override;
    void BeginDoc() override;
    void EndDoc() override;
    void StretchDraw(const TRect& rect, const Bitmap& bitmap) override;
    void DrawLine(TPoint from, TPoint to, int32_t penWidth) override;
    void DrawFrame(const TRect& rect, int32_t penWidth) override;
    void DrawEllipse(const TRect& rect, int32_t penWidth) override;
    void DrawText(const TRect& rect, const std::string& text, int32_t height) override;

private:
    QPainter& Painter();
    void SetPen(int32_t penWidth);

    QPagedPaintDevice& m_device;
    std::unique_ptr<QPainter> m_painter;
};

// The memory a PdfFilePrinter makes its PDF in. A base of the printer, so that it is there before the drawing
// part starts and is still there when the drawing part ends a job that was left open.
class PdfDevice {
protected:
    PdfDevice();
    ~PdfDevice();

    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
};

// A PDF file of one A4 page without margins, written whole at EndDoc.
class PdfFilePrinter : private PdfDevice, public PaintDevicePrinter {
public:
    static constexpr int32_t kResolution = 1200;

    explicit PdfFilePrinter(std::string path);
    ~PdfFilePrinter() override;

    // Also makes sure the file can be written (its folder exists and takes new files): EFCreateError naming
    // the file when not.
    void BeginDoc() override;
    // Writes the PDF beside the target and renames it over the target.
    void EndDoc() override;

    const std::string& GetPath() const { return m_path; }

private:
    std::string m_path;
    std::unique_ptr<AtomicWriter> m_target;
};
