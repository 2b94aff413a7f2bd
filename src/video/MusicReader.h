#pragma once
// The album's music as the video needs it: decoded with FFmpeg's libraries, resampled to 48 kHz stereo float,
// and started again from its beginning whenever it ends, for as long as samples are asked for. Only a few
// packets are held at a time, however long the track.

#include "video/Mp4Writer.h"

#include <memory>
#include <string>

class MusicReader {
public:
    // Opens the audio file and decodes its first samples. EVideoError when the file holds no audio that can be
    // decoded.
    explicit MusicReader(const std::string& path);
    ~MusicReader();
    MusicReader(const MusicReader&) = delete;
    MusicReader& operator=(const MusicReader&) = delete;

    // Fills both channels with the next `count` samples. A track that stops decoding part-way starts again;
    // one that yields nothing any more is silence from there on.
    void Read(float* left, float* right, int count);

private:
    struct State;
    std::unique_ptr<State> m_state;
};
