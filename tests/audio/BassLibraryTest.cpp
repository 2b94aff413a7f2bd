#include "audio/BassLibrary.h"

#include "AudioTestFiles.h"
#include "platform/Resources.h"

#include <gtest/gtest.h>

#include <QThread>

#include <chrono>
#include <dlfcn.h>
#include <functional>

using namespace audiotest;

namespace {

// Each case loads its own library instance; the suite's private temporary folder holds the copies.
class BassLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("SDL_AUDIODRIVER", "dummy"); }

    std::string Source(const std::vector<uint8_t>& bytes)
    {
        const std::string path = m_sources.path().toStdString() + "/f" + std::to_string(m_count++);
        WriteFile(path, bytes);
        return path;
    }

    static bool WaitFor(const std::function<bool()>& condition)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            QThread::msleep(10);
        }
        return true;
    }

    ScopedTempFolder m_temp;
    QTemporaryDir m_sources;
    int m_count = 0;
};

// The file of a library that is certainly loadable but exports none of the entry points.
std::string LibraryWithoutEntryPoints()
{
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&qVersion), &info);
    return info.dli_fname ? info.dli_fname : "";
}

} // namespace

TEST_F(BassLibraryTest, UnusableLibrariesLeaveAudioUnavailable)
{
    const std::vector<std::string> candidates = {
        Source({'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'b', 'r', 'a', 'r', 'y'}),
        LibraryWithoutEntryPoints(),
        EVBASS_WRONG_VERSION_FILE,
        m_sources.path().toStdString() + "/missing.so",
    };
    for (const std::string& file : candidates) {
        BassLibrary library;
        EXPECT_FALSE(library.LoadFromFile(file, nullptr, 100)) << file;
        EXPECT_FALSE(library.IsLoaded());
        EXPECT_EQ(library.StreamCreateFile(Source(MakeWave(10)), 0), 0u);
        EXPECT_FALSE(library.StreamPlay(1, false));
        EXPECT_EQ(m_temp.FileCount("bass*"), 0) << file;
    }
    BassLibrary library;
    EXPECT_FALSE(library.LoadFromResource("NO_SUCH_RESOURCE", nullptr, 100));
    EXPECT_EQ(m_temp.FileCount("*"), 0);
}

TEST_F(BassLibraryTest, StartAudioClearsTheFlagOnFailureOnly)
{
    const bool saved = soundAvailable;
    soundAvailable = false;
    EXPECT_FALSE(StartAudio(nullptr, 100));
    EXPECT_FALSE(BassLibrary::Instance().IsLoaded());
    EXPECT_FALSE(AudioReady());

    soundAvailable = true;
    EXPECT_TRUE(StartAudio(nullptr, 100));
    EXPECT_TRUE(AudioReady());
    const std::string copy = BassLibrary::Instance().GetLibraryFile();
    EXPECT_TRUE(FileExists(copy));
    StopAudio();
    EXPECT_FALSE(FileExists(copy));
    EXPECT_FALSE(AudioReady());

    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    EXPECT_FALSE(StartAudio(nullptr, 100));
    EXPECT_FALSE(soundAvailable);
    qputenv("SDL_AUDIODRIVER", "dummy");
    soundAvailable = saved;
}
