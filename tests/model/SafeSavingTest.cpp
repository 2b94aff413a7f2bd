// Saving that never loses the previous file: a disc that fills up at every byte of a project, writers killed at
// random moments, and the recovery copies kept beside projects.
#include "AlbumTestSupport.h"
#include "WriteLeftovers.h"
#include "WriterFaults.h"

#include "audio/evMusic.h"
#include "model/ProjectFile.h"
#include "model/RecoveryCopy.h"
#include "model/evCategory.h"
#include "model/evProject.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/SnapshotStream.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include <sys/time.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// A picture that JPEG cannot make small: about width x height x 1.5 bytes.
std::unique_ptr<evPicture> NoisyPicture(int width, int height, unsigned seed)
{
    Bitmap bitmap(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        uint8_t* line = bitmap.ScanLine(y);
        for (int x = 0; x < width * 3; ++x)
            line[x] = static_cast<uint8_t>(random());
    }
    return std::make_unique<evPicture>("photo", bitmap);
}

// Three top-level pages named after the version, each holding the given pictures.
std::unique_ptr<evProject> Album(const std::string& version, int pictures, int width, int height)
{
    auto first = std::make_unique<evCategory>("Welcome " + version, "", false, 3);
    first->AppendSibling(std::make_unique<evCategory>("Menu " + version, "", false, 3));
    first->AppendSibling(std::make_unique<evCategory>("End " + version, "", false, 3));
    for (int i = 0; i < pictures; ++i)
        first->AddUserElement(100 + i, NoisyPicture(width, height, static_cast<unsigned>(i + version.size())));
    return std::make_unique<evProject>("Anna", "Ben " + version, 38000.0, "Rose.evl", std::move(first));
}

void SetWrittenTime(const std::string& path, std::time_t when)
{
    const timeval times[2] = {{when, 0}, {when, 0}};
    ::utimes(path.c_str(), times);
}

class SafeSavingTest : public TempFolderTest {};

} // namespace

TEST_F(SafeSavingTest, ADiscFullAtEveryByteOfTheProjectKeepsThePreviousFile)
{
    const std::string path = TempPath("Anna & Ben.evp");
    WriteProjectFile(*Album("old", 1, 16, 12), path);
    const std::vector<uint8_t> before = FileBytes(path);
    const std::unique_ptr<evProject> changed = Album("new", 1, 24, 16);
    const int64_t size = static_cast<int64_t>(SavedBody(*changed).size());
    ASSERT_GT(size, 1000);
    for (int64_t room = 0; room < size; ++room) {
        try {
            WriterFaults full(WriterFaults::At::Write, ENOSPC, room);
            WriteProjectFile(*changed, path);
            ADD_FAILURE() << "written with room for " << room << " bytes";
        } catch (const EWriteError& error) {
            if (error.GetSystemError() != ENOSPC || error.GetFile() != path ||
                error.what() != "Cannot write \"" + path + "\": No space left on device")
                ADD_FAILURE() << "at byte " << room << ": " << error.what();
        }
        if (FileBytes(path) != before || !TemporariesIn(m_folder).empty())
            FAIL() << "at byte " << room << " the previous file was touched or a temporary was left";
    }
    // After the data: the temporary cannot be made, synced or renamed.
    for (const WriterFaults::At at : {WriterFaults::At::Open, WriterFaults::At::Sync, WriterFaults::At::Rename}) {
        WriterFaults refusing(at, at == WriterFaults::At::Open ? EROFS : EIO);
        EXPECT_FALSE(SaveProjectFile(changed.get(), path));
        EXPECT_EQ(refusing.Failures(), 1);
        EXPECT_EQ(FileBytes(path), before);
        EXPECT_TRUE(TemporariesIn(m_folder).empty());
    }
    WriterFaults enough(WriterFaults::At::Write, ENOSPC, size);
    WriteProjectFile(*changed, path);
    EXPECT_EQ(FileBytes(path), SavedBody(*changed));
}

// A disc that fills up while a page's photographs are written: the error still says which file and why, though
// the page's collection reports the refused write only as false.
TEST_F(SafeSavingTest, ADiscFullInsideAPageNamesTheFileAndTheReason)
{
    const std::string path = TempPath("Anna & Ben.evp");
    const std::unique_ptr<evProject> album = Album("big", 2, 300, 200);
    ASSERT_GT(SavedBody(*album).size(), 100000u); // the first 64 kB go to the disc while the page is written
    WriterFaults full(WriterFaults::At::Write, ENOSPC, 30000);
    try {
        WriteProjectFile(*album, path);
        ADD_FAILURE() << "written";
    } catch (const EWriteError& error) {
        EXPECT_EQ(error.GetFile(), path);
        EXPECT_EQ(error.GetSystemError(), ENOSPC);
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(TemporariesIn(m_folder).empty());
}

// The writer is a process of its own, killed without warning at a random moment of its save; the project file
// is then the old one or the new one, whole. What the killed writer left beside it is cleaned up afterwards.
TEST_F(SafeSavingTest, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewProject)
{
    const std::string path = TempPath("Anna & Ben.evp");
    const std::unique_ptr<evProject> oldAlbum = Album("old", 2, 300, 200);
    const std::unique_ptr<evProject> newAlbum = Album("new", 2, 300, 200);
    const std::vector<uint8_t> oldBytes = SavedBody(*oldAlbum);
    const std::vector<uint8_t> newBytes = SavedBody(*newAlbum);
    // The writer says when its save starts and when it has ended, so that the moments fall into the save, not
    // into the fork or the end of the process. The pipe's reading end is left open for the caller.
    int said[2] = {-1, -1};
    const auto startWriter = [&] {
        EXPECT_EQ(::pipe(said), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(said[0]);
            [[maybe_unused]] const ssize_t started = ::write(said[1], "s", 1);
            WriteProjectFile(*newAlbum, path);
            [[maybe_unused]] const ssize_t ended = ::write(said[1], "e", 1);
            ::_exit(0);
        }
        ::close(said[1]);
        char started = 0;
        [[maybe_unused]] const ssize_t heard = ::read(said[0], &started, 1);
        return child;
    };
    WriteProjectFile(*oldAlbum, path);
    const pid_t measured = startWriter();
    const auto start = std::chrono::steady_clock::now();
    char ended = 0;
    [[maybe_unused]] const ssize_t heard = ::read(said[0], &ended, 1);
    const long save =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    ::close(said[0]);
    int status = 0;
    ::waitpid(measured, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(FileBytes(path), newBytes);

    std::mt19937 random(20240611);
    std::uniform_int_distribution<long> moment(0, save * 5 / 4);
    int oldSeen = 0;
    int newSeen = 0;
    for (int round = 0; round < 100; ++round) {
        WriteProjectFile(*oldAlbum, path);
        const pid_t child = startWriter();
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        ::close(said[0]);
        const std::vector<uint8_t> found = FileBytes(path);
        ASSERT_TRUE(found == oldBytes || found == newBytes) << "round " << round << ": " << found.size() << " bytes";
        ++(found == oldBytes ? oldSeen : newSeen);
        RemoveStaleTemporariesIn(m_folder.string());
        ASSERT_TRUE(TemporariesIn(m_folder).empty()) << "round " << round;
    }
    RecordProperty("killed before the rename", oldSeen);
    RecordProperty("killed after the rename", newSeen);
    RecordProperty("microseconds of a save", static_cast<int>(save));
}

TEST_F(SafeSavingTest, ASnapshotHoldsTheProjectAsItWasWhenTaken)
{
    const std::unique_ptr<evProject> album = Album("one", 2, 200, 150);
    // Music large enough to be kept as a range of its file.
    const std::string track = TempPath("track.ogg");
    std::ofstream(track, std::ios::binary) << std::string(300000, 'm');
    album->SetMusic(std::make_unique<evMusic>("Waltz", 1, track));
    const std::vector<uint8_t> then = SavedBody(*album);
    const std::shared_ptr<SnapshotStream> snapshot = SnapshotProject(*album);

    // The user goes on: another photograph in the first slot, new names, the music file replaced.
    album->GetFirstCategory()->AddUserElement(100, NoisyPicture(64, 48, 9));
    album->SetFirstName("Carla");
    fs::remove(track);
    std::ofstream(track, std::ios::binary) << "other";
    ASSERT_NE(SavedBody(*album), then);

    const std::string path = TempPath("Anna & Ben.evp");
    AtomicWriter writer(RecoveryPathFor(path));
    snapshot->WriteTo(writer.GetStream());
    writer.Commit();
    EXPECT_EQ(FileBytes(path + ".recovery"), then);
    EXPECT_EQ(ReadProjectFile(path + ".recovery")->GetFirstName(), "Anna");
}

TEST_F(SafeSavingTest, RecoveryCopiesNewerThanTheirProjectAreFound)
{
    const std::time_t now = ::time(nullptr);
    const struct {
        const char* project; // nullptr: no project file
        const char* copy;
        std::time_t projectWritten;
        std::time_t copyWritten;
        bool found;
    } cases[] = {
        {"Anna & Ben.evp", "Anna & Ben.evp.recovery", now - 600, now - 60, true},
        {nullptr, "Gone.evp.recovery", 0, now - 30, true},
        {"Saved later.evp", "Saved later.evp.recovery", now - 60, now - 600, false},
        {nullptr, "Aside.evp.recovery.damaged", 0, now, false},
        {nullptr, ".vellora-Zoe.evp.recovery-1-0-0.tmp", 0, now, false},
        {nullptr, ".recovery", 0, now, false},
    };
    for (const auto& c : cases) {
        if (c.project) {
            std::ofstream(TempPath(c.project)) << "project";
            SetWrittenTime(TempPath(c.project), c.projectWritten);
        }
        std::ofstream(TempPath(c.copy)) << "copy";
        SetWrittenTime(TempPath(c.copy), c.copyWritten);
    }
    fs::create_directory(TempPath("Folder.evp.recovery"));
    const std::vector<RecoveryCopy> copies = FindRecoveryCopies(m_folder.string());
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].path, TempPath("Gone.evp.recovery")); // newest first
    EXPECT_EQ(copies[0].projectPath, TempPath("Gone.evp"));
    EXPECT_EQ(copies[0].written, now - 30);
    EXPECT_EQ(copies[1].path, TempPath("Anna & Ben.evp.recovery"));
    EXPECT_EQ(copies[1].projectPath, TempPath("Anna & Ben.evp"));
    EXPECT_TRUE(FindRecoveryCopies(TempPath("missing")).empty());
}

TEST_F(SafeSavingTest, ADamagedCopyIsKeptAsideUnderAFreeName)
{
    const std::string copy = TempPath("Anna & Ben.evp.recovery");
    std::ofstream(copy + ".damaged") << "damaged before";
    std::ofstream(copy) << "cut short";
    EXPECT_EQ(SetAsideDamagedCopy(copy), copy + ".damaged-2");
    EXPECT_FALSE(fs::exists(copy));
    std::ifstream kept(copy + ".damaged-2");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "cut short");
    EXPECT_THROW(SetAsideDamagedCopy(copy), EWriteError);
}
