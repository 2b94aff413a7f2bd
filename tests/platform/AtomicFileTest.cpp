#include "platform/AtomicFile.h"
#include "ScratchFolder.h"

#include "platform/Errors.h"
#include "platform/Stream.h"

#include "WriterFaults.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ScratchFolderTest {
protected:
    static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    static mode_t Mode(const std::string& path)
    {
        struct stat info {};
        ::lstat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    // Names in the folder other than the given ones: a temporary left behind shows here.
    std::vector<std::string> Leftovers(std::initializer_list<std::string> expected) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            const std::string name = entry.path().filename().string();
            if (std::find(expected.begin(), expected.end(), name) == expected.end())
                names.push_back(name);
        }
        return names;
    }
};

} // namespace

TEST_F(AtomicFileTest, WritesWholeAndLeavesNothingBeside)
{
    const std::string out = Path("out.evp");
    Write(out, "old");
    {
        AtomicWriter writer(out);
        writer.GetStream().WriteString("new");
        EXPECT_EQ(Read(out), "old"); // readers see the previous file until the rename
        EXPECT_EQ(writer.GetTemporaryPath().rfind(m_dir.string() + "/.vellora-", 0), 0u);
        writer.Commit();
    }
    EXPECT_EQ(Read(out), std::string("\3\0\0\0new", 7));
    EXPECT_TRUE(Leftovers({"out.evp"}).empty());

    // A writer that ends without Commit leaves the previous file and no temporary.
    {
        AtomicWriter writer(out);
        writer.GetStream().WriteString(std::string(200000, 'x'));
    }
    EXPECT_EQ(Read(out), std::string("\3\0\0\0new", 7));
    EXPECT_TRUE(Leftovers({"out.evp"}).empty());
}

TEST_F(AtomicFileTest, SeeksBackIntoWhatWasWritten)
{
    const std::string out = Path("tagged.mp3");
    AtomicWriter writer(out);
    Stream& stream = writer.GetStream();
    stream.WriteBuffer("....body", 8);
    stream.Seek(0, SeekOrigin::Begin);
    stream.WriteBuffer("HEAD", 4);
    EXPECT_EQ(stream.Size(), 8);
    writer.Commit();
    EXPECT_EQ(Read(out), "HEADbody");
}

TEST_F(AtomicFileTest, TwoWritersRacingLeaveOneWholeFile)
{
    const std::string out = Path("raced.evp");
    const std::string first(300000, 'a');
    const std::string second(200000, 'b');
    for (int round = 0; round < 50; ++round) {
        bool firstDone = false;
        bool secondDone = false;
        std::thread a([&] {
            WriteFileAtomically(out, first);
            firstDone = true;
        });
        std::thread b([&] {
            WriteFileAtomically(out, second);
            secondDone = true;
        });
        a.join();
        b.join();
        const std::string result = Read(out);
        ASSERT_TRUE(result == first || result == second) << "round " << round << ": " << result.size() << " bytes";
        EXPECT_TRUE(firstDone && secondDone);
    }
    EXPECT_TRUE(Leftovers({"raced.evp"}).empty());
}

TEST_F(AtomicFileTest, NeverOpensAnExistingFileAtTheOldTemporaryName)
{
    const std::string victim = Path("victim.txt");
    Write(victim, "keep me");
    const std::string out = Path("o.evp");
    fs::create_symlink(victim, out + ".part");
    Write(out + ".tmp", "someone else's");
    WriteFileAtomically(out, std::string("new"));
    EXPECT_EQ(Read(out), "new");
    EXPECT_FALSE(fs::is_symlink(out));
    EXPECT_EQ(Read(victim), "keep me");
    EXPECT_EQ(Read(out + ".tmp"), "someone else's");
    EXPECT_TRUE(fs::is_symlink(out + ".part"));
}

TEST_F(AtomicFileTest, TheLongestLegalNameHasATemporary)
{
    for (size_t length : {251u, 255u}) {
        const std::string out = Path(std::string(length - 4, 'n') + ".evp");
        WriteFileAtomically(out, std::string("long"));
        EXPECT_EQ(Read(out), "long") << length;
        fs::remove(out);
    }
    EXPECT_TRUE(Leftovers({}).empty());
}

TEST_F(AtomicFileTest, KeepsPermissionsAndSymbolicLinks)
{
    const struct {
        mode_t before;
        AtomicWriter::Permissions permissions;
        mode_t after;
    } cases[] = {
        {0600, AtomicWriter::Permissions::Plain, 0600},      {0640, AtomicWriter::Permissions::Plain, 0640},
        {0755, AtomicWriter::Permissions::Plain, 0755},      {0444, AtomicWriter::Permissions::Plain, 0444},
        {0640, AtomicWriter::Permissions::Executable, 0750},
    };
    const std::string out = Path("kept.evp");
    for (const auto& c : cases) {
        Write(out, "old");
        ::chmod(out.c_str(), c.before);
        AtomicWriter writer(out, c.permissions);
        writer.GetStream().WriteBuffer("new", 3);
        writer.Commit();
        EXPECT_EQ(Mode(out), c.after) << std::oct << c.before;
        EXPECT_EQ(Read(out), "new");
        fs::remove(out);
    }

    // A new file gets what the umask allows.
    const mode_t mask = ::umask(022);
    WriteFileAtomically(out, std::string("fresh"));
    ::umask(mask);
    EXPECT_EQ(Mode(out), 0644u);

    // A link, relative and through a second link: the file it points to is replaced, the links stay.
    fs::create_directories(m_dir / "real");
    const std::string real = Path("real/album.evp");
    Write(real, "old");
    ::chmod(real.c_str(), 0600);
    fs::create_symlink("real/album.evp", Path("hop"));
    fs::create_symlink("hop", Path("link.evp"));
    AtomicWriter writer(Path("link.evp"));
    EXPECT_EQ(writer.GetTarget(), m_dir.string() + "/real/album.evp");
    writer.GetStream().WriteBuffer("through", 7);
    writer.Commit();
    EXPECT_TRUE(fs::is_symlink(Path("link.evp")));
    EXPECT_TRUE(fs::is_symlink(Path("hop")));
    EXPECT_EQ(Read(real), "through");
    EXPECT_EQ(Mode(real), 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "real"), fs::directory_iterator()), 1);

    // A link to a file not yet there: that file is made.
    fs::create_symlink("real/later.evp", Path("later.evp"));
    WriteFileAtomically(Path("later.evp"), std::string("made"));
    EXPECT_TRUE(fs::is_symlink(Path("later.evp")));
    EXPECT_EQ(Read(Path("real/later.evp")), "made");
}

TEST_F(AtomicFileTest, ErrorsNameTheFileAndTheReason)
{
    fs::create_directories(m_dir / "folder");
    fs::create_symlink("loop-b", Path("loop-a"));
    fs::create_symlink("loop-a", Path("loop-b"));
    const struct {
        std::string target;
        std::string message;
    } cases[] = {
        {Path("folder"), "Cannot create \"" + Path("folder") + "\": Is a directory"},
        {Path("missing/out.evp"), "Cannot create \"" + Path("missing/out.evp") + "\": No such file or directory"},
        {Path("loop-a"), "Cannot create \"" + Path("loop-a") + "\": Too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        try {
            WriteFileAtomically(c.target, std::string("x"));
            ADD_FAILURE() << c.target << ": no error";
        } catch (const EFCreateError& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

TEST_F(AtomicFileTest, AFileSizeLimitIsAWriteErrorAndKeepsThePreviousFile)
{
    const std::string out = Path("big.evp");
    Write(out, "previous");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    std::string message;
    try {
        AtomicWriter writer(out);
        for (int i = 0; i < 100; ++i)
            writer.GetStream().WriteString(std::string(10000, 'z'));
        writer.Commit();
    } catch (const EWriteError& error) {
        message = error.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);
    EXPECT_EQ(message, "Cannot write \"" + out + "\": File too large");
    EXPECT_EQ(Read(out), "previous");
    EXPECT_TRUE(Leftovers({"big.evp"}).empty());
}

TEST_F(AtomicFileTest, StaleTemporariesOfEndedWritersAreRemoved)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string ended = std::to_string(child);
    const std::string running = std::to_string(::getppid());
    const struct {
        std::string name;
        bool removed;
    } cases[] = {
        {".vellora-data.evp-" + ended + "-0-0.tmp", true},
        {".vellora-my-album-2-" + ended + "-17-3.tmp", true}, // dashes in the stem
        {".vellora-data.evp-" + running + "-0-0.tmp", false}, // its writer still runs
        {".vellora-data.evp-" + ended + "-0-0.part", false},
        {".vellora-data.evp-" + ended + "-x-0.tmp", false},
        {"vellora-data.evp-" + ended + "-0-0.tmp", false},
        {"data.evp", false},
    };
    for (const auto& c : cases)
        Write(Path(c.name), "x");
    fs::create_symlink(Path("data.evp"), Path(".vellora-link-" + ended + "-0-0.tmp"));
    EXPECT_EQ(RemoveStaleTemporariesIn(m_dir.string()), 2);
    for (const auto& c : cases)
        EXPECT_EQ(fs::exists(Path(c.name)), !c.removed) << c.name;
    EXPECT_TRUE(fs::is_symlink(Path(".vellora-link-" + ended + "-0-0.tmp")));
}

TEST_F(AtomicFileTest, EveryRefusedCallKeepsThePreviousFileAndNamesFileAndReason)
{
    const std::string out = Path("album.evp");
    const struct {
        WriterFaults::At at;
        int error;
    } cases[] = {
        {WriterFaults::At::Open, EROFS},
        {WriterFaults::At::Write, ENOSPC},
        {WriterFaults::At::Sync, EIO},
        {WriterFaults::At::Rename, EXDEV},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::strerror(c.error));
        Write(out, "previous");
        try {
            WriterFaults faults(c.at, c.error);
            WriteFileAtomically(out, std::string(1000, 'n'));
            ADD_FAILURE() << "written";
        } catch (const EStreamError& error) {
            EXPECT_EQ(error.GetFile(), out);
            EXPECT_EQ(error.GetSystemError(), c.error);
            EXPECT_NE(std::string(error.what()).find(std::strerror(c.error)), std::string::npos) << error.what();
        }
        EXPECT_EQ(Read(out), "previous");
        EXPECT_TRUE(Leftovers({"album.evp"}).empty());
    }
}

// Code that learns of a refused write only as false (a collection) can raise it with its file and reason, and
// a writer whose stream once refused a write never commits, even when later writes went through.
TEST_F(AtomicFileTest, ARefusedWriteIsRememberedUntilTheCommit)
{
    const std::string out = Path("album.evp");
    Write(out, "previous");
    WriterFaults full(WriterFaults::At::Write, ENOSPC, 100);
    AtomicWriter writer(out);
    Stream& stream = writer.GetStream();
    EXPECT_THROW(stream.WriteBuffer(std::string(200000, 'a').data(), 200000), EWriteError);
    try {
        stream.RaiseWriteFailure();
    } catch (const EWriteError& error) {
        EXPECT_EQ(error.GetFile(), out);
        EXPECT_EQ(error.GetSystemError(), ENOSPC);
    }
    full.SetRoom(1000000);
    stream.WriteBuffer(std::string(200000, 'b').data(), 200000);
    EXPECT_THROW(writer.Commit(), EWriteError);
    EXPECT_EQ(Read(out), "previous");
    EXPECT_TRUE(Leftovers({"album.evp"}).empty());
    MemoryStream memory;
    EXPECT_THROW(memory.RaiseWriteFailure(), EWriteError);
}

TEST_F(AtomicFileTest, OnlyOurOwnTemporariesUntouchedForAnHourAreRemoved)
{
    const std::string pid = std::to_string(::getpid()); // even a writer of a running process stops touching it
    const struct {
        std::string name;
        bool old;
        bool removed;
    } cases[] = {
        {".vellora-Anna & Ben.evp-" + pid + "-3-0.tmp", true, true},
        {".vellora-Anna & Ben.evp-" + pid + "-4-0.tmp", false, false}, // still being written
        {"Zoë & Jürgen.evp.tmp", true, true},                          // the name earlier versions used
        {"Zoë & Jürgen.evp.tmp.keep", true, false},
        {"notes.tmp", true, false},
        {"Anna & Ben.evp", true, false},
        {"Anna & Ben.evp.recovery", true, false},
    };
    const timeval twoHoursAgo[2] = {{::time(nullptr) - 7200, 0}, {::time(nullptr) - 7200, 0}};
    for (const auto& c : cases) {
        Write(Path(c.name), "x");
        if (c.old)
            ::utimes(Path(c.name).c_str(), twoHoursAgo);
    }
    fs::create_symlink(Path("Anna & Ben.evp"), Path("old-link.evp.tmp"));
    ::lutimes(Path("old-link.evp.tmp").c_str(), twoHoursAgo);
    EXPECT_EQ(RemoveOldTemporariesIn(m_dir.string(), std::chrono::hours(1)), 2);
    for (const auto& c : cases)
        EXPECT_EQ(fs::exists(Path(c.name)), !c.removed) << c.name;
    EXPECT_TRUE(fs::is_symlink(Path("old-link.evp.tmp")));
    EXPECT_EQ(RemoveOldTemporariesIn(Path("missing"), std::chrono::hours(1)), 0);
}
