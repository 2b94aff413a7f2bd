#include "platform/TempFiles.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <QDir>

#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

namespace {
class TempFilesTest : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        m_previous = TempFolder();
        SetTempFolder(m_dir.string());
    }
    void TearDown() override
    {
        SetTempFolder(m_previous);
        ScratchFolderTest::TearDown();
    }
    void Touch(const std::string& path) { std::ofstream(path) << "x"; }

    std::string m_previous;
};
} // namespace

TEST_F(TempFilesTest, CounterStartsAtZeroAndSkipsTakenNames)
{
    const std::string folder = TempFolder();
    EXPECT_EQ(folder.back(), '/');
    const std::string first = UniqueTempFileName("evpl.evp");
    EXPECT_EQ(first, folder + "evpl0.evp");
    EXPECT_TRUE(FileExists(first)); // the name is taken at once
    EXPECT_EQ(UniqueTempFileName("evpl.evp"), folder + "evpl1.evp");
    std::filesystem::remove(first);
    EXPECT_EQ(UniqueTempFileName("evpl.evp"), folder + "evpl0.evp");
    EXPECT_EQ(UniqueTempFileName("noext"), folder + "noext0");
    EXPECT_EQ(UniqueTempFileName("a.b.ttf"), folder + "a.b0.ttf");
}

TEST_F(TempFilesTest, StoredNamesNeverLeaveTheTemporaryFolder)
{
    const std::string folder = TempFolder();
    for (const char* hostile : {"../x.ttf", "/etc/passwd.ttf", "..\\..\\x.ttf", "sub/dir/x.ttf"}) {
        const std::string name = UniqueTempFileName(hostile);
        EXPECT_EQ(name.rfind(folder, 0), 0u) << hostile;
        EXPECT_EQ(name.find("..", folder.size()), std::string::npos) << hostile;
        EXPECT_EQ(name.find('/', folder.size()), std::string::npos) << hostile;
    }
    EXPECT_EQ(UniqueTempFileName(".."), folder + "ev0.tmp");
    EXPECT_EQ(UniqueTempFileName(""), folder + "ev1.tmp");
}

namespace {
// The id of a process that has ended: a child that exits at once.
pid_t EndedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}
} // namespace

TEST_F(TempFilesTest, StaleFoldersOfEndedProcessesAreRemoved)
{
    const std::string ended = std::to_string(EndedProcess());
    const std::string running = std::to_string(::getppid());
    const struct {
        std::string name;
        bool folder;
        bool removed;
    } cases[] = {
        {"vellora-" + ended + "-AbC123", true, true},
        {"vellora-" + running + "-AbC123", true, false},                    // its owner still runs
        {"vellora-" + std::to_string(::getpid()) + "-xyzxyz", true, false}, // this process's own
        {"vellora-" + ended + "-toolongname", true, false},                 // not a name the program makes
        {"vellora-x" + ended + "-AbC123", true, false},
        {"vellora-test-AbC123", true, false},
        {"vellora-" + ended + "-file00", false, false}, // a file, not a folder
    };
    for (const auto& c : cases) {
        const std::filesystem::path path = m_dir / c.name;
        if (c.folder) {
            std::filesystem::create_directories(path);
            Touch((path / "evpl0.evp").string());
        } else {
            Touch(path.string());
        }
    }
    // A link named like a stale folder is no folder of ours: neither it nor what it points to goes.
    std::filesystem::create_directories(m_dir / "elsewhere");
    Touch((m_dir / "elsewhere" / "keep").string());
    std::filesystem::create_directory_symlink(m_dir / "elsewhere", m_dir / ("vellora-" + ended + "-Link00"));

    EXPECT_EQ(RemoveStaleTempFolders(m_dir.string()), 1);
    for (const auto& c : cases)
        EXPECT_EQ(std::filesystem::exists(m_dir / c.name), !c.removed) << c.name;
    EXPECT_TRUE(std::filesystem::exists(m_dir / "elsewhere" / "keep"));
}

TEST_F(TempFilesTest, ThePrivateFolderIsMadeOnFirstUseAndRemoved)
{
    SetTempFolder("");
    const std::string folder = TempFolder();
    const std::string base = QDir::tempPath().toStdString() + "/vellora-" + std::to_string(::getpid()) + "-";
    EXPECT_EQ(folder.rfind(base, 0), 0u) << folder;
    EXPECT_EQ(folder.size(), base.size() + 7);
    EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);
    const std::string file = UniqueTempFileName("evm.evp");
    EXPECT_EQ(file, folder + "evm0.evp");
    RemovePrivateTempFolder();
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_NE(TempFolder(), folder); // a new one on the next use
    RemovePrivateTempFolder();
}

// The installed program makes its private folder in its runtime folder, and clears stale ones from there.
TEST_F(TempFilesTest, ThePrivateFolderGoesIntoTheBaseThatIsSet)
{
    const std::filesystem::path runtime = m_dir / "runtime";
    std::filesystem::create_directories(runtime);
    const std::filesystem::path stale = runtime / ("vellora-" + std::to_string(EndedProcess()) + "-Abc123");
    std::filesystem::create_directories(stale);

    SetTempFolder("");
    SetTempBase(runtime.string() + "//");
    EXPECT_EQ(RemoveStaleTempFolders(), 1);
    EXPECT_FALSE(std::filesystem::exists(stale));
    const std::string folder = TempFolder();
    const std::string base = runtime.string() + "/vellora-" + std::to_string(::getpid()) + "-";
    EXPECT_EQ(folder.rfind(base, 0), 0u) << folder;
    RemovePrivateTempFolder();
    EXPECT_FALSE(std::filesystem::exists(folder));
    SetTempBase("");
}
