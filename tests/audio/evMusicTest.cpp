#include "audio/evMusic.h"

#include "AudioTestFiles.h"
#include "audio/BassLibrary.h"
#include "platform/Resources.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <QThread>

#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>

#include <dlfcn.h>

using namespace audiotest;

namespace {

std::vector<uint8_t> Body(int32_t version, int32_t id, const std::string& title, std::optional<int32_t> playMode,
                          const std::vector<uint8_t>& audio)
{
    MemoryStream s;
    s.WriteInt32(version);
    s.WriteInt32(id);
    s.WriteString(title);
    if (playMode)
        s.WriteInt32(*playMode);
    s.WriteInt32(static_cast<int32_t>(audio.size()));
    s.WriteBytes(audio);
    return s.Data();
}

std::vector<uint8_t> Save(const evMusic& music)
{
    MemoryStream s;
    music.SaveToStream(s);
    return s.Data();
}

std::unique_ptr<evMusic> Read(const std::vector<uint8_t>& bytes)
{
    MemoryStream s(bytes);
    auto music = std::make_unique<evMusic>(s, nullptr);
    EXPECT_EQ(s.Remaining(), 0);
    return music;
}

// Waits for a state the audio thread will reach; the limit only keeps a broken build from hanging.
bool WaitFor(const std::function<bool()>& condition)
{
    for (int waited = 0; waited < 30000 && !condition(); waited += 10)
        QThread::msleep(10);
    return condition();
}

// Every case has a temporary folder of its own, runs on SDL's dummy driver, and leaves soundAvailable as it found it.
class AudioTest : public ::testing::Test {
protected:
    explicit AudioTest(bool sound = false)
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        soundAvailable = sound;
    }
    ~AudioTest() override { soundAvailable = m_savedSound; }

    bool m_savedSound = soundAvailable;
    ScopedTempFolder m_temp;
};

using evMusicFormat = AudioTest;
using BassLibraryTest = AudioTest; // each case loads its own library instance

// Playback through the real audio library, copied out of the resources and bound by name.
class evMusicPlayback : public AudioTest {
protected:
    evMusicPlayback() : AudioTest(true) {}
    void SetUp() override { ASSERT_TRUE(BassLibrary::Instance().LoadFromResource("BASS_DLL", nullptr, 100)); }
    void TearDown() override { BassLibrary::Instance().Unload(); }
};

} // namespace

TEST_F(evMusicFormat, RoundTripKeepsEveryByteAndVersionZeroIsWrittenCurrent)
{
    const std::vector<uint8_t> audio = {'R', 'I', 'F', 'F', 0, 1, 2, 3, 0xff, 0x80};
    const std::vector<uint8_t> bytes = Body(1, 77, "Wedding \xe9t\xe9", 0, audio);
    auto music = Read(bytes);
    EXPECT_EQ(music->GetTitle(), "Wedding \xe9t\xe9");
    EXPECT_EQ(music->GetPlayMode(), 0);
    EXPECT_EQ(music->GetID(), 77);
    EXPECT_EQ(ReadFile(music->GetFile()), audio);
    EXPECT_EQ(Save(*music), bytes);
    EXPECT_EQ(music->ToString(), "evMusic[ID 77, VER 1, Title Wedding \xe9t\xe9, PlayMode 0, Status Stopped]");
    // Read through an object reference as a presentation file holds it: see PresentationFileTest.

    // Version 0 had no play mode: its tracks loop, and are written in the current version.
    auto old = Read(Body(0, 4, "Old", std::nullopt, audio));
    EXPECT_EQ(old->GetPlayMode(), 1);
    EXPECT_EQ(old->GetStoredVersion(), 0);
    EXPECT_EQ(Save(*old), Body(1, 4, "Old", 1, audio));
}

TEST_F(evMusicFormat, DamagedStreamsFailAndLeaveNoFiles)
{
    const std::vector<uint8_t> bytes = Body(1, 5, "Cut", 1, MakeWave(5));
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        MemoryStream s(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        EXPECT_THROW(evMusic(s, nullptr), EReadError) << "cut at " << cut;
    }
    std::vector<uint8_t> negative = Body(1, 0, "Bad", 0, {});
    std::memcpy(negative.data() + negative.size() - 4, "\xff\xff\xff\xff", 4);
    MemoryStream s(negative);
    EXPECT_THROW(evMusic(s, nullptr), EReadError);
    // A length that the file does hold (sparse, so it costs no disk), but beyond what a track may carry.
    std::vector<uint8_t> head = Body(1, 0, "Huge", 0, {});
    const int32_t huge = 250 * 1024 * 1024;
    std::memcpy(head.data() + head.size() - 4, &huge, 4);
    const std::string file = m_temp.Source(head);
    std::filesystem::resize_file(file, 300u * 1024 * 1024);
    FileStream hugeStream(file, FileStream::Mode::OpenRead);
    EXPECT_THROW(evMusic(hugeStream, nullptr), EReadError);
    EXPECT_EQ(m_temp.FileCount("*"), 0);
}

TEST_F(BassLibraryTest, UnusableLibrariesLeaveAudioUnavailable)
{
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&qVersion), &info);
    const std::vector<std::string> candidates = {
        m_temp.Source({'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'b', 'r', 'a', 'r', 'y'}),
        info.dli_fname ? info.dli_fname : "", // a library certainly loadable, without the entry points
        EVBASS_WRONG_VERSION_FILE,
        m_temp.Path("missing.so"),
    };
    for (const std::string& file : candidates) {
        BassLibrary library;
        EXPECT_FALSE(library.LoadFromFile(file, nullptr, 100)) << file;
        EXPECT_FALSE(library.IsLoaded());
        EXPECT_EQ(library.StreamCreateFile(m_temp.Source(MakeWave(10)), 0), 0u);
        EXPECT_FALSE(library.StreamPlay(1, false));
        EXPECT_EQ(m_temp.FileCount("bass*"), 0) << file;
    }
    BassLibrary library;
    EXPECT_FALSE(library.LoadFromResource("NO_SUCH_RESOURCE", nullptr, 100));
    EXPECT_EQ(m_temp.FileCount("*"), 0);
}

TEST_F(BassLibraryTest, StartAudioClearsTheFlagOnFailureOnly)
{
    EXPECT_FALSE(StartAudio(nullptr, 100)); // sound is not wanted

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
}

TEST_F(evMusicPlayback, PlaysStopsAndEndsByItself)
{
    evMusic clip("Hello", 0, m_temp.Source(MakeWave(1000)));
    ASSERT_NE(clip.GetStream(), 0u);
    EXPECT_EQ(clip.Status(), evMusic::StatusStopped);
    ASSERT_TRUE(clip.Play());
    EXPECT_EQ(clip.Status(), evMusic::StatusPlaying);
    EXPECT_EQ(clip.ToString(), "evMusic[ID 0, VER 0, Title Hello, PlayMode 0, Status Playing]");
    clip.Stop();
    EXPECT_EQ(clip.Status(), evMusic::StatusStopped);
    // Played again after a stop, it plays until its end.
    ASSERT_TRUE(clip.Play());
    EXPECT_EQ(clip.Status(), evMusic::StatusPlaying);
    EXPECT_TRUE(WaitFor([&] { return clip.Status() == evMusic::StatusStopped; }));
}

// A track read from a version-0 stream loops: it must still play after a single pass of the same audio is over.
TEST_F(evMusicPlayback, LoopingTrackOutlastsItsLength)
{
    const std::vector<uint8_t> wave = MakeWave(120);
    MemoryStream s(Body(0, 1, "Old", std::nullopt, wave));
    evMusic looping(s, nullptr);
    evMusic once("Once", 0, m_temp.Source(wave));
    ASSERT_NE(looping.GetStream(), 0u);
    ASSERT_TRUE(looping.Play());
    ASSERT_TRUE(once.Play());
    // Both started together; once the single pass is over, the loop must have wrapped round.
    ASSERT_TRUE(WaitFor([&] { return once.Status() == evMusic::StatusStopped; }));
    ASSERT_TRUE(once.Play());
    ASSERT_TRUE(WaitFor([&] { return once.Status() == evMusic::StatusStopped; }));
    EXPECT_EQ(looping.Status(), evMusic::StatusPlaying);
    looping.Stop();
    EXPECT_EQ(looping.Status(), evMusic::StatusStopped);
}
