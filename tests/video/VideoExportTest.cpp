// The album as an MP4: what a player finds in the file (streams, codecs, size, rate, duration, chapters, the index
// in front), a frame against the page's own rendering, the music, and what bad input and a cancel leave behind.
#include "presentation/FinishTestAlbum.h"

#include "audio/AudioTestFiles.h"
#include "audio/evMusic.h"
#include "model/evProjectorPage.h"
#include "presentation/FakeViewerControl.h"
#include "video/VideoExport.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <filesystem>
#include <map>

using namespace finishtest;
namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 180;
constexpr int kPageSeconds = 4;
constexpr int kSlideInterval = 2500; // the slide show of page layout 12
constexpr double kFrame = 1.0 / 25;

// Three pages in two chapters: two pictures below "Our day", then "Slides" (three slides) as a chapter of its own.
std::unique_ptr<evProject> MakeVideoAlbum()
{
    auto day = Page("Our day", 15);
    day->AddUserElement(FieldId(15, 1), SolidPicture(50, 50, 0x0020A0E0));
    auto second = Page("The rings", 15);
    second->AddUserElement(FieldId(15, 1), SolidPicture(50, 50, 0x00E0A020));
    day->AddChild(std::move(second));
    auto slides = Page("Slides", 12);
    for (TColor colour : {0x000000FF, 0x0000FF00, 0x00FF0000})
        slides->AddUserElement(ActionId(12, 1), SolidPicture(80, 60, colour));
    day->AppendSibling(std::move(slides));
    auto project = std::make_unique<evProject>("Anna", "Ben", 38000.0, "Finish Test.evl", std::move(day));
    project->SetDesign(MakeDesign());
    project->GiveTreeProject();
    return project;
}

struct AvInput {
    AVFormatContext* format = nullptr;
    explicit AvInput(const std::string& path)
    {
        if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0 ||
            avformat_find_stream_info(format, nullptr) < 0)
            ADD_FAILURE() << "cannot open " << path;
    }
    ~AvInput() { avformat_close_input(&format); }
    const AVStream* Stream(AVMediaType type) const
    {
        for (unsigned i = 0; format && i < format->nb_streams; ++i)
            if (format->streams[i]->codecpar->codec_type == type)
                return format->streams[i];
        return nullptr;
    }
};

// Decodes every frame of one stream and hands each to the visitor with its time in seconds.
template <class Visit>
void DecodeStream(const std::string& path, AVMediaType type, Visit visit)
{
    AvInput input(path);
    const AVStream* stream = input.Stream(type);
    ASSERT_NE(stream, nullptr);
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, stream->codecpar);
    ASSERT_GE(avcodec_open2(decoder, codec, nullptr), 0);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&] {
        while (avcodec_receive_frame(decoder, frame) == 0) {
            visit(*frame, frame->best_effort_timestamp * av_q2d(stream->time_base));
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(input.format, packet) >= 0) {
        if (packet->stream_index == stream->index && avcodec_send_packet(decoder, packet) >= 0)
            drain();
        av_packet_unref(packet);
    }
    avcodec_send_packet(decoder, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
}

QImage ToImage(const AVFrame& frame)
{
    QImage image(frame.width, frame.height, QImage::Format_RGB888);
    SwsContext* convert =
        sws_getContext(frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), frame.width, frame.height,
                       AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr, nullptr, nullptr);
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(convert, bt709, 0, bt709, 1, 0, 1 << 16, 1 << 16);
    uint8_t* target[1] = {image.bits()};
    const int stride[1] = {static_cast<int>(image.bytesPerLine())};
    sws_scale(convert, frame.data, frame.linesize, 0, frame.height, target, stride);
    sws_freeContext(convert);
    return image;
}

double Psnr(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                sum += d * d;
        }
    const double mse = sum / (3.0 * a.width() * a.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// The page as the player shows it: the viewer on a control filled with the background, then centred and scaled
// into the video frame.
QImage PlayerFrame(evCategory& category)
{
    const std::unique_ptr<evProjectorPage> page = category.CreatePresentationPage();
    FakeViewerControl control(kPageWidth, kPageHeight);
    control.picture.Image().fill(ToQColor(kBackground));
    page->Start(control, nullptr, {nullptr, nullptr, [] { return true; }});
    const QImage shown = control.picture.ToQImage().scaled(240, 180, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage frame(kWidth, kHeight, QImage::Format_RGB888);
    frame.fill(ToQColor(kBackground));
    QPainter(&frame).drawImage(40, 0, shown);
    return frame;
}

class VideoExportTest : public ScratchFolderTest {
protected:
    std::string Out() const { return Path("album.mp4"); }

    void AddMusic(evProject& project, const std::vector<uint8_t>& bytes)
    {
        audiotest::WriteFile(Path("tune.wav"), bytes);
        project.SetMusic(std::make_unique<evMusic>("Our tune", 1, Path("tune.wav")));
        fs::remove(Path("tune.wav"));
    }

    VideoExport Export(evProject& project, int pageSeconds = kPageSeconds)
    {
        VideoExport video(project, Out());
        video.SetSize({kWidth, kHeight});
        video.SetPageSeconds(pageSeconds);
        return video;
    }

    size_t FilesInFolder() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()));
    }
};

} // namespace

TEST(VideoSizeTest, OnlyTheOfferedSizesAreTaken)
{
    const std::pair<const char*, bool> cases[] = {{"1920x1080", true},  {"1280x720", true},    {"640x480", false},
                                                  {"1920X1080", false}, {"1920x1080 ", false}, {"", false}};
    for (const auto& [text, offered] : cases)
        EXPECT_EQ(ParseVideoSize(text).has_value(), offered) << text;
}

TEST_F(VideoExportTest, ShortAlbumPlaysWithItsChaptersFramesAndMusic)
{
    std::unique_ptr<evProject> project = MakeVideoAlbum();
    AddMusic(*project, audiotest::MakeWave(1500));
    VideoExport video = Export(*project);
    int lastPercent = -1;
    bool rising = true;
    video.SetProgress([&](int percent) {
        rising = rising && percent >= lastPercent;
        lastPercent = percent;
        return true;
    });
    video.Produce();
    EXPECT_TRUE(video.GetWarnings().empty());
    EXPECT_TRUE(rising);
    EXPECT_EQ(lastPercent, 100);
    EXPECT_EQ(FilesInFolder(), 1u);

    // Two pages of 4 s, then the slide show: three slides of 2.5 s each.
    const double expected = 2 * kPageSeconds + 3 * kSlideInterval / 1000.0;
    AvInput input(Out());
    ASSERT_NE(input.format, nullptr);
    const AVStream* picture = input.Stream(AVMEDIA_TYPE_VIDEO);
    const AVStream* sound = input.Stream(AVMEDIA_TYPE_AUDIO);
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(picture->codecpar->codec_id, AV_CODEC_ID_H264);
    EXPECT_EQ(picture->codecpar->format, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(picture->codecpar->width, kWidth);
    EXPECT_EQ(picture->codecpar->height, kHeight);
    EXPECT_EQ(av_q2d(picture->avg_frame_rate), 25.0);
    EXPECT_EQ(sound->codecpar->codec_id, AV_CODEC_ID_AAC);
    EXPECT_NEAR(picture->nb_frames * kFrame, expected, kFrame);
    EXPECT_NEAR(input.format->duration / double(AV_TIME_BASE), expected, kFrame);
    ASSERT_EQ(input.format->nb_chapters, 2u);
    for (unsigned i = 0; i < 2; ++i) {
        const AVChapter* chapter = input.format->chapters[i];
        const AVDictionaryEntry* title = av_dict_get(chapter->metadata, "title", nullptr, 0);
        EXPECT_STREQ(title ? title->value : "(none)", i == 0 ? "Our day" : "Slides");
        EXPECT_NEAR(chapter->start * av_q2d(chapter->time_base), i * 2 * kPageSeconds, kFrame);
    }
    // The file type box names no box, so the first "moov" and "mdat" are the boxes' own names.
    const std::string bytes = Read(Out());
    EXPECT_LT(bytes.find("moov"), bytes.find("mdat")) << "the index is not in front (+faststart)";

    // The middle of page 2 against the player's own picture of it.
    const QImage reference = PlayerFrame(*project->GetFirstCategory()->GetSub());
    bool compared = false;
    DecodeStream(Out(), AVMEDIA_TYPE_VIDEO, [&](const AVFrame& frame, double seconds) {
        if (std::abs(seconds - 1.5 * kPageSeconds) < kFrame / 2) {
            EXPECT_GE(Psnr(ToImage(frame), reference), 35.0);
            compared = true;
        }
    });
    EXPECT_TRUE(compared);

    // The music repeats to the end and fades out over the last three seconds.
    std::map<int, double> power; // per second
    std::map<int, int> samples;
    DecodeStream(Out(), AVMEDIA_TYPE_AUDIO, [&](const AVFrame& frame, double seconds) {
        const auto* left = reinterpret_cast<const float*>(frame.extended_data[0]);
        for (int i = 0; i < frame.nb_samples; ++i) {
            const int second = static_cast<int>(seconds + double(i) / frame.sample_rate);
            power[second] += double(left[i]) * left[i];
            ++samples[second];
        }
    });
    const auto rms = [&](int second) { return samples[second] ? std::sqrt(power[second] / samples[second]) : 0.0; };
    EXPECT_GT(rms(1), 0.05);
    EXPECT_GT(rms(10), 0.05) << "the music did not repeat";
    EXPECT_LT(rms(15), rms(10) / 3) << "the music did not fade out";
}

// A page that cannot be drawn, a folder that is not there, a size the encoder refuses, and a cancel.
TEST_F(VideoExportTest, BadInputOrACancelEndsInOneClearErrorAndNoFile)
{
    std::unique_ptr<evProject> broken = MakeVideoAlbum();
    broken->GetFirstCategory()->GetSub()->AppendSibling(Page("Lost layout", 99));
    broken->GiveTreeProject();
    std::unique_ptr<evProject> good = MakeVideoAlbum();
    struct Case {
        const char* name;
        evProject* project;
        std::string out;
        VideoSize size;
        std::string says;
        bool cancel = false;
    };
    const Case cases[] = {
        {"page", broken.get(), Out(), {kWidth, kHeight}, "Page 3 (\"Lost layout\") could not be drawn"},
        {"folder", good.get(), Path("missing/a.mp4"), {kWidth, kHeight}, "Cannot write the video"},
        {"size", good.get(), Out(), {321, 180}, "cannot be encoded"},
        {"cancel", good.get(), Out(), {kWidth, kHeight}, "cancelled", true},
    };
    for (const Case& c : cases) {
        VideoExport video(*c.project, c.out);
        video.SetSize(c.size);
        video.SetPageSeconds(1);
        if (c.cancel)
            video.SetProgress([](int percent) { return percent < 40; });
        try {
            video.Produce();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const EVideoError& error) {
            EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << c.name << ": " << error.what();
            EXPECT_EQ(dynamic_cast<const EVideoCancelled*>(&error) != nullptr, c.cancel) << c.name;
        }
        EXPECT_EQ(FilesInFolder(), 0u) << c.name;
    }
}

TEST_F(VideoExportTest, MusicThatCannotBeDecodedMakesASilentVideoAndSaysSo)
{
    std::unique_ptr<evProject> project = MakeVideoAlbum();
    AddMusic(*project, std::vector<uint8_t>(4000, 0x5A));
    VideoExport video = Export(*project, 1);
    video.Produce();
    ASSERT_EQ(video.GetWarnings().size(), 1u);
    EXPECT_NE(video.GetWarnings()[0].find("\"Our tune\" could not be decoded"), std::string::npos);
    AvInput input(Out());
    EXPECT_NE(input.Stream(AVMEDIA_TYPE_VIDEO), nullptr);
    EXPECT_EQ(input.Stream(AVMEDIA_TYPE_AUDIO), nullptr);
}
