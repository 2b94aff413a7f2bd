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
    switch (DetectAudioFormat(track.file)) {
    case AudioFormat::Mp3:
        track.extension = "mp3";
        track.mimeType = "audio/mpeg";
        break;
    case AudioFormat::Ogg:
        track.extension = "ogg";
        track.mimeType = "audio/ogg";
        break;
    case AudioFormat::Wav:
        track.extension = "wav";
        track.mimeType = "audio/wav";
        break;
    case AudioFormat::Flac:
        track.extension = "flac";
        track.mimeType = "audio/flac";
        break;
    case AudioFormat::Unknown:
        break;
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
