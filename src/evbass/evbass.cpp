// The audio library the program binds by name: a handful of C entry points over SDL2_mixer.
//
// Streams are files. SDL_mixer plays any number of decoded samples on its channels but streams only one piece of
// music from disk at a time, so short files (spoken clips, jingles) are decoded whole when they start and play on
// a channel, while long files stream through the single music slot and never sit decoded in memory. A long file
// that finds the slot busy falls back to a channel only while it is small enough to decode.
//
// Positions: only the start of a stream can be set. A stream that is stopped and played again starts from the
// beginning.

#include <SDL.h>
#include <SDL_mixer.h>

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <string>

#define EVBASS_API extern "C" __attribute__((visibility("default")))

using DWORD = uint32_t;
using QWORD = uint64_t;
using BOOL = int;

namespace {

// Tests build a copy that reports another version, to check that the program refuses it.
#ifndef EVBASS_REPORTED_VERSION
#define EVBASS_REPORTED_VERSION 0x00080001
#endif
constexpr DWORD kVersion = EVBASS_REPORTED_VERSION;
constexpr DWORD kFlagLoop = 4;
constexpr DWORD kActiveStopped = 0;
constexpr DWORD kActivePlaying = 1;
constexpr DWORD kActivePaused = 3;
constexpr int64_t kSampleFileLimit = 4ll * 1024 * 1024;
constexpr int64_t kDecodeFallbackLimit = 24ll * 1024 * 1024;
constexpr int kInitialChannels = 16;

struct AudioStream {
    std::string path;
    int64_t fileSize = 0;
    Mix_Music* music = nullptr; // long files only
    Mix_Chunk* chunk = nullptr; // while a decoded copy plays
    int channel = -1;
    bool loop = false;
};

struct Library {
    // The program may unload the library without freeing it first; the mixer must not go on playing samples
    // that belong to a library that is gone.
    ~Library();

    bool initialised = false;
    int volume = MIX_MAX_VOLUME;
    DWORD nextHandle = 1;
    DWORD musicOwner = 0;
    std::map<DWORD, AudioStream> streams;
};

Library g_lib;

AudioStream* Find(DWORD handle)
{
    auto it = g_lib.streams.find(handle);
    return it == g_lib.streams.end() ? nullptr : &it->second;
}

bool ChunkActive(const AudioStream& s)
{
    return s.chunk && s.channel >= 0 && Mix_GetChunk(s.channel) == s.chunk && Mix_Playing(s.channel);
}

bool MusicActive(DWORD handle) { return handle != 0 && g_lib.musicOwner == handle && Mix_PlayingMusic(); }

// A finished sample is freed at once, so only clips that play hold decoded audio.
void ReleaseChunk(AudioStream& s)
{
    if (!s.chunk)
        return;
    if (ChunkActive(s))
        Mix_HaltChannel(s.channel);
    Mix_FreeChunk(s.chunk);
    s.chunk = nullptr;
    s.channel = -1;
}

void ReleaseFinishedChunks()
{
    for (auto& [handle, s] : g_lib.streams) {
        if (s.chunk && !ChunkActive(s))
            ReleaseChunk(s);
    }
    if (g_lib.musicOwner && !Mix_PlayingMusic())
        g_lib.musicOwner = 0;
}

void HaltStream(DWORD handle, AudioStream& s)
{
    ReleaseChunk(s);
    if (g_lib.musicOwner == handle) {
        Mix_HaltMusic();
        g_lib.musicOwner = 0;
    }
}

int64_t FileSize(const char* path)
{
    struct stat info {};
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return static_cast<int64_t>(info.st_size);
}

bool PlayOnChannel(AudioStream& s, bool loop)
{
    if (s.fileSize > kDecodeFallbackLimit)
        return false;
    if (!s.chunk) {
        s.chunk = Mix_LoadWAV(s.path.c_str());
        if (!s.chunk)
            return false;
    }
    int channel = Mix_PlayChannel(-1, s.chunk, loop ? -1 : 0);
    if (channel < 0) {
        Mix_AllocateChannels(Mix_AllocateChannels(-1) + kInitialChannels);
        channel = Mix_PlayChannel(-1, s.chunk, loop ? -1 : 0);
    }
    if (channel < 0) {
        ReleaseChunk(s);
        return false;
    }
    s.channel = channel;
    Mix_Volume(channel, g_lib.volume);
    return true;
}

bool PlayAsMusic(DWORD handle, AudioStream& s, bool loop)
{
    if (Mix_PlayMusic(s.music, loop ? -1 : 1) != 0)
        return false;
    Mix_VolumeMusic(g_lib.volume);
    g_lib.musicOwner = handle;
    return true;
}

bool StartStream(DWORD handle, AudioStream& s, bool loop)
{
    s.loop = loop;
    const bool slotFree = g_lib.musicOwner == 0 || g_lib.musicOwner == handle || !Mix_PlayingMusic();
    if (s.music && slotFree)
        return PlayAsMusic(handle, s, loop);
    return PlayOnChannel(s, loop);
}

} // namespace

EVBASS_API DWORD BASS_GetVersion() { return kVersion; }

EVBASS_API BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window)
{
    if (g_lib.initialised || device < -1 || device == 0)
        return 0;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return 0;
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3);
    const int rate = freq == 0 || freq > 192000 ? 44100 : static_cast<int>(freq);
    if (Mix_OpenAudio(rate, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    Mix_AllocateChannels(kInitialChannels);
    g_lib.initialised = true;
    return 1;
}

EVBASS_API BOOL BASS_SetVolume(DWORD volume)
{
    if (!g_lib.initialised || volume > 100)
        return 0;
    g_lib.volume = static_cast<int>(volume * MIX_MAX_VOLUME / 100);
    Mix_Volume(-1, g_lib.volume);
    Mix_VolumeMusic(g_lib.volume);
    return 1;
}

EVBASS_API BOOL BASS_Start()
{
    if (!g_lib.initialised)
        return 0;
    Mix_Resume(-1);
    Mix_ResumeMusic();
    return 1;
}

EVBASS_API BOOL BASS_Stop()
{
    if (!g_lib.initialised)
        return 0;
    Mix_Pause(-1);
    Mix_PauseMusic();
    return 1;
}

EVBASS_API BOOL BASS_Free()
{
    if (!g_lib.initialised)
        return 0;
    for (auto& [handle, s] : g_lib.streams) {
        HaltStream(handle, s);
        if (s.music)
            Mix_FreeMusic(s.music);
    }
    g_lib.streams.clear();
    g_lib.musicOwner = 0;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_lib.initialised = false;
    return 1;
}

// Only whole files are supported: mem, offset and length must be 0.
EVBASS_API DWORD BASS_StreamCreateFile(BOOL mem, const char* file, DWORD offset, DWORD length, DWORD flags)
{
    if (!g_lib.initialised || mem != 0 || !file || offset != 0 || length != 0)
        return 0;
    AudioStream s;
    s.path = file;
    s.fileSize = FileSize(file);
    if (s.fileSize <= 0)
        return 0;
    // Opening as music checks the format without decoding anything.
    Mix_Music* probe = Mix_LoadMUS(file);
    if (!probe)
        return 0;
    if (s.fileSize > kSampleFileLimit)
        s.music = probe;
    else
        Mix_FreeMusic(probe);
    const DWORD handle = g_lib.nextHandle++;
    if (g_lib.nextHandle == 0)
        g_lib.nextHandle = 1;
    g_lib.streams.emplace(handle, std::move(s));
    return handle;
}

EVBASS_API BOOL BASS_StreamPlay(DWORD handle, BOOL flush, DWORD flags)
{
    AudioStream* s = Find(handle);
    if (!s)
        return 0;
    ReleaseFinishedChunks();
    if (ChunkActive(*s) || MusicActive(handle)) {
        if (!flush)
            return 1;
        HaltStream(handle, *s);
    }
    return StartStream(handle, *s, (flags & kFlagLoop) != 0) ? 1 : 0;
}

EVBASS_API BOOL BASS_ChannelStop(DWORD handle)
{
    AudioStream* s = Find(handle);
    if (!s)
        return 0;
    HaltStream(handle, *s);
    return 1;
}

EVBASS_API BOOL BASS_ChannelSetPosition(DWORD handle, QWORD position)
{
    AudioStream* s = Find(handle);
    if (!s || position != 0)
        return 0;
    if (MusicActive(handle))
        Mix_RewindMusic();
    else if (ChunkActive(*s))
        Mix_PlayChannel(s->channel, s->chunk, s->loop ? -1 : 0);
    return 1;
}

EVBASS_API DWORD BASS_ChannelIsActive(DWORD handle)
{
    AudioStream* s = Find(handle);
    if (!s)
        return kActiveStopped;
    if (MusicActive(handle))
        return Mix_PausedMusic() ? kActivePaused : kActivePlaying;
    if (ChunkActive(*s))
        return Mix_Paused(s->channel) ? kActivePaused : kActivePlaying;
    return kActiveStopped;
}

EVBASS_API BOOL BASS_StreamFree(DWORD handle)
{
    AudioStream* s = Find(handle);
    if (!s)
        return 0;
    HaltStream(handle, *s);
    if (s->music)
        Mix_FreeMusic(s->music);
    g_lib.streams.erase(handle);
    return 1;
}

Library::~Library() { BASS_Free(); }
