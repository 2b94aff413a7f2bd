#pragma once
// Recognises an audio file by its first bytes, whatever its name says.

#include <cstddef>
#include <cstdint>
#include <string>

enum class AudioFormat { Unknown, Mp3, Ogg, Wav, Flac };

// The format the bytes at the start of a file announce: an ID3 tag or an MPEG audio frame header (Mp3), an Ogg
// page ("OggS"), a RIFF/WAVE header or a FLAC stream marker. Too few bytes give Unknown.
AudioFormat DetectAudioFormat(const uint8_t* data, size_t size);
// The same for a file. A file that starts with an ID3 tag is looked at once more behind the tag, because FLAC files
// may carry one too. A file that cannot be read is Unknown.
AudioFormat DetectAudioFormat(const std::string& path);

// "MP3", "Ogg", "WAV", "FLAC" or "unknown", for messages.
const char* AudioFormatName(AudioFormat format);
