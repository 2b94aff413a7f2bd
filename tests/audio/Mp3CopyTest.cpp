#include "audio/Mp3Copy.h"

#include "AudioTestFiles.h"
#include "WriteLeftovers.h"
#include "audio/AudioFormat.h"
#include "audio/evMusic.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <filesystem>
#include <optional>

using namespace audiotest;

namespace {

constexpr double kToneSeconds = 2.0;
constexpr int kTone = 440;
// LAME's start delay and end padding, at most about two frames of 1152 samples.
constexpr double kEncoderPadding = 2.0 * 1152 / 44100;

struct Sound {
    double seconds = 0;
    double rms = 0;
    // From the left channel's upward zero crossings.
    double frequency = 0;
};

// The audio state a conversion must leave as it found it.
struct AudioState {
    int mixerOpen = 0;
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Uint32 subsystems = 0;
    std::optional<std::string> driverHint;

    static AudioState Now()
    {
        AudioState state;
        state.mixerOpen = Mix_QuerySpec(&state.rate, &state.format, &state.channels);
        state.subsystems = SDL_WasInit(SDL_INIT_AUDIO);
        if (const char* hint = SDL_GetHint(SDL_HINT_AUDIODRIVER))
            state.driverHint = hint;
        return state;
    }
    bool operator==(const AudioState&) const = default;
};

// Decodes a file with the mixer, on its own mixer at 44100 Hz, 16-bit stereo.
std::optional<Sound> DecodeWithMixer(const std::string& path)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return std::nullopt;
    std::optional<Sound> sound;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 4096) == 0) {
        int rate = 0;
        Uint16 format = 0;
        int channels = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        if (Mix_Chunk* chunk = Mix_LoadWAV(path.c_str()); chunk && format == AUDIO_S16SYS) {
            const auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
            const size_t frames = chunk->alen / (2 * channels);
            double sum = 0;
            int crossings = 0;
            for (size_t i = 0; i < frames; ++i) {
                const double value = samples[i * channels] / 32768.0;
                sum += value * value;
                if (i > 0 && samples[(i - 1) * channels] < 0 && samples[i * channels] >= 0)
                    ++crossings;
            }
            Sound result;
            result.seconds = static_cast<double>(frames) / rate;
            result.rms = frames ? std::sqrt(sum / frames) : 0;
            result.frequency = result.seconds > 0 ? crossings / result.seconds : 0;
            sound = result;
            Mix_FreeChunk(chunk);
        }
        Mix_CloseAudio();
        Mix_Quit();
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return sound;
}

class Mp3CopyTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("SDL_AUDIODRIVER", "dummy"); }

    std::string Source(const std::vector<uint8_t>& bytes)
    {
        const std::string path = m_folder.Path("source" + std::to_string(m_count++));
        WriteFile(path, bytes);
        return path;
    }

    void ExpectToneMp3(const std::string& mp3Path)
    {
        const std::vector<uint8_t> bytes = ReadFile(mp3Path);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(DetectAudioFormat(bytes.data(), bytes.size()), AudioFormat::Mp3);
        const std::optional<Sound> sound = DecodeWithMixer(mp3Path);
        ASSERT_TRUE(sound.has_value()) << Mix_GetError();
        EXPECT_NEAR(sound->seconds, kToneSeconds, 0.1 + kEncoderPadding);
        EXPECT_GT(sound->rms, 0.1);
        EXPECT_NEAR(sound->frequency, kTone, 10);
        EXPECT_TRUE(TemporariesIn(std::filesystem::path(mp3Path).parent_path()).empty());
    }

    ScopedTempFolder m_folder;
    int m_count = 0;
};

} // namespace

TEST(AudioFormatTest, FirstBytesNameTheFormat)
{
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        AudioFormat expected;
    } cases[] = {
        {"ID3v2.4 tag", {'I', 'D', '3', 4, 0, 0, 0, 0, 0x10, 0x00}, AudioFormat::Mp3},
        {"MPEG-1 layer III frame", {0xFF, 0xFB, 0x90, 0x64}, AudioFormat::Mp3},
        {"MPEG-2 layer III frame", {0xFF, 0xF3, 0x84, 0xC4}, AudioFormat::Mp3},
        {"MPEG-2.5 layer III frame", {0xFF, 0xE3, 0x18, 0xC4}, AudioFormat::Mp3},
        {"ADTS (AAC) header", {0xFF, 0xF1, 0x50, 0x80}, AudioFormat::Unknown},
        {"frame with reserved version", {0xFF, 0xEB, 0x90, 0x64}, AudioFormat::Unknown},
        {"frame with bad bit rate", {0xFF, 0xFB, 0xF0, 0x64}, AudioFormat::Unknown},
        {"frame with reserved sample rate", {0xFF, 0xFB, 0x9C, 0x64}, AudioFormat::Unknown},
        {"frame cut short", {0xFF, 0xFB, 0x90}, AudioFormat::Unknown},
        {"ID3 with a broken size", {'I', 'D', '3', 4, 0, 0, 0x80, 0, 0, 0}, AudioFormat::Unknown},
        {"Ogg page", {'O', 'g', 'g', 'S', 0, 2}, AudioFormat::Ogg},
        {"RIFF WAVE", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, AudioFormat::Wav},
        {"RIFF AVI", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}, AudioFormat::Unknown},
        {"RIFF cut short", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A'}, AudioFormat::Unknown},
        {"FLAC", {'f', 'L', 'a', 'C', 0, 0, 0, 34}, AudioFormat::Flac},
        {"JPEG", {0xFF, 0xD8, 0xFF, 0xE0}, AudioFormat::Unknown},
        {"text", {'m', 'u', 's', 'i', 'c'}, AudioFormat::Unknown},
        {"nothing", {}, AudioFormat::Unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DetectAudioFormat(c.bytes.data(), c.bytes.size()), c.expected) << c.name;
    EXPECT_EQ(DetectAudioFormat(nullptr, 4), AudioFormat::Unknown);
}

TEST(AudioFormatTest, FilesAreJudgedByContentAndLookBehindAnId3Tag)
{
    ScopedTempFolder folder;
    // An ID3 tag of 20 bytes with the footer flag (20 + 10 + 10 bytes in all), then what follows it.
    const std::vector<uint8_t> tag = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 0, 20};
    const auto tagged = [&tag](std::vector<uint8_t> behind) {
        std::vector<uint8_t> bytes = tag;
        bytes.resize(40, 0);
        bytes.insert(bytes.end(), behind.begin(), behind.end());
        return bytes;
    };
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        AudioFormat expected;
    } cases[] = {
        {"wave named .mp3", MakeWave(10), AudioFormat::Wav},
        {"tagged FLAC", tagged({'f', 'L', 'a', 'C', 0, 0, 0, 34}), AudioFormat::Flac},
        {"tagged MPEG frames", tagged({0xFF, 0xFB, 0x90, 0x64}), AudioFormat::Mp3},
        {"tag running past the end", tag, AudioFormat::Mp3},
        {"empty", {}, AudioFormat::Unknown},
    };
    for (const auto& c : cases) {
        const std::string path = folder.Path("track.mp3");
        WriteFile(path, c.bytes);
        EXPECT_EQ(DetectAudioFormat(path), c.expected) << c.name;
    }
    EXPECT_EQ(DetectAudioFormat(folder.Path("missing.ogg")), AudioFormat::Unknown);
}

TEST_F(Mp3CopyTest, TracksBecomeMp3sOfTheSameLengthLevelAndPitch)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases = {
        {"stereo WAV at 44100 Hz", MakeWave(2000, kTone, 0, 44100, 2)},
        {"mono WAV at 22050 Hz", MakeWave(2000, kTone)},
    };
#ifdef VELLORA_HAVE_VORBISENC
    cases.push_back({"Ogg Vorbis", MakeOggVorbis(2000, kTone)});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string mp3Path = m_folder.Path("music.mp3");
        const AudioState before = AudioState::Now();
        ASSERT_NO_THROW(WriteMp3Copy(Source(c.bytes), mp3Path, "Our song"));
        EXPECT_TRUE(AudioState::Now() == before) << "the conversion changed the audio state";
        ExpectToneMp3(mp3Path);
    }
}

// A mixer opened by someone else (the audio library, in the program) is decoded into as it is, whatever its rate,
// sample format and channels, and stays open unchanged.
TEST_F(Mp3CopyTest, UsesAnOpenMixerAsItIs)
{
    const struct {
        int rate;
        Uint16 format;
        int channels;
    } mixers[] = {
        {48000, AUDIO_F32SYS, 1},
        {22050, AUDIO_U8, 2},
        {32000, AUDIO_S16MSB, 2},
    };
    const std::string source = Source(MakeWave(2000, kTone, 0, 44100, 2));
    for (const auto& m : mixers) {
        SCOPED_TRACE(m.rate);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudioDevice(m.rate, m.format, m.channels, 2048, nullptr, 0), 0) << Mix_GetError();
        const AudioState before = AudioState::Now();
        const std::string mp3Path = m_folder.Path("music.mp3");
        EXPECT_NO_THROW(WriteMp3Copy(source, mp3Path));
        const AudioState after = AudioState::Now();
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        EXPECT_TRUE(after == before) << "the open mixer was changed";
        EXPECT_EQ(after.rate, m.rate);
        ExpectToneMp3(mp3Path);
    }
}

TEST_F(Mp3CopyTest, TracksThatCannotBeConvertedLeaveNoFileAndKeepAnEarlierCopy)
{
    std::vector<uint8_t> garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<uint8_t>(i * 7919 % 251);
    std::vector<uint8_t> headerOnlyWave = MakeWave(0);
    std::vector<uint8_t> brokenFrames = {0xFF, 0xFB, 0x90, 0x64};
    brokenFrames.resize(3000, 0x55);
    std::vector<uint8_t> cutWave = MakeWave(2000, kTone, 0, 44100, 2);
    cutWave.resize(30);
    const auto marked = [&garbage](std::vector<uint8_t> marker) {
        marker.insert(marker.end(), garbage.begin(), garbage.end());
        return marker;
    };

    // A file beyond the size any track may have; sparse, so it costs no disk.
    const std::string oversized = Source(MakeWave(10));
    std::filesystem::resize_file(oversized, static_cast<uintmax_t>(evMusic::kMaxAudioBytes) + 1);

    struct Case {
        const char* name;
        std::string source;
        int64_t maxPcmBytes;
        const char* reason;
    };
    std::vector<Case> cases = {
        {"garbage", Source(garbage), kMaxMp3CopyPcmBytes, "not an MP3"},
        {"empty file", Source({}), kMaxMp3CopyPcmBytes, "empty"},
        {"missing file", m_folder.Path("nowhere.ogg"), kMaxMp3CopyPcmBytes, "cannot be read"},
        {"wave without samples", Source(headerOnlyWave), kMaxMp3CopyPcmBytes, ""},
        {"wave cut inside its header", Source(cutWave), kMaxMp3CopyPcmBytes, ""},
        {"MPEG frame header followed by noise", Source(brokenFrames), kMaxMp3CopyPcmBytes, ""},
        {"Ogg marker followed by garbage", Source(marked({'O', 'g', 'g', 'S'})), kMaxMp3CopyPcmBytes, "decoded"},
        {"FLAC marker followed by garbage", Source(marked({'f', 'L', 'a', 'C'})), kMaxMp3CopyPcmBytes, "decoded"},
        {"file beyond the size limit", oversized, kMaxMp3CopyPcmBytes, "larger than 200 MB"},
        {"sound beyond the decoded limit", Source(MakeWave(2000, kTone, 0, 44100, 2)), 100000, "more than 97 KB"},
    };
#ifdef VELLORA_HAVE_VORBISENC
    std::vector<uint8_t> cutOgg = MakeOggVorbis(2000, kTone);
    cutOgg.resize(cutOgg.size() < 400 ? cutOgg.size() : 400);
    cases.push_back({"Ogg Vorbis cut inside its headers", Source(cutOgg), kMaxMp3CopyPcmBytes, ""});
#endif
    const std::string mp3Path = m_folder.Path("music.mp3");
    const std::vector<uint8_t> earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
    for (const auto& c : cases) {
        for (const bool hadCopy : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (hadCopy ? ", with an earlier copy" : ""));
            DeleteFileIfExists(mp3Path);
            if (hadCopy)
                WriteFile(mp3Path, earlier);
            const AudioState before = AudioState::Now();
            try {
                WriteMp3Copy(c.source, mp3Path, "Our song", c.maxPcmBytes);
                ADD_FAILURE() << "converted";
            } catch (const EMp3CopyError& error) {
                const std::string message = error.what();
                EXPECT_EQ(message.rfind("The music \"Our song\" could not be converted for web browsers: ", 0), 0u)
                    << message;
                EXPECT_NE(message.find(c.reason), std::string::npos) << message;
                EXPECT_EQ(message.find('\n'), std::string::npos) << message;
            }
            EXPECT_TRUE(AudioState::Now() == before) << "a failed conversion changed the audio state";
            EXPECT_EQ(FileExists(mp3Path), hadCopy);
            if (hadCopy) {
                EXPECT_EQ(ReadFile(mp3Path), earlier);
            }
            EXPECT_TRUE(TemporariesIn(std::filesystem::path(mp3Path).parent_path()).empty());
        }
    }
}

TEST_F(Mp3CopyTest, AnUnwritableTargetIsAConversionErrorNamedByTheSourceFile)
{
    const std::string source = Source(MakeWave(200));
    const std::string mp3Path = m_folder.Path("no-such-folder/music.mp3");
    try {
        WriteMp3Copy(source, mp3Path);
        ADD_FAILURE() << "converted";
    } catch (const EMp3CopyError& error) {
        EXPECT_NE(std::string(error.what()).find("\"" + BareFileName(source) + "\""), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(FileExists(mp3Path));
    EXPECT_TRUE(TemporariesIn(std::filesystem::path(mp3Path).parent_path()).empty());
}
