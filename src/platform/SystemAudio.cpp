#include "platform/SystemAudio.h"

#include <SDL.h>

#include <cmath>

#ifdef VELLORA_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

std::string SystemAudioVersion()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return {};
    std::string result;
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device != 0) {
        SDL_version version{};
        SDL_GetVersion(&version);
        const char* driver = SDL_GetCurrentAudioDriver();
        result = std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                 std::to_string(version.patch) + " " + (driver ? driver : "unknown");
        SDL_CloseAudioDevice(device);
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return result;
}

int VolumePercent(int64_t level, int64_t minimum, int64_t maximum)
{
    if (maximum <= minimum)
        return 100;
    const double percent = static_cast<double>(level - minimum) / static_cast<double>(maximum - minimum) * 100.0;
    if (percent <= 0)
        return 0;
    const double rounded = std::nearbyint(percent); // the default rounding mode takes halves to even
    return rounded > 100 ? 100 : static_cast<int>(rounded);
}

#ifdef VELLORA_HAVE_ALSA
namespace {

// ALSA reports a missing sound card on stderr by default; here a missing card only means "volume unknown".
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

int MixerVolume(snd_mixer_t* mixer)
{
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, "Master");
    snd_mixer_elem_t* element = snd_mixer_find_selem(mixer, id);
    if (!element || !snd_mixer_selem_has_playback_volume(element))
        return 100;
    long minimum = 0, maximum = 0, level = 0;
    snd_mixer_selem_get_playback_volume_range(element, &minimum, &maximum);
    // The right channel counts; a mono control answers for both.
    if (snd_mixer_selem_get_playback_volume(element, SND_MIXER_SCHN_FRONT_RIGHT, &level) != 0 &&
        snd_mixer_selem_get_playback_volume(element, SND_MIXER_SCHN_MONO, &level) != 0)
        return 100;
    return VolumePercent(level, minimum, maximum);
}

} // namespace

int SystemVolume()
{
    snd_lib_error_set_handler(&IgnoreAlsaError);
    snd_mixer_t* mixer = nullptr;
    int volume = 100;
    if (snd_mixer_open(&mixer, 0) == 0) {
        if (snd_mixer_attach(mixer, "default") == 0 && snd_mixer_selem_register(mixer, nullptr, nullptr) == 0 &&
            snd_mixer_load(mixer) == 0)
            volume = MixerVolume(mixer);
        snd_mixer_close(mixer);
    }
    snd_lib_error_set_handler(nullptr);
    return volume;
}
#else
int SystemVolume() { return 100; }
#endif
