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
    Dl_info info {};
    dladdr(reinterpret_cast<void*>(&qVersion), &info);
    return info.dli_fname ? info.dli_fname : "";
}

} // namespace

TEST_F(BassLibraryTest, ProgramCarriesTheLibrary)
{
    QByteArray image;
    ASSERT_TRUE(ReadResource("bass_dll", image));
    EXPECT_TRUE(image.startsWith("\x7f" "ELF"));
}

TEST_F(BassLibraryTest, LoadsFromItsOwnTempCopyAndRemovesIt)
{
    WriteFile(m_temp.Path("bass0.dll"), {'o', 'l', 'd'}); // left over from an earlier run
    BassLibrary library;
    ASSERT_TRUE(library.LoadFromResource("BASS_DLL", nullptr, 80));
    EXPECT_TRUE(library.IsLoaded());
    EXPECT_EQ(library.GetLibraryFile(), m_temp.Path("bass1.dll"));
    EXPECT_TRUE(FileExists(m_temp.Path("bass1.dll")));
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_FALSE(FileExists(m_temp.Path("bass1.dll")));
    EXPECT_TRUE(FileExists(m_temp.Path("bass0.dll")));
    EXPECT_TRUE(library.GetLibraryFile().empty());
}

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

TEST_F(BassLibraryTest, NoOutputDeviceLeavesAudioUnavailable)
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    BassLibrary library;
    EXPECT_FALSE(library.LoadFromResource("BASS_DLL", nullptr, 100));
    qputenv("SDL_AUDIODRIVER", "dummy");
    EXPECT_EQ(m_temp.FileCount("*"), 0);
    EXPECT_TRUE(library.LoadFromResource("BASS_DLL", nullptr, 100));
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

// Music and speech play at once: a long file streams as music while a short clip plays beside it.
TEST_F(BassLibraryTest, LongAndShortStreamsPlayTogether)
{
    BassLibrary library;
    ASSERT_TRUE(library.LoadFromResource("BASS_DLL", nullptr, 100));
    const uint32_t music = library.StreamCreateFile(Source(MakeWave(1500, 330, 5 * 1024 * 1024)), 256);
    const uint32_t speech = library.StreamCreateFile(Source(MakeWave(1000)), 0);
    const uint32_t otherSpeech = library.StreamCreateFile(Source(MakeWave(1000, 660)), 0);
    ASSERT_NE(music, 0u);
    ASSERT_NE(speech, 0u);
    ASSERT_NE(speech, music);
    ASSERT_TRUE(library.StreamPlay(music, false));
    ASSERT_TRUE(library.StreamPlay(speech, false));
    ASSERT_TRUE(library.StreamPlay(otherSpeech, false));
    EXPECT_EQ(library.ChannelIsActive(music), 1u);
    EXPECT_EQ(library.ChannelIsActive(speech), 1u);
    EXPECT_EQ(library.ChannelIsActive(otherSpeech), 1u);
    EXPECT_TRUE(WaitFor([&] { return library.ChannelIsActive(music) == 0; }));
    EXPECT_TRUE(WaitFor([&] { return library.ChannelIsActive(speech) == 0; }));

    // Rewound after a stop, the long stream plays again.
    ASSERT_TRUE(library.StreamPlay(music, false));
    library.ChannelStop(music);
    library.ChannelSetPosition(music, 0);
    EXPECT_EQ(library.ChannelIsActive(music), 0u);
    ASSERT_TRUE(library.StreamPlay(music, false));
    EXPECT_EQ(library.ChannelIsActive(music), 1u);
    library.StreamFree(music);
    EXPECT_EQ(library.ChannelIsActive(music), 0u);
    EXPECT_FALSE(library.StreamPlay(music, false));
}

TEST_F(BassLibraryTest, UnknownStreamsAndFilesAreRefused)
{
    BassLibrary library;
    ASSERT_TRUE(library.LoadFromResource("BASS_DLL", nullptr, 100));
    EXPECT_EQ(library.StreamCreateFile(m_sources.path().toStdString() + "/none.wav", 0), 0u);
    EXPECT_EQ(library.StreamCreateFile(Source({}), 0), 0u);
    EXPECT_EQ(library.StreamCreateFile(m_sources.path().toStdString(), 0), 0u);
    EXPECT_FALSE(library.StreamPlay(0, false));
    EXPECT_FALSE(library.StreamPlay(12345, true));
    EXPECT_EQ(library.ChannelIsActive(12345), 0u);
    library.ChannelStop(12345);
    library.StreamFree(12345);
}

// A program that unloads the library while a loop still plays must not leave the mixer calling into it.
TEST_F(BassLibraryTest, UnloadingWithoutFreeingStopsTheOutput)
{
    const std::string copy = m_temp.Path("direct.so");
    SaveResourceToFile("BASS_DLL", copy);
    void* module = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(module);
    auto init = reinterpret_cast<int (*)(int, uint32_t, uint32_t, void*)>(dlsym(module, "BASS_Init"));
    auto create = reinterpret_cast<uint32_t (*)(int, const char*, uint32_t, uint32_t, uint32_t)>(
        dlsym(module, "BASS_StreamCreateFile"));
    auto play = reinterpret_cast<int (*)(uint32_t, int, uint32_t)>(dlsym(module, "BASS_StreamPlay"));
    ASSERT_TRUE(init && create && play);
    ASSERT_TRUE(init(-1, 44100, 0, nullptr));
    EXPECT_FALSE(init(-1, 44100, 0, nullptr)); // already initialised
    const uint32_t stream = create(0, Source(MakeWave(300)).c_str(), 0, 0, 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(play(stream, 0, 4));
    dlclose(module);

    BassLibrary library;
    ASSERT_TRUE(library.LoadFromResource("BASS_DLL", nullptr, 100));
    const uint32_t again = library.StreamCreateFile(Source(MakeWave(1000)), 0);
    ASSERT_TRUE(library.StreamPlay(again, false));
    EXPECT_EQ(library.ChannelIsActive(again), 1u);
}
