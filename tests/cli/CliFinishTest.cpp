// `vellora-cli finish` on a project made here, read back with `vellora-cli dump --as presentation`; the studio
// page's options; and damaged input, which gives one line on stderr and status 1.
#include "CliAlbumTest.h"
#include "CliRunner.h"

#include "model/ProjectFile.h"
#include "model/evProjectorPage.h"
#include "presentation/DiscProducer.h"
#include "presentation/FinishTestAlbum.h"
#include "presentation/PresentationFile.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <algorithm>
#include <filesystem>
#include <sstream>

using namespace finishtest;
namespace fs = std::filesystem;

namespace {

class CliFinishTest : public CliAlbumTest {
protected:
    void SetUp() override
    {
        CliAlbumTest::SetUp();
        for (const char* folder : {"data", "out"})
            fs::create_directories(m_dir / folder);
        WriteAlbumFiles(*MakeAlbum());
    }

    std::string Disc() const { return DiscFolderFor(Path("out")); }

    CliResult Finish(std::vector<std::string> extra = {}) const
    {
        std::vector<std::string> args{"finish",    Path("album.evp"), "--out",  Path("out"),
                                      "--designs", Path("designs"),   "--data", Path("data")};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    }

    std::vector<std::string> DumpPresentation() const
    {
        const CliResult dumped = RunCli({"dump", "--as", "presentation", Disc() + "/data/data.evp"});
        EXPECT_EQ(dumped.status, 0) << dumped.err;
        return Lines(dumped.out);
    }

    // A failure: status 1, exactly one line on stderr, and no disc folder.
    void ExpectOneLineFailure(const CliResult& result) const
    {
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
        EXPECT_EQ(result.err.rfind("vellora-cli: ", 0), 0u) << result.err;
        EXPECT_FALSE(fs::exists(Disc()));
    }
};

} // namespace

TEST_F(CliFinishTest, FinishesTheProjectAndDumpsThePresentation)
{
    const CliResult finished = Finish();
    ASSERT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(finished.out, Disc() + "\n");
    EXPECT_EQ(finished.err, ""); // progress is shown on a terminal only
    for (const char* name :
         {"evplay", "evplay.exe", "index.html", "web/album.js", "autorun.inf", "data/ev.ico", "data/data.evp"})
        EXPECT_TRUE(fs::is_regular_file(Disc() + "/" + name)) << name;

    const std::vector<std::string> lines = DumpPresentation();
    ASSERT_EQ(lines.size(), 2u + 6u + 3u);
    EXPECT_EQ(lines[0], "background " + std::to_string(kBackground));
    EXPECT_EQ(lines[1], "pages 6");
    const auto file = PresentationFile::ReadFromFile(Disc() + "/data/data.evp");
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(lines[2 + i], file->pages[i]->ToString());
    EXPECT_EQ(lines[2].rfind("evProjectorPage[", 0), 0u);
    EXPECT_EQ(lines[8], "music nil");
    EXPECT_EQ(lines[9], "studio nil");
    EXPECT_EQ(lines[10], "duration 0");

    // The special page layouts were bound on opening: the end page (kind 2) is the exit's target everywhere.
    EXPECT_NE(lines[2].find("evProjectorNaviAction[0, 5]"), std::string::npos) << lines[2];
}

TEST_F(CliFinishTest, DamagedOrMissingInputGivesOneLine)
{
    std::vector<uint8_t> project;
    {
        MemoryStream file;
        file.LoadFromFile(Path("album.evp"));
        project = file.Data();
    }
    for (size_t cut : {size_t{0}, size_t{7}, project.size() / 2, project.size() - 1}) {
        MemoryStream(std::vector<uint8_t>(project.begin(), project.begin() + static_cast<long>(cut)))
            .SaveToFile(Path("album.evp"));
        SCOPED_TRACE(cut);
        ExpectOneLineFailure(Finish());
    }
    MemoryStream(project).SaveToFile(Path("album.evp"));

    ExpectOneLineFailure(Finish({"--studio-duration", "soon"}));
    ExpectOneLineFailure(RunCli({"finish", Path("album.evp"), "--out", Path("out"), "--designs", Path("data")}));
    ExpectOneLineFailure(RunCli({"finish", Path("missing.evp"), "--out", Path("out")}));
    ExpectOneLineFailure(RunCli({"finish", Path("album.evp")}));
    ExpectOneLineFailure(Finish({"--designs"}));

    fs::remove_all(Path("out"));
    const CliResult noFolder = Finish();
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_EQ(Lines(noFolder.err).size(), 1u) << noFolder.err;
    EXPECT_NE(noFolder.err.find("FIN_DIR"), std::string::npos) << noFolder.err;
}

TEST_F(CliFinishTest, ADamagedPresentationFileGivesOneLine)
{
    ASSERT_EQ(Finish().status, 0);
    const std::string path = Disc() + "/data/data.evp";
    MemoryStream file;
    file.LoadFromFile(path);
    std::vector<uint8_t> bytes = file.Data();
    bytes.resize(bytes.size() - 5);
    MemoryStream(bytes).SaveToFile(path);
    const CliResult dumped = RunCli({"dump", "--as", "presentation", path});
    EXPECT_EQ(dumped.status, 1);
    EXPECT_EQ(Lines(dumped.err).size(), 1u) << dumped.err;
    EXPECT_EQ(dumped.out, "");
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
    for (const char* name :
         {"evplay", "evplay.exe", "index.html", "web/album.js", "autorun.inf", "data/ev.ico", "data/data.evp"}) {
        SCOPED_TRACE(name);
        MemoryStream original, copy;
        original.LoadFromFile(Disc() + "/" + name);
        copy.LoadFromFile((extracted / name).string());
        EXPECT_EQ(copy.Data(), original.Data());
    }
    // The native player keeps its execute bit through the image.
    EXPECT_NE(fs::status(extracted / "evplay").permissions() & fs::perms::owner_exec, fs::perms::none);

    // An image that cannot be written: exactly one line on stderr, status 1, no file.
    const std::string nowhere = Path("missing/album.iso");
    const CliResult failed = Finish({"--iso", nowhere});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "vellora-cli: Cannot create \"" + nowhere + "\": No such file or directory\n");
    EXPECT_FALSE(fs::exists(nowhere));
    fs::remove_all(Disc());
    ExpectOneLineFailure(Finish({"--iso"}));
}
