#pragma once
// Ogg Vorbis files for the program's music and spoken comments: encoding with libvorbisenc, and a decoding check
// with libvorbisfile that reports what a player would get (channels, rate, length, peak level).

#include "AudioBuffer.h"
#include "platform/Errors.h"

#include <string>

class OggVorbis {
public:
    struct Info {
        int channels = 0;
        int sampleRate = 0;
        double seconds = 0;
        float peak = 0;
        float rms = 0;
    };

    // Encodes the buffer (mono or stereo) with variable bit rate at the quality (-0.1 to 1) and writes the file.
    // The title goes into the stream's comments. EVelloraError when encoding or writing fails.
    static void Encode(const AudioBuffer& buffer, float quality, const std::string& path, const std::string& title);
    // Decodes the whole file; EVelloraError when it is not a readable Ogg Vorbis file.
    static Info Inspect(const std::string& path);
};
