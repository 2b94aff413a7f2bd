// `vellora-cli label`: the label sheet as a PDF, read back as a reader shows it (an A4 page, each label a 120 mm
// square at its place), and the refusals: bad positions, both labels off, a folder that cannot take the file.
#include "CliAlbumTest.h"
#include "PdfPages.h"
#include "WriteLeftovers.h"

#include "presentation/LabelTestAlbum.h"

#include <filesystem>
#include <fstream>

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
    struct Case {
        const char* name;
        std::vector<std::string> options;
        TPoint upper, lower;
    };
    const TPoint none{-1, -1};
    // clang-format off
    const Case cases[] = {
        {"entry positions", {}, {450, 204}, {450, 1574}},
        {"moved", {"--upper", "465,214", "--lower", "123,1601"}, {465, 214}, {123, 1601}},
        {"lower off", {"--lower", "off"}, {450, 204}, none},
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

TEST_F(CliLabelTest, RefusesWhatCannotBePrintedWithOneLine)
{
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::string message;
    };
    const std::string takes = " takes X,Y in tenths of a millimetre or \"off\", not ";
    const Case cases[] = {
        {"off the sheet", {"--upper", "950,204"}, "the upper label at 950,204 does not lie on the A4 sheet"},
        {"below the sheet", {"--lower", "450,1780"}, "the lower label at 450,1780 does not lie on the A4 sheet"},
        {"negative", {"--upper", "-5,0"}, "--upper" + takes + "\"-5,0\""},
        {"not a pair", {"--lower", "45.0,20"}, "--lower" + takes + "\"45.0,20\""},
        {"both off", {"--upper", "off", "--lower", "off"}, "both labels are off, so there is nothing to print"},
        {"no value", {"--upper"}, "--upper needs a value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CliResult result = Label(Path("labels.pdf"), c.options);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(Lines(result.err), std::vector<std::string>{"vellora-cli: label: " + c.message});
        EXPECT_FALSE(fs::exists(Path("labels.pdf")));
    }
}

TEST_F(CliLabelTest, AFailureKeepsThePreviousSheetAndLeavesNothingBehind)
{
    std::ofstream(Path("labels.pdf")) << "previous";
    std::ofstream(Path("damaged.evp")) << "not a project";
    fs::create_directories(Path("locked"));
    fs::permissions(Path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    // A project that cannot be read, or a folder that cannot take the file (root writes into any folder).
    std::vector<std::pair<std::string, std::string>> runs = {
        {"none.evp", Path("labels.pdf")}, {"damaged.evp", Path("labels.pdf")}, {"album.evp", Path("missing/x.pdf")}};
    if (::geteuid() != 0)
        runs.emplace_back("album.evp", Path("locked/labels.pdf"));
    for (const auto& [project, target] : runs) {
        SCOPED_TRACE(project + " to " + target);
        const CliResult result = Label(target, {}, project);
        EXPECT_TRUE(OneLineFailure(result));
        if (project == "album.evp") {
            EXPECT_NE(result.err.find(target), std::string::npos) << result.err;
        }
    }
    EXPECT_EQ(Read(Path("labels.pdf")), "previous");
    EXPECT_FALSE(fs::exists(Path("missing")));
    fs::permissions(Path("locked"), fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(Path("locked")));
    // Replacing an existing file works and leaves no temporary beside it.
    ASSERT_EQ(Label(Path("labels.pdf")).status, 0);
    EXPECT_EQ(PdfPageSize(Path("labels.pdf")), "595 x 842 pts (A4)");
    EXPECT_TRUE(TemporariesIn(m_dir).empty());
}
