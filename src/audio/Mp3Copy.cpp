#include "audio/Mp3Copy.h"

#include "audio/AudioFormat.h"
#include "audio/evMusic.h"
#include "platform/AtomicFile.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <vector>

namespace {

// The mixer opened for a conversion: CD rate, 16-bit stereo, as the audio library opens it.
constexpr int kMixerRate = 44100;
constexpr int kMixerChannels = 2;
constexpr int kMixerBufferFrames = 4096;
// LAME's variable bit rate at quality 2 averages about 190 kbit/s for music.
constexpr int kOutputRate = 44100;
constexpr float kVbrQuality = 2.0f;
// Frames handed to the encoder at a time.
constexpr int kBlockFrames = 8192;

// Why a step failed; WriteMp3Copy puts the music's name in front of it.
struct Failure {
    std::string reason;
};

[[noreturn]] void Fail(std::string reason) { throw Failure{std::move(reason)}; }

std::string MixerError()
{
    const char* error = Mix_GetError();
    return error && *error ? error : "unknown error";
}

// "200 MB", or "97 KB" below a megabyte.
std::string SizeText(int64_t bytes)
{
    constexpr int64_t kMegabyte = 1024 * 1024;
    return bytes >= kMegabyte ? std::to_string(bytes / kMegabyte) + " MB" : std::to_string(bytes / 1024) + " KB";
}

// Points SDL at its "dummy" audio driver while it lives and puts the driver hint back as it was. An override is
// needed to win over SDL_AUDIODRIVER in the environment.
class DummyDriverHint {
public:
    DummyDriverHint()
    {
        if (const char* current = SDL_GetHint(SDL_HINT_AUDIODRIVER)) {
            m_previous = current;
            m_hadValue = true;
        }
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    }
    ~DummyDriverHint()
    {
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        const char* now = SDL_GetHint(SDL_HINT_AUDIODRIVER);
        if (m_hadValue && (!now || m_previous != now)) {
            const bool inEnvironment = SDL_getenv(SDL_HINT_AUDIODRIVER) != nullptr;
            SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, m_previous.c_str(),
                                    inEnvironment ? SDL_HINT_OVERRIDE : SDL_HINT_NORMAL);
        }
    }
    DummyDriverHint(const DummyDriverHint&) = delete;
    DummyDriverHint& operator=(const DummyDriverHint&) = delete;

private:
    std::string m_previous;
    bool m_hadValue = false;
};

// The mixer the conversion decodes with. A mixer already open in this process (the audio library's) is used as it
// is. Otherwise one is opened on the silent "dummy" driver and everything is put back at the end: the mixer closed,
// its decoders unloaded when nobody had loaded any, the audio subsystem released.
class MixerSession {
public:
    MixerSession()
    {
        if (Mix_QuerySpec(&m_rate, &m_format, &m_channels) != 0)
            return;
        m_hadDecoders = Mix_Init(0) != 0;
        {
            DummyDriverHint hint;
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
                Fail(std::string("the audio system does not start (") + SDL_GetError() + ")");
        }
        if (Mix_OpenAudio(kMixerRate, AUDIO_S16SYS, kMixerChannels, kMixerBufferFrames) != 0) {
            const std::string error = MixerError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            Fail("the audio mixer does not open (" + error + ")");
        }
        m_opened = true;
        Mix_QuerySpec(&m_rate, &m_format, &m_channels);
    }
    ~MixerSession()
    {
        if (!m_opened)
            return;
        Mix_CloseAudio();
        if (!m_hadDecoders)
            Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    MixerSession(const MixerSession&) = delete;
    MixerSession& operator=(const MixerSession&) = delete;

    int GetRate() const { return m_rate; }
    SDL_AudioFormat GetFormat() const { return m_format; }
    int GetChannels() const { return m_channels; }
    int GetFrameBytes() const { return SDL_AUDIO_BITSIZE(m_format) / 8 * m_channels; }

private:
    int m_rate = 0;
    Uint16 m_format = 0;
    int m_channels = 0;
    bool m_opened = false;
    bool m_hadDecoders = false;
};

struct ChunkFree {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkFree>;

// One sample in any of SDL's formats, scaled to -1 .. 1.
float SampleValue(const uint8_t* bytes, SDL_AudioFormat format)
{
    const int size = SDL_AUDIO_BITSIZE(format) / 8;
    uint32_t raw = 0;
    for (int i = 0; i < size; ++i)
        raw = (raw << 8) | bytes[SDL_AUDIO_ISBIGENDIAN(format) ? i : size - 1 - i];
    if (SDL_AUDIO_ISFLOAT(format)) {
        float value = 0;
        std::memcpy(&value, &raw, sizeof value);
        return value;
    }
    const int bits = size * 8;
    const double half = static_cast<double>(1ull << (bits - 1));
    if (!SDL_AUDIO_ISSIGNED(format))
        return static_cast<float>((static_cast<double>(raw) - half) / half);
    const int64_t signedValue = (raw & (1ull << (bits - 1))) ? static_cast<int64_t>(raw) - (1ll << bits) : raw;
    return static_cast<float>(static_cast<double>(signedValue) / half);
}

// The source must be a file of sane size in one of the formats the program plays.
void CheckSource(const std::string& source)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(std::filesystem::path(source), error);
    if (error)
        Fail("the file cannot be read (" + error.message() + ")");
    if (size == 0)
        Fail("the file is empty");
    if (size > static_cast<uint64_t>(evMusic::kMaxAudioBytes))
        Fail("the file is larger than " + SizeText(evMusic::kMaxAudioBytes));
    if (DetectAudioFormat(source) == AudioFormat::Unknown)
        Fail("it is not an MP3, Ogg Vorbis, WAV or FLAC file");
}

[[noreturn]] void FailTooLong(int64_t maxPcmBytes)
{
    Fail("it is too long (more than " + SizeText(maxPcmBytes) + " of decoded sound)");
}

// The mixer decodes a track whole, so a track whose stated length is beyond the limit is refused before that.
void CheckStatedLength(const std::string& source, const MixerSession& mixer, int64_t maxPcmBytes)
{
    Mix_Music* music = Mix_LoadMUS(source.c_str());
    if (!music)
        return; // the decode says what is wrong
    const double seconds = Mix_MusicDuration(music);
    Mix_FreeMusic(music);
    if (seconds > 0 && seconds * mixer.GetRate() * mixer.GetFrameBytes() > static_cast<double>(maxPcmBytes))
        FailTooLong(maxPcmBytes);
}

// The whole track in the mixer's format. A file whose stated length was wrong is still refused here.
ChunkPtr Decode(const std::string& source, const MixerSession& mixer, int64_t maxPcmBytes)
{
    SDL_RWops* file = SDL_RWFromFile(source.c_str(), "rb");
    if (!file)
        Fail(std::string("the file cannot be read (") + SDL_GetError() + ")");
    ChunkPtr chunk(Mix_LoadWAV_RW(file, 1));
    if (!chunk)
        Fail("the sound cannot be decoded (" + MixerError() + ")");
    if (static_cast<int64_t>(chunk->alen) > maxPcmBytes)
        FailTooLong(maxPcmBytes);
    if (chunk->alen < static_cast<Uint32>(mixer.GetFrameBytes()))
        Fail("it holds no sound");
    return chunk;
}

// The MP3 file being written: beside its name until it is complete (platform/AtomicFile.h).
class OutputFile {
public:
    explicit OutputFile(const std::string& path) : m_writer(path) {}
    void Write(const unsigned char* data, size_t count, long offset = -1)
    {
        if (offset >= 0)
            m_writer.GetStream().Seek(offset, SeekOrigin::Begin);
        m_writer.GetStream().WriteBuffer(data, static_cast<int64_t>(count));
    }
    void Close() { m_writer.Commit(); }

private:
    AtomicWriter m_writer;
};

struct LameClose {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

// LAME set up for 44.1 kHz joint-stereo VBR from stereo input at the mixer's rate.
class Mp3Encoder {
public:
    explicit Mp3Encoder(int inputRate) : m_flags(lame_init())
    {
        if (!m_flags)
            Fail("the MP3 encoder does not start");
        lame_set_in_samplerate(m_flags.get(), inputRate);
        lame_set_num_channels(m_flags.get(), 2);
        lame_set_out_samplerate(m_flags.get(), kOutputRate);
        lame_set_mode(m_flags.get(), JOINT_STEREO);
        lame_set_VBR(m_flags.get(), vbr_default);
        lame_set_VBR_quality(m_flags.get(), kVbrQuality);
        lame_set_bWriteVbrTag(m_flags.get(), 1);
        if (lame_init_params(m_flags.get()) < 0)
            Fail("the MP3 encoder refuses a rate of " + std::to_string(inputRate) + " Hz");
    }

    void Encode(const std::vector<float>& left, const std::vector<float>& right, OutputFile& out)
    {
        const int frames = static_cast<int>(left.size());
        m_buffer.resize(static_cast<size_t>(frames) * 5 / 4 + 7200);
        const int bytes = lame_encode_buffer_ieee_float(m_flags.get(), left.data(), right.data(), frames,
                                                        m_buffer.data(), static_cast<int>(m_buffer.size()));
        if (bytes < 0)
            Fail("the MP3 encoder failed (error " + std::to_string(bytes) + ")");
        out.Write(m_buffer.data(), static_cast<size_t>(bytes));
    }

    // Writes the encoder's last frames, then the header frame it reserved at the start, which now holds the
    // stream's length so that players show the right duration.
    void Finish(OutputFile& out)
    {
        m_buffer.resize(7200);
        const int bytes = lame_encode_flush(m_flags.get(), m_buffer.data(), static_cast<int>(m_buffer.size()));
        if (bytes < 0)
            Fail("the MP3 encoder failed (error " + std::to_string(bytes) + ")");
        out.Write(m_buffer.data(), static_cast<size_t>(bytes));
        unsigned char tag[2880];
        const size_t tagBytes = lame_get_lametag_frame(m_flags.get(), tag, sizeof tag);
        if (tagBytes > sizeof tag)
            Fail("the MP3 encoder's header frame is too large");
        if (tagBytes > 0)
            out.Write(tag, tagBytes, 0);
    }

private:
    std::unique_ptr<lame_global_flags, LameClose> m_flags;
    std::vector<unsigned char> m_buffer;
};

// Feeds the decoded sound to the encoder block by block: the first two channels as left and right, a mono mixer's
// one channel as both.
void EncodeToFile(const Mix_Chunk& chunk, const MixerSession& mixer, const std::string& path)
{
    const SDL_AudioFormat format = mixer.GetFormat();
    const int channels = mixer.GetChannels();
    const int sampleBytes = SDL_AUDIO_BITSIZE(format) / 8;
    const size_t frameBytes = static_cast<size_t>(mixer.GetFrameBytes());
    const size_t frames = chunk.alen / frameBytes;
    const int rightChannel = channels > 1 ? 1 : 0;

    Mp3Encoder encoder(mixer.GetRate());
    OutputFile out(path);
    std::vector<float> left;
    std::vector<float> right;
    for (size_t first = 0; first < frames; first += kBlockFrames) {
        const size_t count = std::min<size_t>(kBlockFrames, frames - first);
        left.resize(count);
        right.resize(count);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* frame = chunk.abuf + (first + i) * frameBytes;
            left[i] = SampleValue(frame, format);
            right[i] = SampleValue(frame + rightChannel * sampleBytes, format);
        }
        encoder.Encode(left, right, out);
    }
    encoder.Finish(out);
    out.Close();
}

void Convert(const std::string& source, const std::string& target, int64_t maxPcmBytes)
{
    CheckSource(source);
    MixerSession mixer;
    CheckStatedLength(source, mixer, maxPcmBytes);
    const ChunkPtr chunk = Decode(source, mixer, maxPcmBytes);
    EncodeToFile(*chunk, mixer, target);
}

} // namespace

void WriteMp3Copy(const std::string& sourceAudioFile, const std::string& mp3Path, const std::string& title,
                  int64_t maxPcmBytes)
{
    std::string reason;
    try {
        Convert(sourceAudioFile, mp3Path, maxPcmBytes);
        return;
    } catch (const Failure& failure) {
        reason = failure.reason;
    } catch (const std::bad_alloc&) {
        reason = "there is not enough memory";
    } catch (const std::exception& error) {
        reason = error.what();
    }
    const std::string name = title.empty() ? BareFileName(sourceAudioFile) : title;
    throw EMp3CopyError("The music \"" + name + "\" could not be converted for web browsers: " + reason);
}
