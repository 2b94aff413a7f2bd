#include "video/VideoExport.h"

#include "audio/evMusic.h"
#include "model/PageOrder.h"
#include "model/evCategory.h"
#include "model/evLayout.h"
#include "model/evPhotograph.h"
#include "model/evProject.h"
#include "model/evProjectorPage.h"
#include "platform/AtomicFile.h"
#include "platform/Text.h"
#include "video/MusicReader.h"
#include "video/PageMotion.h"

#include <algorithm>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

constexpr int kPlanningPercent = 5; // the first pass over the pages, of the whole progress
constexpr int kAudioChunk = 4800;
constexpr int kLargestPageSide = 4096;

// The category at the top of the chapter tree above a page.
const evCategory* TopLevelOf(const evCategory* category)
{
    while (const evCategory* parent = category->GetEffectiveParent())
        category = parent;
    return category;
}

std::string PageName(size_t index, const evCategory& page)
{
    return "Page " + std::to_string(index + 1) + " (\"" + ToDisplayUtf8(page.GetTitle()) + "\")";
}

// The music as the video hears it: from the start, repeated, fading out over the last seconds.
class MusicTrack {
public:
    MusicTrack(MusicReader* music, Mp4Writer& writer, int64_t totalSamples)
        : m_music(music), m_writer(writer), m_total(totalSamples),
          m_fade(std::min<int64_t>(totalSamples, VideoExport::kMusicFadeMs * Mp4Settings::kSampleRate / 1000)),
          m_left(kAudioChunk), m_right(kAudioChunk)
    {}

    void WriteUpTo(int64_t sample)
    {
        if (!m_music)
            return;
        while (m_done < sample) {
            const int count = static_cast<int>(std::min<int64_t>(kAudioChunk, sample - m_done));
            m_music->Read(m_left.data(), m_right.data(), count);
            for (int i = 0; i < count; ++i) {
                const int64_t left = m_total - (m_done + i);
                if (left < m_fade) {
                    const float gain = static_cast<float>(left) / static_cast<float>(m_fade);
                    m_left[i] *= gain;
                    m_right[i] *= gain;
                }
            }
            m_writer.WriteAudio(m_left.data(), m_right.data(), count);
            m_done += count;
        }
    }

private:
    MusicReader* m_music;
    Mp4Writer& m_writer;
    int64_t m_total;
    int64_t m_fade;
    int64_t m_done = 0;
    std::vector<float> m_left;
    std::vector<float> m_right;
};

} // namespace

std::optional<VideoSize> ParseVideoSize(const std::string& text)
{
    if (text == "1920x1080")
        return VideoSize{1920, 1080};
    if (text == "1280x720")
        return VideoSize{1280, 720};
    return std::nullopt;
}

// One page of the video: an album page (category) or, without one, the studio page.
struct VideoExport::Segment {
    evCategory* category = nullptr;
    size_t pageIndex = 0;
    int64_t frames = 0;
};

VideoExport::VideoExport(evProject& project, std::string outFile) : m_project(project), m_outFile(std::move(outFile)) {}

void VideoExport::SetPageSeconds(int seconds)
{
    if (seconds < 1 || seconds > kLongestPageSeconds)
        throw EVideoError("A page lasts 1 to " + std::to_string(kLongestPageSeconds) + " seconds, not " +
                          std::to_string(seconds));
    m_pageSeconds = seconds;
}

void VideoExport::SetStudio(evPhotograph* record, int32_t seconds)
{
    m_studio = seconds > 0 ? record : nullptr;
    m_studioSeconds = std::clamp(seconds, 0, kLongestPageSeconds);
}

int64_t VideoExport::FramesFor(int64_t ms) { return (ms * Mp4Settings::kFramesPerSecond + 500) / 1000; }

void VideoExport::Report(int64_t framesDone, int plannedPages, int pageCount)
{
    int percent = 0;
    if (pageCount > 0 && plannedPages < pageCount)
        percent = plannedPages * kPlanningPercent / pageCount;
    else if (m_totalFrames > 0)
        percent = kPlanningPercent + static_cast<int>(framesDone * (100 - kPlanningPercent) / m_totalFrames);
    if (m_progress && !m_progress(percent))
        throw EVideoCancelled();
}

void VideoExport::Produce()
{
    m_warnings.clear();
    m_chapters.clear();
    m_totalFrames = 0;
    if (m_size.width < 16 || m_size.height < 16 || m_size.width > 4096 || m_size.height > 4096 || m_size.width % 2 ||
        m_size.height % 2)
        throw EVideoError("The video size " + std::to_string(m_size.width) + "x" + std::to_string(m_size.height) +
                          " cannot be encoded");
    if (!m_project.GetDesign())
        throw EVideoError("The project has no design");
    // The folder is tried first: a video that could never be saved is not worth the minutes of encoding. The
    // encoder writes the atomic writer's temporary by its name; the writer syncs and renames it at the end.
    std::unique_ptr<AtomicWriter> file;
    try {
        file = std::make_unique<AtomicWriter>(m_outFile);
    } catch (const EVelloraError& error) {
        const fs::path target(m_outFile);
        const std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
        throw EVideoError("Cannot write the video into the folder \"" + folder + "\": " + error.what());
    }
    std::vector<Segment> segments = Plan();
    Encode(file->GetTemporaryPath(), segments);
    try {
        file->Commit();
    } catch (const EVelloraError& error) {
        throw EVideoError("Cannot create the video file: " + std::string(error.what()));
    }
}

// The first pass: how many frames each page has, and the chapters.
std::vector<VideoExport::Segment> VideoExport::Plan()
{
    std::vector<evCategory*> pages;
    PageOrder::Flatten(m_project.GetFirstCategory(), pages, true);
    if (pages.empty())
        throw EVideoError("The album has no pages to show");
    const evLayout& design = *m_project.GetDesign();
    // The design's page size; a damaged design's falls back to the player's screen.
    const bool usable = design.GetPageWidth() > 0 && design.GetPageWidth() <= kLargestPageSide &&
                        design.GetPageHeight() > 0 && design.GetPageHeight() <= kLargestPageSide;
    m_pageWidth = usable ? design.GetPageWidth() : kPageWidth;
    m_pageHeight = usable ? design.GetPageHeight() : kPageHeight;
    std::vector<Segment> segments;
    if (m_studio)
        segments.push_back({nullptr, 0, FramesFor(int64_t{m_studioSeconds} * 1000)});
    const evCategory* chapterOwner = nullptr;
    int64_t elapsed = m_studio ? segments.front().frames : 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        Report(0, static_cast<int>(i), static_cast<int>(pages.size()));
        const std::unique_ptr<evProjectorPage> page = pages[i]->CreatePresentationPage();
        if (!page || pages[i]->RenderFailed())
            throw EVideoError(PageName(i, *pages[i]) + " could not be drawn");
        const PageMotion motion(*page, m_pageWidth, m_pageHeight, design.GetBackgroundColour(), true,
                                int64_t{m_pageSeconds} * 1000);
        const evCategory* owner = TopLevelOf(pages[i]);
        if (owner != chapterOwner) {
            chapterOwner = owner;
            // The first chapter begins with the video, studio page included.
            m_chapters.push_back({ToDisplayUtf8(owner->GetTitle()), m_chapters.empty() ? 0 : elapsed, 0});
        }
        segments.push_back({pages[i], i, FramesFor(motion.GetDurationMs())});
        elapsed += segments.back().frames;
    }
    m_totalFrames = elapsed;
    for (size_t i = 0; i < m_chapters.size(); ++i)
        m_chapters[i].endFrame = i + 1 < m_chapters.size() ? m_chapters[i + 1].startFrame : m_totalFrames;
    return segments;
}

void VideoExport::Encode(const std::string& partial, std::vector<Segment>& segments)
{
    const TColor background = m_project.GetDesign()->GetBackgroundColour();
    std::unique_ptr<MusicReader> music = OpenMusic();
    Mp4Settings settings;
    settings.width = m_size.width;
    settings.height = m_size.height;
    settings.pageWidth = m_pageWidth;
    settings.pageHeight = m_pageHeight;
    settings.background = background;
    settings.audio = music != nullptr;
    settings.chapters = static_cast<int>(m_chapters.size());
    Mp4Writer writer(partial, settings);
    MusicTrack track{music.get(), writer, m_totalFrames * Mp4Settings::kSamplesPerFrame};

    const int pageCount = static_cast<int>(segments.size());
    const int64_t fadeFrames = FramesFor(kPageFadeMs);
    Bitmap last;
    Bitmap mixed;
    int64_t done = 0;
    for (const Segment& segment : segments) {
        const std::unique_ptr<evProjectorPage> page =
            segment.category ? segment.category->CreatePresentationPage() : m_studio->CreatePresentationPage();
        if (segment.category && (!page || segment.category->RenderFailed()))
            throw EVideoError(PageName(segment.pageIndex, *segment.category) + " could not be drawn");
        const int64_t shortestMs = (segment.frames * 1000) / Mp4Settings::kFramesPerSecond;
        PageMotion motion(*page, m_pageWidth, m_pageHeight, background, settings.audio, shortestMs);
        const int64_t fading = last.IsEmpty() ? 0 : std::min(fadeFrames, segment.frames);
        for (int64_t frame = 0; frame < segment.frames;) {
            const int64_t ms = frame * 1000 / Mp4Settings::kFramesPerSecond;
            const Bitmap& picture = motion.FrameAt(ms);
            int64_t count = 1;
            if (frame < fading) {
                CrossFade(last, picture, FadeLevel(ms, kPageFadeMs), mixed);
                writer.WriteFrames(mixed, 1);
            } else {
                // A still page goes out a second at a time, so that the sound and the progress keep up.
                if (motion.IsStill())
                    count = std::min<int64_t>(segment.frames - frame, Mp4Settings::kFramesPerSecond);
                writer.WriteFrames(picture, count);
            }
            frame += count;
            done += count;
            track.WriteUpTo(done * Mp4Settings::kSamplesPerFrame);
            Report(done, pageCount, pageCount);
        }
        last = motion.FrameAt((segment.frames - 1) * 1000 / Mp4Settings::kFramesPerSecond);
    }
    for (size_t i = 0; i < m_chapters.size(); ++i)
        writer.SetChapter(static_cast<int>(i), m_chapters[i].title, m_chapters[i].startFrame, m_chapters[i].endFrame);
    writer.Finish();
}

// Music that cannot be decoded makes a silent video; the user is told.
std::unique_ptr<MusicReader> VideoExport::OpenMusic()
{
    const auto* music = dynamic_cast<const evMusic*>(m_project.GetMusic());
    if (!music)
        return nullptr;
    const std::string title = ToDisplayUtf8(music->GetTitle());
    if (music->GetFile().empty()) {
        m_warnings.push_back("The music \"" + title + "\" has no sound, so the video is silent");
        return nullptr;
    }
    try {
        return std::make_unique<MusicReader>(music->GetFile());
    } catch (const EVideoError& error) {
        m_warnings.push_back("The music \"" + title + "\" could not be decoded, so the video is silent (" +
                             error.what() + ")");
        return nullptr;
    }
}
