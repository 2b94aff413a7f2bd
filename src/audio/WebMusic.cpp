#include "audio/WebMusic.h"

#include "audio/AudioFormat.h"
#include "audio/Mp3Copy.h"
#include "audio/evMusic.h"
#include "platform/Text.h"

namespace {

std::optional<WebMusicTrack> Describe(const evObject& object)
{
    const auto* music = dynamic_cast<const evMusic*>(&object);
    if (!music || music->GetFile().empty())
        return std::nullopt;
    WebMusicTrack track;
    track.title = ToDisplayUtf8(music->GetTitle());
    track.file = music->GetFile();
    track.loop = music->GetPlayMode() != 0;
    struct Kind {
        AudioFormat format;
        const char* extension;
        const char* mimeType;
    };
    static constexpr Kind kinds[] = {{AudioFormat::Mp3, "mp3", "audio/mpeg"},
                                     {AudioFormat::Ogg, "ogg", "audio/ogg"},
                                     {AudioFormat::Wav, "wav", "audio/wav"},
                                     {AudioFormat::Flac, "flac", "audio/flac"}};
    const AudioFormat format = DetectAudioFormat(track.file);
    for (const Kind& kind : kinds) {
        if (kind.format == format) {
            track.extension = kind.extension;
            track.mimeType = kind.mimeType;
        }
    }
    return track;
}

} // namespace

WebMusicAccess MakeWebMusicAccess()
{
    WebMusicAccess access;
    access.describe = Describe;
    access.writeMp3 = [](const std::string& source, const std::string& mp3Path) { WriteMp3Copy(source, mp3Path); };
    return access;
}
