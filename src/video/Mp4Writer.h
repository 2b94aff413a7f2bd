#pragma once
// An MP4 file through FFmpeg's libraries: H.264 video (yuv420p, BT.709, libx264 on two threads) and, when asked
// for, AAC audio (48 kHz stereo), with chapters and the index at the front (+faststart) so that players and video
// sites can start before the whole file has arrived.
//
// Each video frame is a picture of the album's page size (24-bit BGR). It is scaled sharply (Lanczos) into the
// largest rectangle of the page's proportions that fits the frame, centred on the background colour. A picture
// that several frames repeat is scaled and converted once.
//
// The file is written at the path given, which the caller names beside its final place and renames once Finish
// returned; a writer destroyed without Finish leaves a file that is of no use, and the caller removes it.

#include "platform/Color.h"
#include "platform/Errors.h"

#include <cstdint>
#include <memory>
#include <string>

class Bitmap;

// The encoder or the file failed; the message says what and names the system's reason.
class EVideoError : public EVelloraError {
public:
    using EVelloraError::EVelloraError;
};

struct Mp4Settings {
    static constexpr int kFramesPerSecond = 25;
    static constexpr int kSampleRate = 48000;
    static constexpr int kSamplesPerFrame = kSampleRate / kFramesPerSecond;

    int width = 1920;
    int height = 1080;
    int pageWidth = 1024;
    int pageHeight = 768;
    TColor background = kColorBlack;
    bool audio = true;
    int chapters = 0; // the chapters' titles and times are given before Finish
};

class Mp4Writer {
public:
    // Opens the encoders and the file and writes its header. EVideoError when an encoder is missing or the file
    // cannot be created; sizes must be even and the page size positive.
    Mp4Writer(const std::string& path, const Mp4Settings& settings);
    ~Mp4Writer();
    Mp4Writer(const Mp4Writer&) = delete;
    Mp4Writer& operator=(const Mp4Writer&) = delete;

    // Appends the page picture as the next `count` frames.
    void WriteFrames(const Bitmap& page, int64_t count);
    // Appends samples of both channels (planar, -1..1); without audio they are ignored.
    void WriteAudio(const float* left, const float* right, int count);
    // Chapter `index`: its title (UTF-8) and its first and last frame + 1.
    void SetChapter(int index, const std::string& title, int64_t startFrame, int64_t endFrame);
    // Flushes both encoders, writes the chapters and the index and closes the file.
    void Finish();

    int64_t GetFramesWritten() const;
    // Where the page lies in the frame: left, top, width, height (all even).
    struct Placement {
        int x, y, width, height;
    };
    static Placement PlacePage(int frameWidth, int frameHeight, int pageWidth, int pageHeight);

private:
    struct State;
    std::unique_ptr<State> m_state;
};
