#include "OggVorbis.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr int kBlockFrames = 4096;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The libvorbis objects of one encoding, released in the reverse order of their set-up.
class Encoder {
public:
    Encoder(int channels, int rate, float quality)
    {
        vorbis_info_init(&m_info);
        if (vorbis_encode_init_vbr(&m_info, channels, rate, quality) != 0) {
            vorbis_info_clear(&m_info);
            throw EVelloraError("The Vorbis encoder refuses " + std::to_string(channels) + " channels at " +
                                std::to_string(rate) + " Hz");
        }
        vorbis_comment_init(&m_comment);
        vorbis_analysis_init(&m_dsp, &m_info);
        vorbis_block_init(&m_dsp, &m_block);
        ogg_stream_init(&m_stream, 0x56656c6c); // any serial number will do; this one reads "Vell"
    }
    ~Encoder()
    {
        ogg_stream_clear(&m_stream);
        vorbis_block_clear(&m_block);
        vorbis_dsp_clear(&m_dsp);
        vorbis_comment_clear(&m_comment);
        vorbis_info_clear(&m_info);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    void WriteHeaders(std::FILE* file, const std::string& title)
    {
        vorbis_comment_add_tag(&m_comment, "TITLE", title.c_str());
        vorbis_comment_add_tag(&m_comment, "ENCODER", "vellora-datakit");
        ogg_packet header;
        ogg_packet comments;
        ogg_packet codebooks;
        vorbis_analysis_headerout(&m_dsp, &m_comment, &header, &comments, &codebooks);
        ogg_stream_packetin(&m_stream, &header);
        ogg_stream_packetin(&m_stream, &comments);
        ogg_stream_packetin(&m_stream, &codebooks);
        ogg_page page;
        while (ogg_stream_flush(&m_stream, &page) != 0)
            WritePage(file, page);
    }

    void Submit(const AudioBuffer& buffer, size_t firstFrame, size_t frames, std::FILE* file)
    {
        float** channels = vorbis_analysis_buffer(&m_dsp, static_cast<int>(frames));
        for (size_t i = 0; i < frames; ++i)
            for (int c = 0; c < buffer.channels; ++c)
                channels[c][i] = buffer.samples[(firstFrame + i) * buffer.channels + c];
        vorbis_analysis_wrote(&m_dsp, static_cast<int>(frames));
        Drain(file);
    }

    void Finish(std::FILE* file)
    {
        vorbis_analysis_wrote(&m_dsp, 0);
        Drain(file);
    }

private:
    static void WritePage(std::FILE* file, const ogg_page& page)
    {
        if (std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), file) !=
                static_cast<size_t>(page.header_len) ||
            std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), file) != static_cast<size_t>(page.body_len))
            throw EWriteError("The Ogg Vorbis file could not be written");
    }

    void Drain(std::FILE* file)
    {
        while (vorbis_analysis_blockout(&m_dsp, &m_block) == 1) {
            vorbis_analysis(&m_block, nullptr);
            vorbis_bitrate_addblock(&m_block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&m_dsp, &packet) != 0) {
                ogg_stream_packetin(&m_stream, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&m_stream, &page) != 0)
                    WritePage(file, page);
            }
        }
    }

    vorbis_info m_info;
    vorbis_comment m_comment;
    vorbis_dsp_state m_dsp;
    vorbis_block m_block;
    ogg_stream_state m_stream;
};

struct VorbisFileCloser {
    void operator()(OggVorbis_File* file) const
    {
        ov_clear(file);
        delete file;
    }
};

} // namespace

void OggVorbis::Encode(const AudioBuffer& buffer, float quality, const std::string& path, const std::string& title)
{
    if (buffer.channels < 1 || buffer.channels > 2 || buffer.Frames() == 0)
        throw EVelloraError("Only mono or stereo audio with at least one frame can be encoded");
    File file(std::fopen(path.c_str(), "wb"));
    if (!file)
        throw EFCreateError("Cannot create " + path);
    Encoder encoder(buffer.channels, buffer.sampleRate, quality);
    encoder.WriteHeaders(file.get(), title);
    for (size_t first = 0; first < buffer.Frames(); first += kBlockFrames)
        encoder.Submit(buffer, first, std::min<size_t>(kBlockFrames, buffer.Frames() - first), file.get());
    encoder.Finish(file.get());
    if (std::fflush(file.get()) != 0)
        throw EWriteError("The Ogg Vorbis file " + path + " could not be written");
}

OggVorbis::Info OggVorbis::Inspect(const std::string& path)
{
    std::unique_ptr<OggVorbis_File, VorbisFileCloser> vf(new OggVorbis_File);
    if (ov_fopen(path.c_str(), vf.get()) != 0) {
        // ov_fopen leaves nothing to clear when it fails.
        delete vf.release();
        throw EVelloraError(path + " is not a readable Ogg Vorbis file");
    }
    const vorbis_info* info = ov_info(vf.get(), -1);
    Info result;
    result.channels = info->channels;
    result.sampleRate = static_cast<int>(info->rate);
    int64_t frames = 0;
    double squares = 0;
    int section = 0;
    while (true) {
        float** pcm = nullptr;
        const long read = ov_read_float(vf.get(), &pcm, kBlockFrames, &section);
        if (read == 0)
            break;
        if (read < 0)
            throw EVelloraError(path + ": damaged audio data");
        for (int c = 0; c < result.channels; ++c)
            for (long i = 0; i < read; ++i) {
                result.peak = std::max(result.peak, std::abs(pcm[c][i]));
                squares += static_cast<double>(pcm[c][i]) * pcm[c][i];
            }
        frames += read;
    }
    result.seconds = result.sampleRate > 0 ? static_cast<double>(frames) / result.sampleRate : 0;
    if (frames > 0 && result.channels > 0)
        result.rms = static_cast<float>(std::sqrt(squares / (static_cast<double>(frames) * result.channels)));
    return result;
}
