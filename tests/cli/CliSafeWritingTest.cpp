// Writing under concurrency, links, odd names and interruptions, seen from outside: `vellora-cli resave` and
// `finish` racing, killed at every step, stopped by signals, under a file size limit. A failed write keeps the file
// that was there, says why in one line and ends with status 1.
#include "CliAlbumTest.h"
#include "WriteLeftovers.h"

#include "presentation/FinishTestAlbum.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include <csignal>
#include <sys/resource.h>

using namespace finishtest;
namespace fs = std::filesystem;

namespace {

// The private temporary folders of Vellora programs in a folder.
std::vector<std::string> PrivateFolders(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (const std::string name = entry.path().filename().string(); name.rfind("vellora-", 0) == 0)
            names.push_back(name);
    return names;
}

class CliSafeWritingTest : public CliAlbumTest {
protected:
    void SetUp() override
    {
        CliAlbumTest::SetUp();
        // Two albums whose pages differ, so the presentation files of the two differ.
        WriteAlbumFiles(*MakeAlbum(), "first.evp");
        const std::unique_ptr<evProject> second = MakeAlbum("space2", 3); // the end page is of another kind
        second->SetFirstName("Clara");
        WriteProjectFile(*second, Path("second.evp"));
    }

    // Every program run here keeps its temporary folder in tmp/, where the test can look.
    CliResult Run(const std::vector<std::string>& args, std::vector<std::pair<std::string, std::string>> env = {},
                  const std::function<void()>& childSetup = {}) const
    {
        env.emplace_back("TMPDIR", Path("tmp"));
        return RunCli(args, CliOptions{env, childSetup});
    }
    CliResult Resave(const std::string& project, const std::string& target) const
    {
        return Run({"resave", "--as", "project", Path(project), target});
    }
};

} // namespace

TEST_F(CliSafeWritingTest, RacingResavesLeaveOneWholeFileAndTellTheTruth)
{
    const std::string first = Read(Path("first.evp"));
    const std::string second = Read(Path("second.evp"));
    ASSERT_TRUE(first != second);
    Write("damaged.evp", second.substr(0, second.size() / 2));
    const std::string out = Path("out.evp");
    for (int round = 0; round < 50; ++round) {
        // Odd rounds race a good writer against one that fails: the good one's content must survive.
        const std::string rival = round % 2 ? "damaged.evp" : "second.evp";
        auto a = std::async(std::launch::async, [&] { return Resave("first.evp", out); });
        auto b = std::async(std::launch::async, [&] { return Resave(rival, out); });
        const CliResult ra = a.get();
        const CliResult rb = b.get();
        SCOPED_TRACE("round " + std::to_string(round) + ": " + ra.err + rb.err);
        const std::string written = Read(out);
        ASSERT_EQ(ra.status, 0);
        ASSERT_EQ(rb.status, round % 2 ? 1 : 0);
        ASSERT_TRUE(written == first || (written == second && round % 2 == 0)) << written.size() << " bytes";
        fs::remove(out);
    }
    EXPECT_TRUE(TemporariesIn(m_dir).empty());
    EXPECT_TRUE(PrivateFolders(Path("tmp")).empty());
}

// A resave replaces its target whole, whatever the target is, or fails saying why and keeps what was there.
TEST_F(CliSafeWritingTest, ResaveReplacesOddTargetsWholeOrKeepsWhatWasThere)
{
    const std::string project = Read(Path("first.evp"));
    fs::create_directories(m_dir / "albums");
    Write("albums/real.evp", "old");
    Write("out.evp", "previous");
    // A project larger than the file size limit: the write fails with EFBIG instead of SIGXFSZ killing the program.
    auto big = MakeAlbum();
    big->SetFirstName(std::string(3 << 20, 'A'));
    WriteProjectFile(*big, Path("big.evp"));
    const struct {
        std::string project, target, failure;
        std::function<void()> childSetup;
    } failures[] = {
        // clang-format off
        {"first.evp", "albums", "create \"" + Path("albums") + "\": Is a directory", {}},
        {"first.evp", "none/x.evp", "create \"" + Path("none/x.evp") + "\": No such file or directory", {}},
        {"first.evp", std::string(256, 'y'), "create \"" + Path(std::string(256, 'y')) + "\": File name too long", {}},
        {"big.evp", "out.evp", "write \"" + Path("out.evp") + "\": File too large", [] { rlimit limit{1 << 20, 1 << 20}; ::setrlimit(RLIMIT_FSIZE, &limit); }},
        // clang-format on
    };
    for (const auto& c : failures) {
        const CliResult result = Run({"resave", "--as", "project", Path(c.project), Path(c.target)}, {}, c.childSetup);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "vellora-cli: Cannot " + c.failure + "\n");
    }
    EXPECT_EQ(Read(Path("out.evp")), "previous");
    EXPECT_EQ(Read(Path("albums/real.evp")), "old");
    EXPECT_TRUE(TemporariesIn(m_dir).empty());
    EXPECT_TRUE(PrivateFolders(Path("tmp")).empty());

    // Files at the old fixed temporary names are never opened: a link there is not followed.
    Write("victim.txt", "victim");
    fs::create_symlink(Path("victim.txt"), Path("o.evp.part"));
    Write("o.evp.tmp", "other");
    // Permission bits and a symbolic link survive the replacement.
    fs::permissions(Path("out.evp"), fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("albums/real.evp", Path("link.evp"));
    // ... and the longest legal names (251 and 255 characters).
    for (const std::string& target : {Path("o.evp"), Path("out.evp"), Path("link.evp"),
                                      Path(std::string(247, 'x') + ".evp"), Path(std::string(251, 'x') + ".evp")}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(Resave("first.evp", target).status, 0);
        EXPECT_EQ(Read(target), project);
    }
    EXPECT_EQ(Read(Path("victim.txt")), "victim");
    EXPECT_EQ(Read(Path("o.evp.tmp")), "other");
    EXPECT_FALSE(fs::is_symlink(Path("o.evp")));
    EXPECT_EQ(fs::status(Path("out.evp")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(fs::is_symlink(Path("link.evp")));
    EXPECT_EQ(Read(Path("albums/real.evp")), project);
    EXPECT_EQ(TemporariesIn(m_dir).size(), 2u); // the two planted files only
}

TEST_F(CliSafeWritingTest, KilledAtEveryStepTheDiscHoldsWholeFiles)
{
    // The files of a complete run of each album, to compare with.
    ASSERT_EQ(Run(FinishArgs("second.evp", "new")).status, 0);
    const std::string newPresentation = Read(Disc("new") + "/data/data.evp");
    const std::string others[] = {"evplay", "evplay.exe", "autorun.inf", "data/ev.ico"}; // the other files
    for (const std::string step :
         {"page 1", "page 3", "page 6", "data/data.evp", "evplay", "evplay.exe", "autorun.inf", "data/ev.ico"}) {
        SCOPED_TRACE(step);
        fs::remove_all(Disc());
        ASSERT_EQ(Run(FinishArgs("first.evp", "out")).status, 0);
        const std::string oldPresentation = Read(Disc() + "/data/data.evp");
        ASSERT_TRUE(oldPresentation != newPresentation) << "the two albums give the same presentation";

        const CliResult killed = Run(FinishArgs("second.evp", "out"), {{"VELLORA_TEST_KILL_AFTER", step}});
        EXPECT_EQ(killed.status, -1) << "not killed: " << killed.err;
        const std::string presentation = Read(Disc() + "/data/data.evp");
        EXPECT_TRUE(presentation == oldPresentation || presentation == newPresentation);
        const bool pagesOnly = step.rfind("page", 0) == 0;
        EXPECT_EQ(presentation == oldPresentation, pagesOnly);
        for (const std::string& name : others)
            EXPECT_TRUE(Read(Disc() + "/" + name) == Read(Disc("new") + "/" + name)) << name;
        // The killed program's private folder is left; the next Vellora program removes it.
        EXPECT_EQ(PrivateFolders(Path("tmp")).size(), 1u);
        EXPECT_EQ(Run({"dump", "--as", "presentation", Disc() + "/data/data.evp"}).status, 0);
        EXPECT_TRUE(PrivateFolders(Path("tmp")).empty());
        // A temporary the killed program left in the disc folder is gone after the next finish.
        if (pagesOnly) {
            EXPECT_FALSE(TemporariesIn(Disc() + "/data").empty());
            ASSERT_EQ(Run(FinishArgs("second.evp", "out")).status, 0);
            EXPECT_TRUE(TemporariesIn(Disc() + "/data").empty());
            EXPECT_TRUE(TemporariesIn(Disc()).empty());
            for (const auto& entry : fs::directory_iterator(Disc()))
                EXPECT_EQ(entry.path().filename().string().rfind(".web-", 0), std::string::npos) << entry.path();
            EXPECT_EQ(Read(Disc() + "/data/data.evp"), newPresentation);
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
        fs::remove_all(Disc());
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
        const CliResult result = Run(FinishArgs("first.evp", "out"));
        EXPECT_TRUE(OneLineFailure(result));
        EXPECT_NE(result.err.find("Is a directory"), std::string::npos) << result.err;
        EXPECT_TRUE(fs::is_regular_file(Disc() + "/data/data.evp"));
    }
}
