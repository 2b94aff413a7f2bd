// `vellora-cli label`: the label sheet as a PDF, read back as a reader shows it (an A4 page, each label a 120 mm
// square at its place), and the refusals: bad positions, both labels off, a folder that cannot take the file.
#include "CliAlbumTest.h"
#include "PdfPages.h"
#include "WriteLeftovers.h"

#include "presentation/LabelTestAlbum.h"

#include <gtest/gtest.h>

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

    // The dark squares of the upper and lower half of the page at 10 pixels a millimetre.
    static std::pair<TRect, TRect> Squares(const std::string& pdf)
    {
        const GreyPage page = RenderPdfPage(pdf, 254);
        EXPECT_GT(page.width, 0) << "pdftoppm did not render " << pdf;
        return {DarkBox(page, Rect(0, 0, page.width, page.height / 2)),
                DarkBox(page, Rect(0, page.height / 2, page.width, page.height))};
    }
};

void ExpectSquareAt(const TRect& box, int x, int y)
{
    EXPECT_NEAR(box.Left, x, 2); // tenths of a millimetre are pixels here; 0.2 mm either way
    EXPECT_NEAR(box.Top, y, 2);
    EXPECT_NEAR(box.Width(), 1200, 2);
    EXPECT_NEAR(box.Height(), 1200, 2);
}

} // namespace

TEST_F(CliLabelTest, PrintsTheLabelsAtTrueSizeWhereTheyAreAsked)
{
    struct Case {
        const char* name;
        std::vector<std::string> options;
        TRect upper, lower; // expected squares in tenths of a millimetre; empty for none
    };
    const Case cases[] = {
        {"entry positions", {}, Rect(450, 204, 1650, 1404), Rect(450, 1574, 1650, 2774)},
        {"moved",
         {"--upper", "465,214", "--lower", "123,1601"},
         Rect(465, 214, 1665, 1414),
         Rect(123, 1601, 1323, 2801)},
        {"lower off", {"--lower", "off"}, Rect(450, 204, 1650, 1404), TRect{}},
        {"upper off, lower at the corner", {"--upper", "off", "--lower", "0,1700"}, TRect{}, Rect(0, 1700, 1200, 2900)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pdf = Path("labels.pdf");
        const CliResult result = Label(pdf, c.options);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(Lines(result.out), std::vector<std::string>{pdf});
        EXPECT_EQ(PdfPageSize(pdf), "595 x 842 pts (A4)");
        const auto [upper, lower] = Squares(pdf);
        for (const auto& [box, expected] : {std::pair{upper, c.upper}, std::pair{lower, c.lower}}) {
            if (expected == TRect{})
                EXPECT_EQ(box, TRect{});
            else
                ExpectSquareAt(box, expected.Left, expected.Top);
        }
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

TEST_F(CliLabelTest, AFolderThatCannotTakeThePdfLeavesNothingBehind)
{
    std::ofstream(Path("labels.pdf")) << "previous";
    fs::create_directories(Path("locked"));
    fs::permissions(Path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    const bool asRoot = ::geteuid() == 0; // root writes into any folder
    const std::vector<std::string> targets =
        asRoot ? std::vector<std::string>{Path("missing/labels.pdf")}
               : std::vector<std::string>{Path("missing/labels.pdf"), Path("locked/labels.pdf")};
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        const CliResult result = Label(target);
        EXPECT_TRUE(OneLineFailure(result));
        EXPECT_NE(result.err.find(target), std::string::npos) << result.err;
        EXPECT_FALSE(fs::exists(target));
    }
    fs::permissions(Path("locked"), fs::perms::owner_all);
    EXPECT_TRUE(TemporariesIn(Path("locked")).empty());
    EXPECT_FALSE(fs::exists(Path("missing")));
    // Replacing an existing file works and leaves no temporary beside it.
    ASSERT_EQ(Label(Path("labels.pdf")).status, 0);
    EXPECT_EQ(PdfPageSize(Path("labels.pdf")), "595 x 842 pts (A4)");
    EXPECT_TRUE(TemporariesIn(m_dir).empty());
}

TEST_F(CliLabelTest, AMissingOrDamagedProjectIsOneLine)
{
    std::ofstream(Path("damaged.evp")) << "not a project";
    for (const char* project : {"none.evp", "damaged.evp"}) {
        EXPECT_TRUE(OneLineFailure(Label(Path("labels.pdf"), {}, project))) << project;
        EXPECT_FALSE(fs::exists(Path("labels.pdf")));
    }
}
