// The label sheet: where the labels land on printers of different resolutions and unprintable edges, in the
// sheet preview, which moves are refused at the edges, what a print job and a test sheet draw, and the disc label
// rendered from the project.
#include "presentation/LabelTestAlbum.h"

#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "presentation/DiscLabel.h"
#include "presentation/LabelSheet.h"

#include "PdfPages.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace labeltest;
using L = LabelSheet;

namespace {

PrinterMetrics Metrics(int32_t dpi, int32_t offsetX, int32_t offsetY, int32_t printableWidth, int32_t printableHeight)
{
    return PrinterMetrics{offsetX, offsetY, printableWidth, printableHeight, dpi, dpi};
}

// A4 at the resolution with the offsets taken off the printable area on both sides.
PrinterMetrics A4With(int32_t dpi, int32_t offsetX, int32_t offsetY)
{
    const PrinterMetrics a4 = PrinterMetrics::A4(dpi);
    return Metrics(dpi, offsetX, offsetY, a4.printableWidth - 2 * offsetX, a4.printableHeight - 2 * offsetY);
}

class DiscLabelTest : public TempFolderTest {};

} // namespace

TEST(LabelSheetTest, PrintRectanglesFollowTheResolutionAndTheUnprintableEdges)
{
    struct Case {
        int32_t dpi, offsetX, offsetY;
        TRect upper, lower;
    };
    // Expected: corner at position / 10 x dots per mm less the offset, 120 mm of dots wide, halves to even.
    const Case cases[] = {
        {300, 17, 23, {514, 218, 1932, 1635}, {514, 1836, 1932, 3253}},
        {1200, 143, 97, {1983, 867, 7652, 6536}, {1983, 7339, 7652, 13009}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dpi) + " dpi");
        FakePrinter printer(A4With(c.dpi, c.offsetX, c.offsetY));
        LabelSheet sheet;
        ASSERT_TRUE(sheet.Print(printer, SolidBitmap(768, 768, kColorBlack)));
        EXPECT_EQ(printer.begun, 1);
        EXPECT_EQ(printer.ended, 1);
        ASSERT_EQ(printer.drawn.size(), 2u);
        EXPECT_EQ(printer.drawn[0], c.upper);
        EXPECT_EQ(printer.drawn[1], c.lower);
        // True size: 120 mm within one dot.
        EXPECT_NEAR(c.upper.Width(), 120 * c.dpi / 25.4, 1.0);
        EXPECT_NEAR(c.upper.Height(), 120 * c.dpi / 25.4, 1.0);
        EXPECT_EQ(printer.drawnSizes[0], (TPoint{768, 768}));
        EXPECT_EQ(sheet.GetMetrics(), printer.metrics); // as the printer gave them
    }
}

TEST(LabelSheetTest, OnlyLabelsThatAreOnArePrintedAndNoneMeansNoJob)
{
    struct Case {
        bool upper, lower;
        size_t drawn;
        bool job;
    };
    const Case cases[] = {{false, true, 1, true}, {false, false, 0, false}};
    for (const Case& c : cases) {
        FakePrinter printer(A4With(600, 0, 0));
        LabelSheet sheet;
        sheet.SetPrint(L::lbUpper, c.upper);
        sheet.SetPrint(L::lbLower, c.lower);
        EXPECT_EQ(sheet.Print(printer, SolidBitmap(8, 8, kColorBlack)), c.job);
        EXPECT_EQ(printer.begun, c.job ? 1 : 0);
        EXPECT_EQ(printer.drawn.size(), c.drawn);
        EXPECT_EQ(sheet.PrintTestSheet(printer), c.job);
        EXPECT_EQ(printer.frames.size(), c.drawn);
    }
}

TEST(LabelSheetTest, PreviewShowsTheSheetToScale)
{
    LabelSheet sheet; // A4 at 150 dpi: 1240 x 1754 dots
    // 45 mm of 210 in 283 pixels is 60.6, 120 mm is 161.7; 20.4 and 157.4 mm of 297 in 400 are 27.5 and 212.0.
    EXPECT_EQ(sheet.PreviewRect(L::lbUpper, 283, 400), Rect(61, 27, 223, 189));
    EXPECT_EQ(sheet.PreviewRect(L::lbLower, 283, 400), Rect(61, 212, 223, 374));
    sheet.Reset();
    EXPECT_EQ(sheet.PreviewRect(L::lbUpper, 283, 400), Rect(63, 29, 225, 191));
    sheet.SetMetrics(PrinterMetrics{});
    EXPECT_EQ(sheet.PreviewRect(L::lbUpper, 283, 400), TRect{});
}

TEST(LabelSheetTest, MovesStopAtTheEdgesOfThePrintableArea)
{
    struct Case {
        const char* name;
        PrinterMetrics metrics;
        L::Label label;
        L::Direction direction;
        int accepted;
        L::Position end;
    };
    const Case cases[] = {
        {"up to zero", PrinterMetrics::A4(150), L::lbUpper, L::dUp, 40, {450, 4}},
        // 297 mm less 120 mm is 177 mm; steps of half a millimetre from 157.4 stop at 176.9.
        {"down on A4", PrinterMetrics::A4(150), L::lbLower, L::dDown, 39, {450, 1769}},
        // 4800 printable dots at 600 dpi less the label leave 83.2 mm.
        {"right with edges", Metrics(600, 100, 100, 4800, 6800), L::lbUpper, L::dRight, 76, {830, 204}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LabelSheet sheet;
        sheet.SetMetrics(c.metrics);
        int accepted = 0;
        for (int press = 0; press < 200; ++press)
            accepted += sheet.Move(c.label, c.direction) ? 1 : 0;
        EXPECT_EQ(accepted, c.accepted);
        EXPECT_EQ(sheet.GetPosition(c.label), c.end);
    }
}

TEST(LabelSheetTest, AnOffLabelDoesNotMoveAndEnterSwitchesBothOn)
{
    LabelSheet sheet;
    sheet.SetPrint(L::lbLower, false);
    EXPECT_FALSE(sheet.Move(L::lbLower, L::dUp));
    EXPECT_EQ(sheet.GetPosition(L::lbLower), (L::Position{450, 1574}));
    EXPECT_TRUE(sheet.Move(L::lbUpper, L::dLeft));
    sheet.Enter();
    EXPECT_TRUE(sheet.GetPrint(L::lbLower));
    EXPECT_EQ(sheet.GetPosition(L::lbUpper), (L::Position{450, 204}));
}

TEST(LabelSheetTest, FitsRefusesPositionsOffTheSheet)
{
    LabelSheet sheet;
    sheet.SetMetrics(PrinterMetrics::A4(1200));
    EXPECT_TRUE(sheet.Fits({0, 0}));
    EXPECT_TRUE(sheet.Fits({900, 1770}));
    EXPECT_FALSE(sheet.Fits({905, 0}));
    EXPECT_FALSE(sheet.Fits({0, 1775}));
    EXPECT_FALSE(sheet.Fits({-5, 0}));
}

TEST(LabelSheetTest, PositionTexts)
{
    const std::pair<int32_t, std::string> cases[] = {{1584, "158.4 mm"}, {7, "0.7 mm"}, {-5, "-0.5 mm"}};
    for (const auto& [tenths, text] : cases)
        EXPECT_EQ(LabelSheet::PositionText(tenths), text);
}

// The test sheet draws each label's square where the label would go, the disc's outer edge and hole centred in
// it, four rulers of 119 ticks and the position inside the square.
TEST(LabelSheetTest, TestSheetOutlinesTheLabelsWithRulersAndPositions)
{
    FakePrinter printer(A4With(600, 71, 0));
    LabelSheet sheet;
    sheet.Reset();
    ASSERT_TRUE(sheet.PrintTestSheet(printer));
    EXPECT_EQ(printer.begun, 1);
    EXPECT_TRUE(printer.drawn.empty());
    ASSERT_EQ(printer.frames.size(), 2u);
    EXPECT_EQ(printer.frames[0], sheet.PrintRect(L::lbUpper));
    EXPECT_EQ(printer.frames[1], sheet.PrintRect(L::lbLower));
    EXPECT_EQ(printer.pens[0], 5); // 0.2 mm at 600 dpi
    ASSERT_EQ(printer.ellipses.size(), 4u);
    const double dotsPerMm = 600 / 25.4;
    EXPECT_NEAR(printer.ellipses[0].Width(), 118 * dotsPerMm, 1.0);
    EXPECT_NEAR(printer.ellipses[1].Width(), 41 * dotsPerMm, 1.0);
    const TRect& square = printer.frames[0];
    EXPECT_NEAR((printer.ellipses[1].Left + printer.ellipses[1].Right) / 2.0, (square.Left + square.Right) / 2.0, 1.0);
    EXPECT_EQ(printer.lines.size(), 2u * 4u * 119u);
    // The tenth millimetre tick of the top ruler is 4 mm long, the fifth 2.5 mm, the others 1.5 mm.
    const auto topTick = [&](int mm) {
        const int32_t x = square.Left + static_cast<int32_t>(std::nearbyint(mm * dotsPerMm));
        const auto found = std::find_if(printer.lines.begin(), printer.lines.end(), [&](const TRect& line) {
            return line.Left == x && line.Right == x && line.Top == square.Top;
        });
        return found == printer.lines.end() ? -1 : found->Bottom - found->Top;
    };
    EXPECT_EQ(topTick(10), 94);
    EXPECT_EQ(topTick(15), 59);
    EXPECT_EQ(topTick(16), 35);
    std::vector<std::string> texts;
    for (const FakePrinter::Text& text : printer.texts)
        texts.push_back(text.text);
    EXPECT_THAT(texts, ::testing::IsSupersetOf({"46.5 mm from the left, 21.4 mm from the top",
                                                "46.5 mm from the left, 158.4 mm from the top", "Upper label"}));
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "110"), 4); // top and left ruler of both labels
}

TEST_F(DiscLabelTest, TheLabelIsTheLeftSquareOfTheDiscLabelPage)
{
    const std::unique_ptr<evProject> project = MakeLabelAlbum();
    PutPicture(*project, RGBColor(20, 40, 200));
    const Bitmap label = RenderDiscLabel(*project);
    ASSERT_EQ(label.Width(), 768);
    ASSERT_EQ(label.Height(), 768);
    EXPECT_NEAR_COLOUR(label.Pixel(0, 0), RGBColor(20, 40, 200));
    EXPECT_NEAR_COLOUR(label.Pixel(767, 300), RGBColor(20, 40, 200));

    // A label that cannot be rendered (no page layout, no label at all) is white.
    const std::unique_ptr<evProject> unbound = MakeLabelAlbum(true, 0);
    const Bitmap white = RenderDiscLabel(*unbound);
    ASSERT_EQ(white.Width(), 768);
    EXPECT_EQ(white.Pixel(384, 384), kColorWhite);
    unbound->SetDiscLabelCategory(nullptr);
    EXPECT_EQ(RenderDiscLabel(*unbound).Width(), 768);
}

// The slots for the user are the first ones that are not fixed, in the order of the page layout's own elements.
// How the label page counts for completeness is CategoryPageTest.CompletenessBits's.
TEST_F(DiscLabelTest, FreeSlotsSkipFixedOnes)
{
    const std::unique_ptr<evProject> project = MakeLabelAlbum();
    const evPageLayout* layout = DiscLabelPageLayout(*project);
    ASSERT_NE(layout, nullptr);
    ASSERT_NE(FreePictureSlot(*layout), nullptr);
    EXPECT_EQ(FreePictureSlot(*layout)->GetID(), PictureSlotId());
    ASSERT_NE(FreeTextSlot(*layout), nullptr);
    EXPECT_EQ(FreeTextSlot(*layout)->GetID(), TextSlotId());
    const std::unique_ptr<evProject> fixedOnly = MakeLabelAlbum(false);
    EXPECT_EQ(FreePictureSlot(*DiscLabelPageLayout(*fixedOnly)), nullptr);
    EXPECT_EQ(FreeTextSlot(*DiscLabelPageLayout(*fixedOnly)), nullptr);
}

// On a real device with unprintable edges the painter starts at the printable corner: the labels still land at
// their place measured from the sheet's corner, 120 mm square. Read back from the PDF at 10 pixels a millimetre.
TEST_F(DiscLabelTest, LabelsLandAtTheirPlaceOnADeviceWithEdges)
{
    const std::string path = TempPath("edged.pdf");
    {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 18, 12, 18),
                                         QPageLayout::Point));
        PaintDevicePrinter printer(writer);
        LabelSheet sheet;
        sheet.Reset();
        ASSERT_TRUE(sheet.Print(printer, SolidBitmap(768, 768, kColorBlack)));
        EXPECT_EQ(sheet.GetMetrics().offsetX, 100);
    }
    const GreyPage page = RenderPdfPage(path, 254);
    ASSERT_GT(page.width, 0) << "pdftoppm did not render " << path;
    const TRect upper = DarkBox(page, Rect(0, 0, page.width, page.height / 2));
    const TRect lower = DarkBox(page, Rect(0, page.height / 2, page.width, page.height));
    const auto expectSquare = [](const TRect& box, int left, int top) {
        EXPECT_NEAR(box.Left, left, 2);
        EXPECT_NEAR(box.Top, top, 2);
        EXPECT_NEAR(box.Width(), 1200, 2);
        EXPECT_NEAR(box.Height(), 1200, 2);
    };
    expectSquare(upper, 465, 214);
    expectSquare(lower, 465, 1584);
}
