#pragma once
// The album as a video file: H.264 and AAC in MP4, with one chapter per top-level chapter of the album.
//
// Content, in the player's page order: the studio page first (when there is one) for its duration, then every
// page for the page time (default 6 s) or longer where its slide show or film strip needs it (see PageMotion),
// each page cross-fading in over one second from the one before. The page is centred on the design's background
// colour at the video size. The music plays from the start, repeats when it is shorter than the video and fades
// out over the last three seconds; music that cannot be decoded gives a silent video and a warning.
//
// The pages are rendered twice, one at a time: first to learn how long each one lasts (so that the progress is
// exact and a page that cannot be drawn is named before anything is encoded), then for its frames. Memory thus
// holds one page, two page pictures and the encoders' frames in flight, whatever the album's length. The file is
// written beside its name and renamed at the end; a cancelled or failed video leaves no file.

#include "video/Mp4Writer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class MusicReader;
class evPhotograph;
class evProject;

// The user cancelled: nothing was written.
class EVideoCancelled : public EVideoError {
public:
    EVideoCancelled() : EVideoError("The video was cancelled") {}
};

struct VideoSize {
    int width;
    int height;
};

// The sizes offered: "1920x1080" and "1280x720"; anything else is nullopt.
std::optional<VideoSize> ParseVideoSize(const std::string& text);

class VideoExport {
public:
    static constexpr int kDefaultPageSeconds = 6;
    static constexpr int kLongestPageSeconds = 600;
    static constexpr int64_t kPageFadeMs = 1000;
    static constexpr int64_t kMusicFadeMs = 3000;
    static constexpr int kPageWidth = 1024;
    static constexpr int kPageHeight = 768;

    // Told the percentage done, often (after every frame); returning false cancels the video.
    using ProgressCallback = std::function<bool(int percent)>;

    struct Chapter {
        std::string title; // UTF-8
        int64_t startFrame;
        int64_t endFrame;
    };

    // The project with its design attached.
    VideoExport(evProject& project, std::string outFile);

    void SetSize(VideoSize size) { m_size = size; }
    // Seconds per page, 1 to kLongestPageSeconds.
    void SetPageSeconds(int seconds);
    // The studio record (bound to its page layout) whose page opens the video, for the given seconds (0: none).
    void SetStudio(evPhotograph* record, int32_t seconds);
    void SetProgress(ProgressCallback progress) { m_progress = std::move(progress); }

    // Writes the video. EVideoError names what failed (the page that cannot be drawn, the folder that cannot be
    // written); EVideoCancelled when the progress callback said stop.
    void Produce();

    const std::string& GetOutFile() const { return m_outFile; }
    // What the last Produce has to tell although it succeeded (music that could not be decoded).
    const std::vector<std::string>& GetWarnings() const { return m_warnings; }
    const std::vector<Chapter>& GetChapters() const { return m_chapters; }
    int64_t GetFrameCount() const { return m_totalFrames; }

private:
    struct Segment;

    std::vector<Segment> Plan();
    void Encode(const std::string& partial, std::vector<Segment>& segments);
    std::unique_ptr<MusicReader> OpenMusic();
    void Report(int64_t framesDone, int plannedPages, int pageCount);
    static int64_t FramesFor(int64_t ms);

    evProject& m_project;
    std::string m_outFile;
    VideoSize m_size{1920, 1080};
    int m_pageSeconds = kDefaultPageSeconds;
    evPhotograph* m_studio = nullptr;
    int32_t m_studioSeconds = 0;
    ProgressCallback m_progress;
    std::vector<std::string> m_warnings;
    std::vector<Chapter> m_chapters;
    int64_t m_totalFrames = 0;
    int m_pageWidth = kPageWidth;
    int m_pageHeight = kPageHeight;
};
