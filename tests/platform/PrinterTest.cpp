// Printers over Qt's paged devices: metrics from the page layout and resolution, and the PDF file printer that
// writes its file whole or not at all.
#include "platform/Printer.h"
#include "ScratchFolder.h"

#include "WriteLeftovers.h"
#include "platform/Bitmap.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using PrinterTest = ScratchFolderTest;

void PrintOneSquare(Printer& printer)
{
    printer.BeginDoc();
    printer.StretchDraw(Rect(100, 100, 600, 600), Bitmap(16, 16));
    printer.DrawText(Rect(0, 700, 2000, 800), "Grüße", 60);
    printer.EndDoc();
}

} // namespace

TEST(PrinterMetricsTest, A4SheetsAndDotsPerMillimetre)
{
    const PrinterMetrics a4 = PrinterMetrics::A4(150);
    EXPECT_EQ(a4.PhysicalWidth(), 1240);  // 210 mm
    EXPECT_EQ(a4.PhysicalHeight(), 1754); // 297 mm
    const PrinterMetrics edged{20, 30, 4000, 6000, 600, 300};
    EXPECT_EQ(edged.PhysicalWidth(), 4040);
    EXPECT_EQ(edged.PhysicalHeight(), 6060);
    EXPECT_DOUBLE_EQ(edged.DotsPerMmX(), 600 / 25.4);
    EXPECT_DOUBLE_EQ(edged.DotsPerMmY(), 300 / 25.4);
}

// The margins of a device's page layout are the unprintable edges; the painter's origin is the printable corner.
// Qt keeps page sizes in whole points (A4 is 595 x 842 points).
TEST(PaintDevicePrinterTest, MetricsComeFromThePageLayoutAndResolution)
{
    struct Case {
        int resolution;
        QMarginsF margins; // points
        PrinterMetrics expected;
    };
    const Case cases[] = {
        {300, {0, 0, 0, 0}, {0, 0, 2479, 3508, 300, 300}},
        {600, {12, 18, 12, 18}, {100, 150, 4758, 6717, 600, 600}},
        {1200, {9, 15, 9, 15}, {150, 250, 9617, 13533, 1200, 1200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resolution);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(c.resolution);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, c.margins, QPageLayout::Point));
        const PrinterMetrics metrics = PaintDevicePrinter(writer).GetMetrics();
        EXPECT_EQ(metrics.resolutionX, c.expected.resolutionX);
        EXPECT_EQ(metrics.resolutionY, c.expected.resolutionY);
        EXPECT_EQ(metrics.offsetX, c.expected.offsetX);
        EXPECT_EQ(metrics.offsetY, c.expected.offsetY);
        EXPECT_NEAR(metrics.printableWidth, c.expected.printableWidth, 1);
        EXPECT_NEAR(metrics.printableHeight, c.expected.printableHeight, 1);
    }
}

TEST(PaintDevicePrinterTest, DrawingOutsideAJobIsRefused)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    PaintDevicePrinter printer(writer);
    EXPECT_THROW(printer.DrawLine({0, 0}, {10, 10}, 1), EPrintError);
    EXPECT_THROW(printer.EndDoc(), EPrintError);
    printer.BeginDoc();
    EXPECT_THROW(printer.BeginDoc(), EPrintError);
    printer.EndDoc();
}

TEST_F(PrinterTest, PdfPrinterIsAnA4SheetWithoutMargins)
{
    PdfFilePrinter pdf(Path("labels.pdf"));
    const PrinterMetrics metrics = pdf.GetMetrics();
    EXPECT_EQ(metrics.resolutionX, PdfFilePrinter::kResolution);
    EXPECT_EQ(metrics.offsetX, 0);
    EXPECT_EQ(metrics.offsetY, 0);
    EXPECT_NEAR(metrics.printableWidth, 9917, 1);   // 595 points at 1200 dpi
    EXPECT_NEAR(metrics.printableHeight, 14033, 1); // 842 points
}

// The file appears whole at the end of a job; a job left open, or one that meets a full disc, keeps the previous
// file, and a second job replaces the first.
TEST_F(PrinterTest, PdfIsWrittenWholeAtTheEndOfTheJobOrNotAtAll)
{
    const std::string path = Path("labels.pdf");
    std::ofstream(path) << "previous";
    PdfFilePrinter pdf(path);
    {
        PdfFilePrinter open(path);
        open.BeginDoc();
        open.StretchDraw(Rect(0, 0, 10, 10), Bitmap(4, 4));
    }
    EXPECT_EQ(Read(path), "previous");
    {
        PdfFilePrinter full(path);
        FileSizeLimit limit(64);
        EXPECT_THROW(PrintOneSquare(full), EWriteError);
    }
    EXPECT_EQ(Read(path), "previous");
    EXPECT_TRUE(TemporariesIn(m_dir).empty());

    pdf.BeginDoc();
    pdf.StretchDraw(Rect(100, 100, 600, 600), Bitmap(16, 16));
    EXPECT_EQ(Read(path), "previous");
    pdf.DrawText(Rect(0, 700, 2000, 800), "Grüße", 60);
    pdf.EndDoc();
    const std::string first = Read(path);
    EXPECT_EQ(first.substr(0, 5), "%PDF-");
    EXPECT_NE(first.find("%%EOF"), std::string::npos);
    PrintOneSquare(pdf);
    EXPECT_EQ(Read(path).size(), first.size());
    EXPECT_TRUE(TemporariesIn(m_dir).empty());
}

TEST_F(PrinterTest, APdfInAFolderThatCannotTakeItIsRefusedAtTheStart)
{
    const std::string cases[] = {Path("missing/labels.pdf"), Path("")};
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        PdfFilePrinter pdf(path);
        EXPECT_THROW(pdf.BeginDoc(), EFCreateError);
    }
    EXPECT_FALSE(fs::exists(m_dir / "missing"));
    EXPECT_TRUE(fs::is_empty(m_dir));
}
