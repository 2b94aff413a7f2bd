#include "audio/evMusic.h"

#include "audio/BassLibrary.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"

#include <filesystem>

namespace {

constexpr const char* kTempTemplate = "evm.evp";
constexpr uint32_t kCreateFlags = 256;
constexpr uint32_t kReadFlags = 0;

// -1 for a file that is not there, so a track without audio never matches one with an empty file.
int64_t SizeOfFile(const std::string& path)
{
    if (path.empty())
        return -1;
    std::error_code error;
    const auto size = std::filesystem::file_size(std::filesystem::path(path), error);
    return error ? -1 : static_cast<int64_t>(size);
}

const char* StatusText(int32_t status)
{
    switch (status) {
    case evMusic::StatusPlaying: return "Playing";
    case evMusic::StatusStalled: return "Stalled";
    case evMusic::StatusPaused: return "Paused";
    default: return "Stopped";
    }
}

} // namespace

evMusic::evMusic(std::string title, int32_t playMode, const std::string& sourceFile)
    : m_title(std::move(title)), m_playMode(playMode)
{
    FileStream source(sourceFile, FileStream::Mode::OpenRead);
    const int64_t size = source.Size();
    if (size > kMaxAudioBytes)
        throw EAudioTooLarge("The audio file \"" + sourceFile + "\" is larger than 200 MB.");
    CopyIntoTempFile(source, size);
    CreateStream(kCreateFlags);
}

evMusic::evMusic(std::string title, int32_t playMode, NoAudio) : m_title(std::move(title)), m_playMode(playMode) {}

// Body after the evObject header (version int32, identifier int32):
//   string  title
//   int32   play mode        from version 1 on; tracks of version 0 loop (1)
//   int32   audio length N   0: the track has no audio
//   N bytes the audio file, as it was given
evMusic::evMusic(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    m_title = stream.ReadString();
    m_playMode = GetStoredVersion() >= 1 ? stream.ReadInt32() : 1;
    const int32_t length = stream.ReadInt32();
    if (length < 0 || length > stream.Remaining())
        throw EReadError("Stream read error: audio length does not match the data that follows");
    if (length > kMaxAudioBytes)
        throw EReadError("Stream read error: audio larger than 200 MB");
    if (length > 0) {
        CopyIntoTempFile(stream, length);
        CreateStream(kReadFlags);
    }
}

evMusic::~evMusic()
{
    if (AudioReady() && m_stream != 0) {
        BassLibrary::Instance().ChannelStop(m_stream);
        BassLibrary::Instance().StreamFree(m_stream);
    }
    DeleteFileIfExists(m_file);
}

// A copy that cannot be completed is removed again, so a failed read leaves no file behind.
void evMusic::CopyIntoTempFile(Stream& source, int64_t count)
{
    m_file = UniqueTempFileName(kTempTemplate);
    try {
        FileStream copy(m_file, FileStream::Mode::Create);
        copy.CopyFrom(source, count);
        copy.Flush();
    } catch (...) {
        DeleteFileIfExists(m_file);
        m_file.clear();
        throw;
    }
}

void evMusic::CreateStream(uint32_t flags)
{
    if (AudioReady() && !m_file.empty())
        m_stream = BassLibrary::Instance().StreamCreateFile(m_file, flags);
}

// A temporary file that cannot be read (it vanished, or grew beyond what a track may hold) is written as a track
// without audio rather than failing the whole save.
void evMusic::SaveToStream(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(m_title);
    stream.WriteInt32(m_playMode);
    std::unique_ptr<FileStream> audio;
    try {
        if (!m_file.empty())
            audio = std::make_unique<FileStream>(m_file, FileStream::Mode::OpenRead);
    } catch (const EFOpenError&) {
        audio.reset();
    }
    const int64_t size = audio ? audio->Size() : 0;
    if (!audio || size > kMaxAudioBytes) {
        stream.WriteInt32(0);
        return;
    }
    stream.WriteInt32(static_cast<int32_t>(size));
    stream.CopyFrom(*audio, size);
}

std::unique_ptr<evObject> evMusic::Clone() const
{
    if (SizeOfFile(m_file) < 0)
        return std::unique_ptr<evObject>(new evMusic(m_title, m_playMode, NoAudio{}));
    return std::make_unique<evMusic>(m_title, m_playMode, m_file);
}

bool evMusic::IsEqual(const evObject* other) const
{
    const auto* music = dynamic_cast<const evMusic*>(other);
    return music && music->m_title == m_title && SizeOfFile(music->m_file) == SizeOfFile(m_file);
}

std::string evMusic::ToString() const
{
    return "evMusic[ID " + std::to_string(GetID()) + ", VER " + std::to_string(GetStoredVersion()) + ", Title " +
           m_title + ", PlayMode " + std::to_string(m_playMode) + ", Status " + StatusText(Status()) + "]";
}

bool evMusic::Play()
{
    if (!AudioReady())
        return true;
    return BassLibrary::Instance().StreamPlay(m_stream, m_playMode != 0);
}

void evMusic::Stop()
{
    if (!AudioReady())
        return;
    BassLibrary::Instance().ChannelStop(m_stream);
    BassLibrary::Instance().ChannelSetPosition(m_stream, 0);
}

int32_t evMusic::Status() const
{
    if (!AudioReady())
        return StatusStopped;
    return static_cast<int32_t>(BassLibrary::Instance().ChannelIsActive(m_stream));
}
