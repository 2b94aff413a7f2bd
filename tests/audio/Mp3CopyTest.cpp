#include "audio/Mp3Copy.h"

#include "AudioBuffer.h"
#include "AudioTestFiles.h"
#include "OggVorbis.h"
#include "WriteLeftovers.h"
#include "audio/AudioFormat.h"
#include "audio/evMusic.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

using namespace audiotest;

namespace {

// An Ogg Vorbis file of a stereo tone at 44100 Hz, made by the data kit's encoder as the program's own music is.
std::vector<uint8_t> MakeOggVorbis(int milliseconds, int tone = 440)
{
    AudioBuffer buffer;
    const int frames = buffer.sampleRate * milliseconds / 1000;
    for (int i = 0; i < frames; ++i)
        buffer.samples.insert(buffer.samples.end(), 2,
                              static_cast<float>(0.25 * std::sin(2.0 * M_PI * tone * i / buffer.sampleRate)));
    QTemporaryDir dir;
    const std::string path = dir.filePath("tone.ogg").toStdString();
    OggVorbis::Encode(buffer, 0.4f, path, "tone");
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

constexpr double kToneSeconds = 2.0;
constexpr int kTone = 440;
// LAME's start delay and end padding, at most about two frames of 1152 samples.
constexpr double kEncoderPadding = 2.0 * 1152 / 44100;

// The audio state a conversion must leave as it found it.
struct AudioState {
    int mixerOpen = 0, rate = 0, channels = 0;
    Uint16 format = 0;
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

// The message of a conversion that fails, or "converted".
std::string ConversionError(const std::string& source, const std::string& mp3Path, const std::string& title = {},
                            int64_t maxPcmBytes = kMaxMp3CopyPcmBytes)
{
    try {
        WriteMp3Copy(source, mp3Path, title, maxPcmBytes);
    } catch (const EMp3CopyError& error) {
        return error.what();
    }
    return "converted";
}

class Mp3CopyTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("SDL_AUDIODRIVER", "dummy"); }

    // An MP3 of the test tone, decoded by the mixer on a mixer of its own at 44100 Hz, 16-bit stereo: its length,
    // a clear level, and its pitch from the left channel's upward zero crossings.
    static void ExpectToneMp3(const std::string& mp3Path)
    {
        const std::vector<uint8_t> bytes = ReadFile(mp3Path);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(DetectAudioFormat(bytes.data(), bytes.size()), AudioFormat::Mp3);
        EXPECT_TRUE(TemporariesIn(std::filesystem::path(mp3Path).parent_path()).empty());
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 4096), 0) << Mix_GetError();
        int rate = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        Mix_Chunk* chunk = Mix_LoadWAV(mp3Path.c_str());
        if (chunk && format == AUDIO_S16SYS) {
            const auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
            const size_t frames = chunk->alen / (2 * channels);
            double sum = 0;
            int crossings = 0;
            for (size_t i = 0; i < frames; ++i) {
                sum += std::pow(samples[i * channels] / 32768.0, 2);
                crossings += i > 0 && samples[(i - 1) * channels] < 0 && samples[i * channels] >= 0;
            }
            const double seconds = static_cast<double>(frames) / rate;
            EXPECT_NEAR(seconds, kToneSeconds, 0.1 + kEncoderPadding);
            EXPECT_GT(frames ? std::sqrt(sum / frames) : 0, 0.1);
            EXPECT_NEAR(seconds > 0 ? crossings / seconds : 0, kTone, 10);
        } else {
            ADD_FAILURE() << "the mixer did not decode the file: " << Mix_GetError();
        }
        if (chunk)
            Mix_FreeChunk(chunk);
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    ScopedTempFolder m_folder;
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

// Every track becomes an MP3 of the same length, level and pitch, and the audio state stays as it was. A mixer opened
// by someone else (the audio library, in the program) is decoded into as it is, whatever its rate, sample format and
// channels, and stays open unchanged.
TEST_F(Mp3CopyTest, TracksBecomeMp3sOfTheSameLengthLevelAndPitch)
{
    struct Mixer {
        int rate;
        Uint16 format;
        int channels;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::optional<Mixer> mixer;
    };
    const std::vector<uint8_t> stereo = MakeWave(2000, kTone, 0, 44100, 2);
    // clang-format off
    std::vector<Case> cases = {
        {"stereo WAV at 44100 Hz", stereo, {}},
        {"mono WAV at 22050 Hz", MakeWave(2000, kTone), {}},
        {"into an open mixer of float mono at 48000 Hz", stereo, Mixer{48000, AUDIO_F32SYS, 1}},
        {"into an open mixer of big-endian stereo at 32000 Hz", stereo, Mixer{32000, AUDIO_S16MSB, 2}},
    };
    // clang-format on
    cases.push_back({"Ogg Vorbis", MakeOggVorbis(2000, kTone), {}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.mixer) {
            ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
            ASSERT_EQ(Mix_OpenAudioDevice(c.mixer->rate, c.mixer->format, c.mixer->channels, 2048, nullptr, 0), 0)
                << Mix_GetError();
        }
        const std::string mp3Path = m_folder.Path("music.mp3");
        const AudioState before = AudioState::Now();
        EXPECT_NO_THROW(WriteMp3Copy(m_folder.Source(c.bytes), mp3Path, "Our song"));
        const AudioState after = AudioState::Now();
        if (c.mixer) {
            Mix_CloseAudio();
            Mix_Quit();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            EXPECT_EQ(after.rate, c.mixer->rate);
        }
        EXPECT_TRUE(after == before) << "the conversion changed the audio state";
        ExpectToneMp3(mp3Path);
    }
}

TEST_F(Mp3CopyTest, TracksThatCannotBeConvertedLeaveNoFileAndKeepAnEarlierCopy)
{
    std::vector<uint8_t> garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<uint8_t>(i * 7919 % 251);
    const auto marked = [&garbage](std::vector<uint8_t> marker) {
        marker.insert(marker.end(), garbage.begin(), garbage.end());
        return marker;
    };
    std::vector<uint8_t> brokenFrames = {0xFF, 0xFB, 0x90, 0x64};
    brokenFrames.resize(3000, 0x55);
    const std::vector<uint8_t> wave = MakeWave(2000, kTone, 0, 44100, 2);
    // A file beyond the size any track may have; sparse, so it costs no disk.
    const std::string oversized = m_folder.Source(MakeWave(10));
    std::filesystem::resize_file(oversized, static_cast<uintmax_t>(evMusic::kMaxAudioBytes) + 1);

    struct Case {
        const char* name;
        std::string source;
        const char* reason;
        int64_t maxPcmBytes = kMaxMp3CopyPcmBytes;
    };
    // clang-format off
    std::vector<Case> cases = {
        {"garbage", m_folder.Source(garbage), "not an MP3"},
        {"empty file", m_folder.Source({}), "empty"},
        {"missing file", m_folder.Path("nowhere.ogg"), "cannot be read"},
        {"wave without samples", m_folder.Source(MakeWave(0)), ""},
        {"wave cut inside its header", m_folder.Source({wave.begin(), wave.begin() + 30}), ""},
        {"MPEG frame header followed by noise", m_folder.Source(brokenFrames), ""},
        {"Ogg marker followed by garbage", m_folder.Source(marked({'O', 'g', 'g', 'S'})), "decoded"},
        {"file beyond the size limit", oversized, "larger than 200 MB"},
        {"sound beyond the decoded limit", m_folder.Source(wave), "more than 97 KB", 100000},
    };
    // clang-format on
    const std::vector<uint8_t> ogg = MakeOggVorbis(2000, kTone);
    cases.push_back({"Ogg Vorbis cut inside its headers",
                     m_folder.Source({ogg.begin(), ogg.begin() + std::min<long>(400, std::ssize(ogg))}), ""});
    const std::string mp3Path = m_folder.Path("music.mp3");
    const std::vector<uint8_t> earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
    // Each failure keeps the earlier copy (that a write never committed leaves no file either is AtomicFileTest's).
    WriteFile(mp3Path, earlier);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const AudioState before = AudioState::Now();
        const std::string message = ConversionError(c.source, mp3Path, "Our song", c.maxPcmBytes);
        EXPECT_EQ(message.rfind("The music \"Our song\" could not be converted for web browsers: ", 0), 0u) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        EXPECT_TRUE(AudioState::Now() == before) << "a failed conversion changed the audio state";
        EXPECT_EQ(ReadFile(mp3Path), earlier);
        EXPECT_TRUE(TemporariesIn(m_folder.Path("")).empty());
    }
    // A target that cannot be written is a conversion error too, named by the source file.
    const std::string source = m_folder.Source(MakeWave(200));
    const std::string message = ConversionError(source, m_folder.Path("no-such-folder/music.mp3"));
    EXPECT_NE(message.find("\"" + BareFileName(source) + "\""), std::string::npos) << message;
    EXPECT_FALSE(FileExists(m_folder.Path("no-such-folder/music.mp3")));
    EXPECT_TRUE(TemporariesIn(m_folder.Path("")).empty());
}
