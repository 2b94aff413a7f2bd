#include "video/MusicReader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <vector>

namespace {

// A pass through the track that yields less than this is no music to repeat (and would make the repeats a
// busy loop): what follows is silence.
constexpr int64_t kShortestPass = Mp4Settings::kSampleRate / 10;

std::string AvErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

} // namespace

struct MusicReader::State {
    std::string path;
    AVFormatContext* input = nullptr;
    AVCodecContext* decoder = nullptr;
    SwrContext* resampler = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    AVAudioFifo* fifo = nullptr;
    int streamIndex = -1;
    int64_t passSamples = 0;
    bool silent = false;
    std::vector<float> left;
    std::vector<float> right;

    ~State()
    {
        Close();
        av_audio_fifo_free(fifo);
    }

    void Close()
    {
        av_packet_free(&packet);
        av_frame_free(&frame);
        swr_free(&resampler);
        avcodec_free_context(&decoder);
        avformat_close_input(&input);
    }

    void Open();
    bool Fill(int wanted);
    void Convert();
    void DrainDecoder();
};

void MusicReader::State::Open()
{
    const auto fail = [this](const std::string& why) {
        Close();
        throw EVideoError("The music \"" + path + "\" cannot be decoded: " + why);
    };
    int result = avformat_open_input(&input, path.c_str(), nullptr, nullptr);
    if (result < 0)
        fail(AvErrorText(result));
    if ((result = avformat_find_stream_info(input, nullptr)) < 0)
        fail(AvErrorText(result));
    const AVCodec* codec = nullptr;
    streamIndex = av_find_best_stream(input, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (streamIndex < 0 || !codec)
        fail("it holds no audio that can be decoded");
    decoder = avcodec_alloc_context3(codec);
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    if (!decoder || !packet || !frame)
        fail("out of memory");
    if ((result = avcodec_parameters_to_context(decoder, input->streams[streamIndex]->codecpar)) < 0 ||
        (result = avcodec_open2(decoder, codec, nullptr)) < 0)
        fail(AvErrorText(result));
    if (decoder->sample_rate <= 0 || decoder->ch_layout.nb_channels <= 0)
        fail("it names no sample rate or channels");
    if (decoder->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&decoder->ch_layout, decoder->ch_layout.nb_channels);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    result = swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_FLTP, Mp4Settings::kSampleRate, &decoder->ch_layout,
                                 decoder->sample_fmt, decoder->sample_rate, 0, nullptr);
    if (result < 0 || (result = swr_init(resampler)) < 0)
        fail(AvErrorText(result));
    passSamples = 0;
}

void MusicReader::State::Convert()
{
    const int room = swr_get_out_samples(resampler, frame->nb_samples);
    if (room <= 0)
        return;
    left.resize(static_cast<size_t>(room));
    right.resize(static_cast<size_t>(room));
    uint8_t* planes[2] = {reinterpret_cast<uint8_t*>(left.data()), reinterpret_cast<uint8_t*>(right.data())};
    const int made =
        swr_convert(resampler, planes, room, const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    if (made <= 0)
        return;
    void* fifoPlanes[2] = {left.data(), right.data()};
    if (av_audio_fifo_write(fifo, fifoPlanes, made) != made)
        throw EVideoError("Out of memory for the music");
    passSamples += made;
}

void MusicReader::State::DrainDecoder()
{
    if (avcodec_send_packet(decoder, nullptr) < 0)
        return;
    while (avcodec_receive_frame(decoder, frame) == 0) {
        Convert();
        av_frame_unref(frame);
    }
}

// Decodes until `wanted` samples wait; at the end of the track it starts again. False when the track gives
// nothing more.
bool MusicReader::State::Fill(int wanted)
{
    while (!silent && av_audio_fifo_size(fifo) < wanted) {
        if (av_read_frame(input, packet) < 0) {
            DrainDecoder();
            if (passSamples < kShortestPass) {
                silent = true;
                break;
            }
            Close();
            try {
                Open();
            } catch (const EVideoError&) {
                silent = true;
            }
            continue;
        }
        // A damaged packet is skipped: the track goes on with the next one.
        if (packet->stream_index == streamIndex && avcodec_send_packet(decoder, packet) >= 0) {
            while (avcodec_receive_frame(decoder, frame) == 0) {
                Convert();
                av_frame_unref(frame);
            }
        }
        av_packet_unref(packet);
    }
    return av_audio_fifo_size(fifo) > 0;
}

MusicReader::MusicReader(const std::string& path) : m_state(std::make_unique<State>())
{
    av_log_set_level(AV_LOG_QUIET);
    m_state->path = path;
    m_state->fifo = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, Mp4Settings::kSampleRate);
    if (!m_state->fifo)
        throw EVideoError("Out of memory for the music");
    m_state->Open();
    if (!m_state->Fill(1))
        throw EVideoError("The music \"" + path + "\" cannot be decoded: it yields no sound");
}

MusicReader::~MusicReader() = default;

void MusicReader::Read(float* left, float* right, int count)
{
    State& s = *m_state;
    int done = 0;
    while (done < count && s.Fill(count - done)) {
        const int take = std::min(count - done, av_audio_fifo_size(s.fifo));
        void* planes[2] = {left + done, right + done};
        done += std::max(0, av_audio_fifo_read(s.fifo, planes, take));
    }
    std::fill(left + done, left + count, 0.0f);
    std::fill(right + done, right + count, 0.0f);
}
