#pragma once
// The MP3 copy of an album's music for web browsers, which do not all play Ogg Vorbis. The track is decoded by the
// mixer library that plays it in the program and encoded with LAME.

#include "platform/Errors.h"

#include <cstdint>
#include <string>

// A track that could not be converted. The message is one line naming the music and the reason.
class EMp3CopyError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

// Tracks whose decoded sound (in the mixer's format) would exceed this are refused: about 1 GB, an hour and a half
// of CD-quality stereo.
constexpr int64_t kMaxMp3CopyPcmBytes = 1ll << 30;

// Decodes sourceAudioFile (MP3, Ogg, WAV or FLAC) and writes it as a 44.1 kHz stereo VBR MP3 to mp3Path. The file
// is written beside mp3Path and renamed over it only when complete, so a failure leaves an existing mp3Path as it
// was and no partial file behind. The decode uses the mixer that is open in this process, or else opens one on
// SDL's silent "dummy" driver and closes it again, so the audio state is the same afterwards. title names the music
// in the error; when empty, the source's file name does. EMp3CopyError on any failure, including sources larger
// than evMusic::kMaxAudioBytes or decoding to more than maxPcmBytes.
void WriteMp3Copy(const std::string& sourceAudioFile, const std::string& mp3Path, const std::string& title = {},
                  int64_t maxPcmBytes = kMaxMp3CopyPcmBytes);
