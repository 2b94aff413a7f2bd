#pragma once
// What the system says about its audio output, asked before the audio library is loaded.

#include <cstdint>
#include <string>

// The version of the audio layer in use and the driver that opened, for example "2.26.5 pulseaudio": the SDL
// version, then the name of the driver. Empty when no output device opens.
std::string SystemAudioVersion();

// The output volume of the system mixer in percent (0 to 100); 100 when the system does not tell.
int SystemVolume();

// A mixer level within [minimum, maximum] as a percentage, rounded to the nearest integer with halves to even,
// at most 100. 100 for an empty range.
int VolumePercent(int64_t level, int64_t minimum, int64_t maximum);
