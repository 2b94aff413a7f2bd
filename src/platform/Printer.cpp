#include "platform/Printer.h"

#include "platform/AtomicFile.h"
#include "platform/Bitmap.h"
#include "platform/Stream.h"
#include "platform/Text.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include <cmath>

namespace {

QRect ToQRect(const TRect& rect) { return QRect(rect.Left, rect.Top, rect.Width(), rect.Height()); }

int32_t Millimetres(double mm, int32_t resolution) { return static_cast<int32_t>(std::lround(mm * resolution / 25.4)); }

} // namespace

PrinterMetrics PrinterMetrics::A4(int32_t resolution)
{
    PrinterMetrics metrics;
    metrics.printableWidth = Millimetres(210, resolution);
    metrics.printableHeight = Millimetres(297, resolution);
    metrics.resolutionX = resolution;
    metrics.resolutionY = resolution;
    return metrics;
}

// ------------------------------------------------------------------------------------------ PaintDevicePrinter

PaintDevicePrinter::PaintDevicePrinter(QPagedPaintDevice& device) : m_device(device) {}

// A job left open (a failure while drawing) is ended, so the device is not left with a painter on it.
PaintDevicePrinter::~PaintDevicePrinter()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

// The painter's origin is the corner of the printable area; the margins of the device's page layout are the
// unprintable edges.
PrinterMetrics PaintDevicePrinter::GetMetrics() const
{
    PrinterMetrics metrics;
    metrics.resolutionX = m_device.logicalDpiX();
    metrics.resolutionY = m_device.logicalDpiY();
    const QRect paint = m_device.pageLayout().paintRectPixels(metrics.resolutionX);
    metrics.offsetX = paint.left();
    metrics.offsetY = paint.top();
    metrics.printableWidth = paint.width();
    metrics.printableHeight = paint.height();
    return metrics;
}

void PaintDevicePrinter::BeginDoc()
{
    if (m_painter && m_painter->isActive())
        throw EPrintError("A print job is running already");
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&m_device)) {
        m_painter.reset();
        throw EPrintError("The printer did not accept the print job");
    }
}

void PaintDevicePrinter::EndDoc()
{
    if (!m_painter || !m_painter->isActive())
        throw EPrintError("No print job is running");
    const bool ended = m_painter->end();
    m_painter.reset();
    if (!ended)
        throw EPrintError("The printer did not finish the print job");
}

QPainter& PaintDevicePrinter::Painter()
{
    if (!m_painter || !m_painter->isActive())
        throw EPrintError("Drawing outside a print job");
    return *m_painter;
}

void PaintDevicePrinter::SetPen(int32_t penWidth)
{
    QPen pen(Qt::black);
    pen.setWidth(std::max(1, penWidth));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    Painter().setPen(pen);
    Painter().setBrush(Qt::NoBrush);
}

// The whole bitmap into the rectangle: the printer (or the PDF reader) scales it, nothing is smoothed here.
void PaintDevicePrinter::StretchDraw(const TRect& rect, const Bitmap& bitmap)
{
    if (rect.Width() <= 0 || rect.Height() <= 0 || bitmap.IsEmpty())
        return;
    Painter().drawImage(ToQRect(rect), bitmap.Image());
}

void PaintDevicePrinter::DrawLine(TPoint from, TPoint to, int32_t penWidth)
{
    SetPen(penWidth);
    Painter().drawLine(from.X, from.Y, to.X, to.Y);
}

void PaintDevicePrinter::DrawFrame(const TRect& rect, int32_t penWidth)
{
    SetPen(penWidth);
    Painter().drawRect(QRectF(rect.Left, rect.Top, rect.Width(), rect.Height()));
}

void PaintDevicePrinter::DrawEllipse(const TRect& rect, int32_t penWidth)
{
    SetPen(penWidth);
    Painter().drawEllipse(QRectF(rect.Left, rect.Top, rect.Width(), rect.Height()));
}

void PaintDevicePrinter::DrawText(const TRect& rect, const std::string& text, int32_t height)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, height));
    Painter().setFont(font);
    Painter().setPen(Qt::black);
    Painter().drawText(ToQRect(rect), Qt::AlignCenter | Qt::TextSingleLine, ToDisplay(text));
}

// ---------------------------------------------------------------------------------------------- PdfFilePrinter

PdfDevice::PdfDevice() : m_buffer(std::make_unique<QBuffer>())
{
    m_buffer->open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(m_buffer.get());
    m_writer->setResolution(PdfFilePrinter::kResolution);
    m_writer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    m_writer->setCreator(QStringLiteral("Vellora"));
}

PdfDevice::~PdfDevice() = default;

PdfFilePrinter::PdfFilePrinter(std::string path) : PaintDevicePrinter(*m_writer), m_path(std::move(path)) {}

PdfFilePrinter::~PdfFilePrinter() = default;

void PdfFilePrinter::BeginDoc()
{
    m_target = std::make_unique<AtomicWriter>(m_path);
    m_buffer->buffer().clear();
    m_buffer->seek(0);
    PaintDevicePrinter::BeginDoc();
}

void PdfFilePrinter::EndDoc()
{
    PaintDevicePrinter::EndDoc();
    if (!m_target)
        throw EPrintError("No print job is running");
    const QByteArray& pdf = m_buffer->data();
    m_target->GetStream().WriteBuffer(pdf.constData(), pdf.size());
    m_target->Commit();
    m_target.reset();
}
