#pragma once
// What the disc writer's browser album needs to know of the project's music, which is an object of the audio
// layer: the audio layer fills these in (audio/WebMusic.h) and the disc writer calls them.

#include <functional>
#include <optional>
#include <string>

class evObject;

// What the disc writer needs to know of the music object, which belongs to the audio layer.
struct WebMusicTrack {
    std::string title; // UTF-8
    std::string file;  // the audio file as the program plays it
    bool loop = true;
    std::string extension; // "ogg", "mp3", "wav", "flac"; empty when the format is unknown
    std::string mimeType;  // "audio/ogg", …
};

struct WebMusicAccess {
    // The track of a music object; nothing when it has no audio.
    std::function<std::optional<WebMusicTrack>(const evObject& music)> describe;
    // Writes an MP3 copy of an audio file, replacing mp3Path only when complete; throws EVelloraError with the
    // reason when it cannot.
    std::function<void(const std::string& source, const std::string& mp3Path)> writeMp3;
};
