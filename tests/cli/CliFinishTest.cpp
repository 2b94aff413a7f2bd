// `vellora-cli finish` on a project made here, read back with `vellora-cli dump --as presentation`; the disc image;
// and damaged input, which gives one line on stderr, status 1 and no disc folder.
#include "CliAlbumTest.h"

#include "model/evProjectorPage.h"
#include "presentation/FinishTestAlbum.h"
#include "presentation/PresentationFile.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <filesystem>
#include <fstream>

using namespace finishtest;
namespace fs = std::filesystem;

namespace {

const char* const kDiscFiles[] = {"evplay",      "evplay.exe",  "index.html",   "web/album.js",
                                  "autorun.inf", "data/ev.ico", "data/data.evp"};

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

TEST_F(CliFinishTest, FinishesTheProjectAndDumpsThePresentation)
{
    const CliResult finished = Finish();
    ASSERT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(finished.out, Disc() + "\n");
    EXPECT_EQ(finished.err, ""); // progress is shown on a terminal only
    for (const char* name : kDiscFiles)
        EXPECT_TRUE(fs::is_regular_file(Disc() + "/" + name)) << name;

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
    // The special page layouts were bound on opening: the end page (kind 2) is the exit's target everywhere.
    EXPECT_NE(expected[2].find("evProjectorNaviAction[0, 5]"), std::string::npos) << expected[2];

    // A presentation file cut short is refused.
    fs::resize_file(presentation, fs::file_size(presentation) - 5);
    EXPECT_TRUE(OneLineFailure(RunCli({"dump", "--as", "presentation", presentation})));
}

TEST_F(CliFinishTest, DamagedOrMissingInputGivesOneLine)
{
    const std::string project = Read(Path("album.evp"));
    std::vector<std::vector<std::string>> runs = {
        FinishArgs("album.evp", "out", {"--studio-duration", "soon"}),
        FinishArgs("album.evp", "out", {"--designs"}),
        FinishArgs("album.evp", "out", {"--iso"}),
        {"finish", Path("album.evp"), "--out", Path("out"), "--designs", Path("data")},
        {"finish", Path("missing.evp"), "--out", Path("out")},
        {"finish", Path("album.evp")},
    };
    for (size_t cut : {size_t{0}, size_t{7}, project.size() / 2, project.size() - 1}) {
        const std::string name = "cut" + std::to_string(cut) + ".evp";
        std::ofstream(Path(name), std::ios::binary) << project.substr(0, cut);
        runs.push_back(FinishArgs(name));
    }
    for (const std::vector<std::string>& args : runs) {
        SCOPED_TRACE(args[1] + " " + args.back());
        EXPECT_TRUE(OneLineFailure(RunCli(args)));
        EXPECT_FALSE(fs::exists(Disc()));
    }

    fs::remove_all(Path("out"));
    const CliResult noFolder = Finish();
    EXPECT_TRUE(OneLineFailure(noFolder));
    EXPECT_NE(noFolder.err.find("FIN_DIR"), std::string::npos) << noFolder.err;
}

TEST_F(CliFinishTest, IsoWritesTheImageOfTheDiscFolder)
{
    const std::string iso = Path("album.iso");
    const CliResult finished = Finish({"--iso", iso});
    ASSERT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(finished.out, Disc() + "\n" + iso + "\n");
    EXPECT_EQ(finished.err, "");

    const fs::path extracted = m_dir / "extracted";
    QProcess xorriso;
    xorriso.start("xorriso", {"-osirrox", "on", "-indev", QString::fromStdString(iso), "-pvd_info", "-extract", "/",
                              QString::fromStdString(extracted.string())});
    ASSERT_TRUE(xorriso.waitForFinished(60000));
    ASSERT_EQ(xorriso.exitCode(), 0) << xorriso.readAllStandardError().toStdString();
    const std::string info = xorriso.readAllStandardOutput().toStdString();
    EXPECT_NE(info.find("Volume Id    : ANNA_BEN"), std::string::npos) << info;
    for (const char* name : kDiscFiles)
        EXPECT_TRUE(Read((extracted / name).string()) == Read(Disc() + "/" + name)) << name;
    // The native player keeps its execute bit through the image.
    EXPECT_NE(fs::status(extracted / "evplay").permissions() & fs::perms::owner_exec, fs::perms::none);

    // An image that cannot be written: exactly one line on stderr, status 1, no file.
    const std::string nowhere = Path("missing/album.iso");
    const CliResult failed = Finish({"--iso", nowhere});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "vellora-cli: Cannot create \"" + nowhere + "\": No such file or directory\n");
    EXPECT_FALSE(fs::exists(nowhere));
}
