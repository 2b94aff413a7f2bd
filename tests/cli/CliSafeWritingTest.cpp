// Writing seen from outside: `vellora-cli resave` under a file size limit, `finish` killed at every step and stopped
// by signals. A failed write keeps the file that was there, says why in one line and ends with status 1.
#include "CliAlbumTest.h"
#include "WriteLeftovers.h"

#include "presentation/FinishTestAlbum.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <chrono>
#include <filesystem>
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
};

} // namespace

// A resave that cannot write says why in one line, ends with status 1 and keeps what was there. What a write does
// with odd targets (folders, links, permissions, the longest names, files at the old temporary names) and racing
// writers is AtomicFileTest's; the file size limit is the program's own: it ignores SIGXFSZ, so the write fails
// with EFBIG instead of the signal killing it with its temporary left behind.
TEST_F(CliSafeWritingTest, AFailedResaveSaysWhyAndKeepsWhatWasThere)
{
    Write("out.evp", "previous");
    auto big = MakeAlbum();
    big->SetFirstName(std::string(3 << 20, 'A'));
    WriteProjectFile(*big, Path("big.evp"));
    const struct {
        std::string project, target, failure;
        std::function<void()> childSetup;
    } failures[] = {
        // clang-format off
        {"first.evp", "none/x.evp", "create \"" + Path("none/x.evp") + "\": No such file or directory", {}},
        {"big.evp", "out.evp", "write \"" + Path("out.evp") + "\": File too large", [] { rlimit limit{1 << 20, 1 << 20}; ::setrlimit(RLIMIT_FSIZE, &limit); }},
        // clang-format on
    };
    for (const auto& c : failures) {
        const CliResult result = Run({"resave", "--as", "project", Path(c.project), Path(c.target)}, {}, c.childSetup);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "vellora-cli: Cannot " + c.failure + "\n");
    }
    EXPECT_EQ(Read(Path("out.evp")), "previous");
    EXPECT_TRUE(TemporariesIn(m_dir).empty());
    EXPECT_TRUE(PrivateFolders(Path("tmp")).empty());
}

// A finish killed among the pages keeps the old presentation file, one killed after it has the new one. That each
// file is replaced whole is AtomicFileTest's (and SafeSavingTest's, for a writer killed at any moment); which
// files a failure among the pages keeps is DiscProducerTest's. Here: the steps' order and the clean-up after a kill.
TEST_F(CliSafeWritingTest, AKilledFinishLeavesTheOldOrTheNewPresentation)
{
    // The presentation of a complete run of the second album, to compare with.
    ASSERT_EQ(Run(FinishArgs("second.evp", "new")).status, 0);
    const std::string newPresentation = Read(Disc("new") + "/data/data.evp");
    for (const std::string step : {"page 3", "data/data.evp"}) {
        SCOPED_TRACE(step);
        fs::remove_all(Disc());
        ASSERT_EQ(Run(FinishArgs("first.evp", "out")).status, 0);
        const std::string oldPresentation = Read(Disc() + "/data/data.evp");
        ASSERT_TRUE(oldPresentation != newPresentation) << "the two albums give the same presentation";

        const CliResult killed = Run(FinishArgs("second.evp", "out"), {{"VELLORA_TEST_KILL_AFTER", step}});
        EXPECT_EQ(killed.status, -1) << "not killed: " << killed.err;
        const bool pagesOnly = step.rfind("page", 0) == 0;
        EXPECT_EQ(Read(Disc() + "/data/data.evp"), pagesOnly ? oldPresentation : newPresentation);
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
