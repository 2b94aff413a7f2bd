// `vellora-cli check` and `finish` on a project made here: the lines and exit status of check (0 when nothing cannot
// be seen, 2 when something cannot be seen), the finished disc read back with `vellora-cli dump --as presentation`,
// the disc image, and damaged input, which gives one line on stderr, status 1 and no disc folder.
#include "CliAlbumTest.h"

#include "model/evProjectorPage.h"
#include "presentation/FinishTestAlbum.h"
#include "presentation/PresentationFile.h"

#include <QProcess>

#include <filesystem>
#include <functional>

using namespace finishtest;
namespace fs = std::filesystem;

namespace {

class CliFinishTest : public CliAlbumTest {
protected:
    void SetUp() override
    {
        CliAlbumTest::SetUp();
        WriteAlbumFiles(*MakeAlbum());
    }
    CliResult Finish(const std::vector<std::string>& more = {}) const
    {
        return RunCli(FinishArgs("album.evp", "out", more));
    }
};

} // namespace

TEST_F(CliFinishTest, CheckSaysWhetherSomethingCannotBeSeen)
{
    struct Case {
        const char* name;
        std::function<void(evCategory&)> change;
        int status;
        std::vector<std::string> lines;
    };
    // clang-format off
    const Case cases[] = {
        {"a complete album", [](evCategory&) {}, 0, {"Nothing to finish: every page can be reached and is complete"}},
        {"a chapter without a layout", [](evCategory& welcome) { welcome.GetSub()->SetPageLayoutID(0); }, 2, {"Welcome / Chapter one\tno-layout\tno page layout is chosen, so the page and the 1 page below it are left off the disc", "1 cannot be seen, 0 look unfinished"}},
        {"only a sample text", [](evCategory& welcome) { welcome.AddChild(Page("Labels", 16)); }, 0, {"Welcome / Labels\ttemplate-text\tthe text \"Own\" is the design's sample text", "0 cannot be seen, 1 looks unfinished"}},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::unique_ptr<evProject> project = MakeAlbum();
        test.change(*project->GetFirstCategory());
        WriteAlbumFiles(*project);
        const CliResult result = RunCli({"check", Path("album.evp"), "--designs", Path("designs")});
        EXPECT_EQ(result.status, test.status) << result.err;
        EXPECT_EQ(Lines(result.out), test.lines);
    }
}

TEST_F(CliFinishTest, FinishesTheProjectAndDumpsThePresentation)
{
    const CliResult finished = Finish();
    ASSERT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(finished.out, Disc() + "\n");
    EXPECT_EQ(finished.err, ""); // progress is shown on a terminal only

    // The files of the disc folder are DiscProducerTest's; the dump prints the presentation file line by line.
    const std::string presentation = Disc() + "/data/data.evp";
    const CliResult dumped = RunCli({"dump", "--as", "presentation", presentation});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    std::vector<std::string> expected = {"background " + std::to_string(kBackground), "pages 6"};
    const auto file = PresentationFile::ReadFromFile(presentation);
    for (size_t i = 0; i < 6; ++i)
        expected.push_back(file->pages[i]->ToString());
    expected.insert(expected.end(), {"music nil", "studio nil", "duration 0"});
    EXPECT_EQ(Lines(dumped.out), expected);
    EXPECT_EQ(expected[2].rfind("evProjectorPage[", 0), 0u);

    // A presentation file cut short is refused.
    fs::resize_file(presentation, fs::file_size(presentation) - 5);
    EXPECT_TRUE(OneLineFailure(RunCli({"dump", "--as", "presentation", presentation})));
}

TEST_F(CliFinishTest, DamagedOrMissingInputOfCheckAndFinishGivesOneLine)
{
    // Options each command refuses, and input it cannot open: a design not in the folder, a missing project, a
    // project cut short (the ways a project or its design cannot be read are ProjectFileTest's and evProjectTest's).
    const std::string project = Read(Path("album.evp"));
    Write("cut.evp", project.substr(0, project.size() / 2));
    const std::vector<std::string> runs[] = {
        FinishArgs("album.evp", "out", {"--studio-duration", "soon"}),
        {"finish", Path("album.evp")},
        {"check", Path("album.evp"), "--designs"},
        {"finish", Path("album.evp"), "--out", Path("out"), "--designs", Path("data")},
        {"finish", Path("missing.evp"), "--out", Path("out")},
        FinishArgs("cut.evp"),
    };
    for (const std::vector<std::string>& args : runs) {
        SCOPED_TRACE(args[0] + " " + args.back());
        EXPECT_TRUE(OneLineFailure(RunCli(args)));
        EXPECT_FALSE(fs::exists(Disc()));
    }

    fs::remove_all(Path("out"));
    const CliResult noFolder = Finish();
    EXPECT_TRUE(OneLineFailure(noFolder));
    EXPECT_NE(noFolder.err.find("FIN_DIR"), std::string::npos) << noFolder.err;
}

TEST_F(CliFinishTest, IsoWritesTheImageOfTheDiscFolderNamedAfterTheCouple)
{
    const std::string iso = Path("album.iso");
    const CliResult finished = Finish({"--iso", iso});
    ASSERT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(finished.out, Disc() + "\n" + iso + "\n");
    EXPECT_EQ(finished.err, "");

    // The image is named after the couple (its content is the folder's: see the disc image's own tests).
    QProcess xorriso;
    xorriso.start("xorriso", {"-indev", QString::fromStdString(iso), "-pvd_info"});
    ASSERT_TRUE(xorriso.waitForFinished(60000));
    ASSERT_EQ(xorriso.exitCode(), 0) << xorriso.readAllStandardError().toStdString();
    const std::string info = xorriso.readAllStandardOutput().toStdString();
    EXPECT_NE(info.find("Volume Id    : ANNA_BEN"), std::string::npos) << info;

    // An image that cannot be written: exactly one line on stderr, status 1, no file.
    const std::string nowhere = Path("missing/album.iso");
    const CliResult failed = Finish({"--iso", nowhere});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "vellora-cli: Cannot create \"" + nowhere + "\": No such file or directory\n");
    EXPECT_FALSE(fs::exists(nowhere));
}
