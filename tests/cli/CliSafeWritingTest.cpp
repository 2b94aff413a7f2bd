// Writing under concurrency, links, odd names and interruptions, seen from outside: `vellora-cli resave` and
// `finish` racing, killed at every step, stopped by signals, under a file size limit.
#include "CliRunner.h"
#include "WriteLeftovers.h"

#include "model/ProjectFile.h"
#include "model/evCategory.h"
#include "model/evProject.h"
#include "platform/Stream.h"
#include "presentation/DiscProducer.h"
#include "presentation/FinishTestAlbum.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <thread>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace finishtest;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

size_t LineCount(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

// The private temporary folders of Vellora programs in a folder.
std::vector<std::string> PrivateFolders(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("vellora-", 0) == 0)
            names.push_back(entry.path().filename().string());
    }
    return names;
}

class CliSafeWritingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("vellora-cli-safe-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        for (const char* folder : {"designs", "data", "out", "new", "tmp"})
            fs::create_directories(m_dir / folder);
        // Two albums whose pages differ, so the presentation files of the two differ.
        const std::unique_ptr<evProject> first = MakeAlbum();
        MemoryStream design;
        first->GetDesign()->SaveToStream(design);
        design.SaveToFile(Path("designs/" + first->GetDesignFileName()));
        WriteProjectFile(*first, Path("first.evp"));
        const std::unique_ptr<evProject> second = MakeAlbum("space2", 3); // the end page is of another kind
        second->SetFirstName("Clara");
        WriteProjectFile(*second, Path("second.evp"));
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    std::string Disc() const { return DiscFolderFor(Path("out")); }
    // Every program run here keeps its temporary folder in tmp/, where the test can look.
    CliOptions Options(std::vector<std::pair<std::string, std::string>> more = {}) const
    {
        more.emplace_back("TMPDIR", Path("tmp"));
        return CliOptions{more, {}};
    }
    std::vector<std::string> FinishArgs(const std::string& project, const std::string& out) const
    {
        return {"finish", Path(project), "--out", Path(out), "--designs", Path("designs"), "--data", Path("data")};
    }

    fs::path m_dir;
};

} // namespace

TEST_F(CliSafeWritingTest, RacingResavesLeaveOneWholeFileAndTellTheTruth)
{
    const std::string first = ReadAll(Path("first.evp"));
    const std::string second = ReadAll(Path("second.evp"));
    ASSERT_TRUE(first != second);
    std::ofstream(Path("damaged.evp"), std::ios::binary) << second.substr(0, second.size() / 2);
    const std::string out = Path("out.evp");
    for (int round = 0; round < 50; ++round) {
        // Odd rounds race a good writer against one that fails: the good one's content must survive.
        const std::string rival = round % 2 ? "damaged.evp" : "second.evp";
        auto a = std::async(std::launch::async, [&] {
            return RunCli({"resave", "--as", "project", Path("first.evp"), out}, Options());
        });
        auto b = std::async(std::launch::async, [&] {
            return RunCli({"resave", "--as", "project", Path(rival), out}, Options());
        });
        const CliResult ra = a.get();
        const CliResult rb = b.get();
        SCOPED_TRACE("round " + std::to_string(round) + ": " + ra.err + rb.err);
        const std::string written = ReadAll(out);
        ASSERT_EQ(ra.status, 0);
        if (round % 2) {
            ASSERT_EQ(rb.status, 1);
            ASSERT_EQ(written, first);
        } else {
            ASSERT_EQ(rb.status, 0);
            ASSERT_TRUE(written == first || written == second) << written.size() << " bytes";
        }
        fs::remove(out);
    }
    EXPECT_TRUE(TemporariesIn(m_dir).empty());
    EXPECT_TRUE(PrivateFolders(Path("tmp")).empty());
}

TEST_F(CliSafeWritingTest, OddTargetsOfResave)
{
    const std::string project = ReadAll(Path("first.evp"));
    const auto resave = [&](const std::string& target) {
        return RunCli({"resave", "--as", "project", Path("first.evp"), target}, Options());
    };

    // Files at the old fixed temporary names are never opened: a link there is not followed.
    std::ofstream(Path("victim.txt")) << "victim";
    fs::create_symlink(Path("victim.txt"), Path("o.evp.part"));
    std::ofstream(Path("o.evp.tmp")) << "other";
    EXPECT_EQ(resave(Path("o.evp")).status, 0);
    EXPECT_EQ(ReadAll(Path("victim.txt")), "victim");
    EXPECT_EQ(ReadAll(Path("o.evp.tmp")), "other");
    EXPECT_FALSE(fs::is_symlink(Path("o.evp")));
    EXPECT_EQ(ReadAll(Path("o.evp")), project);

    // The longest legal names.
    for (size_t length : {251u, 255u}) {
        const std::string name = Path(std::string(length - 4, 'x') + ".evp");
        EXPECT_EQ(resave(name).status, 0) << length;
        EXPECT_EQ(ReadAll(name), project);
    }

    // Permission bits and a symbolic link survive the replacement.
    std::ofstream(Path("private.evp")) << "old";
    ::chmod(Path("private.evp").c_str(), 0600);
    EXPECT_EQ(resave(Path("private.evp")).status, 0);
    EXPECT_EQ(fs::status(Path("private.evp")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(m_dir / "albums");
    std::ofstream(Path("albums/real.evp")) << "old";
    fs::create_symlink("albums/real.evp", Path("link.evp"));
    EXPECT_EQ(resave(Path("link.evp")).status, 0);
    EXPECT_TRUE(fs::is_symlink(Path("link.evp")));
    EXPECT_EQ(ReadAll(Path("albums/real.evp")), project);

    // Failures: one line naming the file and the reason.
    const struct {
        std::string target, message;
    } failures[] = {
        {Path("albums"), "Cannot create \"" + Path("albums") + "\": Is a directory"},
        {Path("none/x.evp"), "Cannot create \"" + Path("none/x.evp") + "\": No such file or directory"},
        {Path(std::string(256, 'y')), "Cannot create \"" + Path(std::string(256, 'y')) + "\": File name too long"},
    };
    for (const auto& f : failures) {
        const CliResult result = resave(f.target);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "vellora-cli: " + f.message + "\n");
    }
    EXPECT_EQ(TemporariesIn(m_dir).size(), 2u); // the two planted files only
}

TEST_F(CliSafeWritingTest, AFileSizeLimitIsAnErrorNotADeath)
{
    // A project larger than the limit: the write fails with EFBIG instead of SIGXFSZ killing the program.
    auto big = MakeAlbum();
    big->SetFirstName(std::string(3 << 20, 'A'));
    WriteProjectFile(*big, Path("big.evp"));
    std::ofstream(Path("out.evp")) << "previous";
    CliOptions options = Options();
    options.childSetup = [] {
        rlimit limit{1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    const CliResult result = RunCli({"resave", "--as", "project", Path("big.evp"), Path("out.evp")}, options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "vellora-cli: Cannot write \"" + Path("out.evp") + "\": File too large\n");
    EXPECT_EQ(ReadAll(Path("out.evp")), "previous");
    EXPECT_TRUE(TemporariesIn(m_dir).empty());
    EXPECT_TRUE(PrivateFolders(Path("tmp")).empty());
}

TEST_F(CliSafeWritingTest, KilledAtEveryStepTheDiscHoldsWholeFiles)
{
    // The files of a complete run of each album, to compare with.
    ASSERT_EQ(RunCli(FinishArgs("second.evp", "new"), Options()).status, 0);
    const std::string newDisc = DiscFolderFor(Path("new"));
    const std::vector<std::string> names = {"data/data.evp", "evplay", "evplay.exe", "autorun.inf", "data/ev.ico"};
    std::map<std::string, std::string> newFiles;
    for (const std::string& name : names)
        newFiles[name] = ReadAll(newDisc + "/" + name);

    std::vector<std::string> steps = {"page 1", "page 3", "page 6"};
    steps.insert(steps.end(), names.begin(), names.end());
    for (const std::string& step : steps) {
        SCOPED_TRACE(step);
        fs::remove_all(Path("out"));
        fs::create_directories(Path("out"));
        ASSERT_EQ(RunCli(FinishArgs("first.evp", "out"), Options()).status, 0);
        const std::string oldPresentation = ReadAll(Disc() + "/data/data.evp");
        ASSERT_TRUE(oldPresentation != newFiles["data/data.evp"]) << "the two albums give the same presentation";

        const CliResult killed = RunCli(FinishArgs("second.evp", "out"), Options({{"VELLORA_TEST_KILL_AFTER", step}}));
        EXPECT_EQ(killed.status, -1) << "not killed: " << killed.err;
        const std::string presentation = ReadAll(Disc() + "/data/data.evp");
        EXPECT_TRUE(presentation == oldPresentation || presentation == newFiles["data/data.evp"]);
        const bool pagesOnly = step.rfind("page", 0) == 0;
        EXPECT_EQ(presentation == oldPresentation, pagesOnly);
        for (const std::string& name : names) {
            if (name != "data/data.evp") {
                EXPECT_EQ(ReadAll(Disc() + "/" + name), newFiles[name]) << name;
            }
        }
        // The killed program's private folder is left; the next Vellora program removes it.
        EXPECT_EQ(PrivateFolders(Path("tmp")).size(), 1u);
        EXPECT_EQ(RunCli({"dump", "--as", "presentation", Disc() + "/data/data.evp"}, Options()).status, 0);
        EXPECT_TRUE(PrivateFolders(Path("tmp")).empty());
        // A temporary the killed program left in the disc folder is gone after the next finish.
        if (pagesOnly) {
            EXPECT_FALSE(TemporariesIn(Disc() + "/data").empty());
            ASSERT_EQ(RunCli(FinishArgs("second.evp", "out"), Options()).status, 0);
            EXPECT_TRUE(TemporariesIn(Disc() + "/data").empty());
            EXPECT_TRUE(TemporariesIn(Disc()).empty());
            for (const auto& entry : fs::directory_iterator(Disc()))
                EXPECT_EQ(entry.path().filename().string().rfind(".web-", 0), std::string::npos) << entry.path();
            EXPECT_EQ(ReadAll(Disc() + "/data/data.evp"), newFiles["data/data.evp"]);
        }
    }
}

TEST_F(CliSafeWritingTest, SignalsRemoveThePrivateTemporaryFolder)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", QString::fromStdString(Path("tmp")));
        process.setProcessEnvironment(environment);
        fs::remove_all(Path("out"));
        fs::create_directories(Path("out"));
        QStringList args;
        for (const std::string& arg : FinishArgs("first.evp", "out"))
            args << QString::fromStdString(arg);
        process.start(QString::fromUtf8(VELLORA_CLI_PATH), args);
        ASSERT_TRUE(process.waitForStarted());
        // Wait until the program has files in its private folder (page previews, fonts), then stop it.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        bool busy = false;
        while (!busy && std::chrono::steady_clock::now() < deadline && process.state() == QProcess::Running) {
            for (const std::string& name : PrivateFolders(Path("tmp")))
                busy = busy || !fs::is_empty(Path("tmp/" + name));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_TRUE(busy) << "the program never used its temporary folder";
        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit); // it ends as the signal says
        EXPECT_TRUE(PrivateFolders(Path("tmp")).empty());
    }
}

TEST_F(CliSafeWritingTest, AFailingFinishPrintsExactlyOneLine)
{
    // Failures after rendering started: the icon's name is taken by a folder; the player's name too.
    for (const char* blocked : {"data/ev.ico", "evplay"}) {
        SCOPED_TRACE(blocked);
        fs::remove_all(Path("out"));
        fs::create_directories(Disc() + "/" + blocked + "/inside");
        const CliResult result = RunCli(FinishArgs("first.evp", "out"), Options());
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(LineCount(result.err), 1u) << result.err;
        EXPECT_NE(result.err.find("Is a directory"), std::string::npos) << result.err;
        EXPECT_TRUE(fs::is_regular_file(Disc() + "/data/data.evp"));
    }
}

TEST_F(CliSafeWritingTest, FilesThatAreNoBodyOfTheirKind)
{
    std::string jpeg = "\xFF\xD8\xFF\xE0";
    jpeg += std::string(2000, '\x11');
    std::ofstream(Path("photo.jpg"), std::ios::binary) << jpeg;
    std::string project = ReadAll(Path("first.evp"));
    std::ofstream(Path("tail.evp"), std::ios::binary) << project << "tail";
    std::string newer = project;
    newer[0] = 4; // evProject version 4
    std::ofstream(Path("newer.evp"), std::ios::binary) << newer;
    std::string photograph(64, '\0');
    photograph[0] = '\x49';
    photograph[1] = '\x49';
    photograph[2] = '\x2A';
    std::ofstream(Path("raw.bin"), std::ios::binary) << photograph;

    const struct {
        std::string kind, file, message;
    } cases[] = {
        {"collection", "photo.jpg",
         "\"" + Path("photo.jpg") + "\": the collection ends at byte 4, but 2000 more bytes follow"},
        {"project", "tail.evp",
         "\"" + Path("tail.evp") + "\": the project ends at byte " + std::to_string(project.size()) +
             ", but 4 more bytes follow"},
        {"project", "newer.evp", "evProject version 4 is newer than this program reads"},
        {"photograph", "raw.bin", "evPhotograph version 2771273 is newer than this program reads"},
        {"design", "photo.jpg", "evLayout version -520103681 is no version at all"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunCli({"dump", "--as", c.kind, Path(c.file)}, Options());
        EXPECT_EQ(result.status, 1) << c.file;
        EXPECT_EQ(result.err, "vellora-cli: " + c.message + "\n");
        EXPECT_EQ(result.out, "");
    }
    // Every version up to the current one is still read.
    std::string older = project;
    for (char version : {'\0', '\1', '\2', '\3'}) {
        older[0] = version;
        std::ofstream(Path("older.evp"), std::ios::binary | std::ios::trunc) << older;
        const CliResult result = RunCli({"dump", "--as", "project", Path("older.evp")}, Options());
        EXPECT_EQ(result.err.find("version"), std::string::npos) << result.err;
    }
}
