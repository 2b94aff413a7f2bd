// `vellora-cli label`: the label sheet as a PDF, read back as a reader shows it (an A4 page, each label a 120 mm
// square at its place), and the refusals: bad positions, both labels off, a project or folder that fails.
#include "CliAlbumTest.h"
#include "PdfPages.h"

#include "presentation/LabelTestAlbum.h"

#include <filesystem>

using namespace labeltest;
namespace fs = std::filesystem;

namespace {

class CliLabelTest : public CliAlbumTest {
protected:
    // The album with a black picture filling the label, so each label is a black square on the sheet.
    void SetUp() override
    {
        CliAlbumTest::SetUp();
        const std::unique_ptr<evProject> project = MakeLabelAlbum();
        PutPicture(*project, kColorBlack);
        WriteAlbumFiles(*project);
    }

    CliResult Label(const std::string& out, const std::vector<std::string>& more = {},
                    const std::string& project = "album.evp") const
    {
        std::vector<std::string> args{"label", Path(project), "--out", out, "--designs", Path("designs")};
        args.insert(args.end(), more.begin(), more.end());
        return RunCli(args);
    }
};

// The dark box is the 120 mm square with its top left corner at the point (tenths of a millimetre, which are pixels
// here), 0.2 mm either way; for (-1, -1), there is none.
::testing::AssertionResult SquareAt(const TRect& box, TPoint corner)
{
    const bool near = std::abs(box.Left - corner.X) <= 2 && std::abs(box.Top - corner.Y) <= 2 &&
                      std::abs(box.Width() - 1200) <= 2 && std::abs(box.Height() - 1200) <= 2;
    if (corner.X < 0 ? box == TRect{} : near)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "dark box at " << box.Left << "," << box.Top << ", " << box.Width() << " x "
                                         << box.Height();
}

} // namespace

TEST_F(CliLabelTest, PrintsTheLabelsAtTrueSizeWhereTheyAreAsked)
{
    // Where the sheet puts a label at which position is LabelSheetTest's; here the options reach it.
    struct Case {
        const char* name;
        std::vector<std::string> options;
        TPoint upper, lower;
    };
    const TPoint none{-1, -1};
    // clang-format off
    const Case cases[] = {
        {"entry positions", {}, {450, 204}, {450, 1574}},
        {"upper off, lower at the corner", {"--upper", "off", "--lower", "0,1700"}, none, {0, 1700}},
    };
    // clang-format on
    const std::string pdf = Path("labels.pdf");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = Label(pdf, c.options);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(Lines(result.out), std::vector<std::string>{pdf});
        EXPECT_EQ(PdfPageSize(pdf), "595 x 842 pts (A4)");
        const GreyPage page = RenderPdfPage(pdf, 254); // 10 pixels a millimetre
        ASSERT_GT(page.width, 0) << "pdftoppm did not render " << pdf;
        EXPECT_TRUE(SquareAt(DarkBox(page, Rect(0, 0, page.width, page.height / 2)), c.upper));
        EXPECT_TRUE(SquareAt(DarkBox(page, Rect(0, page.height / 2, page.width, page.height)), c.lower));
    }
}

// Refusals and failures: one line saying why, and the sheet printed before is kept. Which positions fit the sheet is
// LabelSheetTest's; that a PDF is written whole or not at all, with nothing left beside it, PrinterTest's.
TEST_F(CliLabelTest, RefusalsAndFailuresKeepThePreviousSheet)
{
    Write("labels.pdf", "previous");
    Write("damaged.evp", "not a project");
    struct Case {
        std::vector<std::string> options;
        std::string said; // what the line holds: all of it for a refusal
        std::string project = "album.evp", out = "labels.pdf";
    };
    const std::string refused = "vellora-cli: label: ", takes = " takes X,Y in tenths of a millimetre or \"off\", not ";
    // clang-format off
    const Case cases[] = {
        {{"--upper", "950,204"}, refused + "the upper label at 950,204 does not lie on the A4 sheet\n"},
        {{"--upper", "-5,0"}, refused + "--upper" + takes + "\"-5,0\"\n"},
        {{"--upper", "off", "--lower", "off"}, refused + "both labels are off, so there is nothing to print\n"},
        {{"--upper"}, refused + "--upper needs a value\n"},
        {{}, Path("none.evp"), "none.evp"},
        {{}, "The project file \"" + Path("damaged.evp") + "\" cannot be read: ", "damaged.evp"},
        {{}, Path("missing/x.pdf"), "album.evp", "missing/x.pdf"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project + " to " + c.out + ": " + c.said);
        const CliResult result = Label(Path(c.out), c.options, c.project);
        EXPECT_TRUE(OneLineFailure(result));
        EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
    }
    EXPECT_EQ(Read(Path("labels.pdf")), "previous");
    EXPECT_FALSE(fs::exists(Path("missing")));
}
