#include "video/Mp4Writer.h"

#include "platform/Bitmap.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kH264Preset = "veryfast";
constexpr const char* kH264Quality = "20"; // constant rate factor: pages stay sharp, fades stay clean
constexpr int kKeyFrameInterval = 2 * Mp4Settings::kFramesPerSecond;
constexpr int64_t kAudioBitRate = 160000;

std::string AvErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

void Check(int code, const std::string& what)
{
    if (code < 0)
        throw EVideoError(what + ": " + AvErrorText(code));
}

// The background in BT.709 with studio range, as the frame stores it.
struct YuvColour {
    uint8_t y, u, v;
};

YuvColour ToYuv709(TColor colour)
{
    const double r = colour & 0xFF;
    const double g = (colour >> 8) & 0xFF;
    const double b = (colour >> 16) & 0xFF;
    auto level = [](double value) { return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L)); };
    return {level(16 + (0.2126 * r + 0.7152 * g + 0.0722 * b) * 219 / 255),
            level(128 + (-0.114572 * r - 0.385428 * g + 0.5 * b) * 224 / 255),
            level(128 + (0.5 * r - 0.454153 * g - 0.045847 * b) * 224 / 255)};
}

} // namespace

struct Mp4Writer::State {
    Mp4Settings settings;
    Placement place{};
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVAudioFifo* fifo = nullptr;
    AVPacket* packet = nullptr;
    int64_t videoPts = 0;
    int64_t audioPts = 0;
    bool finished = false;

    ~State()
    {
        av_packet_free(&packet);
        av_audio_fifo_free(fifo);
        av_frame_free(&sound);
        av_frame_free(&picture);
        sws_freeContext(scaler);
        avcodec_free_context(&audio);
        avcodec_free_context(&video);
        if (format) {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    void OpenVideo();
    void OpenAudio();
    void AddChapters();
    void PreparePicture();
    void Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);
    void EncodeAudio(int samples);
};

void Mp4Writer::State::OpenVideo()
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        codec = avcodec_find_encoder(AV_CODEC_ID_H264);
    if (!codec)
        throw EVideoError("No H.264 encoder is installed (libavcodec without libx264)");
    video = avcodec_alloc_context3(codec);
    videoStream = avformat_new_stream(format, nullptr);
    if (!video || !videoStream)
        throw EVideoError("Out of memory while preparing the video encoder");
    video->width = settings.width;
    video->height = settings.height;
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    video->time_base = AVRational{1, Mp4Settings::kFramesPerSecond};
    video->framerate = AVRational{Mp4Settings::kFramesPerSecond, 1};
    video->gop_size = kKeyFrameInterval;
    video->thread_count = 2; // both cores of the machines we run on
    video->colorspace = AVCOL_SPC_BT709;
    video->color_primaries = AVCOL_PRI_BT709;
    video->color_trc = AVCOL_TRC_BT709;
    video->color_range = AVCOL_RANGE_MPEG;
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "preset", kH264Preset, 0);
    av_dict_set(&options, "crf", kH264Quality, 0);
    const int opened = avcodec_open2(video, codec, &options);
    av_dict_free(&options);
    Check(opened, "The H.264 encoder did not start");
    Check(avcodec_parameters_from_context(videoStream->codecpar, video), "The video stream could not be described");
    videoStream->time_base = video->time_base;
    videoStream->avg_frame_rate = video->framerate;
}

void Mp4Writer::State::OpenAudio()
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec)
        throw EVideoError("No AAC encoder is installed");
    audio = avcodec_alloc_context3(codec);
    audioStream = avformat_new_stream(format, nullptr);
    if (!audio || !audioStream)
        throw EVideoError("Out of memory while preparing the audio encoder");
    audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
    audio->sample_rate = Mp4Settings::kSampleRate;
    av_channel_layout_default(&audio->ch_layout, 2);
    audio->bit_rate = kAudioBitRate;
    audio->time_base = AVRational{1, Mp4Settings::kSampleRate};
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Check(avcodec_open2(audio, codec, nullptr), "The AAC encoder did not start");
    Check(avcodec_parameters_from_context(audioStream->codecpar, audio), "The audio stream could not be described");
    audioStream->time_base = audio->time_base;
    fifo = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, 4 * audio->frame_size);
    sound = av_frame_alloc();
    if (!fifo || !sound)
        throw EVideoError("Out of memory while preparing the audio encoder");
    sound->format = AV_SAMPLE_FMT_FLTP;
    sound->sample_rate = Mp4Settings::kSampleRate;
    Check(av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout), "The audio layout could not be set");
    sound->nb_samples = audio->frame_size;
    Check(av_frame_get_buffer(sound, 0), "Out of memory for the audio frame");
}

// The muxer decides at its start whether the file gets a chapter track, so the chapters exist from the start;
// their times and titles are filled in before the end.
void Mp4Writer::State::AddChapters()
{
    if (settings.chapters <= 0)
        return;
    format->chapters = static_cast<AVChapter**>(av_calloc(settings.chapters, sizeof(AVChapter*)));
    if (!format->chapters)
        throw EVideoError("Out of memory for the chapters");
    for (int i = 0; i < settings.chapters; ++i) {
        auto* chapter = static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter)));
        if (!chapter)
            throw EVideoError("Out of memory for the chapters");
        chapter->id = i + 1;
        chapter->time_base = AVRational{1, Mp4Settings::kFramesPerSecond};
        format->chapters[i] = chapter;
        format->nb_chapters = static_cast<unsigned>(i + 1);
    }
}

// One frame buffer, filled with the background once: the page is scaled into its middle, the bars never change.
void Mp4Writer::State::PreparePicture()
{
    picture = av_frame_alloc();
    packet = av_packet_alloc();
    if (!picture || !packet)
        throw EVideoError("Out of memory for the video frame");
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = settings.width;
    picture->height = settings.height;
    Check(av_frame_get_buffer(picture, 0), "Out of memory for the video frame");
    const YuvColour background = ToYuv709(settings.background);
    for (int y = 0; y < settings.height; ++y)
        std::fill_n(picture->data[0] + y * picture->linesize[0], settings.width, background.y);
    for (int y = 0; y < settings.height / 2; ++y) {
        std::fill_n(picture->data[1] + y * picture->linesize[1], settings.width / 2, background.u);
        std::fill_n(picture->data[2] + y * picture->linesize[2], settings.width / 2, background.v);
    }
    scaler = sws_getContext(settings.pageWidth, settings.pageHeight, AV_PIX_FMT_BGR24, place.width, place.height,
                            AV_PIX_FMT_YUV420P, SWS_LANCZOS | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (!scaler)
        throw EVideoError("The page cannot be scaled to the video size");
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(scaler, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
}

void Mp4Writer::State::Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame)
{
    Check(avcodec_send_frame(codec, frame), "The encoder refused a frame");
    for (;;) {
        const int received = avcodec_receive_packet(codec, packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return;
        Check(received, "The encoder failed");
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        Check(av_interleaved_write_frame(format, packet), "The video file could not be written");
    }
}

void Mp4Writer::State::EncodeAudio(int samples)
{
    Check(av_frame_make_writable(sound), "Out of memory for the audio frame");
    sound->nb_samples = samples;
    if (av_audio_fifo_read(fifo, reinterpret_cast<void**>(sound->data), samples) != samples)
        throw EVideoError("The audio buffer lost samples");
    sound->pts = audioPts;
    audioPts += samples;
    Encode(audio, audioStream, sound);
}

Mp4Writer::Placement Mp4Writer::PlacePage(int frameWidth, int frameHeight, int pageWidth, int pageHeight)
{
    const double scale =
        std::min(static_cast<double>(frameWidth) / pageWidth, static_cast<double>(frameHeight) / pageHeight);
    const int width = std::clamp(static_cast<int>(std::lround(pageWidth * scale)) & ~1, 2, frameWidth);
    const int height = std::clamp(static_cast<int>(std::lround(pageHeight * scale)) & ~1, 2, frameHeight);
    return {((frameWidth - width) / 2) & ~1, ((frameHeight - height) / 2) & ~1, width, height};
}

Mp4Writer::Mp4Writer(const std::string& path, const Mp4Settings& settings) : m_state(std::make_unique<State>())
{
    // FFmpeg would print its progress and notes on stderr; failures reach the caller as exceptions instead.
    av_log_set_level(AV_LOG_QUIET);
    State& s = *m_state;
    if (settings.width < 16 || settings.height < 16 || settings.width % 2 || settings.height % 2 ||
        settings.pageWidth <= 0 || settings.pageHeight <= 0)
        throw EVideoError("The video size " + std::to_string(settings.width) + "x" + std::to_string(settings.height) +
                          " cannot be encoded");
    s.settings = settings;
    s.place = PlacePage(settings.width, settings.height, settings.pageWidth, settings.pageHeight);
    Check(avformat_alloc_output_context2(&s.format, nullptr, "mp4", path.c_str()), "The MP4 writer did not start");
    s.OpenVideo();
    if (settings.audio)
        s.OpenAudio();
    s.AddChapters();
    s.PreparePicture();
    Check(avio_open(&s.format->pb, path.c_str(), AVIO_FLAG_WRITE), "Cannot create the video file \"" + path + "\"");
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    const int written = avformat_write_header(s.format, &options);
    av_dict_free(&options);
    Check(written, "The video file's header could not be written");
}

Mp4Writer::~Mp4Writer() = default;

void Mp4Writer::WriteFrames(const Bitmap& page, int64_t count)
{
    State& s = *m_state;
    if (count <= 0)
        return;
    if (page.Width() != s.settings.pageWidth || page.Height() != s.settings.pageHeight ||
        page.Format() != PixelFormat::pf24bit)
        throw EVideoError("A page picture of the wrong size or format reached the video writer");
    Check(av_frame_make_writable(s.picture), "Out of memory for the video frame");
    const uint8_t* source[1] = {page.ScanLine(0)};
    const int sourceStride[1] = {page.BytesPerLine()};
    uint8_t* target[3] = {
        s.picture->data[0] + s.place.y * s.picture->linesize[0] + s.place.x,
        s.picture->data[1] + s.place.y / 2 * s.picture->linesize[1] + s.place.x / 2,
        s.picture->data[2] + s.place.y / 2 * s.picture->linesize[2] + s.place.x / 2,
    };
    sws_scale(s.scaler, source, sourceStride, 0, page.Height(), target, s.picture->linesize);
    for (int64_t i = 0; i < count; ++i) {
        s.picture->pts = s.videoPts++;
        s.Encode(s.video, s.videoStream, s.picture);
    }
}

void Mp4Writer::WriteAudio(const float* left, const float* right, int count)
{
    State& s = *m_state;
    if (!s.audio || count <= 0)
        return;
    void* planes[2] = {const_cast<float*>(left), const_cast<float*>(right)};
    if (av_audio_fifo_write(s.fifo, planes, count) != count)
        throw EVideoError("Out of memory for the audio");
    while (av_audio_fifo_size(s.fifo) >= s.audio->frame_size)
        s.EncodeAudio(s.audio->frame_size);
}

void Mp4Writer::SetChapter(int index, const std::string& title, int64_t startFrame, int64_t endFrame)
{
    State& s = *m_state;
    if (index < 0 || index >= static_cast<int>(s.format->nb_chapters))
        return;
    AVChapter* chapter = s.format->chapters[index];
    chapter->start = startFrame;
    chapter->end = std::max(startFrame, endFrame);
    av_dict_set(&chapter->metadata, "title", title.c_str(), 0);
}

void Mp4Writer::Finish()
{
    State& s = *m_state;
    if (s.finished)
        return;
    if (s.audio) {
        if (const int rest = av_audio_fifo_size(s.fifo); rest > 0)
            s.EncodeAudio(rest);
        s.Encode(s.audio, s.audioStream, nullptr);
    }
    s.Encode(s.video, s.videoStream, nullptr);
    Check(av_write_trailer(s.format), "The video file could not be completed");
    Check(avio_closep(&s.format->pb), "The video file could not be closed");
    s.finished = true;
}

int64_t Mp4Writer::GetFramesWritten() const { return m_state->videoPts; }
