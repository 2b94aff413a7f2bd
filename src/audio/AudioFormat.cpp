#include "audio/AudioFormat.h"

#include <cstring>
#include <fstream>

namespace {

constexpr size_t kId3HeaderBytes = 10;
constexpr size_t kProbeBytes = 16;

bool StartsWith(const uint8_t* data, size_t size, const char* tag, size_t offset = 0)
{
    const size_t length = std::strlen(tag);
    return size >= offset + length && std::memcmp(data + offset, tag, length) == 0;
}

// An ID3v2 header: "ID3", a version below 0xFF and a size of four 7-bit bytes.
bool IsId3Header(const uint8_t* data, size_t size)
{
    if (size < kId3HeaderBytes || !StartsWith(data, size, "ID3") || data[3] == 0xFF || data[4] == 0xFF)
        return false;
    for (size_t i = 6; i < kId3HeaderBytes; ++i)
        if (data[i] & 0x80)
            return false;
    return true;
}

// The whole length of an ID3v2 tag whose header IsId3Header accepted, footer included.
uint64_t Id3TagBytes(const uint8_t* data)
{
    const uint64_t body = (uint64_t(data[6]) << 21) | (uint64_t(data[7]) << 14) | (uint64_t(data[8]) << 7) | data[9];
    const bool footer = (data[5] & 0x10) != 0;
    return kId3HeaderBytes + body + (footer ? kId3HeaderBytes : 0);
}

// An MPEG audio frame header of layer I, II or III: eleven sync bits, then no reserved version, layer, bit rate or
// sample rate. ADTS (AAC) shares the sync but has layer 0, so it does not pass.
bool IsMpegFrameHeader(const uint8_t* data, size_t size)
{
    if (size < 4 || data[0] != 0xFF || (data[1] & 0xE0) != 0xE0)
        return false;
    const int version = (data[1] >> 3) & 3;
    const int layer = (data[1] >> 1) & 3;
    const int bitRate = data[2] >> 4;
    const int sampleRate = (data[2] >> 2) & 3;
    return version != 1 && layer != 0 && bitRate != 15 && sampleRate != 3;
}

} // namespace

AudioFormat DetectAudioFormat(const uint8_t* data, size_t size)
{
    if (!data)
        return AudioFormat::Unknown;
    if (IsId3Header(data, size) || IsMpegFrameHeader(data, size))
        return AudioFormat::Mp3;
    if (StartsWith(data, size, "OggS"))
        return AudioFormat::Ogg;
    if (StartsWith(data, size, "RIFF") && StartsWith(data, size, "WAVE", 8))
        return AudioFormat::Wav;
    if (StartsWith(data, size, "fLaC"))
        return AudioFormat::Flac;
    return AudioFormat::Unknown;
}

AudioFormat DetectAudioFormat(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    uint8_t head[kProbeBytes] = {};
    file.read(reinterpret_cast<char*>(head), sizeof head);
    const size_t count = file ? sizeof head : static_cast<size_t>(file.gcount());
    const AudioFormat format = DetectAudioFormat(head, count);
    if (format != AudioFormat::Mp3 || !IsId3Header(head, count))
        return format;
    // What follows the tag decides between an MP3 and a tagged FLAC file; anything else stays an MP3.
    file.clear();
    file.seekg(static_cast<std::streamoff>(Id3TagBytes(head)));
    uint8_t behind[4] = {};
    if (file.read(reinterpret_cast<char*>(behind), sizeof behind) && StartsWith(behind, sizeof behind, "fLaC"))
        return AudioFormat::Flac;
    return AudioFormat::Mp3;
}

const char* AudioFormatName(AudioFormat format)
{
    switch (format) {
    case AudioFormat::Mp3: return "MP3";
    case AudioFormat::Ogg: return "Ogg";
    case AudioFormat::Wav: return "WAV";
    case AudioFormat::Flac: return "FLAC";
    default: return "unknown";
    }
}
