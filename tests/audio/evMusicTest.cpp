#include "audio/evMusic.h"

#include "AudioTestFiles.h"
#include "audio/BassLibrary.h"
#include "model/ObjectStream.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <QThread>

#include <chrono>
#include <cstring>
#include <functional>
#include <unistd.h>

using namespace audiotest;

namespace {

std::vector<uint8_t> Body(int32_t version, int32_t id, const std::string& title, const int32_t* playMode,
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

// A stream that claims to hold far more than memory could, and reads as zeros.
class HugeZeroStream : public Stream {
public:
    explicit HugeZeroStream(std::vector<uint8_t> head) : m_head(std::move(head)) {}
    int64_t Read(void* buffer, int64_t count) override
    {
        const int64_t n = std::min(count, kSize - m_position);
        for (int64_t i = 0; i < n; ++i) {
            const int64_t at = m_position + i;
            static_cast<uint8_t*>(buffer)[i] = at < static_cast<int64_t>(m_head.size()) ? m_head[at] : 0;
        }
        m_position += n;
        return n;
    }
    int64_t Write(const void*, int64_t) override { return 0; }
    int64_t Seek(int64_t offset, SeekOrigin origin) override
    {
        m_position = origin == SeekOrigin::Begin ? offset
                     : origin == SeekOrigin::End ? kSize + offset
                                                 : m_position + offset;
        return m_position;
    }
    static constexpr int64_t kSize = 300ll * 1024 * 1024;

private:
    std::vector<uint8_t> m_head;
    int64_t m_position = 0;
};

class evMusicFormat : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedSound = soundAvailable;
        soundAvailable = false;
    }
    void TearDown() override { soundAvailable = m_savedSound; }

    std::string Source(const std::vector<uint8_t>& bytes)
    {
        const std::string path = m_sources.path().toStdString() + "/source" + std::to_string(m_count++) + ".wav";
        WriteFile(path, bytes);
        return path;
    }

    ScopedTempFolder m_temp;
    QTemporaryDir m_sources;
    int m_count = 0;
    bool m_savedSound = false;
};

} // namespace

TEST_F(evMusicFormat, RoundTripKeepsEveryByte)
{
    const int32_t mode = 0;
    const std::vector<uint8_t> audio = {'R', 'I', 'F', 'F', 0, 1, 2, 3, 0xff, 0x80};
    const std::vector<uint8_t> bytes = Body(1, 77, "Wedding \xe9t\xe9", &mode, audio);
    auto music = Read(bytes);
    EXPECT_EQ(music->GetTitle(), "Wedding \xe9t\xe9");
    EXPECT_EQ(music->GetPlayMode(), 0);
    EXPECT_EQ(music->GetID(), 77);
    EXPECT_EQ(ReadFile(music->GetFile()), audio);
    EXPECT_EQ(Save(*music), bytes);
    EXPECT_EQ(music->ToString(), "evMusic[ID 77, VER 1, Title Wedding \xe9t\xe9, PlayMode 0, Status Stopped]");

    // Through an object reference, as collections and projects hold it.
    MemoryStream s;
    WriteObject(s, music.get());
    s.SetPosition(0);
    auto again = ReadObjectAs<evMusic>(s);
    ASSERT_TRUE(again);
    EXPECT_EQ(Save(*again), bytes);
}

TEST_F(evMusicFormat, VersionZeroTracksLoopAndAreWrittenCurrent)
{
    const std::vector<uint8_t> audio = {1, 2, 3};
    auto music = Read(Body(0, 4, "Old", nullptr, audio));
    EXPECT_EQ(music->GetPlayMode(), 1);
    EXPECT_EQ(music->GetStoredVersion(), 0);
    const int32_t loop = 1;
    EXPECT_EQ(Save(*music), Body(1, 4, "Old", &loop, audio));
}

TEST_F(evMusicFormat, CutStreamsFailAndLeaveNoFiles)
{
    const int32_t mode = 1;
    const std::vector<uint8_t> bytes = Body(1, 5, "Cut", &mode, MakeWave(5));
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        MemoryStream s(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        EXPECT_THROW(evMusic(s, nullptr), EReadError) << "cut at " << cut;
    }
    EXPECT_EQ(m_temp.FileCount("*"), 0);
}

TEST_F(evMusicFormat, DamagedLengthsAreRefused)
{
    const int32_t mode = 0;
    std::vector<uint8_t> negative = Body(1, 0, "Bad", &mode, {});
    std::memcpy(negative.data() + negative.size() - 4, "\xff\xff\xff\xff", 4);
    MemoryStream s(negative);
    EXPECT_THROW(evMusic(s, nullptr), EReadError);

    // A length that the stream does hold, but beyond what a track may carry.
    std::vector<uint8_t> head = Body(1, 0, "Huge", &mode, {});
    const int32_t huge = 250 * 1024 * 1024;
    std::memcpy(head.data() + head.size() - 4, &huge, 4);
    HugeZeroStream hugeStream(head);
    EXPECT_THROW(evMusic(hugeStream, nullptr), EReadError);
    EXPECT_EQ(m_temp.FileCount("*"), 0);
}

// Playback through the real audio library, copied out of the resources and bound by name, on SDL's dummy driver.
class evMusicPlayback : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        s_temp = new ScopedTempFolder;
        s_savedSound = soundAvailable;
        soundAvailable = true;
        s_loaded = BassLibrary::Instance().LoadFromResource("BASS_DLL", nullptr, 100);
    }
    static void TearDownTestSuite()
    {
        BassLibrary::Instance().Unload();
        soundAvailable = s_savedSound;
        delete s_temp;
    }
    void SetUp() override { ASSERT_TRUE(s_loaded); }

    std::string Source(const std::vector<uint8_t>& bytes)
    {
        const std::string path = m_sources.path().toStdString() + "/clip" + std::to_string(m_count++) + ".wav";
        WriteFile(path, bytes);
        return path;
    }

    // Waits for a state the audio thread will reach; the limit only keeps a broken build from hanging.
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

    QTemporaryDir m_sources;
    int m_count = 0;
    static inline ScopedTempFolder* s_temp = nullptr;
    static inline bool s_savedSound = false;
    static inline bool s_loaded = false;
};

TEST_F(evMusicPlayback, ShortClipPlaysThenStops)
{
    evMusic clip("Hello", 0, Source(MakeWave(1000)));
    ASSERT_NE(clip.GetStream(), 0u);
    EXPECT_EQ(clip.Status(), evMusic::StatusStopped);
    ASSERT_TRUE(clip.Play());
    EXPECT_EQ(clip.Status(), evMusic::StatusPlaying);
    EXPECT_EQ(clip.ToString(), "evMusic[ID 0, VER 0, Title Hello, PlayMode 0, Status Playing]");
    EXPECT_TRUE(WaitFor([&] { return clip.Status() == evMusic::StatusStopped; }));
}

// A track read from a version-0 stream loops: it must still play after a single pass of the same audio is over.
TEST_F(evMusicPlayback, LoopingTrackOutlastsItsLength)
{
    const std::vector<uint8_t> wave = MakeWave(120);
    MemoryStream s(Body(0, 1, "Old", nullptr, wave));
    evMusic looping(s, nullptr);
    evMusic once("Once", 0, Source(wave));
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

TEST_F(evMusicPlayback, StopRewindsAndPlayStartsAgain)
{
    evMusic music("Again", 0, Source(MakeWave(2000)));
    ASSERT_TRUE(music.Play());
    music.Stop();
    EXPECT_EQ(music.Status(), evMusic::StatusStopped);
    ASSERT_TRUE(music.Play());
    EXPECT_EQ(music.Status(), evMusic::StatusPlaying);
    music.Stop();
    EXPECT_EQ(music.Status(), evMusic::StatusStopped);
}
